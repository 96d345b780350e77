#!/usr/bin/env python3
"""Draws the sample skins of res/Skin/ and writes them (standard library only).

Each skin is a definition "<name>.ini" (code page 932, lines ended by CR LF) and its 24-bit BMP
pictures beside it (and for Kiri two tray pictures as 32-bit icons), every pixel drawn here. Running it again writes the same bytes.

    scripts/make-skins.py               # writes res/Skin/*.ini, *.bmp and *.ico

Kiri: a calm blue-grey window with a misty hill band, a title bar and a framed menu panel.
Maru: a cream window with round corners, cut out of its rectangle by a transparent colour.
"""
import math
import pathlib
import struct

# The colour left out wherever a picture is to be see-through (clFuchsia); no drawing uses it
# otherwise.
CUT = (255, 0, 255)
# The colour of the parts of Maru's body corners that leave the body as it is (clLime).
KEEP = (0, 255, 0)


# ---- Pictures ------------------------------------------------------------------------------

class Picture:
    """Rows of (r, g, b) from top to bottom."""

    def __init__(self, width, height, colour=CUT):
        self.width, self.height = width, height
        self.rows = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def paste(self, other, x0, y0):
        for y, row in enumerate(other.rows):
            for x, colour in enumerate(row):
                self.put(x0 + x, y0 + y, colour)

    def mirrored(self, horizontal, vertical):
        out = Picture(self.width, self.height)
        rows = self.rows[::-1] if vertical else self.rows
        out.rows = [list(row[::-1]) if horizontal else list(row) for row in rows]
        return out

    def bmp(self):
        """A BITMAPFILEHEADER, a BITMAPINFOHEADER and bottom-up BGR rows padded to 4 bytes."""
        stride = (self.width * 3 + 3) // 4 * 4
        pixels = bytearray()
        for row in reversed(self.rows):
            line = bytearray()
            for r, g, b in row:
                line += bytes((b, g, r))
            pixels += line + bytes(stride - len(line))
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(pixels),
                           2835, 2835, 0, 0)
        head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
        return head + info + bytes(pixels)

    def ico(self):
        """One 32-bit image in an icon file; the CUT colour is left out (alpha 0, mask set)."""
        xor, mask = bytearray(), bytearray()
        mask_stride = (self.width + 31) // 32 * 4
        for row in reversed(self.rows):
            bits = bytearray(mask_stride)
            for x, (r, g, b) in enumerate(row):
                cut = (r, g, b) == CUT
                xor += bytes((0, 0, 0, 0)) if cut else bytes((b, g, r, 255))
                if cut:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, self.width, 2 * self.height, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        image = info + bytes(xor) + bytes(mask)
        head = struct.pack("<HHH", 0, 1, 1)
        entry = struct.pack("<BBBBHHII", self.width, self.height, 0, 0, 1, 32, len(image),
                            len(head) + 16)
        return head + entry + image


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def art(lines, ink, paper=CUT):
    """A picture from text rows: "#" is ink, anything else paper."""
    pic = Picture(len(lines[0]), len(lines), paper)
    for y, line in enumerate(lines):
        for x, ch in enumerate(line):
            if ch == "#":
                pic.put(x, y, ink)
    return pic


def stacked(first, second):
    """Two frames of a page mark, one above the other."""
    pic = Picture(first.width, first.height * 2)
    pic.paste(first, 0, 0)
    pic.paste(second, 0, first.height)
    return pic


def corner(radius, rings, inside, outside):
    """The top-left corner of a rounded rectangle: rings is [(thickness, colour)] from the
    outer edge inwards. Pixels whose centre lies outside the radius get the outside colour."""
    pic = Picture(radius, radius, outside)
    for y in range(radius):
        for x in range(radius):
            d = math.hypot(radius - (x + 0.5), radius - (y + 0.5))
            if d > radius:
                continue
            colour, edge = inside, radius
            for thickness, ring in rings:
                if d > edge - thickness:
                    colour = ring
                    break
                edge -= thickness
            pic.put(x, y, colour)
    return pic


