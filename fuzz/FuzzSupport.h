#pragma once
// Shared by the fuzz targets. Most readers take a file name, so an input is written as the file the
// reader expects into a scratch folder of the fuzzing process (removed when it ends). A reader that
// breaks a promise (a round trip that does not hold) aborts through Fail, which libFuzzer reports
// with the input that did it, like a crash or a sanitizer report.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace talfuzz {

inline const std::string& Scratch() {
  static const std::string folder = [] {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/talfuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) std::abort();
    static struct Remover {
      std::string path;
      ~Remover() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
      }
    } remover{pattern};
    return pattern;
  }();
  return folder;
}

inline std::string ScratchFile(const std::string& name) { return Scratch() + "/" + name; }

inline std::string WriteScratch(const std::string& name, std::string_view bytes) {
  std::string path = ScratchFile(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::abort();
  return path;
}

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "talfuzz: %s\n", what.c_str());
  std::abort();
}

}  // namespace talfuzz
