"""Drives the real orbitrax binary in an X server with xdotool and looks at what a player would see.

Standard library only. Every wait polls with a generous deadline: on a loaded machine with Mesa's
software renderer the game may draw only a few frames a second.
"""

import configparser
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77


class Failure(Exception):
    pass


class Skip(Exception):
    pass


def log(*args):
    print(time.strftime("%H:%M:%S"), *args, flush=True)


def check(condition, message):
    if not condition:
        raise Failure(message)


def binary():
    path = os.environ.get("ORBITRAX_BINARY")
    if len(sys.argv) > 2 and sys.argv[2]:
        path = sys.argv[2]
    if not path or not os.access(path, os.X_OK):
        raise Failure("no game binary: set ORBITRAX_BINARY (got %r)" % path)
    return path


def poll(what, predicate, timeout, interval=0.5):
    """Calls predicate until it returns something true; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure("timed out after %ds waiting for %s" % (timeout, what))
        time.sleep(interval)


def run_tool(args, timeout=30):
    try:
        done = subprocess.run(args, capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    return done


# ---------------------------------------------------------------------------------------------
# Settings store


class Store:
    """The game's settings file inside a throw-away XDG_CONFIG_HOME."""

    def __init__(self, config_home):
        self.path = os.path.join(config_home, "Torvik", "Torvik Orbitrax.conf")

    def exists(self):
        return os.path.exists(self.path)

    def text(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def parse(self):
        parser = configparser.RawConfigParser(strict=False, interpolation=None)
        parser.optionxform = str
        try:
            parser.read_string(self.text())
        except configparser.Error as error:
            raise Failure("settings file is not an INI file: %s\n%s" % (error, self.text()))
        return parser

    def value(self, group, key):
        """A value by the game's group name ("general" is stored as Qt's "%General")."""
        parser = self.parse()
        section = "%General" if group == "general" else group
        if parser.has_section(section) and parser.has_option(section, key):
            return parser.get(section, key)
        return None

    def int_value(self, group, key):
        value = self.value(group, key)
        try:
            return int(value)
        except (TypeError, ValueError):
            return None

    def high_scores(self):
        """The stored table as a list of (number, player, score) for indices 1..10 (Qt's 1-based keys)."""
        parser = self.parse()
        if not parser.has_section("HighScores"):
            return []
        rows = []
        for i in range(1, 11):
            get = lambda key: parser.get("HighScores", "%d\\%s" % (i, key), fallback=None)
            rows.append((get("number"), get("player"), get("score")))
        return rows

    def write(self, text):
        os.makedirs(os.path.dirname(self.path), exist_ok=True)
        with open(self.path, "w", encoding="utf-8") as f:
            f.write(text)


def settings_text(graphic=None, running=0, scores=None, extra=""):
    """Builds a settings file the way Qt writes it."""
    lines = []
    if graphic:
        lines.append("[Graphic]")
        for key, value in graphic.items():
            lines.append("%s=%s" % (key, value))
        lines.append("")
    if scores is not None:
        lines.append("[HighScores]")
        for i, (number, player, score) in enumerate(scores, start=1):
            lines.append("%d\\number=%s" % (i, number))
            lines.append("%d\\player=%s" % (i, player))
            lines.append("%d\\score=%s" % (i, score))
        lines.append("size=%d" % len(scores))
        lines.append("")
    lines.append("[%General]")
    if running is not None:
        lines.append("Running=%s" % running)
    lines.append(extra)
    return "\n".join(lines) + "\n"


def zero_scores():
    return [(i, "Nobody%d" % i, 0) for i in range(1, 11)]


# ---------------------------------------------------------------------------------------------
# Screen reading


class Shot:
    """A screenshot of the root window as RGB bytes."""

    def __init__(self, width, height, pixels):
        self.width = width
        self.height = height
        self.pixels = pixels

    @staticmethod
    def take(display_env):
        done = run_tool(["import", "-silent", "-window", "root", "-depth", "8", "ppm:-"], timeout=60)
        if done is None or done.returncode != 0:
            raise Failure("screenshot failed: %s" % (done.stderr.decode() if done else "timeout"))
        return Shot.from_ppm(done.stdout)

    @staticmethod
    def from_ppm(data):
        fields = []
        i = 0
        while len(fields) < 4:
            while data[i : i + 1].isspace():
                i += 1
            if data[i : i + 1] == b"#":
                while data[i : i + 1] != b"\n":
                    i += 1
                continue
            j = i
            while not data[j : j + 1].isspace():
                j += 1
            fields.append(data[i:j])
            i = j
        i += 1
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise Failure("unexpected screenshot format %r" % fields)
        return Shot(int(fields[1]), int(fields[2]), data[i:])

    def save(self, path):
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (self.width, self.height))
            f.write(self.pixels)

    def row_profile(self, x0, x1, y0, y1):
        """Mean brightness of each row of a strip."""
        x0, x1 = max(0, int(x0)), min(self.width, int(x1))
        y0, y1 = max(0, int(y0)), min(self.height, int(y1))
        profile = []
        for y in range(y0, y1):
            o = (y * self.width + x0) * 3
            strip = self.pixels[o : o + (x1 - x0) * 3]
            profile.append(sum(strip) / max(1, len(strip)))
        return profile

    def periodicity(self, x0, x1, y0, y1, period):
        """How much better a strip's rows match the rows one period below than half a period below:
        well above 1 for a column of identical buttons, about 1 for a scene."""
        profile = self.row_profile(x0, x1, y0, y1)
        p, h = int(round(period)), int(round(period / 2))
        n = len(profile) - p
        if n <= 0:
            return 0.0
        same = sum(abs(profile[i] - profile[i + p]) for i in range(n)) / n
        half = sum(abs(profile[i] - profile[i + h]) for i in range(n)) / n
        return half / (same + 1.0)

    def light_boxes(self, x0, y0, x1, y1, min_width=30):
        """Light-grey boxes (the options panel's combo boxes) in a rectangle, top to bottom, as
        (left, top, right, bottom)."""
        x0, x1 = max(0, int(x0)), min(self.width, int(x1))
        y0, y1 = max(0, int(y0)), min(self.height, int(y1))
        px = self.pixels
        hits = []
        for y in range(y0, y1):
            row = y * self.width * 3
            best = (0, 0)
            start = None
            for x in range(x0, x1):
                o = row + x * 3
                R, G, B = px[o], px[o + 1], px[o + 2]
                light = max(R, G, B) - min(R, G, B) < 30 and min(R, G, B) > 110
                if light and start is None:
                    start = x
                if (not light or x == x1 - 1) and start is not None:
                    if x - start > best[1] - best[0]:
                        best = (start, x)
                    start = None
            if best[1] - best[0] >= min_width:
                hits.append((y, best))
        boxes = []
        for y, (left, right) in hits:
            if boxes and y - boxes[-1][3] <= 2 and left < boxes[-1][2] and right > boxes[-1][0]:
                box = boxes[-1]
                boxes[-1] = [min(box[0], left), box[1], max(box[2], right), y]
            else:
                boxes.append([left, y, right, y])
        return [tuple(b) for b in boxes if 8 <= b[3] - b[1] <= 40]

    def region(self, x0, y0, x1, y1, step=2):
        """Statistics of a rectangle: mean red, green, blue, mean saturation (max-min), and the
        fractions of pure-yellow, light-grey and near-black pixels."""
        x0, x1 = max(0, int(x0)), min(self.width, int(x1))
        y0, y1 = max(0, int(y0)), min(self.height, int(y1))
        n = r = g = b = sat = yellow = grey = dark = 0
        px = self.pixels
        for y in range(y0, y1, step):
            row = y * self.width * 3
            for x in range(x0, x1, step):
                o = row + x * 3
                R, G, B = px[o], px[o + 1], px[o + 2]
                hi, lo = max(R, G, B), min(R, G, B)
                r += R
                g += G
                b += B
                sat += hi - lo
                if R > 200 and G > 200 and B < 90:
                    yellow += 1
                if hi - lo < 24 and lo > 150:
                    grey += 1
                if hi < 40:
                    dark += 1
        if n == 0:
            n = 0
        n = max(1, ((x1 - x0 + step - 1) // step) * ((y1 - y0 + step - 1) // step))
        return {
            "r": r / n,
            "g": g / n,
            "b": b / n,
            "mean": (r + g + b) / (3 * n),
            "sat": sat / n,
            "yellow": yellow / n,
            "grey": grey / n,
            "dark": dark / n,
        }


class Layout:
    """Where the screens put things for a window of a given size."""

    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    def menu_button(self, row):
        """Centre of menu button row (0 = Play ... 5 = Quit) in root coordinates."""
        sx, sy = self.width / 1280.0, self.height / 960.0
        left = self.x + 0.805 * self.width
        top = self.y + 0.665 * self.height
        return int(left + 105 * sx), int(top + (row + 0.5) * (280.0 / 6) * sy)

    def menu_rect(self):
        sx, sy = self.width / 1280.0, self.height / 960.0
        left = self.x + 0.805 * self.width
        top = self.y + 0.665 * self.height
        return (left + 15 * sx, top + 5 * sy, left + 195 * sx, top + 275 * sy)

    def highscore_names(self):
        return (self.x + 95, self.y + 15, self.x + 330, self.y + 660)

    def highscore_close(self):
        # The close row sits under the ten rows at the left edge.
        return self.x + 57, self.y + 688

    def energy_bar(self):
        """The energy gauge inside the head-up display's panel at the top right."""
        sx, sy = self.width / 1280.0, self.height / 1024.0
        return (
            self.x + self.width - 225 * sx,
            self.y + 162 * sy,
            self.x + self.width - 60 * sx,
            self.y + 186 * sy,
        )

    def bomb_counter(self):
        sx, sy = self.width / 1280.0, self.height / 1024.0
        return (self.x + self.width - 190 * sx, self.y + 96 * sy, self.x + self.width - 80 * sx, self.y + 136 * sy)


# ---------------------------------------------------------------------------------------------
# The game process


class Game:
    """One run of the game in a sandbox of its own (HOME, XDG_CONFIG_HOME, XDG_RUNTIME_DIR)."""

    def __init__(self, sandbox, name="game", extra_env=None, args=()):
        self.sandbox = sandbox
        self.name = name
        self.out_path = os.path.join(sandbox.root, name + ".out")
        self.err_path = os.path.join(sandbox.root, name + ".err")
        env = sandbox.env()
        if extra_env:
            env.update(extra_env)
        self.out = open(self.out_path, "wb")
        self.err = open(self.err_path, "wb")
        log("start", name)
        self.proc = subprocess.Popen(
            [binary(), *args], env=env, stdout=self.out, stderr=self.err, stdin=subprocess.DEVNULL
        )
        sandbox.games.append(self)
        self.window = None
        self.layout = None

    def running(self):
        return self.proc.poll() is None

    def stdout(self):
        with open(self.out_path, "rb") as f:
            return f.read().decode(errors="replace")

    def stderr(self):
        with open(self.err_path, "rb") as f:
            return f.read().decode(errors="replace")

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure("%s did not exit within %ds" % (self.name, timeout))

    def kill(self):
        if self.running():
            self.proc.kill()
            self.proc.wait(timeout=30)

    def find_window(self, timeout=120):
        """The main window: the largest visible window named after the game or its frame rate."""

        def look():
            if not self.running():
                raise Failure(
                    "%s ended (exit code %s) before showing its window\nstdout: %s\nstderr: %s"
                    % (self.name, self.proc.returncode, self.stdout(), self.stderr())
                )
            done = run_tool(["xdotool", "search", "--onlyvisible", "--name", "^(Torvik Orbitrax|FPS: [0-9]+)$"])
            if done is None or done.returncode != 0:
                return None
            best = None
            for wid in done.stdout.decode().split():
                geometry = window_geometry(wid)
                if geometry and geometry[2] > 100 and geometry[3] > 100:
                    if best is None or geometry[2] * geometry[3] > best[1][2] * best[1][3]:
                        best = (wid, geometry)
            return best

        wid, geometry = poll("the game window", look, timeout, interval=1.0)
        self.window = wid
        self.layout = Layout(*geometry)
        log("window", wid, geometry)
        return wid

    def refresh_layout(self):
        geometry = window_geometry(self.window)
        if geometry:
            self.layout = Layout(*geometry)
        return self.layout

    def caption(self):
        if not self.window:
            return None
        done = run_tool(["xdotool", "getwindowname", self.window])
        if done is None or done.returncode != 0:
            return None
        return done.stdout.decode().strip()

    def frame_rate(self):
        """The number in the "FPS: n" caption, or None while the caption is something else."""
        match = re.fullmatch(r"FPS: (\d+)", self.caption() or "")
        return int(match.group(1)) if match else None

    def wait_frames(self, timeout=180):
        """Waits for a measured frame rate in the caption: the frame loop has drawn 30 frames."""
        return poll("a measured frame rate in the caption", lambda: (self.frame_rate() or 0) > 0, timeout)

    def focus(self):
        # Without a window manager the keyboard follows the pointer: park it over the game.
        x = self.layout.x + self.layout.width // 2
        y = self.layout.y + self.layout.height // 3
        run_tool(["xdotool", "mousemove", str(x), str(y)])
        run_tool(["xdotool", "windowfocus", self.window])

    def key(self, *keys, hold=None):
        """Presses keys one after another, each held long enough for a few frames to see it held."""
        hold = hold if hold is not None else self.key_hold()
        for k in keys:
            run_tool(["xdotool", "keydown", k])
            time.sleep(hold)
            run_tool(["xdotool", "keyup", k])
            time.sleep(0.15)

    def chord(self, keys, hold=None):
        """Holds several keys together (e.g. ctrl+q, or F4 with another key)."""
        hold = hold if hold is not None else self.key_hold()
        run_tool(["xdotool", "keydown", keys])
        time.sleep(hold)
        run_tool(["xdotool", "keyup", keys])

    def key_hold(self):
        """Long enough for the game to see the key held in at least two frames."""
        fps = self.frame_rate() or 0
        return max(key_hold(), min(4.0, 2.5 / fps if fps > 0 else 2.0))

    def press_until(self, key, what, test, tries=4, timeout=20):
        """Presses a key, waiting for its effect on screen; presses again if a slow frame missed it."""
        for attempt in range(tries):
            self.key(key)
            try:
                return self.wait_screen(what, test, timeout)
            except Failure:
                if attempt == tries - 1:
                    raise
                log("no %s yet after %s; pressing again" % (what, key))

    def type_text(self, text):
        run_tool(["xdotool", "type", "--delay", "120", text], timeout=60)

    def click(self, x, y):
        run_tool(["xdotool", "mousemove", str(x), str(y)])
        time.sleep(0.3)
        run_tool(["xdotool", "mousedown", "1"])
        time.sleep(0.2)
        run_tool(["xdotool", "mouseup", "1"])

    def shot(self, label=None):
        shot = Shot.take(None)
        if label:
            shot.save(os.path.join(self.sandbox.root, "%s-%s.ppm" % (self.name, label)))
        return shot

    # What is on screen -----------------------------------------------------------------------

    def menu_shown(self, shot=None):
        shot = shot or self.shot()
        # Six identical picture buttons: the column's brightness repeats every button height.
        sx, sy = self.layout.width / 1280.0, self.layout.height / 960.0
        left = self.layout.x + 0.805 * self.layout.width
        top = self.layout.y + 0.665 * self.layout.height
        return shot.periodicity(left + 5 * sx, left + 16 * sx, top + 2 * sy, top + 278 * sy, 280.0 / 6 * sy) > 2.5

    def highscores_shown(self, shot=None):
        shot = shot or self.shot()
        return shot.region(*self.layout.highscore_names())["yellow"] > 0.04

    def option_boxes(self, shot=None):
        """The options panel's combo boxes found on screen, top to bottom."""
        shot = shot or self.shot()
        cx, cy = self.layout.x + self.layout.width // 2, self.layout.y + self.layout.height // 2
        return shot.light_boxes(cx - 20, cy - 260, cx + 165, cy + 260)

    def options_shown(self, shot=None):
        # Seven boxes: filtering, anisotropy, shadows, details, resolution, full screen, feedback.
        return len(self.option_boxes(shot)) >= 7

    def energy(self, shot=None):
        """Mean saturation of the energy gauge: high while the ship has energy, 0 when it is empty."""
        shot = shot or self.shot()
        return shot.region(*self.layout.energy_bar(), step=1)["sat"]

    def wait_screen(self, what, test, timeout=120):
        def look():
            if not self.running():
                raise Failure("%s exited (%s) while waiting for %s" % (self.name, self.proc.returncode, what))
            return test(self.shot())

        return poll(what, look, timeout, interval=1.0)

    def quit_by_keys(self, timeout=60):
        """Ctrl+Q from anywhere."""
        self.focus()
        self.chord("ctrl+q")
        return self.wait_exit(timeout)


def window_geometry(wid):
    done = run_tool(["xwininfo", "-id", str(wid)])
    if done is None or done.returncode != 0:
        return None
    text = done.stdout.decode()
    values = {}
    for key, pattern in (
        ("x", r"Absolute upper-left X:\s+(-?\d+)"),
        ("y", r"Absolute upper-left Y:\s+(-?\d+)"),
        ("w", r"Width:\s+(\d+)"),
        ("h", r"Height:\s+(\d+)"),
        ("state", r"Map State:\s+(\w+)"),
    ):
        m = re.search(pattern, text)
        if not m:
            return None
        values[key] = m.group(1)
    if values["state"] != "IsViewable":
        return None
    return int(values["x"]), int(values["y"]), int(values["w"]), int(values["h"])


def root_size():
    done = run_tool(["xdotool", "getdisplaygeometry"])
    if done is None or done.returncode != 0:
        raise Failure("no X display (DISPLAY=%r)" % os.environ.get("DISPLAY"))
    w, h = done.stdout.decode().split()
    return int(w), int(h)


def key_hold():
    return float(os.environ.get("ORBITRAX_E2E_KEY_HOLD", "0.8"))


# ---------------------------------------------------------------------------------------------
# Sandbox and test runner


class Sandbox:
    def __init__(self, name):
        self.root = tempfile.mkdtemp(prefix="orbitrax-%s-" % name)
        self.home = os.path.join(self.root, "home")
        self.config = os.path.join(self.root, "config")
        self.runtime = os.path.join(self.root, "runtime")
        for folder in (self.home, self.config, self.runtime):
            os.makedirs(folder)
        os.chmod(self.runtime, 0o700)
        self.store = Store(self.config)
        self.games = []
        self.extra = {}

    def env(self):
        env = dict(os.environ)
        env.update(
            HOME=self.home,
            XDG_CONFIG_HOME=self.config,
            XDG_RUNTIME_DIR=self.runtime,
            LIBGL_ALWAYS_SOFTWARE="1",
        )
        env.setdefault("SDL_AUDIODRIVER", "dummy")
        env.update(self.extra)
        return env

    def game(self, name="game", **kwargs):
        return Game(self, name, **kwargs)

    def cleanup(self, keep):
        for g in self.games:
            if g.running():
                log("killing", g.name, "still running")
                g.kill()
        if keep:
            log("kept", self.root)
        else:
            shutil.rmtree(self.root, ignore_errors=True)


def main(scenarios):
    """Runs the scenario named by argv[1]: exit 0 passed, 1 failed, 77 skipped."""
    if len(sys.argv) < 2 or sys.argv[1] not in scenarios:
        print("usage: %s SCENARIO [BINARY]\nscenarios: %s" % (sys.argv[0], " ".join(sorted(scenarios))))
        return 2
    name = sys.argv[1]
    if not os.environ.get("DISPLAY"):
        print("SKIP: no X display; run under xvfb-run (scripts/test does)")
        return SKIP
    for tool in ("xdotool", "xwininfo", "import"):
        if not shutil.which(tool):
            print("SKIP: %s is not installed (scripts/install-deps installs it)" % tool)
            return SKIP
    # An X server resets itself whenever its last client leaves, and refuses connections meanwhile:
    # keep one connection open for the whole test so that a game quitting cannot cause that.
    keeper = subprocess.Popen(["xdotool", "sleep", "100000"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    sandbox = Sandbox(name)
    ok = False
    try:
        scenarios[name](sandbox)
        ok = True
        log("PASS", name)
        return 0
    except Skip as skip:
        ok = True
        print("SKIP:", skip)
        return SKIP
    except Failure as failure:
        log("FAIL", name + ":", failure)
        for g in sandbox.games:
            log("--- %s exit=%s stdout:\n%s\n--- stderr:\n%s" % (g.name, g.proc.poll(), g.stdout()[-3000:], g.stderr()[-3000:]))
        try:
            Shot.take(None).save(os.path.join(sandbox.root, "failure.ppm"))
        except Failure:
            pass
        return 1
    finally:
        sandbox.cleanup(keep=not ok or os.environ.get("ORBITRAX_E2E_KEEP") == "1")
        keeper.kill()
        keeper.wait()


def send_close_request(wid):
    """Asks a window to close the way a window manager's close button does (WM_DELETE_WINDOW)."""
    import ctypes
    import ctypes.util

    name = ctypes.util.find_library("X11") or "libX11.so.6"
    try:
        xlib = ctypes.CDLL(name)
    except OSError as error:
        raise Skip("libX11 is not loadable: %s" % error)

    class ClientMessage(ctypes.Structure):
        _fields_ = [
            ("type", ctypes.c_int),
            ("serial", ctypes.c_ulong),
            ("send_event", ctypes.c_int),
            ("display", ctypes.c_void_p),
            ("window", ctypes.c_ulong),
            ("message_type", ctypes.c_ulong),
            ("format", ctypes.c_int),
            ("data", ctypes.c_long * 5),
        ]

    class Event(ctypes.Union):
        _fields_ = [("client", ClientMessage), ("pad", ctypes.c_long * 24)]

    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(None)
    if not display:
        raise Failure("cannot open the X display")
    try:
        event = Event()
        event.client.type = 33  # ClientMessage
        event.client.send_event = 1
        event.client.display = display
        event.client.window = int(wid)
        event.client.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.client.format = 32
        event.client.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.client.data[1] = 0  # CurrentTime
        xlib.XSendEvent(display, int(wid), 0, 0, ctypes.byref(event))
        xlib.XFlush(display)
    finally:
        xlib.XCloseDisplay(display)
