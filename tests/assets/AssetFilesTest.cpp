// Every data file the game loads exists after the build, is what its reader and its use expect, and is
// the generator's current output: textures, samples, music.
#include "core/Audio.h"
#include "core/Engine.h"
#include "render/Textures.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <SDL.h>
#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

QString resource(const QString& name) {
    return qgetenv("ORBITRAX_RESOURCE_DIR") + "/Resources/" + name;
}

QImage texture(const char* name) {
    return QImage(resource(QString("textures/") + name));
}

// The sizes the pictures were made for; every other texture is 256 x 256.
struct Size {
    const char* prefix;
    int width, height;
};
constexpr Size sizes[] = {
    {"textures/mark", 128, 128},     {"textures/thunder", 64, 128},  {"textures/effect1", 64, 256},
    {"textures/chain", 128, 128},    {"textures/sphere", 64, 64},    {"textures/fumee", 128, 128},
    {"textures/gameover", 512, 128}, {"textures/capsule", 256, 128}, {"textures/chars", 512, 256},
    {"textures/space", 512, 512},    {"textures/vorn2", 640, 480},   {"", 256, 256},
};

TEST(AssetFiles, EveryTextureIsAnEightBitPngOfItsSizeAndNotFlat) {
    for (const TextureFile& f : Engine::createHeadless()->textureFiles()) {
        SCOPED_TRACE(f.file);
        QFile file(resource(f.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(26); // IHDR: width, height, depth, colour type
        EXPECT_EQ(header[24], 8);
        EXPECT_TRUE(header[25] == 2 || header[25] == 6) << "colour type " << int(header[25]);
        const QImage image(resource(f.file));
        const Size* s = sizes;
        while (!std::string(f.file).starts_with(s->prefix))
            ++s;
        EXPECT_EQ(image.size(), QSize(s->width, s->height));
        // The spread of the brightness: a flat picture is a placeholder.
        double sum = 0, squares = 0;
        int n = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2, ++n) {
                const QRgb c = image.pixel(x, y);
                const double l = qAlpha(c) / 255.0 * (0.3 * qRed(c) + 0.59 * qGreen(c) + 0.11 * qBlue(c));
                sum += l, squares += l * l;
            }
        EXPECT_GT(std::sqrt(squares / n - (sum / n) * (sum / n)), 3.0);
    }
    Engine::discard();
}

TEST(AssetFiles, PicturesFitTheirUse) {
    // Opposite edges of a floor tile meet on the floor: about as alike as neighbours inside.
    for (const char* f : {"floor.png", "floor1.png", "floor2.png", "floor3.png", "floor4.png"}) {
        const QImage img = texture(f);
        auto diff = [&](int x0, int y0, int x1, int y1) {
            const QRgb a = img.pixel(x0, y0), b = img.pixel(x1, y1);
            return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                   std::abs(qBlue(a) - qBlue(b));
        };
        double seam = 0, inside = 0;
        const int w = img.width(), h = img.height();
        for (int i = 0; i < h; ++i) {
            seam += diff(w - 1, i, 0, i) + diff(i, h - 1, i, 0);
            inside += diff(w / 2 - 1, i, w / 2, i) + diff(i, h / 2 - 1, i, h / 2);
        }
        EXPECT_LT(seam, inside * 1.5 + 200 * h) << f;
    }
    // The sky pictures fade out at their border.
    for (const char* f : {"space0.png", "space1.png", "space2.png", "space3.png"}) {
        const QImage img = texture(f);
        int edge = 0;
        for (int i = 0; i < img.width(); ++i)
            edge = std::max({edge, qAlpha(img.pixel(i, 0)), qAlpha(img.pixel(i, img.height() - 1)),
                             qAlpha(img.pixel(0, i)), qAlpha(img.pixel(img.width() - 1, i))});
        EXPECT_LE(edge, 2) << f;
        EXPECT_GT(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 100) << f;
    }
    // The game-over picture is a cut-out for the alpha test of 0.3.
    const QImage gameOver = texture("gameover.png");
    int solid = 0;
    for (int y = 0; y < gameOver.height(); ++y)
        for (int x = 0; x < gameOver.width(); ++x)
            solid += qAlpha(gameOver.pixel(x, y)) >= 77;
    EXPECT_GT(solid, 0.1 * 512 * 128);
    EXPECT_LT(solid, 0.7 * 512 * 128);
    // The panel leaves the gauge bar drawn under it (u 0.122 to 0.867, v 0.75 to 0.917) clear.
    const QImage board = texture("board.png");
    for (double u = 0.15; u < 0.85; u += 0.05)
        for (double v = 0.77; v < 0.9; v += 0.03)
            EXPECT_LT(qAlpha(board.pixel(int(u * 256), int(v * 256))), 40) << u << ", " << v;
}

TEST(AssetFiles, FontCellsHoldTheirGlyphs) {
    const QImage img = texture("chars.png");
    // Ink of a 16 x 16 cell; the font is white everywhere so that filtering keeps the edges bright.
    auto ink = [&](int row, int column) {
        int sum = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb c = img.pixel(column * 16 + x, row * 16 + y);
                EXPECT_EQ(qRed(c), 255);
                sum += qAlpha(c);
            }
        return sum;
    };
    struct Cells {
        int row, first, last, least;
    };
    for (const Cells c : {Cells{0, 0, 25, 2000}, Cells{1, 0, 25, 1500}, Cells{2, 0, 9, 2000}})
        for (int column = c.first; column <= c.last; ++column)
            EXPECT_GT(ink(c.row, column), c.least) << "row " << c.row << " column " << column;
    for (int column : {12, 13, 15, 16})
        EXPECT_GT(ink(2, column), 200) << "punctuation column " << column;
    for (int column : {10, 11, 14, 17, 30})
        EXPECT_EQ(ink(2, column), 0) << "unused column " << column;
    EXPECT_EQ(ink(5, 5), 0);
    // "/" is stored mirrored: its ink rises towards the left of the cell.
    int left = 0, right = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            left += qAlpha(img.pixel(256 + x, 34 + y)), right += qAlpha(img.pixel(264 + x, 34 + y));
    EXPECT_GT(left, right);
}

