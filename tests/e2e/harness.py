#!/usr/bin/env python3
"""The real kelvane2010.exe (or kelvane2010-x64.exe) under Wine and Xvfb,
driven with the mouse as a person would, on a fake Office 2010 installation
laid from the simulated machine's demo image; then the same image through
`kelvane-sim cycle`, and the two machines compared. The 32-bit program runs in
a 32-bit prefix on the 32-bit edition; in a 64-bit prefix either program
removes either edition, laid as that edition installs it (the other
program's edition unless --edition says).

Prints what it checked; exits 1 with a message naming the first thing that
differs."""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path, PureWindowsPath

sys.path.insert(0, str(Path(__file__).resolve().parent))

from machine_image import MachineImage, read_registry_text, registry_keys  # noqa: E402
from progress_lines import coverage, first_difference, runs_of_progress  # noqa: E402
from wine_machine import ARCHITECTURES, WineError, WineMachine, pe_architecture  # noqa: E402

HERE = Path(__file__).resolve().parent
ROOT = HERE.parents[1]

# Where Wine 8 is not Windows, and what the harness does about it. Nothing
# else is worked around.
WINE_DIFFERENCES = [
    ("Start Menu junction", "Windows 7 has C:\\ProgramData\\Start Menu leading to "
     "C:\\ProgramData\\Microsoft\\Windows\\Start Menu; Wine has none, so the harness adds it as a link."),
    ("shutdown", "Wine's shutdown.exe returns at once and restarts nothing: the harness watches the progress "
     "line reach its last countdown text and then restarts the session itself (every process ends)."),
    ("Startup processing", "Wine's log-on runs only the user's Startup folder: the harness starts the common "
     "Startup folder's shortcut itself (wine start on the .lnk)."),
    ("product side effects", "a simulated product's RemovesKey/RemovesFolder traces are laid as plain files and "
     "keys; the Wine MSI packages install a file of their own and so do not remove them: for the products the "
     "simulated machine uninstalls, those items are compared as 'removed by the product's uninstallation' and "
     "listed, not counted as differences."),
    ("Wine's own keys", "Wine keeps its session's settings under Software\\Wine and rewrites them as it runs: "
     "registry comparisons leave that subtree out."),
    ("the Installer's records", "the simulated machine's uninstallation removes a product's Installer records as "
     "Windows does, but the image's records are laid on Wine as stand-ins beside the packages' own: C:\\Windows\\Installer, "
     "HKEY_CLASSES_ROOT\\Installer and the Installer's UserData are left out of the comparison, and the packages' real "
     "cached copies are put back over the image's LocalPackage values."),
    ("unnamed products", "a product without a name cannot be built as a Windows Installer package: it is left "
     "out of the Wine machine and listed."),
]

# Where the 64-bit run's prefix differs from the 32-bit run's, and what the
# harness does about it.
WIN64_DIFFERENCES = [
    ("64-bit prefix", "a win64 prefix (64-bit loader and server) has C:\\Program Files (x86), "
     "C:\\windows\\syswow64 and the 32-bit registry view (Wow6432Node): the image is a 64-bit Windows 7 "
     "(kelvane-sim init --x64), laid path for path, its Wow6432Node keys in the 32-bit view."),
    ("the edition", "the test packages are built for the image's edition (wixl -a x64 and ProgramFiles64Folder "
     "for the 64-bit one, x86 for the 32-bit one, which installs under C:\\Program Files (x86) with its "
     "uninstall entry in Wow6432Node); registry.reg is imported by the 64-bit reg and exported by the 64-bit "
     "regedit."),
    ("64-bit helpers", "the progress-line probe, the Installer probe and the dummy ose service are built for x86-64."),
    ("program name", "the program is laid as kelvane2010-x64.exe beside the image's kelvane2010.exe stand-in (kept "
     "on both machines); the Startup shortcut names it."),
]

# Wine's own settings, which its session rewrites as it runs.
WINE_OWN_KEYS = ("hkey_current_user\\software\\wine", "hkey_local_machine\\software\\wine")

