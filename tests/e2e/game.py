#!/usr/bin/env python3
"""The real game in the X server, driven as a player drives it."""

import itertools
import re
import statistics
import struct
import sys

sys.dont_write_bytecode = True  # no caches in the source tree

from orbitrax_e2e import *  # noqa: E402,F403 -- the standard modules it imports too

SIGN = (0.3, 0.42, 0.7, 0.58)  # the PAUSED sign
FLAMES = (0.38, 0.8, 0.62, 0.92)  # under the ship at rest: its engines' flames
RESOLUTION = 5  # the sixth of the options panel's eight boxes


def ship_in_place(game):
    """The ship alive (energy in the gauge) and in view: its warm flames over the cold floor. (Its shield's
    countdown is too thin a line to find, and a dying ship's blast looks like it.)"""
    return lambda s: game.playing(s) and s.share(FLAMES, lambda r, g, b: r > 90 and r - b > 50) > 0.08


def paused_sign(s):
    return s.share(SIGN, lambda r, g, b: r > 190 and g > 150 and r >= b)


def standing_still(game, frames=2):
    """Pictures that change only where the ship's flames flicker, over frames that are drawn."""
    def still():
        shots = [game.shot() for _ in range(frames + 1)]
        pairs = list(zip(shots, shots[1:]))
        drawn = any(a.changed(b, box=SHIP) > 0.001 for a, b in pairs)
        return drawn and all(a.changed(b, leave=SHIP) < 0.001 for a, b in pairs) and shots[-1]
    return still


def moving(game):
    s = game.shot()
    return lambda: s.changed(game.shot(), leave=SHIP) > 0.01


@case
def start_after_a_crash(box):
    """A start after a crash: full screen at the screen's size, not the stored options, which stay stored;
    every data file read; the window's close request quits."""
    graphic = {**SMALL, "Shadows": 0}
    box.store.write({"Graphic": graphic, "general": {"Running": 1}})
    resources = box.copy_data()
    folders = [os.path.join(resources, folder) for folder in ("textures", "samples")]
    libc = ctypes.CDLL(None)
    inotify = libc.inotify_init1(os.O_NONBLOCK)
    for folder in folders:
        libc.inotify_add_watch(inotify, folder.encode(), 0x20)  # IN_OPEN
    game = box.to_menu()
    check(game.geometry == screen(), "the start after a crash at %s on a screen of %s" % (game.geometry, screen()))
    caption = lambda: tool("xdotool", "getwindowname", game.wid) or ""
    wait("a frame rate in the caption", lambda: re.fullmatch(r"FPS: [1-9]\d*  ([5-9]0|100)%\n", caption()))
    check("Depth buffer depth : " in game.stdout(), "no depth buffer line: %r" % game.stdout())
    data, read = os.read(inotify, 1 << 20), set()
    while data:  # struct inotify_event: wd, mask, cookie, len, name
        length = struct.unpack_from("iIII", data)[3]
        read.add(data[16:16 + length].rstrip(b"\0").decode())
        data = data[16 + length:]
    # The credits' music is read when the credits start.
    unread = {name for folder in folders for name in os.listdir(folder)} - read - {"Rocket.mp3"}
    check(not unread, "not read at start-up: %s" % sorted(unread))
    box.display.close_request(game.wid)
    check(game.exit_code() == 0, "exit code %s after the close request" % game.proc.returncode)
    check(box.store.value("general/Running") == "0", "no clean exit in the store after the close request")
    check({k: box.store.value("Graphic/" + k) for k in graphic} == {k: str(v) for k, v in graphic.items()},
          "the stored options changed")


