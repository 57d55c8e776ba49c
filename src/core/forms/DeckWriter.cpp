#include "forms/DeckWriter.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

#include "support/Files.h"
#include "support/Interaction.h"
#include "support/LineEnds.h"
#include "support/Messages.h"
#include "support/Text.h"

namespace tal {

namespace {

constexpr RealFormat DeckNumberFormat{false, 13};

// The whole file, or nullopt with the system's error code.
std::optional<std::string> ReadSource(const std::string& path, int& code) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    code = errno;
    return std::nullopt;
  }
  std::string bytes;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
  bool failed = std::ferror(file);
  code = failed ? (errno ? errno : EIO) : 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

bool ReportFailure(const std::string& message) {
  ShowMessageKind(message, ErrorOk, true);
  return false;
}

// Keeps the old file as ".BAK" and gives the bytes to write from. nullopt after a shown failure.
std::optional<std::string> BackUp(const std::string& fileName) {
  // An existing back-up is replaced under the name it has, whatever its case, so one stays.
  std::string backup = BackupNameOf(fileName);
  if (auto existing = FindFileNoCase(FolderOf(backup), FileNameOf(backup))) backup = *existing;
  // The old contents are read before anything is replaced, so a failure leaves both files.
  int code = 0;
  auto bytes = ReadSource(fileName, code);
  if (!bytes) {
    ReportFailure("Unable to rename " + fileName + " to " + backup);
    return std::nullopt;
  }
  std::error_code ec;
  // A deck that is itself named like its back-up (a ".BAK" opened as a form) has no other copy
  // to keep: replacing "the old back-up" would replace the deck.
  if (std::filesystem::equivalent(backup, fileName, ec)) return bytes;
  // The new back-up is written beside the old one and renamed over it: at every moment one
  // whole back-up exists.
  if (!WriteFileAtomically(backup, *bytes).empty()) {
    ReportFailure("Unable to rename " + fileName + " to " + backup);
    return std::nullopt;
  }
  return bytes;
}

// The value a numeric field writes: its primary value, or, when its text is not a number, the
// value it stood for before (the text alone would give nothing to write).
Real WrittenValue(const FormModel& form, std::size_t index) {
  if (auto value = form.PrimaryValue(index)) return *value;
  interaction().beep();
  return form.items[index].numeric.value;
}

// A deck number without the blank kept for a sign and without the mantissa's trailing zeros:
// " 1.2000000000000E+01" -> "1.2E+01", the same value in fewer characters.
std::string CompactDeckNumber(std::string text) {
  if (!text.empty() && text.front() == ' ') text.erase(0, 1);
  std::size_t e = text.find('E');
  std::size_t point = text.find('.');
  if (e == std::string::npos || point == std::string::npos || point > e) return text;
  std::size_t last = e;
  while (last > point + 1 && text[last - 1] == '0') --last;
  if (last == point + 1) --last;  // "1.E+01" -> "1E+01"
  return text.erase(last, e - last);
}

// A value line in `room` characters if it can be: the usual form, or when the name leaves too
// little room for it, the compact one (what is read of a longer line would cut the number).
std::string NumericLine(const std::string& variable, Real value, std::size_t room) {
  std::string number = FormatReal(DeckNumberFormat, value);
  std::string line = variable + "= " + number;
  if (line.size() <= room) return line;
  return variable + "=" + CompactDeckNumber(number);
}

// The regenerated text of an item's own line, made to fit `room` characters where it can;
// nullopt for items whose line is copied.
std::optional<std::string> ItemLine(const FormModel& form, std::size_t index, std::size_t room) {
  const FormItem& item = form.items[index];
  switch (item.kind) {
    case FormItemKind::Numeric:
      // Names are written whole, never cut: a cut name would be another variable.
      return NumericLine(item.variable, WrittenValue(form, index), room);
    case FormItemKind::List:
      if (item.list.assignMode)
        return item.variable + " " + item.list.value + " " + std::to_string(item.list.unitNumber);
      return item.variable + "= " + item.list.value;
    case FormItemKind::File:
      return item.variable + " " + item.file.fileName + " " + std::to_string(item.file.unitNumber);
    default: return std::nullopt;
  }
}

// A text line as written: unchanged as read, whole; with its field changed, only the field's part
// is replaced, so that the label and the help topic keep every character they had.
std::string TextItemLine(const FormItem& item, const std::string& line) {
  const TextField& field = item.textField;
  if (!field.present || !field.edited) return line;
  std::size_t bar = line.find('|', 3);
  if (bar == std::string::npos) return "*|*" + item.label + "|" + field.text;
  std::size_t help = line.find('|', bar + 1);
  return line.substr(0, bar + 1) + field.text + (help == std::string::npos ? std::string{} : line.substr(help));
}

// An encoded line holding a line-feed byte, or ending in a carriage return, would be read back as
// other lines.
bool StorableEncoded(std::string_view encoded) {
  return encoded.find('\n') == std::string_view::npos && (encoded.empty() || encoded.back() != '\r');
}

// After a successful write the fields stand for what was written.
void SettleNumericFields(FormModel& form) {
  for (std::size_t i = 0; i < form.items.size(); ++i) {
    FormItem& item = form.items[i];
    if (item.kind != FormItemKind::Numeric) continue;
    NumericField& field = item.numeric;
    if (auto value = form.PrimaryValue(i)) {
      field.value = *value;
    } else {
      field.text = FormatReal(field.format, ToShownValue(field, field.value, form.units));
    }
    field.shownText = field.text;
  }
}

}  // namespace

