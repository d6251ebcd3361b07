// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace datagen {

// Writes every file of the data set (data/data-files.txt: the map, the pictures, the sounds)
// into the folder, creating it if needed. Throws std::runtime_error with a readable message on
// failure.
void WriteDataSet(const std::string& folder);

// Writes a C++ source file that defines the window icon's bitmap bytes (see appicon.h).
void WriteIconSource(const std::string& path);

// Writes the window icon as PNG files for desktops, zelto-N.png for each size N of
// kAppIconSizes (pictures.h), into the folder (creating it if needed).
void WriteIconPngs(const std::string& folder);

// Writes the whole world map as one 1280 x 960 bitmap, for looking at.
void WriteMapPreview(const std::string& path);

}  // namespace datagen
