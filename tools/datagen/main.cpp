// SPDX-License-Identifier: MIT
// zelto-datagen: makes the game's data set (map, pictures, sounds), the window icon's source
// file and the icon's PNG files for desktops. The output is the same, byte for byte, on every run.

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "data_set.h"

namespace {

void PrintUsage() {
    std::fprintf(stderr,
                 "usage: zelto-datagen [--out FOLDER] [--icon-source FILE.cpp] "
                 "[--icon-png FOLDER] [--map-preview FILE.bmp]\n"
                 "  --out FOLDER            write the fifteen game data files into FOLDER\n"
                 "  --icon-source FILE.cpp  write the window icon as a C++ source file\n"
                 "  --icon-png FOLDER       write the icon as PNG files of 16 to 256 pixels\n"
                 "  --map-preview FILE.bmp  write the whole world map as one picture\n");
}

}  // namespace

int main(int argc, char** argv) {
    std::string outFolder;
    std::string iconSource;
    std::string mapPreview;
    std::string iconPngFolder;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        std::string* target = nullptr;
        if (option == "--out") target = &outFolder;
        if (option == "--icon-source") target = &iconSource;
        if (option == "--map-preview") target = &mapPreview;
        if (option == "--icon-png") target = &iconPngFolder;
        if (option == "--help" || option == "-h") {
            PrintUsage();
            return 0;
        }
        if (target == nullptr) {
            std::fprintf(stderr, "zelto-datagen: unknown option '%s'\n", argv[i]);
            PrintUsage();
            return 2;
        }
        if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) {
            std::fprintf(stderr, "zelto-datagen: option '%s' needs a path\n", argv[i]);
            return 2;
        }
        *target = argv[++i];
    }
    if (outFolder.empty() && iconSource.empty() && mapPreview.empty() && iconPngFolder.empty()) {
        PrintUsage();
        return 2;
    }
    try {
        if (!outFolder.empty()) datagen::WriteDataSet(outFolder);
        if (!iconSource.empty()) datagen::WriteIconSource(iconSource);
        if (!iconPngFolder.empty()) datagen::WriteIconPngs(iconPngFolder);
        if (!mapPreview.empty()) datagen::WriteMapPreview(mapPreview);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelto-datagen: %s\n", error.what());
        return 1;
    }
    return 0;
}
