"""Drives the real game in an X server and judges it by what a player sees and by its settings file. Every wait
polls with a generous limit: in software on a loaded machine the game may draw a few frames a second."""

import configparser
import ctypes
import ctypes.util
import os
import pwd
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no caches in the source tree

LIMIT = 120  # seconds any one awaited change may take
CASES = {}

# Where things are, in fractions of the window: the menu's column of six buttons, the high-score
# names, the energy gauge and the bomb counter, and the ship with its flickering flames and shield.
MENU_X, MENU_Y, BUTTON_W, BUTTON_H = 0.805, 0.665, 210 / 1280, 280 / 6 / 960
PLAY, HIGH_SCORE, OPTIONS, CREDITS, HELP, QUIT = range(6)
NAMES = (0.08, 0.02, 0.25, 0.68)
GAUGE = (1 - 225 / 1280, 162 / 1024, 1 - 60 / 1280, 186 / 1024)
BOMBS = (1 - 190 / 1280, 96 / 1024, 1 - 80 / 1280, 136 / 1024)
SHIP = (0.33, 0.68, 0.72, 1.0)
SMALL = {"Width": 640, "Height": 480, "FullScreen": 0}  # a small window draws fast in software


class Failure(Exception):
    pass


def check(ok, message):
    if not ok:
        raise Failure(message)


def case(test):
    CASES[test.__name__] = test
    return test


def log(*args):
    print(time.strftime("%H:%M:%S"), *args, flush=True)


def wait(what, condition, limit=LIMIT):
    """Polls until condition() returns something true, and returns it."""
    deadline = time.monotonic() + limit
    while not (value := condition()):
        check(time.monotonic() < deadline, "no %s within %d s" % (what, limit))
        time.sleep(0.1)
    return value


def tool(*args):
    """Runs an X tool to its end: its output, or None when it failed."""
    done = subprocess.run(args, capture_output=True, timeout=60)
    return done.stdout.decode(errors="replace") if done.returncode == 0 else None


def screen():
    return (0, 0) + tuple(map(int, tool("xdotool", "getdisplaygeometry").split()))


class Store:
    """The game's settings file (Qt's INI format) inside a throw-away XDG_CONFIG_HOME."""

    def __init__(self, config):
        self.path = os.path.join(config, "Torvik", "Torvik Orbitrax.conf")

    def write(self, groups):
        """Writes {group: {key: value}} the way Qt does; "HighScores" holds a list of rows."""
        lines = []
        for group, keys in groups.items():
            if group == "HighScores":
                keys = dict({"%d\\%s" % (i, k): v for i, r in enumerate(keys, 1) for k, v in r.items()}, size=len(keys))
            lines += ["[%s]" % ("%General" if group == "general" else group)]
            lines += ["%s=%s" % kv for kv in keys.items()] + [""]
        os.makedirs(os.path.dirname(self.path), exist_ok=True)
        open(self.path, "w", encoding="utf-8").write("\n".join(lines))

    def text(self):
        return open(self.path, encoding="utf-8").read()

    def parse(self):
        parser = configparser.RawConfigParser(strict=False, interpolation=None)
        parser.optionxform = str
        parser.read_string(self.text())
        return parser

    def value(self, key):
        group, name = key.split("/")
        return self.parse().get("%General" if group == "general" else group, name, fallback=None)

    def scores(self):
        """The first ten stored rows as (number, player, score), None for a missing field."""
        parser = self.parse()
        return [tuple(parser.get("HighScores", "%d\\%s" % (i, k), fallback=None) for k in ("number", "player", "score"))
                for i in range(1, 11)]


def score_rows(name="Keeper", top=50000, step=1000, n=10):
    return [{"number": i, "player": name + str(i), "score": top - step * i} for i in range(1, n + 1)]


ZEROS = score_rows("Zero", 0, 0)  # any score takes the first place


