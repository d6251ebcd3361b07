// SPDX-License-Identifier: MIT
// The map model on the fake host's display: loading and its refusals, the view rules, block
// surfaces and their colour key, scrolling, drawing checked pixel by pixel against a picture of
// the world composed straight from the file's description, and restoring lost blocks.

#include "map/fmpmap.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "cdx/surface/cdxscreen.h"
#include "fmp_builder.h"
#include "map/view_walk.h"
#include "platform/fake/fake_host.h"

using namespace cdx;

using namespace platform;
using namespace maptest;

namespace {

// A map whose every pixel tells where it is: graphic g's pixel (x, y) is a 16-bit value made
// from g, x and y. Block record k shows graphic k % graphics; some cells are animated.
MapDescription WorldMap(int mapWidth, int mapHeight, int blockWidth, int blockHeight) {
    MapDescription map;
    map.mapWidth = static_cast<std::int16_t>(mapWidth);
    map.mapHeight = static_cast<std::int16_t>(mapHeight);
    map.blockWidth = static_cast<std::int16_t>(blockWidth);
    map.blockHeight = static_cast<std::int16_t>(blockHeight);
    map.depth = 16;
    for (int g = 0; g < 11; ++g) {
        Bytes graphic;
        for (int y = 0; y < blockHeight; ++y) {
            for (int x = 0; x < blockWidth; ++x) {
                const int value = (g * 4099 + x * 67 + y * 1031 + 1) & 0xFFFF;
                graphic.push_back(std::uint8_t(value >> 8));
                graphic.push_back(std::uint8_t(value));
            }
        }
        map.graphics.push_back(graphic);
    }
    for (int k = 0; k < 14; ++k) map.blockGraphics.push_back(k % 11);
    map.animations = {{{3, 4, 5}, 2}, {{12, 0}, 0}};
    for (int i = 0; i < mapWidth * mapHeight; ++i) {
        if (i % 17 == 5) {
            map.cells.push_back(MapDescription::AnimatedCell(i % 2));
        } else {
            map.cells.push_back(MapDescription::BlockCell((i * 7 + i / mapWidth) % 14));
        }
    }
    return map;
}

// The world's pixel at (x, y), composed from the description, not from the loaded map.
std::uint32_t WorldPixel(const MapDescription& map, int x, int y) {
    const std::int16_t cell = map.cells[(y / map.blockHeight) * map.mapWidth + x / map.blockWidth];
    int record = cell / 32;
    if (cell < 0) {
        const auto& animation = map.animations[-cell / 16 - 1];
        record = animation.frames[animation.current];
    }
    const Bytes& graphic = map.graphics[map.blockGraphics[record]];
    const std::size_t at = 2 * ((y % map.blockHeight) * map.blockWidth + x % map.blockWidth);
    return (graphic[at] << 8) | graphic[at + 1];
}

class MapTest : public ::testing::Test {
protected:
    void SetUp() override { SetHost(&host); }

    void OpenScreen(int depth) {
        screen = std::make_unique<CDXScreen>();
        ASSERT_EQ(screen->CreateFullScreen(reinterpret_cast<HWND>(1), 640, 480, depth, 0), 1);
    }

    std::int32_t CreateMap(const Bytes& file, int viewX = 0, int viewY = 0, int viewWidth = 500,
                           int viewHeight = 480) {
        const std::string path =
            WriteTempFile(::testing::UnitTest::GetInstance()->current_test_info()->name(), file);
        return map.Create(screen.get(), path.c_str(), viewX, viewY, viewWidth, viewHeight);
    }

    std::uint32_t BackPixel(int x, int y) {
        EXPECT_EQ(screen->Back->Lock(), DD_OK);
        const std::uint32_t value = screen->Back->GetPixel(x, y);
        screen->Back->Unlock();
        return value;
    }

    // Compares the whole back buffer: the view shows the world at the scroll position, every
    // other pixel still holds outside.
    ::testing::AssertionResult ViewShowsWorld(const MapDescription& world, std::uint32_t outside) {
        CDXSurface& back = *screen->Back;
        if (back.Lock() != DD_OK) return ::testing::AssertionFailure() << "lock";
        for (int y = 0; y < back.PixelHeight; ++y) {
            for (int x = 0; x < back.PixelWidth; ++x) {
                const bool inView = x >= map.ViewX && x < map.ViewX + map.ViewWidth &&
                                    y >= map.ViewY && y < map.ViewY + map.ViewHeight;
                const std::uint32_t expected = inView
                                                   ? WorldPixel(world, map.ScrollX + x - map.ViewX,
                                                                map.ScrollY + y - map.ViewY)
                                                   : outside;
                const std::uint32_t got = back.GetPixel(x, y);
                if (got != expected) {
                    back.Unlock();
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << ", " << y << ") is " << got << ", not " << expected
                           << " at scroll (" << map.ScrollX << ", " << map.ScrollY << ")";
                }
            }
        }
        back.Unlock();
        return ::testing::AssertionSuccess();
    }

