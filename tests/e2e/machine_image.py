"""Reads a simulated machine's image: machine.ini, products.ini, the files of
drive_c and the key names of registry.reg."""

import configparser
from dataclasses import dataclass, field
from pathlib import Path


def _ini(path: Path) -> configparser.ConfigParser:
    parser = configparser.ConfigParser(interpolation=None, strict=False, delimiters=("=",))
    parser.optionxform = str  # keep names as written
    parser.read(path, encoding="utf-8")
    return parser


@dataclass
class Product:
    code: str
    name: str | None
    removes_keys: list = field(default_factory=list)
    removes_folders: list = field(default_factory=list)


def read_registry_text(path: Path) -> str:
    data = path.read_bytes()
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le")
    return data.decode("utf-8-sig")


def registry_keys(text: str) -> set:
    """Every key named in a regedit export, as ROOT\\PATH in lower case."""
    keys = set()
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]") and not line.startswith("[-"):
            keys.add(line[1:-1].lower())
    return keys


def products(image: Path) -> list:
    found = []
    # Repeatable keys (RemovesKey=, RemovesFolder=) do not fit configparser:
    # read the sections by hand.
    current = None
    for raw in (image / "products.ini").read_text(encoding="utf-8").splitlines():
        line = raw.strip()
        if not line or line.startswith(";") or line.startswith("#"):
            continue
        if line.startswith("[") and line.endswith("]"):
            current = Product(line[1:-1], None)
            found.append(current)
            continue
        if current is None or "=" not in line:
            continue
        key, value = (part.strip() for part in line.split("=", 1))
        if key == "Name":
            current.name = value
        elif key == "RemovesKey":
            current.removes_keys.append(value)
        elif key == "RemovesFolder":
            current.removes_folders.append(value)
    return found


class MachineImage:
    def __init__(self, root: Path):
        self.root = root
        ini = _ini(root / "machine.ini")
        self.computer_name = ini.get("machine", "ComputerName", fallback="")
        self.exe_path = ini.get("machine", "ExePath")
        self.environment = {name: value for name, value in ini.items("environment")} \
            if ini.has_section("environment") else {}

    def env(self, name: str) -> str:
        for key, value in self.environment.items():
            if key.lower() == name.lower():
                return value
        raise KeyError(name)

    def drive_c(self) -> Path:
        return self.root / "drive_c"

    def windows_path(self, path: Path) -> str:
        relative = path.relative_to(self.drive_c())
        return "C:\\" + "\\".join(relative.parts)

    def entries(self):
        """(windows path, unix path, is folder) for everything on drive C:,
        links left out: they stand for the machine's own junctions."""
        for path in sorted(self.drive_c().rglob("*")):
            if any(parent.is_symlink() for parent in [path, *path.parents]
                   if parent != self.drive_c() and self.drive_c() in parent.parents):
                continue
            yield self.windows_path(path), path, path.is_dir()

    def registry_keys(self) -> set:
        return registry_keys(read_registry_text(self.root / "registry.reg"))

    def products(self) -> list:
        return products(self.root)