class Shot:
    """A screenshot of one window as RGB bytes; boxes are given in fractions of the window."""

    def __init__(self, geometry):
        x, y, w, h = geometry
        ppm = subprocess.run(["import", "-silent", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                              "-depth", "8", "ppm:-"], capture_output=True, timeout=60).stdout
        _, size, _, self.pixels = ppm.split(b"\n", 3)  # a window partly off the screen comes cut
        self.width, self.height = map(int, size.split())

    def points(self, box=(0, 0, 1, 1), leave=(0, 0, 0, 0)):
        """Byte offsets of every other pixel of a box, less those in the box `leave`."""
        x0, y0, x1, y1, l0, t0, l1, t1 = (int(f * s) for f, s in zip(box + leave, (self.width, self.height) * 4))
        return [(y * self.width + x) * 3 for y in range(y0, y1, 2) for x in range(x0, x1, 2)
                if not (l0 <= x < l1 and t0 <= y < t1)]

    def share(self, box, test):
        """The fraction of a box's pixels for which test(r, g, b) holds."""
        at, p = self.points(box), self.pixels
        return sum(1 for o in at if test(p[o], p[o + 1], p[o + 2])) / len(at)

    def changed(self, other, box=(0, 0, 1, 1), leave=(0, 0, 0, 0)):
        """The fraction of a box's pixels that differ from the other picture by more than 40."""
        at, a, b = self.points(box, leave), self.pixels, other.pixels
        return sum(max(abs(a[o] - b[o]), abs(a[o + 1] - b[o + 1]), abs(a[o + 2] - b[o + 2])) > 40 for o in at) / len(at)

    def light_boxes(self, x0, x1):
        """Centres of the light grey boxes (buttons, combo boxes) between x0 and x1, top to bottom."""
        boxes, run, columns = [], [], range(int(x0 * self.width), int(x1 * self.width))
        for y in range(self.height):
            row = [self.pixels[(y * self.width + x) * 3:(y * self.width + x) * 3 + 3] for x in columns]
            xs = [x for x, p in zip(columns, row) if min(p) > 110 and max(p) - min(p) < 30]
            if len(xs) >= 0.04 * self.width:
                run.append((y, xs[0] + xs[-1]))
            elif run:
                if 8 <= len(run) <= 40:
                    boxes.append((run[0][1] / 2 / self.width, (run[0][0] + run[-1][0]) / 2 / self.height))
                run = []
        return boxes

    def save(self, path):
        open(path, "wb").write(b"P6\n%d %d\n255\n" % (self.width, self.height) + self.pixels)


