#pragma once

// Opening the game's own files on disk (the archive, the music, loose pictures and sounds).

#include <filesystem>
#include <istream>
#include <memory>

namespace platform {

// A binary input stream over path, or null when path is missing or is anything but a regular
// file. The file is opened without blocking and checked before a byte is read, so a pipe, a
// device or a folder under the name is refused at once: an ordinary open of a pipe waits for
// a writer, which would hang the game.
std::unique_ptr<std::istream> openRegularFile(const std::filesystem::path& path);

}  // namespace platform
