#!/usr/bin/env python3
"""The Debian package, as a grower gets it: made by CPack from the build, its contents and
metadata checked, unpacked into a temporary root and started there through its launcher.

Usage: package_test.py BUILD_DIR CPACK VERSION APP_ID
Exits 77 (CTest's skip) when a packaging tool is missing; tools/deps.sh installs them all.
"""

import contextlib
import json
import os
import shutil
import signal
import sqlite3
import struct
import subprocess
import sys
import tempfile
import time
import unittest

BUILD, CPACK, VERSION, APP_ID = sys.argv[1:5]
SOURCES = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOLS = [CPACK, "dpkg-deb", "dpkg-shlibdeps", "dpkg", "readelf", "ldd", "desktop-file-validate",
         "appstreamcli"]
ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
# Long enough for a loaded 2-core machine; a healthy start takes well under a second.
PATIENCE = 60.0
# The default base's crops: the 38 standard recipes and Hoagland's solution.
DEFAULT_CROPS = 39


def run(*args, **kwargs):
    """Runs a command, failing with its output when it fails."""
    r = subprocess.run(args, capture_output=True, text=True, **kwargs)
    if r.returncode != 0:
        raise AssertionError(f"{' '.join(args)} exited with {r.returncode}:\n{r.stdout}{r.stderr}")
    return r.stdout


class Package:
    """Made once for every test: the .deb, its listing and its unpacked root."""

    def __init__(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="vernolat-package-")
        out = os.path.join(self.tmp.name, "out")
        run(CPACK, "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-B", out)
        self.debs = sorted(f for f in os.listdir(out) if f.endswith(".deb"))
        if len(self.debs) != 1:
            raise AssertionError(f"one package expected, CPack made {self.debs}")
        self.deb = os.path.join(out, self.debs[0])
        listing = run("dpkg-deb", "-c", self.deb)
        print(listing)
        # "-rwxr-xr-x root/root 808 2026-01-01 12:00 ./usr/bin/vernolat" -> path: mode
        self.files = {}
        for line in listing.splitlines():
            fields = line.split(maxsplit=5)
            self.files[fields[5].removeprefix(".")] = fields[0]
        self.root = os.path.join(self.tmp.name, "root")
        run("dpkg-deb", "-x", self.deb, self.root)
        self.control = os.path.join(self.tmp.name, "control")
        run("dpkg-deb", "-e", self.deb, self.control)

    def field(self, name):
        return run("dpkg-deb", "-f", self.deb, name).strip()

    def path(self, installed):
        return os.path.join(self.root, installed.lstrip("/"))


PACKAGE = None


def setUpModule():
    global PACKAGE
    PACKAGE = Package()


def tearDownModule():
    PACKAGE.tmp.cleanup()


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        raise AssertionError(f"{path} is no PNG")
    return struct.unpack(">II", head[16:24])


def package_of_library(soname, loaded):
    """The installed Debian package that ships the shared library `soname` that the loader
    takes from `loaded` (directories compared resolved: /lib is /usr/lib on merged systems)."""
    r = subprocess.run(["dpkg", "-S", soname], capture_output=True, text=True)
    where = os.path.realpath(os.path.dirname(loaded))
    for line in r.stdout.splitlines():
        owner, path = line.split(": ", 1)
        if (os.path.basename(path) == soname
                and os.path.realpath(os.path.dirname(path)) == where):
            return owner.split(":")[0]
    raise AssertionError(f"no installed package ships {loaded}")


def loaded_libraries(binary):
    """soname -> the file the loader takes for it, for every library the binary needs."""
    needed = [line.split("[")[1].split("]")[0]
              for line in run("readelf", "-d", binary).splitlines() if "(NEEDED)" in line]
    resolved = {}
    for line in run("ldd", binary).splitlines():
        parts = line.split()
        if len(parts) >= 3 and parts[1] == "=>":
            resolved[parts[0]] = parts[2]
    return {soname: resolved[soname] for soname in needed}


