// SPDX-License-Identifier: MIT
// The map's block graphics: a space station deck, its hull, patches of alien ground where the
// deck has broken away, pipes and fittings. Textures that continue across block edges (ground,
// deck plates) are made from noise that repeats every block, so neighbouring blocks meet
// without seams.

#include "map_blocks.h"

#include <functional>
#include <stdexcept>

#include "canvas.h"
#include "random.h"
#include "stable_math.h"

namespace datagen {
namespace {

constexpr double kSize = kBlockSize;
const Colour kDeck{62, 70, 84};
const Colour kDeckDark{30, 35, 44};
const Colour kHazardYellow{214, 170, 40};
const Colour kPipeMetal{120, 132, 140};

// Value noise whose lattice repeats every `period` cells, so a block-sized texture tiles.
double TileableNoise(double x, double y, int period, std::uint32_t seed) {
    const int x0 = FloorToInt(x);
    const int y0 = FloorToInt(y);
    auto corner = [&](int cx, int cy) {
        return HashUnit(((cx % period) + period) % period, ((cy % period) + period) % period, seed);
    };
    const double fx = SmoothStep(0.0, 1.0, x - x0);
    const double fy = SmoothStep(0.0, 1.0, y - y0);
    return Lerp(Lerp(corner(x0, y0), corner(x0 + 1, y0), fx),
                Lerp(corner(x0, y0 + 1), corner(x0 + 1, y0 + 1), fx), fy);
}

double GroundTexture(double x, double y) {
    return 0.55 * TileableNoise(x / 8.0, y / 8.0, 4, 301u) +
           0.3 * TileableNoise(x / 4.0, y / 4.0, 8, 302u) +
           0.15 * TileableNoise(x / 2.0, y / 2.0, 16, 303u);
}

Colour GroundColour(double x, double y) {
    const double t = GroundTexture(x, y);
    Colour ground = Mix(Colour{52, 34, 58}, Colour{96, 64, 88}, t);
    // Fine speckle of lighter grains.
    if (HashUnit(FloorToInt(x), FloorToInt(y), 305u) > 0.93)
        ground = Mix(ground, Colour{150, 120, 140}, 0.5);
    return ground;
}

// A deck plate filling the block: brushed steel with a bevelled edge.
void PaintDeckPlate(Canvas& canvas, Colour base, std::uint32_t seed) {
    ForEachPixel(canvas, {0, 0, kSize, kSize}, [&](int x, int y, Canvas::Pixel& pixel) {
        const double grain = TileableNoise(x / 1.0, y / 6.0, 32, seed) * 0.5 +
                             TileableNoise(x / 8.0, y / 8.0, 4, seed + 1) * 0.5;
        Colour c = Scale(base, 0.88 + 0.2 * grain);
        if (x == 0 || y == 0) c = Mix(c, Colour{150, 160, 175}, 0.45);
        if (x == kBlockSize - 1 || y == kBlockSize - 1) c = Mix(c, kDeckDark, 0.7);
        if (x == 1 || y == 1) c = Mix(c, Colour{120, 130, 145}, 0.15);
        pixel = {c, 1.0};
    });
}

void PaintRivet(Canvas& canvas, double x, double y) {
    FillShape(canvas, {x - 2, y - 2, x + 2, y + 2}, Circle(x + 0.4, y + 0.4, 1.5), kDeckDark);
    FillShape(canvas, {x - 2, y - 2, x + 2, y + 2}, Circle(x - 0.2, y - 0.2, 1.1),
              Colour{150, 160, 172});
}

void PaintRivets(Canvas& canvas) {
    for (double x : {4.0, 27.0}) {
        for (double y : {4.0, 27.0}) PaintRivet(canvas, x, y);
    }
}

Canvas DeckBlock(Block kind) {
    Canvas canvas(kBlockSize, kBlockSize);
    PaintDeckPlate(canvas, kDeck, 401u);
    switch (kind) {
        case kDeckRivets:
            PaintRivets(canvas);
            for (int i = 0; i < 3; ++i) {
                FillShape(canvas, {8, 8, 24, 24}, Rect(9, 11.0 + i * 4, 23, 12.0 + i * 4),
                          kDeckDark, 0.5);
            }
            break;
        case kDeckWorn: {
            // Scuffs and an oil stain.
            FillShape(
                canvas, {4, 10, 26, 28}, Ellipse(15, 19, 9, 6),
                [](double x, double y) {
                    return Mix(Colour{34, 36, 42}, Colour{48, 50, 60},
                               TileableNoise(x / 3, y / 3, 11, 411u));
                },
                0.55);
            Line(canvas, 3, 6, 14, 9, Colour{110, 118, 130}, 0.8, 0.6);
            Line(canvas, 18, 25, 29, 22, Colour{110, 118, 130}, 0.8, 0.5);
            break;
        }
        case kDeckGrate: {
            FillShape(canvas, {3, 3, 29, 29}, RoundedRect(4, 4, 28, 28, 2), Colour{16, 18, 24});
            for (int i = 0; i < 6; ++i) {
                FillShape(canvas, {4, 4, 28, 28}, Rect(5, 6.0 + i * 4, 27, 7.5 + i * 4),
                          Colour{90, 98, 110});
            }
            PaintRivets(canvas);
            break;
        }
        case kWalkwayAcross:
        case kWalkwayDown: {
            const bool across = kind == kWalkwayAcross;
            ForEachPixel(canvas, {0, 0, kSize, kSize}, [&](int x, int y, Canvas::Pixel& pixel) {
                const int along = across ? x : y;
                const int side = across ? y : x;
                // Ribbed tread with yellow lines along both edges.
                Colour c = Scale(Colour{54, 58, 66}, (along % 4 < 2) ? 1.0 : 0.82);
                if (side >= 3 && side <= 5) c = kHazardYellow;
                if (side >= 26 && side <= 28) c = kHazardYellow;
                if (side < 3 || side > 28) c = Scale(kDeck, 0.8);
                pixel = {c, 1.0};
            });
            // An arrow in the tread points the way along.
            const double a = across ? 0.0 : 0.25;
            const double dx = CosineTurns(a);
            const double dy = SineTurns(a);
            FillShape(canvas, {8, 8, 24, 24},
                      Triangle(16 + dx * 5, 16 + dy * 5, 16 - dx * 3 - dy * 5, 16 - dy * 3 + dx * 5,
                               16 - dx * 3 + dy * 5, 16 - dy * 3 - dx * 5),
                      Colour{200, 205, 210}, 0.45);
            break;
        }
        default:
            break;
    }
    return canvas;
}

// Hull plating, with a hazard band along each side listed (0 top, 1 right, 2 bottom, 3 left).
Canvas HullBlock(std::initializer_list<int> bandSides) {
    Canvas canvas(kBlockSize, kBlockSize);
    ForEachPixel(canvas, {0, 0, kSize, kSize}, [](int x, int y, Canvas::Pixel& pixel) {
        const double grain = TileableNoise(x / 5.0, y / 5.0, 6, 501u);
        Colour c = Mix(Colour{28, 30, 38}, Colour{44, 46, 56}, grain);
        // Heavy panels of 16 pixels with dark seams.
        if (x % 16 == 15 || y % 16 == 15) c = Colour{14, 15, 20};
        if (x % 16 == 0 || y % 16 == 0) c = Mix(c, Colour{80, 84, 96}, 0.4);
        pixel = {c, 1.0};
    });
    for (double x : {5.0, 21.0}) {
        for (double y : {5.0, 21.0}) PaintRivet(canvas, x, y);
    }
    for (int side : bandSides) {
        ForEachPixel(canvas, {0, 0, kSize, kSize}, [side](int x, int y, Canvas::Pixel& pixel) {
            const int depth = side == 0   ? y
                              : side == 1 ? kBlockSize - 1 - x
                              : side == 2 ? kBlockSize - 1 - y
                                          : x;
            if (depth > 8) return;
            if (depth == 8) {
                pixel = {Colour{12, 12, 16}, 1.0};
                return;
            }
            const bool yellow = ((x + y) / 6) % 2 == 0;
            Colour c = yellow ? kHazardYellow : Colour{26, 24, 22};
            if (depth == 0) c = Scale(c, 0.7);
            pixel = {c, 1.0};
        });
    }
    return canvas;
}

// Ground blocks: the shared tileable texture plus features.
Canvas GroundBlock(Block kind) {
    Canvas canvas(kBlockSize, kBlockSize);
    ForEachPixel(canvas, {0, 0, kSize, kSize}, [](int x, int y, Canvas::Pixel& pixel) {
        pixel = {GroundColour(x + 0.5, y + 0.5), 1.0};
    });
    Random random(0x6000u + static_cast<unsigned>(kind));
    const int pebbles = kind == kGroundA ? 2 : (kind == kGroundB ? 5 : 3);
    for (int i = 0; i < pebbles; ++i) {
        const double x = random.Range(5, 27);
        const double y = random.Range(5, 27);
        const double r = random.Range(1.2, 2.6);
        FillShape(canvas, {x - 4, y - 4, x + 4, y + 4}, Ellipse(x + 0.8, y + 0.9, r, r * 0.7),
                  Colour{30, 20, 34}, 0.6);
        FillShape(canvas, {x - 4, y - 4, x + 4, y + 4}, Ellipse(x, y, r, r * 0.75),
                  [=](double px, double py) {
                      return Mix(Colour{140, 110, 130}, Colour{70, 50, 72},
                                 Clamp((px - x + py - y) / (2 * r) + 0.5, 0, 1));
                  });
    }
    if (kind == kGroundC) {
        // A glowing vein in the rock.
        for (int i = 0; i < 6; ++i) {
            Line(canvas, 2 + i * 5, 20 + SineTurns(i * 0.17) * 5, 7 + i * 5,
                 20 + SineTurns((i + 1) * 0.17) * 5, Colour{120, 230, 200}, 1.0, 0.55);
        }
    }
    return canvas;
}

// A crater centred at (cx, cy) on a canvas of ground: dark floor, lit upper-left inner wall,
// a bright raised rim on the lower right.
void PaintCrater(Canvas& canvas, double cx, double cy, double radius) {
    FillShape(canvas, {cx - radius - 3, cy - radius - 3, cx + radius + 3, cy + radius + 3},
              Circle(cx, cy, radius + 2.2), [=](double x, double y) {
                  const double light = Clamp(((cx - x) + (cy - y)) / (radius * 1.5), -1, 1);
                  return Mix(Colour{120, 92, 116}, Colour{60, 40, 62}, 0.5 + 0.5 * light);
              });
    FillShape(canvas, {cx - radius, cy - radius, cx + radius, cy + radius}, Circle(cx, cy, radius),
              [=](double x, double y) {
                  const double dx = (x - cx) / radius;
                  const double dy = (y - cy) / radius;
                  const double wall = Clamp(-(dx + dy) * 0.7, -1, 1);  // shadow on the upper left
                  const double depth = 1.0 - (dx * dx + dy * dy);
                  Colour c = Mix(Colour{38, 24, 42}, Colour{92, 66, 90}, 0.5 - 0.5 * wall);
                  return Mix(c, Scale(GroundColour(x, y), 0.6), depth * 0.4);
              });
}

Canvas CraterBlock(Block kind) {
    Canvas canvas = GroundBlock(kGroundA);
    if (kind == kCraterSmall) PaintCrater(canvas, 16, 16, 10);
    if (kind == kCraterTiny) {
        PaintCrater(canvas, 11, 12, 5.5);
        PaintCrater(canvas, 23, 22, 4);
    }
    return canvas;
}

// Cuts a 64 x 64 painting into its four blocks: top left, top right, bottom left, bottom right.
std::vector<Canvas> Quarters(const Canvas& big) {
    std::vector<Canvas> parts;
    for (int qy = 0; qy < 2; ++qy) {
        for (int qx = 0; qx < 2; ++qx) {
            Canvas part(kBlockSize, kBlockSize);
            part.Paste(big, -qx * kBlockSize, -qy * kBlockSize);
            parts.push_back(part);
        }
    }
    return parts;
}

std::vector<Canvas> BigCrater() {
    Canvas big(2 * kBlockSize, 2 * kBlockSize);
    ForEachPixel(big, {0, 0, 64, 64}, [](int x, int y, Canvas::Pixel& pixel) {
        pixel = {GroundColour(x + 0.5, y + 0.5), 1.0};
    });
    PaintCrater(big, 32, 32, 24);
    PaintCrater(big, 40, 38, 6);  // a younger impact inside the old one
    return Quarters(big);
}

Canvas BoulderBlock() {
    Canvas canvas = GroundBlock(kGroundB);
    FillShape(canvas, {4, 8, 30, 30}, Ellipse(18, 21, 11, 7), Colour{24, 16, 28}, 0.6);
    FillShape(
        canvas, {3, 4, 28, 28},
        [](double x, double y) {
            const double dx = (x - 15) / 11.0;
            const double dy = (y - 16) / 10.0;
            const double bump = 0.12 * SineTurns(AngleTurns(dx, dy) * 3.0);
            return dx * dx + dy * dy <= (1.0 + bump) * (1.0 + bump);
        },
        [](double x, double y) {
            const double light = Clamp(((15 - x) / 11.0 + (16 - y) / 10.0) * 0.6, -1, 1);
            const Colour rock = Mix(Colour{66, 54, 70}, Colour{150, 130, 146}, 0.5 + 0.5 * light);
            return Mix(rock, Colour{40, 30, 44}, GroundTexture(x * 2, y * 2) * 0.35);
        });
    return canvas;
}

Canvas CrystalBlock(bool bright) {
    Canvas canvas = GroundBlock(kGroundA);
    const Colour glow = bright ? Colour{90, 255, 230} : Colour{50, 160, 150};
    Glow(canvas, 16, 18, 16, glow, bright ? 0.55 : 0.25);
    struct Shard {
        double x, y, lean, height, width;
    };
    const Shard shards[] = {
        {16, 26, 0.0, 18, 4.0}, {10, 27, -5, 11, 3.0}, {22, 27, 5, 13, 3.2}, {19, 28, 2, 7, 2.4}};
    for (const Shard& s : shards) {
        const double tipX = s.x + s.lean;
        const double tipY = s.y - s.height;
        FillShape(
            canvas, {0, 0, 32, 32}, Triangle(s.x - s.width, s.y, s.x + s.width, s.y, tipX, tipY),
            [&](double x, double) {
                const bool litFace = x < (s.x + tipX) / 2;
                return Mix(glow, Colour{255, 255, 255}, litFace ? (bright ? 0.6 : 0.25) : 0.0);
            });
    }
    return canvas;
}

// Rim of the broken deck. deckSides lists where the deck is (0 top, 1 right, 2 bottom, 3 left);
// the rest of the block shows ground in the deck's shadow.
Canvas RimBlock(std::initializer_list<int> deckSides) {
    Canvas canvas = GroundBlock(kGroundA);
    constexpr double kDeckDepth = 11.0;
    auto depthFromSide = [](int side, double x, double y) {
        return side == 0 ? y : side == 1 ? kSize - x : side == 2 ? kSize - y : x;
    };
    // Shadow of the deck edge on the ground.
    ForEachPixel(canvas, {0, 0, kSize, kSize}, [&](int x, int y, Canvas::Pixel& pixel) {
        double nearest = 99;
        for (int side : deckSides) {
            const double d = depthFromSide(side, x + 0.5, y + 0.5);
            if (d < nearest) nearest = d;
        }
        const double shadow = 1.0 - SmoothStep(kDeckDepth, kDeckDepth + 7, nearest);
        pixel.colour = Scale(pixel.colour, 1.0 - 0.55 * shadow);
    });
    // The deck itself, with a broken, jagged edge and a bright lip.
    auto onDeck = [=](double x, double y) {
        for (int side : deckSides) {
            const double along = (side == 0 || side == 2) ? x : y;
            const double jag = 1.6 * SineTurns(along / 9.0) + 1.0 * SineTurns(along / 4.0 + 0.3);
            if (depthFromSide(side, x, y) < kDeckDepth + jag) return true;
        }
        return false;
    };
    FillShape(
        canvas, {0, 0, kSize, kSize},
        [=](double x, double y) {
            for (int side : deckSides) {
                const double along = (side == 0 || side == 2) ? x : y;
                const double jag =
                    1.6 * SineTurns(along / 9.0) + 1.0 * SineTurns(along / 4.0 + 0.3);
                if (depthFromSide(side, x, y) < kDeckDepth + jag + 1.5) return true;
            }
            return false;
        },
        Colour{150, 158, 170});
    FillShape(canvas, {0, 0, kSize, kSize}, onDeck, [](double x, double y) {
        const double grain = TileableNoise(x / 1.0, y / 6.0, 32, 401u) * 0.5 +
                             TileableNoise(x / 8.0, y / 8.0, 4, 402u) * 0.5;
        return Scale(kDeck, 0.88 + 0.2 * grain);
    });
    return canvas;
}

// A pipe segment between two points along the block, shaded as a cylinder of the given radius.
void PaintPipeStraight(Canvas& canvas, bool across) {
    constexpr double kRadius = 6.0;
    FillShape(canvas, {0, 0, kSize, kSize},
              across ? Rect(0, 16 - kRadius + 2, kSize, 16 + kRadius + 3)
                     : Rect(16 - kRadius + 2, 0, 16 + kRadius + 3, kSize),
              kDeckDark, 0.6);
    FillShape(canvas, {0, 0, kSize, kSize},
              across ? Rect(0, 16 - kRadius, kSize, 16 + kRadius)
                     : Rect(16 - kRadius, 0, 16 + kRadius, kSize),
              [=](double x, double y) {
                  const double offset = ((across ? y : x) - 16.0) / kRadius;
                  const double light = Sqrt(Clamp(1 - offset * offset, 0, 1));
                  return Mix(Scale(kPipeMetal, 0.35 + 0.7 * light), Colour{235, 240, 245},
                             Clamp(1.0 - (offset + 0.45) * (offset + 0.45) * 12, 0, 1) * 0.7);
              });
    // Flanges where the pipe meets the next block.
    for (double at : {1.5, 30.5}) {
        FillShape(canvas, {0, 0, kSize, kSize},
                  across ? Rect(at - 1.5, 16 - kRadius - 1.5, at + 1.5, 16 + kRadius + 1.5)
                         : Rect(16 - kRadius - 1.5, at - 1.5, 16 + kRadius + 1.5, at + 1.5),
                  [=](double x, double y) {
                      const double offset = ((across ? y : x) - 16.0) / (kRadius + 1.5);
                      return Scale(Colour{150, 140, 110}, 0.55 + 0.45 * (1 - offset * offset));
                  });
    }
}

// An elbow: a quarter ring around the block corner (cornerX, cornerY) with radius 16.
void PaintPipeElbow(Canvas& canvas, double cornerX, double cornerY) {
    constexpr double kRadius = 6.0;
    FillShape(canvas, {0, 0, kSize, kSize},
              Ring(cornerX + 2, cornerY + 2, 16 - kRadius, 16 + kRadius), kDeckDark, 0.6);
    FillShape(canvas, {0, 0, kSize, kSize}, Ring(cornerX, cornerY, 16 - kRadius, 16 + kRadius),
              [=](double x, double y) {
                  const double d =
                      Sqrt((x - cornerX) * (x - cornerX) + (y - cornerY) * (y - cornerY));
                  const double offset = (d - 16.0) / kRadius;
                  const double light = Sqrt(Clamp(1 - offset * offset, 0, 1));
                  return Mix(Scale(kPipeMetal, 0.35 + 0.7 * light), Colour{235, 240, 245},
                             Clamp(1.0 - (offset + 0.45) * (offset + 0.45) * 12, 0, 1) * 0.6);
              });
}

Canvas PipeBlock(Block kind) {
    Canvas canvas(kBlockSize, kBlockSize);
    PaintDeckPlate(canvas, kDeck, 401u);
    switch (kind) {
        case kPipeAcross:
            PaintPipeStraight(canvas, true);
            break;
        case kPipeDown:
            PaintPipeStraight(canvas, false);
            break;
        case kPipeRightDown:
            PaintPipeElbow(canvas, kSize, kSize);
            break;
        case kPipeLeftDown:
            PaintPipeElbow(canvas, 0, kSize);
            break;
        case kPipeRightUp:
            PaintPipeElbow(canvas, kSize, 0);
            break;
        case kPipeLeftUp:
            PaintPipeElbow(canvas, 0, 0);
            break;
        case kPipeCross:
            PaintPipeStraight(canvas, true);
            PaintPipeStraight(canvas, false);
            FillShape(canvas, {0, 0, kSize, kSize}, RoundedRect(7, 7, 25, 25, 3),
                      Colour{110, 118, 126});
            FillShape(canvas, {0, 0, kSize, kSize}, RoundedRect(8, 8, 24, 24, 3),
                      Colour{88, 96, 104});
            PaintRivet(canvas, 11, 11);
            PaintRivet(canvas, 21, 21);
            break;
        default:  // the valve: a pipe with a red hand wheel
            PaintPipeStraight(canvas, true);
            FillShape(canvas, {0, 0, kSize, kSize}, Ring(16, 16, 6.5, 9), Colour{200, 40, 40});
            Line(canvas, 16, 8, 16, 24, Colour{170, 30, 30}, 1.8);
            Line(canvas, 8, 16, 24, 16, Colour{170, 30, 30}, 1.8);
            FillShape(canvas, {0, 0, kSize, kSize}, Circle(16, 16, 2.5), Colour{230, 210, 200});
            break;
    }
    return canvas;
}

Canvas FloorLightBlock(bool on) {
    Canvas canvas(kBlockSize, kBlockSize);
    PaintDeckPlate(canvas, kDeck, 401u);
    PaintRivets(canvas);
    FillShape(canvas, {6, 6, 26, 26}, Circle(16, 16, 8.5), Colour{24, 26, 32});
    FillShape(canvas, {6, 6, 26, 26}, Ring(16, 16, 7.5, 8.5), Colour{140, 150, 160});
    if (on) {
        Glow(canvas, 16, 16, 15, Colour{255, 220, 120}, 0.55);
        FillShape(canvas, {6, 6, 26, 26}, Circle(16, 16, 6.2), [](double x, double y) {
            const double d = Sqrt((x - 15) * (x - 15) + (y - 15) * (y - 15)) / 6.2;
            return Mix(Colour{255, 255, 235}, Colour{255, 190, 70}, d);
        });
    } else {
        FillShape(canvas, {6, 6, 26, 26}, Circle(16, 16, 6.2), [](double x, double y) {
            const double d = Sqrt((x - 14) * (x - 14) + (y - 14) * (y - 14)) / 7.0;
            return Mix(Colour{120, 96, 60}, Colour{60, 46, 30}, d);
        });
    }
    return canvas;
}

// A console seen from above: a desk with a keyboard strip and a screen whose picture changes.
Canvas ConsoleBlock(int variant) {
    Canvas canvas(kBlockSize, kBlockSize);
    PaintDeckPlate(canvas, kDeck, 401u);
    FillShape(canvas, {0, 0, kSize, kSize}, RoundedRect(3, 4, 31, 31, 3), kDeckDark, 0.7);
    FillShape(canvas, {0, 0, kSize, kSize}, RoundedRect(2, 2, 30, 29, 3), Colour{70, 80, 96});
    FillShape(canvas, {0, 0, kSize, kSize}, RoundedRect(4, 4, 28, 19, 2), Colour{8, 20, 16});
    const Colour trace = variant == 2 ? Colour{255, 180, 60} : Colour{80, 255, 140};
    for (int x = 5; x < 27; ++x) {
        const double phase = variant * 0.31;
        const double y0 =
            11.5 + 4.0 * SineTurns((x - 5) / 11.0 + phase) * (variant == 1 ? 0.5 : 1.0);
        const double y1 =
            11.5 + 4.0 * SineTurns((x - 4) / 11.0 + phase) * (variant == 1 ? 0.5 : 1.0);
        Line(canvas, x, y0, x + 1, y1, trace, 1.0, 0.9);
    }
    Glow(canvas, 16, 11, 12, trace, 0.18);
    for (int i = 0; i < 6; ++i) {
        const bool lit = ((i + variant) % 3) == 0;
        FillShape(canvas, {0, 0, kSize, kSize}, Rect(5 + i * 4, 22, 8 + i * 4, 26),
                  lit ? Colour{255, 90, 70} : Colour{150, 160, 175});
    }
    return canvas;
}

std::vector<Canvas> Reactor() {
    Canvas big(2 * kBlockSize, 2 * kBlockSize);
    Canvas plate(kBlockSize, kBlockSize);
    PaintDeckPlate(plate, kDeck, 401u);
    for (int qy = 0; qy < 2; ++qy) {
        for (int qx = 0; qx < 2; ++qx) big.Paste(plate, qx * kBlockSize, qy * kBlockSize);
    }
    FillShape(big, {0, 0, 64, 64}, Circle(34, 34, 29), kDeckDark, 0.7);
    FillShape(big, {0, 0, 64, 64}, Circle(32, 32, 29), [](double x, double y) {
        const bool yellow = FloorToInt((x + y) / 7.0) % 2 == 0;
        return yellow ? kHazardYellow : Colour{30, 28, 26};
    });
    FillShape(big, {0, 0, 64, 64}, Circle(32, 32, 24), Colour{50, 56, 68});
    FillShape(big, {0, 0, 64, 64}, Circle(32, 32, 20), Colour{14, 18, 30});
    Glow(big, 32, 32, 22, Colour{60, 200, 255}, 0.9);
    for (int i = 0; i < 3; ++i) {
        FillShape(big, {0, 0, 64, 64}, Ring(32, 32, 6.0 + i * 4.5, 7.0 + i * 4.5),
                  Colour{150, 235, 255}, 0.6);
    }
    FillShape(big, {0, 0, 64, 64}, Circle(32, 32, 5), Colour{240, 255, 255});
    for (int i = 0; i < 8; ++i) {
        const double a = i / 8.0 + 1.0 / 16;
        PaintRivet(big, 32 + CosineTurns(a) * 26.5, 32 + SineTurns(a) * 26.5);
    }
    return Quarters(big);
}

Canvas ViewportBlock() {
    Canvas canvas(kBlockSize, kBlockSize);
    PaintDeckPlate(canvas, kDeck, 401u);
    FillShape(canvas, {0, 0, kSize, kSize}, RoundedRect(2, 2, 30, 30, 6), Colour{110, 120, 134});
    FillShape(canvas, {0, 0, kSize, kSize}, RoundedRect(4, 4, 28, 28, 5), [](double x, double y) {
        return Mix(Colour{6, 8, 26}, Colour{30, 12, 50}, Clamp((x + y - 8) / 40.0, 0, 1));
    });
    Random random(0x57A2);
    for (int i = 0; i < 14; ++i) {
        const int x = 5 + random.Below(22);
        const int y = 5 + random.Below(22);
        canvas.Blend(x, y, Colour{230, 235, 255}, random.Range(0.4, 1.0));
    }
    Glow(canvas, 21, 11, 5, Colour{200, 220, 255}, 0.6);
    // Reflection on the glass.
    Line(canvas, 7, 20, 17, 8, Colour{200, 220, 255}, 1.5, 0.18);
    Line(canvas, 10, 24, 21, 11, Colour{200, 220, 255}, 1.0, 0.12);
    for (double x : {4.5, 27.5}) {
        for (double y : {4.5, 27.5}) PaintRivet(canvas, x, y);
    }
    return canvas;
}

Canvas CrateBlock() {
    Canvas canvas(kBlockSize, kBlockSize);
    PaintDeckPlate(canvas, kDeck, 401u);
    FillShape(canvas, {0, 0, kSize, kSize}, Rect(4, 4, 32, 32), kDeckDark, 0.6);
    FillShape(canvas, {0, 0, kSize, kSize}, Rect(2, 2, 29, 29), Colour{170, 110, 40});
    FillShape(canvas, {0, 0, kSize, kSize}, Rect(5, 5, 26, 26), Colour{140, 88, 32});
    Line(canvas, 6, 6, 25, 25, Colour{190, 130, 50}, 3.0);
    Line(canvas, 25, 6, 6, 25, Colour{190, 130, 50}, 3.0);
    FillShape(canvas, {0, 0, kSize, kSize}, Rect(2, 2, 29, 3), Colour{220, 170, 90});
    FillShape(canvas, {0, 0, kSize, kSize}, Rect(2, 2, 3, 29), Colour{210, 160, 80});
    return canvas;
}

Canvas FanBlock(double turn) {
    Canvas canvas(kBlockSize, kBlockSize);
    PaintDeckPlate(canvas, kDeck, 401u);
    PaintRivets(canvas);
    FillShape(canvas, {0, 0, kSize, kSize}, Circle(16, 16, 12.5), Colour{120, 128, 140});
    FillShape(canvas, {0, 0, kSize, kSize}, Circle(16, 16, 11), Colour{12, 14, 18});
    for (int i = 0; i < 5; ++i) {
        const double a = turn + i / 5.0;
        FillShape(
            canvas, {0, 0, kSize, kSize},
            [=](double x, double y) {
                const double dx = x - 16;
                const double dy = y - 16;
                const double r = Sqrt(dx * dx + dy * dy);
                if (r < 2.5 || r > 10.5) return false;
                // A blade sweeps back as it goes outwards.
                const double angle = Fract(AngleTurns(dx, dy) - a + r * 0.012);
                return angle < 0.09;
            },
            Colour{100, 108, 118});
    }
    FillShape(canvas, {0, 0, kSize, kSize}, Circle(16, 16, 3), Colour{160, 168, 178});
    return canvas;
}

}  // namespace

std::vector<RgbImage> PaintBlocks() {
    std::vector<Canvas> canvases;
    canvases.reserve(kBlockCount);
    for (Block deck :
         {kDeckPlain, kDeckRivets, kDeckWorn, kDeckGrate, kWalkwayAcross, kWalkwayDown}) {
        canvases.push_back(DeckBlock(deck));
    }
    canvases.push_back(HullBlock({2}));
    canvases.push_back(HullBlock({0}));
    canvases.push_back(HullBlock({1}));
    canvases.push_back(HullBlock({3}));
    canvases.push_back(HullBlock({1, 2}));
    canvases.push_back(HullBlock({2, 3}));
    canvases.push_back(HullBlock({0, 1}));
    canvases.push_back(HullBlock({0, 3}));
    for (Block ground : {kGroundA, kGroundB, kGroundC}) canvases.push_back(GroundBlock(ground));
    canvases.push_back(CraterBlock(kCraterSmall));
    canvases.push_back(CraterBlock(kCraterTiny));
    for (Canvas& quarter : BigCrater()) canvases.push_back(quarter);
    canvases.push_back(BoulderBlock());
    canvases.push_back(CrystalBlock(true));
    canvases.push_back(CrystalBlock(false));
    canvases.push_back(RimBlock({0}));
    canvases.push_back(RimBlock({2}));
    canvases.push_back(RimBlock({3}));
    canvases.push_back(RimBlock({1}));
    canvases.push_back(RimBlock({0, 3}));
    canvases.push_back(RimBlock({0, 1}));
    canvases.push_back(RimBlock({2, 3}));
    canvases.push_back(RimBlock({1, 2}));
    for (Block pipe : {kPipeAcross, kPipeDown, kPipeRightDown, kPipeLeftDown, kPipeRightUp,
                       kPipeLeftUp, kPipeCross, kPipeValve}) {
        canvases.push_back(PipeBlock(pipe));
    }
    canvases.push_back(FloorLightBlock(true));
    canvases.push_back(FloorLightBlock(false));
    for (int variant = 0; variant < 3; ++variant) canvases.push_back(ConsoleBlock(variant));
    for (Canvas& quarter : Reactor()) canvases.push_back(quarter);
    canvases.push_back(ViewportBlock());
    canvases.push_back(CrateBlock());
    canvases.push_back(FanBlock(0.0));
    canvases.push_back(FanBlock(0.1));

    if (canvases.size() != kBlockCount) {
        throw std::logic_error("block paintings out of step with the Block list");
    }
    std::vector<RgbImage> blocks;
    for (const Canvas& canvas : canvases) blocks.push_back(Flatten(canvas, kDeckDark));
    return blocks;
}

}  // namespace datagen