KELVANE = "^Kelvane 2010 - "
FORM_CLASS = "Kelvane2010Form"  # the tool's three windows
LOADING = "Working..."
COMPLETE = "Complete"
ERROR_BOX = "Kelvane 2010"
GO = (3360 // 15 + 29, 840 // 15 + 10)      # centre of btnGo, client pixels
STARTUP_LINK = "C:\\ProgramData\\Start Menu\\Programs\\Startup\\Kelvane.lnk"
TOOL_FOLDER = "C:\\Program Files\\Kelvane 2010"  # the copy the shortcut starts, and the resume record
RESUME_RECORD = "\\ResumeAfterRestart"


def tool_folder(machine) -> str:
    """The program's own Program Files: the 32-bit one for the 32-bit
    program on 64-bit Windows."""
    if machine.arch == "win64" and getattr(machine, "program_arch", "win64") == "win32":
        return "C:\\Program Files (x86)\\Kelvane 2010"
    return TOOL_FOLDER
# Wine runs every program for one user, with this SID.
WINE_USER_SID = "S-1-5-21-0-0-0-1000"
MAPPED_VARIABLES = ["TEMP", "TMP", "APPDATA", "LOCALAPPDATA", "USERPROFILE", "ALLUSERSPROFILE",
                    "ProgramFiles", "CommonProgramFiles", "PUBLIC"]


class Failure(Exception):
    pass


def dos_path(path: Path) -> str:
    """A Linux file as Wine's Z: drive shows it."""
    return "Z:" + str(path).replace("/", "\\")


def say(text):
    print(text, flush=True)


def check(condition, what):
    if not condition:
        raise Failure(what)
    say(f"  ok  {what}")


# -- tools built for the run ----------------------------------------------------

def build_helpers(work: Path, arch: str) -> dict:
    compiler = ARCHITECTURES[arch].compiler
    built = {}
    for name, libraries in (("window_probe", []), ("ose_service", ["-ladvapi32"]), ("installer_probe", ["-lmsi"])):
        target = work / f"{name}.exe"
        subprocess.run([compiler, "-municode", "-O2", "-static", "-o", str(target), str(HERE / f"{name}.cpp"),
                        *libraries], check=True)
        built[name] = target
    # The same stand-in as a DLL and as a program: see planted.cpp.
    built["planted_dll"] = work / "planted.dll"
    subprocess.run([compiler, "-shared", "-O2", "-static", "-o", str(built["planted_dll"]), str(HERE / "planted.cpp")],
                   check=True)
    built["planted_exe"] = work / "planted.exe"
    subprocess.run([compiler, "-municode", "-O2", "-static", "-o", str(built["planted_exe"]), str(HERE / "planted.cpp")],
                   check=True)
    return built


def build_package(work: Path, product, index: int, arch: str) -> Path:
    target = work / f"product{index}.msi"
    subprocess.run(["wixl", *ARCHITECTURES[arch].wixl_options, "-D", f"ProductCode={product.code}", "-D", f"ProductName={product.name}",
                    "-D", f"UpgradeCode={{5E2D0000-0000-4000-8000-{index:012d}}}",
                    "-D", f"ComponentGuid={{5E2D0001-0000-4000-8000-{index:012d}}}",
                    "-D", f"FolderName=KelvaneE2E{index}", "-o", str(target), str(HERE / "product.wxs")],
                   check=True, cwd=HERE)
    return target


# -- laying the image into the prefix -----------------------------------------

class PathMap:
    """Image paths to prefix paths: the image's user profile and environment
    onto the prefix's own."""

    def __init__(self, image: MachineImage, machine: WineMachine):
        self.pairs = []
        # A 64-bit image has the prefix's folders: only the profile moves.
        sixty_four = "ProgramW6432" in {name for name in image.environment} or \
            any(name.lower() == "programw6432" for name in image.environment)
        for name in MAPPED_VARIABLES:
            if sixty_four and name in ("ProgramFiles", "CommonProgramFiles"):
                continue
            try:
                source = image.env(name)
            except KeyError:
                continue
            target = machine.expand(name)
            if target and "%" not in target:
                self.pairs.append((source.rstrip("\\"), target.rstrip("\\")))
        self.pairs.sort(key=lambda pair: -len(pair[0]))

    def __call__(self, windows_path: str) -> str:
        for source, target in self.pairs:
            if windows_path.lower() == source.lower() or windows_path.lower().startswith(source.lower() + "\\"):
                return target + windows_path[len(source):]
        return windows_path

    def text(self, text: str) -> str:
        """A progress text with the image's paths in it, as the prefix shows it."""
        for source, target in self.pairs:
            at = text.lower().find(source.lower())
            if at >= 0:
                return text[:at] + target + text[at + len(source):]
        return text


INSTALLER_PRODUCTS = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\"


def packed_code(braced: str) -> str:
    """A product code as the Installer's keys spell it: the first three groups
    reversed, the two digits of every later byte swapped."""
    digits = braced.strip("{}").split("-")
    tail = "".join(digits[3:])
    return "".join(group[::-1] for group in digits[:3]) + "".join(tail[i + 1] + tail[i] for i in range(0, len(tail), 2))


def lay_installation(image: MachineImage, machine: WineMachine, helpers: dict, work: Path, package_arch: str):
    say("laying the demo installation into the prefix")
    # The packages first, on the prefix as Wine made it: Windows Installer
    # takes a product whose keys are already there for one installed and
    # would not install it. The image's keys for it then go over the real
    # ones, as they stand on the machine the image was read from.
    installed, left_out = [], []
    for index, product in enumerate(image.products()):
        if product.name is None:
            left_out.append(product.code)
            continue
        package = build_package(work, product, index, package_arch)
        machine.run("msiexec", "/i", dos_path(package), "/qn", timeout=180)
        installed.append(product)
    say(f"  {len(installed)} Windows Installer packages installed; left out (no name): {left_out or 'none'}")

    # The registry before the files: it holds the user's environment (TEMP
    # among it), and the image's folders map onto the paths the prefix then has.
    # The image's LocalPackage names a stand-in file; the packages' real cached
    # copies are what Wine's Installer must open to remove them.
    cached = {}
    for product in installed:
        key = INSTALLER_PRODUCTS + packed_code(product.code) + "\\InstallProperties"
        _, text = machine.run("reg", "query", key, "/v", "LocalPackage", check=False)
        found = re.search(r"LocalPackage\s+REG_SZ\s+(.+?)\s*$", text, re.M)
        if found:
            cached[key] = found.group(1)
    machine.run("reg", "import", dos_path(image.root / "registry.reg"))
    for key, package in cached.items():
        machine.run("reg", "add", key, "/v", "LocalPackage", "/d", package, "/f")
    say(f"  registry.reg imported ({len(image.registry_keys())} keys; {len(cached)} packages' cached copies kept)")
    paths = PathMap(image, machine)
    files = folders = 0
    own = []
    for windows_path, source, is_folder in image.entries():
        target = machine.unix_path(paths(windows_path))
        if is_folder:
            target.mkdir(parents=True, exist_ok=True)
            folders += 1
        elif target.exists():
            # The image's stand-ins for the system's own programs (cmd.exe,
            # net.exe, iexplore.exe): the prefix has the real ones, which
            # its session needs.
            own.append(windows_path)
        else:
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(source, target)
            files += 1
    # Read-only folders: the bits go on last, once their contents are in.
    for windows_path, source, is_folder in image.entries():
        if is_folder and not source.stat().st_mode & 0o200:
            machine.unix_path(paths(windows_path)).chmod(source.stat().st_mode & 0o777)
    say(f"  {files} files and {folders} folders copied; the prefix's own kept for {len(own)}: {', '.join(own)}")

    machine.copy_in(helpers["ose_service"], "C:\\ose_service.exe")
    machine.run("sc.exe", "create", "ose", "binPath=", "C:\\ose_service.exe", "start=", "demand")
    machine.run("net.exe", "start", "ose")
    say("  dummy ose service registered and running")

    programdata = machine.unix_path("C:\\ProgramData")
    link = programdata / "Start Menu"
    if not link.exists():
        link.symlink_to("Microsoft/Windows/Start Menu")
    machine.unix_path("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp").mkdir(
        parents=True, exist_ok=True)
    return paths, installed, left_out


# -- observing the prefix -----------------------------------------------------

def prefix_registry_keys(machine: WineMachine, work: Path) -> set:
    keys = set()
    for root in ("HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT"):
        export = work / f"export-{root}.reg"
        machine.run("regedit", "/E", dos_path(export), root, timeout=180)
        keys |= registry_keys(read_registry_text(export))
    return {key for key in keys if not key.startswith(WINE_OWN_KEYS)}


def product_installed(machine: WineMachine, helpers: dict, code: str) -> bool:
    """As the Windows Installer itself reports it."""
    status, _ = machine.run(dos_path(helpers["installer_probe"]), code, check=False)
    return status == 0


def probe_texts(machine: WineMachine, helpers: dict, caption: str):
    status, text = machine.run(dos_path(helpers["window_probe"]), "text", caption, check=False, timeout=30)
    return text.splitlines() if status == 0 else None


def kelvane_running(program: str) -> bool:
    """Whether a Wine process of the tool (by its file name) is alive: Wine
    gives its processes the Windows program's path as their first argument.
    (Matching the whole command line would also find this harness, given
    --exe.)"""
    for cmdline in Path("/proc").glob("[0-9]*/cmdline"):
        try:
            first = cmdline.read_bytes().split(b"\0")[0].decode("utf-8", "replace")
        except OSError:
            continue
        if not first.startswith("/") and PureWindowsPath(first).name.lower() == program.lower():
            return True
    return False


def wait_for_exit(program: str, timeout: float) -> bool:
    deadline = time.time() + timeout
    while time.time() < deadline:
        if not kelvane_running(program):
            return True
        time.sleep(0.3)
    return False


def snapshot_files(machine: WineMachine, image: MachineImage, paths: PathMap) -> dict:
    state = {}
    for windows_path, _, _ in image.entries():
        target = machine.unix_path(paths(windows_path))
        state[windows_path] = target.exists()
    return state


# -- the runs ---------------------------------------------------------------------

def start_responsiveness_probe(machine, helpers, run: str):
    """Every 100 ms until killed, WM_NULL with a 500 ms time-out to each of
    the tool's visible windows, and IsHungAppWindow."""
    log = machine.work / f"responsive-{run}.txt"
    return machine.start(dos_path(helpers["window_probe"]), "responsive", FORM_CLASS, "600", output=log), log


def check_responsive(probe, log: Path, run: str, longest: list):
    if probe.poll() is None:
        probe.kill()
        probe.wait()
    lines = log.read_text("utf-8", "replace").split()
    figures = dict(zip(lines[-8::2], lines[-7::2])) if len(lines) >= 8 else {}
    probes, unanswered, hung = (int(figures.get(key, -1)) for key in ("probes", "unanswered", "hung"))
    longest.append(float(figures.get("longest", "nan")))
    check(probes > 0 and unanswered == 0 and hung == 0,
          f"{run}: the windows answered every probe and never counted as hung ({probes} probes, {unanswered} "
          f"unanswered, {hung} hung, longest answer {longest[-1]:.1f} ms)")


# What an attacker plants beside the tool (the user's Downloads) and in its
# current folder: DLLs the tool uses that are not always taken from the
# system folder, and the programs it starts by bare name. Wine is told to
# prefer a DLL of that name found first, as Windows would.
PLANTED_FOLDER = "C:\\planted-current-folder"
PLANTED_DLLS = ("msi.dll", "msimg32.dll")
PLANTED_PROGRAMS = ("net.exe", "shutdown.exe")
PLANTED_OVERRIDES = "msi,msimg32=n,b"
PLANTED_MARKERS = "C:\\planted-markers"


def plant_lookalikes(machine, helpers, exe):
    for folder in (str(PureWindowsPath(exe).parent), PLANTED_FOLDER):
        machine.unix_path(folder).mkdir(parents=True, exist_ok=True)
        for name in PLANTED_DLLS:
            machine.copy_in(helpers["planted_dll"], f"{folder}\\{name}")
        for name in PLANTED_PROGRAMS:
            machine.copy_in(helpers["planted_exe"], f"{folder}\\{name}")
        (machine.unix_path(folder) / "net.bat").write_text(f"@echo planted> {PLANTED_MARKERS}\\net.bat.txt\r\n")


# What any process of the user can prepare before Go: a batch file under the
# resume file's name (read-only, so that no rewrite replaces it), and per-user
# file-type commands for programs and batch files, which Windows merges into
# the classes an elevated process looks up.
PLANTED_CLASSES = ("exefile", "batfile", "cmdfile")


def plant_user_state(machine, temp_folder: str):
    machine.unix_path(PLANTED_MARKERS).mkdir(parents=True, exist_ok=True)
    batch = machine.unix_path(temp_folder) / "deleteoffice.bat"
    batch.write_text(f"@echo planted> {PLANTED_MARKERS}\\deleteoffice.bat.txt\r\n")
    batch.chmod(0o444)
    for name in PLANTED_CLASSES:
        machine.run("reg", "add", f"HKCU\\Software\\Classes\\{name}\\shell\\open\\command", "/ve", "/d",
                    f"cmd.exe /c echo planted> {PLANTED_MARKERS}\\{name}.txt", "/f")


def remove_user_classes(machine):
    """The harness itself starts the Startup shortcut through the shell."""
    for name in PLANTED_CLASSES:
        machine.run("reg", "delete", f"HKCU\\Software\\Classes\\{name}", "/f")


def check_nothing_planted_ran(machine):
    markers = machine.unix_path(PLANTED_MARKERS)
    ran = sorted(path.name for path in markers.iterdir()) if markers.is_dir() else []
    check(not ran, f"no planted DLL or program ran ({', '.join(ran) or 'no marker'})")


def check_service_stopped(machine):
    _, state = machine.run("sc.exe", "query", "ose", check=False)
    check(re.search(r"STATE\s*:\s*1\b", state), f"the system's net.exe stopped the ose service ({' '.join(state.split())})")


def first_run(machine, helpers, exe, screenshots, texts_seen, longest, temp_folder):
    say("first run: start the tool, press Go")
    probe, probe_log = start_responsiveness_probe(machine, helpers, "first")
    plant_lookalikes(machine, helpers, exe)
    plant_user_state(machine, temp_folder)
    machine.start(exe, cwd=PLANTED_FOLDER, dll_overrides=PLANTED_OVERRIDES)
    main_window = machine.wait_for_window(KELVANE, 60)
    check(main_window, "main window shown, a planted batch file in the temporary folder notwithstanding")
    if screenshots:
        machine.screenshot(main_window, screenshots / "kelvane.png")
    # The progress line is read from the window every few milliseconds by a
    # helper in the prefix, which writes each new text on a line of its own.
    watch_log = machine.work / "progress.txt"
    watcher = machine.start(dos_path(helpers["window_probe"]), "watch", LOADING, "240", "Rebooting.....",
                            output=watch_log)
    # Enter on the focused Go button presses it, as on any Windows button.
    machine.key(main_window, "Return")
    loading = machine.find_window("^Working\\.\\.\\.$", 30)
    check(machine.window_gone(KELVANE), "the main window is hidden once Go is pressed")
    shot_taken = False
    deadline = time.time() + 240
    while time.time() < deadline and watcher.poll() is None:
        if screenshots and not shot_taken and "\nRemoving" in "\n" + watch_log.read_text("utf-8", "replace"):
            machine.screenshot(loading, screenshots / "loading.png")
            shot_taken = True
        time.sleep(0.02)
    if watcher.poll() is None:
        watcher.kill()
    check_service_stopped(machine)
    check_responsive(probe, probe_log, "first run", longest)
    texts_seen.extend(line for line in watch_log.read_text("utf-8", "replace").splitlines() if line)
    countdown = [f"Rebooting{'.' * dots}" for dots in range(1, 6)]
    check([text for text in texts_seen if text.startswith("Rebooting")] == countdown,
          "the progress line showed the five countdown texts, in order, and ended on \"Rebooting.....\"")
    check(texts_seen[-1] == "Rebooting.....", "the last progress text is \"Rebooting.....\"")
    say(f"      {len(texts_seen)} progress texts read off the screen")
    if screenshots and not shot_taken:
        machine.screenshot(loading, screenshots / "loading.png")
    markers = machine.unix_path(PLANTED_MARKERS)
    ran = sorted(path.name for path in markers.iterdir())
    check(not ran, "no per-user file-type command and no planted batch file ran during Go"
          + (f" ({', '.join(ran)})" if ran else ""))
    remove_user_classes(machine)


def restart_and_resume(machine, helpers, screenshots, longest):
    say("restart: every process of the prefix ends; log on; the Startup shortcut starts the tool")
    time.sleep(1.5)  # the restart command is started right after the last countdown text
    check(kelvane_running(machine.program),
          "the tool is still running when the restart comes (Wine's shutdown returned)")
    machine.end_session()
    check(not kelvane_running(machine.program), "no process of the first run is left")
    machine.start_session()
    probe, probe_log = start_responsiveness_probe(machine, helpers, "resumed")
    machine.start("start", STARTUP_LINK, dll_overrides=PLANTED_OVERRIDES)
    complete = machine.find_window("^Complete$", 120)
    check_responsive(probe, probe_log, "resumed run", longest)
    texts = probe_texts(machine, helpers, COMPLETE) or []
    check("Finished Successfully" in texts, "the completion window says \"Finished Successfully\"")
    if screenshots:
        machine.screenshot(complete, screenshots / "complete.png")
    # The space bar on the focused Done button (Finish) presses it.
    machine.key(complete, "space")
    check(wait_for_exit(machine.program, 30), "the space bar on the focused Done button ends the program")


def compare_state(image, sim_after, machine, helpers, paths, installed, work, removed_by_products):
    """Every file, key and product of the image kept or removed alike on both
    machines."""
    sim_files = {windows_path: True for windows_path, _, _ in sim_after.entries()}
    wine_files = snapshot_files(machine, image, paths)
    differences = []
    survived = removed = 0
    for windows_path, present in wine_files.items():
        in_sim = windows_path in sim_files
        if any(windows_path.lower().startswith(folder.lower()) for folder in removed_by_products):
            continue
        if in_sim != present:
            differences.append(f"file {windows_path}: simulated machine {'kept' if in_sim else 'removed'}, "
                               f"Wine {'kept' if present else 'removed'}")
        survived += present
        removed += not present
    image_keys = image.registry_keys()
    sim_keys = sim_after.registry_keys()
    wine_keys = prefix_registry_keys(machine, work)
    for key in sorted(image_keys):
        if any(key == k.lower() or key.startswith(k.lower() + "\\") for k in removed_by_products):
            continue
        if (key in sim_keys) != (key in wine_keys):
            differences.append(f"key {key}: simulated machine {'kept' if key in sim_keys else 'removed'}, "
                               f"Wine {'kept' if key in wine_keys else 'removed'}")
    sim_products = {product.code for product in sim_after.products()}
    for product in installed:
        wine_has = product_installed(machine, helpers, product.code)
        if wine_has != (product.code in sim_products):
            differences.append(f"product {product.name}: simulated machine "
                               f"{'kept' if product.code in sim_products else 'uninstalled'}, "
                               f"Wine {'kept' if wine_has else 'uninstalled'}")
    if differences:
        raise Failure("the machines differ; first: " + differences[0] +
                      (f" (and {len(differences) - 1} more)" if len(differences) > 1 else ""))
    kept = ", ".join(product.name for product in installed if product.code in sim_products)
    say(f"  ok  every file, key and product agrees ({removed} items removed, {survived} kept on both; the Installer "
        f"still reports installed: {kept})")


def compare_machines(image, sim_after, machine, helpers, paths, installed, work, sim_progress, texts_seen,
                     removed_by_products):
    say("differential: the Wine machine against the simulated one")
    compare_state(image, sim_after, machine, helpers, paths, installed, work, removed_by_products)

    logged = [paths.text(text) for text in sim_progress]
    difference = first_difference(texts_seen, logged)
    seen, distinct = coverage(texts_seen, logged)
    check(difference is None, f"the progress texts on screen are the tool's, in its order ({seen} of the "
          f"{distinct} distinct texts of the first run read off the screen)"
          + (f"; first that differs: {difference}" if difference else ""))

    temp = machine.unix_path(paths(image.env("TEMP")))
    check(temp.is_dir() and not any(temp.iterdir()), "the temporary folder is present and empty")
    check(not (temp / "deleteoffice.bat").exists(), "the batch file is gone")
    check(not machine.unix_path(STARTUP_LINK).exists(), "the Startup shortcut is gone")
    check(not machine.unix_path(tool_folder(machine) + RESUME_RECORD).exists(), "the resume record is gone")
    _, pending = machine.run("reg", "query", "HKLM\\System\\CurrentControlSet\\Control\\Session Manager", "/v",
                             "PendingFileRenameOperations", check=False)
    check(not machine.unix_path(tool_folder(machine)).exists() or "Kelvane 2010" in pending,
          "the tool's copy is gone, or handed to Windows for the next restart")


def sim(sim_tool, *args, check_status=True):
    result = subprocess.run([str(sim_tool), *map(str, args)], capture_output=True, text=True)
    if check_status and result.returncode not in (0, 1):
        raise Failure(f"kelvane-sim {' '.join(map(str, args))} exited {result.returncode}: {result.stderr}")
    return result


# -- failure paths ------------------------------------------------------------------

def close_before_go(machine, helpers, image, paths, exe, work):
    say("failure path: the main window is closed before Go")
    before_files = snapshot_files(machine, image, paths)
    before_keys = prefix_registry_keys(machine, work)
    machine.start(exe)
    machine.find_window(KELVANE, 60)
    caption = next(line for line in subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--name", KELVANE, "getwindowname"], env=machine.env,
        capture_output=True, text=True).stdout.splitlines())
    machine.run(dos_path(helpers["window_probe"]), "close", caption)
    check(wait_for_exit(machine.program, 30), "closing the main window ends the program")
    check(snapshot_files(machine, image, paths) == before_files, "no file or folder changed")
    after_keys = prefix_registry_keys(machine, work)
    changed = sorted(before_keys ^ after_keys)
    check(not changed, "no registry key changed" + (f"; first: {changed[0]}" if changed else ""))


