// The viewer on the output a long simulation leaves (a generated 200 MB file in /tmp, kept between
// runs and never committed): the first screen, indexing to the end, scrolling to the end and a
// search through the whole file, with the longest time the window's event loop was held and the
// memory the process grew by; taking in what a run appends to a 100 MB file. And typing into a 10,000-line deck editor with colours and line
// numbers.
//
// The index and the search on their own, without a window, beside the tools a user would compare
// them with: `wc -l` and `grep -F` (with -i when case does not matter) run as whole processes on
// the same file in the same benchmark program (the "Anchor" cases), so each ratio is taken from one
// run on one machine.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextBlock>
#include <filesystem>
#include <fstream>
#include <string>

#include <QAbstractEventDispatcher>
#include <QEventLoop>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "shell/EditForm.h"
#include "shell/TextFileIndex.h"
#include "shell/TextFileSearch.h"
#include "shell/ViewForm.h"

using namespace tal;

extern char** environ;

namespace {

void EnsureApplication() {
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "talbench";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

constexpr std::uint64_t BigFileBytes = 200ull * 1024 * 1024;
const char* const EndMarker = "END OF RUN: SIMULATION COMPLETE";

// A 200 MB output file of engine-like rows, generated once; its last line is the end marker.
const std::string& BigOutputFile() {
  static const std::string path = [] {
    std::filesystem::create_directories("/tmp/talshell-viewer-bench");
    std::string file = "/tmp/talshell-viewer-bench/BIG.OUT";
    std::error_code ec;
    auto size = std::filesystem::file_size(file, ec);
    if (ec || size < BigFileBytes) {
      std::ofstream out(file, std::ios::binary);
      char row[160];
      std::uint64_t written = 0;
      for (long i = 0; written < BigFileBytes; ++i) {
        int n = std::snprintf(row, sizeof row, " %12.4f  %14.6E  %14.6E  %14.6E  %10ld\n", i * 0.25, 20.0 + (i % 977) * 0.01,
                              0.35 + (i % 13) * 0.001, 1234.5 + (i % 101), i);
        out.write(row, n);
        written += static_cast<std::uint64_t>(n);
      }
      out << EndMarker << "\n";
    }
    return file;
  }();
  return path;
}

// Drops the file's pages from the page cache, so the next read comes from the disk.
void EvictFromCache(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  ::fdatasync(fd);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

// Runs the event loop until `done`; returns the longest single pass in milliseconds (how long the
// window was held at worst).
template <typename Done>
double RunEventLoopUntil(Done done) {
  double longest = 0;
  QElapsedTimer pass;
  while (!done()) {
    pass.start();
    QApplication::processEvents(QEventLoop::AllEvents);
    longest = std::max(longest, pass.nsecsElapsed() / 1e6);
  }
  return longest;
}

// Runs the event loop until `finished` is called, sleeping while there is nothing to do (a loop
// that polls would take a processor from the worker it waits for); returns the longest time one
// wake-up held the loop, in milliseconds.
template <typename Start>
double RunEventLoopUntilCalled(Start start) {
  QEventLoop loop;
  QElapsedTimer pass;
  double longest = 0;
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  auto awake = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] { pass.start(); });
  auto asleep = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [&] {
    if (pass.isValid()) longest = std::max(longest, pass.nsecsElapsed() / 1e6);
  });
  bool called = false;
  start([&] {
    called = true;
    loop.quit();
  });
  if (!called) loop.exec();
  QObject::disconnect(awake);
  QObject::disconnect(asleep);
  return longest;
}

std::unique_ptr<TViewForm> OpenViewer() {
  auto viewer = std::make_unique<TViewForm>(nullptr, BigOutputFile(), KindCode::Output);
  viewer->resize(900, 700);
  viewer->show();
  return viewer;
}

