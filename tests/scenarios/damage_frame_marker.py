#!/usr/bin/env python3
"""damage_frame_marker.py SOURCE.jpg OUTPUT.jpg: copies a baseline JPEG with its frame marker
(SOF0) turned into SOF3, a lossless frame that libjpeg does not decode, so that reading the
picture's header fails."""
import sys

SOF0, SOF3 = 0xC0, 0xC3


def frame_marker_offset(jpeg):
    """The offset of the SOF0 marker's second byte, found by walking the header's segments."""
    if jpeg[:2] != b"\xff\xd8":
        raise ValueError("not a JPEG file")
    offset = 2
    while offset + 4 <= len(jpeg):
        if jpeg[offset] != 0xFF:
            raise ValueError(f"no marker at offset {offset}")
        marker = jpeg[offset + 1]
        if marker == SOF0:
            return offset + 1
        if marker == 0xDA:
            break
        offset += 2 + int.from_bytes(jpeg[offset + 2:offset + 4], "big")
    raise ValueError("no baseline frame header before the scan")


def main(source, output):
    with open(source, "rb") as file:
        jpeg = bytearray(file.read())
    jpeg[frame_marker_offset(jpeg)] = SOF3
    with open(output, "wb") as file:
        file.write(jpeg)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
