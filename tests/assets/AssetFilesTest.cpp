// Every data file the game loads exists after the build and is accepted by the game's readers:
// PNG textures of 8-bit RGB or RGBA at their sizes, AIFF samples through SDL_mixer, music that plays.
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <SDL.h>
#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <array>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

std::string resourceDir() {
    const char* dir = std::getenv("ORBITRAX_RESOURCE_DIR");
    return dir ? dir : ".";
}

std::string resource(const std::string& name) {
    return resourceDir() + "/Resources/" + name;
}

struct PngHeader {
    bool ok = false;
    uint32_t width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
};

PngHeader readPngHeader(const std::string& path) {
    PngHeader h;
    std::ifstream in(path, std::ios::binary);
    unsigned char b[33];
    if (!in.read(reinterpret_cast<char*>(b), sizeof b))
        return h;
    const unsigned char sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (!std::equal(sig, sig + 8, b) || std::string(reinterpret_cast<char*>(b + 12), 4) != "IHDR")
        return h;
    auto be32 = [&](int o) {
        return (uint32_t(b[o]) << 24) | (uint32_t(b[o + 1]) << 16) | (uint32_t(b[o + 2]) << 8) | b[o + 3];
    };
    h.width = be32(16);
    h.height = be32(20);
    h.bitDepth = b[24];
    h.colorType = b[25];
    h.ok = true;
    return h;
}

struct Texture {
    const char* file;
    int width, height;
};

// Every texture the game loads, at the size it was made for.
constexpr Texture Textures[] = {
    {"floormap.png", 256, 256},      {"floormap1.png", 256, 256},    {"floormap2.png", 256, 256},
    {"floormap3.png", 256, 256},     {"floormap4.png", 256, 256},    {"mark.png", 128, 128},
    {"cube.png", 256, 256},          {"tache.png", 256, 256},        {"deadtache.png", 256, 256},
    {"camouflage.png", 256, 256},    {"thunder.png", 64, 128},       {"effect1.png", 64, 256},
    {"chain.png", 128, 128},         {"myship.png", 256, 256},       {"piege.png", 256, 256},
    {"bandit1.png", 256, 256},       {"missile.png", 256, 256},      {"fighter2.png", 256, 256},
    {"bandit2.png", 256, 256},       {"sphere.png", 64, 64},         {"fumee1.png", 128, 128},
    {"fumee2.png", 128, 128},        {"fumee3.png", 128, 128},       {"gameover.png", 512, 128},
    {"board.png", 256, 256},         {"galaxy.png", 256, 256},       {"capsule_shield.png", 256, 128},
    {"capsule_power.png", 256, 128}, {"capsule_bomb.png", 256, 128}, {"capsule_invul.png", 256, 128},
    {"floor.png", 256, 256},         {"chars.png", 512, 256},        {"floor1.png", 256, 256},
    {"floor2.png", 256, 256},        {"floor3.png", 256, 256},       {"floor4.png", 256, 256},
    {"border2.png", 256, 256},       {"space1.png", 512, 512},       {"space0.png", 512, 512},
    {"space3.png", 512, 512},        {"space2.png", 512, 512},       {"vorn2.png", 640, 480},
};

constexpr const char* Samples[] = {"welcome.aiff",  "tir.aiff",       "explode1.aiff",
                                   "explode2.aiff", "tachefire.aiff", "glups.aiff",
                                   "powerup.aiff",  "detection.aiff", "gameover.aiff"};

bool powerOfTwo(int v) {
    return v > 0 && (v & (v - 1)) == 0;
}

