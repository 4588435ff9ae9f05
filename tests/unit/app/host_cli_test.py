#!/usr/bin/env python3
"""The vantrope program as a user runs it: what it does to IN, OUT and the files around them when a
name is used twice, OUT exists or is no regular file, the disk fills up, memory runs out, the user
presses Ctrl-C or the file is cut short; formats by extension, lossy files, kept tags; the saved
settings around a too-short selection, a preset or --set run and the settings command; the listing;
batches. One case per subject, each in a scratch directory.
usage: host_cli_test.py VANTROPE MAKE_EXAMPLE [CASE...]"""
import os
import pty
import random
import shutil
import select
import signal
import stat
import struct
import subprocess
import sys
import tempfile
import time
import wave

VANTROPE, MAKE_EXAMPLE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
PRESETS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "presets")
SAVED_SETTINGS = b"[Coeffs]\r\nC1=6\r\nD1=900\r\nC2=12\r\nLineBezier=7\r\nPtsAround=120\r\nStartOver=1\r\nBaseFreqVerS=3\r\n"
failures = []


def check(ok, what, detail=""):
    print(("ok: " if ok else "FAILED: ") + what + (" -- " + detail if detail and not ok else ""))
    if not ok:
        failures.append(what)


def run(args, stdin=subprocess.DEVNULL, limits=""):
    """Runs vantrope in the current directory with a settings directory of its own; returns (status,
    stderr lines). limits: shell ulimit options applied first."""
    command = [VANTROPE, "--settings-dir", "settings"] + args
    if limits:
        command = ["sh", "-c", "ulimit %s; exec \"$@\"" % limits, "sh"] + command
    done = subprocess.run(command, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
    return done.returncode, done.stderr.decode("latin-1").splitlines(), done.stdout


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def make_wav(path, frames, channels=1, click_every=0):
    """An integer triangle wave, with a click every click_every frames when given."""
    samples = []
    for i in range(frames):
        level = (i % 64 if i % 64 < 32 else 64 - i % 64) * 40 - 640
        if click_every and i % click_every == click_every // 2:
            level += 12000
        samples.extend([level] * channels)
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(44100)
        out.writeframes(struct.pack("<%dh" % len(samples), *samples))


def make_silent_wav(path, frames):
    """A 16-bit mono WAV of frames zero samples, written sparse, so a large one costs no time."""
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 36 + frames * 2) + b"WAVE" + b"fmt " +
                struct.pack("<IHHIIHH", 16, 1, 1, 44100, 88200, 2, 16) + b"data" + struct.pack("<I", frames * 2))
        f.truncate(44 + frames * 2)


def no_leftovers(what):
    left = [name for name in os.listdir(".") if "vantrope-part" in name]
    check(not left, what + ": no temporary file left", " ".join(left))


def one_line(lines, words, what):
    check(len(lines) >= 1 and all(w in lines[-1] for w in words), what, " | ".join(lines[-3:]))


def case_log_naming_in():
    make_wav("v.wav", 4410, click_every=2000)
    before = read("v.wav")
    status, lines, _ = run(["--auto", "--log", "v.wav", "v.wav", "o.wav"])
    check(status == 2 and read("v.wav") == before and not os.path.exists("o.wav"),
          "--log naming IN is refused before anything is opened (exit %d)" % status)
    one_line(lines, ["v.wav", "--log"], "the refusal is one line naming both uses")
    status, lines, _ = run(["--auto", "v.wav", "v.wav"])
    check(status == 2 and read("v.wav") == before, "OUT equal to IN is refused without --in-place")
    status, lines, _ = run(["--auto", "--in-place", "v.wav"])
    check(status == 0 and read("v.wav") != before, "--in-place replaces IN with the repaired audio")
    no_leftovers("--in-place")


