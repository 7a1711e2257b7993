// Hull textures painted for the UV layout that models/ShapeBuilder uses for every craft:
//   body   u 0 … 1 around (0.5 on top, 0 and 1 under the belly), v 0 … 0.5 from nose to tail
//   wings  u 0 … 1 around the wing section (0 … 0.5 upper face), v 0.5 … 0.75 from root to tip
//   glass  u 0 … 0.5, v 0.75 … 1 (canopies, sensors)
//   parts  u 0.5 … 1, v 0.75 … 1 (engines, fins: u around, v from front to nozzle)
// Capsules use the whole picture: u around the pill, v from one cap to the other.
#include "Paint.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

namespace gen {

namespace {

struct Scheme {
    QColor base, belly, accent, trim;
    QString mark;
    uint64_t seed;
};

void hullPixels(QImage& img, const Scheme& s) {
    Noise n(s.seed, 8);
    const int w = img.width(), h = img.height();
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double u = (x + 0.5) / w, v = (y + 0.5) / h;
            const double grime = 0.85 + 0.15 * n.fbm(u * 8, v * 8, 4);
            QColor c;
            if (v < 0.5) { // body
                const double vb = v / 0.5;
                const double top = std::cos((u - 0.5) * 2 * 3.14159265) * 0.5 + 0.5; // 1 on top, 0 below
                c = mixColor(s.belly, s.base, smoothstep(0.2, 0.5, top));
                if (std::fabs(u - 0.5) < 0.035 && vb > 0.08 && vb < 0.9)
                    c = s.accent;
                if (std::fabs(std::fabs(u - 0.5) - 0.11) < 0.015 && vb > 0.15 && vb < 0.85)
                    c = s.trim;
                if (vb < 0.06)
                    c = s.accent.darker(130);
                const double panel = std::min(gridDistance(u * w, w / 8.0), gridDistance(vb * 100, 12.5));
                const double soot = smoothstep(0.8, 1.0, vb) * 0.6;
                double k = grime * (panel < 0.8 ? 0.6 : 1.0) * (1 - soot);
                c = QColor::fromRgbF(c.redF() * k, c.greenF() * k, c.blueF() * k);
            } else if (v < 0.75) { // wings
                const double span = (v - 0.5) / 0.25;
                const bool upper = u < 0.5;
                c = upper ? s.base : s.belly;
                if (span > 0.78 && span < 0.92)
                    c = s.accent;
                if (upper && span > 0.4 && span < 0.46)
                    c = s.trim;
                const double chord = upper ? u / 0.5 : (u - 0.5) / 0.5;
                const double edge = std::min(chord, 1 - chord);
                if (edge < 0.06)
                    c = c.darker(140);
                const double panel = std::min(gridDistance(chord * 80, 20), gridDistance(span * 64, 16));
                const double k = grime * (panel < 0.7 ? 0.65 : 1.0);
                c = QColor::fromRgbF(c.redF() * k, c.greenF() * k, c.blueF() * k);
            } else if (u < 0.5) { // glass
                const double gu = u / 0.5, gv = (v - 0.75) / 0.25;
                const double refl = smoothstep(0.2, 0.5, gu) * smoothstep(0.8, 0.5, gu) * (1 - gv);
                c = QColor::fromRgbF(0.05 + 0.5 * refl, 0.12 + 0.6 * refl, 0.25 + 0.6 * refl);
                if (gridDistance(gv * 100, 25) < 1.2)
                    c = s.trim.darker(150);
            } else { // engines and fins
                const double pv = (v - 0.75) / 0.25;
                c = QColor::fromRgbF(0.45 * grime, 0.46 * grime, 0.5 * grime);
                if (gridDistance(pv * 100, 12.5) < 1.5)
                    c = c.darker(170);
                if (pv > 0.88)
                    c = QColor::fromRgbF(1.0, 0.55 + 0.4 * (pv - 0.88) / 0.12, 0.15);
                else if (pv < 0.2)
                    c = s.accent;
            }
            row[x] = c.rgb();
        }
    }
}

