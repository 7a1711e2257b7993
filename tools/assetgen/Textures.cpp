// Floor, effects, head-up display, font and sky textures.
#include "Paint.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <QRadialGradient>

#include <algorithm>
#include <functional>

namespace gen {

namespace {

// ---- floor tiles: dark riveted plates, seamless ----

double rivet(double x, double y, double cx, double cy, double r, double size) {
    const double dx = wrapDelta(x - cx, size), dy = wrapDelta(y - cy, size);
    const double d2 = (dx * dx + dy * dy) / (r * r);
    return d2 < 1 ? std::sqrt(1 - d2) : 0;
}

double plateEdge(double d, double bevel) {
    return smoothstep(0.5, bevel, d);
}

// Height of floor variant k at pixel (x, y) of a size × size tile.
double floorHeight(int k, double x, double y, double size, const Noise& n) {
    const double s = size;
    double h = 0;
    switch (k) {
    case 0: { // four large plates, rivets along the seams
        const double d = std::min(gridDistance(x, s / 2), gridDistance(y, s / 2));
        h = plateEdge(d, 5);
        for (int i = 0; i < 8; ++i) {
            const double t = (i + 0.5) * s / 8;
            h += 0.5 * (rivet(x, y, t, 9, 2.6, s) + rivet(x, y, 9, t, 2.6, s) +
                        rivet(x, y, t, s / 2 + 9, 2.6, s) + rivet(x, y, s / 2 + 9, t, 2.6, s));
        }
        break;
    }
    case 1: { // sixteen small plates with a raised boss each
        const double c = s / 4;
        const double d = std::min(gridDistance(x, c), gridDistance(y, c));
        h = plateEdge(d, 4);
        const double bx = wrapDelta(x - c / 2, c), by = wrapDelta(y - c / 2, c);
        const double r = std::sqrt(bx * bx + by * by);
        h += 0.35 * smoothstep(16, 13, r) - 0.25 * smoothstep(8, 6, r);
        break;
    }
    case 2: { // tread plate of diamond studs inside a frame
        const double d = std::min(gridDistance(x, s), gridDistance(y, s));
        h = plateEdge(d, 10) * 0.8;
        if (d > 14) {
            const double c = s / 12;
            const double u = std::fmod(x + 1000 * c, c) - c / 2, v = std::fmod(y + 1000 * c, c) - c / 2;
            const double row = std::floor((y + 1000 * c) / c);
            const bool flip = static_cast<long>(row) % 2 == 0;
            const double a = flip ? (u + v) : (u - v), b = flip ? (u - v) : (u + v);
            const double stud = std::max(0.0, 1 - std::fabs(a) / 9) * std::max(0.0, 1 - std::fabs(b) / 3);
            h += 0.35 * std::min(1.0, stud * 3);
        }
        break;
    }
    case 3: { // one big plate with a round vent
        const double d = std::min(gridDistance(x, s), gridDistance(y, s));
        h = plateEdge(d, 6);
        const double dx = x - s / 2, dy = y - s / 2, r = std::sqrt(dx * dx + dy * dy);
        h -= 0.5 * smoothstep(s * 0.33, s * 0.31, r);
        h += 0.4 * smoothstep(s * 0.36, s * 0.34, r) * smoothstep(s * 0.29, s * 0.31, r);
        if (r < s * 0.3) // slats of the vent
            h += 0.3 * smoothstep(0.5, 2.5, gridDistance(x + y, 14.0)) - 0.3;
        for (int i = 0; i < 4; ++i)
            h += 0.6 * rivet(x, y, (i % 2 ? 0.12 : 0.88) * s, (i / 2 ? 0.12 : 0.88) * s, 4, s);
        break;
    }
    default: { // strips across, plates in between
        const double dy = gridDistance(y, s / 4);
        const double dx = gridDistance(x, s);
        h = plateEdge(std::min(dx, dy), 4);
        const double strip = std::fmod(y + s, s / 2) < s / 4 ? 1 : 0;
        if (strip > 0 && dy > 6)
            h -= 0.25 * smoothstep(1.5, 0.5, gridDistance(x, 8.0));
        break;
    }
    }
    h += 0.05 * n.fbm(x / s * 8, y / s * 8, 4);
    return h;
}

QImage makeFloor(int k) {
    const int size = 256;
    Noise n(100 + k, 8), grime(200 + k, 4);
    std::vector<double> height(size * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            height[y * size + x] = floorHeight(k, x, y, size, n);
    std::vector<double> diffuse, specular;
    shadeHeight(height, size, size, 4.0, diffuse, specular);
    const double tints[5][3] = {
        {0.40, 0.43, 0.50}, {0.36, 0.40, 0.46}, {0.42, 0.42, 0.46}, {0.34, 0.38, 0.44}, {0.38, 0.40, 0.48}};
    const double* t = tints[k];
    return paint(size, size, [&](double u, double v) {
        const int x = static_cast<int>(u * size), y = static_cast<int>(v * size);
        const int i = y * size + x;
        const double dirt = 0.75 + 0.25 * grime.fbm(u * 4, v * 4, 4);
        const double cavity = 0.55 + 0.45 * clamp01(height[i] + 0.2);
        const double light = (0.35 + 0.85 * diffuse[i]) * dirt * cavity;
        const double scratch = 0.06 * std::max(0.0, n.fbm(u * 32, v * 2, 2));
        return rgba(t[0] * light + 0.5 * specular[i] + scratch, t[1] * light + 0.5 * specular[i] + scratch,
                    t[2] * light + 0.55 * specular[i] + scratch);
    });
}

// ---- floor light maps: soft and bright, calm at the edges so neighbours meet ----

QImage makeFloorMap(int k) {
    Noise n(300 + k, 4);
    return paint(256, 256, [&](double u, double v) {
        const double cx = u - 0.5, cy = v - 0.5, r = std::sqrt(cx * cx + cy * cy);
        double l = 0.7;
        switch (k) {
        case 0:
            l = 0.6 + 0.4 * smoothstep(0.5, 0.05, r);
            break;
        case 1:
            l = 0.72 + 0.1 * n.fbm(u * 2, v * 2, 3);
            break;
        case 2:
            l = 0.6 + 0.35 * smoothstep(0.25, 0.02, std::fabs(cx)) * (0.7 + 0.3 * std::cos(v * 2 * Pi));
            break;
        case 3:
            l = 0.6 +
                0.3 * std::max(smoothstep(0.12, 0.0, std::fabs(cx)), smoothstep(0.12, 0.0, std::fabs(cy))) +
                0.1 * smoothstep(0.3, 0.0, r);
            break;
        default:
            l = 0.65 + 0.25 * n.fbm(u * 2 + 7, v * 2 + 3, 4) + 0.15 * smoothstep(0.45, 0.1, r);
            break;
        }
        // Rounded fade towards the common edge level, so neighbouring cells meet without a frame.
        const double box = std::pow(std::pow(std::fabs(cx), 4) + std::pow(std::fabs(cy), 4), 0.25);
        const double edge = smoothstep(0.5, 0.25, box);
        l = mix(0.7, l, edge);
        return rgba(l * 0.95, l * 0.97, l);
    });
}

// ---- border strip: rail, hazard chevrons, lip towards the tiles ----

QImage makeBorder() {
    const int size = 256;
    Noise n(400, 8);
    std::vector<double> height(size * size);
    auto across = [](double u) { return u < 0.5 ? 1.0 - u : u; }; // both halves alike, 0.5 outer edge
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double a = across((x + 0.5) / size);
            double h = 0;
            if (a < 0.62)
                h = 0.6 + 0.3 * std::sin((a - 0.5) / 0.12 * Pi);
            else if (a > 0.9)
                h = 0.8 - 0.4 * smoothstep(0.9, 1.0, a);
            else
                h = 0.2;
            h += 0.5 * rivet(a * size, y, 0.56 * size, 16, 3, size) +
                 0.5 * rivet(a * size, y, 0.56 * size, 16 + 128, 3, size);
            h += 0.04 * n.fbm(x / 32.0, y / 32.0, 3);
            height[y * size + x] = h;
        }
    std::vector<double> diffuse, specular;
    shadeHeight(height, size, size, 3.0, diffuse, specular);
    return paint(size, size, [&](double u, double v) {
        const int x = static_cast<int>(u * size), y = static_cast<int>(v * size);
        const int i = y * size + x;
        const double a = across(u);
        double r = 0.42, g = 0.44, b = 0.5;
        if (a >= 0.62 && a <= 0.9) {
            // Chevrons pointing along the flight, four per tile so that they repeat seamlessly.
            const double stripe = std::fmod(v * 4 + (a - 0.62) * 3 + 10, 1.0);
            const bool yellow = stripe < 0.5;
            r = yellow ? 0.85 : 0.08;
            g = yellow ? 0.62 : 0.08;
            b = yellow ? 0.08 : 0.09;
            const double wear = 0.8 + 0.2 * n.fbm(u * 16, v * 16, 3);
            r *= wear;
            g *= wear;
            b *= wear;
        }
        const double glow = a > 0.9 && a < 0.93 ? 0.6 : 0; // a thin blue light line at the inner edge
        const double l = 0.35 + 0.8 * diffuse[i];
        return rgba(r * l + 0.4 * specular[i], g * l + 0.4 * specular[i] + glow * 0.4,
                    b * l + 0.45 * specular[i] + glow);
    });
}

// ---- effects ----

QImage makeMark() {
    Noise n(500, 8);
    return paint(128, 128, [&](double u, double v) {
        const double cx = u - 0.5, cy = v - 0.5;
        const double ang = std::atan2(cy, cx);
        const double r = std::sqrt(cx * cx + cy * cy) * 2 *
                         (1 + 0.25 * n.fbm(std::cos(ang) * 2 + 4, std::sin(ang) * 2 + 4, 3));
        const double a = smoothstep(0.95, 0.45, r) * (0.75 + 0.25 * n.fbm(u * 8, v * 8, 4));
        const double rim = smoothstep(0.3, 0.75, r);
        return rgba(0.15 + 0.6 * rim, 0.1 + 0.3 * rim, 0.08, a);
    });
}

QImage makeNest(bool dead) {
    Noise n(dead ? 610 : 600, 8), veins(620, 16);
    return paint(256, 256, [&](double u, double v) {
        const double cx = u - 0.5, cy = v - 0.5;
        const double r = std::sqrt(cx * cx + cy * cy) * 2; // 0 centre, 1 edge midpoints
        const double ang = std::atan2(cy, cx);
        const double wobble = 0.12 * n.fbm(std::cos(ang) * 1.5 + 3, std::sin(ang) * 1.5 + 3, 3);
        const double alpha = smoothstep(1.0 + wobble, 0.82 + wobble, r);
        // Radial ridges and veins of the mound.
        const double ridge = 0.5 + 0.5 * std::sin(ang * 14 + 6 * n.fbm(u * 4, v * 4, 3));
        const double vein = std::pow(1 - std::fabs(veins.fbm(u * 6, v * 6, 3)), 8);
        const double core = smoothstep(0.25, 0.0, r);
        const double tex = 0.6 + 0.4 * n.fbm(u * 16, v * 16, 4);
        if (!dead) {
            const double rr = (0.25 + 0.25 * ridge) * tex + 0.9 * vein * (1 - r) + 1.0 * core;
            const double gg = (0.12 + 0.25 * ridge) * tex + 0.5 * vein * (1 - r) + 0.85 * core;
            const double bb = (0.18 + 0.1 * ridge) * tex + 0.1 * vein + 0.3 * core;
            return rgba(rr, gg, bb, alpha);
        }
        const double crack = std::pow(1 - std::fabs(veins.fbm(u * 5 + 9, v * 5, 3)), 14);
        const double ash = (0.12 + 0.12 * ridge) * tex;
        return rgba(ash + 0.7 * crack * (1 - r), ash + 0.25 * crack * (1 - r), ash * 0.9, alpha);
    });
}

QImage makeCamouflage() {
    Noise a(700, 4), b(701, 8), c(702, 8), d(703, 16);
    return paint(256, 256, [&](double u, double v) {
        double r = 0.42, g = 0.45, bb = 0.28; // olive
        if (a.fbm(u * 4, v * 4, 3) > 0.1) {
            r = 0.22;
            g = 0.30;
            bb = 0.16;
        }
        if (b.fbm(u * 8, v * 8, 3) > 0.25) {
            r = 0.40;
            g = 0.30;
            bb = 0.18;
        }
        if (c.fbm(u * 8, v * 8, 3) > 0.35) {
            r = 0.1;
            g = 0.11;
            bb = 0.08;
        }
        const double grain = 0.85 + 0.15 * d.fbm(u * 16, v * 16, 3);
        const double panel = std::min(gridDistance(u * 256, 64), gridDistance(v * 256, 128)) < 1 ? 0.6 : 1.0;
        return rgba(r * grain * panel, g * grain * panel, bb * grain * panel);
    });
}

QImage makeThunder() {
    Noise n(800, 8);
    // The strip repeats the picture mirrored point by point, so the bolt starts and ends at the middle.
    return paint(64, 128, [&](double u, double v) {
        const double env = std::sin(v * Pi);
        const double path = 0.5 + 0.28 * env * n.fbm(v * 4, 0.5, 4) + 0.08 * env * n.fbm(v * 16, 3.5, 2);
        const double d = std::fabs(u - path);
        const double core = smoothstep(0.06, 0.0, d);
        const double glow = smoothstep(0.3, 0.0, d);
        return rgba(0.7 + 0.3 * core, 0.8 + 0.2 * core, 1.0, std::max(core, 0.45 * glow));
    });
}

QImage makeBeam() {
    Noise n(900, 8);
    return paint(64, 256, [&](double u, double v) {
        const double d = std::fabs(u - 0.5) * 2;
        const double streak = 0.75 + 0.25 * n.fbm(u * 8, v * 2, 3);
        const double core = std::pow(1 - d, 3) * streak + 0.6 * smoothstep(0.15, 0.0, d);
        return rgba(0.8 + 0.2 * core, 0.9 + 0.1 * core, 1.0, clamp01(core));
    });
}

QImage makeChain() {
    const int w = 128, h = 128;
    Noise n(1000, 8);
    std::vector<double> height(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double link = std::fmod(y, 32.0);
            double hh = smoothstep(1, 5, std::min(link, 32 - link)); // gaps between the links
            const double cleat = std::fabs(std::fmod(y, 32.0) - 16);
            if (cleat < 5 && x > 10 && x < 118)
                hh += 0.6 * smoothstep(5, 3, cleat);
            const double pin = std::min(std::fabs(x - 6.0), std::fabs(x - 121.0));
            hh += 0.4 * smoothstep(4, 1, pin);
            hh += 0.05 * n.fbm(x / 16.0, y / 16.0, 3);
            height[y * w + x] = hh;
        }
    std::vector<double> diffuse, specular;
    shadeHeight(height, w, h, 3.0, diffuse, specular);
    return paint(w, h, [&](double u, double v) {
        const int i = static_cast<int>(v * h) * w + static_cast<int>(u * w);
        const double l = 0.2 + 0.8 * diffuse[i];
        const double rust = 0.5 + 0.5 * n.fbm(u * 4, v * 4, 3);
        return rgba((0.3 + 0.08 * rust) * l + 0.5 * specular[i], (0.29 + 0.02 * rust) * l + 0.5 * specular[i],
                    0.28 * l + 0.5 * specular[i]);
    });
}

QImage makeSpark() {
    return paint(64, 64, [](double u, double v) {
        const double cx = u - 0.5, cy = v - 0.5, r = std::sqrt(cx * cx + cy * cy) * 2;
        const double a = std::pow(clamp01(1 - r), 2.2) + 0.5 * smoothstep(0.2, 0.0, r);
        return rgba(1.0, 0.85 + 0.15 * smoothstep(0.4, 0.0, r), 0.5 + 0.5 * smoothstep(0.3, 0.0, r),
                    clamp01(a));
    });
}

QImage makeSmoke(int k) {
    Noise n(1100 + k, 8);
    const double tone[3][3] = {{0.62, 0.6, 0.58}, {0.45, 0.4, 0.36}, {0.75, 0.74, 0.76}};
    return paint(128, 128, [&](double u, double v) {
        const double cx = u - 0.5, cy = v - 0.5, r = std::sqrt(cx * cx + cy * cy) * 2;
        // Low, puffy noise: round lobes rather than grain.
        const double billow = n.fbm(u * 3, v * 3, 3, 0.4);
        const double lobes = 1 - std::fabs(n.fbm(u * 5 + 3, v * 5 + 1, 2, 0.4));
        const double a = smoothstep(1.0, 0.35, r - 0.35 * billow) * (0.7 + 0.3 * lobes);
        // Lit from the upper left: compare with the noise a little towards the light.
        const double towards = n.fbm(u * 3 - 0.06, v * 3 - 0.06, 3, 0.4);
        const double lit =
            0.45 + 0.55 * clamp01(0.7 + 2.2 * (billow - towards) + 0.25 * (0.5 - v) + 0.15 * lobes);
        const double* t = tone[k];
        return rgba(t[0] * lit, t[1] * lit, t[2] * lit, clamp01(a));
    });
}

// ---- text pictures ----

QImage makeGameOver() {
    QImage img(512, 128, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(displayFamily());
    f.setPixelSize(92);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    QPainterPath path;
    path.addText(0, 0, f, "GAME OVER");
    QRectF br = path.boundingRect();
    // Fit the words into the picture with room for the outline.
    QTransform fit;
    const double k = std::min(470.0 / br.width(), 96.0 / br.height());
    fit.translate(256, 64);
    fit.scale(k, k);
    fit.translate(-br.center().x(), -br.center().y());
    path = fit.map(path);
    br = path.boundingRect();
    // Soft halo (mostly below the alpha test), dark edge, then a bright metal face.
    for (int i = 6; i >= 1; --i) {
        p.strokePath(path,
                     QPen(QColor(120, 140, 255, 18), i * 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    p.strokePath(path, QPen(QColor(20, 30, 80), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient g(0, 64 - br.height() / 2, 0, 64 + br.height() / 2);
    g.setColorAt(0.0, QColor(255, 255, 255));
    g.setColorAt(0.45, QColor(170, 180, 205));
    g.setColorAt(0.5, QColor(90, 100, 130));
    g.setColorAt(1.0, QColor(220, 225, 240));
    p.fillPath(path, g);
    p.end();
    return img;
}

QImage makeBoard() {
    // The panel quad spans 0.18 of the screen both ways; u across, v from its top edge down.
    const int s = 256;
    QImage img(s, s, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Outer frame: a bevelled steel bracket.
    QPainterPath frame;
    frame.addRoundedRect(QRectF(4, 4, s - 8, s - 8), 22, 22);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(14, 14, s - 28, s - 28), 14, 14);
    QLinearGradient steel(0, 0, s, s);
    steel.setColorAt(0, QColor(200, 210, 225));
    steel.setColorAt(0.4, QColor(95, 105, 125));
    steel.setColorAt(0.6, QColor(60, 68, 85));
    steel.setColorAt(1, QColor(150, 160, 180));
    p.fillPath(frame.subtracted(inner), steel);
    p.setPen(QPen(QColor(20, 25, 35), 2));
    p.drawPath(frame);
    p.setPen(QPen(QColor(120, 170, 255, 160), 1.5));
    p.drawPath(inner);
    // Tinted glass inside so that the game shows through.
    p.fillPath(inner, QColor(10, 20, 40, 110));
    auto box = [&](QRectF r, QColor fill, QColor edge) {
        QPainterPath b;
        b.addRoundedRect(r, 4, 4);
        p.fillPath(b, fill);
        p.setPen(QPen(edge, 2));
        p.drawPath(b);
    };
    // Score window: text at v 0.205 … 0.389, u 0.178 … 0.811.
    box(QRectF(0.15 * s, 0.17 * s, 0.70 * s, 0.25 * s), QColor(0, 0, 0, 150), QColor(110, 150, 220));
    // Bombs window: text at u 0.47 … 0.67, v 0.435 … 0.583, arrow just left of it.
    box(QRectF(0.30 * s, 0.45 * s, 0.45 * s, 0.17 * s), QColor(0, 0, 0, 140), QColor(200, 170, 60));
    // Energy gauge slot: u 0.122 … 0.867, v 0.75 … 0.917; fully clear so the bar shows.
    QRectF gauge(0.105 * s, 0.735 * s, 0.78 * s, 0.195 * s);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillRect(gauge.adjusted(2, 2, -2, -2), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(QColor(170, 190, 220), 3));
    p.drawRoundedRect(gauge, 4, 4);
    for (int i = 1; i < 8; ++i) { // tick marks on the bezel above the gauge
        const double x = gauge.left() + gauge.width() * i / 8;
        p.setPen(QPen(QColor(220, 230, 255, 170), 1.5));
        p.drawLine(QPointF(x, gauge.top() - 6), QPointF(x, gauge.top() - 1));
    }
    // Small labels in the free bands.
    QFont f(boldFamily());
    f.setPixelSize(15);
    p.setFont(f);
    p.setPen(QColor(150, 190, 255));
    p.drawText(QRectF(0.15 * s, 0.06 * s, 0.7 * s, 0.1 * s), Qt::AlignCenter, "SCORE");
    p.drawText(QRectF(0.15 * s, 0.635 * s, 0.7 * s, 0.09 * s), Qt::AlignCenter, "ENERGY");
    p.setPen(QColor(230, 200, 80));
    f.setPixelSize(12);
    p.setFont(f);
    p.drawText(QRectF(0.77 * s, 0.45 * s, 0.17 * s, 0.17 * s), Qt::AlignCenter, "BMB");
    // Screws at the corners.
    for (QPointF c : {QPointF(22, 22), QPointF(s - 22, 22), QPointF(22, s - 22), QPointF(s - 22, s - 22)}) {
        QRadialGradient g(c - QPointF(1.5, 1.5), 5);
        g.setColorAt(0, QColor(240, 240, 250));
        g.setColorAt(1, QColor(60, 65, 80));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, 4.5, 4.5);
        p.setPen(QPen(QColor(30, 30, 40), 1.2));
        p.drawLine(c + QPointF(-3, 3), c + QPointF(3, -3));
    }
    p.end();
    return img;
}

QImage makeChars() {
    QImage img(512, 256, QImage::Format_ARGB32);
    img.fill(qRgba(255, 255, 255, 0));
    QFont f(boldFamily());
    f.setPixelSize(14);
    f.setHintingPreference(QFont::PreferFullHinting);
    auto glyph = [&](int row, int col, QChar c, bool mirrored) {
        QImage cell(16, 16, QImage::Format_ARGB32);
        cell.fill(Qt::transparent);
        QPainter p(&cell);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(1, 0, 14, 15), Qt::AlignHCenter | Qt::AlignBottom, QString(c));
        p.end();
        if (mirrored)
            cell = cell.mirrored(true, false);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                img.setPixel(col * 16 + x, row * 16 + y, qRgba(255, 255, 255, qAlpha(cell.pixel(x, y))));
    };
    for (int i = 0; i < 26; ++i) {
        glyph(0, i, QChar('A' + i), false);
        glyph(1, i, QChar('a' + i), false);
    }
    for (int i = 0; i < 10; ++i)
        glyph(2, i, QChar('0' + i), false);
    // The text routine reads these cells right to left, so they are stored mirrored.
    glyph(2, 12, ':', true);
    glyph(2, 13, '!', true);
    glyph(2, 15, '.', true);
    glyph(2, 16, '/', true);
    glyph(2, 17, '%', true);
    return img;
}

// ---- sky pictures: alpha falls to 0 towards the border ----

double edgeFade(double u, double v) {
    const double cx = u - 0.5, cy = v - 0.5;
    return smoothstep(0.5, 0.3, std::sqrt(cx * cx + cy * cy));
}

QImage makeNebula(uint64_t seed, QColor a, QColor b, QColor c) {
    Noise n(seed, 8), m(seed + 1, 8), s(seed + 2, 32);
    const int size = 512;
    return paint(size, size, [&](double u, double v) {
        const double fade = edgeFade(u, v);
        // Domain warp gives wisps instead of marble.
        const double wx = n.fbm(u * 2 + 1.7, v * 2 + 9.2, 4), wy = n.fbm(u * 2 + 8.3, v * 2 + 2.8, 4);
        const double d = m.fbm(u * 3 + 1.5 * wx, v * 3 + 1.5 * wy, 6);
        const double cloud = smoothstep(-0.35, 0.45, d);
        const double detail = smoothstep(0.0, 0.7, n.fbm(u * 6 + 2 * wx, v * 6 + 2 * wy, 5));
        QColor col = mixColor(a, b, clamp01(0.5 + wx));
        col = mixColor(col, c, detail * 0.7);
        const double bright = cloud * (0.75 + 0.8 * detail);
        const double star = std::pow(clamp01(s.at(u * 160, v * 160)), 12) * 6;
        const double alpha = clamp01(bright * 1.6 + star) * fade;
        return rgba(col.redF() * bright + star, col.greenF() * bright + star, col.blueF() * bright + star,
                    alpha);
    });
}

QImage makeSkyGalaxy() {
    Noise n(1300, 16);
    const int size = 512;
    return paint(size, size, [&](double u, double v) {
        // Tilted disc: squash y, rotate.
        double x = u - 0.5, y = v - 0.5;
        const double ca = std::cos(0.5), sa = std::sin(0.5);
        const double rx = x * ca - y * sa, ry = (x * sa + y * ca) * 2.2;
        const double r = std::sqrt(rx * rx + ry * ry) * 1.5;
        const double ang = std::atan2(ry, rx);
        const double arms = std::pow(0.5 + 0.5 * std::cos(2 * ang - 9 * std::log(r + 0.05)), 3);
        const double dust = 0.7 + 0.3 * n.fbm(u * 8, v * 8, 4);
        const double disc = std::exp(-r * 2.2) * (0.35 + 0.65 * arms) * dust;
        const double bulge = std::exp(-r * r * 60);
        const double b = disc * 2.2 + bulge;
        const double alpha = clamp01(b * 1.4) * edgeFade(u, v);
        return rgba(b * (0.75 + 0.5 * bulge), b * (0.78 + 0.2 * bulge), b * (1.0 - 0.3 * bulge), alpha);
    });
}

QImage makePlanet() {
    Noise n(1400, 16);
    const int size = 512;
    return paint(size, size, [&](double u, double v) {
        const double x = (u - 0.5) / 0.36, y = (v - 0.5) / 0.36;
        const double r2 = x * x + y * y;
        const double r = std::sqrt(r2);
        // Atmosphere glow around the disc.
        const double halo = std::exp(-std::max(0.0, r - 1) * 9) * 0.8;
        if (r2 >= 1) {
            const double a = halo * smoothstep(0.5, 0.45, std::max(std::fabs(u - 0.5), std::fabs(v - 0.5)));
            return rgba(0.4 * halo, 0.7 * halo, 1.0 * halo, a);
        }
        const double z = std::sqrt(1 - r2);
        const double lon = std::atan2(x, z), lat = std::asin(y);
        const double bands = std::sin(lat * 9 + 1.5 * n.fbm(lon * 2 + 8, lat * 3, 5));
        const double light = clamp01(-0.55 * x - 0.35 * y + 0.75 * z);
        const double rim = std::pow(1 - z, 3) * 0.6;
        const double rr = (0.55 + 0.25 * bands) * light + 0.3 * rim;
        const double gg = (0.42 + 0.18 * bands) * light + 0.5 * rim;
        const double bb = (0.35 + 0.1 * bands) * light + 0.9 * rim;
        return rgba(rr, gg, bb, 1.0);
    });
}

QImage makeGalaxyHighlight() {
    Noise n(1500, 16);
    return paint(256, 256, [&](double u, double v) {
        const double x = u - 0.5, y = v - 0.5;
        const double r = std::sqrt(x * x + y * y) * 2;
        const double ang = std::atan2(y, x);
        const double arms = std::pow(0.5 + 0.5 * std::cos(2 * ang - 7 * std::log(r + 0.05)), 2.5);
        const double b = std::exp(-r * 2.5) * (0.3 + 0.7 * arms) * (0.7 + 0.3 * n.fbm(u * 8, v * 8, 4)) +
                         std::exp(-r * r * 50);
        const double star = std::pow(clamp01(n.at(u * 90, v * 90)), 10) * 3;
        return rgba(b * 0.8 + star, b * 0.85 + star, b + star);
    });
}

} // namespace

void makeTextures(const QString& dir) {
    const QString floors[5] = {"floor.png", "floor1.png", "floor2.png", "floor3.png", "floor4.png"};
    const QString maps[5] = {"floormap.png", "floormap1.png", "floormap2.png", "floormap3.png",
                             "floormap4.png"};
    for (int k = 0; k < 5; ++k) {
        savePng(makeFloor(k), dir + "/" + floors[k], false);
        savePng(makeFloorMap(k), dir + "/" + maps[k], false);
    }
    savePng(makeBorder(), dir + "/border2.png", false);
    savePng(makeMark(), dir + "/mark.png", true);
    savePng(makeNest(false), dir + "/tache.png", true);
    savePng(makeNest(true), dir + "/deadtache.png", true);
    savePng(makeCamouflage(), dir + "/camouflage.png", false);
    savePng(makeThunder(), dir + "/thunder.png", true);
    savePng(makeBeam(), dir + "/effect1.png", true);
    savePng(makeChain(), dir + "/chain.png", false);
    savePng(makeSpark(), dir + "/sphere.png", true);
    for (int k = 0; k < 3; ++k)
        savePng(makeSmoke(k), dir + QString("/fumee%1.png").arg(k + 1), true);
    savePng(makeGameOver(), dir + "/gameover.png", true);
    savePng(makeBoard(), dir + "/board.png", true);
    savePng(makeChars(), dir + "/chars.png", true);
    savePng(makeGalaxyHighlight(), dir + "/galaxy.png", false);
    savePng(makeNebula(1200, QColor(230, 80, 160), QColor(70, 110, 255), QColor(255, 200, 230)),
            dir + "/space1.png", true);
    savePng(makeSkyGalaxy(), dir + "/space0.png", true);
    savePng(makePlanet(), dir + "/space3.png", true);
    savePng(makeNebula(1250, QColor(40, 200, 170), QColor(60, 90, 220), QColor(220, 255, 200)),
            dir + "/space2.png", true);
}

} // namespace gen
