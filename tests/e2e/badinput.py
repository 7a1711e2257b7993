#!/usr/bin/env python3
"""Bad input: the real game against damaged data files and a hostile settings store. A clear message and
its exit code, or a game that runs on; never a crash, never a lost high score."""

import struct
import sys
import zlib

sys.dont_write_bytecode = True  # no caches in the source tree

from orbitrax_e2e import *  # noqa: E402,F403


def huge_header(path):
    """A header that claims 100 000 x 100 000 pixels under a valid checksum: 40 GB to decode."""
    body = b"IHDR" + struct.pack(">IIBBBBB", 100000, 100000, 8, 6, 0, 0, 0)
    data = open(path, "rb").read()
    open(path, "wb").write(data[:12] + body + struct.pack(">I", zlib.crc32(body)) + data[33:])


@case
def exit_codes(box):
    """A damaged picture (of the texture table, the sky, the title), no data at all: a message naming the
    file, and exit code 12. The games run side by side; without data the sounds are named too."""
    loading = "Error while loading '%s'\n"
    rows = (("textures/floor.png", os.remove, loading), ("textures/space2.png", lambda p: os.truncate(p, 300), loading),
            ("textures/galaxy.png", huge_header, loading),
            ("textures/vorn2.png", lambda p: open(p, "wb").write(b"GIF89a" * 100), "not png type %s"),
            ("", None, "Error while loading '%s/Resources/textures/"))
    games = []
    for file, damage, out in rows:
        sandbox = Sandbox(os.path.basename(file) or "no data", box)
        path = os.path.join(sandbox.copy_data(), file) if file else sandbox.home
        if file:
            damage(path)
        game = Game(sandbox, os.path.basename(sandbox.root), env={} if file else {"ORBITRAX_RESOURCE_DIR": path})
        games.append((game, out.replace("%s", path), "" if file else "Could not load sound 'welcome.aiff' , reason: "))
    for game, out, err in games:
        check((game.exit_code(), out in game.stdout(), err in game.stderr()) == (12, True, True),
              "%s: exit %s with %r and %r wanted\nstdout: %s\nstderr: %s"
              % (game.name, game.proc.returncode, out, err, game.stdout()[-300:], game.stderr()[-300:]))


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
