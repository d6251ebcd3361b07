// SPDX-License-Identifier: MIT
#pragma once

// Calls functions at fixed intervals of real time, measured on the high-resolution counter.
// The list runs only when Update is called; time that passed in between is caught up then.

#include <cstdint>
#include <vector>

namespace zelto {

using TimerCallback = void (*)();

struct TimerEntry {
    TimerCallback Callback = nullptr;
    std::int32_t IntervalMs = 0;
    std::int32_t Active = 0;
    std::int64_t LastCount = 0;  // counter value at the last firing or start
};

class TimerList {
public:
    TimerList();
    virtual ~TimerList();

    void AddTimer(TimerCallback callback, std::int32_t intervalMs);
    // Entries are found by their callback: the first one in list order.
    void StartTimer(TimerCallback callback);
    void StopTimer(TimerCallback callback);
    void StartAll();
    // Calls each active entry's callback once for every whole interval since it last fired.
    void Update();

    std::int64_t Frequency = 0;
    std::vector<TimerEntry> Entries;
};

}  // namespace zelto
