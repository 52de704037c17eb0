"""What the end-to-end suites share: starting the real programs under Wine
and looking at them as a person would (windows, texts, menu states, files on
disk and screenshots), the configuration record as the program stores it,
and the steps that many tests take (answering the password, filling in the
configuration dialog, pressing cells)."""

import functools
import os
import re
import shutil
import struct
import subprocess
import tempfile
import time
import types
import unittest
from xml.etree import ElementTree

# The folder that holds both editions and the test programs.
PROGRAMS = ""


def program(name):
    return os.path.join(PROGRAMS, name)


def read_ids():
    """The program's resource, control and command identifiers, read from its
    resources/resource.h (copied beside this file for a test run)."""
    here = os.path.dirname(os.path.abspath(__file__))
    for path in (os.path.join(here, "resource.h"), os.path.join(here, "..", "..", "resources", "resource.h")):
        if os.path.exists(path):
            with open(path) as f:
                return types.SimpleNamespace(**{name: int(value) for name, value in
                                                re.findall(r"^#define (\w+) (\d+)", f.read(), re.M)})
    raise FileNotFoundError("resources/resource.h")


ids = read_ids()


EDITIONS = {
    "es": {
        "exe": "quimba.exe",
        "main": "Quimba Familiar",
        "password": "Contraseña",
        "config": "Configuración",
        "message": "Programador",
        "config_file": "miconfig.log",
        "snapshot": "MiCopia.bmp",
        "saved": "Grabado a bitmap ...",
        "menu": ["Operaciones", "Jugar", "Configurar", "Fotocopia", "Salir"],
    },
    "en": {
        "exe": "glimter-lottery.exe",
        "main": "Family glimter",
        "password": "Password",
        "config": "Set up",
        "message": "Programmer",
        "config_file": "myconfig.log",
        "snapshot": "MyCopy.bmp",
        "saved": "Save to bitmap ...",
        "menu": ["Operations", "play", "Set up", "Fotocopy", "Exit"],
    },
}

CARD_BACKGROUND = (29, 30, 25)

# How Wine reports a crash of a program: "wine: Unhandled page fault on ..."
# (or division by zero, stack overflow, ...), then its debugger's
# "Unhandled exception: ...".
CRASH_REPORT = re.compile(r"wine: Unhandled |Unhandled exception: ")


def driver(*args, timeout=30):
    """Runs the driver; returns (exit code, lines of output). A crash of the driver fails the test: its exit
    code alone could read as an answer ("no such window")."""
    done = subprocess.run(["wine", program("e2e_driver.exe")] + [str(a) for a in args], capture_output=True,
                          timeout=timeout)
    said = (done.stdout + done.stderr).decode("utf-8", "replace")
    crash = CRASH_REPORT.search(said)
    if crash:
        raise AssertionError(f"the driver crashed at {args}: {said[crash.start():].splitlines()[0]}")
    return done.returncode, done.stdout.decode("utf-8", "replace").replace("\r", "").splitlines()


def driver_ok(*args, timeout=30):
    code, lines = driver(*args, timeout=timeout)
    if code != 0:
        raise AssertionError(f"driver {args} failed with {code}: {' / '.join(lines)}")
    return lines


def fields(lines, key):
    """The values of the lines that start with key, as lists of words."""
    return [line.split(" ")[1:] for line in lines if line.split(" ")[0] == key]


def find_window(title, timeout_ms=10000):
    """Geometry of a visible window, or None when there is none in time."""
    code, lines = driver("find", title, timeout_ms, timeout=timeout_ms / 1000 + 20)
    if code != 0:
        return None
    info = {}
    for line in lines:
        key, _, value = line.partition(" ")
        info[key] = [int(v) for v in value.split()] if key in ("window", "client") else value
    return info


def window_gone(*titles, timeout_ms=10000):
    """True once no window, shown or hidden, has any of these titles."""
    return driver("gone", timeout_ms, *titles, timeout=timeout_ms / 1000 + 20)[0] == 0