std::string BackupNameOf(const std::string& fileName) {
  std::string name = FileNameOf(fileName);
  return JoinPath(FolderOf(fileName), name.substr(0, name.find('.')) + ".BAK");
}

void RefreshListValues(FormModel& form) {
  // Hidden list fields by data file (compared upper-cased), found once.
  std::map<std::string, std::vector<std::size_t>> hiddenByFile;
  for (std::size_t i = 0; i < form.items.size(); ++i) {
    const FormItem& item = form.items[i];
    if (item.kind == FormItemKind::List && !item.list.visible())
      hiddenByFile[UpperShort(item.list.dataFile)].push_back(i);
  }
  for (FormItem& item : form.items) {
    if (item.kind != FormItemKind::List || !item.list.visible() || !item.list.data) continue;
    ListField& list = item.list;
    const ListData& data = *list.data;
    // Without any row there is nothing to choose from: the deck's value stays.
    if (list.selectedRow < 0) continue;
    // A field keeps the row it was read (or last written) with, found by its value, until the
    // user picks another: looking the row up again by its display text would find the first of
    // two rows that show the same text. A value no row holds gives the row shown, the first.
    bool keeps = list.selectedRow == list.savedRow &&
                 EqualNoCase(data.Field(list.selectedRow, list.valueColumn), TrimShort(list.value));
    if (keeps) continue;
    list.value = data.Field(list.selectedRow, list.valueColumn);
    auto hidden = hiddenByFile.find(UpperShort(list.dataFile));
    if (hidden == hiddenByFile.end()) continue;
    int carrier = list.selectedRow;
    if (carrier < 0) continue;
    for (std::size_t h : hidden->second) {
      ListField& twin = form.items[h].list;
      twin.value = data.Field(carrier, twin.valueColumn);
    }
  }
}

