// SPDX-License-Identifier: MIT
// The soak: the whole game played through WinMain on the fake host for 100,000 blanks (28
// minutes of game time) by a random player, with the display lost every 500 blanks and the
// sound buffers every 700. Built with the sanitizers it looks for memory faults, leaks and
// undefined behaviour on paths that short tests take once: hundreds of stage starts, deaths,
// fades, restores and new games, and the program quit and started again in the same process.
// Resident memory must not grow once play has settled: it is read at a start of the program
// after blank 10,000 and again at a start after the last blank, and must agree within 1 MiB.
//
// ZELTO_SOAK_SEED chooses another random player; a fault is reproduced by its seed and the
// blank it came at.

#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "game/spine/zelto.h"
#include "platform/fake/fake_host.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime's allocator interface; GCC does not install its header.
extern "C" void __sanitizer_purge_allocator();
#endif

using namespace platform;
using namespace cdx;
using namespace zelto;

namespace {

constexpr std::uint64_t kBlanks = 100'000;
// By then the game has loaded, played several games and been started again: from here on
// resident memory must hold still.
constexpr std::uint64_t kSettledBlank = 10'000;
// Resident memory in the middle of play depends on what the current run has drawn, loaded,
// lost and restored so far and on the fake host's records of that run: read every 10,000
// blanks wherever the game happens to be, it wanders over 4 MB in Release, leak or none. Every
// start of the program is the same point in its life: the same files loaded, the same intro
// shown, a fresh machine with empty records. So the player quits at kSettledBlank and again at
// kBlanks, and memory is read at the start that follows each, at this blank of the run: the
// game has loaded and shown its intro for a second, with nothing pressed and neither display
// nor sound lost. Every start between the two is read at the same point.
constexpr std::uint64_t kStartReadingBlank = 60;
// Memory kept from one run to the next, in either direction.
constexpr std::int64_t kAllowedDriftKilobytes = 1024;
constexpr std::uint64_t kDisplayLossPeriod = 500;
constexpr std::uint64_t kSoundLossPeriod = 700;
constexpr std::uint64_t kProgressPeriod = 10'000;
constexpr std::uint32_t kDefaultSeed = 20261208;

constexpr int kLeftButton = 0;
// A press holds its key or button for a tenth of a second.
constexpr int kPressBlanks = 6;

// The allocator keeps memory that the program has freed: the address sanitizer holds freed
// blocks back in its quarantine (256 MB) to catch late uses, and malloc keeps freed heap for
// reuse. Which of it is resident at a given blank is chance, megabytes either way, so it is
// handed back first and the figure is the memory the program holds.
std::int64_t ResidentKilobytes() {
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_purge_allocator();
#else
    malloc_trim(0);
#endif
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6));
    }
    return -1;
}

std::uint32_t SeedFromEnvironment() {
    const char* text = std::getenv("ZELTO_SOAK_SEED");
    if (text == nullptr) return kDefaultSeed;
    return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
}

// What the player went through, counted from the game's state as it stands at each blank.
struct Tally {
    int runs = 0;  // program starts, each on the intro
    int instructionScreens = 0;
    int playEntries = 0;
    int dyingEntries = 0;
    int gameOverEntries = 0;
    int deaths = 0;
    int newGames = 0;
    int stagesCompleted = 0;
    int quits = 0;
};

struct StartReading {
    std::uint64_t blank = 0;
    std::int64_t kilobytes = 0;
};

// Plays at random with a bias that reaches every state often: big diagonal motions send the
// player into the edges and corners, which cost Energon and so lives; Space gets through the
// instruction screens; clicks start games from the intro and from Game Over, where now and
// then Escape quits instead so that the program starts again.
class RandomPlayer {
public:
    explicit RandomPlayer(std::uint32_t seed) : random_(seed) {}

    // The game of the run about to start, watched until the next one.
    void Watch(const Game& game) { game_ = &game; }

    // blank counts from the start of the soak, across program runs.
    void OnBlank(FakeHost& host, std::uint64_t blank) {
        const bool startBeingRead = host.Blank() <= kStartReadingBlank;
        if (!startBeingRead) {
            if (blank % kDisplayLossPeriod == 0) host.LoseDisplay();
            if (blank % kSoundLossPeriod == 0) host.LoseSoundBuffers();
        }
        // A long run shows how far it is, and the memory's course along the way.
        if (blank % kProgressPeriod == 0) {
            std::printf("soak: blank %llu, %d deaths, %d new games, VmRSS %lld kB\n",
                        static_cast<unsigned long long>(blank), tally.deaths, tally.newGames,
                        static_cast<long long>(ResidentKilobytes()));
            std::fflush(stdout);
        }
        Observe();
        if (host.Blank() == kStartReadingBlank) ReadStart(host, blank);
        // Quitting holds Space and Escape down until the program has ended.
        if (quitting_ || startBeingRead) return;
        if (blank >= nextQuitToRead_) {
            nextQuitToRead_ = nextQuitToRead_ < kBlanks ? kBlanks : UINT64_MAX;
            lastRunDue_ = nextQuitToRead_ == UINT64_MAX;
            readingStarts_ = true;
            Quit(host);
            return;
        }
        ReleaseEndedPresses(host);
        if (game_->Status) Act(host);
    }

