// SPDX-License-Identifier: MIT
#pragma once

// The game and its loaders read the data files by their bare names from the working folder;
// a benchmark that loads them as the game does first moves into the generated data set.

namespace bench {

// Makes the generated data set's folder the working folder. False, with a message on the
// standard error stream that names the program, when there is no such folder.
bool EnterGameDataFolder(const char* program);

}  // namespace bench
