// The nine sound effects, synthesised and written as 16-bit AIFF.
#include "Audio.h"
#include "Gen.h"

#include <QFile>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace gen {

namespace {

void put16(QByteArray& b, int v) {
    b.append(static_cast<char>((v >> 8) & 0xFF));
    b.append(static_cast<char>(v & 0xFF));
}

void put32(QByteArray& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8)
        b.append(static_cast<char>((v >> s) & 0xFF));
}

// One-pole low-pass state.
struct LowPass {
    double y = 0;
    double run(double x, double cutoff) {
        const double a = 1 - std::exp(-2 * Pi * cutoff / AudioRate);
        y += a * (x - y);
        return y;
    }
};

std::vector<float> buffer(double seconds) {
    return std::vector<float>(static_cast<size_t>(seconds * AudioRate), 0.0f);
}

double env(double t, double attack, double decay) {
    return (t < attack ? t / attack : 1.0) * std::exp(-t / decay);
}

void normalise(std::vector<float>& s, double peak) {
    double m = 1e-9;
    for (float v : s)
        m = std::max(m, static_cast<double>(std::fabs(v)));
    for (float& v : s)
        v = static_cast<float>(v * peak / m);
    // Short fades at both ends so nothing clicks.
    const size_t f = std::min<size_t>(64, s.size() / 2);
    for (size_t i = 0; i < f; ++i) {
        s[i] *= static_cast<float>(i) / f;
        s[s.size() - 1 - i] *= static_cast<float>(i) / f;
    }
}

std::vector<float> laser() {
    auto s = buffer(0.25);
    double phase = 0;
    Rng rng(1);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / AudioRate;
        const double f = 2200 * std::exp(-t * 14) + 180;
        phase += f / AudioRate;
        const double sq = std::fmod(phase, 1.0) < 0.5 ? 1 : -1;
        const double saw = 2 * std::fmod(phase * 1.5, 1.0) - 1;
        s[i] =
            static_cast<float>((0.6 * sq + 0.4 * saw + 0.15 * (rng.uniform() * 2 - 1)) * env(t, 0.003, 0.07));
    }
    normalise(s, 0.8);
    return s;
}

std::vector<float> explosion(uint64_t seed, double seconds, double cutoff, double thump) {
    auto s = buffer(seconds);
    Rng rng(seed);
    LowPass lp, lp2;
    double phase = 0, crackle = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / AudioRate;
        const double noise = rng.uniform() * 2 - 1;
        const double c = cutoff * std::exp(-t * 2.5) + 120;
        double v = lp2.run(lp.run(noise, c), c) * 3.0 * env(t, 0.004, seconds * 0.3);
        phase += (60 * std::exp(-t * 3) + 30) / AudioRate;
        v += thump * std::sin(2 * Pi * phase) * env(t, 0.002, 0.25);
        if (rng.uniform() < 0.002 * std::exp(-t * 3))
            crackle = rng.uniform() * 2 - 1;
        crackle *= 0.995;
        v += 0.3 * crackle * std::exp(-t * 2);
        s[i] = static_cast<float>(v);
    }
    normalise(s, 0.9);
    return s;
}

std::vector<float> hatch() {
    auto s = buffer(0.6);
    Rng rng(3);
    LowPass lp;
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / AudioRate;
        phase += (90 + 500 * t) / AudioRate;
        const double body = std::sin(2 * Pi * phase) * env(t, 0.01, 0.12);
        const double squish = lp.run(rng.uniform() * 2 - 1, 900) * 4 * env(t, 0.02, 0.2);
        const double bubble =
            std::sin(2 * Pi * (300 + 200 * std::sin(t * 60)) * t) * 0.3 * env(t, 0.05, 0.15);
        s[i] = static_cast<float>(body + squish + bubble);
    }
    normalise(s, 0.85);
    return s;
}

std::vector<float> gulps() {
    auto s = buffer(0.7);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / AudioRate;
        double v = 0;
        for (int k = 0; k < 3; ++k) {
            const double t0 = t - k * 0.2;
            if (t0 < 0)
                continue;
            const double f = 250 + 900 * t0 + 80 * k;
            v += std::sin(2 * Pi * f * t0) * env(t0, 0.005, 0.06);
        }
        s[i] = static_cast<float>(v);
    }
    normalise(s, 0.8);
    return s;
}

double noteHz(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

std::vector<float> powerUp() {
    auto s = buffer(0.75);
    const int steps[] = {0, 4, 7, 12, 16, 19, 24};
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / AudioRate;
        const int k = std::min(6, static_cast<int>(t / 0.07));
        phase += noteHz(steps[k] - 5) / AudioRate;
        const double pulse = std::fmod(phase, 1.0) < 0.3 ? 1 : -1;
        const double tri = 1 - 4 * std::fabs(std::fmod(phase * 2, 1.0) - 0.5);
        s[i] = static_cast<float>((0.5 * pulse + 0.5 * tri) * env(t, 0.005, 0.4));
    }
    normalise(s, 0.75);
    return s;
}