def read_only_startup(machine, helpers, exe):
    say("failure path: the common Startup folder may not be written")
    startup = machine.unix_path("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp")
    subprocess.run(["chattr", "+i", str(startup)], check=True)
    try:
        machine.start(exe)
        main_window = machine.find_window(KELVANE, 60)
        machine.click(main_window, *GO)
        check(machine.wait_for_window(f"^{ERROR_BOX}$", 240), "the error box titled \"Kelvane 2010\" appears")
        texts = probe_texts(machine, helpers, LOADING) or []
        check(not any(text.startswith("Rebooting") for text in texts), "no restart countdown ran")
        machine.run(dos_path(helpers["window_probe"]), "close", ERROR_BOX)
        check(wait_for_exit(machine.program, 30), "the program exits when the error box is closed")
    finally:
        subprocess.run(["chattr", "-i", str(startup)], check=True)
    machine.end_session()
    machine.start_session()
    machine.start(exe)
    check(machine.wait_for_window("^Complete$", 120), "the next start takes the resumed path and completes")
    machine.run(dos_path(helpers["window_probe"]), "close", COMPLETE)
    close_remaining_items_box(machine, helpers, "read-only Startup folder")
    check(wait_for_exit(machine.program, 30), "closing the completion window ends the program")


def close_remaining_items_box(machine, helpers, scenario):
    """Done on a resumed run that left something names it in a box: say
    what, and close it."""
    if not machine.wait_for_window(f"^{ERROR_BOX}$", 5):
        return
    texts = probe_texts(machine, helpers, ERROR_BOX) or []
    say(f"      {scenario}: the box after Done names what remains: " + " | ".join(texts))
    machine.run(dos_path(helpers["window_probe"]), "close", ERROR_BOX)


