#include "forms/DeckReader.h"

#include <map>

#include "forms/ErrorState.h"
#include "support/Files.h"
#include "support/LineEnds.h"
#include "support/Messages.h"
#include "support/Text.h"

namespace tal {

std::string FindDeckFile(const std::string& deckFileName, const std::string& name) {
  if (name.empty()) return {};
  if (name.front() != '/') {
    if (auto beside = ResolveNoCase(JoinPath(FolderOf(deckFileName), name)); beside && FileReadable(*beside))
      return *beside;
  }
  if (auto given = ResolveNoCase(name); given && FileReadable(*given)) return *given;
  return {};
}

namespace {

// Why FindDeckFile found nothing for `name`: a file that is there but cannot be read (a FIFO, a
// folder, no permission) is told apart from a missing one.
std::string WhyDeckFileNotFound(const std::string& deckFileName, const std::string& name) {
  std::vector<std::string> candidates;
  if (!name.empty() && name.front() != '/') candidates.push_back(JoinPath(FolderOf(deckFileName), name));
  candidates.push_back(name);
  for (const std::string& candidate : candidates) {
    std::string whyNot;
    if (auto there = ResolveNoCase(candidate); there && !ReadWholeFile(*there, &whyNot)) return whyNot;
  }
  return name + " was not found";
}

// What one line did to the reading.
enum class Step { Next, Stop, Discard };

class DeckReading {
 public:
  DeckReading(const std::string& fileName, const ReadOptions& options, std::vector<std::string> lines)
      : options_(options), lines_(std::move(lines)), encoded_(IsEncodedDeckName(fileName)) {
    form_.fileName = fileName;
    form_.units = options.units;
  }

  ReadResult Run();

 private:
  // The next line as the loop sees it: cut for parsing, decoded, counted, marker removed.
  bool NextLine(std::string& line, bool& hidden);
  // `line` may be advanced: a check-box or radio group reads its lines up to its closing line.
  Step Dispatch(std::string& line, bool hidden);

  Step OpenGroup(const std::string& line, bool hidden);
  Step CloseGroup();
  Step ReadChoiceGroup(std::string& line, FormItemKind kind);
  Step ApplyStyle(LineKind kind, const std::string& line);
  Step SetBackground(const std::string& line);
  void SetCommand(LineKind kind, const std::string& line);
  Step AddPicture(const std::string& line, bool appLink);
  void AddText(const std::string& line);
  Step AddValue(const std::string& line);
  Step AddNumeric(const std::string& line, const ValueAnnotation& annotation);
  Step AddList(const std::string& line, const ValueAnnotation& annotation);
  Step AddFile(const std::string& line, const ValueAnnotation& annotation);

  FormItem& NewItem(FormItemKind kind, const std::string& line);
  Step InputError(const std::string& annotationLine);
  Step StopWith(const std::string& message, bool setError);
  Step Discard(const std::string& message);
  // The list data file's rows; nullptr with `whyNot` set when the file is missing or unreadable.
  std::shared_ptr<const ListData> ListDataFor(const std::string& name, std::string& whyNot);
  const std::string& FoundFile(const std::string& name);

  bool CompletionPass();
  // Whether the button's first group name makes it the chosen button of its radio group.
  bool ChoosesRadioButton(std::size_t groupItem, std::size_t choice, const FormItem& target) const;
  void ApplyInitialState(std::size_t groupItem, std::size_t choice, const FormItem& target);

