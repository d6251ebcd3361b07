// SPDX-License-Identifier: MIT
#include "game/settings/settings.h"

#include <charconv>
#include <cmath>

#include "game/settings/decimal_text.h"

namespace zelto {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool ReadYesNo(std::string_view text, bool& value) {
    if (text == "yes") {
        value = true;
        return true;
    }
    if (text == "no") {
        value = false;
        return true;
    }
    return false;
}

bool ReadSide(std::string_view text, int& side) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return false;
    if (value < Settings::kSmallestWindowSide || value > Settings::kLargestWindowSide) return false;
    side = value;
    return true;
}

// WIDTHxHEIGHT, each side within the window limits.
bool ReadWindowSize(std::string_view text, int& width, int& height) {
    const std::size_t cross = text.find('x');
    if (cross == std::string_view::npos) return false;
    int readWidth = 0;
    int readHeight = 0;
    if (!ReadSide(text.substr(0, cross), readWidth) ||
        !ReadSide(text.substr(cross + 1), readHeight)) {
        return false;
    }
    width = readWidth;
    height = readHeight;
    return true;
}

bool ReadCoordinate(std::string_view text, int& coordinate) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return false;
    if (value < -Settings::kFarthestWindowPosition || value > Settings::kFarthestWindowPosition) {
        return false;
    }
    coordinate = value;
    return true;
}

// X,Y, each within the window system's coordinates.
bool ReadWindowPosition(std::string_view text, std::optional<WindowPosition>& position) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) return false;
    WindowPosition read;
    if (!ReadCoordinate(text.substr(0, comma), read.x) ||
        !ReadCoordinate(text.substr(comma + 1), read.y)) {
        return false;
    }
    position = read;
    return true;
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
    if (key == "window") return ReadYesNo(value, settings.inWindow);
    if (key == "window-size") {
        return ReadWindowSize(value, settings.windowWidth, settings.windowHeight);
    }
    if (key == "window-position") return ReadWindowPosition(value, settings.windowPosition);
    if (key == "sensitivity") return Settings::ReadSensitivity(value, settings.sensitivity);
    if (key == "integer-scale") return ReadYesNo(value, settings.integerScale);
    if (key == "mute") return ReadYesNo(value, settings.muted);
    return true;
}

const char* YesNo(bool value) {
    return value ? "yes" : "no";
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
    const std::string sensitivityWritten = WrittenDecimal(sensitivity);
    const std::string positionLine =
        windowPosition ? "window-position = " + std::to_string(windowPosition->x) + "," +
                             std::to_string(windowPosition->y) + "\n"
                       : std::string();
    return std::string(
               "# zelto's settings, written as the game ends. Options on the command line\n"
               "# win over them for one run.\n") +
           "window = " + YesNo(inWindow) + "\n" + "window-size = " + std::to_string(windowWidth) +
           "x" + std::to_string(windowHeight) + "\n" + positionLine +
           "sensitivity = " + sensitivityWritten + "\n" + "integer-scale = " + YesNo(integerScale) +
           "\n" + "mute = " + YesNo(muted) + "\n";
}

bool Settings::ReadSensitivity(std::string_view text, float& sensitivity) {
    float value = 0.0f;
    if (!ReadDecimal(text, value) || !std::isfinite(value)) return false;
    if (value < kLeastSensitivity || value > kMostSensitivity) return false;
    sensitivity = value;
    return true;
}

}  // namespace zelto