def temp_elsewhere(machine, helpers, exe):
    """A resumed run whose temporary folder the user pointed at a folder that
    is not the user's own: nothing there may go, and the run completes."""
    say("trust: TEMP set to folders that are not the user's own, on resumed runs")
    profile = machine.expand("USERPROFILE")
    for place in ("C:\\windows\\system32", "C:\\windows\\Installer", "C:\\Program Files\\Common Files",
                  "C:\\users\\Public\\Documents", "C:\\users\\kelvane-other", profile):
        folder = machine.unix_path(place)
        folder.mkdir(parents=True, exist_ok=True)
        (folder / "kelvane-keep.txt").write_text("keep")
        before = {path.name for path in folder.iterdir()}
        record = machine.unix_path(tool_folder(machine) + RESUME_RECORD)
        record.parent.mkdir(parents=True, exist_ok=True)
        # Named for Wine's one user: the resumed run is that user's own.
        record.write_text("due\r\nUser: " + WINE_USER_SID + "\r\n")
        for variable in ("TEMP", "TMP"):
            machine.run("reg", "add", "HKCU\\Environment", "/v", variable, "/d", place, "/f")
        machine.start(exe)
        check(machine.wait_for_window("^Complete$", 120), f"TEMP={place}: the resumed run completes")
        machine.run(dos_path(helpers["window_probe"]), "close", COMPLETE)
        close_remaining_items_box(machine, helpers, f"TEMP={place}")
        check(wait_for_exit(machine.program, 30), f"TEMP={place}: the program ends")
        missing = sorted(before - {path.name for path in folder.iterdir()})
        check(not missing, f"TEMP={place}: nothing there was deleted ({len(before)} entries kept)"
              + (f"; gone: {', '.join(missing[:5])}" if missing else ""))


