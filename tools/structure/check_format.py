#!/usr/bin/env python3
"""The format check: every C++ file a change touches is laid out as .clang-format says.

Usage: check_format.py SOURCE_DIR [BASE]
The files checked are those that differ from BASE (default: where this branch left main,
else HEAD) and those not committed yet. Prints each file clang-format would change and exits
1 when there is any; exits 77 (reported as skipped) when clang-format or git is missing, so a
machine without them still runs the other checks. The whole tree was formatted once, so a file
that is touched must stay formatted, and an untouched one is left alone.
"""
import os
import shutil
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

CPP_SUFFIXES = (".cpp", ".h", ".c")
SKIP = 77
BATCH = 40  # files per clang-format call: a change that touches the whole tree stays quick


def git(source_dir, *args):
    return subprocess.run(["git", "-C", source_dir, *args], check=True, capture_output=True,
                          text=True).stdout


def changed_files(source_dir, base):
    names = set()
    if base:
        names.update(git(source_dir, "diff", "--name-only", "--diff-filter=d", base).split("\n"))
    names.update(git(source_dir, "diff", "--name-only", "--diff-filter=d", "HEAD").split("\n"))
    names.update(git(source_dir, "ls-files", "--others", "--exclude-standard").split("\n"))
    return sorted(n for n in names if n.endswith(CPP_SUFFIXES))


def default_base(source_dir):
    try:
        return git(source_dir, "merge-base", "HEAD", "main").strip()
    except subprocess.CalledProcessError:
        return "HEAD"


def unformatted(clang_format, source_dir, names):
    """The names clang-format would change: one call for the batch, and one a file only when
    the batch has any, to name them."""
    result = subprocess.run([clang_format, "--dry-run", "--Werror", "--style=file", *names],
                            cwd=source_dir, capture_output=True, text=True)
    if result.returncode == 0:
        return []
    if len(names) == 1:
        return names
    return [n for n in names if unformatted(clang_format, source_dir, [n])]


def main():
    source_dir = sys.argv[1]
    clang_format = shutil.which("clang-format")
    if not clang_format or not shutil.which("git"):
        print("clang-format or git is missing: format not checked")
        return SKIP
    try:
        base = sys.argv[2] if len(sys.argv) > 2 else default_base(source_dir)
        files = changed_files(source_dir, base)
    except (OSError, subprocess.CalledProcessError) as error:
        print(f"no git history to compare with ({error}): format not checked")
        return SKIP
    batches = [files[i:i + BATCH] for i in range(0, len(files), BATCH)]
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 4) as pool:
        found = [n for names in pool.map(lambda b: unformatted(clang_format, source_dir, b), batches)
                 for n in names]
    for name in found:
        print(f"{name}: not as .clang-format lays it out (run clang-format -i {name})")
    if found:
        return 1
    print(f"{len(files)} changed files, all formatted")
    return 0


if __name__ == "__main__":
    sys.exit(main())