TEST(AssetFiles, EveryTextureIsAnEightBitRgbOrRgbaPngOfItsSize) {
    for (const Texture& t : Textures) {
        SCOPED_TRACE(t.file);
        const PngHeader h = readPngHeader(resource(std::string("textures/") + t.file));
        ASSERT_TRUE(h.ok) << "missing or not a PNG";
        EXPECT_EQ(h.bitDepth, 8);
        EXPECT_TRUE(h.colorType == 2 || h.colorType == 6) << "colour type " << h.colorType;
        EXPECT_EQ(static_cast<int>(h.width), t.width);
        EXPECT_EQ(static_cast<int>(h.height), t.height);
        if (std::string(t.file) != "vorn2.png") {
            EXPECT_TRUE(powerOfTwo(t.width) && powerOfTwo(t.height));
        }
    }
}

// Spread of the picture's colours: a flat or nearly flat picture is a placeholder.
double lumaSpread(const QImage& img) {
    double sum = 0, sq = 0;
    int n = 0;
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2) {
            const QRgb c = img.pixel(x, y);
            const double a = qAlpha(c) / 255.0;
            const double l = a * (0.3 * qRed(c) + 0.59 * qGreen(c) + 0.11 * qBlue(c));
            sum += l;
            sq += l * l;
            ++n;
        }
    const double mean = sum / n;
    return std::sqrt(std::max(0.0, sq / n - mean * mean));
}

TEST(AssetFiles, NoTextureIsFlat) {
    for (const Texture& t : Textures) {
        QImage img(QString::fromStdString(resource(std::string("textures/") + t.file)));
        ASSERT_FALSE(img.isNull()) << t.file;
        EXPECT_GT(lumaSpread(img), 3.0) << t.file;
    }
}

TEST(AssetFiles, FloorTilesWrapWithoutSeams) {
    // Opposite edges of a tile meet on the floor: their texels must be about as alike as neighbours inside.
    for (const char* f : {"floor.png", "floor1.png", "floor2.png", "floor3.png", "floor4.png"}) {
        QImage img(QString::fromStdString(resource(std::string("textures/") + f)));
        ASSERT_FALSE(img.isNull());
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
}

TEST(AssetFiles, SkyPicturesFadeOutAtTheirBorder) {
    for (const char* f : {"space0.png", "space1.png", "space2.png", "space3.png"}) {
        QImage img(QString::fromStdString(resource(std::string("textures/") + f)));
        ASSERT_FALSE(img.isNull());
        int maxEdge = 0;
        for (int i = 0; i < img.width(); ++i)
            maxEdge = std::max({maxEdge, qAlpha(img.pixel(i, 0)), qAlpha(img.pixel(i, img.height() - 1)),
                                qAlpha(img.pixel(0, i)), qAlpha(img.pixel(img.width() - 1, i))});
        EXPECT_LE(maxEdge, 2) << f;
        EXPECT_GT(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 100) << f;
    }
}

TEST(AssetFiles, FontCellsHoldTheirGlyphs) {
    QImage img(QString::fromStdString(resource("textures/chars.png")));
    ASSERT_EQ(img.width(), 512);
    auto coverage = [&](int row, int col) {
        int sum = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb c = img.pixel(col * 16 + x, row * 16 + y);
                EXPECT_EQ(qRed(c), 255); // white everywhere so filtering keeps edges bright
                sum += qAlpha(c);
            }
        return sum;
    };
    for (int c = 0; c < 26; ++c) {
        EXPECT_GT(coverage(0, c), 2000) << "capital " << char('A' + c);
        EXPECT_GT(coverage(1, c), 1500) << "small " << char('a' + c);
    }
    for (int c = 0; c < 10; ++c)
        EXPECT_GT(coverage(2, c), 2000) << "digit " << c;
    for (int c : {12, 13, 15, 16})
        EXPECT_GT(coverage(2, c), 200) << "punctuation column " << c;
    for (int c : {10, 11, 14, 17, 30})
        EXPECT_EQ(coverage(2, c), 0) << "unused column " << c;
    EXPECT_EQ(coverage(5, 5), 0);
    // "/" is stored mirrored: its ink rises towards the left of the cell.
    int leftTop = 0, rightTop = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            leftTop += qAlpha(img.pixel(16 * 16 + x, 32 + 2 + y));
            rightTop += qAlpha(img.pixel(16 * 16 + 8 + x, 32 + 2 + y));
        }
    EXPECT_GT(leftTop, rightTop);
}

