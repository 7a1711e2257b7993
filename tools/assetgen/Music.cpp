// The three tunes: two FastTracker 2 modules (game and menu) and the credits song as MP3, all composed here
// from seeded motifs over chord progressions and played by synthesised instruments.
#include "Audio.h"
#include "Gen.h"

#include <QFile>

#include <lame/lame.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace gen {

namespace {

constexpr int Rows = 64;
constexpr int Channels = 8;
constexpr int NoteOff = 97;
constexpr double C4 = 261.6255653;

enum Inst { Kick = 1, Snare, Hat, Bass, Lead, Pad, Pluck, InstCount = Pluck };
enum Chan { ChKick, ChSnare, ChHat, ChBass, ChLead, ChPad1, ChPad2, ChArp };

struct Cell {
    uint8_t note = 0, instrument = 0, volume = 0, effect = 0, param = 0;
};
using Pattern = std::vector<std::array<Cell, Channels>>;

struct Envelope {
    std::vector<std::pair<int, int>> points; // (tick, volume 0 … 64)
    int sustain = -1;                        // point index, −1 when none
};

struct Instrument {
    std::string name;
    std::vector<int16_t> data;
    int loopStart = 0, loopLength = 0; // in samples, 0 length = no loop
    int relativeNote = 0, finetune = 0, volume = 64;
    Envelope envelope;
    int fadeout = 0;
};

struct Song {
    std::string name;
    int speed = 6, bpm = 125;
    std::vector<Pattern> patterns;
    std::vector<int> order;
    std::vector<Instrument> instruments;
};

// ---- instruments ----

void tune(Instrument& in, double rateAtC4) {
    const double semis = 12 * std::log2(rateAtC4 / 8363.0);
    in.relativeNote = static_cast<int>(std::lround(semis));
    in.finetune =
        std::max(-128, std::min(127, static_cast<int>(std::lround((semis - in.relativeNote) * 128))));
}

std::vector<int16_t> toPcm(const std::vector<double>& v, double peak) {
    double m = 1e-9;
    for (double x : v)
        m = std::max(m, std::fabs(x));
    std::vector<int16_t> out(v.size());
    for (size_t i = 0; i < v.size(); ++i)
        out[i] = static_cast<int16_t>(std::lround(v[i] / m * peak * 32767));
    return out;
}

// A loop of `cycles` periods of 128 samples; each voice gives its cycle count so that it loops cleanly.
Instrument looped(const std::string& name, int cycles, const std::vector<std::pair<int, double>>& voices,
                  double (*wave)(double, int), int harmonics) {
    Instrument in;
    in.name = name;
    const int n = 128 * cycles;
    std::vector<double> v(n, 0.0);
    for (auto [voiceCycles, gain] : voices)
        for (int i = 0; i < n; ++i)
            v[i] += gain * wave(static_cast<double>(i) * voiceCycles / n, harmonics);
    in.data = toPcm(v, 0.9);
    in.loopStart = 0;
    in.loopLength = n;
    tune(in, 128 * C4);
    return in;
}

double sawWave(double ph, int k) {
    double s = 0;
    for (int h = 1; h <= k; ++h)
        s += std::sin(2 * Pi * h * ph) / h;
    return s;
}

double pulseWave(double ph, int k) {
    double s = 0; // width 0.3, additive so it stays clean when played high
    for (int h = 1; h <= k; ++h)
        s += std::sin(Pi * h * 0.3) / h * std::cos(2 * Pi * h * ph);
    return s;
}

double softWave(double ph, int k) {
    double s = std::sin(2 * Pi * ph);
    for (int h = 2; h <= k; ++h)
        s += std::sin(2 * Pi * h * ph) / (h * h) * ((h % 2) ? 1 : 0.5);
    return s;
}

double bassWave(double ph, int k) {
    return sawWave(ph, k) * 0.7 + std::sin(2 * Pi * ph) * 0.8;
}

Instrument oneShot(const std::string& name, double seconds, uint64_t seed, int kind) {
    Instrument in;
    in.name = name;
    Rng rng(seed);
    const int n = static_cast<int>(seconds * AudioRate);
    std::vector<double> v(n);
    double phase = 0, lp = 0, hp = 0, prev = 0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / AudioRate;
        const double noise = rng.uniform() * 2 - 1;
        if (kind == Kick) {
            phase += (45 + 110 * std::exp(-t * 30)) / AudioRate;
            v[i] = std::sin(2 * Pi * phase) * std::exp(-t * 7) + 0.3 * noise * std::exp(-t * 300);
        } else if (kind == Snare) {
            phase += 185.0 / AudioRate;
            lp += 0.5 * (noise - lp);
            v[i] = 0.5 * std::sin(2 * Pi * phase) * std::exp(-t * 25) + 0.9 * lp * std::exp(-t * 14);
        } else {
            hp = 0.9 * (hp + noise - prev); // bright noise for the hat
            prev = noise;
            v[i] = hp * std::exp(-t * 45);
        }
    }
    in.data = toPcm(v, 0.95);
    tune(in, AudioRate);
    return in;
}

