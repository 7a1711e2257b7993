#!/usr/bin/env python3
"""Bad input: the real game against damaged data files and hostile settings stores. A clear message
and its exit code, or a game that runs on; never a crash, never a lost high score.

Usage: badinput.py CASE BINARY | --list   (exit 0 pass, 1 fail, 77 skip)
"""

import os
import pwd
import shutil
import struct
import sys
import zlib

sys.dont_write_bytecode = True  # no caches in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from orbitrax_e2e import *  # noqa: E402,F403


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def huge_header(path):
    """A header that claims 100 000 x 100 000 pixels under a valid checksum: 40 GB to decode."""
    body = b"IHDR" + struct.pack(">IIBBBBB", 100000, 100000, 8, 6, 0, 0, 0)
    data = open(path, "rb").read()
    write(path, data[:12] + body + struct.pack(">I", zlib.crc32(body)) + data[33:])


def damaged(name, damage):
    """Damages one file of a private copy of the data folder."""
    def prepare(sandbox):
        path = os.path.join(sandbox.copy_data(), name)
        damage(path)
        return {}, path
    return prepare


@case
def exit_codes(box):
    """A damaged picture (of the texture table, the sky, the title), no data at all: a message naming
    the file, and the exit code. The games run side by side. (Without a sound device the game plays.)"""
    loading = "Error while loading '%s'\n"
    rows = (("floor.png missing", damaged("textures/floor.png", os.remove), 12, loading, ""),
            ("space2.png cut short", damaged("textures/space2.png", lambda p: os.truncate(p, 300)), 12, loading, ""),
            ("galaxy.png of 100 000 x 100 000", damaged("textures/galaxy.png", huge_header), 12, loading, ""),
            ("vorn2.png no PNG", damaged("textures/vorn2.png", lambda p: write(p, b"GIF89a" * 100)), 12,
             "not png type %s", ""),
            ("no data", lambda sandbox: ({"ORBITRAX_RESOURCE_DIR": sandbox.home}, sandbox.home), 12,
             "Error while loading '%s/Resources/textures/", "Could not load sound 'welcome.aiff' , reason: "))
    games = []
    for name, prepare, code, out, err in rows:
        sandbox = Sandbox(name, box)
        env, path = prepare(sandbox)
        games.append((sandbox.game(name, env=env), code, out.replace("%s", path), err))
    for game, code, out, err in games:
        check((game.exit_code(), out in game.stdout(), err in game.stderr()) == (code, True, True),
              "%s: exit %s, not %s with %r and %r\nstdout: %s\nstderr: %s"
              % (game.name, game.proc.returncode, code, out, err, game.stdout()[-300:], game.stderr()[-300:]))


@case
def hostile_store(box):
    """Settings one past their limits, an eleventh high score, broken sounds and music: the game uses
    what it can, names each sound it cannot load, plays, shows its screens and keeps every score."""
    samples = os.path.join(box.copy_data(), "samples")
    for name, data in (("tir.aiff", None), ("explode1.aiff", b"FORM\0\0\0\x04AIFX" + b"\1" * 300),
                       ("welcome.aiff", b"text, not sound\n"), ("vorn3.xm", None), ("vorn.xm", os.urandom(4096)),
                       ("Rocket.mp3", b"ID3" + os.urandom(2048))):
        os.remove(os.path.join(samples, name)) if data is None else write(os.path.join(samples, name), data)
    graphic = {**SMALL, "Filter": 3, "Details": 3, "Anisotropic": 10 ** 9, "Shadows": "yes"}
    scores = score_rows((i, "Keeper%d" % i, 50000 - 1000 * i) for i in range(1, 12))
    box.store.write({"Graphic": graphic, "HighScores": scores, "general": {"Running": 0, "ForceFeedback": "lots"}})
    kept = lambda: dict(box.store.parse()["HighScores"])
    before = kept()
    game = box.to_menu()
    check(game.geometry[2:] == (640, 480), "the stored size was not used: %dx%d" % game.geometry[2:])
    for name in ("tir", "explode1", "welcome"):
        check("Could not load sound '%s.aiff' , reason: " % name in game.stderr(), "no message for " + name)
    check("explode2" not in game.stderr(), "a good sound was refused")
    game.button(HIGH_SCORE, "the high-score table", game.shows(game.table))
    game.press("Escape", "the menu after the table", game.shows(game.menu))
    game.button(CREDITS, "the credits", game.shows(lambda s: not game.menu(s)))
    game.click(0.5, 0.5)
    game.see("the menu after the credits", game.menu)
    s = game.press("b", "a game", game.shows(game.playing))
    game.press("x", "a bomb", lambda: s.changed(game.shot(), box=BOMBS) > 0.004)
    game.quit()
    check(kept() == before, "the high scores changed")


@case
def read_only_store(box):
    """A store the player may read but not write: the game starts from it, quits cleanly and leaves
    it as it was. Run as another user, since root may write anywhere."""
    user = pwd.getpwnam("nobody").pw_uid if os.geteuid() == 0 else None
    box.store.write({"Graphic": SMALL, "general": {"Running": 0}})
    text = box.store.text()
    env = {}
    if user is not None:
        for path in (box.home, box.runtime):
            os.chown(path, user, user)
        if os.environ.get("XAUTHORITY"):  # the X server's cookie, for that user to read
            env["XAUTHORITY"] = shutil.copy(os.environ["XAUTHORITY"], box.root)
            os.chown(env["XAUTHORITY"], user, user)
    os.chmod(box.config, 0o755)
    os.chmod(os.path.dirname(box.store.path), 0o555)
    os.chmod(box.store.path, 0o444)
    game = box.to_menu(env=env, user=user)
    check(game.geometry[2:] == (640, 480), "the stored size was not read: %dx%d" % game.geometry[2:])
    game.press("ctrl+q", "the game to quit", lambda: not game.running())
    check(game.exit_code() == 0, "exit code %s\n%s" % (game.proc.returncode, game.stderr()))
    check(box.store.text() == text, "the read-only store changed")


if __name__ == "__main__":
    sys.exit(main())
