#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Holds every #include "..." of the .cpp and .h files under src/ to the arrows between the
libraries written in scripts/include-arrows.txt, and names each include that breaks one.

A file may include the headers of its own library and of every library reachable from it along
the arrows. Every include of a header under src/ names it by its path from src/
(#include "platform/host/window.h"), so that a reader sees which library it comes from; an
include that names such a header otherwise (beside the including file, or by a shorter path
ending) is named with the path to write instead. Headers that are not under src/ are not
checked.

  check-include-arrows.py               check the working tree (exit 1 naming each break)
  check-include-arrows.py --self-test   check a small fixture with one wrong include, and fail
                                        unless exactly that include is named
"""

import os
import re
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_SUFFIXES = (".cpp", ".h")


class ArrowsError(Exception):
    pass


def logical_lines(path):
    """The lines of the arrows file without comments, each with the indented lines after it
    that continue it, and the number of its first line."""
    entries = []
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            text = line.split("#", 1)[0]
            if not text.strip():
                continue
            if text[0].isspace() and entries:
                entries[-1][1] += " " + text.strip()
            else:
                entries.append([number, text.strip()])
    return entries


def read_arrows(path):
    """Returns (owners, arrows): owners maps a folder or file to its library, arrows maps each
    library to the libraries it points at and to its floor."""
    owners = {}
    arrows = {}
    for number, line in logical_lines(path):
        if "->" not in line:
            raise ArrowsError(f"{path}:{number}: no '->' in the line")
        left, right = line.split("->", 1)
        names = left.split()
        library, places = names[0], names[1:]
        if library in arrows:
            raise ArrowsError(f"{path}:{number}: {library} has a line already")
        carried, _, floor = right.partition("|")
        arrows[library] = (carried.split(), floor.split())
        for place in places:
            owners[os.path.normpath(place)] = library
    for library, (carried, floor) in arrows.items():
        for target in carried + floor:
            if target not in arrows:
                raise ArrowsError(f"{path}: {library} points at {target}, which has no line")
    return owners, arrows


def reachable(arrows):
    """Each library with every library it may include: those reached along the arrows (itself
    among them) and the floors of all of these."""
    closure = {}
    for library in arrows:
        seen = {library}
        pending = [library]
        while pending:
            for target in arrows[pending.pop()][0]:
                if target not in seen:
                    seen.add(target)
                    pending.append(target)
        floors = set()
        for reached in seen:
            floors.update(arrows[reached][1])
        closure[library] = seen | floors
    return closure


def owner_of(path, owners):
    """The library of a file: the one naming the file itself, else its nearest folder."""
    if path in owners:
        return owners[path]
    folder = os.path.dirname(path)
    while folder:
        if folder in owners:
            return owners[folder]
        folder = os.path.dirname(folder)
    return None


def source_files(root):
    for folder, subfolders, files in os.walk(os.path.join(root, "src")):
        subfolders.sort()
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(folder, name), root)


def resolve(included, including, headers, root):
    """(header, qualified): the header under src/ that an include names, or None when it is not
    under src/, and whether the include names it by its path from src/."""
    qualified = os.path.join("src", included)
    if qualified in headers:
        return qualified, True
    beside = os.path.normpath(os.path.join(os.path.dirname(including), included))
    if beside in headers:
        return beside, False
    found = [h for h in headers if h.endswith("/" + included)]
    if len(found) > 1:
        raise ArrowsError(f"{including}: \"{included}\" names {len(found)} headers: "
                          + ", ".join(found))
    return (found[0], False) if found else (None, True)


def breaks(root, arrows_file):
    """Every include under root/src that breaks an arrow, as printable lines."""
    owners, arrows = read_arrows(arrows_file)
    closure = reachable(arrows)
    files = list(source_files(root))
    headers = [f for f in files if f.endswith(".h")]
    found = []
    for path in files:
        library = owner_of(path, owners)
        if library is None:
            found.append(f"{path}: in no library of {arrows_file}")
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                header, qualified = resolve(match.group(1), path, headers, root)
                if header is None:
                    continue
                target = owner_of(header, owners)
                if not qualified:
                    found.append(f"{path}:{number}: \"{match.group(1)}\" is written "
                                 f"\"{os.path.relpath(header, 'src')}\"")
                elif target is None:
                    found.append(f"{path}:{number}: {library} includes {header}, "
                                 f"which is in no library of {arrows_file}")
                elif target not in closure[library]:
                    found.append(f"{path}:{number}: {library} includes {header} of {target}, "
                                 f"which is no arrow of {library}")
    return found


def self_test():
    """A fixture of two libraries over a floor: the upper one points at the lower, which has
    the floor, which links a deeper library. Two includes break an arrow and one is not
    qualified, and the check must name them and nothing else: the lower library including the
    upper one's header, the upper one including the deeper header, which the floor gives no
    one, and the upper one's header naming the lower one's by its file name alone."""
    with tempfile.TemporaryDirectory() as root:
        files = {
            "src/deep/deep.h": "#pragma once\n",
            "src/floor/floor.h": '#pragma once\n#include "deep/deep.h"\n',
            "src/low/low.h": '#pragma once\n#include "floor/floor.h"\n',
            "src/low/low.cpp": '#include "low/low.h"\n\n#include "high/high.h"\n',
            "src/high/high.h": '#pragma once\n#include "low.h"\n#include "support.h"\n',
            "src/high/high.cpp":
                '#include "floor/floor.h"\n#include <vector>\n#include "deep/deep.h"\n',
        }
        for path, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as out:
                out.write(text)
        arrows_file = os.path.join(root, "arrows.txt")
        with open(arrows_file, "w", encoding="utf-8") as out:
            out.write("deep src/deep ->\nfloor src/floor -> deep\n"
                      "low src/low -> | floor\nhigh src/high\n    -> low\n")
        found = breaks(root, arrows_file)
    expected = [
        "src/high/high.cpp:3: high includes src/deep/deep.h of deep, which is no arrow of high",
        'src/high/high.h:2: "low.h" is written "low/low.h"',
        "src/low/low.cpp:3: low includes src/high/high.h of high, which is no arrow of low",
    ]
    if found != expected:
        print("check-include-arrows: the self-test expected", expected, "and got", found,
              file=sys.stderr)
        return 1
    return 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    if sys.argv[1:]:
        print(__doc__, file=sys.stderr)
        return 2
    os.chdir(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    try:
        found = breaks(".", os.path.join("scripts", "include-arrows.txt"))
    except ArrowsError as error:
        print(f"check-include-arrows: {error}", file=sys.stderr)
        return 1
    for line in found:
        print(line, file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