def case_existing_out():
    make_wav("in.wav", 4410, click_every=2000)
    write("out.wav", b"earlier output")
    os.chmod("out.wav", 0o640)
    for flags, why in ((["--auto"], "without -y, standard input not a terminal"), (["--auto", "-n"], "with -n")):
        status, lines, _ = run(flags + ["in.wav", "out.wav"])
        check(status == 2 and read("out.wav") == b"earlier output", "an existing OUT is kept " + why)
    one_line(lines, ["out.wav", "-n"], "-n says why")
    status, _, _ = run(["--auto", "-y", "in.wav", "out.wav"])
    check(status == 0 and read("out.wav")[:4] == b"RIFF", "-y replaces an existing OUT")
    check(stat.S_IMODE(os.stat("out.wav").st_mode) == 0o640, "the replaced OUT keeps its permissions",
          oct(os.stat("out.wav").st_mode))
    os.symlink("target.wav", "link.wav")
    status, _, _ = run(["--auto", "in.wav", "link.wav"])
    check(status == 0 and os.path.islink("link.wav") and read("target.wav") == read("out.wav"),
          "a symbolic link as OUT stays a link and its target receives the audio")
    no_leftovers("replacing")


def case_outputs_that_are_not_files():
    make_wav("in.wav", 4410, click_every=2000)
    run(["--auto", "in.wav", "file.wav"])
    status, _, audio = run(["--auto", "in.wav", "-"])
    check(status == 0 and audio == read("file.wav") and not os.path.exists("-"),
          "\"-\" writes the same file to standard output")
    os.mkfifo("fifo")
    reader = subprocess.Popen(["cat", "fifo"], stdout=subprocess.PIPE)
    status, _, _ = run(["--auto", "in.wav", "fifo"])
    check(status == 0 and reader.communicate(timeout=30)[0] == read("file.wav") and stat.S_ISFIFO(os.stat("fifo").st_mode),
          "a FIFO as OUT is written through and stays a FIFO")
    status, lines, _ = run(["--auto", "in.wav", "/dev/full"])
    check(status == 2 and stat.S_ISCHR(os.stat("/dev/full").st_mode), "/dev/full as OUT: a write error, the device untouched")
    one_line(lines, ["/dev/full", "No space left"], "the write error is one line")


def case_disk_full_and_unwritable():
    make_wav("in.wav", 44100, click_every=5000)
    write("out.wav", b"earlier output")
    # A file size limit makes the write fail part-way, as a full disk does.
    status, lines, _ = run(["--auto", "-y", "in.wav", "out.wav"], limits="-f 20")
    check(status == 2 and read("out.wav") == b"earlier output", "a write that fails part-way keeps the old OUT (exit %d)" % status)
    one_line(lines, ["out.wav", "not written"], "the failed write is one line")
    no_leftovers("a failed write")
    os.mkdir("dir")
    for args, what in ((["in.wav", "missing/out.wav"], "OUT in a directory that does not exist"),
                       (["in.wav", "in.wav/out.wav"], "OUT under a file"),
                       (["in.wav", "dir"], "OUT a directory"),
                       (["dir", "o2.wav"], "IN a directory"),
                       (["missing.wav", "o2.wav"], "IN missing")):
        status, lines, _ = run(["--auto"] + args)
        check(status == 2 and len(lines) == 1 and not os.path.exists("o2.wav"), what + ": one line, exit 2",
              "exit %d: %s" % (status, lines))


