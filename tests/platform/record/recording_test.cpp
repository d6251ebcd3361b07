// SPDX-License-Identifier: MIT
// Recordings on their own: the recording host's order of questions as the replay holds it, and
// the reader's refusals of what is no recording.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/fake/fake_host.h"
#include "platform/host/scan_codes.h"
#include "platform/record/loaded_recording.h"
#include "platform/record/recording_encoder.h"
#include "platform/record/recording_file.h"
#include "platform/record/recording_host.h"
#include "platform/record/replay_host.h"

using namespace platform;

namespace {

using Kind = ReplayHost::Outcome::Kind;

RecordingHeader TestHeader() {
    RecordingHeader header;
    header.programVersion = "test";
    header.conditions = {{"option.window", "no"}, {"option.sensitivity", "1"}};
    return header;
}

TEST(RecordingHostTest, AProgramAskingOutOfOrderIsStoppedAndAskedToClose) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("zelto-order-" + std::to_string(::getpid())))
            .string();
    std::uint8_t keys[256] = {};
    std::uint16_t pixels[4] = {1, 2, 3, 4};
    PresentedPicture picture;
    picture.pixels = reinterpret_cast<const std::uint8_t*>(pixels);
    picture.width = 2;
    picture.height = 2;
    picture.pitch = 4;
    picture.format.dwRGBBitCount = 16;
    {
        FakeHost machine;
        machine.SetKey(platform::kScanSpace, true);
        RecordingHost recorder(machine);
        std::string problem;
        ASSERT_TRUE(recorder.Start(path, TestHeader(), problem));
        recorder.Present(picture);
        recorder.ReadKeyboard(keys);
        recorder.WindowInFront();
        ASSERT_TRUE(recorder.Finish(problem));
    }
    std::string problem;
    const auto recording = LoadedRecording::Load(path, problem);
    std::filesystem::remove(path);
    ASSERT_TRUE(recording) << problem;

    FakeHost machine;
    ReplayHost replay(machine, *recording, ReplayHost::Pace::Unpaced);
    replay.Present(picture);
    EXPECT_TRUE(replay.ReadKeyboard(keys));
    EXPECT_EQ(keys[platform::kScanSpace], 0x80);
    // Asked for the clock where the window's front was recorded.
    replay.Milliseconds();
    EXPECT_EQ(replay.Result().kind, Kind::Differed);
    EXPECT_EQ(replay.Result().frame, 2u);
    EXPECT_EQ(replay.Result().what,
              "the program asked for the millisecond clock where the recording holds whether the "
              "window is in front");
    // From then on a quiet machine that asks the program, once, to close.
    EXPECT_TRUE(replay.ReadKeyboard(keys));
    EXPECT_EQ(keys[platform::kScanSpace], 0);
    std::vector<HostEvent> events;
    replay.PollEvents(events);
    replay.PollEvents(events);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, HostEvent::Kind::CloseRequested);
}

TEST(RecordingReaderTest, RefusesWhatIsNoRecordingSayingWhy) {
    const std::vector<std::uint8_t> header = RecordingEncoder::Header(TestHeader());
    const auto with = [&](std::size_t at, std::vector<std::uint8_t> bytes) {
        std::vector<std::uint8_t> changed(header.begin(),
                                          header.begin() + static_cast<std::ptrdiff_t>(at));
        changed.insert(changed.end(), bytes.begin(), bytes.end());
        return changed;
    };
    std::vector<std::uint8_t> afterEnd = header;
    // An empty zlib stream, then a byte more.
    for (std::uint8_t byte : {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00}) {
        afterEnd.push_back(byte);
    }
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* problem;
    };
    const Case cases[] = {
        {{'B', 'M', 0, 0}, "cannot be read: not a recording of this program"},
        {with(8, {2}), "cannot be read: format version 2, this program reads version 1"},
        {with(9, {0x80, 0x80, 0x80, 0x80, 0x80, 0x01}), "cannot be read: too many bytes in a text"},
        {with(9, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
         "cannot be read: a number too large"},
        {with(header.size(), {0x78, 0x9C, 0xFF, 0xFF, 0xFF}),
         "is damaged: its entries cannot be inflated past byte 3 of them"},
        {afterEnd, "is damaged: bytes follow its entries"},
        {with(9, {}), "is cut short within its header"},
    };
    for (const Case& test : cases) {
        std::string problem;
        EXPECT_FALSE(LoadedRecording::Parse(test.bytes, problem)) << test.problem;
        EXPECT_EQ(problem, test.problem);
    }
    std::string problem;
    // A megabyte of one-byte clock readings squeezed into a few kilobytes: a bomb.
    const std::string bomb =
        (std::filesystem::temp_directory_path() / ("zelto-bomb-" + std::to_string(::getpid())))
            .string();
    {
        RecordingFile file;
        ASSERT_TRUE(file.Open(bomb, header, problem));
        file.Append(std::vector<std::uint8_t>(
            1024 * 1024, static_cast<std::uint8_t>(EntryKind::Counter) | kEntryUnchanged));
        ASSERT_TRUE(file.Finish(problem));
    }
    EXPECT_FALSE(LoadedRecording::Load(bomb, problem));
    EXPECT_EQ(problem,
              "the recording '" + bomb + "' inflates to more than a recording of its size holds");
    std::filesystem::remove(bomb);
    EXPECT_FALSE(LoadedRecording::Load("/no/such/recording.zrec", problem));
    EXPECT_EQ(problem,
              "cannot open the recording '/no/such/recording.zrec' (missing, or not a file)");
    EXPECT_FALSE(LoadedRecording::Load("/", problem));
}

}  // namespace
