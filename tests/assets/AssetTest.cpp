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

#include <cmath>
#include <string>

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

TEST(AssetFiles, EveryTextureIsOfItsSizeAndNotFlat) {
    for (const TextureFile& f : Engine::createHeadless()->textureFiles()) {
        SCOPED_TRACE(f.file);
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

TEST(AssetFiles, EverySampleIsHeardAndEveryTuneLoads) {
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
    // The mixer reads every tune; the credits tune lasts the credits.
    for (auto [name, least] :
         {std::pair{"samples/vorn.xm", -1.0}, {"samples/vorn3.xm", -1.0}, {"samples/Rocket.mp3", 90.0}}) {
        Mix_Music* music = Mix_LoadMUS(resource(name).toLocal8Bit().constData());
        EXPECT_TRUE(music && Mix_MusicDuration(music) >= least) << name << Mix_GetError();
        Mix_FreeMusic(music);
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_Quit();
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
    for (const char* path : {":/productinfo/product.png", ":/productinfo/iss.jpg", ":/productinfo/help.jpg",
                             ":/icons/orbitrax.png", ":/icons/downarrow.png"})
        EXPECT_FALSE(QImage(path).isNull()) << path;
    const QString css = contents(":/styles/style.css");
    EXPECT_TRUE(css.size() > 500 && css.count('{') == css.count('}') &&
                css.contains("url(:/icons/downarrow.png)"));
    EXPECT_TRUE(contents(":/productinfo/movie.html").contains("ORBITRAX"));
    EXPECT_GT(contents(":/productinfo/credits.html").size(), 500);
    const QByteArray font = contents(":/fonts/ScoreFont.ttf");
    EXPECT_TRUE(font.startsWith(QByteArray("\x00\x01\x00\x00", 4)) && font.size() > 100000); // TrueType
}

} // namespace