def controls(title):
    """The window's controls in creation order: id, class, rect, styles, masked, text."""
    result = []
    for line in driver_ok("children", title):
        if not line.startswith("control "):
            continue
        parts = line.split(" ", 10)
        result.append({
            "id": int(parts[1]), "class": parts[2],
            "rect": [int(v) for v in parts[3:7]],
            "style": int(parts[7], 16), "exstyle": int(parts[8], 16),
            "masked": parts[9] == "1", "text": parts[10] if len(parts) > 10 else "",
        })
    return result


def probe(title):
    """Menu items and control fonts, read inside the program's own thread."""
    lines = driver_ok("probe", title)
    menu = [{"depth": int(w[0]), "id": int(w[1]), "kind": w[2], "state": w[3], "text": " ".join(w[4:])}
            for w in fields(lines, "menu")]
    fonts = {int(w[0]): (int(w[1]), int(w[2]), " ".join(w[3:])) for w in fields(lines, "font")}
    return menu, fonts


def probe_resources(title):
    """The GDI objects and the private memory that the program holds."""
    return resources(driver_ok("probe", title, "resources"))


def resources(lines):
    """The GDI objects and the private memory of a probe's lines."""
    values = {line.split()[0]: int(line.split()[1]) for line in lines if line.startswith(("gdi-free", "private"))}
    # Fewer free places in the handle table means more GDI objects held.
    return {"gdi": 65536 - values["gdi-free"], "memory": values["private-bytes"]}


def dialog_units(*quads):
    """Pixels of dialog-unit rectangles in the program's dialog font."""
    flat = [v for quad in quads for v in quad]
    return [[int(v) for v in w] for w in fields(driver_ok("units", *flat), "pixels")]


# Where the test runner had to run the tests as root, which Wine lets write
# through read-only marks and folders.
needs_permissions = unittest.skipIf(os.environ.get("QUIMBA_PERMISSIONS_IGNORED"),
                                    "runs as root, which writes through read-only marks and folders")


def assert_unwritable(folder):
    """The folder really refuses a new file of a block's size."""
    probe_file = os.path.join(folder, "probe")
    try:
        with open(probe_file, "wb") as f:
            f.write(b"x" * 4096)
    except OSError:
        return
    finally:
        if os.path.exists(probe_file):
            os.remove(probe_file)
    raise AssertionError(f"{folder} still takes new files")


def click_ok(title):
    """Answers a message box with its one button and waits until it is gone."""
    buttons = [c["id"] for c in controls(title) if c["class"] == "Button"]
    assert len(buttons) == 1, buttons
    driver_ok("click", title, buttons[0])
    assert window_gone(title)


def attrib(path, *changes):
    """Applies attrib's changes to a file, one per call as Wine's attrib takes
    them, and returns the marks it then shows: a subset of {"R", "H", "S"}."""
    windows_path = subprocess.run(["winepath", "-w", path], capture_output=True, text=True,
                                  check=True).stdout.strip()
    for change in changes:
        subprocess.run(["wine", "cmd", "/c", "attrib", change, windows_path], capture_output=True, check=True)
    shown = subprocess.run(["wine", "cmd", "/c", "attrib", windows_path], capture_output=True, check=True)
    line = shown.stdout.decode("utf-8", "replace").strip()
    assert line.endswith(windows_path), line
    return set(line[:-len(windows_path)]) & {"R", "H", "S"}


def xdotool(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True, timeout=30)


def set_wine_dpi(dpi):
    """Sets the scale that Wine gives its programs, where winecfg sets it, and starts Wine's server
    again so that the next program takes it."""
    for key in (r"HKCU\Control Panel\Desktop",
                r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"):
        subprocess.run(["wine", "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f"],
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True,
                       timeout=120)
    for step in (["wineserver", "-k"], ["wineserver", "-w"], ["wineserver", "-p"], ["wine", "cmd", "/c", "exit"]):
        subprocess.run(step, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=120)


def wait_until(predicate, timeout=10.0, step=0.05):
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


class Screen:
    """A screenshot of the whole X screen, read as raw RGB."""

    def __init__(self):
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"],
                             capture_output=True, check=True, timeout=30).stdout
        size = subprocess.run(["xdpyinfo"], capture_output=True, text=True, check=True).stdout
        dims = next(line for line in size.splitlines() if "dimensions:" in line).split()[1]
        self.width, self.height = (int(v) for v in dims.split("x"))
        self.raw = raw

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.raw[i:i + 3])

    def count(self, colour, left, top, right, bottom):
        return sum(1 for y in range(top, bottom + 1) for x in range(left, right + 1)
                   if self.pixel(x, y) == colour)

    def save(self, path):
        subprocess.run(["convert", "-size", f"{self.width}x{self.height}", "-depth", "8",
                        "rgb:-", path], input=self.raw, check=True, timeout=30)


