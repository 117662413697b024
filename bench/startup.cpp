// Starts Windows programs over and over and measures, for each, how long it takes from
// CreateProcess until its main window is visible, and the peak working set once it is up.
//
//   bench-startup [-v] RUNS EXE CLASS [EXE CLASS ...]
//
// Each program is started once to warm the caches, then RUNS more times; the programs take turns
// (A, B, A, B, ...) so that a slow moment of the machine hurts them alike. One tab-separated line
// per program goes to stdout: exe, class, runs, then the median, lowest and highest start-up time
// in milliseconds and the median peak working set in bytes. -v adds every run on stderr.
// The figures are for reading, not judging: the exit code only says whether every run got its
// window up and closed.
#include <windows.h>
#include <psapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Program {
  std::wstring exe;
  std::wstring windowClass;
  std::vector<double> milliseconds;
  std::vector<double> peakBytes;
  int failures = 0;
};

std::string Utf8(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
  return result;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A visible top-level window of the given class that belongs to the process, or null. Owned
// windows count: they are top-level too, and a main window is often owned by a hidden one.
HWND FindVisibleWindow(DWORD processId, const std::wstring& windowClass) {
  for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, windowClass.c_str(), nullptr));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// Starts the program once, waits for its window and closes it again. On success fills in the
// start-up time and peak working set; on failure says why.
bool RunOnce(const Program& program, double& milliseconds, double& peakBytes, std::string& error) {
  std::wstring commandLine = L"\"" + program.exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};

  LARGE_INTEGER started, shown;
  QueryPerformanceCounter(&started);
  if (!CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    error = "CreateProcess failed with error " + std::to_string(GetLastError());
    return false;
  }

  // Sleep(1) keeps the poll from starving the program on a machine with few cores while costing
  // at most a millisecond or so of resolution.
  HWND window = nullptr;
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (!(window = FindVisibleWindow(process.dwProcessId, program.windowClass))) {
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      error = "the program ended before its window showed";
      break;
    }
    if (GetTickCount64() > deadline) {
      error = "no visible window of that class within 30 s";
      break;
    }
    Sleep(1);
  }
  QueryPerformanceCounter(&shown);

  if (window) {
    milliseconds = Seconds(started, shown) * 1000;
    // Give the program a moment to finish painting and settle before reading its peak.
    Sleep(300);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
      peakBytes = static_cast<double>(memory.PeakWorkingSetSize);
    } else {
      error = "GetProcessMemoryInfo failed with error " + std::to_string(GetLastError());
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    if (error.empty()) error = "the program did not end within 10 s of WM_CLOSE";
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return error.empty();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Plain LF line ends, so that the calling script reads clean lines.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);

  int first = 1;
  bool verbose = false;
  if (argc > 1 && std::wcscmp(argv[1], L"-v") == 0) {
    verbose = true;
    ++first;
  }
  int runs = argc > first ? _wtoi(argv[first]) : 0;
  if (runs < 1 || (argc - first - 1) < 2 || (argc - first - 1) % 2 != 0) {
    std::fputs("usage: bench-startup [-v] RUNS EXE CLASS [EXE CLASS ...]\n", stderr);
    return 2;
  }
  std::vector<Program> programs;
  for (int i = first + 1; i + 1 < argc; i += 2) programs.push_back({argv[i], argv[i + 1], {}, {}, 0});

  // Round 0 is the warm-up: its figures are dropped.
  for (int round = 0; round <= runs; ++round) {
    for (Program& program : programs) {
      double milliseconds = 0, peakBytes = 0;
      std::string error;
      bool ok = RunOnce(program, milliseconds, peakBytes, error);
      if (verbose || !ok) {
        std::fprintf(stderr, "%s %s: ", Utf8(program.windowClass).c_str(), round ? std::to_string(round).c_str() : "warm-up");
        if (ok) {
          std::fprintf(stderr, "%.1f ms, peak working set %.0f KB\n", milliseconds, peakBytes / 1024);
        } else {
          std::fprintf(stderr, "FAILED: %s\n", error.c_str());
        }
      }
      if (!ok) {
        ++program.failures;
      } else if (round > 0) {
        program.milliseconds.push_back(milliseconds);
        program.peakBytes.push_back(peakBytes);
      }
    }
  }

  bool allRan = true;
  for (const Program& program : programs) {
    const auto& ms = program.milliseconds;
    std::printf("%s\t%s\t%zu\t%.1f\t%.1f\t%.1f\t%.0f\n", Utf8(program.exe).c_str(), Utf8(program.windowClass).c_str(),
                ms.size(), Median(ms), ms.empty() ? 0.0 : *std::min_element(ms.begin(), ms.end()),
                ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end()), Median(program.peakBytes));
    allRan = allRan && program.failures == 0;
  }
  return allRan ? 0 : 1;
}
