"""Toolbar and tray-menu pictures: simple shapes on the pure-blue mask colour."""

BLUE = (0, 0, 255)
NAVY = (0x1E, 0x1E, 0x88)
LIGHT = (0x81, 0x81, 0xFF)


def toolbar_tools(art, c, ox, s):
    # a wrench: handle and open jaw
    c.polygon([(ox + 9 * s, 27 * s), (ox + 24 * s, 12 * s), (ox + 27 * s, 15 * s), (ox + 12 * s, 30 * s)], (90, 90, 100))
    c.circle(ox + 27 * s, 10 * s, 7 * s, (120, 120, 130))
    c.circle(ox + 30 * s, 7 * s, 3.6 * s, BLUE)
    c.circle(ox + 10.5 * s, 28.5 * s, 2.2 * s, (60, 60, 70))


def toolbar_help(art, c, ox, s):
    c.circle(ox + 20 * s, 16 * s, 13 * s, NAVY)
    c.circle(ox + 20 * s, 16 * s, 11.5 * s, art.vgrad(LIGHT, NAVY, 4 * s, 28 * s))
    c.glyph("?", ox + 20 * s - 7.5 * s, 16 * s - 10.5 * s, 3 * s, (255, 255, 255))


def toolbar_clear(art, c, ox, s):
    # a broom: stick and bristles sweeping dust
    c.polygon([(ox + 27 * s, 2 * s), (ox + 29.5 * s, 3.5 * s), (ox + 19 * s, 19 * s), (ox + 16.5 * s, 17.5 * s)], (150, 100, 40))
    c.polygon([(ox + 14 * s, 16 * s), (ox + 22 * s, 21 * s), (ox + 17 * s, 30 * s), (ox + 5 * s, 23 * s)], (230, 180, 60))
    for i in range(4):
        x = ox + (7 + 3 * i) * s
        c.rect(x, (24 + i) * s, x + 1 * s, (28 + i * 0.5) * s, (180, 130, 30))
    for (dx, dy, r) in ((3, 29, 1.2), (7, 30.5, 0.9), (1.5, 26, 0.8)):
        c.circle(ox + dx * s, dy * s, r * s, (140, 140, 140))


def toolbar_check(art, c, ox, s):
    c.rounded(ox + 6 * s, 3 * s, ox + 34 * s, 29 * s, 4 * s, (40, 120, 40))
    c.rounded(ox + 7.5 * s, 4.5 * s, ox + 32.5 * s, 27.5 * s, 3 * s, (240, 255, 240))
    c.polygon([(ox + 11 * s, 15 * s), (ox + 15 * s, 12 * s), (ox + 18 * s, 17 * s), (ox + 27 * s, 7 * s),
               (ox + 30 * s, 10 * s), (ox + 18 * s, 24 * s)], (30, 150, 30))


def toolbar_save(art, c, ox, s):
    c.rounded(ox + 7 * s, 3 * s, ox + 33 * s, 29 * s, 2 * s, (40, 60, 140))
    c.rect(ox + 12 * s, 3 * s, ox + 28 * s, 12 * s, (235, 235, 245))
    c.rect(ox + 23 * s, 5 * s, ox + 26 * s, 10 * s, (40, 60, 140))
    c.rect(ox + 11 * s, 17 * s, ox + 29 * s, 29 * s, (250, 250, 250))
    for y in (20, 23, 26):
        c.rect(ox + 13 * s, y * s, ox + 27 * s, (y + 1) * s, (170, 170, 190))


def toolbar_exit(art, c, ox, s):
    # an open door with an arrow leaving it
    c.rect(ox + 8 * s, 3 * s, ox + 24 * s, 29 * s, (120, 80, 40))
    c.polygon([(ox + 10 * s, 5 * s), (ox + 19 * s, 8 * s), (ox + 19 * s, 30 * s), (ox + 10 * s, 27 * s)], (200, 150, 90))
    c.circle(ox + 17 * s, 18 * s, 1 * s, (90, 60, 20))
    c.polygon([(ox + 22 * s, 14 * s), (ox + 30 * s, 14 * s), (ox + 30 * s, 10 * s), (ox + 37 * s, 16.5 * s),
               (ox + 30 * s, 23 * s), (ox + 30 * s, 19 * s), (ox + 22 * s, 19 * s)], (200, 40, 40))


TOOLBAR = [toolbar_tools, toolbar_help, toolbar_clear, toolbar_check, toolbar_save, toolbar_exit]


def small_window(art, c):
    c.rect(1, 2, 15, 14, NAVY)
    c.rect(2, 5, 14, 13, (245, 245, 250))
    c.rect(3, 6, 7, 12, (200, 210, 240))


