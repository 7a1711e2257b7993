#include "Paint.h"

namespace gen {

void shadeHeight(const std::vector<double>& height, int w, int h, double strength,
                 std::vector<double>& diffuse, std::vector<double>& specular) {
    diffuse.assign(w * h, 0);
    specular.assign(w * h, 0);
    const double lx = -0.45, ly = -0.55, lz = 0.70; // light from the upper left, in picture axes
    const double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            auto H = [&](int xx, int yy) { return height[((yy + h) % h) * w + ((xx + w) % w)]; };
            const double dx = (H(x + 1, y) - H(x - 1, y)) * strength;
            const double dy = (H(x, y + 1) - H(x, y - 1)) * strength;
            double nx = -dx, ny = -dy, nz = 1.0;
            const double nl = std::sqrt(nx * nx + ny * ny + nz * nz);
            nx /= nl;
            ny /= nl;
            nz /= nl;
            const double d = (nx * lx + ny * ly + nz * lz) / ll;
            diffuse[y * w + x] = d < 0 ? 0 : d;
            // Blinn half vector with the viewer straight above.
            double hx = lx / ll, hy = ly / ll, hz = lz / ll + 1;
            const double hl = std::sqrt(hx * hx + hy * hy + hz * hz);
            const double s = (nx * hx + ny * hy + nz * hz) / hl;
            specular[y * w + x] = s > 0 ? std::pow(s, 40) : 0;
        }
}

} // namespace gen
