// SPDX-License-Identifier: GPL-3.0-or-later
// The codes of words, everything a code types, and the typing coach.
#include "tables/phrases.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tables/details.h"
#include "tables/phrase_data.h"
#include "tables/phrase_trie.h"
#include "tables/typing_coach.h"

namespace {

using phrases::CodeOrigin;
using phrases::WordCode;

std::string utf8(std::u32string_view text) {
    std::string out;
    for (const char32_t c : text) {
        const int continuation = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
        out += static_cast<char>(kLead[continuation] | (c >> (6 * continuation)));
        for (int shift = 6 * (continuation - 1); shift >= 0; shift -= 6) {
            out += static_cast<char>(0x80 | ((c >> shift) & 0x3F));
        }
    }
    return out;
}

struct WordCase {
    std::u32string_view word;
    std::vector<WordCode> codes;
};

TEST(WordCodes, AreTheListedOnesInOfferOrderElseTheStandardRulesOne) {
    const WordCase cases[] = {
        {U"中国", {{"khlg", 1, CodeOrigin::Listed}}},
        {U"中华人民共和国", {{"kwwl", 1, CodeOrigin::Listed}}},
        {U"做一天和尚撞一天钟", {{"wggq", 1, CodeOrigin::Listed}}},
        {U"跨国", {{"khlg", 2, CodeOrigin::Listed}}},
        // Listed twice, once under a code the rule would not give.
        {U"踊跃", {{"kckt", 1, CodeOrigin::Listed}, {"khkh", 2, CodeOrigin::Listed}}},
        // AaAbBaBb, AaBaCaCb and AaBaCaZa, each after what the code lists already.
        {U"汀兰", {{"isuf", 1, CodeOrigin::Derived}}},
        {U"汀兰水", {{"iuii", 2, CodeOrigin::Derived}}},
        {U"汀兰啊", {{"iukb", 1, CodeOrigin::Derived}}},
        {U"汀兰水清啊", {{"iuik", 1, CodeOrigin::Derived}}},
        {U"中𠀀", {{"khgh", 11, CodeOrigin::Derived}}},
        // A single character: its own codes, placed after the phrases listed before it.
        {U"中",
         {{"k", 1, CodeOrigin::Listed},
          {"kh", 1, CodeOrigin::Listed},
          {"khk", 1, CodeOrigin::Listed}}},
        {U"䟧", {{"khlg", 4, CodeOrigin::Listed}}},
        // A character with no code, and what is no word.
        {U"中A", {}},
        {U"汀。", {}},
        {U"。", {}},
        {U"", {}},
    };
    for (const WordCase& c : cases) {
        EXPECT_EQ(phrases::codesOfWord(c.word), c.codes) << utf8(c.word);
    }
}

TEST(CodeOffers, ListCharactersAndPhrasesByWeight) {
    const std::pair<std::string_view, std::vector<std::u32string>> cases[] = {
        {"khlg", {U"中国", U"跨国", U"跑车", U"䟧", U"𨈈"}},
        {"aaaa", {U"工", U"恭恭敬敬", U"㠭"}},
        {"wgkq", {U"使", U"使唤", U"覴", U"𧢢"}},
        {"kwwl", {U"中华人民共和国"}},
        {"a", {U"工"}},
        {"", {}},
        {"khlgk", {}},
        {"KHLG", {}},
        {"zzbd", {}},
    };
    for (const auto& [code, texts] : cases) {
        const std::vector<phrases::Offer> offers = phrases::offersOfCode(code);
        std::vector<std::u32string> got;
        std::vector<char32_t> characters;
        for (const phrases::Offer& offer : offers) {
            got.push_back(offer.text);
            if (offer.text.size() == 1) characters.push_back(offer.text[0]);
        }
        EXPECT_EQ(got, texts) << code;
        // The characters keep the order and levels the details give them.
        std::vector<char32_t> detailed;
        for (const details::CharacterAtLevel& c : details::charactersWithCode(code)) {
            detailed.push_back(c.character);
        }
        EXPECT_EQ(characters, detailed) << code;
    }
}

// The walk down a trie along `text`: each prefix from two characters on as its word's code and
// candidate position ("-" where it is no listed word), and " +" where longer phrases follow it,
// as far as phrases go on.
std::vector<std::string> walk(std::u16string_view text) {
    phrases::PhraseTrie trie;
    std::vector<std::string> prefixes;
    phrases::PhraseTrie::Children children = trie.add(text[0]);
    for (const char16_t unit : text.substr(1)) {
        const phrases::PhraseTrie::Node node = trie.child(children, unit);
        if (node == phrases::PhraseTrie::kNone) break;
        const phrases::PhraseTrie::Prefix& prefix = trie.prefix(node);
        std::string shown = prefix.position == 0 ? "-"
                                                 : std::string(prefix.code.data(), 4) + " " +
                                                       std::to_string(prefix.position);
        prefixes.push_back(prefix.childCount == 0 ? shown : shown + " +");
        children = prefix.children();
    }
    return prefixes;
}

TEST(PhraseTrie, HoldsEachPrefixWithItsWordsFirstCodeAndWhetherLongerPhrasesFollow) {
    const std::pair<std::u16string_view, std::vector<std::string>> cases[] = {
        // Prefixes that are no word lead on to one.
        {u"中华人民共和国", {"khwx 1 +", "- +", "- +", "- +", "- +", "kwwl 1"}},
        {u"中国人", {"khlg 1 +", "- +"}},
        // A word listed under two codes holds the first; a second candidate.
        {u"踊跃", {"kckt 1"}},
        {u"跨国", {"khlg 2"}},
        // No phrase goes on from the first character, or none starts with it.
        {u"一一", {}},
        {u"汀兰", {}},
    };
    for (const auto& [text, prefixes] : cases) {
        EXPECT_EQ(walk(text), prefixes) << utf8(std::u32string(text.begin(), text.end()));
    }
}

// A piece as text: the text, the code and its position where not first, the full codes, the
// keys; an untyped run in brackets.
std::string describe(const phrases::TypingPiece& piece) {
    if (piece.kind == phrases::PieceKind::Untyped) return "[" + utf8(piece.text) + "]";
    std::string out = utf8(piece.text) + " " + std::string(piece.code.view());
    if (piece.position != 1) out += " " + std::to_string(piece.position);
    out += " |";
    for (const phrases::CodeLetters& full : piece.fullCodes) (out += " ") += full.view();
    return out + " | " + std::to_string(piece.keys.shortest) + " " +
           std::to_string(piece.keys.full) + " " + std::to_string(piece.keys.pinyin);
}

struct TypingCase {
    std::u32string_view text;
    std::vector<std::string> pieces;
    phrases::TypingSummary summary;
};

TEST(TypingCoach, SplitsTextIntoLongestListedWordsAndCharactersAndCountsTheirKeys) {
    const TypingCase cases[] = {
        {U"我们是中华人民共和国的公民，Hello 世界！",
         {"我们 trwu | trnt wun | 4 8 7", "是 j | jghu | 2 4 4",
          "中华人民共和国 kwwl | khk wxfj wwww nav awu tkg lgyi | 4 28 30", "的 r | rqyy | 2 4 3",
          "公民 wcna | wcu nav | 4 8 9", "[，Hello ]", "世界 anlw | anv lwjj | 4 8 8", "[！]"},
         {{20, 60, 61}, 8, 0}},
        // The longest word breaks off, and what follows is matched afresh.
        {U"中华人民共",
         {"中华 khwx | khk wxfj | 4 8 10", "人民 wwna | wwww nav | 4 8 8", "共 aw | awu | 3 4 5"},
         {{11, 20, 23}, 0, 0}},
        // The longest listed word, which fills what the coach holds back; a word listed under
        // two codes, typed by the first candidate.
        {U"做一天和尚撞一天钟，踊跃",
         {"做一天和尚撞一天钟 wggq | wdty ggll gdi tkg imkf rujf ggll gdi qkhh | 4 36 42", "[，]",
          "踊跃 kckt | khce khtd | 4 8 9"},
         {{8, 44, 51}, 1, 0}},
        // Second candidates, a character with no reading, another plane after a character that
        // starts phrases, an untyped emoji.
        {U"跨国䟧兙中𠀀😀丈",
         {"跨国 khlg 2 | khdn lgyi | 5 8 8", "䟧 khlg 4 | khlg | 5 5 5", "兙 dqfk | dqfk | 4 4 0",
          "中 k | khk | 2 4 6", "𠀀 ghab | ghab | 4 4 3", "[😀]", "丈 dyi 2 | dyi | 4 4 6"},
         {{24, 29, 28}, 1, 1}},
        // Runs of untyped text are cut at 64 code points; code points that are no character.
        {U"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\xD800",
         {"[" + std::string(64, 'a') + "]", "[aaaaaa\xED\xA0\x80]"},
         {{}, 71, 0}},
    };
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        // Fed a code point at a time, and as one run, which takes another way through.
        for (const bool wholeRun : {false, true}) {
            std::vector<std::string> pieces;
            phrases::TypingCoach coach(
                [&](const phrases::TypingPiece& p) { pieces.push_back(describe(p)); });
            if (wholeRun) {
                coach.feed(std::span<const char32_t>(c.text));
            } else {
                for (const char32_t codePoint : c.text) coach.feed(codePoint);
            }
            coach.flush();
            EXPECT_EQ(pieces, c.pieces) << wholeRun;
            EXPECT_EQ(coach.summary(), c.summary) << wholeRun;
        }
    }
}

TEST(TypingCoach, HandsOutEachPieceOnceNoLongerWordCanFollow) {
    std::u32string handedOut;
    phrases::TypingCoach coach([&](const phrases::TypingPiece& p) { handedOut += p.text; });
    const std::u32string_view sentence = U"我们是中华人民共和国的公民，中华人民银行。";
    std::size_t fed = 0;
    for (int round = 0; round < 50; ++round) {
        for (const char32_t codePoint : sentence) {
            coach.feed(codePoint);
            ++fed;
            ASSERT_GE(handedOut.size() + phrases::data::kLongestPhrase, fed) << round;
        }
    }
    // A word with nothing longer is out at its last character; a flush ends every piece.
    coach.flush();
    handedOut.clear();
    for (const char32_t codePoint : std::u32string_view(U"中华人民共和国")) coach.feed(codePoint);
    EXPECT_EQ(utf8(handedOut), "中华人民共和国");
    handedOut.clear();
    coach.feed(U'中');
    coach.flush();
    coach.feed(U'国');
    coach.flush();
    EXPECT_EQ(utf8(handedOut), "中国");
}

}  // namespace