def read_to_end(terminal, seen, seconds):
    """Reads a pseudo-terminal until every program on its other side has closed it (all their output
    read) or seconds pass; returns what was seen and whether the end was reached."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        if select.select([terminal], [], [], 0.1)[0]:
            try:
                data = os.read(terminal, 4096)
            except OSError:
                return seen, True
            if not data:
                return seen, True
            seen += data
    return seen, False


def case_interrupt_at_prompt():
    """Ctrl-C (and SIGTERM) while a person is asked: the run ends at once, nothing is written."""
    subprocess.run([MAKE_EXAMPLE, "in.wav"], check=True)
    write("out.wav", b"earlier output")
    for how, want in (("ctrl-c", 130), ("sigterm", 143)):
        pid, terminal = pty.fork()
        if pid == 0:
            os.execv(VANTROPE, [VANTROPE, "--settings-dir", "settings", "-y", "in.wav", "out.wav"])
        seen, asked = b"", False
        deadline = time.time() + 30
        while time.time() < deadline and not asked:
            if select.select([terminal], [], [], 1)[0]:
                try:
                    seen += os.read(terminal, 4096)
                except OSError:
                    break
            asked = b"(? for help)" in seen
        check(asked, how + ": the review is put to the person at the terminal", seen[-300:].decode("latin-1"))
        if how == "ctrl-c":
            os.write(terminal, b"\x03")
        else:
            os.kill(pid, signal.SIGTERM)
        # Everything the program wrote before it ended is read: the terminal reports its end (EIO)
        # only once all of it has been taken, however late the program's last line comes.
        seen, ended = read_to_end(terminal, seen, 5)
        if not ended:
            os.kill(pid, signal.SIGKILL)
        code = os.waitpid(pid, 0)[1]
        status = os.waitstatus_to_exitcode(code) if ended else None
        os.close(terminal)
        check(status == want, "%s at the prompt ends the run at once with exit %d" % (how, want), "got %s" % status)
        check(read("out.wav") == b"earlier output", how + ": OUT is left as it was")
        check(b"interrupted; out.wav was not written" in seen, how + ": one line says so", seen[-300:].decode("latin-1"))
    no_leftovers("an interrupted run")


def case_interrupt_just_before_the_read():
    """SIGTERM after the prompt has looked for an interrupt and before its read of the terminal has
    begun (placed there with a debugger): the run still ends at once."""
    gdb = shutil.which("gdb")
    if not gdb or os.uname().machine != "x86_64":
        print("skipped: needs gdb on x86_64")
        return
    if b"__asan_init" in read(VANTROPE):
        print("skipped: the leak checker of a sanitizer build cannot run under a debugger")
        return
    subprocess.run([MAKE_EXAMPLE, "in.wav"], check=True)
    pid, terminal = pty.fork()
    if pid == 0:
        # Stops at the first read of standard input (the prompt's), delivers SIGTERM there, and lets
        # the read begin once the handler has returned.
        os.execv(gdb, [gdb, "-q", "-nx", "-batch", "-ex", "set breakpoint pending on",
                       "-ex", "handle SIGTERM nostop noprint pass", "-ex", "break read if $rdi == 0",
                       "-ex", "run", "-ex", "signal SIGTERM", "-ex", "delete", "-ex", "continue",
                       "--args", VANTROPE, "--settings-dir", "settings", "-y", "in.wav", "out.wav"])
    seen, ended = read_to_end(terminal, b"", 30)
    if not ended:
        with open("/proc/%d/task/%d/children" % (pid, pid)) as children:
            for child in children.read().split():
                os.kill(int(child), signal.SIGKILL)
        os.kill(pid, signal.SIGKILL)
    os.waitpid(pid, 0)
    os.close(terminal)
    shown = seen.decode("latin-1")
    check("Breakpoint 1" in shown, "the debugger stopped the prompt at its read", shown[-300:])
    check(ended and "exited with code 0217" in shown and "interrupted; out.wav was not written" in shown
          and not os.path.exists("out.wav"), "the run ends with exit 143 and its line, nothing written",
          shown[-300:])


def case_interrupt_while_writing():
    """SIGTERM once the temporary file exists: it goes, and OUT is the old file or the complete new one."""
    make_silent_wav("in.wav", 100_000_000)
    write("out.wav", b"earlier output")
    for attempt in range(3):
        child = subprocess.Popen([VANTROPE, "--settings-dir", "settings", "--auto", "-y", "--end", "1000f", "in.wav",
                                  "out.wav"], stdin=subprocess.DEVNULL, stderr=subprocess.PIPE)
        while child.poll() is None and not os.path.exists("out.wav.vantrope-part"):
            time.sleep(0.001)
        caught = child.poll() is None
        child.send_signal(signal.SIGTERM)
        err = child.communicate(timeout=60)[1].decode("latin-1")
        if caught:
            break
    check(caught, "the signal arrived during the write")
    check(child.returncode == 143 or not caught, "exit 143 after SIGTERM", "got %d: %s" % (child.returncode, err))
    size = os.path.getsize("out.wav")
    check(read("out.wav") == b"earlier output" if size < 100 else size == 44 + 200_000_000,
          "OUT is the old file or the complete new one", "size %d" % size)
    no_leftovers("an interrupted write")
    os.remove("in.wav")


def case_signals_at_any_moment():
    """SIGINT or SIGTERM at random moments of a run (starting, reading, repairing, writing, renaming),
    also with --in-place: OUT is the old file or the complete new one, no temporary file is left, and
    the program either finishes or ends with one line and 128 + the signal."""
    make_wav("in.wav", 441000, click_every=3000)
    began = time.time()
    status, _, _ = run(["--auto", "in.wav", "new.wav"])
    took, new = time.time() - began, read("new.wav")
    check(status == 0, "the run finishes when left alone")
    rng, outcomes = random.Random(11), {}
    for attempt in range(24):
        in_place = attempt % 2 == 1
        sig = rng.choice([signal.SIGINT, signal.SIGTERM])
        delay = rng.uniform(0, took * 1.3)
        if in_place:
            shutil.copy("in.wav", "work.wav")
            target, old, args = "work.wav", read("in.wav"), ["--in-place", "work.wav"]
        else:
            write("out.wav", b"earlier output")
            target, old, args = "out.wav", b"earlier output", ["-y", "in.wav", "out.wav"]
        child = subprocess.Popen([VANTROPE, "--settings-dir", "settings", "--auto"] + args, stdin=subprocess.DEVNULL,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        time.sleep(delay)
        child.send_signal(sig)
        lines = child.communicate(timeout=120)[1].decode("latin-1").splitlines()
        got, status = read(target), child.returncode
        said = [l for l in lines if "interrupted" in l]
        what = "%s after %.3f s%s" % (signal.Signals(sig).name, delay, " with --in-place" if in_place else "")
        if status == 0:
            ok, outcome = got == new and not said, "finished"
        elif status == 128 + sig:
            ok = len(said) == 1 and lines[-1] == said[0] and (
                got == old and said[0].endswith(target + " was not written") or
                got == new and said[0].endswith(target + " had been written already"))
            outcome = "interrupted"
        else:  # before the handlers are in place the signal ends the program before it has touched anything
            ok, outcome = status == -sig and got == old and not lines, "ended by the signal"
        outcomes[outcome] = outcomes.get(outcome, 0) + 1
        check(ok, what + ": OUT old or complete, one line, the right exit", "exit %d, %d bytes: %s" %
              (status, len(got), " | ".join(lines[-2:])))
        no_leftovers(what)
    print("outcomes: " + ", ".join("%s %d" % item for item in sorted(outcomes.items())))


def case_full_disk():
    """A file system that fills up part-way through the write (a small tmpfs in a mount namespace of
    its own, where this runs as root): the old OUT stays, no temporary file, one line, exit 2."""
    if os.geteuid() != 0 or not shutil.which("unshare"):
        print("skipped: needs root for a small file system of its own")
        return
    make_wav("in.wav", 44100, click_every=5000)
    os.mkdir("small")
    script = ('mount -t tmpfs -o size=48k vantrope-test small || exit 99; printf "earlier output" > small/out.wav; '
              '"$@" 2>err.txt; echo "status $?"; ls -a small; cat small/out.wav')
    done = subprocess.run(["unshare", "-m", "sh", "-c", script, "sh", VANTROPE, "--settings-dir", "settings", "--auto",
                           "-y", "in.wav", "small/out.wav"], stdout=subprocess.PIPE, timeout=120)
    if done.returncode == 99:
        print("skipped: no tmpfs can be mounted here")
        return
    shown = done.stdout.decode("latin-1").splitlines()
    lines = read("err.txt").decode("latin-1").splitlines()
    check(shown[:1] == ["status 2"], "a full disk: exit 2", " | ".join(shown))
    check(sorted(shown[1:-1]) == [".", "..", "out.wav"] and shown[-1] == "earlier output",
          "a full disk: the old OUT stays and no temporary file is left", " | ".join(shown))
    one_line(lines, ["small/out.wav", "No space left"], "a full disk is one line that says so")


def case_permissions():
    """A directory the user may not write and a file the user may not read (as root, the program runs
    as nobody): one line, exit 2, the old OUT kept, nothing written."""
    prefix = []
    if os.geteuid() == 0:
        if not shutil.which("setpriv"):
            print("skipped: as root, needs setpriv to run as an ordinary user")
            return
        prefix = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
    os.chmod(".", 0o755)
    make_wav("in.wav", 44100, click_every=5000)
    os.mkdir("settings", 0o777)
    os.chmod("settings", 0o777)
    os.mkdir("locked")
    write("locked/out.wav", b"earlier output")
    os.chmod("locked", 0o555)
    write("secret.wav", read("in.wav"))
    os.chmod("secret.wav", 0)
    os.mkdir("open", 0o777)
    os.chmod("open", 0o777)
    for args, what in ((["-y", "in.wav", "locked/out.wav"], "OUT in a directory the user may not write"),
                       (["--in-place", "locked/out.wav"], "--in-place in a directory the user may not write"),
                       (["secret.wav", "open/out.wav"], "IN the user may not read")):
        done = subprocess.run(prefix + [VANTROPE, "--settings-dir", "settings", "--auto"] + args,
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
        lines = done.stderr.decode("latin-1").splitlines()
        check(done.returncode == 2 and len(lines) == 1 and read("locked/out.wav") == b"earlier output" and
              os.listdir("locked") == ["out.wav"] and os.listdir("open") == [],
              what + ": one line, exit 2, nothing written", "exit %d: %s" % (done.returncode, lines))
    os.chmod("locked", 0o755)


def case_out_of_memory():
    if b"__asan_init" in read(VANTROPE):  # linked in statically (clang) or dynamically (gcc)
        print("skipped: a sanitizer build cannot run under a memory limit")
        return
    make_silent_wav("in.wav", 100_000_000)
    status, lines, _ = run(["--auto", "in.wav", "out.wav"], limits="-v 150000")
    check(status == 2 and not os.path.exists("out.wav"), "too little memory for IN: exit 2, nothing written",
          "exit %d: %s" % (status, lines[-2:]))
    one_line(lines, ["out of memory"], "running out of memory is one line")
    os.remove("in.wav")


def case_formats_by_extension():
    make_wav("in.wav", 44100, click_every=5000)
    status, _, _ = run(["--auto", "in.wav", "o.flac"])
    check(status == 0 and read("o.flac")[:4] == b"fLaC", ".flac as OUT gets FLAC data")
    status, lines, _ = run(["--auto", "in.wav", "o.xyz"])
    check(status == 2 and not os.path.exists("o.xyz"), "an extension that names no format is refused")
    status, lines, _ = run(["--auto", "in.wav", "o.ogg"])
    check(status == 2 and "--lossy" in lines[-1], "a lossy OUT needs --lossy, and the refusal says so", " | ".join(lines))
    status, _, _ = run(["--auto", "--lossy", "in.wav", "o.ogg"])
    check(status == 0 and read("o.ogg")[:4] == b"OggS", "--lossy writes Ogg Vorbis")
    status, lines, _ = run(["--auto", "o.ogg", "o2.ogg"])
    check(status == 2 and not os.path.exists("o2.ogg"), "lossy IN to lossy OUT is refused without --lossy")
    status, _, _ = run(["--auto", "o.ogg", "o2.wav"])
    with wave.open("o2.wav") as w:
        check(status == 0 and w.getsampwidth() == 2, "lossy IN to .wav gives 16-bit PCM")


def chunk(tag, body):
    return tag + struct.pack("<I", len(body)) + body + (b"\0" if len(body) % 2 else b"")


def case_tags_and_cut_short():
    fmt = struct.pack("<HHIIHH", 1, 1, 44100, 88200, 2, 16)
    data = b"".join(struct.pack("<h", (i * 37) % 2000 - 1000) for i in range(4410))
    info = b"INFO" + chunk(b"INAM", b"Morning Take\0") + chunk(b"IART", b"The Band\0")
    bext = b"A field recording".ljust(256, b"\0") + b"\0" * 82 + struct.pack("<IIH", 0, 0, 1) + b"\0" * 254
    cue = struct.pack("<I", 1) + struct.pack("<II4sIII", 1, 1000, b"data", 0, 0, 1000)
    body = b"WAVE" + chunk(b"fmt ", fmt) + chunk(b"bext", bext) + chunk(b"LIST", info) + chunk(b"cue ", cue) + chunk(b"data", data)
    write("tags.wav", b"RIFF" + struct.pack("<I", len(body)) + body)
    status, _, _ = run(["--auto", "tags.wav", "out.wav"])
    out = read("out.wav")
    check(status == 0 and all(t in out for t in (b"Morning Take", b"The Band", b"A field recording", b"cue ")),
          "WAV tags, the broadcast-wave description and the cue point are kept")
    status, _, _ = run(["--auto", "tags.wav", "out.flac"])
    out = read("out.flac")
    check(status == 0 and b"title=morning take" in out.lower() and b"artist=the band" in out.lower(),
          "the tags become FLAC comments")
    # A data chunk that promises 882,000 frames and holds 49,978.
    samples = b"".join(struct.pack("<h", (i % 64) * 100) for i in range(49978))
    write("cut.wav", b"RIFF" + struct.pack("<I", 36 + 1764000) + b"WAVE" + chunk(b"fmt ", fmt) + b"data" +
          struct.pack("<I", 1764000) + samples)
    status, lines, _ = run(["--auto", "cut.wav", "cut_out.wav"])
    check(status == 0 and any("882000" in l and "49978" in l and "cut short" in l for l in lines),
          "a cut-short WAV is read as far as it goes, with a warning that says so", " | ".join(lines[:2]))


def case_saved_settings_kept():
    make_wav("in.wav", 1000)
    os.mkdir("settings")
    write("settings/Vantrope.ini", SAVED_SETTINGS)
    status, _, _ = run(["--start", "100f", "--end", "140f", "in.wav", "out.wav"])
    check(status == 0 and read("settings/Vantrope.ini") == SAVED_SETTINGS,
          "a too-short selection leaves the saved settings as they were")
    run(["--start", "100f", "--end", "140f", "-y", "--settings-dir", "fresh", "in.wav", "out.wav"])
    fresh = read("fresh/Vantrope.ini").replace(b"\r", b"")
    check(b"PtsAround=95\n" in fresh and b"C1=4\n" in fresh, "a fresh profile still gets the start-up values")


def case_presets_leave_saved_settings():
    subprocess.run([MAKE_EXAMPLE, "in.wav"], check=True)
    os.mkdir("settings")
    write("settings/Vantrope.ini", SAVED_SETTINGS)
    status, lines, _ = run(["--preset", "gentle", "--auto", "in.wav", "preset.wav"])
    check(status == 0 and read("settings/Vantrope.ini") == SAVED_SETTINGS,
          "a --preset run leaves the saved settings byte for byte", " | ".join(lines[-2:]))
    # The preset means what its file means when a user drops it in as Vantrope.ini.
    os.mkdir("dropped")
    shutil.copy(os.path.join(PRESETS, "gentle.ini"), "dropped/Vantrope.ini")
    run(["--settings-dir", "dropped", "--auto", "in.wav", "dropped.wav"])
    check(read("preset.wav") == read("dropped.wav"), "--preset gentle repairs as gentle.ini dropped in does")
    for args, words in ((["--preset", "harsh"], ["unknown preset", "gentle"]), (["--set", "Zoom=13"], ["Zoom", "1 to 12"]),
                        (["--preset", "gentle", "--set", "C2=8"], ["C2 (8) must be above C1 (8)"])):
        status, lines, _ = run(args + ["--auto", "in.wav", "bad.wav"])
        check(status == 2 and len(lines) == 1 and all(w in lines[0] for w in words) and not os.path.exists("bad.wav"),
              "refused before anything runs: " + " ".join(args), " | ".join(lines))
    status, _, _ = run(["--set", "C1=8,LineBezier=12", "--save-settings", "--auto", "in.wav", "saved.wav"])
    saved = read("settings/Vantrope.ini").replace(b"\r", b"")
    check(status == 0 and b"C1=8\n" in saved and b"LineBezier=12\n" in saved and b"D1=900\n" in saved,
          "--set with --save-settings writes the run's values over the saved ones", saved.decode())
    status, lines, listing = run(["settings", "--reset"])
    saved = read("settings/Vantrope.ini").replace(b"\r", b"")
    check(status == 0 and b"C1=4\n" in saved and b"PtsAround=75\n" in saved and b"settings/Vantrope.ini" in listing,
          "vantrope settings --reset writes the defaults and shows where", listing.decode()[:200])
    status, _, listing = run(["settings", "--preset", "thorough"])
    check(status == 0 and b"values of preset thorough" in listing, "vantrope settings --preset saves a preset")


def case_list_changes_nothing():
    subprocess.run([MAKE_EXAMPLE, "in.wav"], check=True)
    os.mkdir("settings")
    write("settings/Vantrope.ini", SAVED_SETTINGS)
    before = read("in.wav")
    # A multipass preset: "Find Next" over and over must not start pass after pass.
    status, lines, table = run(["--list", "--preset", "balanced", "--labels", "l.txt", "in.wav"])
    rows = table.decode().splitlines()[1:]
    labels = [l.split("\t") for l in open("l.txt").read().splitlines()] if os.path.exists("l.txt") else []
    check(status == 0 and len(rows) >= 10 and len(labels) == len(rows), "--list prints a row and a label per candidate",
          "exit %d, %d rows, %d labels: %s" % (status, len(rows), len(labels), lines[-1:]))
    check(all(len(l) == 3 and float(l[0]) < float(l[1]) for l in labels), "labels: start, end in seconds, text")
    check(read("in.wav") == before and read("settings/Vantrope.ini") == SAVED_SETTINGS and
          sorted(os.listdir(".")) == ["in.wav", "l.txt", "settings"] and os.listdir("settings") == ["Vantrope.ini"],
          "--list changes neither IN nor the saved settings and writes nothing else", str(os.listdir(".")))
    # Times and frames name the same selection.
    _, _, by_time = run(["--list", "--csv", "--start", "0.5", "--end", "0:02.5", "in.wav"])
    _, _, by_frame = run(["--list", "--csv", "--start", "22050f", "--end", "110249f", "in.wav"])
    check(by_time == by_frame and by_time.count(b"\n") > 2, "--start/--end in seconds and in frames agree",
          by_time.decode()[:300])


def case_batch():
    subprocess.run([MAKE_EXAMPLE, "a.wav"], check=True)
    shutil.copy("a.wav", "b.wav")
    write("bad.wav", b"not audio")
    run(["--auto", "a.wav", "single.wav"])
    status, lines, table = run(["-j", "2", "--out-dir", "out", "a.wav", "bad.wav", "b.wav"])
    check(status == 2 and sorted(os.listdir("out")) == ["a.wav", "b.wav"],
          "a batch writes every file it can, none for a failed one, and exits nonzero",
          "exit %d, out: %s" % (status, os.listdir("out")))
    check(read("out/a.wav") == read("single.wav") and read("out/b.wav") == read("single.wav"),
          "each file of the batch is repaired as a single run repairs it")
    check(b"bad.wav" in table and b"failed" in table and b"2 of 3 files written" in table,
          "the summary table names the failed file", table.decode())
    status, lines, _ = run(["--out-dir", "out", "a.wav", "b.wav"])
    one_line(lines, ["exist already", "-y"], "existing outputs are refused before anything runs")
    status, lines, _ = run(["--out-dir", ".", "a.wav", "b.wav"])
    check(status == 2 and read("a.wav") != read("out/a.wav"), "an output that is an input is refused")


CASES = {name[5:]: f for name, f in sorted(globals().items()) if name.startswith("case_")}


def main():
    wanted = sys.argv[3:] or list(CASES)
    for name in wanted:
        print("== " + name)
        with tempfile.TemporaryDirectory(prefix="vantrope-cli-") as scratch:
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
