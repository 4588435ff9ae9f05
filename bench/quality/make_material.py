#!/usr/bin/python3
"""Makes the quality benchmark's material: clean recordings of three kinds, each in two pieces (one to
tune on, one held out), and a copy of each with synthetic clicks of known position, length and shape.
  speech   sentences spoken by espeak-ng in several voices, resampled to 44.1 kHz by sox
  midi     music written here as MIDI (piano, bass, guitar, strings, a drum kit with hi-hats) and
           rendered by fluidsynth with the General MIDI sound font FluidR3_GM
  synth    tones with sharp attacks, hi-hats and kicks, generated here sample by sample
Clicks: single-sample impulses, short bursts and decaying rings, both polarities, peak amplitudes
log-uniform from 800 to 20000, about one every 0.6 s; all random choices come from fixed seeds.
Writes NAME.clean.wav, NAME.clicked.wav (16-bit mono 44.1 kHz) and NAME.clicks.json into OUT_DIR.
usage: make_material.py OUT_DIR"""
import json
import os
import struct
import subprocess
import sys
import tempfile

import numpy as np

RATE = 44100
SECONDS = 30
SOUND_FONT = "/usr/share/sounds/sf2/FluidR3_GM.sf2"
# (name, kind, piece): piece 0 is for tuning, piece 1 is held out.
MATERIAL = [("speech-a", "speech", 0), ("midi-a", "midi", 0), ("synth-a", "synth", 0),
            ("speech-b", "speech", 1), ("midi-b", "midi", 1), ("synth-b", "synth", 1)]


def run(command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def read_wav16(path):
    """Samples of a 16-bit PCM WAV file, as int16 (first channel only)."""
    data = open(path, "rb").read()
    pos, channels, samples = 12, 1, None
    while pos + 8 <= len(data):
        tag, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if tag == b"fmt ":
            channels = struct.unpack("<H", data[pos + 10:pos + 12])[0]
        elif tag == b"data":
            samples = np.frombuffer(data[pos + 8:pos + 8 + size], dtype="<i2")
            break
        pos += 8 + size + (size & 1)
    if samples is None:
        raise ValueError(path + ": no data chunk")
    return samples[::channels].astype(np.int16)


def write_wav16(path, samples):
    samples = np.asarray(samples, dtype="<i2")
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + 2 * len(samples), b"WAVE", b"fmt ", 16, 1, 1, RATE,
                         2 * RATE, 2, 16, b"data", 2 * len(samples))
    with open(path, "wb") as f:
        f.write(header + samples.tobytes())


def fit(samples, peak=0.7):
    """Exactly SECONDS long, scaled so that the loudest sample is PEAK of full scale."""
    x = np.zeros(SECONDS * RATE)
    n = min(len(samples), len(x))
    x[:n] = samples[:n]
    top = np.max(np.abs(x)) or 1.0
    return np.round(x * (peak * 32767 / top)).astype(np.int16)


# ---- speech --------------------------------------------------------------------------------------------
SENTENCES = [
    ["The old record played a quiet tune, and the dust on the groove popped now and then.",
     "Please put the paper back in the top drawer before the bus comes past the park.",
     "Six big boxes of peppers stood by the back door of the shop.",
     "Can you tell me which platform the train to Bristol leaves from?",
     "A careful listener hears the ticks before the tune, but the tune is what matters."],
    ["Keep the tape away from the heater, or the pitch will bend when you play it back.",
     "Peter picked a pretty picture of a pelican and put it by the piano.",
     "The station closed at ten past two, so we took a taxi to the quay.",
     "Bright cymbals, deep drums and a plucked bass filled the little hall.",
     "Stop, check the cable, then start again from the top of the page."]]
VOICES = [["en-us", "en-gb", "en-us+f3", "en-gb-x-rp", "en-us+m4"], ["en-gb+f2", "en-us+m2", "en-gb-scotland", "en-us+f4", "en"]]


