"""Rendering SVG text to pictures, light and shadow, and saving in the game's formats."""

import os
import subprocess
from io import BytesIO

import numpy as np
from PIL import Image, ImageFilter

# Debian's system Python has Pillow and numpy (python3-pil, python3-numpy).


def svg_document(width, height, body, view_box=None):
    """An SVG document of the given pixel size around `body`."""
    view_box = view_box or f"0 0 {width} {height}"
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" '
        f'xmlns:xlink="http://www.w3.org/1999/xlink" width="{width}" height="{height}" '
        f'viewBox="{view_box}">{body}</svg>'
    )


def render_svg(svg_text, width, height):
    """Renders SVG text with librsvg into an RGBA Pillow image of width x height."""
    result = subprocess.run(
        ["rsvg-convert", "--width", str(width), "--height", str(height), "--format", "png"],
        input=svg_text.encode("utf-8"),
        capture_output=True,
        check=True,
    )
    return Image.open(BytesIO(result.stdout)).convert("RGBA")


def to_array(image):
    return np.asarray(image.convert("RGBA")).astype(np.float32) / 255.0


def from_array(array):
    clipped = np.clip(array * 255.0 + 0.5, 0, 255).astype(np.uint8)
    return Image.fromarray(clipped, "RGBA")


def shift(channel, dx, dy):
    """The channel moved by (dx, dy) pixels, with zeros coming in at the edges."""
    out = np.zeros_like(channel)
    h, w = channel.shape
    xs0, xs1 = max(0, -dx), min(w, w - dx)
    ys0, ys1 = max(0, -dy), min(h, h - dy)
    out[ys0 + dy : ys1 + dy, xs0 + dx : xs1 + dx] = channel[ys0:ys1, xs0:xs1]
    return out


def blur(channel, radius):
    image = Image.fromarray(np.clip(channel * 255.0, 0, 255).astype(np.uint8), "L")
    return np.asarray(image.filter(ImageFilter.GaussianBlur(radius))).astype(np.float32) / 255.0


def light_from_top_left(image, strength=1.0, rim=None):
    """Shades an RGBA picture as lit from the top left: a gentle gradient across it, a bright rim on
    the edges that face the light and a dark rim on those that face away."""
    a = to_array(image)
    h, w = a.shape[:2]
    alpha = a[:, :, 3]
    ys, xs = np.mgrid[0:h, 0:w].astype(np.float32)
    gradient = 1.0 + 0.12 * strength * (1.0 - (xs / w + ys / h))
    rgb = a[:, :, :3] * gradient[:, :, None]
    rim = rim or max(2, w // 40)
    soft = blur(alpha, rim * 0.6)
    lit = np.clip(alpha - shift(soft, rim, rim), 0, 1) * alpha
    dark = np.clip(alpha - shift(soft, -rim, -rim), 0, 1) * alpha
    rgb = rgb + (1.0 - rgb) * (0.45 * strength * blur(lit, rim * 0.5))[:, :, None]
    rgb = rgb * (1.0 - 0.35 * strength * blur(dark, rim * 0.5))[:, :, None]
    a[:, :, :3] = np.clip(rgb, 0, 1)
    return from_array(a)


def drop_shadow(image, offset, radius, opacity):
    """The picture over a soft shadow of itself, cast to the bottom right."""
    a = to_array(image)
    alpha = a[:, :, 3]
    shadow = blur(shift(alpha, offset, offset), radius) * opacity
    out_alpha = alpha + shadow * (1.0 - alpha)
    rgb = a[:, :, :3] * alpha[:, :, None] + np.array([0.12, 0.08, 0.05]) * (
        shadow * (1.0 - alpha)
    )[:, :, None]
    safe = np.where(out_alpha > 0, out_alpha, 1.0)
    out = np.dstack([rgb / safe[:, :, None], out_alpha])
    return from_array(out)


def downscale(image, width, height):
    """High-quality reduction; Pillow premultiplies alpha for this, so edges stay clean."""
    return image.resize((width, height), Image.LANCZOS)


def save_png(image, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, "PNG", optimize=True)


def save_jpg(image, path, quality=90):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.convert("RGB").save(path, "JPEG", quality=quality, optimize=True, progressive=False)
