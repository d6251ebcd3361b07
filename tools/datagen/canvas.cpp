// SPDX-License-Identifier: MIT
#include "canvas.h"

#include <algorithm>

#include "stable_math.h"

namespace datagen {

Colour Mix(Colour a, Colour b, double t) {
    return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t)};
}

Colour Scale(Colour c, double factor) {
    return {c.r * factor, c.g * factor, c.b * factor};
}

Colour Add(Colour a, Colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

Colour FromHsv(double hue, double saturation, double value) {
    const double h = Fract(hue) * 6.0;
    const int sector = FloorToInt(h);
    const double f = h - sector;
    const double v = value * 255.0;
    const double p = v * (1.0 - saturation);
    const double q = v * (1.0 - saturation * f);
    const double t = v * (1.0 - saturation * (1.0 - f));
    switch (sector) {
        case 0:
            return {v, t, p};
        case 1:
            return {q, v, p};
        case 2:
            return {p, v, t};
        case 3:
            return {p, q, v};
        case 4:
            return {t, p, v};
        default:
            return {v, p, q};
    }
}

Colour FromHex(std::uint32_t rgb) {
    return {static_cast<double>((rgb >> 16) & 0xFF), static_cast<double>((rgb >> 8) & 0xFF),
            static_cast<double>(rgb & 0xFF)};
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

Canvas::Canvas(int width, int height, Colour fill) : Canvas(width, height) {
    for (Pixel& pixel : pixels_) pixel = {fill, 1.0};
}

Canvas::Canvas(int width, int height, double pixelsPerUnit) : Canvas(width, height) {
    pixelsPerUnit_ = pixelsPerUnit;
}

void Canvas::Blend(int x, int y, Colour colour, double opacity) {
    if (!Contains(x, y) || opacity <= 0.0) return;
    opacity = std::min(opacity, 1.0);
    Pixel& under = At(x, y);
    const double alpha = opacity + under.alpha * (1.0 - opacity);
    if (alpha <= 0.0) return;
    const double underWeight = under.alpha * (1.0 - opacity) / alpha;
    const double overWeight = opacity / alpha;
    under.colour = Add(Scale(under.colour, underWeight), Scale(colour, overWeight));
    under.alpha = alpha;
}

void Canvas::Paste(const Canvas& source, int left, int top, double opacity) {
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x) {
            const Pixel& pixel = source.At(x, y);
            Blend(left + x, top + y, pixel.colour, pixel.alpha * opacity);
        }
    }
}

void FillShape(Canvas& canvas, Box bounds, const InsideTest& inside, const Shader& shader,
               double opacity) {
    const double scale = canvas.PixelsPerUnit();
    const int x0 = std::max(0, FloorToInt(bounds.left * scale));
    const int y0 = std::max(0, FloorToInt(bounds.top * scale));
    const int x1 = std::min(canvas.Width() - 1, FloorToInt(bounds.right * scale));
    const int y1 = std::min(canvas.Height() - 1, FloorToInt(bounds.bottom * scale));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    if (inside((x + (sx + 0.5) / 4.0) / scale, (y + (sy + 0.5) / 4.0) / scale)) {
                        ++hits;
                    }
                }
            }
            if (hits == 0) continue;
            canvas.Blend(x, y, shader((x + 0.5) / scale, (y + 0.5) / scale), opacity * hits / 16.0);
        }
    }
}

void FillShape(Canvas& canvas, Box bounds, const InsideTest& inside, Colour colour,
               double opacity) {
    FillShape(
        canvas, bounds, inside, [colour](double, double) { return colour; }, opacity);
}

InsideTest Circle(double cx, double cy, double radius) {
    return [=](double x, double y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

InsideTest Ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx;
        const double dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

InsideTest Rect(double left, double top, double right, double bottom) {
    return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}

InsideTest RoundedRect(double left, double top, double right, double bottom, double radius) {
    return [=](double x, double y) {
        if (x < left || x >= right || y < top || y >= bottom) return false;
        const double cx = Clamp(x, left + radius, right - radius);
        const double cy = Clamp(y, top + radius, bottom - radius);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    };
}

InsideTest Triangle(double ax, double ay, double bx, double by, double cx, double cy) {
    return [=](double x, double y) {
        const double d1 = (x - bx) * (ay - by) - (ax - bx) * (y - by);
        const double d2 = (x - cx) * (by - cy) - (bx - cx) * (y - cy);
        const double d3 = (x - ax) * (cy - ay) - (cx - ax) * (y - ay);
        const bool hasNegative = d1 < 0 || d2 < 0 || d3 < 0;
        const bool hasPositive = d1 > 0 || d2 > 0 || d3 > 0;
        return !(hasNegative && hasPositive);
    };
}

InsideTest Capsule(double ax, double ay, double bx, double by, double radius) {
    return [=](double x, double y) {
        const double vx = bx - ax;
        const double vy = by - ay;
        const double lengthSquared = vx * vx + vy * vy;
        double t = lengthSquared > 0 ? ((x - ax) * vx + (y - ay) * vy) / lengthSquared : 0.0;
        t = Clamp(t, 0.0, 1.0);
        const double dx = x - (ax + t * vx);
        const double dy = y - (ay + t * vy);
        return dx * dx + dy * dy <= radius * radius;
    };
}

InsideTest Ring(double cx, double cy, double innerRadius, double outerRadius) {
    return [=](double x, double y) {
        const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d >= innerRadius * innerRadius && d <= outerRadius * outerRadius;
    };
}

void ForEachPixel(Canvas& canvas, Box bounds,
                  const std::function<void(int x, int y, Canvas::Pixel& pixel)>& painter) {
    const int x0 = std::max(0, FloorToInt(bounds.left));
    const int y0 = std::max(0, FloorToInt(bounds.top));
    const int x1 = std::min(canvas.Width(), FloorToInt(bounds.right));
    const int y1 = std::min(canvas.Height(), FloorToInt(bounds.bottom));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) painter(x, y, canvas.At(x, y));
    }
}

void Glow(Canvas& canvas, double cx, double cy, double radius, Colour colour, double strength) {
    const double scale = canvas.PixelsPerUnit();
    ForEachPixel(canvas,
                 {(cx - radius) * scale, (cy - radius) * scale, (cx + radius) * scale + 1,
                  (cy + radius) * scale + 1},
                 [&](int x, int y, Canvas::Pixel&) {
                     const double dx = (x + 0.5) / scale - cx;
                     const double dy = (y + 0.5) / scale - cy;
                     const double d = Sqrt(dx * dx + dy * dy) / radius;
                     if (d >= 1.0) return;
                     const double falloff = (1.0 - d) * (1.0 - d);
                     canvas.Blend(x, y, colour, strength * falloff);
                 });
}

void Line(Canvas& canvas, double ax, double ay, double bx, double by, Colour colour, double width,
          double opacity) {
    const double r = width / 2.0;
    FillShape(canvas,
              {std::min(ax, bx) - r - 1, std::min(ay, by) - r - 1, std::max(ax, bx) + r + 1,
               std::max(ay, by) + r + 1},
              Capsule(ax, ay, bx, by, r), colour, opacity);
}

}  // namespace datagen
