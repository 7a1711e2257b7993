#include "platform/ScaleUpTwice.h"

#include <QImage>

#include <algorithm>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>

namespace {

// Three quarters of a and a quarter of b per byte: the average of a with the average of a and b.
inline __m128i threeQuarters(__m128i a, __m128i b) {
    return _mm_avg_epu8(a, _mm_avg_epu8(a, b));
}

inline __m128i load(const std::uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline std::uint32_t threeQuarters(std::uint32_t a, std::uint32_t b) {
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(
        threeQuarters(_mm_cvtsi32_si128(static_cast<int>(a)), _mm_cvtsi32_si128(static_cast<int>(b)))));
}

} // namespace

bool scaleUpTwice(const QImage& from, QImage& into) {
    if (from.isNull() || from.depth() != 32)
        return false;
    const int w = from.width();
    const int h = from.height();
    if (into.size() != from.size() * 2 || into.format() != QImage::Format_RGB32)
        into = QImage(from.size() * 2, QImage::Format_RGB32);
    // One source row blended with its neighbour, with a copy of each end pixel beyond it.
    std::vector<std::uint32_t> padded(static_cast<size_t>(w) + 2);
    std::uint32_t* row = padded.data() + 1;
    for (int y = 0; y < 2 * h; ++y) {
        // Even rows lean to the row above, odd rows to the row below.
        const int near = y / 2;
        const int next = y % 2 ? std::min(near + 1, h - 1) : std::max(near - 1, 0);
        const auto* a = reinterpret_cast<const std::uint32_t*>(from.constScanLine(near));
        const auto* b = reinterpret_cast<const std::uint32_t*>(from.constScanLine(next));
        int x = 0;
        for (; x + 4 <= w; x += 4)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), threeQuarters(load(a + x), load(b + x)));
        for (; x < w; ++x)
            row[x] = threeQuarters(a[x], b[x]);
        row[-1] = row[0];
        row[w] = row[w - 1];
        auto* out = reinterpret_cast<std::uint32_t*>(into.scanLine(y));
        x = 0;
        for (; x + 4 <= w; x += 4) {
            const __m128i p = load(row + x);
            const __m128i left = threeQuarters(p, load(row + x - 1));
            const __m128i right = threeQuarters(p, load(row + x + 1));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * x), _mm_unpacklo_epi32(left, right));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * x + 4), _mm_unpackhi_epi32(left, right));
        }
        for (; x < w; ++x) {
            out[2 * x] = threeQuarters(row[x], row[x - 1]);
            out[2 * x + 1] = threeQuarters(row[x], row[x + 1]);
        }
    }
    return true;
}

#else

bool scaleUpTwice(const QImage&, QImage&) {
    return false;
}

#endif