std::vector<Instrument> instrumentSet() {
    std::vector<Instrument> set;
    set.push_back(oneShot("kick", 0.45, 71, Kick));
    set.push_back(oneShot("snare", 0.35, 72, Snare));
    set.push_back(oneShot("hat", 0.12, 73, Hat));
    Instrument bass = looped("bass", 1, {{1, 1.0}}, bassWave, 14);
    bass.envelope = {{{0, 64}, {3, 58}, {40, 46}}, 2};
    bass.fadeout = 3000;
    Instrument lead = looped("lead", 32, {{32, 1.0}, {33, 0.7}}, pulseWave, 16);
    lead.envelope = {{{0, 64}, {5, 52}, {50, 44}}, 2};
    lead.fadeout = 1500;
    lead.volume = 48;
    Instrument pad = looped("pad", 64, {{64, 1.0}, {65, 0.8}, {63, 0.8}}, sawWave, 8);
    pad.envelope = {{{0, 0}, {24, 64}, {80, 54}}, 2};
    pad.fadeout = 500;
    pad.volume = 40;
    Instrument pluck = looped("pluck", 1, {{1, 1.0}}, softWave, 9);
    pluck.envelope = {{{0, 64}, {4, 34}, {14, 12}, {40, 0}}, -1};
    pluck.fadeout = 2000;
    pluck.volume = 44;
    set.push_back(bass);
    set.push_back(lead);
    set.push_back(pad);
    set.push_back(pluck);
    return set;
}

// ---- composition ----

struct Style {
    int key;                  // XM note of the tonic in octave 4 (C-4 = 49)
    std::array<int, 4> roots; // chord roots in semitones from the tonic, one per bar
    std::array<bool, 4> minor;
    bool drive; // four-on-the-floor and eighth-note bass
    uint64_t seed;
};

void put(Pattern& p, int row, int ch, int note, int inst, int vol = -1) {
    Cell& c = p[row][ch];
    c.note = static_cast<uint8_t>(note);
    c.instrument = static_cast<uint8_t>(inst);
    if (vol >= 0)
        c.volume = static_cast<uint8_t>(0x10 + std::min(64, vol));
}

constexpr int Scale[7] = {0, 2, 3, 5, 7, 8, 10}; // natural minor

int scaleNote(int key, int degree) {
    const int oct = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    return key + Scale[((degree % 7) + 7) % 7] + 12 * oct;
}

struct Motif {
    std::vector<std::pair<int, int>> hits; // (step of 16, scale degree offset from the chord root)
};

Motif makeMotif(Rng& rng, bool busy) {
    static const int rhythmA[] = {0, 3, 6, 8, 10, 12};
    static const int rhythmB[] = {0, 2, 4, 7, 8, 11, 12, 14};
    static const int rhythmC[] = {0, 6, 8, 12};
    Motif m;
    const int choice = busy ? rng.below(2) : 2;
    const int* r = choice == 0 ? rhythmA : (choice == 1 ? rhythmB : rhythmC);
    const int len = choice == 0 ? 6 : (choice == 1 ? 8 : 4);
    int degree = rng.below(3) * 2; // start on a chord tone
    for (int i = 0; i < len; ++i) {
        m.hits.push_back({r[i], degree});
        degree += rng.below(5) - 2;
        degree = std::max(-2, std::min(7, degree));
    }
    return m;
}

