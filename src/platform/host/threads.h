// SPDX-License-Identifier: MIT
#pragma once

// Whether this build can start threads of its own. A page built without WebAssembly's threads
// cannot: a thread asked for there fails, and std::async in the web's C++ library then waits
// forever for the task it could not start. Work that would go to a thread is done where it is
// needed instead.

namespace platform {

#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
inline constexpr bool kThreadsAvailable = false;
#else
inline constexpr bool kThreadsAvailable = true;
#endif

}  // namespace platform
