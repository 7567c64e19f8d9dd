// SPDX-License-Identifier: GPL-3.0-or-later
// Invariants of the generated code tables and the behaviour of every group's lookups, the
// details and the stroke orders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tables/details.h"
#include "tables/groups.h"
#include "tables/strokes.h"

namespace {

std::string utf8(std::u16string_view text) {
    std::string out;
    for (char16_t unit : text) {
        if (unit < 0x80) {
            out += static_cast<char>(unit);
        } else if (unit < 0x800) {
            out += static_cast<char>(0xC0 | (unit >> 6));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (unit >> 12));
            out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return out;
}

const Group& group(char letter) {
    for (const Group& g : allGroups()) {
        if (g.letter == letter) return g;
    }
    throw std::out_of_range("no such group");
}

bool isSyllableGroup(char letter) {
    return std::string_view("ABCDEFGHJK").find(letter) != std::string_view::npos;
}

// The lookups' contract spelled as a plain walk: for each code unit, the first row holding it.
std::vector<const CodeEntry*> firstRowByWalk(const Group& g) {
    std::vector<const CodeEntry*> first(0x10000, nullptr);
    for (const CodeEntry& row : g.rows()) {
        if (!first[row.character]) first[row.character] = &row;
    }
    return first;
}

TEST(GroupRegistry, HoldsTheGroupsInSearchOrderWithSyllableLookupsInAToK) {
    std::string letters;
    for (const Group& g : allGroups()) {
        letters += g.letter;
        EXPECT_NE(g.lookupWubiCode, nullptr) << g.letter;
        EXPECT_EQ(g.lookupPinyin != nullptr, isSyllableGroup(g.letter)) << g.letter;
    }
    EXPECT_EQ(letters, "ABCDEFGHJKLMNOPQRSTWXYZ");
}

TEST(GeneratedRows, EveryRowHasAValidKeyCodeAndSyllable) {
    for (const Group& g : allGroups()) {
        for (const CodeEntry& row : g.rows()) {
            const std::string where = std::string(1, g.letter) + " " + utf8({&row.character, 1});
            EXPECT_GE(row.character, u'\u4E00') << where;
            EXPECT_LE(row.character, u'\u9FFF') << where;
            ASSERT_GE(row.wubiCode().size(), 1u) << where;
            EXPECT_LE(row.wubiCode().size(), 4u) << where;
            for (char16_t letter : row.wubiCode())
                EXPECT_TRUE(letter >= u'a' && letter <= u'y') << where;
            if (!isSyllableGroup(g.letter)) {
                EXPECT_TRUE(row.syllable().empty()) << where;
                continue;
            }
            ASSERT_FALSE(row.syllable().empty()) << where;
            EXPECT_EQ(row.syllable().front(), char16_t(g.letter - 'A' + 'a')) << where;
            for (char16_t letter : row.syllable()) {
                EXPECT_TRUE(letter >= u'a' && letter <= u'z' && letter != u'v') << where;
            }
        }
    }
}

TEST(GeneratedRows, SyllableRunsStandTogetherInAlphabeticalOrder) {
    for (const Group& g : allGroups()) {
        if (!isSyllableGroup(g.letter)) continue;
        std::u16string_view previous;
        std::set<std::u16string_view> closed;
        for (const CodeEntry& row : g.rows()) {
            if (row.syllable() == previous) continue;
            EXPECT_FALSE(closed.count(row.syllable()))
                << g.letter << " " << utf8(row.syllable()) << " reopened";
            EXPECT_LT(previous, row.syllable()) << g.letter << " " << utf8(row.syllable());
            closed.insert(previous);
            previous = row.syllable();
        }
    }
}

TEST(GeneratedRows, OnlyTheTwentyFiveSimpleCodesHaveOneLetter) {
    std::u16string byLetter(25, u'?');
    int count = 0;
    for (const Group& g : allGroups()) {
        for (const CodeEntry& row : g.rows()) {
            if (row.wubiCode().size() != 1) continue;
            ++count;
            byLetter[row.wubiCode()[0] - u'a'] = row.character;
        }
    }
    EXPECT_EQ(count, 26);  // 了 stands twice
    EXPECT_EQ(utf8(byLetter), "工了以在有地一上不是中国同民为这我的要和产发人经主");
}

// The index must answer exactly as a walk of the rows would, for every BMP code unit.
TEST(Lookups, AgreeWithAPlainWalkForEveryCodeUnit) {
    for (const Group& g : allGroups()) {
        const std::vector<const CodeEntry*> first = firstRowByWalk(g);
        for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
            const char16_t key = static_cast<char16_t>(unit);
            const std::u16string_view text(&key, 1);
            const CodeEntry* row = first[unit];
            ASSERT_EQ(g.lookupWubiCode(text), row ? row->wubiCode() : u"")
                << g.letter << " U+" << std::hex << unit;
            if (g.lookupPinyin) {
                ASSERT_EQ(g.lookupPinyin(text), row ? row->syllable() : u"")
                    << g.letter << " U+" << std::hex << unit;
            }
        }
    }
}

// The chains' compile-time index must answer with the row a walk of each chain would stop at:
// the same text, and the same row's own storage; the answer texts must say the same.
TEST(Chains, AnswerWithTheFirstAnsweringGroupsRowForEveryCodeUnit) {
    const std::span<const AnswerText> answerTextOf = answerTexts();
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const char16_t key = static_cast<char16_t>(unit);
        const std::u16string_view text(&key, 1);
        std::u16string_view code = kNoWubiCode;
        std::u16string_view syllable;
        for (const Group& g : allGroups()) {
            if (code == kNoWubiCode && !g.lookupWubiCode(text).empty())
                code = g.lookupWubiCode(text);
            if (syllable.empty() && g.lookupPinyin) syllable = g.lookupPinyin(text);
        }
        const ChainAnswer answer = lookupChains(text);
        ASSERT_EQ(answer.wubi, code) << "U+" << std::hex << unit;
        ASSERT_EQ(answer.pinyin, syllable) << "U+" << std::hex << unit;
        if (code != kNoWubiCode) {
            ASSERT_EQ(answer.wubi.data(), code.data()) << "U+" << std::hex << unit;
        }
        if (!syllable.empty()) {
            ASSERT_EQ(answer.pinyin.data(), syllable.data()) << "U+" << std::hex << unit;
        }
        const std::size_t slot = std::min<std::size_t>(static_cast<char16_t>(unit - kFirstKeyUnit),
                                                       answerTextOf.size() - 1);
        const AnswerText& answerText = answerTextOf[slot];
        ASSERT_EQ(std::string_view(answerText.text, answerText.size),
                  utf8(code) + "\t" + utf8(syllable))
            << "U+" << std::hex << unit;
    }
    // Only a text of one code unit can be held.
    for (std::u16string_view text : {u"", u"啊啊", u"\U00020000"}) {
        EXPECT_EQ(lookupChains(text).wubi, kNoWubiCode);
        EXPECT_EQ(lookupChains(text).pinyin, u"");
    }
}