// state.range(0): 1 = the file comes from the disk (evicted from the page cache first).
void BM_ViewerFirstScreen(benchmark::State& state) {
  EnsureApplication();
  BigOutputFile();
  for (auto _ : state) {
    if (state.range(0)) {
      state.PauseTiming();
      EvictFromCache(BigOutputFile());
      state.ResumeTiming();
    }
    auto viewer = OpenViewer();
    QImage screen = viewer->grab().toImage();  // the first screen, painted
    benchmark::DoNotOptimize(screen.constBits());
    state.counters["lines_shown"] = viewer->view()->visibleLineCount();
  }
}
BENCHMARK(BM_ViewerFirstScreen)->ArgName("cold")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ViewerIndexWholeFile(benchmark::State& state) {
  EnsureApplication();
  BigOutputFile();
  double held = 0;
  long grown = 0;
  std::size_t lines = 0, indexBytes = 0;
  for (auto _ : state) {
    if (state.range(0)) {
      state.PauseTiming();
      EvictFromCache(BigOutputFile());
      state.ResumeTiming();
    }
    long before = ResidentKilobytes();
    auto viewer = OpenViewer();
    held = std::max(held, RunEventLoopUntil([&] { return viewer->view()->index().complete(); }));
    grown = ResidentKilobytes() - before;
    lines = viewer->view()->index().lineCount();
    indexBytes = viewer->view()->index().memoryUse();
  }
  state.counters["file_MB"] = BigFileBytes / 1048576.0;
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["max_event_loop_hold_ms"] = held;
  state.counters["rss_growth_MB"] = grown / 1024.0;
  state.counters["index_MB"] = indexBytes / 1048576.0;
}
BENCHMARK(BM_ViewerIndexWholeFile)->ArgName("cold")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ViewerScrollToEnd(benchmark::State& state) {
  EnsureApplication();
  BigOutputFile();
  double held = 0;
  for (auto _ : state) {
    auto viewer = OpenViewer();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(viewer->view(), &end);
    TTextFileView* view = viewer->view();
    held = std::max(held, RunEventLoopUntil([&] {
                      return view->index().complete() &&
                             view->firstVisibleLine() + view->visibleLineCount() >= view->index().lineCount();
                    }));
    QImage screen = viewer->grab().toImage();  // the last screen, painted
    benchmark::DoNotOptimize(screen.constBits());
  }
  state.counters["max_event_loop_hold_ms"] = held;
}
BENCHMARK(BM_ViewerScrollToEnd)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ViewerSearchToEnd(benchmark::State& state) {
  EnsureApplication();
  BigOutputFile();
  double held = 0;
  long grown = 0;
  bool found = false;
  for (auto _ : state) {
    long before = ResidentKilobytes();
    auto viewer = OpenViewer();
    std::optional<bool> result;
    held = std::max(held, RunEventLoopUntilCalled([&](auto finished) {
                      viewer->view()->StartFind("end of run", false, true, [&, finished](bool f) {
                        result = f;
                        finished();
                      });
                    }));
    found = result.value_or(false) && viewer->view()->anchor().line + 1 == viewer->view()->index().lineCount();
    grown = ResidentKilobytes() - before;
  }
  state.counters["found_on_last_line"] = found;
  state.counters["max_event_loop_hold_ms"] = held;
  state.counters["rss_growth_MB"] = grown / 1024.0;
}
BENCHMARK(BM_ViewerSearchToEnd)->Unit(benchmark::kMillisecond)->Iterations(5);

