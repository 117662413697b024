#include "Driver.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace e2e {
namespace {

std::wstring programPath;

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::string Hex(unsigned value) {
  char text[16];
  snprintf(text, sizeof text, "%X", value);
  return text;
}

// Sends a query and insists on an answer: a program that stopped answering its windows is a
// finding, not a reason for the driver to hang.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kTimeoutMs, &result)) {
    Abort("a window of class " + Utf8(ClassOf(window)) + " did not answer message 0x" + Hex(message));
  }
  return static_cast<LRESULT>(result);
}

bool ClassIs(HWND window, std::wstring_view className) {
  return className.empty() || CompareStringOrdinal(ClassOf(window).c_str(), -1, std::wstring(className).c_str(),
                                                   -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

void SetProgramPath(std::wstring path) { programPath = std::move(path); }
const std::wstring& ProgramPath() { return programPath; }

bool ResetRegistry() {
  bool ok = true;
  for (const wchar_t* key : {L"Software\\Qrw", L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32"}) {
    // RegDeleteTreeW empties the key but leaves the key itself.
    LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key);
    if (status == ERROR_SUCCESS) status = RegDeleteKeyW(HKEY_CURRENT_USER, key);
    ok = ok && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
  }
  return ok;
}

// --- Program --------------------------------------------------------------------------------

Program Program::Launch(std::source_location where) {
  if (programPath.empty()) Abort("no program to launch", where);
  std::wstring commandLine = L"\"" + programPath + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    Abort("cannot start " + Utf8(programPath) + " (error " + std::to_string(GetLastError()) + ")", where);
  }
  CloseHandle(info.hThread);
  return Program(info.hProcess, info.dwProcessId);
}

Program::Program(Program&& other) noexcept : process_(other.process_), id_(other.id_) {
  other.process_ = nullptr;
}

Program::~Program() {
  if (!process_) return;
  if (!HasExited()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kTimeoutMs);
  }
  CloseHandle(process_);
}

bool Program::HasExited() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

