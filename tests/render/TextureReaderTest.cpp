#include "PngWriter.h"
#include "render/Textures.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct ChildResult {
    int exitCode;
    std::string output;
};

// Reads the file in a child process (this binary with --read-png) and returns its exit code and stdout.
ChildResult readInChild(const std::string& path) {
    // popen runs a shell, for which /proc/self/exe would be the shell: resolve this binary first.
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    const std::string resolved = std::string(self, n > 0 ? static_cast<size_t>(n) : 0);
    std::FILE* pipe = popen(("'" + resolved + "' --read-png '" + path + "'").c_str(), "r");
    ChildResult result{-1, ""};
    if (!pipe)
        return result;
    char buffer[256];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<uint8_t> validPng(const std::string& dir) {
    const std::string path = dir + "/valid.png";
    writeSolidPng(path, 16, 16, 10, 20, 30, 40);
    return readBytes(path);
}

// A PNG whose header claims the given size, with a correct checksum, and no image data.
std::vector<uint8_t> headerOnly(uint32_t width, uint32_t height) {
    std::vector<uint8_t> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                                  0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<uint8_t>(v >> shift));
    bytes.insert(bytes.end(), {8, 6, 0, 0, 0});
    const uLong crc = crc32(0, bytes.data() + 12, 17);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<uint8_t>(crc >> shift));
    return bytes;
}

class TextureReaderTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return (dir.path() + "/" + name).toStdString(); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(TextureReaderTest, FailuresReportTheFileAndEndWithCode12) {
    const std::string base = dir.path().toStdString();
    std::vector<uint8_t> valid = validPng(base);

    std::vector<uint8_t> corrupt = valid;
    for (size_t i = 45; i < corrupt.size() - 20; ++i)
        corrupt[i] ^= 0x5a;
    std::vector<uint8_t> truncated(valid.begin(), valid.begin() + static_cast<long>(valid.size() / 2));

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* message; // %s is the path
    };
    const Case cases[] = {
        {"gif.png", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}, "not png type %s"},
        {"tiny.png", {0x89, 'P'}, "not png type %s"},
        {"empty.png", {}, "not png type %s"},
        {"corrupt.png", corrupt, "Error while loading '%s'\n"},
        {"truncated.png", truncated, "Error while loading '%s'\n"},
        {"signature-only.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}, "Error while loading '%s'\n"},
        {"huge.png", headerOnly(100000, 100000), "Error while loading '%s'\n"},
        {"wide.png", headerOnly(8193, 1), "Error while loading '%s'\n"},
        {"zero.png", headerOnly(0, 16), "Error while loading '%s'\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = path(c.name);
        ASSERT_TRUE(writeBytes(file, c.bytes));
        char expected[1024];
        std::snprintf(expected, sizeof expected, c.message, file.c_str());
        const ChildResult result = readInChild(file);
        EXPECT_EQ(result.exitCode, 12);
        EXPECT_EQ(result.output, expected);
    }

    const std::string missing = path("missing.png");
    const ChildResult result = readInChild(missing);
    EXPECT_EQ(result.exitCode, 12);
    EXPECT_EQ(result.output, "Error while loading '" + missing + "'\n");
}

TEST_F(TextureReaderTest, OnlyTheFirstFourSignatureBytesCount) {
    std::vector<uint8_t> bytes = validPng(dir.path().toStdString());
    bytes[5] = 'x';
    bytes[6] = 'y';
    const std::string file = path("odd-signature.png");
    ASSERT_TRUE(writeBytes(file, bytes));
    const ChildResult result = readInChild(file);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "16x16 0a141e28");
}

