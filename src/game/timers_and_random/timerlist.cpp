// SPDX-License-Identifier: MIT
#include "game/timers_and_random/timerlist.h"

#include "platform/host/clock.h"

namespace zelto {

namespace {

std::int64_t CounterNow() {
    std::int64_t now = 0;
    platform::QueryPerformanceCounter(&now);
    return now;
}

}  // namespace

TimerList::TimerList() {
    platform::QueryPerformanceFrequency(&Frequency);
}

TimerList::~TimerList() = default;

TimerId TimerList::AddTimer(TimerCallback callback, std::int32_t intervalMs) {
    Entries.push_back(TimerEntry{std::move(callback), intervalMs, 0, 0});
    return Entries.size() - 1;
}

void TimerList::StartTimer(TimerId timer) {
    if (timer >= Entries.size()) return;
    Entries[timer].Active = 1;
    Entries[timer].LastCount = CounterNow();
}

void TimerList::StopTimer(TimerId timer) {
    if (timer < Entries.size()) Entries[timer].Active = 0;
}

void TimerList::StartAll() {
    for (TimerId timer = 0; timer < Entries.size(); ++timer) {
        if (Entries[timer].Callback) StartTimer(timer);
    }
}

void TimerList::Update() {
    // Callbacks may add entries; walk by index so the list may grow under the walk.
    for (std::size_t i = 0; i < Entries.size(); ++i) {
        if (Entries[i].Active == 0) continue;
        const std::int64_t now = CounterNow();
        if (Frequency == 0 || Entries[i].IntervalMs <= 0) continue;
        const std::int64_t elapsedMs = (now - Entries[i].LastCount) * 1000 / Frequency;
        const std::int64_t due = elapsedMs / Entries[i].IntervalMs;
        for (std::int64_t n = 0; n < due; ++n) {
            // A copy: an entry the callback adds may move the list, and the one running with it.
            const TimerCallback callback = Entries[i].Callback;
            callback();
            Entries[i].LastCount = now;
        }
    }
}

}  // namespace zelto
