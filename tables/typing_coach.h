// SPDX-License-Identifier: GPL-3.0-or-later
// The typing coach: the shortest way to type a text in Wubi 86, piece by piece as it streams in.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

namespace phrases {

// The keys that type a text three ways. Each count includes the key that commits each
// candidate: a space for the first, the candidate's digit for another; a four-letter code
// commits its first candidate by itself.
struct Keystrokes {
    std::uint64_t shortest = 0;  // by each piece's shortest code
    std::uint64_t full = 0;      // by each character's full code
    std::uint64_t pinyin = 0;    // by each character's toneless principal reading, a key a syllable
    bool operator==(const Keystrokes&) const = default;
};

enum class PieceKind : std::uint8_t {
    Word,       // a word the source lists, typed as one
    Character,  // a character typed alone
    Untyped,    // a run of text that no code types, up to 64 code points
};

// A Wubi code, held in place: its letters fill the first `length` of four bytes, so that a
// writer may copy all four at once.
struct CodeLetters {
    std::array<char, 4> letters{};
    std::uint8_t length = 0;

    std::string_view view() const { return {letters.data(), length}; }
};

// One piece of the text; its views are valid until the sink returns.
struct TypingPiece {
    PieceKind kind;
    std::u32string_view text;
    CodeLetters code;        // the code that types the piece in the fewest keys; none if untyped
    std::uint32_t position;  // the candidate position of `code`, 1 = first; 0 if untyped
    std::span<const CodeLetters> fullCodes;  // each character's full code; none if untyped
    Keystrokes keys;                         // all zero if untyped
};

struct TypingSummary {
    Keystrokes keys;                   // of every typed piece
    std::uint64_t untyped = 0;         // code points that no code types
    std::uint64_t withoutReading = 0;  // typed characters with no reading, left out of pinyin
    bool operator==(const TypingSummary&) const = default;
};

// Splits a text into the words the source lists, longest match first, and single characters,
// and counts the keys that type it. Holds back no more than the characters of the longest word,
// or one untyped run.
class TypingCoach {
public:
    using Sink = std::function<void(const TypingPiece&)>;

    // Hands each piece to `sink` as soon as it is decided, in text order.
    explicit TypingCoach(Sink sink);
    ~TypingCoach();
    TypingCoach(const TypingCoach&) = delete;
    TypingCoach& operator=(const TypingCoach&) = delete;

    // Takes the text's next code point. A line end is untyped text like any other: a caller that
    // answers line by line flushes at each line end instead of feeding it.
    void feed(char32_t codePoint);
    // Takes the text's next code points, as feed() one by one would.
    void feed(std::span<const char32_t> codePoints);

    // Decides every piece held back, as at the end of the text: no piece spans a flush.
    void flush();

    // Returns the counts of the pieces handed out so far.
    const TypingSummary& summary() const;

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace phrases