@case
def play(box):
    """A game played with the keys: start, pause on focus loss, pause, the cameras and display keys, resume,
    death, and a name in a damaged table that keeps every row it can."""
    rows = score_rows()
    for row, key, value in ((2, "player", None), (3, "score", None), (4, "number", None), (5, "score", "lots"),
                            (6, "player", "N" * 10000), (7, "number", "-3"), (8, "score", "9" * 20)):
        rows[row][key] = value
    box.store.write({"Graphic": SMALL, "HighScores": [{k: v for k, v in r.items() if v} for r in rows],
                     "general": {"Running": 0}})
    table = box.store.scores()
    game = box.to_menu()
    game.press("b", "a game started by a key in the menu", game.shows(game.playing))
    # The start-up shield runs on the clock, paused or not: what needs the ship alive comes first.
    game.see("the ship in place", ship_in_place(game))

    # Another window takes the focus: the game pauses by itself, and only P resumes it.
    away = subprocess.Popen(["xmessage", "-name", "away", "-geometry", "+700+10", "elsewhere"])
    try:
        other = wait("the other window", lambda: tool("xdotool", "search", "--onlyvisible", "--classname", "away"))
        tool("xdotool", "mousemove", "710", "20", "windowfocus", other.split()[0])
        still = standing_still(game)
        wait("the game to stand still under the PAUSED sign when it loses the focus",
             lambda: (lambda s: s and paused_sign(s) > 0.02)(still()))
    finally:
        away.kill()
    tool("xdotool", "mousemove", *game.at(0.5, 0.3), "windowfocus", game.wid)
    wait("the game to stay paused when the focus comes back", standing_still(game, frames=4))
    game.press("p", "the game to move again on P", moving(game))

    s = game.press("p", "the picture to stand still after P", standing_still(game))
    check(paused_sign(s) > 0.02, "no PAUSED sign")
    # In a pause every change away from the ship is the key's.
    for key, what, share in (("F2", "top camera", 0.2), ("F1", "chase camera", 0.2), ("d", "frame rate", 0.0003),
                             ("f", "exponential fog", 0.01)):
        s = game.press(key, what + " on " + key, game.shows(lambda t: s.changed(t, leave=SHIP) > share))
    # Shadows off shows on the ship, whose shield blinks: the store tells once the table comes.
    game.press("s", "frames drawn with S held", standing_still(game))
    game.press("c", "the game to move again on C", moving(game))
    game.see("the PAUSED sign to go", lambda s: paused_sign(s) < 0.005)

    # Death by Escape: the score, 0 without a shot fired, goes above the first unreadable score,
    # which counts as 0.
    game.press("Escape", "the table asking for a name", game.shows(game.table))
    tool("xdotool", "type", "Tester")
    game.press("Return", "the name in the store", lambda: box.store.scores()[5][:2] == ("6", "Tester"))
    after = box.store.scores()
    check(after[5][2].isdigit(), "the new score is stored as %r" % after[5][2])
    for old, new in zip(table, after[:5] + after[6:]):  # the tenth row drops out
        # Players are kept whole, scores by their first 12 characters.
        for was, kept, length in zip(old[1:], new[1:], (None, 12)):
            check(was is None or kept == was[:length], "%.20r became %.20r" % (was, kept))
    check(box.store.value("Graphic/Shadows") == "0", "S did not turn the shadows off")
    game.quit()
    check(box.store.scores() == after, "the table changed on exit")
    # The console hears the start-up lines only.
    extra = [line for line in game.stdout().splitlines() if not line.startswith(("Depth buffer", "Stencil buffer"))]
    check(not extra, "printed while running: %s" % extra)


def option_boxes(s):
    boxes = s.light_boxes(0.5, 0.8)
    # filtering, anisotropy, shadows, details, render scale, resolution, full screen, feedback
    return len(boxes) == 8 and boxes


def pick(game, row, key, value):
    """Turns the wheel over a box of the panel, which picks its next item, until the store holds the value: each
    second the boxes are found again (the panel may still be settling) and the turn repeated; past the last
    item a turn changes nothing."""
    polls = itertools.count()

    def turn():
        boxes = next(polls) % 10 == 0 and option_boxes(game.shot())
        return boxes and game.click(*boxes[row], button=5)

    wait("%s=%s saved" % (key, value), lambda: game.box.store.value("Graphic/" + key) == value or turn())


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
def options_and_crash_guard(box):
    """Options picked in the panel are saved at once and used at the next start, where the panel lets a fifth of
    the game through and its Resolution box shows the window's size; a bomb; a kill leaves the crash guard."""
    # The box offers a window from 800x600 on, and this one is none of the screen's modes.
    box.store.write({"Graphic": {"Width": 800, "Height": 600, "FullScreen": 1}, "general": {"Running": 0}})
    game = box.to_menu("options")
    check(game.geometry == screen(), "the stored full screen is not used: %s" % (game.geometry,))
    game.button(OPTIONS, "the options panel", lambda: option_boxes(game.shot()))
    # Full screen and shadows from On to Off; the render scale from Auto, the default on a software renderer.
    pick(game, 6, "FullScreen", "0")
    wait("the stored 800x600 window out of full screen", lambda: game.window()[2:] == (800, 600))
    boxes = wait("the options panel after the change of mode", lambda: option_boxes(game.shot()))
    check(box.store.value("Graphic/RenderScale") == "Auto", "the render scale was not Auto")
    for row, key, value in ((2, "Shadows", "0"), (4, "RenderScale", "100")):
        pick(game, row, key, value)
    game.click(0.5, boxes[7][1] + 2.5 * (boxes[7][1] - boxes[6][1]))  # Close, under the two volume sliders
    game.see("the menu after Close on the panel", game.menu)
    game.quit(None)

    game = box.to_menu("stored")
    check(game.geometry[2:] == (800, 600), "the next start is at %dx%d, not the stored size" % game.geometry[2:])
    boxes = game.button(OPTIONS, "the options panel", lambda: option_boxes(game.shot()))
    seen = opacity(s := game.shot(), boxes)
    check(abs(seen - 0.8) < 0.08, "the panel shows at %d %% opacity, not 80 %%" % round(100 * seen))
    (x, y), w, h = boxes[RESOLUTION], s.width, s.height  # the box's middle, short of its arrow
    text = s.share((x - 40 / w, y - 4 / h, x + 40 / w, y + 4 / h), lambda r, g, b: max(r, g, b) < 90)
    check(text > 0.03, "the Resolution box shows no size")
    game.press("Escape", "the menu after Escape on the panel", game.shows(game.menu))
    s = game.button(PLAY, "a game started by Play", game.shows(game.playing))
    game.press("x", "the bomb counter to go down", lambda: s.changed(game.shot(), box=BOMBS) > 0.004)
    game.proc.kill()
    game.proc.wait()
    check(box.store.value("general/Running") == "1", "a killed game left no crash guard mark")


