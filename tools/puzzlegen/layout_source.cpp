#include "layout_source.h"

#include <cctype>
#include <cstddef>

namespace {

constexpr std::string_view kNamePrefix = "Name:";
constexpr size_t kMaxNameLength = 40;

struct Reader {
  std::string_view text;
  size_t at = 0;
  int number = 0;  // of the line last taken

  bool next(std::string_view& line) {
    if (at >= text.size()) return false;
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    at = end + 1;
    ++number;
    return true;
  }
};

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool isBlankOrComment(std::string_view line) {
  const std::string_view t = trimmed(line);
  return t.empty() || t.front() == ';';
}

std::vector<std::string_view> words(std::string_view s) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

// "UR" for up and right, "-" for no lines; each of U, R, D, L at most once.
bool linesOfPin(std::string_view word, uint8_t& lines) {
  lines = 0;
  if (word == "-") return true;
  for (char c : word) {
    uint8_t bit = 0;
    switch (c) {
      case 'U':
        bit = line::Up;
        break;
      case 'R':
        bit = line::Right;
        break;
      case 'D':
        bit = line::Down;
        break;
      case 'L':
        bit = line::Left;
        break;
      default:
        return false;
    }
    if (lines & bit) return false;
    lines |= bit;
  }
  return !word.empty();
}

// One picture row: nine characters, then the lines of the row's pinned tiles, left to right.
// Returns the fault, or an empty text.
std::string readRow(std::string_view row, size_t rowIndex, BoardCodes& tiles) {
  if (row.size() < board::kColumns) return "a picture row needs 9 characters";
  std::vector<size_t> pinned;
  for (size_t column = 0; column < board::kColumns; ++column) {
    TileCode tile;
    const char c = row[column];
    if (!tileOfCharacter(c, tile)) return std::string("'") + c + "' names no tile";
    if (tile.pinned()) pinned.push_back(column);
    tiles[rowIndex * board::kColumns + column] = tile;
  }
  const std::string_view rest = row.substr(board::kColumns);
  if (!rest.empty() && rest.front() != ' ' && rest.front() != '\t') {
    return "a picture row has 9 characters, then a space before any pins";
  }
  const std::vector<std::string_view> pins = words(rest);
  if (pins.size() != pinned.size()) {
    return "the row has " + std::to_string(pinned.size()) + " pinned tile(s) but " +
           std::to_string(pins.size()) + " pin(s)";
  }
  for (size_t i = 0; i < pins.size(); ++i) {
    uint8_t lines = 0;
    if (!linesOfPin(pins[i], lines)) {
      return "pin '" + std::string(pins[i]) + "' is not a set of U, R, D, L or '-'";
    }
    TileCode& tile = tiles[rowIndex * board::kColumns + pinned[i]];
    tile = tile.withLines(lines);
  }
  return {};
}

}  // namespace

bool tileOfCharacter(char c, TileCode& tile) {
  const bool pinned = std::isupper(static_cast<unsigned char>(c)) != 0;
  switch (std::tolower(static_cast<unsigned char>(c))) {
    case '.':
      tile = TileCode(TileKind::Empty, 0);
      return true;
    case 'o':
      tile = TileCode(TileKind::Plain, 0, pinned);
      return true;
    case 'x':
      tile = TileCode(TileKind::Fixed, 0, pinned);
      return true;
    case 's':
      tile = TileCode(TileKind::Sliding, 0, pinned);
      return true;
    case 'k':
      tile = TileCode(TileKind::Linked, 0, pinned);
      return true;
    case 'b':
      tile = TileCode(TileKind::Bomb, 0, pinned);
      return true;
    default:
      return false;
  }
}

std::string nameFault(std::string_view name) {
  if (name.empty()) return "the name is empty";
  if (name.size() > kMaxNameLength) return "the name is longer than 40 characters";
  if (name.find('=') != std::string_view::npos) return "the name holds '='";
  // The puzzle file would read a leading "[" as a section and ";" starts its comments.
  if (name.front() == '[' || name.front() == ';') return "the name starts with '[' or ';'";
  for (unsigned char c : name) {
    if (c < 32 || c >= 127) return "the name holds a character other than plain ASCII";
  }
  return {};
}

std::vector<LayoutSource> parseLayouts(std::string_view text, const std::string& file,
                                       std::vector<std::string>& errors) {
  std::vector<LayoutSource> layouts;
  Reader reader{text};
  const auto fault = [&](int number, const std::string& message) {
    errors.push_back(file + ":" + std::to_string(number) + ": " + message);
  };
  std::string_view line;
  while (reader.next(line)) {
    if (isBlankOrComment(line)) continue;
    if (line.substr(0, kNamePrefix.size()) != kNamePrefix) {
      fault(reader.number, "expected 'Name: ...' to start a layout");
      continue;
    }
    LayoutSource layout;
    layout.name = std::string(trimmed(line.substr(kNamePrefix.size())));
    layout.where = file + ":" + std::to_string(reader.number);
    bool good = true;
    if (std::string why = nameFault(layout.name); !why.empty()) {
      fault(reader.number, why);
      good = false;
    }
    for (size_t row = 0; row < board::kRows; ++row) {
      if (!reader.next(line) || isBlankOrComment(line) ||
          line.substr(0, kNamePrefix.size()) == kNamePrefix) {
        fault(reader.number, "layout '" + layout.name + "' needs 9 picture rows");
        good = false;
        break;
      }
      if (std::string why = readRow(line, row, layout.tiles); !why.empty()) {
        fault(reader.number, "layout '" + layout.name + "': " + why);
        good = false;
      }
    }
    if (good) layouts.push_back(std::move(layout));
  }
  return layouts;
}
