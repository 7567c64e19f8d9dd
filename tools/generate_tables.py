#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Generates the code tables tables/mod_<letter>.{h,cpp}, the character details
tables/details_data.{h,cpp}, the stroke orders tables/stroke_data.{h,cpp} and the phrase
codes tables/phrase_data.{h,cpp} from public input-method data.

Each header holds its group's rows as constant data; the source holds the lookups.

Sources (Debian packages, read from their installed paths unless an option of the same name,
such as --wubi PATH, names another file; SOURCE_FILES lists them):
  rime-data-wubi          wubi86.dict.yaml          Wubi 86 codes (LGPL-3.0; table derived from
                          ibus-table, based on Wang Yongmin's public-domain Wubi 86)
  unicode-data            Unihan_Readings.txt.bz2   Mandarin readings (Unicode License)
  rime-data-terra-pinyin  terra_pinyin.dict.yaml    the weights of the readings, which decide
  rime-data-luna-pinyin   luna_pinyin.dict.yaml     the principal reading (LGPL-3.0, LGPL-3.0
  rime-data-pinyin-simp   pinyin_simp.dict.yaml     and Apache-2.0); see reading_rules.py
  rime-data-stroke        stroke.dict.yaml          stroke orders (LGPL-3.0); see stroke_table.py
  unicode-data            Unihan_IRGSources.txt.bz2 kTotalStrokes, the stroke counts the orders
                                                    are checked against
GB2312 membership comes from Python's own "gb2312" codec.

The data format, once:
  A group is an ordered list of rows (character, Wubi code, syllable). Groups A B C D E F G H
  J K carry a toneless lowercase syllable in every row; groups L M N O P Q R S T W X Y Z carry
  none. A character is filed under the first letter of its reading.

Rules where the tables' contract leaves a choice, applied to every character alike:
  * Held characters: every GB2312 hanzi except the listed EXCLUDED ones, plus group N, which
    holds the excluded characters whose filing reading (below) has the initial n.
  * A character gets one row, filed by its principal reading without its tone, which is also
    the syllable shown: the reading a standard dictionary gives the character named alone,
    chosen by reading_rules.py (its docstring gives the rule and its sources, OVERRIDES the few
    characters the sources get wrong, each with its reason).
    The rows listed in PINNED_ROWS (the characters whose rows are prescribed) replace this.
    Group A is prescribed in full, so a character whose principal reading begins with a but
    that is not in it is filed by the most common of its other modern readings with another
    initial (嗌 yì, not ài).
  * Code: the prescribed code where one is given (PINNED_CODES, PINNED_ROWS); otherwise the
    character's shortest code in the Wubi 86 source, ties broken by the source's weight (then
    alphabetically). Commented-out source lines and z codes are skipped.
  * Order: rows grouped by toneless reading (syllable), readings in alphabetical order; within
    a reading in GB2312 code order, except that the group's prescribed first row leads and
    group A keeps its prescribed order. Groups L to Z are ordered the same way, by the reading
    each row was filed by, though they do not store it.

The character details (every code and reading of every character the Wubi source codes) are
built by details_table.py, the stroke orders by stroke_table.py, the phrase codes (every listed
word of two or more hanzi, from the Wubi source alone) by phrase_table.py; their docstrings give
their rules and encodings.

Every generated file's header records each source's Debian package, version and SHA-256, so
that --check can tell "the installed sources differ from those recorded" (exit 77) from "the
committed tables are stale" (exit 1). A missing source exits 2.

Any violated requirement stops the generator with a message; nothing is written then.
Only files whose text changes are rewritten. The group letters listed by hand in
tables/CMakeLists.txt and tables/groups.cpp are checked against GROUPS.
Run: python3 tools/generate_tables.py [--check] [--wubi PATH] [--unihan PATH] [--terra PATH]
                                     [--luna PATH] [--pinyin-simp PATH] [--strokes PATH]
                                     [--stroke-counts PATH]
"""

import argparse
import codecs
import hashlib
import pathlib
import re
import subprocess
import sys
from typing import NamedTuple, Optional

import details_table
import phrase_table
import reading_rules
import rime_dictionary
import stroke_table
from generation_checks import GenerationError, require
from phrase_table import SourceRow
from reading_rules import toneless


class SourceFile(NamedTuple):
    """A source the generator reads: its option, default path, what it is and its package."""
    option: str
    path: pathlib.Path
    what: str
    package: str


SOURCE_FILES = (
    SourceFile("wubi", pathlib.Path("/usr/share/rime-data/wubi86.dict.yaml"), "Wubi 86 source",
               "rime-data-wubi"),
    SourceFile("unihan", pathlib.Path("/usr/share/unicode/Unihan_Readings.txt.bz2"),
               "Unihan readings (bzip2-compressed)", "unicode-data"),
    SourceFile("terra", pathlib.Path("/usr/share/rime-data/terra_pinyin.dict.yaml"),
               "terra pinyin dictionary", "rime-data-terra-pinyin"),
    SourceFile("luna", pathlib.Path("/usr/share/rime-data/luna_pinyin.dict.yaml"),
               "luna pinyin dictionary", "rime-data-luna-pinyin"),
    SourceFile("pinyin-simp", pathlib.Path("/usr/share/rime-data/pinyin_simp.dict.yaml"),
               "pinyin-simp dictionary", "rime-data-pinyin-simp"),
    SourceFile("strokes", pathlib.Path("/usr/share/rime-data/stroke.dict.yaml"),
               "stroke order source", "rime-data-stroke"),
    SourceFile("stroke-counts", pathlib.Path("/usr/share/unicode/Unihan_IRGSources.txt.bz2"),
               "Unihan stroke counts (bzip2-compressed)", "unicode-data"),
)

# The sources of the code tables and details, and of the stroke orders, in the order their
# files record them.
TABLE_SOURCES = ("wubi", "unihan", "terra", "luna", "pinyin-simp")
STROKE_SOURCES = ("strokes", "wubi", "stroke-counts")
OUTPUT_DIR = pathlib.Path(__file__).resolve().parent.parent / "tables"

# --check's exit status when the installed sources are not the recorded ones: the test suite's
# skip code, since the committed tables are then neither confirmed nor refuted.
EXIT_SOURCES_DIFFER = 77
EXIT_SOURCE_MISSING = 2


class Row(NamedTuple):
    """One row of a group: the reading is the syllable in groups A to K, else only its filing."""
    group: str
    character: str
    code: str
    reading: str


class Answer(NamedTuple):
    """What the chains must answer for a character: the code, and the syllable or None."""
    character: str
    code: str
    syllable: Optional[str]

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

# Group A in full, in table order: syllable -> "character code, character code, ...".
GROUP_A = {
    "a": "啊 kb, 阿 bs, 吖 kuh, 腌 edjn, 锕 qbs",
    "ai": "皑 rmnn, 挨 rct, 哎 kaq, 唉 kct, 哀 yeu, 埃 fct, 癌 ukk, 蔼 ayj, 矮 tdtv, 艾 aqu, "
        "碍 djg, 爱 ep, 隘 buw, 捱 rdff, 嗳 kep, 瑷 gepc, 暧 jep, 霭 fyjn, 锿 qyey",
    "an": "氨 rnp, 鞍 afp, 安 pv, 俺 wdjn, 按 rpv, 暗 ju, 岸 mdfj, 胺 epv, 案 pvs, 谙 yuj, "
        "埯 fdjn, 揞 rujg, 犴 qtfh, 庵 ydjn, 桉 spv, 铵 qpv, 鹌 djng, 黯 lfoj",
    "ang": "肮 eym, 昂 jqb, 盎 mdl",
    "ao": "凹 mmgd, 敖 gqty, 熬 gqto, 翱 rdfn, 袄 putd, 傲 wgqt, 奥 tmo, 懊 ntm, 澳 itm, 坳 fxl, "
        "拗 rxl, 嗷 kgqt, 岙 tdm, 廒 ygq, 遨 gqtp, 媪 vjl, 鳌 gqtg, 骜 gqtc, 獒 gqtd, 聱 gqtb, "
        "螯 gqtj, 鏊 gqtq, 鏖 ynjq",
}

# Each group's first row.
FIRST_ROWS = {row.group: row for row in (
    Row("A", "啊", "kb", "a"), Row("B", "芭", "ac", "ba"), Row("C", "擦", "rpwi", "ca"),
    Row("D", "搭", "rawk", "da"), Row("E", "轭", "ldb", "e"), Row("F", "发", "v", "fa"),
    Row("G", "噶", "kaj", "ga"), Row("H", "哈", "kwg", "ha"), Row("J", "计", "yf", "ji"),
    Row("K", "喀", "kpt", "ka"), Row("L", "垃", "fug", "la"), Row("M", "妈", "vc", "ma"),
    Row("O", "哦", "ktr", "o"), Row("P", "啪", "krr", "pa"), Row("Q", "期", "adwe", "qi"),
    Row("R", "然", "qd", "ran"), Row("S", "撒", "rae", "sa"), Row("T", "塌", "fjn", "ta"),
    Row("W", "挖", "rpwn", "wa"), Row("X", "昔", "ajf", "xi"), Row("Y", "压", "dfy", "ya"),
    Row("Z", "匝", "amh", "za"),
)}

# The rows of the characters whose rows are prescribed, each character's rows in row order.
PINNED_ROWS = [
    Row("B", "捌", "rklj", "ba"),
    Row("B", "巴", "cnhn", "ba"),
    Row("W", "乌", "qng", "wu"),
    Row("D", "的", "r", "de"),
    Row("H", "和", "t", "he"),
    Row("B", "剥", "vijh", "bao"), Row("B", "剥", "vijh", "bo"),
    Row("C", "绰", "xhj", "chao"), Row("C", "绰", "xhj", "chuo"),
    Row("D", "都", "ftjb", "dou"), Row("D", "都", "ftjb", "du"),
    Row("F", "佛", "wxj", "fo"), Row("F", "佛", "wxj", "fu"),
    Row("H", "还", "gip", "hai"), Row("H", "还", "gip", "huan"),
    Row("J", "藉", "adi", "ji"), Row("J", "藉", "adi", "jie"),
    Row("J", "角", "qe", "jiao"), Row("J", "角", "qe", "jue"),
    Row("J", "桔", "sfk", "jie"), Row("J", "桔", "sfk", "ju"),
    Row("B", "壁", "nkuf", "bi"), Row("B", "壁", "nkuf", "bi"),
    Row("K", "糠", "oyvi", "kang"), Row("K", "糠", "oyvi", "kang"),
    Row("L", "了", "b", "le"), Row("L", "了", "b", "liao"),
    Row("M", "没", "im", "mei"), Row("M", "没", "im", "mo"),
    Row("Y", "瘀", "uywu", "yu"), Row("Y", "瘀", "uywu", "yu"),
    Row("Z", "着", "udh", "zhe"), Row("Z", "着", "udh", "zhuo"),
    Row("L", "鳞", "qgoh", "lin"), Row("L", "鳞", "qgo", "lin"),
    Row("C", "长", "ta", "chang"), Row("Z", "长", "ta", "zhang"),
    Row("H", "行", "tf", "hang"), Row("X", "行", "tf", "xing"),
    Row("J", "降", "bt", "jiang"), Row("X", "降", "bt", "xiang"),
    Row("G", "给", "xw", "gei"), Row("J", "给", "xw", "ji"),
    Row("L", "乐", "qi", "le"), Row("Y", "乐", "qi", "yue"),
    Row("L", "率", "yx", "lv"), Row("S", "率", "yxif", "shuai"),
    Row("S", "省", "ith", "sheng"), Row("X", "省", "ith", "xing"),
]

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

# What the chains must answer for these characters.
EXPECTED_ANSWERS = [
    Answer("剥", "vijh", "bao"), Answer("绰", "xhj", "chao"), Answer("都", "ftjb", "dou"),
    Answer("佛", "wxj", "fo"), Answer("还", "gip", "hai"), Answer("藉", "adi", "ji"),
    Answer("角", "qe", "jiao"), Answer("桔", "sfk", "jie"), Answer("壁", "nkuf", "bi"),
    Answer("糠", "oyvi", "kang"), Answer("了", "b", None), Answer("没", "im", None),
    Answer("瘀", "uywu", None), Answer("着", "udh", None), Answer("鳞", "qgoh", None),
    Answer("长", "ta", "chang"), Answer("行", "tf", "hang"), Answer("降", "bt", "jiang"),
    Answer("给", "xw", "gei"), Answer("乐", "qi", None), Answer("率", "yx", None),
    Answer("省", "ith", None),
]


class SourceMissing(Exception):
    pass


class Source(NamedTuple):
    """A source file as the generated headers record it."""
    package: str  # the Debian package that installed it, or "-"
    version: str  # that package's version, or "-"
    name: str     # the file name
    sha256: str

    def header_line(self):
        return f"// Source: {self.package} {self.version}, {self.name}, SHA-256 {self.sha256}"


SOURCE_LINE = re.compile(r"^// Source: (\S+) (\S+), (\S+), SHA-256 ([0-9a-f]{64})$", re.M)


def dpkg_query(*arguments):
    try:
        result = subprocess.run(["dpkg-query", *arguments], capture_output=True, text=True)
    except OSError:
        return None
    return result.stdout.strip() if result.returncode == 0 else None


def describe_source(path, what, package_hint):
    """Returns the Source record of `path`; raises SourceMissing when it cannot be read."""
    try:
        data = path.read_bytes()
    except OSError as error:
        raise SourceMissing(f"cannot read the {what} {path}: {error.strerror} "
                            f"(install {package_hint}, or name the file with an option)")
    owner = dpkg_query("-S", str(path))
    package = owner.split(":")[0] if owner else None
    version = dpkg_query("-W", "-f=${Version}", package) if package else None
    return Source(package or "-", version or "-", path.name, hashlib.sha256(data).hexdigest())


def read_wubi_rows(path):
    """Returns the source's uncommented rows with a code, in source order."""
    rows = []
    for fields in rime_dictionary.entries(path):
        weight = int(fields[2]) if len(fields) > 2 and fields[2].isdigit() else 0
        rows.append(SourceRow(fields[0], fields[1], weight))
    return rows


def load_wubi_codes(rows):
    """Returns {character: [(code, weight), ...]} from the single-character rows."""
    codes = {}
    for row in rows:
        if len(row.text) == 1 and not row.code.startswith("z"):
            codes.setdefault(row.text, []).append((row.code, row.weight))
    return codes


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


class Tables(NamedTuple):
    groups: dict        # letter -> [Row] in table order
    excluded: set       # the listed characters that no group but N holds
    n_excluded: list    # the excluded characters that group N holds, in GB2312 order
    first_level: list   # GB2312's first-level hanzi, in code order
    second_level: list


def group_a_rows():
    return [Row("A", character, code, syllable)
            for syllable, run in GROUP_A.items()
            for character, code in (item.split(" ") for item in run.split(", "))]


def build_rows(wubi, readings):
    first_level, second_level = gb2312_hanzi()
    require(len(first_level) == 3755 and len(second_level) == 3008, "unexpected GB2312 size")
    excluded = set(EXCLUDED_FIRST_LEVEL) | set(EXCLUDED_SECOND_LEVEL)
    require(len(EXCLUDED_FIRST_LEVEL) == 144 and len(EXCLUDED_SECOND_LEVEL) == 242,
            "exclusion lists have the wrong length")
    require(set(EXCLUDED_FIRST_LEVEL) <= set(first_level), "exclusion list not first level")
    require(set(EXCLUDED_SECOND_LEVEL) <= set(second_level), "exclusion list not second level")

    # Every held character's rows, in row order.
    placements = {}
    for row in group_a_rows():
        placements[row.character] = [row]
    for row in FIRST_ROWS.values():
        placements.setdefault(row.character, [row])
    pinned = {}
    for row in PINNED_ROWS:
        pinned.setdefault(row.character, []).append(row)
    placements.update(pinned)

    def filing_reading(character):
        entry = readings.get(character)
        require(entry and entry.principal, f"{character} has no modern Mandarin reading")
        for reading in map(toneless, entry.modern):
            if reading[0] != "a":
                return reading
        raise GenerationError(f"{character} can be filed only under A, which is closed")

    n_excluded = []
    for character in first_level + second_level:
        if character in placements:
            continue
        if character in excluded:
            entry = readings.get(character)
            reading = toneless(entry.principal) if entry and entry.principal else " "
            if reading[0] == "n":
                n_excluded.append(character)
                placements[character] = [Row("N", character, choose_code(character, wubi),
                                             reading)]
            continue
        reading = filing_reading(character)
        code = PINNED_CODES.get(character) or choose_code(character, wubi)
        placements[character] = [Row(reading[0].upper(), character, code, reading)]

    first_n = [c for c in n_excluded if c in set(first_level)]
    require(len(first_n) == 81 and first_n[0] == "拿" and first_n[-1] == "诺",
            f"expected the 81 first-level n characters 拿..诺, got {len(first_n)}")

    groups = {letter: [] for letter in GROUPS}
    for rows in placements.values():
        for ordinal, row in enumerate(rows):
            groups[row.group].append((row, ordinal))

    ordered = {}
    for letter, rows in groups.items():
        if letter == "A":
            ordered[letter] = group_a_rows()
            continue
        first = FIRST_ROWS[letter].character if letter in FIRST_ROWS else None
        rows.sort(key=lambda r: (r[0].reading, r[0].character != first,
                                 gb_key(r[0].character), r[1]))
        ordered[letter] = [row for row, _ in rows]
    return Tables(ordered, excluded, n_excluded, first_level, second_level)


def validate(tables, wubi, readings):
    groups = tables.groups
    held = {row.character for rows in groups.values() for row in rows}
    expected = ((set(tables.first_level) | set(tables.second_level)) - tables.excluded
                | set(tables.n_excluded))
    require(held == expected, f"coverage differs: {sorted(held ^ expected)[:20]}")

    # Rows the tables prescribe, and characters group A's closed list keeps out of A, may be
    # filed by another reading than the principal one.
    prescribed = ({row.character for row in PINNED_ROWS + list(FIRST_ROWS.values())}
                  | {row.character for row in group_a_rows()})
    for letter, rows in groups.items():
        require(rows, f"group {letter} is empty")
        for row in rows:
            character, code, reading = row.character, row.code, row.reading
            require(row.group == letter, f"{character}: a row of {row.group} in {letter}")
            require(0x4E00 <= ord(character) <= 0x9FFF, f"{character} outside U+4E00..U+9FFF")
            require(1 <= len(code) <= 4 and all("a" <= ch <= "y" for ch in code),
                    f"{character}: bad code {code}")
            require(code in {c for c, _ in wubi[character]},
                    f"{character}: {code} is not a Wubi 86 code of it")
            require(reading in map(toneless, readings[character].modern),
                    f"{character}: {reading} is none of its modern readings")
            require(reading[0].upper() == letter, f"{character}: {reading} filed in {letter}")
            principal = toneless(readings[character].principal)
            require(reading == principal or character in prescribed or principal[0] == "a",
                    f"{character}: filed by {reading}, not by its principal reading {principal}")
            if letter in SYLLABLE_GROUPS:
                require(reading.isascii() and reading.isalpha() and reading.islower()
                        and "v" not in reading, f"{character}: bad syllable {reading}")
        if letter in SYLLABLE_GROUPS:
            runs = [rows[0].reading]
            for row in rows[1:]:
                if row.reading != runs[-1]:
                    runs.append(row.reading)
            require(runs == sorted(set(runs)), f"group {letter}: syllable runs out of order")
            listed = SYLLABLES[letter].split()
            require(listed == sorted(listed) and len(listed) == len(set(listed)),
                    f"group {letter}: the listed syllables are not in table order")
            missing = [syllable for syllable in listed if syllable not in runs]
            require(not missing, f"group {letter}: no row reads {' '.join(missing)}")
        if letter in FIRST_ROWS:
            require(rows[0] == FIRST_ROWS[letter], f"group {letter}: wrong first row {rows[0]}")

    one_letter = sorted((row.code, row.character) for rows in groups.values() for row in rows
                        if len(row.code) == 1)
    expected_one = [(chr(ord("a") + i), c) for i, c in enumerate(SIMPLE_CODES)] + [("b", "了")]
    require(one_letter == sorted(expected_one),
            "the one-letter rows are not the 25 simple codes with 了 twice")

    def answer(character):
        code = syllable = None
        for letter in GROUPS:
            for row in groups[letter]:
                if row.character == character:
                    code = code or row.code
                    if letter in SYLLABLE_GROUPS:
                        syllable = syllable or row.reading
                    break
        return Answer(character, code, syllable)

    for expected_answer in EXPECTED_ANSWERS:
        got = answer(expected_answer.character)
        require(got == expected_answer, f"{got.character} answers {got.code} {got.syllable}, "
                f"expected {expected_answer.code} {expected_answer.syllable}")
    for character, code in PINNED_CODES.items():
        require(answer(character).code == code, f"{character} does not answer {code}")
    for row in PINNED_ROWS:
        require(row in groups[row.group], f"{row} missing from {row.group}")
    for character in "知曹条":
        require(character not in held, f"{character} must not be held")


def file_header(sources, *lines, inputs="Debian's Wubi, Unihan and pinyin data",
                licence="LGPL-3.0-only AND Unicode-DFS-2016 AND Apache-2.0"):
    return [f"// Generated by tools/generate_tables.py from {inputs}; do not edit.",
            f"// SPDX-License-Identifier: {licence}",
            *(source.header_line() for source in sources), *lines]


def cpp_header(letter, rows, sources):
    pinyin = letter in SYLLABLE_GROUPS
    lines = file_header(sources, f"// Group {letter}: the characters filed under the pinyin initial "
                        f"{letter.lower()}.") + [
        "#pragma once",
        "",
        "#include <array>",
        "#include <string_view>",
        "",
        '#include "tables/code_entry.h"',
        "",
        f"namespace Mod_{letter} {{",
        "",
        "// The group's rows in table order: constants from which tables/groups.cpp stores every",
        "// group's rows once, in chain order, at compile time. The lookups walk them there.",
        f"inline constexpr std::array<CodeEntry, {len(rows)}> kRows{{{{",
    ]
    for row in rows:
        syllable = row.reading if pinyin else ""
        lines.append(f'    {{u\'{row.character}\', u"{row.code}", u"{syllable}"}},')
    lines += [
        "}};",
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
        "",
        f"}}  // namespace Mod_{letter}",
        "",
    ]
    return "\n".join(lines)


def cpp_source(letter, sources):
    pinyin = letter in SYLLABLE_GROUPS
    lines = file_header(sources) + [
        f'#include "tables/mod_{letter.lower()}.h"',
        "",
        '#include "tables/groups.h"',
        "",
        f"namespace Mod_{letter} {{",
        "",
        "std::u16string_view LookupWubiCode(std::u16string_view text) {",
        f"    const CodeEntry* row = findRow('{letter}', text);",
        "    return row ? row->wubiCode() : std::u16string_view();",
        "}",
    ]
    if pinyin:
        lines += [
            "",
            "std::u16string_view LookupPinyin(std::u16string_view text) {",
            f"    const CodeEntry* row = findRow('{letter}', text);",
            "    return row ? row->syllable() : std::u16string_view();",
            "}",
        ]
    lines += [
        "",
        f"}}  // namespace Mod_{letter}",
        "",
    ]
    return "\n".join(lines)


def check_group_lists():
    """Checks the group letters that tables/CMakeLists.txt and tables/groups.cpp list by hand."""
    cmake = (OUTPUT_DIR / "CMakeLists.txt").read_text(encoding="utf-8")
    listed = re.search(r"set\(TINGLAN_GROUP_LETTERS ([a-z ]*)\)", cmake)
    expected = " ".join(GROUPS.lower())
    require(listed and listed.group(1) == expected,
            f"tables/CMakeLists.txt: TINGLAN_GROUP_LETTERS must be {expected}")
    registry = (OUTPUT_DIR / "groups.cpp").read_text(encoding="utf-8")
    includes = "".join(re.findall(r'^#include "tables/mod_([a-z])\.h"$', registry, re.M))
    require(includes == GROUPS.lower(),
            f"tables/groups.cpp: includes mod_ {' '.join(includes)}, expected {expected}")
    # The macro definitions name a parameter, not a group: leave out preprocessor lines.
    entries = re.findall(r"TINGLAN_GROUP_(WITH_PINYIN|CODE_ONLY)\(([A-Z])\)",
                         "\n".join(line for line in registry.splitlines()
                                   if not line.lstrip().startswith("#")))
    expected_entries = [("WITH_PINYIN" if letter in SYLLABLE_GROUPS else "CODE_ONLY", letter)
                        for letter in GROUPS]
    require(entries == expected_entries,
            "tables/groups.cpp: kGroups must list " + " ".join(
                f"{letter}{'' if kind == 'CODE_ONLY' else '+pinyin'}"
                for kind, letter in expected_entries))


def recorded_sources(paths):
    """The source records of the existing generated files, if they all agree; else None."""
    records = {tuple(Source(*m) for m in SOURCE_LINE.findall(path.read_text(encoding="utf-8")))
               for path in paths if path.exists()}
    return records.pop() if len(records) == 1 else None


def settled_sources(paths, sources, check):
    """Returns `sources`, keeping the records of `paths` for the same bytes; with `check`, exits
    EXIT_SOURCES_DIFFER when they record other sources."""
    recorded = recorded_sources(paths)
    if recorded and len(recorded) == len(sources):
        # The same bytes are the same source, wherever they were read from.
        sources = tuple(old if old.sha256 == new.sha256 else new
                        for old, new in zip(recorded, sources))
    if check and recorded and recorded != sources:
        print(sources_differ_message(recorded, sources), file=sys.stderr)
        sys.exit(EXIT_SOURCES_DIFFER)
    return sources


def sources_differ_message(recorded, current):
    changes = []
    for old, new in zip(recorded, current):
        if old == new:
            continue
        if new.package == "-":
            changes.append(f"{new.name} comes from no Debian package, the tables record "
                           f"{old.package} {old.version}")
        elif (new.package, new.version) != (old.package, old.version):
            changes.append(f"{new.package} {new.version} is installed, the tables record "
                           f"{old.package} {old.version}")
        else:
            changes.append(f"{new.name} ({new.package} {new.version}) has SHA-256 "
                           f"{new.sha256[:12]}..., the tables record {old.sha256[:12]}...")
    return ("generate_tables: the sources differ from those recorded in the tables: "
            + "; ".join(changes or ["the list of sources changed"])
            + ". Run python3 tools/generate_tables.py, review the changes and commit them.")


def held_characters(tables):
    """The characters some group holds, in group and row order, each once."""
    return list(dict.fromkeys(row.character for letter in GROUPS for row in tables.groups[letter]))


def summary(groups, n_excluded, first_level):
    rows = [row for letter in GROUPS for row in groups[letter]]
    distinct = {row.character for row in rows}
    with_syllable = [row for letter in SYLLABLE_GROUPS for row in groups[letter]]
    first = set(first_level)
    lines = ["rows per group: " + " ".join(f"{l}={len(groups[l])}" for l in GROUPS),
             f"rows: {len(rows)}; distinct characters: {len(distinct)} "
             f"({len(distinct & first)} first level, {len(distinct - first)} second level)",
             f"rows with a syllable: {len(with_syllable)} for "
             f"{len({r.character for r in with_syllable})} characters",
             f"one-letter rows: {sum(len(r.code) == 1 for r in rows)}; "
             f"two-letter rows: {sum(len(r.code) == 2 for r in rows)}",
             f"group N from the exclusion lists: {len(n_excluded)} "
             f"({sum(c in first for c in n_excluded)} first level)"]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="fail if the committed tables differ from what would be generated")
    for source in SOURCE_FILES:
        parser.add_argument(f"--{source.option}", type=pathlib.Path, default=source.path,
                            metavar="PATH", help=f"the {source.what} (default {source.path})")
    args = parser.parse_args()
    paths = {source.option: getattr(args, source.option.replace("-", "_"))
             for source in SOURCE_FILES}
    codecs.lookup("gb2312")
    try:
        described = {source.option: describe_source(paths[source.option], source.what,
                                                    source.package)
                     for source in SOURCE_FILES}
    except SourceMissing as error:
        print(f"generate_tables: {error}", file=sys.stderr)
        sys.exit(EXIT_SOURCE_MISSING)

    sources = settled_sources([OUTPUT_DIR / f"mod_{letter.lower()}.{ext}"
                               for letter in GROUPS for ext in ("h", "cpp")],
                              tuple(described[option] for option in TABLE_SOURCES), args.check)
    stroke_sources = settled_sources([OUTPUT_DIR / name for name in stroke_table.OUTPUT_NAMES],
                                     tuple(described[option] for option in STROKE_SOURCES),
                                     args.check)

    try:
        source_rows = read_wubi_rows(paths["wubi"])
        wubi = load_wubi_codes(source_rows)
        readings = reading_rules.build(
            reading_rules.read_unihan_fields(paths["unihan"]),
            reading_rules.Weightings(*(reading_rules.read_rime_dictionary(paths[option])
                                       for option in ("terra", "luna", "pinyin-simp"))))
        tables = build_rows(wubi, readings)
        validate(tables, wubi, readings)
        check_group_lists()
        # A held character's details lead with the reading of its first row in lookup order.
        filed = {row.character: row.reading
                 for letter in reversed(GROUPS) for row in reversed(tables.groups[letter])}

        def details_readings(character):
            entry = readings.get(character)
            if not entry:
                return (), ()
            modern = entry.led_by(filed[character]) if character in filed else entry.modern
            return modern, entry.historical

        outputs = details_table.build(wubi, details_readings, tables.groups, SYLLABLE_GROUPS,
                                      OUTPUT_DIR, file_header(sources))
        stroke_outputs, strokes = stroke_table.build(
            paths["strokes"], paths["stroke-counts"], wubi, held_characters(tables), OUTPUT_DIR,
            file_header(stroke_sources, inputs="stroke.dict.yaml, wubi86.dict.yaml and Unihan",
                        licence="LGPL-3.0-only AND Unicode-DFS-2016"))
        outputs.update(stroke_outputs)
        phrases = phrase_table.build(source_rows, wubi, OUTPUT_DIR, [
            "// Generated by tools/generate_tables.py from wubi86.dict.yaml; do not edit.",
            "// SPDX-License-Identifier: LGPL-3.0-only", sources[0].header_line()])
        outputs.update(phrases.outputs)
    except (GenerationError, OSError, ValueError, EOFError) as error:
        sys.exit(f"generate_tables: {error}")

    for letter in GROUPS:
        outputs[OUTPUT_DIR / f"mod_{letter.lower()}.h"] = cpp_header(
            letter, tables.groups[letter], sources)
        outputs[OUTPUT_DIR / f"mod_{letter.lower()}.cpp"] = cpp_source(letter, sources)
    stale = [path for path, text in outputs.items()
             if not path.exists() or path.read_text(encoding="utf-8") != text]
    if args.check:
        if stale:
            sys.exit("generate_tables: the committed tables are stale (regenerate them): "
                     + " ".join(path.name for path in stale))
    else:
        for path in stale:
            path.write_text(outputs[path], encoding="utf-8")
        print(f"rewrote {len(stale)} of {len(outputs)} files"
              + (": " + " ".join(path.name for path in stale) if stale else ""))
    print(summary(tables.groups, tables.n_excluded, tables.first_level))
    print(stroke_table.summary(strokes))
    if not args.check:
        print(stroke_table.disagreement_list(strokes))
    print(phrases.summary)


if __name__ == "__main__":
    main()
