#!/usr/bin/env python3
"""The game on the desktop: pausing when the window goes to the background, the first start on a wide
screen, and the pictures for the software centres.

Usage: desktop_e2e.py SCENARIO [BINARY]   (exit 0 pass, 1 fail, 77 skip)
"""

import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no caches in the source tree

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))

from orbitrax_e2e import Failure, Skip, check, log, main, poll, root_size, run_tool  # noqa: E402
from scenarios import HIGHSCORE, MENU_TIMEOUT, difference, start_playing, to_menu  # noqa: E402


def paused_sign(game, shot):
    """Fraction of warm, bright pixels (the sign's amber-to-white letters) in the middle band."""
    l = game.layout
    x0, y0 = int(l.x + 0.3 * l.width), int(l.y + 0.42 * l.height)
    x1, y1 = int(l.x + 0.7 * l.width), int(l.y + 0.58 * l.height)
    px, w = shot.pixels, shot.width
    lit = total = 0
    for y in range(y0, y1, 2):
        for x in range(x0, x1, 2):
            o = (y * w + x) * 3
            r, g, b = px[o], px[o + 1], px[o + 2]
            total += 1
            if r > 190 and g > 150 and r >= b:
                lit += 1
    return lit / max(1, total)


def standing_still(game):
    """Two pictures two seconds apart that differ only where the engine flames flicker."""
    l = game.layout
    ship = (l.x + 0.33 * l.width, l.y + 0.68 * l.height, l.x + 0.72 * l.width, l.y + l.height)
    a = game.shot()
    time.sleep(2.0)
    b = game.shot()
    return difference(a, b, step=3, exclude=ship) < 0.002


