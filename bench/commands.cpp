// Times each command of the main window with its dialogs answered at once, against the Win32
// calls that do the same registry or file work written out by hand.
//
//   bench-commands [-v] [--window] [-b BATCHES] [-n CALLS]
//
// The commands run as a menu click runs them (the item's handler through DispatchFromWindow) on a
// TMainForm whose application answers every message box with OK, fills the password dialog with
// "pw" and confirms it, and has every file dialog choose the same file in the temporary folder.
// None of these opens a window. By default the main form has no window either, so its check
// boxes keep their state themselves; --window creates the real (hidden) main window first, so
// that the check box messages are part of the figures, as they are in the program.
//
// Each command is set against two hand-written versions:
//   bare  the very Win32 calls the command makes, in the same order, with the same keys, value
//         names, flags and sizes, on wide literals and stack buffers: what is left is the cost
//         of the layers between the menu and the system;
//   lean  the fewest calls that do the same work: the key path opened in one call, each value
//         read with one query into a buffer, the file's attributes asked once. "-" where bare
//         already is that.
// The three take turns batch by batch (BATCHES batches of CALLS calls, after a warm-up), each
// call timed on its own with QueryPerformanceCounter so that the untimed step before an erase
// (registering again) stays out of the figures. One tab-separated line per command goes to
// stdout: command, calls per variant, then the median over the batches of the time per call in
// microseconds for the command, its lowest and highest batch, bare and lean. -v prints every
// batch on stderr. The figures are for reading: the exit code only says whether every command
// and every hand-written call went the intended way (a registered policy, the right password, a
// file that opens), which is what makes the figures comparable at all.
//
// It works on the program's own key, HKEY_CURRENT_USER\Software\Qrw\Pelaro, deleting it first:
// run it in a Wine prefix or on a machine of its own.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "forms/Main.h"
#include "forms/passwod.h"
#include "platform/win32/Win32Application.h"

namespace {

constexpr char kPassword[] = "pw";
constexpr unsigned char kPasswordKey = 0x1C;  // how the program scrambles the stored password
constexpr DWORD kRecordSize = 1088;
constexpr int kFlagCount = 13;
constexpr int kWarmUpCalls = 200;

// The first thing that went otherwise than intended; empty while all is well.
std::string gFailure;

void Fail(const std::string& what) {
  if (gFailure.empty()) gFailure = what;
}

// The application as the commands see it, with every dialog answered on the spot.
class QuietApplication : public platform::win32::Win32Application {
 public:
  QuietApplication(HINSTANCE instance, bool nativeMainWindow, std::string policyFile)
      : Win32Application(instance), nativeMainWindow_(nativeMainWindow), policyFile_(std::move(policyFile)) {}

  // The message a command shows when it went the intended way; counted in matched, every other
  // message in others.
  const char* expected = nullptr;
  long matched = 0;
  long others = 0;

  int ShowMessageBox(const std::string& text, const std::string&, unsigned) override {
    if (expected && text == expected) {
      ++matched;
    } else {
      ++others;
    }
    return platform::kIdOk;
  }

  // As a person would: the password typed in and OK pressed. Any other form is closed at once.
  platform::ModalResult ShowModal(platform::Form& form) override {
    form.SetModalResult(platform::mrNone);
    if (auto* dialog = dynamic_cast<TPasswordDlg*>(&form)) {
      dialog->Password->SetText(kPassword);
      dialog->OKBtn->Click();
    }
    if (form.GetModalResult() == platform::mrNone) form.Close();
    return form.GetModalResult();
  }

  bool RunFileDialog(const platform::FileDialog&, std::string& fileName) override {
    fileName = policyFile_;
    return true;
  }

 protected:
  // Without a window the form's controls keep their state themselves, as in the native tests.
  void CreateWindowFor(platform::Form& form) override {
    if (nativeMainWindow_) Win32Application::CreateWindowFor(form);
  }

 private:
  bool nativeMainWindow_;
  std::string policyFile_;
};

// --- The hand-written versions -------------------------------------------------------------

HKEY CreateKey(HKEY parent, const wchar_t* name) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    Fail("RegCreateKeyExW failed");
  return key;
}

