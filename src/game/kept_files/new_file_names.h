// SPDX-License-Identifier: MIT
#pragma once

// The names of the new files a writer makes beside a kept file before it moves one over the
// kept file: the kept file's name, kNewFileSuffix, then kNewFileMarks letters or digits. A
// writer that was killed leaves its new file behind, and the next writer clears away every name
// of this shape, on every system alike.

#include <cstddef>
#include <string_view>

namespace zelto {

inline constexpr std::string_view kNewFileSuffix = ".new-";
inline constexpr std::size_t kNewFileMarks = 6;

// Whether `name` is `start` (a kept file's name and kNewFileSuffix) followed by kNewFileMarks
// letters or digits.
bool IsNewFileName(std::string_view name, std::string_view start);

}  // namespace zelto
