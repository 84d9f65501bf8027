"""End-to-end tests of Brevant: the real program under Wine, started as a user would start it.

Run by run_e2e.sh inside a private Wine session. Every wait is bounded; every program started
here is closed or killed before its test ends.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

ARGS = None

FRAME_WIDTH, FRAME_HEIGHT = 351, 180
CELL_W, CELL_H = 17, 26
PANEL_BLUE, CELL_BLUE, CURSOR_BLUE = (57, 74, 212), (57, 74, 180), (77, 84, 255)
WINDOW_GREY, PIXEL_WHITE = (180, 180, 180), (255, 255, 255)
WRITE_TO_DISPLAY, SAVE = 0x8005, 0xE103
SIZE_2X20 = 0x8008
PATH_TOO_LONG = "The file name is longer than 255 characters. Choose a shorter path."
SETTINGS_KEY = r"HKLM\software\Korvane\QV5\Drelmont"


# ---- the screen's bytes -------------------------------------------------------------------

def load_glyphs(path):
    with open(path) as f:
        text = re.sub(r"//[^\n]*", "", f.read())
    values = [int(v) for v in re.findall(r"\d+", text)]
    assert len(values) == 255 * 56, len(values)
    return values


def pack_row(pixels):
    byte = 0
    for b in range(5):
        if pixels[b]:
            byte |= 0x10 >> b
    return byte


def user_rows(glyph_bytes):
    """The 8 row bytes of each of the 8 user characters, from 448 pixel bytes."""
    return [[pack_row(glyph_bytes[i * 56 + r * 7:i * 56 + r * 7 + 7]) for r in range(8)] for i in range(8)]


def mirror(cells, rows):
    out = bytearray()
    for i in range(8):
        out += bytes([0xFE, 0x4E, i] + rows[i])
    out += bytes([0xFE, 0x47, 1, 1]) + cells[0:20] + bytes([0xFE, 0x47, 1, 2]) + cells[20:40]
    return bytes(out)


def store(cells, rows, count):
    out = bytearray()
    for i in range(8):
        out += bytes([0xFE, 0xC2, i] + rows[i])
    return bytes(out) + bytes([0xFE, 0x40]) + cells[:count]


def text_cells(*lines):
    return b"".join(line.encode("latin-1").ljust(20) for line in lines)


def screen_file(user_pixels, cells):
    return (0x8008).to_bytes(4, "little") + bytes(user_pixels) + cells


# ---- the world around the program ---------------------------------------------------------

def run_wine(args, timeout=60):
    """Runs a Wine command to its end. Its output goes through a file: Wine's helper processes
    inherit the descriptors and outlive the command, so a pipe would never close."""
    with tempfile.TemporaryFile() as out:
        code = subprocess.run(args, stdout=out, stderr=subprocess.DEVNULL, timeout=timeout).returncode
        out.seek(0)
        return code, out.read().decode("latin-1")


def winepath(path):
    return run_wine(["winepath", "-w", os.path.abspath(path)])[1].strip()


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def reg_query(key, value=None):
    """The text of a REG_SZ value (the default value when `value` is None), or None."""
    selector = ["/ve"] if value is None else ["/v", value]
    out = run_wine(["wine", "reg", "query", key] + selector)[1]
    for line in out.splitlines():
        m = re.match(r"^\s+(.*?)\s{4}REG_SZ\s{4}(.*)$", line)
        if m:
            return m.group(2)
    return None


def reg_set(key, value, data):
    run_wine(["wine", "reg", "add", key, "/v", value, "/t", "REG_SZ", "/d", data, "/f"])


def driver(*args):
    return run_wine(["wine", ARGS.driver] + [str(a) for a in args])


class Line:
    """The far end of COM3: what the program sends arrives here."""

    def __init__(self, path):
        self.fd = os.open(path, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)

    def _available(self):
        try:
            return os.read(self.fd, 4096)
        except BlockingIOError:
            return b""

    def read(self, count, timeout=15.0):
        data = b""
        deadline = time.monotonic() + timeout
        while len(data) < count and time.monotonic() < deadline:
            chunk = self._available()
            data += chunk
            if not chunk:
                time.sleep(0.01)
        return data + self.drain(0.3)

    def read_until_ending(self, tail, timeout=15.0):
        data = b""
        deadline = time.monotonic() + timeout
        while not data.endswith(tail) and time.monotonic() < deadline:
            chunk = self._available()
            data += chunk
            if not chunk:
                time.sleep(0.01)
        return data + self.drain(0.3)

    def drain(self, quiet=0.3):
        data = b""
        last = time.monotonic()
        while time.monotonic() - last < quiet:
            chunk = self._available()
            if chunk:
                data += chunk
                last = time.monotonic()
            else:
                time.sleep(0.01)
        return data


class Program:
    """One start of brevant.exe with exactly the given command line, through the driver, which
    reports the window's appearance and the exit code."""

    def __init__(self, command_line, show_command=None):
        self.output = tempfile.TemporaryFile()
        show = [] if show_command is None else [str(show_command)]
        self.proc = subprocess.Popen(
            ["wine", ARGS.driver, "run", "120000", command_line.encode("latin-1").hex()] + show,
            stdout=self.output, stderr=subprocess.DEVNULL)
        self.window_ms = None

    def reported(self):
        self.output.seek(0)
        return self.output.read().decode("latin-1").split()

    def wait_for_window(self, timeout=60):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            words = self.reported()
            if "window" in words:
                self.window_ms = int(words[words.index("window") + 1])
                return True
            if self.proc.poll() is not None:
                return False
            time.sleep(0.02)
        return False

    def saw_window(self):
        return "window" in self.reported()

    def wait_exit(self, timeout=60):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.proc.poll() is None:
            driver("close")
            if self.wait_exit(20) is None:
                # The driver ends the program when its own time runs out; do not wait for that.
                self.proc.kill()
                self.proc.wait(timeout=20)
        self.output.close()


