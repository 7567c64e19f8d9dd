# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the character details, tables/details_data.{h,cpp}: every Wubi 86 code of a character
with its level and every Mandarin reading with its tone marks, for every character the Wubi
source gives a code, and the reverse index from a code to its characters.

generate_tables.py parses the sources and calls build() with what it parsed; this module reads
no file itself except through read_unihan_fields().

Levels, worked out from the source alone (it lists a character's codes without saying which
is which):
  * a one-letter code is a first-level simple code (Simple1): Wubi 86 has no one-letter full
    code, and the 25 key characters' one-letter codes are no prefix of their full codes
    (我: q, trnt);
  * a two- or three-letter code that is a proper prefix of a longer code the source lists for
    the same character is a second- or third-level simple code (Simple2, Simple3): 啊 kb, kbs of
    kbsk;
  * every other code is a full code (Full); a character may have several (variant splits), and
    a full code may be shorter than four letters (了 bnh).
  The source's stem column (我's "tr") is the code a character lends to phrases, not one that
  types the character (tr is 物's code), so it is no code of the character here.
  Codes starting with z are the source's look-up key, not Wubi codes; a character that has only
  such codes (punctuation, circled numbers) is not in the details.

Readings: the values of kMandarin, kHanyuPinlu (most frequent first), kTGHZ2013, kXHC1983 and
kHanyuPinyin, in that order, NFC, each once. The reading the tables file the character by (the
`filing` callable: a reading with or without tones) comes first: the reading equal to it, or
else the first whose toneless form equals its toneless form (it must be one of them); the
others keep their order.

Order of the reverse index: by code, then as an input method offers a code's characters: by
the source's weight, highest first, ties in the order the source first lists the characters.

The encoding (all integers little-endian; N characters, sorted by code point). The byte blobs
(kLowBytes, kRecords, kReadingText, kByCode) are char arrays with a size constant NameSize, and
the number tables plain arrays: nothing holds a pointer, so nothing is relocated at start.
  kBlockFirst[b]     index of the first character with code point >= b * 256 (b up to
                     kBlockCount; kBlockFirst[kBlockCount] == N);
  kLowBytes[i]       the low byte of character i's code point;
  kBlockRecord[b]    offset in kRecords of the records of block b's characters;
  kRecordOffset[i]   offset of character i's record from its block's kBlockRecord;
  kRecords           per character: a byte (code count | reading count << 3), then per code a
                     byte (level - 1 | length << 2) and its letters, then per reading two bytes,
                     its index in the reading pool;
  kReadingStart[r]   offset of reading r in kReadingText (UTF-8); kReadingStart[R] = the size;
  kByCode            per (character, code) pair, three bytes: character index << 3 | the code's
                     position in the character's record, sorted as the reverse index.
"""

import bz2
import unicodedata

READING_FIELDS = ("kMandarin", "kHanyuPinlu", "kTGHZ2013", "kXHC1983", "kHanyuPinyin")
FULL = 4  # the level of a full code; a simple code's level is its length


class DetailsError(Exception):
    pass


def require(condition, message):
    if not condition:
        raise DetailsError(message)


def toneless(reading):
    """Strips tone marks; ü becomes v, as the tables spell it."""
    decomposed = unicodedata.normalize("NFD", reading.lower()).replace("u\u0308", "v")
    return "".join(ch for ch in decomposed if not unicodedata.combining(ch))


def read_unihan_fields(path):
    """Returns {character: {field: raw value}} for the reading fields of Unihan_Readings.txt.bz2."""
    fields = {}
    with bz2.open(path, "rt", encoding="utf-8") as source:
        for line in source:
            if line.startswith("#") or not line.strip():
                continue
            codepoint, field, value = line.rstrip("\n").split("\t", 2)
            if field in READING_FIELDS:
                fields.setdefault(chr(int(codepoint[2:], 16)), {})[field] = value
    return fields


def field_readings(field, value):
    """Returns the readings a raw Unihan field value lists, in its order."""
    if field == "kMandarin":
        return value.split()
    if field == "kHanyuPinlu":
        return [entry.split("(")[0] for entry in value.split()]
    return [r for entry in value.split() for r in entry.split(":")[1].split(",")]


def ordered_readings(character, fields, filed_by):
    """Returns the character's readings, the one it is filed by first, each once."""
    readings = []
    for field in READING_FIELDS:
        for reading in field_readings(field, fields[field]) if field in fields else ():
            reading = unicodedata.normalize("NFC", reading)
            if reading not in readings:
                readings.append(reading)
    if filed_by:
        first = next((r for r in readings if r == filed_by), None) or next(
            (r for r in readings if toneless(r) == toneless(filed_by)), None)
        require(first, f"{character} is filed by {filed_by}, none of its readings")
        readings.remove(first)
        readings.insert(0, first)
    return readings


def code_levels(codes):
    """Returns [(code, level)] for one character's codes (in source order), by level, stable."""
    leveled = []
    for code in codes:
        if len(code) == 1:
            level = 1
        elif len(code) < 4 and any(len(other) > len(code) and other.startswith(code)
                                   for other in codes):
            level = len(code)
        else:
            level = FULL
        leveled.append((code, level))
    return sorted(leveled, key=lambda item: item[1])


def build_details(wubi, unihan, filing):
    """Returns {character: ([(code, level)], [reading])} sorted by code point.

    wubi: {character: [(code, weight), ...]} in source order, z codes left out;
    unihan: {character: {field: raw value}}; filing: character -> reading or None."""
    details = {}
    for character in sorted(wubi, key=ord):
        codes = [code for code, _ in wubi[character]]
        require(len(set(codes)) == len(codes), f"{character}: a code is listed twice")
        for code in codes:
            require(1 <= len(code) <= 4 and all("a" <= ch <= "y" for ch in code),
                    f"{character}: bad Wubi code {code}")
        details[character] = (code_levels(codes),
                              ordered_readings(character, unihan.get(character, {}),
                                               filing(character)))
    return details


def check_against_groups(details, groups, syllable_groups):
    """Stops unless every group row's code, and syllable in groups A to K, is in the details."""
    for letter, rows in groups.items():
        for _, character, code, reading in rows:
            require(character in details, f"{character} (group {letter}) has no details")
            codes, readings = details[character]
            require(code in {c for c, _ in codes},
                    f"{character} (group {letter}): {code} is not one of its details' codes")
            if letter in syllable_groups:
                require(reading in {toneless(r) for r in readings},
                        f"{character} (group {letter}): {reading} is none of its readings")


def reverse_index(details, wubi):
    """Returns [(character index, code position)] sorted by code, then as offered for it."""
    index = {character: i for i, character in enumerate(details)}
    source_order = {character: i for i, character in enumerate(wubi)}
    entries = []
    for character, (codes, _) in details.items():
        weights = dict(wubi[character])
        for position, (code, _) in enumerate(codes):
            entries.append((code, -weights[code], source_order[character], index[character],
                            position))
    entries.sort()
    return [(i, position) for *_, i, position in entries]


def string_literal(data, keep, width=100):
    """Returns C++ string-literal lines for bytes: those `keep` accepts as they are, the rest
    escaped (three octal digits, so that no following byte can extend an escape)."""
    pieces = [chr(b) if keep(b) else f"\\{b:03o}" for b in data]
    lines, line = [], ""
    for piece in pieces:
        if len(line) + len(piece) > width:
            lines.append(f'    "{line}"')
            line = ""
        line += piece
    lines.append(f'    "{line}"')
    return lines


def number_lines(numbers, per_line=16):
    return ["    " + ", ".join(str(n) for n in numbers[i:i + per_line]) + ","
            for i in range(0, len(numbers), per_line)]


def encode(details, wubi):
    """Returns the data arrays of the encoding described in the module docstring."""
    characters = list(details)
    block_count = (ord(characters[-1]) >> 8) + 1
    block_first, next_block = [], 0
    for i, character in enumerate(characters):
        while next_block <= ord(character) >> 8:
            block_first.append(i)
            next_block += 1
    block_first.append(len(characters))
    require(len(block_first) == block_count + 1, "block index has the wrong size")

    pool, pool_index = [], {}
    records, block_record, record_offset = bytearray(), [], []
    for character, (codes, readings) in details.items():
        require(len(codes) <= 7 and len(readings) <= 31, f"{character}: too many codes or readings")
        while len(block_record) <= ord(character) >> 8:
            block_record.append(len(records))
        record_offset.append(len(records) - block_record[-1])
        require(record_offset[-1] < 1 << 16, f"block of {character} has too long records")
        records.append(len(codes) | len(readings) << 3)
        for code, level in codes:
            records.append(level - 1 | len(code) << 2)
            records += code.encode("ascii")
        for reading in readings:
            if reading not in pool_index:
                pool_index[reading] = len(pool)
                pool.append(reading)
            records += pool_index[reading].to_bytes(2, "little")
    block_record.append(len(records))
    require(len(pool) < 1 << 16, "too many distinct readings")

    reading_text = "".join(pool).encode("utf-8")
    reading_start, offset = [], 0
    for reading in pool:
        reading_start.append(offset)
        offset += len(reading.encode("utf-8"))
    reading_start.append(offset)

    require(len(characters) < 1 << 21, "too many characters for the reverse index")
    by_code = bytearray()
    for i, position in reverse_index(details, wubi):
        by_code += (i << 3 | position).to_bytes(3, "little")

    return {
        "block_first": block_first,
        "low_bytes": bytes(ord(c) & 0xFF for c in characters),
        "block_record": block_record,
        "record_offset": record_offset,
        "records": bytes(records),
        "reading_start": reading_start,
        "reading_text": reading_text,
        "by_code": bytes(by_code),
    }


def blob_declaration(name, raw):
    """The header lines that declare the byte blob `name` and its size."""
    return [f"inline constexpr std::size_t {name}Size = {len(raw)};",
            f"extern const char {name}[{name}Size + 1];"]


def cpp_header(data, header):
    return "\n".join([
        *header,
        "// The encoded character details; tools/details_table.py describes the encoding.",
        "#pragma once",
        "",
        "#include <cstddef>",
        "#include <cstdint>",
        "",
        "namespace details::data {",
        "",
        f"inline constexpr std::size_t kCharacterCount = {len(data['low_bytes'])};",
        f"inline constexpr std::size_t kBlockCount = {len(data['block_first']) - 1};",
        f"inline constexpr std::size_t kReadingCount = {len(data['reading_start']) - 1};",
        f"inline constexpr std::size_t kCodeCount = {len(data['by_code']) // 3};",
        "",
        "// The byte blobs are character arrays, not views, so that nothing here holds a pointer",
        "// (which the loader would have to relocate); each ends in its literal's extra NUL.",
        "extern const std::uint32_t kBlockFirst[kBlockCount + 1];",
        *blob_declaration("kLowBytes", data["low_bytes"]),
        "extern const std::uint32_t kBlockRecord[kBlockCount + 1];",
        "extern const std::uint16_t kRecordOffset[kCharacterCount];",
        *blob_declaration("kRecords", data["records"]),
        "extern const std::uint32_t kReadingStart[kReadingCount + 1];",
        *blob_declaration("kReadingText", data["reading_text"]),
        *blob_declaration("kByCode", data["by_code"]),
        "",
        "}  // namespace details::data",
        "",
    ])


def cpp_source(data, header):
    lines = [
        *header,
        '#include "tables/details_data.h"',
        "",
        "namespace details::data {",
        "",
    ]

    def numbers(name, values, type="std::uint32_t"):
        lines.extend([f"const {type} {name}[] = {{", *number_lines(values), "};", ""])

    def text(name, raw, keep=lambda b: 0x61 <= b <= 0x79):
        body = string_literal(raw, keep)
        body[-1] += ";"
        lines.extend([f"const char {name}[] =", *body, ""])

    numbers("kBlockFirst", data["block_first"])
    text("kLowBytes", data["low_bytes"])
    numbers("kBlockRecord", data["block_record"])
    numbers("kRecordOffset", data["record_offset"], "std::uint16_t")
    text("kRecords", data["records"])
    numbers("kReadingStart", data["reading_start"])
    reading_text = data["reading_text"].decode("utf-8")
    require(all("a" <= ch <= "z" or ord(ch) >= 0x80 for ch in reading_text), "odd reading text")
    lines.extend(["const char kReadingText[] =",
                  *[f'    "{reading_text[i:i + 60]}"' for i in range(0, len(reading_text), 60)]])
    lines[-1] += ";"
    lines.append("")
    text("kByCode", data["by_code"])
    lines += ["}  // namespace details::data", ""]
    return "\n".join(lines)


def build(wubi, unihan, filing, groups, syllable_groups, output_dir, header):
    """Returns {path: text} of the details files, after checking them against the group rows;
    each file starts with the comment lines `header` (generator, licence, sources)."""
    details = build_details(wubi, unihan, filing)
    check_against_groups(details, groups, syllable_groups)
    data = encode(details, wubi)
    return {output_dir / "details_data.h": cpp_header(data, header),
            output_dir / "details_data.cpp": cpp_source(data, header)}