class Game:
    """One run of the game in a sandbox, as another user where given."""

    def __init__(self, box, name, env=None, user=None):
        self.box, self.name = box, name.replace(" ", "-")
        self.out, self.err = (os.path.join(box.root, self.name + end) for end in (".out", ".err"))
        command = [sys.argv[2]] if user is None else ["setpriv", "--reuid=%d" % user, "--regid=%d" % user,
                                                      "--clear-groups", sys.argv[2]]
        with open(self.out, "wb") as out, open(self.err, "wb") as err:
            self.proc = subprocess.Popen(command, env={**box.env(), **(env or {})}, stdout=out, stderr=err,
                                         stdin=subprocess.DEVNULL)
        box.games.append(self)

    def running(self):
        return self.proc.poll() is None

    def stdout(self):
        return open(self.out, errors="replace").read()

    def stderr(self):
        return open(self.err, errors="replace").read()

    def exit_code(self):
        wait("the end of " + self.name, lambda: not self.running())
        return self.proc.returncode

    def windows(self, name=None):
        """The game's visible windows, largest first, as (id, (x, y, width, height))."""
        found = tool("xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.proc.pid),
                     *(["--name", name] if name else [])) or ""
        shown = []
        for wid in found.split():
            shell = tool("xdotool", "getwindowgeometry", "--shell", wid) or ""
            shell = dict(line.split("=") for line in shell.split())
            shown += [(wid, tuple(int(shell[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")))] if shell else []
        return sorted(shown, key=lambda w: -w[1][2] * w[1][3])

    def window(self):
        """Waits for the game window; its place and size, which a change of video mode may alter."""
        def look():
            check(self.running(), "%s ended (%s)\n%s" % (self.name, self.proc.returncode, self.stderr()))
            return (self.windows() or [None])[0]
        self.wid, self.geometry = wait("window of " + self.name, look)
        return self.geometry

    def shot(self):
        return Shot(self.window())

    def shows(self, test):
        """A condition for wait(): a screenshot that passes test."""
        return lambda: (lambda s: test(s) and s)(self.shot())

    def see(self, what, test):
        return wait(what, self.shows(test))

    def at(self, fx, fy):
        x, y, w, h = self.geometry
        return str(int(x + fx * w)), str(int(y + fy * h))

    def click(self, fx, fy, button=1):
        tool("xdotool", "mousemove", *self.at(fx, fy), "click", str(button))

    def press(self, keys, what, until, target=None):
        """Holds keys ("ctrl+q") on the focused window till their effect shows: the game reads held keys per frame."""
        tool("xdotool", "mousemove", *self.at(0.5, 0.3), "windowfocus", target or self.wid, "keydown", keys)
        try:
            return wait(what, until)
        finally:
            tool("xdotool", "keyup", keys)

    def button(self, row, what, until):
        """Clicks a menu button, PLAY to QUIT."""
        self.click(MENU_X + BUTTON_W / 2, MENU_Y + (row + 0.5) * BUTTON_H)
        return wait(what, until)

    def menu(self, s):
        """Six identical buttons: the column's brightness repeats every button height."""
        x0, x1 = int((MENU_X + 5 / 1280) * s.width), int((MENU_X + 16 / 1280) * s.width)
        rows = [sum(s.pixels[(y * s.width + x0) * 3:(y * s.width + x1) * 3])
                for y in range(int((MENU_Y + 2 / 960) * s.height), int((MENU_Y + 278 / 960) * s.height))]
        gap = lambda p: sum(abs(rows[i] - rows[i + p]) for i in range(len(rows) - p)) / (len(rows) - p)
        return gap(round(BUTTON_H * s.height / 2)) > 2.5 * (gap(round(BUTTON_H * s.height)) + 3 * (x1 - x0))

    def table(self, s):
        return s.share(NAMES, lambda r, g, b: r > 200 and g > 200 and b < 90) > 0.04  # yellow names

    def playing(self, s):
        return s.share(GAUGE, lambda r, g, b: max(r, g, b) - min(r, g, b) > 60) > 0.3 and not self.menu(s)

    def name_entry(self, name):
        """From the menu, a game ended at once: its score of 0 asks for a name, which is typed."""
        self.see("the menu", self.menu)
        self.press("b", "a game", self.shows(self.playing))
        self.press("Escape", "the table asking for a name", self.shows(self.table))
        tool("xdotool", "type", name)

    def quit(self, keys="ctrl+q"):
        """Quits by keys, or by the Quit button: exit code 0, and the store marks the clean exit."""
        if keys:
            self.press(keys, "the game to quit on " + keys, lambda: not self.running())
        else:
            self.button(QUIT, "the game to quit by its button", lambda: not self.running())
        check(self.exit_code() == 0, "%s: exit code %s\n%s" % (self.name, self.proc.returncode, self.stderr()))
        check(self.box.store.value("general/Running") == "0", "no clean exit in the store after %s" % keys)


class Sandbox:
    """HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR of their own, and the games started in them."""

    def __init__(self, name, parent=None):
        self.root = tempfile.mkdtemp(prefix="orbitrax-%s-" % name.replace(" ", "-"), dir=parent and parent.root)
        os.chmod(self.root, 0o755)
        self.home, self.config, self.runtime = (os.path.join(self.root, n) for n in ("home", "config", "runtime"))
        for folder in (self.home, self.config, self.runtime):
            os.makedirs(folder, 0o700)
        self.store = Store(self.config)
        self.games = parent.games if parent else []
        self.data = os.environ.get("ORBITRAX_RESOURCE_DIR") or os.path.dirname(sys.argv[2])

    def env(self):
        return {**os.environ, "HOME": self.home, "XDG_CONFIG_HOME": self.config, "XDG_RUNTIME_DIR": self.runtime,
                "ORBITRAX_RESOURCE_DIR": self.data, "LIBGL_ALWAYS_SOFTWARE": "1",
                "SDL_AUDIODRIVER": os.environ.get("SDL_AUDIODRIVER", "dummy")}

    def as_user(self):
        """HOME and XDG_RUNTIME_DIR for the user nobody (root may write anywhere): its uid and environment."""
        if os.geteuid() != 0:
            return None, {}
        user, env = pwd.getpwnam("nobody").pw_uid, {}
        for path in (self.home, self.runtime):
            os.chown(path, user, user)
        if os.environ.get("XAUTHORITY"):  # the X server's cookie, for that user to read
            env["XAUTHORITY"] = shutil.copy(os.environ["XAUTHORITY"], self.root)
            os.chown(env["XAUTHORITY"], user, user)
        return user, env

    def copy_data(self):
        """A private copy of the data folder, for damaging it; its Resources folder."""
        resources = os.path.join(self.data, "Resources")
        self.data = os.path.join(self.root, "data")
        return shutil.copytree(resources, os.path.join(self.data, "Resources"))

    def to_menu(self, name="game", **kwargs):
        game = Game(self, name, **kwargs)
        game.see("the menu of " + name, game.menu)
        return game

    def close(self, passed):
        for game in self.games:
            game.proc.kill()  # nothing to kill when it has ended
            game.proc.wait()
            if not passed:
                log("%s: exit %s\nstdout: %s\nstderr: %s" % (game.name, game.proc.returncode, game.stdout()[-2000:],
                                                               game.stderr()[-2000:]))
        shutil.rmtree(self.root) if passed else log("kept", self.root)


class Display:
    """A connection of our own to the X server, for what xdotool cannot do (it keeps the server from resetting)."""

    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.x.XOpenDisplay.restype = self.x.XInternAtom.restype = ctypes.c_void_p
        self.display = ctypes.c_void_p(self.x.XOpenDisplay(None))

    def repeat(self, on):
        """Qt does not always tell the server's repeat of a held key from a new press: no repeats for tests."""
        (self.x.XAutoRepeatOn if on else self.x.XAutoRepeatOff)(self.display)
        self.x.XFlush(self.display)

    def close_request(self, wid):
        """What a window manager's close button sends: a WM_DELETE_WINDOW client message."""
        atom = lambda name: self.x.XInternAtom(self.display, name, 0)
        # XClientMessageEvent: type, serial, send_event, display, window, message_type, format, data
        event = (ctypes.c_long * 24)(33, 0, 1, self.display.value, int(wid), atom(b"WM_PROTOCOLS"), 32,
                                     atom(b"WM_DELETE_WINDOW"))
        self.x.XSendEvent(self.display, ctypes.c_ulong(int(wid)), 0, ctypes.c_long(0), event)
        self.x.XFlush(self.display)


def main():
    """Runs the case argv[1] with the game argv[2] (exit 0 passed, 1 failed, 77 skipped); --list names them."""
    if sys.argv[1:2] == ["--list"]:
        return print(";".join(CASES))
    if not os.environ.get("DISPLAY") or not all(map(shutil.which, ("xdotool", "import", "xmessage"))):
        print("SKIP: needs an X display (scripts/test runs one), xdotool, xmessage and ImageMagick")
        return 77
    box = Sandbox(sys.argv[1])
    box.display = Display()
    box.display.repeat(False)
    passed = False
    try:
        CASES[sys.argv[1]](box)
        passed = True
        log("PASS", sys.argv[1])
    except Failure as failure:
        log("FAIL", sys.argv[1] + ":", failure)
        Shot((0, 0, 16384, 16384)).save(os.path.join(box.root, "failure.ppm"))
    finally:
        box.display.repeat(True)
        box.close(passed)
    return 0 if passed else 1