def screen_when(predicate, timeout=5.0):
    """A screenshot once predicate(screen) holds, polled within a bound; the
    last one taken when it never does, for the caller's assertion to show."""
    deadline = time.time() + timeout
    while True:
        screen = Screen()
        if predicate(screen) or time.time() > deadline:
            return screen
        time.sleep(0.05)


def save_screenshot(name):
    """Keeps a screenshot for a person to look at, outside the repository."""
    folder = os.environ.get("QUIMBA_SCREENSHOTS")
    if folder:
        os.makedirs(folder, exist_ok=True)
        Screen().save(os.path.join(folder, name + ".png"))


# The configuration record, written the way the program stores it.
def encode_chunk(chunk: bytes) -> int:
    if not chunk:
        return -1
    value = 0
    for b in chunk:
        value = value * 1000 + b
    return value


def config_record(figures, winning, password, comment, games) -> bytes:
    def text(value):
        return value.encode("cp1252") if isinstance(value, str) else value

    def chunks(data, slots):
        parts = [data[i:i + 5] for i in range(0, len(data), 5)]
        return [encode_chunk(parts[i]) if i < len(parts) else -1 for i in range(slots)]

    slots = [encode_chunk(text(f)) for f in figures]
    slots.append(encode_chunk(text(winning)))
    slots += chunks(text(password), 3)
    slots += chunks(text(comment), 17)
    slots.append(encode_chunk(text(games)))
    return struct.pack("<32q", *slots)


def decode_record(record: bytes):
    def chunk(value):
        if value <= 0:
            return b""
        digits = str(value)
        digits = "0" * (-len(digits) % 3) + digits
        return bytes(int(digits[i:i + 3]) % 256 for i in range(0, len(digits), 3))

    slots = struct.unpack("<32q", record)
    join = lambda first, count: b"".join(chunk(v) for v in slots[first:first + count])
    return {
        "figures": [join(k, 1).decode("cp1252") for k in range(10)],
        "winning": join(10, 1).decode("cp1252"),
        "password": join(11, 3).decode("cp1252"),
        "comment": join(14, 17).decode("cp1252"),
        "games": join(31, 1).decode("cp1252"),
    }


STANDARD_FIGURES = ["5", "10", "20", "50", "100", "200", "500", "1000", "2000", "5000"]


