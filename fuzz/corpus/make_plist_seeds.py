#!/usr/bin/env python3
"""Writes the structure seeds of the property-list targets (fuzz_info_plist, fuzz_diskutil):
shapes a mutator rarely builds by itself. Run by hand after changing it; its output is committed.

    python3 fuzz/corpus/make_plist_seeds.py
"""

import plistlib
import struct
from pathlib import Path

CORPUS = Path(__file__).resolve().parent
TARGETS = ("fuzz_info_plist", "fuzz_diskutil")
PREFIX = "shape-"

INFO = {
    "CFBundleDisplayName": "Install macOS Sonoma",
    "CFBundleIdentifier": "com.apple.InstallAssistant.macOSSonoma",
    "CFBundleShortVersionString": "19.6.01",
    "CFBundleIconFile": "InstallAssistant",
    "DTPlatformVersion": "14.6",
}


# A binary property list assembled object by object, so that references, counts and the trailer
# can say what no writer would.
def count_marker(kind, count):
    if count < 15:
        return bytes([kind << 4 | count])
    return bytes([kind << 4 | 0xF]) + integer(count)


def integer(value):
    for power, form in ((0, ">B"), (1, ">H"), (2, ">I"), (3, ">Q")):
        if value < 1 << (8 << power):
            return bytes([0x10 | power]) + struct.pack(form, value)
    raise ValueError(value)


def ascii_string(text):
    return count_marker(0x5, len(text)) + text


