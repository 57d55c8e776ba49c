#pragma once
// Form windows for window tests: decks written to a temporary folder, a form read outside the
// main window and shown active, and keys sent the way the toolkit delivers them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "forms/TalkitForm.h"
#include "runs/SettingsFile.h"
#include "support/ScriptedInteraction.h"

namespace formwindowtest {

// The sixteen-line example deck of a house with a heating group, a check box that switches it,
// and a weather file field.
inline const std::vector<std::string>& HouseLines() {
  static const std::vector<std::string> lines{
      "*TALKIT",          "*|<FONT1 ARIAL 12",  "*|<COLOR2 NAVY",
      "*|<TAB2 6 CM",     "*|*Building data",   "*|[HEATING|Heating system",
      "AREA=25",          "*|Floor area|m2|ft2|0|10.7639|1|1000|3",
      "KIND=1",           "*|<Heater type|HEATERS.DAT|2|1",
      "*|]",              "*|{OPTIONS|Options", "*|Use heating|HEATING",
      "*|}",              "ASSIGN WEATHER.DAT 10", "*|?Weather file|4",
  };
  return lines;
}

inline std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

// Writes the deck as `name` (a path inside `dir`) with the list and weather files beside it.
inline std::string WriteDeck(const taltest::TempDir& dir, const std::vector<std::string>& lines,
                             const std::string& name = "HOUSE.TKD") {
  std::string folder = name.find('/') == std::string::npos ? std::string{} : name.substr(0, name.rfind('/') + 1);
  dir.write(folder + "HEATERS.DAT", "3\n1, Gas boiler\n2\tHeat pump\n3 , Wood stove\n");
  dir.write(folder + "WEATHER.DAT", "weather data\n");
  return dir.write(name, Joined(lines));
}

// Shows a widget as the active window, so that focus and focus events work offscreen.
inline void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  QApplication::processEvents();
}

inline void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// Sends a key press to the focused widget (or `target`), as the toolkit would.
inline void PressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QWidget* receiver = target ? target : QApplication::focusWidget();
  ASSERT_NE(receiver, nullptr);
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(receiver, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(receiver, &release);
  Settle();
}

// A form window read from a deck, outside any main window.
class FormWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { tal::CurrentSettings() = tal::SettingsRecord{}; }
  void TearDown() override {
    form.reset();
    tal::CurrentSettings() = tal::SettingsRecord{};
  }
  tal::TTALKITForm& open(const std::string& path) {
    form = std::make_unique<tal::TTALKITForm>(nullptr);
    EXPECT_TRUE(form->ReadDeck(path));
    form->resize(700, 500);
    ShowActive(*form);
    return *form;
  }
  // Index of the first item of that kind (and label); fails the test when there is none.
  std::size_t item(tal::FormItemKind kind, const std::string& label = "") const {
    const auto& items = form->model().items;
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i].kind == kind && (label.empty() || items[i].label == label)) return i;
    ADD_FAILURE() << "no item " << label;
    return 0;
  }
  int topOf(const QWidget* control) const { return form->PositionOnArea(control).y(); }

  taltest::TempDir dir;
  tal::ScriptedInteraction dialogs;
  std::unique_ptr<tal::TTALKITForm> form;
};

}  // namespace formwindowtest
