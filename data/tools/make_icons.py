"""Draws the program's icons (application icon and the 32 x 32 toolbar pictures) as PNG files.

Plain Python, no imaging library: shapes are filled by testing each of 4 x 4 sub-pixels, which
smooths their edges. Run: python3 make_icons.py <output folder>
"""
import math
import struct
import sys
import zlib

SUB = 4


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def fill(self, inside, colour):
        """Blends colour over every pixel by the share of its sub-pixels for which inside(x, y) holds."""
        r, g, b = colour
        for py in range(self.size):
            for px in range(self.size):
                hits = 0
                for sy in range(SUB):
                    for sx in range(SUB):
                        if inside(px + (sx + 0.5) / SUB, py + (sy + 0.5) / SUB):
                            hits += 1
                if hits:
                    a = hits / (SUB * SUB)
                    br, bg, bb, ba = self.pixels[py][px]
                    out_a = a + ba / 255 * (1 - a)
                    mix = lambda c, d: int(round((c * a + d * ba / 255 * (1 - a)) / out_a))
                    self.pixels[py][px] = (mix(r, br), mix(g, bg), mix(b, bb), int(round(out_a * 255)))

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1, colour)

    def frame(self, x0, y0, x1, y1, colour, width=1.0):
        self.fill(lambda x, y: x0 <= x <= x1 and y0 <= y <= y1 and not (
            x0 + width <= x <= x1 - width and y0 + width <= y <= y1 - width), colour)

    def circle(self, cx, cy, radius, colour):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2, colour)

    def ring(self, cx, cy, outer, inner, colour):
        self.fill(lambda x, y: inner ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= outer ** 2, colour)

    def polygon(self, points, colour):
        def inside(x, y):
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result
        self.fill(inside, colour)

    def line(self, x0, y0, x1, y1, colour, width=1.5):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (width / 2) ** 2
        self.fill(inside, colour)

    def wave(self, x0, x1, cy, amplitude, period, colour, width=2.0):
        def inside(x, y):
            if not x0 <= x <= x1:
                return False
            return abs(y - (cy + amplitude * math.sin((x - x0) / period * 2 * math.pi))) <= width / 2
        self.fill(inside, colour)

    def save(self, path):
        raw = b"".join(b"\0" + b"".join(struct.pack("BBBB", *p) for p in row) for row in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        header = struct.pack(">IIBBBBB", self.size, self.size, 8, 6, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
                    + chunk(b"IEND", b""))


DARK = (40, 52, 66)
BLUE = (47, 128, 209)
NAVY = (23, 74, 128)
LIGHT_BLUE = (156, 200, 240)
YELLOW = (242, 193, 78)
PALE_YELLOW = (248, 217, 120)
RED = (198, 40, 40)
WHITE = (255, 255, 255)
GREY = (125, 138, 153)
LIGHT_GREY = (216, 220, 226)


def open_icon(c):
    c.polygon([(2, 8), (12, 8), (15, 11), (29, 11), (29, 27), (2, 27)], (154, 107, 18))
    c.polygon([(3, 9.5), (11.5, 9.5), (14.5, 12.5), (27.5, 12.5), (27.5, 26), (3, 26)], YELLOW)
    c.polygon([(6, 15), (31, 15), (27.5, 27), (2, 27)], PALE_YELLOW)


def save_icon(c):
    c.rect(3, 3, 29, 29, NAVY)
    c.rect(4.5, 4.5, 27.5, 27.5, BLUE)
    c.rect(9, 4.5, 23, 13, WHITE)
    c.rect(18, 6, 21, 11.5, NAVY)
    c.rect(8, 18, 24, 27.5, LIGHT_GREY)


def print_icon(c):
    c.rect(9, 3, 23, 13, DARK)
    c.rect(10, 4, 22, 13, WHITE)
    c.rect(3, 11, 29, 23, DARK)
    c.rect(4, 12, 28, 22, GREY)
    c.circle(24.5, 15, 1.2, (120, 220, 120))
    c.rect(8, 19, 24, 29, DARK)
    c.rect(9, 20, 23, 28, WHITE)
    c.line(11, 23, 21, 23, GREY, 1)
    c.line(11, 25.5, 19, 25.5, GREY, 1)


def email_icon(c):
    c.rect(3, 8, 29, 25, DARK)
    c.rect(4, 9, 28, 24, (251, 251, 244))
    c.line(4.5, 9.5, 16, 18, RED, 2)
    c.line(27.5, 9.5, 16, 18, RED, 2)


def pdf_icon(c):
    c.polygon([(6, 2), (21, 2), (27, 8), (27, 30), (6, 30)], DARK)
    c.polygon([(7, 3), (20.5, 3), (26, 8.5), (26, 29), (7, 29)], WHITE)
    c.polygon([(20.5, 3), (20.5, 8.5), (26, 8.5)], LIGHT_GREY)
    c.rect(3, 14, 24, 24, RED)
    # "P", "D", "F" as bars
    for x in (5, 11.5, 18):
        c.rect(x, 16, x + 1.5, 22, WHITE)
    c.rect(5, 16, 9, 17.2, WHITE)
    c.rect(5, 18.6, 9, 19.8, WHITE)
    c.rect(8, 16, 9.2, 19.8, WHITE)
    c.rect(11.5, 16, 15, 17.2, WHITE)
    c.rect(11.5, 20.8, 15, 22, WHITE)
    c.rect(14.6, 16.5, 15.8, 21.5, WHITE)
    c.rect(18, 16, 22, 17.2, WHITE)
    c.rect(18, 18.6, 21, 19.8, WHITE)


def fluid_icon(c):
    def drop(x, y, grow):
        # A circle below and a point at the top.
        cx, cy, r = 16, 20, 9 + grow
        if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
            return True
        if y < cy and y >= 3 - grow:
            half = (y - (3 - grow)) / (cy - (3 - grow)) * r
            return abs(x - cx) <= half
        return False
    c.fill(lambda x, y: drop(x, y, 1), NAVY)
    c.fill(lambda x, y: drop(x, y, 0), BLUE)
    c.circle(12, 21, 2.5, LIGHT_BLUE)


def calculate_icon(c):
    c.rect(1, 11, 31, 22, DARK)
    c.rect(1, 12, 31, 21, (232, 238, 245))
    c.wave(2, 30, 16.5, 2.5, 9, BLUE, 2)
    c.rect(12, 3, 20, 11, DARK)
    c.rect(13, 4, 19, 11, YELLOW)
    c.circle(16, 7.5, 1.5, DARK)


def configuration_icon(c):
    for k in range(8):
        a = k * math.pi / 4
        c.line(16, 16, 16 + 13 * math.cos(a), 16 + 13 * math.sin(a), GREY, 5)
    c.circle(16, 16, 10, GREY)
    c.ring(16, 16, 10, 9, DARK)
    c.circle(16, 16, 4.5, WHITE)
    c.ring(16, 16, 4.5, 3.5, DARK)


def application_icon(c):
    c.rect(1, 1, 46, 46, NAVY)
    c.rect(2.5, 2.5, 44.5, 44.5, BLUE)
    c.rect(2.5, 17, 44.5, 31, (232, 238, 245))
    c.wave(3, 44, 24, 4, 14, NAVY, 3)
    c.circle(14, 9, 3, WHITE)
    c.circle(34, 39, 3, WHITE)


def arrow_right_icon(c):
    c.polygon([(2, 5.5), (8, 5.5), (8, 1.5), (14.5, 8), (8, 14.5), (8, 10.5), (2, 10.5)], NAVY)
    c.polygon([(3, 6.5), (9, 6.5), (9, 4), (13, 8), (9, 12), (9, 9.5), (3, 9.5)], BLUE)


def arrow_left_icon(c):
    c.polygon([(14, 5.5), (8, 5.5), (8, 1.5), (1.5, 8), (8, 14.5), (8, 10.5), (14, 10.5)], NAVY)
    c.polygon([(13, 6.5), (7, 6.5), (7, 4), (3, 8), (7, 12), (7, 9.5), (13, 9.5)], BLUE)


ICONS = [
    ("Open.png", 32, open_icon),
    ("Save.png", 32, save_icon),
    ("Print.png", 32, print_icon),
    ("Email.png", 32, email_icon),
    ("PDF.png", 32, pdf_icon),
    ("FluidData.png", 32, fluid_icon),
    ("CalculateMeters.png", 32, calculate_icon),
    ("Configuration.png", 32, configuration_icon),
    ("Zephrin.png", 48, application_icon),
    ("ArrowRight.png", 16, arrow_right_icon),
    ("ArrowLeft.png", 16, arrow_left_icon),
]

if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    for name, size, draw in ICONS:
        canvas = Canvas(size)
        draw(canvas)
        canvas.save(folder + "/" + name)
