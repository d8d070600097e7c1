#include "ui/text_entry.h"

#include <optional>

#include "gfx/font.h"
#include "gfx/image.h"
#include "platform/platform.h"
#include "ui/screen.h"

namespace {

constexpr uint32_t kBackspace = 8;
constexpr uint32_t kEnter = 13;
constexpr uint32_t kPaste = 22;  // Ctrl+V

bool accepted(uint32_t code) {
  return code >= TextEntry::kFirstAccepted && code <= TextEntry::kLastAccepted;
}

}  // namespace

TextEntry::TextEntry(const Rect& rect, Font* font, Colour colour, const char* text, uint16_t id)
    : Widget(rect, id), font(font), colour(colour), text(text != nullptr ? text : "") {}

bool TextEntry::hasFocus() const {
  return currentScreen != nullptr && currentScreen->focusWidget == this;
}

bool TextEntry::update(uint32_t now) {
  // Without the focus the caret is not drawn; dropping the phase makes sure the last one drawn
  // is wiped, and a field that gets the focus again starts from the clock's phase.
  bool phase = hasFocus() && (now / kBlinkMs) % 2 == 1;
  if (phase != caretOn) {
    caretOn = phase;
    markDirty();
  }
  return false;
}

uint32_t TextEntry::nextChange(uint32_t now) {
  if (!hasFocus()) return caretOn ? 0 : kNoChange;
  return kBlinkMs - now % kBlinkMs;
}

void TextEntry::draw(Image& target, const Rect& clip) {
  if (visible) {
    Rect c = clip;
    c.intersect(rect);
    target.fillRect(rect, Colour{255, 255, 255}, c, alpha);
    target.frameRect(rect, colour, c, alpha);
    if (font != nullptr) {
      // One line of text centred vertically in the box inside the frame and a 1-pixel margin.
      Rect t = rect;
      t.inflate(-2, -2);
      t.top += (t.height() - font->height()) / 2;
      t.bottom = t.top + font->height();
      uint16_t w =
          font->drawText(target, c, t.left, t.top, text.c_str(), colour, Font::kWholeText, alpha);
      if (hasFocus() && caretOn) {
        target.drawVLine(t.top, t.bottom, t.left + w + kCaretGap, colour, c, alpha);
      }
    }
  }
  dirty = false;
}

bool TextEntry::onLeftDown(int32_t x, int32_t y, int32_t) {
  if (!visible || !rect.contains(x, y)) return false;
  setFocus(this);
  return true;
}

bool TextEntry::onChar(uint32_t code) {
  bool consumed = true;
  if (code == kBackspace) {
    if (!text.empty()) text.pop_back();
  } else if (code == kEnter) {
    // The receiver reads the text from the field (getText) while it handles the notification:
    // an address does not fit the notification's 32-bit value.
    post(NotifyEnter, 0);
  } else if (code == kPaste) {
    consumed = paste();
  } else if ((code & 0xFF) < 32) {
    // Other control characters (Tab, Escape, ...) are taken and ignored.
  } else if (text.size() < maxLength && accepted(code)) {
    text.push_back(static_cast<char>(code));
  } else {
    consumed = false;  // the field is full, or the character could not be saved
  }
  if (consumed) markDirty();
  return consumed;
}

bool TextEntry::onKeyDown(uint32_t key, uint32_t modifiers) {
  if (!visible || (modifiers & (platform::key::kCtrl | platform::key::kAlt)) != 0) return false;
  return key == platform::key::kBackspace || key == platform::key::kReturn ||
         (key >= kFirstAccepted && key <= kLastAccepted);
}

bool TextEntry::paste() {
  std::optional<std::string> clipboard = platform::backend().clipboardText();
  if (!clipboard) return false;
  // Only the characters the field accepts; a line break or a letter beyond the range is dropped,
  // the rest is kept in order.
  for (char ch : *clipboard) {
    if (accepted(static_cast<unsigned char>(ch))) text.push_back(ch);
  }
  if (text.size() > maxLength) text.resize(maxLength);
  return true;
}
