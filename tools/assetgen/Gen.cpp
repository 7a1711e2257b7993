#include "Gen.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace gen {

uint64_t Rng::next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

Noise::Noise(uint64_t seed, int period) : period(period), gx(period * period), gy(period * period) {
    Rng rng(seed);
    // Unit gradients from a fixed table of 16 directions: no trigonometry per sample later.
    for (int i = 0; i < period * period; ++i) {
        const double a = rng.below(16) * (6.283185307179586 / 16.0) + 0.2;
        gx[i] = static_cast<float>(std::cos(a));
        gy[i] = static_cast<float>(std::sin(a));
    }
}

double Noise::grad(int ix, int iy, double dx, double dy) const {
    ix = ((ix % period) + period) % period;
    iy = ((iy % period) + period) % period;
    const int k = iy * period + ix;
    return gx[k] * dx + gy[k] * dy;
}

double Noise::at(double x, double y) const {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double dx = x - fx, dy = y - fy;
    const double sx = dx * dx * dx * (dx * (dx * 6 - 15) + 10);
    const double sy = dy * dy * dy * (dy * (dy * 6 - 15) + 10);
    const double a = grad(ix, iy, dx, dy), b = grad(ix + 1, iy, dx - 1, dy);
    const double c = grad(ix, iy + 1, dx, dy - 1), d = grad(ix + 1, iy + 1, dx - 1, dy - 1);
    return 1.4 * mix(mix(a, b, sx), mix(c, d, sx), sy);
}

double Noise::fbm(double x, double y, int octaves, double gain) const {
    double sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * at(x, y);
        norm += amp;
        amp *= gain;
        x *= 2;
        y *= 2;
    }
    return sum / norm;
}

double clamp01(double v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

double smoothstep(double e0, double e1, double x) {
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

double mix(double a, double b, double t) {
    return a + (b - a) * t;
}

QColor mixColor(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(
        static_cast<float>(mix(a.redF(), b.redF(), t)), static_cast<float>(mix(a.greenF(), b.greenF(), t)),
        static_cast<float>(mix(a.blueF(), b.blueF(), t)), static_cast<float>(mix(a.alphaF(), b.alphaF(), t)));
}

QRgb rgba(double r, double g, double b, double a) {
    auto c = [](double v) { return static_cast<int>(std::lround(clamp01(v) * 255.0)); };
    return qRgba(c(r), c(g), c(b), c(a));
}

void ensureDir(const QString& path) {
    QDir().mkpath(path);
}

static void saveOrDie(const QImage& image, const QString& path, const char* format, int quality) {
    ensureDir(QFileInfo(path).absolutePath());
    if (!image.save(path, format, quality)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

void savePng(const QImage& image, const QString& path, bool alpha) {
    // Only RGB888 and ARGB32 give 8-bit colour types 2 and 6 in the file.
    saveOrDie(image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB888), path, "PNG", -1);
}

void saveJpeg(const QImage& image, const QString& path) {
    saveOrDie(image.convertToFormat(QImage::Format_RGB888), path, "JPEG", 90);
}

static QString displayName, boldName;

void loadFonts() {
    auto load = [](const char* file, const char* fallback) {
        const int id = QFontDatabase::addApplicationFont(file);
        const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        return families.isEmpty() ? QString(fallback) : families.first();
    };
    displayName = load("/usr/share/fonts/opentype/urw-base35/URWGothic-Demi.otf", "DejaVu Sans");
    boldName = load("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "DejaVu Sans");
}

QString displayFamily() {
    return displayName;
}

QString boldFamily() {
    return boldName;
}

} // namespace gen
