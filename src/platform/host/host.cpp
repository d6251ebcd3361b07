// SPDX-License-Identifier: MIT
#include "host.h"

#include <cstdio>
#include <cstdlib>

#include "platform_context.h"

namespace platform {
namespace {
Host* currentHost = nullptr;
}

Host::~Host() {
    ForgetContext(*this);
    if (currentHost == this) currentHost = nullptr;
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
