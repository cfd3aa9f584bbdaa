#!/usr/bin/python3
"""Writes a given package code and time into the summary information of an
installer database, in place.

wixl gives every database a random package code (the summary's revision
number) and the current time as its creation and last-saved dates, so two
builds of the same sources differ. This rewrites those three values in the
"\\x05SummaryInformation" stream, where they keep their sizes (a
38-character code, two FILETIMEs): olefile (python3-olefile) replaces the
stream in place, so nothing else in the file moves. Anything it does not
expect stops it.

  msi_summary.py --package-code {GUID} --time EPOCH FILE.msi
"""

import argparse
import re
import struct
import sys

try:
    import olefile
except ImportError:
    raise SystemExit("msi_summary: needs olefile: apt-get install python3-olefile")

STREAM = "\x05SummaryInformation"
VT_LPSTR = 30
VT_FILETIME = 64
PID_REVNUMBER = 9
PID_CREATE_DTM = 12
PID_LASTSAVE_DTM = 13

# 100-ns intervals between 1601-01-01 and 1970-01-01.
FILETIME_UNIX_EPOCH = 116444736000000000


def property_values(stream):
    """Where each property's value starts in the first section of a property
    set stream, by id, with its type."""
    sections = struct.unpack_from("<I", stream, 24)[0]
    if sections < 1:
        raise SystemExit("msi_summary: the summary has no property section")
    section = struct.unpack_from("<I", stream, 28 + 16)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    found = {}
    for index in range(count):
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
    filetime = struct.pack("<Q", FILETIME_UNIX_EPOCH + args.time * 10_000_000)

    with olefile.OleFileIO(args.msi, write_mode=True) as msi:
        stream = bytearray(msi.openstream(STREAM).read())
        values = property_values(stream)

        kind, at = values.get(PID_REVNUMBER, (None, 0))
        text = code.encode("ascii") + b"\0"
        if kind != VT_LPSTR or struct.unpack_from("<I", stream, at)[0] != len(text):
            raise SystemExit("msi_summary: the revision number is not a 38-character string")
        stream[at + 4:at + 4 + len(text)] = text
        for pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM):
            kind, at = values.get(pid, (None, 0))
            if kind != VT_FILETIME:
                raise SystemExit(f"msi_summary: property {pid} is not a date")
            stream[at:at + 8] = filetime
        msi.write_stream(STREAM, bytes(stream))
    return 0


if __name__ == "__main__":
    sys.exit(main())
