#include "Scenario.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <exception>

#include "Driver.h"

namespace e2e {
namespace {

struct Entry {
  const char* name;
  ScenarioBody body;
};

// A function-local list, so that registration from other files' static initialisers is safe.
std::vector<Entry>& Registry() {
  static std::vector<Entry> entries;
  return entries;
}

int failuresInScenario = 0;

std::string_view BaseName(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool Selected(const char* name, const std::vector<std::wstring>& filters) {
  if (filters.empty()) return true;
  const std::string narrow(name);
  const std::wstring wide(narrow.begin(), narrow.end());
  for (const std::wstring& filter : filters) {
    if (wide.find(filter) != std::wstring::npos) return true;
  }
  return false;
}

}  // namespace

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

void RecordFailure(std::string_view message, std::source_location where) {
  ++failuresInScenario;
  std::string line = "  " + std::string(BaseName(where.file_name())) + ":" + std::to_string(where.line()) + ": " +
                     std::string(message) + "\n";
  fwrite(line.data(), 1, line.size(), stdout);
  fflush(stdout);
}

void Abort(std::string_view message, std::source_location where) {
  RecordFailure(message, where);
  throw ScenarioAborted{};
}

bool RegisterScenario(const char* name, ScenarioBody body) {
  Registry().push_back({name, std::move(body)});
  return true;
}

int RunScenarios(const std::vector<std::wstring>& filters) {
  int passed = 0, failed = 0;
  for (const Entry& entry : Registry()) {
    if (!Selected(entry.name, filters)) continue;
    printf("%s\n", entry.name);
    fflush(stdout);
    failuresInScenario = 0;
    try {
      if (!ResetRegistry()) RecordFailure("could not clear the registry before the scenario", std::source_location::current());
      else entry.body();
    } catch (const ScenarioAborted&) {
      // Already recorded.
    } catch (const std::exception& e) {
      RecordFailure(std::string("unexpected exception: ") + e.what(), std::source_location::current());
    }
    if (failuresInScenario == 0) {
      ++passed;
    } else {
      ++failed;
      printf("  FAILED %s\n", entry.name);
    }
  }
  if (passed + failed == 0) {
    printf("no scenario matches the given names\n");
    printf("0 passed, 0 failed\n");
    return 1;
  }
  printf("%d passed, %d failed\n", passed, failed);
  fflush(stdout);
  return failed == 0 ? 0 : 1;
}

}  // namespace e2e