class Game:
    """One copy of an edition in a fresh folder of its own, run under Wine."""

    def __init__(self, edition="es", config=None, folder=None):
        self.edition = edition
        self.texts = EDITIONS[edition]
        self.folder = folder or tempfile.mkdtemp(prefix="quimba-e2e-")
        self.exe = os.path.join(self.folder, self.texts["exe"])
        shutil.copy(program(self.texts["exe"]), self.exe)
        if config is not None:
            with open(self.config_path, "wb") as f:
                f.write(config)
        self.process = None
        # What the program and Wine print, kept outside its folder, which a
        # test may remove: a crash report there fails the test.
        handle, self.output = tempfile.mkstemp(prefix="quimba-e2e-output-")
        os.close(handle)

    @property
    def config_path(self):
        return os.path.join(self.folder, self.texts["config_file"])

    @property
    def snapshot_path(self):
        return os.path.join(self.folder, self.texts["snapshot"])

    def start(self):
        # Started from another folder: the program must find its files beside itself.
        with open(self.output, "ab") as output:
            self.process = subprocess.Popen(["wine", self.exe], cwd="/", stdin=subprocess.DEVNULL,
                                            stdout=output, stderr=subprocess.STDOUT)
        return self

    def crash_report(self):
        """The first line of Wine's report of a crash in the program, None where it did not crash.
        A crash inside a handler may end the program with exit code 0, its window gone as after a
        clean end."""
        with open(self.output, "rb") as f:
            said = f.read().decode("utf-8", "replace").replace("\r", "")
        return next((line for line in said.splitlines() if CRASH_REPORT.search(line)), None)

    def start_shown(self):
        self.start()
        info = find_window(self.texts["main"])
        assert info is not None, "the main window did not appear"
        return info

    def open_with(self, password):
        """Starts the program and answers its password; returns the card's screen origin."""
        self.start()
        answer_password(self, password)
        assert find_window(self.texts["main"]) is not None, "the password did not open the program"
        return self.card_origin()

    def play(self, password="secreto"):
        """Starts the program, answers its password and chooses Play; returns the card's screen origin."""
        origin = self.open_with(password)
        self.command(ids.IDM_PLAY)
        return origin

    def exit_code(self, timeout=20):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def close_process(self):
        """Ends the program and waits until its windows have left the screen."""
        if self.process and self.process.returncode is None:
            if self.process.poll() is None:
                self.process.kill()
                self.process.wait()
            # Once only: a later copy of the same edition has the same titles.
            texts = self.texts
            assert window_gone(texts["main"], texts["password"], texts["config"], texts["message"]), \
                "the program's windows stayed on screen"

    def close(self):
        self.close_process()
        shutil.rmtree(self.folder, ignore_errors=True)

    def forget_output(self):
        if os.path.exists(self.output):
            os.remove(self.output)

    def command(self, command_id):
        driver_ok("command", self.texts["main"], command_id)
        driver_ok("sync", self.texts["main"])

    def press(self, x, y):
        driver_ok("press", self.texts["main"], x, y)
        driver_ok("sync", self.texts["main"])

    def card_origin(self):
        """Screen position of the card canvas's pixel (0, 0)."""
        client = find_window(self.texts["main"])["client"]
        return client[0], client[1]

    def icons(self):
        """Width and height of the window's small and big icons."""
        return {w[0]: [int(v) for v in w[1:]] for w in fields(driver_ok("probe", self.texts["main"]), "icon")}

    def common_controls(self):
        """The program's own manifest, parsed, and the file of each common controls library it loaded."""
        lines = driver_ok("probe", self.texts["main"])
        manifest = ElementTree.fromstring("\n".join(" ".join(w) for w in fields(lines, "manifest")))
        return manifest, [" ".join(w) for w in fields(lines, "comctl32")]

    def menu(self):
        items, _ = probe(self.texts["main"])
        return items

    def play_enabled(self):
        return next(i for i in self.menu() if i["id"] == ids.IDM_PLAY)["state"] == "enabled"

    def config_bytes(self):
        with open(self.config_path, "rb") as f:
            return f.read()

    def stored_password(self):
        """The password of the file's last complete record, as the program loads it; "" for none."""
        stored = self.config_bytes() if os.path.exists(self.config_path) else b""
        end = len(stored) // 256 * 256
        return decode_record(stored[end - 256:end])["password"] if end else ""


WS_SYSMENU = 0x00080000
WS_VISIBLE = 0x10000000
WS_CLIPSIBLINGS = 0x04000000  # added by the system to every captioned window
WS_TABSTOP = 0x00010000
WS_EX_CLIENTEDGE = 0x200
RED = (255, 0, 0)
GOLD = (238, 201, 0)


@functools.lru_cache(maxsize=None)
def card_layout():
    """The card's geometry in canvas pixels, as the program has it."""
    return {words[0]: [int(v) for v in words[1:]] for words in (line.split() for line in driver_ok("layout"))}


def cell_x(column):
    """Left pixel of a cell's covered star, for column 1 to 3."""
    return card_layout()["cell-x"][column - 1]


def cell_y(row):
    return card_layout()["cell-y"][row - 1]


def cell_centre(column, row):
    return cell_x(column) + 50, cell_y(row) + 50


