"""Composes and renders the game's music, assets/music.ogg.

Written and checked with every other asset by tools/gen_assets.py; sox
encodes the Ogg Vorbis file and decodes it again for the check. Every note
and every waveform is computed here: a soft pad, an electric piano
(two-operator FM), a round bass and a vibraphone-like melody play sixteen
bars in F major at 70 beats a minute, and a small room (an all-pass smear
into four delay lines that feed each other) puts them in one place.

The piece is built as a circle, so it loops without a seam: notes that ring
past the last bar are added at the start, the room is run from a few seconds
before the loop on the loop's own end, and the file stops one sample before
the loop begins again. Its loudness is set on the effects' meter, some
decibels below them, so the music stays in the background.
"""

import functools
import math
import os
import shutil
import struct
import subprocess
import tempfile
import wave

from .audio import PEAK_LIMIT, RATE, XorShift, loudness_db

MUSIC = 'assets/music.ogg'
# The effects sit at -19 dB on the same meter; 8 dB below them the music
# carries the mood without covering the clicks of building.
MUSIC_LOUDNESS_DB = -27.0
VORBIS_QUALITY = 1

BEAT = 18900                   # 70 beats a minute at 22050 Hz, a whole number of samples
BAR = 4 * BEAT
BARS = 16
LOOP = BARS * BAR              # 1 209 600 samples, 54.9 s

TABLE = 8192                   # one period of a waveform, read by phase
MASK = TABLE - 1


def midi_hz(note):
    return 440.0 * 2 ** ((note - 69) / 12.0)


def table(partials):
    """One period of a sum of harmonics given as (harmonic, amplitude)."""
    return [sum(a * math.sin(2 * math.pi * h * i / TABLE) for h, a in partials) for i in range(TABLE)]


SINE = table([(1, 1.0)])
PAD_WAVE = table([(1, 1.0), (2, 0.42), (3, 0.2), (4, 0.1), (5, 0.05), (6, 0.025)])
BASS_WAVE = table([(1, 1.0), (2, 0.3), (3, 0.08)])
VIBE_WAVE = table([(1, 1.0), (2, 0.06), (3, 0.03)])

# ---------------------------------------------------------------------------
# the score: F major, one chord a bar, a bass root and a pad voicing in MIDI
# notes; the melody in beats from the start of its bar
# ---------------------------------------------------------------------------
F2, G2, A2, BB2, C3, D3 = 41, 43, 45, 46, 48, 50
FMAJ9 = (F2, (57, 60, 64, 67))
AM7 = (A2, (55, 60, 64, 69))
DM9 = (D3, (53, 57, 60, 64))
BBMAJ9 = (BB2, (57, 60, 62, 65))
GM9 = (G2, (58, 62, 65, 69))
C9SUS4 = (C3, (58, 62, 65, 67))
FMAJ7_A = (A2, (60, 64, 65, 69))
BBMAJ13 = (BB2, (57, 62, 65, 67))
OPENING = [FMAJ9, AM7, DM9, BBMAJ9]
# The first half comes home the plagal way, the second through the
# suspended dominant, which leads back to the first bar.
CHORDS = OPENING + [GM9, C9SUS4, FMAJ7_A, BBMAJ13] + OPENING + [GM9, AM7, BBMAJ9, C9SUS4]

# (bar, beat, length in beats, note)
MELODY = [
    (0, 1, 1, 72), (0, 2, 1, 74), (0, 3, 1, 76),
    (1, 0, 2.5, 79), (1, 2.5, 1.5, 76),
    (2, 1, 1, 74), (2, 2, 1, 76), (2, 3, 1, 77),
    (3, 0, 2.5, 81), (3, 2.5, 1.5, 77),
    (4, 1, 1, 70), (4, 2, 1, 72), (4, 3, 1, 74),
    (5, 0, 2.5, 77), (5, 2.5, 1.5, 74),
    (6, 0, 2, 72), (6, 2, 2, 69),
    (7, 0, 3.5, 67),
    (8, 1, 1, 72), (8, 2, 1, 74), (8, 3, 1, 76),
    (9, 0, 1.5, 79), (9, 1.5, 0.5, 81), (9, 2, 1, 79), (9, 3, 1, 76),
    (10, 1, 1, 74), (10, 2, 1, 76), (10, 3, 1, 77),
    (11, 0, 2.5, 81), (11, 2.5, 0.75, 79), (11, 3.25, 0.75, 77),
    (12, 1, 1, 70), (12, 2, 1, 74), (12, 3, 1, 77),
    (13, 0, 3, 76), (13, 3, 1, 72),
    (14, 0, 3, 74), (14, 3, 1, 72),
    (15, 0, 4, 67),
]