class Sound : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);
        setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_Init(MIX_INIT_MP3 | MIX_INIT_MOD) & MIX_INIT_MP3, MIX_INIT_MP3) << Mix_GetError();
    }
    static void TearDownTestSuite() {
        Mix_Quit();
        SDL_Quit();
        std::remove(raw.c_str());
    }
    void SetUp() override { ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError(); }
    void TearDown() override { Mix_CloseAudio(); }

    // Plays the music through the disk driver; the loudness (RMS) of each second played.
    static std::vector<double> play(const char* name, int seconds) {
        Mix_Music* music = Mix_LoadMUS(resource(name).toLocal8Bit().constData());
        EXPECT_NE(music, nullptr) << Mix_GetError();
        if (!music)
            return {};
        Mix_PlayMusic(music, -1);
        // Until the driver has written enough, however busy the machine is.
        const uintmax_t needed = static_cast<uintmax_t>(seconds + 1) * 44100 * 4;
        std::error_code ec;
        for (Uint32 start = SDL_GetTicks(); SDL_GetTicks() - start < 60000; SDL_Delay(20))
            if (std::filesystem::file_size(raw, ec) >= needed && !ec)
                break;
        Mix_HaltMusic();
        Mix_FreeMusic(music);
        std::ifstream in(raw, std::ios::binary);
        std::vector<double> rms;
        std::vector<int16_t> second(44100 * 2);
        while (rms.size() < static_cast<size_t>(seconds) &&
               in.read(reinterpret_cast<char*>(second.data()), second.size() * 2)) {
            double squares = 0;
            for (int16_t s : second)
                squares += double(s) * s;
            rms.push_back(std::sqrt(squares / second.size()) / 32768);
        }
        return rms;
    }

    static inline std::string raw = std::filesystem::temp_directory_path() / "orbitrax-assets-audio.raw";
};

TEST_F(Sound, EverySampleLoadsAndIsHeard) {
    for (const char* name : Audio::sampleFiles) {
        SCOPED_TRACE(name);
        Mix_Chunk* chunk = Mix_LoadWAV(resource(QString("samples/") + name).toLocal8Bit().constData());
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        // A tenth of a second to three seconds, and not quiet.
        EXPECT_GT(chunk->alen, 44100u * 4 / 10);
        EXPECT_LT(chunk->alen, 44100u * 4 * 3);
        int peak = 0;
        for (Uint32 i = 0; i < chunk->alen / 2; ++i)
            peak = std::max(peak, std::abs(int(reinterpret_cast<const int16_t*>(chunk->abuf)[i])));
        EXPECT_GT(peak, 8000);
        Mix_FreeChunk(chunk);
    }
}

