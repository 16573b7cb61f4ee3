#!/usr/bin/env python3
"""Writes the RAR fixtures of real-world shapes, by hand from the RAR 4 and RAR 5 format
descriptions, as no RAR writer ships with Debian: multi-volume sets in both namings (RAR 4
"name.rar, name.r00, ..." and "name.partN.rar"; RAR 5 "name.partN.rar"), solid and not, with
an entry split over every volume and names in Japanese and Chinese script; names of MS-DOS
text; and an archive whose entry holds fewer bytes than its header says. Entries are stored (no compression).

Run from this folder: python3 make_rar_sets.py"""
import struct
import zlib

SPLIT = bytes((i * 7 + 3) % 251 for i in range(600))  # the entry cut over the volumes
INF = b"[Version]\r\nSignature=\"$Windows NT$\"\r\n"
CJK_INF = "日本語/ドライバ.inf"
CJK_CAT = "驱动程序/设备.cat"


# RAR 4 ---------------------------------------------------------------------------------

def rar4_block(head_type, flags, body):
    rest = struct.pack("<BHH", head_type, flags, 7 + len(body)) + body
    return struct.pack("<H", zlib.crc32(rest) & 0xFFFF) + rest


def rar4_name(name):
    """The name field and flags: plain MS-DOS text (IBM 437), or RAR's Unicode form (an ASCII
    stand-in, a zero byte, then every character as two bytes)."""
    try:
        return name.encode("cp437"), 0
    except UnicodeEncodeError:
        units = name.encode("utf-16-le")
        encoded = bytearray(b"\x00")  # the high byte of the short forms, unused here
        for i in range(0, len(units) // 2, 4):
            chars = units[i * 2:(i + 4) * 2]
            count = len(chars) // 2
            encoded.append(sum(2 << (6 - 2 * k) for k in range(count)))
            encoded += chars
        ascii_name = name.encode("ascii", "replace")
        return ascii_name + b"\x00" + bytes(encoded), 0x200


def rar4_file(name, part, crc, unpacked, flags=0, solid=False):
    raw, name_flags = rar4_name(name.replace("/", "\\"))  # RAR 4 separates with backslashes
    body = struct.pack("<IIBIIBBHI", len(part), unpacked, 2, crc, 0x5021_1882, 29, 0x30, len(raw), 0x20) + raw
    return rar4_block(0x74, 0x8000 | flags | name_flags | (0x10 if solid else 0), body) + part


def rar4_volumes(entries, new_numbering, solid):
    """Volumes of a RAR 4 set; entries are (name, content, volumes it spreads over). In a
    solid set every file after the first is marked solid."""
    volumes = []
    count = max(last for _, _, (first, last) in entries) + 1
    for v in range(count):
        flags = 0x0001 | (0x0010 if new_numbering else 0) | (0x0100 if v == 0 else 0) | (0x0008 if solid else 0)
        out = b"Rar!\x1a\x07\x00" + rar4_block(0x73, flags, struct.pack("<HI", 0, 0))
        for index, (name, content, (first, last)) in enumerate(entries):
            if not first <= v <= last:
                continue
            parts = last - first + 1
            size = -(-len(content) // parts)
            piece = content[(v - first) * size:(v - first + 1) * size]
            split = (0x01 if v > first else 0) | (0x02 if v < last else 0)
            crc = zlib.crc32(content if v == last else piece)
            out += rar4_file(name, piece, crc, len(content), split, solid and index > 0)
        out += rar4_block(0x7B, 0x4000 | (0x0001 if v < count - 1 else 0), b"")
        volumes.append(out)
    return volumes


# RAR 5 ---------------------------------------------------------------------------------

def vint(value):
    out = bytearray()
    while True:
        byte = value & 0x7F
        value >>= 7
        out.append(byte | (0x80 if value else 0))
        if not value:
            return bytes(out)


def rar5_header(head_type, flags, fields, data_size=None):
    body = vint(head_type) + vint(flags | (0x0002 if data_size is not None else 0))
    if data_size is not None:
        body += vint(data_size)
    body += fields
    sized = vint(len(body)) + body
    return struct.pack("<I", zlib.crc32(sized)) + sized


def rar5_file(name, piece, crc, unpacked, split_flags):
    raw = name.encode("utf-8")
    compression = 0  # version 0, store
    fields = vint(0x0004) + vint(unpacked) + vint(0x20) + struct.pack("<I", crc)
    fields += vint(compression) + vint(0) + vint(len(raw)) + raw
    return rar5_header(2, split_flags, fields, len(piece)) + piece


def rar5_volumes(entries, solid):
    """Volumes of a RAR 5 set. A solid set is marked solid in its archive header; its entries,
    being stored, keep no dictionary and are not marked."""
    volumes = []
    count = max(last for _, _, (first, last) in entries) + 1
    for v in range(count):
        flags = 0x0001 | (0x0002 if v > 0 else 0) | (0x0004 if solid else 0)
        fields = vint(flags) + (vint(v) if v > 0 else b"")
        out = b"Rar!\x1a\x07\x01\x00" + rar5_header(1, 0, fields)
        for name, content, (first, last) in entries:
            if not first <= v <= last:
                continue
            parts = last - first + 1
            size = -(-len(content) // parts)
            piece = content[(v - first) * size:(v - first + 1) * size]
            split = (0x0008 if v > first else 0) | (0x0010 if v < last else 0)
            crc = zlib.crc32(content if v == last else piece)
            out += rar5_file(name, piece, crc, len(content), split)
        out += rar5_header(5, 0, vint(0x0001 if v < count - 1 else 0))
        volumes.append(out)
    return volumes


# Every volume is longer than 512 bytes, as real volumes are (libarchive looks that far ahead
# for the next volume's signature).
ENTRIES = [("a.inf", INF, (0, 0)), ("x64/driver.sys", SPLIT * 2, (0, 2)), (CJK_INF, INF, (2, 2)),
           (CJK_CAT, b"catalog " * 80, (2, 2))]


def save(names, volumes):
    for name, volume in zip(names, volumes):
        with open(name, "wb") as out:
            out.write(volume)


def main():
    save(["set4.rar", "set4.r00", "set4.r01"], rar4_volumes(ENTRIES, False, False))
    save(["set4n.part1.rar", "set4n.part2.rar", "set4n.part3.rar"], rar4_volumes(ENTRIES, True, False))
    save(["solid4.part1.rar", "solid4.part2.rar", "solid4.part3.rar"], rar4_volumes(ENTRIES, True, True))
    save(["set5.part1.rar", "set5.part2.rar", "set5.part3.rar"], rar5_volumes(ENTRIES, False))
    save(["set5s.part01.rar", "set5s.part02.rar", "set5s.part03.rar"], rar5_volumes(ENTRIES, True))
    # The header says 200 bytes; 120 follow, with the CRC of those 120.
    short = b"Rar!\x1a\x07\x00" + rar4_block(0x73, 0, struct.pack("<HI", 0, 0))
    short += rar4_file("short.sys", SPLIT[:120], zlib.crc32(SPLIT[:120]), 200)
    short += rar4_block(0x7B, 0x4000, b"")
    save(["short.rar"], [short])
    # Names of MS-DOS text, without the Unicode form: "café.inf" and "Ñ\x64\ä.sys".
    oem = b"Rar!\x1a\x07\x00" + rar4_block(0x73, 0, struct.pack("<HI", 0, 0))
    for name in ("café.inf", "Ñ/x64/ä.sys"):
        oem += rar4_file(name, INF, zlib.crc32(INF), len(INF))
    oem += rar4_block(0x7B, 0x4000, b"")
    save(["oem.rar"], [oem])


if __name__ == "__main__":
    main()