TEST(AssetFiles, GameOverPictureIsACutOut) {
    QImage img(QString::fromStdString(resource("textures/gameover.png")));
    ASSERT_FALSE(img.isNull());
    int solid = 0, clear = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int a = qAlpha(img.pixel(x, y));
            solid += a >= 77; // passes the game's alpha test of 0.3
            clear += a < 77;
        }
    const double share = static_cast<double>(solid) / (solid + clear);
    EXPECT_GT(share, 0.1);
    EXPECT_LT(share, 0.7);
}

TEST(AssetFiles, BoardLeavesTheGaugeClear) {
    QImage img(QString::fromStdString(resource("textures/board.png")));
    ASSERT_FALSE(img.isNull());
    // The gauge bar is drawn under the panel at u 0.122 … 0.867, v 0.75 … 0.917.
    for (double u = 0.15; u < 0.85; u += 0.05)
        for (double v = 0.77; v < 0.9; v += 0.03)
            EXPECT_LT(qAlpha(img.pixel(int(u * 256), int(v * 256))), 40) << u << "," << v;
}

// ---- sound ----

class Audio : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIODELAY", "1", 1);
        static std::string file = QDir::tempPath().toStdString() + "/orbitrax-assets-audio.raw";
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        rawFile = file;
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_Init(MIX_INIT_MP3 | MIX_INIT_MOD) & MIX_INIT_MP3, MIX_INIT_MP3) << Mix_GetError();
    }
    static void TearDownTestSuite() {
        Mix_Quit();
        SDL_Quit();
        std::remove(rawFile.c_str());
    }

    // Plays the music for a while through the disk driver; returns the peak and the RMS of each second.
    static std::vector<double> play(const std::string& path, double seconds, int& peak) {
        EXPECT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        EXPECT_NE(music, nullptr) << path << ": " << Mix_GetError();
        std::vector<double> rms;
        peak = 0;
        if (!music) {
            Mix_CloseAudio();
            return rms;
        }
        Mix_PlayMusic(music, -1);
        // Wait until the disk driver has written enough, however busy the machine is.
        const uintmax_t needed = static_cast<uintmax_t>((seconds + 0.5) * 44100 * 4);
        const Uint32 start = SDL_GetTicks();
        std::error_code ec;
        while (SDL_GetTicks() - start < 60000) {
            const uintmax_t size = std::filesystem::file_size(rawFile, ec);
            if (!ec && size >= needed)
                break;
            SDL_Delay(20);
        }
        Mix_HaltMusic();
        Mix_FreeMusic(music);
        Mix_CloseAudio();
        std::ifstream in(rawFile, std::ios::binary);
        std::vector<int16_t> pcm;
        int16_t s;
        while (in.read(reinterpret_cast<char*>(&s), 2))
            pcm.push_back(s);
        const size_t second = 44100 * 2;
        for (size_t i = 0; i + second <= pcm.size() && rms.size() < static_cast<size_t>(seconds);
             i += second) {
            double sq = 0;
            for (size_t k = i; k < i + second; ++k) {
                sq += double(pcm[k]) * pcm[k];
                peak = std::max(peak, std::abs(int(pcm[k])));
            }
            rms.push_back(std::sqrt(sq / second) / 32768.0);
        }
        return rms;
    }

    static std::string rawFile;
};

std::string Audio::rawFile;

