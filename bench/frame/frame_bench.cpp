// SPDX-License-Identifier: MIT
// One whole play frame of the game, headless on the fake host, against the same frame composed
// with SDL2 as an SDL program would write it, in the same run.
//
// The game is started with WinMain and played into its first stage the way a player would: a
// click on the intro, Space at the instruction screen. From inside the flip of a play frame the
// actors are put in fixed places (eight enemies and three Energon particles in the view, none
// touching the player), the timers that move them are stopped, and the benchmarks run there,
// each game frame being one call of RunFrame. The host converts every flipped picture into an
// ARGB texture as the SDL host's present does.
//
// The SDL side draws the same frame from the same files: the map pre-rendered into one surface
// and its 500 x 480 view blitted, every 32 x 32 frame cut into a surface of its own with the
// sheet's colour key and run-length acceleration, the panel keyed and run-length accelerated,
// the eight HUD texts rendered by SDL2_ttf in the game's face and size and blitted, a fill for
// the clear and SDL_ConvertPixels for the present. Before anything is measured both frames are
// composed from the same animation state and compared pixel by pixel, all but the HUD text.

#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "game/hud/hud.h"
#include "game/player/player.h"
#include "game/spine/zelto.h"
#include "game_data_folder.h"
#include "platform/display/pixel_format.h"
#include "platform/display/present_convert.h"
#include "platform/fake/fake_host.h"
#include "platform/text/font_files.h"
#include "platform/text/text_service.h"
#include "processor_levels.h"

