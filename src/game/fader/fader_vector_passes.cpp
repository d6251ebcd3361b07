// SPDX-License-Identifier: MIT
#include "fader_vector_passes.h"

#include "fader_vector_walk.h"
#include "processor_features.h"

namespace zelto {

bool FaderAvx2StepsAvailable() {
#if defined(ZELTO_FADER_AVX2)
    return platform::ProcessorHasAvx2();
#else
    return false;
#endif
}

int DarkenRows(FaderSteps steps, const FaderFields& fields, const FaderLaneLevel& level,
               FaderPicture source, FaderPicture work, int columns, int rows) {
    switch (steps) {
        case FaderSteps::Plain:
            return 0;
        case FaderSteps::Sse2:
            return DarkenRowsWith<Sse2Lanes, Sse2Lanes>(fields, level, source, work, columns, rows);
        case FaderSteps::Avx2:
#if defined(ZELTO_FADER_AVX2)
            return DarkenRowsAvx2(fields, level, source, work, columns, rows);
#else
            return 0;
#endif
    }
    return 0;
}

int MixRows(FaderSteps steps, const FaderFields& fields, const FaderLaneLevel& newerLevel,
            const FaderLaneLevel& olderLevel, FaderPicture older, FaderPicture newer,
            FaderPicture work, int columns, int rows) {
    switch (steps) {
        case FaderSteps::Plain:
            return 0;
        case FaderSteps::Sse2:
            return MixRowsWith<Sse2Lanes, Sse2Lanes>(fields, newerLevel, olderLevel, older, newer,
                                                     work, columns, rows);
        case FaderSteps::Avx2:
#if defined(ZELTO_FADER_AVX2)
            return MixRowsAvx2(fields, newerLevel, olderLevel, older, newer, work, columns, rows);
#else
            return 0;
#endif
    }
    return 0;
}

}  // namespace zelto
