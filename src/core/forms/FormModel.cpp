#include "forms/FormModel.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "forms/ErrorState.h"
#include "support/Messages.h"
#include "support/Text.h"

namespace tal {

bool IsGroupKind(FormItemKind kind) {
  return kind == FormItemKind::Group || kind == FormItemKind::CheckBoxGroup || kind == FormItemKind::RadioGroup;
}

bool IsPictureKind(FormItemKind kind) {
  return kind == FormItemKind::Picture || kind == FormItemKind::AppLinkPicture;
}

std::string_view KindName(FormItemKind kind) {
  switch (kind) {
    case FormItemKind::Text: return "text";
    case FormItemKind::Numeric: return "numeric";
    case FormItemKind::List: return "list";
    case FormItemKind::File: return "file";
    case FormItemKind::Picture: return "picture";
    case FormItemKind::Group: return "group";
    case FormItemKind::CheckBoxGroup: return "checkbox-group";
    case FormItemKind::RadioGroup: return "radio-group";
    case FormItemKind::AppLinkPicture: return "applink";
  }
  return "?";
}

Real ToShownValue(const NumericField& field, Real primary, UnitSystem units) {
  return units == UnitSystem::Secondary ? (primary + field.offset) * field.factor : primary;
}

std::optional<Real> ToPrimaryValue(const NumericField& field, Real shown, UnitSystem units) {
  if (units != UnitSystem::Secondary) return shown;
  // A factor of 0 shows every value as the same secondary value: there is no way back.
  if (field.factor == 0) return std::nullopt;
  Real primary = shown / field.factor - field.offset;
  if (!std::isfinite(primary)) return std::nullopt;
  return primary;
}

// ---- Groups ---------------------------------------------------------------------------------------

const std::vector<std::size_t>& FormModel::GroupsNamed(const std::string& upperName) const {
  static const std::vector<std::size_t> none;
  auto matches = [&](std::size_t i) {
    return i < items.size() && IsGroupKind(items[i].kind) && UpperShort(items[i].group.name) == upperName;
  };
  auto found = groupsByName_.find(upperName);
  bool current = indexedItems_ == items.size() &&
                 (found == groupsByName_.end() || std::all_of(found->second.begin(), found->second.end(), matches));
  if (!current) {
    groupsByName_.clear();
    for (std::size_t i = 0; i < items.size(); ++i)
      if (IsGroupKind(items[i].kind)) groupsByName_[UpperShort(items[i].group.name)].push_back(i);
    indexedItems_ = items.size();
    found = groupsByName_.find(upperName);
  }
  return found == groupsByName_.end() ? none : found->second;
}

void FormModel::SwitchGroup(std::string_view name, bool on) {
  // Copied: the observer may read the model, which may rebuild the index.
  std::vector<std::size_t> named = GroupsNamed(UpperShort(name));
  for (std::size_t i : named)
    if (!SwitchGroupAt(i, on)) return;
}

bool FormModel::SwitchGroupAt(std::size_t i, bool on) {
  GroupData& group = items[i].group;
  group.switchedOn = on;
  // Only commands long enough to name a program count.
  bool hasBefore = group.beforeCommand.size() > 4;
  bool hasAfter = group.afterCommand.size() > 4;
  if (on) {
    if (group.visible) return false;
    group.visible = true;
    if (hasBefore) beforeCommand = group.beforeCommand;
    if (hasAfter) afterCommand = group.afterCommand;
  } else {
    if (hasBefore) beforeCommand.clear();
    if (hasAfter) afterCommand.clear();
    if (!group.visible) return false;
    group.visible = false;
  }
  if (groupObserver_) groupObserver_(i, on);
  return true;
}

int FormModel::FindGroup(std::string_view name) const {
  const std::vector<std::size_t>& named = GroupsNamed(UpperShort(name));
  return named.empty() ? -1 : static_cast<int>(named.front());
}

void FormModel::CheckBoxClicked(std::size_t item, std::size_t choice) {
  // Copied: switching may call back into the window, which may read the model meanwhile.
  GroupChoice box = items[item].group.choices[choice];
  for (const GroupRef& ref : box.groups) SwitchGroup(ref.name, box.checked != ref.inverted);
  changedByClick = true;
}

void FormModel::SetCheckBox(std::size_t item, std::size_t choice, bool checked) {
  items[item].group.choices[choice].checked = checked;
  CheckBoxClicked(item, choice);
}

void FormModel::ChooseRadioButton(std::size_t item, std::size_t choice) {
  auto& choices = items[item].group.choices;
  for (std::size_t i = 0; i < choices.size(); ++i) choices[i].checked = i == choice;
  RadioButtonClicked(item, choice);
}

void FormModel::RadioButtonClicked(std::size_t item, std::size_t choice) {
  // Every group of the radio group goes off first, then the clicked button's own come on. The
  // names are taken one at a time rather than copied all at once (a copy of every choice at every
  // click grew with the square of the group), and looked up afresh after each switch, which may
  // call back into the window.
  auto ref = [&](std::size_t button, std::size_t r) -> std::optional<GroupRef> {
    const auto& choices = items[item].group.choices;
    if (button >= choices.size() || r >= choices[button].groups.size()) return std::nullopt;
    return choices[button].groups[r];
  };
  for (std::size_t button = 0; button < items[item].group.choices.size(); ++button)
    for (std::size_t r = 0; auto name = ref(button, r); ++r) SwitchGroup(name->name, false);
  for (std::size_t r = 0; auto name = ref(choice, r); ++r) SwitchGroup(name->name, !name->inverted);
  changedByClick = true;
}

bool FormModel::IsShown(std::size_t index) const {
  const FormItem& item = items[index];
  if (IsGroupKind(item.kind)) return item.group.visible;
  if (item.kind == FormItemKind::List && !item.list.visible()) return false;
  if (item.inGroup && item.enclosingGroup >= 0)
    return items[static_cast<std::size_t>(item.enclosingGroup)].group.visible;
  return true;
}

// ---- Fields ---------------------------------------------------------------------------------------

void FormModel::SetFieldText(std::size_t index, std::string text) {
  FormItem& item = items[index];
  if (item.kind == FormItemKind::Numeric) {
    if (item.numeric.text != text) item.numeric.edited = true;
    item.numeric.text = std::move(text);
  } else if (item.kind == FormItemKind::Text && item.textField.present) {
    if (item.textField.text != text) item.textField.edited = true;
    item.textField.text = std::move(text);
  }
}

namespace {

// `limit` rounded to the digits `format` shows, towards the inside of the range: up for the lower
// limit, down for the upper one. A limit shown so can be typed and is accepted.
Real RoundInward(RealFormat format, Real limit, bool lower) {
  ParsedReal parsed = ParseReal(FormatReal(format, limit));
  if (!parsed.ok) return limit;
  Real shown = parsed.value;
  // Differences in the last bits of the conversion are no rounding.
  Real noise = std::fabs(limit) * 1e-12L;
  bool outside = lower ? shown < limit - noise : shown > limit + noise;
  if (!outside || IsInfinityValue(shown)) return shown;
  int exponent = shown == 0 ? 0 : static_cast<int>(std::floor(Log10(std::fabs(shown))));
  Real step = format.fixed ? IntPower(10, -format.decimals) : IntPower(10, exponent - format.decimals);
  parsed = ParseReal(FormatReal(format, lower ? shown + step : shown - step));
  return parsed.ok ? parsed.value : limit;
}

}  // namespace

std::pair<Real, Real> FormModel::ShownLimits(std::size_t index) const {
  const NumericField& field = items[index].numeric;
  // In secondary units the field holds secondary values, so its limits are converted too, and
  // rounded inward to the digits shown: the range message names limits that are accepted.
  Real low = ToShownValue(field, field.minimum, units);
  Real high = ToShownValue(field, field.maximum, units);
  if (low > high) std::swap(low, high);
  if (units == UnitSystem::Secondary) {
    Real roundedLow = RoundInward(field.format, low, true);
    Real roundedHigh = RoundInward(field.format, high, false);
    // A range narrower than one shown digit keeps its exact limits.
    if (roundedLow <= roundedHigh) return {roundedLow, roundedHigh};
  }
  return {low, high};
}

bool FormModel::CheckNumericField(std::size_t index) {
  ErrorState() = ErrorStateClear;
  // Free-text fields of text lines have no number check.
  if (items[index].kind != FormItemKind::Numeric) return true;
  const NumericField& field = items[index].numeric;
  std::string text = field.text;
  if (!text.empty() && text.back() == '.') text += '0';
  std::string message;
  if (!ParseReal(text).ok) {
    message = field.text.empty() ? "The input field is empty" : "Illegal character in input";
  } else {
    auto [low, high] = ShownLimits(index);
    // Untouched text stands for the exact value, whose display may round across a limit (1000 m2
    // shows as 10764 ft2 against a converted maximum of 10763.9): that value is checked instead.
    bool inRange = field.text == field.shownText ? field.value >= field.minimum && field.value <= field.maximum
                                                 : CheckRealValue(text, 6, low, high).valid;
    if (!inRange)
      message = "This parameter must be >= " + FormatReal(field.format, low) + " and <= " +
                FormatReal(field.format, high);
  }
  if (message.empty()) return true;
  ErrorState() = ErrorStateSet;
  // The sentence names no field; the box's title does.
  ShowMessageKind(message, ErrorOk, true, MessageLook{FieldCaption(index)});
  return false;
}

std::optional<std::size_t> FormModel::CheckChangedNumericFields() {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].kind == FormItemKind::Numeric && items[i].numeric.edited && !CheckNumericField(i)) return i;
  return std::nullopt;
}

