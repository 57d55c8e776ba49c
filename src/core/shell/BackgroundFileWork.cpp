#include "shell/BackgroundFileWork.h"

#include <algorithm>

namespace tal {

namespace {
constexpr std::size_t ReadPiece = FileBytes::ReadPiece;
// How much a search looks at between two looks whether it was stopped.
constexpr std::size_t SearchStep = 1024 * 1024;
}  // namespace

BackgroundLineScan::BackgroundLineScan(std::shared_ptr<const FileBytes> file, LineScan start, std::uint64_t size,
                                       std::function<void(Delivery)> deliver, std::size_t sliceBytes) {
  worker_ = std::jthread([file = std::move(file), start, size, deliver = std::move(deliver), sliceBytes](std::stop_token stop) {
    std::vector<char> buffer(ReadPiece);
    Delivery delivery{start, start, {}, false};
    std::uint64_t sliceEnd = start.indexed + sliceBytes;
    while (!stop.stop_requested()) {
      LineScan& scan = delivery.to;
      std::uint64_t left = size - std::min(size, scan.indexed);
      std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>({ReadPiece, left, sliceEnd - scan.indexed}));
      std::size_t got = want ? file->Read(scan.indexed, buffer.data(), want) : 0;
      if (got) scan.Scan(buffer.data(), got, delivery.added);
      delivery.atEnd = got < want || scan.indexed >= size;
      if (delivery.atEnd || scan.indexed >= sliceEnd) {
        LineScan next = scan;
        bool atEnd = delivery.atEnd;
        deliver(std::move(delivery));
        if (atEnd) return;
        delivery = Delivery{next, next, {}, false};
        sliceEnd = next.indexed + sliceBytes;
      }
    }
  });
}

BackgroundSearch::BackgroundSearch(std::shared_ptr<const FileBytes> file, std::uint64_t size, FileSearchRequest request,
                                   std::function<void(std::optional<std::uint64_t>)> done) {
  worker_ = std::jthread([search = std::make_shared<TextFileSearch>(std::move(file), size, std::move(request)),
                          done = std::move(done)](std::stop_token stop) {
    TextFileSearch::State state = TextFileSearch::State::Running;
    while (state == TextFileSearch::State::Running) {
      if (stop.stop_requested()) return;
      state = search->Step(SearchStep);
    }
    if (state == TextFileSearch::State::Found)
      done(search->foundOffset());
    else
      done(std::nullopt);
  });
}

}  // namespace tal
