#include "plot/PlotData.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <locale.h>

#include <QFile>

#include "support/RealCodecs.h"
#include "support/Text.h"

namespace tal {

int TColumnTable::ColumnIndex(std::string_view name) const {
  for (std::size_t i = 0; i < ColName.size(); ++i)
    if (ColName[i] == name) return static_cast<int>(i);
  return -1;
}

std::string NextToken(std::string& line) {
  std::size_t position = line.find_first_of(" ,\t");
  std::string token = line.substr(0, position);
  line = position == std::string::npos ? std::string() : TrimShort(line.substr(position + 1));
  return token;
}

double StoredPlotValue(Real value) { return static_cast<double>(RoundToReal48(value)); }

namespace {

// Rounds a double to the nearest 6-byte real: the 52-bit fraction keeps its top 39 bits, a half
// unit of the last place rounding away from zero. Returns false when the double lies exactly on
// such a half: the decimal text it came from may lie just below it, so the caller reads the text
// again in extended precision.
bool RoundDoubleToReal48(double value, double& stored) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const std::uint64_t sign = bits & (std::uint64_t{1} << 63);
  int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (exponent == 0) {  // zero or far below the 6-byte range
    stored = 0;
    return true;
  }
  if (exponent == 0x7FF) return false;  // infinities and NaN: the careful path decides
  constexpr std::uint64_t Dropped = (std::uint64_t{1} << 13) - 1;
  constexpr std::uint64_t Half = std::uint64_t{1} << 12;
  if ((fraction & Dropped) == Half) return false;
  fraction += Half;
  fraction &= ~Dropped;
  if (fraction >> 52) {  // the rounding carried into the next power of two
    fraction = 0;
    ++exponent;
  }
  const int unbiased = exponent - 1023;
  if (unbiased < -128) {
    stored = 0;
    return true;
  }
  if (unbiased > 126) return false;  // beyond the 6-byte range: clamped on the careful path
  bits = sign | (static_cast<std::uint64_t>(exponent) << 52) | fraction;
  std::memcpy(&stored, &bits, sizeof stored);
  return true;
}

// The text read in extended precision, as the C locale writes numbers.
Real ParseExtended(std::string_view token) {
  static locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
  char buffer[MaxPlotNumberLength + 1];
  std::size_t n = std::min(token.size(), MaxPlotNumberLength);
  std::memcpy(buffer, token.data(), n);
  buffer[n] = '\0';
  return strtold_l(buffer, nullptr, c);
}

// [sign]digits[.digits][(E|e)[sign]digits], with digits on at least one side of the point.
bool IsDecimalReal(std::string_view s) {
  std::size_t i = 0, n = s.size();
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == 'E' || s[i] == 'e')) {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == n;
}

}  // namespace

double ReadPlotNumber(std::string_view token) {
  const char* begin = token.data();
  const char* end = begin + token.size();
  std::string_view unsigned_ = token;
  if (begin != end && *begin == '+') ++begin, unsigned_.remove_prefix(1);
  double value = 0;
  auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
  if (ptr == end && ec == std::errc()) {
    // from_chars also takes "inf", "nan" and a lone point's neighbours; the data format does not.
    char first = *(begin == end ? begin : (*begin == '-' ? begin + 1 : begin));
    if ((first >= '0' && first <= '9') || first == '.') {
      double stored;
      if (RoundDoubleToReal48(value, stored)) return stored;
      return StoredPlotValue(ParseExtended(token));
    }
    return 0;
  }
  if (!IsDecimalReal(token)) return 0;
  return StoredPlotValue(ParseExtended(token));  // beyond the range of a double
}

namespace {

// Short decimal numbers as the engine writes them ("2.854907E+01"), converted without the general
// parser: with at most 15 digits and a power of ten of at most 22, the digits and the power are both
// exact doubles and one multiplication or division of them is the correctly rounded value of the
// text. Anything else (longer numbers, larger powers, other forms) returns false.
bool ReadShortDecimal(const char* s, const char* end, double& value) {
  static constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  auto digitAt = [&](const char* q) { return static_cast<unsigned>(*q - '0'); };
  const bool negative = s < end && *s == '-';
  if (s < end && (*s == '-' || *s == '+')) ++s;
  std::uint64_t digits = 0;
  int count = 0, power = 0;
  for (; s < end && digitAt(s) < 10; ++s, ++count) digits = digits * 10 + digitAt(s);
  if (s < end && *s == '.')
    for (++s; s < end && digitAt(s) < 10; ++s, ++count, --power) digits = digits * 10 + digitAt(s);
  if (count == 0 || count > 15) return false;
  if (s < end && (*s == 'E' || *s == 'e')) {
    ++s;
    const bool negativePower = s < end && *s == '-';
    if (s < end && (*s == '-' || *s == '+')) ++s;
    int written = 0, exponentDigits = 0;
    for (; s < end && digitAt(s) < 10 && exponentDigits < 3; ++s, ++exponentDigits)
      written = written * 10 + static_cast<int>(digitAt(s));
    if (exponentDigits == 0) return false;
    power += negativePower ? -written : written;
  }
  if (s != end || power < -22 || power > 22) return false;
  const double magnitude = power < 0 ? static_cast<double>(digits) / PowersOfTen[-power]
                                     : static_cast<double>(digits) * PowersOfTen[power];
  value = negative ? -magnitude : magnitude;
  return true;
}

// Reading position in the file's bytes, with the text-file operations the reader is made of.
class TextCursor {
 public:
  explicit TextCursor(std::string_view bytes) : p_(bytes.data()), end_(bytes.data() + bytes.size()) {}

