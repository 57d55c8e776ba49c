#pragma once
// The form window (kind 2000): a form deck shown as labels, fields, lists, file fields, group
// frames with check boxes and radio buttons, pictures and application buttons in one scrolling
// area. The form's model (forms/FormModel.h) holds every value and rule; this window lays the
// model out (forms/FormLayout.h), keeps its controls in step with it, and adds what only a window
// has: focus, the keyboard, the exit check's refocus, the file dialog, the close question, F1.
//
// The class is defined over several files: TalkitForm.cpp (reading, building, placing, group
// switching), FormKeyboard.cpp (the keyboard table), FormCommands.cpp (saving, closing, units,
// clipboard, help, application links) and FormPrint.cpp (printing).
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms/DeckReader.h"
#include "forms/FormControlMetrics.h"
#include "forms/FormFonts.h"
#include "forms/FormLayout.h"
#include "forms/FormModel.h"
#include "shell/ChildForm.h"

class QAbstractButton;
class QScrollArea;

namespace tal {

class TDescriptor;
class TInput;
class TFileInput;
class TOpenFile;
class Tmygroupbox;
class TGCheckBox;
class TGRadioButton;
class TmyImage;
class TAppButton;

// What F1 hands to the help window: the topic of the focused field (0 when the focus is not on a
// field), the deck and the caption the help window takes (the label of the first item with that
// topic, "Dialog" when there is none).
struct FormHelpRequest {
  int topic = 0;
  std::string deckName;
  std::string caption;
};
// Shows the help of a form. The program's handler opens the form help window; tests replace it.
std::function<void(const FormHelpRequest&)>& FormHelpHandler();
// The caption of the help window for `topic`.
std::string HelpCaption(const FormModel& form, int topic);
// The close question of a changed form: its file name and " has been changed.  Save it?".
std::string FormChangedQuestion(const std::string& fileName);

class TTALKITForm : public TChildForm {
  Q_OBJECT

 public:
  // `shell` may be null (a form outside the main window, as in tests and benchmarks).
  explicit TTALKITForm(TTALSHELLFORM* shell);
  ~TTALKITForm() override;

  // Reads the form deck and builds the window from it, with the wait cursor and the progress
  // window counting lines. False when the reading discarded the form: the caller releases the
  // window. The units of the fields are those of the settings.
  bool ReadDeck(const std::string& fileName);
  ReadOutcome outcome() const { return outcome_; }
  // Sizes and places the window in the frame once it is shown there (maximised on screens below
  // 641 pixels; else at the top left, screen height minus 70 high, as wide as the group frames).
  void PlaceWindow();

  FormModel& model() { return model_; }
  const FormModel& model() const { return model_; }
  const FormLayout& layout() const { return layout_; }
  QScrollArea* scrollArea() const { return scroll_; }
  // The widget that holds every control; positions "on the area" are relative to it.
  QWidget* area() const { return area_; }

  // ---- controls of an item (nullptr where the item has none) ---------------------------------
  TDescriptor* labelOf(std::size_t item) const;
  QWidget* fieldOf(std::size_t item) const;  // TInput, TFileInput, TOpenFile or TmyImage
  TDescriptor* unitOf(std::size_t item) const;
  TAppButton* buttonOf(std::size_t item) const;
  Tmygroupbox* frameOf(std::size_t item) const;
  QAbstractButton* choiceOf(std::size_t item, std::size_t choice) const;
  // Top left corner of a control on the area, and whether it is shown there.
  QPoint PositionOnArea(const QWidget* control) const;
  bool ShownOnArea(const QWidget* control) const;
  // The focusable controls in tab order that are shown now.
  std::vector<QWidget*> FocusOrder() const;
  // How many of the form's bands (the items from one group frame to the next) have their controls
  // made: they are made as they come into view, or when asked for.
  std::size_t builtBands() const { return builtBands_; }
  std::size_t bandCount() const { return bands_.size(); }

  // ---- the form's interfaces to the shell ----------------------------------------------------
  // Runs the exit check of the focused numeric field, if the focus is on one, then of every other
  // numeric field the user changed. False at the first that fails (the error state is then set,
  // its message shown, the field focused and its text selected); true when all pass.
  bool CheckactiveInput();
  bool DCKChanged() const;
  void ClearModify();
  // Writes the deck to `target` (WriteDeck): afterwards the window shows `target` and the form is
  // unchanged. False after a failure that has been shown; the form stays changed.
  bool WriteDeck(const std::string& target);
  // Save: commits the field being edited; unless its check failed, writes the deck under the
  // form's own name (never another window's deck).
  bool SaveDeck();
  // Save as, once the name is chosen: commits the field being edited, then writes to `target`.
  bool SaveDeckAs(const std::string& target);
  // Converts the numeric fields between units systems (1 primary, 2 secondary) and repaints.
  void ConvertUnits(int from, int to);
  // The "<BEFORE>" and "<AFTER>" commands in force.
  const std::string& beforeCommand() const { return model_.beforeCommand; }
  const std::string& afterCommand() const { return model_.afterCommand; }

  bool closeQuery() override;
  // Save and Save as of the File menu: the field being edited first, then the deck.
  bool commitInput() override { return CheckactiveInput(); }
  bool saveDocument(const std::string& name) override { return WriteDeck(name); }