    // Draws the view onto dest block by block with the display service's copies, then with
    // Draw, each time from the same bytes: both must answer alike and leave the same bytes,
    // row padding included.
    ::testing::AssertionResult DrawsAsTheBlockCopies(CDXSurface& dest) {
        DisplaySurface& target = *dest.Surface;
        const std::size_t size = static_cast<std::size_t>(target.pitch()) * target.height();
        if (start.size() != size) {
            start.resize(size);
            for (std::size_t i = 0; i < size; ++i) start[i] = static_cast<std::uint8_t>(i * 7 + 3);
        }
        std::copy(start.begin(), start.end(), target.pixels());
        const std::int32_t expectedResult = map.DrawBlockByBlock(&dest);
        expected.assign(target.pixels(), target.pixels() + size);
        std::copy(start.begin(), start.end(), target.pixels());
        const std::int32_t result = map.Draw(&dest);
        const auto where = [&] {
            return ::testing::Message()
                   << " (view " << map.ViewX << ", " << map.ViewY << ", " << map.ViewWidth << " x "
                   << map.ViewHeight << ", scroll " << map.ScrollX << ", " << map.ScrollY
                   << ", block " << map.BlockWidth << " x " << map.BlockHeight << ", "
                   << target.bytesPerPixel() << " bytes a pixel)";
        };
        if (result != expectedResult) {
            return ::testing::AssertionFailure()
                   << "Draw answers " << result << ", the block copies " << expectedResult
                   << where();
        }
        const auto differing = std::mismatch(expected.begin(), expected.end(), target.pixels());
        if (differing.first == expected.end()) return ::testing::AssertionSuccess();
        const auto at = static_cast<std::size_t>(differing.first - expected.begin());
        return ::testing::AssertionFailure()
               << "byte " << at % target.pitch() << " of row " << at / target.pitch() << " is "
               << int(*differing.second) << ", not " << int(*differing.first) << where();
    }

    FakeHost host;
    std::unique_ptr<CDXScreen> screen;
    FmpMap map;
    // The bytes each comparison starts from and the ones the block copies left, kept between
    // comparisons.
    std::vector<std::uint8_t> start;
    std::vector<std::uint8_t> expected;
};

std::uint32_t KeyOf(DisplaySurface& surface) {
    DDCOLORKEY key;
    EXPECT_EQ(surface.GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    return key.dwColorSpaceLowValue;
}

}  // namespace

TEST_F(MapTest, ConstructionSetsTheDefaults) {
    EXPECT_EQ(map.ViewWidth, 320);
    EXPECT_EQ(map.ViewHeight, 200);
    EXPECT_EQ(map.KeyRed, 255u);
    EXPECT_EQ(map.KeyGreen, 0u);
    EXPECT_EQ(map.KeyBlue, 255u);
    EXPECT_EQ(map.KeyIndex, 0u);
    EXPECT_EQ(map.LastError, 0);
    EXPECT_FALSE(map.BlockSurfaces[0]);
}

TEST_F(MapTest, TransparentColorSplitsIntoChannelsAndIndex) {
    map.SetTransparentColor(0x00FF8040);
    EXPECT_EQ(map.KeyRed, 255u);
    EXPECT_EQ(map.KeyGreen, 128u);
    EXPECT_EQ(map.KeyBlue, 64u);
    EXPECT_EQ(map.KeyIndex, 64u);
}

TEST_F(MapTest, ViewIsClampedToTheMapThenToThreeBlocks) {
    OpenScreen(16);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(40, 30, 32, 32))), 0);
    EXPECT_EQ(map.ViewWidth, 500);
    EXPECT_EQ(map.ViewHeight, 480);
    EXPECT_EQ(map.BlockWidth, 32);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(10, 10, 32, 32))), 0);
    EXPECT_EQ(map.ViewWidth, 320);
    EXPECT_EQ(map.ViewHeight, 320);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(40, 30, 32, 32)), 0, 0, 50, 50), 0);
    EXPECT_EQ(map.ViewWidth, 96);
    EXPECT_EQ(map.ViewHeight, 96);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(2, 30, 32, 32))), 0);
    EXPECT_EQ(map.ViewWidth, 96);
    EXPECT_EQ(map.ViewHeight, 480);
}

