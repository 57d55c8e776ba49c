#include "plot/SpfFile.h"

#include <cstring>
#include <filesystem>

#include "support/Files.h"
#include "support/RealCodecs.h"

namespace tal {

namespace {

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}
  void Int32(std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) out_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
  }
  void Int16(std::int16_t v) {
    auto u = static_cast<std::uint16_t>(v);
    out_.push_back(static_cast<char>(u & 0xFF));
    out_.push_back(static_cast<char>(u >> 8));
  }
  void Byte(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void Zeros(std::size_t n) { out_.append(n, '\0'); }
  // A short string of at most `capacity` characters: the length byte, the characters, zeros.
  void Short(const std::string& s, std::size_t capacity) {
    std::size_t n = std::min(s.size(), capacity);
    Byte(static_cast<std::uint8_t>(n));
    out_.append(s, 0, n);
    Zeros(capacity - n);
  }
  void Extended(Real v) { AppendExtended(out_, v); }
  void Format(const TAxisFormat& f) {
    Byte(f.Fixed);
    Byte(0);
    Int16(f.Digits);
  }
  void Real48Value(double v) {
    Real48 b = EncodeReal48(v);
    out_.append(reinterpret_cast<const char*>(b.data()), b.size());
  }

 private:
  std::string& out_;
};

void WriteLine(Writer& w, const TPlotLine& line) {
  w.Int32(line.PointCount);
  w.Int32(line.FileRows);
  w.Int32(line.RowsAdjustable);
  w.Int32(line.LineNo);
  w.Int32(line.XCol);
  w.Int32(line.YCol);
  w.Short(line.XName, 20);
  w.Short(line.YName, 20);
  w.Short(line.XUnit, 20);
  w.Short(line.YUnit, 20);
  w.Int32(0);  // the value arrays live in memory only
  w.Int32(0);
  w.Int32(line.FromRow);
  w.Int32(line.ToRow);
  w.Int32(line.LineStyle);
  w.Int32(line.Symbol);
  w.Int32(line.Color);
  w.Byte(line.Smooth);
  w.Byte(0);
  w.Zeros(2 + 16);
}

// Reads fixed fields at known offsets of a record whose length was checked before.
class Reader {
 public:
  Reader(std::string_view bytes, std::size_t base) : p_(reinterpret_cast<const unsigned char*>(bytes.data()) + base) {}
  std::int32_t Int32(std::size_t at) const {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | p_[at + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(u);
  }
  std::int16_t Int16(std::size_t at) const {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p_[at] | (p_[at + 1] << 8)));
  }
  std::uint8_t Byte(std::size_t at) const { return p_[at]; }
  // False when the length byte claims more than the field holds.
  bool Short(std::size_t at, std::size_t capacity, std::string& s) const {
    std::size_t n = p_[at];
    if (n > capacity) return false;
    s.assign(reinterpret_cast<const char*>(p_ + at + 1), n);
    return true;
  }
  Real Extended(std::size_t at) const { return DecodeExtended(p_ + at); }
  TAxisFormat Format(std::size_t at) const { return {Byte(at), Int16(at + 2)}; }

 private:
  const unsigned char* p_;
};

bool ReadLine(const Reader& r, TPlotLine& line) {
  line.PointCount = r.Int32(0);
  line.FileRows = r.Int32(4);
  line.RowsAdjustable = r.Int32(8);
  line.LineNo = r.Int32(12);
  line.XCol = r.Int32(16);
  line.YCol = r.Int32(20);
  if (!r.Short(24, 20, line.XName) || !r.Short(45, 20, line.YName) || !r.Short(66, 20, line.XUnit) ||
      !r.Short(87, 20, line.YUnit))
    return false;
  line.FromRow = r.Int32(116);
  line.ToRow = r.Int32(120);
  line.LineStyle = r.Int32(124);
  line.Symbol = r.Int32(128);
  line.Color = r.Int32(132);
  line.Smooth = r.Byte(136);
  return true;
}

}  // namespace

