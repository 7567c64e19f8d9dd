# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the phrase codes, tables/phrase_data.{h,cpp}: every phrase the Wubi 86 source lists,
with its code and the candidate position at which that code offers it.

generate_tables.py parses the source and calls build() with its rows; this module reads no file.

What counts as a phrase: an uncommented row whose text is two or more characters, each of which
the source codes on its own (a single-character row with a code that does not start with z),
listed under a code of four letters a..y. That leaves out the z-coded pairs and units (“”, μm)
and the rows with Latin letters (T恤, 卡拉OK, U盘), which are no hanzi words.

The standard rule, from the source's encoder header, builds a word's code from each character's
full code, taken as the character details take it (details_table.code_levels; the first full
code where a character has several): two characters AaAbBaBb (the first two letters of each),
three AaBaCaCb, four or more AaBaCaZa (the first letter of the first three and of the last).
The generator checks the rule against every listed phrase and prints how many listed codes it
reproduces; fewer than 99% stops it, as then the rule or the source has gone wrong. A phrase
whose listed code the rule does not give (版权所有 bqsy, 踊跃 kckt, mostly older abbreviations)
is kept as listed: an input method types it by that code. Words the source lacks get the
rule's code at run time.

Offer order under a code: characters and phrases together, by the source's weight, highest
first, ties in the order the source first lists each text; the characters keep the order the
details give them. Rows that are no phrase are left out of the count as they are of the data.