def small_clear(art, c):
    toolbar_clear(art, c, -3, 0.55)


def small_about(art, c):
    c.circle(8, 8, 7.2, NAVY)
    c.circle(8, 8, 6.2, art.vgrad(LIGHT, NAVY, 2, 14))
    c.glyph("i", 8 - 3.5, 8 - 5, 1.45, (255, 255, 255))


def small_help(art, c):
    c.circle(8, 8, 7.2, (20, 90, 40))
    c.circle(8, 8, 6.2, art.vgrad((110, 200, 120), (20, 110, 40), 2, 14))
    c.glyph("?", 8 - 3.5, 8 - 5, 1.45, (255, 255, 255))


def small_update(art, c):
    c.circle(8, 8, 7, (30, 110, 170))
    c.circle(8, 8, 6, art.vgrad((140, 200, 240), (30, 110, 170), 2, 14))
    c.polygon([(8, 2.5), (12.5, 8), (9.7, 8), (9.7, 13), (6.3, 13), (6.3, 8), (3.5, 8)], (255, 255, 255))


def small_exit(art, c):
    c.circle(8, 8, 7.2, (150, 20, 20))
    c.circle(8, 8, 6.2, art.vgrad((250, 110, 100), (170, 20, 20), 2, 14))
    c.polygon([(4.5, 5.5), (5.5, 4.5), (8, 7), (10.5, 4.5), (11.5, 5.5), (9, 8), (11.5, 10.5), (10.5, 11.5),
               (8, 9), (5.5, 11.5), (4.5, 10.5), (7, 8)], (255, 255, 255))


SMALL = {"tray_open.bmp": small_window, "tray_clear.bmp": small_clear, "tray_about.bmp": small_about,
         "tray_help.bmp": small_help, "tray_update.bmp": small_update, "tray_exit.bmp": small_exit}


def draw_logo(art):
    """The about page's logo (153 x 165): the program's shield with its Z, a sweep of light across
    it and a few sparkles, standing on a soft shadow."""
    c = art.Canvas(153, 165)
    s = 4.5
    ox, oy = 76.5 - 16 * s, 4

    def pt(x, y):
        return (ox + x * s, oy + y * s)

    c.shape(lambda x, y: ((x - 76.5) / 52) ** 2 + ((y - 154) / 7) ** 2 <= 1, (150, 150, 160))
    outer = [pt(16, 1.5), pt(29, 6), pt(27, 19), pt(16, 30.5), pt(5, 19), pt(3, 6)]
    c.polygon(outer, (0x10, 0x10, 0x50))
    inner = [pt(16, 3.5), pt(27, 7.5), pt(25.2, 18.5), pt(16, 28), pt(6.8, 18.5), pt(5, 7.5)]
    c.polygon(inner, art.vgrad(LIGHT, NAVY, oy + 3.5 * s, oy + 28 * s))
    # light falling on the upper left half of the shield
    c.polygon([pt(16, 3.5), pt(5, 7.5), pt(6.2, 15), pt(16, 10.5)], (255, 255, 255, 70))
    z = [(10, 8), (22, 8), (22, 10.8), (13.9, 20.2), (22, 20.2), (22, 23), (10, 23), (10, 20.2), (18.1, 10.8),
         (10, 10.8)]
    c.polygon([(ox + x * s + 3, oy + y * s + 3) for x, y in z], (0x10, 0x10, 0x40, 150))
    c.polygon([pt(x, y) for x, y in z], (255, 255, 255))

    def sparkle(cx, cy, r, colour):
        c.polygon([(cx, cy - r), (cx + r * 0.22, cy - r * 0.22), (cx + r, cy), (cx + r * 0.22, cy + r * 0.22),
                   (cx, cy + r), (cx - r * 0.22, cy + r * 0.22), (cx - r, cy), (cx - r * 0.22, cy - r * 0.22)], colour)

    sparkle(128, 22, 13, (255, 210, 60))
    sparkle(140, 48, 7, (255, 225, 120))
    sparkle(116, 44, 5, (255, 240, 170))
    art.write("logo.bmp", art.bmp24_bytes(c, BLUE, matte=(0xE8, 0xE8, 0xE8)))


def draw_all(art):
    strip = art.Canvas(40 * len(TOOLBAR), 32)
    for i, draw in enumerate(TOOLBAR):
        draw(art, strip, 40 * i, 1.0)
    art.write("toolbar.bmp", art.bmp24_bytes(strip, BLUE))
    for name, draw in SMALL.items():
        c = art.Canvas(16, 16)
        draw(art, c)
        art.write(name, art.bmp24_bytes(c, BLUE))
    draw_logo(art)
