// The program: the real platform backend under the game's entry.
#include <string>

#include "app/entry.h"
#include "platform/sdl/sdl_backend.h"
#include "res/resource_archive.h"

int main(int argc, char** argv) {
  // The image cache opens the archive while the program starts; this makes sure of it even in
  // a program that never asks the cache for anything.
  openResourceArchive();
  platform::SdlBackend backend;
  platform::setBackend(&backend);
  // The command line is accepted and handed on, though nothing reads it.
  std::string commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += ' ';
    commandLine += argv[i];
  }
  int result = entry(commandLine);
  platform::setBackend(nullptr);
  return result;
}
