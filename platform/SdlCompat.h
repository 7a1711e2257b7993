#pragma once

#include <SDL.h>

#include <QRect>
#include <QSize>

class QKeyEvent;

#include <vector>

// The SDL-1.2-like calls the game core uses, served inside the Qt main window.
// Keys are SDL 1.2 keysyms: ASCII for letters (lower case), digits, space and Escape (27);
// the arrows 273 up, 274 down, 275 right, 276 left; F1 282 ... F15 296; modifiers 303 to 310.
namespace sdlq {

enum Key : int {
    KeyBackspace = 8,
    KeyTab = 9,
    KeyReturn = 13,
    KeyEscape = 27,
    KeySpace = 32,
    KeyUp = 273,
    KeyDown = 274,
    KeyRight = 275,
    KeyLeft = 276,
    KeyInsert = 277,
    KeyHome = 278,
    KeyEnd = 279,
    KeyPageUp = 280,
    KeyPageDown = 281,
    KeyF1 = 282,
    KeyF2 = 283,
    KeyF3 = 284,
    KeyF4 = 285,
    KeyF5 = 286,
    KeyF6 = 287,
    KeyF7 = 288,
    KeyF8 = 289,
    KeyF9 = 290,
    KeyF10 = 291,
    KeyF11 = 292,
    KeyF12 = 293,
    KeyRShift = 303,
    KeyLShift = 304,
    KeyRCtrl = 305,
    KeyLCtrl = 306,
    KeyRAlt = 307,
    KeyLAlt = 308,
    // A key the game has no name for (ä, the Menu key, media keys): it counts only where any key does.
    KeyOther = 511,
    KeyCount = 512,
};

// SDL 1.2 event type values.
enum EventType : int {
    NoEvent = 0,
    ActiveEvent = 1,
    KeyDownEvent = 2,
    QuitEvent = 12,
    VideoResizeEvent = 16
};

struct Event {
    int type = NoEvent;
    int key = 0;   // KeyDownEvent: the keysym
    int width = 0; // VideoResizeEvent: new size
    int height = 0;
    int gain = 0; // ActiveEvent: 1 when the window became active, 0 when it lost the focus or was minimised
};

// The video surface of the game view: the size actually obtained.
struct Surface {
    int w = 0;
    int h = 0;
    bool fullScreen = false;
};

constexpr unsigned int OpenGLFlag = 0x00000002;
constexpr unsigned int FullScreenFlag = 0x80000000;

// Serves Qt's pending events, then hands out the next queued game event; false when none is left.
bool pollEvent(Event* event);
// Held keys, indexed by keysym (KeyCount entries). Tests may write into it.
Uint8* getKeyState(int* numKeys = nullptr);
// Clears every held key (focus loss, tests).
void releaseAllKeys();
// A key went down or up in the window. A tap shorter than a frame stays held until the next frame.
void pressKey(int key);
void releaseKey(int key);

// Creates or resizes the game's drawing surface (own GL context, FBO with depth and stencil) and
// sizes the window; null on failure, with the reason in SDL_GetError().
Surface* setVideoMode(int width, int height, int bpp, unsigned int flags);
Surface* videoSurface();
// Bits of the depth and stencil buffers of the current surface.
int depthBits();
int stencilBits();
void requestStencilBits(int bits);
// The device-pixel size of the frame for a logical size: the viewport that covers the whole frame
// (the logical size itself without a view, or on a screen of one device pixel per pixel).
QSize framePixels(int width, int height);
// Binds where the 3D scene of a frame of that logical size draws, at a share of its size per side in
// percent (the frame itself at 100), and returns the scene's size in pixels.
QSize beginScene(int width, int height, int percent);
// Scales the scene up into the frame and binds the frame again.
void endScene();
// The areas (logical pixels, y down) that what is drawn over a scene goes into: read back, only they are
// kept over a scene scaled apart.
void beginOverlay(const std::vector<QRect>& areas);
// Instead of beginOverlay, where what would be drawn there is the same as in the last frame: true when
// the frame takes the last one's pictures of these areas, and nothing needs drawing. False where the
// frame needs them drawn (a scene at the frame's own size, a GPU present, other areas).
bool keepOverlay(const std::vector<QRect>& areas);
// Presents the finished frame in the window.
void glSwapBuffers();
// Makes the game's GL context current (after Qt drew with its own).
void makeGameContextCurrent();

void setCaption(const char* title, const char* iconTitle);
const char* caption();

// Full-screen modes, largest first; false when the platform gives no list.
bool listModes(std::vector<QSize>* modes);

Uint32 getTicks();
void delay(Uint32 ms);
// Replaces the tick source (tests); null restores SDL's.
void setTicksSource(Uint32 (*source)());

// Queues a quit event (the window's Quit action and close button).
void pushQuit();
// SIGTERM, SIGINT and SIGHUP become the quit event of the next pollEvent(). A signal the program
// was started ignoring (nohup, a background job) stays ignored.
void catchQuitSignals();
// True while the game window, once seen, cannot be seen: minimised or unmapped.
bool viewHidden();
// Queues any game event (the window's input and resize handling).
void pushEvent(const Event& event);
// Queues an ActiveEvent: the window gained (1) or lost (0) the focus, or was minimised (0).
void pushActive(int gain);
// Drops every queued game event (tests).
void clearEvents();

// The keysym of a Qt key event, 0 for keys the game has no name for. Left and right modifiers
// are told apart by the native key code.
int translateKey(const QKeyEvent* event);

// Sets the default OpenGL format and context sharing; must run before the QApplication exists.
// Idempotent; tvt::QtSingleApplication calls it itself.
void prepareApplication();

// How a finished frame reaches the window: read back into an image painted by the raster view,
// or blitted from the shared texture in the view's own GL context.
enum class Present { ReadBack, Blit };
// Chosen when the game context is first made: $ORBITRAX_PRESENT ("readback" or "blit") when set,
// else read-back on software renderers and blit on the others.
Present presentMode();
void setPresentMode(Present mode);
// Name of the game context's renderer ("" before the context exists).
const char* rendererName();
// True when the game draws through a software rasteriser (llvmpipe and the like).
bool softwareRenderer();
// Releases the game's GL context and frame buffers (before the application goes).
void shutdownVideo();

} // namespace sdlq
