#pragma once
// Helpers shared by the tests: a temporary folder, small file helpers and running talbatch.
#include <functional>
#include <string>
#include <vector>

namespace taltest {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Full path of `name` inside the folder.
  std::string file(const std::string& name) const;
  // Writes `bytes` to `name` (folders created) and returns the full path.
  std::string write(const std::string& name, const std::string& bytes) const;
  // Writes an executable shell script and returns its full path.
  std::string writeScript(const std::string& name, const std::string& body) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);  // "" when missing
bool Exists(const std::string& path);

struct ProcessResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};
// Runs the built talbatch with `args` in `workingDir` ("" = current) and collects its output.
ProcessResult RunTalbatch(const std::vector<std::string>& args, const std::string& workingDir = "");

// A word of a PDF file as `pdftotext -bbox` places it: its page (from 1) and its box in points
// from the page's top left corner.
struct PdfWord {
  int page = 0;
  double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  std::string text;
};
std::vector<PdfWord> PdfWords(const std::string& pdfPath);

// Creates a QGuiApplication on the offscreen platform when there is no Qt application object yet
// (core tests that need an event loop, fonts or painting). It lives until the test program ends.
void EnsureQtApplication();
// Processes events until `done` holds or `timeoutMs` passes; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// Every test must leave the process as it found it, so that the suites pass whether each test runs
// in a process of its own (as CTest runs them) or all in one. Each check describes one piece of
// process-wide state as a text; a test after which a text differs fails, naming it. The current
// folder, the installed interaction, the program's path and mode and the number locale are checked
// in every suite; a suite adds its own (the ui suite: the handlers the shell installs).
void AddProcessStateCheck(const std::string& what, std::function<std::string()> describe);

}  // namespace taltest