std::vector<std::string> DeckLines(FormModel& form, const std::vector<std::string>& sourceLines, bool encodeTarget,
                                   UnwritableLine* unwritable) {
  RefreshListValues(form);
  bool encodedSource = form.IsEncoded();
  std::vector<std::string> out;
  out.reserve(sourceLines.size() + 1);
  const std::vector<std::string> oneEmptyLine{std::string{}};
  const auto& lines = sourceLines.empty() ? oneEmptyLine : sourceLines;  // at least one line is read
  std::size_t p = 0;
  int counter = 0;
  bool visible = true;
  for (const std::string& stored : lines) {
    std::string line = encodedSource ? DecodeLine(stored) : stored;
    RemoveHiddenGroupMarker(line);
    ++counter;
    // Items whose line has passed (two items read from one line) are skipped, so that one odd
    // line never stops the items after it from being written.
    while (p < form.items.size() && form.items[p].lineNumber < counter) ++p;
    std::string text = line;
    if (p < form.items.size() && form.items[p].lineNumber == counter) {
      const FormItem& item = form.items[p];
      if (!item.inGroup) visible = true;
      if (item.kind == FormItemKind::Group) visible = item.group.switchedOn;
      // Only the first ShortTextMax characters of a line are read, the marker of a switched-off
      // group among them.
      std::size_t room = ShortTextMax - (visible ? 0 : HiddenGroupMarker.size());
      if (item.kind == FormItemKind::Text) {
        text = TextItemLine(item, line);
      } else if (auto regenerated = ItemLine(form, p, room)) {
        text = *regenerated;
        if (text.size() > room) {
          if (unwritable) *unwritable = {counter, true};
          return {};
        }
      }
      ++p;
    }
    // Every line of a switched-off group is a comment to the engine.
    if (!visible) text.insert(0, HiddenGroupMarker);
    if (encodeTarget) {
      text = EncodeLine(text);
      if (!StorableEncoded(text)) {
        if (unwritable) *unwritable = {counter, false};
        return {};
      }
    }
    out.push_back(std::move(text));
    if (line.starts_with("*|]")) visible = true;
  }
  return out;
}

bool WriteDeck(FormModel& form, const std::string& target) {
  if (form.fileName.empty()) return false;
  std::optional<std::string> source;
  std::error_code ec;
  if (target == form.fileName && std::filesystem::exists(form.fileName, ec)) {
    source = BackUp(form.fileName);
    if (!source) return false;
  } else {
    int code = 0;
    source = ReadSource(form.fileName, code);
    if (!source) return ReportFailure(ReportError(code) + ".  Could not read " + form.fileName);
  }
  bool encodeTarget = IsEncodedDeckName(target);
  UnwritableLine unwritable;
  // Every line is written with the end it was read with; a carriage return alone ends a line of
  // a plain deck (an encoded line may hold one).
  LinesWithEnds split = SplitLinesWithEnds(*source, !form.IsEncoded());
  std::vector<std::string> lines = DeckLines(form, split.lines, encodeTarget, &unwritable);
  if (unwritable.number > 0 && unwritable.tooLong)
    return ReportFailure("Line " + std::to_string(unwritable.number) + " cannot be stored in " + target +
                         ": it would be longer than the " + std::to_string(ShortTextMax) +
                         " characters read of a line.");
  if (unwritable.number > 0)
    return ReportFailure("Line " + std::to_string(unwritable.number) + " cannot be stored in the encoded file " +
                         target + ": it would hold a line break.");
  LineEnd usual = MostCommonEnd(split.ends);
  std::string bytes;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bytes += lines[i];
    // An empty source still writes its one line with an end.
    bytes += LineEndBytes(i < split.ends.size() ? split.ends[i] : usual);
  }
  if (std::string failure = WriteFileAtomically(target, bytes); !failure.empty()) return ReportFailure(failure);
  form.fileName = target;
  SettleNumericFields(form);
  form.ClearModify();
  return true;
}

void ConvertUnits(FormModel& form, UnitSystem from, UnitSystem to) {
  if (from == to) return;
  form.units = from;  // the fields' texts are in `from` units
  for (std::size_t i = 0; i < form.items.size(); ++i) {
    FormItem& item = form.items[i];
    if (item.kind != FormItemKind::Numeric) continue;
    NumericField& field = item.numeric;
    std::optional<Real> value = form.PrimaryValue(i);
    if (!value) {
      interaction().beep();
      value = field.value;
    }
    field.value = *value;
    field.text = FormatReal(field.format, ToShownValue(field, field.value, to));
    field.shownText = field.text;
    field.edited = false;
  }
  form.units = to;
}

}  // namespace tal