def unattended(machine, helpers, exe, image, paths, installed, work, sim_tool, removed_by_products):
    """What a deployment system does: /check, /quiet /norestart with a log,
    /check again; compared with the same on the simulated machine."""
    say("unattended: /check, /quiet /norestart /log C:\\kv.log, /check")

    def run(*arguments):
        _, said = machine.run(dos_path(helpers["window_probe"]), "run", FORM_CLASS, exe, *arguments, timeout=600)
        found = re.search(r"exit (\d+) visible (\d+)", said)
        if not found:
            raise Failure(f"the program did not run: {said.strip()}")
        return int(found[1]), int(found[2])

    code, _ = run("/check")
    check(code == 1, f"/check before the removal exits 1 (exit {code})")
    code, visible = run("/quiet", "/norestart", "/log", "C:\\kv.log")
    if code not in (0, 3010):
        said = machine.unix_path("C:\\kv.log").read_text("utf-8", "replace").splitlines()
        say("      the log's remains and scrubbed lines: " + " | ".join(
            line.split("\t", 1)[-1] for line in said if "\tremains\t" in line or "\tscrubbed\t" in line
            or "\tuninstall\t" in line))
    check(code in (0, 3010), f"/quiet /norestart exits 0 or 3010 (exit {code})")
    check(visible == 0, "no window of the tool showed")
    sim_root = work / "sim-unattended"
    shutil.copytree(image.root, sim_root, symlinks=True)
    sim(sim_tool, "start", sim_root, "--args", "/quiet /norestart /log C:\\kv.log")
    sim_log = (sim_root / "drive_c" / "kv.log").read_text("utf-8")
    log = machine.unix_path("C:\\kv.log").read_text("utf-8")
    removed = re.findall(r"\tuninstall\t(.*): status 0\r?$", sim_log, re.M)
    # Gone is gone: 1605 (no longer installed) is the Installer's word for a
    # product that went with another before its turn.
    answered = dict(re.findall(r"\tuninstall\t(.*): status (\d+)\r?$", log, re.M))
    check(removed and all(answered.get(name) in ("0", "1605") for name in removed),
          f"the log names every removed product ({', '.join(removed)}; Wine's answers: {answered})")
    check(re.search(r"\texit\t(0|3010)\r?$", log, re.M), "the log ends with the exit code")
    compare_state(image, MachineImage(sim_root), machine, helpers, paths, installed, work, removed_by_products)
    code, _ = run("/check")
    check(code == 0, f"/check after the removal exits 0 (exit {code})")
    deployment_recipe(machine, helpers, exe)


