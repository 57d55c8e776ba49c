// talbatch form: shows the items of a form deck, or fills it in and writes it back, as the form
// window would.
#include <ostream>
#include <sstream>

#include "BatchCommand.h"
#include "CliArguments.h"
#include "StreamInteraction.h"
#include "forms/DeckReader.h"
#include "forms/DeckWriter.h"
#include "forms/ErrorState.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Text.h"

namespace tal::batch {

namespace {

constexpr const char* Usage =
    "usage: talbatch form show FORM [--units 1|2]\n"
    "       talbatch form set FORM [-o OUT] [--units 1|2] NAME=VALUE ... [--check CAPTION=on|off] [--choose CAPTION]\n";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string GroupNames(const std::vector<GroupRef>& groups) {
  std::string names;
  for (const GroupRef& ref : groups) names += (names.empty() ? "" : " ") + std::string(ref.inverted ? "_" : "") + ref.name;
  return names;
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

// One line per item, as the form shows it.
std::string DescribeItem(const FormModel& form, std::size_t index) {
  const FormItem& item = form.items[index];
  std::ostringstream line;
  line << KindName(item.kind);
  if (item.kind == FormItemKind::List && !item.list.visible()) line << " (hidden)";
  line << "  line " << item.lineNumber;
  switch (item.kind) {
    case FormItemKind::Text:
      line << "  " << Quoted(item.label);
      if (item.textField.present) line << "  field = " << Quoted(item.textField.text);
      break;
    case FormItemKind::Numeric: {
      auto [low, high] = form.ShownLimits(index);
      const NumericField& field = item.numeric;
      line << "  " << Quoted(item.label) << "  " << item.variable << " = " << field.text << " "
           << form.UnitCaption(index) << "  range " << FormatReal(field.format, low) << " .. "
           << FormatReal(field.format, high);
      break;
    }
    case FormItemKind::List: {
      line << "  " << Quoted(item.label) << "  " << item.variable << " = ";
      if (item.list.visible()) {
        line << Quoted(form.ListDisplayText(index)) << "  choices";
        for (const std::string& choice : form.ListChoices(index)) line << " " << Quoted(choice);
      } else {
        line << Quoted(item.list.value);
      }
      if (item.list.assignMode) line << "  unit " << item.list.unitNumber;
      break;
    }
    case FormItemKind::File:
      line << "  " << Quoted(item.label) << "  " << item.variable << " = " << item.file.fileName << "  unit "
           << item.file.unitNumber;
      break;
    case FormItemKind::Picture:
    case FormItemKind::AppLinkPicture:
      line << "  " << (item.picture.isCaption ? Quoted(item.picture.caption) : item.picture.fileName);
      if (item.kind == FormItemKind::AppLinkPicture)
        line << "  application " << item.picture.application << "  argument " << Quoted(item.picture.argument);
      break;
    case FormItemKind::Group:
    case FormItemKind::CheckBoxGroup:
    case FormItemKind::RadioGroup: {
      line << "  " << item.group.name << " " << Quoted(item.group.caption) << "  " << OnOff(item.group.switchedOn);
      bool radio = item.kind == FormItemKind::RadioGroup;
      for (const GroupChoice& choice : item.group.choices)
        line << "  " << (radio ? (choice.checked ? "(o)" : "( )") : (choice.checked ? "[x]" : "[ ]")) << " "
             << Quoted(choice.caption) << " (" << GroupNames(choice.groups) << ")";
      break;
    }
  }
  if (item.inGroup && item.enclosingGroup >= 0) {
    const FormItem& group = form.items[static_cast<std::size_t>(item.enclosingGroup)];
    line << "  in " << group.group.name << " " << OnOff(group.group.switchedOn);
  }
  return line.str();
}

struct Arguments {
  std::string form;
  std::string output;
  UnitSystem units = UnitSystem::Primary;
  // In command-line order: "NAME=VALUE", "--check CAPTION=on|off" and "--choose CAPTION".
  struct Change {
    enum class Kind { Value, Check, Choose } kind;
    std::string name, value;
  };
  std::vector<Change> changes;
};

bool SplitAssignment(const std::string& text, std::string& name, std::string& value) {
  std::size_t eq = text.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  name = text.substr(0, eq);
  value = text.substr(eq + 1);
  return true;
}

// The changes "set" takes, as CLI11 reads them: each kind into its own list.
struct ChangeOptions {
  std::vector<std::string> assignments, checked, chosen;
  CLI::Option *values = nullptr, *checks = nullptr, *choices = nullptr;

  void AddTo(CLI::App& cli) {
    values = cli.add_option("NAME=VALUE", assignments);
    checks = cli.add_option("--check", checked)->allow_extra_args(false);
    choices = cli.add_option("--choose", chosen)->allow_extra_args(false);
  }

  // The changes in the order given, NAME=VALUE operands and --check, --choose options interleaved;
  // "" when all were read, else what is wrong.
  std::string Collect(const CLI::App& cli, std::vector<Arguments::Change>& changes) const {
    using Kind = Arguments::Change::Kind;
    std::size_t nextValue = 0, nextCheck = 0, nextChoice = 0;
    for (const CLI::Option* option : cli.parse_order()) {
      Arguments::Change change{Kind::Value, {}, {}};
      if (option == values) {
        const std::string& a = assignments[nextValue++];
        if (!SplitAssignment(a, change.name, change.value)) return "expected NAME=VALUE, not " + a;
      } else if (option == checks) {
        change.kind = Kind::Check;
        if (!SplitAssignment(checked[nextCheck++], change.name, change.value) ||
            (change.value != "on" && change.value != "off"))
          return "--check takes CAPTION=on or CAPTION=off";
      } else if (option == choices) {
        change.kind = Kind::Choose;
        change.name = chosen[nextChoice++];
      } else {
        continue;  // the form, --units or -o
      }
      changes.push_back(change);
    }
    return {};
  }
};

// Reads the arguments after "show" or "set" into `parsed`; nullopt when they were read, else the
// exit status after the message naming what is wrong.
std::optional<int> ParseArguments(const std::vector<std::string>& args, bool setting, Arguments& parsed, BatchIo& io) {
  CLI::App cli;
  std::string units;
  ChangeOptions changes;
  cli.add_option("FORM", parsed.form)->required();
  cli.add_option("--units", units);
  if (setting) {
    changes.AddTo(cli);
    cli.add_option("-o", parsed.output);
  }
  if (auto status = ParseCommandArguments(cli, args, io, "form", Usage)) return status;
  parsed.units = units == "2" ? UnitSystem::Secondary : UnitSystem::Primary;
  std::string problem = units.empty() || units == "1" || units == "2" ? "" : "--units takes 1 or 2";
  if (problem.empty()) problem = changes.Collect(cli, parsed.changes);
  if (problem.empty()) return std::nullopt;
  io.err << "talbatch form: " << problem << "\n" << Usage;
  return 2;
}

// Reads the deck; false (after its messages) unless the form was read whole without error.
bool ReadForm(const Arguments& args, ReadResult& result, const StreamInteraction& ui) {
  result = ReadDeck(args.form, {args.units, nullptr});
  return result.outcome == ReadOutcome::Complete && ErrorState() == ErrorStateClear && ui.messages() == 0;
}

int ShowForm(const Arguments& args, BatchIo& io) {
  StreamInteraction ui(io.err);
  ReadResult result;
  bool ok = ReadForm(args, result, ui);
  if (KeepsForm(result.outcome))
    for (std::size_t i = 0; i < result.form.items.size(); ++i) io.out << DescribeItem(result.form, i) << "\n";
  return ok ? 0 : 2;
}

// The fields a NAME=VALUE sets: numeric, list and file fields of that variable name, or, when no
// field has that name, of that label (file fields are all named by their "ASSIGN" word, so their
// labels are the way to tell them apart).
std::vector<std::size_t> FieldsNamed(const FormModel& form, const std::string& name) {
  std::vector<std::size_t> byVariable, byLabel;
  for (std::size_t i = 0; i < form.items.size(); ++i) {
    const FormItem& item = form.items[i];
    bool field = item.kind == FormItemKind::Numeric || item.kind == FormItemKind::File ||
                 (item.kind == FormItemKind::List && item.list.visible());
    if (!field) continue;
    if (EqualNoCase(TrimShort(item.variable), TrimShort(name))) byVariable.push_back(i);
    if (EqualNoCase(TrimShort(item.label), TrimShort(name))) byLabel.push_back(i);
  }
  return byVariable.empty() ? byLabel : byVariable;
}

// Sets one field as the user would; "" on success, else the message (already shown for
// numeric fields).
std::string SetField(FormModel& form, std::size_t index, const std::string& value, bool& shown) {
  FormItem& item = form.items[index];
  switch (item.kind) {
    case FormItemKind::Numeric:
      form.SetFieldText(index, value);
      if (!form.CheckNumericField(index)) {
        shown = true;
        return "not set";
      }
      return {};
    case FormItemKind::List: {
      int row = item.list.data ? item.list.data->FindRow(item.list.displayColumn, value) : -1;
      if (row < 0) return Quoted(value) + " is not a choice of " + Quoted(item.label);
      form.SelectListRow(index, row);
      return {};
    }
    case FormItemKind::File:
      if (FindDeckFile(form.fileName, value).empty()) return value + " was not found";
      form.SetFileName(index, value);
      return {};
    default: return "not a field";
  }
}

// Check boxes or radio buttons with that caption: (group item, choice).
std::vector<std::pair<std::size_t, std::size_t>> ChoicesCaptioned(const FormModel& form, FormItemKind kind,
                                                                  const std::string& caption) {
  std::vector<std::pair<std::size_t, std::size_t>> found;
  for (std::size_t i = 0; i < form.items.size(); ++i) {
    if (form.items[i].kind != kind) continue;
    const auto& choices = form.items[i].group.choices;
    for (std::size_t c = 0; c < choices.size(); ++c)
      if (EqualNoCase(TrimShort(choices[c].caption), TrimShort(caption))) found.emplace_back(i, c);
  }
  return found;
}

std::string ApplyChange(FormModel& form, const Arguments::Change& change, bool& shown) {
  using Kind = Arguments::Change::Kind;
  if (change.kind == Kind::Value) {
    auto fields = FieldsNamed(form, change.name);
    if (fields.empty()) return "no field named " + change.name;
    for (std::size_t index : fields)
      if (std::string failure = SetField(form, index, change.value, shown); !failure.empty()) return failure;
    return {};
  }
  bool check = change.kind == Kind::Check;
  auto choices = ChoicesCaptioned(form, check ? FormItemKind::CheckBoxGroup : FormItemKind::RadioGroup, change.name);
  if (choices.empty()) return std::string(check ? "no check box " : "no radio button ") + Quoted(change.name);
  for (auto [item, choice] : choices) {
    if (check) form.SetCheckBox(item, choice, change.value == "on");
    else form.ChooseRadioButton(item, choice);
  }
  return {};
}

int SetForm(const Arguments& args, BatchIo& io) {
  StreamInteraction ui(io.err);
  ReadResult result;
  if (!ReadForm(args, result, ui)) return 2;
  FormModel& form = result.form;
  for (const auto& change : args.changes) {
    bool shown = false;
    std::string failure = ApplyChange(form, change, shown);
    if (failure.empty()) continue;
    if (!shown) io.err << "talbatch form: " << failure << "\n";
    return 2;
  }
  std::string target = args.output.empty() ? form.fileName : args.output;
  if (!WriteDeck(form, target)) return 1;
  io.out << "wrote " << target << "\n";
  return 0;
}

int FormCommand(const std::vector<std::string>& args, BatchIo& io) {
  if (args.empty() || (args[0] != "show" && args[0] != "set")) {
    io.err << Usage;
    return 2;
  }
  const bool setting = args[0] == "set";
  Arguments parsed;
  const std::vector<std::string> operands(args.begin() + 1, args.end());
  if (auto status = ParseArguments(operands, setting, parsed, io)) return *status;
  return setting ? SetForm(parsed, io) : ShowForm(parsed, io);
}

const bool registered = RegisterBatchCommand(
    {"form", "form show FORM | form set FORM NAME=VALUE ...: list or fill in a form deck", FormCommand});

}  // namespace

}  // namespace tal::batch