TEST_F(MapTest, CreateHandsThePaletteToTheScreen) {
    OpenScreen(16);
    MapDescription world = WorldMap(4, 4, 8, 8);
    world.colorMap[3 * 200] = 11;
    world.colorMap[3 * 200 + 1] = 22;
    world.colorMap[3 * 200 + 2] = 33;
    ASSERT_EQ(CreateMap(MapFile(world)), 0);
    const PALETTEENTRY& entry = screen->Palette->Entries()[200];
    EXPECT_EQ(entry.peRed, 11);
    EXPECT_EQ(entry.peGreen, 22);
    EXPECT_EQ(entry.peBlue, 33);
}

TEST_F(MapTest, LoadFailuresAreReportedAndLeaveAnEmptyMap) {
    OpenScreen(16);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(4, 4, 8, 8))), 0);
    ASSERT_TRUE(map.BlockSurfaces[10]);
    EXPECT_FALSE(map.BlockSurfaces[11]);

    // Nothing but a regular file is opened: not a folder, whose reported length would be asked
    // for, nor a device that never ends, nor a FIFO without a writer, whose plain open waits
    // for one (last, since that wait is how a reader that opens it fails).
    const auto scratch = std::filesystem::temp_directory_path() /
                         ("zelto-map-test-" + std::to_string(getpid()) + "-not-regular");
    const std::string folder = scratch / "folder.fmp";
    const std::string fifo = scratch / "fifo.fmp";
    std::filesystem::remove_all(scratch);
    ASSERT_TRUE(std::filesystem::create_directories(folder));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& name :
         {std::string("/nonexistent/ZELTO.FMP"), folder, std::string("/dev/zero"), fifo}) {
        ASSERT_EQ(CreateMap(MapFile(WorldMap(4, 4, 8, 8))), 0);
        EXPECT_EQ(map.Create(screen.get(), name.c_str(), 0, 0, 500, 480), -1) << name;
        EXPECT_EQ(map.LastError, kFmpCannotOpen) << name;
        EXPECT_FALSE(map.BlockSurfaces[0]) << name;
        EXPECT_EQ(map.ViewWidth, 500) << name;  // the view keeps what was given
    }
    std::filesystem::remove_all(scratch);

    ASSERT_EQ(CreateMap(MapFile(WorldMap(4, 4, 8, 8))), 0);
    EXPECT_EQ(CreateMap(Form({})), -1);
    EXPECT_EQ(map.LastError, kFmpBadFile);
    EXPECT_FALSE(map.BlockSurfaces[0]);
    EXPECT_TRUE(map.File.Graphics.empty());
    EXPECT_EQ(map.Draw(screen->Back), -1);

    EXPECT_EQ(CreateMap(Form(MapChunks(WorldMap(4, 4, 8, 8)), -1)), -1);
    EXPECT_EQ(map.LastError, kFmpBadFile);
}

TEST_F(MapTest, BlockSurfacesThatCannotBeMadeFailTheBuild) {
    OpenScreen(16);
    int made = 0;
    host.SetSurfaceCreationRule([&](const SurfaceRequest& request) {
        return request.width == 8 && ++made > 5 ? DDERR_OUTOFVIDEOMEMORY : DD_OK;
    });
    EXPECT_EQ(CreateMap(MapFile(WorldMap(4, 4, 8, 8))), -1);
    EXPECT_EQ(map.LastError, kFmpNoError);
    EXPECT_FALSE(map.BlockSurfaces[0]);
    EXPECT_TRUE(map.File.Graphics.empty());
}

TEST_F(MapTest, ALockThatFailsFailsTheBuild) {
    OpenScreen(16);
    host.RefuseLocks(1, DDERR_SURFACEBUSY);
    EXPECT_EQ(CreateMap(MapFile(WorldMap(4, 4, 8, 8))), -1);
    EXPECT_EQ(map.LastError, kFmpNoError);
    EXPECT_FALSE(map.BlockSurfaces[0]);
}

TEST_F(MapTest, UnloadIsSafeTwiceAndOnANeverLoadedMap) {
    map.Unload();
    map.Destroy();
    OpenScreen(16);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(4, 4, 8, 8))), 0);
    map.Unload();
    map.Unload();
    EXPECT_FALSE(map.BlockSurfaces[0]);
    EXPECT_EQ(map.File.Header.MapWidth, 4);  // the header stays
}

TEST_F(MapTest, BlockSurfacesGetTheColourKeyInTheDisplaysFormat) {
    OpenScreen(16);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(4, 4, 8, 8))), 0);
    EXPECT_EQ(KeyOf(*map.BlockSurfaces[0]), 0xF81Fu);
    EXPECT_EQ(KeyOf(*map.BlockSurfaces[10]), 0xF81Fu);
    map.SetTransparentColor(0);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(4, 4, 8, 8))), 0);
    EXPECT_EQ(KeyOf(*map.BlockSurfaces[3]), 0u);

    OpenScreen(15);
    map.SetTransparentColor(0xFF00FF);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(4, 4, 8, 8))), 0);
    EXPECT_EQ(KeyOf(*map.BlockSurfaces[0]), 0x7C1Fu);
}

