#!/usr/bin/env python3
"""The game as a process of the desktop: signals, keys without a name, a hidden window, lock files it
did not write and no display at all.

Usage: process.py CASE BINARY | --list   (exit 0 pass, 1 fail, 77 skip)
"""

import os
import pwd
import shutil
import signal
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no caches in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from orbitrax_e2e import *  # noqa: E402,F403

# Options that only a clean exit keeps (after a crash the defaults come back), and a table that a score
# of 0 does not enter.
KEPT = {**SMALL, "Shadows": 0, "Details": 1}
TABLE = score_rows((i, "Keeper%d" % i, 50000 - 1000 * i) for i in range(1, 11))


def cpu_share(game, what, seconds=2):
    """The game's CPU time per second of wall time over a few seconds, from /proc."""
    used = lambda: sum(map(int, open("/proc/%d/stat" % game.proc.pid).read().rsplit(")", 1)[1].split()[11:13]))
    start, t0 = used(), time.monotonic()
    wait(what, lambda: time.monotonic() - t0 > seconds)
    return (used() - start) / os.sysconf("SC_CLK_TCK") / (time.monotonic() - t0)


def hidden_sleeps(game):
    """Unmapped, the game draws nothing and sleeps; mapped again, it draws at once."""
    shown = cpu_share(game, "the shown game's CPU time")
    tool("xdotool", "windowunmap", game.wid)
    wait("the window to go", lambda: not game.windows())
    hidden = cpu_share(game, "the hidden game's CPU time")
    log("CPU time a second: %.3f s shown, %.3f s hidden" % (shown, hidden))
    check(hidden < shown / 4, "hidden the game takes %.2f s of CPU a second, shown %.2f s" % (hidden, shown))
    tool("xdotool", "windowmap", game.wid)
    s = game.see("the window back", game.menu)
    game.see("the menu scene to move again", lambda t: s.changed(t) > 0.01)


def unnamed_keys_play(game):
    """Keys the game has no name for start a game from the menu, as any key does."""
    for key in ("Menu", "XF86AudioPlay", "adiaeresis"):
        game.press(key, "a game started by " + key, game.shows(game.playing))
        if key != "adiaeresis":
            game.press("Escape", "the menu after the ship's end", game.shows(game.menu))  # 0 points: no table


@case
def quit_signals(box):
    """SIGTERM, SIGINT and SIGHUP quit as Ctrl+Q does, in the menu (after hiding the window), in play
    (started by keys without a name) and in the options panel: exit code 0, the clean-exit mark and
    the options kept."""
    for number in (signal.SIGINT, signal.SIGHUP, signal.SIGTERM):  # the game inherits what is ignored here
        if signal.getsignal(number) == signal.SIG_IGN:
            signal.signal(number, signal.default_int_handler)
    options = lambda game: game.button(OPTIONS, "the options panel", lambda: len(game.shot().light_boxes(0.5, 0.8)) == 7)
    for number, state, reach in ((signal.SIGTERM, "menu", hidden_sleeps), (signal.SIGINT, "play", unnamed_keys_play),
                                 (signal.SIGHUP, "options", options)):
        box.store.write({"Graphic": KEPT, "HighScores": TABLE, "general": {"Running": 0}})
        game = box.to_menu("%s-in-%s" % (number.name, state))
        reach(game)
        game.proc.send_signal(number)
        check(game.exit_code() == 0, "%s in the %s: exit code %s" % (number.name, state, game.proc.returncode))
        check(box.store.value("general/Running") == "0", "%s in the %s: no clean exit" % (number.name, state))
        kept = {k: box.store.value("Graphic/" + k) for k in KEPT}
        check(kept == {k: str(v) for k, v in KEPT.items()}, "%s lost the options: %s" % (number.name, kept))


@case
def foreign_locks(box):
    """Lock files no running game holds (another user's, unreadable; one naming a live process that is
    called orbitrax but is not the game) do not keep the game from starting; a running game does, and
    a second copy says why. Run as another user, since root reads every file."""
    check(os.geteuid() == 0, "needs root, to play another user")
    user = pwd.getpwnam("nobody").pw_uid
    box.store.write({"Graphic": SMALL, "general": {"Running": 0}})
    for path in (box.home, box.config, box.runtime, os.path.dirname(box.store.path), box.store.path):
        os.chown(path, user, user)
    env = {}
    if os.environ.get("XAUTHORITY"):  # the X server's cookie, for that user to read
        env["XAUTHORITY"] = shutil.copy(os.environ["XAUTHORITY"], box.root)
        os.chown(env["XAUTHORITY"], user, user)
    lock = os.path.join(box.runtime, "torvik-orbitrax.lock")
    impostor = shutil.copy(shutil.which("sleep"), os.path.join(box.root, "orbitrax"))
    sleeper = subprocess.Popen(["setpriv", "--reuid=%d" % user, "--regid=%d" % user, "--clear-groups", impostor,
                                "600"])
    try:
        for name, pid, owner, mode in (("unreadable", 1, 0, 0o600), ("impostor", sleeper.pid, user, 0o644)):
            with open(lock, "w") as f:
                f.write("%d\norbitrax\n%s\n" % (pid, os.uname().nodename))
            os.chown(lock, owner, owner)
            os.chmod(lock, mode)
            game = box.to_menu(name, env=env, user=user)
            if name == "unreadable":  # beside a running game a second copy leaves, saying why
                second = box.game("second", env=env, user=user)
                check(second.exit_code() == 0, "a second copy ended with %s" % second.proc.returncode)
                said = second.stderr().splitlines()
                check(len(said) == 1 and "already running as process %d" % game.proc.pid in said[0]
                      and lock in said[0], "a second copy said %r" % said)
            game.press("ctrl+q", "the game to quit", lambda: not game.running())
            check(game.exit_code() == 0, "%s lock: exit code %s" % (name, game.proc.returncode))
    finally:
        sleeper.kill()


@case
def no_display(box):
    """Without an X display (none named, an empty name, no server there) one line says so, exit code 1,
    no abort; --version still answers."""
    dead = next(":%d" % n for n in range(90, 1000) if not os.path.exists("/tmp/.X11-unix/X%d" % n))
    env = {k: v for k, v in box.env().items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    for display, args in ((None, []), ("", []), (dead, []), (None, ["--version"])):
        run = subprocess.run([sys.argv[2]] + args, env={**env, **({} if display is None else {"DISPLAY": display})},
                             capture_output=True, text=True, timeout=LIMIT)
        said = run.stderr.splitlines()
        if args:
            check(run.returncode == 0 and "Orbitrax" in run.stdout, "--version without a display: %s" % run)
        else:
            check(run.returncode == 1 and len(said) == 1 and "display" in said[0] and (display or "DISPLAY") in said[0],
                  "DISPLAY=%r: exit code %s, said %r" % (display, run.returncode, said))


if __name__ == "__main__":
    sys.exit(main())
