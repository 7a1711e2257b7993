#include "app/GameWindow.h"

#include "core/Engine.h"
#include "core/Game.h"
#include "core/World.h"
#include "platform/AboutDialog.h"
#include "platform/HelpManager.h"
#include "platform/QtSingleApplication.h"
#include "platform/SDL_QScene.h"
#include "platform/SDL_QWidget.h"
#include "platform/SdlCompat.h"
#include "ui/CreditsView.h"
#include "ui/GameMenu.h"
#include "ui/GameOptions.h"
#include "ui/HelpDialog.h"
#include "ui/HighScoreTable.h"
#include "ui_GameWindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGraphicsProxyWidget>
#include <QResizeEvent>
#include <QScreen>
#include <QSettings>
#include <QTextStream>

namespace {

GameWindow* registeredWindow = nullptr;

constexpr double MenuLeft = 0.805;
constexpr double MenuTop = 0.665;
constexpr double MenuDesignWidth = 1280.0;
constexpr double MenuDesignHeight = 960.0;

} // namespace

GameWindow::GameWindow(QWidget* parent) : SDL_QMainWindow(parent, {}), ui(new Ui::GameWindow) {
    ui->setupUi(this);
    registeredWindow = this;
    GameShell::setLocator([]() -> GameShell* { return GameWindow::activeGameWindow(); });
    menuBar()->setVisible(false);
    // A hidden menu bar takes its shortcuts with it unless the window holds the actions too.
    addActions({ui->actionNew_Game, ui->actionShow_High_Scores, ui->actionOptions, ui->actionProduct_Page,
                ui->actionTorvik_Webpage, ui->actionTorvik_Support, ui->actionSend_Feedback, ui->actionAbout,
                ui->actionQuit, ui->actionOrbitrax_Help});
    // F11 and Alt+Enter (the keypad's Enter too) swap the screen mode; a held key swaps once.
    auto* fullScreen = new QAction(tr("Full Screen"), this);
    fullScreen->setShortcuts({QKeySequence(Qt::Key_F11), QKeySequence(Qt::ALT | Qt::Key_Return),
                              QKeySequence(Qt::ALT | Qt::Key_Enter)});
    fullScreen->setAutoRepeat(false);
    connect(fullScreen, &QAction::triggered, this, &GameWindow::toggleFullScreen);
    addAction(fullScreen);
    if (SDL_QWidget* view = getSDLWidget()) {
        QSurfaceFormat format = view->sdlScene()->format();
        format.setSamples(4);
        view->sdlScene()->setFormat(format);
    }
    connect(tvx::HelpManager::instance(), &tvx::HelpManager::requestAboutDialog, this,
            &GameWindow::showAbout);
    setHasCustomLayout(false);
}

GameWindow::~GameWindow() {
    // However the game ends, a score that earned its place is kept with the name typed so far.
    if (highScoreTable) {
        highScoreTable->keepEntry();
        highScoreTable->abandonEntry();
    }
    // The clean-exit mark: the next start trusts the stored settings.
    QSettings* s = tvt::QtSingleApplication::appSettings();
    s->setValue("general/Running", 0);
    tvt::QtSingleApplication::syncSettings();
    if (registeredWindow == this)
        registeredWindow = nullptr;
    delete ui;
}

GameWindow* GameWindow::theWindow() {
    return registeredWindow;
}

GameWindow* GameWindow::activeGameWindow() {
    if (auto* active = qobject_cast<GameWindow*>(QApplication::activeWindow()))
        return active;
    return registeredWindow;
}

