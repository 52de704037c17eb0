"""The start of both editions: the main window, its menu and the dark card."""

import os
import shutil
import tempfile

from harness import (CARD_BACKGROUND, E2E, WS_CLIPSIBLINGS, WS_SYSMENU, WS_VISIBLE, alt_f4, answer_password, click_ok,
                     controls, dialog_units, driver_ok, find_window, ids, save_screenshot, screen_when,
                     standard_config, window_gone, xdotool)

ASM_V1, ASM_V3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"


class Startup(E2E):
    def test_main_window_in_both_editions(self):
        for edition in ("es", "en"):
            with self.subTest(edition=edition):
                game = self.game(edition)
                info = game.start_shown()
                texts = game.texts
                # The manifest names this build's processor, as 64-bit Windows demands of a 64-bit program
                # (Wine does not), and asks for no elevation; the common controls it binds are version 6: the
                # one library loaded comes from that assembly.
                manifest, libraries = game.common_controls()
                self.assertEqual(manifest.find(ASM_V1 + "assemblyIdentity").get("processorArchitecture"),
                                 {"win32": "x86", "win64": "amd64"}[os.environ.get("WINEARCH", "win32")])
                self.assertEqual(manifest.find(f".//{ASM_V3}requestedExecutionLevel").attrib,
                                 {"level": "asInvoker", "uiAccess": "false"})
                # It declares per-monitor awareness of the display scale, version 2 first, with the forms
                # that older Windows reads as fallbacks.
                settings = manifest.find(f".//{ASM_V3}windowsSettings")
                self.assertEqual([(child.tag.split("}")[1], child.text) for child in settings],
                                 [("dpiAware", "true/pm"), ("dpiAwareness", "PerMonitorV2, PerMonitor")])
                self.assertEqual(len(libraries), 1, libraries)
                self.assertRegex(libraries[0].lower(),
                                 r"\\winsxs\\[a-z0-9]+_microsoft\.windows\.common-controls_6595b64144ccf1df_6\.")
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
                self.assertEqual((card[0]["id"], card[0]["style"], card[0]["rect"]),
                                 (ids.IDC_CARD, 0x5000010D, [0, 0, cw, ch]))

                menu = game.menu()
                self.assertEqual([i["text"] for i in menu if i["kind"] == "string"], texts["menu"])
                self.assertEqual([i["id"] for i in menu if i["kind"] == "string"][1:],
                                 [ids.IDM_PLAY, ids.IDM_SETUP, ids.IDM_PHOTOCOPY, ids.IDM_EXIT])
                self.assertEqual([i["kind"] for i in menu if i["depth"] == 1],
                                 ["string", "separator"] * 3 + ["string"])
                self.assertFalse(game.play_enabled())
                self.assertEqual(game.icons(), {"small": [16, 16], "big": [32, 32]})
                self.assertIsNone(find_window(texts["password"], 300))

                screen = screen_when(lambda s: s.pixel(left + 5, top + 5) == CARD_BACKGROUND)
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
        # A close sent by another program, too, answered at once while the program waits for input.
        for verb, argument in (("command", ids.IDM_EXIT), ("close", None), ("sendclose", None)):
            game = self.game("en")
            game.start_shown()
            driver_ok(verb, game.texts["main"], *([argument] if argument else []))
            self.assertExitsCleanly(game)

    def test_a_close_sent_under_the_password_dialog_ends_the_program_as_it_closes(self):
        # The window goes at once; the right password then opens no set-up, and the program ends.
        game = self.game("en", standard_config())
        texts = game.texts
        game.open_with("secreto")
        driver_ok("command", texts["main"], ids.IDM_SETUP)
        self.assertIsNotNone(find_window(texts["password"]))
        driver_ok("sendclose", texts["main"])
        self.assertTrue(window_gone(texts["main"]))
        answer_password(game, "secreto")
        self.assertExitsCleanly(game)
        self.assertIsNone(find_window(texts["config"], 500))

    def test_files_beside_a_program_whose_path_passes_260_characters(self):
        top = tempfile.mkdtemp(prefix="quimba-e2e-")
        self.addCleanup(shutil.rmtree, top, True)
        folder = os.path.join(top, *["carpeta del juego de la familia"] * 9)
        os.makedirs(folder)
        game = self.game("es", standard_config(), folder)
        self.assertGreater(len(game.exe), 260)
        game.open_with("secreto")  # the password stored beside it is asked for
        driver_ok("command", game.texts["main"], ids.IDM_PHOTOCOPY)
        click_ok(game.texts["message"])
        self.assertEqual(os.path.getsize(game.snapshot_path), 1114894)