namespace {

using namespace cdx;
using namespace zelto;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kViewWidth = 500;
constexpr int kViewHeight = 480;
constexpr int kBlock = 32;
constexpr int kPanelX = 500;

// A fixed time of day seeds the game's random numbers the same way in every run.
constexpr std::int64_t kTimeOfDay = 1'700'000'000;
constexpr int kLeftMouseButton = 0;
// Blanks between the game first seeing Space and a play frame's flip: the instruction screen's
// last writing, the intro frame that started the stage and one play frame lie in between.
constexpr std::uint64_t kBlanksIntoPlay = 5;
// Reaching play takes some forty blanks (the intro, the cross-fade); a game that takes far
// more has gone wrong, and the fake host stops it.
constexpr std::uint64_t kBlanksToReachPlay = 10'000;

// Between zero and the critical mass: no stage completes and no life is lost while measuring.
constexpr std::int32_t kSteadyEnergon = 300;

// Where the actors stand, in screen pixels of the view at the stage's start scroll position;
// the player stands at (250, 240). One enemy overlaps the panel, one is cut by the bottom edge.
struct Placement {
    int index;
    int x;
    int y;
};
constexpr Placement kParticlesInView[] = {{0, 120, 120}, {1, 300, 150}, {2, 150, 320}};
constexpr Placement kEnemiesInView[] = {{0, 40, 60},    {6, 180, 40},   {13, 380, 90},
                                        {19, 90, 200},  {24, 470, 300}, {29, 60, 380},
                                        {33, 220, 400}, {38, 330, 460}};

// The HUD as the game writes it: dark grey labels and values at x 530, the level a touch redder.
constexpr int kHudTextX = 530;
// The HUD is written in bold.
constexpr int kBoldWeight = 700;
constexpr SDL_Color kLabelColour{25, 25, 25, 255};
constexpr SDL_Color kLevelColour{30, 25, 25, 255};
enum HudValue { kNoValue = -1, kEnergon, kCriticalMass, kLives, kScore };
struct HudLine {
    int y;
    const char* format;
    SDL_Color colour;
    HudValue value;
};
constexpr HudLine kHudLines[] = {
    {50, "Energon Level", kLabelColour, kNoValue},  {80, "%i rads ", kLevelColour, kEnergon},
    {120, "Critical Mass", kLabelColour, kNoValue}, {150, "%i  ", kLabelColour, kCriticalMass},
    {190, "Lives", kLabelColour, kNoValue},         {220, "%i  ", kLabelColour, kLives},
    {260, "Score", kLabelColour, kNoValue},         {290, "%i  ", kLabelColour, kScore},
};
// SDL2_ttf lays out a whole string, the game draws glyph by glyph, and the same lines do not come
// out pixel for pixel alike: the comparison leaves out x >= 520 on the HUD lines.
constexpr int kHudTextMaskX = 520;

enum class Stage { Clear, Map, Sprites, Panel, Text, Present };

// The fake host with the SDL host's present: every flipped picture converted into the
// window's ARGB texture.
class ConvertingHost : public platform::FakeHost {
public:
    void Present(const platform::PresentedPicture& picture) override {
        platform::ConvertPictureToArgb(picture, texture_.data(), kWidth * 4);
        benchmark::DoNotOptimize(texture_.data());
        FakeHost::Present(picture);
    }

private:
    std::vector<std::uint32_t> texture_ = std::vector<std::uint32_t>(kWidth * kHeight);
};

// ---------------------------------------------------------------------------------------------
// The game side.

// The game main plays, for the benchmarks that run from inside its frame.
Game* game = nullptr;

// Stops the timers that move actors and drain Energon, and puts the actors in their places:
// the enemies not listed stand to the left of the view, the particles not listed are out of
// play.
void SteadyPlay() {
    if (game->Timers) {
        game->Timers->StopTimer(kParticleToggleTimer);
        game->Timers->StopTimer(kEnemyToggleTimer);
        game->Timers->StopTimer(kEnergonDrainTimer);
    }
    game->EnergonLevel = kSteadyEnergon;
    for (std::size_t i = 0; i < game->Enemies.size(); ++i) {
        game->Enemies[i]->WorldX = static_cast<std::int32_t>(i) * 9;
        game->Enemies[i]->WorldY = static_cast<std::int32_t>(i) * 23;
    }
    for (const Placement& place : kEnemiesInView) {
        Actor& enemy = *game->Enemies[static_cast<std::size_t>(place.index)];
        enemy.WorldX = game->GameMap->ScrollX + place.x;
        enemy.WorldY = game->GameMap->ScrollY + place.y;
    }
    for (auto& particle : game->Particles) particle->Active = 0;
    for (const Placement& place : kParticlesInView) {
        Actor& particle = *game->Particles[static_cast<std::size_t>(place.index)];
        particle.Active = 1;
        particle.WorldX = game->GameMap->ScrollX + place.x;
        particle.WorldY = game->GameMap->ScrollY + place.y;
    }
}

// The actors in the view after the player, in the game's drawing order.
std::vector<Actor*> ActorsInView() {
    std::vector<Actor*> actors;
    for (const Placement& place : kParticlesInView) {
        actors.push_back(game->Particles[static_cast<std::size_t>(place.index)].get());
    }
    for (const Placement& place : kEnemiesInView) {
        actors.push_back(game->Enemies[static_cast<std::size_t>(place.index)].get());
    }
    return actors;
}

// ---------------------------------------------------------------------------------------------
// The SDL side.

struct SdlSprite {
    const std::vector<SDL_Surface*>* frames = nullptr;
    std::vector<std::int32_t> frameList;  // ended by -1
    int delay = 0;
    int tick = 0;
    int step = 0;
    int frame = 0;
    int x = 0;
    int y = 0;
};

// Shows each entry of the frame list for delay + 1 frames, over and over.
void Animate(SdlSprite& sprite) {
    if (++sprite.tick <= sprite.delay) return;
    sprite.tick = 0;
    if (sprite.frameList[static_cast<std::size_t>(++sprite.step)] == -1) sprite.step = 0;
    sprite.frame = sprite.frameList[static_cast<std::size_t>(sprite.step)];
}

void BlitSprite(const SdlSprite& sprite, SDL_Surface* target) {
    if (sprite.frame < 0 || static_cast<std::size_t>(sprite.frame) >= sprite.frames->size()) return;
    SDL_Rect to{sprite.x, sprite.y, kBlock, kBlock};
    SDL_BlitSurface((*sprite.frames)[static_cast<std::size_t>(sprite.frame)], nullptr, target, &to);
}

SDL_Surface* LoadRgb565(const char* fileName) {
    SDL_Surface* loaded = SDL_LoadBMP(fileName);
    if (loaded == nullptr) return nullptr;
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(loaded);
    return converted;
}

// The colour key the game gives a sheet: its top-left pixel.
Uint32 TopLeftPixel(const SDL_Surface* surface) {
    return *static_cast<const Uint16*>(surface->pixels);
}

// Every 32 x 32 frame of a sheet as a surface of its own, keyed and run-length accelerated:
// blits of parts of one run-length surface would walk its rows from the top each time.
std::vector<SDL_Surface*> CutFrames(const char* fileName) {
    std::vector<SDL_Surface*> frames;
    SDL_Surface* sheet = LoadRgb565(fileName);
    if (sheet == nullptr) return frames;
    const Uint32 key = TopLeftPixel(sheet);
    for (int top = 0; top + kBlock <= sheet->h; top += kBlock) {
        for (int left = 0; left + kBlock <= sheet->w; left += kBlock) {
            SDL_Surface* frame =
                SDL_CreateRGBSurfaceWithFormat(0, kBlock, kBlock, 16, SDL_PIXELFORMAT_RGB565);
            SDL_Rect from{left, top, kBlock, kBlock};
            SDL_BlitSurface(sheet, &from, frame, nullptr);
            SDL_SetColorKey(frame, SDL_TRUE, key);
            SDL_SetSurfaceRLE(frame, 1);
            frames.push_back(frame);
        }
    }
    SDL_FreeSurface(sheet);
    return frames;
}

// The whole map drawn once, at set-up, by the game's own map code into a surface as large as
// the map, and copied into an SDL surface: the picture an SDL program would have pre-rendered.
SDL_Surface* PrerenderMap() {
    FmpMap whole;
    whole.SetTransparentColor(0);
    // A view larger than any map is cut down to the map's size.
    if (whole.Create(game->GameScreen.get(), "ZELTO.FMP", 0, 0, 1 << 15, 1 << 15) != 0)
        return nullptr;
    CDXSurface canvas(game->GameScreen.get(), whole.ViewWidth, whole.ViewHeight, 1);
    SDL_Surface* map = SDL_CreateRGBSurfaceWithFormat(0, whole.ViewWidth, whole.ViewHeight, 16,
                                                      SDL_PIXELFORMAT_RGB565);
    if (!canvas.Surface || map == nullptr || canvas.Fill(0) != 0 || whole.Draw(&canvas) != 0 ||
        canvas.Lock() != 0) {
        SDL_FreeSurface(map);
        whole.Destroy();
        return nullptr;
    }
    const auto* source = static_cast<const std::uint8_t*>(canvas.Desc.lpSurface);
    for (int row = 0; row < map->h; ++row) {
        std::memcpy(static_cast<std::uint8_t*>(map->pixels) + row * map->pitch,
                    source + static_cast<std::ptrdiff_t>(row) * canvas.Desc.lPitch,
                    static_cast<std::size_t>(map->w) * 2);
    }
    canvas.Unlock();
    whole.Destroy();
    return map;
}

// The largest point size whose line height is not taller than the game's cell height: the
// size the game's text service renders its glyphs at.
TTF_Font* OpenAtCellHeight(const std::string& path, int cellHeight) {
    TTF_Font* best = nullptr;
    for (int size = 1; size <= 4 * cellHeight; ++size) {
        TTF_Font* font = TTF_OpenFont(path.c_str(), size);
        if (font == nullptr) break;
        if (TTF_FontHeight(font) > cellHeight) {
            TTF_CloseFont(font);
            break;
        }
        if (best != nullptr) TTF_CloseFont(best);
        best = font;
    }
    if (best != nullptr) TTF_SetFontHinting(best, TTF_HINTING_MONO);
    return best;
}

class SdlScene {
public:
    SdlScene() = default;
    SdlScene(const SdlScene&) = delete;
    SdlScene& operator=(const SdlScene&) = delete;
    ~SdlScene() {
        for (auto* frames : {&playerFrames_, &energonFrames_}) {
            for (SDL_Surface* frame : *frames) SDL_FreeSurface(frame);
        }
        for (const auto& frames : enemyFrames_) {
            for (SDL_Surface* frame : frames) SDL_FreeSurface(frame);
        }
        SDL_FreeSurface(panel_);
        SDL_FreeSurface(map_);
        SDL_FreeSurface(target_);
        if (font_ != nullptr) TTF_CloseFont(font_);
        if (ttfStarted_) TTF_Quit();
    }