std::string EncodeSpf(const std::string& caption, const TPlotInfo& info) {
  std::string out;
  std::size_t total = SpfCaptionSize + PlotInfoSize;
  for (const TPlotLine& line : info.Lines) total += PlotLineSize + 12 * line.XValues.size();
  out.reserve(total);
  Writer w(out);
  w.Short(caption, SpfCaptionSize - 1);

  const int count = std::min(info.LineCount(), MaxPlotLines);
  w.Int32(count);
  w.Zeros(256);
  w.Short(info.XLabel, MaxAxisLabelLength);
  w.Short(info.YLabel, MaxAxisLabelLength);
  w.Extended(info.XMin);
  w.Extended(info.YMin);
  w.Extended(info.XMax);
  w.Extended(info.YMax);
  w.Byte(info.XGrid);
  w.Byte(info.YGrid);
  w.Int32(info.XMinorTicks);
  w.Int32(info.YMinorTicks);
  w.Int32(info.XTicks);
  w.Int32(info.YTicks);
  w.Byte(info.XLog);
  w.Byte(info.YLog);
  w.Format(info.XFormat);
  w.Format(info.YFormat);
  w.Byte(info.ShowLegend);
  w.Byte(info.XTimeLabels);
  for (int k = 0; k < MaxPlotLines; ++k) {
    if (k < count)
      WriteLine(w, info.Lines[static_cast<std::size_t>(k)]);
    else
      w.Zeros(PlotLineSize);
  }
  w.Zeros(28);

  for (int k = 0; k < count; ++k) {
    const TPlotLine& line = info.Lines[static_cast<std::size_t>(k)];
    WriteLine(w, line);
    for (std::int32_t i = 0; i < line.PointCount; ++i)
      w.Real48Value(static_cast<std::size_t>(i) < line.XValues.size() ? line.XValues[static_cast<std::size_t>(i)] : 0);
    for (std::int32_t i = 0; i < line.PointCount; ++i)
      w.Real48Value(static_cast<std::size_t>(i) < line.YValues.size() ? line.YValues[static_cast<std::size_t>(i)] : 0);
  }
  return out;
}

SpfContent DecodeSpf(std::string_view bytes, const std::string& fileName) {
  SpfContent content;
  auto refuse = [&](const std::string& why) {
    content = SpfContent{};
    content.error = fileName + " is not a valid TALSHELL plot file: " + why + ".";
    return content;
  };
  if (bytes.size() < SpfCaptionSize + PlotInfoSize) return refuse("the file is too short");
  Reader head(bytes, 0);
  head.Short(0, SpfCaptionSize - 1, content.caption);

  Reader r(bytes, SpfCaptionSize);
  const std::int32_t count = r.Int32(0);
  if (count < 0 || count > MaxPlotLines)
    return refuse("it claims " + std::to_string(count) + " curves (at most " + std::to_string(MaxPlotLines) + ")");
  TPlotInfo& info = content.info;
  if (!r.Short(260, MaxAxisLabelLength, info.XLabel) || !r.Short(291, MaxAxisLabelLength, info.YLabel))
    return refuse("an axis title is longer than its field");
  info.XMin = r.Extended(322);
  info.YMin = r.Extended(332);
  info.XMax = r.Extended(342);
  info.YMax = r.Extended(352);
  info.XGrid = r.Byte(362);
  info.YGrid = r.Byte(363);
  info.XMinorTicks = r.Int32(364);
  info.YMinorTicks = r.Int32(368);
  info.XTicks = r.Int32(372);
  info.YTicks = r.Int32(376);
  info.XLog = r.Byte(380);
  info.YLog = r.Byte(381);
  info.XFormat = r.Format(382);
  info.YFormat = r.Format(386);
  info.ShowLegend = r.Byte(390);
  info.XTimeLabels = r.Byte(391) <= 2 ? r.Byte(391) : 0;

  // Every curve's record and values must lie inside the file before anything is allocated.
  std::size_t offset = SpfCaptionSize + PlotInfoSize;
  for (std::int32_t k = 1; k <= count; ++k) {
    if (bytes.size() - offset < PlotLineSize) return refuse("curve " + std::to_string(k) + " is missing");
    const std::int32_t points = Reader(bytes, offset).Int32(0);
    const std::size_t left = bytes.size() - offset - PlotLineSize;
    if (points < 0 || static_cast<std::uint64_t>(points) * 12 > left)
      return refuse("curve " + std::to_string(k) + " claims " + std::to_string(points) +
                    " points, more than the file holds");
    offset += PlotLineSize + static_cast<std::size_t>(points) * 12;
  }
  if (offset != bytes.size()) return refuse("it holds bytes after its last curve");

  offset = SpfCaptionSize + PlotInfoSize;
  info.Lines.resize(static_cast<std::size_t>(count));
  for (TPlotLine& line : info.Lines) {
    // The record before the values is the one kept; the copy inside the description is not read.
    if (!ReadLine(Reader(bytes, offset), line)) return refuse("a curve's name is longer than its field");
    offset += PlotLineSize;
    const auto n = static_cast<std::size_t>(line.PointCount);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + offset;
    line.XValues.resize(n);
    line.YValues.resize(n);
    for (std::size_t i = 0; i < n; ++i) line.XValues[i] = static_cast<double>(DecodeReal48(p + 6 * i));
    for (std::size_t i = 0; i < n; ++i) line.YValues[i] = static_cast<double>(DecodeReal48(p + 6 * (n + i)));
    offset += 12 * n;
  }
  return content;
}

SpfContent ReadSpfFile(const std::string& fileName) {
  std::optional<std::string> bytes = ReadWholeFile(fileName);
  if (!bytes) {
    SpfContent content;
    content.error = fileName + " cannot be opened for reading.";
    return content;
  }
  return DecodeSpf(*bytes, fileName);
}

std::string WriteSpfFile(const std::string& fileName, const std::string& caption, const TPlotInfo& info) {
  return WriteFileAtomically(fileName, EncodeSpf(caption, info));
}

}  // namespace tal
