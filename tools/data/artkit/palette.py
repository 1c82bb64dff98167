"""The one palette of Quillory's art: a naturalist's cabinet of curiosities.

Every picture, panel and background takes its colours from here, so the game keeps one look.
Light always falls from the top left."""

INK = "#2b1d12"  # outlines, one line weight everywhere
INK_SOFT = "#4a3424"

PARCHMENT = "#efe3c4"
PARCHMENT_MID = "#e0cfa2"
PARCHMENT_DARK = "#c4ab78"
IVORY = "#f6efdc"

WALNUT_DARK = "#2e1d12"
WALNUT = "#5a3a22"
WALNUT_LIGHT = "#86593a"

BRASS_DARK = "#8f6a24"
BRASS = "#c9a24a"
BRASS_LIGHT = "#ecd18a"

PEWTER = "#aab3b8"
PEWTER_DARK = "#6d777d"

MOSS_DARK = "#3f5a22"
MOSS = "#5e7f34"
MOSS_LIGHT = "#93b25a"

LEAF = "#3f9a55"
LEAF_DARK = "#2a6b3a"
OLIVE = "#9aa33a"
OLIVE_DARK = "#6b7424"

TEAL_DARK = "#245a52"
TEAL = "#3f8a7e"
TEAL_LIGHT = "#86c4b6"

SLATE_DARK = "#2f4760"
SLATE = "#4a6c8c"
SLATE_LIGHT = "#8fb0cc"

INDIGO = "#3a3a78"
INDIGO_LIGHT = "#6c6cc0"

RUST_DARK = "#7a2a1c"
RUST = "#a8402e"
RUST_LIGHT = "#d26a4c"

VERMILION = "#d0472c"
CRIMSON = "#b01e34"
CRIMSON_LIGHT = "#e05068"

OCHRE = "#d08a2a"
OCHRE_LIGHT = "#eab45a"
AMBER = "#e2a830"
AMBER_LIGHT = "#f4d070"
TAN = "#c8955a"
TAN_LIGHT = "#e4b982"

PLUM_DARK = "#4e2844"
PLUM = "#7a4470"
PLUM_LIGHT = "#b07aa4"
THISTLE = "#9a4aa8"
THISTLE_LIGHT = "#c88ad0"
LAVENDER = "#8a86d8"
LAVENDER_LIGHT = "#bcb8f0"
ROSE = "#d9607a"
ROSE_LIGHT = "#f09aa8"

GLASS = "#cfe6ee"

# The stroke width of every outline, in the 100-unit box that a shape is drawn in.
LINE = 2.6
