#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// Shared helpers of the asset generator: a seeded random source, gradient-table noise and the writers.
namespace gen {

inline constexpr double Pi = 3.14159265358979323846;

// Small deterministic generator (splitmix64), the same numbers on every machine.
class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed) {}
    uint64_t next();
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

private:
    uint64_t state;
};

// Gradient noise on a lattice of `period` cells that wraps, so pictures made from it tile.
class Noise {
public:
    Noise(uint64_t seed, int period);
    double at(double x, double y) const; // about −1 … 1
    // Fractal sum of `octaves` octaves; x, y in cells of the first octave.
    double fbm(double x, double y, int octaves, double gain = 0.5) const;

private:
    int period;
    std::vector<float> gx, gy;
    double grad(int ix, int iy, double dx, double dy) const;
};

double clamp01(double v);
double smoothstep(double e0, double e1, double x);
double mix(double a, double b, double t);
QColor mixColor(const QColor& a, const QColor& b, double t);
QRgb rgba(double r, double g, double b, double a = 1.0); // channels 0 … 1

// Writers: 8-bit RGB or RGBA PNG (the game's reader takes only these), JPEG for the front end.
void savePng(const QImage& image, const QString& path, bool alpha);
void saveJpeg(const QImage& image, const QString& path);
void ensureDir(const QString& path);

// Font families loaded from the system's font files.
QString displayFamily(); // URW Gothic Demi, a round display face
QString boldFamily();    // DejaVu Sans Bold
void loadFonts();

// Texture set written to <out>/Resources/textures.
void makeTextures(const QString& dir);
void makeHullTextures(const QString& dir);
// Front-end pictures written to the embedded folder; returns the resource entries (alias, file).
struct Embedded {
    QString prefix, alias, file;
};
std::vector<Embedded> makePictures(const QString& embedDir, const QString& iconDir);
void makeTitle(const QString& dir);
// Sounds and music written to <out>/Resources/samples.
void makeSamples(const QString& dir);
void makeMusic(const QString& dir);

} // namespace gen
