#include "output.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

struct Rgb8 {
  uint8_t r, g, b;
  uint32_t packed() const { return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b; }
};

// Writes rows of already packed pixels. Compression, filters and chunks are fixed; libpng
// writes no time stamp unless asked.
void writePng(const fs::path& path, int width, int height, int colourType,
              const std::vector<uint8_t>& rows, int bytesPerPixel,
              const std::vector<Rgb8>& palette = {}) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path.string());
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    throw std::runtime_error("libpng failed on " + path.string());
  }
  png_init_io(png, file);
  png_set_compression_level(png, 9);
  png_set_filter(png, PNG_FILTER_TYPE_BASE,
                 colourType == PNG_COLOR_TYPE_PALETTE ? PNG_FILTER_NONE : PNG_ALL_FILTERS);
  png_set_IHDR(png, info, width, height, 8, colourType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> entries;
  for (const Rgb8& c : palette) entries.push_back({c.r, c.g, c.b});
  if (!entries.empty()) png_set_PLTE(png, info, entries.data(), static_cast<int>(entries.size()));
  png_write_info(png, info);
  size_t stride = static_cast<size_t>(width) * bytesPerPixel;
  for (int y = 0; y < height; ++y) {
    png_write_row(png, rows.data() + stride * y);
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(file) != 0) throw std::runtime_error("cannot finish " + path.string());
}

// A colour histogram box for median-cut quantising.
struct ColourBox {
  std::vector<std::pair<Rgb8, uint32_t>> colours;  // colour and pixel count

  int channel(const Rgb8& c, int i) const { return i == 0 ? c.r : i == 1 ? c.g : c.b; }
  int spread(int i) const {
    int lo = 255, hi = 0;
    for (const auto& [c, n] : colours) {
      lo = std::min(lo, channel(c, i));
      hi = std::max(hi, channel(c, i));
    }
    return hi - lo;
  }
  int widestChannel() const {
    int best = 0;
    for (int i = 1; i < 3; ++i) {
      if (spread(i) > spread(best)) best = i;
    }
    return best;
  }
  Rgb8 average() const {
    double r = 0, g = 0, b = 0, total = 0;
    for (const auto& [c, n] : colours) {
      r += c.r * double(n), g += c.g * double(n), b += c.b * double(n), total += n;
    }
    auto round = [total](double v) { return static_cast<uint8_t>(v / total + 0.5); };
    return {round(r), round(g), round(b)};
  }
};

// Splits the box with the widest channel at its pixel-weighted median until there are
// `limit` boxes or no box can be split.
std::vector<Rgb8> medianCut(const std::map<uint32_t, uint32_t>& histogram, size_t limit) {
  std::vector<ColourBox> boxes(1);
  for (const auto& [packed, n] : histogram) {
    boxes[0].colours.push_back({{uint8_t(packed >> 16), uint8_t(packed >> 8), uint8_t(packed)}, n});
  }
  while (boxes.size() < limit) {
    size_t pick = boxes.size();
    int widest = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      int s = boxes[i].colours.size() > 1 ? boxes[i].spread(boxes[i].widestChannel()) : 0;
      if (s > widest) widest = s, pick = i;
    }
    if (pick == boxes.size()) break;
    ColourBox& box = boxes[pick];
    int ch = box.widestChannel();
    std::stable_sort(box.colours.begin(), box.colours.end(), [&](const auto& a, const auto& b) {
      return box.channel(a.first, ch) < box.channel(b.first, ch);
    });
    uint64_t total = 0, seen = 0;
    for (const auto& e : box.colours) total += e.second;
    size_t cut = 1;
    for (; cut < box.colours.size() - 1; ++cut) {
      seen += box.colours[cut - 1].second;
      if (seen * 2 >= total) break;
    }
    ColourBox upper;
    upper.colours.assign(box.colours.begin() + static_cast<ptrdiff_t>(cut), box.colours.end());
    box.colours.resize(cut);
    boxes.push_back(std::move(upper));
  }
  std::vector<Rgb8> palette;
  for (const ColourBox& box : boxes) palette.push_back(box.average());
  return palette;
}

