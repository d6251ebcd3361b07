// SPDX-License-Identifier: MIT
#include "timerlist.h"

#include "clock.h"

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

void TimerList::AddTimer(TimerCallback callback, std::int32_t intervalMs) {
    Entries.push_back(TimerEntry{callback, intervalMs, 0, 0});
}

void TimerList::StartTimer(TimerCallback callback) {
    for (TimerEntry& entry : Entries) {
        if (entry.Callback == callback) {
            entry.Active = 1;
            entry.LastCount = CounterNow();
            return;
        }
    }
}

void TimerList::StopTimer(TimerCallback callback) {
    for (TimerEntry& entry : Entries) {
        if (entry.Callback == callback) {
            entry.Active = 0;
            return;
        }
    }
}

void TimerList::StartAll() {
    for (const TimerEntry& entry : Entries) {
        if (entry.Callback != nullptr) StartTimer(entry.Callback);
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
            Entries[i].Callback();
            Entries[i].LastCount = now;
        }
    }
}

}  // namespace zelto
