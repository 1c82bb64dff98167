"""Procedural surfaces shared by the backgrounds and panels: walnut wood, parchment, vignettes.
Every texture is seeded, so regenerating gives the same pictures."""

import numpy as np
from PIL import Image, ImageFilter


def hex_rgb(colour):
    colour = colour.lstrip("#")
    return np.array([int(colour[i : i + 2], 16) for i in (0, 2, 4)], dtype=np.float32) / 255.0


def smooth_noise(width, height, scale, seed):
    """Value noise: random values on a coarse grid, smoothly enlarged."""
    rng = np.random.default_rng(seed)
    gw, gh = max(2, int(width / scale) + 2), max(2, int(height / scale) + 2)
    grid = rng.random((gh, gw)).astype(np.float32)
    image = Image.fromarray((grid * 255).astype(np.uint8), "L")
    image = image.resize((int(gw * scale), int(gh * scale)), Image.BICUBIC)
    return np.asarray(image).astype(np.float32)[:height, :width] / 255.0


def fractal_noise(width, height, seed, octaves=((64, 0.5), (24, 0.3), (8, 0.2))):
    total = np.zeros((height, width), dtype=np.float32)
    for i, (scale, weight) in enumerate(octaves):
        total += smooth_noise(width, height, scale, seed + i * 7) * weight
    return total


def wood(width, height, dark, light, seed, vertical=False):
    """Walnut boards: long grain streaks with a little waviness and fine pores."""
    w, h = (height, width) if vertical else (width, height)
    rng = np.random.default_rng(seed)
    ys, xs = np.mgrid[0:h, 0:w].astype(np.float32)
    warp = fractal_noise(w, h, seed, ((180, 0.7), (60, 0.3))) * 18.0
    grain = np.sin((ys + warp) * 0.45 + np.sin(xs * 0.004 + rng.random() * 6) * 3.0)
    grain = 0.5 + 0.5 * grain
    streaks = smooth_noise(w, h, 40, seed + 3)
    fine = rng.random((h, w)).astype(np.float32)
    fine = np.asarray(Image.fromarray((fine * 255).astype(np.uint8)).filter(
        ImageFilter.BoxBlur(1))).astype(np.float32) / 255.0
    t = np.clip(0.45 * grain + 0.4 * streaks + 0.15 * fine, 0, 1)
    if vertical:
        t = t.T
    d, l = hex_rgb(dark), hex_rgb(light)
    return d + (l - d) * t[:, :, None]


def parchment(width, height, base, seed, mottling=0.10):
    """Aged paper: soft blotches, fine fibres and a slightly darker edge."""
    rng = np.random.default_rng(seed)
    blotches = fractal_noise(width, height, seed, ((120, 0.6), (40, 0.3), (10, 0.1)))
    fibres = rng.normal(0, 1, (height, width)).astype(np.float32)
    fibres = np.asarray(Image.fromarray(np.clip(fibres * 40 + 128, 0, 255).astype(np.uint8)).filter(
        ImageFilter.GaussianBlur(0.7))).astype(np.float32) / 255.0 - 0.5
    shade = 1.0 - mottling * (blotches - 0.5) * 2 + 0.05 * fibres
    rgb = hex_rgb(base)[None, None, :] * shade[:, :, None]
    return np.clip(rgb, 0, 1)


def vignette(rgb, strength=0.35, light_x=0.35, light_y=0.3):
    """Darkens towards the edges, lighter near the upper left where the light comes from."""
    h, w = rgb.shape[:2]
    ys, xs = np.mgrid[0:h, 0:w].astype(np.float32)
    dx, dy = xs / w - light_x, ys / h - light_y
    distance = np.sqrt(dx * dx + dy * dy) / 0.85
    factor = 1.0 - strength * np.clip(distance, 0, 1.3) ** 1.6
    return np.clip(rgb * factor[:, :, None], 0, 1)


def to_image(rgb, alpha=None):
    if alpha is None:
        alpha = np.ones(rgb.shape[:2], dtype=np.float32)
    array = np.dstack([rgb, alpha])
    return Image.fromarray(np.clip(array * 255 + 0.5, 0, 255).astype(np.uint8), "RGBA")
