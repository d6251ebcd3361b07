// SPDX-License-Identifier: MIT
#include "game/settings/settings.h"

#include "game/settings/setting_rows.h"

namespace zelto {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// A line as a warning shows it: a damaged file may hold anything, and a terminal takes escape
// sequences in it as commands (a new title, a cleared screen).
std::string ShownLine(std::string_view line) {
    constexpr char kHexDigits[] = "0123456789abcdef";
    std::string shown;
    for (const char character : line) {
        const auto byte = static_cast<unsigned char>(character);
        std::string piece;
        if (byte == '\\') {
            piece = "\\\\";
        } else if (byte >= 0x20 && byte < 0x7f) {
            piece = std::string(1, character);
        } else {
            piece = {'\\', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 0xf]};
        }
        if (shown.size() + piece.size() > Settings::kLongestShownLine) return shown + "...";
        shown += piece;
    }
    return shown;
}

// Sets the key's value in the settings; false when the value is not one the key takes. Keys
// this program does not know are passed over.
bool ReadValue(std::string_view key, std::string_view value, Settings& settings) {
    for (const SettingRow& row : SettingRows()) {
        if (row.key != key) continue;
        const std::optional<SettingValue> read = ReadSettingValue(row, value);
        if (!read) return false;
        row.set(settings, *read);
        return true;
    }
    return true;
}

}  // namespace

std::optional<Settings> Settings::Parse(std::string_view text, std::string& fault) {
    Settings settings;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        const std::string_view line =
            Trimmed(text.substr(0, end == std::string_view::npos ? text.size() : end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#') continue;
        const std::size_t equals = line.find('=');
        const std::string_view key =
            Trimmed(equals == std::string_view::npos ? line : line.substr(0, equals));
        if (equals == std::string_view::npos || key.empty() ||
            !ReadValue(key, Trimmed(line.substr(equals + 1)), settings)) {
            fault = "line " + std::to_string(lineNumber) + " reads '" + ShownLine(line) + "'";
            return std::nullopt;
        }
    }
    return settings;
}

std::string Settings::Format() const {
    std::string text =
        "# zelto's settings, written as the game ends. Options on the command line\n"
        "# win over them for one run.\n";
    for (const SettingRow& row : SettingRows()) {
        const SettingValue value = row.get(*this);
        if (value.absent) continue;
        text += std::string(row.key) + " = " + WrittenSettingValue(row, value) + "\n";
    }
    return text;
}

}  // namespace zelto
