#pragma once
// The form of a form deck without its window: the items in file order with their values, limits,
// display formats, list rows, file names, groups and check-box and radio-button states, and the
// rules that act on them (group switching by name, the numeric exit check, the changed state).
// The form window lays the items out and keeps its controls in step with this model; the deck
// reader builds it and the deck writer writes it back.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "forms/AnnotationLine.h"
#include "forms/FormStyle.h"
#include "forms/ListData.h"
#include "support/Numbers.h"

namespace tal {

// The numbers are the ones the form's code uses everywhere.
enum class FormItemKind : int {
  Text = 0,            // "*|*" label, optionally with a free-text field
  Numeric = 1,         // numeric field for a NAME=value deck line
  List = 2,            // list field fed from a list data file
  File = 3,            // file field for an ASSIGN line
  Picture = 4,         // "*|<PICTURE>"
  Group = 5,           // plain group "*|[" ... "*|]"
  CheckBoxGroup = 6,   // "*|{" ... "*|}"
  RadioGroup = 7,      // "*|(" ... "*|)"
  AppLinkPicture = 8,  // "*|<APPLINK": a picture that starts a linked application
};

bool IsGroupKind(FormItemKind kind);
bool IsPictureKind(FormItemKind kind);
// Short lower-case name of the kind ("text", "numeric", ...), for listings.
std::string_view KindName(FormItemKind kind);

enum class UnitSystem : int { Primary = 1, Secondary = 2 };

// Free-text field of a text line (kind 0).
struct TextField {
  bool present = false;     // the line had a "|"
  std::string text;         // what the field holds
  std::string helpText;     // after the second "|", written back as it was
  bool hasHelp = false;     // there was a second "|"
  bool edited = false;
  // The field takes twice its initial length (0 when it started empty).
  int maxLength = 0;
};

// Numeric field (kind 1). Values held here are primary values; the field shows them in the unit
// system of the form.
struct NumericField {
  std::string text;        // what the field holds
  std::string shownText;   // the text the model last put there (unchanged text keeps `value` exact)
  bool edited = false;
  Real value = 0;          // primary value the field stands for while its text is unchanged
  Real minimum = 0, maximum = 0;
  Real offset = 0, factor = 1;  // secondary = (primary + offset) * factor
  RealFormat format{true, 0};   // from the maximum as written
  std::string primaryUnit, secondaryUnit;
  static constexpr int MaxLength = 25;
};

// List field (kind 2).
struct ListField {
  std::string dataFile;                   // as written in the annotation
  std::shared_ptr<const ListData> data;   // rows read with the form
  int displayColumn = 0, valueColumn = 0;
  std::string value;      // value written to the deck (the deck's value until writing recomputes it)
  bool assignMode = false;  // deck line "ASSIGN value unit" instead of NAME=value
  int unitNumber = 0;
  int selectedRow = -1;   // -1 only when the data file has no rows
  int savedRow = -1;      // selection when the form was last read or written
  bool visible() const { return displayColumn > 0; }
};

// File field (kind 3).
struct FileField {
  std::string fileName;  // as written in the ASSIGN line, or as chosen
  int unitNumber = 0;
  bool browsed = false;
};

// Pictures (kinds 4 and 8).
struct PictureData {
  bool isCaption = false;
  std::string caption;   // drawn in blue italics on a picture of its own
  std::string fileName;  // as written
  std::string path;      // the file found for it
  PicturePosition position = PicturePosition::Center;
  int application = 0;   // kind 8: 1 to 4
  std::string argument;  // kind 8: passed to the application and shown as tool tip
};

// A check box or radio button of a check-box or radio-button group.
struct GroupChoice {
  std::string caption;
  std::vector<GroupRef> groups;  // at most 10
  bool checked = false;
  int lineNumber = 0;
};

// Group frames (kinds 5 to 7).
struct GroupData {
  std::string name;     // compared without regard to case
  std::string caption;
  bool startsOn = true;  // plain groups: false when the header carried the hidden-group marker
  bool visible = true;   // the frame is shown
  // The group is switched on; the writer marks every line of a plain group that is off. It
  // differs from `visible` for a plain group without items, whose frame is hidden while it is on.
  bool switchedOn = true;
  bool hasItems = false; // plain groups: something was placed inside
  std::string beforeCommand, afterCommand;  // from "<BEFORE>" and "<AFTER>" lines inside the group
  std::vector<GroupChoice> choices;         // kinds 6 and 7
};

struct FormItem {
  FormItemKind kind = FormItemKind::Text;
  // The deck line the item rewrites: for fields the line they were read from, otherwise the
  // item's own line.
  int lineNumber = 0;
  std::string deckLine, annotationLine;  // as read (the annotation line is the item's own line)
  std::string label;      // text lines, fields and pictures; group captions are in `group`
  std::string variable;   // NAME of the deck line (fields), or the ASSIGN word
  int helpTopic = 0;      // 0 for none
  std::size_t style = 0;  // index into FormModel::styles: the slots in force when the item was read
  bool labelInLayout = true;  // false for hidden list fields
  bool inGroup = false;       // lies inside a plain group
  int enclosingGroup = -1;    // index of that plain group
  int application = 0;        // numeric and list fields: linked application 1 to 4, 0 for none
  std::string applicationArgument;

