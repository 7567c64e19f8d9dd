#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generates the code tables tables/mod_<letter>.{h,cpp} from public input-method data.

Sources (Debian packages, read from their installed paths):
  rime-data-wubi   /usr/share/rime-data/wubi86.dict.yaml   Wubi 86 codes (LGPL-3.0; table
                   derived from ibus-table, based on Wang Yongmin's public-domain Wubi 86)
  unicode-data     /usr/share/unicode/Unihan_Readings.txt.bz2  Mandarin readings (Unicode
                   License v3): kMandarin gives a character's most customary reading;
                   kHanyuPinyin, kXHC1983, kTGHZ2013 and kHanyuPinlu add its other readings.
GB2312 membership comes from Python's own "gb2312" codec.

The data format, once:
  A group is an ordered list of rows (character, Wubi code, syllable). Groups A B C D E F G H
  J K carry a toneless lowercase syllable in every row; groups L M N O P Q R S T W X Y Z carry
  none. A character is filed under the first letter of its reading.

Rules where the tables' contract leaves a choice, applied to every character alike:
  * Held characters: every GB2312 hanzi except the listed EXCLUDED ones, plus group N, which
    holds the excluded characters whose filing reading (below) has the initial n.
  * A character gets one row, filed by its filing reading, which is also the syllable shown:
      1. kTGHZ2013's reading, where it gives a single one (toneless): the 2013 standard
         dictionary's reading is the modern norm;
      2. else the reading most often counted in kHanyuPinlu (counts summed per toneless
         reading; a tie goes to kMandarin's first value if it is among the tied, else to the
         first listed);
      3. else kMandarin's first value.
    kTGHZ2013 comes before kHanyuPinlu because the two disagree only where the counts record a
    suffix or particle use (儿 r, 呵 a, 呐 ne, 喔 o), not the character's own reading (among
    the GB2312 hanzi; 桔 is prescribed, and 嗯 ties n and ng).
    The rows listed in PINNED_ROWS (the characters whose rows are prescribed) replace this.
    Group A is prescribed in full, so a character whose filing reading begins with a but that
    is not in it is filed by the alphabetically first of its other readings with another initial.
  * Code: the prescribed code where one is given (PINNED_CODES, PINNED_ROWS); otherwise the
    character's shortest code in the Wubi 86 source, ties broken by the source's weight (then
    alphabetically). Commented-out source lines and z codes are skipped.
  * Order: rows grouped by toneless reading (syllable), readings in alphabetical order; within
    a reading in GB2312 code order, except that the group's prescribed first row leads and
    group A keeps its prescribed order. Groups L to Z are ordered the same way, by the reading
    each row was filed by, though they do not store it.