  bool AtEnd() const { return p_ >= end_; }
  // The rest of the current line (at most 255 characters kept, without its line end), moving
  // past the line end.
  std::string ReadLine() {
    const char* nl = static_cast<const char*>(std::memchr(p_, '\n', static_cast<std::size_t>(end_ - p_)));
    const char* stop = nl ? nl : end_;
    const char* lineEnd = stop;
    if (lineEnd > p_ && lineEnd[-1] == '\r') --lineEnd;
    std::string line(p_, std::min<std::size_t>(static_cast<std::size_t>(lineEnd - p_), ShortTextMax));
    p_ = nl ? nl + 1 : end_;
    return line;
  }
  // Whether the current line holds nothing but blanks and tabs.
  bool AtLineWithoutData() const {
    for (const char* q = p_; q < end_ && *q != '\n'; ++q)
      if (static_cast<unsigned char>(*q) > 32) return false;
    return true;
  }
  void SkipLine() {
    const char* nl = static_cast<const char*>(std::memchr(p_, '\n', static_cast<std::size_t>(end_ - p_)));
    p_ = nl ? nl + 1 : end_;
  }
  // Lines from here to the end that hold something besides blanks, tabs and line ends: no more
  // rows than these can be read, as every row starts on a line of its own. Kept out of line:
  // inlined into the reader it made the reading loop a sixth slower (the plot benchmark).
  [[gnu::noinline]] std::int64_t CountDataLines() const {
    std::int64_t count = 0;
    for (const char* q = p_; q < end_;) {
      while (q < end_ && *q != '\n' && static_cast<unsigned char>(*q) <= 32) ++q;
      if (q < end_ && *q != '\n') ++count;
      const char* nl = static_cast<const char*>(std::memchr(q, '\n', static_cast<std::size_t>(end_ - q)));
      q = nl ? nl + 1 : end_;
    }
    return count;
  }
  // Skips blanks, tabs and line ends; true when a number follows.
  bool SkipToData() {
    while (p_ < end_ && static_cast<unsigned char>(*p_) <= 32) ++p_;
    return p_ < end_;
  }
  // Blanks, tabs and line ends are skipped; the number is the following characters up to the
  // next control character or blank, at most 64 of them. 0 at the end of the file.
  double ReadNumber() {
    while (p_ < end_ && static_cast<unsigned char>(*p_) <= 32) ++p_;
    if (p_ >= end_) return 0;
    const char* start = p_;
    const char* limit = end_ - p_ > static_cast<std::ptrdiff_t>(MaxPlotNumberLength) ? p_ + MaxPlotNumberLength : end_;
    while (p_ < limit && static_cast<unsigned char>(*p_) > 32) ++p_;
    // The common case inline: a short plain number that a double holds without a tie.
    double value = 0, stored = 0;
    if (ReadShortDecimal(start, p_, value) && RoundDoubleToReal48(value, stored)) return stored;
    return ReadPlotNumber(std::string_view(start, static_cast<std::size_t>(p_ - start)));
  }

