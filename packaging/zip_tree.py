#!/usr/bin/env python3
"""Packs the files below a folder into a zip whose bytes depend only on the
files' relative names and contents.

Every entry gets the same date (SOURCE_DATE_EPOCH, or --time), the same
owner-less Unix mode (0644) and no extra fields, and the entries are written
in the byte order of their names, so that the zip made from the same files
in another folder, at another time or under another umask is the same. The
folders are implied by the names and get no entries of their own.

  zip_tree.py [--time EPOCH] [--require NAME]... FOLDER OUTPUT.zip
"""

import argparse
import os
import sys
import time
import zipfile

# The oldest date a zip can hold.
ZIP_EPOCH = (1980, 1, 1, 0, 0, 0)


def entry_date(epoch):
    date = time.gmtime(epoch)[:6]
    return max(date, ZIP_EPOCH)


def files_below(folder):
    names = []
    for directory, subdirectories, files in os.walk(folder):
        subdirectories.sort()
        for name in files:
            path = os.path.join(directory, name)
            if os.path.islink(path) or not os.path.isfile(path):
                raise SystemExit(f"zip_tree: {path} is not a plain file")
            names.append(os.path.relpath(path, folder).replace(os.sep, "/"))
    return sorted(names, key=lambda name: name.encode("utf-8"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folder")
    parser.add_argument("output")
    parser.add_argument("--time", type=int, default=None,
                        help="the entries' date in seconds since 1970 (default: SOURCE_DATE_EPOCH)")
    parser.add_argument("--require", action="append", default=[],
                        help="a name that must be among the entries")
    args = parser.parse_args()

    epoch = args.time
    if epoch is None:
        if "SOURCE_DATE_EPOCH" not in os.environ:
            raise SystemExit("zip_tree: neither --time nor SOURCE_DATE_EPOCH is given")
        epoch = int(os.environ["SOURCE_DATE_EPOCH"])

    if not os.path.isdir(args.folder):
        raise SystemExit(f"zip_tree: {args.folder} is not a folder")
    names = files_below(args.folder)
    missing = [name for name in args.require if name not in names]
    if missing:
        raise SystemExit(f"zip_tree: {args.folder} lacks {', '.join(missing)}")

    date = entry_date(epoch)
    partial = args.output + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for name in names:
            entry = zipfile.ZipInfo(name, date_time=date)
            entry.create_system = 3  # Unix, so that the mode below is read
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(os.path.join(args.folder, name), "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)
    os.replace(partial, args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
