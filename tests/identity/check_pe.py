#!/usr/bin/env python3
"""Checks what Windows reads from Pyrel.exe before any of its code runs.

    check_pe.py Pyrel.exe --icon resources/pyrel.ico \
        --version-string CompanyName=Velmora --version-string ...

The file must be a 64-bit GUI program that imports system DLLs only (the
C++ runtime linked in statically), and carry the icon group and image in
the neutral language, the version information in English (United States)
with its fixed part, the given strings in the given order and one
translation, and a manifest asking for common controls 6 and per-monitor
DPI awareness. Each
row of the tables below is one check; every failing row is reported, and
the exit status is 1 if any failed. Needs python3-pefile.
"""

import argparse
import re
import struct
import sys
import xml.etree.ElementTree as ET

import pefile

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ICON_IMAGE_ID, ICON_GROUP_ID = 30001, 1
LANG_NEUTRAL, LANG_EN_US = 0x0000, 0x0409
STRING_TABLE = "040904B0"  # English (United States), UTF-16

# DLLs that every Windows 10 has; anything else (libstdc++-6.dll,
# libgcc_s_seh-1.dll, libwinpthread-1.dll, ...) would have to ship beside
# the program. Compared without case.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "ole32.dll",
    "oleaut32.dll", "oleacc.dll", "uxtheme.dll", "msvcrt.dll",
    "advapi32.dll", "shell32.dll",
}
SYSTEM_DLL_PATTERN = re.compile(r"api-ms-win-[a-z0-9-]+\.dll")

HEADER = [
    # (what, value read from the file, expected)
    ("machine is x86-64", lambda pe: pe.FILE_HEADER.Machine, 0x8664),
    ("optional header is PE32+", lambda pe: pe.OPTIONAL_HEADER.Magic, 0x20B),
    ("subsystem is Windows GUI", lambda pe: pe.OPTIONAL_HEADER.Subsystem, 2),
]

# The fixed part of the version information: (what, field, expected).
FIXED_FILE_INFO = [
    ("signature marks a fixed file info", "Signature", 0xFEEF04BD),
    ("structure version is 1.0", "StrucVersion", 0x00010000),
    ("file version is 1.0.0.0", ("FileVersionMS", "FileVersionLS"), (0x00010000, 0)),
    ("product version is 1.0.0.0", ("ProductVersionMS", "ProductVersionLS"), (0x00010000, 0)),
    ("no flag is declared valid or set", ("FileFlagsMask", "FileFlags"), (0, 0)),
    ("made for 32-bit Windows", "FileOS", 0x4),
    ("the file is an application, no subtype", ("FileType", "FileSubtype"), (0x1, 0)),
    ("no file date", ("FileDateMS", "FileDateLS"), (0, 0)),
]
TRANSLATION = "0x0409 0x04b0"  # English (United States), code page 1200

# What the manifest must say: (what, element's local name, attributes or
# text it must have).
MANIFEST = [
    ("depends on common controls 6", "assemblyIdentity",
     {"name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0"}),
    ("is per-monitor v2 DPI aware", "dpiAwareness", "PerMonitorV2"),
]


def local_name(tag):
    return tag.rsplit("}", 1)[-1]


def resources(pe):
    """{(type, id): {language: bytes}} for every resource of the file."""
    found = {}
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for rtype in root.entries if root else []:
        for rid in rtype.directory.entries:
            for lang in rid.directory.entries:
                entry = lang.data.struct
                data = pe.get_data(entry.OffsetToData, entry.Size)
                found.setdefault((rtype.id, rid.id), {})[lang.id] = data
    return found


def one_resource(found, rtype, rid, lang=None):
    """The data of a resource, or a reason why there is none to check."""
    langs = found.get((rtype, rid))
    if not langs:
        return None, f"no resource type {rtype} id {rid}"
    if lang is not None:
        if lang not in langs:
            return None, f"resource type {rtype} id {rid} has languages " \
                         f"{[hex(l) for l in langs]}, not {lang:#06x}"
        return langs[lang], None
    if len(langs) != 1:
        return None, f"resource type {rtype} id {rid} is there in {len(langs)} languages"
    return next(iter(langs.values())), None


