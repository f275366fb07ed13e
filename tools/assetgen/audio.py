"""What the sound effects and the music share: the sample rate, the loudness
meter and its target, the peak limit, and the seeded noise generator."""

import math

RATE = 22050
# Every effect is scaled to the same loudness, measured as the RMS after a
# gentle 100 Hz high-pass (the ear hears deep hum as quieter than its RMS);
# the target leaves every peak below -1 dBFS.
LOUDNESS_DB = -19.0
PEAK_LIMIT = 10 ** (-1.0 / 20.0)


def loudness_db(samples):
    a = math.exp(-2 * math.pi * 100.0 / RATE)
    y = prev = acc = 0.0
    for v in samples:
        y = a * (y + v - prev)
        prev = v
        acc += y * y
    return 10 * math.log10(acc / len(samples))


class XorShift:
    def __init__(self, seed):
        self.s = seed & 0xffffffff or 1

    def next(self):
        s = self.s
        s ^= (s << 13) & 0xffffffff
        s ^= s >> 17
        s ^= (s << 5) & 0xffffffff
        self.s = s
        return s / 4294967296.0 * 2.0 - 1.0
