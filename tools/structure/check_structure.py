#!/usr/bin/env python3
"""The structure check: every include of the tree goes down the floors of docs/layers.md, and
only platform/ includes Qt, SQLite or POSIX headers in production code.

Usage: check_structure.py SOURCE_DIR
Prints one line per broken include and exits 1 when there is any; exits 0 with a count when the
tree holds to its floors. The floors are read from the ```floors block of docs/layers.md, so the
page and the check cannot tell different stories.
"""
import os
import re
import subprocess
import sys

SOURCE_SUFFIXES = (".cpp", ".h", ".c", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)

# Folders whose files stand above every floor: they may include anything.
ABOVE_EVERYTHING = ("platform/testing", "bench", "fuzz", "acceptance", "desktop")

# Headers only the platform layer may include: Qt, SQLite and the POSIX calls.
HOST_HEADER = re.compile(
    r"^(Q[A-Za-z]*(/.*)?|qt[a-z]*/.*|sqlite3(ext)?\.h|unistd\.h|fcntl\.h|sys/.*|pthread\.h|"
    r"dlfcn\.h|dirent\.h|poll\.h|netinet/.*|arpa/.*|netdb\.h|termios\.h|spawn\.h|"
    r"semaphore\.h|sched\.h|pwd\.h|grp\.h|glob\.h|fnmatch\.h|libgen\.h|strings\.h|syslog\.h|"
    r"utime\.h|wordexp\.h|regex\.h|iconv\.h|langinfo\.h|ftw\.h|signal\.h|execinfo\.h|"
    r"X11/.*|xcb/.*)$")


def read_floors(source_dir):
    """The folders of each floor, lowest first, from docs/layers.md."""
    text = open(os.path.join(source_dir, "docs", "layers.md"), encoding="utf-8").read()
    block = re.search(r"```floors\n(.*?)```", text, re.DOTALL)
    if not block:
        sys.exit("docs/layers.md has no ```floors block")
    floors = {}
    for number, line in enumerate(block.group(1).splitlines()):
        for folder in line.split():
            floors[folder] = number
    return floors


def tracked_files(source_dir):
    """The source files of the tree: git's list where there is one, else a walk."""
    try:
        names = subprocess.run(["git", "-C", source_dir, "ls-files", "-z"], check=True,
                               capture_output=True).stdout.decode().split("\0")
        return [n for n in names if n.endswith(SOURCE_SUFFIXES) and
                os.path.exists(os.path.join(source_dir, n))]
    except (OSError, subprocess.CalledProcessError):
        found = []
        for root, dirs, files in os.walk(source_dir):
            dirs[:] = [d for d in dirs if not d.startswith((".", "build"))]
            found += [os.path.relpath(os.path.join(root, f), source_dir)
                      for f in files if f.endswith(SOURCE_SUFFIXES)]
        return found


def is_above_everything(path):
    return "/tests/" in path or path.startswith(tuple(f + "/" for f in ABOVE_EVERYTHING))


def folder_of(path, floors):
    """The floors-table folder a path belongs to (the longest that holds it), or None."""
    best = None
    for folder in floors:
        if path.startswith(folder + "/") and (best is None or len(folder) > len(best)):
            best = folder
    return best


def resolve(include, including_file, source_dir):
    """The tree path an include "..." names: beside the including file first, else from the
    top of the tree (every target's include path), as the compiler looks."""
    beside = os.path.normpath(os.path.join(os.path.dirname(including_file), include))
    if os.path.exists(os.path.join(source_dir, beside)):
        return beside
    return os.path.normpath(include)


def check_file(path, source_dir, floors):
    """The broken includes of one file, as printable lines."""
    if is_above_everything(path):
        return []
    in_tools = path.startswith("tools/")
    own = folder_of(path, floors)
    if own is None and not in_tools:
        return [f"{path}: folder has no floor in docs/layers.md"]
    text = open(os.path.join(source_dir, path), encoding="latin-1").read()
    problems = []
    for match in INCLUDE.finditer(text):
        kind, name = match.group(1), match.group(2)
        line = text.count("\n", 0, match.start()) + 1
        where = f"{path}:{line}: #include {kind}{name}{'>' if kind == '<' else kind}"
        if kind == "<":
            if HOST_HEADER.match(name) and not path.startswith("platform/") and not in_tools:
                problems.append(f"{where}: only platform/ may include Qt, SQLite or POSIX headers")
            continue
        target = resolve(name, path, source_dir)
        if is_above_everything(target):
            problems.append(f"{where}: production code includes test or harness code")
            continue
        if in_tools:
            if not target.startswith(("platform/", "tools/")):
                problems.append(f"{where}: tools/ includes only platform/")
            continue
        theirs = folder_of(target, floors)
        if theirs is None or theirs == own:
            continue
        if floors[theirs] >= floors[own]:
            side = "beside" if floors[theirs] == floors[own] else "above"
            problems.append(f"{where}: {theirs} stands {side} {own} (floors in docs/layers.md)")
    return problems


def main():
    source_dir = source_dir_argument(__doc__)
    floors = read_floors(source_dir)
    files = tracked_files(source_dir)
    problems = [p for f in sorted(files) for p in check_file(f, source_dir, floors)]
    return report(problems, f"{len(problems)} include(s) break the floors",
                  f"{len(files)} files hold to the floors of docs/layers.md")


def source_dir_argument(usage):
    """The check's one argument, the source tree; without it, the usage and exit."""
    if len(sys.argv) != 2:
        sys.exit(usage)
    return sys.argv[1]


def report(problems, failed, held):
    """Prints the problems and the closing line; the exit status: 1 when there is any."""
    for problem in problems:
        print(problem)
    print(failed if problems else held)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
