// The PNG reader, in process: every layout of the fuzzers' seed pictures comes out as 8-bit RGBA rows in
// file order, as Qt's own reader sees it; a damaged or hostile file comes out as the message the game
// prints and the code it exits with.
#include "render/Textures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(TextureReader, EveryLayoutLoadsAsRgbaInFileOrder) {
    const QDir corpus(ORBITRAX_TEST_SOURCE_DIR "/tests/fuzz/corpus/png");
    int layouts = 0;
    for (const QString& name : corpus.entryList({"*.png"})) {
        if (name == "truncated.png")
            continue;
        SCOPED_TRACE(name.toStdString());
        const TextureImage image(corpus.filePath(name).toLocal8Bit().constData());
        const QImage qt = QImage(corpus.filePath(name)).convertToFormat(QImage::Format_RGBA8888);
        ASSERT_TRUE(image.ok()) << image.error.message;
        ASSERT_EQ(QSize(image.width, image.height), qt.size());
        int wrong = 0; // samples off by more than the rounding of 16 bits to 8
        for (int y = 0; y < qt.height(); ++y)
            for (int i = 0; i < 4 * qt.width(); ++i)
                wrong += std::abs(image.pixels[4 * image.width * y + i] - qt.constScanLine(y)[i]) > 1;
        EXPECT_EQ(wrong, 0);
        const QByteArray header = contents(corpus.filePath(name)); // IHDR: depth, colour type, ..., interlace
        EXPECT_EQ(std::tuple(image.bitDepth, image.colorType, image.interlaceType),
                  std::tuple(header[24], header[25], header[28]));
        ++layouts;
    }
    EXPECT_GE(layouts, 10);
}

// Sides up to 8192 load; a bad file gives the message the game prints (%s: the path) and code 12.
TEST(TextureReader, DamagedAndHostileFilesReportTheFileAndCode12) {
    QTemporaryDir dir;
    QImage(16, 16, QImage::Format_RGB32).save(dir.filePath("valid.png"));
    const QByteArray valid = contents(dir.filePath("valid.png"));
    QByteArray corrupt = valid, oddSignature = valid;
    for (qsizetype i = 45; i < corrupt.size() - 20; ++i)
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5a);
    oddSignature[5] = 'x'; // only the first four bytes count
    auto picture = [](int w, int h) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        QImage(w, h, QImage::Format_RGBA8888).save(&buffer, "PNG");
        return bytes;
    };
    const char* const bad = "Error while loading '%s'\n";
    for (auto [name, bytes, message] : {std::tuple{"gif", QByteArray("GIF89a"), "not png type %s"},

                                        {"empty", QByteArray(), "not png type %s"},
                                        {"corrupt", corrupt, bad},
                                        {"truncated", valid.left(valid.size() / 2), bad},
                                        {"signature-only", valid.left(8), bad},

                                        {"odd-signature", oddSignature, ""},
                                        {"wide", picture(8192, 1), ""},
                                        {"too-wide", picture(8193, 1), bad},
                                        {"tall", picture(1, 8192), ""},
                                        {"too-tall", picture(1, 8193), bad},
                                        {"missing", QByteArray(), bad}}) {
        SCOPED_TRACE(name);
        const std::string path = dir.filePath(name).toStdString();
        QFile file(path.c_str());
        EXPECT_TRUE(std::string(name) == "missing" ||
                    (file.open(QIODevice::WriteOnly) && file.write(bytes) >= 0));
        file.close();
        const TextureImage image(path.c_str());
        const std::string expected = QString(message).replace("%s", path.c_str()).toStdString();
        EXPECT_EQ(image.error.message, expected);
        EXPECT_EQ(image.error.code, *message ? 12 : 0);
        const bool refused = *message;
        EXPECT_EQ(std::tuple(image.pixels == nullptr, image.width == 0, image.height == 0),
                  std::tuple(refused, refused, refused));
    }
}

} // namespace
