// SPDX-License-Identifier: MIT
#include "game/settings/setting_rows.h"

#include <charconv>
#include <cmath>

#include "game/settings/decimal_text.h"

namespace zelto {

namespace {

constexpr SettingValue kAbsent{.absent = true};

constexpr SettingRow kRows[] = {
    // yes: a window; no: full screen.
    {
        .key = "window",
        .type = SettingType::kYesNo,
        .get = [](const Settings& settings) { return SettingValue{.yes = settings.inWindow}; },
        .set = [](Settings& settings, const SettingValue& value) { settings.inWindow = value.yes; },
        .options = {{
            {.name = "--window", .help = "start in a window instead of full screen"},
            {.name = "--fullscreen",
             .flagValue = false,
             .help = "start full screen (the default; the last of the two wins)"},
        }},
        .chosen =
            [](const SettingChoices& choices) {
                return choices.startInWindow ? SettingValue{.yes = *choices.startInWindow}
                                             : kAbsent;
            },
        .choose = [](SettingChoices& choices,
                     const SettingValue& value) { choices.startInWindow = value.yes; },
    },
    // The window's inner size when in a window. A side outside the range is not a size this
    // game leaves a window at.
    {
        .key = "window-size",
        .type = SettingType::kSize,
        .least = 64,
        .most = 16384,
        .get =
            [](const Settings& settings) {
                return SettingValue{.first = settings.windowWidth, .second = settings.windowHeight};
            },
        .set =
            [](Settings& settings, const SettingValue& value) {
                settings.windowWidth = value.first;
                settings.windowHeight = value.second;
            },
    },
    // The window's top-left corner on the desktop (its frame's, where the window manager draws
    // one), in pixels from the first display's top-left corner (negative left of it or above
    // it); written once the game has had a window; without it the window opens centred. The
    // window system's coordinates are 16-bit: no display lies beyond the range either way.
    {
        .key = "window-position",
        .type = SettingType::kPosition,
        .least = -32767,
        .most = 32767,
        .get =
            [](const Settings& settings) {
                return settings.windowPosition ? SettingValue{.first = settings.windowPosition->x,
                                                              .second = settings.windowPosition->y}
                                               : kAbsent;
            },
        .set =
            [](Settings& settings, const SettingValue& value) {
                settings.windowPosition = WindowPosition{value.first, value.second};
            },
    },
    // The mouse factor.
    {
        .key = "sensitivity",
        .type = SettingType::kDecimal,
        .least = Settings::kLeastSensitivity,
        .most = Settings::kMostSensitivity,
        .get =
            [](const Settings& settings) { return SettingValue{.number = settings.sensitivity}; },
        .set = [](Settings& settings,
                  const SettingValue& value) { settings.sensitivity = value.number; },
        .options = {{
            {.name = "--sensitivity", .valueName = "N", .help = "scale the mouse's steering by N"},
        }},
        .chosen =
            [](const SettingChoices& choices) {
                return choices.sensitivity ? SettingValue{.number = *choices.sensitivity} : kAbsent;
            },
        .choose = [](SettingChoices& choices,
                     const SettingValue& value) { choices.sensitivity = value.number; },
    },
    // yes: the picture at whole multiples of its size only (yes by default in a page).
    {
        .key = "integer-scale",
        .type = SettingType::kYesNo,
        .get = [](const Settings& settings) { return SettingValue{.yes = settings.integerScale}; },
        .set = [](Settings& settings,
                  const SettingValue& value) { settings.integerScale = value.yes; },
        .options = {{
            {.name = "--integer-scale",
             .help = "scale the picture by whole multiples only, black around it"},
        }},
        .chosen =
            [](const SettingChoices& choices) {
                return choices.integerScale ? SettingValue{.yes = *choices.integerScale} : kAbsent;
            },
        .choose = [](SettingChoices& choices,
                     const SettingValue& value) { choices.integerScale = value.yes; },
    },
    // yes: start with all sound silenced (M still unmutes).
    {
        .key = "mute",
        .type = SettingType::kYesNo,
        .get = [](const Settings& settings) { return SettingValue{.yes = settings.muted}; },
        .set = [](Settings& settings, const SettingValue& value) { settings.muted = value.yes; },
    },
};

// A whole number within the row's range, the whole text or nothing.
bool ReadWhole(const SettingRow& row, std::string_view text, int& whole) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
    if (value < row.least || value > row.most) return false;
    whole = value;
    return true;
}

// Two whole numbers within the row's range, either side of the separator.
bool ReadPair(const SettingRow& row, std::string_view text, char separator, SettingValue& pair) {
    const std::size_t at = text.find(separator);
    return at != std::string_view::npos && ReadWhole(row, text.substr(0, at), pair.first) &&
           ReadWhole(row, text.substr(at + 1), pair.second);
}

// The separator of a size or a position.
char PairSeparator(SettingType type) {
    return type == SettingType::kSize ? 'x' : ',';
}

std::string WrittenBound(const SettingRow& row, double bound) {
    if (row.type == SettingType::kDecimal) return WrittenDecimal(static_cast<float>(bound));
    return std::to_string(static_cast<int>(bound));
}

// The range as the usage and the refusals say it: "0.1 to 10".
std::string RangeText(const SettingRow& row) {
    if (row.type == SettingType::kYesNo) return "yes or no";
    return WrittenBound(row, row.least) + " to " + WrittenBound(row, row.most);
}

}  // namespace

