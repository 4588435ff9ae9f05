#!/usr/bin/env python3
"""Compares the review view painted on the stand-in's canvas with the one painted by real GDI under
Wine (each cut out of the report's framed picture), where GDI is deterministic enough to compare: the share of each colour (black background, dark
grey bars, white waveform, the two marker pens) and where across the width the candidate bar and the
markers lie; and checks that the screenshot of the Wine run shows the painted view.
   check_views.py NATIVE.png WINE.png SCREEN.png"""
import subprocess
import sys

BLACK, DARK_GREY, WHITE = (0, 0, 0), (64, 64, 64), (255, 255, 255)
START_PEN, END_PEN = (128, 64, 0), (255, 128, 32)


# The report frames the view with its scales and legend: the view's own pixels lie this far from the
# picture's left, top, right and bottom edges (VIEW_FRAME_* in app/report.h).
VIEW_FRAME = (48, 18, 12, 56)


def load(path, framed=False):
    """(width, height, list of rows of RGB tuples) through ImageMagick; of a framed report picture,
    the view inside the frame."""
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True, check=True)
    width, height = (int(v) for v in size.stdout.split())
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    rows = [[tuple(raw[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)] for y in range(height)]
    if framed:
        left, top, right, bottom = VIEW_FRAME
        width, height = width - left - right, height - top - bottom
        rows = [row[left:left + width] for row in rows[top:top + height]]
    return width, height, rows


def shares(width, height, rows):
    counts = {}
    for row in rows:
        for pixel in row:
            counts[pixel] = counts.get(pixel, 0) + 1
    return {c: counts.get(c, 0) / (width * height) for c in (BLACK, DARK_GREY, WHITE, START_PEN, END_PEN)}, counts


def columns_of(rows, colour, y):
    return [x for x, pixel in enumerate(rows[y]) if pixel == colour]


failures = []


def check(ok, what):
    print(("ok: " if ok else "FAILED: ") + what)
    if not ok:
        failures.append(what)


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    nw, nh, native = load(sys.argv[1], framed=True)
    ww, wh, wine = load(sys.argv[2], framed=True)
    print(f"native view {nw}x{nh}, Wine view {ww}x{wh}")
    native_share, _ = shares(nw, nh, native)
    wine_share, _ = shares(ww, wh, wine)
    names = {BLACK: "black", DARK_GREY: "dark grey", WHITE: "white", START_PEN: "start marker", END_PEN: "end marker"}
    for colour, name in names.items():
        n, w = native_share[colour], wine_share[colour]
        check(n > 0 and w > 0, f"{name} pixels in both views ({n:.4f} native, {w:.4f} Wine)")
    check(native_share[BLACK] > 0.6 and abs(native_share[BLACK] - wine_share[BLACK]) < 0.05,
          "the background is black over the same share of both views")
    check(0.5 < wine_share[WHITE] / max(native_share[WHITE], 1e-9) < 2.0, "the waveform covers a like share")
    # Row 1 crosses the candidate bar and the markers' first dots above any waveform.
    for colour, name in ((DARK_GREY, "candidate bar"), (START_PEN, "start marker"), (END_PEN, "end marker")):
        n, w = columns_of(native, colour, 1), columns_of(wine, colour, 1)
        if not n or not w:
            check(False, f"{name} in row 1 of both views")
            continue
        nx, wx = sum(n) / len(n) / nw, sum(w) / len(w) / ww
        check(abs(nx - wx) < 0.01, f"{name} at the same share of the width ({nx:.3f} native, {wx:.3f} Wine)")
    sw, sh, screen = load(sys.argv[3])
    _, screen_counts = shares(sw, sh, screen)
    _, wine_counts = shares(ww, wh, wine)
    # The root window behind the dialog is black too, so only the rarer colours tell.
    for colour, name in ((DARK_GREY, "dark grey"), (START_PEN, "start marker"), (END_PEN, "end marker")):
        check(screen_counts.get(colour, 0) >= 0.9 * wine_counts.get(colour, 0),
              f"the screenshot shows the view's {name} pixels ({screen_counts.get(colour, 0)} of {wine_counts.get(colour, 0)})")
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
