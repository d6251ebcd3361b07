// SPDX-License-Identifier: MIT
#include "processor_levels.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/host/processor_features.h"

namespace bench {

namespace {

// Under node, WebAssembly's standard output is its runtime's own terminal device whatever the
// real one is: the rows stay plain there, so a piped or saved run holds no colour codes.
bool ColouredConsole() {
#ifdef __EMSCRIPTEN__
    return false;
#else
    return isatty(fileno(stdout)) != 0;
#endif
}

// The console's rows, each name ending in the level it ran at.
class LevelNamingReporter : public benchmark::ConsoleReporter {
public:
    // Coloured on a terminal only, as the library's own console.
    LevelNamingReporter() : ConsoleReporter(ColouredConsole() ? OO_ColorTabular : OO_Tabular) {}
    void SetLevel(platform::ProcessorLevel level) {
        suffix_ = std::string("@") + platform::ProcessorLevelName(level);
    }
    void ReportRuns(const std::vector<Run>& reports) override {
        std::vector<Run> named = reports;
        for (Run& run : named) run.run_name.function_name += suffix_;
        ConsoleReporter::ReportRuns(named);
    }

private:
    std::string suffix_;
};

}  // namespace

void RunAtEveryProcessorLevel() {
    LevelNamingReporter reporter;
    const int highest = static_cast<int>(platform::ProcessorLevelInUse());
    for (int level = highest; level >= 0; --level) {
        const auto capped = static_cast<platform::ProcessorLevel>(level);
        platform::CapProcessorLevel(capped);
        reporter.SetLevel(capped);
        benchmark::RunSpecifiedBenchmarks(&reporter);
    }
    platform::CapProcessorLevel(std::nullopt);
}

}  // namespace bench
