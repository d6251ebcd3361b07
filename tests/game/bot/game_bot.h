// SPDX-License-Identifier: MIT
#pragma once

// A player for the game on the fake host: it clicks through the intro, presses Space on every
// instruction screen and steers with the mouse alone, choosing each course with the steering
// policy from what the game's state shows. It reads that state and never writes it.

#include <cstdint>

#include "game/world/world.h"
#include "platform/fake/fake_host.h"
#include "steering_policy.h"

namespace bot {

// How one game went, kept after the game has released its objects.
struct GameRecord {
    bool clicked = false;
    std::uint64_t clickBlank = 0;  // the blank the intro's click was given at
    // The Energon level went over the critical mass at completionBlank.
    bool completed = false;
    std::uint64_t completionBlank = 0;
    bool gameOver = false;
    std::uint64_t closeBlank = 0;  // the blank the bot closed the game at
    // Up to the completion, or to the end when there was none.
    std::int32_t livesLost = 0;
    std::int32_t score = 0;
};

class GameBot {
public:
    // Plays for at most playBlanks blanks from the click on the intro. The game is closed once
    // it has completed the first stage (the next stage's instruction screen passed), at Game
    // Over, or when the time is up.
    GameBot(const zelto::Game& game, std::uint64_t playBlanks)
        : game_(game), playBlanks_(playBlanks) {}

    // The fake host's every-blank action.
    void OnBlank(platform::FakeHost& host);

    const GameRecord& Record() const { return record_; }
    // The course the mouse was last moved for.
    Course LastCourse() const { return lastCourse_; }

private:
    void Steer(platform::FakeHost& host, bool stageStart);
    void Close(platform::FakeHost& host);

    const zelto::Game& game_;
    SteeringPolicy policy_;
    std::uint64_t playBlanks_;
    GameRecord record_;
    std::int32_t criticalMassAtClick_ = 0;
    bool closing_ = false;
    Course lastCourse_;
    // At rest at a stage start: the motion given since the instruction screen read Space.
    Course restingMotion_;
};

}  // namespace bot
