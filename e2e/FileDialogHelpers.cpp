#include "FileDialogHelpers.h"

#include <algorithm>
#include <memory>

namespace e2e {
namespace {

constexpr size_t kRestrictionCount = 13;
constexpr size_t kRecordSize = 1088;
// The file name combo box of the explorer-style open and save dialogs (cmb13).
constexpr int kFileNameCombo = 0x47C;

struct HandleCloser {
  void operator()(HANDLE h) const {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::string ErrorText(DWORD error) { return "error " + std::to_string(error); }

// Deletes a folder and everything below it, read-only files included.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

HWND VisibleFileDialog(const Program& program) {
  for (HWND window : program.TopLevelWindows(L"#32770")) {
    if (IsWindowVisible(window) && IsFileDialog(window)) return window;
  }
  return nullptr;
}

}  // namespace

// --- Files, seen from the driver --------------------------------------------------------------

std::wstring FreshFolder(std::wstring_view name, std::source_location where) {
  wchar_t temp[MAX_PATH + 1] = {};
  if (!GetTempPathW(MAX_PATH + 1, temp)) Abort("no temporary folder (" + ErrorText(GetLastError()) + ")", where);
  const std::wstring parent = std::wstring(temp) + L"stampctl-e2e";
  const std::wstring folder = parent + L"\\" + std::wstring(name);
  RemoveTree(folder);
  CreateDirectoryW(parent.c_str(), nullptr);
  if (!CreateDirectoryW(folder.c_str(), nullptr)) {
    Abort("cannot make the folder " + Utf8(folder) + " (" + ErrorText(GetLastError()) + ")", where);
  }
  return folder + L"\\";
}

std::optional<Bytes> ReadFileBytes(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return std::nullopt;
  Bytes bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                         read != bytes.size())) {
    return std::nullopt;
  }
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const Bytes& bytes, std::source_location where) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file.get() == INVALID_HANDLE_VALUE ||
      (!bytes.empty() && (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                          written != bytes.size()))) {
    Abort("cannot write " + Utf8(path) + " (" + ErrorText(GetLastError()) + ")", where);
  }
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring FolderListing(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  std::wstring pattern = folder;
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  HANDLE search = FindFirstFileW((pattern + L"*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  std::sort(names.begin(), names.end());
  std::wstring listing;
  for (const std::wstring& name : names) listing += (listing.empty() ? L"" : L" | ") + name;
  return listing;
}

Bytes FreshRecord(std::string_view flags) {
  Bytes bytes(kRecordSize, 0);
  for (size_t i = 0; i < flags.size() && i < kRestrictionCount; ++i) bytes[i] = static_cast<unsigned char>(flags[i]);
  return bytes;
}

bool CheckBytes(const std::optional<Bytes>& actual, const Bytes& expected, std::string_view what,
                std::source_location where) {
  if (!actual) {
    RecordFailure(std::string(what) + " cannot be read", where);
    return false;
  }
  if (*actual == expected) return true;
  size_t at = 0;
  while (at < actual->size() && at < expected.size() && (*actual)[at] == expected[at]) ++at;
  std::string message = std::string(what) + " holds " + std::to_string(actual->size()) + " bytes, expected " +
                        std::to_string(expected.size());
  if (at < actual->size() && at < expected.size()) {
    message += "; first difference at offset " + std::to_string(at) + ": " + std::to_string((*actual)[at]) +
               " instead of " + std::to_string(expected[at]);
  }
  RecordFailure(message, where);
  return false;
}

// --- The main window --------------------------------------------------------------------------

PolicyWindow FindPolicyWindow(const Program& program, std::source_location where) {
  return reg::WaitForEditor(program, where);
}

std::string Flags(const PolicyWindow& main) {
  const std::wstring flags = reg::BoxFlags(main);
  return std::string(flags.begin(), flags.end());
}

void SetFlags(const PolicyWindow& main, std::string_view flags, std::source_location where) {
  reg::SetBoxes(main, std::wstring(flags.begin(), flags.end()), where);
}

void WaitForFlags(const PolicyWindow& main, std::string_view flags, std::source_location where) {
  WaitFor("the boxes to show " + std::string(flags), [&] { return Flags(main) == flags; }, kTimeoutMs, where);
}

// --- Dialogs and message boxes ----------------------------------------------------------------

bool IsFileDialog(HWND window) { return FindDescendantById(window, kFileNameCombo) != nullptr; }

HWND ProgramMessageBox(const Program& program) {
  for (HWND window : program.TopLevelWindows(L"#32770")) {
    if (IsWindowVisible(window) && !IsFileDialog(window)) return window;
  }
  return nullptr;
}

HWND WaitForFileDialog(const Program& program, std::source_location where) {
  return WaitFor(
      "the file dialog",
      [&] {
        if (program.HasExited()) Abort("the program ended while its file dialog was awaited", where);
        if (HWND box = ProgramMessageBox(program)) {
          Abort("a message box appeared instead of the file dialog: " + Show(MessageTextOf(box)), where);
        }
        return VisibleFileDialog(program);
      },
      kTimeoutMs, where);
}

HWND FileNameEdit(HWND dialog, std::source_location where) {
  HWND combo = FindDescendantById(dialog, kFileNameCombo);
  const std::vector<HWND> edits = combo ? DescendantsOf(combo, L"Edit") : std::vector<HWND>{};
  if (edits.size() != 1) Abort("the file dialog has no single file name edit", where);
  return edits[0];
}

void TypePathAndAccept(HWND dialog, std::wstring_view path, std::source_location where) {
  const HWND edit = FileNameEdit(dialog, where);
  SetText(edit, L"");
  TypeText(edit, path);
  WaitFor("the file name to be typed", [&] { return TextOf(edit) == path; }, kTimeoutMs, where);
  Click(GetDlgItem(dialog, IDOK));
}

void ExpectMessages(const Program& program, const PolicyWindow& main, std::initializer_list<Reply> replies,
                    std::source_location where) {
  for (const Reply& reply : replies) {
    const std::string note = "awaiting " + Show(reply.text);
    const HWND box = WaitFor(
        "the message " + Show(reply.text),
        [&] {
          if (program.HasExited()) Abort("the program ended while a message was awaited", where);
          return ProgramMessageBox(program);
        },
        kTimeoutMs, where);
    CheckEqual(MessageTextOf(box), std::wstring(reply.text), "the message", "", where);
    CheckEqual(TextOf(box), std::wstring(), "the message box's caption", note, where);
    CheckEqual(HasIcon(box), false, "an icon in the box", note, where);
    CheckEqual(HasButton(box, IDOK), true, "an OK button", note, where);
    CheckEqual(HasButton(box, IDCANCEL), reply.withCancel, "a Cancel button", note, where);
    Answer(box, reply.button, where);
    WaitFor("the message box to close", [&] { return !IsWindow(box) || !IsWindowVisible(box); }, kTimeoutMs, where);
  }
  program.WaitUntilIdle(main.window, where);
  if (VisibleFileDialog(program)) Abort("a file dialog is still open", where);
}

void ChooseFile(const Program& program, const PolicyWindow& main, unsigned command, std::wstring_view path,
                std::source_location where) {
  PostCommand(main.window, command);
  TypePathAndAccept(WaitForFileDialog(program, where), path, where);
}

// --- Keyboard ---------------------------------------------------------------------------------

void PressKey(HWND window, WORD key, std::source_location where) {
  SetForegroundWindow(window);
  WaitFor("the window to come to the foreground", [&] { return GetForegroundWindow() == window; }, kTimeoutMs, where);
  INPUT input[2] = {};
  for (INPUT& one : input) {
    one.type = INPUT_KEYBOARD;
    one.ki.wVk = key;
    one.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

}  // namespace e2e
