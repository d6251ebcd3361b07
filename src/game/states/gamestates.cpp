// SPDX-License-Identifier: MIT
#include "game/states/gamestates.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "game/enemies/enemies.h"
#include "game/hud/hud.h"
#include "game/particles/particles.h"
#include "game/player/player.h"
#include "game/states/labels.h"
#include "game/world/world.h"
#include "platform/host/clock.h"
#include "platform/host/window.h"

using namespace cdx;
using namespace platform;

namespace zelto {

namespace {

// Window-system colours, 0x00BBGGRR.
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kBrightGreen = 0x19FF19;
constexpr std::uint32_t kPaleGrey = 0xC8C8C8;
constexpr std::uint32_t kYellow = 0x30D8FF;
// The game's plain face, which the text service also gives text written without a font.
constexpr const char* kPlainFace = "DejaVu Sans";
// Every completed stage raises the critical mass by this much.
constexpr std::int32_t kCriticalMassStep = 200;
constexpr std::int32_t kTitleX = 8;
// Where the map starts scrolled at every stage.
constexpr std::int32_t kStartScrollX = 390;
constexpr std::int32_t kStartScrollY = 240;
// Where the Game Over screen shows the final and the best score, under its lines on the left,
// and the best five kept beside them: rank, score (its last digit at the score column's right
// edge) and date.
constexpr std::int32_t kFinalScoreX = 160;
constexpr std::int32_t kFinalScoreY = 360;
constexpr std::int32_t kBestScoreY = 390;
constexpr std::size_t kScoresListed = 5;
constexpr std::int32_t kListRankX = 350;
constexpr std::int32_t kListScoreRight = 470;
constexpr std::int32_t kListDateX = 490;
constexpr std::int32_t kListTop = kFinalScoreY;
constexpr std::int32_t kListRowHeight = 22;
// The date's day, without the time: YYYY-MM-DD.
constexpr std::size_t kDayLength = 10;

struct TextLine {
    std::int32_t x;
    std::int32_t y;
    const char* text;
};

// The intro's credits, written over the title picture's glass plate. The places are fixed, so
// each line is worded to the width that centres it on the plate's middle, screen x 381.
constexpr TextLine kCredits[] = {
    {320, 150, "A Zelto production"},
    {280, 180, "Game, engine, pictures, sounds"},
    {300, 210, "made by one small studio"},
    {160, 250, "Steer with the mouse, gather the Energon, and keep clear of the rest"},
    {300, 280, "P pauses, M mutes sound"},
};

// Marks the game as starting a stage for as long as it lives, on every way out of the start.
class StageStartMark {
public:
    explicit StageStartMark(Game& game) : game_(game) { game_.StageStarting = true; }
    ~StageStartMark() { game_.StageStarting = false; }
    StageStartMark(const StageStartMark&) = delete;
    StageStartMark& operator=(const StageStartMark&) = delete;

private:
    Game& game_;
};

// A life is gone, to an enemy's touch or to an empty Energon level: the death sequence.
void LoseLife(Game& game) {
    game.Status->Lives -= 1;
    KillPlayer(game);
    game.Status->State = Dying;
}

bool MouseButtonDown(Game& game) {
    return game.GameInput && game.GameInput->Frame().Key(kKeyMouseLeft) != KeyUp;
}

// A key or button that went down at this frame's reading: held down, it counts once.
bool JustPressed(Game& game, std::uint32_t code) {
    return game.GameInput && game.GameInput->Frame().Key(code) == KeyPressed;
}

bool PauseKeyPressed(Game& game) {
    return JustPressed(game, 'p') || JustPressed(game, kKeyPause);
}

// M silences all sound, or lets it be heard again, on every screen, and says which for a while.
// The instruction screen's wait reads it between its own updates, where no frame is taken, so
// it reads the key's state as the latest update left it.
void TakeMuteKey(Game& game) {
    if (game.GameSound && !game.Options.noSound && game.GameInput &&
        game.GameInput->GetKeyState('m') == KeyPressed) {
        game.Options.muted = !game.Options.muted;
        game.GameSound->SetMuted(game.Options.muted);
        if (game.Options.keepMute) game.Options.keepMute(game.Options.muted);
        ShowSoundState(game);
    }
}

// The credits go onto the front buffer, over the picture the last flip showed, in the device
// context's default font.
void DrawCredits(Game& game) {
    CDXSurface* front = game.GameScreen->Front;
    if (front == nullptr || front->GetDC() == nullptr) return;
    for (const TextLine& line : kCredits) front->DrawString(line.x, line.y, kWhite, line.text);
    front->ReleaseDC();
}

bool RunIntro(Game& game) {
    if (game.TitleSprite) {
        game.TitleSprite->PosX = kTitleX;
        game.TitleSprite->PosY = 0;
        game.TitleSprite->Draw(game.GameScreen->Back, 0, 0, CDXBlitMode::CopyKeyed);
    }
    if (MouseButtonDown(game)) {
        game.Status->State = Playing;
        if (!StartStage(game)) return false;
    }
    DrawCredits(game);
    return true;
}

// Writes onto the front buffer, over the picture the display shows, in one hold of its context
// (the display shows each writing at the next blank): the screen's own text, then the sound
// label while it lasts. False when the front cannot take text (its memory was lost with the
// display).
bool WriteOnFront(Game& game, void (*writeText)(CDXSurface& front)) {
    CDXSurface* front = game.GameScreen->Front;
    if (front == nullptr) return false;
    PrepareSoundLabelOnFront(game, *front);
    if (front->GetDC() == nullptr) {
        ForgetSoundLabelOnFront(game);
        return false;
    }
    writeText(*front);
    DrawSoundLabelOnFront(game, *front);
    front->ReleaseDC();
    return true;
}

// "Paused" in the middle of the map view, over the last picture of play.
bool DrawPausedLabel(Game& game) {
    return WriteOnFront(game, [](CDXSurface& front) {
        SelectLabelFont(front);
        DrawCentred(front, "Paused", kPausedLabelCentreX, kPausedLabelTop);
    });
}

// Play resumes where it stopped: the timers count from now, and the mouse motion made while
// paused sets no course.
void ResumePlay(Game& game) {
    game.Paused = false;
    RestoreLostSurfaces(game);
    if (game.Timers) game.Timers->StartAll();
    if (game.GameInput) game.GameInput->ForgetMotion();
}

// A frame of held play shows the last picture of play with the label, one blank long: nothing
// moves and no timer runs.
bool ShowPaused(Game& game) {
    if (!DrawPausedLabel(game)) game.GameScreen->RestoreAll();
    game.GameScreen->WaitVBlank();
    return false;
}

bool RunPlaying(Game& game) {
    if (game.EnergonLevel > game.CriticalMass) {
        if (!CompleteStage(game)) return false;
        game.Status->Stage += 1;
    }
    if (game.EnergonLevel < 0) LoseLife(game);
    if (game.Timers) game.Timers->Update();
    UpdatePlayer(game);
    if (game.HudSprite) game.HudSprite->Draw(game.GameScreen->Back, 0, 0, CDXBlitMode::CopyKeyed);
    UpdateParticles(game);
    UpdateEnemies(game, LoseLife);
    DrawHud(game);
    return true;
}

// A game counts once it is over (its Game Over screen follows): the score it ended with goes
// into the kept table. The best score shown is the best of that table and of this run's games,
// so it stands even when no table can be kept.
void EnterFinalScore(Game& game) {
    game.Status->Best = std::max(game.Status->Best, game.Status->Score);
    game.Status->BestScores.clear();
    game.Status->OwnEntry = -1;
    if (!game.Scores) return;
    const ScoreEntry own{game.Status->Score, UtcDate(TimeOfDay())};
    const ScoreTable table = game.Scores->Enter(own);
    game.Status->Best = std::max(game.Status->Best, table.Best());
    const std::vector<ScoreEntry>& entries = table.Entries();
    for (std::size_t rank = 0; rank < entries.size() && rank < kScoresListed; ++rank) {
        if (entries[rank].score == own.score && entries[rank].date == own.date) {
            game.Status->OwnEntry = static_cast<std::int32_t>(rank);
        }
        game.Status->BestScores.push_back(entries[rank]);
    }
}

// The final score and the best one, under the Game Over screen's lines in the plain face at the
// panel's size, and beside them the best five kept, the game's own entry in yellow.
void DrawFinalScores(Game& game, CDXSurface& back) {
    char text[64];
    if (back.GetDC() == nullptr) return;
    back.MakeFont(kPlainFace, 0, 20, 700);
    back.SelectFont();
    std::snprintf(text, sizeof text, "Score: %i", game.Status->Score);
    back.DrawString(kFinalScoreX, kFinalScoreY, kWhite, text);
    std::snprintf(text, sizeof text, "Best: %i", game.Status->Best);
    back.DrawString(kFinalScoreX, kBestScoreY, kWhite, text);
    back.MakeFont(kPlainFace, 0, 20, 400);
    back.SelectFont();
    for (std::size_t rank = 0; rank < game.Status->BestScores.size(); ++rank) {
        const ScoreEntry& entry = game.Status->BestScores[rank];
        const std::int32_t y = kListTop + static_cast<std::int32_t>(rank) * kListRowHeight;
        const std::uint32_t colour =
            static_cast<std::int32_t>(rank) == game.Status->OwnEntry ? kYellow : kPaleGrey;
        std::snprintf(text, sizeof text, "%zu.", rank + 1);
        back.DrawString(kListRankX, y, colour, text);
        std::snprintf(text, sizeof text, "%i", entry.score);
        back.DrawString(kListScoreRight - back.TextWidth(text), y, colour, text);
        back.DrawString(kListDateX, y, colour, entry.date.substr(0, kDayLength).c_str());
    }
    back.ReleaseDC();
}

// After the last life's death sequence the game is over at once, with a second fade to black:
// no stage is started that nobody can play.
bool RunDying(Game& game) {
    if (!game.Player) return true;
    StepAnimation(*game.Player);
    game.Player->Draw(game.GameScreen->Back, 0, 0, CDXBlitMode::CopyKeyed);
    if (game.Player->AnimStep != kDeathSequenceEnd) return true;
    game.Player->AnimStep = 0;
    game.Player->AnimIndex = kAliveList;
    if (game.Status->Lives < 0) {
        EnterFinalScore(game);
        EndGame(game);
        return true;
    }
    game.Status->State = Playing;
    return StartStage(game);
}

bool RunGameOver(Game& game) {
    CDXSurface* back = game.GameScreen->Back;
    back->MakeFont("Script", 0, 40, 700);
    if (back->GetDC() != nullptr) {
        back->SelectFont();
        back->DrawString(250, 150, kRed, "Game Over!");
        back->DrawString(150, 250, kBrightGreen, " Click for another Game.");
        back->DrawString(250, 300, kBrightGreen, " Escape to Quit.");
        back->ReleaseDC();
    }
    DrawFinalScores(game, *back);
    if (MouseButtonDown(game)) {
        game.Status->State = Playing;
        game.Status->Lives = kStartingLives;
        game.Status->Stage = 1;
        return StartStage(game);
    }
    return true;
}

// The start picture: the panel, the player and the map, the map last and opaque over the
// player.
void ComposeStartPicture(Game& game) {
    CDXSurface* back = game.GameScreen->Back;
    if (back == nullptr) return;
    if (game.HudSprite) game.HudSprite->Draw(back, 0, 0, CDXBlitMode::CopyKeyed);
    if (game.Player) game.Player->Draw(back, 0, 0, CDXBlitMode::CopyKeyed);
    if (game.GameMap && game.GameMap->Draw(back) != 0) game.GameMap->Restore();
}

// Writes the instruction lines onto the front buffer; false as WriteOnFront.
bool DrawInstructions(Game& game) {
    return WriteOnFront(game, [](CDXSurface& front) {
        front.MakeFont("Script", 0, 20, 700);
        front.SelectFont();
        front.DrawString(10, 190, kWhite,
                         "Collect Energon Particles until you reach Critical Mass");
        front.DrawString(150, 220, kWhite, "Space  to Continue.");
    });
}

// Handles the window's messages while the instruction screen holds the thread, as the message
// loop would: the window coming back to the front is seen (and the keyboard is acquired again),
// and what the window system sends does not pile up. A close request or the quit message is
// left in the queue for the message loop, which ends the program; false then.
bool TakeWaitingMessages() {
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (message.message == WM_CLOSE || message.message == WM_QUIT) return false;
        PeekMessage(&message, nullptr, 0, 0, PM_REMOVE);
        DispatchMessage(&message);
    }
    return true;
}

// Holds the thread, without flips, until Space is down; false when the program is asked to end
// meanwhile. Each writing of the lines onto the front buffer is shown at the next blank, so the
// loop runs at the display's pace. Escape does nothing here.
bool WaitForSpace(Game& game) {
    if (!game.GameInput) return true;
    while (game.GameInput->GetKeyState(kKeySpace) == KeyUp) {
        if (!TakeWaitingMessages()) return false;
        game.GameInput->Update();
        TakeMuteKey(game);
        if (!DrawInstructions(game)) {
            // The display went away: bring the buffers back and let a blank pass, so the loop
            // neither spins nor stops writing once the display returns.
            game.GameScreen->RestoreAll();
            game.GameScreen->WaitVBlank();
        }
    }
    return true;
}

// One frame of the current state; false as RunGameStep.
bool RunState(Game& game) {
    // The mouse steers in play only: on the title, Game Over and while paused the pointer is
    // free in a window (the platform keeps it held in full screen).
    switch (game.Status->State) {
        case Intro:
            SetPointerFree(true);
            return RunIntro(game);
        case Playing:
            // P or the Pause key holds play and lets it go on; a click lets it go on too.
            if (PauseKeyPressed(game) || (game.Paused && JustPressed(game, kKeyMouseLeft))) {
                if (game.Paused) {
                    ResumePlay(game);
                } else {
                    game.Paused = true;
                }
            }
            SetPointerFree(game.Paused);
            return game.Paused ? ShowPaused(game) : RunPlaying(game);
        case Dying:
            SetPointerFree(false);
            return RunDying(game);
        case GameOver:
            SetPointerFree(true);
            return RunGameOver(game);
        default:
            return true;
    }
}

}  // namespace