int rootDegree(int semis) {
    // Scale degree of a chord root given in semitones (roots of the progressions are scale tones).
    for (int d = -7; d < 14; ++d)
        if (scaleNote(0, d) == semis)
            return d;
    return 0;
}

enum Part { Intro = 1, Melody = 2, Variation = 4, Breakdown = 8, Climax = 16 };

Pattern compose(const Style& s, int part, const Motif& motif, const Motif& answer) {
    Pattern p(Rows);
    for (int bar = 0; bar < 4; ++bar) {
        const int root = s.roots[bar];
        const int base = bar * 16;
        const int third = s.minor[bar] ? 3 : 4;
        const bool drums = !(part & Breakdown);
        // Drums.
        if (drums) {
            for (int st = 0; st < 16; ++st) {
                const int row = base + st;
                if (s.drive) {
                    if (st % 4 == 0 || (bar == 3 && st == 14))
                        put(p, row, ChKick, 49, Kick, 64);
                    if (st == 4 || st == 12)
                        put(p, row, ChSnare, 49, Snare, 56);
                    if (bar == 3 && (part & Climax) && st >= 12)
                        put(p, row, ChSnare, 49, Snare, 30 + 6 * (st - 12));
                    if (st % 2 == 0)
                        put(p, row, ChHat, 49, Hat, st % 4 == 2 ? 44 : 24);
                } else if (!(part & Intro)) {
                    if (st == 0 || st == 10)
                        put(p, row, ChKick, 49, Kick, 48);
                    if (st == 8)
                        put(p, row, ChSnare, 49, Snare, 34);
                    if (st % 4 == 2)
                        put(p, row, ChHat, 49, Hat, 18);
                }
            }
        }
        // Bass.
        const int bassNote = s.key - 24 + root;
        if (s.drive && !(part & Breakdown)) {
            static const int octave[8] = {0, 0, 12, 0, 0, 12, 0, 7};
            for (int e = 0; e < 8; ++e)
                put(p, base + 2 * e, ChBass, bassNote + octave[e], Bass, e % 2 ? 40 : 56);
        } else if (!(part & Intro) || s.drive) {
            put(p, base, ChBass, bassNote, Bass, 50);
            put(p, base + 10, ChBass, bassNote + (bar % 2 ? 7 : 12), Bass, 36);
        }
        // Pad: root and third (or fifth) held over the bar.
        if (!(part & Intro) || !s.drive) {
            put(p, base, ChPad1, s.key - 12 + root + third, Pad, 40);
            put(p, base, ChPad2, s.key - 12 + root + 7, Pad, 34);
        }
        // Arpeggio of the chord.
        if ((part & (Variation | Breakdown | Climax)) || !s.drive) {
            const int tones[4] = {0, third, 7, 12};
            const int stepLen = s.drive ? 1 : 2;
            for (int st = 0, k = 0; st < 16; st += stepLen, ++k)
                put(p, base + st, ChArp, s.key + root + tones[(k * 3 + bar) % 4], Pluck, s.drive ? 30 : 40);
        }
        // Lead: the motif answers itself every other bar.
        if (part & (Melody | Variation | Climax)) {
            const Motif& m = bar % 2 ? answer : motif;
            const int lift = (part & Climax) ? 7 : 0;
            for (auto [step, deg] : m.hits) {
                int d = rootDegree(root) + deg + lift;
                if (part & Variation)
                    d += (step % 8 == 4) ? 1 : 0;
                put(p, base + step, ChLead, scaleNote(s.key + 12, d), Lead, 56);
            }
            if (bar == 3)
                put(p, base + 15, ChLead, NoteOff, 0);
        } else if ((part & Breakdown) && bar % 2 == 0) {
            put(p, base, ChLead, scaleNote(s.key + 12, rootDegree(root) + 4), Lead, 40);
            put(p, base + 12, ChLead, NoteOff, 0);
        }
    }
    return p;
}

