#!/usr/bin/python3
"""Bitmap 102: the window icon, the witch's head, from the 64x64 desktop icon."""
import os

import numpy as np
from PIL import Image

from artlib import ROOT, save_bitmap

if __name__ == "__main__":
    png = Image.open(os.path.join(ROOT, "resources", "icons", "velloria-64.png")).convert("RGBA")
    rgba = np.asarray(png, dtype=np.float64) / 255.0
    print(save_bitmap(102, "window-icon", rgba))
