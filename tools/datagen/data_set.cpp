// SPDX-License-Identifier: MIT
#include "data_set.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "bmp_writer.h"
#include "byte_writer.h"
#include "data_files.h"
#include "fmp_writer.h"
#include "map_landscape.h"
#include "pictures.h"
#include "png_writer.h"
#include "sounds.h"

namespace datagen {

void WriteDataSet(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw std::runtime_error("cannot create folder " + folder + ": " + error.message());
    const std::filesystem::path base(folder);
    auto write = [&](const char* name, const std::vector<std::uint8_t>& bytes) {
        WriteFileBytes((base / name).string(), bytes);
    };
    // Every file of the list (data/data-files.txt), by the names the game opens.
    write(zelto::kMapFile, EncodeFmp(BuildWorldMap()));
    write(zelto::kTitlePictureFile, EncodeBmp(MakeTitlePicture()));
    write(zelto::kHudPictureFile, EncodeBmp(MakeHudPanel()));
    write(zelto::kPlayerSheetFile, EncodeBmp(MakePlayerSheet()));
    write(zelto::kSpikeSheetFile, EncodeBmp(MakeEnemySheet(EnemyKind::kSpike)));
    write(zelto::kCybudSheetFile, EncodeBmp(MakeEnemySheet(EnemyKind::kCybud)));
    write(zelto::kSkullSheetFile, EncodeBmp(MakeEnemySheet(EnemyKind::kSkull)));
    write(zelto::kJestoidSheetFile, EncodeBmp(MakeEnemySheet(EnemyKind::kJestoid)));
    write(zelto::kEnergonSheetFile, EncodeBmp(MakeEnergonSheet()));
    write(zelto::kPickSoundFile, EncodeWav(MakePickSound()));
    write(zelto::kSpawnSoundFile, EncodeWav(MakeSpawnSound()));
    write(zelto::kGongSoundFile, EncodeWav(MakeGongSound()));
    write(zelto::kGruntSoundFile, EncodeWav(MakeGruntSound()));
    write(zelto::kExplodeSoundFile, EncodeWav(MakeExplodeSound()));
    write(zelto::kMonsterSoundFile, EncodeWav(MakeMonsterSound()));
}

void WriteIconSource(const std::string& path) {
    const std::vector<std::uint8_t> bitmap = EncodeBmp(MakeAppIcon());
    const std::filesystem::path target(path);
    if (target.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
        if (error)
            throw std::runtime_error("cannot create folder for " + path + ": " + error.message());
    }
    std::ofstream out(path, std::ios::trunc);
    if (!out) throw std::runtime_error("cannot create " + path);
    out << "// Written by zelto-datagen: the window icon, a 32 x 32 24-bit Windows bitmap.\n"
        << "#include \"game/spine/appicon.h\"\n\n"
        << "const unsigned char kAppIconBmp[] = {";
    for (std::size_t i = 0; i < bitmap.size(); ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02x,", bitmap[i]);
        out << (i % 16 == 0 ? "\n    " : " ") << hex;
    }
    out << "\n};\n\nconst std::size_t kAppIconBmpSize = sizeof(kAppIconBmp);\n";
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

void WriteIconPngs(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw std::runtime_error("cannot create folder " + folder + ": " + error.message());
    for (int size : kAppIconSizes) {
        const std::string name = "zelto-" + std::to_string(size) + ".png";
        WriteFileBytes((std::filesystem::path(folder) / name).string(),
                       EncodePng(AppIconAtSize(size)));
    }
}

void WriteMapPreview(const std::string& path) {
    WriteFileBytes(path, EncodeBmp(RenderMap(BuildWorldMap())));
}

}  // namespace datagen
