#include "screens/instructions_screen.h"

#include <algorithm>

#include "core/random.h"
#include "game/tile.h"
#include "screens/layout.h"
#include "ui/button.h"
#include "ui/dialog.h"
#include "ui/picture.h"

namespace instructions {
namespace {

constexpr uint32_t kRandomMax = 32767;

Tile* sampleTile(const Font* font, const Rect& rect, uint16_t id, uint8_t kind,
                 bool leftTurnsBack) {
  auto* tile = new Tile(font, rect, id);
  tile->leftTurnsBack = leftTurnsBack;
  tile->fromByte(static_cast<uint8_t>(samplePattern(gameRandom()) | kind));
  return tile;
}

}  // namespace

uint8_t samplePattern(uint32_t r) {
  const uint32_t pattern = 1 + r * 15 / kRandomMax;
  return static_cast<uint8_t>(std::clamp<uint32_t>(pattern, 1, 15));
}

Dialog* buildInstructionsScreen(const Font* font, bool leftTurnsBack) {
  auto* dialog = new Dialog();
  dialog->addChild(new Picture(0, 0, layout::kInstructionsPicture, 0));
  for (const layout::SamplePair& pair : layout::kSamplePairs) {
    dialog->addChild(sampleTile(font, pair.left, pair.leftId, pair.kind, leftTurnsBack));
    dialog->addChild(sampleTile(font, layout::samplePartner(pair.left),
                                static_cast<uint16_t>(pair.leftId + 1), pair.kind, leftTurnsBack));
  }
  const layout::Placed& keys = layout::kKeysButton;
  dialog->addChild(new Button(keys.x, keys.y, keys.picture, keys.id));
  dialog->addChild(
      new Button(layout::kPlay.x, layout::kPlay.y, layout::kPlay.picture, layout::kPlay.id));
  return dialog;
}

Dialog* buildKeysScreen() {
  auto* dialog = new Dialog();
  dialog->addChild(new Picture(0, 0, layout::kKeysPicture, 0));
  dialog->addChild(
      new Button(layout::kPlay.x, layout::kPlay.y, layout::kPlay.picture, layout::kPlay.id));
  return dialog;
}

}  // namespace instructions
