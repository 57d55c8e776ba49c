// The engine's progress lines on standard output, and the rows its result files hold when it
// writes one.
#include <gtest/gtest.h>

#include <functional>
#include <streambuf>

#include "EngineTestSupport.h"

namespace talpix::test {
namespace {

using taltest::TempDir;

// A mass cooling from 90 C, plotted every half hour up to hour 3.
const std::string CoolingDeck =
    "SIMULATION 0 3 0.5\nUNIT 1 TYPE 1 Mass\nPARAMETERS 2\n2 0.5\nINPUTS 2\n0,0 0,0\n10 0\nDERIVATIVES 1\n90\n"
    "UNIT 2 TYPE 65 Plot\nPARAMETERS 3\n0.5 0 1000\nINPUTS 1\n1,1\nT\nEND\n";

// Hands each line written to it to `line`, as a program reading the engine's output sees it.
class LineSink : public std::streambuf {
 public:
  explicit LineSink(std::function<void(const std::string&)> line) : line_(std::move(line)) {}

 protected:
  int overflow(int c) override {
    if (c == '\n') {
      line_(text_);
      text_.clear();
    } else if (c != traits_type::eof()) {
      text_ += static_cast<char>(c);
    }
    return c;
  }

 private:
  std::function<void(const std::string&)> line_;
  std::string text_;
};

TEST(EngineRun, ProgressLinesFollowTheRunAndTheFilesHoldEveryRowSoFar) {
  TempDir dir;
  std::string deck = dir.write("P.DCK", CoolingDeck);
  std::vector<std::string> progress;
  LineSink sink([&](const std::string& line) {
    if (line.rfind("progress ", 0) != 0) return;
    progress.push_back(line);
    // Every row up to the time reported, and never a part of a row.
    std::string plot = taltest::ReadFile(dir.file("P.PLT"));
    double time = std::stod(line.substr(9));
    ASSERT_FALSE(plot.empty());
    EXPECT_EQ(plot.back(), '\n') << line;
    EXPECT_EQ(DataRows(plot).size(), static_cast<std::size_t>(time / 0.5) + 1) << line;
  });
  std::ostream out(&sink);
  std::ostringstream err;
  RunControl everyStep;
  everyStep.progressSeconds = 0;
  ASSERT_EQ(RunEngine({deck}, out, err, everyStep), 0) << err.str();
  const std::vector<std::string> expected{"progress 0.5 0 3", "progress 1 0 3", "progress 1.5 0 3", "progress 2 0 3",
                                          "progress 2.5 0 3", "progress 3 0 3", "progress 3 0 3"};
  EXPECT_EQ(progress, expected);

  // At the usual pace a run this short reports only its end.
  EngineRun r = RunDeck(dir, "Q.DCK", CoolingDeck);
  EXPECT_NE(r.out.find("\nprogress 3 0 3\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("progress 2.5"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace talpix::test
