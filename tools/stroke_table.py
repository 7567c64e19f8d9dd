# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the stroke data, tables/stroke_data.{h,cpp}: every character's standard stroke order,
and the order in which a stroke search offers characters.

generate_tables.py calls build() with the Wubi source it parsed; this module reads the stroke
source and Unihan's stroke counts itself.

Orders come from rime-stroke's stroke.dict.yaml, whose letters h s p n z stand for 横 竖 撇 点
折, written here as the digits 1 to 5. The file has two sections: first the orders of the
CNS 11643 database (Taiwan's glyphs), then, after a comment that says so, the older table's
orders "for compatibility with Mainland China's standard Hanzi glyph". A character's order is
its mainland entry, else its CNS entry. Left out:
  * entries with any other letter (one CNS entry has a 6);
  * placeholders: the CNS section gives thousands of characters one and the same 14-stroke
    sequence where it has no order; a sequence that one section gives more than
    PLACEHOLDER_USES characters is no order (no real order is shared by more than 16);
  * compatibility ideographs (those with a canonical decomposition): they are their unified
    twins, which normalised text holds instead.
ORDER_FIXES puts right the source's known slips among the GB2312 hanzi, each with its reason:
a fix must differ from the source's order and have as many strokes as kTotalStrokes gives.
A character's stroke count is the length of its order, so that the two never contradict each
other. Unihan's kTotalStrokes (its first value, the one preferred for simplified Chinese) is the
check: the generator prints the characters whose orders disagree with it.

Search order: the characters the Wubi source gives a positive weight, highest first, ties by
code point, then every other character by code point. A character's weight is the highest of
its codes' weights: that is its full code's weight, the source's character frequency, while
its simple codes carry lower weights that only rank the characters sharing that short code.

The encoding (all integers little-endian; N characters with an order, sorted by code point;
a character's index is its place among them):
  kPresent[w]        64-bit words: bit b of word w is set when code point
                     kFirstCodePoint + 64 w + b has an order;
  kPresentBefore[k]  the number of characters before word 8 k;
  kCounts[i]         a byte per character: its stroke count (1 to 64), | 0x80 when the search
                     offers it among the weighted characters;
  kStrokeStart[j]    the position in the stroke stream of character 64 j's first stroke;
  kOrders            the stroke stream, every character's strokes in index order, three
                     strokes to 7 bits (s0 + 5 s1 + 25 s2, a stroke s counted from 0 for 横);
  kRanked            the weighted characters' indexes in search order, kRankedBits each.
Bit streams start at bit 0 of byte 0, fill each byte from its low bit, and end with three zero
bytes, so that a four-byte read at any of their bits stays inside.
"""

import bz2
import unicodedata
from collections import Counter
from typing import NamedTuple

import rime_dictionary
from details_table import number_lines, string_literal
from generation_checks import require

STROKE_LETTERS = {"h": 1, "s": 2, "p": 3, "n": 4, "z": 5}
MAINLAND_SECTION = "#The following entries inherited from the original table"
PLACEHOLDER_USES = 100
SAMPLE_EVERY = 64     # characters per kStrokeStart entry
RANK_EVERY = 8        # words per kPresentBefore entry
RANKED_FLAG = 0x80
OUTPUT_NAMES = ("stroke_data.h", "stroke_data.cpp")
# The source's slips among the GB2312 hanzi, put right: character -> (standard order, why).
ORDER_FIXES = {
    "字": ("445521", "宀 is 点 点 横钩 (445), as in 宁 and 安; the source has 425"),
    "龟": ("3525115", "丿 ㇇ 丨 ㇕ 一 一 乚: the third stroke is 竖; the source has 横 "
                      "(3515115)"),
    "耍": ("132522531", "女 is 撇点 撇 横 (531), as in 要; the source has 513"),
    "凝": ("4135311345452134", "冫 and 疑, whose 矢 is 31134 as the source's own 疑 has it; "
                               "the source has 32234"),
    "纛": ("1121554142511112343554234", "毒 (112155414, 9 strokes) over 縣, as the source "
                                        "gives each alone; the source's 纛 has 11215521, a "
                                        "stroke short"),
}
# Orders the tables' users can check by eye.
KNOWN_ORDERS = {"必": "45434", "长": "3154", "一": "1", "的": "32511354"}


class StrokeData(NamedTuple):
    orders: dict        # character -> digits "1".."5", sorted by code point
    ranked: list        # the weighted characters, in search order
    left_out: list      # (character, entry, why) of the entries that give no order
    disagreements: list  # (character, strokes in its order, kTotalStrokes or None)


def read_sections(path):
    """Returns the (CNS, mainland) sections of stroke.dict.yaml as [(character, letters)]."""
    sections = ([], [])
    section = 0
    for line in rime_dictionary.body_lines(path):
        if line.startswith(MAINLAND_SECTION):
            section = 1
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        require(len(fields) >= 2 and len(fields[0]) == 1, f"odd stroke source line: {line!r}")
        sections[section].append((fields[0], fields[1]))
    require(sections[0] and sections[1], "the stroke source has no mainland section")
    return sections


def read_total_strokes(path):
    """Returns {character: kTotalStrokes' first value} from Unihan_IRGSources.txt.bz2."""
    totals = {}
    with bz2.open(path, "rt", encoding="utf-8") as source:
        for line in source:
            if "\tkTotalStrokes\t" in line:
                codepoint, _, value = line.rstrip("\n").split("\t")
                totals[chr(int(codepoint[2:], 16))] = int(value.split()[0])
    require(totals, "Unihan gives no kTotalStrokes")
    return totals


def section_orders(entries, left_out):
    """Returns {character: digits} of one section's usable entries; records the others."""
    uses = Counter(letters for _, letters in entries)
    orders = {}
    for character, letters in entries:
        if unicodedata.decomposition(character):
            why = "a compatibility ideograph"
        elif not letters or any(letter not in STROKE_LETTERS for letter in letters):
            why = "not strokes"
        elif uses[letters] > PLACEHOLDER_USES:
            why = "a placeholder"
        else:
            require(character not in orders, f"{character} has two orders in one section")
            orders[character] = "".join(str(STROKE_LETTERS[letter]) for letter in letters)
            continue
        left_out.append((character, letters, why))
    return orders


def apply_fixes(orders, totals):
    """Puts ORDER_FIXES into `orders`, each checked against the source and kTotalStrokes."""
    for character, (order, _) in ORDER_FIXES.items():
        source = orders.get(character)
        require(source is not None, f"{character}: the source has no order to fix")
        require(order != source, f"{character}: the source now gives {order}; drop its fix")
        require(set(order) <= set("12345"), f"{character}: the fix {order} is not strokes")
        require(len(order) == totals.get(character),
                f"{character}: the fix has {len(order)} strokes, kTotalStrokes "
                f"{totals.get(character)}")
        orders[character] = order


def character_weights(wubi):
    """Returns {character: the highest weight of its codes} from {character: [(code, weight)]}."""
    return {character: max(weight for _, weight in codes) for character, codes in wubi.items()}


def build_data(stroke_path, counts_path, wubi, held):
    """Returns the StrokeData; `held` are the characters the code tables hold, each of which
    must have an order."""
    cns, mainland = read_sections(stroke_path)
    left_out = []
    orders = section_orders(cns, left_out)
    orders.update(section_orders(mainland, left_out))
    totals = read_total_strokes(counts_path)
    apply_fixes(orders, totals)
    orders = dict(sorted(orders.items(), key=lambda item: ord(item[0])))
    for character, order in KNOWN_ORDERS.items():
        require(orders.get(character) == order,
                f"{character} has the order {orders.get(character)}, expected {order}")
    missing = [character for character in held if character not in orders]
    require(not missing, f"characters of the tables without a stroke order: {''.join(missing)}")
    require(max(len(order) for order in orders.values()) <= 0x7F, "an order is too long")

    disagreements = [(character, len(order), totals.get(character))
                     for character, order in orders.items()
                     if totals.get(character) != len(order)]

    weights = character_weights(wubi)
    ranked = sorted((c for c in orders if weights.get(c, 0) > 0),
                    key=lambda c: (-weights[c], ord(c)))
    return StrokeData(orders, ranked, left_out, disagreements)


def pack(values, width):
    """Returns the bit stream of `values`, `width` bits each, with its three closing zero bytes."""
    number = 0
    for i, value in enumerate(values):
        require(0 <= value < 1 << width, f"{value} does not fit in {width} bits")
        number |= value << (i * width)
    size = (len(values) * width + 7) // 8
    return number.to_bytes(size, "little") + bytes(3)


def encode(data):
    """Returns the arrays of the encoding described in the module docstring."""
    characters = list(data.orders)
    first = ord(characters[0]) & ~63
    word_count = (ord(characters[-1]) - first) // 64 + 1
    present = [0] * word_count
    for character in characters:
        offset = ord(character) - first
        present[offset // 64] |= 1 << (offset % 64)
    present_before, seen = [], 0
    for w, word in enumerate(present):
        if w % RANK_EVERY == 0:
            present_before.append(seen)
        seen += bin(word).count("1")

    ranked = set(data.ranked)
    counts = bytes(len(data.orders[c]) | (RANKED_FLAG if c in ranked else 0) for c in characters)
    stroke_start, strokes = [], []
    for i, character in enumerate(characters):
        if i % SAMPLE_EVERY == 0:
            stroke_start.append(len(strokes))
        strokes += (int(digit) - 1 for digit in data.orders[character])
    strokes += [0] * (-len(strokes) % 3)
    triplets = [strokes[i] + 5 * strokes[i + 1] + 25 * strokes[i + 2]
                for i in range(0, len(strokes), 3)]
    index = {character: i for i, character in enumerate(characters)}
    ranked_bits = (len(characters) - 1).bit_length()
    return {
        "first_code_point": first,
        "present": present,
        "present_before": present_before,
        "counts": counts,
        "stroke_start": stroke_start,
        "orders": pack(triplets, 7),
        "ranked": pack([index[c] for c in data.ranked], ranked_bits),
        "ranked_bits": ranked_bits,
        "ranked_count": len(data.ranked),
    }


def cpp_header(data, header):
    return "\n".join([
        *header,
        "// The encoded stroke orders; tools/stroke_table.py describes the encoding.",
        "#pragma once",
        "",
        "#include <cstddef>",
        "#include <cstdint>",
        "",
        "namespace strokes::data {",
        "",
        f"inline constexpr char32_t kFirstCodePoint = 0x{data['first_code_point']:X};",
        f"inline constexpr std::size_t kWordCount = {len(data['present'])};",
        f"inline constexpr std::size_t kCharacterCount = {len(data['counts'])};",
        f"inline constexpr std::size_t kRankedCount = {data['ranked_count']};",
        f"inline constexpr std::size_t kRankEvery = {RANK_EVERY};",
        f"inline constexpr std::size_t kSampleEvery = {SAMPLE_EVERY};",
        f"inline constexpr std::uint8_t kRankedFlag = 0x{RANKED_FLAG:X};",
        f"inline constexpr unsigned kRankedBits = {data['ranked_bits']};",
        "",
        "extern const std::uint64_t kPresent[kWordCount];",
        f"extern const std::uint32_t kPresentBefore[{len(data['present_before'])}];",
        "extern const unsigned char kCounts[kCharacterCount + 1];",
        f"extern const std::uint32_t kStrokeStart[{len(data['stroke_start'])}];",
        f"extern const unsigned char kOrders[{len(data['orders'])}];",
        f"extern const unsigned char kRanked[{len(data['ranked'])}];",
        "",
        "}  // namespace strokes::data",
        "",
    ])


def cpp_source(data, header):
    lines = [*header, '#include "tables/stroke_data.h"', "", "namespace strokes::data {", ""]

    def numbers(declaration, values, per_line=16):
        lines.extend([f"{declaration} = {{", *number_lines(values, per_line), "};", ""])

    def blob(declaration, raw):
        # The literal's own closing NUL is the blob's last byte.
        require(raw[-1] == 0, "a blob must end with a zero byte")
        body = string_literal(raw[:-1], lambda b: 0x20 <= b < 0x7F and chr(b) not in '"\\?')
        body[-1] += ";"
        lines.extend([f"{declaration} =", *body, ""])

    numbers("const std::uint64_t kPresent[kWordCount]",
            [f"0x{word:X}" for word in data["present"]], 6)
    numbers(f"const std::uint32_t kPresentBefore[{len(data['present_before'])}]",
            data["present_before"])
    blob("const unsigned char kCounts[kCharacterCount + 1]", data["counts"] + bytes(1))
    numbers(f"const std::uint32_t kStrokeStart[{len(data['stroke_start'])}]",
            data["stroke_start"])
    blob(f"const unsigned char kOrders[{len(data['orders'])}]", data["orders"])
    blob(f"const unsigned char kRanked[{len(data['ranked'])}]", data["ranked"])
    lines += ["}  // namespace strokes::data", ""]
    return "\n".join(lines)


def summary(data):
    """The figures, and the disagreements with kTotalStrokes as order/Unihan counts."""
    outside_bmp = sum(ord(c) > 0xFFFF for c in data.orders)
    reasons = Counter(why for _, _, why in data.left_out)
    lines = [f"stroke orders: {len(data.orders)} characters ({outside_bmp} outside the BMP), "
             f"{sum(len(o) for o in data.orders.values())} strokes; {len(data.ranked)} weighted; "
             "left out: " + ", ".join(f"{n} {why}" for why, n in sorted(reasons.items())),
             f"stroke counts disagreeing with kTotalStrokes: {len(data.disagreements)}"]
    return "\n".join(lines)


def disagreement_list(data):
    """The disagreements, twenty to a line: character, its order's count / Unihan's (- for none)."""
    items = [f"{c} {strokes}/{total if total is not None else '-'}"
             for c, strokes, total in data.disagreements]
    return "\n".join("  " + "  ".join(items[i:i + 20]) for i in range(0, len(items), 20))


def build(stroke_path, counts_path, wubi, held, output_dir, header):
    """Returns ({path: text} of the stroke files, the StrokeData); each file starts with the
    comment lines `header` (generator, licence, sources)."""
    data = build_data(stroke_path, counts_path, wubi, held)
    encoded = encode(data)
    header_name, source_name = OUTPUT_NAMES
    return ({output_dir / header_name: cpp_header(encoded, header),
             output_dir / source_name: cpp_source(encoded, header)}, data)