Song composeSong(const std::string& name, const Style& s, int bpm, const std::vector<int>& parts,
                 const std::vector<int>& order) {
    Song song;
    song.name = name;
    song.bpm = bpm;
    song.speed = 6;
    song.instruments = instrumentSet();
    Rng rng(s.seed);
    const Motif motif = makeMotif(rng, s.drive), answer = makeMotif(rng, s.drive);
    for (int part : parts)
        song.patterns.push_back(compose(s, part, motif, answer));
    song.order = order;
    // Jump back to the first order from the last row: the player ignores the restart position.
    Pattern& last = song.patterns[order.back()];
    if (std::count(order.begin(), order.end(), order.back()) > 1) {
        song.patterns.push_back(last);
        song.order.back() = static_cast<int>(song.patterns.size()) - 1;
    }
    Cell& jump = song.patterns[song.order.back()][Rows - 1][ChKick];
    jump.effect = 0x0B;
    jump.param = 0;
    return song;
}

// ---- XM writer ----

void le16(QByteArray& b, int v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}

void le32(QByteArray& b, uint32_t v) {
    for (int s = 0; s < 32; s += 8)
        b.append(static_cast<char>((v >> s) & 0xFF));
}

void text(QByteArray& b, const std::string& s, int size) {
    for (int i = 0; i < size; ++i)
        b.append(i < static_cast<int>(s.size()) ? s[i] : '\0');
}

// The module header: name, tracker, counts, tempo and the order table.
void writeXmHeader(QByteArray& b, const Song& song) {
    text(b, "Extended Module: ", 17);
    text(b, song.name, 20);
    b.append('\x1A');
    text(b, "Orbitrax assetgen", 20);
    le16(b, 0x0104);
    le32(b, 276);
    le16(b, static_cast<int>(song.order.size()));
    le16(b, 0);
    le16(b, Channels);
    le16(b, static_cast<int>(song.patterns.size()));
    le16(b, static_cast<int>(song.instruments.size()));
    le16(b, 1); // linear frequency table
    le16(b, song.speed);
    le16(b, song.bpm);
    for (int i = 0; i < 256; ++i)
        b.append(static_cast<char>(i < static_cast<int>(song.order.size()) ? song.order[i] : 0));
}

// One pattern, each cell packed: a flag byte saying which of its five fields follow.
void writeXmPattern(QByteArray& b, const Pattern& p) {
    QByteArray d;
    for (const auto& row : p)
        for (const Cell& c : row) {
            uint8_t flags = 0x80;
            if (c.note)
                flags |= 1;
            if (c.instrument)
                flags |= 2;
            if (c.volume)
                flags |= 4;
            if (c.effect)
                flags |= 8;
            if (c.param)
                flags |= 16;
            d.append(static_cast<char>(flags));
            if (c.note)
                d.append(static_cast<char>(c.note));
            if (c.instrument)
                d.append(static_cast<char>(c.instrument));
            if (c.volume)
                d.append(static_cast<char>(c.volume));
            if (c.effect)
                d.append(static_cast<char>(c.effect));
            if (c.param)
                d.append(static_cast<char>(c.param));
        }
    le32(b, 9);
    b.append('\0');
    le16(b, Rows);
    le16(b, static_cast<int>(d.size()));
    b.append(d);
}

// One instrument's header, its volume envelope, padded to its stated size.
void writeXmInstrument(QByteArray& b, const Instrument& in) {
    const int start = static_cast<int>(b.size());
    le32(b, 263);
    text(b, in.name, 22);
    b.append('\0');
    le16(b, 1);
    le32(b, 40);
    for (int i = 0; i < 96; ++i)
        b.append('\0');
    for (int i = 0; i < 12; ++i) {
        const bool have = i < static_cast<int>(in.envelope.points.size());
        le16(b, have ? in.envelope.points[i].first : 0);
        le16(b, have ? in.envelope.points[i].second : 0);
    }
    for (int i = 0; i < 48; ++i) // panning envelope unused
        b.append('\0');
    const int points = static_cast<int>(in.envelope.points.size());
    b.append(static_cast<char>(points));
    b.append('\0');
    b.append(static_cast<char>(std::max(0, in.envelope.sustain)));
    b.append('\0');
    b.append('\0');
    b.append('\0');
    b.append('\0');
    b.append('\0');
    b.append(static_cast<char>(points ? (1 | (in.envelope.sustain >= 0 ? 2 : 0)) : 0));
    b.append('\0');
    for (int i = 0; i < 4; ++i) // vibrato
        b.append('\0');
    le16(b, in.fadeout);
    while (b.size() - start < 263)
        b.append('\0');
}

