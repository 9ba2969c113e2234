#!/usr/bin/env python3
"""Generates the text-conversion tables of src/prelix10/command/ from glibc iconv.

The build never runs this script; its output is committed. Run it from the
repository root on a Debian machine (glibc 2.36 was used):

    python3 scripts/generate_encoding_tables.py

Tables (each indexed by the UCS-2 code of a character, 0 = not held):
  - Japanese: the CP932 encoder restricted to the JIS X 0208 rows and the
    row of special characters at lead byte 0x87 (lead bytes 81-84, 87, 88-9F,
    E0-EA). This holds the whole SHIFT_JIS repertoire plus the Windows forms
    of the same codes (U+FF5E, U+FF0D, U+2225, U+2014) and the circled
    numbers, Roman numerals and unit symbols printers of this class print.
    The user-defined area and the IBM extension rows are left out.
  - Simplified Chinese: GB18030, two-byte codes only.
  - Traditional Chinese: BIG5 (glibc's BIG5 and CP950 encode alike).
  - Korean: EUC-KR (KS X 1001) without the Hanja rows (lead bytes CA-FD).
  - Code pages: the printers' page numbers below, one entry per character on
    the first page of PAGE_PRIORITY that holds it (bytes 80-FF only).
Characters of the private use area are never mapped: text from an app
carries no meaning there and a printer has no glyph for them. U+0001 to
U+007F map to themselves in every table; other single-byte results of the
CJK encoders (the yen sign, half-width katakana) are left to the code pages.

The ambiguous-width map: every code of the ranges listed in AMBIGUOUS_RANGES
whose East Asian Width class is "A" (Python's unicodedata), with flag bit
0 Simplified Chinese, 1 Japanese, 2 Traditional Chinese, 3 Korean set when
that encoding's table holds the code as a two-byte character; codes without
any flag are left out.
"""

import ctypes
import os
import sys
import unicodedata

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "src", "prelix10", "command")

# page number -> glibc charset
CODE_PAGES = {
    1: "CP437",
    2: "SHIFT_JIS",  # JIS X 0201 katakana, bytes A1-DF only
    4: "CP858",
    5: "CP852",
    10: "CP866",
    11: "CP855",
    12: "CP857",
    13: "CP862",
    14: "CP864",
    17: "CP869",
    21: "CP874",
    32: "CP1252",
    33: "CP1250",
    34: "CP1251",
}
# Pages every target reaches first (the customer display and the mobile
# printers know 1, 2, 4, 5, 10 and 32), then those the mobile printers also
# know, then the pages only the page printers select.
PAGE_PRIORITY = [4, 1, 32, 5, 10, 2, 11, 12, 13, 14, 21, 17, 33, 34]

AMBIGUOUS_RANGES = [
    (0x00A1, 0x00FE),
    (0x0111, 0x0111), (0x011B, 0x011B), (0x0131, 0x0131), (0x0141, 0x0142),
    (0x0144, 0x0144), (0x0148, 0x0148), (0x0152, 0x0153),
    (0x02C7, 0x02C7), (0x02D8, 0x02D9), (0x02DB, 0x02DB), (0x02DD, 0x02DD),
    (0x0391, 0x03A9), (0x03B1, 0x03C9),
    (0x0401, 0x0401), (0x0410, 0x044F), (0x0451, 0x0451),
    (0x2013, 0x2030), (0x207F, 0x207F), (0x20AC, 0x20AC),
    (0x2116, 0x2116), (0x2122, 0x2122),
    (0x221A, 0x221A), (0x221E, 0x221E), (0x2229, 0x2229), (0x2248, 0x2248),
    (0x2261, 0x2261), (0x2264, 0x2265),
    (0x2500, 0x256C), (0x2584, 0x2593), (0x25A0, 0x25A0),
]

_libc = ctypes.CDLL(None, use_errno=True)
_libc.iconv_open.restype = ctypes.c_void_p
_libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
_libc.iconv.restype = ctypes.c_size_t
_libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p),
                        ctypes.POINTER(ctypes.c_size_t), ctypes.POINTER(ctypes.c_char_p),
                        ctypes.POINTER(ctypes.c_size_t)]
_libc.iconv_close.argtypes = [ctypes.c_void_p]
_FAILED = ctypes.c_size_t(-1).value


def encode_all(charset):
    """Maps every BMP code (no surrogates) that the charset encodes to its bytes."""
    cd = _libc.iconv_open(charset.encode(), b"UTF-32LE")
    if cd is None or cd == ctypes.c_void_p(-1).value:
        sys.exit(f"iconv does not know {charset}")
    result = {}
    out = ctypes.create_string_buffer(16)
    for code in range(1, 0x10000):
        if 0xD800 <= code <= 0xDFFF:
            continue
        _libc.iconv(cd, None, None, None, None)
        src = ctypes.create_string_buffer(code.to_bytes(4, "little"), 4)
        in_ptr = ctypes.c_char_p(ctypes.addressof(src))
        in_left = ctypes.c_size_t(4)
        out_ptr = ctypes.c_char_p(ctypes.addressof(out))
        out_left = ctypes.c_size_t(16)
        if _libc.iconv(cd, ctypes.byref(in_ptr), ctypes.byref(in_left),
                       ctypes.byref(out_ptr), ctypes.byref(out_left)) == _FAILED:
            continue
        _libc.iconv(cd, None, None, ctypes.byref(out_ptr), ctypes.byref(out_left))
        result[code] = out.raw[:16 - out_left.value]
    _libc.iconv_close(cd)
    return result


def is_private_use(code):
    return 0xE000 <= code <= 0xF8FF


