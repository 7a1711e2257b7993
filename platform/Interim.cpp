// Interim stand-ins until the hosting layer lands.
#include "platform/AboutDialog.h"
#include "platform/FileUtils.h"
#include "platform/HelpManager.h"
#include "platform/QtSingleApplication.h"
#include "platform/SDL_QMainWindow.h"
#include "platform/SDL_QScene.h"
#include "platform/SDL_QWidget.h"
#include "platform/SdlCompat.h"

#include <QCoreApplication>
#include <QSettings>

namespace sdlq {
namespace {
Uint8 keyState[KeyCount];
Uint32 (*ticksSource)() = nullptr;
Surface surface;
} // namespace
bool pollEvent(Event*) {
    return false;
}
Uint8* getKeyState(int* numKeys) {
    if (numKeys)
        *numKeys = KeyCount;
    return keyState;
}
void releaseAllKeys() {
    for (Uint8& k : keyState)
        k = 0;
}
Surface* setVideoMode(int w, int h, int, unsigned int flags) {
    surface = Surface{w, h, (flags & FullScreenFlag) != 0};
    return &surface;
}
Surface* videoSurface() {
    return &surface;
}
int depthBits() {
    return 24;
}
int stencilBits() {
    return 8;
}
void requestStencilBits(int) {}
void glSwapBuffers() {}
void makeGameContextCurrent() {}
void setCaption(const char*, const char*) {}
const char* caption() {
    return "";
}
bool listModes(std::vector<QSize>*) {
    return false;
}
Uint32 getTicks() {
    return ticksSource ? ticksSource() : SDL_GetTicks();
}
void delay(Uint32 ms) {
    SDL_Delay(ms);
}
void setTicksSource(Uint32 (*source)()) {
    ticksSource = source;
}
void pushQuit() {}
} // namespace sdlq

namespace tvt {
QtSingleApplication::QtSingleApplication(int& argc, char** argv, bool, const QString&)
    : QApplication(argc, argv) {}
QtSingleApplication::~QtSingleApplication() = default;
bool QtSingleApplication::isRunning() const {
    return false;
}
QMainWindow* QtSingleApplication::newMainWindow() {
    return nullptr;
}
QSettings* QtSingleApplication::settings() {
    return appSettings();
}
QSettings* QtSingleApplication::appSettings() {
    static QSettings* s = new QSettings("Torvik", "Torvik Orbitrax");
    return s;
}
} // namespace tvt

namespace tvx {
QString FileUtils::applicationResourceFolder() {
    const QByteArray env = qgetenv("ORBITRAX_RESOURCE_DIR");
    return env.isEmpty() ? QCoreApplication::applicationDirPath() : QString::fromLocal8Bit(env);
}
HelpManager* HelpManager::instance() {
    static HelpManager manager;
    return &manager;
}
HelpManager::HelpManager() = default;
void HelpManager::showAbout() {
    emit requestAboutDialog();
}
void HelpManager::sendFeedback() {}
void HelpManager::openWebsite() {}
void HelpManager::openSupportWebsite() {}
void HelpManager::openProductWebsite() {}
AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {}
void AboutDialog::setFullProductName(const QString&) {}
void AboutDialog::setProductVersion(const QString&) {}
void AboutDialog::setProductPicture(const QPixmap&) {}
void AboutDialog::setCreditsPath(const QString&) {}
void AboutDialog::setAcknowledgementsFile(const QString&) {}
} // namespace tvx

SDL_QMainWindow::SDL_QMainWindow(QWidget* parent, Qt::WindowFlags flags) : QMainWindow(parent, flags) {}
SDL_QMainWindow::~SDL_QMainWindow() = default;
SDL_QWidget* SDL_QMainWindow::getSDLWidget() {
    return findChild<SDL_QWidget*>();
}
void SDL_QMainWindow::setHasCustomLayout(bool custom) {
    customLayout = custom;
}
void SDL_QMainWindow::quitSDL() {
    sdlq::pushQuit();
}
void SDL_QMainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
}
void SDL_QMainWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
}
void SDL_QMainWindow::closeEvent(QCloseEvent* e) {
    QMainWindow::closeEvent(e);
}

SDL_QScene::SDL_QScene(QObject* parent) : QGraphicsScene(parent) {}
void SDL_QScene::setFormat(const QSurfaceFormat& f) {
    surfaceFormat = f;
}
QSurfaceFormat SDL_QScene::format() const {
    return surfaceFormat;
}

SDL_QWidget::SDL_QWidget(QWidget* parent) : QGraphicsView(parent) {
    setScene(new SDL_QScene(this));
}
SDL_QWidget::~SDL_QWidget() = default;
SDL_QScene* SDL_QWidget::sdlScene() {
    return static_cast<SDL_QScene*>(scene());
}
QGraphicsProxyWidget* SDL_QWidget::addWidget(QWidget* w) {
    return scene()->addWidget(w);
}
void SDL_QWidget::enableGrabbing(bool) {}
bool SDL_QWidget::isGrabbing() const {
    return false;
}
SDL_QWidget* SDL_QWidget::current() {
    return nullptr;
}
