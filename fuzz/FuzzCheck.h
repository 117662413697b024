// Checks for the fuzz targets. A failed check names itself and the input's size, then aborts:
// libFuzzer takes the abort for a crash and keeps the input that caused it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzcheck {

[[noreturn]] inline void Fail(const char* file, int line, const char* condition, const std::string& detail) {
  std::fprintf(stderr, "%s:%d: property violated: %s\n", file, line, condition);
  if (!detail.empty()) std::fprintf(stderr, "  %s\n", detail.c_str());
  std::fflush(stderr);
  std::abort();
}

// Bytes as C escapes, for failure messages: CP932 text is unreadable on a UTF-8 terminal.
inline std::string Escaped(const std::string& bytes) {
  std::string text = "\"";
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      text.push_back(static_cast<char>(c));
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      text += escape;
    }
  }
  return text + "\"";
}

}  // namespace fuzzcheck

#define FUZZ_CHECK(condition) \
  ((condition) ? void(0) : ::fuzzcheck::Fail(__FILE__, __LINE__, #condition, std::string()))
#define FUZZ_CHECK_MSG(condition, detail) \
  ((condition) ? void(0) : ::fuzzcheck::Fail(__FILE__, __LINE__, #condition, (detail)))
