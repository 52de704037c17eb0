"""The windows at display scales of 150 % and 200 % (144 and 192 dpi), as Wine gives them when its screen
resolution is set, against the same windows at 100 %; and a window told it moved to a display of
another scale, as Windows tells it."""

from harness import (CARD_BACKGROUND, E2E, Screen, answer_password, click_ok, config_record, controls, driver_ok,
                     fields, find_window, ids, probe, probe_resources, resources, save_screenshot, screen_when,
                     set_wine_dpi, standard_config)


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


def sizes(game):
    """The main window's size and its client area's."""
    found = find_window(game.texts["main"])
    assert found, f"no main window; the program {'runs' if game.process.poll() is None else 'has ended'}"
    return found["window"][2:], found["client"][2:]


def told_moved(title, dpi):
    """A window told it moved to a display of that scale: the lines of the probe that followed, the
    place suggested and the size it answered it would take there, as [left, top, width, height]."""
    lines = driver_ok("dpichanged", title, dpi)
    return lines, [int(v) for v in fields(lines, "suggested-place")[0] + fields(lines, "scaled-size")[0]]


def moved(game, dpi):
    """The main window told it moved to a display of that scale: the place suggested with the size it
    answered, and the place and size it took."""
    return told_moved(game.texts["main"], dpi)[1], find_window(game.texts["main"])["window"]


