// Every data file the game loads exists after the build and is what its reader and its use expect:
// textures, samples, music, and what is compiled into the game.
#include "core/Audio.h"
#include "core/Engine.h"
#include "render/Textures.h"

#include <QFile>
#include <QImage>

#include <SDL.h>
#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cmath>
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
QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The sizes the pictures were made for, by the start of their names; every other texture is 256 x 256.
constexpr std::tuple<const char*, int, int> sizes[] = {
    {"textures/mark", 128, 128},     {"textures/thunder", 64, 128},  {"textures/effect1", 64, 256},
    {"textures/chain", 128, 128},    {"textures/sphere", 64, 64},    {"textures/fumee", 128, 128},
    {"textures/gameover", 512, 128}, {"textures/capsule", 256, 128}, {"textures/chars", 512, 256},
    {"textures/space", 512, 512},    {"textures/vorn2", 640, 480},   {"", 256, 256},
};

TEST(AssetFiles, EveryTextureIsAnEightBitPngOfItsSizeAndNotFlat) {
    for (const TextureFile& f : Engine::createHeadless()->textureFiles()) {
        SCOPED_TRACE(f.file);
        const QByteArray header = contents(resource(f.file)); // IHDR: width, height, depth, colour type
        ASSERT_GT(header.size(), 26);
        EXPECT_EQ(header[24], 8);
        EXPECT_TRUE(header[25] == 2 || header[25] == 6) << "colour type " << int(header[25]);
        const QImage image(resource(f.file));
        auto size = sizes;
        while (!std::string(f.file).starts_with(std::get<0>(*size)))
            ++size;
        EXPECT_EQ(image.size(), QSize(std::get<1>(*size), std::get<2>(*size)));
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
        for (int i = 0; i < 256; ++i) {
            seam += diff(255, i, 0, i) + diff(i, 255, i, 0);
            inside += diff(127, i, 128, i) + diff(i, 127, i, 128);
        }
        EXPECT_LT(seam, inside * 1.5 + 200 * 256) << f;
    }
    // The sky pictures fade out at their border.
    for (const char* f : {"space0.png", "space1.png", "space2.png", "space3.png"}) {
        const QImage img = texture(f);
        int edge = 0;
        for (int i = 0; i < 512; ++i)
            edge = std::max({edge, qAlpha(img.pixel(i, 0)), qAlpha(img.pixel(i, 511)),
                             qAlpha(img.pixel(0, i)), qAlpha(img.pixel(511, i))});
        EXPECT_LE(edge, 2) << f;
        EXPECT_GT(qAlpha(img.pixel(256, 256)), 100) << f;
    }
    // The game-over picture is a cut-out for the alpha test of 0.3.
    const QImage gameOver = texture("gameover.png");
    int solid = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 512; ++x)
            solid += qAlpha(gameOver.pixel(x, y)) >= 77;
    EXPECT_TRUE(solid > 0.1 * 512 * 128 && solid < 0.7 * 512 * 128) << solid;
    // The panel leaves the gauge bar drawn under it (u 0.122 to 0.867, v 0.75 to 0.917) clear.
    for (double u = 0.15; u < 0.85; u += 0.05)
        for (double v = 0.77; v < 0.9; v += 0.03)
            EXPECT_LT(qAlpha(texture("board.png").pixel(int(u * 256), int(v * 256))), 40) << u << ", " << v;
}

TEST(AssetFiles, FontCellsHoldTheirGlyphs) {
    const QImage img = texture("chars.png");
    // Ink of a 16 x 16 cell; the font is white everywhere so that filtering keeps the edges bright.
    auto ink = [&](int row, int column) {
        int sum = 0;
        for (int k = 0; k < 256; ++k) {
            const QRgb c = img.pixel(column * 16 + k % 16, row * 16 + k / 16);
            EXPECT_EQ(qRed(c), 255);
            sum += qAlpha(c);
        }
        return sum;
    };
    // Letters, small letters, digits, punctuation (row, columns, least ink), and unused cells.
    for (auto [row, first, last, least] : {std::tuple{0, 0, 25, 2000}, {1, 0, 25, 1500}, {2, 0, 9, 2000}})
        for (int column = first; column <= last; ++column)
            EXPECT_GT(ink(row, column), least) << "row " << row << " column " << column;
    for (int column : {12, 13, 15, 16})
        EXPECT_GT(ink(2, column), 200) << "punctuation column " << column;
    for (int column : {10, 11, 14, 17, 30})
        EXPECT_EQ(ink(2, column), 0) << "unused column " << column;
    // "/" is stored mirrored: its ink rises towards the left of the cell.
    int left = 0, right = 0;
    for (int k = 0; k < 48; ++k)
        left += qAlpha(img.pixel(256 + k % 8, 34 + k / 8)),
            right += qAlpha(img.pixel(264 + k % 8, 34 + k / 8));
    EXPECT_GT(left, right);
}