  FormModel form_;
  const ReadOptions& options_;
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
  bool encoded_;
  int lineCount_ = 0;
  int currentGroup_ = -1;  // the open plain group, -1 when none
  std::string previousLine_;
  int previousLineNumber_ = 0;
  std::map<std::string, std::shared_ptr<const ListData>> listData_;  // by file found
  std::map<std::string, std::string> foundFiles_;  // FindDeckFile by name, looked up once per reading
};

bool DeckReading::NextLine(std::string& line, bool& hidden) {
  if (next_ >= lines_.size()) return false;
  // Only the first 255 characters of a line are parsed; the writer copies lines whole.
  line = CutShort(lines_[next_++]);
  if (encoded_) line = DecodeLine(line);
  ++lineCount_;
  if (options_.progress) options_.progress(lineCount_);
  hidden = RemoveHiddenGroupMarker(line);
  return true;
}

ReadResult DeckReading::Run() {
  ErrorState() = ErrorStateClear;
  // Every item comes from an annotation line: room for all of them at once spares moving the
  // items of a large form again and again.
  std::size_t annotations = 0;
  for (const std::string& stored : lines_)
    if (IsAnnotationLine(encoded_ ? DecodeLine(std::string_view(stored).substr(0, 2)) : stored)) ++annotations;
  form_.items.reserve(annotations);
  std::string line;
  bool hidden = false;
  while (NextLine(line, hidden)) {
    Step step = Dispatch(line, hidden);
    if (step == Step::Stop) return {ReadOutcome::Stopped, std::move(form_), lineCount_};
    if (step == Step::Discard) {
      ErrorState() = ErrorStateSet;
      return {ReadOutcome::Discarded, std::move(form_), lineCount_};
    }
    if (!line.empty()) {
      previousLine_ = line;
      previousLineNumber_ = lineCount_;
    }
  }
  if (currentGroup_ >= 0) {
    ShowMessageKind("This file is missing a group close command.", ErrorOk, false);
    return {ReadOutcome::MissingGroupClose, std::move(form_), lineCount_};
  }
  CompletionPass();
  // The initial states are not changes of the user's.
  form_.ClearModify();
  return {ReadOutcome::Complete, std::move(form_), lineCount_};
}

Step DeckReading::Dispatch(std::string& line, bool hidden) {
  LineKind kind = ClassifyLine(line);
  switch (kind) {
    case LineKind::Deck: return Step::Next;
    case LineKind::CheckBoxGroup: return ReadChoiceGroup(line, FormItemKind::CheckBoxGroup);
    case LineKind::RadioGroup: return ReadChoiceGroup(line, FormItemKind::RadioGroup);
    case LineKind::Group: return OpenGroup(line, hidden);
    case LineKind::GroupClose: return CloseGroup();
    case LineKind::Font:
    case LineKind::Tab:
    case LineKind::Align:
    case LineKind::Size:
    case LineKind::Style:
    case LineKind::Colour: return ApplyStyle(kind, line);
    case LineKind::AppLink: return AddPicture(line, true);
    case LineKind::Picture: return AddPicture(line, false);
    case LineKind::Text: AddText(line); return Step::Next;
    case LineKind::Background: return SetBackground(line);
    case LineKind::Before:
    case LineKind::After: SetCommand(kind, line); return Step::Next;
    case LineKind::Value: return AddValue(line);
  }
  return Step::Next;
}

// ---- Diagnostics ------------------------------------------------------------------------------------

Step DeckReading::StopWith(const std::string& message, bool setError) {
  if (setError) ErrorState() = ErrorStateSet;
  ShowMessageKind(message, ErrorOk, true);
  return Step::Stop;
}

Step DeckReading::Discard(const std::string& message) {
  ShowMessageKind(message, ErrorOk, true);
  return Step::Discard;
}

Step DeckReading::InputError(const std::string& annotationLine) {
  return Discard("****Input Error****\n" + previousLine_ + "\n" + annotationLine);
}

// ---- Items -----------------------------------------------------------------------------------------

FormItem& DeckReading::NewItem(FormItemKind kind, const std::string& line) {
  FormItem& item = form_.items.emplace_back();
  item.kind = kind;
  item.lineNumber = lineCount_;
  item.annotationLine = line;
  item.style = form_.styles.size() - 1;
  if (currentGroup_ >= 0) {
    item.inGroup = true;
    item.enclosingGroup = currentGroup_;
    // Group frames of check boxes and radio buttons lie on the form, not inside the frame.
    if (!IsGroupKind(kind)) form_.items[static_cast<std::size_t>(currentGroup_)].group.hasItems = true;
  }
  return item;
}

Step DeckReading::OpenGroup(const std::string& line, bool hidden) {
  if (currentGroup_ >= 0)
    return StopWith("Line " + std::to_string(lineCount_) + ".  Groups cannot be nested.", true);
  GroupHeader header = ParseGroupHeader(line);
  FormItem& item = NewItem(FormItemKind::Group, line);
  item.group.name = header.name;
  item.group.caption = header.caption;
  item.group.startsOn = !hidden;
  item.group.switchedOn = !hidden;
  currentGroup_ = static_cast<int>(form_.items.size() - 1);
  return Step::Next;
}

Step DeckReading::CloseGroup() {
  if (currentGroup_ < 0)
    return StopWith("Line " + std::to_string(lineCount_) + ".  Groups close command encountered with no open group.",
                    true);
  GroupData& group = form_.items[static_cast<std::size_t>(currentGroup_)].group;
  // A group with nothing inside is not shown.
  if (!group.hasItems) group.visible = false;
  currentGroup_ = -1;
  return Step::Next;
}

Step DeckReading::ReadChoiceGroup(std::string& line, FormItemKind kind) {
  // The group's lines are read into `line`, so that the last of them (the closing line) is the
  // previous line of what follows: a value annotation after it has no deck line of its own.
  const std::string headerLine = line;
  GroupHeader header = ParseGroupHeader(headerLine);
  std::size_t index = form_.items.size();
  {
    FormItem& item = NewItem(kind, headerLine);
    item.group.name = header.name;
    item.group.caption = header.caption;
  }
  char closer = kind == FormItemKind::CheckBoxGroup ? '}' : ')';
  bool hidden = false;
  // The group's lines are read here; the end of the file ends the group as its closing line would.
  while (NextLine(line, hidden)) {
    switch (ClassifyChoiceLine(line, closer)) {
      case ChoiceLineKind::Skip: continue;
      case ChoiceLineKind::Close: return Step::Next;
      case ChoiceLineKind::NotCommand:
        return Discard("Error in line " + std::to_string(lineCount_) + ".  Checkbox command expected.");
      case ChoiceLineKind::Nested:
        return Discard("Error in line " + std::to_string(lineCount_) + ".  Groups cannot be nested.");
      case ChoiceLineKind::Item: {
        ChoiceLine parsed = ParseChoiceLine(line);
        auto& choices = form_.items[index].group.choices;
        GroupChoice choice{parsed.caption, parsed.groups, true, lineCount_};
        // Every item is checked when made; of radio buttons only the last one stays checked.
        if (kind == FormItemKind::RadioGroup)
          for (GroupChoice& other : choices) other.checked = false;
        choices.push_back(std::move(choice));
        break;
      }
    }
  }
  return Step::Next;
}

Step DeckReading::ApplyStyle(LineKind kind, const std::string& line) {
  FormStyle style = form_.styles.back();
  switch (ApplyStyleDirective(kind, line, style)) {
    case DirectiveError::InputError: return StopWith("***Input Error***   " + line, true);
    case DirectiveError::UnrecognizedColour: return StopWith("***Unrecognized color***   " + line, false);
    case DirectiveError::None: break;
  }
  // Items keep the slots of their moment; a new set is made only when something changed.
  if (!(style == form_.styles.back())) form_.styles.push_back(std::move(style));
  return Step::Next;
}

Step DeckReading::SetBackground(const std::string& line) {
  auto colour = BackgroundColour(line);
  if (!colour) return StopWith("***Unrecognized color***   " + line, false);
  form_.background = colour;
  return Step::Next;
}

void DeckReading::SetCommand(LineKind kind, const std::string& line) {
  std::string command = CommandOfLine(line);
  bool before = kind == LineKind::Before;
  (before ? form_.beforeCommand : form_.afterCommand) = command;
  if (currentGroup_ >= 0) {
    GroupData& group = form_.items[static_cast<std::size_t>(currentGroup_)].group;
    (before ? group.beforeCommand : group.afterCommand) = command;
  }
}

Step DeckReading::AddPicture(const std::string& line, bool appLink) {
  PictureLine parsed = ParsePictureLine(line, appLink);
  if (parsed.missingQuote) return Discard("Missing quote character in " + parsed.quoteText);
  std::string path;
  if (!parsed.isCaption) {
    path = FoundFile(parsed.fileName);
    if (path.empty()) return Discard("Figure file " + parsed.fileName + " was not found");
  }
  FormItem& item = NewItem(appLink ? FormItemKind::AppLinkPicture : FormItemKind::Picture, line);
  item.picture.isCaption = parsed.isCaption;
  item.picture.caption = parsed.caption;
  item.picture.fileName = parsed.fileName;
  item.picture.path = path;
  item.picture.position = parsed.position;
  item.picture.application = parsed.application;
  item.picture.argument = parsed.argument;
  return Step::Next;
}

void DeckReading::AddText(const std::string& line) {
  TextLine parsed = ParseTextLine(line);
  FormItem& item = NewItem(FormItemKind::Text, line);
  item.label = parsed.label;
  item.helpTopic = parsed.helpTopic;
  item.textField.present = parsed.hasField;
  item.textField.text = parsed.fieldText;
  item.textField.hasHelp = parsed.hasHelp;
  item.textField.helpText = parsed.helpText;
  item.textField.maxLength = static_cast<int>(parsed.fieldText.size()) * 2;
}

Step DeckReading::AddValue(const std::string& line) {
  ValueAnnotation annotation = ParseValueAnnotation(line);
  if (!annotation.ok) return InputError(line);
  // A value annotation describes the deck line just before it. An annotation line there is a
  // comment to the engine, holding no value the engine reads; writing a value into it would also
  // change what it says to the form (a font, a tab stop).
  if (IsAnnotationLine(previousLine_)) return InputError(line);
  switch (annotation.kind) {
    case ValueKind::Numeric: return AddNumeric(line, annotation);
    case ValueKind::List: return AddList(line, annotation);
    case ValueKind::File: return AddFile(line, annotation);
  }
  return Step::Next;
}

Step DeckReading::AddNumeric(const std::string& line, const ValueAnnotation& a) {
  auto assignment = ParseNameValueLine(previousLine_);
  if (!assignment) return InputError(line);
  auto parsed = ParseRealTrailingPoint(assignment->value);
  if (assignment->value.empty() || parsed.errorPosition != 0) return InputError(line);
  FormItem& item = NewItem(FormItemKind::Numeric, line);
  // The field rewrites the deck line it was read from.
  item.lineNumber = previousLineNumber_;
  item.deckLine = previousLine_;
  item.label = a.label;
  item.variable = assignment->name;
  item.helpTopic = a.helpTopic;
  item.application = a.application;
  item.applicationArgument = a.applicationArgument;
  NumericField& field = item.numeric;
  field.value = parsed.value;
  field.minimum = a.minimum;
  field.maximum = a.maximum;
  field.offset = a.offset;
  field.factor = a.factor;
  field.format = a.format;
  field.primaryUnit = a.primaryUnit;
  field.secondaryUnit = a.secondaryUnit;
  field.text = FormatReal(field.format, ToShownValue(field, field.value, form_.units));
  field.shownText = field.text;
  return Step::Next;
}

const std::string& DeckReading::FoundFile(const std::string& name) {
  auto found = foundFiles_.find(name);
  if (found == foundFiles_.end()) found = foundFiles_.emplace(name, FindDeckFile(form_.fileName, name)).first;
  return found->second;
}

std::shared_ptr<const ListData> DeckReading::ListDataFor(const std::string& name, std::string& whyNot) {
  const std::string& path = FoundFile(name);
  if (path.empty()) {
    whyNot = WhyDeckFileNotFound(form_.fileName, name);
    return nullptr;
  }
  auto found = listData_.find(path);
  if (found != listData_.end()) return found->second;
  auto data = ReadListData(path, &whyNot);  // a file that is there but cannot be read says why
  if (!data) return nullptr;
  auto shared = std::make_shared<const ListData>(std::move(*data));
  listData_.emplace(path, shared);
  return shared;
}

Step DeckReading::AddList(const std::string& line, const ValueAnnotation& a) {
  // An ASSIGN line counts only when it is complete; "ASSIGNED=3" is a NAME=value line.
  auto assign = ParseAssignLine(previousLine_);
  if (assign && !assign->unit) assign.reset();
  auto assignment = assign ? std::nullopt : ParseNameValueLine(previousLine_);
  if (!assign && !assignment) return InputError(line);
  std::string whyNot;
  auto data = ListDataFor(a.dataFile, whyNot);
  if (!data) return Discard(whyNot);
  FormItem& item = NewItem(FormItemKind::List, line);
  item.lineNumber = previousLineNumber_;
  item.deckLine = previousLine_;
  item.label = a.label;
  item.helpTopic = a.helpTopic;
  item.application = a.application;
  item.applicationArgument = a.applicationArgument;
  ListField& list = item.list;
  list.dataFile = a.dataFile;
  list.data = data;
  list.displayColumn = a.displayColumn;
  list.valueColumn = a.valueColumn;
  if (assign) {
    item.variable = assign->word;
    list.assignMode = true;
    list.value = assign->fileName;
    list.unitNumber = *assign->unit;
  } else {
    item.variable = assignment->name;
    list.value = assignment->value;
  }
  // The row whose value is the deck's, or the first row.
  int row = data->FindRow(list.valueColumn, list.value);
  list.selectedRow = row >= 0 ? row : (data->rows.empty() ? -1 : 0);
  list.savedRow = list.selectedRow;
  item.labelInLayout = list.visible();
  return Step::Next;
}

Step DeckReading::AddFile(const std::string& line, const ValueAnnotation& a) {
  auto assign = ParseAssignLine(previousLine_);
  if (!assign) return InputError(line);
  if (FoundFile(assign->fileName).empty()) return Discard(assign->fileName + " was not found");
  if (!assign->unit) return InputError(line);
  FormItem& item = NewItem(FormItemKind::File, line);
  item.lineNumber = previousLineNumber_;
  item.deckLine = previousLine_;
  item.label = a.label;
  item.helpTopic = a.helpTopic;
  item.variable = assign->word;
  item.file.fileName = assign->fileName;
  item.file.unitNumber = *assign->unit;
  return Step::Next;
}

// ---- Completion pass ----------------------------------------------------------------------------------

bool DeckReading::CompletionPass() {
  // A group that starts switched off is hidden before the check boxes and radio buttons take
  // their states, so that it also stays off when none of them names it.
  for (std::size_t g = 0; g < form_.items.size(); ++g)
    if (form_.items[g].kind == FormItemKind::Group && !form_.items[g].group.startsOn) form_.SwitchGroupAt(g, false);
  for (std::size_t g = 0; g < form_.items.size(); ++g) {
    FormItemKind kind = form_.items[g].kind;
    if (kind != FormItemKind::CheckBoxGroup && kind != FormItemKind::RadioGroup) continue;
    bool undefined = false;
    // Of the radio buttons chosen one after the other, the last decides: each click switches every
    // group of the radio group off and its own on, undoing all that the earlier ones did. So only
    // the last is clicked, once the group is done (clicking each grew with the square of the group).
    std::optional<std::size_t> chosen;
    std::size_t count = form_.items[g].group.choices.size();
    for (std::size_t c = 0; c < count; ++c) {
      std::vector<GroupRef> refs = form_.items[g].group.choices[c].groups;
      for (const GroupRef& ref : refs) {
        int target = form_.FindGroup(ref.name);
        if (target < 0) {
          ShowMessageKind("Group " + ref.name + " is not defined.", ErrorOk, true);
          ErrorState() = ErrorStateSet;
          undefined = true;
          continue;
        }
        // Only the first name listed decides the item's state.
        if (!EqualNoCase(ref.name, refs.front().name)) continue;
        if (ChoosesRadioButton(g, c, form_.items[static_cast<std::size_t>(target)])) chosen = c;
        else ApplyInitialState(g, c, form_.items[static_cast<std::size_t>(target)]);
      }
    }
    if (chosen) form_.ChooseRadioButton(g, *chosen);
    // An undefined name ends the pass once the group that named it is done.
    if (undefined) return false;
  }
  return true;
}

bool DeckReading::ChoosesRadioButton(std::size_t g, std::size_t c, const FormItem& target) const {
  if (form_.items[g].kind != FormItemKind::RadioGroup) return false;
  bool firstInverted = form_.items[g].group.choices[c].groups.front().inverted;
  bool plainTarget = target.kind == FormItemKind::Group;
  // The button that hides a plain group which starts off is the inverted one; otherwise the
  // button that shows its group.
  return plainTarget && !target.group.startsOn ? firstInverted : !firstInverted;
}

void DeckReading::ApplyInitialState(std::size_t g, std::size_t c, const FormItem& target) {
  bool radio = form_.items[g].kind == FormItemKind::RadioGroup;
  bool firstInverted = form_.items[g].group.choices[c].groups.front().inverted;
  bool plainTarget = target.kind == FormItemKind::Group;
  if (plainTarget && !target.group.startsOn) {
    // The state that hides the group.
    if (!radio) form_.SetCheckBox(g, c, firstInverted);
    return;
  }
  // The state that shows the group (check-box and radio groups always start on).
  if (!radio) form_.SetCheckBox(g, c, !firstInverted);
  else if (!plainTarget) form_.items[g].group.choices[c].checked = false;
}

}  // namespace

ReadResult ReadDeck(const std::string& fileName, const ReadOptions& options) {
  BusyScope busy;
  auto bytes = ReadWholeFile(fileName);
  if (!bytes) {
    ShowMessageKind("Cannot open file " + fileName + ".", ErrorOk, true);
    ReadResult result;
    result.form.fileName = fileName;
    result.form.units = options.units;
    return result;
  }
  // A carriage return alone ends a line of a plain deck too; an encoded line may hold one.
  DeckReading reading(fileName, options, SplitLinesWithEnds(*bytes, !IsEncodedDeckName(fileName)).lines);
  return reading.Run();
}

}  // namespace tal