Any violated requirement stops the generator with a message; nothing is written then.
Run: python3 tools/generate_tables.py [--check]   (--check compares instead of writing)
"""

import argparse
import bz2
import codecs
import pathlib
import sys
import unicodedata

WUBI_SOURCE = pathlib.Path("/usr/share/rime-data/wubi86.dict.yaml")
UNIHAN_SOURCE = pathlib.Path("/usr/share/unicode/Unihan_Readings.txt.bz2")
OUTPUT_DIR = pathlib.Path(__file__).resolve().parent.parent / "tables"

GROUPS = "ABCDEFGHJKLMNOPQRSTWXYZ"
SYLLABLE_GROUPS = "ABCDEFGHJK"

EXCLUDED_FIRST_LEVEL = (
    "毖曹畅炒达答待郸痘睹断峨啡逢幅府拱贡钩辉荤纪奖踞砍考拷览肋类泪楞赂靡拿哪呐钠那娜纳氖乃奶"
    "耐奈南男难囊挠脑恼闹淖呢馁内嫩能妮霓倪泥尼拟你匿腻逆溺蔫拈年碾撵捻念娘酿鸟尿捏聂孽啮镊镍涅"
    "您柠狞凝宁拧泞牛扭钮纽脓浓农弄奴努怒女暖虐疟挪懦糯诺萍铺捎舍似饲蒜条胃钨襄湘靴薛讯摇荫咏涌"
    "尤盂渝乍章知稚嘱卓踪")
EXCLUDED_SECOND_LEVEL = (
    "廿孬丨丿丶鼐匚刂冂亻仞伧佞伲侬偌傧傩馘勹亠亳羸冫冖讠讷诔谖谶卩阝陧邾郫廴凵鬯圮坭垴垓埝墀艹艿"
    "苄苎茱荸萘蒇藁蘖廾扌挢捺摁搋搦攮呒呔咂咛呶呲哝喏嗒喃嗫嘞噍囔囗囡嶙彳徼彡犭狃猊猱夂饣馇馕庾廛"
    "忄忭忸怩阏丬氵汨漩宀宕甯辶彐孱羼弩屮妞姣姹胬嫒媸嫘嬖嬲孥驽纟绐缏缧巛瑙璇璧杈柰楠楦榛樗檑辇戤"
    "瓿甏昵暄曩贳赅觊觌犟犏攵肭胼脲腩飙毂觳旎爨灬礻恧恁慝肀淼砹硇礅礓黼眚睨瞽钅钕铌铙锘镉镎镩镳黏"
    "鹱疒瘥瘛瘭癃癍衤衲袼褫皴耨耋聍颞虍虿蛲蝻蠹筇筚箅篦篪簋簟臬衄舭袅襞粲糇糸纛赧醍醢跫跸蹑躔隼雠"
    "鎏鲅鲇鲋鲎鲵鲶鲷鞫鞴魃髟")

# Group A in full: (syllable, "char code, char code, ...").
GROUP_A = [
    ("a", "啊 kb, 阿 bs, 吖 kuh, 腌 edjn, 锕 qbs"),
    ("ai", "皑 rmnn, 挨 rct, 哎 kaq, 唉 kct, 哀 yeu, 埃 fct, 癌 ukk, 蔼 ayj, 矮 tdtv, 艾 aqu, "
           "碍 djg, 爱 ep, 隘 buw, 捱 rdff, 嗳 kep, 瑷 gepc, 暧 jep, 霭 fyjn, 锿 qyey"),
    ("an", "氨 rnp, 鞍 afp, 安 pv, 俺 wdjn, 按 rpv, 暗 ju, 岸 mdfj, 胺 epv, 案 pvs, 谙 yuj, "
           "埯 fdjn, 揞 rujg, 犴 qtfh, 庵 ydjn, 桉 spv, 铵 qpv, 鹌 djng, 黯 lfoj"),
    ("ang", "肮 eym, 昂 jqb, 盎 mdl"),
    ("ao", "凹 mmgd, 敖 gqty, 熬 gqto, 翱 rdfn, 袄 putd, 傲 wgqt, 奥 tmo, 懊 ntm, 澳 itm, 坳 fxl, "
           "拗 rxl, 嗷 kgqt, 岙 tdm, 廒 ygq, 遨 gqtp, 媪 vjl, 鳌 gqtg, 骜 gqtc, 獒 gqtd, 聱 gqtb, "
           "螯 gqtj, 鏊 gqtq, 鏖 ynjq"),
]

# Each group's first row: (character, code, reading).
FIRST_ROWS = {
    "A": ("啊", "kb", "a"), "B": ("芭", "ac", "ba"), "C": ("擦", "rpwi", "ca"),
    "D": ("搭", "rawk", "da"), "E": ("轭", "ldb", "e"), "F": ("发", "v", "fa"),
    "G": ("噶", "kaj", "ga"), "H": ("哈", "kwg", "ha"), "J": ("计", "yf", "ji"),
    "K": ("喀", "kpt", "ka"), "L": ("垃", "fug", "la"), "M": ("妈", "vc", "ma"),
    "O": ("哦", "ktr", "o"), "P": ("啪", "krr", "pa"), "Q": ("期", "adwe", "qi"),
    "R": ("然", "qd", "ran"), "S": ("撒", "rae", "sa"), "T": ("塌", "fjn", "ta"),
    "W": ("挖", "rpwn", "wa"), "X": ("昔", "ajf", "xi"), "Y": ("压", "dfy", "ya"),
    "Z": ("匝", "amh", "za"),
}

# Characters whose rows are prescribed: character -> [(group, reading, code), ...] in row order.
PINNED_ROWS = {
    "捌": [("B", "ba", "rklj")], "巴": [("B", "ba", "cnhn")], "乌": [("W", "wu", "qng")],
    "的": [("D", "de", "r")], "和": [("H", "he", "t")],
    "剥": [("B", "bao", "vijh"), ("B", "bo", "vijh")],
    "绰": [("C", "chao", "xhj"), ("C", "chuo", "xhj")],
    "都": [("D", "dou", "ftjb"), ("D", "du", "ftjb")],
    "佛": [("F", "fo", "wxj"), ("F", "fu", "wxj")],
    "还": [("H", "hai", "gip"), ("H", "huan", "gip")],
    "藉": [("J", "ji", "adi"), ("J", "jie", "adi")],
    "角": [("J", "jiao", "qe"), ("J", "jue", "qe")],
    "桔": [("J", "jie", "sfk"), ("J", "ju", "sfk")],
    "壁": [("B", "bi", "nkuf"), ("B", "bi", "nkuf")],
    "糠": [("K", "kang", "oyvi"), ("K", "kang", "oyvi")],
    "了": [("L", "le", "b"), ("L", "liao", "b")],
    "没": [("M", "mei", "im"), ("M", "mo", "im")],
    "瘀": [("Y", "yu", "uywu"), ("Y", "yu", "uywu")],
    "着": [("Z", "zhe", "udh"), ("Z", "zhuo", "udh")],
    "鳞": [("L", "lin", "qgoh"), ("L", "lin", "qgo")],
    "长": [("C", "chang", "ta"), ("Z", "zhang", "ta")],
    "行": [("H", "hang", "tf"), ("X", "xing", "tf")],
    "降": [("J", "jiang", "bt"), ("X", "xiang", "bt")],
    "给": [("G", "gei", "xw"), ("J", "ji", "xw")],
    "乐": [("L", "le", "qi"), ("Y", "yue", "qi")],
    "率": [("L", "lv", "yx"), ("S", "shuai", "yxif")],
    "省": [("S", "sheng", "ith"), ("X", "xing", "ith")],
}

# Prescribed codes of characters filed by the general rule.
PINNED_CODES = {
    "报": "rb", "汉": "ic", "查": "sj", "键": "qvfp", "音": "ujf", "王": "gggg", "金": "qqqq",
    "目": "hhhh", "大": "dd", "水": "ii", "子": "bb", "我": "q",
}

# The syllables that must occur in each group with syllables, in table order; others may too.
SYLLABLES = {
    "A": "a ai an ang ao",
    "B": "ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu",
    "C": "ca cai can cang cao ce cen ceng cha chai chan chang chao che chen cheng chi chong chou "
         "chu chuai chuan chuang chui chun chuo ci cong cou cu cuan cui cun cuo",
    "D": "da dai dan dang dao de deng di dia dian diao die ding diu dong dou du duan dui dun duo",
    "E": "e ei en er",
    "F": "fa fan fang fei fen feng fo fou fu",
    "G": "ga gai gan gang gao ge gei geng gong gou gu gua guai guan guang gui gun guo",
    "H": "ha hai han hang hao he hei hen heng hong hou hu hua huai huan huang hui hun huo",
    "J": "ji jia jian jiang jiao jie jin jing jiu ju juan jue jun",
    "K": "ka kai kan kang kao ke ken keng kong kou ku kua kuai kuan kuang kui kun kuo",
}

# The 25 first-level simple codes of Wubi 86: the only one-letter rows.
SIMPLE_CODES = "工了以在有地一上不是中国同民为这我的要和产发人经主"

# What each group's lookups must answer for these characters (code, syllable or None).
EXPECTED_ANSWERS = [
    ("剥", "vijh", "bao"), ("绰", "xhj", "chao"), ("都", "ftjb", "dou"), ("佛", "wxj", "fo"),
    ("还", "gip", "hai"), ("藉", "adi", "ji"), ("角", "qe", "jiao"), ("桔", "sfk", "jie"),
    ("壁", "nkuf", "bi"), ("糠", "oyvi", "kang"), ("了", "b", None), ("没", "im", None),
    ("瘀", "uywu", None), ("着", "udh", None), ("鳞", "qgoh", None), ("长", "ta", "chang"),
    ("行", "tf", "hang"), ("降", "bt", "jiang"), ("给", "xw", "gei"), ("乐", "qi", None),
    ("率", "yx", None), ("省", "ith", None),
]


class TableError(Exception):
    pass


def require(condition, message):
    if not condition:
        raise TableError(message)


def toneless(reading):
    """Strips tone marks; ü becomes v so that it can be recognised (and refused) later."""
    decomposed = unicodedata.normalize("NFD", reading.lower())
    decomposed = decomposed.replace("u\u0308", "v")
    return "".join(ch for ch in decomposed if not unicodedata.combining(ch))


def load_wubi_codes():
    """Returns {character: [(code, weight), ...]} from the uncommented single-character rows."""
    codes = {}
    in_body = False
    for line in WUBI_SOURCE.read_text(encoding="utf-8").splitlines():
        if not in_body:
            in_body = line == "..."
            continue
        if not line or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) < 2 or len(fields[0]) != 1 or fields[1].startswith("z"):
            continue
        weight = int(fields[2]) if len(fields) > 2 and fields[2].isdigit() else 0
        codes.setdefault(fields[0], []).append((fields[1], weight))
    return codes


class Readings:
    """A character's toneless readings from the Unihan fields that matter for filing it."""

    def __init__(self):
        self.mandarin = []     # kMandarin, in its order (most customary first)
        self.standard = set()  # kTGHZ2013
        self.frequency = {}    # kHanyuPinlu: reading -> count, in the field's order
        self.every = set()     # all of the above and kHanyuPinyin, kXHC1983

    def filing_reading(self):
        """The reading a character is shown with and filed by (the rule in the docstring)."""
        if len(self.standard) == 1:
            return next(iter(self.standard))
        if self.frequency:
            most = max(self.frequency.values())
            tied = [r for r, count in self.frequency.items() if count == most]
            return self.mandarin[0] if self.mandarin and self.mandarin[0] in tied else tied[0]
        require(self.mandarin, "no kMandarin reading")
        return self.mandarin[0]


