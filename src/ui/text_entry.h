#pragma once

#include <cstdint>
#include <string>

#include "gfx/colour.h"
#include "ui/widget.h"

class Font;

// A one-line text field: a white box with a frame, the text, and a blinking caret at its end
// while it has the keyboard focus. It takes printable characters up to a length limit, deletes
// with Backspace, reports Enter and pastes the clipboard's text on Ctrl+V. There is no cursor
// movement or selection: the caret is always after the last character.
class TextEntry : public Widget {
 public:
  // The characters a field accepts, typed or pasted: 32 to 125, the range the game's saved
  // texts can carry, so whatever is entered can always be stored and read back.
  static constexpr uint32_t kFirstAccepted = 32;
  static constexpr uint32_t kLastAccepted = 125;
  // The caret shows for this long, then hides for as long.
  static constexpr uint32_t kBlinkMs = 750;
  // Pixels between the end of the text and the caret.
  static constexpr int32_t kCaretGap = 5;

  TextEntry(const Rect& rect, Font* font, Colour colour, const char* text, uint16_t id);

  // Blinks the caret while the field has the focus.
  bool update(uint32_t now) override;
  // The caret's next blink while the field has the focus.
  uint32_t nextChange(uint32_t now) override;
  void draw(Image& target, const Rect& clip) override;
  // A click inside takes the focus; a click elsewhere leaves it where it is.
  bool onLeftDown(int32_t x, int32_t y, int32_t flags) override;
  bool onChar(uint32_t code) override;
  // Takes the keys that type into the field (their characters follow), so that typing a name
  // never presses a control or plays the board; other keys go on.
  bool onKeyDown(uint32_t key, uint32_t modifiers) override;

  // The most characters typing or pasting may produce; the text already held is not cut.
  void setMaxLength(uint16_t n) { maxLength = n; }
  const std::string& getText() const { return text; }
  bool hasFocus() const;

  Font* font = nullptr;
  Colour colour;
  std::string text;
  uint16_t maxLength = 0xFFFF;
  bool caretOn = false;

 private:
  // Appends the clipboard's accepted characters, cut to maxLength; false when there was no text.
  bool paste();
};