TEST_F(Audio, EverySampleLoadsThroughTheMixer) {
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    for (const char* name : Samples) {
        SDL_RWops* rw = SDL_RWFromFile(resource(std::string("samples/") + name).c_str(), "rb");
        ASSERT_NE(rw, nullptr) << name;
        Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);
        ASSERT_NE(chunk, nullptr) << name << ": " << Mix_GetError();
        // At least a tenth of a second, at most three seconds, and not silent.
        EXPECT_GT(chunk->alen, 44100u * 4 / 10) << name;
        EXPECT_LT(chunk->alen, 44100u * 4 * 3) << name;
        const int16_t* pcm = reinterpret_cast<const int16_t*>(chunk->abuf);
        int peak = 0;
        for (Uint32 i = 0; i < chunk->alen / 2; ++i)
            peak = std::max(peak, std::abs(int(pcm[i])));
        EXPECT_GT(peak, 8000) << name;
        Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
}

TEST_F(Audio, GameMusicPlaysWithoutGaps) {
    int peak = 0;
    const std::vector<double> rms = play(resource("samples/vorn.xm"), 12, peak);
    ASSERT_GE(rms.size(), 10u);
    EXPECT_GT(peak, 6000);
    for (size_t i = 0; i < rms.size(); ++i)
        EXPECT_GT(rms[i], 0.02) << "second " << i;
}

TEST_F(Audio, MenuMusicPlaysWithoutGaps) {
    int peak = 0;
    const std::vector<double> rms = play(resource("samples/vorn3.xm"), 12, peak);
    ASSERT_GE(rms.size(), 10u);
    EXPECT_GT(peak, 4000);
    for (size_t i = 0; i < rms.size(); ++i)
        EXPECT_GT(rms[i], 0.01) << "second " << i;
}

TEST_F(Audio, CreditsMusicIsLongEnoughAndPlays) {
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0);
    Mix_Music* music = Mix_LoadMUS(resource("samples/Rocket.mp3").c_str());
    ASSERT_NE(music, nullptr) << Mix_GetError();
    EXPECT_EQ(Mix_GetMusicType(music), MUS_MP3);
    EXPECT_GE(Mix_MusicDuration(music), 90.0);
    Mix_FreeMusic(music);
    Mix_CloseAudio();
    int peak = 0;
    const std::vector<double> rms = play(resource("samples/Rocket.mp3"), 8, peak);
    ASSERT_GE(rms.size(), 6u);
    EXPECT_GT(peak, 6000);
    for (size_t i = 1; i < rms.size(); ++i)
        EXPECT_GT(rms[i], 0.02) << "second " << i;
}

// ---- the generator itself ----

QByteArray digestOfTree(const QString& root) {
    QCryptographicHash all(QCryptographicHash::Sha256);
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    for (const QString& f : files) {
        QFile file(f);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        all.addData(QDir(root).relativeFilePath(f).toUtf8());
        all.addData(file.readAll());
    }
    return all.result();
}

TEST(AssetGenerator, TwoRunsWriteIdenticalFiles) {
    const QString generator = QString::fromStdString(resourceDir() + "/tools/assetgen");
    if (!QFile::exists(generator))
        GTEST_SKIP() << "generator not found beside the game";
    const QString font = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    QByteArray digests[2];
    int files[2] = {0, 0};
    for (int run = 0; run < 2; ++run) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(generator, {dir.path() + "/out", dir.path() + "/embed", font});
        ASSERT_TRUE(p.waitForFinished(120000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        digests[run] = digestOfTree(dir.path());
        QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            ++files[run];
        }
    }
    EXPECT_GT(files[0], 100);
    EXPECT_EQ(files[0], files[1]);
    EXPECT_EQ(digests[0], digests[1]);
}

TEST(AssetGenerator, BuildOutputMatchesAFreshRun) {
    // The files beside the game are the generator's current output, not left-overs.
    const QString generator = QString::fromStdString(resourceDir() + "/tools/assetgen");
    if (!QFile::exists(generator))
        GTEST_SKIP() << "generator not found beside the game";
    QTemporaryDir dir;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(generator, {dir.path() + "/out", dir.path() + "/embed",
                        "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"});
    ASSERT_TRUE(p.waitForFinished(120000));
    for (const char* f :
         {"textures/floor.png", "textures/chars.png", "samples/vorn.xm", "samples/tir.aiff"}) {
        QFile a(dir.path() + "/out/Resources/" + f), b(QString::fromStdString(resource(f)));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << f;
        EXPECT_EQ(a.readAll(), b.readAll()) << f;
    }
}

} // namespace