  // Edit menu commands on the focused field.
  void cutSelection() override;
  void copySelection() override;
  void pasteClipboard() override;
  void clearSelection() override;

  // Prints the form as the user sees it into a running print job.
  void printOn(TPrintJob& job) override;

  // F1: opens the help for the focused field.
  void ShowHelp();
  // Focuses the field, check box or radio button that writes deck line `line` (1 for the first),
  // scrolled into view with its text selected; false when no control shown on the form writes it.
  bool SelectDeckLine(std::size_t line);

  // ---- called by the controls -----------------------------------------------------------------
  void InputChanged(TInput& input, const QString& text);
  void InputExit(TInput& input, Qt::FocusReason reason);
  void ListRowChosen(TFileInput& list, int row);
  void BrowseFile(TOpenFile& field);
  void CheckBoxClicked(TGCheckBox& box, bool checked);
  void RadioButtonClicked(TGRadioButton& button);
  void AppButtonClicked(TAppButton& button);
  void StartBrowser(TmyImage& picture);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct ItemControls {
    TDescriptor* label = nullptr;
    QWidget* field = nullptr;
    TDescriptor* unit = nullptr;
    TAppButton* button = nullptr;
    Tmygroupbox* frame = nullptr;
    std::vector<QAbstractButton*> choices;
  };
  // Items from one group frame to the next lie in one band of the area, so that switching a
  // group moves a few bands instead of every control below it. A band's controls are made when it
  // first comes near the view (or its controls are asked for), always with every band above it,
  // so that the toolkit's focus chain keeps the order of the items.
  struct Band {
    QWidget* widget = nullptr;
    std::size_t firstItem = 0;
    int baseTop = 0;  // top of the band with every group shown
    FontSlot slot;    // the font and colour the band gives the controls on it
  };

  void BuildControls();
  void BuildBand(std::size_t band);
  // Makes the controls of every band up to `band`. Const so that asking for a control (labelOf ...)
  // can make it: the controls are part of the window from the start as far as callers can tell.
  void BuildBandsThrough(std::size_t band) const;
  void BuildAllBands() const;
  // Makes the bands that lie in the view or within one view height below it.
  void BuildBandsInView();
  // Makes what a navigation key needs beyond the bands made so far.
  void BuildForKey(QWidget* current, const QKeyEvent& key);
  const ItemControls& Built(std::size_t item) const;
  // The focusable controls made so far that are shown now, in tab order.
  std::vector<QWidget*> BuiltFocusOrder() const;
  void BuildItem(std::size_t index, QWidget* parent, QPoint origin);
  QWidget* ParentOf(std::size_t index) const;
  // The slot whose font and colour the item's parent passes on to the item's controls.
  const FontSlot& InheritedSlot(std::size_t index) const;
  void GroupSwitched(std::size_t groupItem, bool visible);
  void FitBand(Band& band);
  void PlaceBands();
  void ResizeArea();
  // A control at least as tall as its style needs for its font, its label and unit centred on
  // the control's line.
  void FitToStyle(ItemControls& c);
  int StyleHeight(QWidget& field);
  // Runs `change` (a click that switches groups) so that `clicked` stays where it was in the
  // window: the form scrolls by what the controls above it moved, with blank room added above
  // the form where it cannot scroll far enough.
  void KeepInPlace(QWidget* clicked, const std::function<void()>& change);
  // Puts the model's values and states into the controls.
  void ShowFieldTexts();
  void ShowFieldText(std::size_t item);
  void ShowChoiceStates();
  void ShowChoiceState(std::size_t item);
  void ShowUnitCaptions();
  void ShowUnitCaption(std::size_t item);
  bool RunExitCheck(TInput& input);
  // Gives the focus back to a field that failed its check, its text selected, and takes the
  // selection from every other field (the one the focus had gone to keeps it otherwise, when a
  // message box came between).
  void FocusFailedField(TInput& field);
  // Keyboard table: true when the key was taken.
  bool HandleKey(QWidget* target, QKeyEvent& key);
  void FocusControl(QWidget* control, Qt::FocusReason reason);
  QWidget* PageTarget(QWidget* current, bool forward) const;
  QWidget* FocusedControl() const;
  int HelpTopicOf(const QWidget* control) const;

  FormModel model_;
  FormLayout layout_;
  ReadOutcome outcome_ = ReadOutcome::NotOpened;
  std::shared_ptr<FormPictures> pictures_;
  WindowFormMetrics metrics_;
  QScrollArea* scroll_ = nullptr;
  QWidget* canvas_ = nullptr;  // the scrolled widget: the area, below blank room when needed
  QWidget* area_ = nullptr;
  std::vector<ItemControls> controls_;
  std::vector<Band> bands_;
  std::size_t builtBands_ = 0;  // bands 0 to builtBands_ - 1 have their controls
  std::vector<int> bandOfItem_;
  std::map<QString, int> styleHeights_;  // StyleHeight by class and font
  std::vector<QWidget*> tabOrder_;
  bool closing_ = false;     // the destructor runs: fields leaving no longer get checked
  bool refocusing_ = false;  // the exit check gives the focus back: other fields are not checked
  int topRoom_ = 0;          // blank room above the form that keeps a clicked box in place
};

}  // namespace tal
