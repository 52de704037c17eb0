"""Takes the README's pictures from the real programs: the covered card, a
half-uncovered card, the won card, a card played from the keyboard, the
password dialog and the filled-in configuration dialog, in both editions,
each cropped to its window and made small enough for a page; and a card and
the two set-up dialogs at a display scale of 150 %, at their own size.

    screenshots.py PROGRAMS-FOLDER OUT-FOLDER
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

import harness  # noqa: E402
from harness import (Game, answer_password, driver_ok, find_window, frame_shown, fresh_card, ids, keys,  # noqa: E402
                     press_cell, red_cells, screen_when, set_wine_dpi, standard_config, uncovered_cells)

WIDTH = 640  # pixels across, for every picture


def keep(screen, title, path, width=WIDTH):
    """The window of that title, cut out of the screen and scaled down to that width."""
    x, y, w, h = find_window(title)["window"]
    subprocess.run(["convert", "-size", f"{screen.width}x{screen.height}", "-depth", "8", "rgb:-",
                    "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-resize", f"{min(width, w)}x",
                    "-colors", "256", "-strip", f"png8:{path}"], input=screen.raw, check=True)


def painted(title):
    """A screenshot once the dialog's black background is on screen."""
    x, y = find_window(title)["client"][0:2]
    return screen_when(lambda s: s.pixel(x + 2, y + 2) == (0, 0, 0))


def take(edition, out):
    comment = {"es": "¡Enhorabuena, el premio es tuyo!", "en": "Well done, the prize is yours!"}[edition]
    game = Game(edition, standard_config(password="secreto", games="1", comment=comment))
    try:
        game.start()
        answer_password(game, "secreto")
        main = game.texts["main"]
        origin = game.card_origin()
        game.command(ids.IDM_PLAY)
        keep(screen_when(lambda s: fresh_card(s, origin)), main, f"{out}/card-covered-{edition}.png")
        for p in range(5):
            press_cell(game, p % 3 + 1, p // 3 + 1)
        keep(screen_when(lambda s: len(uncovered_cells(s, origin)) == 5), main, f"{out}/card-half-{edition}.png")
        for p in range(5, 9):
            press_cell(game, p % 3 + 1, p // 3 + 1)
        keep(screen_when(lambda s: len(red_cells(s, origin)) == 3), main, f"{out}/card-won-{edition}.png")

        take_setup(game, out, edition)
    finally:
        game.close()


def take_keyboard(edition, out):
    """Two stars uncovered from the keyboard, the frame on a third."""
    game = Game(edition, standard_config(password="secreto", games="1"))
    try:
        origin = game.play()
        main = game.texts["main"]
        keys(main, "space", "Right", "space", "Down")
        keep(screen_when(lambda s: frame_shown(s, origin, 2, 2) and len(uncovered_cells(s, origin)) == 2), main,
             f"{out}/card-keyboard-{edition}.png")
    finally:
        game.close()


def take_setup(game, out, suffix, width=WIDTH):
    """The password dialog, filled in, and the configuration dialog it opens, that the standard set-up fills."""
    main = game.texts["main"]
    driver_ok("command", main, ids.IDM_SETUP)
    password = game.texts["password"]
    for field in (ids.IDC_PASSWORD_ENTRY, ids.IDC_PASSWORD_CONFIRM):
        driver_ok("settext", password, field, "secreto")
    driver_ok("sync", password)
    keep(painted(password), password, f"{out}/password-{suffix}.png", width)
    driver_ok("click", password, ids.IDC_PASSWORD_ACCEPT)
    config = game.texts["config"]
    keep(painted(config), config, f"{out}/config-{suffix}.png", width)


def take_scaled(out):
    """Four stars uncovered at 150 % (144 dpi), then the set-up dialogs, the pictures at their own size."""
    set_wine_dpi(144)
    game = Game("es", standard_config(password="secreto", games="1"))
    try:
        game.play()
        for column, row in ((1, 1), (2, 1), (2, 2), (3, 3)):
            x, y = harness.cell_centre(column, row)
            game.press(x * 3 // 2, y * 3 // 2)  # handled, and painted, when it returns
        keep(harness.Screen(), game.texts["main"], f"{out}/card-150-es.png", 10000)
        take_setup(game, out, "150-es", 10000)
    finally:
        game.close()
        set_wine_dpi(96)


def main():
    harness.PROGRAMS, out = sys.argv[1:3]
    os.makedirs(out, exist_ok=True)
    for edition in ("es", "en"):
        take(edition, out)
        take_keyboard(edition, out)
    take_scaled(out)


if __name__ == "__main__":
    main()