The encoding (N phrase entries, one per listed phrase and code, sorted by text in UTF-16 code
units, a text's entries by candidate position, then source order; every text is in the BMP):
  kPhraseTextStart[i]  offset of entry i's text in kPhraseText; kPhraseTextStart[N] = its size;
  kPhraseText          the texts, UTF-16;
  kPhraseCodes         entry i's four code letters at 4 * i;
  kPhrasePositions[i]  the candidate position of entry i under its code, 1 = first, counting
                       the characters and phrases the code types;
  kPhrasesByCode       per entry three bytes, little-endian: the entry indexes sorted by code,
                       then candidate position.
"""

import collections
from typing import NamedTuple

from details_table import FULL, code_levels, number_lines, string_literal
from generation_checks import require

# The share of listed codes the rule must reproduce.
RULE_FLOOR = 0.99


class SourceRow(NamedTuple):
    """One uncommented row of the Wubi source, as generate_tables.py reads it."""
    text: str
    code: str
    weight: int


class Entry(NamedTuple):
    text: str
    code: str
    position: int  # 1 = first candidate


class Phrases(NamedTuple):
    outputs: dict  # path -> text of the generated files
    summary: str   # the figures to print


def is_phrase(row, wubi):
    return (len(row.text) >= 2 and all(character in wubi for character in row.text)
            and len(row.code) == 4 and all("a" <= letter <= "y" for letter in row.code))


def full_codes(wubi):
    """Returns {character: its first full code}, the code phrases are built from."""
    return {character: next(code for code, level in code_levels([c for c, _ in codes])
                            if level == FULL)
            for character, codes in wubi.items()}


def derive(text, full):
    """The code the standard rule gives `text` from its characters' full codes."""
    codes = [full[character] for character in text]
    if len(codes) == 2:
        return codes[0][:2] + codes[1][:2]
    if len(codes) == 3:
        return codes[0][0] + codes[1][0] + codes[2][:2]
    return codes[0][0] + codes[1][0] + codes[2][0] + codes[-1][0]


def offered(rows, wubi):
    """Returns the entries with their candidate positions, in source order."""
    first_listed = {}
    for index, row in enumerate(rows):
        first_listed.setdefault(row.text, index)
    by_code = collections.defaultdict(list)
    listed = set()
    for index, row in enumerate(rows):
        if row.code.startswith("z") or not (len(row.text) == 1 or is_phrase(row, wubi)):
            continue
        require((row.text, row.code) not in listed, f"{row.text} is listed twice under {row.code}")
        listed.add((row.text, row.code))
        by_code[row.code].append((-row.weight, first_listed[row.text], index, row.text))
    positions = {}
    for code, offers in by_code.items():
        offers.sort()
        for position, (_, _, index, text) in enumerate(offers, 1):
            if len(text) > 1:
                positions[index] = position
    return [Entry(rows[index].text, rows[index].code, position)
            for index, position in sorted(positions.items())]


def encode(entries):
    """Returns the data arrays of the encoding in the module docstring."""
    order = sorted(range(len(entries)),
                   key=lambda i: ([ord(c) for c in entries[i].text], entries[i].position, i))
    ordered = [entries[i] for i in order]
    require(all(ord(character) <= 0xFFFF for entry in ordered for character in entry.text),
            "a phrase has a character outside the BMP, which the encoding does not hold")
    require(len(ordered) < 1 << 24, "too many phrases for the index by code")
    require(max(entry.position for entry in ordered) < 256, "a candidate position over 255")
    text_start, offset = [], 0
    for entry in ordered:
        text_start.append(offset)
        offset += len(entry.text)
    text_start.append(offset)
    by_code = sorted(range(len(ordered)), key=lambda i: (ordered[i].code, ordered[i].position))
    return {
        "text_start": text_start,
        "text": "".join(entry.text for entry in ordered),
        "codes": "".join(entry.code for entry in ordered).encode("ascii"),
        "positions": bytes(entry.position for entry in ordered),
        "by_code": b"".join(i.to_bytes(3, "little") for i in by_code),
        "longest": max(len(entry.text) for entry in ordered),
    }


def cpp_header(data, header):
    return "\n".join([
        *header,
        "// The encoded phrase codes; tools/phrase_table.py describes the encoding.",
        "#pragma once",
        "",
        "#include <cstddef>",
        "#include <cstdint>",
        "",
        "namespace phrases::data {",
        "",
        f"inline constexpr std::size_t kPhraseCount = {len(data['positions'])};",
        f"inline constexpr std::size_t kPhraseTextSize = {len(data['text'])};",
        "// The most characters a phrase has.",
        f"inline constexpr std::size_t kLongestPhrase = {data['longest']};",
        "",
        "extern const std::uint32_t kPhraseTextStart[kPhraseCount + 1];",
        "extern const char16_t kPhraseText[kPhraseTextSize + 1];",
        "extern const char kPhraseCodes[4 * kPhraseCount + 1];",
        "extern const unsigned char kPhrasePositions[kPhraseCount + 1];",
        "extern const unsigned char kPhrasesByCode[3 * kPhraseCount + 1];",
        "",
        "}  // namespace phrases::data",
        "",
    ])


def cpp_source(data, header):
    def literal(name, type, body):
        body[-1] += ";"
        return [f"const {type} {name}[] =", *body, ""]

    text = data["text"]
    return "\n".join([
        *header,
        '#include "tables/phrase_data.h"',
        "",
        "namespace phrases::data {",
        "",
        "const std::uint32_t kPhraseTextStart[] = {", *number_lines(data["text_start"]), "};",
        "",
        *literal("kPhraseText", "char16_t",
                 [f'    u"{text[i:i + 48]}"' for i in range(0, len(text), 48)]),
        *literal("kPhraseCodes", "char",
                 string_literal(data["codes"], lambda b: 0x61 <= b <= 0x79)),
        *literal("kPhrasePositions", "unsigned char",
                 string_literal(data["positions"], lambda b: False)),
        *literal("kPhrasesByCode", "unsigned char",
                 string_literal(data["by_code"], lambda b: False)),
        "}  // namespace phrases::data",
        "",
    ])


def build(rows, wubi, output_dir, header):
    """Returns the phrase files and the figures to print.

    rows: [SourceRow] in source order; wubi: {character: [(code, weight), ...]} of the
    single-character rows, z codes left out; header: the comment lines each file starts with."""
    entries = offered(rows, wubi)
    require(entries, "the source lists no phrases")
    full = full_codes(wubi)
    reproduced = sum(derive(entry.text, full) == entry.code for entry in entries)
    require(reproduced >= RULE_FLOOR * len(entries),
            f"the standard rule reproduces only {reproduced} of {len(entries)} listed codes")
    data = encode(entries)
    summary = (f"phrases: {len(entries)} listed codes for {len({e.text for e in entries})} "
               f"words of up to {data['longest']} characters; the standard rule reproduces "
               f"{reproduced} of the {len(entries)} listed codes")
    return Phrases({output_dir / "phrase_data.h": cpp_header(data, header),
                    output_dir / "phrase_data.cpp": cpp_source(data, header)}, summary)