def docs_block(after: str) -> str:
    """The indented block that follows a line of docs/deployment.md."""
    lines = (ROOT / "docs" / "deployment.md").read_text(encoding="utf-8").splitlines()
    start = next(i for i, line in enumerate(lines) if line.strip() == after) + 1
    block = []
    for line in lines[start:]:
        if line.strip() and not line.startswith("    "):
            break
        block.append(line[4:])
    return "\n".join(block).strip() + "\n"


def deployment_recipe(machine, helpers, exe):
    """The deployment recipe's install.cmd (Intune, Configuration Manager), run
    by Wine's cmd beside the program: the copy the detection runs is kept, the
    removal's exit code is passed on, and that copy's /check exits 0."""
    script = docs_block("`install.cmd`, beside the executable in the package:")
    folder = PureWindowsPath(exe).parent
    machine.unix_path(str(folder / "install.cmd")).write_text(
        script.replace("kelvane2010.exe", machine.program).replace("\n", "\r\n"))
    # Windows has C:\Windows\Logs; a Wine prefix may not.
    machine.unix_path("C:\\windows").joinpath("Logs").mkdir(exist_ok=True)
    status, said = machine.run("cmd", "/c", str(folder / "install.cmd"), timeout=600, check=False)
    check(status == 0, f"the recipe's install.cmd exits 0 on the removed machine ({status}: {said.strip()[-200:]})")
    kept = "C:\\Program Files\\Kelvane 2010 Check\\" + machine.program
    check(machine.unix_path(kept).is_file(), f"install.cmd keeps the copy the detection runs: {kept}")
    for attempt in (1, 2):
        status, said = machine.run(dos_path(helpers["window_probe"]), "run", FORM_CLASS, kept, "/check", timeout=600,
                                   check=False)
        if "exit " in said:
            break
        # The probe itself did not come back (seen once in a 64-bit prefix:
        # wine exited 1 with no output); the tool's answer is what is checked.
        say(f"      the probe ended with {status} and said nothing (attempt {attempt})")
    check(re.search(r"exit 0 ", said), f"that copy's /check exits 0 ({said.strip()})")


# -- what the Installer could not remove ---------------------------------------------

OFFICE = "{90140000-0011-0000-0000-0000000FF1CE}"
VISIO = "{90140000-0057-0000-0000-0000000FF1CE}"
ACE = "{90140000-00D1-0409-0000-0000000FF1CE}"
TOOLS = "{5E2D0B00-0000-4000-8000-000000000001}"
SHARED_COMPONENT = "{5E2D0014-0004-4000-8000-000000000011}"
OFFICE_COMPONENTS = ("{5E2D0014-0001-4000-8000-000000000011}", "{5E2D0014-0002-4000-8000-000000000011}",
                     "{5E2D0014-0003-4000-8000-000000000011}", SHARED_COMPONENT)
# (code, name, root, outer, inner, file, component) for one_file.wxs
ONE_FILE_PRODUCTS = (
    (TOOLS, "Example Shared Tools", "ProgramFiles", "Example Corp", "Shared Tools", "tools.txt", SHARED_COMPONENT),
    (VISIO, "Microsoft Visio Premium 2010", "ProgramFiles", "Microsoft Office", "Office14", "visio.txt",
     "{5E2D0014-0005-4000-8000-000000000057}"),
    (ACE, "Microsoft Access database engine 2010 (English)", "CommonFiles", "Microsoft Shared", "OFFICE14", "ace.txt",
     "{5E2D0014-0006-4000-8000-0000000000D1}"),
)


