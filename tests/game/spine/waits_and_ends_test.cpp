// SPDX-License-Identifier: MIT
// The instruction screen's wait for Space as a desktop treats it (the focus going away and
// coming back, a close request, Escape, a stream of window events), and a close request on
// every screen of the game, each played through WinMain on the fake host.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "game/player/player.h"
#include "game_session.h"

using namespace platform;

namespace {

using namespace cdx;
using namespace zelto;

constexpr std::uint64_t kClick = 5;
// The click's cross-fade has ended and the instruction screen waits by then.
constexpr std::uint64_t kWaiting = 60;
// A request to end must be answered within a second.
constexpr std::uint64_t kOneSecond = 60;
// A fade that runs when the request comes may finish first: 32 steps, one per blank.
constexpr std::uint64_t kFade = 32;
constexpr std::uint32_t kWhitePixel = 0xFFFF;

bool ShowsInstructions(const FakeHost::Picture& picture) {
    for (int y = 220; y < 245; ++y) {
        for (int x = 150; x < 400; ++x) {
            if (picture.PixelAt(x, y) == kWhitePixel) return true;
        }
    }
    return false;
}

class InstructionWaitTest : public ::testing::Test {
protected:
    InstructionWaitTest() {
        game.ClickAt(kClick);
        game.AtStageStart([&](int) { game.ClearEnemies(); });
        game.EveryBlank([this](std::uint64_t) {
            if (game.world.Status->State == Playing && game.stagesStarted == 1) ++playFrames;
        });
    }

    GameSession game;
    int playFrames = 0;
};

}  // namespace

TEST_F(InstructionWaitTest, SpaceStartsPlayAfterTheFocusWentAwayAndCameBack) {
    game.host.AtBlank(kWaiting, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::FocusLost); });
    game.host.AtBlank(kWaiting + 60,
                      [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::FocusGained); });
    game.PressSpaceAt(kWaiting + 90);
    game.PressEscapeAt(kWaiting + 200);
    game.host.SetBlankLimit(kWaiting + 600);
    EXPECT_EQ(game.Run(), 0);
    EXPECT_EQ(game.stagesStarted, 1);
    EXPECT_GT(playFrames, 60);
}

TEST_F(InstructionWaitTest, ACloseRequestEndsTheProgramWithoutAPlayFrame) {
    game.CloseAt(kWaiting);
    game.host.SetBlankLimit(kWaiting + 600);
    EXPECT_EQ(game.Run(), 0);
    EXPECT_LE(game.host.Blank(), kWaiting + kOneSecond);
    EXPECT_EQ(game.stagesStarted, 0);
    EXPECT_EQ(game.world.GameScreen, nullptr) << "released as after any close request";
    ASSERT_FALSE(game.host.Pictures().empty());
    EXPECT_TRUE(ShowsInstructions(game.host.Pictures().back()));
}

TEST_F(InstructionWaitTest, ACloseRequestWhileInTheBackEndsTheProgram) {
    game.host.AtBlank(kWaiting, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::FocusLost); });
    game.CloseAt(kWaiting + 30);
    game.host.SetBlankLimit(kWaiting + 600);
    EXPECT_EQ(game.Run(), 0);
    EXPECT_LE(game.host.Blank(), kWaiting + 30 + kOneSecond);
    EXPECT_EQ(game.stagesStarted, 0);
}

TEST_F(InstructionWaitTest, EscapeDoesNothingAndSpaceStillStartsPlay) {
    game.host.AtBlank(kWaiting, [](FakeHost& h) { h.SetKey(kScanEscape, true); });
    game.host.AtBlank(kWaiting + 30, [](FakeHost& h) { h.SetKey(kScanEscape, false); });
    game.PressSpaceAt(kWaiting + 60);
    game.PressEscapeAt(kWaiting + 200);
    game.host.SetBlankLimit(kWaiting + 600);
    EXPECT_EQ(game.Run(), 0);
    EXPECT_EQ(game.stagesStarted, 1);
    EXPECT_GT(playFrames, 60);
}

TEST_F(InstructionWaitTest, WindowEventsDoNotPileUpWhileItWaits) {
    std::size_t mostWaiting = 0;
    game.EveryBlank([&](std::uint64_t blank) {
        if (blank < kWaiting || blank > kWaiting + 600) return;
        mostWaiting = std::max(mostWaiting, game.host.EventsNotTaken());
        game.host.QueueEvent(HostEvent::Kind::CursorEntered);
    });
    game.CloseAt(kWaiting + 601);
    game.host.SetBlankLimit(kWaiting + 1200);
    EXPECT_EQ(game.Run(), 0);
    EXPECT_LE(mostWaiting, 1u);
}