def edge_tiles(length, rings, rest):
    """The left and top edge tiles for a frame: rings [(thickness, colour)] from the outside."""
    thickness = sum(t for t, _ in rings)
    left = Picture(thickness + rest[0], length, rest[1])
    x = 0
    for t, colour in rings:
        left.fill(x, 0, x + t, length, colour)
        x += t
    top = Picture(length, left.width)
    for y in range(top.height):
        for x in range(top.width):
            top.put(x, y, left.rows[x][y])
    return left, top


LOCK_SHUT = [
    "................",
    ".....######.....",
    "....##....##....",
    "....#......#....",
    "....#......#....",
    "....#......#....",
    "...##########...",
    "...##########...",
    "...####..####...",
    "...####..####...",
    "...####..####...",
    "...##########...",
    "...##########...",
    "...##########...",
    "................",
    "................",
]
LOCK_OPEN = [
    ".....######.....",
    "....##....##....",
    "....#......#....",
    "....#......#....",
    "....#...........",
    "....#...........",
] + LOCK_SHUT[6:]

DIGITS = {
    1: [".#.", "##.", ".#.", ".#.", "###"],
    2: ["##.", "..#", ".#.", "#..", "###"],
    3: ["##.", "..#", ".#.", "..#", "##."],
}


def digit(n, scale, ink):
    rows = []
    for line in DIGITS[n]:
        wide = "".join(ch * scale for ch in line)
        rows += [wide] * scale
    return art(rows, ink)


def paste_ink(pic, glyph, x0, y0):
    """Copies only the glyph's inked pixels."""
    for y, row in enumerate(glyph.rows):
        for x, colour in enumerate(row):
            if colour != CUT:
                pic.put(x0 + x, y0 + y, colour)


# ---- Definitions ---------------------------------------------------------------------------

def colour(rgb):
    """A definition colour: $00BBGGRR."""
    r, g, b = rgb
    return "$00%02X%02X%02X" % (b, g, r)


def definition(sections):
    lines = []
    for name, keys in sections:
        if lines:
            lines.append("")
        lines.append("[%s]" % name)
        lines += ["%s=%s" % (k, v) for k, v in keys]
    return "".join(line + "\r\n" for line in lines).encode("cp932")


# ---- Kiri (霧) ----------------------------------------------------------------------------

K_BASE = (91, 107, 122)
K_TITLE = (76, 90, 104)
K_TITLE_LINE = (138, 156, 173)
K_PANEL = (68, 82, 95)
K_RULE = (92, 107, 121)
K_DARK = (39, 49, 60)
K_LIGHT = (184, 198, 212)
K_MIST = (169, 184, 197)
K_PALE = (214, 226, 236)
K_GOLD = (232, 217, 168)
K_DIM = (132, 150, 168)


def kiri_band():
    """The foot of the window: mist brightening downwards, two rows of hills in front."""
    w, h = 560, 48
    pic = Picture(w, h)
    far = mix(K_BASE, K_MIST, 0.35)
    near = mix(K_BASE, K_DARK, 0.35)
    for x in range(w):
        t = x / w * 2 * math.pi
        far_top = 22 + 6 * math.sin(1.5 * t + 0.6) + 3 * math.sin(4 * t)
        near_top = 34 + 5 * math.sin(2.5 * t + 2.0) + 2 * math.sin(7 * t + 1.0)
        for y in range(h):
            sky = mix(K_BASE, K_MIST, y / (h - 1))
            if y + 0.5 >= near_top:
                c = mix(near, sky, 0.25 * (h - 1 - y) / h)
            elif y + 0.5 >= far_top:
                c = mix(far, sky, 0.4 * (y - far_top) / h)
            else:
                c = sky
            pic.put(x, y, c)
    return pic


