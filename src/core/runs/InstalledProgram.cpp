#include "runs/InstalledProgram.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "runs/SettingsFile.h"
#include "support/Files.h"
#include "support/Text.h"

namespace fs = std::filesystem;

namespace tal {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool HoldsSettings(const std::string& folder) { return FindFileNoCase(folder, SettingsFileName).has_value(); }

// The program's help pages are linked, not copied: they belong to the installed version, so an
// upgrade brings their new text, while everything else in the directory is the user's to change.
bool IsHelpPage(const std::string& name) {
  std::string upper = UpperShort(name);
  return upper == "MANUAL" || (upper.size() > 5 && upper.ends_with(".HTML"));
}

// Whether `folder` is `tree` or lies in it: the installed template holds a settings file too, and
// a batch run in it must not take it for a workspace and write there.
bool Inside(const std::string& folder, const std::string& tree) {
  std::error_code error;
  const std::string path = fs::canonical(folder, error).string();
  return !error && (path == tree || path.starts_with(tree + "/"));
}

std::string Failure(const std::string& what, const std::string& from, const std::error_code& error) {
  return "Cannot make " + what + " from " + from + ": " + error.message();
}

// A folder made under a temporary name beside `target` and renamed to it when whole, so an
// interrupted first start leaves no half-made folder that a later start would take as made.
std::string TemporaryBeside(const std::string& target) { return target + ".new-" + std::to_string(::getpid()); }

// Renames the finished folder into place; a start that raced this one and won keeps its own.
void Publish(const std::string& made, const std::string& target, std::error_code& error) {
  fs::rename(made, target, error);
  if (error && fs::exists(target)) {
    fs::remove_all(made, error);
    error.clear();
  }
}

void CopyProgramFiles(const std::string& templateDir, const std::string& to, std::error_code& error) {
  for (const auto& entry : fs::directory_iterator(templateDir, error)) {
    const std::string name = entry.path().filename().string();
    if (name == "demo") continue;
    if (IsHelpPage(name))
      fs::create_symlink(entry.path(), fs::path(to) / name, error);
    else
      fs::copy(entry.path(), fs::path(to) / name, fs::copy_options::recursive, error);
    if (error) return;
  }
}

// The template's settings hold the commands of this platform; the engine and utility folders are
// the new program directory, where TALPIX32 and the type descriptions lie.
std::string WriteMachineSettings(const std::string& madeDir, const std::string& finalDir) {
  SettingsRecord settings;
  if (DftReadResult read = ReadDFT(madeDir, settings); !read.ok) return read.message;
  for (std::string* folder : {&settings.talpixDir, &settings.voxenDir, &settings.lumetDir, &settings.orvaDir,
                              &settings.kantoDir, &settings.mirellDir})
    *folder = finalDir;
  return WriteDFT(madeDir, settings);
}

std::string CopyDemoWorkspace(const std::string& templateDir, const std::string& demoWorkspace) {
  std::error_code error;
  const std::string made = TemporaryBeside(demoWorkspace);
  fs::remove_all(made, error);
  fs::copy(fs::path(templateDir) / "demo", made, fs::copy_options::recursive, error);
  if (!error) Publish(made, demoWorkspace, error);
  if (!error) return "";
  fs::remove_all(made, error);
  return Failure("the demo workspace " + demoWorkspace, templateDir + "/demo", error);
}

}  // namespace

UserFolders UserFoldersFromEnvironment() { return {Environment("XDG_DATA_HOME"), Environment("HOME")}; }

std::string UserProgramDirectory(const UserFolders& user) {
  // A relative XDG_DATA_HOME is invalid by the XDG rules and is ignored.
  if (!user.dataHome.empty() && user.dataHome.front() == '/') return JoinPath(user.dataHome, "talshell");
  if (!user.home.empty()) return JoinPath(user.home, ".local/share/talshell");
  return "";
}

std::optional<std::string> InstalledTemplate(const std::string& binFolder) {
  if (binFolder.empty()) return std::nullopt;
  std::error_code error;
  // Resolved through the file system, not by text: with /bin a link to usr/bin, /bin/.. is /usr.
  fs::path templateDir = fs::canonical(fs::path(binFolder) / TemplateBesideBin, error);
  if (error || !fs::is_directory(templateDir, error) || !HoldsSettings(templateDir.string())) return std::nullopt;
  return templateDir.string();
}

ProgramDirectory ChooseProgramDirectory(const std::string& candidate, const std::vector<std::string>& executableFolders,
                                        const UserFolders& user) {
  std::optional<std::string> templateDir;
  std::string binFolder;
  for (const auto& folder : executableFolders) {
    if ((templateDir = InstalledTemplate(folder))) {
      binFolder = folder;
      break;
    }
  }
  if (!templateDir || (HoldsSettings(candidate) && !InstalledTemplate(candidate) && !Inside(candidate, *templateDir)))
    return {.directory = candidate};
  const std::string directory = UserProgramDirectory(user);
  if (directory.empty())
    return {.problem = "Neither XDG_DATA_HOME nor HOME is set: the installed program has no folder of its own "
                       "for its settings."};
  std::error_code error;
  if (fs::exists(directory, error)) return {.directory = directory};
  const std::string demo = user.home.empty() ? "" : JoinPath(user.home, DemoWorkspaceName);
  return MakeUserProgramDirectory(*templateDir, binFolder, directory, demo);
}

ProgramDirectory MakeUserProgramDirectory(const std::string& templateDir, const std::string& binFolder,
                                          const std::string& directory, const std::string& demoWorkspace) {
  ProgramDirectory result{.directory = directory, .madeFrom = templateDir};
  const std::string made = TemporaryBeside(directory);
  std::error_code error;
  fs::remove_all(made, error);
  fs::create_directories(FolderOf(directory), error);
  if (!error) fs::create_directory(made, error);
  if (!error) CopyProgramFiles(templateDir, made, error);
  fs::path engine = fs::absolute(fs::path(binFolder) / EngineProgramName, error).lexically_normal();
  if (!error) fs::create_symlink(engine, fs::path(made) / EngineLinkName, error);
  std::string problem = error ? Failure("the program directory " + directory, templateDir, error)
                              : WriteMachineSettings(made, directory);
  if (problem.empty()) {
    Publish(made, directory, error);
    if (error) problem = Failure("the program directory " + directory, templateDir, error);
  }
  if (!problem.empty()) {
    fs::remove_all(made, error);
    return {.problem = problem};
  }
  if (!demoWorkspace.empty() && !fs::exists(demoWorkspace, error)) {
    // Without the demo the program still works: a failed copy is told, and the program directory stays.
    result.demoProblem = CopyDemoWorkspace(templateDir, demoWorkspace);
    if (result.demoProblem.empty()) result.demoWorkspace = demoWorkspace;
  }
  return result;
}

std::string DemoStartFile(const std::string& demoWorkspace, bool talkitMode) {
  return JoinPath(demoWorkspace, talkitMode ? "HOUSE.TKD" : "HOUSE.DCK");
}

std::string ExecutableFileFolder() {
  std::error_code error;
  fs::path executable = fs::read_symlink("/proc/self/exe", error);
  return error ? "" : executable.parent_path().string();
}

}  // namespace tal