std::span<const SettingRow> SettingRows() {
    return kRows;
}

std::optional<SettingValue> ReadSettingValue(const SettingRow& row, std::string_view text) {
    SettingValue value;
    switch (row.type) {
        case SettingType::kYesNo:
            if (text != "yes" && text != "no") return std::nullopt;
            value.yes = text == "yes";
            return value;
        case SettingType::kDecimal:
            // Compared as floats: the bounds are the floats the row was given.
            if (!ReadDecimal(text, value.number) || !std::isfinite(value.number) ||
                value.number < static_cast<float>(row.least) ||
                value.number > static_cast<float>(row.most)) {
                return std::nullopt;
            }
            return value;
        case SettingType::kSize:
        case SettingType::kPosition:
            if (!ReadPair(row, text, PairSeparator(row.type), value)) return std::nullopt;
            return value;
    }
    return std::nullopt;
}

std::string WrittenSettingValue(const SettingRow& row, const SettingValue& value) {
    switch (row.type) {
        case SettingType::kYesNo:
            return value.yes ? "yes" : "no";
        case SettingType::kDecimal:
            return WrittenDecimal(value.number);
        case SettingType::kSize:
        case SettingType::kPosition:
            return std::to_string(value.first) + PairSeparator(row.type) +
                   std::to_string(value.second);
    }
    return {};
}

std::string SettingValueWanted(const SettingRow& row) {
    switch (row.type) {
        case SettingType::kYesNo:
            return RangeText(row);
        case SettingType::kDecimal:
            return "a number from " + RangeText(row);
        case SettingType::kSize:
            return "WIDTHxHEIGHT, each side from " + RangeText(row);
        case SettingType::kPosition:
            return "X,Y, each from " + RangeText(row);
    }
    return {};
}

std::string SettingOptionHelp(const SettingRow& row, const SettingOption& option) {
    if (option.valueName.empty()) return std::string(option.help);
    const SettingValue byDefault = row.get(Settings{});
    return std::string(option.help) + " (" + RangeText(row) +
           (byDefault.absent ? "" : ", default " + WrittenSettingValue(row, byDefault)) + ")";
}

Settings WithChoices(Settings settings, const SettingChoices& choices) {
    for (const SettingRow& row : kRows) {
        if (row.chosen == nullptr) continue;
        const SettingValue value = row.chosen(choices);
        if (!value.absent) row.set(settings, value);
    }
    return settings;
}

}  // namespace zelto