 private:
  const char* p_;
  const char* end_;
};

bool StartsLikeName(char c) {
  c = static_cast<char>((c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c);
  return c >= 'A' && c <= 'Z';
}

void TakeNames(std::string line, std::vector<std::string>& into) {
  while (!line.empty() && into.size() < static_cast<std::size_t>(MaxPlotColumns)) {
    std::string token = NextToken(line);
    if (!token.empty()) into.push_back(token.substr(0, MaxColumnNameLength));
  }
}

void NoteWholeLines(std::string_view bytes, TColumnTable& table) {
  constexpr std::size_t KeptLineEnd = 256;
  const std::size_t end = bytes.rfind('\n') == std::string_view::npos ? 0 : bytes.rfind('\n') + 1;
  const std::string_view rest = bytes.substr(end);
  const bool partRow = std::any_of(rest.begin(), rest.end(), [](char c) { return static_cast<unsigned char>(c) > 32; });
  table.WholeLineBytes = static_cast<std::int64_t>(end);
  table.WholeLineRows = table.RowCount - (partRow && table.RowCount > 0 ? 1 : 0);
  std::size_t lineStart = 0;
  if (end >= 2) {
    const std::size_t previous = bytes.rfind('\n', end - 2);
    lineStart = previous == std::string_view::npos ? 0 : previous + 1;
  }
  lineStart = std::max(lineStart, end > KeptLineEnd ? end - KeptLineEnd : 0);
  table.LastWholeLine = std::string(bytes.substr(lineStart, end - lineStart));
}

}  // namespace

std::string ReadPltBytes(std::string_view bytes, TColumnTable& table) {
  table.Release();
  table.ColName.clear();
  table.ColUnit.clear();
  table.ColMin.clear();
  table.ColMax.clear();
  table.HasNames = table.HasUnits = false;
  table.RowCount = 0;
  table.ColCount = 0;

  TextCursor header(bytes);
  std::string first = TrimShort(header.ReadLine());
  TakeNames(first, table.ColName);
  table.ColCount = static_cast<std::int32_t>(table.ColName.size());

  table.HasNames = true;
  if (!(first.size() >= 1 && StartsLikeName(first[0])) && !(first.size() >= 2 && StartsLikeName(first[1]))) {
    for (int k = 0; k < table.ColCount; ++k) table.ColName[k] = k == 0 ? "TIME" : "Col " + std::to_string(k + 1);
    table.HasNames = table.HasUnits = false;
  }
  if (table.HasNames) {
    std::string second = header.ReadLine();
    TakeNames(second, table.ColUnit);
    table.HasUnits = true;
    if (!second.empty() && std::strchr("0123456789.+-", second[0])) {
      table.ColUnit.clear();
      table.HasUnits = false;
    }
  }
  table.ColUnit.resize(static_cast<std::size_t>(table.ColCount));

  TextCursor data(bytes);
  if (table.HasNames) data.SkipLine();
  if (table.HasUnits) data.SkipLine();
  // Room for a row per line that holds data; empty lines are not rows.
  const std::int64_t rows = data.CountDataLines();
  const std::size_t columns = static_cast<std::size_t>(table.ColCount);
  if (rows * static_cast<std::int64_t>(std::max<std::size_t>(columns, 1)) > MaxPlotValues) {
    table.ColCount = 0;
    table.ColName.clear();
    table.ColUnit.clear();
    return "it holds more values than a plot can take (" + std::to_string(rows) + " rows of " +
           std::to_string(columns) + " columns)";
  }

  table.ColData.assign(columns, std::vector<double>());
  // Columns are filled through plain pointers: no zero-filling first, no double indexing.
  std::vector<double*> out(columns);
  for (std::size_t k = 0; k < columns; ++k) {
    table.ColData[k].resize(static_cast<std::size_t>(rows));
    out[k] = table.ColData[k].data();
  }
  std::vector<double> low(columns, std::numeric_limits<double>::infinity());
  std::vector<double> high(columns, -std::numeric_limits<double>::infinity());

  // A row is read wherever data remains; a row that runs short takes its last values from the next
  // line (and zeros at the end of the file).
  std::int32_t r = 0;
  for (; r < rows && data.SkipToData(); ++r) {
    for (std::size_t k = 0; k < columns; ++k) {
      const double v = data.ReadNumber();
      if (v < low[k]) low[k] = v;
      if (v > high[k]) high[k] = v;
      out[k][r] = v;
    }
    data.SkipLine();
  }
  table.RowCount = r;
  for (std::size_t k = 0; k < columns; ++k) {
    table.ColData[k].resize(static_cast<std::size_t>(r));
    // A column without values has the empty range 0 to 0.
    if (r == 0) low[k] = high[k] = 0;
  }
  table.ColMin = std::move(low);
  table.ColMax = std::move(high);
  NoteWholeLines(bytes, table);
  return "";
}

ReadPltResult ReadPlt(TColumnTable& table) {
  std::string name = table.PltFileName;
  table.Release();
  table.ColCount = 0;
  table.ColName.clear();
  table.ColUnit.clear();
  table.ColMin.clear();
  table.ColMax.clear();
  table.RowCount = 0;
  std::error_code ec;
  // Only plain files: a device or a pipe has no end to count rows to.
  if (!std::filesystem::is_regular_file(name, ec)) return {false, name + " cannot be opened for reading"};
  QFile file(QString::fromLocal8Bit(name.c_str()));
  if (!file.open(QIODevice::ReadOnly)) return {false, name + " cannot be opened for reading"};
  auto finish = [&](std::string error) -> ReadPltResult {
    if (error.empty()) return {true, ""};
    return {true, name + " cannot be plotted: " + error};
  };
  if (!file.isSequential() && file.size() > 0) {
    // Large data files are read in place rather than copied.
    if (uchar* mapped = file.map(0, file.size())) {
      std::string error = ReadPltBytes(
          std::string_view(reinterpret_cast<const char*>(mapped), static_cast<std::size_t>(file.size())), table);
      file.unmap(mapped);
      return finish(error);
    }
  }
  QByteArray bytes = file.readAll();
  return finish(ReadPltBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), table));
}

}  // namespace tal

namespace tal {

std::int32_t ReadPltRows(std::string_view bytes, std::vector<std::vector<double>>& into) {
  TextCursor cursor(bytes);
  std::int32_t rows = 0;
  for (;;) {
    // A row begins on a line holding data; empty lines are no rows.
    while (!cursor.AtEnd() && cursor.AtLineWithoutData()) cursor.SkipLine();
    if (cursor.AtEnd()) return rows;
    for (std::vector<double>& column : into) column.push_back(cursor.ReadNumber());
    cursor.SkipLine();
    ++rows;
  }
}

}  // namespace tal
