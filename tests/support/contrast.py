#!/usr/bin/env python3
"""How well the captions and panel borders of a window read, measured on a screenshot.

Usage: contrast.py SCREENSHOT main|about X Y

X, Y: where the window's client area lies in the screenshot. For each caption, and for the
top edge of each panel, the fill is the colour most of its part shows and the ink the colour
that stands out most from it; their contrast is WCAG 2's. A caption must reach 4.5:1 and a
border 3:1. Prints one line a part and exits 1 when any part falls short.
"""
import collections
import subprocess
import sys

# Parts of the client area (x, y, width, height in pixels) that show one caption's text and
# no other control, or one panel's top border with its fill below.
TEXT, LINE = 4.5, 3.0
PARTS = {
    "main": {
        "Label1": (9, 48, 184, 25, TEXT),  # inside the panel's border
        "Label2": (9, 80, 184, 17, TEXT),
        "Label3": (9, 184, 184, 25, TEXT),
        "Label4": (16, 16, 249, 25, TEXT),
        "Label5": (9, 216, 184, 32, TEXT),
        "Label6": (40, 152, 225, 25, TEXT),
        "Label7": (24, 272, 207, 25, TEXT),  # left of the number
        "Label8": (290, 272, 86, 25, TEXT),
        "Shape1(0)": (18, 8, 253, 4, LINE),
        "Shape1(1)": (18, 144, 253, 4, LINE),
        "Shape2": (18, 264, 349, 4, LINE),
    },
    "about": {
        "Label1": (96, 8, 209, 17, TEXT),
        "Label2": (96, 40, 216, 33, TEXT),
        "Label3": (96, 88, 150, 17, TEXT),  # left of Zapri
        "Label4": (96, 72, 145, 17, TEXT),
        "Label5": (96, 104, 129, 17, TEXT),
        "Label6": (8, 128, 297, 31, TEXT),
    },
}


def luminance(rgb):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4

    r, g, b = (linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    darker, lighter = sorted((luminance(a), luminance(b)))
    return (lighter + 0.05) / (darker + 0.05)


def pixels(screenshot, x, y, width, height):
    raw = subprocess.run(
        ["convert", screenshot, "-crop", f"{width}x{height}+{x}+{y}", "+repage",
         "-depth", "8", "rgb:-"],
        check=True, capture_output=True).stdout
    return [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]


def main():
    screenshot, window, left, top = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    short = []
    for name, (x, y, width, height, minimum) in PARTS[window].items():
        shown = pixels(screenshot, left + x, top + y, width, height)
        fill = collections.Counter(shown).most_common(1)[0][0]
        ink = max(shown, key=lambda colour: contrast(colour, fill))
        ratio = contrast(ink, fill)
        print(f"{window} {name}: ink #{bytes(ink).hex()} on #{bytes(fill).hex()}, {ratio:.2f}:1")
        if ratio < minimum:
            short.append(f"{name} {ratio:.2f}:1")
    if short:
        print(f"{window}: below {TEXT}:1 for text or {LINE}:1 for a border: {', '.join(short)}")
        sys.exit(1)


main()
