// SPDX-License-Identifier: MIT
// Writes the map loader fuzz target's seeds: small valid maps of every depth, with every kind
// of chunk, and a few refused files, each loaded here first so the seeds stay what they claim.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fmp_builder.h"
#include "map/fmpfile.h"

using namespace cdx;

using namespace maptest;

namespace {

MapDescription WithDepth(int depth) {
    MapDescription map = SmallMap();
    map.depth = static_cast<std::int16_t>(depth);
    for (std::size_t g = 0; g < map.graphics.size(); ++g) {
        map.graphics[g].assign(map.GraphicSize(), 0);
        for (std::size_t i = 0; i < map.graphics[g].size(); ++i) {
            map.graphics[g][i] = static_cast<std::uint8_t>(31 * g + 7 * i);
        }
    }
    return map;
}

}  // namespace

TEST(SeedCorpus, WritesValidAndRefusedMaps) {
    const std::filesystem::path folder = ZELTO_MAP_SEED_DIR;
    std::filesystem::create_directories(folder);
    std::vector<std::pair<std::string, Bytes>> seeds;
    for (int depth : {8, 15, 16, 24, 32}) {
        seeds.emplace_back("depth" + std::to_string(depth), MapFile(WithDepth(depth)));
    }
    std::vector<Chunk> allKinds = MapChunks(SmallMap());
    allKinds.push_back({"LYR1", CellsPayload(SmallMap())});
    allKinds.push_back({"NOTE", Bytes{1, 2, 3}});
    seeds.emplace_back("all-chunks", Form(allKinds));
    MapDescription wide = SmallMap();
    wide.mapWidth = 1;
    wide.mapHeight = 2;
    wide.cells.resize(2);
    seeds.emplace_back("narrow", MapFile(wide));

    for (const auto& [name, bytes] : seeds) {
        FmpFile file;
        ASSERT_EQ(file.Parse(bytes), kFmpNoError) << name;
        ASSERT_EQ(file.Resolve(), kFmpNoError) << name;
    }
    seeds.emplace_back("header-only", Form({}));
    seeds.emplace_back("bad-length", Form(MapChunks(SmallMap()), 1));

    for (const auto& [name, bytes] : seeds) {
        std::ofstream(folder / (name + ".fmp"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
}
