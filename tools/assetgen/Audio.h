#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// Sound helpers of the asset generator.
namespace gen {

constexpr int AudioRate = 44100;

// Writes mono 16-bit big-endian PCM as an AIFF file (samples −1 … 1, clipped).
void writeAiff(const QString& path, const std::vector<float>& samples, int rate = AudioRate);
// The 80-bit extended float of the AIFF COMM chunk.
void extendedFloat(double value, unsigned char out[10]);

} // namespace gen