class PackageContents(unittest.TestCase):

    def test_name_version_and_architecture_are_debian_style(self):
        arch = run("dpkg", "--print-architecture").strip()
        self.assertEqual(PACKAGE.debs, [f"vernolat_{VERSION}_{arch}.deb"])
        self.assertEqual(PACKAGE.field("Package"), "vernolat")
        self.assertEqual(PACKAGE.field("Version"), VERSION)
        self.assertEqual(PACKAGE.field("Architecture"), arch)

    def test_depends_covers_every_linked_library_and_the_fonts(self):
        depends = {d.split("(")[0].strip() for d in PACKAGE.field("Depends").split(",")}
        self.assertTrue({"fonts-dejavu-core", "fonts-dejavu-extra", "qt6-translations-l10n"} <= depends,
                        depends)
        for binary in ("/usr/lib/vernolat/vernolat", "/usr/lib/vernolat/makebase",
                       "/usr/bin/vernolat-calc"):
            libraries = loaded_libraries(PACKAGE.path(binary))
            self.assertIn("libsqlite3.so.0", libraries, binary)
            for soname, loaded in libraries.items():
                self.assertIn(package_of_library(soname, loaded), depends,
                              f"{binary} needs {soname}")

    def test_lists_the_launcher_programs_desktop_entry_metainfo_and_icons_at_their_sizes(self):
        expected = {
            "/usr/bin/vernolat": "-rwxr-xr-x",
            "/usr/lib/vernolat/vernolat": "-rwxr-xr-x",
            "/usr/lib/vernolat/makebase": "-rwxr-xr-x",
            "/usr/bin/vernolat-calc": "-rwxr-xr-x",
            "/usr/share/doc/vernolat/recipe-format.md": "-rw-r--r--",
            "/usr/share/doc/vernolat/examples/recipe-example.json": "-rw-r--r--",
            f"/usr/share/applications/{APP_ID}.desktop": "-rw-r--r--",
            f"/usr/share/metainfo/{APP_ID}.metainfo.xml": "-rw-r--r--",
            f"/usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg": "-rw-r--r--",
            "/usr/share/doc/vernolat/copyright": "-rw-r--r--",
        }
        for size in ICON_SIZES:
            expected[f"/usr/share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png"] = "-rw-r--r--"
        for path, mode in expected.items():
            self.assertEqual(PACKAGE.files.get(path), mode, path)
        for size in ICON_SIZES:
            path = PACKAGE.path(f"/usr/share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png")
            self.assertEqual(png_size(path), (size, size), path)

    def test_copyright_states_the_licence_of_the_sources_in_debian_form(self):
        with open(PACKAGE.path("/usr/share/doc/vernolat/copyright"), encoding="utf-8") as f:
            text = f.read()
        with open(os.path.join(SOURCES, "LICENSE"), encoding="utf-8") as f:
            licence = f.read()
        self.assertTrue(text.startswith("Format: https://www.debian.org/doc/packaging-manuals/"
                                        "copyright-format/1.0/\n"), text)
        self.assertIn("\nFiles: *\n", text)
        # The licence paragraph holds the words of LICENSE from its copyright line on; Debian
        # indents them and writes an empty line as ".".
        stated = text.split("\nLicense: proprietary\n", 1)[1]
        words = " ".join(w for w in stated.split() if w != ".")
        self.assertIn(" ".join(licence[licence.index("Copyright"):].split()), words)

    def test_installs_only_under_usr_and_runs_no_scripts(self):
        # The grower's data are never the package's: nothing in a home directory, and no
        # maintainer script that could reach one on install, upgrade or removal.
        for path in PACKAGE.files:
            self.assertTrue(path.startswith("/usr/"), path)
        self.assertEqual(sorted(os.listdir(PACKAGE.control)), ["control", "md5sums"])

    def test_desktop_entry_and_metainfo_pass_their_validators(self):
        desktop = PACKAGE.path(f"/usr/share/applications/{APP_ID}.desktop")
        print(run("desktop-file-validate", desktop))
        print(run("appstreamcli", "validate", "--no-net",
                  PACKAGE.path(f"/usr/share/metainfo/{APP_ID}.metainfo.xml")))
        # The tree check also ties the metainfo to its desktop entry inside the package.
        print(run("appstreamcli", "validate-tree", "--no-net", PACKAGE.root))
        with open(desktop, encoding="utf-8") as f:
            entry = f.read().splitlines()
        for line in ("Name=Vernolat", "Exec=vernolat", f"Icon={APP_ID}"):
            self.assertIn(line, entry)
        for key in ("Comment=", "Comment[ru]="):
            self.assertTrue(any(line.startswith(key) for line in entry), key)


class CommandLine(unittest.TestCase):
    """vernolat-calc as installed: on the PATH, Qt Core without a display, the packaged example
    analysed."""

    def calc(self, *args):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY",
                                                                "QT_QPA_PLATFORM")}
        env["LC_ALL"] = "C.UTF-8"
        return subprocess.run([PACKAGE.path("/usr/bin/vernolat-calc"), *args], env=env,
                              capture_output=True, text=True)

    def test_links_qt_core_and_no_library_of_a_display(self):
        libraries = loaded_libraries(PACKAGE.path("/usr/bin/vernolat-calc"))
        self.assertIn("libQt6Core.so.6", libraries)
        for soname in libraries:
            self.assertFalse(soname.startswith(("libQt6Gui", "libQt6Widgets", "libX", "libGL")),
                             soname)

    def test_version_and_the_packaged_example(self):
        version = self.calc("--version")
        self.assertEqual((version.returncode, version.stdout), (0, f"vernolat-calc {VERSION}\n"))
        example = PACKAGE.path("/usr/share/doc/vernolat/examples/recipe-example.json")
        r = self.calc("analyse", example, "--json")
        self.assertEqual(r.returncode, 0, r.stderr)
        result = json.loads(r.stdout)
        self.assertGreater(result["ec"], 0)
        self.assertGreater(result["elements"]["N"], 0)
        missing = self.calc("analyse", example + ".missing")
        self.assertEqual(missing.returncode, 66, missing.stderr)


