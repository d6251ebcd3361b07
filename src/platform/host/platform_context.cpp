#include "platform_context.h"

#include <algorithm>
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

}  // namespace

PlatformContext& ContextOf(const Host& host) {
    std::unique_ptr<PlatformContext>& context = Contexts()[&host];
    if (!context) context = std::make_unique<PlatformContext>();
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