    // Loads everything from the game's files; the face and size of the HUD font are the ones
    // the game's back buffer holds after a play frame. An empty string when all is there.
    std::string Load(const CDXSurface& gameBack) {
        target_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 16, SDL_PIXELFORMAT_RGB565);
        map_ = PrerenderMap();
        panel_ = LoadRgb565("HUD.BMP");
        if (target_ == nullptr || map_ == nullptr || panel_ == nullptr) {
            return "the map or the panel could not be loaded";
        }
        SDL_SetColorKey(panel_, SDL_TRUE, TopLeftPixel(panel_));
        SDL_SetSurfaceRLE(panel_, 1);
        playerFrames_ = CutFrames("ZELTO.BMP");
        energonFrames_ = CutFrames("ENERGON.BMP");
        if (playerFrames_.empty() || energonFrames_.empty()) {
            return "a sprite sheet could not be loaded";
        }
        for (const zelto::EnemyKind& kind : zelto::kEnemyKinds) {
            enemyFrames_.push_back(CutFrames(kind.sheetFile));
            if (enemyFrames_.back().empty()) return "a sprite sheet could not be loaded";
        }
        ttfStarted_ = TTF_Init() == 0;
        // The game's own search gives the file: fontconfig's match on the desktop, the shipped
        // font in the data folder on the web.
        platform::FontFile face;
        const bool faceFound =
            platform::FindFontFile(platform::MatchedFamily(gameBack.Font), kBoldWeight, face);
        cellHeight_ = platform::FontCellHeight(gameBack.Font);
        if (ttfStarted_ && faceFound) font_ = OpenAtCellHeight(face.path, cellHeight_);
        if (font_ == nullptr) return "the HUD font could not be opened";
        return {};
    }

