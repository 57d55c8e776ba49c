#pragma once
// The program directory of an installed program. An installed program's bin/ folder has the
// workspace template beside it in ../share/talshell; that tree belongs to the system and is never
// written. Such a program keeps its settings, engine configuration and recent-file list in a
// per-user program directory instead, $XDG_DATA_HOME/talshell (default ~/.local/share/talshell),
// made from the template on the user's first start, when the template's demo workspace is also
// copied to ~/TALSHELL-demo (unless that exists). A program run from a build or workspace folder
// keeps that folder as its program directory.
#include <optional>
#include <string>
#include <vector>

namespace tal {

inline constexpr const char* TemplateBesideBin = "../share/talshell";
inline constexpr const char* DemoWorkspaceName = "TALSHELL-demo";
inline constexpr const char* EngineLinkName = "TALPIX32";
inline constexpr const char* EngineProgramName = "talpix-sample";

// Where the user's files go: the values of XDG_DATA_HOME and HOME ("" when unset).
struct UserFolders {
  std::string dataHome{};
  std::string home{};
};
UserFolders UserFoldersFromEnvironment();

// The per-user program directory, "" when neither folder is known.
std::string UserProgramDirectory(const UserFolders& user);

// The installed template beside the executable folder `binFolder`, when there is one.
std::optional<std::string> InstalledTemplate(const std::string& binFolder);

struct ProgramDirectory {
  std::string directory{};         // the program directory to use
  std::string madeFrom{};          // the template it was made from now (first start), else ""
  std::string demoWorkspace{};     // the demo workspace copied now, else ""
  std::string problem{};           // why no program directory could be had ("" when it is ready)
  std::string demoProblem{};       // why the demo workspace could not be copied ("" when it was or need not be)
};

// The one rule, for the window program and the batch tool alike. `candidate` is the folder the
// program would use otherwise (the window program's own folder, the batch tool's working folder);
// `executableFolders` the folders of the started path and of the executable file itself (a link
// elsewhere may point at an installed program). The candidate stays when the program is not
// installed, or when it holds a settings file and is neither an installed bin/ folder nor inside the
// installed template; otherwise the per-user program directory is used, made from the template
// when missing.
ProgramDirectory ChooseProgramDirectory(const std::string& candidate, const std::vector<std::string>& executableFolders,
                                        const UserFolders& user);

// Makes `directory` from `templateDir` for the engine in `binFolder`: the program's files copied,
// its help pages linked (an upgrade brings their new text), TALPIX32 a link to the engine, the
// settings file written with the folders of this machine. The directory appears whole or not at
// all. Then the template's demo workspace is copied to `demoWorkspace` unless that exists.
ProgramDirectory MakeUserProgramDirectory(const std::string& templateDir, const std::string& binFolder,
                                          const std::string& directory, const std::string& demoWorkspace);

// The file a first start opens in the demo workspace: the form in form-only mode, else the deck.
std::string DemoStartFile(const std::string& demoWorkspace, bool talkitMode);

// The folder of the running executable file itself, links resolved ("" when unknown).
std::string ExecutableFileFolder();

}  // namespace tal
