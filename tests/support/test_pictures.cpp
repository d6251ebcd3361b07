// SPDX-License-Identifier: MIT
#include "test_pictures.h"

#include <algorithm>
#include <fstream>
#include <random>

using namespace platform;

namespace testpictures {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
void PutBig16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}
void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutBig16(out, value >> 16);
    PutBig16(out, value & 0xFFFF);
}

}  // namespace

std::vector<std::uint8_t> MakeBmp24(int width, int height, Rgb (*colour)(int x, int y)) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + rowBytes * height);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            out.push_back(c.blue);
            out.push_back(c.green);
            out.push_back(c.red);
        }
        for (int pad = width * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

std::vector<std::uint8_t> MakeBmp(const BmpFields& fields, const std::vector<std::uint8_t>& data) {
    const std::uint32_t colours = fields.bits <= 8 ? 1u << fields.bits : 0u;
    const std::uint32_t pixelOffset = 54 + colours * 4;
    std::vector<std::uint8_t> out{'B', 'M'};
    Put32(out, pixelOffset + static_cast<std::uint32_t>(data.size()));
    Put32(out, 0);
    Put32(out, pixelOffset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(fields.width));
    Put32(out, static_cast<std::uint32_t>(fields.height));
    Put16(out, 1);
    Put16(out, fields.bits);
    Put32(out, fields.compression);
    for (int i = 0; i < 5; ++i) Put32(out, 0);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const auto grey = static_cast<std::uint8_t>(i * 255 / std::max(colours - 1, 1u));
        out.insert(out.end(), {grey, grey, grey, 0});
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<std::uint8_t> MakePsd(const PsdFields& fields, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out{'8', 'B', 'P', 'S'};
    PutBig16(out, fields.version);
    out.insert(out.end(), 6, 0);
    PutBig16(out, fields.channels);
    PutBig32(out, fields.height);
    PutBig32(out, fields.width);
    PutBig16(out, fields.bits);
    PutBig16(out, fields.mode);
    PutBig32(out, 0);  // colour mode data
    PutBig32(out, 4);  // image resources, with four bytes to skip
    PutBig32(out, 0xDEADBEEF);
    PutBig32(out, 0);  // layer and mask information
    PutBig16(out, fields.compression);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

ScratchFolder::ScratchFolder() {
    std::random_device entropy;
    folder_ = std::filesystem::temp_directory_path() /
              ("zelto-sprites-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(folder_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string ScratchFolder::Write(const std::string& name,
                                 const std::vector<std::uint8_t>& bytes) const {
    const std::filesystem::path path = Path(name);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

void ScreenTest::SetUp() {
    SetHost(&host);
    host.SetRowPadding(6);
    screen = std::make_unique<CDXScreen>();
    ASSERT_EQ(screen->CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, 16, 0), 1);
    screen->Back->Fill(0);
}

void ScreenTest::TearDown() {
    screen.reset();
}

std::uint32_t ScreenTest::PixelOf(CDXSurface& surface, int x, int y) {
    EXPECT_EQ(surface.Lock(), DD_OK);
    const std::uint32_t value = surface.GetPixel(x, y);
    surface.Unlock();
    return value;
}

void ScreenTest::FillColumns(CDXSurface& surface, std::uint32_t (*value)(int column)) {
    for (int column = 0; column < surface.PixelWidth; ++column) {
        surface.FillRect(column, 0, column + 1, surface.PixelHeight, value(column));
    }
}

}  // namespace testpictures
