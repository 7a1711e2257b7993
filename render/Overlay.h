#pragma once

#include <QRect>

// The 2D parts of the frame (the title, the head-up display, the game-over picture, the pause sign) are
// designed on a 4:3 window. On any other shape each keeps its proportions inside a 4:3 frame of the
// window's height (narrowed to the window's width on very tall windows), pinned where it belongs.
enum class OverlayAnchor { TopLeft, TopRight, Centre };

// A rectangle of the window in pixels, from its bottom-left corner; on a 4:3 window, the whole window.
struct OverlayFrame {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

OverlayFrame overlayFrame(int windowWidth, int windowHeight, OverlayAnchor anchor);

// A part of the frame given in unit coordinates (y up) as window pixels from the top-left corner.
QRect overlayArea(const OverlayFrame& frame, int windowHeight, float x0, float y0, float x1, float y1);

// Projects the frame as the unit square (0..1 both ways), the rest of the window around it.
void projectOverlayUnitSquare(const OverlayFrame& frame, int windowWidth, int windowHeight);

// Projects the window in pixels with the origin at the frame's bottom-left corner.
void projectOverlayPixels(const OverlayFrame& frame, int windowWidth, int windowHeight);
