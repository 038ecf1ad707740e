"""PNG pictures for the icon answers and the image fault modes."""
import struct
import zlib

_cache = {}


def _chunk(tag, body):
    return (struct.pack(">I", len(body)) + tag + body +
            struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF))


def solid_png(width, height, rgba):
    """A width x height PNG of one RGBA colour (8-bit RGBA, filter 0).

    Large pictures stay small on the wire (their rows compress to almost
    nothing) but cost their full size to decode.
    """
    key = (width, height, bytes(rgba))
    if key in _cache:
        return _cache[key]
    row = b"\x00" + bytes(rgba) * width
    packer = zlib.compressobj(9)
    parts = [packer.compress(row) for _ in range(height)]
    parts.append(packer.flush())
    png = (b"\x89PNG\r\n\x1a\n" +
           _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
           _chunk(b"IDAT", b"".join(parts)) + _chunk(b"IEND", b""))
    if len(_cache) > 64:
        _cache.clear()
    _cache[key] = png
    return png
