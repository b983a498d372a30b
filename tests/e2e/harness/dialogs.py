"""Checking the launcher's dialogs: where the template puts each control, and
what a screenshot shows of them."""
import struct

WS_DISABLED, WS_THICKFRAME, WS_TABSTOP = 0x08000000, 0x00040000, 0x00010000
ES_READONLY, SS_ICON = 0x0800, 0x3
SIZE_GRIP = 0xE801


def control_by(window, key):
    """A control by id, or by its text for the controls without one (id -1)."""
    if isinstance(key, str):
        return next(c for c in window["controls"] if c["id"] == -1 and c["text"] == key)
    return next(c for c in window["controls"] if c["id"] == key)


def check_template_layout(test, window, template, size, reference):
    """template: {id or text: (x, y, width, height) in dialog units}; size: the dialog's (width, height).
    The reference control fixes the pixels per dialog unit."""
    ref = control_by(window, reference)["rect"]
    scale_x = (ref[2] - ref[0]) / template[reference][2]
    scale_y = (ref[3] - ref[1]) / template[reference][3]
    for key, (x, y, width, height) in template.items():
        left, top, right, bottom = control_by(window, key)["rect"]
        with test.subTest(control=key):
            test.assertAlmostEqual(left, x * scale_x, delta=2)
            test.assertAlmostEqual(top, y * scale_y, delta=2)
            if control_by(window, key)["style"] & 0x1F == SS_ICON:
                continue  # an icon control takes the size of the icon it shows
            test.assertAlmostEqual(right - left, width * scale_x, delta=2)
            test.assertAlmostEqual(bottom - top, height * scale_y, delta=2)
    client = window["client"]
    test.assertAlmostEqual(client[2], size[0] * scale_x, delta=3)
    test.assertAlmostEqual(client[3], size[1] * scale_y, delta=3)


def check_centred_on_work_area(test, window):
    left, top, right, bottom = window["rect"]
    area = window["work_area"]
    test.assertLessEqual(abs((area[0] + area[2]) // 2 - (left + right) // 2), 1)
    test.assertLessEqual(abs((area[1] + area[3]) // 2 - (top + bottom) // 2), 1)


class Screenshot:
    """A 24-bit BMP the probe saved of a window, read in the window's client coordinates."""

    def __init__(self, path, window):
        data = path.read_bytes()
        offset, = struct.unpack_from("<I", data, 10)
        self.width, self.height = struct.unpack_from("<ii", data, 18)
        self._stride = (self.width * 3 + 3) // 4 * 4
        self._pixels = data[offset:]
        self._origin = (window["client_origin"][0] - window["rect"][0],
                        window["client_origin"][1] - window["rect"][1])

    def pixel(self, x, y):
        """(red, green, blue) at a point of the client area."""
        column, row = x + self._origin[0], y + self._origin[1]
        at = (self.height - 1 - row) * self._stride + column * 3  # rows are stored bottom up
        blue, green, red = self._pixels[at:at + 3]
        return red, green, blue

    def colours(self, rect):
        """{colour: pixel count} inside a client rectangle [left, top, right, bottom]."""
        counts = {}
        for y in range(rect[1], rect[3]):
            for x in range(rect[0], rect[2]):
                colour = self.pixel(x, y)
                counts[colour] = counts.get(colour, 0) + 1
        return counts
