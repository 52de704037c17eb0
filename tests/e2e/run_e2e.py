"""End-to-end tests: the real programs under Wine on Xvfb, driven from
outside with window messages and real X input, checked on what a person
sees and on what lands on disk."""

import argparse
import importlib
import os
import sys
import time
import unittest

import harness
from harness import (IDM_EXIT, IDM_PHOTOCOPY, IDM_PLAY, IDM_SETUP, CARD_BACKGROUND, STANDARD_FIGURES, Game, Screen, click_ok,
                     config_record, controls, decode_record, dialog_units, driver, driver_ok, find_window, probe,
                     save_screenshot, screen_when, wait_until, window_gone, xdotool)

WS_SYSMENU = 0x00080000
WS_VISIBLE = 0x10000000
WS_CLIPSIBLINGS = 0x04000000  # added by the system to every captioned window
WS_TABSTOP = 0x00010000
WS_EX_CLIENTEDGE = 0x200
RED = (255, 0, 0)
GOLD = (238, 201, 0)
CELL_X = [120, 340, 560]
CELL_Y = [15, 160, 305]


def standard_config(password="secreto", games="3", comment="Enhorabuena!", winning="500"):
    return config_record(STANDARD_FIGURES, winning, password, comment, games)


def cell_uncovered(screen, origin, column, row):
    """An uncovered cell shows its figure in the card colour inside its star."""
    x, y = origin[0] + CELL_X[column - 1], origin[1] + CELL_Y[row - 1]
    ink = screen.count(CARD_BACKGROUND, x + 30, y + 42, x + 70, y + 56)
    return 0 < ink < 41 * 15


ALL_CELLS = {(c, r) for c in (1, 2, 3) for r in (1, 2, 3)}


def uncovered_cells(screen, origin):
    return {cell for cell in ALL_CELLS if cell_uncovered(screen, origin, *cell)}


def covered_cells(screen, origin):
    """Cells that show a star with no figure on it."""
    return {(c, r) for c, r in ALL_CELLS
            if screen.pixel(origin[0] + CELL_X[c - 1] + 50, origin[1] + CELL_Y[r - 1] + 50) != CARD_BACKGROUND
            and not cell_uncovered(screen, origin, c, r)}


def fresh_card(screen, origin):
    return covered_cells(screen, origin) == ALL_CELLS


def press_cell(game, column, row):
    game.press(CELL_X[column - 1] + 50, CELL_Y[row - 1] + 50)


