"""Splash test images: four coloured quadrants, made at test time, and a
reader of the probe's 24-bit screenshots."""
import struct
import subprocess

# Centre of each quadrant of a 200 x 120 picture, and its colour.
QUADRANTS = {(50, 30): "ff0000", (150, 30): "00ff00", (50, 90): "0000ff", (150, 90): "ffff00"}
SIZE = (200, 120)


def quadrant_image(path, width=SIZE[0], height=SIZE[1]):
    """Red, green / blue, yellow; the format follows the file's extension (BMP3 for .bmp)."""
    left, top, right, bottom = width // 2, height // 2, width - width // 2, height - height // 2
    target = f"BMP3:{path}" if str(path).endswith(".bmp") else str(path)
    subprocess.run(["convert", "(", "-size", f"{left}x{top}", "xc:red", "-size", f"{right}x{top}", "xc:lime", "+append", ")",
                    "(", "-size", f"{left}x{bottom}", "xc:blue", "-size", f"{right}x{bottom}", "xc:yellow", "+append", ")",
                    "-append", "-quality", "95", target], check=True)
    return path


def enhanced_metafile(path, width_mm100, height_mm100, colour):
    """An EMF whose frame is width x height in 0.01 mm, filled with colour (0xBBGGRR) by one rectangle."""
    device = (1000, 1000)  # reference device: 1000 x 1000 pixels on 100 x 100 mm
    right, bottom = width_mm100 * device[0] // 10000, height_mm100 * device[1] // 10000
    records = [
        struct.pack("<IIIII", 39, 24, 1, 0, colour) + struct.pack("<I", 0),  # CREATEBRUSHINDIRECT, solid
        struct.pack("<III", 37, 12, 1),                                      # SELECTOBJECT brush 1
        struct.pack("<II4i", 43, 24, 0, 0, right, bottom),                   # RECTANGLE
        struct.pack("<IIIII", 14, 20, 0, 16, 20),                            # EOF
    ]
    size = 88 + sum(map(len, records))
    header = struct.pack("<II4i4iIIIIHHIIIiiii", 1, 88, 0, 0, right - 1, bottom - 1,
                         0, 0, width_mm100 - 1, height_mm100 - 1, 0x464D4520, 0x10000, size,
                         len(records) + 1, 2, 0, 0, 0, 0, *device, 100, 100)
    path.write_bytes(header + b"".join(records))
    return path


def placeable_metafile(path, width, height, units_per_inch, colour):
    """A placeable WMF of width x height units filled with colour (0xBBGGRR) by one rectangle."""
    def record(function, *words):
        return struct.pack(f"<IH{len(words)}H", 3 + len(words), function, *words)
    records = [record(0x020B, 0, 0), record(0x020C, height, width),                # window origin, extent
               record(0x02FC, 0, colour & 0xFFFF, colour >> 16, 0),                # CREATEBRUSHINDIRECT
               record(0x012D, 0), record(0x041B, height, width, 0, 0), record(0)]  # SELECTOBJECT, RECTANGLE, EOF
    body = b"".join(records)
    header = struct.pack("<HHHIHIH", 1, 9, 0x300, (18 + len(body)) // 2, 1, 7, 0)
    placeable = struct.pack("<IhhhhhHI", 0x9AC6CDD7, 0, 0, 0, width, height, units_per_inch, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", placeable[:20]):
        checksum ^= word
    path.write_bytes(placeable[:20] + struct.pack("<H", checksum) + header + body)
    return path


def bmp_pixel(path, x, y):
    """The colour at (x, y) of a bottom-up 24-bit BMP, as rrggbb."""
    data = path.read_bytes()
    offset, width, height = struct.unpack_from("<I", data, 10)[0], *struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) // 4 * 4
    blue, green, red = data[offset + (height - 1 - y) * stride + x * 3:][:3]
    return f"{red:02x}{green:02x}{blue:02x}"


def close_colours(a, b, tolerance=24):
    return all(abs(int(a[i:i + 2], 16) - int(b[i:i + 2], 16)) < tolerance for i in (0, 2, 4))
