"""The card at a display scale of 150 % (144 dpi), as Wine gives it when its screen resolution is set,
against the same card at 100 %."""

from harness import (CARD_BACKGROUND, E2E, answer_password, click_ok, config_record, controls, driver_ok, fields,
                     find_window, ids, save_screenshot, screen_when, set_wine_dpi)


def ink_box(screen, origin, left, top, right, bottom):
    """The smallest box around the pixels that are not the card's background, within a rectangle of
    the card; relative to the card."""
    xs, ys = [], []
    for y in range(top, bottom):
        for x in range(left, right):
            if screen.pixel(origin[0] + x, origin[1] + y) != CARD_BACKGROUND:
                xs.append(x)
                ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None


def card_look(game, origin, dpi):
    """The card control's size and the ink boxes of the top-left and bottom-right stars, once the
    centre star shows its figure at that scale."""
    at = lambda canvas: round(canvas * dpi / 96)
    main = game.texts["main"]
    middle = (at(380), at(200), at(400), at(216))
    screen = screen_when(lambda s: ink_box(s, origin, *middle) not in (None, middle))
    save_screenshot(f"card-{dpi}dpi-es")
    rect = next(c for c in controls(main) if c["id"] == ids.IDC_CARD)["rect"]
    stars = [ink_box(screen, origin, at(x - 12), at(y - 12), at(x + 112), at(y + 112))
             for x, y in ((120, 15), (560, 305))]
    return (rect[2] - rect[0], rect[3] - rect[1]), stars


class Scale(E2E):
    def start(self, dpi):
        """Play at that scale, every figure "5" so that every deal gives the same card, and the centre
        star pressed at its scaled place."""
        game = self.game("es", config_record(["5"] * 10, "5", "secreto", "", "2"))
        origin = game.play()
        driver_ok("press", game.texts["main"], round(390 * dpi / 96), round(210 * dpi / 96))
        return game, origin

    def assertGrown(self, look, scaled_look):
        """The control grew by half, and the stars in it, as the card at 100 % grown."""
        (size, stars), (scaled_size, scaled_stars) = look, scaled_look
        for length, scaled_length in zip(size, scaled_size):
            self.assertAlmostEqual(scaled_length, length * 1.5, delta=2)
        for box, scaled_box in zip(stars, scaled_stars):
            for side, scaled_side in zip(box, scaled_box):
                self.assertAlmostEqual(scaled_side, side * 1.5, delta=2, msg=(box, scaled_box))

    def dialog_fonts(self, game):
        """The heights and weights of the fonts drawn in the configuration dialog's first figure and its
        Accept button, then the dialog cancelled."""
        driver_ok("command", game.texts["main"], ids.IDM_SETUP)
        answer_password(game, "secreto")
        config = game.texts["config"]
        self.assertIsNotNone(find_window(config))
        drawn = {int(w[0]): (int(w[1]), int(w[2])) for w in fields(driver_ok("probe", config), "drawn")}
        driver_ok("click", config, ids.IDC_CONFIG_CANCEL)
        return [drawn[ids.IDC_FIGURE_FIRST], drawn[ids.IDC_CONFIG_ACCEPT]]

    def photocopy(self, game):
        driver_ok("command", game.texts["main"], ids.IDM_PHOTOCOPY)
        click_ok(game.texts["message"])
        with open(game.snapshot_path, "rb") as f:
            return f.read()

    def test_the_card_at_150_percent_is_the_card_at_100_percent_grown(self):
        game, origin = self.start(96)
        look, copy, fonts = card_look(game, origin, 96), self.photocopy(game), self.dialog_fonts(game)
        # Moved to a display of 150 %, the window and the card grow as they would start there.
        driver_ok("dpichanged", game.texts["main"], 144)
        self.assertGrown(look, card_look(game, origin, 144))
        self.assertTrue(self.photocopy(game) == copy, "the photocopy changed with the display")
        game.close()

        set_wine_dpi(144)
        self.addCleanup(set_wine_dpi, 96)
        game, origin = self.start(144)
        self.assertGrown(look, card_look(game, origin, 144))
        # The photocopy is the card at 100 %: the same bytes.
        self.assertTrue(self.photocopy(game) == copy, "the photocopy at 150 % differs from the one at 100 %")
        # The set-up dialog's fonts grow with it, bold as at 100 % (no bitmap face's nearest size).
        for (height, weight), (scaled_height, scaled_weight) in zip(fonts, self.dialog_fonts(game)):
            self.assertAlmostEqual(scaled_height / height, 1.5, delta=0.15, msg=(fonts, height, scaled_height))
            self.assertEqual(scaled_weight, weight)