TEST_F(MapTest, UnsupportedBlockDepthFailsTheLoad) {
    OpenScreen(16);
    MapDescription world = WorldMap(4, 4, 8, 8);
    world.depth = 12;
    EXPECT_EQ(CreateMap(MapFile(world)), -1);
    EXPECT_FALSE(map.BlockSurfaces[0]);
}

TEST_F(MapTest, ScrollingStopsOnePixelShortOfTheMapsEdge) {
    OpenScreen(16);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(40, 30, 32, 32))), 0);
    map.SetScrollPosition(-5, 10000);
    EXPECT_EQ(map.ScrollX, 0);
    EXPECT_EQ(map.ScrollY, 479);
    map.SetScrollPosition(100000, -1);
    EXPECT_EQ(map.ScrollX, 779);
    EXPECT_EQ(map.ScrollY, 0);
    map.SetScrollPosition(321, 123);
    EXPECT_EQ(map.ScrollX, 321);
    EXPECT_EQ(map.ScrollY, 123);

    ASSERT_EQ(CreateMap(MapFile(WorldMap(10, 30, 32, 32))), 0);  // 320 wide, view 320
    map.SetScrollPosition(50, 50);
    EXPECT_EQ(map.ScrollX, 0);
    EXPECT_EQ(map.ScrollY, 50);
}

TEST(ViewWalk, BorderGeometryAtTheMapsCorner) {
    std::vector<BlockCopy> copies;
    WalkView(ViewGeometry{32, 32, 0, 0, 500, 480, 0, 0}, [&](const BlockCopy& copy) {
        copies.push_back(copy);
        return true;
    });
    ASSERT_FALSE(copies.empty());
    const BlockCopy& first = copies.front();
    EXPECT_EQ(first.Column, 0);
    EXPECT_EQ(first.Row, 0);
    EXPECT_EQ(first.Right - first.Left, 32);
    EXPECT_EQ(first.Bottom - first.Top, 32);
    for (const BlockCopy& copy : copies) {
        if (copy.X + (copy.Right - copy.Left) == 500) {  // the right column
            EXPECT_EQ(copy.X, 480);
            EXPECT_EQ(copy.Right - copy.Left, 20);
            EXPECT_EQ(copy.Column, 15);
        }
        if (copy.Y + (copy.Bottom - copy.Top) == 480) {  // the bottom row
            EXPECT_EQ(copy.Y, 448);
            EXPECT_EQ(copy.Bottom - copy.Top, 32);
            EXPECT_EQ(copy.Row, 14);
        }
    }
}

TEST(ViewWalk, LeftColumnShowsTheRightPartOfItsBlocks) {
    std::vector<BlockCopy> copies;
    WalkView(ViewGeometry{32, 32, 0, 0, 500, 480, 40, 77}, [&](const BlockCopy& copy) {
        copies.push_back(copy);
        return true;
    });
    for (const BlockCopy& copy : copies) {
        if (copy.Column == 0) {
            EXPECT_EQ(copy.Left, 8);
            EXPECT_EQ(copy.Right, 32);
            EXPECT_EQ(copy.X, 0);
        }
        if (copy.Column == 1) {
            EXPECT_EQ(copy.X, 24);
        }
        if (copy.Row == 0) {
            EXPECT_EQ(copy.Top, 13);
            EXPECT_EQ(copy.Y, 0);
        }
    }
}

