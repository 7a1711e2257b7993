#!/usr/bin/env python3
"""End-to-end scenarios: the real game in the X server, driven like a player drives it.

Usage: scenarios.py SCENARIO [BINARY]   (exit 0 pass, 1 fail, 77 skip)
"""

import os
import random
import sys

sys.dont_write_bytecode = True  # no caches in the source tree
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from orbitrax_e2e import (  # noqa: E402
    Failure,
    check,
    log,
    main,
    poll,
    root_size,
    run_tool,
    send_close_request,
    settings_text,
    zero_scores,
)

MENU_TIMEOUT = 240
PLAY_TIMEOUT = 120
EXIT_TIMEOUT = 90

# Rows of the menu's button column.
PLAY, HIGHSCORE, OPTIONS, CREDITS, HELP, QUIT = range(6)


def to_menu(sandbox, name="game", **kwargs):
    game = sandbox.game(name, **kwargs)
    game.find_window(MENU_TIMEOUT)
    game.wait_screen("the game menu", game.menu_shown, MENU_TIMEOUT)
    game.focus()
    return game


def clean_exit(game, sandbox, how):
    code = game.wait_exit(EXIT_TIMEOUT)
    check(code == 0, "%s: exit code %s, expected 0\nstderr: %s" % (how, code, game.stderr()[-2000:]))
    running = sandbox.store.int_value("general", "Running")
    check(running == 0, "%s: general/Running is %r after the exit, expected 0" % (how, running))
    log(how, "-> exit 0, Running=0")


def start_playing(game, by_button=False):
    """Any key in the menu, or the Play button, starts a game; the head-up display's energy gauge shows it."""
    playing = lambda s: game.energy(s) > 35 and not game.menu_shown(s)
    if by_button:
        game.click(*game.layout.menu_button(PLAY))
        game.wait_screen("a game to start after Play", playing, PLAY_TIMEOUT)
    else:
        game.press_until("b", "a game to start", playing, timeout=30)


def die_by_escape(game):
    """Escape blows the ship up: the energy gauge empties."""
    game.press_until("Escape", "the ship to blow up",
                     lambda s: game.energy(s) < 8 or game.menu_shown(s) or game.highscores_shown(s))


def difference(a, b, step=4, threshold=40, rect=None, exclude=None):
    """The fraction of sampled pixels that changed by more than threshold in some channel."""
    check(a.width == b.width and a.height == b.height, "screenshots of different sizes")
    x0, y0, x1, y1 = (int(v) for v in (rect or (0, 0, a.width, a.height)))
    changed = total = 0
    pa, pb = a.pixels, b.pixels
    for y in range(y0, y1, step):
        row = y * a.width * 3
        for x in range(x0, x1, step):
            if exclude and exclude[0] <= x < exclude[2] and exclude[1] <= y < exclude[3]:
                continue
            o = row + x * 3
            total += 1
            if (
                abs(pa[o] - pb[o]) > threshold
                or abs(pa[o + 1] - pb[o + 1]) > threshold
                or abs(pa[o + 2] - pb[o + 2]) > threshold
            ):
                changed += 1
    return changed / total


def crop_difference(a, b, rect, threshold=60):
    x0, y0, x1, y1 = (int(v) for v in rect)
    changed = total = 0
    for y in range(y0, y1):
        for x in range(x0, x1):
            o = (y * a.width + x) * 3
            total += 1
            if max(abs(a.pixels[o + c] - b.pixels[o + c]) for c in range(3)) > threshold:
                changed += 1
    return changed / max(1, total)


# ---------------------------------------------------------------------------------------------


def first_start(sandbox):
    """First start: full screen at the screen size, caption, menu, crash guard set, Quit button."""
    check(not sandbox.store.exists(), "sandbox not empty")
    screen = root_size()
    game = sandbox.game()
    game.find_window(MENU_TIMEOUT)
    layout = game.layout
    check(
        (layout.x, layout.y, layout.width, layout.height) == (0, 0, screen[0], screen[1]),
        "first start: window at %s, expected full screen %dx%d at 0,0"
        % ((layout.x, layout.y, layout.width, layout.height), screen[0], screen[1]),
    )
    caption = game.caption()
    check(caption in ("Torvik Orbitrax",) or (caption or "").startswith("FPS: "), "caption %r" % caption)
    game.wait_frames(MENU_TIMEOUT)
    log("caption", game.caption())
    game.wait_screen("the game menu", game.menu_shown, MENU_TIMEOUT)
    out = game.stdout()
    check("Depth buffer depth : " in out, "no depth-buffer line on stdout: %r" % out)
    check(sandbox.store.int_value("general", "Running") == 1, "general/Running is not 1 while running")
    game.click(*game.layout.menu_button(QUIT))
    clean_exit(game, sandbox, "Quit button")


