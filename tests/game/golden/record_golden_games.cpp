// SPDX-License-Identifier: MIT
// Records the suite's golden games on the fake host, each into FOLDER/<name>.zrec:
//   bot_wins_stage_one     the bot clicks through the intro and plays until stage 1 is won
//   game_over_new_game     a player who never steers loses every life to the Energon drain,
//                          sees Game Over, clicks for a new game and quits with Escape
//   focus_and_display      the window loses the front and gets it back on the instruction
//                          screen and in play (which pauses; a click goes on), the display is
//                          lost during the fades after a click and after Escape
// Each game starts with no kept scores. The program ends with 1 when a game does not go as
// described (the bot fails to win, no Game Over is reached), so a game that changed shape is
// not kept as golden.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "cdx/input/key_codes.h"
#include "game/kept_files/xdg_folders.h"
#include "game/spine/run_conditions.h"
#include "game/spine/zelto.h"
#include "game_bot.h"
#include "platform/fake/fake_host.h"
#include "platform/record/data_set_hash.h"
#include "platform/record/recording_host.h"

namespace {

using platform::FakeHost;
using platform::HostEvent;

constexpr int kLeftButton = 0;
// A press is held for six blanks, a tenth of a second.
constexpr std::uint64_t kPress = 6;

void Press(FakeHost& host, std::uint64_t blank, int scanCode) {
    host.AtBlank(blank, [scanCode](FakeHost& h) { h.SetKey(scanCode, true); });
    host.AtBlank(blank + kPress, [scanCode](FakeHost& h) { h.SetKey(scanCode, false); });
}

void Click(FakeHost& host, std::uint64_t blank) {
    host.AtBlank(blank, [](FakeHost& h) { h.SetMouseButton(kLeftButton, true); });
    host.AtBlank(blank + kPress, [](FakeHost& h) { h.SetMouseButton(kLeftButton, false); });
}

void Send(FakeHost& host, std::uint64_t blank, HostEvent::Kind kind) {
    host.AtBlank(blank, [kind](FakeHost& h) { h.QueueEvent(kind); });
}

// Plays one game on a fresh fake host through a recording host into path, its state in game (a
// fresh one); the scripting is given the fake host before the game starts. True when the
// recording was kept.
bool RecordGame(const std::string& path, zelto::Game& game,
                const std::function<void(FakeHost&)>& script) {
    std::error_code error;
    const std::filesystem::path scores = std::filesystem::temp_directory_path(error) /
                                         ("zelto-golden-" + std::to_string(::getpid()));
    std::filesystem::remove_all(scores, error);
    setenv("XDG_DATA_HOME", scores.c_str(), 1);

    FakeHost machine;
    machine.SetPicturesKept(0);
    script(machine);
    platform::RecordingHost recorder(machine);
    platform::RecordingHeader header;
    header.programVersion = ZELTO_VERSION;
    header.dataSetHash = platform::DataSetHash(std::filesystem::current_path(error).string());
    header.conditions = zelto::ConditionsOfRun(
        game.Options, zelto::KeptDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    std::string problem;
    if (!recorder.Start(path, header, problem)) {
        std::fprintf(stderr, "record_golden_games: %s\n", problem.c_str());
        return false;
    }
    platform::SetHost(&recorder);
    zelto::WinMain(game, nullptr, nullptr, "", platform::SW_SHOWNORMAL);
    platform::SetHost(&machine);
    const bool kept = recorder.Finish(problem);
    if (!kept) std::fprintf(stderr, "record_golden_games: %s\n", problem.c_str());
    std::filesystem::remove_all(scores, error);
    std::printf("%s: %llu blanks\n", path.c_str(),
                static_cast<unsigned long long>(machine.Blank()));
    return kept;
}

bool BotWinsStageOne(const std::string& folder) {
    zelto::Game game;
    bot::GameBot player(game, 5 * 60 * 60);
    const bool kept = RecordGame(folder + "/bot_wins_stage_one.zrec", game, [&](FakeHost& host) {
        host.AtEveryBlank([&](FakeHost& h) { player.OnBlank(h); });
    });
    if (!player.Record().completed) {
        std::fputs("record_golden_games: the bot did not win stage 1\n", stderr);
        return false;
    }
    return kept;
}

bool GameOverNewGame(const std::string& folder) {
    bool gameOverSeen = false;
    std::uint64_t newGameClick = 0;
    zelto::Game game;
    const bool kept = RecordGame(folder + "/game_over_new_game.zrec", game, [&](FakeHost& host) {
        Click(host, 60);
        host.AtEveryBlank([&](FakeHost& h) {
            if (!game.Status) return;
            // Space held through play passes every instruction screen and does nothing else.
            h.SetKey(platform::kScanSpace, game.Status->State == zelto::Playing);
            if (game.Status->State == zelto::GameOver && !gameOverSeen) {
                gameOverSeen = true;
                newGameClick = h.Blank() + 120;
                Click(h, newGameClick);
            }
            if (newGameClick != 0 && h.Blank() == newGameClick + 600) {
                Press(h, h.Blank() + 1, platform::kScanEscape);
            }
        });
    });
    if (!gameOverSeen) {
        std::fputs("record_golden_games: no Game Over was reached\n", stderr);
        return false;
    }
    return kept;
}

bool FocusAndDisplay(const std::string& folder) {
    bool instructionsSeen = false;
    zelto::Game game;
    const bool kept = RecordGame(folder + "/focus_and_display.zrec", game, [&](FakeHost& host) {
        // The click's fade to the instruction screen, with the display lost within it.
        Click(host, 60);
        Send(host, 66, HostEvent::Kind::DisplayLost);
        host.AtEveryBlank([&](FakeHost& h) {
            const bool atRest = game.Player && game.Player->VelX == 0 && game.Player->VelY == 0;
            if (instructionsSeen || !game.Status || game.Status->State != zelto::Playing ||
                !atRest) {
                return;
            }
            instructionsSeen = true;
            const std::uint64_t b = h.Blank();
            // The instruction screen loses the front and gets it back, then Space.
            Send(h, b + 30, HostEvent::Kind::FocusLost);
            Send(h, b + 90, HostEvent::Kind::FocusGained);
            Press(h, b + 130, platform::kScanSpace);
            h.AtBlank(b + 140, [](FakeHost& m) { m.MoveMouse(1, -1); });
            // Play loses the front (and pauses), gets it back, and a click lets it go on.
            Send(h, b + 200, HostEvent::Kind::FocusLost);
            Send(h, b + 260, HostEvent::Kind::FocusGained);
            Click(h, b + 290);
            h.AtBlank(b + 310, [](FakeHost& m) { m.MoveMouse(-1, 1); });
            // Escape's fade to black, with the display lost within it.
            Press(h, b + 400, platform::kScanEscape);
            Send(h, b + 403, HostEvent::Kind::DisplayLost);
        });
    });
    return kept && instructionsSeen;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: record_golden_games FOLDER (run in the game's data folder)\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const bool recorded =
        BotWinsStageOne(folder) && GameOverNewGame(folder) && FocusAndDisplay(folder);
    return recorded ? 0 : 1;
}
