"""The sound effects: short mono clicks, rumbles and chimes, each scaled to
the same loudness."""

import math
import struct
import wave

from .audio import LOUDNESS_DB, PEAK_LIMIT, RATE, XorShift, loudness_db


def finish(samples, fade_in=0.004, fade_out=0.03):
    n = len(samples)
    fi, fo = int(fade_in * RATE), int(fade_out * RATE)
    out = list(samples)
    for i in range(n):
        g = 1.0
        if i < fi:
            g = i / fi
        if i >= n - fo:
            g = min(g, (n - 1 - i) / fo)
        out[i] *= g
    gain = 10 ** ((LOUDNESS_DB - loudness_db(out)) / 20.0)
    out = [v * gain for v in out]
    assert max(abs(v) for v in out) <= PEAK_LIMIT
    return out


def write_wav(path, samples):
    data = b''.join(struct.pack('<h', int(round(max(-1.0, min(1.0, v)) * 32767))) for v in samples)
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data)


def snd_build():
    rng = XorShift(2024)
    n = int(0.42 * RATE)
    out = [0.0] * n
    for start, f0 in ((0.0, 170.0), (0.19, 150.0)):
        s0 = int(start * RATE)
        ph = 0.0
        lp = 0.0
        for i in range(int(0.2 * RATE)):
            t = i / RATE
            f = f0 * (0.7 + 0.3 * math.exp(-t * 40))
            ph += 2 * math.pi * f / RATE
            body = math.sin(ph) * math.exp(-t * 22) + 0.4 * math.sin(ph * 2.7) * math.exp(-t * 45)
            lp += 0.35 * (rng.next() - lp)
            click = lp * math.exp(-t * 160) * 1.6
            if s0 + i < n:
                out[s0 + i] += body + click
    return finish(out, 0.002, 0.04)


def snd_select():
    n = int(0.11 * RATE)
    out = []
    ph = 0.0
    for i in range(n):
        t = i / RATE
        f = 1100.0 + 600.0 * min(1.0, t / 0.03)
        ph += 2 * math.pi * f / RATE
        out.append((math.sin(ph) + 0.2 * math.sin(2 * ph)) * math.exp(-t * 30))
    return finish(out, 0.003, 0.03)


def snd_bulldoze():
    rng = XorShift(0xB011D)
    n = int(0.55 * RATE)
    out = []
    lp1 = lp2 = 0.0
    ph = 0.0
    for i in range(n):
        t = i / RATE
        x = rng.next()
        lp1 += 0.08 * (x - lp1)
        lp2 += 0.3 * (x - lp2)
        ph += 2 * math.pi * (52.0 + 6.0 * math.sin(t * 9)) / RATE
        rumble = 0.6 * math.sin(ph) + 2.5 * lp1
        crunch = lp2 * (0.5 + 0.5 * math.sin(t * 2 * math.pi * 17)) ** 4
        env = min(1.0, t / 0.05) * (1.0 - 0.5 * t / 0.55)
        out.append((rumble + 0.8 * crunch) * env)
    return finish(out, 0.01, 0.08)


def snd_ding():
    n = int(0.6 * RATE)
    out = [0.0] * n
    for start, f in ((0.0, 1046.5), (0.2, 830.6)):
        s0 = int(start * RATE)
        for i in range(n - s0):
            t = i / RATE
            e = math.exp(-t * 7.0)
            v = math.sin(2 * math.pi * f * t) + 0.35 * math.sin(2 * math.pi * f * 2.01 * t) * math.exp(-t * 10) \
                + 0.15 * math.sin(2 * math.pi * f * 3.0 * t) * math.exp(-t * 18)
            out[s0 + i] += v * e
    return finish(out, 0.002, 0.06)


def snd_hum():
    n = int(0.5 * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        vib = 1.0 + 0.004 * math.sin(2 * math.pi * 5 * t)
        v = math.sin(2 * math.pi * 98 * vib * t) + 0.45 * math.sin(2 * math.pi * 196 * vib * t) \
            + 0.15 * math.sin(2 * math.pi * 294 * t) + 0.08 * math.sin(2 * math.pi * 1210 * t)
        out.append(v * (0.85 + 0.15 * math.sin(2 * math.pi * 8 * t)))
    return finish(out, 0.08, 0.1)


SOUNDS = {
    'assets/build.wav': snd_build,
    'assets/select.wav': snd_select,
    'assets/bulldoze.wav': snd_bulldoze,
    'assets/elevator_arrive.wav': snd_ding,
    'assets/elevator_move.wav': snd_hum,
}
