"""A Wine prefix as the Windows machine of the end-to-end run: its session,
its paths, its registry and its windows, reached the way a person or an
installer would reach them."""

import os
import shutil
import subprocess
import time
from dataclasses import dataclass
from pathlib import Path, PureWindowsPath


class WineError(RuntimeError):
    pass


@dataclass(frozen=True)
class Architecture:
    """What a prefix of one architecture is run and built with."""
    loader: str            # the wine wrapper prefers the 32-bit loader once it is installed
    environment: dict
    compiler: str          # for the helpers that run in the prefix
    wixl_options: tuple    # packages that install where this architecture's programs look


ARCHITECTURES = {
    "win32": Architecture("wine", {"WINEARCH": "win32"}, "i686-w64-mingw32-g++-posix",
                          ("-a", "x86", "-D", "ProgramFiles=ProgramFilesFolder")),
    "win64": Architecture("/usr/lib/wine/wine64",
                          {"WINEARCH": "win64", "WINELOADER": "/usr/lib/wine/wine64",
                           "WINESERVER": "/usr/lib/wine/wineserver64"},
                          "x86_64-w64-mingw32-g++-posix",
                          ("-a", "x64", "-D", "ProgramFiles=ProgramFiles64Folder")),
}


def pe_architecture(program: Path) -> str:
    """win32 or win64, from the machine field of a Windows program's header."""
    data = program.read_bytes()[:4096]
    header = int.from_bytes(data[0x3C:0x40], "little")
    if data[:2] != b"MZ" or data[header:header + 4] != b"PE\0\0":
        raise WineError(f"{program} is not a Windows program")
    machine = int.from_bytes(data[header + 4:header + 6], "little")
    if machine not in (0x14C, 0x8664):
        raise WineError(f"{program}: machine type {machine:#x} is neither i386 nor x86-64")
    return "win32" if machine == 0x14C else "win64"