bool RunGameStep(Game& game) {
    if (!game.Status || !game.GameScreen || game.GameScreen->Back == nullptr) return true;
    TakeMuteKey(game);
    if (!RunState(game)) return false;
    DrawSoundLabelOnBack(game, *game.GameScreen->Back);
    return true;
}

bool StartStage(Game& game) {
    const StageStartMark starting(game);
    if (game.GongSound) game.GongSound->Play(0, 0, 0);
    if (game.GameInput) game.GameInput->Update();
    game.EnergonLevel = kStageStartEnergon;
    if (game.Player) {
        game.Player->PosX = kPlayerStartX;
        game.Player->PosY = kPlayerStartY;
        game.Player->VelX = 0;
        game.Player->VelY = 0;
    }
    if (game.GameMap) game.GameMap->SetScrollPosition(kStartScrollX, kStartScrollY);
    ComposeStartPicture(game);
    if (game.Fader) game.Fader->CrossFade(game.GameScreen->Front, game.GameScreen->Back);
    ForgetSoundLabelOnFront(game);
    // Nothing steers on the instruction screen: the pointer is free there.
    SetPointerFree(true);
    if (!WaitForSpace(game)) return false;
    SetPointerFree(false);
    ToggleParticle(game);
    CreateEnemies(game);
    ToggleEnemy(game);
    KeepEnemiesAwayFrom(game, kStartScrollX + kPlayerStartX, kStartScrollY + kPlayerStartY);
    // Play resumes now, from a whole picture: what the display took away during the fades or
    // the instruction screen is back. The timers count from here, so the time spent on the
    // intro, the instruction screen, the death sequence or the Game Over screen drains no
    // Energon and moves nothing.
    RestoreLostSurfaces(game);
    if (game.Timers) game.Timers->StartAll();
    // Play starts running, even if the window left the front during the instruction screen.
    game.Paused = false;
    // The first play frame steers by the mouse motion from now on: the motion read during the
    // instruction screen (and all before it) is no course the player gave.
    if (game.GameInput) game.GameInput->ForgetMotion();
    return true;
}

bool CompleteStage(Game& game) {
    if (!StartStage(game)) return false;
    game.EnergonLevel = kStageStartEnergon;
    game.CriticalMass += kCriticalMassStep;
    return true;
}

void PausePlay(Game& game) {
    if (!game.Status || game.Status->State != Playing || game.StageStarting || !game.GameScreen) {
        return;
    }
    game.Paused = true;
    // No frame runs while the window is behind: the label is written now and shown at once.
    if (DrawPausedLabel(game)) game.GameScreen->WaitVBlank();
}

void KillPlayer(Game& game) {
    if (game.ExplodeSound) game.ExplodeSound->Play(0, 0, 0);
    if (game.Status && game.Status->Lives < 0) EndGame(game);
    if (game.Player) game.Player->AnimIndex = kDyingList;
}

void EndGame(Game& game) {
    if (game.Status) game.Status->State = GameOver;
    if (game.Fader) game.Fader->FadeOut();
}

}  // namespace zelto
