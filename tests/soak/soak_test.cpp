// The soak: the whole game played through WinMain on the fake host for 100,000 blanks (28
// minutes of game time) by a random player, with the display lost every 500 blanks and the
// sound buffers every 700. Built with the sanitizers it looks for memory faults, leaks and
// undefined behaviour on paths that short tests take once: hundreds of stage starts, deaths,
// fades, restores and new games, and the program quit and started again in the same process.
// Resident memory must not grow once play has settled.
//
// ZELTO_SOAK_SEED chooses another random player; a fault is reproduced by its seed and the
// blank it came at.

#include <gtest/gtest.h>
#include <malloc.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "fake_host.h"
#include "zelto.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime's allocator interface; GCC does not install its header.
extern "C" void __sanitizer_purge_allocator();
#endif

using namespace platform;

namespace {

constexpr std::uint64_t kBlanks = 100'000;
// By then the game has loaded, played several games and been started again: from here on
// resident memory must hold still.
constexpr std::uint64_t kSettledBlank = 10'000;
constexpr std::int64_t kAllowedGrowthKilobytes = 1024;
constexpr std::uint64_t kDisplayLossPeriod = 500;
constexpr std::uint64_t kSoundLossPeriod = 700;
constexpr std::uint64_t kProgressPeriod = 10'000;
constexpr std::uint32_t kDefaultSeed = 20261208;

constexpr int kSpaceScanCode = 0x39;
constexpr int kEscapeScanCode = 0x01;
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

// Plays at random with a bias that reaches every state often: big diagonal motions send the
// player into the edges and corners, which cost Energon and so lives; Space gets through the
// instruction screens; clicks start games from the intro and from Game Over, where now and
// then Escape quits instead so that the program starts again.
class RandomPlayer {
public:
    explicit RandomPlayer(std::uint32_t seed) : random_(seed) {}

    // blank counts from the start of the soak, across program runs.
    void OnBlank(FakeHost& host, std::uint64_t blank) {
        if (blank % kDisplayLossPeriod == 0) host.LoseDisplay();
        if (blank % kSoundLossPeriod == 0) host.LoseSoundBuffers();
        if (settledKilobytes == 0 && blank >= kSettledBlank) settledKilobytes = ResidentKilobytes();
        if (finalKilobytes == 0 && blank >= kBlanks) finalKilobytes = ResidentKilobytes();
        // A long run shows how far it is, and the memory's course along the way.
        if (blank % kProgressPeriod == 0) {
            std::printf("soak: blank %llu, %d deaths, %d new games, VmRSS %lld kB\n",
                        static_cast<unsigned long long>(blank), tally.deaths, tally.newGames,
                        static_cast<long long>(ResidentKilobytes()));
            std::fflush(stdout);
        }
        if (blank >= kBlanks) {
            // The end: Space leaves an instruction screen, Escape the game.
            host.SetKey(kSpaceScanCode, true);
            host.SetKey(kEscapeScanCode, true);
            return;
        }
        Observe(blank);
        // Quitting holds Space and Escape down until the program has ended.
        if (quitting_) return;
        ReleaseEndedPresses(host);
        if (Status) Act(host);
    }

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
    std::int64_t settledKilobytes = 0;
    std::int64_t finalKilobytes = 0;
    // At the first start of the program from kSettledBlank on, and at the last start.
    std::int64_t settledStartKilobytes = 0;
    std::int64_t lastStartKilobytes = 0;

private:
    bool OneIn(int n) { return std::uniform_int_distribution<int>(1, n)(random_) == 1; }
    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    int Signed(int low, int high) { return OneIn(2) ? Between(low, high) : -Between(low, high); }

    void Observe(std::uint64_t blank) {
        if (!Status) return;
        const Actor* enemy = Enemies[kEnemyCount - 1].get();
        if (!runSeen_) {
            runSeen_ = true;
            ++tally.runs;
            // Every start of the program has loaded the same: the same point in the game.
            if (blank >= kSettledBlank) {
                lastStartKilobytes = ResidentKilobytes();
                if (settledStartKilobytes == 0) settledStartKilobytes = lastStartKilobytes;
            }
            lastState_ = Status->State;
            lastLives_ = Status->Lives;
            lastStage_ = Status->Stage;
            lastEnemy_ = enemy;
            return;
        }
        // The enemies are made once at start-up, then afresh as each instruction screen ends.
        if (enemy != lastEnemy_ && lastEnemy_ != nullptr) ++tally.instructionScreens;
        lastEnemy_ = enemy;
        if (Status->State != lastState_) {
            quitAtGameOver_ = false;
            if (Status->State == Playing) ++tally.playEntries;
            if (Status->State == Dying) ++tally.dyingEntries;
            // The last life's explosion fades out from play before the death sequence; the Game
            // Over state that counts comes after the sequence.
            if (Status->State == GameOver && lastState_ == Dying) {
                ++tally.gameOverEntries;
                // Now and then the player quits from Game Over rather than playing again.
                quitAtGameOver_ = OneIn(3);
            }
            lastState_ = Status->State;
        }
        if (Status->Lives < lastLives_) tally.deaths += lastLives_ - Status->Lives;
        if (Status->Lives > lastLives_) {
            ++tally.newGames;
        } else if (Status->Stage > lastStage_) {
            tally.stagesCompleted += Status->Stage - lastStage_;
        }
        lastLives_ = Status->Lives;
        lastStage_ = Status->Stage;
    }

