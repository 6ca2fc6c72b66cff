#!/usr/bin/python3
"""A Canvas that writes SVG instead of pixels, for drawings that should scale.

It understands the part of the Canvas interface the icon uses: polygons and
strokes as masks (intersected with `&`), `paint` with a flat colour and
`part` with its outline, its light from the upper left (a linear gradient
along the same direction and over the same span as `Canvas.light`) and its
light and dark rims (the shape less a copy moved by the rim width). So the
same drawing code gives the bitmaps and the scalable picture.
"""
from frontend_drawing import col, ellipse_pts, ramp_rgb

RIM = 1.5  # output pixels, as Canvas.part
STOPS = 17


def _hex(rgb):
    return "#%02x%02x%02x" % tuple(int(round(max(0.0, min(1.0, v)) * 255)) for v in rgb)


def _num(v):
    return ("%.2f" % v).rstrip("0").rstrip(".")


def _path(pts, close=True):
    d = "M" + " L".join(f"{_num(x)} {_num(y)}" for x, y in pts)
    return d + (" Z" if close else "")


class SvgMask:
    """Shapes whose union is the mask: ("poly", points) or ("stroke", points, width)."""

    def __init__(self, shapes, clip=None):
        self.shapes, self.clip = shapes, clip

    def __and__(self, other):
        if self.clip is not None or other.clip is not None:
            raise NotImplementedError("one intersection per mask")
        return SvgMask(self.shapes, other)

    def bounds(self):
        xs, ys = [], []
        for s in self.shapes:
            r = s[2] / 2 if s[0] == "stroke" else 0.0
            xs += [x - r for x, _ in s[1]] + [x + r for x, _ in s[1]]
            ys += [y - r for _, y in s[1]] + [y + r for _, y in s[1]]
        return min(xs), min(ys), max(xs), max(ys)


class SvgCanvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.defs, self.body = [], []
        self.ids = 0

    def _id(self, kind):
        self.ids += 1
        return f"{kind}{self.ids}"

    # -- masks
    def poly(self, *polys):
        return SvgMask([("poly", list(p)) for p in polys if len(p) >= 3])

    def stroke(self, pts, width, *more):
        return SvgMask([("stroke", list(line), width) for line in (pts,) + more if line])

    def ellipse(self, cx, cy, rx, ry, rot=0.0):
        return self.poly(ellipse_pts(cx, cy, rx, ry, rot))

    def union(self, *masks):
        return SvgMask([s for m in masks for s in m.shapes])

    # -- drawing
    def _shapes(self, mask, fill):
        """The mask's shapes in one paint; strokes are painted with their line."""
        out = []
        for s in mask.shapes:
            if s[0] == "poly":
                out.append(f'<path d="{_path(s[1])}" fill="{fill}" fill-rule="evenodd"/>')
            else:
                out.append(f'<path d="{_path(s[1], False)}" fill="none" stroke="{fill}" stroke-width="{_num(s[2])}" '
                           'stroke-linecap="round" stroke-linejoin="round"/>')
        return "".join(out)

    def _group(self, mask, inner, alpha=1.0, extra=""):
        attrs = extra
        if alpha < 1.0:
            attrs += f' opacity="{_num(alpha)}"'
        if mask.clip is not None:
            cid = self._id("c")
            self.defs.append(f'<clipPath id="{cid}">{self._shapes(mask.clip, "#000")}</clipPath>')
            attrs += f' clip-path="url(#{cid})"'
        self.body.append(f"<g{attrs}>{inner}</g>")

    def paint(self, mask, colour, alpha=1.0):
        if len(mask.shapes) == 0:
            return
        self._group(mask, self._shapes(mask, _hex(colour)), alpha)

    def _light(self, mask, ramp, lo, hi, delta):
        """The gradient of Canvas.light: level hi at the box's upper left corner,
        lo one span along (0.45, 0.75)."""
        x0, y0, x1, y1 = mask.bounds()
        span = max(x1 - x0, y1 - y0, 1.0)
        k = span / (0.45 ** 2 + 0.75 ** 2)
        gid = self._id("g")
        stops = "".join(
            f'<stop offset="{_num(o)}" stop-color="{_hex(ramp_rgb(ramp, lo + (hi - lo) * (1 - o) + delta))}"/>'
            for o in [i / (STOPS - 1) for i in range(STOPS)])
        self.defs.append(f'<linearGradient id="{gid}" gradientUnits="userSpaceOnUse" x1="{_num(x0)}" y1="{_num(y0)}" '
                         f'x2="{_num(x0 + 0.45 * k)}" y2="{_num(y0 + 0.75 * k)}">{stops}</linearGradient>')
        return f"url(#{gid})"

    def _band(self, mask, fill, dx, dy):
        """The shape less itself moved by (dx, dy): a rim along one side."""
        mid = self._id("m")
        self.defs.append(f'<mask id="{mid}" maskUnits="userSpaceOnUse" x="0" y="0" width="{self.w}" height="{self.h}">'
                         f'{self._shapes(mask, "#fff")}<g transform="translate({_num(dx)} {_num(dy)})">'
                         f'{self._shapes(mask, "#000")}</g></mask>')
        return f'<g mask="url(#{mid})">{self._shapes(mask, fill)}</g>'

    def part(self, mask, ramp, lo, hi, outline=None, ow=1.2, rim=True, level=None, outline_ramp=None):
        if level is not None or not isinstance(ramp, str):
            raise NotImplementedError("the scalable canvas shades along a ramp only")
        if len(mask.shapes) == 0:
            return mask
        inner = ""
        if ow > 0:
            oc = _hex(outline if outline is not None else col(outline_ramp or ramp, 0.04))
            # A line 2*ow wide centred on the edge shows ow outside the fill.
            inner += "".join(f'<path d="{_path(s[1])}" fill="{oc}" stroke="{oc}" stroke-width="{_num(2 * ow)}" '
                             'stroke-linejoin="round"/>' for s in mask.shapes if s[0] == "poly")
        inner += self._shapes(mask, self._light(mask, ramp, lo, hi, 0.0))
        if rim:
            inner += self._band(mask, self._light(mask, ramp, lo, hi, -0.14), -RIM, -RIM)
            inner += self._band(mask, self._light(mask, ramp, lo, hi, 0.18), RIM, RIM)
        self._group(mask, inner)
        return mask

    def result(self):
        return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{self.w}" height="{self.h}" '
                f'viewBox="0 0 {self.w} {self.h}">\n<defs>{"".join(self.defs)}</defs>\n' + "\n".join(self.body) +
                "\n</svg>\n")

