#!/usr/bin/env python3
"""Writes resources/valkesta.ico, the program's icon: a closed red hardcover book with a gold
frame and a blue bookmark ribbon, 32 x 32 pixels in the 16 standard Windows colours.

The picture is the pixel map below, so the output is the same on every run. Run it again after
editing the map and commit the .ico (the build only embeds the committed file):

    python3 tools/make_icon.py [output.ico]
"""
import pathlib
import struct
import sys

# One character per pixel, top row first; "." is transparent.
PICTURE = [
    "................................",
    "....KKKKKKKKKKKKKKKKKKKKK.......",
    "....KrRrKRRRRRRRRRRRRRRRKKKK....",
    "....KrRrKRrrrrrrrrrrrrrrKwsK....",
    "....KrRrKRryyyyyyyyyyyrrKwsK....",
    "....KrRrKRryrrrrrrrrryrrKwsK....",
    "....KrRrKRryrrrrrrrrryrrKwsK....",
    "....KrRrKRryrYYYYYYYryrrKwsK....",
    "....KrRrKRryrrrrrrrrryrrKwsK....",
    "....KrRrKRryrrYYYYYrryrrKwsK....",
    "....KrRrKRryrrrrrrrrryrrKwsK....",
    "....KrRrKRryrrrrrrrrryrrKwsK....",
    "....KrRrKRryrrrrrrrrryrrKwsK....",
    "....KrRrKRryrrrrrrrrryrrKwsK....",
    "....KrRrKRryrrrrYrrrryrrKwsK....",
    "....KrRrKRryrrrYYYrrryrrKwsK....",
    "....KrRrKRryrrYYYYYrryrrKwsK....",
    "....KrRrKRryrrrYYYrrryrrKwsK....",
    "....KrRrKRryrrrrYrrrryrrKwsK....",
    "....KrRrKRryrrrrrrrrryrrKwsK....",
    "....KrRrKRryrrrrrrrrryrrKwsK....",
    "....KrRrKRryrrrrrrrrryrrKwsK....",
    "....KrRrKRryyyyyyyyyyyrrKwsK....",
    "....KrRrKRrrrrrrrrrrrrrrKwsK....",
    "....KrRrKRrrrrrrrrrrrrrrKwsK....",
    "....KKKKKKKKKKKKKKBBbKKKKwsK....",
    "......KwwwwwwwwwwwBBbwwwwwwK....",
    "......KsssssssssssBBbssssssK....",
    "......KKKKKKKKKKKKBBbKKKKKKK....",
    "..................BBb...........",
    "..................BBb...........",
    "..................B.b...........",
]

# The 16-colour palette (RGB) and the characters the picture uses for its entries.
PALETTE = [
    ("K", 0x000000), ("r", 0x800000), (None, 0x008000), ("y", 0x808000),
    ("b", 0x000080), (None, 0x800080), (None, 0x008080), ("s", 0xC0C0C0),
    (None, 0x808080), ("R", 0xFF0000), (None, 0x00FF00), ("Y", 0xFFFF00),
    ("B", 0x0000FF), (None, 0xFF00FF), (None, 0x00FFFF), ("w", 0xFFFFFF),
]
TRANSPARENT = "."
SIZE = 32
BITS_PER_PIXEL = 4


def image_data():
    """BITMAPINFOHEADER (height doubled for the mask), palette, 4-bit colour rows and the 1-bit
    transparency mask, both bottom-up, each row padded to 4 bytes."""
    index = {char: i for i, (char, _) in enumerate(PALETTE) if char}
    colour_rows = []
    mask_rows = []
    for line in reversed(PICTURE):
        assert len(line) == SIZE, line
        pixels = [index.get(char, 0) for char in line]
        colour_rows.append(bytes((pixels[x] << 4) | pixels[x + 1] for x in range(0, SIZE, 2)))
        mask = sum(1 << (SIZE - 1 - x) for x, char in enumerate(line) if char == TRANSPARENT)
        mask_rows.append(mask.to_bytes(SIZE // 8, "big"))
    colours = b"".join(colour_rows)
    mask = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, BITS_PER_PIXEL, 0,
                         len(colours) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", rgb & 0xFF, (rgb >> 8) & 0xFF, rgb >> 16, 0)
                       for _, rgb in PALETTE)
    return header + palette + colours + mask


def icon_file(image):
    """ICONDIR with one ICONDIRENTRY, then the image."""
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, len(PALETTE), 0, 1, BITS_PER_PIXEL,
                        len(image), len(directory) + 16)
    return directory + entry + image


def main():
    assert len(PICTURE) == SIZE
    default = pathlib.Path(__file__).resolve().parent.parent / "resources" / "valkesta.ico"
    output = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    image = image_data()
    assert len(image) == 744, len(image)
    output.write_bytes(icon_file(image))


if __name__ == "__main__":
    main()
