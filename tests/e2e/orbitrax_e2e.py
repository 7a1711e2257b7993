"""Drives the real game in an X server with xdotool and judges it by what a player sees and by its
settings file. Standard library only.

Every wait polls for its condition with a generous limit (never a fixed time): under Mesa's software
renderer on a loaded machine the game may draw only a few frames a second.
"""

import configparser
import ctypes
import ctypes.util
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no caches in the source tree

LIMIT = 120  # seconds any one awaited change may take
SKIP = 77


class Failure(Exception):
    pass


def check(ok, message):
    if not ok:
        raise Failure(message)


def log(*args):
    print(time.strftime("%H:%M:%S"), *args, flush=True)


def wait(what, condition, limit=LIMIT):
    """Polls until condition() returns something true, and returns it."""
    deadline = time.monotonic() + limit
    while True:
        value = condition()
        if value:
            return value
        check(time.monotonic() < deadline, "no %s within %d s" % (what, limit))
        time.sleep(0.1)


def tool(*args):
    """Runs an X tool to its end: its output, or None when it failed."""
    done = subprocess.run(args, capture_output=True, timeout=60)
    return done.stdout.decode(errors="replace") if done.returncode == 0 else None


def game_binary():
    return sys.argv[2] if len(sys.argv) > 2 else os.environ["ORBITRAX_BINARY"]


def data_folder():
    return os.environ.get("ORBITRAX_RESOURCE_DIR") or os.path.dirname(game_binary())


class Store:
    """The game's settings file (Qt's INI format) inside a throw-away XDG_CONFIG_HOME."""

    def __init__(self, config):
        self.path = os.path.join(config, "Torvik", "Torvik Orbitrax.conf")

    def write(self, groups, head=""):
        """Writes {group: {key: value}} the way Qt does; a "HighScores" group is a list of rows."""
        lines = [head]
        for group, keys in groups.items():
            if group == "HighScores":
                rows = keys
                keys = {"%d\\%s" % (i, k): v for i, row in enumerate(rows, 1) for k, v in row.items()}
                keys["size"] = len(rows)
            lines += ["[%s]" % ("%General" if group == "general" else group)]
            lines += ["%s=%s" % kv for kv in keys.items()] + [""]
        os.makedirs(os.path.dirname(self.path), exist_ok=True)
        with open(self.path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))

    def text(self):
        with open(self.path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def parse(self):
        parser = configparser.RawConfigParser(strict=False, interpolation=None)
        parser.optionxform = str
        parser.read_string(self.text())
        return parser

    def value(self, key):
        group, name = key.split("/")
        parser = self.parse()
        for section in (group, "%General" if group == "general" else group):
            if parser.has_option(section, name):
                return parser.get(section, name)
        return None

    def scores(self):
        """The first ten stored rows as (number, player, score); None for a missing field."""
        parser = self.parse()
        get = lambda i, k: parser.get("HighScores", "%d\\%s" % (i, k), fallback=None)
        return [tuple(get(i, k) for k in ("number", "player", "score")) for i in range(1, 11)]


def score_rows(rows):
    return [dict(zip(("number", "player", "score"), row)) for row in rows]


class Shot:
    """A screenshot of one window as RGB bytes."""

    def __init__(self, geometry):
        x, y, w, h = geometry
        ppm = subprocess.run(["import", "-silent", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                              "-depth", "8", "ppm:-"], capture_output=True, timeout=60).stdout
        _, size, _, self.pixels = ppm.split(b"\n", 3)  # a window partly off the screen comes cut
        self.width, self.height = map(int, size.split())

    def points(self, box=(0, 0, 1, 1), leave=(0, 0, 0, 0), step=2):
        """Byte offsets of every step-th pixel of a box, less those in the box `leave` (boxes in
        fractions of the window)."""
        x0, y0, x1, y1, l0, t0, l1, t1 = (int(f * s) for f, s in zip(box + leave, (self.width, self.height) * 4))
        return [(y * self.width + x) * 3 for y in range(y0, y1, step) for x in range(x0, x1, step)
                if not (l0 <= x < l1 and t0 <= y < t1)]

    def share(self, box, test, step=2):
        """The fraction of a box's pixels for which test(r, g, b) holds."""
        at, p = self.points(box, step=step), self.pixels
        return sum(1 for o in at if test(p[o], p[o + 1], p[o + 2])) / max(1, len(at))

    def diff(self, other, at, by=40):
        """The offsets among `at` where the two pictures differ by more than `by` in some channel."""
        a, b = self.pixels, other.pixels
        return {o for o in at if max(abs(a[o] - b[o]), abs(a[o + 1] - b[o + 1]), abs(a[o + 2] - b[o + 2])) > by}

    def light_boxes(self, x0, x1):
        """Centres of light grey boxes (push buttons, combo boxes) between x0 and x1, top to bottom."""
        boxes, run, columns = [], [], range(int(x0 * self.width), int(x1 * self.width))
        for y in range(self.height):
            row = [self.pixels[(y * self.width + x) * 3:(y * self.width + x) * 3 + 3] for x in columns]
            xs = [x for x, p in zip(columns, row) if min(p) > 110 and max(p) - min(p) < 30]
            if len(xs) >= 0.04 * self.width:
                run.append((y, xs[0], xs[-1]))
            elif run:
                if 8 <= len(run) <= 40:
                    boxes.append(((run[0][1] + run[0][2]) / 2 / self.width, (run[0][0] + run[-1][0]) / 2 / self.height))
                run = []
        return boxes

    def changed(self, other, box=(0, 0, 1, 1), leave=(0, 0, 0, 0)):
        at = self.points(box, leave)
        return len(self.diff(other, at)) / max(1, len(at))

    def save(self, path):
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (self.width, self.height) + self.pixels)