def load_readings(path):
    """Returns {character: Readings} for every character that has a reading."""
    readings = {}
    with bz2.open(path, "rt", encoding="utf-8") as source:
        for line in source:
            if line.startswith("#") or not line.strip():
                continue
            codepoint, field, value = line.rstrip("\n").split("\t", 2)
            if field not in ("kMandarin", "kHanyuPinyin", "kXHC1983", "kTGHZ2013", "kHanyuPinlu"):
                continue
            entry = readings.setdefault(chr(int(codepoint[2:], 16)), Readings())
            if field == "kMandarin":
                values = [toneless(v) for v in value.split()]
                entry.mandarin = values
            elif field == "kHanyuPinlu":
                # "de(75596) di(157)": counts per toned reading, summed per toneless one.
                values = []
                for item in value.split():
                    reading, count = item.rstrip(")").split("(")
                    values.append(toneless(reading))
                    entry.frequency[values[-1]] = entry.frequency.get(values[-1], 0) + int(count)
            else:
                values = [toneless(r) for item in value.split() for r in item.split(":")[1].split(",")]
                if field == "kTGHZ2013":
                    entry.standard = set(values)
            entry.every.update(values)
    return readings


def gb2312_hanzi():
    """Returns (first level, second level) hanzi of GB2312, each in code order."""
    levels = ([], [])
    for row in range(16, 88):
        for column in range(1, 95):
            try:
                character = bytes([0xA0 + row, 0xA0 + column]).decode("gb2312")
            except UnicodeDecodeError:
                continue
            levels[0 if row < 56 else 1].append(character)
    return levels