std::vector<float> alarm() {
    auto s = buffer(1.0);
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / AudioRate;
        const int beep = static_cast<int>(t / 0.166);
        const double f = beep % 2 ? 660 : 990;
        phase += f / AudioRate;
        const double local = std::fmod(t, 0.166);
        const double gate =
            local < 0.13 ? std::min(1.0, local / 0.004) * std::min(1.0, (0.13 - local) / 0.004) : 0;
        const double sq = std::fmod(phase, 1.0) < 0.5 ? 1 : -1;
        s[i] = static_cast<float>((0.6 * sq + 0.4 * std::sin(2 * Pi * phase)) * gate);
    }
    normalise(s, 0.7);
    return s;
}

std::vector<float> chimeSweep(bool rising, double seconds) {
    auto s = buffer(seconds);
    Rng rng(9);
    LowPass lp;
    const int up[] = {-12, -5, 0, 7, 12};
    const int down[] = {7, 3, 0, -5, -12};
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / AudioRate;
        double v = 0;
        for (int k = 0; k < 5; ++k) {
            const double t0 = t - k * (rising ? 0.12 : 0.28);
            if (t0 < 0)
                continue;
            const double f = noteHz((rising ? up[k] : down[k]) - 9);
            const double decay = rising ? 0.6 : 0.9;
            v += (std::sin(2 * Pi * f * t0) + 0.3 * std::sin(4 * Pi * f * t0) +
                  0.15 * std::sin(6 * Pi * f * t0)) *
                 env(t0, 0.01, decay);
        }
        if (rising) // shimmer
            v += lp.run(rng.uniform() * 2 - 1, 6000) * 0.4 * std::exp(-std::pow((t - 0.6) / 0.3, 2));
        else // low rumble under the falling tones
            v += std::sin(2 * Pi * 45 * t) * 0.4 * env(t, 0.3, 1.2);
        s[i] = static_cast<float>(v);
    }
    normalise(s, 0.8);
    return s;
}

} // namespace

void extendedFloat(double value, unsigned char out[10]) {
    std::fill(out, out + 10, 0);
    if (value <= 0)
        return;
    int exponent = 0;
    double m = std::frexp(value, &exponent); // value = m × 2^exponent, 0.5 ≤ m < 1
    const int biased = exponent - 1 + 16383;
    out[0] = static_cast<unsigned char>((biased >> 8) & 0x7F);
    out[1] = static_cast<unsigned char>(biased & 0xFF);
    const uint64_t mantissa = static_cast<uint64_t>(std::ldexp(m, 64)); // explicit integer bit on top
    for (int i = 0; i < 8; ++i)
        out[2 + i] = static_cast<unsigned char>((mantissa >> (56 - 8 * i)) & 0xFF);
}

void writeAiff(const QString& path, const std::vector<float>& samples, int rate) {
    const uint32_t frames = static_cast<uint32_t>(samples.size());
    QByteArray b;
    b.append("FORM");
    put32(b, 4 + (8 + 18) + (8 + 8 + frames * 2));
    b.append("AIFF");
    b.append("COMM");
    put32(b, 18);
    put16(b, 1);
    put32(b, frames);
    put16(b, 16);
    unsigned char ext[10];
    extendedFloat(rate, ext);
    b.append(reinterpret_cast<const char*>(ext), 10);
    b.append("SSND");
    put32(b, 8 + frames * 2);
    put32(b, 0);
    put32(b, 0);
    for (float v : samples) {
        const double c = std::max(-1.0, std::min(1.0, static_cast<double>(v)));
        put16(b, static_cast<int>(std::lround(c * 32767.0)));
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(b) != b.size()) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

void makeSamples(const QString& dir) {
    writeAiff(dir + "/welcome.aiff", chimeSweep(true, 1.4));
    writeAiff(dir + "/tir.aiff", laser());
    writeAiff(dir + "/explode1.aiff", explosion(11, 1.4, 2500, 0.9));
    writeAiff(dir + "/explode2.aiff", explosion(12, 1.1, 4500, 0.5));
    writeAiff(dir + "/tachefire.aiff", hatch());
    writeAiff(dir + "/glups.aiff", gulps());
    writeAiff(dir + "/powerup.aiff", powerUp());
    writeAiff(dir + "/detection.aiff", alarm());
    writeAiff(dir + "/gameover.aiff", chimeSweep(false, 2.4));
}

} // namespace gen
