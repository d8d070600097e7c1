// Ogg Vorbis encoding of generated audio. The stream serial number and the quality are fixed,
// so the same samples always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

namespace soundgen {

constexpr int kOggSerial = 0x47595254;  // "GYRT"
// On libvorbis' -0.1..1 scale. Below about 0.6 the coding noise where a looped file starts
// (the encoder sees silence before it) grows to a small tick at the seam.
constexpr float kOggQuality = 0.6f;

// Samples are rounded to 16 bits first, as if read from a 16-bit source; returns the file bytes.
std::vector<uint8_t> encodeOgg(const Audio& audio, float quality = kOggQuality);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace soundgen
