#include "forms/DeckWriter.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>

#include "support/Files.h"
#include "support/Interaction.h"
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
  std::string backup = BackupNameOf(fileName);
  // The old contents are read before anything is erased, so a failure leaves both files.
  int code = 0;
  auto bytes = ReadSource(fileName, code);
  if (!bytes) {
    ReportFailure("Unable to rename " + fileName + " to " + backup);
    return std::nullopt;
  }
  auto existing = FindFileNoCase(FolderOf(backup), FileNameOf(backup));
  std::error_code ec;
  // A deck that is itself named like its back-up (a ".BAK" opened as a form) has no other copy
  // to keep: erasing "the old back-up" would erase the deck.
  if (existing && std::filesystem::equivalent(*existing, fileName, ec)) return bytes;
  if (existing && !std::filesystem::remove(*existing, ec) && ec) {
    ReportFailure(ReportError(ec.value()) + ".  Could not erase " + *existing);
    return std::nullopt;
  }
  if (!WriteFileAtomically(backup, *bytes).empty()) {
    ReportFailure("Unable to rename " + fileName + " to " + backup);
    return std::nullopt;
  }
  return bytes;
}

std::string EndOfLineOf(std::string_view bytes) {
  std::size_t nl = bytes.find('\n');
  return nl != std::string_view::npos && nl > 0 && bytes[nl - 1] == '\r' ? "\r\n" : "\n";
}

// The value a numeric field writes: its primary value, or, when its text is not a number, the
// value it stood for before (the text alone would give nothing to write).
Real WrittenValue(const FormModel& form, std::size_t index) {
  if (auto value = form.PrimaryValue(index)) return *value;
  interaction().beep();
  return form.items[index].numeric.value;
}

// The regenerated text of an item's own line; nullopt for items whose line is copied.
std::optional<std::string> ItemLine(const FormModel& form, std::size_t index) {
  const FormItem& item = form.items[index];
  switch (item.kind) {
    case FormItemKind::Text:
      if (!item.textField.present) return std::nullopt;
      return "*|*" + item.label + "|" + item.textField.text +
             (item.textField.hasHelp ? "|" + item.textField.helpText : std::string{});
    case FormItemKind::Numeric:
      // Names are written whole, never cut: a cut name would be another variable.
      return item.variable + "= " + FormatReal(DeckNumberFormat, WrittenValue(form, index));
    case FormItemKind::List:
      if (item.list.assignMode)
        return item.variable + " " + item.list.value + " " + std::to_string(item.list.unitNumber);
      return item.variable + "= " + item.list.value;
    case FormItemKind::File:
      return item.variable + " " + item.file.fileName + " " + std::to_string(item.file.unitNumber);
    default: return std::nullopt;
  }
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
    int row = data.FindRow(list.displayColumn, data.Field(list.selectedRow, list.displayColumn));
    list.value = row >= 0 ? data.Field(row, list.valueColumn) : "not found";
    auto hidden = hiddenByFile.find(UpperShort(list.dataFile));
    if (hidden == hiddenByFile.end()) continue;
    int carrier = data.FindRow(list.valueColumn, list.value);
    if (carrier < 0) continue;
    for (std::size_t h : hidden->second) {
      ListField& twin = form.items[h].list;
      twin.value = data.Field(carrier, twin.valueColumn);
    }
  }
}

std::vector<std::string> DeckLines(FormModel& form, const std::vector<std::string>& sourceLines, bool encodeTarget,
                                   int* unencodable) {
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
      if (auto regenerated = ItemLine(form, p)) text = *regenerated;
      ++p;
    }
    // Every line of a switched-off group is a comment to the engine.
    if (!visible) text.insert(0, HiddenGroupMarker);
    if (encodeTarget) {
      text = EncodeLine(text);
      if (!StorableEncoded(text)) {
        if (unencodable) *unencodable = counter;
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
  int unencodable = 0;
  std::vector<std::string> lines = DeckLines(form, SplitLines(*source), encodeTarget, &unencodable);
  if (unencodable > 0)
    return ReportFailure("Line " + std::to_string(unencodable) + " cannot be stored in the encoded file " + target +
                         ": it would hold a line break.");
  std::string eol = EndOfLineOf(*source);
  std::string bytes;
  for (const std::string& line : lines) bytes += line + eol;
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
