#include "host.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "display_device.h"
#include "window_system.h"

namespace platform {
namespace {
Host* currentHost = nullptr;
}

Host::Host() : windows_(std::make_unique<WindowSystem>()) {}

Host::~Host() {
    for (DisplayDevice* device : displayDevices_) device->DetachFromHost();
    if (currentHost == this) currentHost = nullptr;
}

void Host::RegisterDisplayDevice(DisplayDevice* device) { displayDevices_.push_back(device); }

void Host::UnregisterDisplayDevice(DisplayDevice* device) {
    std::erase(displayDevices_, device);
}

void Host::LoseVideoMemory() {
    for (DisplayDevice* device : displayDevices_) device->LoseVideoMemory();
}

void SetHost(Host* host) { currentHost = host; }

bool HasHost() { return currentHost != nullptr; }

Host& CurrentHost() {
    if (currentHost == nullptr) {
        std::fputs("platform: no host installed before the first platform call\n", stderr);
        std::abort();
    }
    return *currentHost;
}

}  // namespace platform
