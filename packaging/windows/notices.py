"""Writes the licence notices of the Windows program, which has Qt and the MinGW runtime linked in.

Usage: notices.py QT_NOTICES GCC_COPYRIGHT MINGW_COPYRIGHT HOMEPAGE OUTPUT_DIR

QT_NOTICES is share/marevo-notices of the Qt that scripts/windows-qt.sh built: Qt's
qt_attribution.json files with the licence files they name, Qt's licence texts, the source
package it was built from and the source files compiled into it (used-sources.txt). A
third-party part of Qt gets its notice when one of its files was compiled. GCC_COPYRIGHT and
MINGW_COPYRIGHT are Debian's copyright files of the MinGW runtime's packages.

Writes THIRD-PARTY-NOTICES.txt, LGPL-3.0.txt and GPL-3.0.txt into OUTPUT_DIR.
"""

import json
import posixpath
import re
import shutil
import sys
from pathlib import Path

RULE = "=" * 78


def attributions(source):
    """(directory, entry) of every third-party part Qt's source describes."""
    for json_path in sorted(source.rglob("qt_attribution.json")):
        data = json.loads(json_path.read_text(encoding="utf-8"), strict=False)
        for entry in data if isinstance(data, list) else [data]:
            yield json_path.parent, entry


def is_used(source, directory, entry, used):
    base = posixpath.normpath(
        posixpath.join(directory.relative_to(source).as_posix(), entry.get("Path", "")))
    files = entry.get("Files")
    if files:
        wanted = files if isinstance(files, list) else files.split()
        return any(posixpath.normpath(posixpath.join(base, f)) in used for f in wanted)
    return any(path.startswith(base + "/") for path in used)


def licence_texts(directory, entry):
    names = list(entry.get("LicenseFiles", []))
    if entry.get("LicenseFile"):
        names.append(entry["LicenseFile"])
    return [(directory / name).read_text(encoding="utf-8", errors="replace").strip()
            for name in names if (directory / name).is_file()]


def part_notice(directory, entry):
    name = entry["Name"] + (f" {entry['Version']}" if entry.get("Version") else "")
    lines = [RULE, name, RULE]
    for label, key in (("Homepage", "Homepage"), ("In Qt", "QtUsage"),
                       ("Licence", "License")):
        if entry.get(key):
            lines.append(f"{label}: {entry[key]}")
    if entry.get("LicenseId"):
        lines.append(f"SPDX licence: {entry['LicenseId']}")
    holders = entry.get("Copyright")
    if holders:
        # Qt 6.8's attributions may list the copyright lines one by one.
        lines += ["", "\n".join(holders).strip() if isinstance(holders, list) else holders.strip()]
    for text in licence_texts(directory, entry):
        lines += ["", text]
    return "\n".join(lines)


def between(text, first, last):
    """The lines of text from the one holding first to the one holding last."""
    match = re.search(rf"^[^\n]*{re.escape(first)}.*?{re.escape(last)}[^\n]*$", text,
                      re.MULTILINE | re.DOTALL)
    if not match:
        sys.exit(f"notices.py: '{first}' … '{last}' not found in the GCC copyright file")
    return match.group(0).strip()


def main(qt_notices, gcc_copyright, mingw_copyright, homepage, output):
    qt_notices, output = Path(qt_notices), Path(output)
    source = qt_notices / "source"
    package, version = (qt_notices / "source-package.txt").read_text().split()[:2]
    used = {posixpath.normpath(line) for line in
            (qt_notices / "used-sources.txt").read_text().split("\n") if line}
    upstream = version.split("+")[0].split("-")[0]

    parts = "\n\n".join(part_notice(directory, entry)
                        for directory, entry in attributions(source)
                        if is_used(source, directory, entry, used))

    gcc = Path(gcc_copyright).read_text(encoding="utf-8")
    runtime = between(gcc, "The following runtime libraries are licensed", "libstdc++")
    exception = between(gcc, "GCC RUNTIME LIBRARY EXCEPTION",
                        "requirements of the license of GCC.")

    text = f"""Kalkulator Marevo: the licences of what marevo.exe is built from

Kalkulator Marevo is under the MIT licence (LICENSE.txt). Linked into marevo.exe are Qt,
the third-party parts Qt builds into its libraries, and the MinGW-w64 runtime. Their
notices follow.

{RULE}
Qt {upstream} (Qt Core, Qt GUI, Qt Widgets and their plugins)
{RULE}
This program uses Qt, Copyright (C) The Qt Company Ltd. and other contributors, under the
GNU Lesser General Public License version 3 (LGPL-3.0.txt), which adds to the GNU General
Public License version 3 (GPL-3.0.txt).

The Qt in this program is built, without changes of ours, from Debian's source package
{package}, version {version}, as "apt-get source {package}={version}" fetches it
from any Debian mirror, also at
  https://snapshot.debian.org/package/{package}/{version.replace('+', '%2B')}/
  https://sources.debian.org/src/{package}/{version}/
The build options are in scripts/windows-qt.sh of the program's source.

Qt is linked statically. You may relink the program with another or a changed Qt: the
complete source of Kalkulator Marevo and its build scripts are public at
  {homepage}
scripts/windows-qt.sh builds Qt for Windows and scripts/windows.sh builds the program
against it; another Qt is used by giving its folder to CMake (CMAKE_PREFIX_PATH).

{parts}

{RULE}
MinGW-w64 runtime: GCC's libgcc and libstdc++
{RULE}
{runtime}

{exception}

The GNU General Public License version 3 is in GPL-3.0.txt.

{RULE}
MinGW-w64 runtime: start-up code, C runtime additions and winpthreads
{RULE}
Debian's copyright file of the mingw-w64 package:

{Path(mingw_copyright).read_text(encoding="utf-8").strip()}
"""
    output.mkdir(parents=True, exist_ok=True)
    # Windows' Notepad of Windows 10 reads UTF-8, and older ones read it with the BOM.
    (output / "THIRD-PARTY-NOTICES.txt").write_text(
        "\ufeff" + text.replace("\n", "\r\n"), encoding="utf-8", newline="")
    shutil.copyfile(source / "LICENSES" / "LGPL-3.0-only.txt", output / "LGPL-3.0.txt")
    shutil.copyfile(source / "LICENSES" / "GPL-3.0-only.txt", output / "GPL-3.0.txt")


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
