#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Fails when a relative link in README.md or docs/*.md leads nowhere.

Every link and image whose target is not a URL must name a file or folder
that exists (relative to the page that links it); a link to a heading
(page.md#heading, or #heading on the same page) must name a heading that
page has, spelled as GitHub makes its anchors. Text in code blocks is not
looked at.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)")
FENCE = re.compile(r"^\s*(```|~~~)")


def prose_lines(page):
    """The page's lines outside fenced code blocks."""
    fenced = False
    for number, line in enumerate(page.read_text(encoding="utf-8").splitlines(), 1):
        if FENCE.match(line):
            fenced = not fenced
            continue
        if not fenced:
            yield number, line


def anchor(heading):
    """The anchor GitHub gives a heading."""
    text = re.sub(r"[`*_]", "", heading.strip().lower())
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def anchors(page):
    seen = {}
    found = set()
    for _, line in prose_lines(page):
        match = re.match(r"^#{1,6}\s+(.*?)\s*#*\s*$", line)
        if match:
            base = anchor(match.group(1))
            count = seen.get(base, 0)
            seen[base] = count + 1
            found.add(base if count == 0 else f"{base}-{count}")
    return found


def main():
    pages = [ROOT / "README.md"] + sorted((ROOT / "docs").glob("*.md"))
    problems = []
    for page in pages:
        for number, line in prose_lines(page):
            for target in LINK.findall(re.sub(r"`[^`]*`", "``", line)):
                if re.match(r"^[a-z][a-z0-9+.-]*:", target):
                    continue  # a URL (https:, mailto:, ...)
                path, _, fragment = target.partition("#")
                dest = (page.parent / path).resolve() if path else page
                where = f"{page.relative_to(ROOT)}:{number}: {target}"
                if not dest.exists():
                    problems.append(f"{where}: no such file")
                elif fragment and dest.suffix == ".md" and fragment not in anchors(dest):
                    problems.append(f"{where}: no such heading in {dest.relative_to(ROOT)}")
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"{len(problems)} broken link(s)", file=sys.stderr)
        return 1
    print(f"links: {len(pages)} pages, every relative link leads somewhere")
    return 0


if __name__ == "__main__":
    sys.exit(main())
