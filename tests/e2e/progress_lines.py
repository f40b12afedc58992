"""The progress line as a person reads it off the screen, against the texts
the simulated machine's run logged.

A reader that polls the window sees each text that stays long enough, never
a text repeated right after itself, and the products and cache folders in
the order the machine enumerates them (Windows Installer's own order, the
file system's listing order), which differs between machines. So each run
of such texts is compared as a set, and what was seen must be a subsequence
of what was logged."""

from pathlib import Path

# The Loading window's label before the first progress text is set.
LOADING_LABEL = "Loading Please Wait..."

# Texts whose order comes from the machine's enumeration, not the tool.
ENUMERATED = ("Uninstalling MSI: ", "Removing: C:\\MSOCache\\")


def runs_of_progress(image_root: Path) -> list:
    """The progress texts of each run in the simulated machine's events.log,
    one list per log-on."""
    runs = []
    for line in (image_root / "events.log").read_text(encoding="utf-8").splitlines():
        fields = line.split("\t")
        if fields[0] == "logon":
            runs.append([])
        elif fields[0] == "progress" and len(fields) > 1 and runs:
            runs[-1].append(fields[1])
    return runs


def _normalised(texts: list) -> list:
    items = []
    for text in texts:
        group = next((prefix for prefix in ENUMERATED if text.startswith(prefix)), None)
        if group and items and isinstance(items[-1], tuple) and items[-1][0] == group:
            items[-1][1].add(text)
        elif group:
            items.append((group, {text}))
        elif not items or items[-1] != text:
            items.append(text)
    return items


def first_difference(seen: list, logged: list):
    """None when every text seen is one logged, in the logged order; else a
    sentence naming the first that is not."""
    seen = [text for text in seen if text != LOADING_LABEL]
    expected = _normalised(logged)
    at = 0
    for item in _normalised(seen):
        while at < len(expected):
            candidate = expected[at]
            at += 1
            if isinstance(item, tuple) and isinstance(candidate, tuple) and item[0] == candidate[0]:
                if item[1] <= candidate[1]:
                    break
                return f"{sorted(item[1] - candidate[1])[0]!r} is not one of the texts logged there"
            if item == candidate:
                break
        else:
            shown = sorted(item[1])[0] if isinstance(item, tuple) else item
            known = any(shown == text for text in logged)
            return f"{shown!r} " + ("came out of the logged order" if known else "was never logged")
    return None


def coverage(seen: list, logged: list) -> tuple:
    """(distinct logged texts seen, distinct logged texts)."""
    distinct = set(logged)
    return len(distinct & set(seen)), len(distinct)
