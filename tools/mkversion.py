#!/usr/bin/env python3
"""mkversion.py OUT.bin MAJOR.MINOR.PATCH: writes the program's VS_VERSIONINFO block, the raw
RT_VERSION data, for the project's version.

windres gives an empty string value a length of 1 (its terminator); Microsoft's rc writes an
empty value as no data at all with length 0, and so do we. A non-empty string's length counts
UTF-16 units including the terminator.
"""
import struct
import sys

FILE_FLAGS_MASK = 0x3F
FILE_OS = 0x4  # VOS__WINDOWS32
FILE_TYPE = 0x1  # VFT_APP

LANGUAGE, CODEPAGE = 0x0804, 0x04B0


def strings(version):
    text = ", ".join(str(n) for n in version)
    return (
        ("Comments", ""),
        ("CompanyName", ""),
        ("FileDescription", "Ventora"),
        ("FileVersion", text),
        ("InternalName", "Ventora"),
        ("LegalCopyright", "Copyright (C) 2026 Ventora"),
        ("LegalTrademarks", ""),
        ("OriginalFilename", "Ventora.EXE"),
        ("PrivateBuild", ""),
        ("ProductName", "Ventora"),
        ("ProductVersion", text),
        ("SpecialBuild", ""),
    )


BINARY, TEXT = 0, 1


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def wide(text):
    return (text + "\0").encode("utf-16-le")


def node(key, kind, value=b"", value_length=0, children=()):
    """One node: its length counts its children but not the padding after its last byte."""
    data = pad4(struct.pack("<HHH", 0, value_length, kind) + wide(key)) + value
    for child in children:
        data = pad4(data) + child
    return struct.pack("<H", len(data)) + data[2:]


def string(key, text):
    if not text:
        return node(key, TEXT)
    return node(key, TEXT, wide(text), len(text) + 1)


def version_info(version):
    def ms_ls(v):
        return (v[0] << 16) | v[1], (v[2] << 16) | v[3]

    fixed = struct.pack("<13I", 0xFEEF04BD, 0x00010000, *ms_ls(version),
                        *ms_ls(version), FILE_FLAGS_MASK, 0, FILE_OS, FILE_TYPE, 0, 0, 0)
    table = node("%04x%04x" % (LANGUAGE, CODEPAGE), TEXT,
                 children=[string(k, v) for k, v in strings(version)])
    translation = node("Translation", BINARY, struct.pack("<HH", LANGUAGE, CODEPAGE), 4)
    return node("VS_VERSION_INFO", BINARY, fixed, len(fixed), children=[
        node("StringFileInfo", TEXT, children=[table]),
        node("VarFileInfo", TEXT, children=[translation]),
    ])


def main():
    parts = sys.argv[2].split(".") if len(sys.argv) == 3 else []
    if len(parts) != 3 or not all(p.isdigit() and int(p) < 0x10000 for p in parts):
        sys.exit("usage: mkversion.py OUT.bin MAJOR.MINOR.PATCH")
    with open(sys.argv[1], "wb") as f:
        f.write(version_info(tuple(int(p) for p in parts) + (0,)))


if __name__ == "__main__":
    main()