def press_card(game):
    for p in range(9):
        press_cell(game, p % 3 + 1, p // 3 + 1)


def red_cells(screen, origin):
    return {(c, r) for c in (1, 2, 3) for r in (1, 2, 3)
            if screen.count(RED, origin[0] + CELL_X[c - 1] - 5, origin[1] + CELL_Y[r - 1],
                            origin[0] + CELL_X[c - 1] + 100, origin[1] + CELL_Y[r - 1] + 100) > 0}


def answer_password(game, first, second=None, title=None):
    title = title or game.texts["password"]
    assert find_window(title) is not None, "no password dialog"
    driver_ok("settext", title, 1033, first)
    driver_ok("settext", title, 1034, first if second is None else second)
    driver_ok("click", title, 1036)


def alt_f4(title):
    driver_ok("foreground", title)
    time.sleep(0.2)
    xdotool("key", "alt+F4")


class E2E(unittest.TestCase):
    def setUp(self):
        self.games = []

    def tearDown(self):
        for game in self.games:
            game.close()

    def game(self, edition="es", config=None, folder=None):
        """A copy of an edition; the case's earlier copies end first."""
        for earlier in self.games:
            earlier.close_process()
        g = Game(edition, config, folder)
        self.games.append(g)
        return g

    def assertExitsCleanly(self, game):
        self.assertEqual(game.exit_code(), 0)


class Startup(E2E):
    def test_main_window_in_both_editions(self):
        for edition in ("es", "en"):
            with self.subTest(edition=edition):
                game = self.game(edition)
                info = game.start_shown()
                texts = game.texts
                self.assertEqual(info["class"], "#32770")
                self.assertEqual(int(info["style"], 16) & ~(WS_VISIBLE | WS_CLIPSIBLINGS), 0x80C000D4)
                self.assertEqual(int(info["style"], 16) & WS_SYSMENU, 0)
                self.assertEqual(info["owner"], "0")
                # Client area at (40, 98), 529 x 354 dialog units, less the menu bar on top.
                (x, y, w, h), (_, _, cw, ch) = dialog_units((40, 98, 529, 354), (0, 0, 530, 330))
                left, top, width, height = info["client"]
                self.assertEqual((left, width), (x, w))
                self.assertLessEqual(abs(top + height - (y + h)), 2)
                self.assertGreater(top, y + 10)
                card = controls(texts["main"])
                self.assertEqual(len(card), 1)
                self.assertEqual((card[0]["id"], card[0]["style"], card[0]["rect"]), (1001, 0x5000010D, [0, 0, cw, ch]))

                menu = game.menu()
                self.assertEqual([i["text"] for i in menu if i["kind"] == "string"], texts["menu"])
                self.assertEqual([i["id"] for i in menu if i["kind"] == "string"][1:],
                                 [IDM_PLAY, IDM_SETUP, IDM_PHOTOCOPY, IDM_EXIT])
                self.assertEqual([i["kind"] for i in menu if i["depth"] == 1],
                                 ["string", "separator"] * 3 + ["string"])
                self.assertFalse(game.play_enabled())
                self.assertIsNone(find_window(texts["password"], 300))

                screen = wait_until(lambda: Screen().pixel(left + 5, top + 5) == CARD_BACKGROUND and Screen(), 5)
                self.assertTrue(screen, "the card control never showed its dark surface")
                # The card is one unit wider than the client area: its right edge is hidden.
                for px, py in ((5, 5), (400, 300), (width - 1, ch - 1)):
                    self.assertEqual(screen.pixel(left + px, top + py), CARD_BACKGROUND)
                # Below the card, the window's own background.
                self.assertNotEqual(screen.pixel(left + 10, top + height - 3), CARD_BACKGROUND)
                save_screenshot(f"startup-{edition}")

                xdotool("key", "Escape")
                xdotool("key", "Return")
                driver_ok("sync", texts["main"])
                self.assertIsNotNone(find_window(texts["main"], 500))
                alt_f4(texts["main"])
                self.assertExitsCleanly(game)

    def test_exit_and_close_request_end_with_zero(self):
        game = self.game("en")
        game.start_shown()
        driver_ok("command", game.texts["main"], IDM_EXIT)
        self.assertExitsCleanly(game)


class CardGame(E2E):
    def play_series(self, edition, games):
        game = self.game(edition, standard_config(games=str(games), comment="Enhorabuena, premio!"))
        game.start()
        answer_password(game, "secreto")
        self.assertIsNotNone(find_window(game.texts["main"]))
        self.assertTrue(game.play_enabled())
        origin = game.card_origin()
        game.command(IDM_PLAY)
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
        game = self.game("es", standard_config(games="2"))
        game.start()
        answer_password(game, "secreto")
        origin = game.card_origin()
        game.press(300, 200)  # before Play: nothing
        self.assertEqual(uncovered_cells(Screen(), origin), set())
        game.command(IDM_PLAY)
        game.press(50, 60)
        game.press(660, 100)
        game.press(100, 435)
        one = screen_when(lambda s: uncovered_cells(s, origin) == {(1, 1)})
        self.assertEqual(uncovered_cells(one, origin), {(1, 1)})
        game.command(IDM_PLAY)  # a fresh covered card that needs all nine cells again
        self.assertTrue(fresh_card(screen_when(lambda s: fresh_card(s, origin)), origin))
        for p in range(8):
            press_cell(game, p % 3 + 1, p // 3 + 1)
        start = time.time()
        press_cell(game, 3, 3)
        self.assertGreaterEqual(time.time() - start, 1.9)
        self.assertTrue(fresh_card(screen_when(lambda s: fresh_card(s, origin)), origin))


class SetupDialogs(E2E):
    """Opening the configuration dialog, filling it in and accepting it."""

    def open_config(self, edition="es", config=None, folder=None):
        game = self.game(edition, config, folder)
        password = decode_record(config[-256:])["password"] if config else ""
        if password:
            game.start()
            answer_password(game, password)
            self.assertIsNotNone(find_window(game.texts["main"]))
        else:
            game.start_shown()
        driver_ok("command", game.texts["main"], IDM_SETUP)
        if password:
            answer_password(game, password)
        self.assertIsNotNone(find_window(game.texts["config"]))
        return game

    def fill(self, game, figures=STANDARD_FIGURES, winning="500", comment="", games="3", password="clave"):
        title = game.texts["config"]
        for k, figure in enumerate(figures):
            driver_ok("settext", title, 1007 + k, figure)
        driver_ok("settext", title, 1018, winning)
        driver_ok("settext", title, 1020, comment)
        driver_ok("settext", title, 1022, games)
        driver_ok("settext", title, 1025, password)

    def accept(self, game):
        """Presses Accept; returns the message box text, or None when the dialog closed."""
        title = game.texts["config"]
        driver_ok("click", title, 1032)
        box = wait_until(lambda: find_window(game.texts["message"], 100) or
                         (find_window(title, 50) is None and "closed"), timeout=10)
        if box == "closed":
            return None
        text = next(c["text"] for c in controls(game.texts["message"]) if c["class"] == "Static" and c["text"])
        click_ok(game.texts["message"])
        return text


class Dialogs(SetupDialogs):
    PASSWORD_LAYOUT = [
        (1033, "Edit", (38, 25, 85, 15)), (1034, "Edit", (39, 50, 85, 15)),
        (1035, "Static", (5, 5, 160, 15)), (1036, "Button", (5, 90, 50, 15)),
    ]
    CONFIG_LAYOUT = (
        [(1005, "Static", (5, 5, 280, 15)), (1006, "Static", (5, 20, 280, 20))]
        + [(1007 + k, "Edit", (5 if k < 5 else 40, 50 + (k % 5) * 15, 35, 15)) for k in range(10)]
        + [(1017, "Static", (85, 50, 180, 15)), (1018, "Edit", (85, 65, 35, 15)),
           (1019, "Static", (85, 90, 180, 20)), (1020, "Edit", (85, 110, 175, 45)),
           (1021, "Static", (5, 160, 275, 20)), (1022, "Edit", (5, 185, 20, 15)),
           (1023, "Static", (5, 210, 275, 15)), (1025, "Edit", (5, 225, 85, 15)),
           (1031, "Button", (5, 255, 50, 15)), (1032, "Button", (235, 255, 50, 15))])
    CONFIG_TEXTS = {
        "es": {1005: "En esta pagina configuraremos nuestro quimba ...",
               1006: "Introduzca 10 cifras de dinero con un valor cada una de ellas de max 9999 y min 1 . "
                     "No repita las cifras ...",
               1017: "Escribe aquí la cifra ganadora ....",
               1019: "Escribe aquí comentario sorpresa para la persona (no es obligatorio) ...",
               1021: "Indica nº de partidas hasta llegar al premio verdadero (max. 10) ...",
               1023: "Contraseña (max. 12 caracteres) :", 1031: "Cancelar", 1032: "Aceptar"},
        "en": {1005: "On this page we will configure our glimter card ...",
               1006: "Enter 10 money figures with a value each of max. 9999 and min. 1. Do not repeat the "
                     "figures ...",
               1017: "Type the winning money here ....",
               1019: "Type a surprise comment for the person here (not mandatory) ...",
               1021: "Indicates number of games until reaching the true prize (max. 10) ...",
               1023: "Password (max. 12 characters) :", 1031: "Cancel", 1032: "Accept"},
    }

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
                found = self.check_layout(title, self.PASSWORD_LAYOUT, {1035: label, 1036: button})
                self.assertTrue(found[1033]["masked"] and found[1034]["masked"])
                _, fonts = probe(title)
                self.assertEqual(fonts[1033], (12, 400, "Consolas"))
                self.assertEqual(fonts[1035], (9, 700, "Consolas"))
                self.assertEqual(fonts[1036], (10, 700, "MS Sans Serif"))
                screen = Screen()
                x, y = info["client"][0:2]
                self.assertEqual(screen.pixel(x + 2, y + 2), (0, 0, 0))
                self.assertGreater(screen.count((0, 255, 0), x, y, x + 200, y + 25), 0)
                save_screenshot(f"password-{edition}")

                # Refused: different case, empty pair, a leading blank, the last of the twelve.
                for first, second in (("abcdefghijkl", "Abcdefghijkl"), ("", ""), (" Abcdefghijkl", "Abcdefghijkl"),
                                      ("AbcdefghijkX", "Abcdefghijkl")):
                    answer_password(game, first, second, title)
                    self.assertEqual(driver("sync", title)[0], 0, f"{(first, second)} closed the dialog")
                # 13 characters against the same 12 and another: accepted as the 12.
                answer_password(game, "Abcdefghijklm", "AbcdefghijklX", title)
                self.assertIsNotNone(find_window(game.texts["main"]))
                self.assertTrue(game.play_enabled())
                driver_ok("command", game.texts["main"], IDM_EXIT)
                self.assertExitsCleanly(game)

    def test_wrong_or_no_password_ends_the_program(self):
        game = self.game("es", standard_config())
        game.start()
        answer_password(game, "otra")
        self.assertExitsCleanly(game)
        game = self.game("en", standard_config())
        game.start()
        self.assertIsNotNone(find_window(game.texts["password"]))
        alt_f4(game.texts["password"])
        self.assertExitsCleanly(game)

    def test_setup_needs_a_password_typed_in_that_opening(self):
        game = self.game("es", standard_config())
        game.start()
        answer_password(game, "secreto")
        main = game.texts["main"]
        self.assertIsNotNone(find_window(main))
        driver_ok("command", main, IDM_SETUP)
        self.assertIsNotNone(find_window(game.texts["password"]))
        alt_f4(game.texts["password"])
        self.assertTrue(window_gone(game.texts["password"]))
        driver_ok("sync", main)
        self.assertIsNone(find_window(game.texts["config"], 500))
        # The right password in the first field, refused, then closed: it counts.
        driver_ok("command", main, IDM_SETUP)
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
                self.assertTrue(found[1025]["masked"])
                self.assertTrue(found[1020]["style"] & 0x4)  # multi-line
                self.assertTrue(all(found[i]["style"] & 0x2000 for i in list(range(1007, 1017)) + [1018, 1022]))
                _, fonts = probe(title)
                self.assertEqual(fonts[1005], (9, 700, "Consolas"))
                self.assertEqual(fonts[1007], (12, 700, "MS Sans Serif"))
                self.assertEqual(fonts[1020], (12, 400, "Consolas"))
                self.assertEqual(fonts[1031], (10, 700, "MS Sans Serif"))
                screen = Screen()
                x, y = info["client"][0:2]
                self.assertEqual(screen.pixel(x + 2, y + 2), (0, 0, 0))
                self.assertGreater(screen.count((0, 255, 0), x, y, x + 300, y + 25), 0)
                save_screenshot(f"config-{edition}")
                # First run: accepting the empty dialog is refused.
                message = {"es": "Rellena los datos importantes !!!^|Gracias !!",
                           "en": "Fill in important information !!!^|Thank you !!"}[edition]
                self.assertEqual(self.accept(game), message)

    def test_each_check_of_the_entries(self):
        game = self.open_config("en")
        refused = "Fill in important information !!!^|Thank you !!"
        cases = [
            (dict(games="0"), False), (dict(games="11"), False), (dict(password=""), False),
            (dict(winning=""), False), (dict(winning="777"), False),
            (dict(figures=[""] + STANDARD_FIGURES[1:], winning="10"), False),
            (dict(winning="0050", figures=STANDARD_FIGURES[:3] + ["50"] + STANDARD_FIGURES[4:]), True),
            (dict(figures=["10"] * 10, winning="10"), True), (dict(figures=["0"] + STANDARD_FIGURES[1:]), True),
            (dict(games="01"), True), (dict(games="10"), True),
        ]
        for entries, passes in cases:
            with self.subTest(entries=entries):
                if find_window(game.texts["config"], 200) is None:
                    driver_ok("command", game.texts["main"], IDM_SETUP)
                    password = decode_record(game.config_bytes())["password"]
                    answer_password(game, password)
                    self.assertIsNotNone(find_window(game.texts["config"]))
                before = game.config_bytes() if os.path.exists(game.config_path) else b""
                self.fill(game, **entries)
                result = self.accept(game)
                if passes:
                    self.assertIsNone(result)
                    stored = game.config_bytes()
                    self.assertEqual(len(stored), 256)
                    expected = dict(figures=STANDARD_FIGURES, winning="500", games="3", password="clave")
                    expected.update(entries)
                    decoded = decode_record(stored)
                    self.assertEqual(decoded["figures"], expected["figures"])
                    self.assertEqual(decoded["winning"], expected["winning"])
                    self.assertEqual(decoded["games"], expected["games"])
                    self.assertTrue(game.play_enabled())
                else:
                    self.assertEqual(result, refused)
                    self.assertEqual(game.config_bytes() if os.path.exists(game.config_path) else b"", before)

    def test_refused_then_cancel_and_long_comment(self):
        game = self.open_config("es", standard_config(password="clave"))
        before = game.config_bytes()
        # Refused for the empty password: one game, every figure 7.
        self.fill(game, figures=["7"] * 10, winning="7", games="1", password="")
        self.assertIsNotNone(self.accept(game))
        driver_ok("click", game.texts["config"], 1031)
        self.assertTrue(window_gone(game.texts["config"]))
        self.assertEqual(game.config_bytes(), before)
        # The refused entries are live until the next Set up: the first card wins.
        origin = game.card_origin()
        game.command(IDM_PLAY)
        press_card(game)
        self.assertEqual(len(red_cells(screen_when(lambda s: len(red_cells(s, origin)) == 3), origin)), 3)

        driver_ok("command", game.texts["main"], IDM_SETUP)
        answer_password(game, "clave")
        self.assertIsNotNone(find_window(game.texts["config"]))
        found = {c["id"]: c["text"] for c in controls(game.texts["config"])}
        self.assertEqual(found[1022], "3")  # the stored configuration, read again
        self.fill(game, comment="x" * 90, password="Clave nueva 123")
        self.assertIsNone(self.accept(game))
        decoded = decode_record(game.config_bytes())
        self.assertEqual(decoded["comment"], "x" * 81)
        self.assertEqual(decoded["password"], "Clave nueva ")


SUITES = {"startup": "Startup", "game": "CardGame", "dialogs": "Dialogs", "program": "program_flows.Program",
          "faults": "fault_flows.Faults"}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--programs", help="the folder with both editions and the test programs")
    parser.add_argument("--suite", choices=SUITES)
    parser.add_argument("--list", action="store_true", help="print the suites' names")
    parser.add_argument("tests", nargs="*")
    args = parser.parse_args()
    if args.list:
        print(" ".join(SUITES))
        return
    harness.PROGRAMS = args.programs
    module, _, name = SUITES[args.suite].rpartition(".")
    case = getattr(importlib.import_module(module) if module else sys.modules[__name__], name)
    suite = unittest.TestLoader().loadTestsFromTestCase(case)
    if args.tests:
        suite = unittest.TestSuite(t for t in suite if any(name in t.id() for name in args.tests))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