# The piano's figure in every bar: (beat, which notes of the voicing, loudness);
# a slow broken chord, the first one rolled from the bottom.
PIANO = [(0, (0, 1, 2, 3), 1.0), (1.5, (3,), 0.6), (2.5, (1, 2), 0.55), (3.5, (2,), 0.4)]


# ---------------------------------------------------------------------------
# rendering
# ---------------------------------------------------------------------------

class Stem:
    """One voice's stereo loop; whatever is added past its end comes back at
    its start."""

    def __init__(self):
        self.left = [0.0] * LOOP
        self.right = [0.0] * LOOP

    def add(self, start, samples, left_gain, right_gain):
        pos = start % LOOP
        done = 0
        while done < len(samples):
            n = min(len(samples) - done, LOOP - pos)
            part = samples[done:done + n]
            for channel, gain in ((self.left, left_gain), (self.right, right_gain)):
                if gain:
                    channel[pos:pos + n] = [c + gain * s for c, s in zip(channel[pos:pos + n], part)]
            done += n
            pos = 0


def pan(position, gain):
    """Constant-power gains for a position from -1 (left) to 1 (right)."""
    angle = (position + 1) * math.pi / 4
    return gain * math.cos(angle), gain * math.sin(angle)


def oscillator(wave_table, hz, length):
    step = hz * TABLE / RATE
    return [wave_table[int(i * step) & MASK] for i in range(length)]


def envelope(length, attack, release, decay=0.0, floor=1.0):
    """Rises over `attack` samples, then falls exponentially (time constant
    `decay` samples) towards `floor`, and fades to silence over the last
    `release` samples; every edge is a raised cosine, so nothing clicks."""
    out = []
    for i in range(length):
        g = 1.0
        if decay:
            g = floor + (1.0 - floor) * math.exp(-i / decay)
        if i < attack:
            g *= 0.5 - 0.5 * math.cos(math.pi * i / attack)
        tail = length - i
        if tail < release:
            g *= 0.5 - 0.5 * math.cos(math.pi * tail / release)
        out.append(g)
    return out


def pad():
    """Each chord swells in and overlaps the next; on each side a copy a few
    cents off the other, so the chord is wide and slowly beating."""
    stem = Stem()
    release = int(1.8 * RATE)
    length = BAR + release
    env = envelope(length, int(1.4 * RATE), release + int(0.2 * RATE))
    for bar, (_, voicing) in enumerate(CHORDS):
        for side, cents in ((-1, -6.0), (1, 6.0)):
            a, b, c, d = (oscillator(PAD_WAVE, midi_hz(n) * 2 ** (cents / 1200.0), length) for n in voicing)
            chord = [e * (p + q + r + s) for p, q, r, s, e in zip(a, b, c, d, env)]
            stem.add(bar * BAR, chord, *pan(0.7 * side, 1.0))
    return stem


@functools.lru_cache(maxsize=None)
def piano_note(note):
    """Two-operator FM, the brightness fading faster than the tone."""
    hz = midi_hz(note)
    length = int(2.4 * RATE)
    env = envelope(length, int(0.004 * RATE), int(0.5 * RATE), 1.1 * RATE * (440.0 / hz) ** 0.35, 0.0)
    step = hz * TABLE / RATE
    scale = TABLE / (2 * math.pi)
    index = [(0.25 + 1.4 * math.exp(-i / (0.18 * RATE))) * scale for i in range(length)]
    return [SINE[(int(i * step) + int(x * SINE[int(i * step) & MASK])) & MASK] * e
            for i, x, e in zip(range(length), index, env)]


def electric_piano(rng):
    stem = Stem()
    for bar, (_, voicing) in enumerate(CHORDS):
        for beat, picks, velocity in PIANO:
            for order, pick in enumerate(picks):
                # a hand is never exact: a few milliseconds and a little loudness
                start = bar * BAR + int(beat * BEAT) + order * int(0.045 * RATE) + int(rng.next() * 0.006 * RATE)
                gain = velocity * (1.0 + 0.12 * rng.next())
                stem.add(start, piano_note(voicing[pick]), *pan(-0.35 + 0.2 * pick, gain))
    return stem


