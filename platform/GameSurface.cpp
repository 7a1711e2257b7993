#include "platform/GameSurface.h"

#include "platform/SDL_QScene.h"
#include "platform/SDL_QWidget.h"
#include "platform/ScaleUpTwice.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLWidget>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QtMath>

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#ifndef GL_PACK_INVERT_MESA
#define GL_PACK_INVERT_MESA 0x8758
#endif

namespace {

GameSurface* theSurface = nullptr;
constexpr int MaxSide = 16384;

bool softwareRenderer(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    for (const char* word : {"llvmpipe", "softpipe", "software", "swrast", "swr", "lavapipe"})
        if (lower.find(word) != std::string::npos)
            return true;
    return false;
}

// The part of the view that shows a frame of the given size: all of it when the sizes match,
// else the largest centred rectangle of the frame's shape.
QRect fitRect(QSize frame, QSize view) {
    if (frame == view || frame.isEmpty())
        return QRect(QPoint(0, 0), view);
    const QSize fitted = frame.scaled(view, Qt::KeepAspectRatio);
    return QRect(QPoint((view.width() - fitted.width()) / 2, (view.height() - fitted.height()) / 2), fitted);
}

// Clears to black of the given alpha; the game's own clear colour stays as it was set.
void clearBlack(GLfloat alpha, GLbitfield buffers) {
    GLfloat kept[4] = {0, 0, 0, 0};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, kept);
    glClearColor(0, 0, 0, alpha);
    glClear(buffers);
    glClearColor(kept[0], kept[1], kept[2], kept[3]);
}

} // namespace

GameSurface* GameSurface::instance() {
    if (!theSurface && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        theSurface = new GameSurface();
        // The context must go before the platform integration does.
        qAddPostRoutine(&GameSurface::destroy);
    }
    return theSurface;
}

void GameSurface::destroy() {
    delete theSurface;
    theSurface = nullptr;
}

GameSurface::GameSurface() = default;

GameSurface::~GameSurface() {
    if (context && offscreen && context->makeCurrent(offscreen))
        releaseFrameBuffers();
    delete context;
    delete offscreen;
}

bool GameSurface::ensureContext() {
    if (context)
        return true;
    if (contextFailed)
        return false;
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setSwapInterval(0);
    auto* made = new QOpenGLContext();
    made->setFormat(format);
    made->setShareContext(QOpenGLContext::globalShareContext());
    auto* surfaceMade = new QOffscreenSurface();
    surfaceMade->setFormat(format);
    surfaceMade->create();
    if (!made->create() || !surfaceMade->isValid() || !made->makeCurrent(surfaceMade)) {
        delete made;
        delete surfaceMade;
        contextFailed = true;
        return false;
    }
    context = made;
    offscreen = surfaceMade;
    const char* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    rendererText = name ? name : "";
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    packInvert = extensions && std::strstr(extensions, "GL_MESA_pack_invert");
    chooseMode();
    return true;
}

void GameSurface::chooseMode() {
    if (modeChosen)
        return;
    modeChosen = true;
    const QByteArray chosen = qgetenv("ORBITRAX_PRESENT").toLower();
    if (chosen == "readback")
        presentMode = sdlq::Present::ReadBack;
    else if (chosen == "blit")
        presentMode = sdlq::Present::Blit;
    else
        presentMode = softwareRenderer(rendererText) ? sdlq::Present::ReadBack : sdlq::Present::Blit;
}

sdlq::Present GameSurface::mode() {
    if (!modeChosen)
        ensureContext();
    return presentMode;
}

void GameSurface::setMode(sdlq::Present present) {
    modeChosen = true;
    presentMode = present;
    blitContext = nullptr;
    blitFbo = 0;
    if (SDL_QWidget* view = SDL_QWidget::current())
        view->configureViewport(present);
    makeCurrent();
}

void GameSurface::makeCurrent() {
    if (!ensureContext())
        return;
    if (QOpenGLContext::currentContext() != context)
        context->makeCurrent(offscreen);
    if (target)
        target->bind();
}

void GameSurface::restoreCurrent() {
    if (context && QOpenGLContext::currentContext() != context)
        makeCurrent();
}