// The loudness (RMS) of each second of a tune, as the mixer hands it to the audio driver.
struct Loudness {
    std::vector<double> seconds;
    std::atomic<size_t> samples = 0;
};
std::vector<double> play(const char* name, int seconds) {
    Mix_Music* music = Mix_LoadMUS(resource(name).toLocal8Bit().constData());
    Loudness heard{std::vector<double>(seconds)};
    Mix_SetPostMix(
        [](void* data, Uint8* stream, int bytes) {
            auto* heard = static_cast<Loudness*>(data);
            for (int i = 0; i < bytes / 2; ++i, ++heard->samples)
                if (heard->samples / 88200 < heard->seconds.size())
                    heard->seconds[heard->samples / 88200] +=
                        std::pow(reinterpret_cast<int16_t*>(stream)[i], 2);
        },
        &heard);
    EXPECT_EQ(Mix_PlayMusic(music, -1), 0) << Mix_GetError();
    for (Uint32 start = SDL_GetTicks(); heard.samples < 88200u * seconds && SDL_GetTicks() - start < 60000;)
        SDL_Delay(20);
    Mix_SetPostMix(nullptr, nullptr);
    Mix_FreeMusic(music);
    for (double& second : heard.seconds)
        second = std::sqrt(second / 88200) / 32768;
    return heard.seconds;
}

TEST(AssetFiles, EverySampleIsHeardAndTheMusicPlaysWithoutGaps) {
    setenv("SDL_AUDIODRIVER", "disk", 1); // as fast as the mixer goes
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_Init(MIX_INIT_MP3 | MIX_INIT_MOD) & MIX_INIT_MP3, MIX_INIT_MP3) << Mix_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    for (const char* name : Audio::sampleFiles) {
        SCOPED_TRACE(name);
        Mix_Chunk* chunk = Mix_LoadWAV(resource(QString("samples/") + name).toLocal8Bit().constData());
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        // A tenth of a second to three seconds, and not quiet.
        EXPECT_TRUE(chunk->alen > 44100u * 4 / 10 && chunk->alen < 44100u * 4 * 3) << chunk->alen;
        int peak = 0;
        for (Uint32 i = 0; i < chunk->alen / 2; ++i)
            peak = std::max(peak, std::abs(int(reinterpret_cast<const int16_t*>(chunk->abuf)[i])));
        EXPECT_GT(peak, 8000);
        Mix_FreeChunk(chunk);
    }
    // Each tune: seconds played, least RMS of any second but the first; the credits tune lasts the credits.
    for (auto [name, seconds, quietest] : {std::tuple{"samples/vorn.xm", 12, 0.02},
                                           {"samples/vorn3.xm", 12, 0.01},
                                           {"samples/Rocket.mp3", 8, 0.02}}) {
        SCOPED_TRACE(name);
        const std::vector<double> rms = play(name, seconds);
        for (size_t i = 1; i < rms.size(); ++i)
            EXPECT_GT(rms[i], quietest) << "second " << i;
    }
    Mix_Music* credits = Mix_LoadMUS(resource("samples/Rocket.mp3").toLocal8Bit().constData());
    EXPECT_GE(Mix_MusicDuration(credits), 90.0);
    Mix_FreeMusic(credits);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_Quit();
}