namespace {

// One screen of the game, reached by a script, and the blank at which it stands.
struct Screen {
    std::string name;
    // Scripts the session to reach the screen.
    std::function<void(GameSession&)> script;
    // True at the first blank at which the screen stands; called at every blank with the
    // states of the blanks before.
    std::function<bool(GameSession&, std::uint64_t blank, const std::vector<int>& states)> standsAt;
    std::uint64_t answerBlanks;  // the request is answered within this many blanks
};

// The first stage, with no enemy anywhere.
void StartPlay(GameSession& game) {
    game.ClickAt(kClick);
    game.PressSpaceAt(kWaiting);
    game.AtStageStart([&](int) { game.ClearEnemies(); });
}

// Play, then the last life lost to an empty Energon level.
void LoseTheLastLife(GameSession& game) {
    game.ClickAt(kClick);
    game.PressSpaceAt(kWaiting);
    game.AtStageStart([&](int) {
        game.ClearEnemies();
        game.world.Status->Lives = 0;
        game.world.EnergonLevel = -1;
    });
}

bool LastLifeLost(const GameSession& game) {
    return game.world.Status->Lives < 0;
}

bool Seen(const std::vector<int>& states, int state) {
    return std::find(states.begin(), states.end(), state) != states.end();
}

class EveryScreenTest : public ::testing::TestWithParam<Screen> {};

}  // namespace

TEST_P(EveryScreenTest, ACloseRequestEndsTheProgramWithinASecond) {
    const Screen& screen = GetParam();
    GameSession game;
    screen.script(game);
    std::uint64_t requested = 0;
    std::vector<int> states;
    game.EveryBlank([&](std::uint64_t blank) {
        if (requested == 0 && screen.standsAt(game, blank, states)) {
            requested = blank;
            game.host.QueueEvent(HostEvent::Kind::CloseRequested);
        }
        states.push_back(game.world.Status->State);
    });
    game.host.SetBlankLimit(3000);
    EXPECT_EQ(game.Run(), 0);
    ASSERT_NE(requested, 0u) << "the screen was never reached";
    EXPECT_LE(game.host.Blank(), requested + screen.answerBlanks);
    EXPECT_EQ(game.world.GameScreen, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, EveryScreenTest,
    ::testing::Values(Screen{"Intro", [](GameSession&) {},
                             [](GameSession&, std::uint64_t blank, const std::vector<int>&) {
                                 return blank == 20;
                             },
                             kOneSecond},
                      Screen{"CrossFade", [](GameSession& game) { game.ClickAt(kClick); },
                             [](GameSession&, std::uint64_t blank, const std::vector<int>&) {
                                 return blank == kClick + 10;
                             },
                             kOneSecond + kFade},
                      Screen{"InstructionScreen", [](GameSession& game) { game.ClickAt(kClick); },
                             [](GameSession&, std::uint64_t blank, const std::vector<int>&) {
                                 return blank == kWaiting;
                             },
                             kOneSecond},
                      Screen{"Play", StartPlay,
                             [](GameSession& game, std::uint64_t blank, const std::vector<int>&) {
                                 return game.stagesStarted == 1 &&
                                        game.world.Status->State == Playing &&
                                        blank >= kWaiting + 30;
                             },
                             kOneSecond},
                      Screen{"FadeOut", LoseTheLastLife,
                             [](GameSession& game, std::uint64_t, const std::vector<int>& states) {
                                 // The last life's explosion fades out before the death sequence
                                 // begins.
                                 return LastLifeLost(game) &&
                                        game.world.Status->State == GameOver &&
                                        !Seen(states, Dying);
                             },
                             kOneSecond + kFade},
                      Screen{"DeathSequence", LoseTheLastLife,
                             [](GameSession& game, std::uint64_t, const std::vector<int>&) {
                                 return LastLifeLost(game) && game.world.Status->State == Dying &&
                                        game.world.Player->AnimStep == 4;
                             },
                             kOneSecond + kFade},
                      Screen{"GameOver", LoseTheLastLife,
                             [](GameSession& game, std::uint64_t, const std::vector<int>& states) {
                                 return Seen(states, Dying) && game.world.Status->State == GameOver;
                             },
                             kOneSecond}),
    [](const ::testing::TestParamInfo<Screen>& info) { return info.param.name; });