bool GameSurface::makeFrameBuffers(QSize size, int samples) {
    if (!ensureContext())
        return false;
    if (QOpenGLContext::currentContext() != context)
        context->makeCurrent(offscreen);
    const int wantedSamples = resolved ? target->format().samples() : 0;
    if (target && frame == size && wantedSamples == samples)
        return true;
    releaseFrameBuffers();
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    format.setInternalTextureFormat(GL_RGBA8);
    if (samples > 0) {
        format.setSamples(samples);
        target = new QOpenGLFramebufferObject(size, format);
        if (target->isValid() && target->format().samples() > 0) {
            QOpenGLFramebufferObjectFormat plain;
            plain.setInternalTextureFormat(GL_RGBA8);
            resolved = new QOpenGLFramebufferObject(size, plain);
        } else {
            releaseFrameBuffers();
        }
    }
    if (!target) {
        format.setSamples(0);
        target = new QOpenGLFramebufferObject(size, format);
    }
    if (!target->isValid() || (resolved && !resolved->isValid())) {
        releaseFrameBuffers();
        return false;
    }
    frame = size;
    hasFrame = false;
    target->bind();
    // A new frame starts black and covers the viewport, as a new SDL surface did.
    glViewport(0, 0, size.width(), size.height());
    clearBlack(1, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

void GameSurface::releaseFrameBuffers() {
    delete target;
    delete resolved;
    delete scene;
    target = nullptr;
    resolved = nullptr;
    scene = nullptr;
    sceneBound = frameInResolved = frameLayered = shownLayered = false;
    overlaysRead = overlaysKept = shownKept = false;
    overlays.clear();
    shownOverlays.clear();
    frame = QSize();
    hasFrame = false;
}

sdlq::Surface* GameSurface::setVideoMode(int width, int height, unsigned int flags) {
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide) {
        SDL_SetError("Invalid video mode size %dx%d", width, height);
        return nullptr;
    }
    if (!ensureContext()) {
        SDL_SetError("Couldn't create an OpenGL context");
        return nullptr;
    }
    SDL_QWidget* view = SDL_QWidget::current();
    // Multisampling pays on a graphics card; a software renderer would lose the frame rate.
    int samples = 0;
    if (view && presentMode == sdlq::Present::Blit)
        samples = std::max(0, view->sdlScene()->format().samples());
    updateRatio();
    if (!makeFrameBuffers(devicePixels(width, height), samples)) {
        SDL_SetError("Couldn't create a %dx%d frame buffer with depth and stencil", width, height);
        return nullptr;
    }
    const bool fullScreen = (flags & sdlq::FullScreenFlag) != 0;
    videoSurface = sdlq::Surface{width, height, fullScreen};
    if (view)
        view->configureViewport(presentMode);
    sizeWindow(width, height, fullScreen);
    makeCurrent();
    return &videoSurface;
}

void GameSurface::resizeFrame(int width, int height) {
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide || !target)
        return;
    const int samples = resolved ? target->format().samples() : 0;
    updateRatio();
    if (makeFrameBuffers(devicePixels(width, height), samples)) {
        videoSurface.w = width;
        videoSurface.h = height;
    }
    makeCurrent();
}

// A HiDPI screen gets a frame of its own pixels, not a logical-size one blown up.
void GameSurface::updateRatio() {
    SDL_QWidget* view = SDL_QWidget::current();
    qreal r = view ? view->devicePixelRatioF() : 1.0;
    if (!(r >= 1.0 && r <= 8.0))
        r = 1.0;
    ratio = r;
}

QSize GameSurface::devicePixels(int width, int height) const {
    QSize pixels(qRound(width * ratio), qRound(height * ratio));
    return pixels.boundedTo(QSize(MaxSide, MaxSide));
}

void GameSurface::sizeWindow(int width, int height, bool fullScreen) {
    SDL_QWidget* view = SDL_QWidget::current();
    if (!view)
        return;
    QWidget* window = view->window();
    if (fullScreen) {
        QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        window->setMinimumSize(0, 0);
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        // Without a window manager showFullScreen() alone keeps the old size.
        if (screen)
            window->setGeometry(screen->geometry());
        window->showFullScreen();
    } else {
        if (window->isFullScreen())
            window->showNormal();
        window->setFixedSize(width, height);
    }
    if (window->isVisible()) {
        window->raise();
        window->activateWindow();
    }
}

int GameSurface::depthBits() {
    if (!target)
        return 0;
    makeCurrent();
    GLint bits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    return bits;
}

int GameSurface::stencilBits() {
    if (!target)
        return 0;
    makeCurrent();
    GLint bits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &bits);
    return bits;
}

int GameSurface::frameSamples() const {
    return resolved ? target->format().samples() : 0;
}

unsigned int GameSurface::frameTexture() const {
    if (resolved)
        return resolved->texture();
    return target ? target->texture() : 0;
}

