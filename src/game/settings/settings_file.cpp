// SPDX-License-Identifier: MIT
#include "game/settings/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

namespace zelto {

SettingsFile::SettingsFile(std::string folder, KeptFileWriter writer, KeptFileWarner warn)
    : folder_(std::move(folder)), writer_(std::move(writer)), warn_(std::move(warn)) {}

Settings SettingsFile::Load() {
    const std::string path = Path();
    putAside_ = false;
    const KeptFileRead read = ReadKeptFile(path, kLargestFile, loadedText_);
    switch (read) {
        case KeptFileRead::kMissing:
            return Settings{};
        case KeptFileRead::kUnreadable:
            warn_("cannot read the settings in " + path + " (" + std::strerror(errno) +
                  "): the defaults are used, and the file is put aside before new settings are "
                  "written");
            putAside_ = true;
            return Settings{};
        case KeptFileRead::kTooLarge:
            warn_("the settings in " + path +
                  " are damaged (far too long): the defaults are used, and the file is put aside "
                  "before new settings are written");
            putAside_ = true;
            return Settings{};
        case KeptFileRead::kNotRegular:
            warn_("the settings in " + path +
                  " are damaged (not a regular file): the defaults are used, and the file is put "
                  "aside before new settings are written");
            putAside_ = true;
            return Settings{};
        case KeptFileRead::kRead:
            break;
    }
    std::string fault;
    if (std::optional<Settings> settings = Settings::Parse(loadedText_, fault)) return *settings;
    warn_("the settings in " + path + " are damaged (" + fault +
          "): the defaults are used, and the file is put aside before new settings are written");
    putAside_ = true;
    return Settings{};
}

void SettingsFile::Save(const Settings& settings) {
    const std::string path = Path();
    const std::string text = settings.Format();
    const bool changed = putAside_ || text != loadedText_;
    // Unchanged settings are not written; the new files of games killed while they wrote are
    // still cleared away.
    if (!changed && !HasLeftNewFiles(path)) return;
    if (!MakeFolders(folder_)) {
        warn_("cannot make the folder " + folder_ + " for the settings (" + std::strerror(errno) +
              "): they are not kept");
        return;
    }
    const KeptFileLock lock(folder_ + "/settings.lock");
    if (!lock.Held()) {
        warn_("cannot lock the settings in " + folder_ + " (" + std::strerror(errno) +
              "): they are not kept");
        return;
    }
    RemoveLeftNewFiles(path);
    if (!changed) return;
    if (putAside_) {
        const std::string aside = path + ".damaged-" + std::to_string(std::time(nullptr));
        if (rename(path.c_str(), aside.c_str()) != 0 && errno != ENOENT) {
            warn_("cannot put the settings in " + path + " aside (" + std::strerror(errno) +
                  "): it is left as it is and the new settings are not kept");
            return;
        }
        putAside_ = false;
    }
    const int error = ReplaceKeptFile(path, text, writer_);
    if (error != 0) {
        warn_("cannot write the settings to " + path + " (" + std::strerror(error) +
              "): they are not kept");
        return;
    }
    loadedText_ = text;
}

}  // namespace zelto