def ascii_entries():
    return {code: code for code in range(1, 0x80)}


def two_byte_table(charset, lead_allowed):
    table = ascii_entries()
    for code, data in encode_all(charset).items():
        if code < 0x80 or is_private_use(code) or len(data) != 2:
            continue
        if not lead_allowed(data[0]):
            continue
        table[code] = (data[0] << 8) | data[1]
    return table


def japanese_lead(lead):
    return 0x81 <= lead <= 0x84 or 0x87 <= lead <= 0x9F or 0xE0 <= lead <= 0xEA


def code_page_table():
    table = ascii_entries()
    for page in PAGE_PRIORITY:
        for code, data in encode_all(CODE_PAGES[page]).items():
            if code < 0x80 or code in table or is_private_use(code) or len(data) != 1:
                continue
            byte = data[0]
            if byte < 0x80 or (page == 2 and not 0xA1 <= byte <= 0xDF):
                continue
            table[code] = (page << 8) | byte
    return table


def ambiguous_map(tables):
    # bit order: SimplifiedChinese, Japanese, TraditionalChinese, Korean
    bit_tables = [tables["Gb18030"], tables["ShiftJis"], tables["Big5"], tables["Korean"]]
    entries = []
    for first, last in AMBIGUOUS_RANGES:
        for code in range(first, last + 1):
            if unicodedata.east_asian_width(chr(code)) != "A":
                continue
            flags = 0
            for bit, table in enumerate(bit_tables):
                if table.get(code, 0) & 0x8000:
                    flags |= 1 << bit
            if flags:
                entries.append((code, flags))
    return entries


def pack(table):
    """Runs of consecutive held codes: firstCode, count, then the count values."""
    words = []
    code = 1
    while code < 0x10000:
        if not table.get(code):
            code += 1
            continue
        start = code
        while code < 0x10000 and table.get(code):
            code += 1
        words.append(start)
        words.append(code - start)
        words.extend(table[c] for c in range(start, code))
    return words


HEADER = "// Generated by scripts/generate_encoding_tables.py; do not edit.\n"


def write_table(name, table, note):
    words = pack(table)
    lines = [HEADER, f"// {note}\n", '#include "command/EncodingTables.hpp"\n\n',
             "namespace VelmarCommandParser {\n\n",
             f"// {len(table)} codes held.\n",
             f"const uint16_t ucs2To{name}Packed[] = {{\n"]
    for i in range(0, len(words), 12):
        lines.append("    " + ", ".join(f"0x{w:04X}" for w in words[i:i + 12]) + ",\n")
    lines.append("};\n")
    lines.append(f"const size_t ucs2To{name}PackedSize = sizeof(ucs2To{name}Packed) / sizeof(uint16_t);\n\n")
    lines.append("}  // namespace VelmarCommandParser\n")
    with open(os.path.join(OUT_DIR, f"EncodingTable{name}.cpp"), "w") as f:
        f.write("".join(lines))


def write_ambiguous(entries):
    lines = [HEADER,
             f"// East Asian Width class A (Unicode {unicodedata.unidata_version}), flag bit per encoding\n",
             "// that holds the code as a two-byte character.\n",
             '#include "command/EncodingTables.hpp"\n\n',
             "namespace VelmarCommandParser {\n\n",
             f"const AmbiguousWidthEntry ucs2ToAmbiguousEntries[] = {{\n"]
    for i in range(0, len(entries), 6):
        chunk = entries[i:i + 6]
        lines.append("    " + " ".join(f"{{0x{c:04X}, 0x{f:X}}}," for c, f in chunk) + "\n")
    lines.append("};\n")
    lines.append("const size_t ucs2ToAmbiguousEntryCount = sizeof(ucs2ToAmbiguousEntries) / sizeof(AmbiguousWidthEntry);\n\n")
    lines.append("}  // namespace VelmarCommandParser\n")
    with open(os.path.join(OUT_DIR, "AmbiguousWidthTable.cpp"), "w") as f:
        f.write("".join(lines))


def main():
    tables = {
        "ShiftJis": two_byte_table("CP932", japanese_lead),
        "Gb18030": two_byte_table("GB18030", lambda lead: True),
        "Big5": two_byte_table("BIG5", lambda lead: True),
        "Korean": two_byte_table("EUC-KR", lambda lead: not 0xCA <= lead <= 0xFD),
        "CodePage": code_page_table(),
    }
    notes = {
        "ShiftJis": "Shift_JIS: CP932 codes of the JIS X 0208 rows and row 0x87, no user-defined or IBM rows.",
        "Gb18030": "GB18030, two-byte codes.",
        "Big5": "Big5.",
        "Korean": "KS X 1001 (EUC-KR) without Hanja.",
        "CodePage": "Code pages by printer page number, priority " + ", ".join(map(str, PAGE_PRIORITY)) + ".",
    }
    for name, table in tables.items():
        write_table(name, table, notes[name])
        multi = sum(1 for v in table.values() if v & 0x8000)
        print(f"{name}: {multi} two-byte characters, {len(table)} codes in all")
    pages = {}
    for code, value in tables["CodePage"].items():
        if code >= 0x80:
            pages[value >> 8] = pages.get(value >> 8, 0) + 1
    print("CodePage characters per page:", ", ".join(f"{p}: {pages.get(p, 0)}" for p in PAGE_PRIORITY))
    entries = ambiguous_map(tables)
    write_ambiguous(entries)
    print(f"Ambiguous width: {len(entries)} entries, {sum(1 for _, f in entries if f == 0xF)} with all four flags")


if __name__ == "__main__":
    main()
