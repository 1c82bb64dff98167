"""Shared helpers for the generators of Quillory's pictures, fonts and menus."""
