// SPDX-License-Identifier: MIT
#pragma once

// Calls functions at fixed intervals of real time, measured on the high-resolution counter.
// The list runs only when Update is called; time that passed in between is caught up then.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace zelto {

using TimerCallback = std::function<void()>;
// An entry's place in the list, as AddTimer gives it.
using TimerId = std::size_t;

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

    TimerId AddTimer(TimerCallback callback, std::int32_t intervalMs);
    // An id the list did not give is ignored.
    void StartTimer(TimerId timer);
    void StopTimer(TimerId timer);
    void StartAll();
    // Calls each active entry's callback once for every whole interval since it last fired.
    void Update();

    std::int64_t Frequency = 0;
    std::vector<TimerEntry> Entries;
};

}  // namespace zelto