def kiri_emblem():
    """A pale disc crossed by three wavy bands of mist."""
    pic = Picture(24, 24)
    for y in range(24):
        for x in range(24):
            if math.hypot(x + 0.5 - 12, y + 0.5 - 12) > 10.5:
                continue
            wave = y + 0.5 - 1.2 * math.sin((x + 0.5) / 24 * 2 * math.pi)
            band = any(abs(wave - c) < 1.2 for c in (7.5, 12.5, 17.5))
            pic.put(x, y, K_TITLE if band else K_PALE)
    return pic


def kiri_page(n):
    """20 x 16 frames: the current page filled pale, an existing page outlined."""
    frames = []
    for current in (True, False):
        f = Picture(20, 16)
        ink = K_PALE if current else K_DIM
        f.fill(1, 0, 19, 16, ink)
        f.fill(0, 1, 20, 15, ink)
        if not current:
            f.fill(1, 1, 19, 15, CUT)
        paste_ink(f, digit(n, 2, K_DARK if current else K_DIM), 7, 3)
        frames.append(f)
    return stacked(*frames)


def kiri_tray(on):
    """16 x 16 tray pictures: a rounded gold tile while the keys work, a dim one while paused,
    with three bands of mist across."""
    pic = Picture(16, 16)
    tile = K_GOLD if on else K_DIM
    for y in range(16):
        for x in range(16):
            if math.hypot(max(abs(x + 0.5 - 8) - 3.5, 0), max(abs(y + 0.5 - 8) - 3.5, 0)) > 4.5:
                continue
            pic.put(x, y, K_DARK if y in (5, 8, 11) and 3 <= x <= 12 else tile)
    return pic


def kiri():
    files = {}
    files["kiri-band.bmp"] = kiri_band()
    files["kiri-emblem.bmp"] = kiri_emblem()
    left, top = edge_tiles(16, [(1, K_DARK), (1, K_LIGHT)], (4, CUT))
    files["kiri-line-l.bmp"] = left
    files["kiri-line-t.bmp"] = top
    files["kiri-line-r.bmp"] = left.mirrored(True, False)
    files["kiri-line-b.bmp"] = top.mirrored(False, True)
    lt = corner(6, [(1, K_DARK), (1, K_LIGHT)], K_PANEL, K_BASE)
    files["kiri-corner-lt.bmp"] = lt
    files["kiri-corner-rt.bmp"] = lt.mirrored(True, False)
    files["kiri-corner-lb.bmp"] = lt.mirrored(False, True)
    files["kiri-corner-rb.bmp"] = lt.mirrored(True, True)
    files["kiri-protect.bmp"] = stacked(art(LOCK_SHUT, K_GOLD), art(LOCK_OPEN, K_DIM))
    for n in (1, 2, 3):
        files["kiri-page%d.bmp" % n] = kiri_page(n)
    files["kiri-on.ico"] = kiri_tray(True)
    files["kiri-off.ico"] = kiri_tray(False)

    ini = definition([
        ("Basic", [("Name", "霧"), ("Color", colour(K_BASE)), ("Bitmap", "kiri-band.bmp"),
                   ("PositionX", "1"), ("PositionY", "2"), ("Transparent", "0"),
                   ("EnableIcon", "kiri-on.ico"), ("DisableIcon", "kiri-off.ico")]),
        ("Size", [("Def_Width", "560"), ("Def_Height", "380")]),
        ("Menu", [("Font_NormalColor", colour((228, 236, 242))),
                  ("Font_SelectColor", colour((255, 217, 138))),
                  ("Font_Relation", "1"), ("Font_RelationColor", colour(K_DARK)),
                  ("LineSpace", "4"), ("Width", "496"), ("Height", "256"),
                  ("Left", "Middle"), ("Top", "56")]),
        # The framed menu panel and two faint rules above and below the lines.
        ("Option-1", [("Width", "528"), ("Height", "280"), ("Resize", "3"),
                      ("Color", colour(K_PANEL)), ("Left", "Middle"), ("Top", "44"),
                      ("Child", "Kiri-RuleTop,Kiri-RuleFoot"),
                      ("Frame", "1"), ("FrameTransparent", "1"),
                      ("FrameTransparentColor", "clFuchsia"),
                      ("Line_L", "kiri-line-l.bmp"), ("Line_T", "kiri-line-t.bmp"),
                      ("Line_R", "kiri-line-r.bmp"), ("Line_B", "kiri-line-b.bmp"),
                      ("Corner_LT", "kiri-corner-lt.bmp"), ("Corner_RT", "kiri-corner-rt.bmp"),
                      ("Corner_LB", "kiri-corner-lb.bmp"),
                      ("Corner_RB", "kiri-corner-rb.bmp")]),
        ("Kiri-RuleTop", [("Width", "496"), ("Height", "1"), ("Resize", "1"),
                          ("Color", colour(K_RULE)), ("Left", "Middle"), ("Top", "8")]),
        ("Kiri-RuleFoot", [("Width", "496"), ("Height", "1"), ("Resize", "1"),
                           ("Color", colour(K_RULE)), ("Left", "Middle"), ("Top", "-8")]),
        # The title bar with the emblem and a light line along its foot.
        ("Option-2", [("Width", "560"), ("Height", "36"), ("Resize", "1"),
                      ("Color", colour(K_TITLE)), ("Left", "0"), ("Top", "0"),
                      ("Child", "Kiri-Emblem,Kiri-TitleLine")]),
        ("Kiri-Emblem", [("Bitmap", "kiri-emblem.bmp"), ("Left", "40"), ("Top", "Middle"),
                         ("Transparent", "1"), ("TransparentColor", "clFuchsia")]),
        ("Kiri-TitleLine", [("Width", "560"), ("Height", "1"), ("Resize", "1"),
                            ("Color", colour(K_TITLE_LINE)), ("Left", "0"), ("Top", "-0")]),
        ("MenuProtect", [("Bitmap", "kiri-protect.bmp"), ("Left", "16"), ("Top", "10"),
                         ("Transparent", "1"), ("TransparentColor", "clFuchsia")]),
    ] + [("Page-%d" % n, [("Bitmap", "kiri-page%d.bmp" % n), ("Left", "-%d" % (84 - 24 * (n - 1))),
                          ("Top", "10"), ("Transparent", "1"), ("TransparentColor", "clFuchsia")])
         for n in (1, 2, 3)])
    return ini, files


