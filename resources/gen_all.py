#!/usr/bin/env python3
"""Regenerates every generated asset in resources/ (or in the folder given)."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen_cursor  # noqa: E402
import gen_font  # noqa: E402
import gen_gif  # noqa: E402
import gen_icon  # noqa: E402
import gen_sounds  # noqa: E402


def main(out_dir=os.path.dirname(os.path.abspath(__file__))):
    for module in (gen_sounds, gen_font, gen_icon, gen_cursor, gen_gif):
        module.main(out_dir)


if __name__ == "__main__":
    main(*sys.argv[1:])