def build_office14_packages(work: Path, arch: str) -> list:
    """Packages of the given edition: win64's install in the native folders."""
    bits = "64" if arch == "win64" else ""
    folders = ("-D", f"ProgramFiles=ProgramFiles{bits}Folder", "-D", f"CommonFiles=CommonFiles{bits}Folder")
    options = ARCHITECTURES[arch].wixl_options[:2]
    office = work / "office14.msi"
    subprocess.run(["wixl", *options, *folders, "-o", str(office), str(HERE / "office14.wxs")], check=True, cwd=HERE)
    packages = [office]
    for index, (code, name, root, outer, inner, file, component) in enumerate(ONE_FILE_PRODUCTS):
        target = work / f"office14-{index}.msi"
        subprocess.run(["wixl", *options, "-D", f"Root={root}{bits}Folder", "-D", f"Outer={outer}", "-D", f"Inner={inner}",
                        "-D", f"FileName={file}", "-D", f"ComponentGuid={component}", "-D", f"ProductCode={code}",
                        "-D", f"ProductName={name}", "-D", f"UpgradeCode={{5E2D0015-0000-4000-8000-{index:012d}}}",
                        "-o", str(target), str(HERE / "one_file.wxs")], check=True, cwd=HERE)
        packages.append(target)
    return packages


def broken_office(machine, helpers, exe, work, edition):
    """Office 2010 of the program's edition whose cached package and source
    are gone, beside Visio, the Access Database Engine and another vendor's
    tool sharing one of its components, and setup's own uninstall entry."""
    say(f"the Installer cannot remove a {edition} Office 2010 in a {machine.arch} prefix: /quiet /norestart, then /check")
    probe = dos_path(helpers["installer_probe"])
    packages = build_office14_packages(work, edition)
    for package in packages:
        machine.run("msiexec", "/i", dos_path(package), "/qn", timeout=180)
    check(all(product_installed(machine, helpers, code) for code in (OFFICE, VISIO, ACE, TOOLS)),
          "Office 2010, Visio, the Access Database Engine and the shared tool are installed")
    _, cached = machine.run(probe, "package", OFFICE)
    machine.unix_path(cached.strip()).unlink()
    packages[0].unlink()
    _, status = machine.run(probe, "remove", OFFICE, check=False)
    check(status.strip() == "1612", f"without its cached package and source the Installer answers 1612 ({status.strip()})")
    uninstall = "HKLM\\SOFTWARE\\" + ("Wow6432Node\\" if edition != machine.arch else "") + \
        "Microsoft\\Windows\\CurrentVersion\\Uninstall\\Office14.PROPLUS"
    machine.run("reg", "add", uninstall, "/v", "DisplayName", "/d", "Microsoft Office Professional Plus 2010", "/f")
    _, said = machine.run(dos_path(helpers["window_probe"]), "run", FORM_CLASS, exe, "/quiet", "/norestart", timeout=600)
    check(re.search(r"exit 0 visible 0", said), f"/quiet /norestart exits 0 ({said.strip()})")
    check(not product_installed(machine, helpers, OFFICE) and not product_installed(machine, helpers, VISIO),
          "the Installer lists neither Office 2010 nor Visio")
    for component in OFFICE_COMPONENTS:
        _, clients = machine.run(probe, "clients", component)
        expected = [TOOLS] if component == SHARED_COMPONENT else []
        check(clients.split() == expected, f"component {component} names only {expected or 'nobody'}")
    program_files = "C:\\Program Files (x86)" if edition != machine.arch else "C:\\Program Files"
    bases = {"ProgramFiles": program_files, "CommonFiles": program_files + "\\Common Files"}
    files = {file: machine.unix_path("\\".join((bases[root], outer, inner, file))).exists()
             for _, _, root, outer, inner, file, _ in ONE_FILE_PRODUCTS}
    check(files == {"tools.txt": True, "visio.txt": False, "ace.txt": True},
          f"the shared tool's and the engine's files stay, Visio's is gone ({files})")
    check(product_installed(machine, helpers, ACE), "the Access Database Engine is still installed")
    status, _ = machine.run("reg", "query", uninstall, check=False)
    check(status != 0, "Uninstall\\Office14.PROPLUS is gone")
    _, said = machine.run(dos_path(helpers["window_probe"]), "run", FORM_CLASS, exe, "/check", timeout=600)
    check(re.search(r"exit 0 ", said), f"/check then exits 0 ({said.strip()})")


# -- the whole run ----------------------------------------------------------------

def display_free(number: int) -> bool:
    """Whether display :number is free. A lock left by an X server that no
    longer runs (one killed outright cannot remove it) is cleared."""
    lock, socket = Path(f"/tmp/.X{number}-lock"), Path(f"/tmp/.X11-unix/X{number}")
    if lock.exists():
        try:
            os.kill(int(lock.read_text().strip()), 0)
            return False
        except (ValueError, ProcessLookupError):
            lock.unlink(missing_ok=True)
            socket.unlink(missing_ok=True)
        except PermissionError:
            return False
    return not socket.exists()


def start_display(work: Path):
    for number in range(90, 200):
        if display_free(number):
            server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                      stdout=subprocess.DEVNULL, stderr=open(work / "xvfb.log", "wb"))
            for _ in range(50):
                if Path(f"/tmp/.X11-unix/X{number}").exists():
                    return server, f":{number}"
                time.sleep(0.1)
            stop_display(server)
    raise Failure("no X display could be started")