TEST(Lookups, TextsThatAreNotOneHeldCharacterYieldNothingAnywhere) {
    const std::u16string_view texts[] = {u"",  u"啊啊",   u" 啊", u"啊 ", u"a",
                                         u"1", u"\uFF41", u"知",  u"曹",  u"条"};
    for (std::u16string_view text : texts) {
        for (const Group& g : allGroups()) {
            EXPECT_TRUE(g.lookupWubiCode(text).empty()) << g.letter << " " << utf8(text);
            if (g.lookupPinyin) {
                EXPECT_TRUE(g.lookupPinyin(text).empty()) << g.letter << " " << utf8(text);
            }
        }
    }
}

struct GroupAnswer {
    std::u16string_view text;
    char letter;
    std::u16string_view code;
    std::u16string_view syllable;  // ignored in groups L to Z
};

// Each group answers from its own rows, the first row of a repeated character winning.
TEST(Lookups, GroupsAnswerFromTheirOwnFirstRow) {
    const GroupAnswer cases[] = {
        {u"啊", 'A', u"kb", u"a"},
        {u"凹", 'A', u"mmgd", u"ao"},
        {u"王", 'W', u"gggg", u""},
        {u"工", 'G', u"a", u"gong"},
        {u"发", 'F', u"v", u"fa"},
        {u"我", 'W', u"q", u""},
        {u"都", 'D', u"ftjb", u"dou"},
        {u"还", 'H', u"gip", u"hai"},
        {u"剥", 'B', u"vijh", u"bao"},
        {u"长", 'C', u"ta", u"chang"},
        {u"长", 'Z', u"ta", u""},
        {u"率", 'L', u"yx", u""},
        {u"率", 'S', u"yxif", u""},
        {u"鳞", 'L', u"qgoh", u""},
        {u"给", 'J', u"xw", u"ji"},
        {u"你", 'N', u"wq", u""},
        {u"女", 'N', u"vvv", u""},
        {u"年", 'N', u"rh", u""},
        // Filed by the modern standard reading, not kMandarin's first value.
        {u"嗲", 'D', u"kwq", u"dia"},
        {u"掺", 'C', u"rcd", u"chan"},
        {u"傀", 'K', u"wrq", u"kui"},
        {u"龈", 'Y', u"hwbe", u""},
        {u"椎", 'Z', u"swy", u""},
        // Filed by the principal reading, not by a frequent particle or an odd kMandarin value.
        {u"地", 'D', u"f", u"di"},
        {u"嚼", 'J', u"kel", u"jiao"},
        {u"茄", 'Q', u"alkf", u""},
        {u"茄", 'J', u"", u""},
    };
    for (const GroupAnswer& c : cases) {
        const Group& g = group(c.letter);
        EXPECT_EQ(g.lookupWubiCode(c.text), c.code) << c.letter << " " << utf8(c.text);
        if (g.lookupPinyin) {
            EXPECT_EQ(g.lookupPinyin(c.text), c.syllable) << c.letter << " " << utf8(c.text);
        }
    }
}

