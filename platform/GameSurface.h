#pragma once

#include "platform/SdlCompat.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <string>
#include <vector>

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;
class QPainter;
class QWidget;

// The game's own GL context, current on an offscreen surface, drawing into a frame buffer object
// with depth and stencil; presents each finished frame in the game view.
class GameSurface {
public:
    // The one surface of the process, made on first use; null without a GUI application.
    static GameSurface* instance();
    static void destroy();

    // Creates the context on first use; false when the platform has no OpenGL.
    bool ensureContext();
    // The game context current and the game's frame buffer bound.
    void makeCurrent();
    // The same, but only once the context exists and when another context is current (after Qt
    // painted with its own).
    void restoreCurrent();
    sdlq::Surface* setVideoMode(int width, int height, unsigned int flags);
    // New frame size after the view was resized (no change to the window).
    void resizeFrame(int width, int height);
    sdlq::Surface* surface() { return &videoSurface; }
    int depthBits();
    int stencilBits();
    void present();
    // Binds where the 3D scene of a frame of that logical size draws: the frame itself at 100 percent,
    // else a frame buffer of that share of the frame's size per side. Returns the size bound, in pixels.
    QSize beginScene(int width, int height, int percent);
    // Scales a smaller scene up into the frame with linear filtering and binds the frame again (read
    // back, the window's painter scales it and the frame holds what is drawn over it).
    void endScene();
    // The areas of the frame (logical pixels, y down) that what follows a scaled scene draws into. Read
    // back, each starts clear and only they are kept over the scene.
    void beginOverlay(const std::vector<QRect>& areas);
    // Read back over a scaled scene, the frame takes the last frame's pictures for these areas instead of
    // drawing them again: true where the last frame presented has exactly these areas, read back.
    bool keepOverlay(const std::vector<QRect>& areas);
    // The last finished frame as the window shows it, read back (tests).
    QImage finishedFrame();

    // Called by the view whenever it paints its background.
    void paint(QPainter* painter, QWidget* viewport);
    // The view's size changed: windowed, the game hears of it through a resize event.
    void viewResized(QSize size);

    sdlq::Present mode();
    void setMode(sdlq::Present present);
    const std::string& renderer() const { return rendererText; }
    // Paints of the view so far, and how many of them had to be forced out of Qt's queue.
    int paintCount() const { return paints; }
    int forcedPaintCount() const { return forcedPaints; }
    // Size of the frame in device pixels: the logical size times the view's pixel ratio.
    QSize frameSize() const { return frame; }
    // Device pixels per logical pixel of the frame (1 without a view).
    qreal pixelRatio() const { return ratio; }
    // The device-pixel size of a logical size at the frame's pixel ratio.
    QSize devicePixels(int width, int height) const;
    // Samples per pixel of the frame the game draws into (0: not multisampled).
    int frameSamples() const;
    // The texture that holds the last finished frame (0 before the first frame).
    unsigned int frameTexture() const;

private:
    GameSurface();
    ~GameSurface();
    bool makeFrameBuffers(QSize size, int samples);
    void releaseFrameBuffers();
    void chooseMode();
    void readBack();
    void readInto(QOpenGLFramebufferObject* source, QRect part, QImage& into, QImage::Format format);
    void compose(QPainter* painter, QSize viewSize);
    void repaintView();
    void sizeWindow(int width, int height, bool fullScreen);
    void paintBlit(QWidget* viewport);
    // Device pixels (y down) of logical areas, cut to the frame; empty ones left out.
    std::vector<QRect> overlayPixels(const std::vector<QRect>& areas) const;
    void updateRatio();

    QOpenGLContext* context = nullptr;
    QOffscreenSurface* offscreen = nullptr;
    QOpenGLFramebufferObject* target = nullptr;   // what the game draws into (multisampled or not)
    QOpenGLFramebufferObject* resolved = nullptr; // single-sampled copy of a multisampled target
    QOpenGLFramebufferObject* scene = nullptr;    // the 3D scene at a smaller size, when scaled
    bool sceneBound = false;
    // A scaled scene goes up into the single-sampled copy, and the rest of the frame follows it there:
    // a multisampled frame buffer takes no scaled copy.
    bool frameInResolved = false;
    // Read back, a scaled scene stays apart and the frame holds only what is drawn over it.
    bool frameLayered = false;        // the frame being drawn
    bool shownLayered = false;        // the last one presented
    std::vector<QRect> overlays;      // device pixels, y down, of the frame being drawn
    std::vector<QRect> shownOverlays; // and of the last one presented
    std::vector<QImage> overlayImages;
    bool overlaysRead = false; // overlayImages hold the last frame presented
    bool overlaysKept = false; // the frame being drawn took the last one's pictures
    bool shownKept = false;
    sdlq::Surface videoSurface;
    QSize frame;
    qreal ratio = 1.0;
    bool contextFailed = false;
    bool modeChosen = false;
    sdlq::Present presentMode = sdlq::Present::ReadBack;
    std::string rendererText;
    bool packInvert = false;
    bool hasFrame = false;
    QImage image;            // read-back frame, reused from frame to frame
    QImage sceneImage;       // read-back scene at its smaller size, when it stays apart
    QImage doubledScene;     // sceneImage at twice its size, where it is half the frame's
    bool sceneStale = false; // sceneImage read back since doubledScene was made
    bool sceneDoubled = false;
    std::vector<uchar> flipRows; // read-back rows when the driver cannot invert them itself
    int paints = 0;
    int forcedPaints = 0;
    // The blit source: a read frame buffer of the view's context around the shared texture.
    QOpenGLContext* blitContext = nullptr;
    unsigned int blitFbo = 0;
    unsigned int blitTexture = 0;
};