# ---- Maru (丸) ----------------------------------------------------------------------------

M_BODY = (244, 235, 221)
M_INNER = (251, 246, 238)
M_RIM = (200, 116, 74)
M_RIM_LIGHT = (230, 178, 148)
M_INK = (74, 58, 46)
M_SOFT = (196, 160, 136)


def maru_page():
    """14 x 14 frames: a filled dot for the current page, a ring for an existing one."""
    frames = []
    for current in (True, False):
        f = Picture(14, 14)
        for y in range(14):
            for x in range(14):
                d = math.hypot(x + 0.5 - 7, y + 0.5 - 7)
                if d <= 6 and (current or d > 4):
                    f.put(x, y, M_RIM if current else M_SOFT)
        frames.append(f)
    return stacked(*frames)


def maru():
    files = {}
    left, top = edge_tiles(16, [(2, M_RIM), (2, M_RIM_LIGHT)], (0, CUT))
    files["maru-line-l.bmp"] = left
    files["maru-line-t.bmp"] = top
    files["maru-line-r.bmp"] = left.mirrored(True, False)
    files["maru-line-b.bmp"] = top.mirrored(False, True)
    # Drawn over the inner panel: only the rim and the cut outside are copied.
    lt = corner(48, [(2, M_RIM), (2, M_RIM_LIGHT)], KEEP, CUT)
    files["maru-corner-lt.bmp"] = lt
    files["maru-corner-rt.bmp"] = lt.mirrored(True, False)
    files["maru-corner-lb.bmp"] = lt.mirrored(False, True)
    files["maru-corner-rb.bmp"] = lt.mirrored(True, True)
    left, top = edge_tiles(16, [(1, M_SOFT)], (0, CUT))
    files["maru-inner-l.bmp"] = left
    files["maru-inner-t.bmp"] = top
    files["maru-inner-r.bmp"] = left.mirrored(True, False)
    files["maru-inner-b.bmp"] = top.mirrored(False, True)
    lt = corner(10, [(1, M_SOFT)], M_INNER, M_BODY)
    files["maru-inner-lt.bmp"] = lt
    files["maru-inner-rt.bmp"] = lt.mirrored(True, False)
    files["maru-inner-lb.bmp"] = lt.mirrored(False, True)
    files["maru-inner-rb.bmp"] = lt.mirrored(True, True)
    files["maru-protect.bmp"] = stacked(art(LOCK_SHUT, M_RIM), art(LOCK_OPEN, M_SOFT))
    files["maru-page.bmp"] = maru_page()

    ini = definition([
        ("Basic", [("Name", "丸"), ("Color", "clFuchsia"), ("Transparent", "1"),
                   ("TransparentColor", "clFuchsia")]),
        ("Size", [("Def_Width", "520"), ("Def_Height", "340")]),
        ("Menu", [("Font_NormalColor", colour(M_INK)), ("Font_SelectColor", colour((176, 64, 42))),
                  ("Font_Relation", "0"), ("LineSpace", "4"), ("Width", "456"),
                  ("Height", "246"), ("Left", "Middle"), ("Top", "Middle")]),
        # The body: its corners copy the cut colour over the rectangle's corners.
        ("Option-1", [("Width", "520"), ("Height", "340"), ("Resize", "3"),
                      ("Color", colour(M_BODY)), ("Left", "0"), ("Top", "0"),
                      ("Child", "Maru-Inner"), ("Frame", "1"), ("FrameTransparent", "1"),
                      ("FrameTransparentColor", "clLime"),
                      ("Line_L", "maru-line-l.bmp"), ("Line_T", "maru-line-t.bmp"),
                      ("Line_R", "maru-line-r.bmp"), ("Line_B", "maru-line-b.bmp"),
                      ("Corner_LT", "maru-corner-lt.bmp"), ("Corner_RT", "maru-corner-rt.bmp"),
                      ("Corner_LB", "maru-corner-lb.bmp"),
                      ("Corner_RB", "maru-corner-rb.bmp")]),
        ("Maru-Inner", [("Width", "472"), ("Height", "264"), ("Resize", "3"),
                        ("Color", colour(M_INNER)), ("Left", "Middle"), ("Top", "Middle"),
                        ("Frame", "1"),
                        ("Line_L", "maru-inner-l.bmp"), ("Line_T", "maru-inner-t.bmp"),
                        ("Line_R", "maru-inner-r.bmp"), ("Line_B", "maru-inner-b.bmp"),
                        ("Corner_LT", "maru-inner-lt.bmp"), ("Corner_RT", "maru-inner-rt.bmp"),
                        ("Corner_LB", "maru-inner-lb.bmp"),
                        ("Corner_RB", "maru-inner-rb.bmp")]),
        ("MenuProtect", [("Bitmap", "maru-protect.bmp"), ("Left", "Middle"), ("Top", "12"),
                         ("Transparent", "1"), ("TransparentColor", "clFuchsia")]),
    ] + [("Page-%d" % n, [("Bitmap", "maru-page.bmp"), ("Left", str(233 + 20 * (n - 1))),
                          ("Top", "-12"), ("Transparent", "1"), ("TransparentColor", "clFuchsia")])
         for n in (1, 2, 3)])
    return ini, files


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "res" / "Skin"
    folder.mkdir(parents=True, exist_ok=True)
    for name, make in (("Kiri", kiri), ("Maru", maru)):
        ini, files = make()
        (folder / (name + ".ini")).write_bytes(ini)
        for file_name, pic in sorted(files.items()):
            (folder / file_name).write_bytes(pic.ico() if file_name.endswith(".ico") else pic.bmp())
    for path in sorted(folder.iterdir()):
        print(path.name, path.stat().st_size)


if __name__ == "__main__":
    main()
