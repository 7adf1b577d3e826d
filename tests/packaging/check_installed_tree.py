"""Checks that the installed desktop entry, metainfo and icons fit together, and that a
desktop's application menu (GIO's list of applications) shows the calculator with its icon.

Usage: check_installed_tree.py ROOT APP_ID SOURCE_DIR

ROOT is an unpacked package (or a DESTDIR) holding usr/.
"""

import configparser
import os
import shlex
import struct
import sys
import tempfile
import xml.etree.ElementTree as ET

XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"
ICON_SIZES = (16, 32, 48, 64, 128, 256)

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", header[16:24])


def texts(element, tag):
    """{language: text} of the element's children with that tag; "" is the untranslated one."""
    return {child.get(XML_LANG, ""): "".join(child.itertext()).strip()
            for child in element.findall(tag)}


def check_desktop_entry(usr, app_id):
    path = os.path.join(usr, "share/applications", app_id + ".desktop")
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(path, encoding="utf-8")
    entry = parser["Desktop Entry"]
    check(entry.get("Icon") == app_id, f"Icon={entry.get('Icon')}")
    for key in ("Name", "Comment"):
        check(entry.get(key) and entry.get(f"{key}[sl]"), f"no {key} or {key}[sl]")
    check(entry.get("Comment") != entry.get("Comment[sl]"), "Comment[sl] is not Slovenian")
    executable = shlex.split(entry.get("Exec", ""))[0]
    check(os.access(os.path.join(usr, "bin", executable), os.X_OK),
          f"Exec={executable} is not an installed program")
    return entry, executable


def check_icons(usr, icon):
    hicolor = os.path.join(usr, "share/icons/hicolor")
    for size in ICON_SIZES:
        path = os.path.join(hicolor, f"{size}x{size}/apps/{icon}.png")
        actual = png_size(path) if os.path.exists(path) else "missing"
        check(actual == (size, size), f"{size}x{size} icon: {actual}")
    svg = os.path.join(hicolor, f"scalable/apps/{icon}.svg")
    check(os.path.exists(svg) and ET.parse(svg).getroot().tag.endswith("svg"),
          "no scalable SVG icon")


def check_metainfo(usr, app_id, executable, source_dir):
    root = ET.parse(os.path.join(usr, "share/metainfo", app_id + ".metainfo.xml")).getroot()
    check(root.findtext("id") == app_id, f"metainfo id {root.findtext('id')}")
    launchables = [(e.get("type"), e.text) for e in root.findall("launchable")]
    check(launchables == [("desktop-id", app_id + ".desktop")], f"launchables {launchables}")
    check(root.findtext("provides/binary") == executable, "provides another binary")

    for tag in ("summary", "description/p"):
        check({"", "sl"} <= set(texts(root, tag)), f"{tag} not in English and Slovenian")

    # The screenshot's address ends in its path in the repository, and it names its size.
    images = root.findall("screenshots/screenshot/image")
    check(len(images) == 1, f"{len(images)} screenshot pictures")
    for image in images:
        marker = "/raw/main/"
        url = image.text or ""
        check(url.startswith("https://") and marker in url, f"screenshot address {url}")
        picture = os.path.join(source_dir, url.partition(marker)[2])
        actual = png_size(picture) if os.path.isfile(picture) else None
        named = (int(image.get("width", 0)), int(image.get("height", 0)))
        check(actual == named, f"screenshot {picture}: {actual}, metainfo says {named}")


def check_menu(usr, app_id, entry, executable):
    """What GIO, and so a GNOME menu, makes of the installed tree alone, in Slovenian."""
    with tempfile.TemporaryDirectory() as home:
        # GIO leaves out entries whose program is not on the PATH.
        os.environ.update(XDG_DATA_DIRS=os.path.join(usr, "share"), XDG_DATA_HOME=home,
                          XDG_CONFIG_HOME=home, LANGUAGE="sl", LANG="C.UTF-8",
                          PATH=os.path.join(usr, "bin") + os.pathsep + os.environ["PATH"])
        os.environ.pop("LC_ALL", None)
        os.environ.pop("LC_MESSAGES", None)
        import gi

        gi.require_version("Gio", "2.0")
        from gi.repository import Gio

        apps = {app.get_id(): app for app in Gio.AppInfo.get_all()}
    app = apps.get(app_id + ".desktop")
    check(app is not None, f"the menu lacks {app_id}.desktop; it has {sorted(apps)}")
    if app is None:
        return
    check(app.should_show(), "hidden from the menu")
    # Menus sort by the main category; Calculator alone would land under "Other".
    categories = (app.get_categories() or "").split(";")
    check({"Utility", "Calculator"} <= set(categories), f"categories {categories}")
    check(app.get_icon() and app.get_icon().to_string() == app_id, "the menu shows another icon")
    check(app.get_executable() == executable, f"the menu starts {app.get_executable()}")
    check(app.get_description() == entry.get("Comment[sl]"), "no Slovenian comment in the menu")


def main():
    root, app_id, source_dir = sys.argv[1:4]
    usr = os.path.join(root, "usr")
    entry, executable = check_desktop_entry(usr, app_id)
    check_icons(usr, entry.get("Icon"))
    check_metainfo(usr, app_id, executable, source_dir)
    check_menu(usr, app_id, entry, executable)
    for failure in failures:
        print(f"FAIL: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