TEST_F(Sound, MusicPlaysWithoutGaps) {
    struct Tune {
        const char* name;
        int seconds;
        double quietest; // RMS of any second but the first
    };
    for (const Tune t : {Tune{"samples/vorn.xm", 12, 0.02}, Tune{"samples/vorn3.xm", 12, 0.01},
                         Tune{"samples/Rocket.mp3", 8, 0.02}}) {
        SCOPED_TRACE(t.name);
        const std::vector<double> rms = play(t.name, t.seconds);
        ASSERT_EQ(rms.size(), static_cast<size_t>(t.seconds));
        for (size_t i = 1; i < rms.size(); ++i)
            EXPECT_GT(rms[i], t.quietest) << "second " << i;
    }
    // The credits tune lasts the credits.
    Mix_Music* credits = Mix_LoadMUS(resource("samples/Rocket.mp3").toLocal8Bit().constData());
    EXPECT_EQ(Mix_GetMusicType(credits), MUS_MP3);
    EXPECT_GE(Mix_MusicDuration(credits), 90.0);
    Mix_FreeMusic(credits);
}

// The mixer's module player ignores the restart position, so the songs loop by a jump back to the start.
TEST(AssetFiles, ModulesLoopByAJumpFromTheirLastRow) {
    for (const char* name : {"samples/vorn.xm", "samples/vorn3.xm"}) {
        SCOPED_TRACE(name);
        QFile f(resource(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray b = f.readAll();
        auto u8 = [&](qsizetype o) { return o < b.size() ? static_cast<unsigned char>(b[o]) : 0; };
        auto le16 = [&](qsizetype o) { return u8(o) | (u8(o + 1) << 8); };
        ASSERT_TRUE(b.startsWith("Extended Module: "));
        const int length = le16(64), channels = le16(68), patternCount = le16(70);
        EXPECT_EQ(channels % 2, 0);
        // Each pattern: its rows of cells (note, instrument, volume, effect, parameter), packed.
        std::vector<std::vector<std::array<int, 5>>> patterns;
        for (qsizetype o = 60 + le16(60); static_cast<int>(patterns.size()) < patternCount;) {
            const int rows = le16(o + 5);
            qsizetype d = o + le16(o) + le16(o + 2) * 65536;
            const qsizetype end = d + le16(o + 7);
            std::vector<std::array<int, 5>> cells;
            for (int i = 0; i < rows * channels; ++i) {
                std::array<int, 5> cell{};
                const int first = u8(d);
                d += first & 0x80 ? 1 : 0;
                for (int k = 0; k < 5; ++k)
                    if (!(first & 0x80) || first & (1 << k))
                        cell[k] = u8(d++);
                cells.push_back(cell);
            }
            ASSERT_EQ(d, end) << "pattern " << patterns.size();
            patterns.push_back(cells);
            o = end;
        }
        std::set<int> instruments;
        int notes = 0, jumps = 0;
        for (int i = 0; i < length; ++i) {
            const auto& cells = patterns.at(u8(80 + i));
            for (size_t c = 0; c < cells.size(); ++c) {
                const bool lastRow = i == length - 1 && c + channels >= cells.size();
                // Only the last row of the song jumps (to order 0); no pattern breaks off early.
                jumps += cells[c][3] == 0x0B && cells[c][4] == 0 && lastRow;
                EXPECT_TRUE(lastRow || (cells[c][3] != 0x0B && cells[c][3] != 0x0D)) << "order " << i;
                if (cells[c][0] > 0 && cells[c][0] < 97)
                    ++notes, instruments.insert(cells[c][1]);
            }
        }
        EXPECT_EQ(jumps, 1);
        // Melody, bass and drums: several instruments over many notes.
        EXPECT_GE(instruments.size(), 6u);
        EXPECT_GT(notes, 300);
    }
}

// The files beside the game are what the generator makes now, and it makes the same every time: one
// fresh run compared with the build's.
TEST(AssetFiles, BuildHoldsTheGeneratorsCurrentOutput) {
    const QString root = qgetenv("ORBITRAX_RESOURCE_DIR");
    QTemporaryDir fresh;
    QProcess generator;
    generator.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    generator.start(root + "/tools/assetgen", {fresh.path(), fresh.path() + "/embedded",
                                               "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"});
    ASSERT_TRUE(generator.waitForFinished(120000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    int files = 0;
    for (QDirIterator it(fresh.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++files) {
        const QString made = it.next();
        QString built = root + made.mid(fresh.path().size());
        built.replace(root + "/embedded", root + "/tools/embedded");
        QFile a(made), b(built);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << built.toStdString();
        EXPECT_EQ(a.readAll(), b.readAll()) << built.toStdString();
    }
    EXPECT_GT(files, 100);
}

} // namespace
