#pragma once

// The window system's state, kept by the host (see host.h).

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "host.h"
#include "win_types.h"

namespace platform {

struct Window {
    WNDCLASS windowClass;
    std::string title;
    int width = 0;
    int height = 0;
};

struct Host::WindowSystem {
    std::map<std::string, WNDCLASS> classes;
    std::unique_ptr<Window> window;
    std::deque<MSG> queue;
    HCURSOR cursor = nullptr;
};

}  // namespace platform