// The index of the whole file built in this thread, as printing or a search's match needs it.
void BM_CoreLineIndex(benchmark::State& state) {
  BigOutputFile();
  std::size_t lines = 0;
  for (auto _ : state) {
    TextFileIndex index;
    index.Open(BigOutputFile());
    index.IndexThrough(index.size());
    lines = index.lineCount();
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_CoreLineIndex)->Unit(benchmark::kMillisecond)->Iterations(5);

// A text the file does not hold, or one of its last line (as written there when case matters).
std::string SearchText(const benchmark::State& state) {
  const bool nearEnd = state.range(0) != 0, matchCase = state.range(1) != 0;
  if (!nearEnd) return "convergence warning";
  return matchCase ? "END OF RUN" : "end of run";
}

// state.range(0): 0 the absent text, 1 the text near the end; range(1): 1 match case.
void BM_CoreSearch(benchmark::State& state) {
  BigOutputFile();
  const std::string text = SearchText(state);
  const bool matchCase = state.range(1) != 0;
  TextFileIndex index;
  index.Open(BigOutputFile());
  bool found = false;
  for (auto _ : state) {
    // In the steps the viewer's worker takes.
    TextFileSearch search(index, {text, matchCase, true, 0});
    while (search.Step(1024 * 1024) == TextFileSearch::State::Running) {
    }
    found = search.state() == TextFileSearch::State::Found;
  }
  state.counters["found"] = found;
}
BENCHMARK(BM_CoreSearch)->ArgNames({"near_end", "match_case"})->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(5);

// Runs `argv` as a process with its output to a file (not /dev/null, which a tool may notice and
// stop at its first match) and waits for it; returns the processor time it took, in milliseconds
// (to compare with the CPU column of the in-process cases when the machine is busy).
double RunProcess(benchmark::State& state, std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/tmp/talshell-viewer-bench/anchor.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) state.SkipWithError("cannot start the anchor");
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  struct rusage usage {};
  if (pid > 0) ::wait4(pid, &status, 0, &usage);
  auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void RunAnchor(benchmark::State& state, const std::vector<std::string>& args) {
  double cpu = 0;
  for (auto _ : state) cpu += RunProcess(state, args);
  state.counters["process_cpu_ms"] = cpu / static_cast<double>(state.iterations());
}

void BM_AnchorWcLines(benchmark::State& state) {
  RunAnchor(state, {"wc", "-l", BigOutputFile()});
}
BENCHMARK(BM_AnchorWcLines)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AnchorGrep(benchmark::State& state) {
  const bool matchCase = state.range(1) != 0;
  RunAnchor(state, {"grep", "-F", matchCase ? "-c" : "-ic", SearchText(state), BigOutputFile()});
}
BENCHMARK(BM_AnchorGrep)->ArgNames({"near_end", "match_case"})->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(5);

// A run appends to an output file a viewer shows: the viewer takes in a 1 KB append to a 100 MB
// file it has indexed by extending the index ("extend" 1), where reading the file anew (0) would
// index all of it again.
void BM_ViewerTakesInAnAppend(benchmark::State& state) {
  const std::string path = "/tmp/talshell-viewer-bench/GROWING.OUT";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string row = "   1234.5000    2.012345E+01    3.510000E-01    1.234500E+03       12345\n";
    for (std::uint64_t written = 0; written < BigFileBytes / 2; written += row.size()) out << row;
  }
  TextFileIndex index;
  index.Open(path);
  index.IndexThrough(index.size());
  const std::string appended = std::string(1023, 'x') + "\n";
  for (auto _ : state) {
    std::ofstream(path, std::ios::binary | std::ios::app) << appended;
    if (state.range(0) == 0 || !index.Extend()) index.Open(path);
    index.IndexThrough(index.size());
  }
  state.counters["file_MB"] = static_cast<double>(index.size()) / 1048576.0;
  state.counters["lines"] = static_cast<double>(index.lineCount());
}
BENCHMARK(BM_ViewerTakesInAnAppend)->ArgName("extend")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(20);

// One keystroke in the middle of a 10,000-line deck, colours and line numbers on, repainted.
void BM_DeckEditorKeystroke(benchmark::State& state) {
  EnsureApplication();
  std::string deck;
  for (int unit = 0; unit < 2000; ++unit) {
    deck += "* unit " + std::to_string(unit) + "\n";
    deck += "UNIT " + std::to_string(unit) + " TYPE 1 Collector\n";
    deck += "PARAMETERS 2\n";
    deck += "AREA 0.8\n";
    deck += "INPUTS 2\n";
  }
  TEditForm editor(nullptr, KindCode::DeckEditor);
  editor.setText(deck.substr(0, deck.size() - 1));
  editor.resize(900, 700);
  editor.show();
  QTextCursor middle(editor.editor()->document()->findBlockByNumber(editor.editor()->blockCount() / 2));
  editor.editor()->setTextCursor(middle);
  editor.editor()->setFocus();
  QApplication::processEvents();
  for (auto _ : state) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(editor.editor(), &press);
    QApplication::processEvents();  // highlighting, gutter and repaint
    editor.editor()->viewport()->repaint();
  }
  state.counters["lines"] = editor.editor()->blockCount();
  state.counters["highlighted"] = editor.highlighted();
}
BENCHMARK(BM_DeckEditorKeystroke)->Unit(benchmark::kMicrosecond)->Iterations(300);

}  // namespace
