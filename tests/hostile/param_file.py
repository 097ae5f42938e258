"""The characters' state files (.param): UTF-16 text scrambled with the engine's random
generator, named after the character's folder."""

SCRAMBLE_SEED = 51738264


class MRand:
    """The engine's random generator: x[n] = x[n-521] ^ x[n-32] over 32-bit words."""

    def __init__(self, seed):
        words = [0] * 521
        s, u = seed, 0
        for i in range(17):
            for _ in range(32):
                s = (s * 1566083941 + 1) & 0xFFFFFFFF
                u = (u >> 1) | (s & 0x80000000)
            words[i] = u
        words[16] = ((words[16] << 23) & 0xFFFFFFFF) ^ (words[0] >> 9) ^ words[15]
        for i in range(17, 521):
            words[i] = ((words[i - 17] << 23) & 0xFFFFFFFF) ^ (words[i - 16] >> 9) ^ words[i - 1]
        self.words = words
        for _ in range(3):
            self.regenerate()
        self.index = 520

    def regenerate(self):
        w = self.words
        for i in range(32):
            w[i] ^= w[i + 521 - 32]
        for i in range(32, 521):
            w[i] ^= w[i - 32]

    def next(self):
        self.index += 1
        if self.index >= 521:
            self.regenerate()
            self.index = 0
        return self.words[self.index]


def scrambled(units):
    stream = MRand(SCRAMBLE_SEED)
    return [u ^ ((stream.next() * 255) >> 32) for u in units]


def encode_param(text):
    """The bytes of a .param file holding `text` ("key=value," items)."""
    data = text.encode("utf-16-le")
    units = scrambled([data[i] | data[i + 1] << 8 for i in range(0, len(data), 2)] + [0])
    return bytes(b for u in units for b in (u & 0xFF, u >> 8))


def decode_param(data):
    """The text of a .param file, or None when it is not one."""
    if len(data) % 2:
        return None
    units = scrambled([data[i] | data[i + 1] << 8 for i in range(0, len(data), 2)])
    if 0 not in units:
        return None
    units = units[: units.index(0)]
    return bytes(b for u in units for b in (u & 0xFF, u >> 8)).decode("utf-16-le", "replace")


def param_file_name(folder):
    """The state file's name: the folder's, with what a file name cannot hold as %XX."""
    return "".join(f"%{ord(c):02X}" if ord(c) < 32 or c in '\\/:*?"<>|' else c for c in folder) + ".param"