DWORD Program::WaitForExit(std::source_location where) const {
  if (WaitForSingleObject(process_, kTimeoutMs) != WAIT_OBJECT_0) {
    Abort("timed out after " + std::to_string(kTimeoutMs / 1000) + " s waiting for the program to end", where);
  }
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

std::vector<HWND> Program::TopLevelWindows(std::wstring_view className) const {
  return TopLevelWindowsOf(id_, className);
}

HWND Program::VisibleTopLevel(std::wstring_view className) const { return VisibleTopLevelOf(id_, className); }

HWND Program::WaitForVisibleTopLevel(std::wstring_view className, std::source_location where) const {
  return WaitFor(
      "a visible window of class " + Utf8(className),
      [&] {
        if (HasExited()) Abort("the program ended while a window of class " + Utf8(className) + " was awaited", where);
        return VisibleTopLevel(className);
      },
      kTimeoutMs, where);
}

HWND Program::WaitForMessageBox(std::source_location where) const {
  return WaitForVisibleTopLevel(L"#32770", where);
}

void Program::WaitUntilIdle(HWND window, std::source_location where) const {
  WaitFor(
      "the program to accept input again", [&] { return !MessageBoxWindow() && IsWindowEnabled(window); },
      kTimeoutMs, where);
}

// --- Reading windows ------------------------------------------------------------------------

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  const LRESULT length = Ask(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
  return text;
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

SIZE ClientSizeOf(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

SIZE ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

RECT WorkAreaOf(HWND window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

std::vector<HWND> ChildrenOf(HWND parent, std::wstring_view className) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassIs(child, className)) found.push_back(child);
  }
  return found;
}

std::vector<HWND> DescendantsOf(HWND parent, std::wstring_view className) {
  std::vector<HWND> found;
  for (HWND child : ChildrenOf(parent)) {
    if (ClassIs(child, className)) found.push_back(child);
    for (HWND grandchild : DescendantsOf(child, className)) found.push_back(grandchild);
  }
  return found;
}

HWND FindDescendant(HWND parent, std::wstring_view className, std::wstring_view text) {
  for (HWND window : DescendantsOf(parent, className)) {
    if (TextOf(window) == text) return window;
  }
  return nullptr;
}

HWND FindDescendantById(HWND parent, int controlId) {
  for (HWND window : DescendantsOf(parent)) {
    if (GetDlgCtrlID(window) == controlId) return window;
  }
  return nullptr;
}

std::vector<HWND> InReadingOrder(std::vector<HWND> windows) {
  std::stable_sort(windows.begin(), windows.end(), [](HWND a, HWND b) {
    const RECT ra = WindowRectOf(a), rb = WindowRectOf(b);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return windows;
}

bool IsChecked(HWND button) { return Ask(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

LRESULT HitTest(HWND window, POINT screenPoint) {
  return Ask(window, WM_NCHITTEST, 0, MAKELPARAM(screenPoint.x, screenPoint.y));
}

int TabCount(HWND tabControl) { return static_cast<int>(Ask(tabControl, TCM_GETITEMCOUNT, 0, 0)); }

std::wstring TabText(HWND tabControl, int index) {
  DWORD processId = 0;
  GetWindowThreadProcessId(tabControl, &processId);
  UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!process) Abort("cannot open the program's process to read a tab (error " + std::to_string(GetLastError()) + ")");

  constexpr int kMaxChars = 256;
  struct Block {
    TCITEMW item;
    wchar_t text[kMaxChars];
  };
  auto freeRemote = [&](void* p) { VirtualFreeEx(process.get(), p, 0, MEM_RELEASE); };
  std::unique_ptr<void, decltype(freeRemote)> remote(
      VirtualAllocEx(process.get(), nullptr, sizeof(Block), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE), freeRemote);
  if (!remote) Abort("cannot place a buffer in the program's memory (error " + std::to_string(GetLastError()) + ")");
  auto* remoteBlock = static_cast<Block*>(remote.get());

  Block block{};
  block.item.mask = TCIF_TEXT;
  block.item.pszText = remoteBlock->text;
  block.item.cchTextMax = kMaxChars;
  if (!WriteProcessMemory(process.get(), remoteBlock, &block, sizeof block, nullptr)) {
    Abort("cannot write into the program's memory (error " + std::to_string(GetLastError()) + ")");
  }
  if (!Ask(tabControl, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remoteBlock))) {
    Abort("the tab control has no item " + std::to_string(index));
  }
  if (!ReadProcessMemory(process.get(), remoteBlock, &block, sizeof block, nullptr)) {
    Abort("cannot read back from the program's memory (error " + std::to_string(GetLastError()) + ")");
  }
  // The control may point pszText at its own copy instead of filling the buffer: follow it.
  wchar_t text[kMaxChars] = {};
  if (!ReadProcessMemory(process.get(), block.item.pszText, text, sizeof text - sizeof(wchar_t), nullptr)) {
    Abort("cannot read the tab text from the program's memory");
  }
  return text;
}

// --- Acting on windows ----------------------------------------------------------------------

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void SetText(HWND edit, std::wstring_view text) {
  const std::wstring copy(text);
  Ask(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
}

void TypeText(HWND edit, std::wstring_view text) {
  for (wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
}

std::vector<HWND> TopLevelWindowsOf(DWORD process, std::wstring_view className) {
  struct Search {
    DWORD processId;
    std::wstring_view className;
    std::vector<HWND> found;
  } search{process, className, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.processId && ClassIs(window, s.className)) s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND VisibleTopLevelOf(DWORD process, std::wstring_view className) {
  for (HWND window : TopLevelWindowsOf(process, className)) {
    if (IsWindowVisible(window)) return window;
  }
  return nullptr;
}

std::vector<DWORD> ProcessesNamed(std::wstring_view image) {
  std::vector<DWORD> found;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, std::wstring(image).c_str()) == 0) found.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return found;
}

DWORD WaitForNewProcess(std::wstring_view image, const std::vector<DWORD>& before, std::source_location where) {
  return WaitFor(
      "a new process " + Utf8(image),
      [&] {
        for (DWORD process : ProcessesNamed(image)) {
          if (std::find(before.begin(), before.end(), process) == before.end()) return process;
        }
        return DWORD{0};
      },
      kTimeoutMs, where);
}

void PostCommand(HWND window, UINT commandId) { PostMessageW(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0); }

void PostCloseBox(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

namespace {

void Input(WORD key, bool release) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

}  // namespace

void PressMenuKeys(const Program& program, HWND window, std::wstring_view keys, std::source_location where) {
  if (keys.empty()) return;
  // Keys go through the system's input queue to the foreground window, as from the keyboard, so
  // the program sees them with the right focus, key state and translation to characters.
  SetForegroundWindow(window);
  WaitFor("the window to come to the foreground", [&] { return GetForegroundWindow() == window; }, kTimeoutMs, where);
  Input(VK_MENU, false);
  Input(static_cast<WORD>(keys[0]), false);
  Input(static_cast<WORD>(keys[0]), true);
  Input(VK_MENU, true);
  for (wchar_t key : keys.substr(1)) {
    WaitFor("a drop-down menu to open", [&] { return program.VisibleTopLevel(L"#32768"); }, kTimeoutMs, where);
    Input(static_cast<WORD>(key), false);
    Input(static_cast<WORD>(key), true);
  }
}

// --- Message boxes --------------------------------------------------------------------------

std::wstring MessageTextOf(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? TextOf(text) : std::wstring();
}

bool HasIcon(HWND box) {
  for (HWND child : ChildrenOf(box, L"Static")) {
    if ((StyleOf(child) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) && Ask(child, STM_GETICON, 0, 0)) {
      return true;
    }
  }
  return false;
}

bool HasButton(HWND box, int buttonId) {
  HWND button = GetDlgItem(box, buttonId);
  return button && ClassIs(button, L"Button") && IsWindowVisible(button);
}

void Answer(HWND box, int buttonId, std::source_location where) {
  if (!HasButton(box, buttonId)) Abort("the message box has no button " + std::to_string(buttonId), where);
  Click(GetDlgItem(box, buttonId));
}

}  // namespace e2e