def gb_key(character):
    return character.encode("gb2312")


def choose_code(character, wubi):
    candidates = wubi.get(character)
    require(candidates, f"{character} has no Wubi 86 code in the source")
    return min(candidates, key=lambda c: (len(c[0]), -c[1], c[0]))[0]


def build_rows(wubi, readings):
    first_level, second_level = gb2312_hanzi()
    require(len(first_level) == 3755 and len(second_level) == 3008, "unexpected GB2312 size")
    excluded = set(EXCLUDED_FIRST_LEVEL) | set(EXCLUDED_SECOND_LEVEL)
    require(len(EXCLUDED_FIRST_LEVEL) == 144 and len(EXCLUDED_SECOND_LEVEL) == 242,
            "exclusion lists have the wrong length")
    require(set(EXCLUDED_FIRST_LEVEL) <= set(first_level), "exclusion list not first level")
    require(set(EXCLUDED_SECOND_LEVEL) <= set(second_level), "exclusion list not second level")

    group_a_rows = []
    for syllable, run in GROUP_A:
        for item in run.split(", "):
            character, code = item.split(" ")
            group_a_rows.append((character, code, syllable))
    group_a_characters = {row[0] for row in group_a_rows}

    # Placement: (group, reading, code) per row of every held character.
    placements = {}
    for character, code, syllable in group_a_rows:
        placements[character] = [("A", syllable, code)]
    for group, (character, code, reading) in FIRST_ROWS.items():
        placements.setdefault(character, [(group, reading, code)])
    placements.update(PINNED_ROWS)

    def filing_reading(character):
        require(character in readings, f"{character} has no Mandarin reading in the source")
        entry = readings[character]
        first = entry.filing_reading()
        for reading in [first] + sorted(entry.every - {first}):
            if reading[0] != "a":
                return reading
        raise TableError(f"{character} can be filed only under A, which is closed")

    n_excluded = []
    for character in first_level + second_level:
        if character in placements:
            continue
        if character in excluded:
            reading = readings[character].filing_reading() if character in readings else " "
            if reading[0] == "n":
                n_excluded.append(character)
                placements[character] = [("N", reading, choose_code(character, wubi))]
            continue
        reading = filing_reading(character)
        code = PINNED_CODES.get(character) or choose_code(character, wubi)
        placements[character] = [(reading[0].upper(), reading, code)]

    first_n = [c for c in n_excluded if c in set(first_level)]
    require(len(first_n) == 81 and first_n[0] == "拿" and first_n[-1] == "诺",
            f"expected the 81 first-level n characters 拿..诺, got {len(first_n)}")

    groups = {letter: [] for letter in GROUPS}
    for character, rows in placements.items():
        for ordinal, (group, reading, code) in enumerate(rows):
            groups[group].append((character, code, reading, ordinal))

    ordered = {}
    for letter, rows in groups.items():
        if letter == "A":
            ordered[letter] = [(c, code, s) for c, code, s in group_a_rows]
            continue
        first = FIRST_ROWS.get(letter, (None,))[0]
        rows.sort(key=lambda r: (r[2], r[0] != first, gb_key(r[0]), r[3]))
        ordered[letter] = [(c, code, reading) for c, code, reading, _ in rows]
    return ordered, excluded, n_excluded, first_level, second_level