    // Takes over the game's scene as it stands before a frame: the same frames at the same
    // points of their animations, the same places, the same HUD values.
    void Mirror() {
        player_ = SpriteOf(*game->Player);
        actors_.clear();
        for (Actor* actor : ActorsInView()) {
            SdlSprite sprite = SpriteOf(*actor);
            sprite.x = actor->WorldX - game->GameMap->ScrollX;
            sprite.y = actor->WorldY - game->GameMap->ScrollY;
            actors_.push_back(sprite);
        }
        mapView_ =
            SDL_Rect{game->GameMap->ScrollX, game->GameMap->ScrollY, kViewWidth, kViewHeight};
        hudValues_ = {game->EnergonLevel, game->CriticalMass, game->Status->Lives,
                      game->Status->Score};
    }

    // One frame in the game's order: clear, map, player, panel, particles and enemies, HUD,
    // present.
    void ComposeFrame() {
        Clear();
        DrawMap();
        Animate(player_);
        BlitSprite(player_, target_);
        DrawPanel();
        for (SdlSprite& actor : actors_) {
            Animate(actor);
            BlitSprite(actor, target_);
        }
        DrawHud();
        Present();
    }

    // One stage alone, the sprites drawn at their current frames.
    void RunStage(Stage stage) {
        switch (stage) {
            case Stage::Clear:
                Clear();
                break;
            case Stage::Map:
                DrawMap();
                break;
            case Stage::Sprites:
                BlitSprite(player_, target_);
                for (const SdlSprite& actor : actors_) BlitSprite(actor, target_);
                break;
            case Stage::Panel:
                DrawPanel();
                break;
            case Stage::Text:
                DrawHud();
                break;
            case Stage::Present:
                Present();
                break;
        }
    }

    const SDL_Surface& Target() const { return *target_; }
    int CellHeight() const { return cellHeight_; }

private:
    SdlSprite SpriteOf(const Actor& actor) const {
        SdlSprite sprite;
        sprite.frames = FramesOf(actor.Tile);
        sprite.frameList = actor.FrameLists[actor.AnimIndex];
        sprite.delay = actor.AnimDelay;
        sprite.tick = actor.AnimTick;
        sprite.step = actor.AnimStep;
        sprite.frame = actor.Frame;
        sprite.x = actor.PosX;
        sprite.y = actor.PosY;
        return sprite;
    }