QSize GameSurface::beginScene(int width, int height, int percent) {
    sceneBound = false;
    const QSize full = devicePixels(width, height);
    if (!target || percent >= 100)
        return full;
    const QSize size(std::max(1, frame.width() * percent / 100), std::max(1, frame.height() * percent / 100));
    if (!scene || scene->size() != size) {
        delete scene;
        scene = new QOpenGLFramebufferObject(size, QOpenGLFramebufferObject::CombinedDepthStencil,
                                             GL_TEXTURE_2D, GL_RGBA8);
        if (!scene->isValid()) {
            // Without the smaller buffer the scene keeps the window's size.
            delete scene;
            scene = nullptr;
            target->bind();
            return full;
        }
    }
    scene->bind();
    sceneBound = true;
    return size;
}

void GameSurface::endScene() {
    if (!sceneBound)
        return;
    sceneBound = false;
    if (presentMode == sdlq::Present::ReadBack) {
        // Read back, the scene goes up to the window's size in the window's painter, which costs a
        // software renderer a third of what a GL pass over every pixel does. The frame keeps only
        // what is drawn over the scene, in the areas named for it.
        target->bind();
        frameLayered = true;
        overlays.clear();
        return;
    }
    QOpenGLFramebufferObject* into = resolved ? resolved : target;
    QOpenGLFramebufferObject::blitFramebuffer(into, QRect(QPoint(0, 0), frame), scene,
                                              QRect(QPoint(0, 0), scene->size()), GL_COLOR_BUFFER_BIT,
                                              GL_LINEAR);
    into->bind();
    frameInResolved = into == resolved;
}

std::vector<QRect> GameSurface::overlayPixels(const std::vector<QRect>& areas) const {
    std::vector<QRect> pixels;
    const QRect whole(QPoint(0, 0), frame);
    for (const QRect& area : areas) {
        const QRect part =
            QRect(QPoint(qFloor(area.left() * ratio), qFloor(area.top() * ratio)),
                  QPoint(qCeil((area.right() + 1) * ratio) - 1, qCeil((area.bottom() + 1) * ratio) - 1)) &
            whole;
        if (!part.isEmpty())
            pixels.push_back(part);
    }
    return pixels;
}

