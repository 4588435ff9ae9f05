#!/usr/bin/env python3
"""Helpers of the Wine suite's host-program runs: makes deterministic test WAV files and checks what a
run left behind (its transcript, its settings file). Each check prints one line per finding and exits
1 on a failure.
usage: wine_checks.py make-wav OUT CHANNELS FRAMES [BITS]
       wine_checks.py initial-settings INI
       wine_checks.py same-settings INI_A INI_B
       wine_checks.py too-short-run LOG
       wine_checks.py stereo-run LOG
       wine_checks.py wrong-depth-run LOG
       wine_checks.py shortest-scan-run LOG"""
import json
import os
import struct
import sys
import wave

INITIAL_SETTINGS = [("C1", 4), ("D1", 600), ("C2", 9), ("Zoom", 1), ("LineBezier", 0), ("PtsAround", 95),
                    ("StartOver", 0), ("AutoZoom", 0), ("RangeDialog", 0), ("UseBaseFreqVer", 1),
                    ("BaseFreqVerS", 1)]
# Events a host may add around the calls (its own bookkeeping and progress); the checks skip them.
IGNORED_EVENTS = {"selection", "progress"}

failures = 0


def check(ok, what, detail=""):
    global failures
    if not ok:
        failures += 1
    print(("ok: " if ok else "FAILED: ") + what + (" -- " + detail if detail else ""))


def make_wav(path, channels, frames, bits=16):
    """Integer-only triangle waves, a different period per channel, never a click; 16-bit, or 8-bit
    (unsigned, as WAV stores it) for a depth the plug-in refuses. 24-bit: the same waves with detail
    below the 16-bit step and a click every 1500 frames, for the host's 16-bit presentation."""
    samples = []
    for i in range(frames):
        for c in range(channels):
            period = 64 + 36 * c
            phase = i % period
            level = phase if phase < period // 2 else period - phase
            samples.append((level * 2 - period // 2) * 200)
            if bits == 24:
                click = 9000 if i % 1500 == 700 + 100 * c else 0
                samples[-1] = (samples[-1] + click) * 256 + (i * 37 + c * 11) % 256 - 128
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(bits // 8)
        out.setframerate(44100)
        if bits == 8:
            out.writeframes(bytes(128 + (v >> 8) for v in samples))
        elif bits == 24:
            out.writeframes(b"".join(struct.pack("<i", v)[:3] for v in samples))
        else:
            out.writeframes(struct.pack("<%dh" % len(samples), *samples))


def read_settings(path):
    """{section: {key: value}} with sections and keys folded to lower case, values trimmed, and the
    keys in file order; None when the file does not exist."""
    if not os.path.exists(path):
        return None
    sections, current = {}, None
    with open(path, "rb") as f:
        for raw in f.read().decode("latin-1").splitlines():
            line = raw.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1].strip().lower(), {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                current[key.strip().lower()] = value.strip()
    return sections


def initial_settings(path):
    sections = read_settings(path)
    check(sections is not None, "the settings file exists", path)
    if sections is None:
        return
    coeffs = sections.get("coeffs")
    check(coeffs is not None, "the settings file has a section Coeffs", "sections %s" % sorted(sections))
    coeffs = coeffs or {}
    for key, value in INITIAL_SETTINGS:
        got = coeffs.get(key.lower())
        check(got == str(value), "%s holds %d" % (key, value), "got %r" % got)
    expected_order = [k.lower() for k, _ in INITIAL_SETTINGS]
    check(list(coeffs) == expected_order, "Coeffs holds the eleven keys in order", "got %s" % list(coeffs))


def same_settings(path_a, path_b):
    a, b = read_settings(path_a), read_settings(path_b)
    check(a == b, "both runs left the same settings", "" if a == b else "%s: %s; %s: %s" % (path_a, a, path_b, b))


def read_events(path):
    events = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if line.strip():
                try:
                    events.append(json.loads(line))
                except ValueError as error:
                    check(False, "transcript line %d is JSON" % number, str(error))
    return events


def events_after_setup(path):
    events = read_events(path)
    names = [e.get("event") for e in events]
    check("setup" in names, "the transcript has the setup call", "events %s" % names)
    rest = events[names.index("setup") + 1:] if "setup" in names else events
    return [e for e in rest if e.get("event") not in IGNORED_EVENTS]


def run_events(path):
    """The events of the run proper: after the setup call, up to and including the first do call;
    what the host records after XfmDo returned is its own business."""
    events = events_after_setup(path)
    names = [e.get("event") for e in events]
    return events[:names.index("do") + 1] if "do" in names else events


def expect_sequence(events, expected, what):
    """expected: one dict per event, each holding the fields that must match."""
    ok = len(events) == len(expected) and all(
        all(e.get(k) == v for k, v in want.items()) for e, want in zip(events, expected))
    check(ok, what, "got %s" % json.dumps(events))


def error_box(text):
    return {"event": "message", "text": text, "title": "Vantrope", "icon": "error", "owner": "none"}


def too_short_run(log):
    expect_sequence(run_events(log),
                    [error_box("Too little #samples to work."), {"event": "do", "result": 1}],
                    "a selection of 41 samples: the message, then result 1, nothing read")


def stereo_run(log):
    expect_sequence(run_events(log),
                    [{"event": "read"}, {"event": "status", "text": "Looking for Click(s) in the Selection"},
                     error_box("Select only one channel of stereo data."), {"event": "finish"},
                     {"event": "do", "result": 0}],
                    "a stereo selection: read, status, the message, finish, result 0")


def wrong_depth_run(log):
    expect_sequence(run_events(log),
                    [error_box("Can only handle 16-bit data."), {"event": "do", "result": 0}],
                    "8-bit audio: the message, then result 0, nothing read")


def shortest_scan_run(log):
    events = run_events(log)
    names = [e.get("event") for e in events]
    check(names[:2] == ["read", "status"] and "finish" in names and names[-1:] == ["do"]
          and events[-1].get("result") == 1, "a selection of 42 samples is read and scanned, result 1",
          "got %s" % json.dumps(events))


def main():
    args = sys.argv[1:]
    commands = {"make-wav": (4, lambda a: make_wav(a[0], int(a[1]), int(a[2]), int(a[3]))),
                "initial-settings": (1, lambda a: initial_settings(a[0])),
                "same-settings": (2, lambda a: same_settings(a[0], a[1])),
                "too-short-run": (1, lambda a: too_short_run(a[0])),
                "stereo-run": (1, lambda a: stereo_run(a[0])),
                "wrong-depth-run": (1, lambda a: wrong_depth_run(a[0])),
                "shortest-scan-run": (1, lambda a: shortest_scan_run(a[0]))}
    # The steering runs' checks live beside their input generator.
    import steering_checks
    commands.update(steering_checks.commands(sys.modules[__name__]))
    if args[:1] == ["make-wav"] and len(args) == 4:
        args.append("16")
    if not args or args[0] not in commands or len(args) - 1 != commands[args[0]][0]:
        print(__doc__.split("usage:", 1)[1], file=sys.stderr)
        return 2
    commands[args[0]][1](args[1:])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