class Scale(E2E):
    def start(self, dpi):
        """Play at that scale, every figure "5" so that every deal gives the same card, and the centre
        star pressed at its scaled place."""
        game = self.game("es", config_record(["5"] * 10, "5", "secreto", "", "2"))
        origin = game.play()
        driver_ok("press", game.texts["main"], round(390 * dpi / 96), round(210 * dpi / 96))
        return game, origin

    def assertGrown(self, look, scaled_look, scale):
        """The control grew in proportion, and the stars in it, as the card at 100 % grown."""
        (size, stars), (scaled_size, scaled_stars) = look, scaled_look
        for length, scaled_length in zip(size, scaled_size):
            self.assertAlmostEqual(scaled_length, length * scale, delta=2)
        for box, scaled_box in zip(stars, scaled_stars):
            for side, scaled_side in zip(box, scaled_box):
                self.assertAlmostEqual(scaled_side, side * scale, delta=2, msg=(box, scaled_box))

    def open_setup(self, game):
        driver_ok("command", game.texts["main"], ids.IDM_SETUP)
        answer_password(game, "secreto")
        self.assertIsNotNone(find_window(game.texts["config"]))
        return game.texts["config"]

    def config_dialog(self, game):
        """The heights and weights of the fonts drawn in the configuration dialog's first figure and its
        Accept button, and its client area's size; then the dialog cancelled."""
        config = self.open_setup(game)
        drawn = {int(w[0]): (int(w[1]), int(w[2])) for w in fields(driver_ok("probe", config), "drawn")}
        client = find_window(config)["client"][2:]
        driver_ok("click", config, ids.IDC_CONFIG_CANCEL)
        return [drawn[ids.IDC_FIGURE_FIRST], drawn[ids.IDC_CONFIG_ACCEPT]], client

    def assertDialogsScale(self, game, dpis, opened_dpi=96):
        """Set up's two dialogs, twelve characters typed into the password's fields and refused, then the
        configuration dialog over the stored set-up, opened at that scale, told they moved to displays of
        those scales (None: as they opened): each takes the place suggested and the size it answered for
        the scale, its controls their size as they opened grown in proportion, in fonts made again for
        the scale, and every text fits its box. (Their frames stay at the system's scale under Wine,
        so their client areas are not those of the scale.)"""
        driver_ok("command", game.texts["main"], ids.IDM_SETUP)
        answer_password(game, "Abcdefghijkl", "Abcdefghijkm")
        for title in (game.texts["password"], game.texts["config"]):
            self.assertIsNotNone(find_window(title))
            opened, (_, fonts) = controls(title), probe(title)
            for dpi in dpis:
                lines, answered = told_moved(title, dpi) if dpi else (driver_ok("probe", title), None)
                scale = (dpi or opened_dpi) / opened_dpi
                fits = fields(lines, "fit")
                self.assertEqual((len(fits), [w for w in fits if w[1] != "1"]), (len(opened), []),
                                 f"{title} at {dpi} dpi: id, fits, needed, room")
                if dpi:
                    self.assertEqual(find_window(title)["window"], answered, (title, dpi))
                for control, now in zip(opened, controls(title)):
                    for side, scaled_side in zip(control["rect"], now["rect"]):
                        self.assertAlmostEqual(scaled_side, side * scale, delta=2, msg=(title, dpi, control["id"]))
                for id, (points, _, _) in probe(title)[1].items():
                    self.assertAlmostEqual(points, fonts[id][0] * scale, delta=1, msg=(title, dpi, id))
            if title == game.texts["password"]:
                answer_password(game, "secreto")
        driver_ok("click", game.texts["config"], ids.IDC_CONFIG_CANCEL)

    def photocopy(self, game):
        driver_ok("command", game.texts["main"], ids.IDM_PHOTOCOPY)
        click_ok(game.texts["message"])
        with open(game.snapshot_path, "rb") as f:
            return f.read()

    def test_each_window_at_150_and_200_percent_is_as_at_100_percent_grown(self):
        game, origin = self.start(96)
        look, copy, (fonts, dialog) = card_look(game, origin, 96), self.photocopy(game), self.config_dialog(game)
        window, client = sizes(game)
        icons = game.icons()
        # Told it moved to a display of another scale, the window takes the place suggested there and
        # the size it answered it would, its icons and the card grow in proportion; back at 100 % it is
        # as it started.
        moves = {dpi: moved(game, dpi) for dpi in (192, 144)}
        for dpi, (answered, taken) in moves.items():
            self.assertEqual(taken, answered, dpi)
        self.assertEqual(game.icons(), {k: [round(v * 1.5) for v in size] for k, size in icons.items()})
        self.assertGrown(look, card_look(game, game.card_origin(), 144), 1.5)
        self.assertTrue(self.photocopy(game) == copy, "the photocopy changed with the display")
        self.assertEqual(moved(game, 96)[1][2:], window)
        self.assertEqual(game.icons(), icons)
        game.close()

        self.addCleanup(set_wine_dpi, 96)
        for dpi in (144, 192):
            set_wine_dpi(dpi)
            scale = dpi / 96
            game, origin = self.start(dpi)
            scaled_window, scaled_client = sizes(game)
            # It lies on the screen, moved there where it grew past it, its top left first.
            screen, place = Screen(), find_window(game.texts["main"])["window"]
            for at, length, room in zip(place[:2], place[2:], (screen.width, screen.height)):
                self.assertTrue(at == 0 if length > room else 0 <= at <= room - length, (dpi, place))
            # Started there, the window has the size it takes when moved there, and its client area
            # (under the menu bar) is the one at 100 % grown in proportion; its icons too.
            self.assertEqual(scaled_window, moves[dpi][0][2:], dpi)
            for length, scaled_length in zip(client, scaled_client):
                self.assertAlmostEqual(scaled_length, length * scale, delta=2, msg=(dpi, client, scaled_client))
            self.assertEqual(game.icons(), {k: [round(v * scale) for v in size] for k, size in icons.items()})
            # (At 200 % the card reaches past the test's screen.)
            if dpi == 144:
                self.assertGrown(look, card_look(game, origin, dpi), scale)
            # The photocopy is the card at 100 %: the same bytes.
            self.assertTrue(self.photocopy(game) == copy, f"the photocopy at {dpi} dpi differs from the one at 100 %")
            # The set-up dialog grows in proportion, its fonts with it, bold as at 100 % (no bitmap
            # face's nearest size).
            scaled_fonts, scaled_dialog = self.config_dialog(game)
            for length, scaled_length in zip(dialog, scaled_dialog):
                self.assertAlmostEqual(scaled_length, length * scale, delta=2, msg=(dpi, dialog, scaled_dialog))
            for (height, weight), (scaled_height, scaled_weight) in zip(fonts, scaled_fonts):
                self.assertAlmostEqual(scaled_height / height, scale, delta=0.15, msg=(fonts, height, scaled_height))
                self.assertEqual(scaled_weight, weight)
            # Opening the set-up dialogs there holds no GDI object: one lost at each opening would add
            # 24 a step.
            soak = ["soak", game.texts["main"], game.texts["password"], game.texts["config"], 12, 12, 12, "secreto",
                    dpi]
            self.assertFlat(lambda: (driver_ok(*soak, timeout=600), probe_resources(game.texts["main"]))[1],
                            f"12 openings of Set up's two dialogs at {dpi} dpi a step")
            # Started there, the set-up dialogs show whole what the family types, there and moved to a
            # display at 100 %, where they, and the window, are as on a system at 100 %.
            self.assertDialogsScale(game, [None, 96], dpi)
            self.assertEqual(moved(game, 96)[1][2:], window)

    def test_set_up_dialogs_moved_to_each_scale(self):
        for edition in ("es", "en"):
            game = self.game(edition, standard_config(password="secreto"))
            game.open_with("secreto")
            self.assertDialogsScale(game, [120, 144, 168, 192, 96])

    def assertFlat(self, step, what):
        """A first step fills the system's caches; over two more the GDI objects hold, and the memory in one
        of the two at least: Wine's heap takes a block of a few MB at a moment that varies, while a leak
        grows in both."""
        readings = [step() for _ in range(3)]
        print(f"\n{what}: GDI objects {[r['gdi'] for r in readings]}, private memory "
              f"{[r['memory'] // 1024 for r in readings]} KiB", flush=True)
        growth = lambda key: [b[key] - a[key] for a, b in zip(readings, readings[1:])]
        self.assertLess(max(growth("gdi")), 10, what)
        self.assertLess(min(growth("memory")), 4 * 1024 * 1024, what)

    def test_gdi_objects_and_memory_flat_across_changes_of_scale(self):
        # An object lost at each change (a font, an icon, a picture) or press would add 50 or 250 a step,
        # and a picture of the card at 150 % lost at each change 165 MB.
        game = self.game("es", standard_config(password="secreto", games="3"))
        game.play()
        main = game.texts["main"]
        changes = lambda title: lambda: resources(driver_ok("dpichanged", title, 144, 50, "resources"))
        self.assertFlat(changes(main), "50 changes of scale a step")
        # 250 presses at 150 % a step over 25 cards, none of them ending in the pause.
        soak = ["soak", main, game.texts["password"], game.texts["config"], 250, 25, 0, "secreto", 144]
        self.assertFlat(lambda: (driver_ok(*soak, timeout=600), probe_resources(main))[1],
                        "250 presses at 150 % a step")
        driver_ok("command", main, ids.IDM_SETUP)
        answer_password(game, "secreto")
        self.assertIsNotNone(find_window(game.texts["config"]))
        self.assertFlat(changes(game.texts["config"]), "the configuration dialog's 50 changes of scale a step")
