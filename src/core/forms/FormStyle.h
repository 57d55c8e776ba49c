#pragma once
// The style slots of a form: three fonts, three alignments and four tab stops. Directive lines of
// a form deck change them while the deck is read; every item keeps the slots that were in force
// when it was read, because its label and field take the slot's font at that moment.
#include <array>
#include <cstdint>
#include <string>

namespace tal {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

enum class Alignment : int { Left = 0, Right = 1, Center = 2 };

struct FontSlot {
  std::string name = "Arial";  // names set by a deck are kept upper-cased, at most 30 characters
  int size = 10;               // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Rgb colour;
  bool operator==(const FontSlot&) const = default;
};

// Slot numbers are those the deck writes: fonts and alignments 1 to 3, tab stops 0 to 3.
struct FormStyle {
  FormStyle();

  FontSlot& font(int slot) { return fonts[static_cast<std::size_t>(slot - 1)]; }
  const FontSlot& font(int slot) const { return fonts[static_cast<std::size_t>(slot - 1)]; }
  Alignment& alignment(int slot) { return alignments[static_cast<std::size_t>(slot - 1)]; }
  Alignment alignment(int slot) const { return alignments[static_cast<std::size_t>(slot - 1)]; }

  std::array<FontSlot, 3> fonts;        // 1 text lines and group captions, 2 labels and fields, 3 units
  std::array<Alignment, 3> alignments;  // only slot 1 is used (text lines)
  // Tab stop 0: extra left indent of labels in pixels. 1: free-text field of a text line.
  // 2: field of numeric and list lines. 3: settable, unused. Negative: placed after the label.
  std::array<int, 4> tabs;

  bool operator==(const FormStyle&) const = default;
};

inline constexpr int AutomaticTab = -999;

inline FormStyle::FormStyle()
    : alignments{Alignment::Left, Alignment::Left, Alignment::Left}, tabs{0, AutomaticTab, AutomaticTab, AutomaticTab} {
  fonts[0].bold = true;
  fonts[0].colour = {255, 0, 0};
  fonts[2].colour = {0, 0, 255};
}

}  // namespace tal
