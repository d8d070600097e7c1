// soundgen OUTDIR: writes every sound effect and the music of the game into OUTDIR and prints
// the name of each file written, one a line.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "effects.h"
#include "music.h"
#include "ogg_writer.h"

namespace {

bool emit(const std::filesystem::path& dir, const std::string& name, const soundgen::Audio& a) {
  std::filesystem::path path = dir / name;
  if (!soundgen::writeFile(path.string(), soundgen::encodeOgg(a))) {
    std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("%s\n", path.c_str());
  return true;
}

int run(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  for (const soundgen::Effect& e : soundgen::renderEffects()) {
    if (!emit(dir, e.name, e.audio)) return 1;
  }
  // A plain Ogg Vorbis stream; the game finds it by this name beside the archive.
  return emit(dir, "music.zap", soundgen::renderMusic()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: soundgen OUTDIR\n", stderr);
    return 2;
  }
  try {
    return run(argv[1]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "soundgen: %s\n", e.what());
    return 1;
  }
}
