#pragma once
// The annotation layer of a form deck, one line at a time: the encoded storage of ".TKX" decks,
// the hidden-group marker, which directive a line is, and the arguments of every directive and
// value annotation. Nothing here reads files or shows messages; the deck reader does both.
//
// Positions named in the comments are 1-based character positions in the line after the marker
// has been removed and the line decoded.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/FormStyle.h"
#include "support/Numbers.h"

namespace tal {

// ---- Storage ------------------------------------------------------------------------------------

// A line that begins with the marker lies in a group that was switched off when the deck was written.
inline constexpr std::string_view HiddenGroupMarker = "*|#";

// Encoded decks store the character at position k as the plain byte plus k minus 5 (modulo 256).
std::string EncodeLine(std::string_view plain);
std::string DecodeLine(std::string_view stored);
// Decks whose extension (upper-cased, four characters with the dot) is ".TKX" are stored encoded.
// The same rule serves reading and writing, so a deck is always read back the way it was written.
bool IsEncodedDeckName(std::string_view fileName);

// Removes a leading hidden-group marker; true when there was one.
bool RemoveHiddenGroupMarker(std::string& line);

// At least two characters and beginning with "*|"; every other line is a deck line.
bool IsAnnotationLine(std::string_view line);

// ---- Which directive a line is --------------------------------------------------------------------

enum class LineKind {
  Deck,           // not an annotation
  CheckBoxGroup,  // contains "*|{"
  RadioGroup,     // contains "*|("
  Group,          // contains "*|["
  GroupClose,     // begins with "*|]"
  Font,           // contains "*|<FONT" (any case)
  Tab,            // contains "*|<TAB"
  Align,          // contains "*|<ALIGN"
  Size,           // contains "*|<SIZE"
  Style,          // contains "*|<STYLE"
  Colour,         // contains "*|<COLOR"
  AppLink,        // begins with "*|<APPLINK"
  Picture,        // begins with "*|<PICTURE>"
  Text,           // "*" at position 3
  Background,     // begins with "*|<BACKGROUND>"
  Before,         // begins with "*|<BEFORE>"
  After,          // begins with "*|<AFTER>"
  Value,          // any other annotation: a field for the previous deck line
};

// The tests run in the order of the enumeration and the first that matches decides, so a list
// label that begins with a directive word ("*|<Size of pipe|...") is taken as that directive.
LineKind ClassifyLine(std::string_view line);

// ---- Style directives -----------------------------------------------------------------------------

enum class DirectiveError { None, InputError, UnrecognizedColour };

// Applies a Font, Tab, Align, Size, Style or Colour line to `style`. On an error `style` is
// unchanged. Bad slot digits, sizes and tab numbers are input errors.
DirectiveError ApplyStyleDirective(LineKind kind, std::string_view line, FormStyle& style);

// The first colour name of the table that occurs anywhere in the upper-cased text.
std::optional<Rgb> ColourByName(std::string_view text);

// A tab argument ("6 CM", "1IN", "120", "DEF") in whole pixels; nullopt for a bad number.
std::optional<int> TabStopPixels(std::string_view argument);

// "<BACKGROUND>": the colour of the rest of the line; nullopt when no colour name is found.
std::optional<Rgb> BackgroundColour(std::string_view line);
// "<BEFORE>" and "<AFTER>": the upper-cased, trimmed text after the first ">".
std::string CommandOfLine(std::string_view line);

// ---- Groups --------------------------------------------------------------------------------------

struct GroupHeader {
  std::string name;     // before the first "|", or the whole argument
  std::string caption;  // after it; shown on the group's frame
};
// "*|[" name ["|" caption], and the same for "*|{" and "*|(".
GroupHeader ParseGroupHeader(std::string_view line);

struct GroupRef {
  std::string name;  // without the leading "_"
  bool inverted = false;
  bool operator==(const GroupRef&) const = default;
};

inline constexpr std::size_t MaxGroupsPerChoice = 10;
inline constexpr std::size_t MaxGroupNameLength = 60;

// A line inside a check-box or radio-button group.
enum class ChoiceLineKind {
  Skip,        // empty, "**" comment, or no "|" after "*|"
  Close,       // "*|}" in a check-box group, "*|)" in a radio group
  Item,        // "*|" caption "|" group name ["|" group name ...]
  NotCommand,  // does not begin with "*|"
  Nested,      // "*|[", "*|{" or "*|("
};
ChoiceLineKind ClassifyChoiceLine(std::string_view line, char closer);

struct ChoiceLine {
  std::string caption;
  std::vector<GroupRef> groups;  // at most 10; empty names are left out
};
ChoiceLine ParseChoiceLine(std::string_view line);

// ---- Text lines and pictures ---------------------------------------------------------------------

struct TextLine {
  std::string label;
  bool hasField = false;   // the line has a "|": a free-text field follows the label
  std::string fieldText;   // initial text of the field
  bool hasHelp = false;    // there was a second "|"
  std::string helpText;    // what followed it, as written (written back unchanged)
  int helpTopic = 0;       // its whole number, 0 for none
};
// "*|*" label ["|" initial text ["|" help topic number]].
TextLine ParseTextLine(std::string_view line);

enum class PicturePosition { Left, Center, Right };

struct PictureLine {
  bool isCaption = false;
  std::string caption;   // quoted text, drawn on a picture of its own
  std::string fileName;  // as written
  PicturePosition position = PicturePosition::Center;
  int application = 0;    // application links: 1 to 4
  std::string argument;   // application links: passed to the application, also the tool tip
  bool missingQuote = false;
  std::string quoteText;  // with missingQuote: the text after the opening quote
};
// "*|<PICTURE>" and "*|<APPLINK" lines.
PictureLine ParsePictureLine(std::string_view line, bool appLink);

// ---- Value annotations and their deck lines --------------------------------------------------------

enum class ValueKind { Numeric, List, File };

struct ValueAnnotation {
  ValueKind kind = ValueKind::Numeric;
  bool ok = false;  // false: a field that should be a number is not
  std::string label;
  int helpTopic = 0;
  int application = 0;  // 1 to 4, 0 for none
  std::string applicationArgument;
  // Numeric fields.
  std::string primaryUnit, secondaryUnit;
  Real offset = 0, factor = 1, minimum = 0, maximum = 0;
  RealFormat format{true, 0};  // from the maximum as written
  // List fields.
  std::string dataFile;
  int displayColumn = 0, valueColumn = 0;
};
ValueAnnotation ParseValueAnnotation(std::string_view line);

// The display format set by a maximum as written: "E" (any case) gives exponential with 4
// decimals, otherwise fixed with as many decimals as there are characters after the ".".
RealFormat DisplayFormatOf(std::string_view maximumText);

struct NameValueLine {
  std::string name;   // before the first "=", as written
  std::string value;  // after it, trimmed
};
std::optional<NameValueLine> ParseNameValueLine(std::string_view deckLine);

struct AssignLine {
  std::string word;      // the "ASSIGN" word as written
  std::string fileName;  // second blank-separated word
  std::optional<int> unit;  // third word when it is a whole number
};
// Lines whose first six characters, upper-cased, are "ASSIGN".
std::optional<AssignLine> ParseAssignLine(std::string_view deckLine);

// A whole number with an optional sign, blanks around it allowed; nullopt otherwise or when it
// does not fit in an int.
std::optional<int> ParseWholeNumber(std::string_view text);

}  // namespace tal
