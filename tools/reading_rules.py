# SPDX-License-Identifier: GPL-3.0-or-later
"""Chooses each character's principal reading and orders its readings, for generate_tables.py.

Sources (Debian packages):
  unicode-data            Unihan_Readings.txt.bz2: the readings themselves, with tones.
  rime-data-terra-pinyin  terra_pinyin.dict.yaml: toned readings, each character's readings
                          weighted in per cent ("地 di4 90%", "地 de5 10%").
  rime-data-luna-pinyin   luna_pinyin.dict.yaml: toneless readings weighted in per cent.
  rime-data-pinyin-simp   pinyin_simp.dict.yaml: toneless readings of simplified characters
                          weighted by frequency, and words weighted the same way ("番茄 fan qie
                          1093"), so that a reading is also weighted by the words it occurs in.

Modern and historical readings:
  * A character's modern readings are those of kTGHZ2013 (the 2013 standard dictionary),
    kMandarin and kHanyuPinlu (a frequency count of modern text).
  * A reading that only kXHC1983 (the 1983 dictionary, which also lists tone-sandhi forms such
    as 一 yí, yì) or kHanyuPinyin (the historical Hanyu Da Zidian: 年 nìng) gives is
    historical. It is dropped where the character has a modern reading, and kept apart, as the
    character's historical readings, where it has none.

How common a modern reading is, as a pair compared in this order:
  1. its syllable (the reading without tone): the sum of the syllable's shares among the
     character's modern syllables in four weightings: terra's and luna's per-character weights,
     pinyin-simp's per-character weights and pinyin-simp's words (each reading weighted by the
     summed weights of the words in which the character is read so). A weighting that does not
     list the character adds nothing. In the per-cent dictionaries, a reading listed without a
     weight shares equally what the weighted ones leave of 100% (as Rime reads them: 琢 zhuo2
     alone is 100%).
  2. its tone, among the modern readings of the same syllable: the sum of its shares in terra's
     weights and in kHanyuPinlu's counts.
  Ties keep the order kMandarin, kTGHZ2013, kHanyuPinlu list the readings in.
  No single weighting is trusted alone: running-text counts favour particles (地 de), word
  weights favour words over the character (蚌埠 bèng), and terra and luna, written in
  traditional characters, weigh the traditional character where a simplified one stands for
  several (叶 is 葉 yè in simplified text, but xié in traditional text).

The principal reading, which files the character and comes first, is the most common of the
character's kTGHZ2013 readings, or of its modern readings where kTGHZ2013 has none: so a single
kTGHZ2013 reading decides, tone included (不 bù, never the neutral bu that kHanyuPinlu counts),
and a neutral tone comes first only where the standard dictionary gives one and it is the most
common (的 de, 了 le, 啊 a). OVERRIDES settles what the weightings get wrong. The other modern
readings follow by how common they are.
"""

import bz2
import unicodedata
from typing import NamedTuple, Optional

import rime_dictionary
from generation_checks import require

UNIHAN_FIELDS = ("kMandarin", "kHanyuPinlu", "kTGHZ2013", "kXHC1983", "kHanyuPinyin")
MODERN_FIELDS = ("kMandarin", "kTGHZ2013", "kHanyuPinlu")  # also the order that breaks ties
HISTORICAL_FIELDS = ("kXHC1983", "kHanyuPinyin")

# Principal readings that the weightings get wrong: character -> (reading, why).
OVERRIDES = {
    "叶": ("yè", "terra and luna weigh the traditional 叶 xié; simplified 叶 is 葉, the leaf"),
    "几": ("jǐ", "terra weighs the traditional 几 jī, a small table; simplified 几 is 幾 jǐ"),
    "咖": ("kā", "咖啡 kāfēi; the per-character weights count 咖喱 gālí"),
    "栅": ("zhà", "栅栏 zhàlan; shān is only the electrode 栅极"),
    "蚌": ("bàng", "the mussel; bèng is only the city 蚌埠, which dominates the word weights"),
    "绷": ("bēng", "绷带, 绷紧; kHanyuPinlu's few counts favour běng (绷着脸)"),
    "嘎": ("gā", "the sound (嘎嘎, 嘎吱); terra lists only gá, unweighted"),
    "薄": ("báo", "said alone and in speech (很薄, 薄饼); the weights count the bó of written "
                  "compounds (薄弱), and terra follows Taiwan, which reads bó throughout"),
    "桧": ("guì", "the tree (桧柏); huì is the name 秦桧, which the word weights count"),
}

