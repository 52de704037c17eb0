"""Hostile files, failing disks, two copies at once and long play: the
program keeps working and loses nothing."""

import os
import shutil
import subprocess
import tempfile

import harness
from harness import (IDM_PLAY, STANDARD_FIGURES, Screen, config_record, decode_record, driver, driver_ok,
                     find_window)
from run_e2e import SetupDialogs, answer_password, press_card, red_cells, uncovered_cells

TRIALS = int(os.environ.get("QUIMBA_FAULT_TRIALS", "3"))
SAVE_FAILED = {"es": "No se ha podido guardar", "en": "The set-up could not be saved"}


class Faults(SetupDialogs):
    def restart_with(self, game, password):
        """The previous configuration still loads: its password opens the program."""
        game.close_process()
        game.start()
        answer_password(game, password)
        self.assertIsNotNone(find_window(game.texts["main"]), "the stored configuration did not load")
        self.assertTrue(game.play_enabled())

    def try_saves(self, game, old_password, expect_stored):
        """Set up with new entries TRIALS times; returns how many configurations were lost."""
        lost = 0
        for trial in range(TRIALS):
            before = game.config_bytes()
            self.fill(game, password=f"nueva{trial}", games=str(trial + 1))
            message = self.accept(game)
            after = game.config_bytes()
            if expect_stored:
                self.assertIsNone(message)
                lost += decode_record(after)["password"] != f"nueva{trial}"
                old_password = f"nueva{trial}"
                driver_ok("command", game.texts["main"], 1003)
                answer_password(game, old_password)
                self.assertIsNotNone(find_window(game.texts["config"]))
            else:
                self.assertIn(SAVE_FAILED[game.edition], message or "")
                lost += after != before or decode_record(after)["password"] != old_password
        return lost, old_password

    def test_failed_saves_lose_nothing(self):
        trials = lost = 0
        # A folder that cannot be written.
        game = self.open_config("es", config_record(STANDARD_FIGURES, "500", "vieja", "", "3"))
        subprocess.run(["chattr", "+i", game.folder], check=True)
        try:
            n, _ = self.try_saves(game, "vieja", expect_stored=False)
        finally:
            subprocess.run(["chattr", "-i", game.folder], check=True)
        trials, lost = trials + TRIALS, lost + n
        self.restart_with(game, "vieja")

        # Another program holds the file open without sharing.
        game = self.open_config("en", config_record(STANDARD_FIGURES, "500", "old", "", "3"))
        holder = subprocess.Popen(["wine", os.path.join(harness.BUILD, "tests", "e2e_driver.exe"), "hold",
                                   game.config_path, "60000"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        holder.stdout.readline()
        try:
            n, _ = self.try_saves(game, "old", expect_stored=False)
        finally:
            holder.kill()
            holder.wait()
        trials, lost = trials + TRIALS, lost + n
        self.restart_with(game, "old")

        # The disk is full.
        mount = tempfile.mkdtemp(prefix="quimba-full-")
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=4m", "tmpfs", mount], check=True)
        try:
            game = self.game("es", config_record(STANDARD_FIGURES, "500", "vieja", "", "3"), folder=mount)
            game.start()
            answer_password(game, "vieja")
            driver_ok("command", game.texts["main"], 1003)
            answer_password(game, "vieja")
            self.assertIsNotNone(find_window(game.texts["config"]))
            subprocess.run(["dd", "if=/dev/zero", f"of={mount}/filler", "bs=4k"], stderr=subprocess.DEVNULL,
                           check=False)
            n, _ = self.try_saves(game, "vieja", expect_stored=False)
            trials, lost = trials + TRIALS, lost + n
            os.remove(f"{mount}/filler")
            self.restart_with(game, "vieja")
            game.close_process()
        finally:
            subprocess.run(["umount", "-l", mount], check=False)
            shutil.rmtree(mount, ignore_errors=True)
        print(f"\nfailed saves: {trials} trials, {lost} configurations lost", flush=True)
        self.assertEqual(lost, 0)

    def test_read_only_hidden_file_is_replaced(self):
        game = self.game("es", config_record(STANDARD_FIGURES, "500", "vieja", "", "3"))
        # Read-only, hidden and system, as another tool may leave it.
        subprocess.run(["wine", "cmd", "/c", "attrib", "+r", "+h", "+s", game.exe.replace(".exe", ".log")
                        .replace("quimba", "miconfig")], capture_output=True, check=False)
        game.start()
        answer_password(game, "vieja")
        driver_ok("command", game.texts["main"], 1003)
        answer_password(game, "vieja")
        self.assertIsNotNone(find_window(game.texts["config"]))
        lost, password = self.try_saves(game, "vieja", expect_stored=True)
        self.assertEqual(lost, 0)
        self.assertEqual(len(game.config_bytes()), 256)

    def test_two_copies_in_one_folder(self):
        folder = tempfile.mkdtemp(prefix="quimba-copies-")
        try:
            program = os.path.join(folder, "config_copies.exe")
            shutil.copy(os.path.join(harness.BUILD, "tests", "config_copies.exe"), program)
            subprocess.run(["wine", program, "save", "1", "A"], check=True, capture_output=True)
            runs = [subprocess.Popen(["wine", program] + args, stdout=subprocess.PIPE)
                    for args in (["save", "300", "A"], ["load", "300"], ["save", "300", "B"], ["load", "300"])]
            results = []
            for run in runs:
                out, _ = run.communicate(timeout=300)
                words = out.decode().split()
                results.append(dict(zip(words[::2], (int(v) for v in words[1::2]))))
                self.assertEqual(run.returncode, 0, results[-1])
            with open(os.path.join(folder, "miconfig.log"), "rb") as f:
                final = f.read()
            self.assertEqual(len(final), 256)
            self.assertEqual(len(decode_record(final)["password"]), 6)
            self.assertEqual(sorted(os.listdir(folder)), ["config_copies.exe", "miconfig.log"])
            loads = sum(r["whole"] for r in results)
            print(f"\ntwo copies: {sum(r['stored'] for r in results)} saves stored, "
                  f"{sum(r['refused'] for r in results)} refused and reported, {loads} loads all whole, "
                  f"{sum(r['unchanged'] for r in results)} loads found the file in use", flush=True)
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    def test_long_play(self):
        game = self.game("es", config_record(STANDARD_FIGURES, "500", "clave", "Premio", "1"))
        game.start()
        answer_password(game, "clave")
        main = game.texts["main"]
        soak = ["soak", main, game.texts["password"], game.texts["config"]]
        game.command(IDM_PLAY)
        press_card(game)  # the first card, won
        first = probe_resources(main)
        # The system's windows and controls fill caches of their own over the first
        # few dozen dialog openings, then hold steady: measure from there.
        driver_ok(*soak, 1000, 100, 30, "clave")
        warm = probe_resources(main)
        presses, plays, setups = (int(v) for v in os.environ.get("QUIMBA_SOAK", "10000 1000 100").split())
        code, _ = driver(*soak, presses, plays, setups, "clave", timeout=1800)
        self.assertEqual(code, 0)
        last = probe_resources(main)
        print(f"\nlong play ({presses} presses, {plays} Play, {setups} Set up): GDI objects {first['gdi']} after "
              f"the first card, {warm['gdi']} after a warm-up of 1000 presses, 100 Play and 30 Set up, {last['gdi']} at the end; private memory "
              f"{first['memory'] // 1024} KiB, {warm['memory'] // 1024} KiB, {last['memory'] // 1024} KiB",
              flush=True)
        # The system's caches add up to about 115 objects in all, most of them
        # during the warm-up but at moments that vary from run to run; one object
        # lost per Set up would add `setups` here, per Play `plays`, per press
        # `presses`.
        self.assertLess(last["gdi"] - warm["gdi"], setups)
        self.assertLess(last["gdi"] - first["gdi"], 150)
        self.assertLess(last["memory"] - warm["memory"], 2 * 1024 * 1024)
        self.assertIsNotNone(find_window(main, 500))

    def test_bad_values_in_a_loaded_configuration(self):
        cases = [
            ("games 0", dict(games="0"), 1), ("games 11", dict(games="11"), 10), ("games 9999", dict(games="9999"), 10),
            ("empty winning figure", dict(winning=""), 3), ("letters", dict(figures=["12ab", "x"] + STANDARD_FIGURES[2:]), 3),
            ("negative-looking", dict(figures=["-5"] + STANDARD_FIGURES[1:], winning="-5"), 3),
            ("zero byte in the comment", dict(comment="Hola\0adios"), 3),
            ("non-ASCII password", dict(password="ñáéíóúÑÁÉÍÓÚ"), 3),
        ]
        for name, entries, games in cases:
            with self.subTest(name):
                values = dict(figures=STANDARD_FIGURES, winning="500", password="clave", comment="ok", games="3")
                values.update(entries)
                game = self.game("en", config_record(values["figures"], values["winning"], values["password"],
                                                     values["comment"], values["games"]))
                game.start()
                answer_password(game, values["password"])
                self.assertIsNotNone(find_window(game.texts["main"]), name)
                origin = game.card_origin()
                game.command(IDM_PLAY)
                if games == 1:
                    press_card(game)
                    self.assertEqual(len(red_cells(Screen(), origin)), 3, name)
                else:
                    press_card(game)  # a losing card: the pause, then a covered card
                    self.assertEqual(uncovered_cells(Screen(), origin), set(), name)
                driver_ok("command", game.texts["main"], 1004)
                self.assertExitsCleanly(game)


def probe_resources(title):
    lines = driver_ok("probe", title, "resources")
    values = {line.split()[0]: int(line.split()[1]) for line in lines if line.startswith(("gdi-free", "private"))}
    # Fewer free places in the handle table means more GDI objects held.
    return {"gdi": 65536 - values["gdi-free"], "memory": values["private-bytes"]}
