#include "shell/StartupOpen.h"

#include "support/Files.h"

namespace tal {

StartupOpen ChooseStartupOpen(const std::vector<std::string>& arguments, const std::string& startDir,
                              bool talkitMode) {
  StartupOpen choice;
  if (!arguments.empty() && !arguments.front().empty()) {
    const std::string& argument = arguments.front();
    std::string name = argument.front() == '/' ? argument : JoinPath(startDir, argument);
    if (auto resolved = ResolveNoCase(name); resolved && FileReadable(*resolved)) {
      choice.action = StartupOpen::Action::ReadFile;
      choice.fileName = *resolved;
      return choice;
    }
  }
  if (talkitMode) choice.action = StartupOpen::Action::OpenCommand;
  return choice;
}

}  // namespace tal