def validate(groups, excluded, n_excluded, first_level, second_level, wubi, readings):
    held = {row[0] for rows in groups.values() for row in rows}
    expected = (set(first_level) | set(second_level)) - excluded | set(n_excluded)
    require(held == expected, f"coverage differs: {sorted(held ^ expected)[:20]}")

    for letter, rows in groups.items():
        require(rows, f"group {letter} is empty")
        for character, code, reading in rows:
            require(0x4E00 <= ord(character) <= 0x9FFF, f"{character} outside U+4E00..U+9FFF")
            require(1 <= len(code) <= 4 and all("a" <= ch <= "y" for ch in code),
                    f"{character}: bad code {code}")
            require(code in {c for c, _ in wubi[character]},
                    f"{character}: {code} is not a Wubi 86 code of it")
            require(reading in readings[character].every, f"{character}: {reading} not a reading")
            require(reading[0].upper() == letter, f"{character}: {reading} filed in {letter}")
            if letter in SYLLABLE_GROUPS:
                require(reading.isascii() and reading.isalpha() and reading.islower()
                        and "v" not in reading, f"{character}: bad syllable {reading}")
        if letter in SYLLABLE_GROUPS:
            runs = [rows[0][2]]
            for _, _, reading in rows[1:]:
                if reading != runs[-1]:
                    runs.append(reading)
            require(runs == sorted(set(runs)), f"group {letter}: syllable runs out of order")
            listed = SYLLABLES[letter].split()
            require(listed == sorted(listed) and len(listed) == len(set(listed)),
                    f"group {letter}: the listed syllables are not in table order")
            missing = [syllable for syllable in listed if syllable not in runs]
            require(not missing, f"group {letter}: no row reads {' '.join(missing)}")
        if letter in FIRST_ROWS:
            require(rows[0] == FIRST_ROWS[letter], f"group {letter}: wrong first row {rows[0]}")

    one_letter = [(row[1], row[0], letter) for letter, rows in groups.items() for row in rows
                  if len(row[1]) == 1]
    expected_one = [(chr(ord("a") + i), c, None) for i, c in enumerate(SIMPLE_CODES)]
    require(sorted((c, ch) for c, ch, _ in one_letter) ==
            sorted([(c, ch) for c, ch, _ in expected_one] + [("b", "了")]),
            "the one-letter rows are not the 25 simple codes with 了 twice")

    def answer(character):
        code = syllable = None
        for letter in GROUPS:
            for row in groups[letter]:
                if row[0] == character:
                    code = code or row[1]
                    if letter in SYLLABLE_GROUPS:
                        syllable = syllable or row[2]
                    break
        return code, syllable

    for character, code, syllable in EXPECTED_ANSWERS:
        require(answer(character) == (code, syllable),
                f"{character} answers {answer(character)}, expected {(code, syllable)}")
    for character, code in PINNED_CODES.items():
        require(answer(character)[0] == code, f"{character} does not answer {code}")
    for character, rows in PINNED_ROWS.items():
        for group, reading, code in rows:
            require((character, code, reading) in groups[group],
                    f"{character} {code} {reading} missing from {group}")
    for character in "知曹条":
        require(character not in held, f"{character} must not be held")


