"""Surfaces that several sheets share: a room's back walls with their
windows and the tower's outer curtain wall, by day and by night."""

from .draw import face, hash01, mix, rgba, shade
from .palette import NIGHT, SKY


def window_wall(base, windows, look, frame=(246, 244, 238), cap=True, skirting=True):
    """Interior wall (s from left, t from top) with window rectangles given as
    (s0, s1, t0, t1) in wall units."""
    def sh(s, t, e, x, y):
        if cap and t < 1.5 / 64:
            return rgba(shade(base, 0.55))
        if skirting and t > 1 - 4.0 / 64:
            return rgba(shade(base, 0.78))
        for (s0, s1, t0, t1) in windows:
            if s0 <= s < s1 and t0 <= t < t1:
                fs, ft = 1.2 / 64, 1.5 / 64
                if s < s0 + fs or s >= s1 - fs or t < t0 + ft or t >= t1 - ft:
                    return rgba(frame)
                if abs(s - (s0 + s1) / 2) < 0.6 / 64:
                    return rgba(frame)
                # sky gradient plus a diagonal glint
                g = (t - t0) / (t1 - t0)
                if look == NIGHT:
                    # the night outside, with the room's lamps caught in the glass
                    c = mix((40, 50, 96), (16, 20, 48), g)
                    if 0.10 < ((s - s0) / (s1 - s0) + g * 0.5) % 1.0 < 0.18:
                        c = mix(c, (255, 214, 150), 0.22)
                    return c
                c = mix(mix((186, 224, 248), SKY, g), (120, 178, 222), 0.0)
                if 0.10 < ((s - s0) / (s1 - s0) + g * 0.5) % 1.0 < 0.18:
                    c = mix(c, (255, 255, 255), 0.45)
                return c
            if s0 - 1.2 / 64 <= s < s1 + 1.2 / 64 and t1 <= t < t1 + 2.5 / 64:
                return rgba(shade(base, 0.84))  # sill shadow
        c = base
        # faint vertical panel joints at the cell ends so neighbours read as one wall
        n = hash01(x, y, 7)
        return rgba(shade(c, 0.985 + 0.03 * n))
    return sh


def facade(base_glass, mullion, slab, left_face, look):
    """Outer curtain wall of one storey; periodic in s so neighbouring cells
    and the two halves run into each other as one facade."""
    k = 1.0 if left_face else 0.86

    def sh(s, t, e, x, y):
        if t < 2.0 / 64:
            return rgba(shade(slab, 0.62 * k))
        if t < 9.0 / 64:
            return rgba(shade(slab, 1.0 * k))
        if t < 10.0 / 64:
            return rgba(shade(slab, 0.7 * k))
        if t >= 54.0 / 64:
            if t < 55.0 / 64:
                return rgba(shade(slab, 0.7 * k))
            return rgba(shade(slab, 0.92 * k))
        q = (s * 4.0) % 1.0
        if q < 0.045 or q > 0.955:
            return rgba(shade(mullion, k))
        g = (t - 10.0 / 64) / (44.0 / 64)
        if look == NIGHT:
            # most panes glow with the rooms behind them; a few stay dark
            pane = int(s * 4.0) + 4 * int(x // 64) + 7 * int(y // 96)
            if hash01(pane, int(t * 2.0), 11) < 0.2:
                return mix((30, 38, 70), (18, 22, 46), g)
            return mix(shade((255, 222, 150), k), shade((236, 164, 84), k), g)
        c = mix(shade(base_glass, 1.12 * k), shade(base_glass, 0.82 * k), g)
        if int(s * 4.0) % 2 == 0 and abs(((s * 4.0 + g * 0.6) % 1.0) - 0.3) < 0.05:
            c = mix(c, (255, 255, 255), 0.35)
        if abs(t - 32.0 / 64) < 0.6 / 64:
            return rgba(shade(mullion, 0.95 * k))
        return c
    return sh


BACK_WALL = (232, 224, 208)


def back_walls(img, iso, u_len, v_len, look, base=BACK_WALL, windows_left=None, windows_right=None):
    """The two back walls of a room footprint: on its top-left edge (u=0) and
    top-right edge (v=0).  The +v-facing wall catches more light."""
    P = iso.p
    wl = windows_left if windows_left is not None else []
    wr = windows_right if windows_right is not None else []
    face(img, P(0, v_len, 1), P(0, 0, 1), P(0, v_len, 0), window_wall(shade(base, 0.93), wl, look))
    face(img, P(0, 0, 1), P(u_len, 0, 1), P(0, 0, 0), window_wall(base, wr, look))


def per_cell_windows(n, s0=0.22, s1=0.78, t0=0.2, t1=0.62):
    return [((i + s0) / n, (i + s1) / n, t0, t1) for i in range(n)]