// The closest of the first `count` palette entries, weighing green most as the eye does.
uint8_t nearest(const std::vector<Rgb8>& palette, size_t count, Rgb8 c) {
  int best = 0;
  int bestDistance = 1 << 30;
  for (size_t i = 0; i < count; ++i) {
    int dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
    int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (d < bestDistance) bestDistance = d, best = static_cast<int>(i);
  }
  return static_cast<uint8_t>(best);
}

}  // namespace

Output::Output(fs::path folder) : folder_(std::move(folder)) { fs::create_directories(folder_); }

void Output::rgb(const std::string& name, const Canvas& picture) {
  std::vector<uint8_t> rows;
  rows.reserve(static_cast<size_t>(picture.width()) * picture.height() * 3);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      Canvas::Pixel p = picture.at(x, y);
      if (p.a != 255) throw std::runtime_error(name + " is not opaque everywhere");
      rows.insert(rows.end(), {p.r, p.g, p.b});
    }
  }
  writePng(folder_ / name, picture.width(), picture.height(), PNG_COLOR_TYPE_RGB, rows, 3);
  names_.push_back(name);
}

void Output::rgba(const std::string& name, const Canvas& picture) {
  std::vector<uint8_t> rows;
  rows.reserve(static_cast<size_t>(picture.width()) * picture.height() * 4);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      Canvas::Pixel p = picture.at(x, y);
      rows.insert(rows.end(), {p.r, p.g, p.b, p.a});
    }
  }
  fs::path path = folder_ / name;
  fs::create_directories(path.parent_path());
  writePng(path, picture.width(), picture.height(), PNG_COLOR_TYPE_RGB_ALPHA, rows, 4);
  names_.push_back(name);
}

void Output::keyed(const std::string& name, const Canvas& picture, const Canvas* shape,
                   int keyBelow) {
  const Canvas& mask = shape != nullptr ? *shape : picture;
  int w = picture.width(), h = picture.height();
  std::vector<bool> key(static_cast<size_t>(w) * h);
  std::map<uint32_t, uint32_t> histogram;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      bool k = mask.at(x, y).a < keyBelow || (x == w - 1 && y == h - 1);
      key[static_cast<size_t>(y) * w + x] = k;
      Canvas::Pixel p = picture.at(x, y);
      if (!k) ++histogram[Rgb8{p.r, p.g, p.b}.packed()];
    }
  }
  // 255 colours for the picture, the last index for the key.
  std::vector<Rgb8> palette = medianCut(histogram, 255);
  Rgb8 keyColour{colours::keyRed, colours::keyGreen, colours::keyBlue};
  for (Rgb8& c : palette) {
    if (c.packed() == keyColour.packed()) c.g = 1;  // never let a picture colour vanish
  }
  auto keyIndex = static_cast<uint8_t>(palette.size());
  palette.push_back(keyColour);
  std::map<uint32_t, uint8_t> chosen;
  std::vector<uint8_t> rows(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      size_t i = static_cast<size_t>(y) * w + x;
      if (key[i]) {
        rows[i] = keyIndex;
        continue;
      }
      Canvas::Pixel p = picture.at(x, y);
      Rgb8 c{p.r, p.g, p.b};
      auto [it, fresh] = chosen.try_emplace(c.packed(), 0);
      if (fresh) it->second = nearest(palette, keyIndex, c);
      rows[i] = it->second;
    }
  }
  writePng(folder_ / name, w, h, PNG_COLOR_TYPE_PALETTE, rows, 1, palette);
  names_.push_back(name);
}

void Output::grey(const std::string& name, int width, int height,
                  const std::vector<uint8_t>& pixels) {
  writePng(folder_ / name, width, height, PNG_COLOR_TYPE_GRAY, pixels, 1);
  names_.push_back(name);
}

void Output::writeManifest(const fs::path& path) const {
  std::vector<std::string> sorted = names_;
  std::sort(sorted.begin(), sorted.end());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const std::string& name : sorted) out << name << '\n';
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}
