#include "ui/GameOptions.h"

#include "core/Audio.h"
#include "core/Engine.h"
#include "core/Game.h"
#include "platform/SdlCompat.h"
#include "ui_GameOptions.h"

#include <QComboBox>
#include <QGraphicsProxyWidget>
#include <QSignalBlocker>

#include <cmath>

namespace {

// 640 x 480 is too small for the screens over the game.
bool offersResolution(int w, int h) {
    return w >= 800 || h >= 600;
}

// The box is ordered by width; a size as wide as an item but taller goes one place after it.
void insertResolution(QComboBox* box, int w, int h) {
    int at = box->count();
    for (int k = 0; k < box->count(); ++k) {
        const QSize item = box->itemData(k).toSize();
        if (item.width() >= w) {
            at = item.height() < h ? k + 1 : k;
            break;
        }
    }
    box->insertItem(at, QStringLiteral("%1 x %2").arg(w).arg(h), QSize(w, h));
}

} // namespace

GameOptions::GameOptions(QWidget* parent) : QFrame(parent), ui(new Ui::GameOptions) {
    ui->setupUi(this);
    // Every box is as wide as its longest item ("1280 x 1024" must not be cut).
    for (QComboBox* box : findChildren<QComboBox*>())
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    selectFromEngine();
    setWindowOpacity(0.8);
    const Engine* engine = Engine::instance();
    fillResolutions(engine->screenWidth, engine->screenHeight);
}

GameOptions::~GameOptions() {
    delete ui;
}

void GameOptions::selectFromEngine() {
    const Engine* engine = Engine::instance();
    ui->anisotropicFiltering->setCurrentIndex(anisotropyIndex(engine->anisotropic));
    ui->detailsLevel->setCurrentIndex(qBound(0, engine->details, 2));
    ui->renderScale->setCurrentIndex(engine->renderScale.mode() == RenderScale::Mode::Auto ? 0 : 1);
    ui->fullscreen->setCurrentIndex(engine->fullScreen ? 0 : 1);
    ui->texturefilter->setCurrentIndex(qBound(0, engine->textureFilter, 2));
    ui->shadows->setCurrentIndex(engine->shadows ? 0 : 1);
    ui->forceFeedback->setCurrentIndex(engine->forceFeedback ? 0 : 1);
    const QSignalBlocker musicQuiet(ui->musicVolume);
    const QSignalBlocker effectsQuiet(ui->effectsVolume);
    ui->musicVolume->setValue(engine->musicVolume);
    ui->effectsVolume->setValue(engine->effectsVolume);
}

int GameOptions::anisotropyIndex(int level) {
    // Without anisotropic filtering the level is 0, which has no logarithm: show "1".
    if (level < 1)
        return 0;
    if (level >= 8)
        return 3;
    return static_cast<int>(std::log(static_cast<double>(level)) / std::log(2.0));
}

QComboBox* GameOptions::box(const QString& name) const {
    return findChild<QComboBox*>(name);
}

int GameOptions::fillResolutions(int width, int height) {
    std::vector<QSize> modes;
    if (!sdlq::listModes(&modes))
        return fillResolutions(width, height, nullptr);
    return fillResolutions(width, height, &modes);
}

int GameOptions::fillResolutions(int width, int height, const std::vector<QSize>* modes) {
    QComboBox* box = ui->resolution;
    box->clear();
    if (!modes) {
        box->setCurrentIndex(-1);
        return -1;
    }
    for (const QSize& mode : *modes)
        if (offersResolution(mode.width(), mode.height()))
            insertResolution(box, mode.width(), mode.height());
    // A window whose size is none of the screen's modes still finds its own size in the box.
    if (offersResolution(width, height) && box->findData(QSize(width, height)) < 0)
        insertResolution(box, width, height);
    box->setCurrentIndex(box->findData(QSize(width, height)));
    return 0;
}

void GameOptions::on_texturefilter_activated(int index) {
    Engine* engine = Engine::instance();
    engine->textureFilter = index;
    engine->saveSettings();
}

void GameOptions::on_anisotropicFiltering_activated(int index) {
    Engine* engine = Engine::instance();
    engine->anisotropic = ui->anisotropicFiltering->itemText(index).toInt();
    engine->saveSettings();
}