TEST(Lookups, ACharacterOfOneGroupIsUnknownToTheOthers) {
    for (const Group& g : allGroups()) {
        if (g.letter == 'A') continue;
        EXPECT_TRUE(g.lookupWubiCode(u"啊").empty()) << g.letter;
        if (g.lookupPinyin) {
            EXPECT_TRUE(g.lookupPinyin(u"我").empty()) << g.letter;
        }
    }
}

using details::CodeLevel;

struct DetailsCase {
    char32_t character;
    std::vector<details::CodeAtLevel> codes;
    std::vector<std::string_view> readings;
    std::vector<std::string_view> historicalReadings;
};

// Codes by level with their candidate places (a one-letter code that is no prefix of the full
// code, a three-letter full code, two full codes, a code cut short that offers another
// character first, a place past the 7th), the supplementary planes, modern readings led by the
// one the tables file by, and historical readings only where there is no modern one.
TEST(Details, GiveEveryCodeByLevelAndEveryReadingFilingReadingFirst) {
    using enum CodeLevel;
    const DetailsCase cases[] = {
        {U'我', {{"q", Simple1, 1}, {"trn", Simple3, 1}, {"trnt", Full, 1}}, {"wǒ"}, {}},
        {U'啊',
         {{"kb", Simple2, 1}, {"kbs", Simple3, 1}, {"kbsk", Full, 1}},
         {"a", "ā", "á", "ǎ", "à"},
         {}},
        {U'了', {{"b", Simple1, 1}, {"bnh", Full, 1}}, {"le", "liǎo", "liào"}, {}},
        {U'长',
         {{"ta", Simple2, 1}, {"tay", Simple3, 1}, {"tayi", Full, 1}},
         {"cháng", "zhǎng"},
         {}},
        {U'行', {{"tf", Simple2, 1}, {"tfhh", Full, 1}}, {"háng", "xíng", "héng"}, {}},
        {U'鬈', {{"deu", Code3, 2}, {"deub", Full, 1}}, {"quán"}, {}},
        {U'廛', {{"yjf", Code3, 3}, {"yjff", Full, 2}}, {"chán"}, {}},
        {U'\U00020000', {{"ghab", Full, 1}}, {"hē"}, {}},
        {U'亞', {{"gfgd", Full, 1}, {"ghgg", Full, 1}}, {"yà"}, {}},
        {U'㷤', {{"fpgc", Full, 20}}, {"hù"}, {}},
        {U'\U000228F5', {{"ndff", Full, 3}}, {}, {"chú"}},
        {U'兙', {{"dqfk", Full, 1}}, {}, {}},
    };
    for (const DetailsCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << std::uint32_t(c.character));
        const auto found = details::lookup(c.character);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->codes, c.codes);
        EXPECT_EQ(found->readings, c.readings);
        EXPECT_EQ(found->historicalReadings, c.historicalReadings);
    }
    // Letters, punctuation the source codes only under z, and code points past every block.
    for (char32_t absent : {U'A', U'\u3002', U'\U0010FFFF', char32_t(0x110000)}) {
        EXPECT_FALSE(details::lookup(absent)) << "U+" << std::hex << std::uint32_t(absent);
    }
}