// The program's way: each key of the path opened from the one before, which is then closed.
HKEY OpenKeyChain() {
  HKEY software = CreateKey(HKEY_CURRENT_USER, L"Software");
  HKEY qrw = CreateKey(software, L"Qrw");
  RegCloseKey(software);
  HKEY pelaro = CreateKey(qrw, L"Pelaro");
  RegCloseKey(qrw);
  return pelaro;
}

HKEY OpenKeyPath() { return CreateKey(HKEY_CURRENT_USER, L"Software\\Qrw\\Pelaro"); }

struct WideValue {
  wchar_t text[256];
  DWORD bytes = 0;
};

// The program's way of reading a string: type and size, the size again, then the data.
void QueryThreeTimes(HKEY key, const wchar_t* name, WideValue& value) {
  DWORD type = 0;
  DWORD size = 0;
  value.bytes = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size == 0) return;
  if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size > sizeof value.text) {
    Fail("the second query failed");
    return;
  }
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value.text), &size) != ERROR_SUCCESS)
    Fail("the data query failed");
  value.bytes = size;
}

void QueryOnce(HKEY key, const wchar_t* name, WideValue& value) {
  DWORD type = 0;
  DWORD size = sizeof value.text;
  value.bytes = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.text), &size) == ERROR_SUCCESS
                    ? size
                    : 0;
}

// The value's text up to its first zero, or its end when it stores none.
bool Holds(const WideValue& value, const wchar_t* text) {
  const std::size_t count = value.bytes / sizeof(wchar_t);
  std::size_t i = 0;
  for (; i < count && value.text[i] != L'\0'; ++i)
    if (text[i] != value.text[i]) return false;
  return text[i] == L'\0';
}

// The entered password against the stored, scrambled one.
bool PasswordMatches(const WideValue& stored) {
  wchar_t scrambled[sizeof kPassword];
  for (std::size_t i = 0; i < sizeof kPassword; ++i)
    scrambled[i] = kPassword[i] ? static_cast<wchar_t>(kPassword[i] ^ kPasswordKey) : L'\0';
  return Holds(stored, scrambled);
}

void SetString(HKEY key, const wchar_t* name, const wchar_t* text) {
  const auto bytes = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
  if (RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) != ERROR_SUCCESS)
    Fail("RegSetValueExW failed");
}

// What the commands keep between calls: the flags as the check boxes hold them, and the record.
wchar_t gFlags[kFlagCount + 1] = L"tftftftftftft";
unsigned char gRecord[kRecordSize];

using Query = void (*)(HKEY, const wchar_t*, WideValue&);

template <HKEY (*Open)(), Query Read>
void HandRegister() {
  HKEY key = Open();
  WideValue value;
  Read(key, L"adm", value);
  if (!Holds(value, L"1")) Fail("hand-written register: not registered");
  Read(key, L"admstr", value);
  if (!PasswordMatches(value)) Fail("hand-written register: the password differs");
  SetString(key, L"adm", L"1");
  SetString(key, L"Policy01", gFlags);
  RegCloseKey(key);
}

template <HKEY (*Open)(), Query Read>
void HandImport() {
  HKEY key = Open();
  WideValue value;
  Read(key, L"adm", value);
  if (!Holds(value, L"1")) Fail("hand-written import: not registered");
  Read(key, L"Policy01", value);
  const std::size_t count = value.bytes / sizeof(wchar_t);
  for (std::size_t i = 0; i < kFlagCount; ++i) gRecord[i] = i < count ? static_cast<unsigned char>(value.text[i]) : 0;
  RegCloseKey(key);
}

template <HKEY (*Open)(), Query Read>
void HandErase() {
  HKEY key = Open();
  WideValue value;
  Read(key, L"adm", value);
  if (!Holds(value, L"1")) Fail("hand-written erase: not registered");
  // After the password dialog the state is read again, as the program does.
  Read(key, L"adm", value);
  const bool registered = Holds(value, L"1");
  Read(key, L"admstr", value);
  if (registered && !PasswordMatches(value)) Fail("hand-written erase: the password differs");
  SetString(key, L"adm", L"0");
  SetString(key, L"Policy01", L"fffffffffffff");
  RegCloseKey(key);
}