def quit_keys_and_second_instance(sandbox):
    """A second copy returns 0 at once and leaves the first alone; Ctrl+Q quits the first."""
    game = to_menu(sandbox)
    started = time.monotonic()
    second = sandbox.game("second")
    code = second.wait_exit(60)
    check(code == 0, "second instance: exit code %s, expected 0" % code)
    log("second instance exited 0 after %.1fs" % (time.monotonic() - started))
    check(game.running(), "the first instance ended when the second started")
    check(game.caption() is not None, "the first instance lost its window")
    game.focus()
    game.chord("ctrl+q")
    clean_exit(game, sandbox, "Ctrl+Q")


def close_window(sandbox):
    """The window's close request (what a window manager's close button sends) quits cleanly."""
    game = to_menu(sandbox)
    send_close_request(game.window)
    clean_exit(game, sandbox, "window close")


def play_keys(sandbox):
    """A game played with the keys: fire, bomb, pause, cameras, display toggles, death by Escape."""
    game = to_menu(sandbox)
    start_playing(game)
    started = time.monotonic()
    layout = game.layout
    bombs = layout.bomb_counter()

    game.key("w", hold=2.0)
    before = game.shot("before-bomb")
    game.press_until("x", "the bomb counter to change", lambda s: crop_difference(before, s, bombs) > 0.01)
    log("bomb dropped: counter changed")

    # The start-up shield and its countdown follow the wall clock, also in a pause: let them end.
    while time.monotonic() < started + 17:
        time.sleep(1.0)
    check(game.energy() > 8, "the ship was destroyed before the pause")
    # Pause: the picture stands still.
    game.key("p")
    time.sleep(2.0)
    a = game.shot("paused-a")
    time.sleep(2.0)
    b = game.shot("paused-b")
    # The engine flames flicker at random even in a pause: leave the ship out.
    ship = (layout.x + 0.33 * layout.width, layout.y + 0.68 * layout.height, layout.x + 0.72 * layout.width,
            layout.y + layout.height)
    still = difference(a, b, step=2, exclude=ship)
    log("paused difference %.5f" % still)
    check(still < 0.001, "the game still moves while paused (%.4f of the picture changed)" % still)

    # While paused every change on screen comes from the key pressed.
    for key, what, minimum in (("F2", "top camera", 0.2), ("F1", "chase camera", 0.2), ("d", "frame-rate text", 0.0002),
                               ("s", "shadows off", 0.0), ("f", "exponential fog", 0.005), ("g", "specular off", 0.0)):
        base = game.shot()
        game.key(key)
        if minimum > 0:
            changed = poll(what, lambda: difference(base, game.shot(), step=2, exclude=ship) > minimum and
                           difference(base, game.shot(), step=2, exclude=ship), 30, interval=1.0)
            log("%s: %s changed %.5f of the picture" % (key, what, changed))
        else:
            time.sleep(1.5)
            log("%s: %s changed %.5f of the picture" % (key, what, difference(base, game.shot(), step=2, exclude=ship)))
        check(game.running(), "game ended after %s" % key)

    game.key("c")
    a = game.shot()
    poll("the game to move again after C", lambda: difference(a, game.shot()) > 0.01, 30, interval=1.0)
    log("resumed")
    die_by_escape(game)
    log("ship destroyed")
    # Score 0 earns no place in the default table: back to the menu.
    game.wait_screen("the menu after the game", game.menu_shown, MENU_TIMEOUT)
    check(sandbox.store.high_scores() == [], "a score of 0 was written to the table")
    game.focus()
    game.chord("ctrl+q")
    clean_exit(game, sandbox, "Ctrl+Q after a game")
    # The console hears only the start-up lines; nothing is printed while the game runs.
    allowed = ("Depth buffer depth : ", "Stencil buffer will be used", "No stencil buffer", "SDL initialisation ERROR")
    extra = [line for line in game.stdout().splitlines() if line.strip() and not line.startswith(allowed)]
    check(not extra, "printed while running: %r" % extra)


