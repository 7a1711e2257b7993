#include "core/Engine.h"

#include "core/GameShell.h"
#include "platform/QtSingleApplication.h"
#include "platform/SdlCompat.h"
#include "render/Textures.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <algorithm>

namespace {

constexpr int MaxWindowSide = 16384;
// The options panel offers levels 1 to 8; 0 is what a driver without the extension leaves.
constexpr int MaxAnisotropicLevel = 8;

QSize primaryScreenSize() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen)
        return QSize(1024, 768);
    const QRect g = screen->geometry();
    return QSize(g.right() - g.left() + 1, g.bottom() - g.top() + 1);
}

// A stored integer, or the default when the key is absent or does not hold a number.
int storedInt(QSettings* s, const char* key, int fallback) {
    bool ok = false;
    const int value = s->value(key).toInt(&ok);
    return s->contains(key) && ok ? value : fallback;
}

// A stored window side: sizes that cannot be a window count as absent.
int storedSide(QSettings* s, const char* key, int fallback) {
    const int value = storedInt(s, key, fallback);
    return value > 0 && value <= MaxWindowSide ? value : fallback;
}

// A stored volume in percent: anything outside 0–100 counts as absent (full volume).
int storedVolume(QSettings* s, const char* key) {
    const int value = storedInt(s, key, 100);
    return value >= 0 && value <= 100 ? value : 100;
}

// Anisotropic filtering costs a software rasteriser most of its frame: there it starts off, and the
// options panel still offers every level.
int defaultAnisotropy(float maxAnisotropy) {
    const int limit = static_cast<int>(maxAnisotropy);
    return sdlq::softwareRenderer() && limit > 1 ? 1 : limit;
}

// A software renderer cannot fill a large window at the frame rate: there the scene's size follows
// the frame time.
RenderScale::Mode defaultRenderScale() {
    return sdlq::softwareRenderer() ? RenderScale::Mode::Auto : RenderScale::Mode::Full;
}

// "Auto" or "100" as stored; anything else counts as absent.
RenderScale::Mode storedRenderScale(QSettings* s, const char* key) {
    const QString value = s->value(key).toString().trimmed();
    if (value.compare(QLatin1String("Auto"), Qt::CaseInsensitive) == 0)
        return RenderScale::Mode::Auto;
    if (value == QLatin1String("100"))
        return RenderScale::Mode::Full;
    return defaultRenderScale();
}

} // namespace

void Engine::loadSettings(int expectedRunning) {
    QSettings* s = tvt::QtSingleApplication::appSettings();
    const int running = storedInt(s, "general/Running", 1);
    const QSize screen = primaryScreenSize();
    if (running == expectedRunning) {
        s->beginGroup("Graphic");
        textureFilter = storedInt(s, "Filter", 2);
        // Out of range the panel would see a change on every frame and save it each time.
        anisotropic =
            std::clamp(storedInt(s, "Anisotropic", defaultAnisotropy(maxAnisotropy)), 0, MaxAnisotropicLevel);
        // Only low, medium and high exist; anything else would break the star and beam counts.
        details = storedInt(s, "Details", 2);
        if (details < 0 || details > 2)
            details = 2;
        shadows = storedInt(s, "Shadows", 1) == 1;
        screenWidth = storedSide(s, "Width", screen.width());
        screenHeight = storedSide(s, "Height", screen.height());
        fullScreen = storedInt(s, "FullScreen", 1) == 1;
        renderScale.setMode(storedRenderScale(s, "RenderScale"));
        s->endGroup();
        s->beginGroup("general");
        forceFeedback = storedInt(s, "ForceFeedback", 1);
        s->endGroup();
    } else {
        shadows = true;
        fullScreen = true;
        anisotropic = defaultAnisotropy(maxAnisotropy);
        textureFilter = 2;
        screenWidth = screen.width();
        screenHeight = screen.height();
        details = 2;
        forceFeedback = 1;
        renderScale.setMode(defaultRenderScale());
    }
    // The volumes are no graphic risk: an unclean exit keeps them.
    musicVolume = storedVolume(s, "Audio/MusicVolume");
    effectsVolume = storedVolume(s, "Audio/EffectsVolume");
    applyVolumes();
    s->setValue("general/Running", 1);
    tvt::QtSingleApplication::syncSettings();
}

sdlq::Surface* Engine::applySettings(int expectedRunning) {
    loadSettings(expectedRunning);
    if (GameShell* window = GameShell::current())
        window->setWindowSize(screenWidth, screenHeight);
    unsigned int flags = sdlq::OpenGLFlag;
    if (fullScreen)
        flags |= sdlq::FullScreenFlag;
    sdlq::Surface* surface = sdlq::setVideoMode(screenWidth, screenHeight, 0, flags);
    if (!surface)
        return nullptr;
    loadTextures();
    applyAnisotropy(anisotropic);
    applyFilterOption(textureFilter);
    return surface;
}

void Engine::saveSettings() {
    QSettings* s = tvt::QtSingleApplication::appSettings();
    s->beginGroup("Graphic");
    s->setValue("Filter", textureFilter);
    s->setValue("Anisotropic", anisotropic);
    s->setValue("Details", details);
    s->setValue("Shadows", shadows ? 1 : 0);
    s->setValue("Width", screenWidth);
    s->setValue("Height", screenHeight);
    s->setValue("FullScreen", fullScreen ? 1 : 0);
    s->setValue("RenderScale", renderScale.mode() == RenderScale::Mode::Auto ? "Auto" : "100");
    s->endGroup();
    s->beginGroup("general");
    s->setValue("ForceFeedback", forceFeedback);
    s->endGroup();
    s->beginGroup("Audio");
    s->setValue("MusicVolume", musicVolume);
    s->setValue("EffectsVolume", effectsVolume);
    s->endGroup();
    tvt::QtSingleApplication::syncSettings();
}