// The instrument's one sample: its header, lengths in bytes for 16-bit data, then the data delta coded.
void writeXmSample(QByteArray& b, const Instrument& in) {
    le32(b, static_cast<uint32_t>(in.data.size() * 2));
    le32(b, static_cast<uint32_t>(in.loopStart * 2));
    le32(b, static_cast<uint32_t>(in.loopLength * 2));
    b.append(static_cast<char>(in.volume));
    b.append(static_cast<char>(static_cast<int8_t>(in.finetune)));
    b.append(static_cast<char>(0x10 | (in.loopLength > 0 ? 1 : 0)));
    b.append(static_cast<char>(128));
    b.append(static_cast<char>(static_cast<int8_t>(in.relativeNote)));
    b.append('\0');
    text(b, in.name, 22);
    int16_t prev = 0;
    for (int16_t s : in.data) {
        le16(b, static_cast<int16_t>(s - prev));
        prev = s;
    }
}

QByteArray writeXm(const Song& song) {
    QByteArray b;
    writeXmHeader(b, song);
    for (const Pattern& p : song.patterns)
        writeXmPattern(b, p);
    for (const Instrument& in : song.instruments) {
        writeXmInstrument(b, in);
        writeXmSample(b, in);
    }
    return b;
}

// ---- a small player of the same data, for the MP3 ----

struct Voice {
    const Instrument* in = nullptr;
    double pos = 0, step = 0;
    int volume = 0, envTick = 0, fade = 65536;
    bool released = false, active = false;
    double pan = 0.5;
};

double envelopeAt(const Envelope& e, int tick) {
    if (e.points.empty())
        return 1.0;
    for (size_t i = 0; i + 1 < e.points.size(); ++i) {
        const auto [t0, v0] = e.points[i];
        const auto [t1, v1] = e.points[i + 1];
        if (tick < t1) {
            const double f = t1 > t0 ? static_cast<double>(tick - t0) / (t1 - t0) : 0;
            return (v0 + f * (v1 - v0)) / 64.0;
        }
    }
    return e.points.back().second / 64.0;
}

std::vector<float> render(const Song& song, int orders, double fadeSeconds) {
    const int tickSamples = static_cast<int>(AudioRate * 2.5 / song.bpm);
    const double pans[Channels] = {0.5, 0.45, 0.65, 0.5, 0.4, 0.25, 0.75, 0.6};
    std::array<Voice, Channels> voices;
    std::vector<float> out;
    out.reserve(static_cast<size_t>(orders) * Rows * song.speed * tickSamples * 2 + AudioRate * 4);
    auto runTick = [&]() {
        for (int i = 0; i < tickSamples; ++i) {
            double l = 0, r = 0;
            for (int c = 0; c < Channels; ++c) {
                Voice& v = voices[c];
                if (!v.active)
                    continue;
                const Instrument& in = *v.in;
                const int n = static_cast<int>(in.data.size());
                int ip = static_cast<int>(v.pos);
                if (ip >= n) {
                    v.active = false;
                    continue;
                }
                const double frac = v.pos - ip;
                int next = ip + 1;
                if (next >= n)
                    next = in.loopLength ? in.loopStart : ip;
                const double s = (in.data[ip] * (1 - frac) + in.data[next] * frac) / 32768.0;
                const double g = v.volume / 64.0 * in.volume / 64.0 * envelopeAt(in.envelope, v.envTick) *
                                 (v.fade / 65536.0) * 0.3;
                l += s * g * (1 - v.pan) * 2;
                r += s * g * v.pan * 2;
                v.pos += v.step;
                if (in.loopLength && v.pos >= in.loopStart + in.loopLength)
                    v.pos -= in.loopLength;
            }
            out.push_back(static_cast<float>(std::tanh(l)));
            out.push_back(static_cast<float>(std::tanh(r)));
        }
        for (Voice& v : voices) {
            if (!v.active)
                continue;
            const Envelope& e = v.in->envelope;
            const bool hold = !v.released && e.sustain >= 0 && v.envTick >= e.points[e.sustain].first;
            if (!hold)
                ++v.envTick;
            if (v.released) {
                v.fade -= v.in->fadeout * 2;
                if (v.fade <= 0 || e.points.empty())
                    v.active = false;
            }
        }
    };
    for (int o = 0; o < orders; ++o) {
        const Pattern& p = song.patterns[song.order[o % song.order.size()]];
        for (const auto& row : p) {
            for (int c = 0; c < Channels; ++c) {
                const Cell& cell = row[c];
                Voice& v = voices[c];
                if (cell.note == NoteOff) {
                    v.released = true;
                } else if (cell.note) {
                    v.in = &song.instruments[cell.instrument - 1];
                    const double semis = cell.note - 49 + v.in->relativeNote + v.in->finetune / 128.0;
                    v.step = 8363.0 * std::pow(2.0, semis / 12.0) / AudioRate;
                    v.pos = 0;
                    v.volume = cell.volume ? cell.volume - 0x10 : v.in->volume;
                    v.envTick = 0;
                    v.fade = 65536;
                    v.released = false;
                    v.active = true;
                    v.pan = pans[c];
                }
            }
            for (int t = 0; t < song.speed; ++t)
                runTick();
        }
    }
    for (Voice& v : voices)
        v.released = true;
    for (int t = 0; t < 100; ++t) // let the tails ring out
        runTick();
    const size_t frames = out.size() / 2, fade = static_cast<size_t>(fadeSeconds * AudioRate);
    for (size_t i = 0; i < std::min(fade, frames); ++i) {
        const float g = static_cast<float>(i) / fade;
        out[2 * (frames - 1 - i)] *= g;
        out[2 * (frames - 1 - i) + 1] *= g;
    }
    return out;
}