def icon_pieces(ico_path):
    """The image and the group entry that the icon file's one image makes."""
    with open(ico_path, "rb") as f:
        ico = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", ico, 0)
    if reserved != 0 or kind != 1 or count != 1:
        raise SystemExit(f"{ico_path}: not an icon file with one image")
    entry = ico[6:18]  # width .. byte count, as in GRPICONDIRENTRY
    size, offset = struct.unpack_from("<II", ico, 14)
    image = ico[offset:offset + size]
    group = struct.pack("<HHH", 0, 1, 1) + entry + struct.pack("<H", ICON_IMAGE_ID)
    return image, group


def version_strings(pe):
    """{table name: [(key, value), ...]} and the translations from the
    parsed version resource."""
    tables, translations = {}, []
    for info in (pe.FileInfo[0] if getattr(pe, "FileInfo", None) else []):
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                tables[table.LangID.decode().upper()] = [
                    (k.decode(), v.decode()) for k, v in table.entries.items()]
        elif info.Key == b"VarFileInfo":
            translations += [value for var in info.Var for key, value in var.entry.items()
                             if key == b"Translation"]
    return tables, translations


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("exe")
    parser.add_argument("--icon", required=True, help="the .ico the program's icon comes from")
    parser.add_argument("--version-string", action="append", default=[], metavar="KEY=VALUE",
                        help="the version strings, in their order")
    args = parser.parse_args()
    expected_strings = [tuple(s.split("=", 1)) for s in args.version_string]
    if not expected_strings or any(len(s) != 2 for s in expected_strings):
        parser.error("--version-string KEY=VALUE, at least one")

    pe = pefile.PE(args.exe)
    failures = []

    def check(what, ok, detail=""):
        print(f"{'ok  ' if ok else 'FAIL'} {what}" + ("" if ok or not detail else f": {detail}"))
        if not ok:
            failures.append(what)

    for what, read, expected in HEADER:
        value = read(pe)
        check(what, value == expected, f"{value:#x}, expected {expected:#x}")

    imported = [entry.dll.decode() for attr in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT")
                for entry in getattr(pe, attr, [])]
    foreign = [dll for dll in imported
               if dll.lower() not in SYSTEM_DLLS and not SYSTEM_DLL_PATTERN.fullmatch(dll.lower())]
    check("imports system DLLs only", bool(imported) and not foreign,
          f"also {', '.join(foreign)}" if foreign else "no imports found")

    found = resources(pe)
    image, group = icon_pieces(args.icon)
    for what, rtype, rid, expected in [
        (f"icon image {ICON_IMAGE_ID} is the icon file's ({len(image)} bytes)", RT_ICON, ICON_IMAGE_ID, image),
        (f"icon group {ICON_GROUP_ID} names image {ICON_IMAGE_ID}", RT_GROUP_ICON, ICON_GROUP_ID, group),
    ]:
        data, missing = one_resource(found, rtype, rid, LANG_NEUTRAL)
        check(what + " in the neutral language", data == expected, missing or f"{len(data)} bytes that differ")

    data, missing = one_resource(found, RT_VERSION, 1, LANG_EN_US)
    check("version information 1 in English (United States)", data is not None, missing)
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    for what, fields, expected in FIXED_FILE_INFO:
        value = None
        if fixed is not None:
            value = tuple(getattr(fixed, f) for f in fields) if isinstance(fields, tuple) else getattr(fixed, fields)
        check(f"version information: {what}", value == expected, f"{value}, expected {expected}")
    tables, translations = version_strings(pe)
    check("version information: one string table", list(tables) == [STRING_TABLE], f"{list(tables)}")
    strings = tables.get(STRING_TABLE)
    check(f"version strings {STRING_TABLE} in order, no others", strings == expected_strings,
          f"{strings}, expected {expected_strings}")
    check("version information: one translation, English (United States) UTF-16",
          translations == [TRANSLATION], f"{translations}")

    data, missing = one_resource(found, RT_MANIFEST, 1)
    manifest = None
    if data is not None:
        try:
            manifest = ET.fromstring(data)
        except ET.ParseError as error:
            missing = f"not XML: {error}"
    check("manifest 1 is XML", manifest is not None, missing)
    for what, name, wanted in MANIFEST:
        elements = [e for e in (manifest.iter() if manifest is not None else []) if local_name(e.tag) == name]
        if isinstance(wanted, dict):
            ok = any(all(e.get(k) == v for k, v in wanted.items()) for e in elements)
        else:
            ok = any((e.text or "").strip() == wanted for e in elements)
        check(f"manifest {what}", ok, f"no <{name}> with {wanted}")

    if failures:
        print(f"{args.exe}: {len(failures)} check(s) failed", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
