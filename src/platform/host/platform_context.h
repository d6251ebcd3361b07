// SPDX-License-Identifier: MIT
#pragma once

// What the platform layer keeps for each host: the window system's state (classes, the window,
// the message queue, the cursor), the devices whose video memory the host can take away, and
// the host's fault hooks. The host itself stays a pure table of machine operations; a new host
// starts from a clean context, and a host's context goes when the host goes.

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/fault_hooks.h"
#include "platform/host/host.h"
#include "platform/host/win_types.h"

namespace platform {

struct Window {
    WNDCLASS windowClass;
    std::string title;
    int width = 0;
    int height = 0;
    // The program's own value for the window (GWLP_USERDATA), zero until it sets one.
    LONG_PTR userData = 0;
};

struct WindowSystem {
    std::map<std::string, WNDCLASS> classes;
    std::unique_ptr<Window> window;
    std::deque<MSG> queue;
    HCURSOR cursor = nullptr;
};

// Something that keeps memory of the host's display: told when the host takes that memory
// away, and when the host itself goes.
class VideoMemoryUser {
public:
    virtual void LoseVideoMemory() = 0;
    virtual void HostGone() = 0;

protected:
    ~VideoMemoryUser() = default;
};

struct PlatformContext {
    WindowSystem windows;
    std::vector<VideoMemoryUser*> videoMemoryUsers;
    FaultHooks* faults = nullptr;  // null: the host injects no faults
};

// The context of a host, made on first use.
PlatformContext& ContextOf(const Host& host);
PlatformContext& CurrentContext();
// Tells every video memory user of the host that it is gone, and drops the context.
void ForgetContext(const Host& host);

void RegisterVideoMemoryUser(const Host& host, VideoMemoryUser* user);
void UnregisterVideoMemoryUser(const Host& host, VideoMemoryUser* user);
// The host took its display away: every user's video memory is gone.
void LoseVideoMemory(const Host& host);

}  // namespace platform
