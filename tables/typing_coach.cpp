// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/typing_coach.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "tables/details.h"
#include "tables/phrase_data.h"
#include "tables/phrase_trie.h"
#include "tables/phrases.h"

namespace phrases {
namespace {

constexpr std::size_t kLongestUntypedRun = 64;

std::uint32_t keysToType(std::size_t codeLength, std::uint32_t position) {
    return static_cast<std::uint32_t>(codeLength) + (codeLength == 4 && position == 1 ? 0 : 1);
}

// The letters of a reading, one key each (ü is typed v), and the key that commits it. Tone
// marks are precomposed, or combining marks (ê̄, m̀), whose UTF-8 starts with 0xCC or 0xCD.
std::uint32_t pinyinKeys(std::string_view reading) {
    std::uint32_t keys = 1;
    for (const char byte : reading) {
        const auto b = static_cast<unsigned char>(byte);
        keys += (b & 0xC0) != 0x80 && b != 0xCC && b != 0xCD;
    }
    return keys;
}

// A bit of a 64-bit filter of the second characters of the phrases that start with a given
// character: in running text most pairs of characters start no phrase, and the filter tells
// most of them so without a search.
std::uint64_t followerBit(char32_t unit) {
    return std::uint64_t{1} << ((unit * 0x9E3779B1u) >> 26);
}

// What the coach needs of a character, worked out once per character: 32 bytes on a 32-byte
// boundary, as a text's characters are looked at in no order and each look should cost no more
// than one cache line.
struct alignas(32) CharacterFacts {
    std::uint64_t followers = 0;   // the followerBit of the second code unit of each phrase
    PhraseTrie::Children seconds;  // the prefixes of two code units of its phrases
    std::uint16_t shortestPosition = 0;
    CodeLetters shortest;  // the code with the fewest keys; none: no code types the character
    CodeLetters full;      // the principal full code
    std::uint8_t shortestKeys = 0;
    std::uint8_t fullKeys = 0;
    std::uint8_t pinyinKeys = 0;  // 0: no reading
};
static_assert(sizeof(CharacterFacts) == 32);

CodeLetters lettersOf(std::string_view code) {
    CodeLetters letters;
    std::ranges::copy(code, letters.letters.begin());
    letters.length = static_cast<std::uint8_t>(code.size());
    return letters;
}

// Works out the facts of `character`, adding the prefixes of its phrases to `trie`.
CharacterFacts workOut(char32_t character, PhraseTrie& trie) {
    CharacterFacts facts;
    const auto found = details::lookup(character);
    if (!found) return facts;
    const std::string_view full = principalFullCode(*found);
    facts.full = lettersOf(full);
    for (const details::CodeAtLevel& code : found->codes) {
        // Placing a four-letter code among its phrases takes a search: skip the codes that
        // cannot type the character in fewer keys, unless the full code's keys are still wanted.
        const bool cannotBeShorter =
            facts.shortest.length != 0 && keysToType(code.code.size(), 1) > facts.shortestKeys;
        if (cannotBeShorter && code.code != full) continue;
        const std::uint32_t position = characterPosition(code);
        const std::uint32_t keys = keysToType(code.code.size(), position);
        if (code.code == full) facts.fullKeys = static_cast<std::uint8_t>(keys);
        if (facts.shortest.length == 0 ||
            std::tuple(keys, position, code.code.size()) <
                std::tuple(facts.shortestKeys, facts.shortestPosition, facts.shortest.length)) {
            facts.shortest = lettersOf(code.code);
            facts.shortestKeys = static_cast<std::uint8_t>(keys);
            facts.shortestPosition = static_cast<std::uint16_t>(position);
        }
    }
    if (!found->readings.empty()) {
        facts.pinyinKeys = static_cast<std::uint8_t>(pinyinKeys(found->readings.front()));
    }
    // Phrases hold BMP hanzi only.
    if (character > 0xFFFF) return facts;
    facts.seconds = trie.add(char16_t(character));
    for (std::uint16_t i = 0; i < facts.seconds.count; ++i) {
        facts.followers |= followerBit(trie.unit(facts.seconds.first + i));
    }
    return facts;
}

}  // namespace

class TypingCoach::Impl {
public:
    // Slot 0 holds the facts of every character that no code types.
    explicit Impl(Sink sink) : m_sink(std::move(sink)), m_facts(1), m_bmpSlots(0x10000, kNoSlot) {}