def other_window():
    """A small X client of its own to take the focus from the game."""
    if not shutil.which("xmessage"):
        raise Skip("xmessage is not installed (package x11-utils)")
    proc = subprocess.Popen(["xmessage", "-geometry", "+5+5", "-name", "orbitrax-away", "elsewhere"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def look():
        done = run_tool(["xdotool", "search", "--onlyvisible", "--classname", "orbitrax-away"])
        return done.stdout.decode().split()[0] if done and done.returncode == 0 and done.stdout.strip() else None

    return proc, poll("the other window", look, 30)


def auto_pause(sandbox):
    """A game in play pauses when another window takes the focus, shows PAUSED, and P resumes it."""
    game = to_menu(sandbox)
    start_playing(game)
    game.wait_frames()
    check(not standing_still(game), "the game stands still before anything took the focus")

    proc, away = other_window()
    try:
        x, y = game.layout.x + 20, game.layout.y + 20
        run_tool(["xdotool", "mousemove", "--window", away, "5", "5"])
        run_tool(["xdotool", "windowfocus", away])
        log("focus moved to", away, "from", game.window, (x, y))
        poll("the game to pause by itself", lambda: standing_still(game), 60, interval=0.5)
        shot = game.shot("paused")
        sign = paused_sign(game, shot)
        log("pause sign: %.3f of the middle band" % sign)
        check(sign > 0.02, "no PAUSED sign in the middle of the picture (%.3f)" % sign)
        if os.environ.get("ORBITRAX_PAUSE_SHOT"):
            shot.save(os.environ["ORBITRAX_PAUSE_SHOT"])
        time.sleep(2.0)
        check(standing_still(game), "the game moved on while another window had the focus")
    finally:
        proc.kill()
        proc.wait()

    # Back in the game: still paused until P.
    game.focus()
    time.sleep(2.0)
    check(standing_still(game), "the game resumed by itself when the focus came back")
    game.key("p")
    poll("the game to move again after P", lambda: not standing_still(game), 30, interval=0.5)
    check(paused_sign(game, game.shot()) < sign, "the PAUSED sign stayed after P")
    log("resumed with P")
    game.kill()


def first_start_fills_screen(sandbox):
    """The first start fills the screen at the desktop size, whatever its shape (16:9 wider than 1920,
    16:10): the menu's buttons and the head-up display's gauge sit where that size puts them."""
    width, height = root_size()
    game = to_menu(sandbox)
    l = game.layout
    log("window %dx%d at %d,%d on a %dx%d screen" % (l.width, l.height, l.x, l.y, width, height))
    check((l.x, l.y, l.width, l.height) == (0, 0, width, height), "the first start did not fill the screen")
    check(game.menu_shown(), "the menu is not laid out for the whole screen")
    start_playing(game)
    if os.environ.get("ORBITRAX_SCREEN_SHOT"):
        game.shot().save(os.environ["ORBITRAX_SCREEN_SHOT"])
    game.kill()


def uniform_blocks(shot, x0, y0, x1, y1):
    """Fraction of aligned 2x2 pixel blocks whose four pixels are all the same colour: about 1 for a
    picture blown up from half the size, far less for one drawn at the screen's own pixels."""
    same = total = 0
    px, w = shot.pixels, shot.width
    for y in range(int(y0) & ~1, int(y1) - 1, 4):
        for x in range(int(x0) & ~1, int(x1) - 1, 4):
            o = (y * w + x) * 3
            a, b = px[o : o + 6], px[o + w * 3 : o + w * 3 + 6]
            total += 1
            if a[0:3] == a[3:6] == b[0:3] == b[3:6]:
                same += 1
    return same / max(1, total)


def hidpi_sharp(sandbox):
    """At a scale factor of 2 the play view is drawn at the screen's own pixels and fills the window."""
    sandbox.extra["QT_SCALE_FACTOR"] = "2"
    game = to_menu(sandbox)
    # The head-up display's gauge where a full-window frame puts it.
    start_playing(game)
    game.wait_frames()
    time.sleep(3.0)
    l = game.layout
    shot = game.shot("hidpi")
    if os.environ.get("ORBITRAX_HIDPI_SHOT"):
        shot.save(os.environ["ORBITRAX_HIDPI_SHOT"])
    same = uniform_blocks(shot, l.x + 0.1 * l.width, l.y + 0.3 * l.height, l.x + 0.9 * l.width, l.y + 0.9 * l.height)
    log("uniform 2x2 blocks in the play view: %.3f" % same)
    check(same < 0.5, "the play view looks blown up from half the pixels (%.3f of the blocks uniform)" % same)
    check(game.energy(shot) > 35, "the head-up display's gauge is not where a full-window frame puts it")
    game.kill()


def screenshots(sandbox):
    """Menu, play view and high scores for the metainfo, into $ORBITRAX_SCREENSHOTS (640x480 PNG)."""
    folder = os.environ.get("ORBITRAX_SCREENSHOTS")
    if not folder:
        raise Skip("set ORBITRAX_SCREENSHOTS to the folder for the pictures")

    def save(shot, name):
        ppm = os.path.join(sandbox.root, name + ".ppm")
        shot.save(ppm)
        out = os.path.join(folder, name + ".png")
        subprocess.run(["convert", ppm, "-resize", "640x480!", "-strip", "-define", "png:compression-level=9",
                        "-colors", "256", out], check=True)
        log("saved", out, os.path.getsize(out), "bytes")

    game = to_menu(sandbox)
    time.sleep(3.0)
    save(game.shot(), "menu")
    game.click(*game.layout.menu_button(HIGHSCORE))
    game.wait_screen("the high-score table", game.highscores_shown, MENU_TIMEOUT)
    time.sleep(2.0)
    save(game.shot(), "highscores")
    game.click(*game.layout.highscore_close())
    game.wait_screen("the menu", game.menu_shown, MENU_TIMEOUT)
    game.focus()
    start_playing(game)
    # Weave from side to side firing until the fighters come.
    run_tool(["xdotool", "keydown", "w"])
    deadline = time.monotonic() + float(os.environ.get("ORBITRAX_PLAY_SECONDS", "20"))
    side = "Left"
    while time.monotonic() < deadline:
        run_tool(["xdotool", "keydown", side])
        time.sleep(1.0)
        run_tool(["xdotool", "keyup", side])
        side = "Right" if side == "Left" else "Left"
    save(game.shot(), "play")
    run_tool(["xdotool", "keyup", "w"])
    game.kill()


if __name__ == "__main__":
    sys.exit(main({"auto_pause": auto_pause, "first_start_fills_screen": first_start_fills_screen, "hidpi_sharp": hidpi_sharp, "screenshots": screenshots}))