struct PrincipalCase {
    char32_t character;
    std::string_view first;
    std::vector<std::string_view> notListed;  // historical readings, dropped
};

// The reading a standard dictionary gives the character alone comes first, with its tone; a
// neutral tone only where it is the character's own reading, never one that is only frequent.
TEST(Details, LeadWithThePrincipalReadingAndListOnlyModernOnes) {
    const PrincipalCase cases[] = {
        {U'地', "dì", {}},
        {U'著', "zhù", {}},
        {U'茄', "qié", {}},
        {U'嚼', "jiáo", {}},
        {U'拓', "tuò", {}},
        {U'琢', "zhuó", {}},
        {U'的', "de", {}},
        {U'了', "le", {}},
        {U'吗', "ma", {}},
        {U'们', "men", {}},
        {U'呢', "ne", {}},
        {U'么', "me", {}},
        {U'啊', "a", {"è"}},
        {U'和', "hé", {}},
        {U'叶', "yè", {}},
        {U'薄', "báo", {}},
        {U'不', "bù", {"bú", "fǒu"}},
        {U'年', "nián", {"nìng"}},
        {U'一', "yī", {"yí", "yì"}},
        {U'能', "néng", {"tái", "nái", "xióng"}},
    };
    for (const PrincipalCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << std::uint32_t(c.character));
        const auto found = details::lookup(c.character);
        ASSERT_TRUE(found);
        ASSERT_FALSE(found->readings.empty());
        EXPECT_EQ(found->readings.front(), c.first);
        EXPECT_TRUE(found->historicalReadings.empty());
        for (std::string_view dropped : c.notListed) {
            EXPECT_EQ(std::ranges::count(found->readings, dropped), 0) << dropped;
        }
    }
}

TEST(Details, ReverseLookupOffersACodesCharactersByFrequency) {
    using Offer = std::vector<details::CharacterAtLevel>;
    EXPECT_EQ(details::charactersWithCode("q"), (Offer{{U'我', CodeLevel::Simple1}}));
    EXPECT_EQ(details::charactersWithCode("kbsk"),
              (Offer{{U'啊', CodeLevel::Full}, {U'\U00020D84', CodeLevel::Full}}));
    EXPECT_EQ(details::charactersWithCode("deu"),
              (Offer{{U'長', CodeLevel::Full}, {U'鬈', CodeLevel::Code3}}));
    const Offer amu = details::charactersWithCode("amu");
    ASSERT_GE(amu.size(), 3u);
    EXPECT_EQ(amu[0].character, U'贡');
    EXPECT_EQ(amu[1].character, U'貢');
    EXPECT_EQ(amu[2].character, U'貣');
    const std::string_view notCodes[] = {"", "z", "abcde", "A", "zzd", {"tr\0", 3}};
    for (std::string_view notACode : notCodes) {
        EXPECT_TRUE(details::charactersWithCode(notACode).empty()) << notACode;
    }
}

// A code's candidate place is where the reverse lookup offers the character, at the same level:
// simple codes first, codes counted by their length after another character.
TEST(Details, PlaceEveryCodeWhereTheReverseLookupOffersIt) {
    for (char32_t codePoint = 0; codePoint < 0x32000; ++codePoint) {
        const auto found = details::lookup(codePoint);
        if (!found) continue;
        for (const details::CodeAtLevel& code : found->codes) {
            const auto offer = details::charactersWithCode(code.code);
            const auto it =
                std::ranges::find(offer, codePoint, &details::CharacterAtLevel::character);
            ASSERT_NE(it, offer.end()) << "U+" << std::hex << std::uint32_t(codePoint);
            ASSERT_EQ(it - offer.begin() + 1, code.candidate)
                << "U+" << std::hex << std::uint32_t(codePoint) << " " << code.code;
            ASSERT_EQ(it->level, code.level) << "U+" << std::hex << std::uint32_t(codePoint);
            const bool simple = code.level <= CodeLevel::Simple3;
            const bool byLength = code.level >= CodeLevel::Code2;
            ASSERT_FALSE((simple && code.candidate != 1) || (byLength && code.candidate == 1))
                << "U+" << std::hex << std::uint32_t(codePoint) << " " << code.code;
        }
    }
}