    void feed(std::span<const char32_t> codePoints) {
        for (std::size_t i = 0; i < codePoints.size(); ++i) {
            // The slot of a character a few places on is read from memory meanwhile: in running
            // text the characters come in no order, and the wait for each slot would add up.
            if (i + kLookAhead < codePoints.size() && codePoints[i + kLookAhead] <= 0xFFFF) {
                __builtin_prefetch(&m_bmpSlots[codePoints[i + kLookAhead]]);
            }
            const std::uint32_t slot = slotOf(codePoints[i]);
            __builtin_prefetch(&factsOf(slot));
            take(codePoints[i], slot);
        }
    }

    void feed(char32_t codePoint) { take(codePoint, slotOf(codePoint)); }

    void flush() {
        decideHeld();
        handOutUntyped();
    }

    const TypingSummary& summary() const { return m_summary; }

private:
    // Takes the next code point, whose slot is `slot`, into the text.
    void take(char32_t codePoint, std::uint32_t slot) {
        if (slot == 0) {
            decideHeld();
            m_untyped[m_untypedCount++] = codePoint;
            ++m_summary.untyped;
            if (m_untypedCount == kLongestUntypedRun) handOutUntyped();
            return;
        }
        handOutUntyped();
        // The usual cases, a character alone or the second of a pair, are decided here without
        // the general match: in running text most characters that start phrases start none
        // with the character after them. Every character is held until the next one comes,
        // whether it starts phrases or not: which it does is as random as the text, and a branch
        // on it would be guessed wrong often.
        if (m_heldCount == 1) {
            const PhraseTrie::Node step = secondOf(factsOf(m_heldSlots[0]), codePoint);
            if (step != PhraseTrie::kNone) {
                hold(codePoint, slot);
                advance(step);
                match();
                return;
            }
            handOutCharacter(m_held[0], m_heldSlots[0]);
            m_held[0] = codePoint;
            m_heldSlots[0] = slot;
            return;
        }
        hold(codePoint, slot);
        match();
    }

    static constexpr std::uint32_t kNoSlot = UINT32_MAX;
    // How many code points ahead feed() asks for a slot.
    static constexpr std::size_t kLookAhead = 4;

    const CharacterFacts& factsOf(std::uint32_t slot) const { return m_facts[slot]; }

    // The slot of the character's facts, worked out when it is first seen. Outside the BMP only
    // typed characters are kept, so that the map is no larger than the details.
    std::uint32_t slotOf(char32_t character) {
        if (character > 0xFFFF) {
            const auto found = m_otherSlots.find(character);
            if (found != m_otherSlots.end()) return found->second;
            const std::uint32_t slot = add(character);
            if (slot != 0) m_otherSlots.emplace(character, slot);
            return slot;
        }
        std::uint32_t& slot = m_bmpSlots[character];
        if (slot == kNoSlot) slot = add(character);
        return slot;
    }

    // Works out and keeps the facts of a character seen for the first time; returns its slot.
    // Apart, as the aligned facts would make every call of feed() align its stack.
    [[gnu::noinline]] std::uint32_t add(char32_t character) {
        const CharacterFacts facts = workOut(character, m_trie);
        if (facts.shortest.length == 0) return 0;
        m_facts.push_back(facts);
        return static_cast<std::uint32_t>(m_facts.size() - 1);
    }

    void hold(char32_t codePoint, std::uint32_t slot) {
        m_held[m_heldCount] = codePoint;
        m_heldSlots[m_heldCount++] = slot;
    }

    // Returns the prefix of `first` and `second`, or kNone where no phrase starts with them.
    PhraseTrie::Node secondOf(const CharacterFacts& first, char32_t second) const {
        if (!(first.followers & followerBit(second))) return PhraseTrie::kNone;
        return m_trie.child(first.seconds, second);
    }

    // Extends the match at the front of the held code points by those it has not taken yet,
    // handing out the front piece whenever no listed word can grow any longer.
    void match() {
        while (m_matched < m_heldCount) {
            if (m_matched == 0) {
                m_matched = 1;
                continue;
            }
            const char32_t next = m_held[m_matched];
            advance(m_matched == 1 ? secondOf(factsOf(m_heldSlots[0]), next)
                                   : m_trie.child(m_trie.prefix(m_prefix).children(), next));
        }
    }

    // Takes the next held code point into the match, which ends in the prefix `step` (kNone:
    // none), handing out the front piece where no listed word can grow any longer.
    void advance(PhraseTrie::Node step) {
        ++m_matched;
        if (step == PhraseTrie::kNone) {
            handOutFront();
            return;
        }
        m_prefix = step;
        const PhraseTrie::Prefix& prefix = m_trie.prefix(step);
        if (prefix.position != 0) {
            m_word = step;
            m_wordLength = m_matched;
        }
        if (prefix.childCount == 0) handOutFront();
    }

