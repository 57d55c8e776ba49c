#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "TestSupport.h"
#include "shell/BackgroundFileWork.h"
#include "support/Files.h"

using namespace tal;

namespace {

std::string ManyLines(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += "row " + std::to_string(i) + std::string(i % 50, '.') + "\n";
  return bytes + "unterminated last line";
}

// Collects deliveries from the worker thread.
struct Inbox {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<BackgroundLineScan::Delivery> deliveries;
  bool ended = false;
  void Take(BackgroundLineScan::Delivery d) {
    std::lock_guard lock(mutex);
    ended = ended || d.atEnd;
    deliveries.push_back(std::move(d));
    changed.notify_all();
  }
  void WaitForEnd() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return ended; });
  }
};

}  // namespace

TEST(BackgroundLineScan, ItsDeliveriesBuildTheSameIndexAsScanningHere) {
  std::string bytes = ManyLines(30000);
  taltest::TempDir dir;
  std::string path = dir.write("A.OUT", bytes);
  TextFileIndex index;
  ASSERT_EQ(index.Open(path), "");
  index.IndexMore(1000);  // the first screen, here
  Inbox inbox;
  {
    BackgroundLineScan scan(index.file(), index.scan(), index.size(),
                            [&](BackgroundLineScan::Delivery d) { inbox.Take(std::move(d)); }, 64 * 1024);
    inbox.WaitForEnd();
  }
  ASSERT_GT(inbox.deliveries.size(), 3u) << "reported in slices";
  for (auto& d : inbox.deliveries) EXPECT_TRUE(index.Apply(d.from, d.to, d.added, d.atEnd));
  EXPECT_TRUE(index.complete());
  EXPECT_EQ(index.Lines(0, index.lineCount() + 1), SplitLines(bytes));
  EXPECT_EQ(index.Line(29999), "row 29999" + std::string(29999 % 50, '.'));
  EXPECT_FALSE(index.Apply(inbox.deliveries[0].from, inbox.deliveries[0].to, {}, false)) << "a stale report is ignored";
}

TEST(BackgroundLineScan, StoppingItEarlyIsSafe) {
  std::string bytes = ManyLines(200000);
  taltest::TempDir dir;
  TextFileIndex index;
  ASSERT_EQ(index.Open(dir.write("A.OUT", bytes)), "");
  int deliveries = 0;
  {
    BackgroundLineScan scan(index.file(), index.scan(), index.size(), [&](BackgroundLineScan::Delivery) { ++deliveries; }, 4096);
  }  // destroyed at once: the worker stops and is joined
  EXPECT_FALSE(index.complete());
}

TEST(BackgroundSearch, FindsWhatTheSearchFindsHere) {
  std::string bytes = ManyLines(20000) + "\nTHE END\n";
  taltest::TempDir dir;
  TextFileIndex index;
  ASSERT_EQ(index.Open(dir.write("A.OUT", bytes)), "");
  for (const std::string& text : {std::string("the end"), std::string("row 1234."), std::string("absent")}) {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<std::optional<std::uint64_t>> result;
    BackgroundSearch search(index.file(), index.size(), {text, false, true, 0}, [&](std::optional<std::uint64_t> at) {
      std::lock_guard lock(mutex);
      result = at;
      changed.notify_all();
    });
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return result.has_value(); });
    TextFileSearch here(index, {text, false, true, 0});
    std::optional<std::uint64_t> expected;
    if (here.Run() == TextFileSearch::State::Found) expected = here.foundOffset();
    EXPECT_EQ(*result, expected) << text;
  }
}