std::wstring gPolicyFile;

constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

// attributeQueries: the program asks once whether the file exists and once whether it is
// read-only; one answer holds both.
template <int attributeQueries>
void HandStore() {
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  for (int i = 0; i < attributeQueries; ++i) attributes = GetFileAttributesW(gPolicyFile.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
    Fail("hand-written store: the file is missing or read-only");
  HANDLE file = CreateFileW(gPolicyFile.c_str(), GENERIC_READ | GENERIC_WRITE, kShareReadWrite, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Fail("hand-written store: CreateFileW failed");
    return;
  }
  DWORD written = 0;
  if (!WriteFile(file, gRecord, kRecordSize, &written, nullptr) || written != kRecordSize)
    Fail("hand-written store: short write");
  if (!CloseHandle(file)) Fail("hand-written store: CloseHandle failed");
}

void HandRead() {
  HANDLE file = CreateFileW(gPolicyFile.c_str(), GENERIC_READ, kShareReadWrite, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Fail("hand-written read: CreateFileW failed");
    return;
  }
  DWORD read = 0;
  if (!ReadFile(file, gRecord, kRecordSize, &read, nullptr) || read != kRecordSize) Fail("hand-written read: short read");
  CloseHandle(file);
}

// --- Timing ------------------------------------------------------------------------------------

double Microseconds(LONGLONG ticks) {
  static const double perTick = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1e6 / static_cast<double>(frequency.QuadPart);
  }();
  return static_cast<double>(ticks) * perTick;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The time per call of one batch, in microseconds; before runs untimed ahead of every call.
double TimeBatch(const std::function<void()>& before, const std::function<void()>& call, int calls) {
  LONGLONG total = 0;
  for (int i = 0; i < calls; ++i) {
    if (before) before();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    call();
    QueryPerformanceCounter(&end);
    total += end.QuadPart - start.QuadPart;
  }
  return Microseconds(total) / calls;
}

struct Case {
  const char* name;
  const char* menuItem;
  // The message the command ends with when it went the intended way; null for none at all.
  const char* expected;
  std::function<void()> before;
  std::function<void()> bare;
  std::function<void()> lean;  // empty when bare is already the least
};

struct Figures {
  std::vector<double> command, bare, lean;
};

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
  return result;
}

std::string Cp932(const std::wstring& text) {
  const int size = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
  return result;
}