  TextField textField;
  NumericField numeric;
  ListField list;
  FileField file;
  PictureData picture;
  GroupData group;
};

class FormModel {
 public:
  std::string fileName;  // the deck the form was read from or last written to
  UnitSystem units = UnitSystem::Primary;
  std::vector<FormStyle> styles{FormStyle{}};
  std::optional<Rgb> background;
  std::string beforeCommand, afterCommand;
  std::vector<FormItem> items;
  bool changedByClick = false;

  const FormStyle& StyleOf(const FormItem& item) const { return styles[item.style]; }
  bool IsEncoded() const { return IsEncodedDeckName(fileName); }

  // ---- Groups -------------------------------------------------------------------------------

  // Called whenever a group frame is shown (true) or hidden (false), so the window can move the
  // items below it.
  using GroupObserver = std::function<void(std::size_t groupItem, bool visible)>;
  void SetGroupObserver(GroupObserver observer) { groupObserver_ = std::move(observer); }

  // Switches every group of that name (without regard to case) on or off, in list order. Switching
  // on stops at the first such group that is already shown, switching off at the first that is
  // already hidden. Group commands follow: a group switched on gives the form its before and
  // after commands, switching it off clears them.
  void SwitchGroup(std::string_view name, bool on);
  // The same for the one group item `groupItem`; false when the walk by name would end here.
  bool SwitchGroupAt(std::size_t groupItem, bool on);
  // The first group item of that name; -1 when there is none.
  int FindGroup(std::string_view name) const;

  // A check box was clicked (its state already changed): switch its groups, mark the form changed.
  void CheckBoxClicked(std::size_t item, std::size_t choice);
  // Sets a check box's state and runs its click behaviour.
  void SetCheckBox(std::size_t item, std::size_t choice, bool checked);
  // Checks a radio button (the others of its group uncheck) and runs its click behaviour.
  void ChooseRadioButton(std::size_t item, std::size_t choice);

  // Whether the item shows: items in a plain group follow that group; group frames their own
  // state; hidden list fields never show.
  bool IsShown(std::size_t item) const;

  // ---- Fields -------------------------------------------------------------------------------

  // The user's text of a numeric or free-text field; marks the field edited when it changes.
  void SetFieldText(std::size_t item, std::string text);
  // Numeric exit check (other fields pass): the text must be a number (a trailing "." allowed) within the limits.
  // Clears the error state first; on failure sets it, shows the message (error box with beep,
  // titled with the field's caption) and returns false. The window then gives the field the focus and selects its text.
  bool CheckNumericField(std::size_t item);
  // The exit check of every numeric field the user changed, in form order, up to the first that
  // fails (its message shown); that field's index, or nullopt when all pass. Run before anything
  // is written from the form or run on its deck, whichever field has the focus.
  std::optional<std::size_t> CheckChangedNumericFields();
  // The limits in the form's unit system, lower first; in secondary units rounded inward to the
  // digits the field shows.
  std::pair<Real, Real> ShownLimits(std::size_t item) const;
  // The primary value of a numeric field's text in the form's unit system; nullopt when the
  // text is not a number or cannot be converted.
  std::optional<Real> PrimaryValue(std::size_t item) const;
  // The field's label as a window title: the label's padding blanks removed.
  std::string FieldCaption(std::size_t item) const;
  // Unit caption of a numeric field in the form's unit system.
  const std::string& UnitCaption(std::size_t item) const;

  void SelectListRow(std::size_t item, int row);
  // Text of the selected row's display column ("" when there is none).
  std::string ListDisplayText(std::size_t item) const;
  // Every display-column text, in file order.
  std::vector<std::string> ListChoices(std::size_t item) const;

  void SetFileName(std::size_t item, std::string fileName);
  // The file dialog was opened: the form counts as changed, chosen or not.
  void MarkBrowsed(std::size_t item) { items[item].file.browsed = true; }

  // ---- Changed state -------------------------------------------------------------------------

  bool DCKChanged() const;
  void ClearModify();

 private:
  void RadioButtonClicked(std::size_t item, std::size_t choice);
  // The group items of an upper-cased name, in list order. Groups are looked up by name at every
  // click, so the lookup must not walk the whole form (a radio group of thousands of buttons
  // switches thousands of names per click); the index is rebuilt when the items have changed.
  const std::vector<std::size_t>& GroupsNamed(const std::string& upperName) const;
  GroupObserver groupObserver_;
  mutable std::unordered_map<std::string, std::vector<std::size_t>> groupsByName_;
  mutable std::size_t indexedItems_ = 0;
};

// Conversions of numeric fields between the unit systems. ToPrimary gives nullopt when the
// value cannot be converted back (a factor of 0) or the result is not finite.
Real ToShownValue(const NumericField& field, Real primary, UnitSystem units);
std::optional<Real> ToPrimaryValue(const NumericField& field, Real shown, UnitSystem units);

}  // namespace tal