    // True once the last start has been read; that run is ending.
    bool Finished() const { return finished_; }

    // The program has ended; the next run starts on a machine of its own with nothing pressed.
    void EndRun() {
        spaceHeld_ = 0;
        buttonHeld_ = 0;
        quitting_ = false;
        quitAtGameOver_ = false;
        runSeen_ = false;
        lastEnemy_ = nullptr;
    }

    Tally tally;
    // Every start of the program from the quit at kSettledBlank on, read at
    // kStartReadingBlank: the first after kSettledBlank, the last after kBlanks.
    std::vector<StartReading> startReadings;

private:
    void ReadStart(FakeHost& host, std::uint64_t blank) {
        if (!readingStarts_) return;
        startReadings.push_back({blank, ResidentKilobytes()});
        if (!lastRunDue_) return;
        finished_ = true;
        Quit(host);
    }

    // Space leaves an instruction screen, Escape the game; both are held until it has ended.
    void Quit(FakeHost& host) {
        host.SetKey(kScanSpace, true);
        host.SetKey(kScanEscape, true);
        quitting_ = true;
        ++tally.quits;
    }

    bool OneIn(int n) { return std::uniform_int_distribution<int>(1, n)(random_) == 1; }
    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    int Signed(int low, int high) { return OneIn(2) ? Between(low, high) : -Between(low, high); }

    void Observe() {
        if (!game_->Status) return;
        const Actor* enemy = game_->Enemies[kEnemyCount - 1].get();
        if (!runSeen_) {
            runSeen_ = true;
            ++tally.runs;
            lastState_ = game_->Status->State;
            lastLives_ = game_->Status->Lives;
            lastStage_ = game_->Status->Stage;
            lastEnemy_ = enemy;
            return;
        }
        // The enemies are made once at start-up, then afresh as each instruction screen ends.
        if (enemy != lastEnemy_ && lastEnemy_ != nullptr) ++tally.instructionScreens;
        lastEnemy_ = enemy;
        if (game_->Status->State != lastState_) {
            quitAtGameOver_ = false;
            if (game_->Status->State == Playing) ++tally.playEntries;
            if (game_->Status->State == Dying) ++tally.dyingEntries;
            // The last life's explosion fades out from play before the death sequence; the Game
            // Over state that counts comes after the sequence.
            if (game_->Status->State == GameOver && lastState_ == Dying) {
                ++tally.gameOverEntries;
                // Now and then the player quits from Game Over rather than playing again.
                quitAtGameOver_ = OneIn(3);
            }
            lastState_ = game_->Status->State;
        }
        if (game_->Status->Lives < lastLives_) tally.deaths += lastLives_ - game_->Status->Lives;
        if (game_->Status->Lives > lastLives_) {
            ++tally.newGames;
        } else if (game_->Status->Stage > lastStage_) {
            tally.stagesCompleted += game_->Status->Stage - lastStage_;
        }
        lastLives_ = game_->Status->Lives;
        lastStage_ = game_->Status->Stage;
    }

    void ReleaseEndedPresses(FakeHost& host) {
        if (spaceHeld_ > 0 && --spaceHeld_ == 0) host.SetKey(kScanSpace, false);
        if (buttonHeld_ > 0 && --buttonHeld_ == 0) host.SetMouseButton(kLeftButton, false);
    }

    void Act(FakeHost& host) {
        // A new course about three times a second: one in three a fast one.
        if (OneIn(20)) {
            if (OneIn(3)) {
                host.MoveMouse(Signed(10, 24), Signed(8, 18));
            } else {
                host.MoveMouse(Signed(1, 4), Signed(1, 4));
            }
        }
        // Motion along one axis keeps the course.
        if (OneIn(40)) host.MoveMouse(Signed(1, 30), 0);
        if (spaceHeld_ == 0 && OneIn(45)) {
            host.SetKey(kScanSpace, true);
            spaceHeld_ = kPressBlanks;
        }
        const bool waitingForClick =
            game_->Status->State == Intro || game_->Status->State == GameOver;
        if (game_->Status->State == GameOver && quitAtGameOver_ && OneIn(60)) {
            // Held with Space, which leaves the instruction screen should a click still held
            // start a game first.
            Quit(host);
            return;
        }
        if (buttonHeld_ == 0 && OneIn(waitingForClick ? 60 : 300)) {
            host.SetMouseButton(kLeftButton, true);
            buttonHeld_ = kPressBlanks;
        }
    }

