#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes Quelmo's tray symbols (light/, dark/ and symbolic/) and the app icon (quelmo.svg).

The symbols are drawn on a 24 x 24 grid. "light" icons are for light panels
(dark ink), "dark" icons for dark panels (light ink). The crossed-out eyes are
cut apart along the slash instead of masked, because Qt's SVG renderer has no
masks or clip paths.

"symbolic" icons are for panels that colour icons themselves (GTK paints the
fill of every shape of an icon whose name ends in -symbolic in the panel's
text colour; KDE restyles the ColorScheme-Text class): they may hold filled
shapes only. Panels that draw the file as it is (swaybar, Waybar 0.9) get a
mid grey that reads on light and dark bars alike. Strokes
become outlines (each segment a band, each corner a disc, all wound the same
way so the nonzero rule joins them), and holes are shapes wound the other way.

Run it from anywhere; it rewrites the files next to itself.
"""
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
INK = {"light": "#1c1c1e", "dark": "#f2f2f7"}
STROKE = 1.7
# The slash runs from top left to bottom right; the eye is cut away this far
# (measured along x - y) on each side of it.
SLASH_GAP = 3.1


def cubic(p0, p1, p2, p3, steps=40):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        u = 1 - t
        x = u**3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t**3 * p3[0]
        y = u**3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t**3 * p3[1]
        pts.append((x, y))
    return pts


def eye_outline():
    top = cubic((1.8, 12), (6, 5.0), (18, 5.0), (22.2, 12))
    bottom = cubic((22.2, 12), (18, 19.0), (6, 19.0), (1.8, 12))
    return top + bottom[1:]


def circle(cx, cy, r, steps=48):
    return [(cx + r * math.cos(2 * math.pi * i / steps), cy + r * math.sin(2 * math.pi * i / steps))
            for i in range(steps + 1)]


def side(p, sign):
    # Distance into the half plane sign * (x - y) > SLASH_GAP.
    return sign * (p[0] - p[1]) - SLASH_GAP


def crossing(a, b, sign):
    da, db = side(a, sign), side(b, sign)
    t = da / (da - db)
    return (a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]))


def clip_polygon(points, sign):
    out = []
    n = len(points)
    for i in range(n):
        a, b = points[i], points[(i + 1) % n]
        ina, inb = side(a, sign) >= 0, side(b, sign) >= 0
        if ina:
            out.append(a)
        if ina != inb:
            out.append(crossing(a, b, sign))
    return out


def clip_polyline(points, sign):
    runs, run = [], []
    for a, b in zip(points, points[1:]):
        ina, inb = side(a, sign) >= 0, side(b, sign) >= 0
        if ina and not run:
            run.append(a)
        if ina and inb:
            run.append(b)
        elif ina and not inb:
            run.append(crossing(a, b, sign))
            runs.append(run)
            run = []
        elif inb and not ina:
            run = [crossing(a, b, sign), b]
    if run:
        runs.append(run)
    # A closed outline whose start lies inside: join the last run to the first.
    if len(runs) > 1 and points[0] == points[-1] and side(points[0], sign) >= 0:
        runs[0] = runs.pop() + runs[0][1:]
    return runs


def path(points, close=False):
    d = "M" + " L".join(f"{x:.2f} {y:.2f}" for x, y in points)
    return d + ("Z" if close else "")


def svg(body, size=24):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
            f'viewBox="0 0 {size} {size}">\n{body}</svg>\n')


def stroked(d, ink, width=STROKE):
    return (f'  <path d="{d}" fill="none" stroke="{ink}" stroke-width="{width}" '
            f'stroke-linecap="round" stroke-linejoin="round"/>\n')


def filled(d, ink, rule="nonzero"):
    return f'  <path d="{d}" fill="{ink}" fill-rule="{rule}"/>\n'


SLASH = "M3.4 3.4 L20.6 20.6"


def eye(ink):
    return svg(stroked(path(eye_outline(), True), ink) +
               stroked(path(circle(12, 12, 3.4), True), ink) +
               filled(path(circle(12, 12, 1.2), True), ink))


def eye_slash(ink):
    body = ""
    for sign in (1, -1):
        for shape in (eye_outline(), circle(12, 12, 3.4)):
            for run in clip_polyline(shape, sign):
                body += stroked(path(run), ink)
    return svg(body + stroked(SLASH, ink, 1.9))


def eye_slash_fill(ink):
    body = ""
    for sign in (1, -1):
        d = " ".join(path(clip_polygon(shape, sign), True)
                     for shape in (eye_outline(), circle(12, 12, 3.6), circle(12, 12, 1.5))
                     if clip_polygon(shape, sign))
        body += filled(d, ink, "evenodd")
    return svg(body + stroked(SLASH, ink, 1.9))


def pause_circle(ink):
    return svg(f'  <circle cx="12" cy="12" r="9.2" fill="none" stroke="{ink}" stroke-width="{STROKE}"/>\n'
               f'  <rect x="8.7" y="7.8" width="2.3" height="8.4" rx="0.9" fill="{ink}"/>\n'
               f'  <rect x="13" y="7.8" width="2.3" height="8.4" rx="0.9" fill="{ink}"/>\n')


def exclamation_circle(ink):
    return svg(f'  <circle cx="12" cy="12" r="9.2" fill="none" stroke="{ink}" stroke-width="{STROKE}"/>\n'
               + stroked("M12 6.9 L12 13.1", ink, 2.1) +
               f'  <circle cx="12" cy="16.7" r="1.25" fill="{ink}"/>\n')


def earbuds(ink):
    # Two buds seen from the front: a round head with the stem hanging below,
    # the stems on the inner side as the buds sit in the ears.
    body = ""
    for cx, stem_x in ((7.4, 8.3), (16.6, 13.5)):
        body += f'  <circle cx="{cx}" cy="8.6" r="4.1" fill="{ink}"/>\n'
        body += f'  <rect x="{stem_x}" y="9" width="2.2" height="11.2" rx="1.1" fill="{ink}"/>\n'
        # The speaker grille, left open so the head does not read as a ball.
        body += f'  <circle cx="{cx}" cy="8.2" r="1.35" fill="none" stroke="{INK_BG[ink]}" stroke-width="0.9"/>\n'
    return svg(body)


# The grille ring is drawn in the panel's own tone.
INK_BG = {INK["light"]: "#f2f2f7", INK["dark"]: "#1c1c1e"}


def app_icon():
    eye_d = path(eye_outline(), True)
    flake = ""
    for i in range(3):
        a = math.pi / 3 * i
        dx, dy = 4.2 * math.cos(a), 4.2 * math.sin(a)
        flake += f"M{19 - dx:.2f} {5 + dy:.2f} L{19 + dx:.2f} {5 - dy:.2f} "
    return (
        '<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">\n'
        '  <defs>\n'
        '    <linearGradient id="bg" x1="0" y1="0" x2="1" y2="1">\n'
        '      <stop offset="0" stop-color="#6a4fe0"/>\n'
        '      <stop offset="1" stop-color="#1d8fd8"/>\n'
        '    </linearGradient>\n'
        '  </defs>\n'
        '  <rect x="2" y="2" width="60" height="60" rx="14" fill="url(#bg)"/>\n'
        '  <rect x="2" y="36" width="60" height="26" rx="14" fill="#ffffff" fill-opacity="0.16"/>\n'
        '  <g transform="translate(8 12) scale(2)">\n'
        f'    <path d="{eye_d}" fill="none" stroke="#ffffff" stroke-width="1.8" stroke-linejoin="round"/>\n'
        '    <circle cx="12" cy="12" r="3.6" fill="#ffffff"/>\n'
        f'    <path d="{flake}" stroke="#ffffff" stroke-opacity="0.9" stroke-width="1.1" stroke-linecap="round"/>\n'
        '  </g>\n'
        '</svg>\n')


SYMBOLIC_INK = "#8e8e93"
# KDE replaces this style sheet with its own colours; the shapes take the
# colour through currentColor.
SYMBOLIC_STYLE = ('  <style id="current-color-scheme" type="text/css">'
                  f'.ColorScheme-Text {{ color:{SYMBOLIC_INK}; }}</style>\n')


def ring(cx, cy, r, steps=40, clockwise=False):
    pts = circle(cx, cy, r, steps)[:-1]
    return pts[::-1] if clockwise else pts


def ccw(points):
    area = sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(points, points[1:] + points[:1]))
    return points if area > 0 else points[::-1]


def stroke_outline(points, width, closed=False):
    """Filled polygons that cover a round-capped, round-joined stroke."""
    h = width / 2
    pts = points + [points[0]] if closed and points[0] != points[-1] else points
    shapes = []
    for a, b in zip(pts, pts[1:]):
        dx, dy = b[0] - a[0], b[1] - a[1]
        n = math.hypot(dx, dy)
        if n < 1e-6:
            continue
        ox, oy = -dy / n * h, dx / n * h
        shapes.append(ccw([(a[0] + ox, a[1] + oy), (b[0] + ox, b[1] + oy),
                           (b[0] - ox, b[1] - oy), (a[0] - ox, a[1] - oy)]))
    for p in pts:
        shapes.append(ccw(ring(p[0], p[1], h, 10)))
    return shapes


def polys(shapes):
    return " ".join(path(p, True) for p in shapes)


def symbolic_eye_parts(slashed):
    shapes = []
    for shape in (eye_outline(), circle(12, 12, 3.4)):
        if slashed:
            for sign in (1, -1):
                for run in clip_polyline(shape, sign):
                    shapes += stroke_outline(run, STROKE)
        else:
            shapes += stroke_outline(shape, STROKE, closed=True)
    return shapes


def symbolic(name, dimmed=False):
    body = symbolic_body(name)
    body = body.replace(f'fill="{SYMBOLIC_INK}"', 'class="ColorScheme-Text" fill="currentColor"')
    if dimmed:
        body = body.replace("<path ", '<path opacity="0.4" ').replace("<rect ", '<rect opacity="0.4" ')
    head, rest = body.split(">\n", 1)
    return head + ">\n" + SYMBOLIC_STYLE + rest


def symbolic_body(name):
    ink = SYMBOLIC_INK
    slash = stroke_outline([(3.4, 3.4), (20.6, 20.6)], 1.9)
    if name == "eye":
        body = filled(polys(symbolic_eye_parts(False) + [ccw(ring(12, 12, 1.2))]), ink)
    elif name == "eye.slash":
        body = filled(polys(symbolic_eye_parts(True) + slash), ink)
    elif name == "eye.slash.fill":
        # The filled eye halves with the iris cut out and the pupil kept, as
        # nested rings of alternating winding.
        shapes = []
        for sign in (1, -1):
            for r, cw in ((None, False), (3.6, True), (1.5, False)):
                poly = clip_polygon(eye_outline() if r is None else circle(12, 12, r), sign)
                if poly:
                    poly = ccw(poly)
                    shapes.append(poly[::-1] if cw else poly)
        body = filled(polys(shapes + slash), ink)
    elif name in ("pause.circle", "exclamationmark.circle"):
        shapes = [ccw(ring(12, 12, 9.2 + STROKE / 2)), ccw(ring(12, 12, 9.2 - STROKE / 2))[::-1]]
        if name == "pause.circle":
            body = filled(polys(shapes), ink)
            body += f'  <rect x="8.7" y="7.8" width="2.3" height="8.4" rx="0.9" fill="{ink}"/>\n'
            body += f'  <rect x="13" y="7.8" width="2.3" height="8.4" rx="0.9" fill="{ink}"/>\n'
        else:
            shapes += stroke_outline([(12, 6.9), (12, 13.1)], 2.1)
            shapes.append(ccw(ring(12, 16.7, 1.25)))
            body = filled(polys(shapes), ink)
    else:  # the earbuds: each head with its grille left open as a ring
        shapes = []
        for cx, stem_x in ((7.4, 8.3), (16.6, 13.5)):
            shapes += [ccw(ring(cx, 8.6, 4.1)), ccw(ring(cx, 8.2, 1.8))[::-1], ccw(ring(cx, 8.2, 0.9))]
            shapes.append(ccw([(stem_x, 10.5), (stem_x, 19.1), (stem_x + 1.1, 20.2),
                               (stem_x + 2.2, 19.1), (stem_x + 2.2, 10.5)]))
        body = filled(polys(shapes), ink)
    return svg(body)


SYMBOLS = {
    "eye": eye,
    "eye.slash": eye_slash,
    "eye.slash.fill": eye_slash_fill,
    "pause.circle": pause_circle,
    "exclamationmark.circle": exclamation_circle,
    "airpodspro": earbuds,
}


def main():
    for tone, ink in INK.items():
        os.makedirs(os.path.join(HERE, tone), exist_ok=True)
        for name, draw in SYMBOLS.items():
            with open(os.path.join(HERE, tone, name + ".svg"), "w") as f:
                f.write(draw(ink))
    os.makedirs(os.path.join(HERE, "symbolic"), exist_ok=True)
    for name in SYMBOLS:
        file_name = "quelmo-" + name.replace(".", "-") + "-symbolic.svg"
        with open(os.path.join(HERE, "symbolic", file_name), "w") as f:
            f.write(symbolic(name))
    # The dimmed look (Quelmo off, screen locked) as a shape's opacity, which
    # the panel's recolouring keeps.
    with open(os.path.join(HERE, "symbolic", "quelmo-eye-slash-dimmed-symbolic.svg"), "w") as f:
        f.write(symbolic("eye.slash", dimmed=True))
    with open(os.path.join(HERE, "quelmo.svg"), "w") as f:
        f.write(app_icon())


if __name__ == "__main__":
    main()
