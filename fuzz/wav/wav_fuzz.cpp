// SPDX-License-Identifier: MIT
// Feeds arbitrary bytes as a WAV file to CDXSoundBuffer::Load on the fake host: the header at
// its fixed offsets, the data length against the file, the buffer the service makes of it, and
// then playing and mixing whatever was accepted. The first byte picks the number of copies and
// whether the sound loops.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cdx/sound/cdxsound.h"
#include "cdx/sound/cdxsoundbuffer.h"
#include "platform/fake/fake_host.h"

using namespace cdx;

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static const std::string path = "/tmp/wav_fuzz_" + std::to_string(getpid()) + ".wav";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data + 1, 1, size - 1, file);
    std::fclose(file);

    FakeHost host;
    SetHost(&host);
    {
        CDXSound sound;
        sound.Create(reinterpret_cast<HWND>(1));
        CDXSoundBuffer buffer;
        const std::int32_t copies = 1 + data[0] % 3;
        if (buffer.Load(&sound, path.c_str(), copies) == 1) {
            if (!buffer.Copies) std::abort();
            for (std::int32_t i = 0; i < copies; ++i) {
                if (!buffer.Copies[i]) std::abort();
            }
            buffer.Play((data[0] & 0x80) ? DSBPLAY_LOOPING : 0, 0, 0);
            host.AdvanceMilliseconds(20);
            buffer.Play(0, 0, 0);
            host.AdvanceMilliseconds(20);
        } else if (buffer.Copies || buffer.Sound) {
            std::abort();  // a refused file leaves nothing behind
        }
    }
    SetHost(nullptr);
    return 0;
}