void GameOptions::on_shadows_activated(int index) {
    Engine* engine = Engine::instance();
    engine->shadows = index == 0;
    engine->saveSettings();
}

void GameOptions::on_detailsLevel_activated(int index) {
    Engine* engine = Engine::instance();
    engine->details = index;
    engine->saveSettings();
}

void GameOptions::on_renderScale_activated(int index) {
    Engine* engine = Engine::instance();
    engine->renderScale.setMode(index == 0 ? RenderScale::Mode::Auto : RenderScale::Mode::Full);
    engine->saveSettings();
}

void GameOptions::on_resolution_activated(int index) {
    const QSize size = ui->resolution->itemData(index).toSize();
    if (!size.isValid())
        return;
    if (!changeMode(size, Engine::instance()->fullScreen))
        return;
    emit windowSizeChanged(size);
    update();
    QFrame::setFocus(Qt::OtherFocusReason);
}

void GameOptions::on_fullscreen_activated(int index) {
    const Engine* engine = Engine::instance();
    if (!changeMode(QSize(engine->screenWidth, engine->screenHeight), index == 0))
        return;
    emit screenModeChanged();
}

bool GameOptions::changeMode(QSize size, bool fullScreen) {
    Engine* engine = Engine::instance();
    const QSize before(engine->screenWidth, engine->screenHeight);
    const bool wasFullScreen = engine->fullScreen;
    engine->screenWidth = size.width();
    engine->screenHeight = size.height();
    engine->fullScreen = fullScreen;
    engine->saveSettings();
    Game* game = Game::instance();
    if (!game || game->reinitialise())
        return true;
    engine = Engine::instance(); // rebuilt
    engine->screenWidth = before.width();
    engine->screenHeight = before.height();
    engine->fullScreen = wasFullScreen;
    engine->saveSettings();
    game->reinitialise();
    selectFromEngine();
    fillResolutions(before.width(), before.height());
    return false;
}

void GameOptions::on_forceFeedback_activated(int index) {
    // Written by the next save of the settings.
    Engine::instance()->forceFeedback = 1 - index;
}

// The mixer follows the slider as it moves; the store is written once the slider is let go.
void GameOptions::volumeChanged(int* volume, int value, bool dragging) {
    *volume = qBound(0, value, 100);
    Engine::instance()->applyVolumes();
    if (!dragging)
        Engine::instance()->saveSettings();
}

void GameOptions::on_musicVolume_valueChanged(int value) {
    volumeChanged(&Engine::instance()->musicVolume, value, ui->musicVolume->isSliderDown());
}

void GameOptions::on_effectsVolume_valueChanged(int value) {
    volumeChanged(&Engine::instance()->effectsVolume, value, ui->effectsVolume->isSliderDown());
}

void GameOptions::on_musicVolume_sliderReleased() {
    Engine::instance()->saveSettings();
}

void GameOptions::on_effectsVolume_sliderReleased() {
    Engine::instance()->saveSettings();
    Audio::playSample(Audio::Tir, 128); // a shot, to hear the new level
}

void GameOptions::on_pushButton_clicked() {
    emit closeRequested();
}

bool GameOptions::event(QEvent* event) {
    return QFrame::event(event);
}

void GameOptions::moveEvent(QMoveEvent* event) {
    QFrame::moveEvent(event);
}

void GameOptions::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        // Refilling the fixed boxes resets them: keep the player's choices.
        const int indices[] = {ui->texturefilter->currentIndex(), ui->anisotropicFiltering->currentIndex(),
                               ui->shadows->currentIndex(),       ui->detailsLevel->currentIndex(),
                               ui->fullscreen->currentIndex(),    ui->forceFeedback->currentIndex(),
                               ui->renderScale->currentIndex()};
        ui->retranslateUi(this);
        ui->texturefilter->setCurrentIndex(indices[0]);
        ui->anisotropicFiltering->setCurrentIndex(indices[1]);
        ui->shadows->setCurrentIndex(indices[2]);
        ui->detailsLevel->setCurrentIndex(indices[3]);
        ui->fullscreen->setCurrentIndex(indices[4]);
        ui->forceFeedback->setCurrentIndex(indices[5]);
        ui->renderScale->setCurrentIndex(indices[6]);
    }
}
