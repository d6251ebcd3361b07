// SPDX-License-Identifier: MIT
#include "platform/sdl/web_page.h"

#include <emscripten.h>

namespace platform::web_page {

namespace {

// The JavaScript bodies are left as written: they are not C++.
// clang-format off
// An asynchronous import: the program's stack is put aside while the promise is pending and
// taken up again when it settles (the build links with Asyncify).
EM_ASYNC_JS(void, AwaitAnimationFrame, (), {
    await new Promise(resolve => {
        let settled = false;
        const settle = () => {
            if (!settled) {
                settled = true;
                resolve();
            }
        };
        requestAnimationFrame(settle);
        setTimeout(settle, 100);
    });
});

EM_JS(void, TellScaling, (int wholeMultiples), {
    if (Module.setWholeMultiples) Module.setWholeMultiples(wholeMultiples != 0);
});

EM_JS(int, Confirm, (const char* caption, const char* text), {
    return confirm(UTF8ToString(caption) + "\n\n" + UTF8ToString(text)) ? 1 : 0;
});

EM_JS(void, TellReport, (const char* caption, const char* text), {
    if (Module.report) Module.report(UTF8ToString(caption), UTF8ToString(text));
});
// clang-format on

}  // namespace

void WaitForAnimationFrame() {
    AwaitAnimationFrame();
}

void SetWholeMultiples(bool wholeMultiples) {
    TellScaling(wholeMultiples ? 1 : 0);
}

bool AskYesNo(const char* caption, const char* text) {
    return Confirm(caption, text) != 0;
}

void Report(const char* caption, const char* text) {
    TellReport(caption, text);
}

}  // namespace platform::web_page
