"""The whole program from its menu, as a user would go through it."""

import os
import subprocess

from harness import (CARD_BACKGROUND, E2E, STANDARD_FIGURES, alt_f4, answer_password, assert_unwritable,
                     cell_centre, cell_x, cell_y, click_ok, controls, decode_record, driver_ok, find_window,
                     fresh_card, ids, needs_permissions, press_card, press_cell, read_bmp, red_cells,
                     save_screenshot, screen_when, standard_config, uncovered_cells, window_gone, xdotool)


# Menu positions, from the menu bar's top-left: a person clicks where the
# items are drawn.
MENU_BAR = (30, -9)
MENU_ITEMS = {ids.IDM_PLAY: 12, ids.IDM_SETUP: 38, ids.IDM_PHOTOCOPY: 64, ids.IDM_EXIT: 89}


def click(x, y):
    xdotool("mousemove", x, y, "click", 1)


def choose(game, command_id):
    """Chooses a menu item with the mouse."""
    left, top = game.card_origin()
    click(left + MENU_BAR[0], top + MENU_BAR[1])
    driver_ok("popup", "shown")
    click(left + MENU_BAR[0] + 10, top + MENU_ITEMS[command_id])
    driver_ok("popup", "gone")


def click_control(title, control_id):
    window = find_window(title)
    rect = next(c["rect"] for c in controls(title) if c["id"] == control_id)
    click(window["client"][0] + rect[0] + rect[2] // 2, window["client"][1] + rect[1] + rect[3] // 2)


def type_text(text):
    xdotool("type", "--delay", "20", text)


def count_windows(title):
    return int(driver_ok("count", title)[0].split()[1])


def snapshot_uncovered(pixel):
    cells = set()
    for c in (1, 2, 3):
        for r in (1, 2, 3):
            x, y = cell_x(c), cell_y(r)
            ink = sum(1 for yy in range(y + 42, y + 57) for xx in range(x + 30, x + 71)
                      if pixel(xx, yy) == CARD_BACKGROUND)
            if 0 < ink < 41 * 15:
                cells.add((c, r))
    return cells


class Program(E2E):
    def test_first_start_without_file_and_with_an_empty_file(self):
        for edition, config in (("es", None), ("en", b"")):
            with self.subTest(edition=edition):
                game = self.game(edition, config)
                game.start_shown()
                self.assertFalse(game.play_enabled())
                self.assertEqual(count_windows(game.texts["password"]), 0)
                driver_ok("command", game.texts["main"], ids.IDM_EXIT)
                self.assertExitsCleanly(game)

    def test_set_up_restart_play_and_photocopy_with_real_input(self):
        game = self.game("es")
        game.start_shown()
        main, config = game.texts["main"], game.texts["config"]
        choose(game, ids.IDM_SETUP)
        self.assertIsNotNone(find_window(config))
        self.assertEqual(os.path.getsize(game.config_path), 0)  # created empty by the first Set up
        click_control(config, ids.IDC_FIGURE_FIRST)
        for figure in STANDARD_FIGURES + ["500"]:
            type_text(figure)
            xdotool("key", "Tab")
        type_text("Para ti, con cariño")
        xdotool("key", "Tab")
        type_text("2")
        xdotool("key", "Tab")
        type_text("Llave 2026")
        save_screenshot("real-input-config")
        click_control(config, ids.IDC_CONFIG_ACCEPT)
        self.assertTrue(window_gone(config))
        stored = game.config_bytes()
        self.assertEqual(len(stored), 256)
        self.assertEqual(decode_record(stored), {"figures": STANDARD_FIGURES, "winning": "500",
                                                 "password": "Llave 2026", "comment": "Para ti, con cariño",
                                                 "games": "2"})
        self.assertTrue(game.play_enabled())
        choose(game, ids.IDM_EXIT)
        self.assertExitsCleanly(game)

        # The next start asks for the password before anything else.
        game.start()
        password = game.texts["password"]
        self.assertIsNotNone(find_window(password))
        self.assertEqual(count_windows(main), 0)
        click_control(password, ids.IDC_PASSWORD_ENTRY)
        type_text("Llave 2026")
        xdotool("key", "Tab")
        type_text("Llave 2026")
        click_control(password, ids.IDC_PASSWORD_ACCEPT)
        self.assertIsNotNone(find_window(main))
        self.assertTrue(game.play_enabled())
        origin = game.card_origin()
        choose(game, ids.IDM_PLAY)
        for column, row in ((1, 1), (2, 2), (3, 3)):
            x, y = cell_centre(column, row)
            click(origin[0] + x, origin[1] + y)
        driver_ok("sync", main)
        screen = screen_when(lambda s: len(uncovered_cells(s, origin)) == 3)
        self.assertEqual(uncovered_cells(screen, origin), {(1, 1), (2, 2), (3, 3)})
        save_screenshot("real-input-card")

        choose(game, ids.IDM_PHOTOCOPY)
        self.assertIsNotNone(find_window(game.texts["message"]))
        texts = [c["text"] for c in controls(game.texts["message"]) if c["class"] == "Static"]
        self.assertIn("Grabado a bitmap ...", texts)
        xdotool("key", "Return")
        self.assertTrue(window_gone(game.texts["message"]))
        # A reader the project did not write agrees on the format.
        identify = subprocess.run(["identify", "-format", "%w %h %[type] %z", game.snapshot_path],
                                  capture_output=True, text=True, check=True).stdout
        self.assertTrue(identify.startswith("790 470"), identify)
        bmp_pixel = subprocess.run(["convert", game.snapshot_path, "-format", "%[pixel:p{5,5}]", "info:"],
                                   capture_output=True, text=True, check=True).stdout
        self.assertIn("29,30,25", bmp_pixel.replace(" ", ""))
        data, pixel = read_bmp(game.snapshot_path)
        self.assertEqual(len(data), 1114894)
        self.assertEqual(snapshot_uncovered(pixel), {(1, 1), (2, 2), (3, 3)})
        alt_f4(main)
        self.assertExitsCleanly(game)

    def test_series_play_again_and_set_up_in_the_middle(self):
        game = self.game("en", standard_config(games="3"))
        main = game.texts["main"]
        origin = game.play()
        press_card(game)  # game 1 lost
        # Set up in the middle of the series, cancelled: the series goes on at game 2.
        driver_ok("command", main, ids.IDM_SETUP)
        answer_password(game, "secreto")
        self.assertIsNotNone(find_window(game.texts["config"]))
        # A second Set up while its dialogs are open does nothing.
        driver_ok("command", main, ids.IDM_SETUP)
        driver_ok("sync", main)
        self.assertEqual(count_windows(game.texts["config"]), 1)
        self.assertEqual(count_windows(game.texts["password"]), 0)
        driver_ok("click", game.texts["config"], ids.IDC_CONFIG_CANCEL)
        self.assertTrue(window_gone(game.texts["config"]))
        game.command(ids.IDM_PLAY)
        press_card(game)  # game 2 lost: a fresh card follows
        self.assertTrue(fresh_card(screen_when(lambda s: fresh_card(s, origin)), origin))
        press_card(game)  # game 3 won
        self.assertEqual(len(red_cells(screen_when(lambda s: len(red_cells(s, origin)) == 3), origin)), 3)
        # Play again starts at game 1: a losing card.
        game.command(ids.IDM_PLAY)
        press_card(game)
        self.assertTrue(fresh_card(screen_when(lambda s: fresh_card(s, origin)), origin))

    def test_set_up_deactivates_the_card_and_exit_while_a_dialog_is_open(self):
        game = self.game("es", standard_config())
        main = game.texts["main"]
        origin = game.play()
        press_cell(game, 3, 1)
        driver_ok("command", main, ids.IDM_SETUP)
        self.assertIsNotNone(find_window(game.texts["password"]))
        self.assertEqual(count_windows(main), 1)
        game.press(*cell_centre(3, 2))  # the card no longer reacts
        # Column 3 lies clear of the dialog.
        column3 = lambda s: {cell for cell in uncovered_cells(s, origin) if cell[0] == 3}
        self.assertEqual(column3(screen_when(lambda s: (3, 1) in column3(s))), {(3, 1)})
        driver_ok("command", main, ids.IDM_EXIT)
        self.assertTrue(window_gone(main))
        self.assertIsNone(game.exit_code(timeout=1))  # still inside the dialog
        alt_f4(game.texts["password"])
        self.assertExitsCleanly(game)

    def test_photocopy_before_play_twice(self):
        game = self.game("en")
        game.start_shown()
        main, message = game.texts["main"], game.texts["message"]
        for attempt in range(2):
            driver_ok("command", main, ids.IDM_PHOTOCOPY)
            self.assertIsNotNone(find_window(message), attempt)
            self.assertIn("Save to bitmap ...", [c["text"] for c in controls(message)])
            click_ok(message)
            data, pixel = read_bmp(game.snapshot_path)
            self.assertEqual(len(data), 1114894)
            # Before the first card the canvas holds the card's dark surface.
            self.assertEqual({pixel(x, y) for x in (0, 400, 789) for y in (0, 235, 469)}, {CARD_BACKGROUND})
            if attempt == 0:
                with open(game.snapshot_path, "ab") as f:
                    f.write(b"\xAB" * 5000)  # an older, longer file
        driver_ok("command", main, ids.IDM_EXIT)
        self.assertExitsCleanly(game)

    @needs_permissions
    def test_photocopy_into_a_locked_folder(self):
        game = self.game("en")
        game.start_shown()
        main = game.texts["main"]
        os.chmod(game.folder, 0o555)
        try:
            assert_unwritable(game.folder)
            driver_ok("command", main, ids.IDM_PHOTOCOPY)
            driver_ok("sync", main)
            self.assertIsNone(find_window(game.texts["message"], 1000))
            self.assertFalse(os.path.exists(game.snapshot_path))
        finally:
            os.chmod(game.folder, 0o755)
        driver_ok("command", main, ids.IDM_EXIT)
        self.assertExitsCleanly(game)