    // Hands out the longest word found at the front, else its first character, and starts
    // matching afresh after it.
    void handOutFront() {
        const std::size_t length = m_wordLength >= 2 ? m_wordLength : 1;
        if (length == 1) {
            handOutCharacter(m_held[0], m_heldSlots[0]);
        } else {
            handOutWord(length);
        }
        for (std::size_t i = length; i < m_heldCount; ++i) {
            m_held[i - length] = m_held[i];
            m_heldSlots[i - length] = m_heldSlots[i];
        }
        m_heldCount -= length;
        m_matched = 0;
        m_wordLength = 0;
    }

    // Hands out `codePoint`, whose slot is `slot`, as a piece of its own.
    void handOutCharacter(const char32_t& codePoint, std::uint32_t slot) {
        const CharacterFacts& facts = factsOf(slot);
        // Each field is set below: a piece made zero first costs a good share of the time.
        TypingPiece piece;
        piece.kind = PieceKind::Character;
        piece.text = {&codePoint, 1};
        piece.code = facts.shortest;
        piece.position = facts.shortestPosition;
        piece.fullCodes = {&facts.full, 1};
        piece.keys = {facts.shortestKeys, facts.fullKeys, facts.pinyinKeys};
        m_summary.withoutReading += facts.pinyinKeys == 0;
        handOut(piece);
    }

    // Hands out the listed word `m_word`, the first `length` held code points.
    void handOutWord(std::size_t length) {
        TypingPiece piece;
        piece.kind = PieceKind::Word;
        piece.text = {m_held.data(), length};
        const PhraseTrie::Prefix& word = m_trie.prefix(m_word);
        piece.code = {word.code, 4};
        piece.position = word.position;
        piece.fullCodes = {m_fullCodes.data(), length};
        piece.keys.shortest = keysToType(piece.code.length, piece.position);
        for (std::size_t i = 0; i < length; ++i) {
            const CharacterFacts& facts = factsOf(m_heldSlots[i]);
            m_fullCodes[i] = facts.full;
            piece.keys.full += facts.fullKeys;
            piece.keys.pinyin += facts.pinyinKeys;
            m_summary.withoutReading += facts.pinyinKeys == 0;
        }
        handOut(piece);
    }

    void handOut(const TypingPiece& piece) {
        m_summary.keys.shortest += piece.keys.shortest;
        m_summary.keys.full += piece.keys.full;
        m_summary.keys.pinyin += piece.keys.pinyin;
        m_sink(piece);
    }

    void decideHeld() {
        while (m_heldCount > 0) {
            handOutFront();
            match();
        }
    }

    void handOutUntyped() {
        if (m_untypedCount == 0) return;
        TypingPiece piece;
        piece.kind = PieceKind::Untyped;
        piece.text = {m_untyped.data(), m_untypedCount};
        piece.position = 0;
        m_sink(piece);
        m_untypedCount = 0;
    }

    Sink m_sink;
    TypingSummary m_summary;
    // The facts of each character seen, found by code point: in the BMP directly, elsewhere
    // through a map. Both hold no more than the details do, and the trie no more than the
    // phrases.
    std::vector<CharacterFacts> m_facts;
    std::vector<std::uint32_t> m_bmpSlots;
    std::unordered_map<char32_t, std::uint32_t> m_otherSlots;
    PhraseTrie m_trie;

    // Typed code points not handed out yet, with their slots; the first `m_matched` make the
    // prefix `m_prefix` (from two code points on), and the first `m_wordLength` the listed
    // word `m_word`.
    std::array<char32_t, data::kLongestPhrase> m_held{};
    std::array<std::uint32_t, data::kLongestPhrase> m_heldSlots{};
    std::size_t m_heldCount = 0;
    std::size_t m_matched = 0;
    PhraseTrie::Node m_prefix = 0;
    PhraseTrie::Node m_word = 0;
    std::size_t m_wordLength = 0;
    std::array<CodeLetters, data::kLongestPhrase> m_fullCodes{};

    std::array<char32_t, kLongestUntypedRun> m_untyped{};
    std::size_t m_untypedCount = 0;
};

TypingCoach::TypingCoach(Sink sink) : m_impl(std::make_unique<Impl>(std::move(sink))) {}

TypingCoach::~TypingCoach() = default;

void TypingCoach::feed(char32_t codePoint) { m_impl->feed(codePoint); }

void TypingCoach::feed(std::span<const char32_t> codePoints) { m_impl->feed(codePoints); }

void TypingCoach::flush() { m_impl->flush(); }

const TypingSummary& TypingCoach::summary() const { return m_impl->summary(); }

}  // namespace phrases
