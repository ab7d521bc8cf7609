#!/usr/bin/env python3
"""Writes the SVG sources of the help pictures (svg/*.svg) and the plain-text
descriptions of every page (descriptions/*.txt).

Run by render.sh; the SVGs are then rasterised by rsvg-convert and converted
to the exact formats the program loads. Only the Python standard library is
needed. Output is deterministic: unchanged content leaves files untouched.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from helpkit import write  # noqa: E402
import pages_og  # noqa: E402
import pages_wiring  # noqa: E402
import pages_about  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    pages = []
    pages += pages_og.build()
    pages += pages_wiring.build()
    pages += pages_about.build()
    for page in pages:
        write(os.path.join(HERE, "svg", page.name + ".svg"), page.svg())
        if getattr(page, "describe", True):
            write(os.path.join(HERE, "descriptions", page.name + ".txt"), page.description())
    print("built %d SVG sources" % len(pages))


if __name__ == "__main__":
    main()
