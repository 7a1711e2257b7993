#!/usr/bin/env python3
"""The options panel in the real window: how much of the game shows through it, and its Resolution box.

Usage: options.py CASE BINARY | --list   (exit 0 pass, 1 fail, 77 skip)
"""

import os
import statistics
import sys

sys.dont_write_bytecode = True  # no caches in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from orbitrax_e2e import *  # noqa: E402,F403

RESOLUTION = 4  # the fifth of the panel's seven boxes


def opacity(s, boxes):
    """The panel's opacity from its first boxes against the frame just below each: over about the same picture
    they differ by the opacity times their own colours' difference (a box's middle 216, the frame 32)."""
    found, p, w = [], s.pixels, s.width
    for (fx, fy), (_, below) in zip(boxes[:RESOLUTION], boxes[1:RESOLUTION + 1]):
        y, gap, x = int(fy * s.height), int((fy + below) / 2 * s.height), int(fx * w)
        columns = [c for c in range(x - 40, x + 40) if min(p[(y * w + c) * 3:(y * w + c) * 3 + 3]) > 110]
        box, frame = (statistics.median(p[(row * w + c) * 3 + 1] for c in columns) for row in (y, gap))
        found.append((box - frame) / (216 - 32))
    return statistics.median(found)


@case
def panel_in_a_smaller_window(box):
    """A 1024x768 window on a larger screen: the panel lets a fifth of the game through, and its Resolution
    box shows the window's size."""
    box.store.write({"Graphic": {"Width": 1024, "Height": 768, "FullScreen": 0}, "general": {"Running": 0}})
    game = box.to_menu()
    check(game.geometry[2:] == (1024, 768), "the stored 1024x768 window is %dx%d" % game.geometry[2:])
    seven = lambda: (lambda b: len(b) == 7 and b)(game.shot().light_boxes(0.5, 0.8))  # the panel's boxes
    boxes = game.button(OPTIONS, "the options panel", seven)
    seen = opacity(s := game.shot(), boxes)
    check(abs(seen - 0.8) < 0.08, "the panel shows at %d %% opacity, not 80 %%" % round(100 * seen))
    (x, y), w, h = boxes[RESOLUTION], s.width, s.height  # the box's middle, short of its arrow
    text = s.share((x - 40 / w, y - 4 / h, x + 40 / w, y + 4 / h), lambda r, g, b: max(r, g, b) < 90)
    check(text > 0.03, "the Resolution box shows no size")
    game.quit()


if __name__ == "__main__":
    sys.exit(main())