void GameSurface::beginOverlay(const std::vector<QRect>& areas) {
    if (!frameLayered)
        return;
    // Each area starts clear; what is drawn there is kept with premultiplied colours.
    overlays = overlayPixels(areas);
    glEnable(GL_SCISSOR_TEST);
    for (const QRect& pixels : overlays) {
        glScissor(pixels.left(), frame.height() - pixels.bottom() - 1, pixels.width(), pixels.height());
        clearBlack(0, GL_COLOR_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
}

bool GameSurface::keepOverlay(const std::vector<QRect>& areas) {
    if (!frameLayered || !shownLayered || !overlaysRead)
        return false;
    std::vector<QRect> pixels = overlayPixels(areas);
    if (pixels != shownOverlays)
        return false;
    overlays = std::move(pixels);
    overlaysKept = true;
    return true;
}

void GameSurface::present() {
    if (!target)
        return;
    if (QOpenGLContext::currentContext() != context)
        context->makeCurrent(offscreen);
    if (resolved && !frameInResolved)
        QOpenGLFramebufferObject::blitFramebuffer(resolved, target);
    frameInResolved = false;
    shownLayered = frameLayered;
    frameLayered = false;
    shownOverlays.swap(overlays);
    overlays.clear();
    shownKept = overlaysKept;
    overlaysKept = false;
    SDL_QWidget* view = SDL_QWidget::current();
    const bool shown = view && view->isVisible();
    overlaysRead = false;
    if (presentMode == sdlq::Present::Blit) {
        glFlush(); // the view's context reads the texture next
        hasFrame = true;
    } else if (shown) {
        // Nobody would see a hidden window's frame: skip the read-back.
        readBack();
        hasFrame = true;
    }
    if (shown)
        repaintView();
    makeCurrent();
}

void GameSurface::readBack() {
    // Kept pictures were read back for a frame with the same areas; the frame holds nothing new there.
    const bool keep = shownKept && overlayImages.size() == shownOverlays.size();
    overlayImages.resize(shownLayered ? shownOverlays.size() : 0);
    overlaysRead = shownLayered && scene;
    if (shownLayered && scene) {
        readInto(scene, QRect(QPoint(0, 0), scene->size()), sceneImage, QImage::Format_RGB32);
        sceneStale = true;
        for (size_t k = 0; k < shownOverlays.size() && !keep; ++k)
            readInto(target, shownOverlays[k], overlayImages[k], QImage::Format_ARGB32_Premultiplied);
        // The frame's own image only carries the size and pixel ratio.
        if (image.size() != frame)
            image = QImage(frame, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
    } else {
        sceneImage = QImage();
        QOpenGLFramebufferObject* source = resolved ? resolved : target;
        readInto(source, QRect(QPoint(0, 0), frame), image, QImage::Format_RGB32);
    }
}

// Reads a part of a frame buffer (y down) into an image of its size.
void GameSurface::readInto(QOpenGLFramebufferObject* source, QRect part, QImage& into,
                           QImage::Format format) {
    source->bind();
    if (into.size() != part.size() || into.format() != format)
        into = QImage(part.size(), format);
    into.setDevicePixelRatio(ratio);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    const int width = part.width();
    const int height = part.height();
    const int x = part.left();
    const int y = source->height() - part.bottom() - 1;
    // GL rows run bottom-up, the image's top-down.
    if (packInvert) {
        glPixelStorei(GL_PACK_INVERT_MESA, 1);
        glReadPixels(x, y, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, into.bits());
        glPixelStorei(GL_PACK_INVERT_MESA, 0);
    } else {
        const size_t row = static_cast<size_t>(width) * 4;
        flipRows.resize(row * height);
        glReadPixels(x, y, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, flipRows.data());
        for (int r = 0; r < height; ++r)
            std::memcpy(into.scanLine(height - 1 - r), flipRows.data() + row * r, row);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
}

void GameSurface::repaintView() {
    SDL_QWidget* view = SDL_QWidget::current();
    if (!view || !view->isVisible())
        return;
    QWidget* viewport = view->viewport();
    const int before = paints;
    viewport->repaint();
    // Qt holds a repaint back when the last one was less than a refresh ago: the frame would
    // then show one poll late.
    if (paints == before) {
        QCoreApplication::sendPostedEvents(view->window(), QEvent::UpdateRequest);
        if (paints != before)
            ++forcedPaints;
    }
}

void GameSurface::paint(QPainter* painter, QWidget* viewport) {
    ++paints;
    const QSize viewSize = viewport->size();
    if (presentMode == sdlq::Present::Blit && qobject_cast<QOpenGLWidget*>(viewport)) {
        painter->beginNativePainting();
        paintBlit(viewport);
        painter->endNativePainting();
        return;
    }
    painter->save();
    painter->resetTransform();
    if (!hasFrame || image.isNull() || presentMode != sdlq::Present::ReadBack)
        painter->fillRect(QRect(QPoint(0, 0), viewSize), Qt::black);
    else
        compose(painter, viewSize);
    painter->restore();
}

void GameSurface::compose(QPainter* painter, QSize viewSize) {
    const QSize frameSize = image.deviceIndependentSize().toSize();
    const QRect shown = fitRect(frameSize, viewSize);
    const QRegion bars = QRegion(QRect(QPoint(0, 0), viewSize)) - QRegion(shown);
    for (const QRect& bar : bars)
        painter->fillRect(bar, Qt::black);
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    if (!sceneImage.isNull()) {
        // A half-size scene shown at the frame's own size doubles on a fast path of its own: a fifth of
        // what the painter's general scaling costs.
        if (sceneStale) {
            sceneStale = false;
            sceneDoubled = sceneImage.size() * 2 == frame && scaleUpTwice(sceneImage, doubledScene);
            doubledScene.setDevicePixelRatio(ratio);
        }
        if (sceneDoubled && shown.size() == frameSize) {
            painter->drawImage(shown.topLeft(), doubledScene);
        } else {
            painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter->drawImage(shown, sceneImage);
        }
        // The areas drawn over the scene, in place: device pixels of the frame into the shown rectangle.
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter->setRenderHint(QPainter::SmoothPixmapTransform, shown.size() != frameSize);
        const double toShown = static_cast<double>(shown.width()) / frame.width();
        for (size_t k = 0; k < overlayImages.size(); ++k) {
            const QRect& area = shownOverlays[k];
            painter->drawImage(QRectF(shown.left() + area.left() * toShown,
                                      shown.top() + area.top() * toShown, area.width() * toShown,
                                      area.height() * toShown),
                               overlayImages[k]);
        }
        return;
    }
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (frameSize == viewSize)
        // Device pixels one to one into the logical rectangle.
        painter->drawImage(QPoint(0, 0), image);
    else
        painter->drawImage(shown, image);
}

QImage GameSurface::finishedFrame() {
    if (!target)
        return QImage();
    if (QOpenGLContext::currentContext() != context)
        context->makeCurrent(offscreen);
    readBack();
    QImage shown(frame, QImage::Format_RGB32);
    shown.setDevicePixelRatio(ratio);
    QPainter painter(&shown);
    compose(&painter, image.deviceIndependentSize().toSize());
    painter.end();
    makeCurrent();
    return shown;
}

void GameSurface::paintBlit(QWidget* viewport) {
    auto* glView = static_cast<QOpenGLWidget*>(viewport);
    QOpenGLContext* viewContext = QOpenGLContext::currentContext();
    const qreal ratio = viewport->devicePixelRatioF();
    const QSize viewSize(qRound(viewport->width() * ratio), qRound(viewport->height() * ratio));
    glDisable(GL_SCISSOR_TEST);
    const unsigned int texture = hasFrame ? frameTexture() : 0;
    if (!viewContext || !texture) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    // Frame buffers are not shared between contexts, textures are.
    if (blitContext != viewContext) {
        blitContext = viewContext;
        blitFbo = 0;
        blitTexture = 0;
    }
    if (!blitFbo) {
        GLuint made = 0;
        glGenFramebuffers(1, &made);
        blitFbo = made;
        QObject::connect(viewContext, &QOpenGLContext::aboutToBeDestroyed, viewContext, [this, viewContext] {
            if (theSurface == this && blitContext == viewContext) {
                blitContext = nullptr;
                blitFbo = 0;
            }
        });
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, blitFbo);
    if (blitTexture != texture) {
        glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        blitTexture = texture;
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, glView->defaultFramebufferObject());
    const QRect shown = fitRect(frame, viewSize);
    if (shown.size() != viewSize) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // Both sides are bottom-up GL frame buffers: no flip.
    const int y0 = viewSize.height() - shown.bottom() - 1;
    glBlitFramebuffer(0, 0, frame.width(), frame.height(), shown.left(), y0, shown.left() + shown.width(),
                      y0 + shown.height(), GL_COLOR_BUFFER_BIT,
                      shown.size() == frame ? GL_NEAREST : GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, glView->defaultFramebufferObject());
}

void GameSurface::viewResized(QSize size) {
    if (videoSurface.w <= 0 || videoSurface.fullScreen || size.isEmpty())
        return;
    if (size == QSize(videoSurface.w, videoSurface.h))
        return;
    sdlq::Event resized;
    resized.type = sdlq::VideoResizeEvent;
    resized.width = size.width();
    resized.height = size.height();
    sdlq::pushEvent(resized);
}

namespace sdlq {

Surface* setVideoMode(int width, int height, int, unsigned int flags) {
    GameSurface* surface = GameSurface::instance();
    if (!surface) {
        SDL_SetError("No application to show the game in");
        return nullptr;
    }
    return surface->setVideoMode(width, height, flags);
}

Surface* videoSurface() {
    static Surface none;
    GameSurface* surface = GameSurface::instance();
    return surface ? surface->surface() : &none;
}

int depthBits() {
    GameSurface* surface = GameSurface::instance();
    return surface ? surface->depthBits() : 0;
}

int stencilBits() {
    GameSurface* surface = GameSurface::instance();
    return surface ? surface->stencilBits() : 0;
}

void requestStencilBits(int) {
    // The frame buffer always carries 8 stencil bits beside its 24 depth bits.
}

QSize framePixels(int width, int height) {
    GameSurface* surface = GameSurface::instance();
    return surface ? surface->devicePixels(width, height) : QSize(width, height);
}

QSize beginScene(int width, int height, int percent) {
    GameSurface* surface = GameSurface::instance();
    return surface ? surface->beginScene(width, height, percent) : QSize(width, height);
}

void endScene() {
    if (GameSurface* surface = GameSurface::instance())
        surface->endScene();
}

void beginOverlay(const std::vector<QRect>& areas) {
    if (GameSurface* surface = GameSurface::instance())
        surface->beginOverlay(areas);
}

bool keepOverlay(const std::vector<QRect>& areas) {
    GameSurface* surface = GameSurface::instance();
    return surface && surface->keepOverlay(areas);
}

void glSwapBuffers() {
    if (GameSurface* surface = GameSurface::instance())
        surface->present();
}

void makeGameContextCurrent() {
    if (GameSurface* surface = GameSurface::instance())
        surface->makeCurrent();
}

Present presentMode() {
    GameSurface* surface = GameSurface::instance();
    return surface ? surface->mode() : Present::ReadBack;
}

void setPresentMode(Present mode) {
    if (GameSurface* surface = GameSurface::instance())
        surface->setMode(mode);
}

const char* rendererName() {
    GameSurface* surface = GameSurface::instance();
    return surface ? surface->renderer().c_str() : "";
}

bool softwareRenderer() {
    GameSurface* surface = GameSurface::instance();
    return surface && ::softwareRenderer(surface->renderer());
}

void shutdownVideo() {
    GameSurface::destroy();
}

} // namespace sdlq