QString GameWindow::styleSheetText() {
    QFile file(QStringLiteral(":/styles/style.css"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream stream(&file);
    return stream.readAll().simplified();
}

void GameWindow::enableGrabbing(bool grab) {
    ui->sdlWidget->enableGrabbing(grab);
}

void GameWindow::showGameMenu() {
    if (!menuProxy) {
        auto* menu = new GameMenu();
        connect(menu, &GameMenu::helpRequested, this, &GameWindow::showHelp);
        connect(menu, &GameMenu::quitRequested, this, &GameWindow::quitSDL);
        menuProxy = ui->sdlWidget->addWidget(menu);
        menuProxy->hide();
    }
    if (menuProxy->isVisible())
        return;
    menuProxy->setTransform(QTransform());
    auto* menu = static_cast<GameMenu*>(menuProxy->widget());
    const int screenWidth = Engine::instance()->screenWidth;
    if (screenWidth == 640)
        menu->resizeForScreen(640, 480);
    else if (screenWidth == 800 || screenWidth == 1024 || screenWidth == 1280)
        menu->resizeForScreen(screenWidth, height());
    else
        menu->resizeForScreen(width(), height());
    menuProxy->setPos(MenuLeft * width(), MenuTop * height());
    menuProxy->setTransform(QTransform::fromScale(width() / MenuDesignWidth, height() / MenuDesignHeight));
    enableGrabbing(false);
    menuProxy->show();
    menuProxy->setFocus(Qt::OtherFocusReason);
    update();
}

void GameWindow::hideGameMenu() {
    if (menuProxy)
        menuProxy->hide();
}

void GameWindow::showHighScores() {
    if (highScoreTable)
        return;
    hideGameMenu();
    highScoreTable = new HighScoreTable(ui->sdlWidget);
    connect(highScoreTable, &HighScoreTable::closeRequested, this, &GameWindow::hideHighScores);
    const Engine* engine = Engine::instance();
    highScoreTable->resizeForScreen(engine->screenWidth, height());
    highScoreTable->setGeometry(0, 0, width(), height());
    enableGrabbing(false);
    highScoreTable->show();
    highScoreTable->setFocus();
}

void GameWindow::hideHighScores() {
    if (!highScoreTable)
        return;
    HighScoreTable* table = highScoreTable;
    highScoreTable = nullptr;
    table->keepEntry();
    table->abandonEntry();
    table->hide();
    // This runs from the table's own button or timer: destroy it once that has returned.
    table->deleteLater();
    emit highScoreTableClosed();
}

bool GameWindow::checkHighScore(int score) {
    if (highScoreTable)
        return false;
    hideGameMenu();
    highScoreTable = new HighScoreTable(ui->sdlWidget);
    connect(highScoreTable, &HighScoreTable::closeRequested, this, &GameWindow::hideHighScores);
    highScoreTable->setGeometry(0, 0, width(), height());
    if (highScoreTable->insertScore(score)) {
        highScoreTable->resizeForScreen(Engine::instance()->screenWidth, height());
        enableGrabbing(false);
        highScoreTable->show();
        highScoreTable->setFocus();
        return true;
    }
    delete highScoreTable;
    highScoreTable = nullptr;
    return false;
}

void GameWindow::showOptions() {
    if (!optionsProxy) {
        auto* panel = new GameOptions();
        connect(panel, &GameOptions::windowSizeChanged, this, &GameWindow::optionsResized);
        connect(panel, &GameOptions::screenModeChanged, this, &GameWindow::optionsChangedMode);
        connect(panel, &GameOptions::closeRequested, this, &GameWindow::hideOptions);
        panel->setStyleSheet(styleSheetText());
        // The sheet's fonts and paddings need room: never narrower than the styled contents.
        panel->ensurePolished();
        panel->resize(panel->size().expandedTo(panel->sizeHint()));
        optionsProxy = ui->sdlWidget->addWidget(panel);
        // The panel's own window opacity (0.8) carries over the scene; a proxy opacity would multiply it.
        optionsProxy->hide();
    }
    if (optionsProxy->isVisible())
        return;
    static_cast<GameOptions*>(optionsProxy->widget())->selectFromEngine();
    centreOptions();
    enableGrabbing(false);
    optionsProxy->show();
    optionsProxy->setFocusPolicy(Qt::StrongFocus);
    optionsProxy->setFocus(Qt::OtherFocusReason);
}

void GameWindow::optionsResized(QSize size) {
    setFixedSize(size);
    if (Engine::instance()->fullScreen)
        enableGrabbing(false);
    centreOptions();
    ui->sdlWidget->update();
}

void GameWindow::optionsChangedMode() {
    if (Engine::instance()->fullScreen)
        enableGrabbing(false);
    centreOptions();
}

void GameWindow::centreOptions() {
    if (!optionsProxy)
        return;
    const QSizeF panel = optionsProxy->size();
    optionsProxy->setPos(0.5 * (width() - panel.width()), 0.5 * (height() - panel.height()));
}

void GameWindow::attachGame(Game* game) {
    connect(this, &GameWindow::highScoreTableClosed, game, &Game::highscoreClosed);
    connect(this, &GameWindow::optionsClosed, game, &Game::optionsClosed);
}

void GameWindow::setWindowSize(int width, int height) {
    setFixedSize(width, height);
}

void GameWindow::hideOptions() {
    if (!optionsProxy)
        return;
    optionsProxy->hide();
    emit optionsClosed();
}

void GameWindow::showAbout() {
    auto* about = new tvx::AboutDialog(this);
    about->setFullProductName(QApplication::applicationName());
    about->setProductVersion(QApplication::applicationVersion());
    about->setProductPicture(QPixmap(QStringLiteral(":/productinfo/product.png")));
    about->setCreditsPath(QStringLiteral(":/productinfo/credits.html"));
    about->setAcknowledgementsFile(QStringLiteral("Acknowledgements.pdf"));
    // Window-modal without a nested event loop, so that the game's frames keep coming.
    about->setAttribute(Qt::WA_DeleteOnClose);
    enableGrabbing(false);
    about->open();
}

void GameWindow::showHelp() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    if (!helpDialog) {
        helpDialog = new HelpDialog(this);
        helpDialog->setFixedSize(HelpDialog::sizeForScreen(area.size()));
    }
    helpDialog->move((area.width() - helpDialog->width()) / 2, (area.height() - helpDialog->height()) / 2);
    enableGrabbing(false);
    helpDialog->show();
    helpDialog->raise();
    helpDialog->activateWindow();
}

void GameWindow::hideHelp() {
    if (!helpDialog)
        return;
    HelpDialog* dialog = helpDialog;
    helpDialog = nullptr;
    dialog->hide();
    dialog->deleteLater();
}

void GameWindow::showCredits() {
    if (!creditsProxy) {
        creditsView = new CreditsView();
        creditsProxy = ui->sdlWidget->addWidget(creditsView);
        creditsProxy->hide();
        if (Game* game = Game::instance())
            connect(creditsView, &CreditsView::notifyFinished, game, &Game::creditsFinished);
    }
    if (creditsProxy->isVisible())
        return;
    creditsProxy->setGeometry(QRectF(0, 0, width(), height()));
    creditsProxy->show();
    creditsProxy->setFocusPolicy(Qt::StrongFocus);
    creditsProxy->setFocus(Qt::OtherFocusReason);

    QFile movie(QStringLiteral(":/productinfo/movie.html"));
    if (movie.open(QIODevice::ReadOnly)) {
        QByteArray bytes = movie.readAll();
        const qsizetype end = bytes.indexOf('\0');
        if (end >= 0)
            bytes.truncate(end);
        creditsView->setCredits(QString::fromUtf8(bytes));
        movie.close();
    }

    Engine* engine = Engine::instance();
    engine->releaseMusic(engine->gameMusic);
    engine->releaseMusic(engine->menuMusic);
    engine->startMusic(engine->creditsMusic, "samples/Rocket.mp3");
}

void GameWindow::hideCredits() {
    if (creditsProxy)
        creditsProxy->hide();
}

void GameWindow::closeOverlays() {
    if (optionsProxy)
        optionsProxy->hide();
    if (highScoreTable) {
        HighScoreTable* table = highScoreTable;
        highScoreTable = nullptr;
        table->keepEntry();
        table->abandonEntry();
        table->hide();
        table->deleteLater();
    }
    if (creditsView)
        creditsView->stopScroll();
    hideCredits();
}

void GameWindow::resizeEvent(QResizeEvent* event) {
    ui->sdlWidget->resize(event->size());
    SDL_QMainWindow::resizeEvent(event);
    if (optionsProxy) {
        optionsProxy->setPos(0.5 * (width() - optionsProxy->size().width()), 0);
        enableGrabbing(false);
        optionsProxy->update();
        ui->sdlWidget->setFocus(Qt::OtherFocusReason);
    }
}

void GameWindow::changeEvent(QEvent* event) {
    SDL_QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

void GameWindow::on_actionNew_Game_triggered() {
    Game* game = Game::instance();
    if (game && menuProxy && menuProxy->isVisible())
        game->newGame();
}

void GameWindow::on_actionOptions_triggered() {
    Game* game = Game::instance();
    if (game && menuProxy && menuProxy->isVisible())
        game->openOptions();
}

// Full screen and the stored window size swap at once, wherever the player is, and the choice is
// stored as the options panel stores it. A game in play does not move while the mode changes.
void GameWindow::toggleFullScreen() {
    Engine* engine = Engine::instance();
    const bool grabbing = ui->sdlWidget->isGrabbing();
    engine->fullScreen = !engine->fullScreen;
    const unsigned int flags = sdlq::OpenGLFlag | (engine->fullScreen ? sdlq::FullScreenFlag : 0);
    if (!sdlq::setVideoMode(engine->screenWidth, engine->screenHeight, 0, flags)) {
        engine->fullScreen = !engine->fullScreen;
        return;
    }
    engine->saveSettings();
    enableGrabbing(grabbing);
    if (menuProxy && menuProxy->isVisible()) {
        menuProxy->hide(); // laid out again for the new size
        showGameMenu();
    }
    if (optionsProxy && optionsProxy->isVisible()) {
        static_cast<GameOptions*>(optionsProxy->widget())->selectFromEngine();
        centreOptions();
    }
    if (World::exists())
        World::instance()->restartClocks();
}

void GameWindow::on_actionShow_High_Scores_triggered() {
    Game* game = Game::instance();
    if (game && menuProxy && menuProxy->isVisible())
        game->openHighScores();
}

void GameWindow::on_actionQuit_triggered() {
    quitSDL();
}

void GameWindow::on_actionOrbitrax_Help_triggered() {
    showHelp();
}

void GameWindow::on_actionProduct_Page_triggered() {
    tvx::HelpManager::instance()->openProductWebsite();
}

void GameWindow::on_actionTorvik_Webpage_triggered() {
    tvx::HelpManager::instance()->openWebsite();
}

void GameWindow::on_actionTorvik_Support_triggered() {
    tvx::HelpManager::instance()->openSupportWebsite();
}

void GameWindow::on_actionSend_Feedback_triggered() {
    tvx::HelpManager::instance()->sendFeedback();
}

void GameWindow::on_actionAbout_triggered() {
    tvx::HelpManager::instance()->showAbout();
}
