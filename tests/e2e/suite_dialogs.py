"""The password and configuration dialogs: layout, texts, fonts and what they accept."""

from harness import (STANDARD_FIGURES, SetupDialogs, WS_EX_CLIENTEDGE, WS_SYSMENU, WS_TABSTOP, alt_f4,
                     answer_password, controls, decode_record, dialog_units, driver, driver_ok, find_window,
                     ids, press_card, probe, red_cells, save_screenshot, screen_when, standard_config,
                     window_gone)


ES_MULTILINE, ES_NUMBER = 0x4, 0x2000


class Dialogs(SetupDialogs):
    PASSWORD_LAYOUT = [
        (ids.IDC_PASSWORD_ENTRY, "Edit", (38, 25, 85, 15)),
        (ids.IDC_PASSWORD_CONFIRM, "Edit", (39, 50, 85, 15)),
        (ids.IDC_PASSWORD_LABEL, "Static", (5, 5, 160, 15)),
        (ids.IDC_PASSWORD_ACCEPT, "Button", (5, 90, 50, 15)),
    ]
    CONFIG_LAYOUT = (
        [(ids.IDC_CONFIG_INTRO, "Static", (5, 5, 280, 15)),
         (ids.IDC_CONFIG_FIGURES_LABEL, "Static", (5, 20, 280, 20))]
        + [(ids.IDC_FIGURE_FIRST + k, "Edit", (5 if k < 5 else 40, 50 + (k % 5) * 15, 35, 15)) for k in range(10)]
        + [(ids.IDC_WINNING_LABEL, "Static", (85, 50, 180, 15)),
           (ids.IDC_WINNING_FIGURE, "Edit", (85, 65, 35, 15)),
           (ids.IDC_COMMENT_LABEL, "Static", (85, 90, 180, 20)),
           (ids.IDC_COMMENT, "Edit", (85, 110, 175, 45)),
           (ids.IDC_GAMES_LABEL, "Static", (5, 160, 275, 20)),
           (ids.IDC_GAMES, "Edit", (5, 185, 20, 15)),
           (ids.IDC_CONFIG_PASSWORD_LABEL, "Static", (5, 210, 275, 15)),
           (ids.IDC_CONFIG_PASSWORD, "Edit", (5, 225, 85, 15)),
           (ids.IDC_CONFIG_CANCEL, "Button", (5, 255, 50, 15)),
           (ids.IDC_CONFIG_ACCEPT, "Button", (235, 255, 50, 15))])
    CONFIG_TEXTS = {
        "es": {ids.IDC_CONFIG_INTRO: "En esta pagina configuraremos nuestro quimba ...",
               ids.IDC_CONFIG_FIGURES_LABEL: "Introduzca 10 cifras de dinero con un valor cada una de ellas de "
                                             "max 9999 y min 1 . No repita las cifras ...",
               ids.IDC_WINNING_LABEL: "Escribe aquí la cifra ganadora ....",
               ids.IDC_COMMENT_LABEL: "Escribe aquí comentario sorpresa para la persona (no es obligatorio) ...",
               ids.IDC_GAMES_LABEL: "Indica nº de partidas hasta llegar al premio verdadero (max. 10) ...",
               ids.IDC_CONFIG_PASSWORD_LABEL: "Contraseña (max. 12 caracteres) :",
               ids.IDC_CONFIG_CANCEL: "Cancelar", ids.IDC_CONFIG_ACCEPT: "Aceptar"},
        "en": {ids.IDC_CONFIG_INTRO: "On this page we will configure our glimter card ...",
               ids.IDC_CONFIG_FIGURES_LABEL: "Enter 10 money figures with a value each of max. 9999 and min. 1. "
                                             "Do not repeat the figures ...",
               ids.IDC_WINNING_LABEL: "Type the winning money here ....",
               ids.IDC_COMMENT_LABEL: "Type a surprise comment for the person here (not mandatory) ...",
               ids.IDC_GAMES_LABEL: "Indicates number of games until reaching the true prize (max. 10) ...",
               ids.IDC_CONFIG_PASSWORD_LABEL: "Password (max. 12 characters) :",
               ids.IDC_CONFIG_CANCEL: "Cancel", ids.IDC_CONFIG_ACCEPT: "Accept"},
    }

    VALIDATION = {"es": "Rellena los datos importantes !!!^|Gracias !!",
                  "en": "Fill in important information !!!^|Thank you !!"}

    def check_layout(self, title, layout, texts):
        found = controls(title)
        self.assertEqual([(c["id"], c["class"]) for c in found], [(i, k) for i, k, _ in layout])
        pixels = dialog_units(*[rect for _, _, rect in layout])
        for control, expected in zip(found, pixels):
            self.assertEqual(control["rect"], expected, control["id"])
            tabstop = control["class"] != "Static"
            self.assertEqual(bool(control["style"] & WS_TABSTOP), tabstop, control["id"])
            self.assertEqual(bool(control["exstyle"] & WS_EX_CLIENTEDGE), control["class"] == "Edit", control["id"])
            if control["id"] in texts:
                self.assertEqual(control["text"], texts[control["id"]])
        return {c["id"]: c for c in found}

    def check_look(self, title, info, label_width, fonts):
        """The controls' fonts, and green text on a black dialog."""
        _, found = probe(title)
        for control, font in fonts.items():
            self.assertEqual(found[control], font, control)
        x, y = info["client"][0:2]
        screen = screen_when(lambda s: s.pixel(x + 2, y + 2) == (0, 0, 0))
        self.assertEqual(screen.pixel(x + 2, y + 2), (0, 0, 0))
        self.assertGreater(screen.count((0, 255, 0), x, y, x + label_width, y + 25), 0)

    def test_password_dialog_layout_and_refusals(self):
        for edition in ("es", "en"):
            with self.subTest(edition=edition):
                game = self.game(edition, standard_config(password="Abcdefghijkl"))
                game.start()
                title = game.texts["password"]
                info = find_window(title)
                self.assertIsNotNone(info)
                self.assertEqual(int(info["style"], 16) & WS_SYSMENU, 0)
                self.assertEqual(info["owner"], "0")
                self.assertIsNone(find_window(game.texts["main"], 200))  # shown alone
                label = {"es": "Contraseña (max. 12 caracteres) :", "en": "Password (max. 12 characters) :"}[edition]
                button = {"es": "Aceptar", "en": "Accept"}[edition]
                found = self.check_layout(title, self.PASSWORD_LAYOUT,
                                          {ids.IDC_PASSWORD_LABEL: label, ids.IDC_PASSWORD_ACCEPT: button})
                self.assertTrue(found[ids.IDC_PASSWORD_ENTRY]["masked"] and found[ids.IDC_PASSWORD_CONFIRM]["masked"])
                self.check_look(title, info, 200, {ids.IDC_PASSWORD_ENTRY: (12, 400, "Consolas"),
                                                   ids.IDC_PASSWORD_LABEL: (9, 700, "Consolas"),
                                                   ids.IDC_PASSWORD_ACCEPT: (10, 700, "MS Sans Serif")})
                save_screenshot(f"password-{edition}")

                # Refused: different case, empty pair, no confirmation, a leading blank, the last of the
                # twelve, and a look-alike that the code page would turn into the password itself.
                for first, second in (("abcdefghijkl", "Abcdefghijkl"), ("", ""), ("Abcdefghijkl", ""),
                                      (" Abcdefghijkl", "Abcdefghijkl"), ("AbcdefghijkX", "Abcdefghijkl"),
                                      ("Ābcdefghijkl", "Ābcdefghijkl")):
                    answer_password(game, first, second, title)
                    self.assertEqual(driver("sync", title)[0], 0, f"{(first, second)} closed the dialog")
                # 13 characters against the same 12 and another: accepted as the 12.
                answer_password(game, "Abcdefghijklm", "AbcdefghijklX", title)
                self.assertIsNotNone(find_window(game.texts["main"]))
                self.assertTrue(game.play_enabled())
                driver_ok("command", game.texts["main"], ids.IDM_EXIT)
                self.assertExitsCleanly(game)

    def test_wrong_or_no_password_ends_the_program(self):
        game = self.game("es", standard_config())
        game.start()
        answer_password(game, "SECRETO")
        self.assertExitsCleanly(game)
        game = self.game("en", standard_config())
        game.start()
        self.assertIsNotNone(find_window(game.texts["password"]))
        alt_f4(game.texts["password"])
        self.assertExitsCleanly(game)

    def test_characters_outside_the_code_page_never_open_a_password(self):
        for edition in ("es", "en"):
            with self.subTest(edition=edition):
                # A first set-up refused for its Greek password, then cancelled: Play stays grayed and no
                # password is asked for at the next Set up.
                game = self.open_config(edition)
                self.fill(game, password="Ωμέγα")
                self.assertEqual(self.accept(game), self.VALIDATION[edition])
                driver_ok("click", game.texts["config"], ids.IDC_CONFIG_CANCEL)
                self.assertTrue(window_gone(game.texts["config"]))
                self.assertFalse(game.play_enabled())
                driver_ok("command", game.texts["main"], ids.IDM_SETUP)
                self.assertIsNotNone(find_window(game.texts["config"]))

                # "??" is how an older copy stored a password typed in Greek.
                game = self.game(edition, standard_config(password="??"))
                game.start()
                answer_password(game, "αβ")
                self.assertEqual(driver("sync", game.texts["password"])[0], 0, "Greek opened the program")
                answer_password(game, "??")
                main = game.texts["main"]
                self.assertIsNotNone(find_window(main))
                driver_ok("command", main, ids.IDM_SETUP)
                answer_password(game, "αβ")
                driver_ok("sync", game.texts["password"])
                alt_f4(game.texts["password"])
                self.assertTrue(window_gone(game.texts["password"]))
                driver_ok("sync", main)
                self.assertIsNone(find_window(game.texts["config"], 500))
                # A Greek or a look-alike password is refused and nothing is stored.
                driver_ok("command", main, ids.IDM_SETUP)
                answer_password(game, "??")
                stored = game.config_bytes()
                for password in ("Ωμέγα", "Ābc"):
                    self.fill(game, password=password)
                    self.assertEqual(self.accept(game), self.VALIDATION[edition], password)
                    self.assertEqual(game.config_bytes(), stored)

    def test_setup_needs_a_password_typed_in_that_opening(self):
        game = self.game("es", standard_config())
        game.start()
        answer_password(game, "secreto")
        main = game.texts["main"]
        self.assertIsNotNone(find_window(main))
        # Closed without a password, or answered in other letter case: no set-up.
        for answer in (None, "SECRETO"):
            driver_ok("command", main, ids.IDM_SETUP)
            if answer:
                answer_password(game, answer)
            else:
                alt_f4(game.texts["password"])
            self.assertTrue(window_gone(game.texts["password"]))
            driver_ok("sync", main)
            self.assertIsNone(find_window(game.texts["config"], 500), answer)
        # The right password in the first field, refused, then closed: it counts.
        driver_ok("command", main, ids.IDM_SETUP)
        answer_password(game, "secreto", "different")
        driver_ok("sync", game.texts["password"])
        alt_f4(game.texts["password"])
        self.assertIsNotNone(find_window(game.texts["config"]))

    def test_config_dialog_layout_in_both_editions(self):
        for edition in ("es", "en"):
            with self.subTest(edition=edition):
                game = self.open_config(edition)
                title = game.texts["config"]
                info = find_window(title)
                self.assertEqual(int(info["style"], 16) & WS_SYSMENU, 0)
                found = self.check_layout(title, self.CONFIG_LAYOUT, self.CONFIG_TEXTS[edition])
                self.assertTrue(found[ids.IDC_CONFIG_PASSWORD]["masked"])
                self.assertTrue(found[ids.IDC_COMMENT]["style"] & ES_MULTILINE)
                numbers = list(range(ids.IDC_FIGURE_FIRST, ids.IDC_FIGURE_LAST + 1)) + [ids.IDC_WINNING_FIGURE, ids.IDC_GAMES]
                self.assertTrue(all(found[i]["style"] & ES_NUMBER for i in numbers))
                self.check_look(title, info, 300, {ids.IDC_CONFIG_INTRO: (9, 700, "Consolas"),
                                                   ids.IDC_FIGURE_FIRST: (12, 700, "MS Sans Serif"),
                                                   ids.IDC_COMMENT: (12, 400, "Consolas"),
                                                   ids.IDC_CONFIG_CANCEL: (10, 700, "MS Sans Serif")})
                save_screenshot(f"config-{edition}")
                # First run: accepting the empty dialog is refused.
                self.assertEqual(self.accept(game), self.VALIDATION[edition])

    def test_the_checks_decide_what_is_stored(self):
        # Each check is tested case by case natively; this shows the dialog applies them.
        game = self.open_config("en")
        self.fill(game, games="11")
        self.assertEqual(self.accept(game), self.VALIDATION["en"])
        self.assertEqual(game.config_bytes(), b"")  # as the first Set up made it
        self.assertFalse(game.play_enabled())
        self.fill(game, winning="0050", figures=STANDARD_FIGURES[:3] + ["50"] + STANDARD_FIGURES[4:])
        self.assertIsNone(self.accept(game))
        decoded = decode_record(game.config_bytes())
        self.assertEqual((decoded["winning"], decoded["figures"][3], decoded["password"]), ("0050", "50", "clave"))
        self.assertTrue(game.play_enabled())

    def test_refused_then_cancel_and_long_comment(self):
        game = self.open_config("es", standard_config(password="clave"))
        before = game.config_bytes()
        # Refused for the empty password: one game, every figure 7.
        self.fill(game, figures=["7"] * 10, winning="7", games="1", password="")
        self.assertIsNotNone(self.accept(game))
        driver_ok("click", game.texts["config"], ids.IDC_CONFIG_CANCEL)
        self.assertTrue(window_gone(game.texts["config"]))
        self.assertEqual(game.config_bytes(), before)
        # The refused entries are live until the next Set up: the first card wins.
        origin = game.card_origin()
        game.command(ids.IDM_PLAY)
        press_card(game)
        self.assertEqual(len(red_cells(screen_when(lambda s: len(red_cells(s, origin)) == 3), origin)), 3)

        driver_ok("command", game.texts["main"], ids.IDM_SETUP)
        answer_password(game, "clave")
        self.assertIsNotNone(find_window(game.texts["config"]))
        # The stored configuration, read again: changing one figure keeps the rest, password and comment too.
        found = {c["id"]: c["text"] for c in controls(game.texts["config"])}
        self.assertEqual([found[ids.IDC_FIGURE_FIRST + k] for k in range(10)] +
                         [found[ids.IDC_WINNING_FIGURE], found[ids.IDC_COMMENT], found[ids.IDC_GAMES]],
                         STANDARD_FIGURES + ["500", "Enhorabuena!", "3"])
        driver_ok("settext", game.texts["config"], ids.IDC_FIGURE_FIRST, "6")
        self.assertIsNone(self.accept(game))
        self.assertEqual(decode_record(game.config_bytes()),
                         dict(decode_record(before), figures=["6"] + STANDARD_FIGURES[1:]))
        driver_ok("command", game.texts["main"], ids.IDM_SETUP)
        answer_password(game, "clave")
        self.fill(game, comment="x" * 90, password="Clave nueva 123")
        self.assertIsNone(self.accept(game))
        decoded = decode_record(game.config_bytes())
        self.assertEqual(decoded["comment"], "x" * 81)
        self.assertEqual(decoded["password"], "Clave nueva ")
