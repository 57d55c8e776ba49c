#include "shell/Startup.h"

#include <QApplication>
#include <QScreen>

#include "runs/InstalledProgram.h"
#include "runs/SettingsFile.h"
#include "shell/OpenSaveRules.h"
#include "shell/StartupOpen.h"
#include "shell/WindowIcons.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/Program.h"

namespace tal {

std::unique_ptr<TTALSHELLFORM> CreateMainWindow() {
  DftReadResult settings = ReadDFT(Program().directory, CurrentSettings());
  if (!settings.ok && !settings.damagedFile.empty()) {
    // A damaged file is kept for whoever can repair it; the program starts with the defaults.
    if (ShowMessageKind(DamagedDftQuestion(settings), WarningYesNo, true) != Button::Yes) return nullptr;
    if (std::string failure = KeepDamagedDft(settings.damagedFile); !failure.empty()) {
      ShowMessageKind(failure, ErrorOk, true);
      return nullptr;
    }
    CurrentSettings() = SettingsRecord{};
    settings.ok = true;
  }
  if (!settings.ok) {
    ShowMessageKind(settings.message, ErrorOk, true);
    return nullptr;
  }
  return std::make_unique<TTALSHELLFORM>();
}

void FinishStartup(TTALSHELLFORM& frame, const std::vector<std::string>& arguments, const std::string& startDir) {
  frame.ShowAboutBox();
  frame.setFirstStart(true);
  StartupOpen open = ChooseStartupOpen(arguments, startDir, Program().talkitMode);
  if (!open.unreadable.empty())
    ShowMessageKind(StartupFileMissingMessage(open.unreadable, open.unreadableExists), ErrorOk, true);
  switch (open.action) {
    case StartupOpen::Action::ReadFile: frame.ReadaFile(open.fileName); break;
    case StartupOpen::Action::OpenCommand: frame.Open1Click(); break;
    case StartupOpen::Action::Nothing: break;
  }
}

int StartTalshell(const StartupArguments& start, std::unique_ptr<TTALSHELLFORM>& frame) {
  Program() = DetermineProgramInfo(start.argv0, start.startDir, start.pathVariable);
  QCoreApplication::setApplicationName("TALSHL32");
  QApplication::setWindowIcon(ProgramIcon(Program().talkitMode));
  // The desktop entry that started the program, so the desktop shows its icon and name.
  QGuiApplication::setDesktopFileName(Program().talkitMode ? "example.talpix.talkit" : "example.talpix.talshell");
  ProgramDirectory directory =
      ChooseProgramDirectory(Program().directory, {Program().directory, ExecutableFileFolder()}, start.user);
  if (!directory.problem.empty()) {
    ShowMessageKind(directory.problem, ErrorOk, true);
    return 1;
  }
  Program().directory = directory.directory;
  if (!directory.demoProblem.empty()) ShowMessageKind(directory.demoProblem, InformationOk, true);
  std::vector<std::string> arguments = start.arguments;
  std::string startDir = start.startDir;
  if (!directory.demoWorkspace.empty() && arguments.empty()) {
    // The first start of an installed program opens the demo workspace just copied for the user.
    arguments = {DemoStartFile(directory.demoWorkspace, Program().talkitMode)};
    startDir = directory.demoWorkspace;
  }
  {
    BusyScope busy;
    frame = CreateMainWindow();
  }
  if (!frame) return 1;
  // Without a window manager (a bare X server) "maximised" means nothing: fill the screen first.
  if (QScreen* screen = QGuiApplication::primaryScreen()) frame->setGeometry(screen->availableGeometry());
  frame->showMaximized();
  FinishStartup(*frame, arguments, startDir);
  return 0;
}

}  // namespace tal
