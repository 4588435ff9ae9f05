#!/usr/bin/env python3
"""The vantrope program with high-resolution files and a person at the terminal, as a user meets it:
24-bit and float files repaired with every other sample kept bit for bit, an 8-bit file refused with
a hint, a review answered at a terminal (stop ending the whole file, Ctrl-D closing it), the progress
bar and the very-long-selection question on their own lines, and the report's pictures of an
automatic run. One case per behaviour, each in a scratch directory.
usage: host_review_cli_test.py VANTROPE [CASE...]"""
import os
import pty
import re
import select
import struct
import subprocess
import sys
import tempfile
import time

VANTROPE = os.path.abspath(sys.argv[1])
failures = []


def check(ok, what, detail=""):
    print(("ok: " if ok else "FAILED: ") + what + (" -- " + detail if detail and not ok else ""))
    if not ok:
        failures.append(what)


def run(args):
    """Runs vantrope with a settings directory of its own and no terminal; returns (status, stderr)."""
    done = subprocess.run([VANTROPE, "--settings-dir", "settings"] + args, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
    return done.returncode, done.stderr.decode("utf-8", "replace")


def wav_header(channels, rate, bits, fmt_tag, data_size):
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", fmt_tag, channels, rate, rate * block, block, bits)
    return (b"RIFF" + struct.pack("<I", 36 + data_size) + b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt +
            b"data" + struct.pack("<I", data_size))


def wav_bytes(channels, rate, bits, fmt_tag, data):
    return wav_header(channels, rate, bits, fmt_tag, len(data)) + data


def levels(frames, channels, click_every):
    """Shares of full scale: slow triangle waves with fine detail, a click every click_every frames."""
    out = []
    for i in range(frames):
        for c in range(channels):
            phase = (i * (3 + c)) % 1600
            v = 0.2 * ((phase if phase < 800 else 1600 - phase) - 400) / 400.0 + ((i * 7919 + c * 104729) % 997) * 1e-6
            if i % click_every == click_every // 2 + 37 * c:
                v += 0.4
            out.append(v)
    return out


def make_file(path, bits, is_float, frames=30000, channels=2, click_every=5000):
    values = levels(frames, channels, click_every)
    if is_float:
        data = b"".join(struct.pack("<f" if bits == 32 else "<d", v) for v in values)
    else:
        top = (1 << (bits - 1)) - 1
        data = b"".join(struct.pack("<i", round(v * top))[:bits // 8] for v in values)
    with open(path, "wb") as f:
        f.write(wav_bytes(channels, 44100, bits, 3 if is_float else 1, data))


def samples(path, size):
    """The data chunk's samples as byte strings (the files here have 44-byte headers)."""
    data = open(path, "rb").read()
    at = data.find(b"data") + 8
    body = data[at:]
    return [body[i:i + size] for i in range(0, len(body), size)]


def case_high_resolution_files():
    for bits, is_float, name in ((24, False, "24-bit"), (32, False, "32-bit"), (32, True, "float"), (64, True, "double")):
        make_file("in.wav", bits, is_float)
        status, err = run(["--auto", "-y", "in.wav", "out.wav"])
        check(status == 0 and "clicks repaired" in err, name + ": repaired (exit %d)" % status, err[-300:])
        before, after = samples("in.wav", bits // 8), samples("out.wav", bits // 8)
        changed = [i for i in range(len(before)) if before[i] != after[i]]
        # The repaired regions the summary names, as sample positions (frame + 1) per channel.
        named = set()
        for channel, regions in re.findall(r"channel (\d): \d+ pass(?:es)?, \d+ clicks? repaired at ([\d, -]+)", err):
            for region in regions.split(", "):
                first, _, last = region.partition("-")
                for frame in range(int(first) - 1, int(last or first)):
                    named.add(frame * 2 + int(channel) - 1)
        check(len(before) == len(after) and changed and set(changed) <= named,
              name + ": OUT keeps the depth and every sample outside the repairs bit for bit",
              "%d changed, %d outside the named regions" % (len(changed), len(set(changed) - named)))
    make_file("in.wav", 24, False)
    status, _ = run(["--auto", "-y", "in.wav", "out.flac"])
    info = subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=bits_per_raw_sample", "-of", "csv=p=0",
                           "out.flac"], capture_output=True, text=True).stdout.strip()
    check(status == 0 and info == "24", "24-bit IN to .flac gives a 24-bit FLAC", info)
    make_file("in8.wav", 8, False)
    status, err = run(["--auto", "in8.wav", "o8.wav"])
    check(status == 1 and "8-bit samples" in err and "sox" in err and not os.path.exists("o8.wav"),
          "8-bit IN: refused by the plug-in, with a hint how to convert it", err[-300:])


def at_terminal(args, answers, wait_for=b"(? for help)"):
    """Runs vantrope on a terminal, answering each prompt in turn (b"\\x04" is Ctrl-D); returns
    (status, everything shown)."""
    pid, terminal = pty.fork()
    if pid == 0:
        os.environ["LANG"] = "C.UTF-8"
        os.execv(VANTROPE, [VANTROPE, "--settings-dir", "settings"] + args)
    seen, status, deadline = b"", None, time.time() + 60
    pending = list(answers)
    while time.time() < deadline and status is None:
        if select.select([terminal], [], [], 0.2)[0]:
            try:
                seen += os.read(terminal, 65536)
            except OSError:
                pass
        if pending and seen.count(wait_for) > len(answers) - len(pending):
            os.write(terminal, pending.pop(0))
        done, code = os.waitpid(pid, os.WNOHANG)
        if done:
            status = os.waitstatus_to_exitcode(code)
    if status is None:
        os.kill(pid, 9)
        os.waitpid(pid, 0)
    try:
        while select.select([terminal], [], [], 0.1)[0]:
            seen += os.read(terminal, 65536)
    except OSError:
        pass
    os.close(terminal)
    return status, seen.decode("utf-8", "replace")


def case_stop_and_end_of_input_at_the_terminal():
    make_file("in.wav", 24, False, frames=20000)
    status, shown = at_terminal(["-y", "in.wav", "out.wav"], [b"?\n", b"r\n", b"q\n"])
    check(status == 0 and os.path.exists("out.wav"), "stop: OUT is written with the repairs made (exit %s)" % status)
    check(re.search(r"Candidate 1 in pass 1: channel 1 of 2, at 0:00:00\.05\d \(sample 25\d\d, 12% of the way", shown)
          and "times the running level" in shown,
          "the review shows the time, channel, number in the pass and the jump in words", shown[:600])
    check("\u2800" in shown or any("\u2801" <= ch <= "\u28ff" for ch in shown), "the view is drawn in braille")
    check("end the review of the whole file here" in shown, "? shows what each answer does")
    check("later channels were not presented" in shown and "channel 2:" not in shown,
          "stop on channel 1 ends the whole file", shown[-500:])
    os.remove("out.wav")
    status, shown = at_terminal(["-y", "in.wav", "out.wav"], [b"\x04"])
    check(status == 0 and "end of input" in shown and "answered close" in shown and "later channels were not presented" in shown,
          "Ctrl-D closes the review as close does and ends the file, saying so", shown[-500:])
    check("0%vantrope" not in shown and re.search(r"%\s*vantrope:", shown) is None,
          "the progress bar never runs into a message", shown[-800:])


def case_long_question_told_once():
    # 81 seconds of stereo: the plug-in asks about the very long selection for each channel.
    frames = 44100 * 81
    with open("long.wav", "wb") as f:
        f.write(wav_header(2, 44100, 16, 1, frames * 4))
        f.truncate(44 + frames * 4)
    status, err = run(["--auto", "-y", "long.wav", "out.wav"])
    check(status == 0 and err.count("You selected very long area") == 1,
          "the very-long-selection question is told once for the file", err)


def case_report_of_an_automatic_run():
    make_file("in.wav", 16, False, frames=30000, channels=2, click_every=7000)
    status, err = run(["--auto", "-y", "--report", "rep", "in.wav", "out.wav"])
    repairs = sorted(name for name in os.listdir("rep") if name.startswith("repair-"))
    summary = sum(int(n) for n in re.findall(r"(\d+) clicks? repaired", err))
    check(status == 0 and summary > 4 and len(repairs) == summary,
          "one before-and-after picture per repair of both channels", "%d pictures, %d repairs" % (len(repairs), summary))
    index = open("rep/index.md").read()
    rows = re.findall(r"^\| \d+ \| (\d+):(\d\d):(\d\d)\.(\d{3}) \| (\d) \|", index.split("## Repairs")[1], re.M)
    times = [((int(h) * 60 + int(m)) * 60 + int(s)) * 1000 + int(ms) for h, m, s, ms, _ in rows]
    check(len(rows) == summary and times == sorted(times) and {c for *_, c in rows} == {"1", "2"},
          "the index lists the repairs of both channels in time order", index[-800:])
    check("[review 1](#review-1)" in index, "the repair the first review decided links to it")


CASES = {name[5:]: f for name, f in sorted(globals().items()) if name.startswith("case_")}


def main():
    wanted = sys.argv[2:] or list(CASES)
    for name in wanted:
        print("== " + name)
        with tempfile.TemporaryDirectory(prefix="vantrope-review-cli-") as scratch:
            os.chdir(scratch)
            try:
                CASES[name]()
            except Exception as error:  # a case that breaks is a failure, and the others still run
                check(False, name + " ran to its end", repr(error))
            os.chdir("/")
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
