#!/usr/bin/env python3
"""The settings store in the real game: a new high score is kept however the table is left, the file
keeps one section per group, and a store that cannot be written loses nothing and says so.

Usage: store.py CASE BINARY | --list   (exit 0 pass, 1 fail, 77 skip)
"""

import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no caches in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from orbitrax_e2e import *  # noqa: E402,F403

ZEROS = score_rows((i, "Zero%d" % i, 0) for i in range(1, 11))  # any score takes the first place
FAILURE = "Couldn't save the high scores to "


def name_entry(game):
    """A game started from the menu and ended at once: its score of 0 asks for a name."""
    game.see("the menu", game.menu)
    game.press("b", "a game", game.shows(game.playing))
    game.press("Escape", "the table asking for a name", game.shows(game.table))


def failure_line(s):
    """The reddish line under the table that says a score was not kept."""
    return s.share((0.05, 0.8, 0.95, 1.0), lambda r, g, b: r > 200 and 30 < g < 120 and b < 90) > 0.002


@case
def leaving(box):
    """A new high score is kept with the name typed so far (the default name when none was) whichever way
    the table is left; an old file's two "general" sections are read as Qt reads them and written as one,
    also when a second copy was started meanwhile."""
    box.store.write({"Graphic": SMALL, "HighScores": ZEROS, "general": {"Running": 1, "ForceFeedback": 0}})
    with open(box.store.path, "a") as f:
        f.write("\n[%General]\nRunning=0\n")
    game = box.to_menu()
    check(game.geometry[2:] == (640, 480), "the last section's clean exit was not read")
    written = lambda: (os.stat(box.store.path).st_ino, os.stat(box.store.path).st_mtime_ns)
    before = written()
    check(box.game("second").exit_code() == 0, "a second copy did not leave")
    check(written() == before, "a second copy wrote the store")
    for name, leave in (("Enter", lambda: game.press("Return", "the menu", game.shows(game.menu))),
                        ("Close", lambda: game.click(*game.shot().light_boxes(0, 0.3)[-1])),
                        ("Escape", lambda: game.press("Escape", "the menu", game.shows(game.menu))),
                        ("", lambda: game.quit())):
        name_entry(game)
        tool("xdotool", "type", name)
        leave()
        wait("%s kept on %s" % (name, name or "Ctrl+Q"),
             lambda: box.store.scores()[0][1] == (name or "Player 1"))
    text = box.store.text()
    check(text.count("[%General]") == 1, "the file holds %d general sections" % text.count("[%General]"))
    check(box.store.value("general/ForceFeedback") == "0", "the first section's own key was lost")
    end_by(box, "Closed", lambda g: box.display.close_request(g.wid))


def end_by(box, name, end):
    game = box.to_menu(name)
    name_entry(game)
    tool("xdotool", "type", name)
    end(game)
    check(game.exit_code() == 0, "exit code %s after %s" % (game.proc.returncode, name))
    check(box.store.scores()[0][1] == name, "the name was lost: %s" % (box.store.scores()[:2],))


@case
def sigterm(box):
    """SIGTERM during name entry is a clean quit that keeps the name typed so far."""
    box.store.write({"Graphic": SMALL, "HighScores": ZEROS, "general": {"Running": 0}})
    end_by(box, "Ended", lambda g: g.proc.send_signal(signal.SIGTERM))


def fill(folder, leave):
    """Fills a file system but for `leave` bytes."""
    path = os.path.join(folder, "filler")
    fd = os.open(path, os.O_WRONLY | os.O_CREAT)
    try:
        while os.write(fd, b"\0" * 4096):
            pass
    except OSError:
        pass
    os.close(fd)
    os.truncate(path, max(0, os.path.getsize(path) - leave))


@case
def full_disk(box):
    """A config folder with two pages free (the last good copy takes one): Qt's write fails there, and
    the table survives starts, exits and a score that cannot be kept, which the table and stderr tell;
    a store left empty comes back from the last good copy."""
    subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "orbitrax", box.config], check=True)
    try:
        box.store.write({"Graphic": SMALL, "HighScores": ZEROS, "general": {"Running": 0}})
        table = box.store.scores()
        fill(box.config, 8192)
        for name in ("first", "second"):
            game = box.to_menu(name)
            check(FAILURE in game.stderr(), "nothing said of the failed write: %r" % game.stderr())
            if name == "second":
                name_entry(game)
                tool("xdotool", "type", "Lost")
                game.press("Return", "the line under the table", game.shows(failure_line))
            game.press("ctrl+q", "the game to quit", lambda: not game.running())
            check(game.exit_code() == 0, "exit code %s" % game.proc.returncode)
            check(box.store.scores() == table, "the table on the full disk became %s" % box.store.scores())
        open(box.store.path, "w").close()  # emptied by an earlier version
        os.remove(os.path.join(box.config, "filler"))
        game = box.to_menu("emptied")
        check(box.store.scores() == table, "the emptied store was not restored")
    finally:
        for game in box.games:
            game.proc.kill()
            game.proc.wait()
        subprocess.run(["umount", box.config])


@case
def unwritable(box):
    """A store that cannot be written (a read-only folder, or XDG_CONFIG_HOME naming a file): the game
    plays, says so once at start, and under the table when a score cannot be kept."""
    user = pwd.getpwnam("nobody").pw_uid if os.geteuid() == 0 else None
    env = {}
    if user is not None:
        for path in (box.home, box.runtime):
            os.chown(path, user, user)
        if os.environ.get("XAUTHORITY"):  # the X server's cookie, for that user to read
            env["XAUTHORITY"] = shutil.copy(os.environ["XAUTHORITY"], box.root)
            os.chown(env["XAUTHORITY"], user, user)
    box.store.write({"Graphic": SMALL, "HighScores": ZEROS, "general": {"Running": 0}})
    os.chmod(box.config, 0o755)
    os.chmod(os.path.dirname(box.store.path), 0o555)
    os.chmod(box.store.path, 0o444)
    aside = Sandbox("file", box)
    open(os.path.join(aside.root, "file"), "w").close()
    other = aside.game("file", env={"XDG_CONFIG_HOME": os.path.join(aside.root, "file")})
    wait("the message of the game whose config folder is a file", lambda: FAILURE in other.stderr())
    other.proc.kill()
    game = box.to_menu(env=env, user=user)
    name_entry(game)
    tool("xdotool", "type", "Lost")
    game.press("Return", "the line under the table", game.shows(failure_line))
    check(game.stderr().count(FAILURE) == 1, "not said once on stderr: %r" % game.stderr())
    game.quit()


def can_mount():
    with tempfile.TemporaryDirectory() as folder:
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=8k", "probe", folder], capture_output=True)
        return mounted.returncode == 0 and subprocess.run(["umount", folder]).returncode == 0


if __name__ == "__main__":
    if sys.argv[1] == "full_disk" and not (shutil.which("mount") and can_mount()):
        print("SKIP: mounting a small tmpfs as the config folder is not allowed here")
        sys.exit(77)
    sys.exit(main())