class Launcher(unittest.TestCase):

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="vernolat-launch-")
        self.home = self.dir("home")
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(("VERNOLAT_", "XDG_"))}
        self.env.update(HOME=self.home, QT_QPA_PLATFORM="offscreen", LC_ALL="C.UTF-8")

    def tearDown(self):
        self.tmp.cleanup()

    def dir(self, name):
        path = os.path.join(self.tmp.name, name)
        os.makedirs(path, exist_ok=True)
        return path

    def start_and_end(self, sig, name):
        """Starts the unpacked launcher, waits until it has become the program and the program
        takes SIGTERM (it does so only once its main window has been shown), sends `sig` and
        expects exit code 0."""
        log_path = os.path.join(self.tmp.name, name + ".log")
        with open(log_path, "w") as out:
            proc = subprocess.Popen([PACKAGE.path("/usr/bin/vernolat")], env=self.env,
                                    stdout=out, stderr=subprocess.STDOUT)

        def log():
            with open(log_path) as f:
                return f.read()

        program = PACKAGE.path("/usr/lib/vernolat/vernolat")
        deadline = time.monotonic() + PATIENCE
        while True:
            if proc.poll() is not None:
                self.fail(f"{name}: ended by itself with {proc.returncode}:\n{log()}")
            if time.monotonic() > deadline:
                proc.kill()
                self.fail(f"{name}: did not come up within {PATIENCE} s:\n{log()}")
            try:
                exe = os.readlink(f"/proc/{proc.pid}/exe")
                with open(f"/proc/{proc.pid}/status") as f:
                    caught = next(int(line.split()[1], 16) for line in f
                                  if line.startswith("SigCgt:"))
            except (OSError, StopIteration):
                exe, caught = "", 0
            if exe == program and caught & (1 << (signal.SIGTERM - 1)):
                break
            time.sleep(0.05)
        proc.send_signal(sig)
        try:
            self.assertEqual(proc.wait(PATIENCE), 0, f"{name}: exit code on {sig.name}:\n{log()}")
        except subprocess.TimeoutExpired:
            proc.kill()
            self.fail(f"{name}: did not end on {sig.name}:\n{log()}")

    def assert_closed_base(self, work):
        """The program closed its base: SQLite removes the write-ahead log when the last
        connection closes, and the file holds a whole database."""
        self.assertEqual(sorted(os.listdir(work)), ["base.mdb", "size.ini"])
        with self.base(work) as db:
            self.assertEqual(db.execute("PRAGMA integrity_check").fetchone()[0], "ok")

    def base(self, work):
        return contextlib.closing(sqlite3.connect(os.path.join(work, "base.mdb")))

    def crops(self, work):
        with self.base(work) as db:
            return db.execute("SELECT id_kult, name_kult FROM T_kult ORDER BY id_kult").fetchall()

    def test_first_start_writes_the_base_a_second_start_keeps_the_grower_s_changes(self):
        data = self.dir("data")
        self.env["XDG_DATA_HOME"] = data
        work = os.path.join(data, "vernolat")

        self.start_and_end(signal.SIGTERM, "first")
        self.assert_closed_base(work)
        default_crops = self.crops(work)
        self.assertEqual(len(default_crops), DEFAULT_CROPS, default_crops)
        self.assertEqual(os.listdir(self.home), [], "nothing is written outside XDG_DATA_HOME")

        with self.base(work) as db, db:
            db.execute("UPDATE T_kult SET name_kult = 'Клубника' WHERE id_kult = 1")
            db.execute("INSERT INTO T_kult (id_kult, name_kult, ph) VALUES (100, 'Базилик', '6')")
        changed = self.crops(work)
        self.assertNotEqual(changed, default_crops)

        self.start_and_end(signal.SIGINT, "second")
        self.assert_closed_base(work)
        self.assertEqual(self.crops(work), changed)

    def test_an_empty_xdg_data_home_means_the_home_s_local_share(self):
        self.env["XDG_DATA_HOME"] = ""
        self.start_and_end(signal.SIGTERM, "start")
        work = os.path.join(self.home, ".local", "share", "vernolat")
        self.assert_closed_base(work)
        self.assertEqual(len(self.crops(work)), DEFAULT_CROPS)


def main():
    missing = [t for t in TOOLS if shutil.which(t) is None]
    if missing:
        print(f"SKIPPED: packaging tools missing: {', '.join(missing)} "
              "(tools/deps.sh installs them)")
        return 77
    result = unittest.main(argv=sys.argv[:1], exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
