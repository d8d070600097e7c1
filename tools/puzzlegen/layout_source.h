#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "game/board.h"

// The puzzle layouts as a person writes them: one 9 by 9 picture per layout under its name,
// one character per cell. assets/puzzles/README.md describes the notation.
struct LayoutSource {
  std::string name;
  std::string where;  // "file:line" of the name, for messages
  BoardCodes tiles{};
};

// The tile a picture character stands for, pins aside; false for a character that means none.
bool tileOfCharacter(char c, TileCode& tile);

// Reads every layout of a source text. Each fault is added to errors as "file:line: message";
// layouts with faults are left out.
std::vector<LayoutSource> parseLayouts(std::string_view text, const std::string& file,
                                       std::vector<std::string>& errors);

// The faults of a name as a puzzle-file name: empty, too long, "=" inside, a leading "[" or
// ";", control characters. Empty when it is fine.
std::string nameFault(std::string_view name);