    void ReleaseEndedPresses(FakeHost& host) {
        if (spaceHeld_ > 0 && --spaceHeld_ == 0) host.SetKey(kSpaceScanCode, false);
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
            host.SetKey(kSpaceScanCode, true);
            spaceHeld_ = kPressBlanks;
        }
        const bool waitingForClick = Status->State == Intro || Status->State == GameOver;
        if (Status->State == GameOver && quitAtGameOver_ && OneIn(60)) {
            // Held with Space, which leaves the instruction screen that comes before Game Over.
            host.SetKey(kSpaceScanCode, true);
            host.SetKey(kEscapeScanCode, true);
            quitting_ = true;
            ++tally.quits;
            return;
        }
        if (buttonHeld_ == 0 && OneIn(waitingForClick ? 60 : 300)) {
            host.SetMouseButton(kLeftButton, true);
            buttonHeld_ = kPressBlanks;
        }
    }

    std::mt19937 random_;
    int spaceHeld_ = 0;
    int buttonHeld_ = 0;
    bool quitting_ = false;
    bool quitAtGameOver_ = false;
    bool runSeen_ = false;
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
    while (blanksBefore < kBlanks) {
        // Each run is a start of the program: a fresh machine, its clock at the time of day the
        // soak has reached, so that the game draws other random numbers each time.
        FakeHost host;
        SetHost(&host);
        host.SetTimeOfDay(FakeHost::kStartSeconds + static_cast<std::int64_t>(blanksBefore / 60));
        // A hung program ends the soak instead of holding it.
        host.SetBlankLimit(kBlanks - blanksBefore + 10'000);
        host.AtEveryBlank([&](FakeHost& h) { player.OnBlank(h, blanksBefore + h.Blank()); });
        EXPECT_EQ(WinMain(nullptr, nullptr, "", SW_SHOWNORMAL), 0)
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
        "soak: deaths %d, new games %d, stages completed %d, quits %d\n"
        "soak: VmRSS at blank %llu: %lld kB, at blank %llu: %lld kB\n"
        "soak: VmRSS at program start from blank %llu on: first %lld kB, last %lld kB\n",
        seconds, static_cast<unsigned long long>(blanksBefore), tally.runs,
        tally.instructionScreens, tally.playEntries, tally.dyingEntries, tally.gameOverEntries,
        tally.deaths, tally.newGames, tally.stagesCompleted, tally.quits,
        static_cast<unsigned long long>(kSettledBlank),
        static_cast<long long>(player.settledKilobytes), static_cast<unsigned long long>(kBlanks),
        static_cast<long long>(player.finalKilobytes),
        static_cast<unsigned long long>(kSettledBlank),
        static_cast<long long>(player.settledStartKilobytes),
        static_cast<long long>(player.lastStartKilobytes));

    // Every state many times over.
    constexpr int kManyTimes = 10;
    EXPECT_GE(tally.runs, kManyTimes);
    EXPECT_GE(tally.instructionScreens, 10 * kManyTimes);
    EXPECT_GE(tally.playEntries, 10 * kManyTimes);
    EXPECT_GE(tally.dyingEntries, 10 * kManyTimes);
    EXPECT_GE(tally.gameOverEntries, kManyTimes);
    EXPECT_GE(tally.newGames, kManyTimes);
    ASSERT_GT(player.settledKilobytes, 0);
    ASSERT_GT(player.finalKilobytes, 0);
    EXPECT_LE(player.finalKilobytes, player.settledKilobytes + kAllowedGrowthKilobytes);
    // Within a run the memory follows what that run has been through so far, a megabyte or two
    // either way; every start of the program is the same point, where any growth is memory kept
    // from the runs before.
    ASSERT_GT(player.settledStartKilobytes, 0);
    EXPECT_LE(player.lastStartKilobytes, player.settledStartKilobytes + kAllowedGrowthKilobytes);
}