TONE_MARKS = {"\u0304": "1", "\u0301": "2", "\u030c": "3", "\u0300": "4"}


def toneless(reading):
    """Strips tone marks; ü becomes v, as the tables spell it."""
    decomposed = unicodedata.normalize("NFD", reading.lower()).replace("u\u0308", "v")
    return "".join(ch for ch in decomposed if not unicodedata.combining(ch))


def numbered(reading):
    """Spells a reading as Rime does: toneless, then the tone's digit (5 for the neutral tone)."""
    decomposed = unicodedata.normalize("NFD", reading.lower())
    tone = next((TONE_MARKS[ch] for ch in decomposed if ch in TONE_MARKS), "5")
    return toneless(reading) + tone


def read_unihan_fields(path):
    """Returns {character: {field: raw value}} for the reading fields of Unihan_Readings.txt.bz2."""
    fields = {}
    with bz2.open(path, "rt", encoding="utf-8") as source:
        for line in source:
            if line.startswith("#") or not line.strip():
                continue
            codepoint, field, value = line.rstrip("\n").split("\t", 2)
            if field in UNIHAN_FIELDS:
                fields.setdefault(chr(int(codepoint[2:], 16)), {})[field] = value
    return fields


def field_readings(field, value):
    """Returns the readings (NFC) a raw Unihan field value lists, in its order."""
    if field == "kMandarin":
        readings = value.split()
    elif field == "kHanyuPinlu":
        readings = [entry.split("(")[0] for entry in value.split()]
    else:
        # "073.110:diǎ": dictionary positions, then the readings found there.
        readings = [r for entry in value.split() for r in entry.split(":")[1].split(",")]
    return [unicodedata.normalize("NFC", r) for r in readings]


def pinlu_counts(value):
    """Returns {reading: count} from a kHanyuPinlu value such as "de(7394) dì(4976)"."""
    counts = {}
    for entry in value.split():
        reading, count = entry.rstrip(")").split("(")
        reading = unicodedata.normalize("NFC", reading)
        counts[reading] = counts.get(reading, 0) + int(count)
    return counts


class RimeWeights(NamedTuple):
    """One Rime dictionary's weights: {character: {reading: weight, or None where unweighted}},
    and {character: {reading: summed weight of the words read so}}."""
    characters: dict
    words: dict


def read_rime_dictionary(path):
    """Reads the entries of a Rime .dict.yaml: "text<TAB>readings[<TAB>weight]" after "..."."""
    characters, words = {}, {}
    for fields in rime_dictionary.entries(path):
        text, readings = fields[0], fields[1].split()
        weight = fields[2] if len(fields) > 2 else ""
        if weight.endswith("%"):
            value = float(weight[:-1])
        else:
            value = int(weight) if weight.isdigit() else None
        if len(text) == 1:
            characters.setdefault(text, {})[readings[0]] = value
        elif len(readings) == len(text) and value is not None:
            for character, reading in zip(text, readings):
                read = words.setdefault(character, {})
                read[reading] = read.get(reading, 0) + value
    return RimeWeights(characters, words)


class Weightings(NamedTuple):
    terra: RimeWeights  # toned, numbered readings
    luna: RimeWeights
    simp: RimeWeights


def resolved(weights):
    """A character's weights in one dictionary, where the entries listed without a weight share
    equally what the weighted ones leave of 100 (how Rime reads a per-cent dictionary)."""
    unweighted = [k for k, w in weights.items() if w is None]
    rest = max(0.0, 100.0 - sum(w for w in weights.values() if w is not None))
    return {k: rest / len(unweighted) if w is None else w for k, w in weights.items()}


