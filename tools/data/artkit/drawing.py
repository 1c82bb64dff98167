"""A tiny vocabulary for the cabinet's ink drawings: filled parts and stroked lines that share one
outline, so every object gets the same heavy outer contour and lighter inner lines."""

from artkit.palette import INK, LINE


class Drawing:
    """Collects the parts of one picture in drawing order.

    fill(): a closed shape with a colour; line(): a stroke of a given width (stems, legs);
    detail(): raw SVG drawn on top (veins, stripes, glints), never outlined."""

    def __init__(self):
        self.parts = []
        self.details = []

    def fill(self, element, colour):
        """element: SVG text of a closed shape with the token FILL where its fill goes."""
        self.parts.append(("fill", element, colour, 0.0))
        return self

    def line(self, path_d, width, colour):
        self.parts.append(("line", path_d, colour, width))
        return self

    def detail(self, svg):
        self.details.append(svg)
        return self

    def svg(self, line_weight=LINE):
        outline, body = [], []
        join = 'stroke-linejoin="round" stroke-linecap="round"'
        for kind, element, colour, width in self.parts:
            if kind == "fill":
                outline.append(
                    element.replace("FILL", INK).replace(
                        "/>", f' stroke="{INK}" stroke-width="{2 * line_weight}" {join}/>', 1
                    )
                )
                body.append(
                    element.replace("FILL", colour).replace(
                        "/>", f' stroke="{INK}" stroke-width="{line_weight}" {join}/>', 1
                    )
                )
            else:
                outline.append(
                    f'<path d="{element}" fill="none" stroke="{INK}" '
                    f'stroke-width="{width + 2 * line_weight}" {join}/>'
                )
                body.append(
                    f'<path d="{element}" fill="none" stroke="{colour}" '
                    f'stroke-width="{width}" {join}/>'
                )
        return "".join(outline) + "".join(body) + "".join(self.details)


def ink(path_d, width=LINE * 0.6, colour=INK, opacity=1.0):
    """An inner ink line (veins, stripes, seams): lighter than the contour."""
    return (
        f'<path d="{path_d}" fill="none" stroke="{colour}" stroke-width="{width}" '
        f'stroke-linecap="round" stroke-linejoin="round" opacity="{opacity}"/>'
    )


def glint(cx, cy, rx, ry, angle=-35, opacity=0.55):
    """A soft highlight, always on the side that faces the light (top left)."""
    return (
        f'<ellipse cx="{cx}" cy="{cy}" rx="{rx}" ry="{ry}" fill="#ffffff" opacity="{opacity}" '
        f'transform="rotate({angle} {cx} {cy})"/>'
    )


def ellipse(cx, cy, rx, ry, angle=0):
    rot = f' transform="rotate({angle} {cx} {cy})"' if angle else ""
    return f'<ellipse cx="{cx}" cy="{cy}" rx="{rx}" ry="{ry}" fill="FILL"{rot}/>'


def circle(cx, cy, r):
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="FILL"/>'


def path(d):
    return f'<path d="{d}" fill="FILL"/>'


def polygon(points):
    text = " ".join(f"{x:.2f},{y:.2f}" for x, y in points)
    return f'<polygon points="{text}" fill="FILL"/>'


def smooth_closed(points):
    """A closed path through points, with Catmull-Rom curves between them."""
    n = len(points)
    d = f"M{points[0][0]:.2f},{points[0][1]:.2f}"
    for i in range(n):
        p0, p1, p2, p3 = points[i - 1], points[i], points[(i + 1) % n], points[(i + 2) % n]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6)
        d += f" C{c1[0]:.2f},{c1[1]:.2f} {c2[0]:.2f},{c2[1]:.2f} {p2[0]:.2f},{p2[1]:.2f}"
    return d + " Z"


def smooth_open(points):
    n = len(points)
    d = f"M{points[0][0]:.2f},{points[0][1]:.2f}"
    for i in range(n - 1):
        p0 = points[max(i - 1, 0)]
        p1, p2 = points[i], points[i + 1]
        p3 = points[min(i + 2, n - 1)]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6, p1[1] + (p2[1] - p0[1]) / 6)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6, p2[1] - (p3[1] - p1[1]) / 6)
        d += f" C{c1[0]:.2f},{c1[1]:.2f} {c2[0]:.2f},{c2[1]:.2f} {p2[0]:.2f},{p2[1]:.2f}"
    return d