def bass():
    """The root for most of the bar, then the fifth leading on."""
    stem = Stem()
    for bar, (root, _) in enumerate(CHORDS):
        for beat, beats, note, gain in ((0, 2.9, root, 1.0), (3, 0.9, root + 7, 0.62)):
            length = int(beats * BEAT)
            env = envelope(length, int(0.02 * RATE), int(0.12 * RATE), 0.9 * RATE, 0.55)
            tone = [s * e for s, e in zip(oscillator(BASS_WAVE, midi_hz(note), length), env)]
            stem.add(bar * BAR + int(beat * BEAT), tone, *pan(0.0, gain))
    return stem


def vibraphone(rng):
    """The melody: a struck bar ringing under a slow tremolo."""
    stem = Stem()
    for bar, beat, beats, note in MELODY:
        hz = midi_hz(note)
        length = int(beats * BEAT) + int(1.2 * RATE)
        env = envelope(length, int(0.006 * RATE), int(1.2 * RATE), 2.2 * RATE, 0.0)
        tremolo = [1.0 - 0.18 * (0.5 - 0.5 * math.cos(2 * math.pi * 4.2 * i / RATE)) for i in range(length)]
        step4 = 4.0 * hz * TABLE / RATE
        strike = [0.12 * SINE[int(i * step4) & MASK] * math.exp(-i / (0.05 * RATE)) for i in range(length)]
        tone = [(s + k) * e * t for s, k, e, t in zip(oscillator(VIBE_WAVE, hz, length), strike, env, tremolo)]
        start = bar * BAR + int(beat * BEAT) + int(rng.next() * 0.005 * RATE)
        stem.add(start, tone, *pan(0.1, 1.0 + 0.08 * rng.next()))
    return stem


def allpass(x, delay, g):
    """Smears a sound's onset without colouring it; worked a block of `delay`
    samples at a time, since no sample in a block depends on another in it."""
    y = [-g * v for v in x[:delay]]
    for s in range(delay, len(x), delay):
        e = min(s + delay, len(x))
        y[s:e] = [-g * a + b + g * c for a, b, c in zip(x[s:e], x[s - delay:e - delay], y[s - delay:e - delay])]
    return y


ROOM_DELAYS = (1031, 1327, 1523, 1871)     # 47 to 85 ms, no two sharing a factor
ROOM_SECONDS = 1.8                          # until an echo has fallen by 60 dB
REVERB_LEAD = 5 * RATE                      # by then it has fallen by 160 dB


def room(left, right):
    """Four delay lines feeding each other through a Hadamard matrix, each
    echo averaged with its neighbour so the high notes die first. The left
    side feeds lines 0 and 2, the right side 1 and 3, and each side hears its
    own two lines. No line is shorter than a block, so a block only reads
    samples written before it."""
    n = len(left)
    feed = (left, right, [-v for v in left], [-v for v in right])
    gains = [0.5 * 10 ** (-3.0 * d / (ROOM_SECONDS * RATE)) for d in ROOM_DELAYS]
    signs = ((1, 1, 1, 1), (1, -1, 1, -1), (1, 1, -1, -1), (1, -1, -1, 1))
    lines = [[0.0] * n for _ in ROOM_DELAYS]
    taps = [[0.0] * n for _ in ROOM_DELAYS]
    block = min(ROOM_DELAYS) - 1
    for s in range(max(ROOM_DELAYS) + 1, n, block):
        e = min(s + block, n)
        for tap, line, d in zip(taps, lines, ROOM_DELAYS):
            tap[s:e] = [0.5 * (a + b) for a, b in zip(line[s - d:e - d], line[s - d - 1:e - d - 1])]
        for line, x, g, row in zip(lines, feed, gains, signs):
            t0, t1, t2, t3 = (tap[s:e] if sign > 0 else [-v for v in tap[s:e]] for tap, sign in zip(taps, row))
            line[s:e] = [a + g * (p + q + r + u) for a, p, q, r, u in zip(x[s:e], t0, t1, t2, t3)]
    return ([a - b for a, b in zip(taps[0], taps[2])], [a - b for a, b in zip(taps[1], taps[3])])


def reverb(left, right):
    """Starts a few seconds before the loop, on its end, so the echoes of the
    last bar already ring into the first."""
    left = allpass(allpass(left[-REVERB_LEAD:] + left, 113, 0.6), 173, 0.6)
    right = allpass(allpass(right[-REVERB_LEAD:] + right, 127, 0.6), 181, 0.6)
    wet_left, wet_right = room(left, right)
    return wet_left[REVERB_LEAD:], wet_right[REVERB_LEAD:]


WET = 0.35                     # the room's echoes sit about 10 dB under the voices


