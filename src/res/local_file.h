#pragma once

#include <filesystem>
#include <fstream>

// Opens a file on disk for binary reading; false when it does not open. A folder is refused:
// the system lets a stream open one, and it would then pass for a file that is there.
bool openLocalFile(const std::filesystem::path& path, std::ifstream& file);
