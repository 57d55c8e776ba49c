// What the user does on a form window: typing and leaving fields, choosing rows and files,
// clicking check boxes, radio buttons and application links, saving, closing, switching units,
// the Edit menu on the focused field and F1.
#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QTimer>
#include <filesystem>

#include "forms/ApplicationLink.h"
#include "forms/DeckWriter.h"
#include "forms/ErrorState.h"
#include "forms/FormFields.h"
#include "forms/FormGroups.h"
#include "forms/FormImages.h"
#include "forms/FormLabels.h"
#include "forms/FormLists.h"
#include "forms/TalkitForm.h"
#include "help/HelpDlg.h"
#include "runs/ProgramRunner.h"
#include "runs/SettingsFile.h"
#include "shell/OpenSaveRules.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/QtStrings.h"

namespace tal {

// ---- Fields --------------------------------------------------------------------------------------

void TTALKITForm::InputChanged(TInput& input, const QString& text) { model_.SetFieldText(input.item(), FromQt(text)); }

void TTALKITForm::InputExit(TInput& input, Qt::FocusReason reason) {
  if (!input.numberCheck() || refocusing_ || closing_) return;
  // Leaving for a menu, a dialog or another program is not leaving the field.
  if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
  // Checked once the focus has settled, so that the message and the refocus do not run inside
  // the toolkit's own focus change.
  QPointer<TInput> field(&input);
  QTimer::singleShot(0, this, [this, field] {
    if (field) RunExitCheck(*field);
  });
}

bool TTALKITForm::RunExitCheck(TInput& input) {
  model_.SetFieldText(input.item(), FromQt(input.text()));
  if (model_.CheckNumericField(input.item())) return true;
  FocusFailedField(input);
  return false;
}

void TTALKITForm::FocusFailedField(TInput& field) {
  for (QLineEdit* other : findChildren<QLineEdit*>())
    if (other != &field) other->deselect();
  // The field that the focus went to is not checked while the failing one takes it back.
  refocusing_ = true;
  field.setFocus(Qt::OtherFocusReason);
  field.setSelection(0, 255);
  refocusing_ = false;
}

bool TTALKITForm::CheckactiveInput() {
  auto* input = qobject_cast<TInput*>(FocusedControl());
  if (input && input->numberCheck() && !RunExitCheck(*input)) return false;
  // A field left while its exit check could not run (a message box had the focus, the window
  // was inactive) is checked too: nothing the user typed reaches the deck unchecked.
  std::optional<std::size_t> failed = model_.CheckChangedNumericFields();
  if (!failed) return true;
  if (auto* field = qobject_cast<TInput*>(fieldOf(*failed))) FocusFailedField(*field);
  return false;
}

void TTALKITForm::ListRowChosen(TFileInput& list, int row) { model_.SelectListRow(list.item(), row); }

namespace {
// The extension of a file name as written ("" when it has none).
std::string WrittenExtension(const std::string& name) {
  std::string file = FileNameOf(name);
  std::size_t dot = file.rfind('.');
  return dot == std::string::npos ? std::string{} : file.substr(dot);
}
}  // namespace

void TTALKITForm::BrowseFile(TOpenFile& field) {
  std::size_t i = field.item();
  std::string name = model_.items[i].file.fileName;
  std::error_code ec;
  auto remembered = std::filesystem::current_path(ec);
  std::string present = FindDeckFile(model_.fileName, name);
  FileDialogState dialog{ParseFilterList("Data Files|*" + WrittenExtension(name) + "|All Files|*.*"), 1, "",
                         present.empty() ? name : present};
  auto choice = interaction().openFile(ToRequest(dialog, "Data file"));
  if (choice && !choice->path.empty()) {
    model_.SetFileName(i, choice->path);
    field.setText(ToQt(choice->path));
  }
  // Opening the dialog counts as a change, whatever the user chose.
  model_.MarkBrowsed(i);
  if (!remembered.empty()) std::filesystem::current_path(remembered, ec);
}

// ---- Check boxes, radio buttons, application links -------------------------------------------------

void TTALKITForm::CheckBoxClicked(TGCheckBox& box, bool checked) {
  KeepInPlace(&box, [&] {
    model_.items[box.item()].group.choices[box.choice()].checked = checked;
    model_.CheckBoxClicked(box.item(), box.choice());
    ShowChoiceStates();
  });
  box.update();
}

void TTALKITForm::RadioButtonClicked(TGRadioButton& button) {
  KeepInPlace(&button, [&] {
    model_.ChooseRadioButton(button.item(), button.choice());
    ShowChoiceStates();
  });
  button.update();
}

namespace {
// Starts the program of a link entry and waits for it while the windows keep working.
void RunApplicationLink(int application, LinkSource source, const std::string& argument) {
  if (auto command = PrepareApplicationLink(application, source, argument, CurrentSettings().linkEntries))
    RunProgramOK(*command);
}
}  // namespace

void TTALKITForm::AppButtonClicked(TAppButton& button) {
  RunApplicationLink(button.application(), LinkSource::Button, button.argument());
}

void TTALKITForm::StartBrowser(TmyImage& picture) {
  RunApplicationLink(picture.application(), LinkSource::Picture, model_.items[picture.item()].picture.argument);
}

// ---- Changed state, saving, closing ----------------------------------------------------------------

bool TTALKITForm::DCKChanged() const { return model_.DCKChanged(); }

void TTALKITForm::ClearModify() { model_.ClearModify(); }

bool TTALKITForm::WriteDeck(const std::string& target) {
  BusyScope busy;
  if (!tal::WriteDeck(model_, target)) return false;
  setFileName(target);
  setCaption(target);
  // Writing settles the fields on the values written.
  ShowFieldTexts();
  return true;
}

bool TTALKITForm::SaveDeck() {
  if (!CheckactiveInput()) return false;
  return WriteDeck(fileName());
}

bool TTALKITForm::SaveDeckAs(const std::string& target) {
  if (!CheckactiveInput()) return false;
  return WriteDeck(target);
}

std::string FormChangedQuestion(const std::string& fileName) { return fileName + " has been changed.  Save it?"; }

bool TTALKITForm::closeQuery() {
  if (!DCKChanged()) return true;
  switch (ShowMessageKind(FormChangedQuestion(fileName()), WarningYesNoCancel, false)) {
    // Saving takes the field being edited as Save does: a value its check refuses keeps the
    // window open with the field focused, instead of going into the deck unchecked. A failed
    // write keeps the window and its changes.
    case Button::Yes: return CheckactiveInput() && WriteDeck(fileName());
    case Button::No: return true;
    default: return false;
  }
}

void TTALKITForm::ConvertUnits(int from, int to) {
  auto system = [](int units) { return units == 2 ? UnitSystem::Secondary : UnitSystem::Primary; };
  tal::ConvertUnits(model_, system(from), system(to));
  ShowFieldTexts();
  ShowUnitCaptions();
  area_->update();
}

// ---- Edit menu on the focused field ----------------------------------------------------------------

void TTALKITForm::cutSelection() {
  if (auto* edit = qobject_cast<QLineEdit*>(FocusedControl())) edit->cut();
}

void TTALKITForm::copySelection() {
  QWidget* focused = FocusedControl();
  if (auto* edit = qobject_cast<QLineEdit*>(focused))
    edit->copy();
  else if (auto* list = qobject_cast<TFileInput*>(focused))
    QApplication::clipboard()->setText(list->currentText());
}

void TTALKITForm::pasteClipboard() {
  if (auto* edit = qobject_cast<QLineEdit*>(FocusedControl())) edit->paste();
}

void TTALKITForm::clearSelection() {
  auto* edit = qobject_cast<QLineEdit*>(FocusedControl());
  if (edit && !edit->isReadOnly() && edit->hasSelectedText()) edit->del();
}

// ---- F1 ----------------------------------------------------------------------------------------

int TTALKITForm::HelpTopicOf(const QWidget* control) const {
  std::size_t item = 0;
  if (auto* input = qobject_cast<const TInput*>(control))
    item = input->item();
  else if (auto* list = qobject_cast<const TFileInput*>(control))
    item = list->item();
  else if (auto* file = qobject_cast<const TOpenFile*>(control))
    item = file->item();
  else
    return 0;
  return model_.items[item].helpTopic;
}

std::string HelpCaption(const FormModel& form, int topic) {
  if (topic != 0)
    for (std::size_t i = 0; i < form.items.size(); ++i)
      if (form.items[i].helpTopic == topic) return form.FieldCaption(i);
  return "Dialog";
}

void TTALKITForm::ShowHelp() {
  int topic = HelpTopicOf(FocusedControl());
  FormHelpHandler()(FormHelpRequest{topic, fileName(), HelpCaption(model_, topic)});
}

std::function<void(const FormHelpRequest&)>& FormHelpHandler() {
  static std::function<void(const FormHelpRequest&)> handler = &THelpDlg::ShowFormHelp;
  return handler;
}

}  // namespace tal