def high_score(sandbox):
    """A new best score gets a name; the table saves it in its place and keeps the other rows."""
    sandbox.store.write(settings_text(running=0, scores=zero_scores()))
    game = to_menu(sandbox)
    start_playing(game)
    # The cheat code: hundreds with F5, units with F7, tens with F6 (the last F6 completes 213).
    game.key("F5", "F5", "F7", "F7", "F7", "F6")
    game.key("w", hold=3.0)
    die_by_escape(game)
    game.wait_screen("the high-score table for the name", game.highscores_shown, MENU_TIMEOUT)
    time.sleep(1.0)
    game.type_text("Tester")
    game.key("Return", hold=0.3)
    rows = poll("the new name in the settings file",
                lambda: [r for r in sandbox.store.high_scores() if r[1] == "Tester"] and sandbox.store.high_scores(),
                60)
    log("stored table", rows)
    check(rows[0][0] == "1" and rows[0][1] == "Tester", "new best score not stored at place 1: %r" % (rows[0],))
    check(rows[0][2] is not None and rows[0][2].isdigit(), "stored score %r is not a number" % rows[0][2])
    for place in range(2, 11):
        number, player, score = rows[place - 1]
        check(number == str(place), "row %d numbered %r" % (place, number))
        check(player == "Nobody%d" % (place - 1), "row %d holds %r, expected Nobody%d" % (place, player, place - 1))
        check(score == "0", "row %d score %r" % (place, score))
    # The table closes itself 3 seconds after the name and the menu comes back.
    game.wait_screen("the menu after the table", game.menu_shown, MENU_TIMEOUT)
    game.click(*game.layout.menu_button(QUIT))
    clean_exit(game, sandbox, "Quit button after a high score")
    after = sandbox.store.high_scores()
    check(after == rows, "the table changed on exit: %r" % after)
    # Written without a line break, so it reaches the file when the game exits.
    check("CHEATED !!! Bad boy !" in game.stdout(), "the cheat message is missing from stdout")


def centre(box):
    return (box[0] + box[2]) // 2, (box[1] + box[3]) // 2


def option_boxes(game):
    boxes = poll("the options panel's seven boxes", lambda: (lambda b: len(b) >= 7 and b)(game.option_boxes()),
                 MENU_TIMEOUT, interval=1.0)
    return boxes[:7]


def close_options(game):
    """The Close button sits centred under the last box."""
    boxes = option_boxes(game)
    x = game.layout.x + game.layout.width // 2
    y = boxes[-1][3] + (boxes[-1][3] - boxes[-2][3])
    game.click(x, y)


def pick(game, row, moves):
    """Opens a combo box of the options panel and moves the selection (e.g. ["Up"]) then Return."""
    game.click(*centre(option_boxes(game)[row]))
    time.sleep(1.5)
    for move in moves:
        game.key(move, hold=0.2)
    game.key("Return", hold=0.2)
    time.sleep(1.5)


