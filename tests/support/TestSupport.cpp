#include "TestSupport.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <clocale>
#include <gtest/gtest.h>
#include <sstream>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QStringList>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>

#include "support/Interaction.h"
#include "support/Program.h"

namespace fs = std::filesystem;

namespace taltest {

TempDir::TempDir() {
  std::random_device rd;
  for (;;) {
    fs::path p = fs::temp_directory_path() / ("taltest-" + std::to_string(rd()));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      path_ = p.string();
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
  std::string p = file(name);
  fs::create_directories(fs::path(p).parent_path());
  std::ofstream out(p, std::ios::binary);
  out << bytes;
  return p;
}

std::string TempDir::writeScript(const std::string& name, const std::string& body) const {
  std::string p = write(name, "#!/bin/sh\n" + body);
  fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec, fs::perm_options::replace);
  return p;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::string& path) { return fs::exists(path); }

std::vector<PdfWord> PdfWords(const std::string& pdfPath) {
  QProcess p;
  p.start("pdftotext", {"-bbox", QString::fromLocal8Bit(pdfPath.c_str()), "-"});
  p.waitForFinished(30000);
  const std::string html = p.readAllStandardOutput().toStdString();
  // <page ...> starts each page; every word is <word xMin="" yMin="" xMax="" yMax="">text</word>.
  static const std::regex token(
      R"re(<page |<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
  std::vector<PdfWord> words;
  int page = 0;
  for (std::sregex_iterator it(html.begin(), html.end(), token), end; it != end; ++it) {
    const std::smatch& m = *it;
    if (!m[1].matched) {
      ++page;
      continue;
    }
    words.push_back({page, std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
  }
  return words;
}

ProcessResult RunTalbatch(const std::vector<std::string>& args, const std::string& workingDir) {
  QProcess p;
  QStringList list;
  for (const auto& a : args) list << QString::fromLocal8Bit(a.c_str());
  if (!workingDir.empty()) p.setWorkingDirectory(QString::fromLocal8Bit(workingDir.c_str()));
  p.start(TAL_TALBATCH_PATH, list);
  p.waitForFinished(120000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
          p.readAllStandardError().toStdString()};
}

void EnsureQtApplication() {
  if (QCoreApplication::instance()) return;
  // A QGuiApplication on the offscreen platform whoever asks first: a test that lays out or paints
  // text must find one even when a test needing only an event loop ran before it in this process.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "taltest";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as the programs do after creating their application
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return done();
}

namespace {

class ProcessStateListener : public ::testing::EmptyTestEventListener {
 public:
  void add(const std::string& what, std::function<std::string()> describe) { checks_.push_back({what, std::move(describe), {}}); }
  void OnTestStart(const ::testing::TestInfo&) override {
    for (Check& check : checks_) check.before = check.describe();
  }
  void OnTestEnd(const ::testing::TestInfo& test) override {
    for (Check& check : checks_) {
      std::string after = check.describe();
      // Reported as a failure of the test that changed it.
      if (after != check.before)
        ADD_FAILURE() << test.test_suite_name() << "." << test.name() << " left " << check.what << " changed: "
                      << check.before << " -> " << after;
    }
  }

 private:
  struct Check {
    std::string what;
    std::function<std::string()> describe;
    std::string before;
  };
  std::vector<Check> checks_;
};

ProcessStateListener& Listener() {
  static ProcessStateListener* listener = [] {
    auto* created = new ProcessStateListener;  // owned by gtest once appended
    ::testing::UnitTest::GetInstance()->listeners().Append(created);
    return created;
  }();
  return *listener;
}

const bool processStateChecked = [] {
  AddProcessStateCheck("the current folder", [] {
    std::error_code ec;
    return fs::current_path(ec).string();
  });
  AddProcessStateCheck("the installed interaction", [] {
    std::ostringstream out;
    out << &tal::interaction();
    return out.str();
  });
  AddProcessStateCheck("the program's path and mode", [] {
    return tal::Program().path + "|" + tal::Program().directory + "|" + (tal::Program().talkitMode ? "talkit" : "shell");
  });
  AddProcessStateCheck("the number locale", [] { return std::string(std::setlocale(LC_NUMERIC, nullptr)); });
  return true;
}();

}  // namespace

void AddProcessStateCheck(const std::string& what, std::function<std::string()> describe) {
  Listener().add(what, std::move(describe));
}

}  // namespace taltest
