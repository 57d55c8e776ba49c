#include "runs/Tools.h"

#include <QDesktopServices>
#include <QUrl>
#include <filesystem>

#include "runs/Installation.h"
#include "runs/ProgramRunner.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"

namespace fs = std::filesystem;

namespace tal {

namespace {

void ReportStartFailure(int code, const std::string& what) {
  ShowMessageKind("Error " + std::to_string(code) + " encountered while trying to " + what, ErrorOk, true);
}

// Starts a configured command line; on failure "... trying to execute " + the line.
void ExecuteCommandLine(const std::string& line) {
  if (int code = StartProgram(CommandFromLine(line), "", StartedProgram::Command))
    ReportStartFailure(code, "execute " + line);
}

}  // namespace

UtilityProgram Utility(int index, bool merodinFrontEnd) {
  static const std::array<UtilityProgram, UtilityCount> utilities = {{
      {"VOXEN", 17, "VOXEN", "VOXEN", &SettingsRecord::voxenDir},
      {"LUMET", 59, "LUMET", "LUMET", &SettingsRecord::lumetDir},
      {"ORVA", 60, "ORVAWIN", "ORVA", &SettingsRecord::orvaDir},
      {"KANTO", 61, "KANTO", "KANTO", &SettingsRecord::kantoDir},
      {"MIRELL", 62, "Mirell", "TALMIRELL", &SettingsRecord::mirellDir},
  }};
  if (index == 0 && merodinFrontEnd) return {"MERODIN", 17, "Splash", "MERODIN", &SettingsRecord::voxenDir};
  return utilities.at(static_cast<std::size_t>(index));
}

std::string UtilityProgramPath(const std::string& directory, const std::string& program) {
  if (directory.empty() || directory.back() == '/') return directory + program;
  return directory + "/" + program;
}

void CompileModule(const SettingsRecord& settings, const std::string& sourceFile) {
  if (int code = StartProgram(CommandFromLine(settings.compileCommand, {sourceFile}), "", StartedProgram::Command))
    ReportStartFailure(code, "compile " + sourceFile);
}

void RebuildTalpix(const SettingsRecord& settings) { ExecuteCommandLine(settings.rebuildCommand); }

bool ExecuteUserCommand(SettingsRecord& settings, bool talkitMode) {
  if (talkitMode) {
    auto command = interaction().inputText("User Command", "Execute User Command", settings.userCommand);
    if (!command) return false;
    settings.userCommand = *command;
  }
  ExecuteCommandLine(settings.userCommand);
  return true;
}

void StartUtility(SettingsRecord& settings, int index, bool merodinFrontEnd) {
  UtilityProgram utility = Utility(index, merodinFrontEnd);
  std::string& directory = settings.*utility.directory;
  std::error_code ec;
  if (directory.empty() || !fs::is_directory(directory, ec)) {
    auto chosen = interaction().chooseFolder(std::string("Select the ") + utility.messageName + " directory", "");
    if (!chosen) return;
    directory = *chosen;
  }
  // The utility starts in its own directory; an empty directory means the working directory.
  std::string path = UtilityProgramPath(directory, utility.program);
  path = ResolveNoCase(AbsolutePath(path)).value_or(AbsolutePath(path));
  if (int code = StartProgram({path, {}}, directory))
    ReportStartFailure(code, std::string("call ") + utility.messageName);
}

std::function<bool(const std::string&)>& WebPageOpener() {
  static std::function<bool(const std::string&)> opener = [](const std::string& address) {
    return QDesktopServices::openUrl(QUrl(QString::fromLatin1(address)));
  };
  return opener;
}

std::string NoBrowserMessage(const std::string& address) {
  return "No web browser could be started to show " + address +
         ". Install a web browser (or choose the desktop's default one), or open the address in a browser yourself.";
}

void OpenWebsite(const std::string& programDir) {
  std::string address = ReadInstallation(programDir).website;
  if (!WebPageOpener()(address)) ShowMessageKind(NoBrowserMessage(address), ErrorOk, true);
}

}  // namespace tal
