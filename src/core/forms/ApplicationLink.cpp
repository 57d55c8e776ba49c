#include "forms/ApplicationLink.h"

#include "support/Files.h"
#include "support/Messages.h"

namespace tal {

std::string MissingApplicationQuestion(const std::string& path) {
  return "Application link " + path + " was not found.  Do you want to browse to locate this file?";
}

std::optional<ProgramCommand> PrepareApplicationLink(int application, LinkSource source, const std::string& argument,
                                                     std::array<std::string, 5>& links) {
  if (application < 1 || application > 5) {
    if (source == LinkSource::Button) return std::nullopt;
    application = 1;
  }
  std::string& path = links[static_cast<std::size_t>(application - 1)];
  if (!FileReadable(path)) {
    if (ShowMessageKind(MissingApplicationQuestion(path), WarningYesNo, true) != Button::Yes) return std::nullopt;
    FileDialogRequest request;
    request.directory = FolderOf(path);
    request.fileName = FileNameOf(path);
    request.filters = {"Applications (*)", "All files (*)"};
    auto choice = interaction().openFile(request);
    if (!choice) return std::nullopt;
    path = choice->path;
  }
  ProgramCommand command{path, {}};
  // The argument is what the annotation wrote after the program: its words, quotes grouping.
  ProgramCommand words = CommandFromLine(argument);
  if (!words.empty()) {
    command.arguments.push_back(words.program);
    command.arguments.insert(command.arguments.end(), words.arguments.begin(), words.arguments.end());
  }
  return command;
}

}  // namespace tal
