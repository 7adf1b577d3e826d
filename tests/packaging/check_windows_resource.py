"""Checks the compiled Windows resources (a .res file from windres) of the calculator.

Usage: check_windows_resource.py MAREVO_RES MAREVO_ICO

The icon must be the three pictures of marevo.ico, and the version record, in Slovenian, must
carry one version in numbers and in its display form.
"""

import struct
import sys

RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16
SLOVENIAN = 0x0424
UNICODE_CODE_PAGE = 1200
# (width, height, colours, bits per pixel)
ICON_PICTURES = sorted([(32, 32, 2, 1), (32, 32, 16, 4), (16, 16, 16, 4)])

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def align4(offset):
    return (offset + 3) & ~3


def utf16z(data, offset):
    """A NUL-terminated UTF-16LE string at offset, and the offset after its NUL."""
    end = offset
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def name_or_ordinal(data, offset):
    (first,) = struct.unpack_from("<H", data, offset)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    return utf16z(data, offset)


def read_res(data):
    """(type, name, language, body) of every resource in a 32-bit .res file."""
    entries = []
    pos = 0
    while pos < len(data):
        size, header_size = struct.unpack_from("<II", data, pos)
        kind, offset = name_or_ordinal(data, pos + 8)
        name, offset = name_or_ordinal(data, offset)
        _, _, language = struct.unpack_from("<IHH", data, align4(offset))
        body = data[pos + header_size:pos + header_size + size]
        if not (kind == 0 and size == 0):  # the leading empty entry that marks a 32-bit file
            entries.append((kind, name, language, body))
        pos = align4(pos + header_size + size)
    return entries


def read_ico(data):
    """{(width, height, colours, bits): image bytes} of an .ico file."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    check(reserved == 0 and kind == 1, "marevo.ico: not an icon file")
    images = {}
    for i in range(count):
        width, height, colours, _, _, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        images[(width or 256, height or 256, colours, bits)] = data[offset:offset + size]
    return images


def check_picture(key, image):
    """The picture's own header must agree with its directory entry."""
    width, height, colours, bits = key
    header_size, dib_width, dib_height, _, dib_bits = struct.unpack_from("<IiiHH", image, 0)
    check(header_size == 40, f"{key}: not a BITMAPINFOHEADER picture")
    check((dib_width, dib_height, dib_bits) == (width, 2 * height, bits),
          f"{key}: the picture is {dib_width}x{dib_height // 2} at {dib_bits} bpp")
    check(colours == 1 << bits, f"{key}: {colours} colours at {bits} bpp")


def read_version_node(data, offset):
    """(key, value bytes, children) of a VS_VERSIONINFO node, and the offset after it."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key, pos = utf16z(data, offset + 6)
    pos = align4(pos)
    value_size = value_length * 2 if is_text else value_length
    value = data[pos:pos + value_size]
    pos = align4(pos + value_size)
    children = []
    while pos < end:
        child, pos = read_version_node(data, pos)
        children.append(child)
        pos = align4(pos)
    return (key, value, children), end


def check_version(body):
    (key, fixed, children), _ = read_version_node(body, 0)
    check(key == "VS_VERSION_INFO", f"version record named {key!r}")
    fields = struct.unpack_from("<13I", fixed, 0)
    check(fields[0] == 0xFEEF04BD, "version record without VS_FIXEDFILEINFO")
    check(fields[2:4] == fields[4:6], "FILEVERSION and PRODUCTVERSION differ")
    check(fields[8] == 0x40004 and fields[9] == 1, "not marked as a Windows application")

    blocks = {child[0]: child for child in children}
    tables = blocks.get("StringFileInfo", ("", b"", []))[2]
    check(len(tables) == 1, f"{len(tables)} string tables")
    translations = [
        struct.unpack("<HH", var[1]) for var in blocks.get("VarFileInfo", ("", b"", []))[2]
        if var[0] == "Translation"
    ]
    check(translations == [(SLOVENIAN, UNICODE_CODE_PAGE)], f"Translation is {translations}")
    if not tables:
        return
    table_key, _, strings = tables[0]
    check(table_key.upper() == f"{SLOVENIAN:04X}{UNICODE_CODE_PAGE:04X}",
          f"string table {table_key} is not Slovenian in Unicode")
    values = {name: value.decode("utf-16-le").rstrip("\0") for name, value, _ in strings}
    # The version as the program shows it, major and two-digit minor, from the numbers above.
    shown = f"{fields[2] >> 16}.{fields[2] & 0xFFFF:02d}"
    for name in ("FileVersion", "ProductVersion"):
        check(values.get(name) == shown, f"{name} is {values.get(name)!r}, not {shown!r}")
    for name in ("CompanyName", "FileDescription", "LegalCopyright", "ProductName"):
        check(values.get(name), f"no {name}")
    check(values.get("OriginalFilename", "").endswith(".exe"), "OriginalFilename is no .exe")


def main():
    res_path, ico_path = sys.argv[1:3]
    with open(res_path, "rb") as f:
        entries = read_res(f.read())
    with open(ico_path, "rb") as f:
        ico = read_ico(f.read())

    check(sorted(ico) == ICON_PICTURES, f"marevo.ico holds {sorted(ico)}")
    for key, image in ico.items():
        check_picture(key, image)

    for kind, name, language, _ in entries:
        check(language == SLOVENIAN, f"resource {kind}/{name} in language {language:#06x}")

    groups = [e for e in entries if e[0] == RT_GROUP_ICON]
    icons = {e[1]: e[3] for e in entries if e[0] == RT_ICON}
    check([g[1] for g in groups] == ["IDI_ICON1"], f"icon groups {[g[1] for g in groups]}")
    if groups:
        body = groups[0][3]
        _, _, count = struct.unpack_from("<HHH", body, 0)
        in_group = {}
        for i in range(count):
            width, height, colours, _, _, bits, size, icon_id = struct.unpack_from(
                "<BBBBHHIH", body, 6 + 14 * i)
            image = icons.get(icon_id, b"")
            check(len(image) == size, f"icon {icon_id}: {len(image)} bytes, not {size}")
            in_group[(width or 256, height or 256, colours, bits)] = image
        check(sorted(in_group) == ICON_PICTURES, f"the icon holds {sorted(in_group)}")
        for key, image in in_group.items():
            check(image == ico.get(key), f"icon picture {key} differs from marevo.ico")

    versions = [e for e in entries if e[0] == RT_VERSION]
    check(len(versions) == 1, f"{len(versions)} version records")
    if versions:
        check_version(versions[0][3])

    for failure in failures:
        print(f"FAIL: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
