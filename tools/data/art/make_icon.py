"""Makes the window icon "icon.png": the cabinet's quill on a walnut drawer front with a brass rim.

Usage: make_icon.py DATA_FOLDER (needs only rsvg-convert)"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from artkit import palette as C  # noqa: E402
from art.shape_drawings import quill_svg  # noqa: E402

SIZE = 64


def icon_svg():
    drawer = (
        f'<rect x="3" y="3" width="94" height="94" rx="16" fill="{C.WALNUT}" '
        f'stroke="{C.BRASS}" stroke-width="5"/>'
        f'<rect x="11" y="11" width="78" height="78" rx="10" fill="{C.WALNUT_LIGHT}" '
        f'opacity="0.45"/>'
        f'<rect x="15" y="15" width="70" height="70" rx="8" fill="{C.PARCHMENT}"/>'
    )
    quill = f'<g transform="translate(50 50) scale(0.82) translate(-50 -50)">{quill_svg()}</g>'
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
        f'viewBox="0 0 100 100">{drawer}{quill}</svg>'
    )


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    target = os.path.join(sys.argv[1], "icon.png")
    subprocess.run(
        ["rsvg-convert", "--width", str(SIZE), "--height", str(SIZE), "--format", "png",
         "--output", target],
        input=icon_svg().encode("utf-8"),
        check=True,
    )


if __name__ == "__main__":
    main()
