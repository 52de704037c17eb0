"""What a player hears: the click of each press and the fanfare of the winning
card, recorded at a real sound server (PulseAudio with a null sink, heard
through its monitor) that Wine reaches through its ALSA driver."""

import math
import os
import shutil
import struct
import subprocess
import tempfile
import unittest

from harness import E2E, press_cell, standard_config, wait_until

RATE = 44100
WINDOW = 0.005  # seconds of sound per loudness reading
LOUD = 300  # root mean square of a window that a person hears, of 32767
# Seconds to wait for the sound server, the recording or a sound: bounds on a
# state that only a fault leaves unreached. How fast the recording grows
# depends on the sound server being scheduled, which a busy machine delays.
PATIENCE = 60


def available():
    return all(shutil.which(tool) for tool in ("pulseaudio", "pactl", "parec"))


class SoundServer:
    """A sound server of the test's own, whose one output goes nowhere but
    can be recorded; ended, with everything it started, by close()."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="quimba-sound-")
        self.socket = os.path.join(self.folder, "pulse.sock")
        environment = dict(os.environ, HOME=self.folder, XDG_RUNTIME_DIR=self.folder)
        self.server = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--system=no",
             "--load=module-null-sink sink_name=quimba rate=44100",
             f"--load=module-native-protocol-unix socket={self.socket} auth-anonymous=1"],
            env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.environment = {"PULSE_SERVER": "unix:" + self.socket}
        ready = wait_until(lambda: subprocess.run(["pactl", "info"], env=dict(os.environ, **self.environment),
                                                  capture_output=True).returncode == 0, timeout=PATIENCE)
        assert ready, "the sound server did not start"

    def record(self):
        return Recording(self)

    def close(self):
        self.server.terminate()
        self.server.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


class Recording:
    """What the server's output plays, from now on."""

    def __init__(self, server):
        self.path = os.path.join(server.folder, "recording.raw")
        with open(self.path, "wb"):
            pass
        self.process = subprocess.Popen(
            ["parec", "--device=quimba.monitor", "--format=s16le", f"--rate={RATE}", "--channels=1", "--raw",
             "--latency-msec=10", self.path], env=dict(os.environ, **server.environment),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        assert wait_until(lambda: self.now() > 0.1, timeout=PATIENCE), "nothing is being recorded"

    def now(self):
        """Seconds recorded so far."""
        return os.path.getsize(self.path) / 2 / RATE

    def wait_past(self, moment):
        assert wait_until(lambda: self.now() >= moment, timeout=moment - self.now() + PATIENCE), \
            "the recording stalled"

    def first_sound(self, start):
        """The start of the first window after start that a person hears, once recorded; None if none comes."""
        heard = wait_until(lambda: self.loud_windows(start, self.now()), timeout=PATIENCE)
        return heard[0] if heard else None

    def stop(self):
        self.process.terminate()
        self.process.wait()

    def loud_windows(self, start, end):
        """The start times of the windows between start and end that a person hears."""
        with open(self.path, "rb") as f:
            data = f.read()
        size = int(WINDOW * RATE)
        first, last = int(start * RATE), min(int(end * RATE), len(data) // 2)
        loud = []
        for at in range(first, last - size + 1, size):
            samples = struct.unpack_from(f"<{size}h", data, at * 2)
            if math.sqrt(sum(s * s for s in samples) / size) > LOUD:
                loud.append(at / RATE)
        return loud


@unittest.skipUnless(available(), "needs PulseAudio's server and tools")
class Sound(E2E):
    @classmethod
    def setUpClass(cls):
        cls.server = SoundServer()
        # Wine's ALSA driver, routed by ALSA's PulseAudio plug-in to the
        # test's server: the tests' prefix is otherwise silent.
        cls.saved = {name: os.environ.get(name) for name in ("WINEDLLOVERRIDES", "PULSE_SERVER")}
        os.environ.update(cls.server.environment, WINEDLLOVERRIDES="mscoree=d;mshtml=d")
        cls.asoundrc = os.path.join(os.environ["HOME"], ".asoundrc")
        with open(cls.asoundrc, "w") as f:
            f.write("pcm.!default { type pulse }\nctl.!default { type pulse }\n")
        set_wine_audio("alsa")

    @classmethod
    def tearDownClass(cls):
        set_wine_audio("")
        os.remove(cls.asoundrc)
        for name, value in cls.saved.items():
            if value is None:
                os.environ.pop(name, None)
            else:
                os.environ[name] = value
        cls.server.close()

    def test_each_press_clicks_and_the_winning_card_plays_the_fanfare(self):
        for edition in ("es", "en"):
            with self.subTest(edition=edition):
                recording = self.server.record()
                try:
                    self.play_one_winning_card(edition, recording)
                finally:
                    recording.stop()

    def play_one_winning_card(self, edition, recording):
        game = self.game(edition, standard_config(games="1"))
        game.play()
        self.assertEqual(recording.loud_windows(0, recording.now()), [], "a sound before the first press")
        delays = []
        for p in range(9):
            before = recording.now()
            press_cell(game, p % 3 + 1, p // 3 + 1)
            after = recording.now()
            start = recording.first_sound(before)
            self.assertIsNotNone(start, f"no sound after press {p + 1}")
            # The whole sound, before the next press can add to it.
            end = start + (2.5 if p == 8 else 0.4)
            recording.wait_past(end)
            heard = recording.loud_windows(before, end)
            delays.append(start - before)
        # The winning press: the fanfare over most of its two seconds.
        print(f"\n{edition}: sound began {min(delays):.2f} to {max(delays):.2f} s after a press was sent; "
              f"the fanfare was heard for {len(heard) * WINDOW:.2f} s", flush=True)
        self.assertGreater(len(heard) * WINDOW, 1.5, "the fanfare was not heard")
        # It plays in the background: the program answered again long before it ended.
        self.assertGreater(heard[-1], after + 0.5, "the window was frozen while the fanfare played")


def set_wine_audio(driver):
    subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\Drivers", "/v", "Audio", "/t", "REG_SZ", "/d", driver,
                    "/f"], capture_output=True, check=True)
