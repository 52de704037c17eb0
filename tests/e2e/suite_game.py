"""The card game: a whole series, presses in and out of the cells, the pause."""

import time

from harness import (ALL_CELLS, CARD_BACKGROUND, E2E, GOLD, PAUSE, Screen, card_focused, click_ok, driver_ok,
                     find_window, frame_shown, fresh_card, ids, in_pause, keys, mark_frame, press_cell, read_bmp,
                     red_cells, save_screenshot, screen_when, standard_config, uncovered_cells, xdotool)


class Picture(Screen):
    """A saved card, read as the screen is."""

    def __init__(self, path):
        _, self.pixel = read_bmp(path)


class CardGame(E2E):
    def play_series(self, edition, games):
        game = self.game(edition, standard_config(games=str(games), comment="Enhorabuena, premio!"))
        origin = game.open_with("secreto")
        self.assertTrue(game.play_enabled())
        game.command(ids.IDM_PLAY)
        self.assertTrue(fresh_card(screen_when(lambda s: fresh_card(s, origin)), origin))
        save_screenshot(f"card-covered-{edition}")
        for number in range(1, games + 1):
            for p in range(9):
                press_cell(game, p % 3 + 1, p // 3 + 1)
                if number == 1 and p == 4:
                    half = screen_when(lambda s: len(uncovered_cells(s, origin)) == 5)
                    self.assertEqual(len(uncovered_cells(half, origin)), 5)
                    save_screenshot(f"card-half-{edition}")
            if number < games:
                # After the pause, a covered card of the next game.
                self.assertTrue(fresh_card(screen_when(lambda s: fresh_card(s, origin)), origin), number)
        won = lambda s: len(uncovered_cells(s, origin)) == 9 and len(red_cells(s, origin)) == 3
        screen = screen_when(won)
        self.assertEqual(len(uncovered_cells(screen, origin)), 9)
        self.assertEqual(len(red_cells(screen, origin)), 3)
        self.assertGreater(screen.count(GOLD, origin[0] + 120, origin[1] + 420, origin[0] + 140, origin[1] + 440), 0)
        save_screenshot(f"card-won-{edition}")
        # The finished card no longer reacts.
        press_cell(game, 1, 1)
        self.assertEqual(Screen().raw, screen.raw)
        return game, origin

    def test_whole_series_in_both_editions(self):
        self.play_series("es", 3)
        self.play_series("en", 1)

    def test_press_timing_outside_cells_and_play_mid_card(self):
        game = self.game("es", standard_config(games="10"))
        main = game.texts["main"]
        origin = game.open_with("secreto")
        game.press(300, 200)  # before Play: nothing
        self.assertEqual(uncovered_cells(Screen(), origin), set())
        game.command(ids.IDM_PLAY)
        game.press(50, 60)
        game.press(660, 100)
        game.press(100, 435)
        one = screen_when(lambda s: uncovered_cells(s, origin) == {(1, 1)})
        self.assertEqual(uncovered_cells(one, origin), {(1, 1)})
        game.command(ids.IDM_PLAY)  # a fresh covered card that needs all nine cells again
        self.assertTrue(fresh_card(screen_when(lambda s: fresh_card(s, origin)), origin))
        # The finished card stays in view for the pause, then the next game's covered card follows.
        for p in range(8):
            press_cell(game, p % 3 + 1, p // 3 + 1)
        screen_when(lambda s: len(uncovered_cells(s, origin)) == 8)
        start = time.monotonic()
        press_cell(game, 3, 3)
        self.assertTrue(fresh_card(screen_when(lambda s: fresh_card(s, origin)), origin))
        self.assertGreaterEqual(time.monotonic() - start, PAUSE - 0.1)
        # Alt+F4 during the pause is kept, though the card's own keys typed then are dropped.
        keys(main)
        in_pause(game, origin, lambda: xdotool("key", "alt+F4"))
        self.assertExitsCleanly(game)

    def test_the_program_answers_during_the_pause_and_a_close_ends_it(self):
        for edition in ("es", "en"):
            with self.subTest(edition=edition):
                game = self.game(edition, standard_config(games="10"))
                main = game.texts["main"]
                origin = game.play()
                # Photocopy chosen during the pause ends it first, as its time would: the copy holds the
                # next game's covered card.
                in_pause(game, origin, lambda: (driver_ok("command", main, ids.IDM_PHOTOCOPY),
                                                find_window(game.texts["message"])))
                click_ok(game.texts["message"])
                self.assertTrue(fresh_card(Picture(game.snapshot_path), (0, 0)))
                # A message sent during the pause is answered then, and so is a close, which ends the
                # program at once.
                in_pause(game, origin, lambda: (driver_ok("sync", main), driver_ok("sendclose", main)))
                self.assertExitsCleanly(game)

    def test_a_card_from_the_keyboard(self):
        game = self.game("es", standard_config(games="1"))
        main = game.texts["main"]
        origin = game.play()
        self.assertFalse(frame_shown(screen_when(lambda s: fresh_card(s, origin)), origin, 1, 1))
        # Row by row, turning at the edges, where one more arrow leaves the frame where it is.
        keys(main, "space", "Right", "space", "Right", "space", "Right", "Down", "space", "Left", "space", "Left",
             "space", "Left", "Down", "space", "Right", "space", "Right")
        screen = screen_when(lambda s: len(uncovered_cells(s, origin)) == 8 and frame_shown(s, origin, 3, 3))
        self.assertEqual(uncovered_cells(screen, origin), ALL_CELLS - {(3, 3)})
        self.assertTrue(frame_shown(screen, origin, 3, 3))
        save_screenshot("card-keyboard-es")
        # The frame is on the screen only: the photocopy holds the card without it.
        driver_ok("command", main, ids.IDM_PHOTOCOPY)
        click_ok(game.texts["message"])
        _, pixel = read_bmp(game.snapshot_path)
        self.assertEqual({pixel(x, y) for x, y in mark_frame(3, 3)}, {CARD_BACKGROUND})
        keys(main, "space")
        won = screen_when(lambda s: len(red_cells(s, origin)) == 3)
        self.assertEqual((uncovered_cells(won, origin), len(red_cells(won, origin))), (ALL_CELLS, 3))
        self.assertFalse(frame_shown(won, origin, 3, 3))  # the finished card takes no keys
        keys(main, "Left", "space")
        self.assertEqual(Screen().raw, won.raw)

        game = self.game("en", standard_config(games="2"))
        origin = game.play()
        keys(game.texts["main"], "Return", "Down", "Return", "Right", "Right")
        two = screen_when(lambda s: len(uncovered_cells(s, origin)) == 2 and frame_shown(s, origin, 3, 2))
        self.assertEqual(uncovered_cells(two, origin), {(1, 1), (1, 2)})
        self.assertTrue(frame_shown(two, origin, 3, 2))
        # The frame shows only while the card has the keyboard focus: not while a message box has it, and
        # again once the box has gone.
        driver_ok("command", game.texts["main"], ids.IDM_PHOTOCOPY)
        self.assertIsNotNone(find_window(game.texts["message"]))
        self.assertFalse(card_focused(game.texts["main"]))
        self.assertFalse(frame_shown(screen_when(lambda s: not frame_shown(s, origin, 3, 2)), origin, 3, 2))
        click_ok(game.texts["message"])
        self.assertTrue(frame_shown(screen_when(lambda s: frame_shown(s, origin, 3, 2)), origin, 3, 2))
        # Set up: the card takes no keys until Play again, and shows no frame.
        driver_ok("command", game.texts["main"], ids.IDM_SETUP)
        self.assertFalse(frame_shown(screen_when(lambda s: not frame_shown(s, origin, 3, 2)), origin, 3, 2))
