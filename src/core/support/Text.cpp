#include "support/Text.h"

namespace tal {

namespace {
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

std::string UpperShort(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = UpperAscii(c);
  return s;
}

std::string TrimShort(std::string_view text, std::size_t max) {
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  std::string s(text.substr(b, e - b));
  if (s.size() > max) s.resize(max);
  return s;
}

std::string CutShort(std::string_view text) { return std::string(text.substr(0, ShortTextMax)); }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
  return UpperShort(text).find(UpperShort(part)) != std::string::npos;
}

std::string ExtensionOf(std::string_view fileName) {
  std::size_t slash = fileName.find_last_of('/');
  std::string_view last = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  std::size_t dot = last.find_last_of('.');
  if (dot == std::string_view::npos) return {};
  return UpperShort(last.substr(dot, 4));
}

}  // namespace tal
