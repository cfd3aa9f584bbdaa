#!/usr/bin/env python3
"""Writes a given package code and time into the summary information of an
installer database, in place.

wixl gives every database a random package code (the summary's revision
number) and the current time as its creation and last-saved dates, so two
builds of the same sources differ. This rewrites those three values in the
"\\x05SummaryInformation" stream of the compound file, where they keep their
sizes (a 38-character code, two FILETIMEs), so nothing else in the file
moves. It reads the compound file's header, FAT, directory and mini stream
to find the bytes; anything it does not expect stops it.

  msi_summary.py --package-code {GUID} --time EPOCH FILE.msi
"""

import argparse
import re
import struct
import sys

SIGNATURE = bytes.fromhex("d0cf11e0a1b11ae1")
END_OF_CHAIN = 0xFFFFFFFE
FREE_SECTOR = 0xFFFFFFFF
DIFAT_SECTOR = 0xFFFFFFFC

VT_LPSTR = 30
VT_FILETIME = 64
PID_REVNUMBER = 9
PID_CREATE_DTM = 12
PID_LASTSAVE_DTM = 13

# 100-ns intervals between 1601-01-01 and 1970-01-01.
FILETIME_UNIX_EPOCH = 116444736000000000


class CompoundFile:
    """The sector layout of a compound file: which file offsets hold each byte
    of a named stream."""

    def __init__(self, data):
        if data[:8] != SIGNATURE:
            raise SystemExit("msi_summary: not a compound file")
        self.data = data
        sector_shift, mini_shift = struct.unpack_from("<HH", data, 0x1E)
        self.sector_size = 1 << sector_shift
        self.mini_size = 1 << mini_shift
        (fat_count, self.first_directory, _, self.mini_cutoff,
         first_minifat, minifat_count, first_difat, difat_count) = \
            struct.unpack_from("<IIIIIIII", data, 0x2C)

        fat_sectors = list(struct.unpack_from("<109I", data, 0x4C))
        sector = first_difat
        for _ in range(difat_count):
            entries = struct.unpack_from(f"<{self.sector_size // 4}I", data, self.offset(sector))
            fat_sectors.extend(entries[:-1])
            sector = entries[-1]
        fat_sectors = [s for s in fat_sectors[:fat_count] if s not in (FREE_SECTOR, DIFAT_SECTOR)]
        self.fat = []
        for s in fat_sectors:
            self.fat.extend(struct.unpack_from(f"<{self.sector_size // 4}I", data, self.offset(s)))

        self.minifat = []
        if minifat_count:
            for s in self.chain(first_minifat):
                self.minifat.extend(struct.unpack_from(f"<{self.sector_size // 4}I", data, self.offset(s)))

        self.entries = {}
        directory = b"".join(self.sector(s) for s in self.chain(self.first_directory))
        for start in range(0, len(directory), 128):
            entry = directory[start:start + 128]
            name_length = struct.unpack_from("<H", entry, 0x40)[0]
            kind = entry[0x42]
            if kind == 0 or name_length < 2:
                continue
            name = entry[:name_length - 2].decode("utf-16-le")
            first, size = struct.unpack_from("<IQ", entry, 0x74)
            if self.sector_size == 512:
                size &= 0xFFFFFFFF
            self.entries.setdefault(name, (kind, first, size))
        root = [value for value in self.entries.values() if value[0] == 5]
        if len(root) != 1:
            raise SystemExit("msi_summary: the compound file has no root entry")
        self.mini_stream = [self.offset(s) for s in self.chain(root[0][1])]

    def offset(self, sector):
        return (sector + 1) * self.sector_size

    def sector(self, sector):
        start = self.offset(sector)
        return self.data[start:start + self.sector_size]

    def chain(self, first, table=None):
        table = self.fat if table is None else table
        sectors = []
        sector = first
        while sector != END_OF_CHAIN:
            if sector >= len(table) or len(sectors) > len(table):
                raise SystemExit("msi_summary: broken sector chain")
            sectors.append(sector)
            sector = table[sector]
        return sectors

    def stream_offsets(self, name):
        """The file offset of every byte of the stream, in order."""
        if name not in self.entries:
            raise SystemExit(f"msi_summary: no stream {name!r}")
        kind, first, size = self.entries[name]
        offsets = []
        if size < self.mini_cutoff:
            per_sector = self.sector_size // self.mini_size
            for mini in self.chain(first, self.minifat):
                base = self.mini_stream[mini // per_sector] + (mini % per_sector) * self.mini_size
                offsets.extend(range(base, base + self.mini_size))
        else:
            for sector in self.chain(first):
                base = self.offset(sector)
                offsets.extend(range(base, base + self.sector_size))
        if len(offsets) < size:
            raise SystemExit(f"msi_summary: stream {name!r} is shorter than its size")
        return offsets[:size]


def property_offsets(stream):
    """Where each property's value starts in the summary stream, by id, with
    its type."""
    count = struct.unpack_from("<I", stream, 24)[0]
    if count < 1:
        raise SystemExit("msi_summary: the summary has no property section")
    section = struct.unpack_from("<I", stream, 28 + 16)[0]
    _, properties = struct.unpack_from("<II", stream, section)
    found = {}
    for index in range(properties):
        pid, offset = struct.unpack_from("<II", stream, section + 8 + 8 * index)
        kind = struct.unpack_from("<I", stream, section + offset)[0]
        found[pid] = (kind, section + offset + 4)
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--package-code", required=True)
    parser.add_argument("--time", type=int, required=True)
    parser.add_argument("msi")
    args = parser.parse_args()

    code = args.package_code.upper()
    if not re.fullmatch(r"\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\}", code):
        raise SystemExit(f"msi_summary: {args.package_code} is not a braced GUID")
    filetime = FILETIME_UNIX_EPOCH + args.time * 10_000_000

    with open(args.msi, "rb") as file:
        data = bytearray(file.read())
    layout = CompoundFile(bytes(data))
    offsets = layout.stream_offsets("\x05SummaryInformation")
    stream = bytearray(data[o] for o in offsets)
    properties = property_offsets(bytes(stream))

    def write(at, value):
        for index, byte in enumerate(value):
            stream[at + index] = byte

    kind, at = properties.get(PID_REVNUMBER, (None, 0))
    text = code.encode("ascii") + b"\0"
    if kind != VT_LPSTR or struct.unpack_from("<I", stream, at)[0] != len(text):
        raise SystemExit("msi_summary: the revision number is not a 38-character string")
    write(at + 4, text)
    for pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM):
        kind, at = properties.get(pid, (None, 0))
        if kind != VT_FILETIME:
            raise SystemExit(f"msi_summary: property {pid} is not a date")
        write(at, struct.pack("<Q", filetime))

    for offset, byte in zip(offsets, stream):
        data[offset] = byte
    with open(args.msi, "r+b") as file:
        file.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
