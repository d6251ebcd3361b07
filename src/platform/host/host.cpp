// SPDX-License-Identifier: MIT
#include "platform/host/host.h"

#include <cstdio>
#include <cstdlib>

#include "platform/host/platform_context.h"

namespace platform {
namespace {
Host* currentHost = nullptr;
}

Host::~Host() {
    ForgetContext(*this);
    if (currentHost == this) currentHost = nullptr;
}

std::vector<DisplayMode> OfferedDisplayModes() {
    return {{640, 480, 8},  {640, 480, 15}, {640, 480, 16},  {640, 480, 24}, {640, 480, 32},
            {800, 600, 16}, {800, 600, 32}, {1024, 768, 16}, {1024, 768, 32}};
}

void SetHost(Host* host) {
    currentHost = host;
}

Host& CurrentHost() {
    if (currentHost == nullptr) {
        std::fputs("platform: no host installed before the first platform call\n", stderr);
        std::abort();
    }
    return *currentHost;
}

}  // namespace platform
