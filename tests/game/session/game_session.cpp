// SPDX-License-Identifier: MIT
#include "game_session.h"

#include <cstring>

using namespace platform;

namespace {

using namespace cdx;
using namespace zelto;

constexpr int kPressBlanks = 6;
constexpr int kHudLeft = 520;
constexpr int kHudBandHeight = 25;

}  // namespace

PlayFrame Snapshot(const Game& world, std::uint64_t blank) {
    return PlayFrame{blank,
                     world.Status->State,
                     world.Player->PosX,
                     world.Player->PosY,
                     world.GameMap->ScrollX,
                     world.GameMap->ScrollY,
                     world.EnergonLevel,
                     world.Status->Lives,
                     world.Status->Score,
                     world.Player->Frame,
                     world.Status->Stage};
}

GameSession::GameSession() {
    SetHost(&host);
    host.SetPicturesKept(200);
    host.AtEveryBlank([this](FakeHost& h) { OnBlank(h.Blank()); });
}

GameSession::~GameSession() {
    host.AtEveryBlank(nullptr);
}

int GameSession::Run() {
    return WinMain(world, nullptr, nullptr, "", SW_SHOWNORMAL);
}

void GameSession::ClickAt(std::uint64_t blank) {
    host.AtBlank(blank, [](FakeHost& h) { h.SetMouseButton(0, true); });
    host.AtBlank(blank + kPressBlanks, [](FakeHost& h) { h.SetMouseButton(0, false); });
}

void GameSession::PressSpaceAt(std::uint64_t blank) {
    host.AtBlank(blank, [](FakeHost& h) { h.SetKey(kScanSpace, true); });
    host.AtBlank(blank + kPressBlanks, [](FakeHost& h) { h.SetKey(kScanSpace, false); });
}

void GameSession::PressEscapeAt(std::uint64_t blank) {
    host.AtBlank(blank, [](FakeHost& h) { h.SetKey(kScanEscape, true); });
}

void GameSession::CloseAt(std::uint64_t blank) {
    host.AtBlank(blank, [](FakeHost& h) { h.QueueEvent(HostEvent::Kind::CloseRequested); });
}

void GameSession::OnBlank(std::uint64_t blank) {
    if (soundNames_.empty() && world.PickSound && world.PickSound->Copies) {
        const std::pair<const std::unique_ptr<CDXSoundBuffer>*, const char*> sounds[] = {
            {&world.PickSound, "Pick"},       {&world.SpawnSound, "Spawn"},
            {&world.GongSound, "Gong"},       {&world.GruntSound, "Grunt"},
            {&world.ExplodeSound, "Explode"}, {&world.MonsterSound, "Monster"},
        };
        for (const auto& [sound, name] : sounds) {
            if (*sound && (*sound)->Copies) soundNames_[(*sound)->Copies[0].get()] = name;
        }
    }
    // The picture of an earlier blank is presented by the time the hook of a later one runs.
    if (!host.Pictures().empty()) {
        const FakeHost::Picture& newest = host.Pictures().back();
        if (wanted_.count(newest.blank) != 0 && kept_.count(newest.blank) == 0) {
            kept_[newest.blank] = newest;
        }
    }
    // Every stage start makes the enemies afresh, after its instruction screen.
    const Actor* enemy = world.Enemies[kEnemyCount - 1].get();
    if (enemy != lastEnemy_) {
        if (lastEnemy_ != nullptr) {
            ++stagesStarted;
            if (stageStart_) stageStart_(stagesStarted);
        }
        lastEnemy_ = enemy;
    }
    if (step_ && world.Status) step_(blank);
}

void GameSession::ClearEnemies() {
    for (auto& enemy : world.Enemies) {
        enemy->WorldX = 100000;
        enemy->WorldY = 100000;
    }
}

int GameSession::PlayWithoutEnemies(std::uint64_t frames, std::function<void(int frame)> frame) {
    ClickAt(kFirstClick);
    host.AtBlank(kFirstSpace, [](FakeHost& h) { h.SetKey(kScanSpace, true); });
    AtStageStart([this](int) { ClearEnemies(); });
    // The stage start is seen at the flip of the intro's last frame; every blank after it
    // counts, the first being the first play frame's.
    playFrame_ = -1;
    EveryBlank([this, frame](std::uint64_t) {
        if (stagesStarted == 0) return;
        ++playFrame_;
        if (playFrame_ >= 1) frame(playFrame_);
    });
    host.SetBlankLimit(kFirstSpace + frames + 2000);
    host.AtBlank(kFirstSpace + frames, [](FakeHost& h) { h.SetKey(kScanEscape, true); });
    return Run();
}

void GameSession::PlaceParticle(std::int32_t x, std::int32_t y) {
    for (auto& particle : world.Particles) particle->Active = 0;
    world.Particles[0]->Active = 1;
    world.Particles[0]->WorldX = x;
    world.Particles[0]->WorldY = y;
}

std::vector<std::uint64_t> GameSession::SoundsPlayed(const std::string& name) const {
    std::vector<std::uint64_t> blanks;
    for (const auto& record : host.SoundRecords()) {
        if (record.event.kind != SoundEvent::Kind::Played) continue;
        const auto found = soundNames_.find(record.event.buffer);
        if (found != soundNames_.end() && found->second == name) blanks.push_back(record.blank);
    }
    return blanks;
}

std::vector<std::uint32_t> GameSession::HudBand(const FakeHost::Picture& picture, int y) {
    std::vector<std::uint32_t> band;
    for (int row = y; row < y + kHudBandHeight; ++row) {
        for (int x = kHudLeft; x < kScreenWidth; ++x) band.push_back(picture.PixelAt(x, row));
    }
    return band;
}

namespace {

std::vector<std::uint32_t> SurfaceBand(CDXSurface& surface, int y) {
    std::vector<std::uint32_t> band;
    if (surface.Lock() != DD_OK) return band;
    const auto* pixels = static_cast<const std::uint8_t*>(surface.Desc.lpSurface);
    for (int row = y; row < y + kHudBandHeight; ++row) {
        for (int x = kHudLeft; x < kScreenWidth; ++x) {
            std::uint16_t pixel = 0;
            std::memcpy(&pixel, pixels + row * surface.Desc.lPitch + x * 2, sizeof(pixel));
            band.push_back(pixel);
        }
    }
    surface.Unlock();
    return band;
}

}  // namespace

std::vector<std::uint32_t> GameSession::BackBand(int y) {
    return SurfaceBand(*world.GameScreen->Back, y);
}

std::vector<std::uint32_t> GameSession::ExpectedHudBand(int y, std::uint32_t colour,
                                                        const char* text) {
    CDXSurface scratch;
    if (scratch.Create(world.GameScreen.get(), kScreenWidth, kScreenHeight, 1) != 1) return {};
    scratch.Fill(0);
    world.HudSprite->Draw(&scratch, 0, 0, CDXBlitMode::CopyKeyed);
    scratch.MakeFont("Script", 0, 20, 700);
    if (scratch.GetDC() != nullptr) {
        scratch.SelectFont();
        scratch.DrawString(530, y, colour, text);
        scratch.ReleaseDC();
    }
    return SurfaceBand(scratch, y);
}

const FakeHost::Picture* GameSession::PictureAt(std::uint64_t blank) const {
    if (const auto found = kept_.find(blank); found != kept_.end()) return &found->second;
    for (const auto& picture : host.Pictures()) {
        if (picture.blank == blank) return &picture;
    }
    return nullptr;
}
