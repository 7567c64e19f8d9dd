// SPDX-License-Identifier: GPL-3.0-or-later
#include "tables/details.h"

#include <algorithm>
#include <cstddef>
#include <ranges>

#include "tables/details_data.h"
#include "tables/wubi_code.h"

namespace details {
namespace {

using namespace data;

std::uint32_t byteAt(const char* bytes, std::size_t offset) {
    return static_cast<unsigned char>(bytes[offset]);
}

// Characters are found by their 256-code-point block, then by their low byte within it.
std::optional<std::size_t> indexOf(char32_t codePoint) {
    const std::size_t block = codePoint >> 8;
    if (block >= kBlockCount) return std::nullopt;
    const auto* lowBytes = reinterpret_cast<const unsigned char*>(kLowBytes);
    const auto* first = lowBytes + kBlockFirst[block];
    const auto* last = lowBytes + kBlockFirst[block + 1];
    const auto low = static_cast<unsigned char>(codePoint & 0xFF);
    const auto* it = std::lower_bound(first, last, low);
    if (it == last || *it != low) return std::nullopt;
    return static_cast<std::size_t>(it - lowBytes);
}

// The last block starting at or before `index` is the one that holds it (empty blocks share
// their start with the next block).
std::size_t blockOf(std::size_t index) {
    return static_cast<std::size_t>(
        std::upper_bound(kBlockFirst, kBlockFirst + kBlockCount + 1, index) - kBlockFirst - 1);
}

std::size_t recordOf(std::size_t index, std::size_t block) {
    return kBlockRecord[block] + kRecordOffset[index];
}

// Walks the codes of the record at `offset`; `visit(code)` returns false to stop.
// Returns the offset just past the codes, where the readings start.
template <typename Visit>
std::size_t forEachCode(std::size_t offset, Visit visit) {
    const std::uint32_t count = byteAt(kRecords, offset++) & 7;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t header = byteAt(kRecords, offset++);
        const std::uint32_t length = (header >> 3 & 3) + 1;
        const auto level = static_cast<CodeLevel>((header & 7) + 1);
        // Candidates past the 7th, rare, take a byte of their own.
        std::uint32_t candidate = (header >> 5) + 1;
        if (candidate == 8) candidate += byteAt(kRecords, offset++);
        const CodeAtLevel code{std::string_view(kRecords + offset, length), level,
                               static_cast<std::uint8_t>(candidate)};
        if (!visit(code)) return offset;
        offset += length;
    }
    return offset;
}

struct CodeReference {
    std::size_t index;
    std::uint32_t position;
};

CodeReference byCode(std::size_t k) {
    const std::uint32_t value =
        byteAt(kByCode, 3 * k) | byteAt(kByCode, 3 * k + 1) << 8 | byteAt(kByCode, 3 * k + 2) << 16;
    return {value >> 3, value & 7};
}

CodeAtLevel codeOf(CodeReference reference, std::size_t block) {
    CodeAtLevel found{};
    std::uint32_t position = 0;
    forEachCode(recordOf(reference.index, block), [&](const CodeAtLevel& code) {
        found = code;
        return position++ < reference.position;
    });
    return found;
}

}  // namespace

std::optional<CharacterDetails> lookup(char32_t codePoint) {
    const std::optional<std::size_t> index = indexOf(codePoint);
    if (!index) return std::nullopt;
    std::size_t offset = recordOf(*index, codePoint >> 8);
    const std::uint32_t counts = byteAt(kRecords, offset);
    const std::uint32_t readingCount = counts >> 3 & 15;

    CharacterDetails result;
    result.codes.reserve(counts & 7);
    offset = forEachCode(offset, [&](const CodeAtLevel& code) {
        result.codes.push_back(code);
        return true;
    });
    // A record holds either modern or, marked by its top bit, historical readings.
    std::vector<std::string_view>& readings =
        counts & 128 ? result.historicalReadings : result.readings;
    readings.reserve(readingCount);
    for (std::uint32_t i = 0; i < readingCount; ++i, offset += 2) {
        const std::uint32_t reading = byteAt(kRecords, offset) | byteAt(kRecords, offset + 1) << 8;
        readings.push_back(
            std::string_view(kReadingText + kReadingStart[reading],
                             kReadingStart[reading + 1] - kReadingStart[reading]));
    }
    return result;
}

std::vector<CharacterAtLevel> charactersWithCode(std::string_view code) {
    if (!isWubiCode(code)) return {};
    // The index is sorted by code, so a code's characters stand together, in offer order.
    const auto all = std::views::iota(std::size_t{0}, kCodeCount);
    const auto first = std::ranges::partition_point(all, [&](std::size_t k) {
        const CodeReference reference = byCode(k);
        return codeOf(reference, blockOf(reference.index)).code < code;
    });
    std::vector<CharacterAtLevel> characters;
    for (auto it = first; it != all.end(); ++it) {
        const CodeReference reference = byCode(*it);
        const std::size_t block = blockOf(reference.index);
        const CodeAtLevel found = codeOf(reference, block);
        if (found.code != code) break;
        const auto low = static_cast<unsigned char>(kLowBytes[reference.index]);
        characters.push_back({static_cast<char32_t>(block << 8 | low), found.level});
    }
    return characters;
}

}  // namespace details