def stop_display(server):
    """Ends the X server so that it removes its own lock."""
    server.terminate()
    try:
        server.wait(timeout=10)
    except subprocess.TimeoutExpired:
        server.kill()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--exe", default=ROOT / "build/windows/kelvane2010.exe", type=Path)
    parser.add_argument("--sim", default=ROOT / "build/linux/tools/kelvane-sim/kelvane-sim", type=Path)
    parser.add_argument("--screenshots", type=Path, help="save the windows' screenshots here")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    parser.add_argument("--only", metavar="SCENARIO", help="run this failure scenario alone, not the whole run")
    parser.add_argument("--prefix", choices=("win32", "win64"),
                        help="the prefix's architecture (the program's own unless given)")
    parser.add_argument("--edition", choices=("32", "64"),
                        help="in a 64-bit prefix, the Office edition (the other program's unless given)")
    args = parser.parse_args()

    started = time.time()
    work = Path(tempfile.mkdtemp(prefix="kelvane-e2e-"))
    display = None
    machine = None
    try:
        program_arch = pe_architecture(args.exe)
        arch = args.prefix or program_arch
        if arch == "win32" and program_arch == "win64":
            raise Failure("a 64-bit program cannot run in a 32-bit prefix")
        edition = "32" if arch == "win32" else args.edition or ("32" if program_arch == "win64" else "64")
        say(f"{args.exe.name}: a {program_arch} program, run in a {arch} prefix, on the {edition}-bit edition")
        say("where Wine differs from Windows, and what this harness does about it:")
        for name, what in WINE_DIFFERENCES + (WIN64_DIFFERENCES if arch == "win64" else []):
            say(f"  - {name}: {what}")
        display_server, display = start_display(work)
        helpers = build_helpers(work, arch)

        image_root = work / "image"
        # Office 2010 with a newer Office beside it, which must keep working.
        shape = ["--x64", "--edition", edition] if arch == "win64" else []
        sim(args.sim, "init", image_root, "--demo", "--with-newer-office", *shape)
        image = MachineImage(image_root)
        sim_root = work / "sim-image"
        shutil.copytree(image_root, sim_root, symlinks=True)
        sim(args.sim, "cycle", sim_root)
        sim_after = MachineImage(sim_root)
        check(sim(args.sim, "report", sim_root).returncode == 0, "kelvane-sim cycle leaves a clean report")

        machine = WineMachine(work / "prefix", display, work, arch)
        machine.init()
        # A prefix with nothing installed yet, for the scenarios that install
        # packages of their own.
        fresh = work / "prefix-fresh"
        subprocess.run(["cp", "-a", str(machine.prefix), str(fresh)], check=True)
        machine.start_session()
        paths, installed, _ = lay_installation(image, machine, helpers, work, "win64" if edition == "64" else "win32")
        # The program under its own name in the image's download folder.
        exe = str(PureWindowsPath(paths(image.exe_path)).with_name(args.exe.name))
        machine.copy_in(args.exe, exe)
        machine.program = args.exe.name
        machine.program_arch = program_arch
        kept_codes = {product.code for product in sim_after.products()}
        uninstalled = [product for product in image.products() if product.code not in kept_codes]
        removed_by_products = [paths(item) for product in uninstalled for item in product.removes_folders]
        removed_by_products += [item for product in uninstalled for item in product.removes_keys]
        # The Installer's own records of the image's products (cached packages,
        # patch caches, component and product keys) are laid as stand-ins; a
        # Wine package keeps records of its own and removes those, not these.
        if uninstalled:
            removed_by_products += [paths("C:\\Windows\\Installer"), "HKEY_CLASSES_ROOT\\Installer",
                                    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData"]
        if removed_by_products:
            say(f"  {len(removed_by_products)} items are removed by products' uninstallation in the simulated "
                "machine and left out of the comparison:")
            for item in removed_by_products:
                say(f"    {item}")

        # The failure paths run on copies of the laid prefix.
        machine.end_session()
        scenarios = [args.only] if args.only else ["close", "read-only", "temp", "unattended", "broken-office"]
        for scenario in scenarios:
            copy = WineMachine(work / f"prefix-{scenario}", display, work, arch)
            copy.program = machine.program
            copy.program_arch = program_arch
            # Office 2010 that the Installer cannot remove is installed on a
            # prefix of its own: the demo's packages share its product code.
            source = fresh if scenario == "broken-office" else machine.prefix
            subprocess.run(["cp", "-a", str(source), str(copy.prefix)], check=True)
            copy.start_session()
            if scenario == "broken-office":
                copy.copy_in(args.exe, exe)
            if scenario == "close":
                close_before_go(copy, helpers, image, paths, exe, work)
            elif scenario == "temp":
                temp_elsewhere(copy, helpers, exe)
            elif scenario == "unattended":
                unattended(copy, helpers, exe, image, paths, installed, work, args.sim, removed_by_products)
            elif scenario == "broken-office":
                broken_office(copy, helpers, exe, work, program_arch)
            else:
                read_only_startup(copy, helpers, exe)
            copy.end_session()
            if not args.keep:
                shutil.rmtree(copy.prefix, ignore_errors=True)
        if args.only:
            say(f"end to end: the {args.only} scenario passed in {time.time() - started:.0f} s")
            return 0
        machine.start_session()

        texts_seen, longest = [], []
        first_run(machine, helpers, exe, args.screenshots, texts_seen, longest, paths(image.env("TEMP")))
        check((machine.unix_path(paths(image.env("TEMP"))) / "deleteoffice.bat").is_file(),
              "the batch file is in place before the restart")
        check(machine.unix_path(STARTUP_LINK).is_file(), "the Startup shortcut is in place before the restart")
        restart_and_resume(machine, helpers, args.screenshots, longest)
        check_nothing_planted_ran(machine)
        compare_machines(image, sim_after, machine, helpers, paths, installed, work, runs_of_progress(sim_root)[0],
                         texts_seen, removed_by_products)
        say(f"end to end: all checks passed in {time.time() - started:.0f} s; the windows' longest answer to a "
            f"probe: {max(longest):.1f} ms")
        return 0
    except (Failure, WineError) as failure:
        say(f"end to end FAILED: {failure}")
        if display:
            shot = work / "failure.png"
            subprocess.run(["import", "-display", display, "-window", "root", str(shot)], check=False)
            say(f"  the screen at the failure: {shot}")
        return 1
    finally:
        if machine:
            machine.end_session()
        if display:
            stop_display(display_server)
        if args.keep:
            say(f"work folder kept: {work}")
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
