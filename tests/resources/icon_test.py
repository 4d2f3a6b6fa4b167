"""resources/valkesta.ico: one 32 x 32 image in 16 colours (4 bits per pixel) whose image data
is exactly 744 bytes, with a picture that is neither blank nor fully transparent.

    icon_test.py <valkesta.ico>
"""
import struct
import sys
import unittest

ICON = sys.argv[1]
IMAGE_SIZE = 40 + 16 * 4 + 32 * 16 + 32 * 4  # header, palette, 4-bit colours, 1-bit mask


def read_icon(path):
    """(directory entry fields, image bytes) of a single-image .ico file."""
    with open(path, "rb") as icon:
        data = icon.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    assert (reserved, kind, count) == (0, 1, 1), (reserved, kind, count)
    entry = struct.unpack_from("<BBBBHHII", data, 6)
    size, offset = entry[6], entry[7]
    assert offset + size == len(data), (offset, size, len(data))
    return entry[:6], data[offset:offset + size]


class IconFile(unittest.TestCase):
    def setUp(self):
        self.entry, self.image = read_icon(ICON)

    def test_directory_describes_a_32x32_16_colour_image(self):
        self.assertEqual(self.entry, (32, 32, 16, 0, 1, 4))
        self.assertEqual(len(self.image), 744)
        self.assertEqual(IMAGE_SIZE, 744)

    def test_bitmap_header_has_doubled_height_for_the_mask(self):
        size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", self.image)
        self.assertEqual((size, width, height, planes, bits, compression), (40, 32, 64, 1, 4, 0))
        colours_used = struct.unpack_from("<I", self.image, 32)[0]
        self.assertIn(colours_used, (0, 16))

    def test_picture_uses_several_colours_and_a_transparent_border(self):
        pixels = self.image[40 + 64:40 + 64 + 512]
        mask = self.image[40 + 64 + 512:]
        indices = {byte >> 4 for byte in pixels} | {byte & 0x0F for byte in pixels}
        self.assertGreaterEqual(len(indices), 5)
        rows = [int.from_bytes(mask[4 * r:4 * r + 4], "big") for r in range(32)]
        transparent = sum(bin(row).count("1") for row in rows)
        self.assertTrue(0 < transparent < 32 * 32 / 2, transparent)
        # Bottom-up rows: the first is the picture's last. Its corners show the background.
        self.assertEqual(rows[0] >> 31, 1)
        self.assertEqual(rows[31] & 1, 1)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