def yellow(r, g, b):
    return r > 200 and g > 200 and b < 90


# Where things are, in fractions of the window: the menu's button column (six buttons from Play to
# Quit), the high-score names, the energy gauge of the head-up display, the ship with its flickering
# engine flames and the start-up shield's countdown.
MENU_X, MENU_Y, BUTTON_W, BUTTON_H = 0.805, 0.665, 210 / 1280, 280 / 6 / 960
NAMES = (0.08, 0.02, 0.25, 0.68)
GAUGE = (1 - 225 / 1280, 162 / 1024, 1 - 60 / 1280, 186 / 1024)
SHIP = (0.33, 0.68, 0.72, 1.0)
PLAY, HIGH_SCORE, OPTIONS, CREDITS, HELP, QUIT = range(6)
SMALL = {"Width": 640, "Height": 480, "FullScreen": 0}  # a small window draws fast in software


class Game:
    """One run of the game in a sandbox."""

    def __init__(self, box, name="game", env=None, user=None):
        self.box, self.name = box, name
        self.out = os.path.join(box.root, name + ".out")
        self.err = os.path.join(box.root, name + ".err")
        command = [game_binary()]
        if user:
            command = ["setpriv", "--reuid=%d" % user, "--regid=%d" % user, "--clear-groups"] + command
        with open(self.out, "wb") as out, open(self.err, "wb") as err:
            self.proc = subprocess.Popen(command, env={**box.env(), **(env or {})}, stdout=out, stderr=err,
                                         stdin=subprocess.DEVNULL)
        box.games.append(self)
        self.geometry = None

    def running(self):
        return self.proc.poll() is None

    def stdout(self):
        return open(self.out, errors="replace").read()

    def stderr(self):
        return open(self.err, errors="replace").read()

    def exit_code(self, limit=LIMIT):
        try:
            return self.proc.wait(limit)
        except subprocess.TimeoutExpired:
            raise Failure("%s still runs after %d s" % (self.name, limit))

    def windows(self, name=None):
        """The game's visible windows, largest first, as (id, (x, y, width, height))."""
        found = tool("xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.proc.pid), *(["--name", name] if name else []))
        shown = []
        for wid in (found or "").split():
            shell = dict(line.split("=") for line in (tool("xdotool", "getwindowgeometry", "--shell", wid) or "").split())
            if shell:
                shown.append((wid, tuple(int(shell[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))))
        return sorted(shown, key=lambda w: -w[1][2] * w[1][3])

    def window(self):
        """Waits for the game window; its place and size, which a mode change may alter."""
        def look():
            check(self.running(), "%s ended (%s) without a window\n%s" % (self.name, self.proc.returncode, self.stderr()))
            shown = self.windows()
            return shown and shown[0][1][2] > 100 and shown[0]
        self.wid, self.geometry = wait("window of " + self.name, look)
        return self.geometry

    def shot(self):
        return Shot(self.window())

    def shows(self, test):
        """A condition for wait(): a screenshot that passes test, or None."""
        def look():
            s = self.shot()
            return test(s) and s
        return look

    def see(self, what, test):
        return wait(what, self.shows(test))

    def at(self, fx, fy):
        x, y, w, h = self.geometry
        return str(int(x + fx * w)), str(int(y + fy * h))

    def click(self, fx, fy, button=1):
        tool("xdotool", "mousemove", *self.at(fx, fy), "click", str(button))

    def press(self, keys, what, until, target=None):
        """Holds keys (xdotool's "ctrl+q" form) until their effect shows: the game reads held keys
        once a frame, so a press shorter than a frame would go unseen. Without a window manager the
        keys go where the pointer is, or to the window last given the focus."""
        tool("xdotool", "mousemove", *self.at(0.5, 0.3), "windowfocus", target or self.wid, "keydown", keys)
        try:
            return wait(what, until)
        finally:
            tool("xdotool", "keyup", keys)

    def button(self, row, what, until):
        """Clicks a menu button (PLAY ... QUIT)."""
        self.click(MENU_X + BUTTON_W / 2, MENU_Y + (row + 0.5) * BUTTON_H)
        return wait(what, until)

    # What the screen shows.

    def menu(self, s):
        """Six identical buttons: the column's brightness repeats every button height."""
        x0, x1 = int((MENU_X + 5 / 1280) * s.width), int((MENU_X + 16 / 1280) * s.width)
        rows = [sum(s.pixels[(y * s.width + x0) * 3:(y * s.width + x1) * 3]) / (x1 - x0) / 3
                for y in range(int((MENU_Y + 2 / 960) * s.height), int((MENU_Y + 278 / 960) * s.height))]
        gap = lambda p: sum(abs(rows[i] - rows[i + p]) for i in range(len(rows) - p)) / (len(rows) - p)
        return gap(round(BUTTON_H * s.height / 2)) > 2.5 * (gap(round(BUTTON_H * s.height)) + 1)

    def table(self, s):
        return s.share(NAMES, yellow) > 0.04

    def playing(self, s):
        return s.share(GAUGE, lambda r, g, b: max(r, g, b) - min(r, g, b) > 60, step=1) > 0.3 and not self.menu(s)

    def quit(self, keys="ctrl+q"):
        """Quits by keys, or by the Quit button when keys is None: exit code 0, and the store marks the
        clean exit."""
        if keys:
            self.press(keys, "the game to quit on " + keys, lambda: not self.running())
        else:
            self.button(QUIT, "the game to quit by its button", lambda: not self.running())
        check(self.exit_code() == 0, "%s: exit code %s\n%s" % (self.name, self.proc.returncode, self.stderr()))
        check(self.box.store.value("general/Running") == "0", "no clean exit in the store after %s" % keys)


class Sandbox:
    """HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR of their own, and the games started in them."""

    def __init__(self, name, parent=None):
        self.root = tempfile.mkdtemp(prefix="orbitrax-%s-" % name, dir=parent and parent.root)
        os.chmod(self.root, 0o755)
        self.home, self.config, self.runtime = (self.folder(n) for n in ("home", "config", "runtime"))
        self.store = Store(self.config)
        self.games = parent.games if parent else []
        self.data = data_folder()
        self.display = parent and parent.display

    def folder(self, name):
        path = os.path.join(self.root, name)
        os.makedirs(path, 0o700)
        return path

    def env(self):
        return {**os.environ, "HOME": self.home, "XDG_CONFIG_HOME": self.config, "XDG_RUNTIME_DIR": self.runtime,
                "ORBITRAX_RESOURCE_DIR": self.data, "LIBGL_ALWAYS_SOFTWARE": "1",
                "SDL_AUDIODRIVER": os.environ.get("SDL_AUDIODRIVER", "dummy")}

    def copy_data(self):
        """A private copy of the data folder, for tests that damage it; its Resources folder."""
        self.data = os.path.join(self.root, "data")
        shutil.copytree(os.path.join(data_folder(), "Resources"), os.path.join(self.data, "Resources"))
        return os.path.join(self.data, "Resources")

    def game(self, name="game", **kwargs):
        return Game(self, name.replace(" ", "-"), **kwargs)

    def close(self, passed):
        for g in self.games:
            if g.running():
                g.proc.kill()
                g.proc.wait()
            if not passed:
                log("%s: exit %s\nstdout: %s\nstderr: %s" % (g.name, g.proc.returncode, g.stdout()[-2000:], g.stderr()[-2000:]))
        if passed:
            shutil.rmtree(self.root, ignore_errors=True)
        else:
            log("kept", self.root)


class Opened:
    """Records which files of a folder are opened (inotify), to see what the game reads."""

    def __init__(self, folder):
        self.libc = ctypes.CDLL(None, use_errno=True)
        self.fd = self.libc.inotify_init1(os.O_NONBLOCK)
        self.folder = folder
        self.libc.inotify_add_watch(self.fd, folder.encode(), 0x20)  # IN_OPEN
        self.names = set()

    def read(self):
        try:
            data = os.read(self.fd, 1 << 20)
        except BlockingIOError:
            return self.names
        while data:
            length = struct.unpack_from("iIII", data)[3]
            self.names.add(data[16:16 + length].rstrip(b"\0").decode())
            data = data[16 + length:]
        return self.names


class Display:
    """A connection of our own to the X server, for what xdotool cannot do. While it is open the
    server cannot reset itself for want of clients."""

    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.x.XOpenDisplay.restype = self.x.XInternAtom.restype = ctypes.c_void_p
        self.display = ctypes.c_void_p(self.x.XOpenDisplay(None))

    def repeat(self, on):
        """The server repeats a held key after 660 ms; Qt does not always tell such a repeat from a
        new press, so that a held key could act twice. The tests hold keys: no repeats for them."""
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


def main(cases):
    """Runs the case named by argv[1] (exit 0 passed, 1 failed, 77 skipped); --list names them all."""
    if sys.argv[1:2] == ["--list"]:
        print(";".join(cases))
        return 0
    if not os.environ.get("DISPLAY") or not all(map(shutil.which, ("xdotool", "import"))):
        print("SKIP: needs an X display (scripts/test runs one), xdotool and ImageMagick's import")
        return SKIP
    box = Sandbox(sys.argv[1])
    box.display = display = Display()
    display.repeat(False)
    passed = False
    try:
        cases[sys.argv[1]](box)
        passed = True
        log("PASS", sys.argv[1])
    except Failure as failure:
        log("FAIL", sys.argv[1] + ":", failure)
        Shot((0, 0, 16384, 16384)).save(os.path.join(box.root, "failure.ppm"))
    finally:
        display.repeat(True)
        box.close(passed)
    return 0 if passed else 1
