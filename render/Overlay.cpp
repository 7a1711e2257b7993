#include "render/Overlay.h"

#include <cmath>

#include <GL/gl.h>

#include <algorithm>

namespace {

// Wider than this, the 4:3 frame would leave the window: it is sized by the width instead.
constexpr int MaxFrameWidthPercent = 140;

void ortho(double left, double right, double bottom, double top) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

} // namespace

OverlayFrame overlayFrame(int windowWidth, int windowHeight, OverlayAnchor anchor) {
    OverlayFrame f{0, 0, windowWidth, windowHeight};
    if (windowWidth <= 0 || windowHeight <= 0 || windowWidth * 3 == windowHeight * 4)
        return f;
    f.height = std::min(windowHeight, windowWidth * MaxFrameWidthPercent * 3 / 400);
    f.width = (f.height * 4 + 1) / 3;
    switch (anchor) {
    case OverlayAnchor::TopLeft:
        f.y = windowHeight - f.height;
        break;
    case OverlayAnchor::TopRight:
        f.x = windowWidth - f.width;
        f.y = windowHeight - f.height;
        break;
    case OverlayAnchor::Centre:
        f.x = (windowWidth - f.width) / 2;
        f.y = (windowHeight - f.height) / 2;
        break;
    }
    return f;
}

void projectOverlayUnitSquare(const OverlayFrame& f, int windowWidth, int windowHeight) {
    if (f.width <= 0 || f.height <= 0)
        return ortho(0, 1, 0, 1);
    const double w = f.width, h = f.height;
    ortho(-f.x / w, (windowWidth - f.x) / w, -f.y / h, (windowHeight - f.y) / h);
}

void projectOverlayPixels(const OverlayFrame& f, int windowWidth, int windowHeight) {
    ortho(-f.x, windowWidth - f.x, -f.y, windowHeight - f.y);
}

QRect overlayArea(const OverlayFrame& frame, int windowHeight, float x0, float y0, float x1, float y1) {
    const auto at = [](int origin, int side, float share) {
        return origin + static_cast<int>(std::lround(share * static_cast<float>(side)));
    };
    const int top = windowHeight - at(frame.y, frame.height, y1);
    const int bottom = windowHeight - at(frame.y, frame.height, y0);
    return QRect(at(frame.x, frame.width, x0), top,
                 at(frame.x, frame.width, x1) - at(frame.x, frame.width, x0), bottom - top);
}