def make_speech(piece, work):
    parts = []
    for i, (text, voice) in enumerate(zip(SENTENCES[piece], VOICES[piece])):
        raw = os.path.join(work, "s%d.wav" % i)
        run(["espeak-ng", "-v", voice, "-s", str(140 + 10 * i), "-w", raw, text])
        wide = os.path.join(work, "s%d-44k.wav" % i)
        run(["sox", raw, "-b", "16", "-c", "1", wide, "rate", "-h", str(RATE)])
        parts.append(read_wav16(wide).astype(float))
        parts.append(np.zeros(RATE // 2))
    x = np.concatenate(parts)
    return fit(np.tile(x, 1 + SECONDS * RATE // len(x)))


# ---- music from MIDI -----------------------------------------------------------------------------------
def var_len(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def midi_file(events, tempo_us):
    """A format-0 MIDI file from (tick, bytes) events, 480 ticks per quarter note."""
    events = sorted(events, key=lambda e: (e[0], e[1][0] & 0xF0 != 0x80))
    track, last = bytearray(b"\x00\xFF\x51\x03" + tempo_us.to_bytes(3, "big")), 0
    for tick, message in events:
        track += var_len(tick - last) + message
        last = tick
    track += b"\x00\xFF\x2F\x00"
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk" + struct.pack(">I", len(track)) + bytes(track)


def note(events, channel, start, length, pitch, velocity):
    events.append((start, bytes([0x90 | channel, pitch, velocity])))
    events.append((start + length, bytes([0x80 | channel, pitch, 0])))


def compose(piece):
    """Piece 0: a groove with piano chords, bass, a flute line and a full kit. Piece 1: a slower piece
    with strings, a picked guitar, bass and a kit on ride and hi-hat. Both with fills and crashes."""
    rng = np.random.default_rng(100 + piece)
    q = 480
    bars = 24 if piece == 0 else 18
    events = []
    programs = [(0, 0), (1, 33), (2, 73)] if piece == 0 else [(0, 48), (1, 32), (2, 25)]
    for channel, program in programs:
        events.append((0, bytes([0xC0 | channel, program])))
    chords = [[60, 64, 67], [57, 60, 64], [53, 57, 60], [55, 59, 62]] if piece == 0 else \
        [[62, 65, 69], [58, 62, 65], [60, 64, 67], [57, 61, 64]]
    for bar in range(bars):
        chord = chords[bar % 4]
        t0 = bar * 4 * q
        if piece == 0:
            for beat in (0, 2):
                for p in chord:
                    note(events, 0, t0 + beat * q, q * 2 - 20, p, 70 + int(rng.integers(0, 20)))
            for eighth in range(8):
                if eighth % 2 == 0 or rng.random() < 0.4:
                    note(events, 1, t0 + eighth * q // 2, q // 2 - 10, chord[0] - 24, 90)
            for eighth in range(8):
                if rng.random() < 0.6:
                    note(events, 2, t0 + eighth * q // 2, q // 2, chord[int(rng.integers(0, 3))] + 12, 80)
        else:
            for p in chord:
                note(events, 0, t0, 4 * q - 10, p, 60)
            for sixteenth in range(16):
                note(events, 2, t0 + sixteenth * q // 4, q // 4, chord[sixteenth % 3] + (12 if sixteenth % 4 == 3 else 0), 75)
            note(events, 1, t0, 2 * q, chord[0] - 24, 95)
            note(events, 1, t0 + 2 * q, 2 * q, chord[2] - 24, 90)
        # The kit on channel 10: kick 36, snare 38, closed hi-hat 42, open hi-hat 46, crash 49, ride 51.
        for eighth in range(8):
            t = t0 + eighth * q // 2
            note(events, 9, t, 60, 42 if piece == 0 or eighth % 2 else 51, 70 + int(rng.integers(0, 40)))
            if eighth in (0, 5) or (piece == 0 and eighth == 3 and rng.random() < 0.5):
                note(events, 9, t, 60, 36, 110)
            if eighth in (2, 6):
                note(events, 9, t, 60, 38, 100 + int(rng.integers(0, 27)))
        if bar % 4 == 3:
            for s in range(4):
                note(events, 9, t0 + 3 * q + s * q // 4, 40, 38 if s % 2 else 45, 90 + 8 * s)
            note(events, 9, t0 + 3 * q + q // 2, 60, 46, 100)
        if bar % 8 == 0:
            note(events, 9, t0, 60, 49, 115)
    return midi_file(events, 625000 if piece == 0 else 833333)


def make_midi(piece, work):
    mid = os.path.join(work, "piece.mid")
    with open(mid, "wb") as f:
        f.write(compose(piece))
    rendered = os.path.join(work, "rendered.wav")
    run(["fluidsynth", "-ni", "-g", "0.7", "-r", str(RATE), "-F", rendered, SOUND_FONT, mid])
    mono = os.path.join(work, "mono.wav")
    run(["sox", rendered, "-b", "16", "-c", "1", mono, "remix", "-"])
    return fit(read_wav16(mono).astype(float))


# ---- synthetic tones -----------------------------------------------------------------------------------
def make_synth(piece):
    rng = np.random.default_rng(200 + piece)
    n = SECONDS * RATE
    x = np.zeros(n)
    t = np.arange(n) / RATE
    step = RATE // (4 if piece == 0 else 6)
    for start in range(0, n, step):
        if rng.random() < 0.7:  # a plucked or struck tone with a sharp attack
            f0 = 110 * 2 ** (int(rng.integers(0, 24)) / 12)
            length = min(n - start, int(RATE * rng.uniform(0.2, 0.8)))
            tt = t[:length]
            env = np.exp(-tt / rng.uniform(0.05, 0.4)) * np.minimum(1, tt * RATE / rng.uniform(2, 40))
            tone = sum(np.sin(2 * np.pi * f0 * h * tt) / h ** rng.uniform(0.8, 2.0) for h in range(1, 7))
            x[start:start + length] += 0.3 * env * tone
        if rng.random() < 0.8:  # a hi-hat: high-passed noise with a fast decay
            length = min(n - start, int(RATE * rng.uniform(0.02, 0.12)))
            noise = rng.standard_normal(length + 1)
            hat = (noise[1:] - noise[:-1]) * np.exp(-np.arange(length) / (RATE * rng.uniform(0.005, 0.03)))
            x[start:start + length] += rng.uniform(0.1, 0.4) * hat
        if rng.random() < 0.3:  # a kick: a falling sine
            length = min(n - start, RATE // 5)
            tt = t[:length]
            x[start:start + length] += 0.8 * np.sin(2 * np.pi * (50 * tt + 60 * (1 - np.exp(-tt * 30)) / 30)) * np.exp(-tt * 12)
    return fit(x)


# ---- clicks --------------------------------------------------------------------------------------------
def insert_clicks(clean, seed):
    """Adds clicks to a copy of CLEAN; returns (clicked, list of clicks)."""
    rng = np.random.default_rng(seed)
    x = clean.astype(np.int64)
    clicks = []
    pos = int(RATE * 0.3)
    while True:
        pos += int(RATE * rng.uniform(0.3, 0.9))
        if pos > len(x) - RATE // 10:
            break
        shape = ["impulse", "burst", "ring"][int(rng.integers(0, 3))]
        peak = float(np.exp(rng.uniform(np.log(800), np.log(20000))))
        sign = 1 if rng.random() < 0.5 else -1
        if shape == "impulse":
            wave = np.array([1.0])
        elif shape == "burst":
            wave = rng.uniform(0.3, 1.0, int(rng.integers(2, 9)))
            wave = wave * np.where(rng.random(len(wave)) < 0.3, -1, 1)
            wave[int(rng.integers(0, len(wave)))] = 1.0
        else:
            length = int(rng.integers(10, 41))
            k = np.arange(length)
            wave = np.exp(-k / rng.uniform(2, 8)) * np.cos(2 * np.pi * rng.uniform(0.05, 0.25) * k)
        added = np.round(sign * peak * wave).astype(np.int64)
        x[pos:pos + len(added)] += added
        clicks.append({"position": pos, "length": len(added), "shape": shape, "peak": round(sign * peak)})
    return np.clip(x, -32768, 32767).astype(np.int16), clicks


def main():
    if len(sys.argv) != 2:
        print(__doc__.splitlines()[-1], file=sys.stderr)
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for index, (name, kind, piece) in enumerate(MATERIAL):
        with tempfile.TemporaryDirectory() as work:
            if kind == "speech":
                clean = make_speech(piece, work)
            elif kind == "midi":
                clean = make_midi(piece, work)
            else:
                clean = make_synth(piece)
        clicked, clicks = insert_clicks(clean, 300 + index)
        write_wav16(os.path.join(out, name + ".clean.wav"), clean)
        write_wav16(os.path.join(out, name + ".clicked.wav"), clicked)
        with open(os.path.join(out, name + ".clicks.json"), "w") as f:
            json.dump({"name": name, "kind": kind, "held_out": piece == 1, "rate": RATE, "clicks": clicks}, f, indent=0)
        print("%s: %d s, %d clicks" % (name, SECONDS, len(clicks)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