def screenshot(path):
    subprocess.run(["import", "-display", os.environ["DISPLAY"], "-window", "root", path],
                   capture_output=True, timeout=60, check=True)
    info = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True,
                          timeout=60).stdout.split()
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, timeout=60).stdout
    return int(info[0]), raw


class Screen:
    def __init__(self, path):
        self.width, self.raw = screenshot(path)

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.raw[i:i + 3])


def frame_geometry():
    code, out = driver("find", 20000)
    if code != 0:
        return None
    values = {}
    for line in out.splitlines():
        parts = line.split()
        values[parts[0]] = [int(p) for p in parts[1:]]
    return values


# ---- the tests ----------------------------------------------------------------------------

class EndToEnd(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = os.path.dirname(os.environ["WINEPREFIX"])
        cls.line = Line(os.environ["BREVANT_COM4_PTY"])
        cls.glyphs = load_glyphs(ARGS.glyphs)
        cls.default_rows = user_rows(cls.glyphs[:448])
        cls.exe = winepath(ARGS.brevant)
        cls.screens = os.path.join(cls.session, "screens")
        os.makedirs(cls.screens, exist_ok=True)
        # A screen whose user characters differ from the built-in ones.
        cls.file_pixels = [1 if (b + r + i) % 3 == 0 else 0 for i in range(8) for r in range(8) for b in range(7)]
        cls.file_rows = user_rows(cls.file_pixels)
        cls.file_cells = text_cells("LOADED FROM FILE", "second row")
        cls.file_path = os.path.join(cls.screens, "logo.kss")
        with open(cls.file_path, "wb") as f:
            f.write(screen_file(cls.file_pixels, cls.file_cells))
        cls.file_win = winepath(cls.file_path)

    def setUp(self):
        self.programs = []
        self.line.drain(0.2)

    def tearDown(self):
        for program in self.programs:
            program.stop()

    def start(self, tail="", exe=None):
        command_line = '"%s"' % (exe or self.exe) + (" " + tail if tail else "")
        program = Program(command_line)
        self.programs.append(program)
        return program

    def start_and_wait(self, tail="", exe=None):
        program = self.start(tail, exe)
        self.assertTrue(program.wait_for_window(), "the main window did not appear")
        return program

    def close(self, program):
        self.assertEqual(driver("close")[0], 0)
        self.assertEqual(program.wait_exit(30), 1)

    def expect_mirrors_ending(self, cells, rows):
        expected = mirror(cells, rows)
        data = self.line.read_until_ending(expected)
        self.assertTrue(data.endswith(expected), data.hex())
        self.assertEqual(len(data) % 136, 0, "only whole mirrors: %d bytes" % len(data))

    def wait_for_pixel(self, x, y, colour, timeout=10):
        deadline = time.monotonic() + timeout
        seen = None
        while time.monotonic() < deadline:
            seen = Screen(os.path.join(self.session, "shot.png")).pixel(x, y)
            if seen == colour:
                return
            time.sleep(0.2)
        self.fail("pixel %d,%d is %s, not %s" % (x, y, seen, colour))

    def test_1_first_start_mirrors_edits_writes_and_saves_settings(self):
        blank = b" " * 40
        program = self.start_and_wait()
        print("\nmain window appeared %d ms after the start" % program.window_ms, file=sys.stderr)
        self.assertEqual(self.line.read(136), mirror(blank, self.default_rows))

        geometry = frame_geometry()
        self.assertEqual(geometry["window"][2:], [FRAME_WIDTH, FRAME_HEIGHT])
        px, py = geometry["preview"]

        driver("type", "Hi")
        typed = text_cells("Hi")
        self.expect_mirrors_ending(typed + b" " * 20, self.default_rows)

        # Cursor after "Hi" on column 2; 'H' drawn white in column 0; the rest of the boxes cell blue.
        self.wait_for_pixel(px + 2 * CELL_W + 14, py + 23, CURSOR_BLUE)
        screen = Screen(os.path.join(self.session, "shot.png"))
        self.assertEqual(screen.pixel(px + 14, py + 23), CELL_BLUE)
        self.assertEqual(screen.pixel(px + 15, py + 23), PANEL_BLUE)
        self.assertEqual(screen.pixel(px + 2, py + 55), WINDOW_GREY)
        h = self.glyphs[0x48 * 56:0x49 * 56]
        lit = [(b, r) for r in range(8) for b in range(6) if h[r * 7 + b] == 1]
        dark = [(b, r) for r in range(8) for b in range(5) if h[r * 7 + b] == 0]
        self.assertTrue(lit and dark)
        self.assertEqual(screen.pixel(px + 3 * lit[0][0], py + 3 * lit[0][1]), PIXEL_WHITE)
        self.assertEqual(screen.pixel(px + 3 * dark[0][0], py + 3 * dark[0][1]), CELL_BLUE)
        # Palette slot 0 below the panel.
        self.assertEqual(screen.pixel(px + 50 + 14, py + 2 * CELL_H + 8 + 23), CELL_BLUE)

        driver("click", 5, 1)
        self.expect_mirrors_ending(typed + b" " * 20, self.default_rows)
        self.wait_for_pixel(px + 5 * CELL_W + 14, py + CELL_H + 23, CURSOR_BLUE)
        self.assertEqual(Screen(os.path.join(self.session, "shot.png")).pixel(px + 2 * CELL_W + 14, py + 23),
                         CELL_BLUE)

        driver("command", WRITE_TO_DISPLAY)
        self.assertEqual(self.line.read(130), store(typed + b" " * 20, self.default_rows, 40))
        self.save_picture(geometry)

        self.close(program)
        self.assertEqual(reg_query(SETTINGS_KEY, "port"), "3")
        self.assertEqual(reg_query(SETTINGS_KEY, "speed"), "19200")
        self.assertEqual(reg_query(r"HKCR\.kbl"), "kbl.file")
        self.assertEqual(reg_query(r"HKCR\kbl.file"), "Korvane Boot Logo")
        self.assertEqual(reg_query(r"HKCR\kbl.file\DefaultIcon"), self.exe + ",0")
        self.assertEqual(reg_query(r"HKCR\kbl.file\shell"), "open")
        self.assertEqual(reg_query(r"HKCR\kbl.file\shell\open\command"), '"%s" %%1' % self.exe)

    def test_2_file_named_on_the_command_line_is_loaded_and_saved(self):
        path = os.path.join(self.screens, "edit.kss")
        shutil.copyfile(self.file_path, path)
        program = self.start_and_wait(winepath(path))
        data = self.line.read(272)
        self.assertEqual(data, mirror(b" " * 40, self.default_rows) + mirror(self.file_cells, self.file_rows))

        driver("type", "X")
        edited = b"X" + self.file_cells[1:]
        self.expect_mirrors_ending(edited, self.file_rows)
        driver("command", SAVE)
        expected = screen_file(self.file_pixels, edited)
        deadline = time.monotonic() + 15
        while time.monotonic() < deadline and read_bytes(path) != expected:
            time.sleep(0.1)
        self.assertEqual(read_bytes(path), expected)
        self.close(program)

    def test_3_quoted_or_overlong_file_name_is_reported_and_the_program_stays(self):
        # The quotes are part of the name, which the system then rejects (ERROR_INVALID_NAME).
        quoted = '"%s"' % self.file_win
        program = self.start_and_wait(quoted)
        code, out = driver("message")
        self.assertEqual(code, 0, out)
        self.assertEqual(out.splitlines(), ["caption: " + quoted, "text: 0000007b"])
        blank = mirror(b" " * 40, self.default_rows)
        self.assertEqual(self.line.read(272), blank + blank)
        self.assertIsNotNone(frame_geometry())
        self.close(program)

        program = self.start_and_wait("C:\\" + "n" * 300 + ".kss")
        code, out = driver("message")
        self.assertEqual(code, 0, out)
        self.assertEqual(out.splitlines(), ["caption: Brevant", "text: " + PATH_TOO_LONG])
        self.assertIsNotNone(frame_geometry())
        self.close(program)

    def test_4_second_start_hands_over_and_ends(self):
        first = self.start_and_wait()
        self.line.read(136)

        second = self.start(self.file_win)
        self.assertEqual(second.wait_exit(60), 0)
        self.assertFalse(second.saw_window())
        self.assertEqual(driver("count")[1].strip(), "1")
        self.assertEqual(self.line.read(136), mirror(self.file_cells, self.file_rows))
        self.assertEqual(frame_geometry()["foreground"], [1])

        third = self.start()
        self.assertEqual(third.wait_exit(60), 0)
        self.assertFalse(third.saw_window())
        overlong = self.start("C:\\" + "n" * 300 + ".kss")
        self.assertEqual(overlong.wait_exit(60), 0)
        code, out = driver("message")
        self.assertEqual(out.splitlines(), ["caption: Brevant", "text: " + PATH_TOO_LONG])

        # The document is unchanged, and nothing was mirrored for the empty or refused hand-over.
        driver("command", WRITE_TO_DISPLAY)
        self.assertEqual(self.line.read(130), store(self.file_cells, self.file_rows, 40))
        self.close(first)

    def test_4b_copies_started_at_once_leave_one_window_that_loads_every_file(self):
        copies = []
        for i in range(8):
            cells = text_cells("COPY %d OF 8" % (i + 1), "started together")
            path = os.path.join(self.screens, "together%d.kss" % i)
            with open(path, "wb") as f:
                f.write(screen_file(self.file_pixels, cells))
            command_line = '"%s" %s' % (self.exe, winepath(path))
            copies.append((command_line.encode("latin-1").hex(), mirror(cells, self.file_rows)))
        blank = mirror(b" " * 40, self.default_rows)
        files = sorted(m for _, m in copies)
        self.addCleanup(self.close_every_window)
        for round_number in range(20):
            where = "round %d" % round_number
            code, out = driver("race", 30000, *[hex_line for hex_line, _ in copies])
            self.assertEqual(code, 0, out)
            self.assertIn("running 1", out, where)
            self.assertEqual(re.findall(r"exit (\d+)", out), ["0"] * 7, where + ": " + out)
            self.assertEqual(driver("count")[1].strip(), "1", where)
            # One start-up mirror, then each file once: the starter's own and the seven handed over.
            data = self.line.read(9 * 136)
            chunks = [data[i:i + 136] for i in range(0, len(data), 136)]
            self.assertEqual(len(data), 9 * 136, "%s: %d bytes" % (where, len(data)))
            self.assertEqual(chunks[0], blank, where)
            self.assertEqual(sorted(chunks[1:]), files, where)
            self.assertIn(chunks[-1], files, where)
            self.close_every_window()

    def close_every_window(self):
        """Also the extra windows of a round that failed."""
        deadline = time.monotonic() + 30
        while driver("count")[1].strip() != "0" and time.monotonic() < deadline:
            driver("close")
            time.sleep(0.2)
        self.assertEqual(driver("count")[1].strip(), "0", "a window did not close")

    def test_5_program_in_a_folder_with_spaces_is_registered_and_opens_files_from_the_shell(self):
        folder = os.path.join(self.session, "Program Files", "Brevant Tools")
        os.makedirs(folder, exist_ok=True)
        shutil.copy(ARGS.brevant, os.path.join(folder, "brevant.exe"))
        exe = winepath(os.path.join(folder, "brevant.exe"))
        program = self.start_and_wait(exe=exe)
        self.line.read(136)
        self.close(program)
        command = reg_query(r"HKCR\kbl.file\shell\open\command")
        self.assertEqual(command, '"%s" %%1' % exe)
        self.assertEqual(reg_query(r"HKCR\kbl.file\shell\open"), command)
        self.assertEqual(reg_query(r"HKCR\kbl.file\DefaultIcon"), exe + ",0")

        spaced = os.path.join(self.screens, "my screens", "boot logo.kbl")
        os.makedirs(os.path.dirname(spaced), exist_ok=True)
        shutil.copyfile(self.file_path, spaced)
        # What the shell runs for a double click on the file: %1 unquoted.
        program = Program(command.replace("%1", winepath(spaced)))
        self.programs.append(program)
        self.assertTrue(program.wait_for_window())
        self.assertEqual(self.line.read(272),
                         mirror(b" " * 40, self.default_rows) + mirror(self.file_cells, self.file_rows))
        self.close(program)

    def test_5b_window_is_shown_with_the_show_command_it_was_started_with(self):
        sw_hide = 0
        program = Program('"%s"' % self.exe, sw_hide)
        self.programs.append(program)
        # The window exists (it mirrored the screen once) but stays hidden.
        self.assertEqual(self.line.read(136), mirror(b" " * 40, self.default_rows))
        self.assertFalse(program.saw_window())
        self.close(program)
        self.assertFalse(program.saw_window())

    @unittest.skipUnless(os.environ.get("BREVANT_MODULE_LINE"), "the virtual display module is not built")
    def test_6_virtual_module_shows_typing_stores_and_powers_up_with_it(self):
        reg_set(SETTINGS_KEY, "port", "7")
        try:
            program = self.start_and_wait()
            self.assertTrue(self.wait_dump(lambda d: int(d["received"]) >= 136))
            driver("type", "Hello QV5")
            self.assertTrue(self.wait_dump(lambda d: d["row1"] == "|Hello QV5           |"), self.dump())
            self.assertEqual(self.dump()["char0"], " ".join("%02X" % v for v in self.default_rows[0]))
            received = int(self.dump()["received"])
            driver("command", WRITE_TO_DISPLAY)
            self.assertTrue(self.wait_dump(lambda d: int(d["received"]) >= received + 130), self.dump())
            dump = self.dump()
            self.assertEqual(dump["stored.row1"], "|Hello QV5           |")
            self.assertEqual(dump["stored.row2"], "|" + " " * 20 + "|")
            self.assertEqual(dump["received"], str(received + 130))
            self.close(program)
        finally:
            reg_set(SETTINGS_KEY, "port", "3")
        powered = subprocess.run([ARGS.vmodule, "--state", os.environ["BREVANT_MODULE_STATE"], "--power-cycle",
                                  "--dump"], capture_output=True, text=True, timeout=30).stdout
        dump = dict(line.split(": ", 1) for line in powered.splitlines() if ": " in line)
        self.assertEqual(dump["row1"], "|Hello QV5           |")
        self.assertEqual(dump["cursor"], "column 1 row 1")
        for i in range(8):
            self.assertEqual(dump["char%d" % i], " ".join("%02X" % v for v in self.default_rows[i]))

    def test_7_command_line_sends_the_editors_own_bytes(self):
        """brevant-cli, the native build on the pseudo-terminal and the Windows build on COM3, against
        what the editor itself sends for the same file, the command prefix in the text included."""
        path = os.path.join(self.screens, "provision.kss")
        cells = text_cells("PROVISIONED", "prefix byte: ! end")
        cells = cells[:33] + b"\xfe" + cells[34:]
        with open(path, "wb") as f:
            f.write(screen_file(self.file_pixels, cells))
        program = self.start_and_wait(winepath(path))
        editor_mirror = self.line.read(272)[136:]
        driver("command", WRITE_TO_DISPLAY)
        editor_store = self.line.read(130)
        self.close(program)
        self.assertEqual(len(editor_mirror), 136)
        self.assertEqual(len(editor_store), 130)

        for command, expected, result in (("mirror", editor_mirror, "mirrored"), ("store", editor_store, "stored")):
            if os.access(ARGS.native_cli, os.X_OK):
                done = subprocess.run([ARGS.native_cli, command, path, "--port", os.environ["BREVANT_COM3_PTY"]],
                                      capture_output=True, text=True, timeout=60)
                self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
                self.assertEqual(self.line.read(len(expected)), expected, command)
            else:
                print("\nno native brevant-cli at %s: only the Windows build compared" % ARGS.native_cli,
                      file=sys.stderr)
            code, out = run_wine(["wine", ARGS.cli, command, winepath(path), "--port", "COM3"])
            self.assertEqual(code, 0, out)
            self.assertRegex(out, r"^COM3: %s \(\d+\.\d{3} s\)\r?\n$" % result)
            self.assertEqual(self.line.read(len(expected)), expected, command)

    def save_picture(self, geometry):
        """Leaves a picture of the window being edited beside the test's build files."""
        driver("click", 2, 1)
        driver("type", "start screen")
        self.expect_mirrors_ending(text_cells("Hi", "  start screen"), self.default_rows)
        x, y, width, height = geometry["window"]
        shot = os.path.join(self.session, "picture.png")
        screenshot(shot)
        subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage",
                        os.path.join(ARGS.out, "brevant-window.png")], timeout=60, check=True)

    def dump(self):
        try:
            with open(os.environ["BREVANT_MODULE_DUMP"]) as f:
                return dict(line.rstrip("\n").split(": ", 1) for line in f if ": " in line)
        except FileNotFoundError:
            return {}

    def wait_dump(self, done, timeout=15):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            dump = self.dump()
            if dump and done(dump):
                return True
            time.sleep(0.1)
        return False


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    for name in ("brevant", "driver", "glyphs", "vmodule", "out", "cli", "native-cli"):
        parser.add_argument("--" + name, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)


if __name__ == "__main__":
    main()
