// The viewer's line index of listings and output files: any file is indexed in slices of any
// size; the lines it gives are the file's lines, and the last one reaches the end of the file.
#include <algorithm>

#include "FuzzSupport.h"
#include "shell/TextFileIndex.h"
#include "support/Files.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  std::size_t slice = 1 + data[0] % 64;  // the first byte chooses the slice size
  std::string_view bytes = talfuzz::Bytes(data + 1, size - 1);
  TextFileIndex index;
  if (!index.Open(talfuzz::WriteScratch("A.LST", bytes)).empty()) talfuzz::Fail("a plain file did not open");
  while (!index.IndexMore(slice)) {
  }
  std::vector<std::string> expected = SplitLines(bytes);
  if (index.lineCount() != expected.size()) talfuzz::Fail("the line count differs from the file's");
  for (std::size_t n = 0; n < expected.size(); ++n) {
    std::string wanted = expected[n].substr(0, TextFileIndex::MaxShownLine);
    if (index.Line(n) != wanted) talfuzz::Fail("line " + std::to_string(n) + " differs from the file's");
    if (index.LineAt(index.LineStart(n)) != n) talfuzz::Fail("a line's start lies in another line");
  }
  std::vector<std::string> all = index.Lines(0, expected.size() + 1);
  if (all.size() != expected.size()) talfuzz::Fail("reading every line gives another count");
  // Scanning whole blocks, 16 or 32 bytes compared at once, gives what a scan byte by byte gives.
  LineScan byByte;
  std::vector<LineCheckpoint> byByteAdded;
  for (char c : bytes) byByte.Scan(&c, 1, byByteAdded);
  for (ByteLanes lanes : {ByteLanes::Baseline, ByteLanes::Avx2}) {
    LineScan whole;
    std::vector<LineCheckpoint> added;
    whole.Scan(bytes.data(), bytes.size(), added, lanes);
    const bool sameCheckpoints = std::equal(added.begin(), added.end(), byByteAdded.begin(), byByteAdded.end(),
                                            [](const LineCheckpoint& a, const LineCheckpoint& b) {
                                              return a.line == b.line && a.offset == b.offset;
                                            });
    if (whole.lines != byByte.lines || whole.longest != byByte.longest || whole.lastLineStart != byByte.lastLineStart ||
        !sameCheckpoints)
      talfuzz::Fail("a scan of whole blocks differs from a scan byte by byte");
  }
  return 0;
}
