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
    kbsk; but only where typing it offers the character first (its candidate position, below,
    is 1). Otherwise it is a code of its length (Code2, Code3): 鬈 deu, where 長 comes first;
  * every other code is a full code (Full); a character may have several (variant splits), and
    a full code may be shorter than four letters (了 bnh).
  Every code also carries its candidate position: where the character stands among the
  characters the code types, in the order of the reverse index (1 first).
  The source's stem column (我's "tr") is the code a character lends to phrases, not one that
  types the character (tr is 物's code), so it is no code of the character here.
  Codes starting with z are the source's look-up key, not Wubi codes; a character that has only
  such codes (punctuation, circled numbers) is not in the details.

Readings: reading_rules.py chooses and orders them. A character's modern readings come with
the one it is filed by first (a held character's first row's, else its principal reading); a
character with no modern reading has its historical readings instead, marked as such.

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
  kRecords           per character: a byte (code count | reading count << 3 | 128 if the
                     readings are historical), then per code a byte (level - 1 | (length - 1)
                     << 3 | min(candidate - 1, 7) << 5), for a candidate past the 7th a byte
                     (candidate - 8), and its letters; then per reading two bytes, its index in
                     the reading pool;
  kReadingStart[r]   offset of reading r in kReadingText (UTF-8); kReadingStart[R] = the size;
  kByCode            per (character, code) pair, three bytes: character index << 3 | the code's
                     position in the character's record, sorted as the reverse index.
"""

from reading_rules import toneless
from generation_checks import require

# Levels as the decoder numbers them: a simple code's level is its length (1 to 3), a code
# given by its length (not offering the character first) is CODE_BY_LENGTH plus its length.
FULL = 4
CODE_BY_LENGTH = 3


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


def with_candidates(details, order):
    """Returns the details with each code as (code, level, candidate position): a simple code
    that does not offer its character first becomes a code of its length. `order` is the
    reverse index."""
    characters = list(details)
    candidates, previous, position = {}, None, 0
    for i, code_position in order:
        code = details[characters[i]][0][code_position][0]
        position = position + 1 if code == previous else 1
        previous = code
        candidates[characters[i], code] = position
    result = {}
    for character, (codes, *readings) in details.items():
        leveled = []
        for code, level in codes:
            candidate = candidates[character, code]
            require(level != 1 or candidate == 1,
                    f"{character}: its one-letter code {code} offers another character first")
            if level < FULL and candidate > 1:
                level = CODE_BY_LENGTH + len(code)
            leveled.append((code, level, candidate))
        result[character] = (leveled, *readings)
    return result


def build_details(wubi, readings_of):
    """Returns {character: ([(code, level)], [modern reading], [historical reading])} sorted by
    code point.

    wubi: {character: [(code, weight), ...]} in source order, z codes left out;
    readings_of: character -> (modern readings, filing one first; historical readings)."""
    details = {}
    for character in sorted(wubi, key=ord):
        codes = [code for code, _ in wubi[character]]
        require(len(set(codes)) == len(codes), f"{character}: a code is listed twice")
        for code in codes:
            require(1 <= len(code) <= 4 and all("a" <= ch <= "y" for ch in code),
                    f"{character}: bad Wubi code {code}")
        modern, historical = readings_of(character)
        require(not (modern and historical), f"{character}: historical readings beside modern ones")
        details[character] = (code_levels(codes), list(modern), list(historical))
    return details


def check_against_groups(details, groups, syllable_groups):
    """Stops unless every group row's code, and syllable in groups A to K, is in the details."""
    for letter, rows in groups.items():
        for _, character, code, reading in rows:
            require(character in details, f"{character} (group {letter}) has no details")
            codes, readings, _ = details[character]
            require(code in {c for c, *_ in codes},
                    f"{character} (group {letter}): {code} is not one of its details' codes")
            if letter in syllable_groups:
                require(reading in {toneless(r) for r in readings},
                        f"{character} (group {letter}): {reading} is none of its readings")


def reverse_index(details, wubi):
    """Returns [(character index, code position)] sorted by code, then as offered for it."""
    index = {character: i for i, character in enumerate(details)}
    source_order = {character: i for i, character in enumerate(wubi)}
    entries = []
    for character, (codes, *_) in details.items():
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


def code_header(code, level, candidate):
    """Returns the bytes before a code's letters in its character's record."""
    require(candidate <= 255, f"{code} offers more characters than the decoder counts")
    header = bytes([level - 1 | (len(code) - 1) << 3 | min(candidate - 1, 7) << 5])
    return header + bytes([candidate - 8]) if candidate > 7 else header


def encode(details, order):
    """Returns the data arrays of the encoding described in the module docstring; `order` is the
    reverse index."""
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
    for character, (codes, modern, historical) in details.items():
        readings = modern or historical
        require(len(codes) <= 7 and len(readings) <= 15, f"{character}: too many codes or readings")
        while len(block_record) <= ord(character) >> 8:
            block_record.append(len(records))
        record_offset.append(len(records) - block_record[-1])
        require(record_offset[-1] < 1 << 16, f"block of {character} has too long records")
        records.append(len(codes) | len(readings) << 3 | (128 if historical else 0))
        for code, level, candidate in codes:
            records += code_header(code, level, candidate)
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
    for i, position in order:
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


def build(wubi, readings_of, groups, syllable_groups, output_dir, header):
    """Returns {path: text} of the details files, after checking them against the group rows;
    each file starts with the comment lines `header` (generator, licence, sources)."""
    details = build_details(wubi, readings_of)
    order = reverse_index(details, wubi)
    details = with_candidates(details, order)
    check_against_groups(details, groups, syllable_groups)
    data = encode(details, order)
    return {output_dir / "details_data.h": cpp_header(data, header),
            output_dir / "details_data.cpp": cpp_source(data, header)}