// The border comes first, clockwise from the top-left corner, then the inside row by row, and
// together the copies cover every pixel of the view exactly once.
TEST(ViewWalk, CopiesCoverTheViewExactlyOnceBorderFirst) {
    const ViewGeometry views[] = {
        {32, 32, 0, 0, 500, 480, 0, 0},    {32, 32, 0, 0, 500, 480, 40, 17},
        {24, 16, 70, 0, 500, 480, 31, 15}, {7, 5, 3, 9, 21, 15, 6, 4},
        {16, 16, 0, 0, 96, 96, 15, 15},    {10, 40, 5, 5, 117, 121, 999, 1001},
    };
    for (const ViewGeometry& view : views) {
        std::vector<int> covered(static_cast<std::size_t>(view.ViewWidth * view.ViewHeight), 0);
        bool insideStarted = false;
        int cornerChanges = 0;
        int lastDirection = 0;
        BlockCopy previous;
        bool first = true;
        WalkView(view, [&](const BlockCopy& copy) {
            EXPECT_GE(copy.Left, 0);
            EXPECT_GE(copy.Top, 0);
            EXPECT_LE(copy.Right, view.BlockWidth);
            EXPECT_LE(copy.Bottom, view.BlockHeight);
            EXPECT_LT(copy.Left, copy.Right);
            EXPECT_LT(copy.Top, copy.Bottom);
            // The part copied is the part of the cell's block that lies under the view.
            const int worldX = view.ScrollX - view.ScrollX % view.BlockWidth +
                               copy.Column * view.BlockWidth + copy.Left;
            const int worldY = view.ScrollY - view.ScrollY % view.BlockHeight +
                               copy.Row * view.BlockHeight + copy.Top;
            EXPECT_EQ(worldX - view.ScrollX, copy.X - view.ViewX);
            EXPECT_EQ(worldY - view.ScrollY, copy.Y - view.ViewY);
            for (int y = copy.Y; y < copy.Y + copy.Bottom - copy.Top; ++y) {
                for (int x = copy.X; x < copy.X + copy.Right - copy.Left; ++x) {
                    ++covered[(y - view.ViewY) * view.ViewWidth + (x - view.ViewX)];
                }
            }
            if (copy.Inner) insideStarted = true;
            EXPECT_TRUE(copy.Inner || !insideStarted) << "a border copy after the inside";
            // Clockwise: each border step moves one cell down, right, up or left, in that
            // order, turning at the corners only.
            if (!first && !copy.Inner) {
                EXPECT_EQ(
                    std::abs(copy.Column - previous.Column) + std::abs(copy.Row - previous.Row), 1);
                const int direction = (copy.Row > previous.Row)         ? 0
                                      : (copy.Column > previous.Column) ? 1
                                      : (copy.Row < previous.Row)       ? 2
                                                                        : 3;
                EXPECT_GE(direction, lastDirection);
                if (direction != lastDirection) ++cornerChanges;
                lastDirection = direction;
            }
            previous = copy;
            first = false;
            return true;
        });
        EXPECT_EQ(cornerChanges, 3) << "down, right, up, left";
        for (std::size_t i = 0; i < covered.size(); ++i) {
            ASSERT_EQ(covered[i], 1)
                << "pixel " << i % view.ViewWidth << ", " << i / view.ViewWidth << " of a "
                << view.ViewWidth << " x " << view.ViewHeight << " view";
        }
    }
}

TEST(ViewWalk, AFailedInnerCopyEndsTheWalkButBorderFailuresDoNot) {
    int border = 0;
    int inner = 0;
    const bool finished =
        WalkView(ViewGeometry{32, 32, 0, 0, 500, 480, 0, 0}, [&](const BlockCopy& copy) {
            (copy.Inner ? inner : border)++;
            return !copy.Inner ? false : inner < 3;
        });
    EXPECT_FALSE(finished);
    EXPECT_EQ(border, 2 * 16 + 2 * 15 - 4);
    EXPECT_EQ(inner, 3);
}

TEST_F(MapTest, ViewShowsTheWorldAtEveryScrollPositionOnAPaddedPitch) {
    host.SetRowPadding(10);
    OpenScreen(16);
    const MapDescription world = WorldMap(30, 40, 24, 16);  // 720 x 640 pixels
    ASSERT_EQ(CreateMap(MapFile(world), 70, 0, 500, 480), 0);
    const int positions[][2] = {{0, 0},    {1, 1},    {23, 15},     {24, 16},   {25, 17},
                                {40, 100}, {111, 77}, {219, 159},   {100, 5},   {5, 100},
                                {1000, 0}, {0, 1000}, {1000, 1000}, {218, 158}, {47, 31}};
    for (const auto& position : positions) {
        screen->Back->Fill(0x1234);
        map.SetScrollPosition(position[0], position[1]);
        ASSERT_EQ(map.Draw(screen->Back), 0);
        ASSERT_TRUE(ViewShowsWorld(world, 0x1234));
    }
}

TEST_F(MapTest, AViewCrossingTheSurfacesEdgeIsCutThere) {
    OpenScreen(16);
    const MapDescription world = WorldMap(40, 40, 16, 16);
    ASSERT_EQ(CreateMap(MapFile(world), 300, 200, 500, 480), 0);
    map.SetScrollPosition(37, 21);
    screen->Back->Fill(0x4321);
    EXPECT_EQ(map.Draw(screen->Back), 0);
    EXPECT_EQ(BackPixel(299, 200), 0x4321u);
    EXPECT_EQ(BackPixel(300, 199), 0x4321u);
    EXPECT_EQ(BackPixel(300, 200), WorldPixel(world, 37, 21));
    EXPECT_EQ(BackPixel(639, 479), WorldPixel(world, 37 + 339, 21 + 279));

    map.ViewX = -13;  // placed partly left of the surface
    map.ViewY = -7;
    EXPECT_EQ(map.Draw(screen->Back), 0);
    EXPECT_EQ(BackPixel(0, 0), WorldPixel(world, 37 + 13, 21 + 7));
    EXPECT_EQ(BackPixel(486, 472), WorldPixel(world, 37 + 499, 21 + 479));
}

