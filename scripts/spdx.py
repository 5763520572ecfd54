#!/usr/bin/env python3
"""Checks (or with --fix, adds) the licence line at the top of every source file."""
import subprocess
import sys

LINE = "SPDX-License-Identifier: MIT"
SLASHES = (".cpp", ".h", ".c", ".qml", ".js")
HASHES = (".sh", ".py", ".cmake", "CMakeLists.txt", "Makefile", ".ci/run")


def comment_for(path):
    if path.endswith(SLASHES):
        return "// " + LINE
    if path.endswith(HASHES):
        return "# " + LINE
    return None


def main():
    fix = "--fix" in sys.argv
    files = subprocess.run(["git", "ls-files"], capture_output=True, text=True,
                           check=True).stdout.split("\n")
    missing = []
    for path in filter(None, files):
        comment = comment_for(path)
        if comment is None:
            continue
        try:
            with open(path, encoding="utf-8") as f:
                text = f.read()
        except (OSError, UnicodeDecodeError):
            continue
        if LINE in text[:400]:
            continue
        missing.append(path)
        if fix:
            lines = text.split("\n")
            at = 1 if lines and lines[0].startswith("#!") else 0
            lines.insert(at, comment)
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
    if missing and not fix:
        for path in missing:
            print("no licence line: " + path, file=sys.stderr)
        print("Run scripts/check-format.sh --fix", file=sys.stderr)
        return 1
    print("licence check: every source file carries its SPDX line" if not fix
          else "licence lines added to %d files" % len(missing))
    return 0


if __name__ == "__main__":
    sys.exit(main())