void hullMarks(QImage& img, const Scheme& s) {
    // Markings on both flanks of the body and on the upper faces of the wings.
    const int w = img.width(), h = img.height();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(boldFamily());
    f.setPixelSize(h / 22);
    p.setFont(f);
    for (double u : {0.25, 0.75}) {
        p.save();
        p.translate(u * w, 0.3 * h);
        p.rotate(u < 0.5 ? 90 : -90); // letters run along the hull
        p.setPen(s.trim.lighter(130));
        p.drawText(QRectF(-h * 0.1, -h * 0.03, h * 0.2, h * 0.06), Qt::AlignCenter, s.mark);
        p.restore();
    }
    // Roundel on each wing's upper face.
    p.setPen(QPen(s.trim, 2));
    p.setBrush(s.accent);
    p.drawEllipse(QPointF(0.25 * w, 0.66 * h), h * 0.025, h * 0.025);
    p.end();
}

QImage makeHull(const Scheme& s) {
    QImage img(256, 256, QImage::Format_RGB32);
    hullPixels(img, s);
    hullMarks(img, s);
    return img;
}

QImage makeCrate() {
    const int size = 256;
    Noise n(2100, 8);
    std::vector<double> height(size * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double e = std::min(std::min(x, size - 1 - x), std::min(y, size - 1 - y));
            double hh = smoothstep(2, 14, e) * 0.6 + 0.4 * smoothstep(22, 30, e);
            const double dx = x - size / 2.0, dy = y - size / 2.0;
            const double diag = std::min(std::fabs(dx - dy), std::fabs(dx + dy));
            if (e > 30)
                hh -= 0.35 * smoothstep(8, 5, diag);
            for (int i = 0; i < 4; ++i) {
                const double cx = i % 2 ? 16 : size - 16, cy = i / 2 ? 16 : size - 16;
                const double r = std::hypot(x - cx, y - cy);
                hh += 0.5 * smoothstep(6, 3, r);
            }
            hh += 0.04 * n.fbm(x / 32.0, y / 32.0, 4);
            height[y * size + x] = hh;
        }
    std::vector<double> diffuse, specular;
    shadeHeight(height, size, size, 3.0, diffuse, specular);
    return paint(size, size, [&](double u, double v) {
        const int x = static_cast<int>(u * size), y = static_cast<int>(v * size);
        const int i = y * size + x;
        const double e = std::min(std::min(u, 1 - u), std::min(v, 1 - v)) * size;
        double r = 0.55, g = 0.35, b = 0.18; // painted orange steel
        if (e < 30) {
            // Hazard frame.
            const bool stripe = std::fmod((u + v) * 12 + 10, 1.0) < 0.5;
            r = stripe ? 0.9 : 0.1;
            g = stripe ? 0.7 : 0.1;
            b = stripe ? 0.1 : 0.1;
        }
        const double l = (0.3 + 0.8 * diffuse[i]) * (0.85 + 0.15 * n.fbm(u * 8, v * 8, 4));
        return rgba(r * l + 0.4 * specular[i], g * l + 0.4 * specular[i], b * l + 0.4 * specular[i]);
    });
}

QImage makeTrap() {
    Noise n(2200, 8);
    return paint(256, 256, [&](double u, double v) {
        const double grime = 0.8 + 0.2 * n.fbm(u * 8, v * 8, 4);
        double r = 0.35, g = 0.36, b = 0.4;
        const double band = std::fmod(v * 4, 1.0);
        if (band < 0.3) {
            const bool stripe = std::fmod((u * 8 + v * 8) + 10, 1.0) < 0.5;
            r = stripe ? 0.85 : 0.12;
            g = stripe ? 0.1 : 0.12;
            b = stripe ? 0.08 : 0.14;
        }
        const double seam = (gridDistance(u * 256, 32) < 1.5 || gridDistance(v * 256, 64) < 1.5) ? 0.5 : 1.0;
        const double bolt =
            smoothstep(4, 2, std::hypot(gridDistance(u * 256 + 16, 32), gridDistance(v * 256 + 48, 64)));
        const double glow = smoothstep(0.03, 0.0, std::fabs(band - 0.65)) * 0.9; // red sensor line
        const double k = grime * seam;
        return rgba(r * k + 0.4 * bolt + glow, g * k + 0.4 * bolt + 0.1 * glow, b * k + 0.45 * bolt);
    });
}

