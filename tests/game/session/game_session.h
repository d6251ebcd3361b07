// SPDX-License-Identifier: MIT
#pragma once

// A whole game run through WinMain on the fake host, with what a test needs to script it and
// to read what the player saw and heard: the sounds by name, the pictures, and a hook called at
// every vertical blank (after the frame that ended at it) with the game's state at hand: a fresh
// Game for every session.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/spine/zelto.h"
#include "platform/fake/fake_host.h"

// The frames of a stage that a test sees: one record per blank of play.
struct PlayFrame {
    std::uint64_t blank = 0;
    std::int32_t state = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t scrollX = 0;
    std::int32_t scrollY = 0;
    std::int32_t energon = 0;
    std::int32_t lives = 0;
    std::int32_t score = 0;
    std::int32_t frame = 0;
    std::int32_t stage = 0;
};

// The record of the game's state at blank (from within a blank hook, while a stage runs).
PlayFrame Snapshot(const zelto::Game& world, std::uint64_t blank);

class GameSession {
public:
    // Set-1 scan codes of the keys the game reads.
    // The rows of the heads-up display's four values, and the band of the panel they are in.
    static constexpr int kLevelRow = 80;
    static constexpr int kCriticalMassRow = 150;
    static constexpr int kLivesRow = 220;
    static constexpr int kScoreRow = 290;

    GameSession();
    ~GameSession();

    // Runs the program to its end; the exit code.
    int Run();

    // Scripting. A press holds the key or button for six blanks (a tenth of a second).
    void ClickAt(std::uint64_t blank);
    void PressSpaceAt(std::uint64_t blank);
    void PressEscapeAt(std::uint64_t blank);
    void CloseAt(std::uint64_t blank);
    // Called at every blank while the game runs; the game's state (world) may be read and, to set
    // up a situation, changed.
    void EveryBlank(std::function<void(std::uint64_t blank)> step) { step_ = std::move(step); }
    // Called once at the first blank after every stage start has made its enemies (the stage is
    // about to be played); the place to set up a situation for the stage.
    void AtStageStart(std::function<void(int stage)> setUp) { stageStart_ = std::move(setUp); }
    // Moves every enemy far out of the world, where none can ever be seen or touched.
    void ClearEnemies();
    // Runs a game whose stages have no enemy in the world: a click at blank kFirstClick starts
    // the first stage and Space, held from blank kFirstSpace on, every one; Escape ends the game
    // `frames` blanks after that. `frame` is called after every play frame with its number (1
    // for the first) and may set up the next one. The exit code.
    int PlayWithoutEnemies(std::uint64_t frames, std::function<void(int frame)> frame);
    static constexpr std::uint64_t kFirstClick = 5;
    static constexpr std::uint64_t kFirstSpace = 60;
    // Puts the first particle in play at world (x, y) and takes the others out.
    void PlaceParticle(std::int32_t x, std::int32_t y);

    // Reading.
    // The blanks at which the named sound ("Pick", "Spawn", "Gong", "Grunt", "Explode",
    // "Monster") started playing. A frame runs on the clock of the blank before its flip, so a
    // sound of the frame shown at blank b is stamped b - 1.
    std::vector<std::uint64_t> SoundsPlayed(const std::string& name) const;
    // The rows y .. y + 24 of the panel's text column (x 520 to 639) of a picture.
    static std::vector<std::uint32_t> HudBand(const platform::FakeHost::Picture& picture, int y);
    // The same band of the frame in the back buffer, as the frame's flip finds it (from within
    // a blank hook).
    std::vector<std::uint32_t> BackBand(int y);
    // The same band as the game draws it for the given value text: the panel with that one
    // line over it. Only while the game runs (from within a blank hook).
    std::vector<std::uint32_t> ExpectedHudBand(int y, std::uint32_t colour, const char* text);
    // Asks for the picture shown at blank to be kept (from within a blank hook, for a blank not
    // yet past); PictureAt finds it after the run.
    void KeepPictureAt(std::uint64_t blank) { wanted_.insert(blank); }
    // The picture shown at blank, if it was kept or is among the newest ones.
    const platform::FakeHost::Picture* PictureAt(std::uint64_t blank) const;

    platform::FakeHost host;
    // The state of the game the session runs.
    zelto::Game world;
    int stagesStarted = 0;

private:
    void OnBlank(std::uint64_t blank);

    std::function<void(std::uint64_t)> step_;
    std::function<void(int)> stageStart_;
    const zelto::Actor* lastEnemy_ = nullptr;
    int playFrame_ = -1;  // the play frames PlayWithoutEnemies has seen
    std::map<const void*, std::string> soundNames_;
    std::set<std::uint64_t> wanted_;
    std::map<std::uint64_t, platform::FakeHost::Picture> kept_;
};
