// Working the file commands from outside: the main window's thirteen boxes, the common open and
// save dialogs the program shows, the message boxes that follow, and the files on disk, which
// the driver reads and writes itself to compare byte for byte.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Driver.h"
#include "RegistryHelpers.h"

namespace e2e {

using Bytes = std::vector<unsigned char>;

// --- Files, seen from the driver --------------------------------------------------------------

// An empty folder for one scenario under the prefix's temporary folder, as an absolute path
// ending in a backslash. Whatever an earlier run left there is removed first.
std::wstring FreshFolder(std::wstring_view name, std::source_location where = std::source_location::current());
// The whole file, or nothing if it cannot be opened (missing, or held exclusively).
std::optional<Bytes> ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const Bytes& bytes,
                    std::source_location where = std::source_location::current());
bool FileExists(const std::wstring& path);
// The names in a folder, "." and ".." left out, sorted and joined by " | ", for comparing.
std::wstring FolderListing(const std::wstring& folder);
// What the program writes for these flags when nothing else was ever read: the flags as 't'/'f'
// and the rest of the 1088-byte record zero.
Bytes FreshRecord(std::string_view flags);
// Compares a file read back with what it should hold, byte for byte; a failure names the first
// offset that differs. A file that could not be read fails too.
bool CheckBytes(const std::optional<Bytes>& actual, const Bytes& expected, std::string_view what,
                std::source_location where = std::source_location::current());

// --- The main window --------------------------------------------------------------------------

// The main window and its thirteen boxes, top to bottom; the flags here are narrow strings, as
// the file holds them.
using PolicyWindow = reg::Editor;
PolicyWindow FindPolicyWindow(const Program& program, std::source_location where = std::source_location::current());
// The boxes as 't' (checked) and 'f', top to bottom.
std::string Flags(const PolicyWindow& main);
// Clicks the boxes that differ from flags and waits until all show them.
void SetFlags(const PolicyWindow& main, std::string_view flags,
              std::source_location where = std::source_location::current());
// Waits until the boxes show flags (a read is applied after its dialog has closed).
void WaitForFlags(const PolicyWindow& main, std::string_view flags,
                  std::source_location where = std::source_location::current());

// --- Dialogs and message boxes ----------------------------------------------------------------

// The open or save dialog: a top-level #32770 of the program holding the file name combo box.
bool IsFileDialog(HWND window);
// Waits for the program's file dialog; a message box showing up instead ends the scenario.
HWND WaitForFileDialog(const Program& program, std::source_location where = std::source_location::current());
// The edit inside the file name combo box.
HWND FileNameEdit(HWND dialog, std::source_location where = std::source_location::current());
// Empties the file name, types path key by key, waits until the edit shows it, then presses OK.
void TypePathAndAccept(HWND dialog, std::wstring_view path,
                       std::source_location where = std::source_location::current());

// A message box of the program itself (not a file dialog), or nullptr.
HWND ProgramMessageBox(const Program& program);

// One message box the program is expected to show, and the button to answer it with.
struct Reply {
  const wchar_t* text;
  int button = IDOK;
  bool withCancel = false;  // a question: OK and Cancel; otherwise OK alone
};
// Waits for each box in turn, checks its text and its plain look (empty caption, no icon, the
// buttons of its kind), answers it, and finally waits until the main window takes input again.
void ExpectMessages(const Program& program, const PolicyWindow& main, std::initializer_list<Reply> replies,
                    std::source_location where = std::source_location::current());

// Posts a file command, waits for its dialog, types path and presses OK.
void ChooseFile(const Program& program, const PolicyWindow& main, unsigned command, std::wstring_view path,
                std::source_location where = std::source_location::current());

// --- Keyboard ---------------------------------------------------------------------------------

// Brings window to the foreground and presses and releases key through the system's input queue.
void PressKey(HWND window, WORD key, std::source_location where = std::source_location::current());

}  // namespace e2e
