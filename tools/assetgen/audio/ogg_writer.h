// Ogg Vorbis encoding of generated audio. The stream serial number and the quality are fixed,
// so the same samples always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

namespace soundgen {

constexpr int kOggSerial = 0x47595254;  // "GYRT"
constexpr float kOggQuality = 0.5f;

// Samples are rounded to 16 bits first, as if read from a 16-bit source; returns the file bytes.
std::vector<uint8_t> encodeOgg(const Audio& audio);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace soundgen
