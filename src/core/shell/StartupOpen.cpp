#include "shell/StartupOpen.h"

#include <filesystem>

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
    choice.unreadable = name;
    std::error_code ec;
    choice.unreadableExists = std::filesystem::exists(name, ec);
  }
  if (talkitMode) choice.action = StartupOpen::Action::OpenCommand;
  return choice;
}

}  // namespace tal
