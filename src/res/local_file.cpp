#include "res/local_file.h"

bool openLocalFile(const std::filesystem::path& path, std::ifstream& file) {
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) return false;
  file.open(path, std::ios::binary);
  return file.is_open();
}