def render():
    rng = XorShift(0x0E7E)
    # (voice, level, share sent into the room)
    stems = ((pad(), 0.032, 0.35), (electric_piano(rng), 0.16, 0.6), (bass(), 0.24, 0.0), (vibraphone(rng), 0.2, 0.8))
    dry, send = [], []
    for side in ('left', 'right'):
        d, w = [0.0] * LOOP, [0.0] * LOOP
        for stem, level, share in stems:
            samples = getattr(stem, side)
            d = [a + level * b for a, b in zip(d, samples)]
            if share:
                w = [a + level * share * b for a, b in zip(w, samples)]
        dry.append(d)
        send.append(w)
    wet = reverb(*send)
    left, right = ([a + WET * b for a, b in zip(d, w)] for d, w in zip(dry, wet))
    gain = 10 ** ((MUSIC_LOUDNESS_DB - stereo_loudness_db(left, right)) / 20.0)
    left = [v * gain for v in left]
    right = [v * gain for v in right]
    assert max(max(map(abs, left)), max(map(abs, right))) <= PEAK_LIMIT
    return left, right


def stereo_loudness_db(left, right):
    """The effects' meter on each side, powers averaged: a mono effect,
    played on both sides, reads the same as on its own."""
    return 10 * math.log10((10 ** (loudness_db(left) / 10) + 10 ** (loudness_db(right) / 10)) / 2)


def write(out):
    left, right = render()
    frames = b''.join(struct.pack('<hh', int(round(a * 32767)), int(round(b * 32767))) for a, b in zip(left, right))
    work = tempfile.mkdtemp()
    try:
        pcm = os.path.join(work, 'music.wav')
        with wave.open(pcm, 'wb') as w:
            w.setnchannels(2)
            w.setsampwidth(2)
            w.setframerate(RATE)
            w.writeframes(frames)
        path = os.path.join(out, MUSIC)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        # -R: sox's repeatable mode, a fixed stream serial number, so the same
        # samples always give the same file
        subprocess.run(['sox', '-R', pcm, '-C', str(VORBIS_QUALITY), path], check=True)
    finally:
        shutil.rmtree(work)


def decode(path):
    """The file's samples as sox decodes them: (channels, rate, left, right)."""
    def info(flag):
        run = subprocess.run(['soxi', flag, path], capture_output=True, text=True)
        return int(float(run.stdout)) if run.returncode == 0 else 0
    raw = subprocess.run(['sox', path, '-t', 'raw', '-e', 'signed-integer', '-b', '16', '-L', '-'],
                         capture_output=True).stdout
    data = struct.unpack('<%dh' % (len(raw) // 2), raw[:len(raw) // 4 * 4])
    return info('-c'), info('-r'), [v / 32767.0 for v in data[0::2]], [v / 32767.0 for v in data[1::2]]


def check(out, need):
    path = os.path.join(out, MUSIC)
    if not os.path.exists(path):
        need(False, 'missing ' + MUSIC)
        return
    if not shutil.which('sox'):
        need(False, 'sox is needed to check ' + MUSIC)
        return
    channels, rate, left, right = decode(path)
    need((channels, rate) == (2, RATE), '%s is %d channels at %d Hz, want stereo at %d Hz' % (MUSIC, channels, rate, RATE))
    need(len(left) == LOOP, '%s lasts %d samples, want the loop of %d' % (MUSIC, len(left), LOOP))
    if not left:
        return
    peak = max(max(map(abs, left)), max(map(abs, right)))
    need(peak <= PEAK_LIMIT, '%s peaks at %.2f dBFS' % (MUSIC, 20 * math.log10(peak)))
    level = stereo_loudness_db(left, right)
    need(abs(level - MUSIC_LOUDNESS_DB) < 0.5, '%s loudness %.2f dB, want %.1f' % (MUSIC, level, MUSIC_LOUDNESS_DB))
    # The seam: the step from the last sample to the first is no larger than
    # the steps the music takes on either side of it, and neither end is silent.
    edge = RATE // 20
    for name, ch in (('left', left), ('right', right)):
        around = max(abs(b - a) for part in (ch[-edge:], ch[:edge]) for a, b in zip(part, part[1:]))
        seam = abs(ch[0] - ch[-1])
        need(seam <= around, '%s %s side clicks at the loop: a step of %.4f where the music moves by %.4f'
             % (MUSIC, name, seam, around))
        for part, what in ((ch[:edge], 'start'), (ch[-edge:], 'end')):
            rms = math.sqrt(sum(v * v for v in part) / edge)
            need(rms > 10 ** (-50 / 20.0), '%s %s side is silent at its %s' % (MUSIC, name, what))
