#!/usr/bin/env python3
"""Steering runs of the Wine suite: the input file with one click, and the checks of what a steered run
left in its transcript (the plug-in's clipboard texts, posted command and key events, the range the
host's dialog ended with, the clipboard read back after the run). wine_checks.py offers the checks
under the names in commands(); this file run alone writes the input.
usage: steering_checks.py make-click-wav OUT"""
import json
import struct
import sys
import wave

CLICK_FRAME = 49          # the click's frame; the plug-in names it as position 50
POSITION = CLICK_FRAME + 1
PTS_AROUND = 75           # what loading a settings file without the key gives: the range starts at -25
STEERING_EVENTS = {"clipboard", "post", "key", "range", "clipboard-after"}


def make_click_wav(path):
    """A quiet triangle wave, integer-only, with one click that stands out at CLICK_FRAME."""
    samples = []
    for i in range(4410):
        phase = i % 64
        level = phase if phase < 32 else 64 - phase
        samples.append((level * 2 - 32) * 20)
    samples[CLICK_FRAME] += 12000
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(44100)
        out.writeframes(struct.pack("<%dh" % len(samples), *samples))


def key(vk, scan, up):
    return {"event": "key", "vk": vk, "scan": scan, "up": up}


def clip(value):
    return {"event": "clipboard", "text": str(value)}


def steered(command):
    paste = [key(17, 29, False), key(86, 47, False), key(86, 47, True), key(17, 29, True)]
    start, end = POSITION - PTS_AROUND, POSITION + PTS_AROUND
    return ([clip(POSITION), {"event": "post", "command": command}, clip(start)] + paste +
            [key(9, 15, False), key(9, 15, True), clip(end)] + paste +
            [{"event": "range", "start": start, "end": end},
             {"event": "clipboard-after", "text": str(end)}])


def steering_run(wine_checks, log, expected, what):
    events = wine_checks.events_after_setup(log)
    names = [e.get("event") for e in events]
    wine_checks.check("do" in names and events[names.index("do")].get("result") == 1,
                      "the run ended with result 1", "got %s" % json.dumps(events[-3:]))
    steering = [e for e in events if e.get("event") in STEERING_EVENTS]
    wine_checks.expect_sequence(steering, expected, what)
    if "range" in names:
        wine_checks.check(names.index("range") < names.index("do"),
                          "the range dialog closed before XfmDo returned")


def commands(wine_checks):
    """The checks, in the form of wine_checks.py's command table."""
    def run(expected, what):
        return (1, lambda a: steering_run(wine_checks, a[0], expected, what))
    return {"steered-2055-run": run(steered(2055), "COOL2000SS: command 2055, the range -25 to 125 in its dialog"),
            "steered-3147-run": run(steered(3147), "COOL96: command 3147, the range -25 to 125 in its dialog"),
            "unsteered-run": run([clip(POSITION), {"event": "clipboard-after", "text": str(POSITION)}],
                                 "another frame class: the position on the clipboard, nothing else")}


def main():
    if sys.argv[1:2] == ["make-click-wav"] and len(sys.argv) == 3:
        make_click_wav(sys.argv[2])
        return 0
    print(__doc__.split("usage:", 1)[1], file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
