// SPDX-License-Identifier: MIT
#include "platform/host/platform_context.h"

#include <algorithm>
#include <atomic>
#include <unordered_map>

namespace platform {
namespace {

std::unordered_map<const Host*, std::unique_ptr<PlatformContext>>& Contexts() {
    static std::unordered_map<const Host*, std::unique_ptr<PlatformContext>> contexts;
    return contexts;
}

// Answers for hosts that installed no hooks: nothing is refused, nothing recorded.
class NoFaults final : public FaultHooks {};
NoFaults noFaults;

// Every surface lock asks for its host's fault hooks, so the last context found is kept at hand,
// one per thread: the sound service also asks from the host's audio thread. A context is made
// on the main thread before any device of its host exists and dropped after they are gone, so
// the table itself only changes while no other thread reads it.
// A context dropped makes every thread's kept one stale: a new host may take the old address.
std::atomic<unsigned> contextsDropped{0};
thread_local const Host* lastHost = nullptr;
thread_local PlatformContext* lastContext = nullptr;
thread_local unsigned lastDropCount = 0;

}  // namespace

PlatformContext& ContextOf(const Host& host) {
    const unsigned dropCount = contextsDropped.load(std::memory_order_acquire);
    if (&host == lastHost && dropCount == lastDropCount) return *lastContext;
    std::unique_ptr<PlatformContext>& context = Contexts()[&host];
    if (!context) context = std::make_unique<PlatformContext>();
    lastHost = &host;
    lastContext = context.get();
    lastDropCount = dropCount;
    return *context;
}

PlatformContext& CurrentContext() {
    return ContextOf(CurrentHost());
}

void ForgetContext(const Host& host) {
    auto found = Contexts().find(&host);
    if (found == Contexts().end()) return;
    for (VideoMemoryUser* user : found->second->videoMemoryUsers) user->HostGone();
    Contexts().erase(found);
    contextsDropped.fetch_add(1, std::memory_order_release);
}

void RegisterVideoMemoryUser(const Host& host, VideoMemoryUser* user) {
    ContextOf(host).videoMemoryUsers.push_back(user);
}

void UnregisterVideoMemoryUser(const Host& host, VideoMemoryUser* user) {
    std::erase(ContextOf(host).videoMemoryUsers, user);
}

void LoseVideoMemory(const Host& host) {
    for (VideoMemoryUser* user : ContextOf(host).videoMemoryUsers) user->LoseVideoMemory();
}

FaultHooks& FaultsOf(const Host& host) {
    FaultHooks* hooks = ContextOf(host).faults;
    return hooks != nullptr ? *hooks : noFaults;
}

void InstallFaultHooks(const Host& host, FaultHooks* hooks) {
    ContextOf(host).faults = hooks;
}

}  // namespace platform
