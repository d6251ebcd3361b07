// SPDX-License-Identifier: MIT
#pragma once

// The kept settings as one table, a row each: the key of its `key = value` line, its value's
// type and range, how it reaches its Settings member, and the command-line options that choose
// it for one run with their lines in the usage. Settings::Parse and Settings::Format, the
// command line and its usage all read the table, so a new kept setting is a Settings member
// (its initializer the default) and a row, besides its lines in the manual page, which a test
// holds to the table.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "game/settings/settings.h"

namespace zelto {

enum class SettingType {
    kYesNo,     // yes or no
    kDecimal,   // a plain decimal number (see decimal_text.h) from the row's least to its most
    kSize,      // WIDTHxHEIGHT, each side from the row's least to its most
    kPosition,  // X,Y, each from the row's least to its most
};

// A setting's value in its type's form.
struct SettingValue {
    bool yes = false;     // a yes/no
    float number = 0.0f;  // a decimal
    int first = 0;        // a size's width, a position's x
    int second = 0;       // a size's height, a position's y
    bool absent = false;  // no value: a window never placed, a setting no option chose
};

// A command-line option that chooses a kept setting for one run.
struct SettingOption {
    std::string_view name;         // "--window"; empty where the row has no further option
    std::string_view valueName{};  // the value's name in the usage ("N"); empty: a flag
    bool flagValue = true;         // the yes or no a flag chooses
    std::string_view help;         // its line in the usage
};

struct SettingRow {
    std::string_view key;
    SettingType type = SettingType::kYesNo;
    // The range of the number, or of each of the two; a double holds every float and int
    // exactly.
    double least = 0.0;
    double most = 0.0;
    // The row's reach into its Settings member, and into the command line's choice of it: two
    // small functions each way rather than a pointer-to-member, because the window's size is
    // two members and its position an optional one, and one form then reads the same in every
    // row. A row without options has no choice to reach (null).
    SettingValue (*get)(const Settings& settings) = nullptr;
    void (*set)(Settings& settings, const SettingValue& value) = nullptr;
    std::array<SettingOption, 2> options{};
    SettingValue (*chosen)(const SettingChoices& choices) = nullptr;
    void (*choose)(SettingChoices& choices, const SettingValue& value) = nullptr;
};

// Every kept setting, in the order of the settings' text.
std::span<const SettingRow> SettingRows();

// The value the text spells, when it is one the row takes.
std::optional<SettingValue> ReadSettingValue(const SettingRow& row, std::string_view text);
std::string WrittenSettingValue(const SettingRow& row, const SettingValue& value);
// What the row takes, as a refusal says it: "a number from 0.1 to 10".
std::string SettingValueWanted(const SettingRow& row);
// The option's line in the usage: its help, with the range and the default where it takes a
// value.
std::string SettingOptionHelp(const SettingRow& row, const SettingOption& option);

// The kept settings with what the run's options chose in their place.
Settings WithChoices(Settings settings, const SettingChoices& choices);

}  // namespace zelto