// Decoder and generator agree: every row's character has the row's code, and that code offers it.
TEST(Details, HoldEveryGroupRowsCodeBothWays) {
    for (const Group& g : allGroups()) {
        for (const CodeEntry& row : g.rows()) {
            const std::string code = utf8(row.wubiCode());
            const std::string where = std::string(1, g.letter) + " " + utf8({&row.character, 1});
            const auto found = details::lookup(row.character);
            ASSERT_TRUE(found) << where;
            EXPECT_TRUE(std::ranges::any_of(found->codes, [&](auto c) { return c.code == code; }))
                << where;
            EXPECT_TRUE(std::ranges::any_of(details::charactersWithCode(code), [&](auto c) {
                return c.character == row.character;
            })) << where;
        }
    }
}

struct StrokeCase {
    char32_t character;
    std::string_view order;
};

// The basic plane, the source's slips put right, Extension B, the last character of the data,
// and code points with no order: a letter, a compatibility ideograph, the first code point the
// data covers, code points past it.
TEST(Strokes, GiveEachCharactersCountAndStandardOrder) {
    const StrokeCase cases[] = {
        {U'必', "45434"},
        {U'长', "3154"},
        {U'一', "1"},
        {U'字', "445521"},
        {U'龟', "3525115"},
        {U'耍', "132522531"},
        {U'凝', "4135311345452134"},
        {U'纛', "1121554142511112343554234"},
        {U'\U00020000', "1215"},
        {U'\U0002B81C', "2121345232151135"},
        {U'A', ""},
        {U'\uF900', ""},
        {U'\u3000', ""},
        {U'\U0002B81D', ""},
        {U'\U0010FFFF', ""},
        {char32_t(0x110000), ""},
    };
    for (const StrokeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << std::uint32_t(c.character));
        EXPECT_EQ(strokes::order(c.character), c.order);
        EXPECT_EQ(strokes::count(c.character), int(c.order.size()));
    }
}

TEST(Strokes, SequencesAreDigitsOrLettersWithAnyStrokeMarks) {
    const std::pair<std::string_view, std::string_view> spelled[] = {
        {"45434", "45434"}, {"nznpn", "45434"}, {"h?5", "1?5"}, {"hspnz12345??", "1234512345??"}};
    for (const auto& [text, strokes] : spelled) {
        const auto sequence = strokes::Sequence::parse(text);
        ASSERT_TRUE(sequence) << text;
        EXPECT_EQ(sequence->strokes(), strokes) << text;
    }
    const std::string_view refused[] = {"", "6", "0", "H", "1 2", "a", "横", "１", {"1\0", 2}};
    for (std::string_view text : refused) EXPECT_FALSE(strokes::Sequence::parse(text)) << text;
}

std::vector<char32_t> allMatches(std::string_view text) {
    strokes::Matches matches(*strokes::Sequence::parse(text));
    std::vector<char32_t> found;
    while (const auto character = matches.next()) found.push_back(*character);
    return found;
}

// Weighted characters first, most common first; a '?' in the sequence; characters of Extension B
// the Wubi source gives no weight, by code point; a sequence longer than any order.
TEST(Strokes, SearchOffersTheMostCommonCharactersFirst) {
    const std::pair<std::string_view, std::u32string_view> firstMatches[] = {
        {"1", U"下一在页本来"},
        {"4543?", U"说必谈议详谜"},
        {"?5", U"网中请日月是"},
        {"55555", U"\U00020137\U00020A15\U00021FED"}};
    for (const auto& [text, first] : firstMatches) {
        strokes::Matches matches(*strokes::Sequence::parse(text));
        std::u32string found;
        while (found.size() < first.size()) found += matches.next().value_or(U'\0');
        EXPECT_EQ(found, first) << text;
    }
    EXPECT_TRUE(allMatches(std::string(65, '1')).empty());
}

// The search and the orders agree: each character whose order begins with the sequence, once.
TEST(Strokes, SearchFindsEveryCharacterWhoseOrderBeginsWithTheSequence) {
    for (std::string_view text : {"1", "4543?", "?5", "5555", "?"}) {
        std::vector<char32_t> expected;
        for (char32_t c = 0x3000; c < 0x30000; ++c) {
            const std::string order = strokes::order(c);
            if (order.size() >= text.size() &&
                std::ranges::equal(text, order.substr(0, text.size()), [](char want, char got) {
                    return want == '?' || want == got;
                })) {
                expected.push_back(c);
            }
        }
        std::vector<char32_t> found = allMatches(text);
        std::ranges::sort(found);
        EXPECT_EQ(found, expected) << text;
    }
}

}  // namespace
