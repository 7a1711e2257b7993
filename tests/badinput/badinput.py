#!/usr/bin/env python3
"""Bad input: the real game against damaged data files, settings and high scores.

Every case expects either a clear message with its exit code, or a game that starts, shows its menu
and quits cleanly. Never a crash (a signal), never a hang, never a lost high score.

Usage: badinput.py CASE [BINARY]   (exit 0 pass, 1 fail, 77 skip)
"""

import os
import shutil
import struct
import subprocess
import sys
import time
import zlib

sys.dont_write_bytecode = True  # no caches in the source tree

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

from orbitrax_e2e import Failure, Skip, binary, check, log, main, root_size, settings_text  # noqa: E402

MENU_TIMEOUT = 240
EXIT_TIMEOUT = 120

# ---------------------------------------------------------------------------------------------
# Data folder copies


def resource_source():
    folder = os.environ.get("ORBITRAX_RESOURCE_DIR") or os.path.dirname(binary())
    if not os.path.isdir(os.path.join(folder, "Resources", "textures")):
        raise Failure("no Resources/textures under %r (ORBITRAX_RESOURCE_DIR)" % folder)
    return folder


def copy_resources(sandbox):
    """A private copy of the data folder; the game is pointed at it."""
    target = os.path.join(sandbox.root, "data")
    shutil.copytree(os.path.join(resource_source(), "Resources"), os.path.join(target, "Resources"))
    sandbox.extra["ORBITRAX_RESOURCE_DIR"] = target
    return os.path.join(target, "Resources")


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(width, height, rows, color_type=6, bit_depth=8):
    raw = b"".join(b"\0" + row for row in rows)
    return (
        b"\x89PNG\r\n\x1a\n"
        + png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, color_type, 0, 0, 0))
        + png_chunk(b"IDAT", zlib.compress(raw))
        + png_chunk(b"IEND", b"")
    )


def magick(*args):
    tool = shutil.which("convert")
    if not tool:
        raise Skip("ImageMagick's convert is not installed")
    done = subprocess.run([tool, *args], capture_output=True, timeout=120)
    if done.returncode != 0:
        raise Failure("convert %s failed: %s" % (" ".join(args), done.stderr.decode()))


# ---------------------------------------------------------------------------------------------
# Expectations


def crashed(code):
    return code is None or code < 0 or code >= 128


def expect_exit(sandbox, code, stdout=(), stderr=(), timeout=EXIT_TIMEOUT, name="game"):
    game = sandbox.game(name)
    got = game.wait_exit(timeout)
    out, err = game.stdout(), game.stderr()
    log("exit %s\nstdout: %s\nstderr: %s" % (got, out[-1500:], err[-1500:]))
    check(not crashed(got), "the game crashed (exit status %s)" % got)
    check(got == code, "exit code %s, expected %s" % (got, code))
    for text in stdout:
        check(text in out, "stdout lacks %r" % text)
    for text in stderr:
        check(text in err, "stderr lacks %r" % text)
    return game


def expect_menu(sandbox, during=None, name="game"):
    """The game starts, shows its menu, does what `during` asks, and quits with Ctrl+Q and exit 0."""
    game = sandbox.game(name)
    game.find_window(MENU_TIMEOUT)
    game.wait_screen("the game menu", game.menu_shown, MENU_TIMEOUT)
    game.focus()
    if during:
        during(game)
    game.focus()
    game.chord("ctrl+q")
    got = game.wait_exit(EXIT_TIMEOUT)
    check(not crashed(got), "the game crashed (exit status %s)" % got)
    check(got == 0, "exit code %s after Ctrl+Q, expected 0" % got)
    return game


def play_briefly(game):
    """Starts a game, fires, and lets it run a few seconds, then back to the menu by dying."""
    game.press_until("b", "a game to start", lambda s: game.energy(s) > 35 and not game.menu_shown(s), timeout=30)
    game.key("w", hold=2.0)
    game.press_until("Escape", "the ship to blow up", lambda s: game.energy(s) < 8 or game.menu_shown(s))
    game.wait_screen("the menu after the game", game.menu_shown, MENU_TIMEOUT)