def standard_config(password="secreto", games="3", comment="Enhorabuena!", winning="500"):
    return config_record(STANDARD_FIGURES, winning, password, comment, games)


def cell_uncovered(screen, origin, column, row):
    """An uncovered cell shows its figure in the card colour inside its star."""
    x, y = origin[0] + cell_x(column), origin[1] + cell_y(row)
    ink = screen.count(CARD_BACKGROUND, x + 30, y + 42, x + 70, y + 56)
    return 0 < ink < 41 * 15


ALL_CELLS = {(c, r) for c in (1, 2, 3) for r in (1, 2, 3)}


def uncovered_cells(screen, origin):
    return {cell for cell in ALL_CELLS if cell_uncovered(screen, origin, *cell)}


def covered_cells(screen, origin):
    """Cells that show a star with no figure on it."""
    return {(c, r) for c, r in ALL_CELLS
            if screen.pixel(origin[0] + cell_centre(c, r)[0], origin[1] + cell_centre(c, r)[1]) != CARD_BACKGROUND
            and not cell_uncovered(screen, origin, c, r)}


def fresh_card(screen, origin):
    return covered_cells(screen, origin) == ALL_CELLS


def mark_frame(column, row):
    """Canvas pixels of the top and bottom edges of the keyboard's frame around a star."""
    layout = card_layout()
    margin, star, shift = layout["mark"][0], layout["star"][0], layout["shift"][0]
    left, top = cell_x(column) - shift - margin, cell_y(row) - margin
    right, bottom = cell_x(column) + star + margin - 1, cell_y(row) + star + margin - 1
    return [(x, y) for x in range(left, right + 1) for y in (top, bottom)]


def frame_shown(screen, origin, column, row):
    """The frame is on screen: its dotted edges stand out from the card's background."""
    return sum(screen.pixel(origin[0] + x, origin[1] + y) != CARD_BACKGROUND for x, y in mark_frame(column, row)) > 50


def read_bmp(path):
    """A BMP file's bytes, and its pixels as (red, green, blue) by (x, y)."""
    with open(path, "rb") as f:
        data = f.read()
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 24 + 31) // 32 * 4

    def pixel(x, y):
        i = 54 + (height - 1 - y) * stride + x * 3
        return data[i + 2], data[i + 1], data[i]
    return data, pixel


def card_focused(title):
    """Whether the card has the keyboard focus in the program's thread."""
    return driver_ok("focus", title) == [f"focus {ids.IDC_CARD}"]


def keys(title, *names):
    """Real key presses on the card, which must have the keyboard focus; the
    window then gets the X server's focus, which carries the keys to it (and
    keeps it, for keys pressed later with xdotool)."""
    assert card_focused(title), "the card does not have the keyboard focus"
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{re.escape(title)}$"],
                            capture_output=True, text=True, check=True).stdout.split()[0]
    xdotool("windowfocus", "--sync", window)
    if names:
        xdotool("key", "--delay", "60", *names)
    driver_ok("sync", title)


def press_cell(game, column, row):
    game.press(*cell_centre(column, row))


PAUSE = 2.0  # seconds that a losing card stays in view


