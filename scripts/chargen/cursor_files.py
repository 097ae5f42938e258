"""Windows cursor files written from RGBA pictures: .cur (an icon directory of one
32-bit image with its hot spot) and .ani (a RIFF "ACON" of .cur frames with a rate)."""
import os
import struct


def cur_bytes(sheet, hotspot):
    """One 32-bit cursor image: the colour bitmap bottom-up in BGRA, then the 1-bit AND
    mask (set where the picture is transparent), rows padded to 32 bits."""
    width, height = sheet.width, sheet.height
    xor = bytearray()
    for y in reversed(range(height)):
        for x in range(width):
            r, g, b, a = sheet.pixels[(y * width + x) * 4:(y * width + x) * 4 + 4]
            xor += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(height)):
        row = bytearray(mask_stride)
        for x in range(width):
            if sheet.pixels[(y * width + x) * 4 + 3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def write_cur(path, sheet, hotspot):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(cur_bytes(sheet, hotspot))


def write_ani(path, frames, hotspot, jiffies):
    """An animated cursor: `frames` shown in turn, each for `jiffies` sixtieths of a second."""
    def chunk(kind, data):
        return kind + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")
    width, height = frames[0].width, frames[0].height
    anih = struct.pack("<IIIIIIIII", 36, len(frames), len(frames), width, height, 32, 1, jiffies, 1)
    icons = b"".join(chunk(b"icon", cur_bytes(frame, hotspot)) for frame in frames)
    body = b"ACON" + chunk(b"anih", anih) + chunk(b"LIST", b"fram" + icons)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(b"RIFF" + struct.pack("<I", len(body)) + body)