    std::mt19937 random_;
    const Game* game_ = nullptr;
    int spaceHeld_ = 0;
    int buttonHeld_ = 0;
    bool quitting_ = false;
    bool quitAtGameOver_ = false;
    bool runSeen_ = false;
    // The blank from which the player quits so that the next start is read.
    std::uint64_t nextQuitToRead_ = kSettledBlank;
    bool readingStarts_ = false;
    bool lastRunDue_ = false;
    bool finished_ = false;
    std::int32_t lastState_ = Intro;
    std::int32_t lastLives_ = 0;
    std::int32_t lastStage_ = 0;
    const Actor* lastEnemy_ = nullptr;
};

}  // namespace

TEST(Soak, HundredThousandBlanksOfRandomPlayWithDisplayAndSoundLosses) {
    const std::uint32_t seed = SeedFromEnvironment();
    std::printf("soak: seed %u, %llu blanks\n", seed, static_cast<unsigned long long>(kBlanks));
    RandomPlayer player(seed);
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t blanksBefore = 0;
    while (!player.Finished()) {
        // Each run is a start of the program: a fresh machine, its clock at the time of day the
        // soak has reached, so that the game draws other random numbers each time.
        FakeHost host;
        SetHost(&host);
        host.SetTimeOfDay(FakeHost::kStartSeconds + static_cast<std::int64_t>(blanksBefore / 60));
        // A hung program ends the soak instead of holding it.
        host.SetBlankLimit((blanksBefore < kBlanks ? kBlanks - blanksBefore : 0) + 10'000);
        host.AtEveryBlank([&](FakeHost& h) { player.OnBlank(h, blanksBefore + h.Blank()); });
        Game game;
        player.Watch(game);
        EXPECT_EQ(WinMain(game, nullptr, nullptr, "", SW_SHOWNORMAL), 0)
            << "run that started at blank " << blanksBefore;
        EXPECT_TRUE(host.MessageBoxes().empty()) << "run that started at blank " << blanksBefore
                                                 << ": " << host.MessageBoxes().front().text;
        host.AtEveryBlank(nullptr);
        blanksBefore += host.Blank();
        player.EndRun();
    }
    SetHost(nullptr);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const Tally& tally = player.tally;
    std::printf(
        "soak: %.0f s for %llu blanks\n"
        "soak: entered intro %d, instruction screen %d, play %d, dying %d, Game Over %d\n"
        "soak: deaths %d, new games %d, stages completed %d, quits %d\n",
        seconds, static_cast<unsigned long long>(blanksBefore), tally.runs,
        tally.instructionScreens, tally.playEntries, tally.dyingEntries, tally.gameOverEntries,
        tally.deaths, tally.newGames, tally.stagesCompleted, tally.quits);
    if (!player.startReadings.empty()) {
        const auto [fewest, most] = std::minmax_element(
            player.startReadings.begin(), player.startReadings.end(),
            [](const StartReading& a, const StartReading& b) { return a.kilobytes < b.kilobytes; });
        std::printf(
            "soak: VmRSS at the start read at blank %llu: %lld kB, at blank %llu: %lld kB; "
            "%zu starts read, %lld to %lld kB\n",
            static_cast<unsigned long long>(player.startReadings.front().blank),
            static_cast<long long>(player.startReadings.front().kilobytes),
            static_cast<unsigned long long>(player.startReadings.back().blank),
            static_cast<long long>(player.startReadings.back().kilobytes),
            player.startReadings.size(), static_cast<long long>(fewest->kilobytes),
            static_cast<long long>(most->kilobytes));
    }

    // Every state many times over.
    constexpr int kManyTimes = 10;
    EXPECT_GE(tally.runs, kManyTimes);
    EXPECT_GE(tally.instructionScreens, 10 * kManyTimes);
    EXPECT_GE(tally.playEntries, 10 * kManyTimes);
    EXPECT_GE(tally.dyingEntries, 10 * kManyTimes);
    EXPECT_GE(tally.gameOverEntries, kManyTimes);
    EXPECT_GE(tally.newGames, kManyTimes);
    // Every start from the one after kSettledBlank to the one after kBlanks holds what the one
    // after kSettledBlank held: more is memory kept from the runs before, less means the first
    // reading still held something of the run before it.
    ASSERT_GE(player.startReadings.size(), 2U);
    const StartReading& settled = player.startReadings.front();
    ASSERT_GT(settled.kilobytes, 0);
    EXPECT_GE(player.startReadings.back().blank, kBlanks);
    for (const StartReading& reading : player.startReadings) {
        EXPECT_LE(std::abs(reading.kilobytes - settled.kilobytes), kAllowedDriftKilobytes)
            << "start read at blank " << reading.blank << ": " << reading.kilobytes
            << " kB, at blank " << settled.blank << ": " << settled.kilobytes << " kB";
    }
}
