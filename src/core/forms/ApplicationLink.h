#pragma once
// Application links of a form: the application buttons of numeric and list fields and the
// application-link pictures start the program of one of the settings' link entries with the
// argument the annotation gives.
#include <array>
#include <optional>
#include <string>

#include "runs/ProgramRunner.h"

namespace tal {

enum class LinkSource { Button, Picture };

// The command an application link starts: the program of link entry `application` (1 to 5;
// `links[0]` is entry 1) and the argument's words. When the program file does not exist the user
// is asked whether to browse for it; a file chosen then replaces the entry in `links` (the
// caller's settings record). nullopt when there is nothing to start: a button with a number
// outside 1 to 5 (a picture uses entry 1 then), or the user did not locate the program.
std::optional<ProgramCommand> PrepareApplicationLink(int application, LinkSource source, const std::string& argument,
                                                     std::array<std::string, 5>& links);

// "Application link " + path + " was not found.  Do you want to browse to locate this file?"
std::string MissingApplicationQuestion(const std::string& path);

}  // namespace tal