TEST_F(MapTest, AnimatedCellsShowTheirCurrentFrameOnEveryDraw) {
    OpenScreen(16);
    MapDescription world = WorldMap(8, 8, 4, 4);
    world.cells[9] = MapDescription::AnimatedCell(0);  // frames {3, 4, 5}, current 2: record 5
    ASSERT_EQ(CreateMap(MapFile(world)), 0);
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_EQ(map.Draw(screen->Back), 0);
        EXPECT_EQ(BackPixel(4, 4), WorldPixel(world, 4, 4));
        EXPECT_EQ(BackPixel(4, 4), (5 * 4099 + 1) & 0xFFFFu);
    }
}

TEST_F(MapTest, AMapSmallerThanTheViewShowsGraphicZeroBeyondIt) {
    OpenScreen(16);
    MapDescription world = WorldMap(2, 2, 8, 8);
    ASSERT_EQ(CreateMap(MapFile(world)), 0);
    ASSERT_EQ(map.ViewWidth, 24);
    screen->Back->Fill(0x1234);
    ASSERT_EQ(map.Draw(screen->Back), 0);
    EXPECT_EQ(BackPixel(15, 15), WorldPixel(world, 15, 15));
    EXPECT_EQ(BackPixel(16, 0), 1u);  // graphic 0's top-left pixel
    EXPECT_EQ(BackPixel(17, 3), (1 * 67 + 3 * 1031 + 1) & 0xFFFFu);
    EXPECT_EQ(BackPixel(23, 23), (7 * 67 + 7 * 1031 + 1) & 0xFFFFu);
    EXPECT_EQ(BackPixel(24, 0), 0x1234u);
}

TEST_F(MapTest, LostBlocksFailTheDrawUntilRestored) {
    OpenScreen(16);
    const MapDescription world = WorldMap(40, 30, 32, 32);
    ASSERT_EQ(CreateMap(MapFile(world)), 0);
    map.SetScrollPosition(55, 66);
    host.LoseDisplay();
    screen->RestoreAll();
    EXPECT_EQ(map.Draw(screen->Back), -1);
    EXPECT_EQ(map.Restore(), 0);
    screen->Back->Fill(0);
    ASSERT_EQ(map.Draw(screen->Back), 0);
    EXPECT_TRUE(ViewShowsWorld(world, 0));

    host.LoseDisplay();
    host.RefuseLocks(1, DDERR_SURFACEBUSY);
    EXPECT_EQ(map.Restore(), -1);
    EXPECT_EQ(map.Restore(), 0);
}

