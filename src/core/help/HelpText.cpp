#include "help/HelpText.h"

#include <filesystem>
#include <fstream>

#include "support/Files.h"

namespace tal {

bool IsForeignHelpFile(const std::string& path) {
  if (!FileReadable(path)) return false;
  std::ifstream in(path, std::ios::binary);
  char head[2] = {0, 0};
  in.read(head, 2);
  return in.gcount() == 2 && head[0] == '?' && head[1] == '_';
}

std::string ForeignHelpMessage(const std::string& path) {
  return "The help file " + path + " is written for the help viewer of another system and cannot be shown here.";
}

std::string ReflowHelpLines(const std::vector<std::string>& lines) {
  std::string buffer;
  auto append = [&buffer](std::string_view text) {
    std::size_t room = HelpTextMax - buffer.size();
    buffer.append(text.substr(0, room));
  };
  for (const std::string& line : lines) {
    if (line.empty()) {
      append("\r\n\r\n");
      continue;
    }
    if (line.front() == ' ') append("\r\n");
    append(line);
    if (line.back() == '.')
      append("  ");
    else if (line.back() != ' ')
      append(" ");
  }
  return buffer;
}

HelpTextSetup PrepareHelpText(const std::string& path) {
  HelpTextSetup setup;
  if (IsForeignHelpFile(path)) {
    setup.action = HelpTextSetup::Action::Foreign;
    setup.message = ForeignHelpMessage(path);
    return setup;
  }
  std::error_code ec;
  std::uintmax_t size = FileReadable(path) ? std::filesystem::file_size(path, ec) : 0;
  if (!ec && size > HelpTextMax) {
    setup.message = "This file contains " + std::to_string(size) + " characters.  The maximum is " +
                    std::to_string(HelpTextMax) + " characters.  Sorry...";
    return setup;
  }
  auto bytes = ReadWholeFile(path);
  if (!bytes || ec) {
    setup.text = "Help information is not available for this subject.";
    return setup;
  }
  setup.text = ReflowHelpLines(SplitLines(*bytes));
  return setup;
}

}  // namespace tal