@case
def full_screen_keys_silence_and_hidpi(box):
    """Without a sound device the game says so and plays; F11 in the menu and Alt+Enter in play swap full screen and
    the stored window, stored as the panel stores it; at a scale factor of 2 play is drawn at the screen's pixels."""
    box.store.write({"Graphic": {"Width": 320, "Height": 240, "FullScreen": 0}, "general": {"Running": 0}})
    game = box.to_menu(env={"SDL_AUDIODRIVER": "no-such-driver", "QT_SCALE_FACTOR": "2"})
    check(game.stderr().startswith("Couldn't open audio: "), "no word of the sound device: %r" % game.stderr())
    check(game.geometry[2:] == (640, 480), "a 320x240 window at scale 2 has %dx%d pixels" % game.geometry[2:])
    for keys, mode, size in (("F11", "1", screen()[2:]), ("alt+Return", "0", (640, 480)), ("alt+KP_Enter", "1", None)):
        if not size:  # the last swap in play: the game goes on
            s = game.press("b", "a game started by a key", game.shows(game.playing))
            # A frame of half the pixels blown up would show as uniform 2x2 blocks.
            w3, p, blocks = s.width * 3, s.pixels, s.points((0.1, 0.3, 0.9, 0.9))[::2]
            uniform = sum(p[o:o + 6] == p[o + w3:o + w3 + 6] == p[o:o + 3] * 2 for o in blocks)  # four pixels alike
            check(uniform < 0.5 * len(blocks), "the play view is blown up from half the pixels")
            size = screen()[2:]
        game.press(keys, "the window at %dx%d on %s" % (size + (keys,)), lambda: game.window()[2:] == size)
        check(box.store.value("Graphic/FullScreen") == mode, "FullScreen=%s stored after %s" % (mode, keys))
        wait("the game to go on after " + keys, moving(game) if mode == "1" and keys != "F11" else
             game.shows(game.menu))
    game.quit()


@case
def hostile_store(box):
    """Settings past their limits, an eleventh score, broken sounds and music: the game names each sound it cannot
    load, plays, keeps every score; a key that closes its table, credits or help does not also act in the menu."""
    samples = os.path.join(box.copy_data(), "samples")
    for name, data in (("tir.aiff", None), ("explode1.aiff", b"FORM\0\0\0\x04AIFX" + b"\1" * 300),
                       ("welcome.aiff", b"text, not sound\n"), ("vorn3.xm", None), ("vorn.xm", os.urandom(4096)),
                       ("Rocket.mp3", b"ID3" + os.urandom(2048))):
        os.remove(os.path.join(samples, name)) if data is None else open(os.path.join(samples, name), "wb").write(data)
    graphic = {**SMALL, "Filter": 3, "Details": 3, "Anisotropic": 10 ** 9, "Shadows": "yes"}
    general = {"Running": 0, "ForceFeedback": "lots"}
    box.store.write({"Graphic": graphic, "HighScores": score_rows(n=11), "general": general})
    kept = lambda: dict(box.store.parse()["HighScores"])
    before = kept()
    game = box.to_menu()
    check(game.geometry[2:] == (640, 480), "the stored size was not used: %dx%d" % game.geometry[2:])
    for name in ("tir", "explode1", "welcome"):
        check("Could not load sound '%s.aiff' , reason: " % name in game.stderr(), "no message for " + name)
    check("explode2" not in game.stderr(), "a good sound was refused")

    def menu_stays():
        first = game.see("the menu", game.menu)
        game.see("the menu to stay while the scene moves on", lambda s: game.menu(s) and first.changed(s) > 0.01)

    for key in ("b", "Escape"):
        game.button(HIGH_SCORE, "the high-score table", game.shows(game.table))
        game.press(key, "the table to close on " + key, game.shows(lambda s: not game.table(s)))
        menu_stays()
    for key in (None, "Escape"):
        game.button(CREDITS, "the credits", game.shows(lambda s: not game.menu(s) and not game.playing(s)))
        game.press(key, "the credits to end on " + key, game.shows(game.menu)) if key else game.click(0.5, 0.5)
        menu_stays()
    game.button(HELP, "the help window", lambda: game.windows("Help"))
    game.press("Escape", "the help window to close on Escape", lambda: not game.windows("Help"),
               target=game.windows("Help")[0][0])
    menu_stays()
    s = game.press("b", "a game", game.shows(game.playing))
    game.press("x", "a bomb", lambda: s.changed(game.shot(), box=BOMBS) > 0.004)
    game.quit()
    check(kept() == before, "the high scores changed")


if __name__ == "__main__":
    sys.exit(main())