QImage makeCapsule(QColor colour, const QString& mark) {
    const int w = 256, h = 128;
    Noise n(2300, 8);
    QImage img = paint(w, h, [&](double u, double v) {
        // A bright band round the middle, coloured halves with a glossy fall-off towards the caps.
        const double mid = std::fabs(v - 0.5);
        if (mid < 0.07)
            return rgba(0.85, 0.87, 0.92);
        if (mid < 0.085)
            return rgba(0.3, 0.3, 0.35);
        const double shade = 1.0 - 0.35 * smoothstep(0.3, 0.5, mid);
        const double sparkle = 0.05 * n.fbm(u * 16, v * 8, 3);
        return rgba(colour.redF() * shade + sparkle, colour.greenF() * shade + sparkle,
                    colour.blueF() * shade + sparkle);
    });
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(boldFamily());
    f.setPixelSize(34);
    p.setFont(f);
    // The mark on both halves and on both sides, so it shows whichever way the pill turns. The pill lies
    // along x: round the girth (u) is up on the side facing the player, so the letters stand across the
    // picture, mirrored to read from outside.
    for (double u : {0.25, 0.75})
        for (double v : {0.27, 0.73}) {
            const QPointF c(u * w, v * h);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 230));
            p.drawEllipse(c, 20, 22);
            p.save();
            p.setTransform(u < 0.5 ? QTransform(0, -1, -1, 0, c.x(), c.y())
                                   : QTransform(0, 1, 1, 0, c.x(), c.y()));
            p.setPen(colour.darker(180));
            p.drawText(QRectF(-22, -20, 44, 40), Qt::AlignCenter, mark);
            p.restore();
        }
    p.end();
    return img;
}

} // namespace

void makeHullTextures(const QString& dir) {
    const Scheme ship{QColor(220, 224, 232),
                      QColor(120, 128, 145),
                      QColor(40, 110, 230),
                      QColor(250, 140, 30),
                      "TX-7",
                      3000};
    const Scheme fighter{
        QColor(120, 40, 50), QColor(50, 25, 35), QColor(230, 200, 40), QColor(200, 200, 210), "K9", 3100};
    const Scheme bandit{
        QColor(90, 110, 85), QColor(45, 55, 50), QColor(230, 120, 20), QColor(20, 20, 20), "B2", 3200};
    const Scheme raider{
        QColor(120, 95, 70), QColor(60, 45, 40), QColor(170, 30, 30), QColor(220, 200, 150), "R1", 3300};
    const Scheme missile{
        QColor(235, 235, 235), QColor(200, 200, 205), QColor(210, 30, 30), QColor(40, 40, 40), "", 3400};
    savePng(makeHull(ship), dir + "/myship.png", false);
    savePng(makeHull(fighter), dir + "/fighter2.png", false);
    savePng(makeHull(bandit), dir + "/bandit2.png", false);
    savePng(makeHull(raider), dir + "/bandit1.png", false);
    savePng(makeHull(missile), dir + "/missile.png", false);
    savePng(makeCrate(), dir + "/cube.png", false);
    savePng(makeTrap(), dir + "/piege.png", false);
    savePng(makeCapsule(QColor(40, 110, 255), "S"), dir + "/capsule_shield.png", false);
    savePng(makeCapsule(QColor(245, 205, 20), "B"), dir + "/capsule_bomb.png", false);
    savePng(makeCapsule(QColor(225, 40, 200), "P"), dir + "/capsule_power.png", false);
    savePng(makeCapsule(QColor(40, 210, 70), "I"), dir + "/capsule_invul.png", false);
}

} // namespace gen