// The mixer's module player ignores the restart position, so the songs loop by a jump back to the start:
// only the last row of the song jumps (to order 0), and no pattern breaks off early. Melody, bass and
// drums: several instruments over many notes.
TEST(AssetFiles, ModulesLoopByAJumpFromTheirLastRow) {
    for (const char* name : {"samples/vorn.xm", "samples/vorn3.xm"}) {
        SCOPED_TRACE(name);
        const QByteArray b = contents(resource(name));
        auto u8 = [&](qsizetype o) { return o < b.size() ? static_cast<unsigned char>(b[o]) : 0; };
        auto le16 = [&](qsizetype o) { return u8(o) | (u8(o + 1) << 8); };
        ASSERT_TRUE(b.startsWith("Extended Module: "));
        const int length = le16(64), channels = le16(68);
        // Each pattern: its rows of cells (note, instrument, volume, effect, parameter), packed.
        std::vector<std::vector<std::array<int, 5>>> patterns(le16(70));
        qsizetype o = 60 + le16(60);
        for (auto& cells : patterns) {
            qsizetype d = o + le16(o) + le16(o + 2) * 65536;
            const size_t count = le16(o + 5) * channels;
            o = d + le16(o + 7);
            while (cells.size() < count) {
                const int first = u8(d);
                d += first >> 7;
                auto& cell = cells.emplace_back();
                for (int k = 0; k < 5; ++k)
                    cell[k] = !(first & 0x80) || first & (1 << k) ? u8(d++) : 0;
            }
            ASSERT_EQ(d, o) << "pattern " << &cells - patterns.data();
        }
        std::set<int> instruments;
        int notes = 0, jumps = 0;
        for (int i = 0; i < length; ++i) {
            const auto& cells = patterns.at(u8(80 + i));
            for (size_t c = 0; c < cells.size(); ++c) {
                const bool lastRow = i == length - 1 && c + channels >= cells.size();
                jumps += cells[c][3] == 0x0B && cells[c][4] == 0 && lastRow;
                EXPECT_TRUE(lastRow || (cells[c][3] != 0x0B && cells[c][3] != 0x0D)) << "order " << i;
                if (cells[c][0] > 0 && cells[c][0] < 97)
                    ++notes, instruments.insert(cells[c][1]);
            }
        }
        EXPECT_EQ(jumps, 1);
        EXPECT_GE(instruments.size(), 6u);
        EXPECT_GT(notes, 300);
    }
}

// The pictures, style sheet, documents and font compiled into the game: all there and fit for where they
// are shown. The menu has every word at each screen size, plain and lit.
TEST(EmbeddedResources, MenuWordsScreenPicturesDocumentsAndFont) {
    for (const char* word : {"play", "highscore", "options", "credits", "help", "quit"})
        for (const char* screen : {"640", "800", "1024", "1280"}) {
            const QImage plain(QString(":/menu/%1_%2.png").arg(word, screen));
            EXPECT_FALSE(plain.isNull()) << word << screen;
            EXPECT_NE(plain, QImage(QString(":/menu/%1_on_%2.png").arg(word, screen))) << word << screen;
        }
    // The high-score backdrop is dark where the rows are; the help picture keeps the buttons' band calm.
    const QImage backdrop(":/productinfo/iss.jpg"), help(":/productinfo/help.jpg");
    double sum = 0, n = 0;
    for (int y = 0; y < backdrop.height(); y += 8)
        for (int x = 0; x < backdrop.width() * 2 / 3; x += 8, ++n)
            sum += qGray(backdrop.pixel(x, y));
    EXPECT_LT(sum / n, 70);
    for (const char* path : {":/productinfo/product.png", ":/icons/orbitrax.png", ":/icons/downarrow.png"})
        EXPECT_FALSE(QImage(path).isNull()) << path;
    int lo = 255, hi = 0;
    for (int y = help.height() - 36; y < help.height() - 4; ++y)
        for (int x = 0; x < help.width(); x += 4)
            lo = std::min(lo, qGray(help.pixel(x, y))), hi = std::max(hi, qGray(help.pixel(x, y)));
    EXPECT_LT(hi - lo, 24);
    const QString css = contents(":/styles/style.css");
    EXPECT_TRUE(css.size() > 500 && css.count('{') == css.count('}') &&
                css.contains("url(:/icons/downarrow.png)"));
    EXPECT_TRUE(contents(":/productinfo/movie.html").contains("ORBITRAX"));
    EXPECT_GT(contents(":/productinfo/credits.html").size(), 500);
    const QByteArray font = contents(":/fonts/ScoreFont.ttf");
    EXPECT_TRUE(font.startsWith(QByteArray("\x00\x01\x00\x00", 4)) && font.size() > 100000); // TrueType
}

} // namespace
