#!/usr/bin/env python3
"""Writes the archive fixtures of the extraction tests: for each kind (zip, cab, rar, 7z) one
archive whose entries try to leave the folder they are extracted into, between two harmless
entries. Cabinets and RAR archives are written by hand here (stored entries, no compression),
as no writer for them ships with Debian; 7z archives come from the 7-Zip program.

The bombs: one archive of each kind that unpacks to 1 GiB of zeros (the RAR one, stored, only
says so in its header).

Run from this folder: python3 make_archives.py"""
import os
import shutil
import struct
import subprocess
import tempfile
import zipfile
import zlib

HOSTILE = ["../x1.txt", "..\\x2.txt", "/abs3.txt", "C:\\x4.txt", "\\\\server\\share\\x5.txt",
           "a/../../x6.txt"]
FIRST = ("first/a.txt", b"first entry\n")
LAST = ("last.txt", b"last entry\n")


def payload(name):
    return ("escaped through " + name + "\n").encode()


def write_zip():
    with zipfile.ZipFile("hostile.zip", "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr(zipfile.ZipInfo(FIRST[0], (2020, 1, 2, 3, 4, 6)), FIRST[1])
        for name in HOSTILE:
            info = zipfile.ZipInfo(name, (2020, 1, 2, 3, 4, 6))
            info.create_system = 0
            archive.writestr(info, payload(name))
        link = zipfile.ZipInfo("link7", (2020, 1, 2, 3, 4, 6))
        link.create_system = 3
        link.external_attr = 0o120777 << 16
        archive.writestr(link, "/etc")
        archive.writestr(zipfile.ZipInfo("link7/x8.txt", (2020, 1, 2, 3, 4, 6)), payload("link7/x8.txt"))
        archive.writestr(zipfile.ZipInfo(LAST[0], (2020, 1, 2, 3, 4, 6)), LAST[1])


def cab_bytes(entries):
    """A cabinet with one folder of stored data: header, folder, files, one data block."""
    data = b"".join(content for _, content in entries)
    files = b""
    offset = 0
    for name, content in entries:
        files += struct.pack("<IIHHHH", len(content), offset, 0, 0x5021, 0x1882, 0x20)
        files += name.encode("latin-1") + b"\0"
        offset += len(content)
    header_size = 36
    folder_size = 8
    files_offset = header_size + folder_size
    data_offset = files_offset + len(files)
    block = struct.pack("<IHH", 0, len(data), len(data)) + data
    total = data_offset + len(block)
    header = b"MSCF" + struct.pack("<IIIIIBBHHHHH", 0, total, 0, files_offset, 0, 3, 1, 1,
                                   len(entries), 0, 0x1234, 0)
    folder = struct.pack("<IHH", data_offset, 1, 0)
    return header + folder + files + block


def write_cab():
    entries = [("first\\a.txt", FIRST[1])]
    entries += [(name, payload(name)) for name in HOSTILE]
    entries.append((LAST[0], LAST[1]))
    with open("hostile.cab", "wb") as out:
        out.write(cab_bytes(entries))


def rar_block(head_type, flags, body):
    size = 7 + len(body)
    rest = struct.pack("<BHH", head_type, flags, size) + body
    return struct.pack("<H", zlib.crc32(rest) & 0xFFFF) + rest


def rar_file(name, content, host=2, attributes=0x20, unpacked=None):
    """A stored entry; `unpacked` is the size its header claims, when not its own."""
    raw = name.encode("latin-1")
    unpacked = len(content) if unpacked is None else unpacked
    body = struct.pack("<IIBIIBBHI", len(content), unpacked, host, zlib.crc32(content),
                       0x5021_1882, 20, 0x30, len(raw), attributes) + raw
    return rar_block(0x74, 0x8000, body) + content


def save_rar(path, files):
    """A RAR 4 archive of the entries given, each made by rar_file."""
    out = b"Rar!\x1a\x07\x00" + rar_block(0x73, 0, struct.pack("<HI", 0, 0))
    out += b"".join(files) + rar_block(0x7B, 0x4000, b"")
    with open(path, "wb") as archive:
        archive.write(out)


def write_rar():
    files = [rar_file("first\\a.txt", FIRST[1])]
    files += [rar_file(name, payload(name)) for name in HOSTILE]
    files.append(rar_file("link7", b"/etc", host=3, attributes=0o120777))
    files.append(rar_file("link7/x8.txt", payload("link7/x8.txt"), host=3, attributes=0o100644))
    files.append(rar_file(LAST[0], LAST[1]))
    save_rar("hostile.rar", files)


def write_7z():
    work = tempfile.mkdtemp()
    try:
        inner = os.path.join(work, "a", "b")
        os.makedirs(os.path.join(inner, "first"))
        with open(os.path.join(inner, "first", "a.txt"), "wb") as f:
            f.write(FIRST[1])
        with open(os.path.join(inner, LAST[0]), "wb") as f:
            f.write(LAST[1])
        with open(os.path.join(work, "a", "x1.txt"), "wb") as f:
            f.write(payload("../x1.txt"))
        os.symlink("/etc", os.path.join(inner, "link7"))
        target = os.path.abspath("hostile.7z")
        if os.path.exists(target):
            os.remove(target)
        subprocess.run(["7zz", "a", "-spf", "-snl", target, "first/a.txt", "../x1.txt",
                        os.path.join(work, "a", "x1.txt"), "link7", LAST[0]],
                       cwd=inner, check=True, stdout=subprocess.DEVNULL)
    finally:
        shutil.rmtree(work)


def write_plain_7z():
    """A 7z package as vendors ship them: a folder of driver files, no links."""
    work = tempfile.mkdtemp()
    try:
        os.makedirs(os.path.join(work, "drv"))
        with open(os.path.join(work, "drv", "plain.inf"), "wb") as f:
            f.write(b"[Version]\r\nSignature=\"$Windows NT$\"\r\n")
        with open(os.path.join(work, "readme.txt"), "wb") as f:
            f.write(b"plain package\n")
        target = os.path.abspath("plain.7z")
        if os.path.exists(target):
            os.remove(target)
        subprocess.run(["7zz", "a", target, "drv", "readme.txt"], cwd=work, check=True, stdout=subprocess.DEVNULL)
    finally:
        shutil.rmtree(work)


BOMB_SIZE = 1 << 30
MIB = b"\0" * (1 << 20)


def write_zip_bomb():
    with zipfile.ZipFile("bomb.zip", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        archive.writestr(zipfile.ZipInfo("readme.txt", (2020, 1, 2, 3, 4, 6)), b"a harmless entry before the bomb\n")
        info = zipfile.ZipInfo("zeros.bin", (2020, 1, 2, 3, 4, 6))
        info.compress_type = zipfile.ZIP_DEFLATED
        with archive.open(info, "w", force_zip64=True) as out:
            for _ in range(BOMB_SIZE // len(MIB)):
                out.write(MIB)


def write_cab_bomb():
    """MSZIP blocks of 32 KiB of zeros each, every block deflated on its own."""
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    block_data = b"CK" + compressor.compress(b"\0" * 32768) + compressor.flush()
    count = BOMB_SIZE // 32768
    name = b"zeros.bin\0"
    header_size, folder_size = 36, 8
    files = struct.pack("<IIHHHH", BOMB_SIZE, 0, 0, 0x5021, 0x1882, 0x20) + name
    data_offset = header_size + folder_size + len(files)
    block = struct.pack("<IHH", 0, len(block_data), 32768) + block_data
    total = data_offset + len(block) * count
    header = b"MSCF" + struct.pack("<IIIIIBBHHHHH", 0, total, 0, header_size + folder_size, 0, 3, 1, 1,
                                   1, 0, 0x1234, 0)
    folder = struct.pack("<IHH", data_offset, count, 1)
    with open("bomb.cab", "wb") as out:
        out.write(header + folder + files + block * count)


def write_rar_bomb():
    save_rar("bomb.rar", [rar_file("readme.txt", b"a harmless entry before the bomb\n"),
                          rar_file("zeros.bin", b"not a gigabyte", unpacked=BOMB_SIZE)])


def write_7z_bomb():
    work = tempfile.mkdtemp()
    try:
        with open(os.path.join(work, "zeros.bin"), "wb") as f:
            for _ in range(BOMB_SIZE // len(MIB)):
                f.write(MIB)
        target = os.path.abspath("bomb.7z")
        if os.path.exists(target):
            os.remove(target)
        subprocess.run(["7zz", "a", "-mx=9", target, "zeros.bin"], cwd=work, check=True, stdout=subprocess.DEVNULL)
    finally:
        shutil.rmtree(work)


def write_bombs():
    write_zip_bomb()
    write_cab_bomb()
    write_rar_bomb()
    write_7z_bomb()


if __name__ == "__main__":
    write_zip()
    write_cab()
    write_rar()
    write_7z()
    write_plain_7z()
    write_bombs()
