#!/usr/bin/env python3
"""mkversion.py OUT.bin: writes the program's VS_VERSIONINFO block, the raw RT_VERSION data.

windres gives an empty string value a length of 1 (its terminator); Microsoft's rc writes an
empty value as no data at all with length 0, and so do we. A non-empty string's length counts
UTF-16 units including the terminator.
"""
import struct
import sys

FILE_VERSION = (1, 0, 0, 0)
PRODUCT_VERSION = (1, 0, 0, 0)
FILE_FLAGS_MASK = 0x3F
FILE_OS = 0x4  # VOS__WINDOWS32
FILE_TYPE = 0x1  # VFT_APP

LANGUAGE, CODEPAGE = 0x0804, 0x04B0
STRINGS = (
    ("Comments", ""),
    ("CompanyName", ""),
    ("FileDescription", "Ventora"),
    ("FileVersion", "1, 0, 0, 0"),
    ("InternalName", "Ventora"),
    ("LegalCopyright", "Copyright (C) 2026 Ventora"),
    ("LegalTrademarks", ""),
    ("OriginalFilename", "Ventora.EXE"),
    ("PrivateBuild", ""),
    ("ProductName", "Ventora"),
    ("ProductVersion", "1, 0, 0, 0"),
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


def version_info():
    def ms_ls(v):
        return (v[0] << 16) | v[1], (v[2] << 16) | v[3]

    fixed = struct.pack("<13I", 0xFEEF04BD, 0x00010000, *ms_ls(FILE_VERSION),
                        *ms_ls(PRODUCT_VERSION), FILE_FLAGS_MASK, 0, FILE_OS, FILE_TYPE, 0, 0, 0)
    table = node("%04x%04x" % (LANGUAGE, CODEPAGE), TEXT,
                 children=[string(k, v) for k, v in STRINGS])
    translation = node("Translation", BINARY, struct.pack("<HH", LANGUAGE, CODEPAGE), 4)
    return node("VS_VERSION_INFO", BINARY, fixed, len(fixed), children=[
        node("StringFileInfo", TEXT, children=[table]),
        node("VarFileInfo", TEXT, children=[translation]),
    ])


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: mkversion.py OUT.bin")
    with open(sys.argv[1], "wb") as f:
        f.write(version_info())


if __name__ == "__main__":
    main()