def cpp_header(letter):
    pinyin = letter in SYLLABLE_GROUPS
    lines = [
        "// Generated by tools/generate_tables.py; do not edit.",
        "// SPDX-License-Identifier: LGPL-3.0-only AND Unicode-DFS-2016",
        f"// Group {letter}: the characters filed under the pinyin initial {letter.lower()}.",
        "#pragma once",
        "",
        "#include <span>",
        "#include <string_view>",
        "",
        '#include "tables/code_entry.h"',
        "",
        f"namespace Mod_{letter} {{",
        "",
        "// Returns the Wubi code of this group's first row whose character equals `text`, or \"\".",
        "std::u16string_view LookupWubiCode(std::u16string_view text);",
    ]
    if pinyin:
        lines += [
            "// Returns the syllable of this group's first row whose character equals `text`, or \"\".",
            "std::u16string_view LookupPinyin(std::u16string_view text);",
        ]
    lines += [
        "// Returns the group's rows in table order.",
        "std::span<const CodeEntry> rows();",
        "",
        f"}}  // namespace Mod_{letter}",
        "",
    ]
    return "\n".join(lines)


def cpp_source(letter, rows):
    pinyin = letter in SYLLABLE_GROUPS
    lines = [
        "// Generated by tools/generate_tables.py from wubi86.dict.yaml and Unihan; do not edit.",
        "// SPDX-License-Identifier: LGPL-3.0-only AND Unicode-DFS-2016",
        f'#include "tables/mod_{letter.lower()}.h"',
        "",
        "#include <array>",
        "",
        '#include "tables/group_table.h"',
        "",
        f"namespace Mod_{letter} {{",
        "namespace {",
        "",
        f"constexpr std::array<CodeEntry, {len(rows)}> kRows{{{{",
    ]
    for character, code, reading in rows:
        syllable = reading if pinyin else ""
        lines.append(f'    {{u\'{character}\', u"{code}", u"{syllable}"}},')
    lines += [
        "}};",
        "",
        "constexpr GroupTable kTable(kRows);",
        "",
        "}  // namespace",
        "",
        "std::u16string_view LookupWubiCode(std::u16string_view text) { return kTable.wubiCode(text); }",
    ]
    if pinyin:
        lines.append(
            "std::u16string_view LookupPinyin(std::u16string_view text) { return kTable.syllable(text); }")
    lines += [
        "std::span<const CodeEntry> rows() { return kTable.rows(); }",
        "",
        f"}}  // namespace Mod_{letter}",
        "",
    ]
    return "\n".join(lines)