    const std::vector<SDL_Surface*>* FramesOf(const CDXTile* sheet) const {
        if (sheet == game->PlayerSheet.get()) return &playerFrames_;
        if (sheet == game->EnergonSheet.get()) return &energonFrames_;
        for (std::size_t kind = 0; kind < game->EnemySheets.size(); ++kind) {
            if (sheet == game->EnemySheets[kind].get()) return &enemyFrames_[kind];
        }
        return &enemyFrames_.back();
    }

    void Clear() { SDL_FillRect(target_, nullptr, 0); }

    void DrawMap() {
        SDL_Rect from = mapView_;
        SDL_Rect to{0, 0, kViewWidth, kViewHeight};
        SDL_BlitSurface(map_, &from, target_, &to);
    }

    void DrawPanel() {
        SDL_Rect to{kPanelX, 0, panel_->w, panel_->h};
        SDL_BlitSurface(panel_, nullptr, target_, &to);
    }

    void DrawHud() {
        char text[32];
        for (const HudLine& line : kHudLines) {
            const char* shown = line.format;
            if (line.value != kNoValue) {
                std::snprintf(text, sizeof(text), line.format,
                              hudValues_[static_cast<std::size_t>(line.value)]);
                shown = text;
            }
            SDL_Surface* rendered = TTF_RenderText_Solid(font_, shown, line.colour);
            SDL_Rect to{kHudTextX, line.y, 0, 0};
            SDL_BlitSurface(rendered, nullptr, target_, &to);
            SDL_FreeSurface(rendered);
        }
    }

    void Present() {
        SDL_ConvertPixels(kWidth, kHeight, SDL_PIXELFORMAT_RGB565, target_->pixels, target_->pitch,
                          SDL_PIXELFORMAT_ARGB8888, texture_.data(), kWidth * 4);
        benchmark::DoNotOptimize(texture_.data());
    }

    SDL_Surface* target_ = nullptr;
    SDL_Surface* map_ = nullptr;
    SDL_Surface* panel_ = nullptr;
    std::vector<SDL_Surface*> playerFrames_;
    std::vector<SDL_Surface*> energonFrames_;
    // One list for each kind of the enemies' table, in its order.
    std::vector<std::vector<SDL_Surface*>> enemyFrames_;
    bool ttfStarted_ = false;
    TTF_Font* font_ = nullptr;
    int cellHeight_ = 0;
    SdlSprite player_;
    std::vector<SdlSprite> actors_;
    SDL_Rect mapView_{};
    std::array<int, 4> hudValues_{};
    std::vector<std::uint32_t> texture_ = std::vector<std::uint32_t>(kWidth * kHeight);
};

// ---------------------------------------------------------------------------------------------
// The comparison and the session the benchmarks run in.

bool InHudText(int x, int y, int cellHeight) {
    if (x < kHudTextMaskX) return false;
    for (const HudLine& line : kHudLines) {
        if (y >= line.y && y < line.y + cellHeight) return true;
    }
    return false;
}

