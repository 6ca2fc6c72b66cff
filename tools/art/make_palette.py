#!/usr/bin/python3
"""Bitmap 106: a 6x6 picture whose only use is the colour table it carries."""
import numpy as np

from artlib import save_bitmap

if __name__ == "__main__":
    swatch = np.arange(36, dtype=np.uint8).reshape(6, 6)
    print(save_bitmap(106, "palette", swatch, keyed=False))
