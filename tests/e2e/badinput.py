#!/usr/bin/env python3
"""Bad input: the real game against damaged data files: a clear message naming the file, and its exit code.
(The game that runs on a hostile settings store and broken sounds is in game.py.)"""

import struct
import sys
import zlib

sys.dont_write_bytecode = True  # no caches in the source tree

from orbitrax_e2e import *  # noqa: E402,F403 -- the standard modules it imports too


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


if __name__ == "__main__":
    sys.exit(main())