TEST_F(MapTest, EightBitDisplayTakesIndicesOrNearestPaletteEntries) {
    OpenScreen(8);
    MapDescription indexed = WorldMap(4, 4, 2, 2);
    indexed.depth = 8;
    for (std::size_t g = 0; g < indexed.graphics.size(); ++g) {
        indexed.graphics[g] = {std::uint8_t(g), std::uint8_t(g + 100), 7, 255};
    }
    ASSERT_EQ(CreateMap(MapFile(indexed)), 0);
    DDSURFACEDESC2 desc;
    ASSERT_EQ(map.BlockSurfaces[4]->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    const auto* pixels = static_cast<const std::uint8_t*>(desc.lpSurface);
    EXPECT_EQ(pixels[0], 4);
    EXPECT_EQ(pixels[1], 104);
    EXPECT_EQ(pixels[desc.lPitch], 7);
    map.BlockSurfaces[4]->Unlock(nullptr);
    EXPECT_EQ(KeyOf(*map.BlockSurfaces[0]), 0u);

    // 24-bit colours through the map's palette: each pixel is its nearest entry.
    MapDescription colours = WorldMap(4, 4, 2, 2);
    colours.depth = 24;
    for (int i = 0; i < 256; ++i) {
        colours.colorMap[3 * i] = std::uint8_t(i);
        colours.colorMap[3 * i + 1] = std::uint8_t(255 - i);
        colours.colorMap[3 * i + 2] = 0;
    }
    for (std::size_t g = 0; g < colours.graphics.size(); ++g) {
        colours.graphics[g] = Bytes(12, 0);
        colours.graphics[g][0] = std::uint8_t(10 * g);  // red 10g, green 255 - 10g: entry 10g
        colours.graphics[g][1] = std::uint8_t(255 - 10 * g);
    }
    map.SetTransparentColor(0x00000033);
    ASSERT_EQ(CreateMap(MapFile(colours)), 0);
    ASSERT_EQ(map.BlockSurfaces[6]->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(static_cast<const std::uint8_t*>(desc.lpSurface)[0], 60);
    map.BlockSurfaces[6]->Unlock(nullptr);
    EXPECT_EQ(KeyOf(*map.BlockSurfaces[6]), 0x33u);
}

TEST_F(MapTest, TheGeneratedMapLoadsAndDrawsAtAnyScrollPosition) {
    for (int depth : {16, 15}) {
        OpenScreen(depth);
        map.SetTransparentColor(0);
        ASSERT_EQ(map.Create(screen.get(), ZELTO_GAME_DIR "/ZELTO.FMP", 0, 0, 500, 480), 0)
            << map.LastError;
        const FmpFile& file = map.File;
        ASSERT_EQ(file.Header.BlockDepth, 16);
        EXPECT_EQ(map.ViewWidth, 500);
        EXPECT_EQ(map.ViewHeight, 480);
        for (int step = 0; step < 12; ++step) {
            map.SetScrollPosition(step * 97 - 40, step * 61 + 3);
            ASSERT_EQ(map.Draw(screen->Back), 0);
            ASSERT_EQ(screen->Back->Lock(), DD_OK);
            for (int y = 0; y < 480; y += 7) {
                for (int x = 0; x < 500; x += 5) {
                    const int worldX = map.ScrollX + x;
                    const int worldY = map.ScrollY + y;
                    const FmpBlock* block =
                        file.BlockAt(worldX / map.BlockWidth, worldY / map.BlockHeight);
                    ASSERT_NE(block, nullptr);
                    const std::uint8_t* pixel =
                        file.GraphicPixels(block->BaseGraphic) +
                        2 * ((worldY % map.BlockHeight) * map.BlockWidth + worldX % map.BlockWidth);
                    std::uint32_t expected = (pixel[0] << 8) | pixel[1];
                    if (depth == 15) {
                        expected = ((expected >> 1) & 0x7FE0) | (expected & 0x1F);
                    }
                    ASSERT_EQ(screen->Back->GetPixel(x, y), expected) << x << ", " << y;
                }
            }
            screen->Back->Unlock();
        }
    }
}

// The locked draw against the block-by-block copies it replaced, byte for byte: every pixel
// size, padded rows, blocks whose rows are shorter than, equal to and no multiple of the
// 16-byte moves, and views inside the surface, cut on each side, one pixel wide or tall on the
// surface, and wholly off it.
TEST_F(MapTest, TheLockedDrawLeavesTheBytesOfTheBlockByBlockCopies) {
    host.SetRowPadding(6);
    const int blockSizes[][2] = {{32, 32}, {9, 7}, {1, 2}};
    const int scrolls[][2] = {{0, 0}, {8, 6}, {317, 211}, {5000, 5000}};
    for (int depth : {8, 15, 16, 24, 32}) {
        OpenScreen(depth);
        for (const auto& block : blockSizes) {
            const int viewWidth = block[0] == 1 ? 40 : 500;
            const int viewHeight = block[0] == 1 ? 30 : 480;
            ASSERT_EQ(CreateMap(MapFile(WorldMap(40, 50, block[0], block[1]))), 0);
            const int places[][2] = {
                {70, 0},         {-13, -7},           {300, 200}, {1 - viewWidth, 5},
                {639, 9},        {3, 1 - viewHeight}, {11, 479},  {640, 0},
                {0, -viewHeight}};
            for (const auto& place : places) {
                for (const auto& scroll : scrolls) {
                    map.ViewX = place[0];
                    map.ViewY = place[1];
                    map.ViewWidth = viewWidth;
                    map.ViewHeight = viewHeight;
                    map.SetScrollPosition(scroll[0], scroll[1]);
                    ASSERT_TRUE(DrawsAsTheBlockCopies(*screen->Back));
                }
            }
        }
    }
}

// Where a copy is refused, the locked draw refuses it too and goes on or stops as the block
// copies do; a destination it cannot lock is drawn by those copies themselves.
TEST_F(MapTest, TheLockedDrawFailsAndFallsBackAsTheBlockCopiesDo) {
    OpenScreen(16);
    ASSERT_EQ(CreateMap(MapFile(WorldMap(40, 30, 16, 16)), 0, 0, 200, 160), 0);
    map.SetScrollPosition(37, 21);
    const FmpBlock* inner = map.File.BlockAt(37 / 16 + 4, 21 / 16 + 3);
    const FmpBlock* corner = map.File.BlockAt(37 / 16, 21 / 16);
    ASSERT_TRUE(inner != nullptr && corner != nullptr);
    DisplaySurface& innerBlock = *map.BlockSurfaces[inner->BaseGraphic];
    DisplaySurface& cornerBlock = *map.BlockSurfaces[corner->BaseGraphic];

    // A lost or locked block: its border copies are skipped, its first inner copy ends the draw.
    cornerBlock.MarkLost();
    EXPECT_TRUE(DrawsAsTheBlockCopies(*screen->Back));
    innerBlock.MarkLost();
    EXPECT_TRUE(DrawsAsTheBlockCopies(*screen->Back));
    EXPECT_EQ(map.Draw(screen->Back), -1);
    ASSERT_EQ(map.Restore(), 0);
    DDSURFACEDESC2 desc;
    ASSERT_EQ(innerBlock.Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_TRUE(DrawsAsTheBlockCopies(*screen->Back));
    EXPECT_EQ(map.Draw(screen->Back), -1);
    innerBlock.Unlock(nullptr);

    // Blocks smaller than the map says: every copy is refused.
    map.BlockWidth = 17;
    EXPECT_TRUE(DrawsAsTheBlockCopies(*screen->Back));
    map.BlockWidth = 16;

    // A destination that will not lock: a device context held, an injected refusal, a loss.
    HDC context = nullptr;
    ASSERT_EQ(screen->Back->Surface->GetDC(&context), DD_OK);
    EXPECT_TRUE(DrawsAsTheBlockCopies(*screen->Back));
    EXPECT_EQ(map.Draw(screen->Back), 0);
    screen->Back->Surface->ReleaseDC(context);
    host.RefuseLocks(1, DDERR_SURFACEBUSY);
    screen->Back->Fill(0x1234);
    EXPECT_EQ(map.Draw(screen->Back), 0);
    EXPECT_EQ(BackPixel(10, 10), WorldPixel(WorldMap(40, 30, 16, 16), 47, 31));
    host.LoseDisplay();
    EXPECT_TRUE(DrawsAsTheBlockCopies(*screen->Back));
    EXPECT_EQ(map.Draw(screen->Back), -1);
    map.ViewX = 640;  // nothing of the view on the surface: nothing to refuse
    EXPECT_EQ(map.Draw(screen->Back), 0);
}

// Drawn onto one of its own block surfaces, each copy reads that block as it is before the
// copy writes, as the display service's copy within one surface does.
TEST_F(MapTest, TheLockedDrawOntoItsOwnBlockMatchesTheBlockCopies) {
    OpenScreen(16);
    MapDescription world = WorldMap(20, 20, 16, 16);
    for (auto& cell : world.cells) cell = MapDescription::BlockCell(3);  // graphic 3 everywhere
    const Bytes file = MapFile(world);
    ASSERT_EQ(CreateMap(file, 0, 0, 48, 48), 0);
    FmpMap twin;
    const std::string path = WriteTempFile("TwinMap", file);
    ASSERT_EQ(twin.Create(screen.get(), path.c_str(), 0, 0, 48, 48), 0);
    for (const int scroll : {0, 5, 21}) {
        // Placed 3 and 2 pixels in, a copy overlaps its own source on the block's rows.
        map.ViewX = twin.ViewX = scroll == 0 ? 3 : 0;
        map.ViewY = twin.ViewY = scroll == 0 ? 2 : 0;
        map.SetScrollPosition(scroll, scroll);
        twin.SetScrollPosition(scroll, scroll);
        CDXSurface ownBlock;
        ownBlock.Surface = map.BlockSurfaces[3];
        CDXSurface twinBlock;
        twinBlock.Surface = twin.BlockSurfaces[3];
        ASSERT_EQ(map.Draw(&ownBlock), twin.DrawBlockByBlock(&twinBlock));
        const std::size_t size = static_cast<std::size_t>(ownBlock.Surface->pitch()) * 16;
        ASSERT_TRUE(std::equal(ownBlock.Surface->pixels(), ownBlock.Surface->pixels() + size,
                               twinBlock.Surface->pixels()))
            << "scroll " << scroll;
    }
}

// A draw onto the primary surface is a write of the screen: the next vertical blank shows it.
// A view wholly off the surface writes nothing there.
TEST_F(MapTest, ADrawOntoTheFrontIsShownAtTheNextBlank) {
    OpenScreen(16);
    const MapDescription world = WorldMap(40, 30, 32, 32);
    ASSERT_EQ(CreateMap(MapFile(world)), 0);
    map.SetScrollPosition(55, 66);
    host.SetPicturesKept(1);
    screen->DirectDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    const std::uint64_t shown = host.PictureCount();
    ASSERT_EQ(map.Draw(screen->Front), 0);
    screen->DirectDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    ASSERT_GT(host.PictureCount(), shown);
    EXPECT_EQ(host.Pictures().back().PixelAt(9, 7), WorldPixel(world, 55 + 9, 66 + 7));

    map.ViewX = -500;
    const std::uint64_t before = host.PictureCount();
    EXPECT_EQ(map.Draw(screen->Front), 0);
    screen->DirectDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    EXPECT_EQ(host.PictureCount(), before);
}