// Every layout libpng can store comes out as 8-bit RGBA.
TEST_F(TextureReaderTest, EveryLayoutLoadsAsRgba) {
    struct Case {
        const char* name;
        PngLayout layout;
        std::vector<uint8_t> expected; // RGBA of the 2 x 1 picture
    };
    auto layout = [](int colorType, int bitDepth, std::vector<uint16_t> samples, bool interlaced = false) {
        PngLayout s;
        s.width = 2;
        s.height = 1;
        s.colorType = colorType;
        s.bitDepth = bitDepth;
        s.samples = std::move(samples);
        s.interlaced = interlaced;
        return s;
    };
    PngLayout palette = layout(PNG_COLOR_TYPE_PALETTE, 8, {1, 0});
    palette.palette = {10, 20, 30, 40, 50, 60};
    palette.paletteAlpha = {128};
    PngLayout smallPalette = layout(PNG_COLOR_TYPE_PALETTE, 2, {0, 1});
    smallPalette.palette = {1, 2, 3, 4, 5, 6};

    const Case cases[] = {
        {"rgb", layout(PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6}), {1, 2, 3, 255, 4, 5, 6, 255}},
        {"rgba", layout(PNG_COLOR_TYPE_RGBA, 8, {1, 2, 3, 0, 4, 5, 6, 77}), {1, 2, 3, 0, 4, 5, 6, 77}},
        {"palette with alpha", palette, {40, 50, 60, 255, 10, 20, 30, 128}},
        {"2-bit palette", smallPalette, {1, 2, 3, 255, 4, 5, 6, 255}},
        {"grey", layout(PNG_COLOR_TYPE_GRAY, 8, {9, 200}), {9, 9, 9, 255, 200, 200, 200, 255}},
        {"1-bit grey", layout(PNG_COLOR_TYPE_GRAY, 1, {1, 0}), {255, 255, 255, 255, 0, 0, 0, 255}},
        {"grey alpha",
         layout(PNG_COLOR_TYPE_GRAY_ALPHA, 8, {9, 10, 200, 20}),
         {9, 9, 9, 10, 200, 200, 200, 20}},
        {"16-bit rgb",
         layout(PNG_COLOR_TYPE_RGB, 16, {0x1234, 0xff00, 0x0100, 0, 0xffff, 0x8000}),
         {0x12, 0xff, 0x01, 255, 0, 0xff, 0x80, 255}},
        {"16-bit rgba",
         layout(PNG_COLOR_TYPE_RGBA, 16, {0xffff, 0, 0, 0x4000, 0, 0xffff, 0, 0xffff}),
         {255, 0, 0, 0x40, 0, 255, 0, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = path("layout.png");
        ASSERT_TRUE(writePng(file, c.layout));
        const TextureImage image(file.c_str());
        ASSERT_EQ(image.width, 2u);
        ASSERT_EQ(image.height, 1u);
        EXPECT_EQ(image.colorType, c.layout.colorType);
        EXPECT_EQ(image.bitDepth, c.layout.bitDepth);
        EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + 8), c.expected);
    }
}

TEST_F(TextureReaderTest, InterlacedPicturesKeepTheirRowsInFileOrder) {
    PngLayout layout;
    layout.width = 9;
    layout.height = 7;
    layout.interlaced = true;
    for (uint32_t y = 0; y < layout.height; ++y)
        for (uint32_t x = 0; x < layout.width; ++x)
            layout.samples.insert(layout.samples.end(),
                                  {static_cast<uint16_t>(x * 20), static_cast<uint16_t>(y * 30), 7, 255});
    const std::string file = path("interlaced.png");
    ASSERT_TRUE(writePng(file, layout));
    const TextureImage image(file.c_str());
    EXPECT_EQ(image.interlaceType, PNG_INTERLACE_ADAM7);
    for (uint32_t y = 0; y < layout.height; ++y) {
        for (uint32_t x = 0; x < layout.width; ++x) {
            const unsigned char* p = image.pixels.get() + (y * layout.width + x) * 4;
            EXPECT_EQ(p[0], x * 20);
            EXPECT_EQ(p[1], y * 30);
            EXPECT_EQ(p[3], 255);
        }
    }
}

TEST(TextureImage, EmptyImageHasNoPixels) {
    const TextureImage image;
    EXPECT_EQ(image.width, 0u);
    EXPECT_EQ(image.height, 0u);
    EXPECT_EQ(image.pixels, nullptr);
}
