#pragma once
// The version of the programs, as --version shows it and the package carries it.
namespace tal {
const char* ProgramVersion();
}  // namespace tal
