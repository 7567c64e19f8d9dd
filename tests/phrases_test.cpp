// SPDX-License-Identifier: GPL-3.0-or-later
// The codes of words and everything a code types.
#include "tables/phrases.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tables/details.h"

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
        {U"跨国", {{"khlg", 2, CodeOrigin::Listed}}},
        // Listed twice, once under a code the rule would not give.
        {U"踊跃", {{"kckt", 1, CodeOrigin::Listed}, {"khkh", 2, CodeOrigin::Listed}}},
        // AaAbBaBb, AaBaCaCb and AaBaCaZa, each after what the code lists already.
        {U"汀兰", {{"isuf", 1, CodeOrigin::Derived}}},
        {U"汀兰水", {{"iuii", 2, CodeOrigin::Derived}}},
        {U"汀兰水清啊", {{"iuik", 1, CodeOrigin::Derived}}},
        {U"中𠀀", {{"khgh", 11, CodeOrigin::Derived}}},
        // A character with no code, and what is no word.
        {U"中A", {}},
        {U"汀。", {}},
        {U"中", {}},
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

}  // namespace
