// SPDX-License-Identifier: MIT
// The four enemies. Each is painted from a phase in [0, 1) and a colour variant; frames 0 and 1
// use phases half a cycle apart so that the game's two-frame animation shows the most movement.

#include "pictures.h"
#include "sprite_kit.h"
#include "stable_math.h"

namespace datagen {
namespace {

constexpr double kCentre = 16.0;

// Frames come in pairs half a cycle apart; each further pair starts a tenth of a cycle later.
double PhaseOfColumn(int column) {
    return (column % 2) * 0.5 + (column / 2) * 0.1;
}

// A spiked mine: a dark metal ball with eight spikes that pulse and turn, and a glowing slit.
Canvas PaintSpike(double phase, Colour metal, Colour glow) {
    Canvas canvas(kFrameSize, kFrameSize);
    const double pulse = 0.5 + 0.5 * CosineTurns(phase);  // 1 at phase 0, 0 at phase 0.5
    const double turn = phase / 8.0;
    for (int i = 0; i < 8; ++i) {
        const double angle = i / 8.0 + turn;
        const double length = (i % 2 == 0 ? 14.5 : 11.5) - 2.5 * (1.0 - pulse);
        const double dx = CosineTurns(angle);
        const double dy = SineTurns(angle);
        const double side = 3.2;
        const double bx = kCentre + dx * 6.0;
        const double by = kCentre + dy * 6.0;
        FillShape(canvas, {0, 0, 32, 32},
                  Triangle(bx - dy * side, by + dx * side, bx + dy * side, by - dx * side,
                           kCentre + dx * length, kCentre + dy * length),
                  [&](double x, double y) {
                      const double along = ((x - kCentre) * dx + (y - kCentre) * dy) / length;
                      const double lit = 0.55 + 0.45 * Clamp(-dx * 0.6 - dy * 0.7, -1.0, 1.0);
                      return Mix(Scale(metal, lit * 1.3), Colour{250, 240, 220}, along * 0.5);
                  });
    }
    FillShape(canvas, {4, 4, 28, 28}, Circle(kCentre, kCentre, 8.5),
              SphereShader(kCentre, kCentre, 8.5, metal, 0.8));
    // The glowing slit widens as the spikes draw in.
    const double slit = 1.2 + 1.6 * (1.0 - pulse);
    Glow(canvas, kCentre, kCentre, 7.0, glow, 0.7);
    FillShape(canvas, {8, 12, 24, 20}, Ellipse(kCentre, kCentre, 5.5, slit), glow);
    FillShape(canvas, {8, 12, 24, 20}, Ellipse(kCentre, kCentre, 1.6, slit * 0.8),
              Colour{255, 255, 230});
    return canvas;
}

// A cyber bud: a metal dome on little legs with one big lens that looks around, blinking
// antenna tips and a flickering thruster.
Canvas PaintCybud(double phase, Colour shell, Colour lens) {
    Canvas canvas(kFrameSize, kFrameSize);
    const double look = SineTurns(phase) * 3.0;
    const double blink = phase < 0.5 ? 1.0 : 0.25;
    // Thruster flame under the body.
    const double flame = 5.0 + 3.0 * (0.5 + 0.5 * CosineTurns(phase * 2.0));
    FillShape(
        canvas, {10, 20, 22, 32}, Ellipse(kCentre, 24.0 + flame * 0.4, 3.2, flame * 0.6),
        [&](double, double y) {
            return Mix(Colour{255, 250, 200}, Colour{255, 110, 30}, Clamp((y - 24) / 7, 0, 1));
        });
    // Legs.
    for (int side = -1; side <= 1; side += 2) {
        Line(canvas, kCentre + side * 7.0, 20.0, kCentre + side * 11.5, 27.0, Scale(shell, 0.55),
             2.2);
        FillShape(canvas, {0, 24, 32, 30}, Circle(kCentre + side * 11.5, 27.0, 1.8),
                  Scale(shell, 0.8));
    }
    // Antennae with blinking tips.
    for (int side = -1; side <= 1; side += 2) {
        const double tipX = kCentre + side * (8.5 + SineTurns(phase + 0.25 * side) * 1.2);
        Line(canvas, kCentre + side * 4.0, 9.0, tipX, 2.8, Scale(shell, 0.7), 1.3);
        const Colour tip = side < 0 ? Colour{255, 70, 60} : Colour{90, 255, 120};
        Glow(canvas, tipX, 2.8, 4.0, tip, 0.8 * blink);
        FillShape(canvas, {0, 0, 32, 8}, Circle(tipX, 2.8, 1.6), Mix(Scale(tip, 0.5), tip, blink));
    }
    // Body: a dome with a darker skirt.
    FillShape(canvas, {3, 5, 29, 24}, Ellipse(kCentre, 15.0, 12.0, 9.5),
              SphereShader(kCentre, 13.0, 12.5, shell, 0.9));
    FillShape(canvas, {3, 17, 29, 24}, RoundedRect(5.0, 18.0, 27.0, 22.5, 2.0),
              [&](double, double y) { return Scale(shell, 0.6 - (y - 18) * 0.05); });
    for (int i = 0; i < 5; ++i) {
        FillShape(canvas, {0, 18, 32, 23}, Rect(7.0 + i * 4.0, 19.5, 8.5 + i * 4.0, 21.0),
                  Colour{255, 200, 60}, (i + static_cast<int>(phase * 10)) % 2 == 0 ? 0.9 : 0.3);
    }
    // The lens: dark socket, coloured iris that looks sideways, bright pupil.
    FillShape(canvas, {6, 6, 26, 22}, Circle(kCentre, 13.5, 6.2), Colour{18, 20, 26});
    FillShape(canvas, {6, 6, 26, 22}, Circle(kCentre + look, 13.5, 4.3),
              SphereShader(kCentre + look, 13.5, 4.3, lens, 0.2));
    FillShape(canvas, {6, 6, 26, 22}, Circle(kCentre + look, 13.5, 1.8), Colour{20, 10, 10});
    FillShape(canvas, {6, 6, 26, 22}, Circle(kCentre + look - 1.4, 12.0, 0.9),
              Colour{255, 255, 255});
    return canvas;
}

// A floating skull with glowing eyes whose jaw snaps open and shut.
Canvas PaintSkull(double phase, Colour bone, Colour eyes) {
    Canvas canvas(kFrameSize, kFrameSize);
    const double open = 0.5 - 0.5 * CosineTurns(phase);  // 0 at phase 0, 1 at phase 0.5
    const double bob = SineTurns(phase) * 1.0;
    const double top = 3.0 + bob;
    // Jaw, drawn first so the cranium overlaps its hinge.
    const double jawTop = top + 18.0 + open * 3.5;
    FillShape(canvas, {6, jawTop - 1, 26, jawTop + 9},
              RoundedRect(8.5, jawTop, 23.5, jawTop + 7.0, 3.0),
              [&](double, double y) { return Scale(bone, 0.95 - (y - jawTop) * 0.05); });
    for (int i = 0; i < 5; ++i) {
        const double x = 10.0 + i * 2.6;
        FillShape(canvas, {x, jawTop, x + 2.5, jawTop + 3},
                  Rect(x + 0.3, jawTop, x + 2.0, jawTop + 2.5), Colour{250, 246, 230});
    }
    // Glow of the mouth when open.
    if (open > 0.2) Glow(canvas, kCentre, top + 19.5, 6.0 * open, eyes, 0.7 * open);
    // Cranium and cheekbones.
    FillShape(canvas, {2, top - 1, 30, top + 22}, Ellipse(kCentre, top + 10.0, 12.5, 11.0),
              SphereShader(kCentre, top + 9.0, 13.0, bone, 0.7));
    FillShape(canvas, {6, top + 12, 26, top + 22},
              RoundedRect(8.0, top + 13.0, 24.0, top + 20.5, 3.5),
              SphereShader(kCentre, top + 12.0, 12.0, bone, 0.2));
    for (int i = 0; i < 4; ++i) {
        const double x = 10.6 + i * 2.9;
        FillShape(canvas, {x, top + 18, x + 3, top + 22}, Rect(x, top + 18.0, x + 2.2, top + 21.0),
                  Colour{252, 248, 232});
    }
    // Eye sockets with burning pupils.
    for (int side = -1; side <= 1; side += 2) {
        const double ex = kCentre + side * 5.0;
        const double ey = top + 11.0;
        FillShape(canvas, {ex - 5, ey - 5, ex + 5, ey + 5}, Ellipse(ex, ey, 3.8, 3.4),
                  Colour{24, 16, 22});
        Glow(canvas, ex, ey, 4.5, eyes, 0.6 + 0.4 * open);
        FillShape(canvas, {ex - 3, ey - 3, ex + 3, ey + 3}, Circle(ex, ey, 1.3 + open * 0.5),
                  Mix(eyes, Colour{255, 255, 255}, 0.5));
    }
    // Nose.
    FillShape(canvas, {12, top + 13, 20, top + 18},
              Triangle(kCentre, top + 13.5, kCentre - 1.8, top + 17.0, kCentre + 1.8, top + 17.0),
              Colour{40, 30, 34});
    // A crack across the crown.
    Line(canvas, kCentre + 2.0, top + 0.5, kCentre + 4.0, top + 4.0, Scale(bone, 0.45), 0.9);
    Line(canvas, kCentre + 4.0, top + 4.0, kCentre + 2.5, top + 6.5, Scale(bone, 0.45), 0.9);
    return canvas;
}

// A jester's head: a harlequin face under a three-pointed hat whose bells swing.
Canvas PaintJestoid(double phase, Colour hatA, Colour hatB) {
    Canvas canvas(kFrameSize, kFrameSize);
    const double swing = SineTurns(phase + 0.25) * 2.5;  // +2.5 at phase 0, -2.5 at phase 0.5
    const Colour face{236, 222, 206};
    // Hat points: left, middle, right, each ending in a bell.
    const double tips[3][2] = {{2.5 + swing, 7.5 - swing * 0.3},
                               {kCentre + swing * 0.6, 1.8},
                               {29.5 + swing, 7.5 + swing * 0.3}};
    const double bases[3][2] = {{9.0, 14.0}, {kCentre, 10.0}, {23.0, 14.0}};
    for (int i = 0; i < 3; ++i) {
        const Colour colour = (i % 2 == 0) ? hatA : hatB;
        FillShape(canvas, {0, 0, 32, 18},
                  Triangle(bases[i][0] - 5.5, bases[i][1] + 3.0, bases[i][0] + 5.5,
                           bases[i][1] + 3.0, tips[i][0], tips[i][1]),
                  [&](double x, double) {
                      return Scale(colour, 0.75 + 0.35 * Clamp((bases[i][0] - x) / 8.0, -1, 1));
                  });
    }
    // Hat band with diamonds.
    FillShape(canvas, {5, 12, 27, 18}, RoundedRect(6.0, 13.0, 26.0, 17.0, 2.0), Scale(hatB, 0.7));
    for (int i = 0; i < 4; ++i) {
        const double cx = 9.0 + i * 4.7;
        FillShape(
            canvas, {cx - 2, 13, cx + 2, 17},
            [cx](double x, double y) {
                return (x - cx < 0 ? cx - x : x - cx) + (y - 15.0 < 0 ? 15.0 - y : y - 15.0) <= 1.9;
            },
            (i % 2 == 0) ? hatA : Colour{250, 230, 120});
    }
    for (int i = 0; i < 3; ++i) {
        FillShape(canvas, {tips[i][0] - 3, tips[i][1] - 3, tips[i][0] + 3, tips[i][1] + 3},
                  Circle(tips[i][0], tips[i][1], 2.3),
                  SphereShader(tips[i][0], tips[i][1], 2.3, Colour{250, 210, 60}, 1.0));
    }
    // Face with a grin that widens.
    FillShape(canvas, {6, 15, 26, 32}, Ellipse(kCentre, 22.5, 8.5, 8.0),
              SphereShader(kCentre, 21.5, 9.0, face, 0.4));
    const double grin = 0.6 + 0.4 * (0.5 - 0.5 * CosineTurns(phase));
    FillShape(
        canvas, {9, 24, 23, 30},
        [&](double x, double y) {
            const double u = (x - kCentre) / (5.5 + grin);
            return y >= 25.0 + u * u * 1.5 && y <= 26.0 + (1.0 - u * u) * 2.6 * grin && u >= -1.0 &&
                   u <= 1.0;
        },
        Colour{140, 20, 50});
    for (int side = -1; side <= 1; side += 2) {
        const double ex = kCentre + side * 3.6;
        FillShape(canvas, {ex - 2, 19, ex + 2, 24}, Ellipse(ex, 21.3, 1.3, 1.8),
                  Colour{30, 20, 60});
        // Painted diamond under each eye, in hat colours.
        FillShape(
            canvas, {ex - 2, 23, ex + 2, 27},
            [ex](double x, double y) {
                return (x - ex < 0 ? ex - x : x - ex) * 1.6 +
                           (y - 24.6 < 0 ? 24.6 - y : y - 24.6) <=
                       1.6;
            },
            side < 0 ? hatA : hatB, 0.8);
    }
    // Red nose.
    FillShape(canvas, {13, 21, 19, 26}, Circle(kCentre, 23.4, 1.7),
              SphereShader(kCentre, 23.4, 1.7, Colour{230, 40, 40}, 1.0));
    return canvas;
}

struct EnemyColours {
    Colour first;
    Colour second;
};

// Row 0 holds the colours the game shows; rows 1 to 3 are alternative colourings.
EnemyColours ColoursFor(EnemyKind kind, int variant) {
    static const EnemyColours kSpike[4] = {{{150, 60, 50}, {255, 150, 40}},
                                           {{70, 120, 60}, {170, 255, 70}},
                                           {{60, 80, 150}, {80, 200, 255}},
                                           {{150, 120, 50}, {255, 230, 90}}};
    static const EnemyColours kCybud[4] = {{{120, 170, 170}, {255, 60, 50}},
                                           {{170, 150, 110}, {60, 160, 255}},
                                           {{150, 130, 180}, {90, 255, 120}},
                                           {{180, 180, 190}, {255, 170, 30}}};
    static const EnemyColours kSkull[4] = {{{232, 226, 200}, {90, 255, 110}},
                                           {{225, 215, 190}, {255, 80, 60}},
                                           {{210, 220, 230}, {80, 190, 255}},
                                           {{235, 215, 170}, {220, 110, 255}}};
    static const EnemyColours kJestoid[4] = {{{170, 60, 220}, {60, 200, 90}},
                                             {{220, 60, 80}, {60, 120, 230}},
                                             {{40, 170, 200}, {240, 140, 40}},
                                             {{210, 190, 50}, {120, 70, 200}}};
    switch (kind) {
        case EnemyKind::kSpike:
            return kSpike[variant];
        case EnemyKind::kCybud:
            return kCybud[variant];
        case EnemyKind::kSkull:
            return kSkull[variant];
        default:
            return kJestoid[variant];
    }
}

}  // namespace

RgbImage MakeEnemySheet(EnemyKind kind) {
    return AssembleSheet(40, 4, [kind](int frame) {
        const double phase = PhaseOfColumn(frame % kFramesPerRow);
        const EnemyColours colours = ColoursFor(kind, frame / kFramesPerRow);
        switch (kind) {
            case EnemyKind::kSpike:
                return PaintSpike(phase, colours.first, colours.second);
            case EnemyKind::kCybud:
                return PaintCybud(phase, colours.first, colours.second);
            case EnemyKind::kSkull:
                return PaintSkull(phase, colours.first, colours.second);
            default:
                return PaintJestoid(phase, colours.first, colours.second);
        }
    });
}

}  // namespace datagen
