// SPDX-License-Identifier: MIT
#pragma once

// The folder of the running program's own file, as the system tells it: where a build tree or
// an unpacked download keeps the data set beside the program.

#include <filesystem>

namespace platform {

// Empty where the system does not say.
std::filesystem::path ExecutableFolder();

}  // namespace platform