def show_table(game):
    game.click(*game.layout.menu_button(1))
    game.wait_screen("the high-score table", game.highscores_shown, MENU_TIMEOUT)
    game.shot("table")
    game.click(*game.layout.highscore_close())
    game.wait_screen("the menu after the table", game.menu_shown, MENU_TIMEOUT)


def sane_window(game):
    w, h = root_size()
    layout = game.refresh_layout()
    check(200 <= layout.width <= max(w, 16384) and 200 <= layout.height <= max(h, 16384),
          "window %dx%d is not a sane size" % (layout.width, layout.height))
    log("window %dx%d" % (layout.width, layout.height))


# ---------------------------------------------------------------------------------------------
# Textures


def texture_missing(sandbox):
    res = copy_resources(sandbox)
    path = os.path.join(res, "textures", "floor.png")
    os.remove(path)
    expect_exit(sandbox, 12, stdout=["Error while loading '%s'" % path])


def texture_each_missing(sandbox):
    """Every texture the game loads at start-up: without it, its name and exit code 12."""
    res = copy_resources(sandbox)
    folder = os.path.join(res, "textures")
    names = sorted(n for n in os.listdir(folder) if n.endswith(".png"))
    check(len(names) >= 20, "only %d textures in %s" % (len(names), folder))
    wrong = []
    for name in names:
        path = os.path.join(folder, name)
        aside = path + ".aside"
        os.rename(path, aside)
        try:
            game = sandbox.game("without-" + name)
            try:
                code = game.wait_exit(90)
            except Failure:
                game.kill()
                wrong.append("%s: the game ran without it" % name)
                continue
            if code != 12 or ("Error while loading '%s'" % path) not in game.stdout():
                wrong.append("%s: exit %s, stdout %r" % (name, code, game.stdout()[-300:]))
        finally:
            os.rename(aside, path)
    log("%d textures checked" % len(names))
    check(not wrong, "\n".join(wrong))


def texture_empty(sandbox):
    res = copy_resources(sandbox)
    path = os.path.join(res, "textures", "chars.png")
    open(path, "wb").close()
    expect_exit(sandbox, 12, stdout=["not png type %s" % path])