std::optional<Real> FormModel::PrimaryValue(std::size_t index) const {
  const NumericField& field = items[index].numeric;
  // Untouched text stands for the exact value, not for its rounded display.
  if (field.text == field.shownText) return field.value;
  auto parsed = ParseRealTrailingPoint(field.text);
  if (parsed.errorPosition != 0 || field.text.empty()) return std::nullopt;
  return ToPrimaryValue(field, parsed.value, units);
}

std::string FormModel::FieldCaption(std::size_t index) const { return TrimShort(items[index].label); }

const std::string& FormModel::UnitCaption(std::size_t index) const {
  const NumericField& field = items[index].numeric;
  return units == UnitSystem::Secondary ? field.secondaryUnit : field.primaryUnit;
}

void FormModel::SelectListRow(std::size_t index, int row) {
  ListField& list = items[index].list;
  int rows = list.data ? static_cast<int>(list.data->rows.size()) : 0;
  if (row >= 0 && row < rows) list.selectedRow = row;
}

std::string FormModel::ListDisplayText(std::size_t index) const {
  const ListField& list = items[index].list;
  if (!list.data) return {};
  return list.data->Field(list.selectedRow, list.displayColumn);
}

std::vector<std::string> FormModel::ListChoices(std::size_t index) const {
  const ListField& list = items[index].list;
  std::vector<std::string> choices;
  if (!list.data) return choices;
  for (std::size_t row = 0; row < list.data->rows.size(); ++row)
    choices.push_back(list.data->Field(static_cast<int>(row), list.displayColumn));
  return choices;
}

void FormModel::SetFileName(std::size_t index, std::string name) {
  items[index].file.fileName = std::move(name);
  items[index].file.browsed = true;
}

// ---- Changed state --------------------------------------------------------------------------------

bool FormModel::DCKChanged() const {
  if (changedByClick) return true;
  for (const FormItem& item : items) {
    switch (item.kind) {
      case FormItemKind::Text:
        if (item.textField.present && item.textField.edited) return true;
        break;
      case FormItemKind::Numeric:
        if (item.numeric.edited) return true;
        break;
      case FormItemKind::List:
        if (item.list.visible() && item.list.selectedRow != item.list.savedRow) return true;
        break;
      case FormItemKind::File:
        if (item.file.browsed) return true;
        break;
      default: break;
    }
  }
  return false;
}

void FormModel::ClearModify() {
  for (FormItem& item : items) {
    item.textField.edited = false;
    item.numeric.edited = false;
    if (item.list.visible()) item.list.savedRow = item.list.selectedRow;
    item.file.browsed = false;
  }
  changedByClick = false;
}

}  // namespace tal