def options(sandbox):
    """Options changed in the panel are saved at once and used on the next start."""
    game = to_menu(sandbox)
    game.click(*game.layout.menu_button(OPTIONS))
    game.wait_screen("the options panel", game.options_shown, MENU_TIMEOUT)
    before = game.shot("options-before")
    found = option_boxes(game)
    boxes = {row: found[row] for row in (0, 2, 3)}
    store = sandbox.store

    pick(game, 0, ["Up"])  # Trilinear -> Bilinear
    poll("Filter=1 saved", lambda: store.int_value("Graphic", "Filter") == 1, 30)
    pick(game, 3, ["Up"])  # High -> Medium
    poll("Details=1 saved", lambda: store.int_value("Graphic", "Details") == 1, 30)
    pick(game, 2, ["Down"])  # On -> Off
    poll("Shadows=0 saved", lambda: store.int_value("Graphic", "Shadows") == 0, 30)
    after = game.shot("options-after")
    for row, rect in boxes.items():
        changed = crop_difference(before, after, rect)
        log("combo %d: %.4f of its pixels changed" % (row, changed))
        check(changed > 0.002, "combo box %d shows no change after picking (%.3f)" % (row, changed))

    # Resolution: the screen offers its own size; picking it rebuilds the video mode and saves it.
    pick(game, 4, [])
    poll("the resolution saved", lambda: store.int_value("Graphic", "Width") is not None, 30)
    check(game.running(), "the game ended after picking a resolution")
    # Full screen off: windowed at the same size.
    pick(game, 5, ["Down"])
    poll("FullScreen=0 saved", lambda: store.int_value("Graphic", "FullScreen") == 0, 60)
    check(game.running(), "the game ended after leaving full screen")
    game.find_window(MENU_TIMEOUT)
    saved = {k: store.int_value("Graphic", k) for k in ("Filter", "Details", "Shadows", "Width", "Height", "FullScreen")}
    log("saved", saved)
    check(saved["Width"] == game.layout.width and saved["Height"] == game.layout.height,
          "saved size %sx%s, window %dx%d" % (saved["Width"], saved["Height"], game.layout.width, game.layout.height))
    game.wait_screen("the options panel after the mode change", game.options_shown, MENU_TIMEOUT)
    close_options(game)
    game.wait_screen("the menu after Close", game.menu_shown, MENU_TIMEOUT)
    game.focus()
    game.chord("ctrl+q")
    clean_exit(game, sandbox, "Ctrl+Q after options")
    for key, value in saved.items():
        check(store.int_value("Graphic", key) == value, "%s changed on exit" % key)

    # Next start: the stored options are in force (the panel shows them) and nothing is reset.
    game = to_menu(sandbox, "second-start")
    check((game.layout.width, game.layout.height) == (saved["Width"], saved["Height"]),
          "second start at %dx%d" % (game.layout.width, game.layout.height))
    game.click(*game.layout.menu_button(OPTIONS))
    game.wait_screen("the options panel on the next start", game.options_shown, MENU_TIMEOUT)
    again = game.shot("options-next-start")
    # The panel is translucent over a moving fly-by, so its pixels only hint at the choices shown (the
    # widget tests check the boxes against the options); the stored values decide here.
    for row, rect in boxes.items():
        same = crop_difference(after, again, rect)
        old = crop_difference(before, again, rect)
        log("combo %d: differs from chosen %.3f, from the old value %.3f" % (row, same, old))
    for key, value in saved.items():
        check(store.int_value("Graphic", key) == value, "%s not kept on the next start" % key)
    close_options(game)
    game.wait_screen("the menu", game.menu_shown, MENU_TIMEOUT)
    game.click(*game.layout.menu_button(QUIT))
    clean_exit(game, sandbox, "Quit button on the next start")
    for key, value in saved.items():
        check(store.int_value("Graphic", key) == value, "%s not kept over the next start" % key)


