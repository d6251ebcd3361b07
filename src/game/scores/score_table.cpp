// SPDX-License-Identifier: MIT
#include "game/scores/score_table.h"

#include <algorithm>
#include <charconv>
#include <ctime>

namespace zelto {

namespace {

// YYYY-MM-DDTHH:MM:SSZ: digits everywhere but at the separators.
bool IsDate(std::string_view text) {
    constexpr std::string_view kPattern = "dddd-dd-ddTdd:dd:ddZ";
    if (text.size() != kPattern.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i]) return false;
    }
    return true;
}

std::optional<ScoreEntry> ParseEntry(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || space == 0) return std::nullopt;
    const std::string_view number = line.substr(0, space);
    if (!std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::int32_t score = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), score);
    if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
    const std::string_view date = line.substr(space + 1);
    if (!IsDate(date)) return std::nullopt;
    return ScoreEntry{score, std::string(date)};
}

bool RanksBefore(const ScoreEntry& a, const ScoreEntry& b) {
    if (a.score != b.score) return a.score > b.score;
    return a.date < b.date;
}

}  // namespace

std::optional<ScoreTable> ScoreTable::Parse(std::string_view text) {
    if (text.empty() || text.back() != '\n') return std::nullopt;
    std::size_t lineStart = text.find('\n');
    if (text.substr(0, lineStart) != kFormatLine) return std::nullopt;
    ScoreTable table;
    for (++lineStart; lineStart < text.size();) {
        const std::size_t lineEnd = text.find('\n', lineStart);
        const std::optional<ScoreEntry> entry =
            ParseEntry(text.substr(lineStart, lineEnd - lineStart));
        if (!entry) return std::nullopt;
        table.Enter(*entry);
        lineStart = lineEnd + 1;
    }
    return table;
}

std::string ScoreTable::Format() const {
    std::string text(kFormatLine);
    text += '\n';
    for (const ScoreEntry& entry : entries_) {
        text += std::to_string(entry.score);
        text += ' ';
        text += entry.date;
        text += '\n';
    }
    return text;
}

void ScoreTable::Enter(const ScoreEntry& entry) {
    entries_.insert(std::upper_bound(entries_.begin(), entries_.end(), entry, RanksBefore), entry);
    if (entries_.size() > kKept) entries_.resize(kKept);
}

std::int32_t ScoreTable::Best() const {
    return entries_.empty() ? 0 : entries_.front().score;
}

std::string UtcDate(std::int64_t secondsSince1970) {
    // Years of four digits only, so that every date written reads back.
    constexpr std::int64_t kLastSecondOf9999 = 253402300799;
    const std::time_t time =
        static_cast<std::time_t>(std::clamp<std::int64_t>(secondsSince1970, 0, kLastSecondOf9999));
    std::tm parts{};
    char text[32] = "1970-01-01T00:00:00Z";
    if (gmtime_r(&time, &parts) != nullptr) {
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    }
    return text;
}

}  // namespace zelto
