// SPDX-License-Identifier: MIT
// Enters scores in the kept table of a folder, one after another, for the tests of two games
// running at once and of a game killed while it writes:
//
//     score_writer FOLDER FIRST STEP COUNT
//
// enters FIRST, FIRST + STEP, ... COUNT scores, or without end when COUNT is 0. A line goes to
// the standard output after every entry, so a test knows the writing has begun.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "game/scores/score_file.h"

int main(int argc, char** argv) {
    if (argc != 5) return 2;
    zelto::ScoreFile file(argv[1]);
    const std::int64_t first = std::atoll(argv[2]);
    const std::int64_t step = std::atoll(argv[3]);
    const std::int64_t count = std::atoll(argv[4]);
    for (std::int64_t i = 0; count == 0 || i < count; ++i) {
        const auto score = static_cast<std::int32_t>(first + i * step);
        file.Enter({score, zelto::UtcDate(std::time(nullptr))});
        if (write(STDOUT_FILENO, "\n", 1) != 1) return 1;
    }
    return 0;
}
