"""PNG files made on the spot for the soak: every colour type and bit depth, interlaced or not, with or without
transparency (tRNS) or a palette, and broken ones (bad CRC, truncated IDAT, huge ancillary chunks, lying sizes).

Scanline bytes are drawn at random behind random filter bytes 0 to 4: every such stream is a valid filtered
image, so a valid file needs no filtering of our own and costs little to make at any size.
"""
import struct
import zlib

# Colour type: allowed bit depths and samples per pixel.
COLOUR_TYPES = {0: ((1, 2, 4, 8, 16), 1), 2: ((8, 16), 3), 3: ((1, 2, 4, 8), 1), 4: ((8, 16), 2), 6: ((8, 16), 4)}
# Every valid combination: (colour type, bit depth, interlaced, with tRNS). tRNS exists for types 0, 2 and 3 only.
KINDS = [(ct, depth, interlaced, trns)
         for ct, (depths, _) in sorted(COLOUR_TYPES.items()) for depth in depths
         for interlaced in (False, True) for trns in ((False, True) if ct in (0, 2, 3) else (False,))]
BREAKAGES = ["bad CRC", "truncated IDAT", "huge ancillary chunk", "ancillary chunk lying about its length",
             "no IDAT", "IDAT of garbage", "cut file", "IHDR zero size", "IHDR huge size", "IHDR bad depth",
             "palette missing", "palette of 300 entries", "trailing junk", "no IEND"]
# Adam7: (first column, first row, column step, row step) of each pass.
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def chunk(kind, data, crc=None):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) if crc is None else crc)


def row_bytes(width, colour_type, depth):
    return (width * COLOUR_TYPES[colour_type][1] * depth + 7) // 8


def scanlines(rng, width, height, colour_type, depth, interlaced):
    """The raw (filtered) image data: per scanline a filter byte and the line's bytes."""
    def lines(w, h):
        out = bytearray()
        size = row_bytes(w, colour_type, depth)
        # A few random lines repeated keep large pictures cheap to make.
        pool = [bytes([rng.randrange(5)]) + rng.randbytes(size) for _ in range(min(h, 8))]
        for _ in range(h):
            out += rng.choice(pool)
        return out
    if not interlaced:
        return bytes(lines(width, height))
    out = bytearray()
    for x0, y0, dx, dy in ADAM7:
        w, h = (width - x0 + dx - 1) // dx, (height - y0 + dy - 1) // dy
        if w > 0 and h > 0:
            out += lines(w, h)
    return bytes(out)


