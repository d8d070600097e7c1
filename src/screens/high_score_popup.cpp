#include "screens/high_score_popup.h"

#include <algorithm>
#include <string>

#include "game/board.h"
#include "gfx/font.h"
#include "gfx/image_cache.h"
#include "screens/layout.h"
#include "ui/box.h"
#include "ui/button.h"
#include "ui/dialog.h"
#include "ui/label.h"
#include "ui/picture.h"
#include "ui/screen.h"
#include "ui/text_entry.h"

namespace {

constexpr Colour kText{77, 77, 77};
constexpr Colour kShadow{77, 77, 77};
constexpr Colour kPanel{255, 255, 255};

Widget* translucentBox(const Rect& r, Colour colour, double alpha) {
  auto* box = new Box(r, colour, false);
  box->setAlpha(alpha);
  return box;
}

}  // namespace

HighScoreLayout highScoreLayout(int32_t titleWidth, int32_t titleHeight, int32_t fontHeight) {
  using namespace layout;
  const Rect& board = board::kRect;
  const int32_t w = std::max(titleWidth + 2 * kPopupTitleMargin, kPopupMinWidth);
  const int32_t h = titleHeight + 4 * fontHeight + kPopupExtraHeight;
  const int32_t left = (board.width() - w) / 2 + board.left;
  const int32_t top = (board.height() - h) / 2 + board.top;
  HighScoreLayout out;
  out.panel = Rect(left, top, left + w, top + h);
  out.shadow = out.panel;
  out.shadow.offset(kPopupShadowOffset, kPopupShadowOffset);
  out.titleX = left + (w - titleWidth) / 2;
  out.titleY = top + kPopupTitleMargin;
  out.title = Rect(out.titleX, out.titleY, out.titleX + titleWidth, out.titleY + titleHeight);
  const int32_t y = out.titleY + titleHeight + kPopupTitleMargin;
  const int32_t rowHeight = fontHeight + kPopupRowPadding;
  out.scoreCell =
      Rect(out.panel.right - kPopupScoreColumn, y, out.panel.right - kPopupInset, y + rowHeight);
  out.nameCell = Rect(left + kPopupInset, y, out.scoreCell.left, y + rowHeight);
  out.rowStep = rowHeight;
  out.okayX = left + (w - kOkayWidth) / 2;
  out.okayY = y + static_cast<int32_t>(high_scores::kRows) * rowHeight + kPopupOkayGap;
  return out;
}

Dialog* buildHighScorePopup(Font* font, const high_scores::Scores& scores,
                            const high_scores::Names& names, int row, HighScoreEntry& entry,
                            const HighScorePictures& pictures) {
  const int32_t fontHeight = font != nullptr ? font->height() : 0;
  // Both pictures are keyed from their corner here (again, if the game screen already did),
  // for the widgets that show them.
  Image* okay = getImage(pictures.okay);
  okay->setKeyFromCorner();
  releaseImage(okay);
  Image* title = getImage(pictures.title);
  const bool haveTitle = title->pixels != nullptr;
  if (haveTitle) title->setKeyFromCorner();
  const int32_t titleWidth = haveTitle ? title->width : layout::kNewHighWidth;
  const int32_t titleHeight = haveTitle ? title->height : fontHeight;
  releaseImage(title);
  const HighScoreLayout at = highScoreLayout(titleWidth, titleHeight, fontHeight);

  auto* popup = new Dialog();
  popup->addChild(translucentBox(at.shadow, kShadow, layout::kPopupShadowAlpha));
  popup->addChild(translucentBox(at.panel, kPanel, layout::kPopupPanelAlpha));
  if (haveTitle) {
    popup->addChild(new Picture(at.titleX, at.titleY, pictures.title, 0));
  } else {
    auto* text = new Label(at.title, font, kText, layout::kPopupFallbackTitle, 0);
    text->alignCentre();
    popup->addChild(text);
  }
  entry = HighScoreEntry{};
  Rect name = at.nameCell;
  Rect score = at.scoreCell;
  for (int k = static_cast<int>(high_scores::kRows) - 1; k >= 0; --k) {
    if (k == row) {
      entry.nameEntry = new TextEntry(name, font, kText, "", layout::kNameConfirmedId);
      entry.nameEntry->setMaxLength(high_scores::kNameLength);
      entry.row = row;
      setFocus(entry.nameEntry);
      popup->addChild(entry.nameEntry);
    } else {
      auto* label = new Label(name, font, kText, names[k].c_str(), 0);
      label->alignCentre();
      popup->addChild(label);
    }
    auto* points = new Label(score, font, kText, std::to_string(scores[k]).c_str(), 0);
    points->alignRight();
    popup->addChild(points);
    name.offset(0, at.rowStep);
    score.offset(0, at.rowStep);
  }
  popup->addChild(new Button(at.okayX, at.okayY, pictures.okay, layout::kNameConfirmedId));
  return popup;
}

Dialog* offerHighScore(bool scoring, uint16_t score, high_scores::Scores& scores,
                       high_scores::Names& names, Font* font, HighScoreEntry& entry,
                       const HighScorePictures& pictures) {
  if (!scoring) return nullptr;
  const int row = high_scores::insertScore(scores, names, score);
  if (row < 0) return nullptr;
  return buildHighScorePopup(font, scores, names, row, entry, pictures);
}

bool confirmHighScoreName(HighScoreEntry& entry, high_scores::Names& names) {
  if (entry.nameEntry == nullptr) return false;
  if (entry.row >= 0 && entry.row < static_cast<int>(high_scores::kRows)) {
    names[entry.row] = entry.nameEntry->getText();
  }
  entry = HighScoreEntry{};
  return true;
}