def summary(groups, n_excluded, first_level):
    rows = [row for letter in GROUPS for row in groups[letter]]
    distinct = {row[0] for row in rows}
    with_syllable = [row for letter in SYLLABLE_GROUPS for row in groups[letter]]
    first = set(first_level)
    lines = ["rows per group: " + " ".join(f"{l}={len(groups[l])}" for l in GROUPS),
             f"rows: {len(rows)}; distinct characters: {len(distinct)} "
             f"({len(distinct & first)} first level, {len(distinct - first)} second level)",
             f"rows with a syllable: {len(with_syllable)} for "
             f"{len({r[0] for r in with_syllable})} characters",
             f"one-letter rows: {sum(len(r[1]) == 1 for r in rows)}; "
             f"two-letter rows: {sum(len(r[1]) == 2 for r in rows)}",
             f"group N from the exclusion lists: {len(n_excluded)} "
             f"({sum(c in first for c in n_excluded)} first level)"]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="fail if the committed sources differ from what would be generated")
    args = parser.parse_args()
    codecs.lookup("gb2312")
    wubi = load_wubi_codes()
    readings = load_readings(UNIHAN_SOURCE)
    try:
        groups, excluded, n_excluded, first_level, second_level = build_rows(wubi, readings)
        validate(groups, excluded, n_excluded, first_level, second_level, wubi, readings)
    except TableError as error:
        sys.exit(f"generate_tables: {error}")

    outputs = {}
    for letter in GROUPS:
        outputs[OUTPUT_DIR / f"mod_{letter.lower()}.h"] = cpp_header(letter)
        outputs[OUTPUT_DIR / f"mod_{letter.lower()}.cpp"] = cpp_source(letter, groups[letter])
    stale = [path.name for path, text in outputs.items()
             if not path.exists() or path.read_text(encoding="utf-8") != text]
    if args.check:
        if stale:
            sys.exit("generate_tables: out of date: " + " ".join(stale))
    else:
        for path, text in outputs.items():
            path.write_text(text, encoding="utf-8")
    print(summary(groups, n_excluded, first_level))


if __name__ == "__main__":
    main()