def make_png(rng, width, height, colour_type, depth, interlaced=False, trns=False):
    """A valid PNG of the given kind; pixel values at random."""
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, int(interlaced)))
    if colour_type == 3:
        entries = 1 << depth
        out += chunk(b"PLTE", rng.randbytes(3 * entries))
        if trns:
            out += chunk(b"tRNS", rng.randbytes(rng.randint(1, entries)))
    elif trns and colour_type == 0:
        out += chunk(b"tRNS", struct.pack(">H", rng.randrange(1 << depth)))
    elif trns and colour_type == 2:
        out += chunk(b"tRNS", struct.pack(">HHH", *(rng.randrange(1 << depth) for _ in range(3))))
    if rng.random() < 0.3:
        out += chunk(b"tEXt", b"Comment\0made for the soak")
    data = zlib.compress(scanlines(rng, width, height, colour_type, depth, interlaced), rng.choice([0, 1, 6, 9]))
    # Image data split over one or more IDAT chunks, as encoders do.
    pieces = rng.choice([1, 1, 2, 5])
    step = max(1, len(data) // pieces + 1)
    for i in range(0, len(data), step):
        out += chunk(b"IDAT", data[i:i + step])
    return out + chunk(b"IEND", b"")


def split_chunks(png):
    """The chunks of a PNG as (kind, data) pairs."""
    chunks, at = [], 8
    while at + 8 <= len(png):
        length, kind = struct.unpack(">I4s", png[at:at + 8])
        chunks.append((kind, png[at + 8:at + 8 + length]))
        at += 12 + length
    return chunks


def join_chunks(chunks):
    return b"\x89PNG\r\n\x1a\n" + b"".join(chunk(kind, data) for kind, data in chunks)


def break_png(rng, png, how):
    """A valid PNG damaged in one way."""
    chunks = split_chunks(png)
    idats = [i for i, (kind, _) in enumerate(chunks) if kind == b"IDAT"]
    if how == "bad CRC":
        i = rng.randrange(len(chunks))
        good = join_chunks(chunks[:i])
        kind, data = chunks[i]
        return good + chunk(kind, data, crc=zlib.crc32(kind + data) ^ 0x5A5A) + join_chunks(chunks[i + 1:])[8:]
    if how == "truncated IDAT":
        stream = b"".join(chunks[i][1] for i in idats)
        cut = stream[:rng.randint(0, max(0, len(stream) - 1))]
        rest = [c for c in chunks if c[0] != b"IDAT"]
        return join_chunks(rest[:-1] + [(b"IDAT", cut)] + rest[-1:])
    if how == "huge ancillary chunk":
        # Several megabytes of private data before the image data.
        big = (b"zzPr", rng.randbytes(1 << 12) * rng.randint(256, 2048))
        return join_chunks(chunks[:1] + [big] + chunks[1:])
    if how == "ancillary chunk lying about its length":
        lie = struct.pack(">I", rng.choice([0x7FFFFFFF, 0xFFFFFFF0, 1 << 30])) + b"tEXt" + b"Comment\0short"
        head = join_chunks(chunks[:1])
        return head + lie + join_chunks(chunks[1:])[8:]
    if how == "no IDAT":
        return join_chunks([c for c in chunks if c[0] != b"IDAT"])
    if how == "IDAT of garbage":
        rest = [c for c in chunks if c[0] != b"IDAT"]
        return join_chunks(rest[:-1] + [(b"IDAT", rng.randbytes(rng.randint(1, 5000)))] + rest[-1:])
    if how == "cut file":
        return png[:rng.randint(8, len(png) - 1)]
    if how in ("IHDR zero size", "IHDR huge size", "IHDR bad depth"):
        width, height, depth, colour_type, c, f, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
        if how == "IHDR zero size":
            width, height = rng.choice([(0, height), (width, 0), (0, 0)])
        elif how == "IHDR huge size":
            width, height = rng.choice([(0x7FFFFFFF, 1), (1, 0x7FFFFFFF), (100000, 100000), (0xFFFFFFFF, 0xFFFFFFFF)])
        else:
            depth = rng.choice([0, 3, 5, 7, 32, 255])
        ihdr = (b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, c, f, interlace))
        return join_chunks([ihdr] + chunks[1:])
    if how == "palette missing":
        return join_chunks([c for c in chunks if c[0] != b"PLTE"])
    if how == "palette of 300 entries":
        rest = [c for c in chunks if c[0] != b"PLTE"]
        return join_chunks(rest[:1] + [(b"PLTE", rng.randbytes(900))] + rest[1:])
    if how == "trailing junk":
        return png + rng.randbytes(rng.randint(1, 10000))
    if how == "no IEND":
        return join_chunks(chunks[:-1])
    raise ValueError(how)


def picture(rng, kind_index, width, height, breakage=None):
    """The kind_index'th kind of KINDS (taken modulo their number) at the given size, damaged when breakage is
    given. Returns (bytes, a short description)."""
    colour_type, depth, interlaced, trns = KINDS[kind_index % len(KINDS)]
    png = make_png(rng, width, height, colour_type, depth, interlaced, trns)
    name = "type %d/%d-bit%s%s %dx%d" % (colour_type, depth, " interlaced" if interlaced else "",
                                         " tRNS" if trns else "", width, height)
    if breakage:
        png = break_png(rng, png, breakage)
        name += " " + breakage
    return png, name
