#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "draw.h"

// Writes pictures as PNG into one folder and remembers what it wrote, for the manifest the
// archive is packed from. Every file is written with fixed settings and no time stamp, so the
// same picture always gives the same bytes.
class Output {
 public:
  explicit Output(std::filesystem::path folder);

  // A 24-bit picture; the canvas must be opaque.
  void rgb(const std::string& name, const Canvas& picture);
  // An 8-bit palette picture that the game keys from its bottom-right pixel: pixels whose
  // alpha in shape is below keyBelow become the key colour (shape defaults to the picture),
  // and the bottom-right pixel always does.
  void keyed(const std::string& name, const Canvas& picture, const Canvas* shape = nullptr,
             int keyBelow = 128);
  // A 32-bit picture with straight alpha. The name may hold folders; they are created.
  void rgba(const std::string& name, const Canvas& picture);
  // An 8-bit grey picture, one byte a pixel, rows top to bottom.
  void grey(const std::string& name, int width, int height, const std::vector<uint8_t>& pixels);

  // Writes the names, sorted, one a line.
  void writeManifest(const std::filesystem::path& path) const;

 private:
  std::filesystem::path folder_;
  std::vector<std::string> names_;
};