def texture_truncated(sandbox):
    res = copy_resources(sandbox)
    path = os.path.join(res, "textures", "floor.png")
    data = open(path, "rb").read()
    open(path, "wb").write(data[: len(data) // 2])
    expect_exit(sandbox, 12, stdout=["Error while loading '%s'" % path])


def texture_not_png(sandbox):
    res = copy_resources(sandbox)
    path = os.path.join(res, "textures", "myship.png")
    open(path, "wb").write(b"GIF89a this is not a picture the game can read\n" * 20)
    expect_exit(sandbox, 12, stdout=["not png type %s" % path])


def texture_corrupt_middle(sandbox):
    res = copy_resources(sandbox)
    path = os.path.join(res, "textures", "floor.png")
    data = bytearray(open(path, "rb").read())
    middle = len(data) // 2
    for i in range(middle, min(len(data) - 16, middle + 64)):
        data[i] ^= 0x5A
    open(path, "wb").write(bytes(data))
    expect_exit(sandbox, 12, stdout=["Error while loading '%s'" % path])


def texture_huge_header(sandbox):
    res = copy_resources(sandbox)
    path = os.path.join(res, "textures", "galaxy.png")
    row = b"\xff\x00\x00\xff" * 4
    data = bytearray(png_bytes(4, 4, [row] * 4))
    # Claim 100 000 x 100 000 with a valid checksum: the header alone asks for 40 GB.
    ihdr = struct.pack(">IIBBBBB", 100000, 100000, 8, 6, 0, 0, 0)
    data[8:33] = png_chunk(b"IHDR", ihdr)
    open(path, "wb").write(bytes(data))
    expect_exit(sandbox, 12, stdout=["Error while loading '%s'" % path])


def texture_odd_formats(sandbox):
    """Palette, grey, grey with alpha, 16-bit, interlaced and 1x1 pictures all load; the game runs."""
    res = copy_resources(sandbox)
    tex = lambda name: os.path.join(res, "textures", name)
    magick(tex("floor.png"), "-type", "Palette", "PNG8:" + tex("floor.png"))
    magick(tex("floormap.png"), "-colorspace", "Gray", "-type", "Grayscale", "PNG:" + tex("floormap.png"))
    magick(tex("fumee1.png"), "-colorspace", "Gray", "-type", "GrayscaleAlpha", "PNG:" + tex("fumee1.png"))
    magick(tex("myship.png"), "-depth", "16", "PNG64:" + tex("myship.png"))
    magick(tex("space0.png"), "-interlace", "PNG", "PNG32:" + tex("space0.png"))
    with open(tex("mark.png"), "wb") as f:
        f.write(png_bytes(1, 1, [b"\x80\x80\x80\xff"]))
    with open(tex("cube.png"), "wb") as f:  # 16-bit grey, 1 x 1
        f.write(png_bytes(1, 1, [b"\x12\x34"], color_type=0, bit_depth=16))
    game = expect_menu(sandbox, during=play_briefly)
    check("Error" not in game.stdout(), "a texture was refused: %s" % game.stdout())


# ---------------------------------------------------------------------------------------------
# Sound


def samples_bad(sandbox):
    res = copy_resources(sandbox)
    os.remove(os.path.join(res, "samples", "tir.aiff"))
    open(os.path.join(res, "samples", "explode1.aiff"), "wb").write(b"FORM\0\0\0\x04AIFX" + b"\x01" * 300)
    open(os.path.join(res, "samples", "welcome.aiff"), "wb").write(b"this is text, not sound\n")
    game = expect_menu(sandbox, during=play_briefly)
    err = game.stderr()
    for name in ("tir.aiff", "explode1.aiff", "welcome.aiff"):
        check("Could not load sound '%s' , reason: " % name in err, "no message for %s: %s" % (name, err))
    check("Could not load sound 'explode2.aiff'" not in err, "a good sample was refused")


def music_bad(sandbox):
    res = copy_resources(sandbox)
    os.remove(os.path.join(res, "samples", "vorn3.xm"))
    open(os.path.join(res, "samples", "vorn.xm"), "wb").write(os.urandom(4096))
    open(os.path.join(res, "samples", "Rocket.mp3"), "wb").write(b"ID3" + os.urandom(2048))

    def visit(game):
        play_briefly(game)
        game.click(*game.layout.menu_button(3))  # credits: the MP3
        time.sleep(6.0)
        check(game.running(), "the game ended in the credits with a broken MP3")
        # A click ends the credits (a key would also reach the game).
        game.click(game.layout.x + game.layout.width // 2, game.layout.y + game.layout.height // 2)
        game.wait_screen("the menu after the credits", game.menu_shown, MENU_TIMEOUT)

    expect_menu(sandbox, during=visit)


def resources_missing(sandbox):
    empty = os.path.join(sandbox.root, "nothing-here")
    os.makedirs(empty)
    sandbox.extra["ORBITRAX_RESOURCE_DIR"] = empty
    expect_exit(sandbox, 12, stdout=["Error while loading '%s/Resources/textures/" % empty],
                stderr=["Could not load sound 'welcome.aiff' , reason: "])


def no_audio_device(sandbox):
    sandbox.extra["SDL_AUDIODRIVER"] = "nosuchdriver"
    expect_exit(sandbox, 2, stderr=["Couldn't open audio: "])


# ---------------------------------------------------------------------------------------------
# Settings


def settings_bad_numbers(sandbox):
    sandbox.store.write(settings_text(
        graphic={"Width": 0, "Height": -5, "Filter": 7, "Details": 9, "Anisotropic": -1, "Shadows": 2,
                 "FullScreen": 0},
        running=0))
    expect_menu(sandbox, during=lambda g: (sane_window(g), play_briefly(g)))


def settings_huge_and_text(sandbox):
    sandbox.store.write(settings_text(
        graphic={"Width": 100000, "Height": "lots", "Filter": "trilinear", "Details": "high",
                 "Anisotropic": 1000000, "Shadows": "yes", "FullScreen": "maybe"},
        running="no"))
    expect_menu(sandbox, during=sane_window)


def settings_garbage_file(sandbox):
    """A settings file that is not INI at all."""
    os.makedirs(os.path.dirname(sandbox.store.path), exist_ok=True)
    with open(sandbox.store.path, "wb") as f:
        f.write(os.urandom(3000) + b"\n[Graphic\nWidth=\xff\xfe\n=\n[[[\n")
    expect_menu(sandbox, during=sane_window)


def settings_huge_file(sandbox):
    """A 5 MB settings file of junk keys around the real ones: the game starts and keeps them."""
    junk = "".join("junk%d=%s\n" % (i, "x" * 40) for i in range(100000))
    text = settings_text(graphic={"Width": 1024, "Height": 768, "FullScreen": 0}, running=0,
                         scores=[(i, "Keeper%d" % i, 50000 - i) for i in range(1, 11)])
    sandbox.store.write("[Junk]\n" + junk + "\n" + text)
    before = sandbox.store.high_scores()
    expect_menu(sandbox, during=lambda g: check((g.layout.width, g.layout.height) == (1024, 768),
                                                "stored size not used: %dx%d" % (g.layout.width, g.layout.height)))
    check(sandbox.store.high_scores() == before, "high scores changed")


def settings_folder_unwritable(sandbox):
    """The settings folder cannot be made (a file stands in its place): the game still runs."""
    blocker = os.path.join(sandbox.config, "Torvik")
    with open(blocker, "w") as f:
        f.write("not a folder\n")
    expect_menu(sandbox, during=sane_window)
    check(open(blocker).read() == "not a folder\n", "the file in the settings folder's place changed")


# ---------------------------------------------------------------------------------------------
# High scores


def damaged_scores_text():
    rows = []
    for i in range(1, 11):
        rows.append({"number": str(i), "player": "Keeper%d" % i, "score": str(90000 - 1000 * i)})
    del rows[2]["player"]
    del rows[3]["score"]
    del rows[4]["number"]
    rows[5]["score"] = "lots"
    rows[6]["player"] = "N" * 10000
    rows[7]["number"] = "-3"
    rows[8]["score"] = "99999999999999999999"
    lines = ["[HighScores]"]
    for i, row in enumerate(rows, start=1):
        for key, value in row.items():
            lines.append("%d\\%s=%s" % (i, key, value))
    lines.append("size=10")
    lines.append("")
    lines.append("[%General]")
    lines.append("Running=0")
    return "\n".join(lines) + "\n"


def scores_damaged(sandbox):
    sandbox.store.write(damaged_scores_text())
    before = sandbox.store.high_scores()
    expect_menu(sandbox, during=show_table)
    check(sandbox.store.high_scores() == before, "viewing the table changed the stored rows")


def scores_damaged_new_entry(sandbox):
    """A new best score goes into a damaged table: the name is saved in its place and every row
    above and below it survives (only the tenth drops out)."""
    sandbox.store.write(damaged_scores_text())
    before = sandbox.store.high_scores()

    def play(game):
        game.press_until("b", "a game to start", lambda s: game.energy(s) > 35 and not game.menu_shown(s), timeout=30)
        game.press_until("Escape", "the ship to blow up", lambda s: game.energy(s) < 8 or game.highscores_shown(s))
        game.wait_screen("the table asking for a name", game.highscores_shown, MENU_TIMEOUT)
        time.sleep(1.0)
        game.type_text("Fresh")
        game.key("Return", hold=0.3)
        from orbitrax_e2e import poll
        poll("the name in the settings file", lambda: any(r[1] == "Fresh" for r in sandbox.store.high_scores()), 60)
        game.wait_screen("the menu after the table", game.menu_shown, MENU_TIMEOUT)

    expect_menu(sandbox, during=play)
    after = sandbox.store.high_scores()
    log("before", [(n, (p or "")[:12], s) for n, p, s in before])
    log("after ", [(n, (p or "")[:12], s) for n, p, s in after])
    place = [r[1] for r in after].index("Fresh")
    # The unreadable score "lots" of row 6 counts as 0: a score of 0 or more takes its place at the latest.
    check(place <= 5, "the new score went to row %d" % (place + 1))
    for i in range(10):
        old = before[i]
        new = after[i] if i < place else after[i + 1] if i + 1 < 10 else None
        if i + 1 >= 10 and i >= place:
            continue  # the former tenth row drops out
        for k, what in ((1, "player"), (2, "score")):
            if old[k] is not None:
                # A score text too long to be a score is kept by its first digits.
                same = new is not None and (new[k] == old[k] or k == 2 and len(old[k]) > 12 and
                                            old[k].startswith(new[k] or "-"))
                check(same, "row %d lost its %s: %r became %r"
                      % (i + 1, what, old[k][:40], (new[k] or "")[:40] if new else None))
    check(any(r[1] == "N" * 10000 for r in after), "the 10 000-character name was not kept whole")


def scores_many(sandbox):
    lines = ["[HighScores]"]
    for i in range(1, 501):
        lines += ["%d\\number=%d" % (i, i), "%d\\player=Many%d" % (i, i), "%d\\score=%d" % (i, 100000 - i)]
    lines += ["size=500", "", "[%General]", "Running=0", ""]
    sandbox.store.write("\n".join(lines))
    before = sandbox.store.high_scores()
    expect_menu(sandbox, during=show_table)
    check(sandbox.store.high_scores() == before, "the first ten rows changed")
    check("500\\player=Many500" in sandbox.store.text(), "rows beyond the tenth were lost")


def scores_read_only(sandbox):
    sandbox.store.write(settings_text(running=0, scores=[(i, "Keeper%d" % i, 50000 - i) for i in range(1, 11)]))
    before = sandbox.store.high_scores()
    os.chmod(sandbox.store.path, 0o444)
    os.chmod(os.path.dirname(sandbox.store.path), 0o555)
    try:
        expect_menu(sandbox, during=show_table)
    finally:
        os.chmod(os.path.dirname(sandbox.store.path), 0o755)
        os.chmod(sandbox.store.path, 0o644)
    check(sandbox.store.high_scores() == before, "the read-only table changed")


def scores_unreadable(sandbox):
    """The settings file cannot be read (a folder in its place): defaults, and the folder survives."""
    os.makedirs(os.path.join(sandbox.store.path, "keep"))
    expect_menu(sandbox, during=show_table)
    check(os.path.isdir(os.path.join(sandbox.store.path, "keep")), "the folder in the file's place was removed")


CASES = {
    "texture_missing": texture_missing,
    "texture_each_missing": texture_each_missing,
    "texture_empty": texture_empty,
    "texture_truncated": texture_truncated,
    "texture_not_png": texture_not_png,
    "texture_corrupt_middle": texture_corrupt_middle,
    "texture_huge_header": texture_huge_header,
    "texture_odd_formats": texture_odd_formats,
    "samples_bad": samples_bad,
    "music_bad": music_bad,
    "resources_missing": resources_missing,
    "no_audio_device": no_audio_device,
    "settings_bad_numbers": settings_bad_numbers,
    "settings_huge_and_text": settings_huge_and_text,
    "settings_garbage_file": settings_garbage_file,
    "settings_huge_file": settings_huge_file,
    "settings_folder_unwritable": settings_folder_unwritable,
    "scores_damaged": scores_damaged,
    "scores_damaged_new_entry": scores_damaged_new_entry,
    "scores_many": scores_many,
    "scores_read_only": scores_read_only,
    "scores_unreadable": scores_unreadable,
}

if __name__ == "__main__":
    sys.exit(main(CASES))