def utf16_string(text):
    encoded = text.encode("utf-16-be")
    return count_marker(0x6, len(encoded) // 2) + encoded


def refs(indexes, size):
    return b"".join(index.to_bytes(size, "big") for index in indexes)


def array(indexes, size=2, count=None):
    return count_marker(0xA, len(indexes) if count is None else count) + refs(indexes, size)


def dictionary(keys, values, size=2):
    return count_marker(0xD, len(keys)) + refs(keys, size) + refs(values, size)


def bplist(objects, top=0, ref_size=2, object_count=None, table_offset=None, offset_size=4):
    body = bytearray(b"bplist00")
    offsets = []
    for encoded in objects:
        offsets.append(len(body))
        body += encoded
    table = len(body)
    body += b"".join(offset.to_bytes(offset_size, "big") for offset in offsets)
    body += bytes(6) + bytes([offset_size, ref_size])
    body += struct.pack(
        ">QQQ",
        len(objects) if object_count is None else object_count,
        top,
        table if table_offset is None else table_offset,
    )
    return bytes(body)


# An installer dictionary with one more key, `name`, whose value is the first of the objects
# `build` makes; `build` gets that object's index.
def info_bplist(name, build, **trailer):
    keys = list(INFO) + [name]
    objects = [None]
    objects += [ascii_string(key.encode()) for key in keys]
    objects += [utf16_string(value) for value in INFO.values()]
    first = len(objects)
    key_refs = list(range(1, 1 + len(keys)))
    value_refs = list(range(1 + len(keys), first)) + [first]
    objects[0] = dictionary(key_refs, value_refs)
    return bplist(objects + build(first), **trailer)


def deep_arrays(depth):
    def build(first):
        return [array([first + level + 1]) for level in range(depth)] + [ascii_string(b"bottom")]

    return build


def self_reference(first):
    # An array holding itself and a dictionary holding the array: a cycle, never a tree.
    return [array([first, first + 1]), dictionary([first + 2], [first]), ascii_string(b"loop")]


def huge_array(first):
    # Claims 2^31 elements and holds two.
    return [array([first + 1, first + 1], count=1 << 31), ascii_string(b"x")]


def strings_with_nul(first):
    return [
        dictionary([first + 1, first + 2], [first + 2, first + 3]),
        ascii_string(b"key\0hidden"),
        ascii_string(b"value\0hidden"),
        utf16_string("Install\0macOS"),
    ]


def binary_seeds():
    seeds = {
        "bplist-shared-references": info_bplist(
            "Shared",
            lambda first: [
                array([first + 1] * 4),
                array([first + 2] * 4),
                ascii_string(b"shared"),
            ],
        ),
        # Some hundreds of levels: libplist takes time quadratic in the depth (2 000 levels take
        # over a second a run here), and deeper seeds only slow the fuzzer down.
        "bplist-deep-200": info_bplist("Deep", deep_arrays(200)),
        "bplist-cycle": info_bplist("Cycle", self_reference),
        "bplist-array-claims-2e31": info_bplist("Huge", huge_array),
        "bplist-nul-in-key-and-string": info_bplist("Nul", strings_with_nul),
        # A trailer counting more objects than the file has bytes, and one whose offset table
        # starts past the end.
        "bplist-object-count-past-end": info_bplist(
            "Count", lambda first: [ascii_string(b"x")], object_count=1 << 40
        ),
        "bplist-offset-table-past-end": info_bplist(
            "Table", lambda first: [ascii_string(b"x")], table_offset=1 << 33
        ),
        "bplist-string-claims-2e31": info_bplist(
            "Long", lambda first: [count_marker(0x5, 1 << 31) + b"abc"]
        ),
        # Written by Python's own writer: equal values are stored once and referenced.
        "bplist-python-writer": plistlib.dumps(
            dict(INFO, Items=[INFO["CFBundleDisplayName"]] * 6, Nested=[[1, 2]] * 3),
            fmt=plistlib.FMT_BINARY,
        ),
    }
    return seeds


XML_HEAD = (
    '<?xml version="1.0" encoding="UTF-8"?>\n'
    '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" '
    '"http://www.apple.com/DTDs/PropertyList-1.0.dtd">\n'
)


def xml_info(extra):
    entries = "".join(
        f"<key>{key}</key><string>{value}</string>\n" for key, value in INFO.items()
    )
    return (XML_HEAD + f'<plist version="1.0">\n<dict>\n{entries}{extra}</dict>\n</plist>\n').encode()


def xml_seeds():
    depth = 200
    return {
        "xml-deep-arrays": xml_info(
            "<key>Deep</key>" + "<array>" * depth + "<true/>" + "</array>" * depth + "\n"
        ),
        "xml-deep-dicts": xml_info(
            "<key>Deep</key>" + "<dict><key>k</key>" * depth + "<false/>" + "</dict>" * depth + "\n"
        ),
        "xml-unclosed-nesting": xml_info("<key>Open</key>" + "<array><dict><key>k</key>" * 300),
        "xml-entities": xml_info(
            "<key>Ent&amp;ities &lt;&gt;&quot;&apos;</key>"
            "<string>&#65;&#x42;&#x1F600;&#xD800;&#0;&#xFFFFFFFF;&#;&bogus;&amp</string>\n"
            "<key>CFBundleName</key><string>Install&#x20;macOS&#32;Sonoma</string>\n"
        ),
        "xml-nul-in-key": xml_info("<key>Key&#0;Hidden</key><string>v</string>\n").replace(
            b"Hidden", b"\0Hidden"
        ),
        "xml-nul-in-string": xml_info("<key>K</key><string>before\0after</string>\n"),
        "xml-cdata-comment-doctype": (
            XML_HEAD.replace(
                "dtd\">", 'dtd" [<!ENTITY a "aaaaaaaa"><!ENTITY b "&a;&a;&a;&a;">]>'
            )
            + '<plist version="1.0"><dict><!-- <key>no</key> -->'
            "<key>CFBundleDisplayName</key><string><![CDATA[Install <macOS> & ]]>&b;</string>"
            "<key>CFBundleShortVersionString</key><string>19.6.01</string>"
            "<key>Data</key><data>AAEC\n AwQF=</data><key>Date</key><date>2024-02-30T25:61:61Z</date>"
            "<key>Big</key><integer>-99999999999999999999999</integer><key>R</key><real>1e999</real>"
            "</dict></plist>\n"
        ).encode(),
    }


def main():
    seeds = {**binary_seeds(), **xml_seeds()}
    for target in TARGETS:
        folder = CORPUS / target
        for old in folder.glob(PREFIX + "*"):
            old.unlink()
        for name, data in seeds.items():
            (folder / (PREFIX + name)).write_bytes(data)
    print(f"wrote {len(seeds)} seeds into each of {', '.join(TARGETS)}")


if __name__ == "__main__":
    main()
