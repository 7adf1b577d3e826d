"""Checks that every library linked into the Windows program has its notice in the portable .zip.

Usage: check_windows_notices.py LINK_MAP QT_PREFIX BUILD_DIR ZIP

LINK_MAP is the linker's map of marevo.exe: the object files and archive members it took in.
The .zip must hold the one program, its own licence, the notices and the licence texts they
name.
"""

import os
import re
import sys
import zipfile

MINGW_LIB = "/usr/x86_64-w64-mingw32/lib/"
GCC_LIB = "/usr/lib/gcc/x86_64-w64-mingw32/"
SHIPPED = {"marevo.exe", "LICENSE.txt", "THIRD-PARTY-NOTICES.txt", "LGPL-3.0.txt", "GPL-3.0.txt"}


def linked_files(link_map):
    """The object files and archives the program was linked from."""
    files = set()
    in_members = False
    for line in link_map.splitlines():
        if line.startswith("Archive member included"):
            in_members = True
        elif line.startswith(("Discarded input sections", "Memory Configuration")):
            in_members = False
        elif in_members and line and not line[0].isspace():
            files.add(os.path.normpath(line.split("(")[0]))
        elif line.startswith("LOAD "):
            path = line[5:].strip()
            if not path.endswith(".a") and "." in os.path.basename(path):
                files.add(os.path.normpath(path))
    return files


def required_notice(path, qt_prefix, build_dir):
    """The text that must be in the notices for this file, or None when none is known."""
    name = os.path.basename(path)
    bundled = re.fullmatch(r"libQt6Bundled(\w+)\.a", name)
    if bundled:
        return "heading " + bundled.group(1).lower()
    if path.startswith(qt_prefix + "/"):
        return "this program uses qt"
    if path.startswith(GCC_LIB):
        return "gcc runtime library exception"
    if name in ("libpthread.a", "libwinpthread.a"):
        return "mingw-w64-libraries/winpthreads"
    if path.startswith(MINGW_LIB):
        return "mingw-w64-crt"
    if path.startswith(build_dir + "/"):
        return "kalkulator marevo is under the mit licence"
    return None


def main(map_path, qt_prefix, build_dir, zip_path):
    failures = []
    with zipfile.ZipFile(zip_path) as archive:
        shipped = {os.path.basename(name): name for name in archive.namelist()
                   if not name.endswith("/")}
        notices = ""
        if "THIRD-PARTY-NOTICES.txt" in shipped:
            notices = archive.read(shipped["THIRD-PARTY-NOTICES.txt"]).decode("utf-8-sig")
    if set(shipped) != SHIPPED:
        failures.append(f"the .zip holds {sorted(shipped)}, not {sorted(SHIPPED)}")
    # A part's notice starts with its name between two rules of "=".
    lines = notices.lower().splitlines()
    headings = [line for above, line, below in zip(lines, lines[1:], lines[2:])
                if set(above) == set(below) == {"="}]

    with open(map_path, encoding="utf-8", errors="replace") as f:
        files = linked_files(f.read())
    qt_prefix = os.path.normpath(qt_prefix)
    build_dir = os.path.normpath(build_dir)
    # The linker names the build's own files relative to the build directory.
    files = {os.path.normpath(os.path.join(build_dir, path)) for path in files}
    for path in sorted(files):
        needed = required_notice(path, qt_prefix, build_dir)
        if needed is None:
            failures.append(f"{path}: no notice is known for it")
        elif not any(needed.removeprefix("heading ") in line for line in
                     (headings if needed.startswith("heading ") else lines)):
            failures.append(f"{path}: the notices lack '{needed}'")

    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print(f"{len(files)} linked files, each with its notice; the .zip holds {sorted(shipped)}")
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