int Usage() {
  std::fputs("usage: bench-commands [-v] [--window] [-b BATCHES] [-n CALLS]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  // Plain LF line ends, so that the calling script reads clean lines.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);

  bool verbose = false;
  bool nativeMainWindow = false;
  int batches = 20;
  int calls = 100;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-v") {
      verbose = true;
    } else if (arg == "--window") {
      nativeMainWindow = true;
    } else if ((arg == "-b" || arg == "-n") && i + 1 < argc) {
      (arg == "-b" ? batches : calls) = std::atoi(argv[++i]);
    } else {
      return Usage();
    }
  }
  if (batches < 1 || calls < 1) return Usage();

  wchar_t folder[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, folder);
  if (length == 0 || length >= MAX_PATH) {
    std::fputs("bench-commands: no temporary folder\n", stderr);
    return 1;
  }
  gPolicyFile = std::wstring(folder) + L"bench-commands.plq";
  DeleteFileW(gPolicyFile.c_str());

  // From no policy at all; the first registration sets the password.
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Qrw\\Pelaro");

  QuietApplication app(GetModuleHandleW(nullptr), nativeMainWindow, Cp932(gPolicyFile));
  if (nativeMainWindow) app.Initialize();
  TMainForm& form = app.CreateForm<TMainForm>();
  // A mix of flags, so that no figure rests on every box being alike.
  for (std::size_t i = 0; i < policy::kRestrictionCount; ++i) form.Check(i).SetChecked(i % 2 == 0);

  // Held open by the bench itself, to register again ahead of each erase.
  HKEY policyKey = OpenKeyPath();

  app.expected = "グループポリシーを登録しました";
  app.DispatchFromWindow(form.Menu()->FindItem("S1")->onClick);
  if (app.matched != 1) {
    std::fputs("bench-commands: the first registration failed\n", stderr);
    return 1;
  }

  const std::vector<Case> cases = {
      {"register", "S1", "グループポリシーを登録しました", nullptr, HandRegister<OpenKeyChain, QueryThreeTimes>,
       HandRegister<OpenKeyPath, QueryOnce>},
      {"import", "L1", "グループポリシーを読込みました", nullptr, HandImport<OpenKeyChain, QueryThreeTimes>,
       HandImport<OpenKeyPath, QueryOnce>},
      {"erase", "C1", "グループポリシーを消去しました", [policyKey] { SetString(policyKey, L"adm", L"1"); },
       HandErase<OpenKeyChain, QueryThreeTimes>, HandErase<OpenKeyPath, QueryOnce>},
      {"store", "W1", "ファイルに保存しました", nullptr, HandStore<2>, HandStore<1>},
      {"read", "R1", nullptr, nullptr, HandRead, nullptr},
  };

  bool allWell = true;
  for (const Case& test : cases) {
    const platform::MenuItem* item = form.Menu()->FindItem(test.menuItem);
    const std::function<void()> command = [&app, item] { app.DispatchFromWindow(item->onClick); };
    app.expected = test.expected;
    app.matched = app.others = 0;
    gFailure.clear();

    const int variants = test.lean ? 3 : 2;
    const std::function<void()>* runs[3] = {&command, &test.bare, &test.lean};
    for (int v = 0; v < variants; ++v) TimeBatch(test.before, *runs[v], kWarmUpCalls);

    Figures figures;
    std::vector<double>* series[3] = {&figures.command, &figures.bare, &figures.lean};
    for (int batch = 0; batch < batches; ++batch) {
      // The variants take turns, each starting a batch in its turn, so that a busy moment of
      // the machine or a cache warmed by the one before favours none of them.
      double perCall[3] = {0, 0, 0};
      for (int k = 0; k < variants; ++k) {
        const int v = (batch + k) % variants;
        perCall[v] = TimeBatch(test.before, *runs[v], calls);
        series[v]->push_back(perCall[v]);
      }
      if (verbose) {
        std::fprintf(stderr, "%s batch %d: command %.1f us, bare %.1f us", test.name, batch + 1, perCall[0], perCall[1]);
        if (test.lean) std::fprintf(stderr, ", lean %.1f us", perCall[2]);
        std::fputc('\n', stderr);
      }
    }

    // Every call of the command must have ended with its message (or, for read, with none).
    const long commandCalls = static_cast<long>(kWarmUpCalls) + static_cast<long>(batches) * calls;
    std::string problem = gFailure;
    if (problem.empty() && test.expected && app.matched != commandCalls)
      problem = std::to_string(commandCalls - app.matched) + " calls of the command went another way";
    if (problem.empty() && !test.expected && app.others != 0)
      problem = "the command showed " + std::to_string(app.others) + " messages";
    if (!problem.empty()) {
      std::fprintf(stderr, "bench-commands: %s: %s\n", test.name, problem.c_str());
      allWell = false;
    }

    const auto& c = figures.command;
    std::printf("%s\t%d\t%.2f\t%.2f\t%.2f\t%.2f\t", test.name, batches * calls, Median(c),
                *std::min_element(c.begin(), c.end()), *std::max_element(c.begin(), c.end()), Median(figures.bare));
    if (test.lean) {
      std::printf("%.2f\n", Median(figures.lean));
    } else {
      std::printf("-\n");
    }
    std::fflush(stdout);
  }

  RegCloseKey(policyKey);
  DeleteFileW(gPolicyFile.c_str());
  if (verbose) std::fprintf(stderr, "policy file: %s\n", Utf8(gPolicyFile).c_str());
  return allWell ? 0 : 1;
}
