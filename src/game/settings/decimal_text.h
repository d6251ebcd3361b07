// SPDX-License-Identifier: MIT
#pragma once

// Decimal numbers in the settings' text, read and written the same whatever the locale:
// written in the fewest digits that read back as the same float, read only in the plain form
// `digits[.digits][e[+|-]digits]` (optionally after a minus), the whole text or nothing.

#include <string>
#include <string_view>

namespace zelto {

std::string WrittenDecimal(float value);
bool ReadDecimal(std::string_view text, float& value);

}  // namespace zelto