namespace {

// Reads a FastTracker 2 module far enough to find where its song ends.
struct XmSong {
    bool ok = false;
    int channels = 0, bpm = 0;
    std::vector<int> order;
    std::vector<std::vector<std::vector<std::array<int, 5>>>> patterns; // pattern, row, channel, cell fields
};

XmSong readXm(const std::string& path) {
    XmSong song;
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return song;
    const QByteArray b = f.readAll();
    auto u8 = [&](qsizetype o) { return o < b.size() ? static_cast<unsigned char>(b[o]) : 0; };
    auto le16 = [&](qsizetype o) { return u8(o) | (u8(o + 1) << 8); };
    auto le32 = [&](qsizetype o) { return static_cast<qsizetype>(le16(o) | (le16(o + 2) << 16)); };
    if (b.left(17) != "Extended Module: " || le32(60) != 276)
        return song;
    const int length = le16(64), patterns = le16(70);
    song.channels = le16(68);
    song.bpm = le16(78);
    for (int i = 0; i < length; ++i)
        song.order.push_back(u8(80 + i));
    qsizetype o = 60 + 276;
    for (int p = 0; p < patterns; ++p) {
        const qsizetype header = le32(o);
        const int rows = le16(o + 5);
        const int packed = le16(o + 7);
        qsizetype d = o + header;
        const qsizetype end = d + packed;
        std::vector<std::vector<std::array<int, 5>>> pat(rows,
                                                         std::vector<std::array<int, 5>>(song.channels));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < song.channels; ++c) {
                std::array<int, 5> cell{0, 0, 0, 0, 0};
                const int first = u8(d);
                if (first & 0x80) {
                    ++d;
                    for (int k = 0; k < 5; ++k)
                        if (first & (1 << k))
                            cell[k] = u8(d++);
                } else {
                    for (int k = 0; k < 5; ++k)
                        cell[k] = u8(d++);
                }
                pat[r][c] = cell;
            }
        if (d != end)
            return song;
        song.patterns.push_back(pat);
        o = end;
    }
    song.ok = true;
    return song;
}

TEST(AssetFiles, ModulesEndByJumpingBackToTheirStart) {
    // The mixer's module player ignores the restart position, so the songs loop by a position jump.
    for (const char* name : {"samples/vorn.xm", "samples/vorn3.xm"}) {
        const XmSong song = readXm(resource(name));
        ASSERT_TRUE(song.ok) << name;
        EXPECT_EQ(song.channels % 2, 0);
        ASSERT_FALSE(song.order.empty());
        const auto& last = song.patterns.at(song.order.back());
        bool jump = false;
        for (const auto& cell : last.back())
            jump = jump || (cell[3] == 0x0B && cell[4] == 0);
        EXPECT_TRUE(jump) << name;
        // No other pattern jumps or breaks early: every order plays whole.
        for (size_t i = 0; i + 1 < song.order.size(); ++i)
            for (const auto& row : song.patterns.at(song.order[i]))
                for (const auto& cell : row)
                    EXPECT_TRUE(cell[3] != 0x0B && cell[3] != 0x0D) << name << " order " << i;
        // Melody, bass and drums: the song uses several instruments over many notes.
        std::set<int> instruments;
        int notes = 0;
        for (int p : song.order)
            for (const auto& row : song.patterns.at(p))
                for (const auto& cell : row)
                    if (cell[0] > 0 && cell[0] < 97) {
                        ++notes;
                        instruments.insert(cell[1]);
                    }
        EXPECT_GE(instruments.size(), 6u) << name;
        EXPECT_GT(notes, 300) << name;
    }
}

} // namespace
