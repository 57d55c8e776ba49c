#include "forms/AnnotationLine.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "support/Text.h"

namespace tal {

namespace {

// The rest of `line` from the 1-based position `position` ("" when the line is shorter).
std::string_view From(std::string_view line, std::size_t position) {
  return position - 1 < line.size() ? line.substr(position - 1) : std::string_view{};
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }
bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string TrimLeft(std::string_view text) {
  std::size_t b = 0;
  while (b < text.size() && text[b] == ' ') ++b;
  return std::string(text.substr(b));
}

std::vector<std::string> SplitBars(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t bar = text.find('|', start);
    fields.emplace_back(text.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
    if (bar == std::string_view::npos) return fields;
    start = bar + 1;
  }
}

std::string FieldAt(const std::vector<std::string>& fields, std::size_t index) {
  return index < fields.size() ? fields[index] : std::string{};
}

// The slot digit at `position`, when it lies between `first` and `last`.
std::optional<int> SlotDigit(std::string_view line, std::size_t position, char first, char last) {
  if (position - 1 >= line.size()) return std::nullopt;
  char c = line[position - 1];
  if (c < first || c > last) return std::nullopt;
  return c - '0';
}

// Font sizes outside this range are refused as bad sizes: a form cannot show them.
constexpr int MinFontSize = 1;
constexpr int MaxFontSize = 1000;
// Tab stops beyond this many pixels are bad tab numbers (and could not be held in an int).
constexpr double MaxTabPixels = 1e6;

std::optional<int> FontSize(std::string_view text) {
  auto size = ParseWholeNumber(text);
  if (!size || *size < MinFontSize || *size > MaxFontSize) return std::nullopt;
  return size;
}

DirectiveError ApplyFont(std::string_view up, FormStyle& style) {
  auto slot = SlotDigit(up, 8, '1', '3');
  if (!slot) return DirectiveError::InputError;
  std::string arg = TrimShort(From(up, 10));
  std::size_t digit = arg.find_first_of("0123456789");
  FontSlot& font = style.font(*slot);
  if (digit == std::string::npos) {
    font.name = arg.substr(0, 30);
    return DirectiveError::None;
  }
  // A size must follow the name after a blank; "ARIAL12" changes nothing.
  if (digit == 0 || arg[digit - 1] != ' ') return DirectiveError::None;
  auto size = FontSize(std::string_view(arg).substr(digit));
  if (!size) return DirectiveError::InputError;
  font.name = TrimShort(std::string_view(arg).substr(0, digit - 1), 30);
  font.size = *size;
  return DirectiveError::None;
}

DirectiveError ApplyTab(std::string_view up, FormStyle& style) {
  auto slot = SlotDigit(up, 7, '0', '3');
  if (!slot) return DirectiveError::InputError;
  auto pixels = TabStopPixels(TrimLeft(From(up, 9)));
  if (!pixels) return DirectiveError::InputError;
  style.tabs[static_cast<std::size_t>(*slot)] = *pixels;
  // The label indent is never negative.
  if (style.tabs[0] < 0) style.tabs[0] = 0;
  return DirectiveError::None;
}

DirectiveError ApplyAlign(std::string_view up, FormStyle& style) {
  auto slot = SlotDigit(up, 9, '1', '3');
  if (!slot) return DirectiveError::InputError;
  std::string arg = TrimShort(From(up, 11));
  // Each word found sets the slot, so the last test that finds its word wins.
  if (Contains(arg, "LEFT")) style.alignment(*slot) = Alignment::Left;
  if (Contains(arg, "RIGHT")) style.alignment(*slot) = Alignment::Right;
  if (Contains(arg, "CENTER")) style.alignment(*slot) = Alignment::Center;
  return DirectiveError::None;
}

DirectiveError ApplySize(std::string_view up, FormStyle& style) {
  auto slot = SlotDigit(up, 8, '1', '3');
  if (!slot) return DirectiveError::InputError;
  auto size = FontSize(TrimShort(From(up, 10)));
  if (!size) return DirectiveError::InputError;
  style.font(*slot).size = *size;
  return DirectiveError::None;
}

DirectiveError ApplyStyle(std::string_view up, FormStyle& style) {
  auto slot = SlotDigit(up, 9, '1', '3');
  if (!slot) return DirectiveError::InputError;
  std::string arg = TrimShort(From(up, 11));
  FontSlot& font = style.font(*slot);
  font.bold = Contains(arg, "BOLD");
  font.italic = Contains(arg, "ITALIC");
  font.underline = Contains(arg, "UNDERLINE");
  if (Contains(arg, "NONE")) font.bold = font.italic = font.underline = false;
  return DirectiveError::None;
}

DirectiveError ApplyColour(std::string_view up, FormStyle& style) {
  auto slot = SlotDigit(up, 9, '1', '3');
  if (!slot) return DirectiveError::InputError;
  auto colour = ColourByName(TrimShort(From(up, 11)));
  if (!colour) return DirectiveError::UnrecognizedColour;
  style.font(*slot).colour = *colour;
  return DirectiveError::None;
}

bool IsPositionWord(std::string_view upperWord) {
  return upperWord == "LEFT" || upperWord == "CENTER" || upperWord == "RIGHT";
}

// Splits off the first blank-separated word of `text` (leading blanks already removed).
std::string TakeWord(std::string& text) {
  std::size_t blank = text.find(' ');
  std::string word = text.substr(0, blank);
  text = blank == std::string::npos ? std::string{} : TrimLeft(std::string_view(text).substr(blank + 1));
  return word;
}

// What follows the picture's file name or caption. For application links it may begin with the
// position, then comes the argument (one word, or two when the second is not a position word).
// Keywords are compared upper-cased; the argument keeps the case it was written in, because it
// is usually a file name for the linked application.
void ParsePictureTail(std::string tail, bool appLink, PictureLine& picture) {
  tail = TrimShort(tail);
  if (appLink) {
    std::string up = UpperShort(tail);
    for (auto [word, position] : {std::pair{"LEFT ", PicturePosition::Left},
                                  std::pair{"CENTER ", PicturePosition::Center},
                                  std::pair{"RIGHT ", PicturePosition::Right}}) {
      if (StartsWith(up, word)) {
        picture.position = position;
        tail = TrimLeft(std::string_view(tail).substr(std::string_view(word).size()));
        break;
      }
    }
    picture.argument = TakeWord(tail);
    if (!tail.empty()) {
      std::string rest = tail;
      std::string word = TakeWord(rest);
      if (!IsPositionWord(UpperShort(word))) {
        picture.argument += " " + word;
        tail = rest;
      }
    }
  }
  std::string up = UpperShort(TrimShort(tail));
  if (up == "LEFT") picture.position = PicturePosition::Left;
  if (up == "RIGHT") picture.position = PicturePosition::Right;
}

bool ParseAnnotationReal(const std::string& text, Real& value) {
  std::string trimmed = TrimShort(text);
  if (trimmed.empty()) return false;
  auto parsed = ParseRealTrailingPoint(trimmed);
  if (parsed.errorPosition != 0) return false;
  value = parsed.value;
  return true;
}

// Help topic numbers: empty means none.
bool ParseHelpTopic(const std::string& text, int& topic) {
  std::string trimmed = TrimShort(text);
  if (trimmed.empty()) {
    topic = 0;
    return true;
  }
  auto number = ParseWholeNumber(trimmed);
  if (!number) return false;
  topic = *number;
  return true;
}

// The application link field: the first digit 1 to 4 in it selects the application; the next
// field is the argument passed to it.
void ParseApplicationLink(const std::vector<std::string>& fields, std::size_t index, ValueAnnotation& annotation) {
  std::string text = FieldAt(fields, index);
  std::size_t digit = text.find_first_of("1234");
  if (digit == std::string::npos) return;
  annotation.application = text[digit] - '0';
  annotation.applicationArgument = FieldAt(fields, index + 1).substr(0, 128);
}

void ParseNumericAnnotation(std::string_view line, ValueAnnotation& a) {
  auto f = SplitBars(From(line, 3));
  a.label = FieldAt(f, 0);
  a.primaryUnit = FieldAt(f, 1).substr(0, 25);
  a.secondaryUnit = FieldAt(f, 2).substr(0, 25);
  a.ok = ParseAnnotationReal(FieldAt(f, 3), a.offset) && ParseAnnotationReal(FieldAt(f, 4), a.factor) &&
         ParseAnnotationReal(FieldAt(f, 5), a.minimum) && ParseAnnotationReal(FieldAt(f, 6), a.maximum) &&
         ParseHelpTopic(FieldAt(f, 7), a.helpTopic);
  // Limits the wrong way round would refuse every value the field could hold.
  if (a.minimum > a.maximum) a.ok = false;
  a.format = DisplayFormatOf(TrimShort(FieldAt(f, 6)));
  ParseApplicationLink(f, 8, a);
}

void ParseListAnnotation(std::string_view line, ValueAnnotation& a) {
  auto f = SplitBars(From(line, 4));
  a.label = FieldAt(f, 0);
  a.dataFile = TrimShort(FieldAt(f, 1));
  auto display = ParseWholeNumber(FieldAt(f, 2));
  auto value = ParseWholeNumber(FieldAt(f, 3));
  a.ok = display && value && ParseHelpTopic(FieldAt(f, 4), a.helpTopic);
  if (display) a.displayColumn = *display;
  if (value) a.valueColumn = *value;
  ParseApplicationLink(f, 5, a);
}

void ParseFileAnnotation(std::string_view line, ValueAnnotation& a) {
  auto f = SplitBars(From(line, 4));
  a.label = FieldAt(f, 0);
  a.ok = ParseHelpTopic(FieldAt(f, 1), a.helpTopic);
}

}  // namespace

// ---- Storage ------------------------------------------------------------------------------------

std::string EncodeLine(std::string_view plain) {
  std::string stored(plain);
  for (std::size_t i = 0; i < stored.size(); ++i)
    stored[i] = static_cast<char>(static_cast<unsigned char>(stored[i]) + (i + 1) - 5);
  return stored;
}

std::string DecodeLine(std::string_view stored) {
  std::string plain(stored);
  for (std::size_t i = 0; i < plain.size(); ++i)
    plain[i] = static_cast<char>(static_cast<unsigned char>(plain[i]) - (i + 1) + 5);
  return plain;
}

bool IsEncodedDeckName(std::string_view fileName) { return ExtensionOf(fileName) == ".TKX"; }

bool RemoveHiddenGroupMarker(std::string& line) {
  if (!StartsWith(line, HiddenGroupMarker)) return false;
  line.erase(0, HiddenGroupMarker.size());
  return true;
}

bool IsAnnotationLine(std::string_view line) { return line.size() >= 2 && StartsWith(line, "*|"); }

// ---- Which directive a line is --------------------------------------------------------------------

LineKind ClassifyLine(std::string_view line) {
  if (!IsAnnotationLine(line)) return LineKind::Deck;
  if (Contains(line, "*|{")) return LineKind::CheckBoxGroup;
  if (Contains(line, "*|(")) return LineKind::RadioGroup;
  if (Contains(line, "*|[")) return LineKind::Group;
  if (StartsWith(line, "*|]")) return LineKind::GroupClose;
  std::string up = UpperShort(line);
  if (Contains(up, "*|<FONT")) return LineKind::Font;
  if (Contains(up, "*|<TAB")) return LineKind::Tab;
  if (Contains(up, "*|<ALIGN")) return LineKind::Align;
  if (Contains(up, "*|<SIZE")) return LineKind::Size;
  if (Contains(up, "*|<STYLE")) return LineKind::Style;
  if (Contains(up, "*|<COLOR")) return LineKind::Colour;
  if (StartsWith(up, "*|<APPLINK")) return LineKind::AppLink;
  if (StartsWith(up, "*|<PICTURE>")) return LineKind::Picture;
  if (line.size() >= 3 && line[2] == '*') return LineKind::Text;
  if (StartsWith(up, "*|<BACKGROUND>")) return LineKind::Background;
  if (StartsWith(up, "*|<BEFORE>")) return LineKind::Before;
  if (StartsWith(up, "*|<AFTER>")) return LineKind::After;
  return LineKind::Value;
}

// ---- Style directives -----------------------------------------------------------------------------

DirectiveError ApplyStyleDirective(LineKind kind, std::string_view line, FormStyle& style) {
  std::string up = UpperShort(line);
  FormStyle changed = style;
  DirectiveError error = DirectiveError::InputError;
  switch (kind) {
    case LineKind::Font: error = ApplyFont(up, changed); break;
    case LineKind::Tab: error = ApplyTab(up, changed); break;
    case LineKind::Align: error = ApplyAlign(up, changed); break;
    case LineKind::Size: error = ApplySize(up, changed); break;
    case LineKind::Style: error = ApplyStyle(up, changed); break;
    case LineKind::Colour: error = ApplyColour(up, changed); break;
    default: break;
  }
  if (error == DirectiveError::None) style = changed;
  return error;
}

std::optional<Rgb> ColourByName(std::string_view text) {
  struct Named {
    const char* name;
    Rgb colour;
  };
  static const std::array<Named, 14> table{{
      {"BLACK", {0, 0, 0}},       {"RED", {255, 0, 0}},       {"BLUE", {0, 0, 255}},
      {"GREEN", {0, 128, 0}},     {"GRAY", {128, 128, 128}},  {"PURPLE", {128, 0, 128}},
      {"AQUA", {0, 255, 255}},    {"YELLOW", {255, 255, 0}},  {"SILVER", {192, 192, 192}},
      {"NAVY", {0, 0, 128}},      {"FUCHSIA", {255, 0, 255}}, {"LIME", {0, 255, 0}},
      {"WHITE", {255, 255, 255}}, {"DEF", {255, 255, 255}},
  }};
  std::string up = UpperShort(text);
  for (const auto& entry : table)
    if (Contains(up, entry.name)) return entry.colour;
  return std::nullopt;
}

std::optional<int> TabStopPixels(std::string_view argument) {
  std::size_t split = argument.find_first_not_of("-0123456789.");
  std::string number(argument.substr(0, split));
  std::string unit = split == std::string_view::npos ? std::string{} : UpperShort(argument.substr(split));
  Real value = -1;
  if (!StartsWith(unit, "DEF")) {
    auto parsed = ParseReal(number);
    if (!parsed.ok) return std::nullopt;
    value = parsed.value;
  }
  if (Contains(unit, "CM")) value = value * 96 / 2.54L;
  else if (Contains(unit, "IN")) value = value * 96;
  // Whole pixels, ties to even (the default rounding mode of the floating-point unit).
  Real pixels = std::nearbyint(value);
  if (!std::isfinite(pixels) || std::fabs(pixels) > MaxTabPixels) return std::nullopt;
  return static_cast<int>(pixels);
}

std::optional<Rgb> BackgroundColour(std::string_view line) { return ColourByName(TrimShort(From(line, 13))); }

std::string CommandOfLine(std::string_view line) {
  // The command keeps the case it was written in: it names a program to start, and program
  // paths are case-sensitive on this platform.
  std::size_t close = line.find('>');
  return close == std::string_view::npos ? std::string{} : TrimShort(line.substr(close + 1));
}

// ---- Groups --------------------------------------------------------------------------------------

GroupHeader ParseGroupHeader(std::string_view line) {
  std::string arg = TrimShort(From(line, 4));
  std::size_t bar = arg.find('|');
  if (bar == std::string::npos) return {arg, {}};
  return {TrimShort(std::string_view(arg).substr(0, bar)), TrimShort(std::string_view(arg).substr(bar + 1))};
}

ChoiceLineKind ClassifyChoiceLine(std::string_view line, char closer) {
  if (line.empty() || StartsWith(line, "**")) return ChoiceLineKind::Skip;
  if (!StartsWith(line, "*|")) return ChoiceLineKind::NotCommand;
  char third = line.size() > 2 ? line[2] : '\0';
  if (third == closer) return ChoiceLineKind::Close;
  // Another group opener is refused even without a caption bar, so that the lines of a group
  // that was meant to be nested are not taken as check-box items one by one.
  if (third == '[' || third == '{' || third == '(') return ChoiceLineKind::Nested;
  if (line.find('|', 2) == std::string_view::npos) return ChoiceLineKind::Skip;
  return ChoiceLineKind::Item;
}

ChoiceLine ParseChoiceLine(std::string_view line) {
  ChoiceLine choice;
  auto fields = SplitBars(From(line, 3));
  choice.caption = FieldAt(fields, 0);
  for (std::size_t i = 1; i < fields.size() && choice.groups.size() < MaxGroupsPerChoice; ++i) {
    std::string name = TrimShort(fields[i]);
    GroupRef ref;
    if (!name.empty() && name.front() == '_') {
      ref.inverted = true;
      name.erase(0, 1);
    }
    if (name.empty()) continue;
    ref.name = name.substr(0, MaxGroupNameLength);
    choice.groups.push_back(std::move(ref));
  }
  return choice;
}

// ---- Text lines and pictures ---------------------------------------------------------------------

TextLine ParseTextLine(std::string_view line) {
  TextLine text;
  std::string arg = TrimShort(From(line, 4));
  std::size_t bar = arg.find('|');
  text.label = arg.substr(0, bar);
  if (bar == std::string::npos) return text;
  text.hasField = true;
  std::string rest = arg.substr(bar + 1);
  std::size_t second = rest.find('|');
  text.fieldText = rest.substr(0, second);
  if (second != std::string::npos) {
    text.hasHelp = true;
    text.helpText = rest.substr(second + 1);
    text.helpTopic = ParseWholeNumber(text.helpText).value_or(0);
  }
  return text;
}

PictureLine ParsePictureLine(std::string_view line, bool appLink) {
  PictureLine picture;
  std::string arg;
  if (appLink) {
    auto slot = SlotDigit(line, 11, '1', '4');
    picture.application = slot ? *slot : 1;
    std::string_view rest = From(line, 11);
    std::size_t blank = rest.find(' ');
    arg = blank == std::string_view::npos ? std::string{} : TrimLeft(rest.substr(blank + 1));
  } else {
    arg = TrimLeft(From(line, 12));
  }
  std::string tail;
  if (!arg.empty() && arg.front() == '"') {
    std::size_t close = arg.find('"', 1);
    if (close == std::string::npos) {
      picture.missingQuote = true;
      picture.quoteText = arg.substr(1);
      return picture;
    }
    picture.isCaption = true;
    picture.caption = arg.substr(1, close - 1);
    tail = arg.substr(close + 1);
  } else {
    std::size_t blank = arg.find(' ');
    picture.fileName = arg.substr(0, blank);
    tail = blank == std::string::npos ? std::string{} : arg.substr(blank + 1);
  }
  ParsePictureTail(tail, appLink, picture);
  return picture;
}

// ---- Value annotations and their deck lines --------------------------------------------------------

ValueAnnotation ParseValueAnnotation(std::string_view line) {
  ValueAnnotation annotation;
  char third = line.size() > 2 ? line[2] : '\0';
  if (third == '?') {
    annotation.kind = ValueKind::File;
    ParseFileAnnotation(line, annotation);
  } else if (third == '<') {
    annotation.kind = ValueKind::List;
    ParseListAnnotation(line, annotation);
  } else {
    annotation.kind = ValueKind::Numeric;
    ParseNumericAnnotation(line, annotation);
  }
  return annotation;
}

RealFormat DisplayFormatOf(std::string_view maximumText) {
  if (maximumText.find_first_of("Ee") != std::string_view::npos) return {false, 4};
  std::size_t point = maximumText.find('.');
  if (point == std::string_view::npos) return {true, 0};
  std::size_t decimals = maximumText.size() - point - 1;
  return {true, static_cast<std::int16_t>(std::min<std::size_t>(decimals, 255))};
}

std::optional<NameValueLine> ParseNameValueLine(std::string_view deckLine) {
  std::size_t eq = deckLine.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return NameValueLine{std::string(deckLine.substr(0, eq)), TrimShort(deckLine.substr(eq + 1))};
}

std::optional<AssignLine> ParseAssignLine(std::string_view deckLine) {
  if (UpperShort(deckLine.substr(0, 6)) != "ASSIGN") return std::nullopt;
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < deckLine.size() && words.size() < 3) {
    while (i < deckLine.size() && (deckLine[i] == ' ' || deckLine[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < deckLine.size() && deckLine[i] != ' ' && deckLine[i] != '\t') ++i;
    if (i > start) words.emplace_back(deckLine.substr(start, i - start));
  }
  AssignLine assign;
  assign.word = FieldAt(words, 0);
  assign.fileName = FieldAt(words, 1);
  if (words.size() > 2) assign.unit = ParseWholeNumber(words[2]);
  return assign;
}

std::optional<int> ParseWholeNumber(std::string_view text) {
  std::string trimmed = TrimShort(text);
  std::string_view digits = trimmed;
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  long long magnitude = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  long long value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace tal