// Where the game's flipped picture and the SDL composition differ outside the HUD text; empty
// when they agree.
std::string Disagreement(const platform::FakeHost::Picture& flipped, const SdlScene& sdl) {
    if (flipped.width != kWidth || flipped.height != kHeight || flipped.depth != 16) {
        return "the game's picture is not 640 x 480 in 16 bits";
    }
    const SDL_Surface& composed = sdl.Target();
    int differing = 0;
    int firstX = 0;
    int firstY = 0;
    for (int y = 0; y < kHeight; ++y) {
        const auto* gameRow = flipped.pixels.data() + static_cast<std::size_t>(y) * kWidth * 2;
        const auto* sdlRow = static_cast<const std::uint8_t*>(composed.pixels) + y * composed.pitch;
        for (int x = 0; x < kWidth; ++x) {
            if (InHudText(x, y, sdl.CellHeight())) continue;
            if (std::memcmp(gameRow + x * 2, sdlRow + x * 2, 2) == 0) continue;
            if (differing++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    if (differing == 0) return {};
    return std::to_string(differing) + " pixels differ from the SDL composition, the first at (" +
           std::to_string(firstX) + ", " + std::to_string(firstY) + ")";
}

struct Session {
    ConvertingHost* host = nullptr;
    SdlScene* sdl = nullptr;
    std::vector<Actor*> actorsInView;
    // The last picture the game flipped, rows packed, for the present stage alone.
    std::vector<std::uint8_t> flipped;
    std::int32_t lives = 0;
    // Why the two frames cannot be measured side by side (a file missing, pixels that differ);
    // empty when they agree.
    std::string problem;
};
Session* session = nullptr;

// Why play is no longer in the state it was measured in; empty while it is.
std::string Unsteady() {
    if (!game->Status || game->Status->State != Playing) return "the game left play";
    if (game->Status->Lives != session->lives || game->EnergonLevel != kSteadyEnergon) {
        return "the Energon level or the lives changed";
    }
    if (game->Player->PosX != kPlayerStartX || game->Player->PosY != kPlayerStartY)
        return "the player moved";
    return {};
}

// The game and the SDL frame composed from the same state, the game's as the fake host kept it
// at its flip.
std::string CompareFrames(ConvertingHost& host, SdlScene& sdl, std::vector<std::uint8_t>& flipped) {
    sdl.Mirror();
    host.SetPicturesKept(1);
    RunFrame(*game);
    host.SetPicturesKept(0);
    sdl.ComposeFrame();
    if (host.Pictures().empty()) return "the game flipped no picture";
    flipped = host.Pictures().back().pixels;
    return Disagreement(host.Pictures().back(), sdl);
}

// Runs from inside the flip of a play frame: puts play in its steady state, checks that both
// sides draw the same frame, runs the benchmarks and closes the game.
void MeasureInPlay(ConvertingHost& host) {
    // The benchmarks' own frames reach blanks too: nothing may run there.
    host.AtEveryBlank({});
    host.SetBlankLimit(std::numeric_limits<std::uint64_t>::max());
    if (game->Status && game->Status->State == Playing && game->GameScreen &&
        game->GameScreen->Back != nullptr) {
        SteadyPlay();
        // One frame with the new places, so the HUD's font is made and the actors placed.
        RunFrame(*game);
        SdlScene sdl;
        Session current;
        current.host = &host;
        current.sdl = &sdl;
        current.actorsInView = ActorsInView();
        current.lives = game->Status->Lives;
        current.problem = sdl.Load(*game->GameScreen->Back);
        if (current.problem.empty()) {
            current.problem = CompareFrames(host, sdl, current.flipped);
        }
        session = &current;
        bench::RunAtEveryProcessorLevel();
        session = nullptr;
    } else {
        std::fprintf(stderr, "frame_bench: the game is not in play\n");
    }
    host.QueueEvent(platform::HostEvent::Kind::CloseRequested);
}

// ---------------------------------------------------------------------------------------------
// The benchmarks.

bool Ready(benchmark::State& state) {
    if (session == nullptr) {
        state.SkipWithError("the game never reached play");
        return false;
    }
    if (!session->problem.empty()) {
        state.SkipWithError(session->problem.c_str());
        return false;
    }
    return true;
}

void BM_PlayFrame(benchmark::State& state) {
    if (!Ready(state)) return;
    for (auto _ : state) RunFrame(*game);
    if (const std::string why = Unsteady(); !why.empty()) state.SkipWithError(why.c_str());
}
BENCHMARK(BM_PlayFrame);

void BM_SdlPlayFrame(benchmark::State& state) {
    if (!Ready(state)) return;
    for (auto _ : state) session->sdl->ComposeFrame();
}
BENCHMARK(BM_SdlPlayFrame);

// The engine's calls of one stage of the play frame: the sprites' draws without the
// animation, view and contact tests around them; the HUD with its font made as every frame
// makes it.
void BM_PlayFrameStage(benchmark::State& state, Stage stage) {
    if (!Ready(state)) return;
    CDXSurface* back = game->GameScreen->Back;
    platform::PresentedPicture picture;
    picture.pixels = session->flipped.data();
    picture.width = kWidth;
    picture.height = kHeight;
    picture.pitch = kWidth * 2;
    picture.format = platform::PixelFormatForDepth(16);
    std::vector<std::uint32_t> texture(kWidth * kHeight);
    for (auto _ : state) {
        switch (stage) {
            case Stage::Clear:
                back->Fill(0);
                break;
            case Stage::Map:
                game->GameMap->Draw(back);
                break;
            case Stage::Sprites:
                game->Player->Draw(back, 0, 0, CDXBlitMode::CopyKeyed);
                for (Actor* actor : session->actorsInView) {
                    actor->Draw(back, 0, 0, CDXBlitMode::CopyKeyed);
                }
                break;
            case Stage::Panel:
                game->HudSprite->Draw(back, 0, 0, CDXBlitMode::CopyKeyed);
                break;
            case Stage::Text:
                zelto::DrawHud(*game);
                break;
            case Stage::Present:
                platform::ConvertPictureToArgb(picture, texture.data(), kWidth * 4);
                benchmark::DoNotOptimize(texture.data());
                break;
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BM_PlayFrameStage, clear, Stage::Clear);
BENCHMARK_CAPTURE(BM_PlayFrameStage, map, Stage::Map);
BENCHMARK_CAPTURE(BM_PlayFrameStage, sprites, Stage::Sprites);
BENCHMARK_CAPTURE(BM_PlayFrameStage, panel, Stage::Panel);
BENCHMARK_CAPTURE(BM_PlayFrameStage, text, Stage::Text);
BENCHMARK_CAPTURE(BM_PlayFrameStage, present, Stage::Present);

void BM_SdlPlayFrameStage(benchmark::State& state, Stage stage) {
    if (!Ready(state)) return;
    for (auto _ : state) {
        session->sdl->RunStage(stage);
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BM_SdlPlayFrameStage, clear, Stage::Clear);
BENCHMARK_CAPTURE(BM_SdlPlayFrameStage, map, Stage::Map);
BENCHMARK_CAPTURE(BM_SdlPlayFrameStage, sprites, Stage::Sprites);
BENCHMARK_CAPTURE(BM_SdlPlayFrameStage, panel, Stage::Panel);
BENCHMARK_CAPTURE(BM_SdlPlayFrameStage, text, Stage::Text);
BENCHMARK_CAPTURE(BM_SdlPlayFrameStage, present, Stage::Present);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!bench::EnterGameDataFolder("frame_bench")) return 1;

    ConvertingHost host;
    platform::SetHost(&host);
    host.SetTimeOfDay(kTimeOfDay);
    host.SetPicturesKept(0);
    host.SetBlankLimit(kBlanksToReachPlay);
    // Sound is mixed on SDL's own audio thread in the real program; on the fake host it would
    // be mixed inside every flip, so the frame is measured without a sound device.
    host.RemoveSoundDevice();

    // Played like a player: a click on the intro, Space at the instruction screen; a few
    // blanks after the game saw Space, a play frame is flipping and the measuring starts.
    bool measuring = false;
    std::uint64_t spaceSeenAt = 0;
    host.AtEveryBlank([&](platform::FakeHost& fake) {
        if (measuring || !game->Status) return;
        if (game->Status->State == Intro) {
            fake.SetMouseButton(kLeftMouseButton, true);
            return;
        }
        fake.SetMouseButton(kLeftMouseButton, false);
        fake.SetKey(platform::kScanSpace, true);
        if (spaceSeenAt == 0 && game->GameInput &&
            game->GameInput->GetKeyState(kKeySpace) != KeyUp) {
            spaceSeenAt = fake.Blank();
        }
        if (spaceSeenAt == 0 || fake.Blank() < spaceSeenAt + kBlanksIntoPlay) return;
        fake.SetKey(platform::kScanSpace, false);
        measuring = true;
        fake.AtBlank(fake.Blank() + 1, [&host](platform::FakeHost&) { MeasureInPlay(host); });
    });
    Game played;
    game = &played;
    WinMain(played, nullptr, nullptr, "", platform::SW_SHOWNORMAL);
    game = nullptr;
    benchmark::Shutdown();
    if (!measuring) {
        std::fprintf(stderr, "frame_bench: the game ended before play\n");
        return 1;
    }
    return 0;
}
