#pragma once
// A main window in a temporary program directory, with scripted answers, for window tests.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "TestSupport.h"
#include "runs/SettingsFile.h"
#include "shell/ChildForm.h"
#include "shell/TalshellForm.h"
#include "support/Program.h"
#include "support/ScriptedInteraction.h"

namespace taltest {

// A child window of any kind, with a file name, an undo state and a close answer to choose.
class TestChild : public tal::TChildForm {
 public:
  TestChild(tal::TTALSHELLFORM* shell, tal::KindCode kind, const std::string& fileName = "")
      : TChildForm(shell, kind) {
    setFileName(fileName);
    setCaption(fileName.empty() ? "child" : fileName);
  }
  bool canUndo() const override { return undoable; }
  void undo() override { ++undos; }
  bool closeQuery() override {
    ++closeQuestions;
    return allowClose;
  }
  bool undoable = false;
  bool allowClose = true;
  int closeQuestions = 0;
  int undos = 0;
};

// Captions of a menu's items, "-" for separators.
inline QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) captions << (action->isSeparator() ? QString("-") : action->text());
  return captions;
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedProgram_ = tal::Program();
    std::error_code ec;
    savedDir_ = std::filesystem::current_path(ec);
    if (ec) savedDir_ = std::filesystem::temp_directory_path();
    useMode(false);
    tal::CurrentSettings() = tal::SettingsRecord{};
  }
  void TearDown() override {
    frame.reset();
    tal::Program() = savedProgram_;
    std::error_code ec;
    std::filesystem::current_path(savedDir_, ec);  // the frame moves it into the program directory
    if (ec) std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
  }
  void useMode(bool talkit) {
    tal::Program().path = dir.file(talkit ? "talkit" : "talshell");
    tal::Program().directory = dir.path();
    tal::Program().talkitMode = talkit;
  }
  tal::TTALSHELLFORM& makeFrame(bool talkit = false) {
    useMode(talkit);
    frame = std::make_unique<tal::TTALSHELLFORM>();
    return *frame;
  }
  TestChild* addChild(tal::KindCode kind, const std::string& fileName = "") {
    auto* child = new TestChild(frame.get(), kind, fileName);
    frame->AddChild(child);
    return child;
  }
  bool enabled(tal::MenuItem item) const {
    QAction* action = frame->action(item);
    EXPECT_NE(action, nullptr);
    return action && action->isEnabled();
  }
  bool menuEnabled(tal::Menu which) const { return frame->menu(which)->menuAction()->isEnabled(); }

  TempDir dir;
  tal::ScriptedInteraction dialogs;
  std::unique_ptr<tal::TTALSHELLFORM> frame;

 private:
  tal::ProgramInfo savedProgram_;
  std::filesystem::path savedDir_;
};

}  // namespace taltest
