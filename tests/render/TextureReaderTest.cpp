// The PNG reader, in process: every layout of the fuzzers' seed pictures comes out as 8-bit RGBA rows in
// file order, as Qt's own reader sees it; a damaged or hostile file comes out as the message the game
// prints and the code it exits with.
#include "render/Textures.h"

#include "core/Engine.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

using Bytes = QByteArray;

Bytes contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : Bytes();
}

// The signature and a header claiming an 8-bit RGBA picture of the size, with its checksum, and no data.
Bytes headerOnly(uint32_t width, uint32_t height) {
    Bytes bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    auto put = [&bytes](uLong v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(static_cast<char>(v >> shift));
    };
    put(width);
    put(height);
    bytes.append("\x08\x06\0\0\0", 5);
    put(crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()) + 12, 17));
    return bytes;
}

class TextureReader : public ::testing::Test {
protected:
    QString write(const char* name, const Bytes& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QTemporaryDir dir;
};

TEST_F(TextureReader, EveryLayoutLoadsAsRgbaInFileOrder) {
    const QDir corpus(ORBITRAX_TEST_SOURCE_DIR "/tests/fuzz/corpus/png");
    int layouts = 0;
    for (const QString& name : corpus.entryList({"*.png"})) {
        if (name == "truncated.png")
            continue;
        SCOPED_TRACE(name.toStdString());
        const TextureImage image(corpus.filePath(name).toLocal8Bit().constData());
        const QImage qt = QImage(corpus.filePath(name)).convertToFormat(QImage::Format_RGBA8888);
        ASSERT_TRUE(image.ok()) << image.error.message;
        ASSERT_EQ(image.width, static_cast<uint32_t>(qt.width()));
        ASSERT_EQ(image.height, static_cast<uint32_t>(qt.height()));
        int wrong = 0; // samples off by more than the rounding of 16 bits to 8
        for (int y = 0; y < qt.height(); ++y)
            for (int i = 0; i < 4 * qt.width(); ++i)
                wrong += std::abs(image.pixels[4 * image.width * y + i] - qt.constScanLine(y)[i]) > 1;
        EXPECT_EQ(wrong, 0);
        const Bytes header = contents(corpus.filePath(name)); // IHDR: depth, colour type, ..., interlace
        EXPECT_EQ(image.bitDepth, header[24]);
        EXPECT_EQ(image.colorType, header[25]);
        EXPECT_EQ(image.interlaceType, header[28]);
        ++layouts;
    }
    EXPECT_GE(layouts, 10);
}

TEST_F(TextureReader, SidesUpTo8192Load) {
    for (QSize size : {QSize(8192, 1), QSize(8193, 1), QSize(1, 8192), QSize(1, 8193)}) {
        SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
        QImage(size, QImage::Format_RGBA8888).save(dir.filePath("side.png"));
        const TextureImage image(dir.filePath("side.png").toLocal8Bit().constData());
        const bool loads = size.width() <= 8192 && size.height() <= 8192;
        EXPECT_EQ(image.ok(), loads);
        EXPECT_EQ(image.width, loads ? static_cast<uint32_t>(size.width()) : 0);
        EXPECT_EQ(image.pixels != nullptr, loads);
    }
}

TEST_F(TextureReader, DamagedFilesReportTheFileAndCode12) {
    QImage(16, 16, QImage::Format_RGB32).save(dir.filePath("valid.png"));
    const Bytes valid = contents(dir.filePath("valid.png"));
    Bytes corrupt = valid;
    for (qsizetype i = 45; i < corrupt.size() - 20; ++i)
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5a);
    Bytes oddSignature = valid;
    oddSignature[5] = 'x';
    struct Case {
        const char* name;
        Bytes bytes;
        const char* message; // %s is the path; none: the file loads
    };
    const Case cases[] = {
        {"gif.png", "GIF89a", "not png type %s"},
        {"tiny.png", "\x89P", "not png type %s"},
        {"empty.png", "", "not png type %s"},
        {"corrupt.png", corrupt, "Error while loading '%s'\n"},
        {"truncated.png", valid.left(valid.size() / 2), "Error while loading '%s'\n"},
        {"signature-only.png", valid.left(8), "Error while loading '%s'\n"},
        {"huge.png", headerOnly(100000, 100000), "Error while loading '%s'\n"},
        {"zero.png", headerOnly(0, 16), "Error while loading '%s'\n"},
        {"odd-signature.png", oddSignature, nullptr}, // only the first four bytes count
        {"missing.png", "", "Error while loading '%s'\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file =
            c.message && !std::strcmp(c.name, "missing.png") ? dir.filePath(c.name) : write(c.name, c.bytes);
        const std::string path = file.toStdString();
        const TextureImage image(path.c_str());
        char expected[1024] = "";
        if (c.message)
            std::snprintf(expected, sizeof expected, c.message, path.c_str());
        EXPECT_EQ(image.error.message, expected);
        EXPECT_EQ(image.error.code, c.message ? 12 : 0);
        EXPECT_EQ(image.pixels == nullptr && image.width == 0 && image.height == 0, c.message != nullptr);
    }
}

// The game cannot go on without its pictures: it prints the reader's message and ends with code 12.
TEST(TextureReaderDeathTest, TheGameEndsOnAPictureItCannotRead) {
    auto load = [] {
        qputenv("ORBITRAX_RESOURCE_DIR", "/nonexistent"); // in the child only
        const int captured = dup(2); // what the child writes to its standard output, and nothing else
        dup2(open("/dev/null", O_WRONLY), 2);
        dup2(captured, 1);
        unsigned int name = 0;
        Engine::createHeadless()->loadTexture(&name, "textures/floor.png");
    };
    EXPECT_EXIT(load(), ::testing::ExitedWithCode(12),
                "^Error while loading '/nonexistent/Resources/textures/floor.png'\n$");
}

} // namespace