class WineMachine:
    def __init__(self, prefix: Path, display: str, work: Path, arch: str = "win32"):
        self.prefix = prefix
        self.work = work
        self.arch = arch
        self.loader = ARCHITECTURES[arch].loader
        self.program = None  # the tool's file name, once laid
        self.env = dict(os.environ)
        self.env.update(ARCHITECTURES[arch].environment)
        self.env.update({
            "WINEPREFIX": str(prefix),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "DISPLAY": display,
            # Wine links the profile's Desktop, Documents, Downloads and
            # the like to folders of $HOME: a home of the run's own keeps
            # every write inside the work folder.
            "HOME": str(work / "home"),
        })
        (work / "home").mkdir(parents=True, exist_ok=True)

    # -- the session ------------------------------------------------------

    def init(self):
        self.run("wineboot", "--init", timeout=180)
        self.wait_idle()
        self.unlink_profile_folders()

    def unlink_profile_folders(self):
        """Windows gives every profile folder its own directory; Wine links
        several of them to one Unix folder, which would merge Documents,
        Desktop and Downloads. Each becomes a directory of its own."""
        for profile in (self.prefix / "drive_c" / "users").iterdir():
            if not profile.is_dir() or profile.is_symlink():
                continue
            for entry in profile.iterdir():
                if entry.is_symlink():
                    entry.unlink()
                    entry.mkdir()

    def start_session(self):
        """Keeps the session's services alive between commands, so that no
        command pays for a cold start or hangs on the services' output."""
        subprocess.run(["wineserver", "-p"], env=self.env, check=False)
        self.run("cmd", "/c", "exit")

    def end_session(self):
        """Every process of the prefix ends, as at a restart."""
        subprocess.run(["wineserver", "-k"], env=self.env, check=False)
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=60)

    def wait_idle(self):
        subprocess.run(["wineserver", "-w"], env=self.env, check=False, timeout=120)

    def run(self, *args, timeout=120, check=True):
        """Runs a Windows program to its end; output goes to files, never to
        a pipe that a lingering service could hold open."""
        out = self.work / "wine.out"
        with open(out, "wb") as sink:
            result = subprocess.run([self.loader, *args], env=self.env, stdout=sink, stderr=subprocess.STDOUT,
                                    stdin=subprocess.DEVNULL, timeout=timeout)
        text = out.read_bytes().decode("utf-8", "replace")
        if check and result.returncode != 0:
            raise WineError(f"wine {' '.join(args)} exited {result.returncode}: {text.strip()}")
        return result.returncode, text

    def start(self, *args, output=None, cwd=None, dll_overrides=None):
        """Starts a Windows program and returns at once; its output goes to
        the file given, or is added to program.out. cwd: a prefix folder to
        start in; dll_overrides: added to WINEDLLOVERRIDES."""
        log = open(output, "wb") if output else open(self.work / "program.out", "ab")
        env = dict(self.env)
        if dll_overrides:
            env["WINEDLLOVERRIDES"] += ";" + dll_overrides
        return subprocess.Popen([self.loader, *args], env=env, stdout=log, stderr=subprocess.STDOUT,
                                stdin=subprocess.DEVNULL, cwd=self.unix_path(cwd) if cwd else None)

    # -- paths --------------------------------------------------------------

    def expand(self, name: str) -> str:
        _, text = self.run("cmd", "/c", f"echo %{name}%")
        return text.strip().splitlines()[-1].strip()

    def unix_path(self, windows_path: str) -> Path:
        """The prefix's file for a C: path, matching existing names without
        regard to case as Windows does."""
        parts = PureWindowsPath(windows_path).parts
        if not parts or parts[0].upper() != "C:\\":
            raise WineError(f"not on drive C: {windows_path}")
        path = self.prefix / "drive_c"
        for part in parts[1:]:
            match = None
            if path.is_dir():
                match = next((entry for entry in path.iterdir() if entry.name.lower() == part.lower()), None)
            path = match if match is not None else path / part
        return path

    # -- windows --------------------------------------------------------------

    def find_window(self, caption_pattern: str, timeout: float, poll: float = 0.2) -> str:
        """The first visible window whose caption matches, looked for every
        `poll` seconds."""
        window = self.wait_for_window(caption_pattern, timeout, poll)
        if not window:
            raise WineError(f"no visible window matching {caption_pattern!r} within {timeout:.0f} s")
        return window

    def wait_for_window(self, caption_pattern: str, timeout: float, poll: float = 0.2):
        """The first visible window whose caption matches, or None when none
        came within the time."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", caption_pattern],
                                    env=self.env, capture_output=True, text=True)
            ids = result.stdout.split()
            if ids:
                return ids[0]
            time.sleep(poll)
        return None

    def window_gone(self, caption_pattern: str) -> bool:
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", caption_pattern],
                                env=self.env, capture_output=True, text=True)
        return not result.stdout.split()

    def click(self, window: str, x: int, y: int):
        """A mouse click at client coordinates: without a window manager
        the X window is the client area."""
        subprocess.run(["xdotool", "mousemove", "--window", window, str(x), str(y), "click", "1"],
                       env=self.env, check=True)

    def key(self, window: str, key: str):
        """A key pressed on the keyboard while the window has the focus, as
        a person presses Enter or the space bar on the focused button."""
        subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", key], env=self.env, check=True)

    def screenshot(self, window: str, target: Path):
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=self.env,
                                  capture_output=True, text=True, check=True).stdout
        values = dict(line.split("=", 1) for line in geometry.split())
        crop = f"{values['WIDTH']}x{values['HEIGHT']}+{values['X']}+{values['Y']}"
        target.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["import", "-window", "root", "-crop", crop, "+repage", str(target)], env=self.env,
                       check=True)

    def copy_in(self, source: Path, windows_path: str):
        target = self.unix_path(windows_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source, target)
        return target
