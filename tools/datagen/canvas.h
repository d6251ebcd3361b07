// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace datagen {

// A colour with components from 0 to 255, kept as doubles while painting.
struct Colour {
    double r = 0, g = 0, b = 0;
};

Colour Mix(Colour a, Colour b, double t);
Colour Scale(Colour c, double factor);
Colour Add(Colour a, Colour b);
// Hue in turns, saturation and value in [0, 1].
Colour FromHsv(double hue, double saturation, double value);
Colour FromHex(std::uint32_t rgb);

// A painting surface with straight (non-premultiplied) alpha; new paint is laid over what is
// there. Width, height and the pixel-level calls (At, Blend, Paste, ForEachPixel) count pixels;
// shapes, shaders and glows are drawn in units, pixelsPerUnit pixels to a unit, so the same
// drawing painted onto a larger canvas comes out at that size with its edges as smooth. Pixel
// (x, y) has its centre at ((x + 0.5) / pixelsPerUnit, (y + 0.5) / pixelsPerUnit) in units.
class Canvas {
public:
    struct Pixel {
        Colour colour;
        double alpha = 0;
    };

    Canvas(int width, int height);
    Canvas(int width, int height, Colour fill);
    Canvas(int width, int height, double pixelsPerUnit);

    int Width() const { return width_; }
    int Height() const { return height_; }
    double PixelsPerUnit() const { return pixelsPerUnit_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    const Pixel& At(int x, int y) const { return pixels_[y * width_ + x]; }
    Pixel& At(int x, int y) { return pixels_[y * width_ + x]; }

    // Lays colour over pixel (x, y) with the given opacity; outside the canvas does nothing.
    void Blend(int x, int y, Colour colour, double opacity);
    // Lays another canvas over this one with its top-left corner at (left, top).
    void Paste(const Canvas& source, int left, int top, double opacity = 1.0);

private:
    int width_;
    int height_;
    double pixelsPerUnit_ = 1.0;
    std::vector<Pixel> pixels_;
};

// Shapes are given as "is this point inside" tests and painted with 4 x 4 samples per pixel,
// which gives smooth edges without any shape-specific edge code. Bounds, tests and shaders are
// in units.
using InsideTest = std::function<bool(double x, double y)>;
using Shader = std::function<Colour(double x, double y)>;

struct Box {
    double left, top, right, bottom;
};

void FillShape(Canvas& canvas, Box bounds, const InsideTest& inside, const Shader& shader,
               double opacity = 1.0);
void FillShape(Canvas& canvas, Box bounds, const InsideTest& inside, Colour colour,
               double opacity = 1.0);

InsideTest Circle(double cx, double cy, double radius);
InsideTest Ellipse(double cx, double cy, double rx, double ry);
InsideTest Rect(double left, double top, double right, double bottom);
InsideTest RoundedRect(double left, double top, double right, double bottom, double radius);
InsideTest Triangle(double ax, double ay, double bx, double by, double cx, double cy);
// All points within radius of the segment from (ax, ay) to (bx, by).
InsideTest Capsule(double ax, double ay, double bx, double by, double radius);
InsideTest Ring(double cx, double cy, double innerRadius, double outerRadius);

// Every pixel of the box (in pixels), by centre, handed to a painter that may change it.
void ForEachPixel(Canvas& canvas, Box bounds,
                  const std::function<void(int x, int y, Canvas::Pixel& pixel)>& painter);

// A soft round light: opacity falls from strength at the centre to 0 at the radius.
void Glow(Canvas& canvas, double cx, double cy, double radius, Colour colour, double strength);

// A straight line one unit wide with smooth edges.
void Line(Canvas& canvas, double ax, double ay, double bx, double by, Colour colour,
          double width = 1.0, double opacity = 1.0);

}  // namespace datagen