def screens(sandbox):
    """High-score table, credits and help are shown and closed again; the keys that close a
    screen do not also act in the menu the screen gives back."""
    faults = []
    game = to_menu(sandbox)
    game.click(*game.layout.menu_button(HIGHSCORE))
    game.wait_screen("the high-score table", game.highscores_shown, MENU_TIMEOUT)
    check(sandbox.store.high_scores() == [], "showing the table wrote to the settings")
    game.click(*game.layout.highscore_close())
    game.wait_screen("the menu after the table's Close", game.menu_shown, MENU_TIMEOUT)

    # Credits, closed by a click, then by Escape.
    for closer in ("click", "Escape"):
        menu = game.shot("menu")
        game.click(*game.layout.menu_button(CREDITS))
        game.wait_screen("the credits", lambda s: not game.menu_shown(s) and difference(menu, s) > 0.2, MENU_TIMEOUT)
        time.sleep(2.0)
        game.shot("credits")
        if closer == "click":
            game.click(game.layout.x + game.layout.width // 2, game.layout.y + game.layout.height // 2)
        else:
            game.focus()
            game.key("Escape")
        try:
            game.wait_screen("the menu after the credits (%s)" % closer, game.menu_shown, MENU_TIMEOUT)
        except Failure as failure:
            faults.append("%s on the credits: %s" % (closer, failure))
            if not game.running():
                game = to_menu(sandbox, "restarted-after-credits")

    # Escape leaves the options panel.
    game.click(*game.layout.menu_button(OPTIONS))
    game.wait_screen("the options panel", game.options_shown, MENU_TIMEOUT)
    game.focus()
    game.key("Escape")
    try:
        game.wait_screen("the menu after Escape on the options", lambda s: game.menu_shown(s) and not game.options_shown(s),
                         MENU_TIMEOUT)
    except Failure as failure:
        faults.append("Escape on the options panel: %s" % failure)
        if game.running():
            game.kill()
        game = to_menu(sandbox, "restarted-after-options")

    game.click(*game.layout.menu_button(HELP))

    def help_window():
        done = run_tool(["xdotool", "search", "--onlyvisible", "--name", "Help"])
        ids = done.stdout.decode().split() if done and done.returncode == 0 else []
        return [w for w in ids if w != game.window]

    windows = poll("the help dialog", help_window, MENU_TIMEOUT, interval=1.0)
    game.shot("help")
    log("help dialog", windows)
    run_tool(["xdotool", "windowfocus", windows[0]])
    game.key("Escape")
    poll("the help dialog to close", lambda: not help_window(), 60, interval=1.0)
    check(game.running(), "the game ended with the help dialog")
    game.wait_screen("the menu after help", game.menu_shown, MENU_TIMEOUT)

    # Any key closes the table in viewing mode, and that key is not a key press in the menu.
    for key in ("b", "Escape"):
        game.click(*game.layout.menu_button(HIGHSCORE))
        game.wait_screen("the high-score table", game.highscores_shown, MENU_TIMEOUT)
        game.focus()
        game.key(key)
        try:
            game.wait_screen("the table to close after %s" % key, lambda s: not game.highscores_shown(s), MENU_TIMEOUT)
            time.sleep(3.0)
            if not game.running():
                raise Failure("the game ended")
            if not game.menu_shown():
                raise Failure("no menu: the key started a game")
        except Failure as failure:
            faults.append("%s on the high-score table: %s" % (key, failure))
            if game.running():
                game.kill()
            game = to_menu(sandbox, "restarted-after-" + key)
    game.focus()
    game.chord("ctrl+q")
    clean_exit(game, sandbox, "Ctrl+Q after the screens")
    check(not faults, "; ".join(faults))


def crash_guard(sandbox):
    """Stored options are used after a clean exit; after kill -9 the next start uses the defaults
    and keeps the stored options and high scores untouched."""
    scores = [(i, "Keeper%d" % i, 50000 - 1000 * i) for i in range(1, 11)]
    graphic = {"Filter": 1, "Anisotropic": 2, "Details": 1, "Shadows": 0, "Width": 1024, "Height": 768,
               "FullScreen": 0}
    sandbox.store.write(settings_text(graphic=graphic, running=0, scores=scores))
    stored_scores = sandbox.store.high_scores()
    game = to_menu(sandbox, "stored")
    check((game.layout.width, game.layout.height) == (1024, 768),
          "stored 1024x768 not used: window %dx%d" % (game.layout.width, game.layout.height))
    start_playing(game, by_button=True)
    log("kill -9 in the middle of a game")
    game.proc.kill()
    game.proc.wait(timeout=30)
    check(sandbox.store.int_value("general", "Running") == 1, "Running is not 1 after the kill")

    screen = root_size()
    game = to_menu(sandbox, "after-kill")
    check((game.layout.x, game.layout.y, game.layout.width, game.layout.height) == (0, 0, screen[0], screen[1]),
          "after a crash the window is %s, expected the defaults (full screen %dx%d)"
          % ((game.layout.x, game.layout.y, game.layout.width, game.layout.height), *screen))
    for key, value in graphic.items():
        check(sandbox.store.int_value("Graphic", key) == value, "stored %s changed by the crash guard" % key)
    check(sandbox.store.high_scores() == stored_scores, "high scores changed: %r" % sandbox.store.high_scores())
    game.click(*game.layout.menu_button(HIGHSCORE))
    game.wait_screen("the stored table", game.highscores_shown, MENU_TIMEOUT)
    game.focus()
    game.key("b")
    game.wait_screen("the menu", game.menu_shown, MENU_TIMEOUT)
    game.click(*game.layout.menu_button(QUIT))
    clean_exit(game, sandbox, "Quit button after the crash start")
    check(sandbox.store.high_scores() == stored_scores, "high scores changed after the run")


def long_play(sandbox):
    """A scripted player for ORBITRAX_PLAY_MINUTES (default 1): games with the keys and the pad keys
    in a seeded random order, deaths, names in the table, the options and the credits between
    games; then Ctrl+Q. Made for long runs of a sanitizer build: the game must keep running, exit 0
    and keep every name it was given."""
    minutes = float(os.environ.get("ORBITRAX_PLAY_MINUTES", "1"))
    rng = random.Random(7)
    graphic = {"Width": 1024, "Height": 768, "FullScreen": 0}
    sandbox.store.write(settings_text(graphic=graphic, running=0, scores=zero_scores()))
    game = to_menu(sandbox)
    deadline = time.monotonic() + minutes * 60
    names = []
    rounds = 0
    while time.monotonic() < deadline or rounds == 0:
        rounds += 1
        start_playing(game)
        if rounds == 1:
            game.key("F5", "F5", "F7", "F7", "F7", "F6")
        play_until = time.monotonic() + rng.uniform(20, 40)
        run_tool(["xdotool", "keydown", "w"])
        while time.monotonic() < play_until:
            move = rng.choice(["Left", "Right", "Up", "Down", "x", "p", "F1", "F2", "d", "f", "g", "s", "Left+Up",
                               "Right+Down"])
            if move == "p":
                game.key("p", hold=0.3)
                time.sleep(rng.uniform(0.5, 2.0))
                game.key("c", hold=0.3)
            else:
                game.chord(move, hold=rng.uniform(0.2, 1.5))
            check(game.running(), "the game ended in play (exit code %s)" % game.proc.returncode)
        run_tool(["xdotool", "keyup", "w"])
        # Both cameras and all the toggles end as they started, so the next round sees the same view.
        die_by_escape(game)
        log("round", rounds, "over")

        def after_game(shot):
            return "menu" if game.menu_shown(shot) else "table" if game.highscores_shown(shot) else None

        if poll("the table or the menu after the game", lambda: after_game(game.shot()), MENU_TIMEOUT) == "table":
            time.sleep(1.0)
            name = "Round%d" % rounds
            game.type_text(name)
            game.key("Return", hold=0.3)
            names.append(name)
            game.wait_screen("the menu after the table", game.menu_shown, MENU_TIMEOUT)
        if rounds % 2 == 0:
            game.click(*game.layout.menu_button(OPTIONS))
            game.wait_screen("the options panel", game.options_shown, MENU_TIMEOUT)
            # Filtering, shadows or details (anisotropy would only slow a software renderer down).
            pick(game, rng.choice([0, 2, 3]), [rng.choice(["Up", "Down"])])
            close_options(game)
        else:
            game.click(*game.layout.menu_button(CREDITS))
            time.sleep(5.0)
            game.focus()
            game.key("Escape")
        game.wait_screen("the menu between games", game.menu_shown, MENU_TIMEOUT)
        game.focus()
    log("played", rounds, "rounds; names", names)
    game.chord("ctrl+q")
    clean_exit(game, sandbox, "Ctrl+Q after a long play")
    stored = [row[1] for row in sandbox.store.high_scores()]
    # Ten later names can push an early one out; fewer never can.
    missing = [n for n in names if n not in stored] if len(names) <= 10 else []
    check(not missing, "names given but not in the table: %r (table %r)" % (missing, stored))


SCENARIOS = {
    "first_start": first_start,
    "quit_keys_and_second_instance": quit_keys_and_second_instance,
    "close_window": close_window,
    "play_keys": play_keys,
    "high_score": high_score,
    "options": options,
    "screens": screens,
    "crash_guard": crash_guard,
    "long_play": long_play,
}

if __name__ == "__main__":
    sys.exit(main(SCENARIOS))
