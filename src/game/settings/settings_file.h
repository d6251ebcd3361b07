// SPDX-License-Identifier: MIT
#pragma once

// The file that keeps the player's settings: `settings` in its folder (see settings.h for its
// text). A missing file means the defaults. A file that cannot be read or parsed gives one
// warning line and the defaults; it is never overwritten: when the settings are next saved it
// is first put aside as `settings.damaged-<seconds since 1970>`, and nothing is written when it
// cannot be. Anything but a regular file in its place (a FIFO, a device, a folder) is damaged
// so. A file is replaced whole (see kept_file.h), so it holds the old settings or the new ones
// whatever happens meanwhile; of two games ending at once, the later one's stay. Games saving at
// once take turns through `settings.lock`, under which the new files of games killed while they
// wrote are removed.

#include <string>

#include "game/kept_files/kept_file.h"
#include "game/settings/settings.h"

namespace zelto {

class SettingsFile {
public:
    // No settings file this program writes comes near this size.
    static constexpr std::size_t kLargestFile = 16 * 1024;

    // The folder is made, with its parents, at the first save.
    explicit SettingsFile(std::string folder, KeptFileWriter writer = WriteAllBytes,
                          KeptFileWarner warn = WarnOnStderr);

    Settings Load();
    // Writes the settings unless the file already holds them just so.
    void Save(const Settings& settings);

    std::string Path() const { return folder_ + "/settings"; }

private:
    std::string folder_;
    KeptFileWriter writer_;
    KeptFileWarner warn_;
    // The text the file held when it was loaded, and whether it must be put aside before the
    // file is written.
    std::string loadedText_;
    bool putAside_ = false;
};

}  // namespace zelto
