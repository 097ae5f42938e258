#!/usr/bin/env python3
"""Makes the demo characters' pictures, cursors and (with --sounds) sounds under
characters/: Hopper and Walker. The pictures are drawn with Cairo (python3-cairo), the
cursors with Python's standard library; the sounds need sox and espeak-ng. All of it
comes with `bash scripts/install-deps.sh generator`; run it with the system's Python
(/usr/bin/python3), which is where the Debian package puts Cairo. The repository keeps
what this writes, so the build never needs it: run it again to restyle the characters."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "chargen"))

try:
    import cairo  # noqa: F401,E402
except ImportError:
    sys.exit("make_characters: no Cairo for this Python; run `bash scripts/install-deps.sh generator` "
             "and use /usr/bin/python3")

import cursor_art  # noqa: E402
import hopper_art  # noqa: E402
import walker_art  # noqa: E402
from cursor_files import write_ani, write_cur  # noqa: E402
from paint import write_png  # noqa: E402


def main():
    root = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "characters")
    images = os.path.join(root, "Hopper", "Images")
    write_png(os.path.join(images, "hopper.png"), hopper_art.draw_sheet())
    write_png(os.path.join(images, "notes.png"), hopper_art.draw_notes())
    write_png(os.path.join(images, "question.png"), hopper_art.draw_question())
    write_png(os.path.join(images, "clock.png"), hopper_art.draw_clock())
    write_png(os.path.join(images, "balloon.png"), hopper_art.draw_balloon())
    cursors = os.path.join(root, "Hopper", "Cursors")
    write_cur(os.path.join(cursors, "arrow.cur"), *cursor_art.arrow(hopper_art.BODY))
    write_cur(os.path.join(cursors, "paw.cur"), *cursor_art.paw(hopper_art.BODY))
    write_cur(os.path.join(cursors, "no.cur"), *cursor_art.forbidden())
    write_cur(os.path.join(cursors, "note.cur"), *cursor_art.music_note((120, 90, 220)))
    frames, hotspot = cursor_art.beating_heart()
    write_ani(os.path.join(cursors, "heart.ani"), frames, hotspot, 8)

    images = os.path.join(root, "Walker", "Images")
    write_png(os.path.join(images, "walker.png"), walker_art.draw_sheet())
    write_png(os.path.join(images, "sweat.png"), walker_art.draw_sweat())
    write_png(os.path.join(images, "riceball.png"), walker_art.draw_riceball())
    write_png(os.path.join(images, "star.png"), walker_art.draw_star())
    write_png(os.path.join(images, "balloon.png"), walker_art.draw_balloon())
    cursors = os.path.join(root, "Walker", "Cursors")
    write_cur(os.path.join(cursors, "arrow.cur"), *cursor_art.arrow(walker_art.BODY))
    write_cur(os.path.join(cursors, "no.cur"), *cursor_art.forbidden())
    write_cur(os.path.join(cursors, "paw.cur"), *cursor_art.paw(walker_art.BODY))

    if "--sounds" in sys.argv[1:]:
        import sounds
        sounds.make_all(root)


if __name__ == "__main__":
    main()