def in_pause(game, origin, action, attempts=5):
    """Finishes a losing card and runs action() while its pause is known to be on: the
    action ends less than the pause's length after the ninth press was posted. Where a busy
    machine took longer, it tries again on the next game's card."""
    for _ in range(attempts):
        for p in range(8):
            press_cell(game, p % 3 + 1, p // 3 + 1)
        screen_when(lambda s: len(uncovered_cells(s, origin)) == 8)
        posted = time.monotonic()
        press_cell(game, 3, 3)
        finished = screen_when(lambda s: len(uncovered_cells(s, origin)) == 9, timeout=PAUSE)
        if len(uncovered_cells(finished, origin)) == 9 and time.monotonic() - posted < PAUSE / 2:
            result = action()
            if time.monotonic() - posted < PAUSE:
                return result
        screen_when(lambda s: fresh_card(s, origin))
    raise AssertionError(f"no pause was caught in {attempts} losing cards: the machine is too slow")


def press_card(game):
    for p in range(9):
        press_cell(game, p % 3 + 1, p // 3 + 1)


def red_cells(screen, origin):
    return {(c, r) for c in (1, 2, 3) for r in (1, 2, 3)
            if screen.count(RED, origin[0] + cell_x(c) - card_layout()["shift"][0], origin[1] + cell_y(r),
                            origin[0] + cell_x(c) + card_layout()["star"][0] - 1,
                            origin[1] + cell_y(r) + card_layout()["star"][0] - 1) > 0}


def answer_password(game, first, second=None, title=None):
    title = title or game.texts["password"]
    assert find_window(title) is not None, "no password dialog"
    driver_ok("settext", title, ids.IDC_PASSWORD_ENTRY, first)
    driver_ok("settext", title, ids.IDC_PASSWORD_CONFIRM, first if second is None else second)
    driver_ok("click", title, ids.IDC_PASSWORD_ACCEPT)


def alt_f4(title):
    """Alt+F4, pressed on the keyboard, once the window is the active one."""
    driver_ok("foreground", title)
    assert wait_until(lambda: (find_window(title, 500) or {}).get("foreground") == "1"), f"{title} is not active"
    xdotool("key", "alt+F4")


class E2E(unittest.TestCase):
    def setUp(self):
        self.games = []

    def tearDown(self):
        # A program that ended before the test ended it: its end, for a failure that follows from it.
        for game in self.games:
            if game.process and game.process.returncode is None and game.process.poll() is not None:
                with open(game.output, "rb") as f:
                    said = f.read().decode("utf-8", "replace").replace("\r", "").splitlines()[-5:]
                print(f"\n{game.texts['exe']} ended by itself with {game.process.returncode}: "
                      + " / ".join(said), flush=True)
        for game in self.games:
            game.close()
        crashes = [f"{game.texts['exe']} crashed: {report}" for game in self.games
                   if (report := game.crash_report())]
        for game in self.games:
            game.forget_output()
        if crashes:
            self.fail("; ".join(crashes))

    def game(self, edition="es", config=None, folder=None):
        """A copy of an edition; the case's earlier copies end first."""
        for earlier in self.games:
            earlier.close_process()
        g = Game(edition, config, folder)
        self.games.append(g)
        return g

    def assertExitsCleanly(self, game):
        self.assertEqual(game.exit_code(), 0)


class SetupDialogs(E2E):
    """Opening the configuration dialog, filling it in and accepting it."""

    def open_config(self, edition="es", config=None, folder=None):
        return self.enter_setup(self.game(edition, config, folder))

    def enter_setup(self, game):
        """Starts the program and opens the configuration dialog, answering the stored password."""
        password = game.stored_password()
        if password:
            game.open_with(password)
        else:
            game.start_shown()
        driver_ok("command", game.texts["main"], ids.IDM_SETUP)
        if password:
            answer_password(game, password)
        self.assertIsNotNone(find_window(game.texts["config"]))
        return game

    def fill(self, game, figures=STANDARD_FIGURES, winning="500", comment="", games="3", password="clave"):
        title = game.texts["config"]
        for k, figure in enumerate(figures):
            driver_ok("settext", title, ids.IDC_FIGURE_FIRST + k, figure)
        driver_ok("settext", title, ids.IDC_WINNING_FIGURE, winning)
        driver_ok("settext", title, ids.IDC_COMMENT, comment)
        driver_ok("settext", title, ids.IDC_GAMES, games)
        driver_ok("settext", title, ids.IDC_CONFIG_PASSWORD, password)

    def accept(self, game):
        """Presses Accept; returns the message box text, or None when the dialog closed."""
        title = game.texts["config"]
        driver_ok("click", title, ids.IDC_CONFIG_ACCEPT)
        box = wait_until(lambda: find_window(game.texts["message"], 100) or
                         (find_window(title, 50) is None and "closed"), timeout=10)
        if box == "closed":
            return None
        text = next(c["text"] for c in controls(game.texts["message"]) if c["class"] == "Static" and c["text"])
        click_ok(game.texts["message"])
        return text
