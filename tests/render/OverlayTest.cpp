#include "render/Overlay.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// The 2D parts keep a 4:3 frame of the window's height, pinned to their corner; a 4:3 window is the
// frame itself (drawn exactly as before); a tall window's frame stops at 140 % of its width, so
// the head-up display stays readable.
TEST(Overlay, FrameKeepsFourToThreeOnEveryWindowShape) {
    struct Row {
        int w, h;
        OverlayAnchor anchor;
        OverlayFrame frame;
    };
    constexpr Row rows[] = {
        {1024, 768, OverlayAnchor::TopRight, {0, 0, 1024, 768}},
        {1920, 1080, OverlayAnchor::TopRight, {480, 0, 1440, 1080}},
        {1920, 1080, OverlayAnchor::Centre, {240, 0, 1440, 1080}},
        {1920, 1080, OverlayAnchor::TopLeft, {0, 0, 1440, 1080}},
        {1280, 1024, OverlayAnchor::TopRight, {-85, 0, 1365, 1024}},
        {768, 1024, OverlayAnchor::TopRight, {-307, 218, 1075, 806}},
        {768, 1024, OverlayAnchor::Centre, {-153, 109, 1075, 806}},
        {0, 600, OverlayAnchor::Centre, {0, 0, 0, 600}},
    };
    for (const Row& r : rows) {
        const OverlayFrame f = overlayFrame(r.w, r.h, r.anchor);
        EXPECT_EQ(std::tuple(f.x, f.y, f.width, f.height),
                  std::tuple(r.frame.x, r.frame.y, r.frame.width, r.frame.height))
            << r.w << "x" << r.h << " anchor " << int(r.anchor);
    }
}

} // namespace
