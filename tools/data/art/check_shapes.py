"""Reports how far apart the silhouettes are: for every class the least difference between two of
its turns, and the closest pair of silhouettes of different classes. A difference is 1 - IoU of
the silhouettes' coverage (0: identical, 1: no overlap).

Usage: check_shapes.py DATA_FOLDER"""

import itertools
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from art.shape_drawings import SHAPES  # noqa: E402


def coverage(data, name, v):
    image = Image.open(os.path.join(data, "Graphics", "Shapes", f"{name}_{v}_mask.png"))
    return np.asarray(image.convert("RGBA"))[:, :, 3] > 96


def difference(a, b):
    return 1.0 - (a & b).sum() / max(1, (a | b).sum())


def main():
    data = sys.argv[1]
    masks = {(n, v): coverage(data, n, v) for n, _ in SHAPES for v in range(4)}
    worst_turn = 1.0
    for name, _ in SHAPES:
        least = min(difference(masks[(name, a)], masks[(name, b)])
                    for a, b in itertools.combinations(range(4), 2))
        worst_turn = min(worst_turn, least)
        print(f"{name:12s} least difference between its turns: {least:.2f}")
    pairs = []
    for (n1, _), (n2, _) in itertools.combinations(SHAPES, 2):
        pairs.append((min(difference(masks[(n1, a)], masks[(n2, b)])
                          for a in range(4) for b in range(4)), n1, n2))
    pairs.sort()
    for value, n1, n2 in pairs[:5]:
        print(f"closest classes: {n1} / {n2}: {value:.2f}")
    print(f"least turn difference overall: {worst_turn:.2f}")


if __name__ == "__main__":
    main()