def shares(weights, keys):
    """Each of `keys`' share of the resolved weights that fall on `keys`; empty if none do."""
    relevant = {k: w for k, w in resolved(weights).items() if k in keys}
    total = sum(relevant.values())
    return {k: w / total for k, w in relevant.items()} if total > 0 else {}


class CharacterReadings(NamedTuple):
    """A character's readings (NFC, with tones)."""
    principal: Optional[str]  # the modern reading that files the character; None without one
    modern: tuple             # every modern reading, principal first, then the most common first
    historical: tuple         # readings only the historical dictionaries give; empty unless
                              # the character has no modern reading
    standard: tuple           # kTGHZ2013's readings, which alone may come first

    def led_by(self, syllable):
        """The modern readings led by the most common one whose toneless form is `syllable`
        (a character the tables file by another syllable than its principal reading's)."""
        first = next((r for r in self.modern if toneless(r) == syllable
                      and (r in self.standard or not self.standard)), None)
        require(first, f"no standard reading reads {syllable}")
        return (first,) + tuple(r for r in self.modern if r != first)


def listed(fields, names):
    readings = []
    for name in names:
        for reading in field_readings(name, fields[name]) if name in fields else ():
            if reading not in readings:
                readings.append(reading)
    return readings


def by_commonness(character, fields, modern, weightings):
    """Returns the modern readings, the most common first (the order in the docstring)."""
    terra = resolved(weightings.terra.characters.get(character, {}))
    terra_syllables = {}
    for reading, weight in terra.items():
        terra_syllables[reading[:-1]] = terra_syllables.get(reading[:-1], 0) + weight
    syllables = {toneless(r) for r in modern}
    syllable_score = dict.fromkeys(syllables, 0.0)
    for weights in (terra_syllables, weightings.luna.characters.get(character, {}),
                    weightings.simp.characters.get(character, {}),
                    weightings.simp.words.get(character, {})):
        for syllable, share in shares(weights, syllables).items():
            syllable_score[syllable] += share

    counts = pinlu_counts(fields["kHanyuPinlu"]) if "kHanyuPinlu" in fields else {}
    tone_score = dict.fromkeys(modern, 0.0)
    for syllable in syllables:
        same = [r for r in modern if toneless(r) == syllable]
        terra_shares = shares(terra, {numbered(r) for r in same})
        count_shares = shares(counts, set(same))
        for reading in same:
            tone_score[reading] = (terra_shares.get(numbered(reading), 0)
                                   + count_shares.get(reading, 0))
    return sorted(modern, key=lambda r: (-syllable_score[toneless(r)], -tone_score[r]))


def character_readings(character, fields, weightings):
    """Returns the CharacterReadings of `character` from its raw Unihan fields."""
    modern = listed(fields, MODERN_FIELDS)
    standard = tuple(listed(fields, ("kTGHZ2013",)))
    if not modern:
        return CharacterReadings(None, (), tuple(listed(fields, HISTORICAL_FIELDS)), standard)
    ordered = by_commonness(character, fields, modern, weightings)
    principal = next(r for r in ordered if r in standard) if standard else ordered[0]
    if character in OVERRIDES:
        override = OVERRIDES[character][0]
        require(override in (standard or modern),
                f"{character}: the override {override} is no standard reading of it")
        require(override != principal,
                f"{character}: the sources already give {override}; drop its override")
        principal = override
    return CharacterReadings(principal, (principal,) + tuple(r for r in ordered if r != principal),
                             (), standard)


def build(unihan, weightings):
    """Returns {character: CharacterReadings} for every character Unihan gives a reading."""
    require(set(OVERRIDES) <= set(unihan), "an override names a character without readings")
    return {character: character_readings(character, fields, weightings)
            for character, fields in unihan.items()}
