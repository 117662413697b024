// A small scenario runner for the end-to-end driver: named scenarios, checks that record the
// failing file:line and keep going, and requirements that end the scenario at once.
#pragma once

#include <functional>
#include <source_location>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// Thrown to end the current scenario early; the runner has already recorded why.
struct ScenarioAborted {};

void RecordFailure(std::string_view message, std::source_location where);

// Records a failure and ends the current scenario.
[[noreturn]] void Abort(std::string_view message,
                        std::source_location where = std::source_location::current());

// Output of values in failure messages: wide strings are shown as UTF-8.
std::string Utf8(std::wstring_view text);
inline std::string Show(const std::wstring& v) { return '"' + Utf8(v) + '"'; }
inline std::string Show(const wchar_t* v) { return '"' + Utf8(v) + '"'; }
inline std::string Show(const std::string& v) { return '"' + v + '"'; }
inline std::string Show(bool v) { return v ? "true" : "false"; }
template <class T>
std::string Show(const T& v) {
  std::ostringstream out;
  out << v;
  return out.str();
}

template <class A, class B>
bool CheckEqual(const A& actual, const B& expected, const char* actualText, std::string_view note,
                std::source_location where) {
  if (actual == expected) return true;
  std::string message = std::string(actualText) + " is " + Show(actual) + ", expected " + Show(expected);
  if (!note.empty()) message += " (" + std::string(note) + ")";
  RecordFailure(message, where);
  return false;
}

using ScenarioBody = std::function<void()>;
bool RegisterScenario(const char* name, ScenarioBody body);

// Runs every scenario whose name contains one of the filters (all when there are none), each from
// a clean registry, prints one line per failure and the closing count; returns the exit code.
int RunScenarios(const std::vector<std::wstring>& filters);

}  // namespace e2e

#define E2E_CONCAT2(a, b) a##b
#define E2E_CONCAT(a, b) E2E_CONCAT2(a, b)

// SCENARIO(Name) { ... } defines and registers a scenario.
#define SCENARIO(name)                                                                       \
  static void E2E_CONCAT(Scenario_, name)();                                                 \
  [[maybe_unused]] static const bool E2E_CONCAT(registered_, name) =                         \
      ::e2e::RegisterScenario(#name, &E2E_CONCAT(Scenario_, name));                          \
  static void E2E_CONCAT(Scenario_, name)()

// CHECK records a failure and goes on; REQUIRE ends the scenario when later steps make no sense.
#define CHECK(cond)                                                                          \
  ((cond) ? true : (::e2e::RecordFailure("CHECK(" #cond ") failed", std::source_location::current()), false))
#define REQUIRE(cond)                                                                        \
  do {                                                                                       \
    if (!(cond)) ::e2e::Abort("REQUIRE(" #cond ") failed");                                  \
  } while (0)
#define CHECK_EQ(actual, expected)                                                           \
  ::e2e::CheckEqual((actual), (expected), #actual, "", std::source_location::current())
// The note tells which row of a table failed.
#define CHECK_EQ_NOTE(actual, expected, note)                                                \
  ::e2e::CheckEqual((actual), (expected), #actual, (note), std::source_location::current())