void writeMp3(const QString& path, const std::vector<float>& stereo) {
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, AudioRate);
    lame_set_out_samplerate(lame, AudioRate);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, 128);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_quality(lame, 7);
    lame_set_bWriteVbrTag(lame, 0);
    if (lame_init_params(lame) < 0) {
        std::fprintf(stderr, "assetgen: lame refused the parameters\n");
        std::exit(1);
    }
    const int frames = static_cast<int>(stereo.size() / 2);
    std::vector<short> pcm(stereo.size());
    for (size_t i = 0; i < stereo.size(); ++i)
        pcm[i] = static_cast<short>(std::lround(std::max(-1.0f, std::min(1.0f, stereo[i])) * 32767));
    std::vector<unsigned char> mp3(static_cast<size_t>(1.25 * frames + 7200 + 16384));
    int n =
        lame_encode_buffer_interleaved(lame, pcm.data(), frames, mp3.data(), static_cast<int>(mp3.size()));
    if (n < 0) {
        std::fprintf(stderr, "assetgen: mp3 encoding failed (%d)\n", n);
        std::exit(1);
    }
    n += lame_encode_flush(lame, mp3.data() + n, static_cast<int>(mp3.size()) - n);
    lame_close(lame);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(mp3.data()), n) != n) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size()) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

} // namespace

void makeMusic(const QString& dir) {
    // Game: A minor, i-VI-III-VII, driving.
    const Style game{46, {0, -4, 3, -2}, {true, false, false, false}, true, 5001};
    const Song gameSong =
        composeSong("Orbitrax run", game, 138,
                    {Intro, Melody, Melody | Variation, Breakdown, Melody | Climax}, {0, 1, 2, 1, 3, 4, 2});
    writeFile(dir + "/vorn.xm", writeXm(gameSong));
    // Menu: D minor, calmer, half-time drums.
    const Style menu{51, {0, -4, 3, -2}, {true, false, false, false}, false, 5002};
    const Song menuSong = composeSong("Orbitrax hangar", menu, 96,
                                      {Intro, Breakdown, Melody, Melody | Variation}, {0, 1, 2, 3, 2});
    writeFile(dir + "/vorn3.xm", writeXm(menuSong));
    // Credits: E minor, i-iv-VI-VII, rendered to 44.1 kHz stereo and encoded.
    const Style credits{53, {0, 5, -4, -2}, {true, true, false, false}, true, 5003};
    const Song rocket =
        composeSong("Rocket", credits, 124, {Intro, Melody, Melody | Variation, Breakdown, Melody | Climax},
                    {0, 1, 2, 3, 1, 4, 2, 4});
    // 12 orders of 64 rows at 124 BPM: about 93 s, then a fade.
    writeMp3(dir + "/Rocket.mp3", render(rocket, 12, 4.0));
}

} // namespace gen
