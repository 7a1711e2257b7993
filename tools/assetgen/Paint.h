#pragma once

#include "Gen.h"

#include <cmath>

// Per-pixel painting helpers shared by the picture makers.
namespace gen {

// Fills every pixel from f(u, v) with u, v the pixel centre in 0 … 1.
template <class F> QImage paint(int w, int h, F f) {
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = f((x + 0.5) / w, (y + 0.5) / h);
    }
    return img;
}

// Shades a wrapping height map (w × h values) lit from the upper left; returns diffuse 0 … 1 per pixel
// and a specular term in specular.
void shadeHeight(const std::vector<double>& height, int w, int h, double strength,
                 std::vector<double>& diffuse, std::vector<double>& specular);

// Distance from p to the nearest line of a grid of period `cell`, wrapping.
inline double gridDistance(double p, double cell) {
    double m = std::fmod(p, cell);
    if (m < 0)
        m += cell;
    return std::min(m, cell - m);
}

// Distance from p to the nearest multiple of `period` (wrapping offsets).
inline double wrapDelta(double d, double period) {
    d = std::fmod(d, period);
    if (d > period / 2)
        d -= period;
    if (d < -period / 2)
        d += period;
    return d;
}

} // namespace gen
