"""The game's English texts and the writer of "language.ini"."""
