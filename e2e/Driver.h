// Working the program's windows from outside, the way a person would: find a window, read what it
// shows, click, type, use the keyboard, answer message boxes. Everything here goes through the
// windows of another process, so nothing needs to be built into the program under test.
//
// Helpers that wait poll every kPollMs and end the current scenario with a clear message after
// kTimeoutMs; the timeout is generous because a loaded CI machine can be slow, and no check
// depends on how quickly something happened.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <chrono>
#include <source_location>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "Scenario.h"

namespace e2e {

constexpr DWORD kTimeoutMs = 10000;
constexpr DWORD kPollMs = 20;

// Polls probe() until it returns something truthy and returns that; ends the scenario after the
// timeout, naming what was awaited.
template <class Probe>
auto WaitFor(std::string_view what, Probe probe, DWORD timeoutMs = kTimeoutMs,
             std::source_location where = std::source_location::current()) -> decltype(probe()) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (auto result = probe()) return result;
    if (std::chrono::steady_clock::now() >= deadline) {
      Abort("timed out after " + std::to_string(timeoutMs / 1000) + " s waiting for " + std::string(what),
            where);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  }
}

// The program under test, as given on the driver's command line.
void SetProgramPath(std::wstring path);
const std::wstring& ProgramPath();

// Deletes the program's own registry key and the file dialogs' remembered folders, so that every
// launch starts as on a PC where the program never ran. Returns false if a key could not go.
[[nodiscard]] bool ResetRegistry();

// One running instance of the program under test. Ending the scenario with the program still
// running terminates it, so that a failed scenario cannot disturb the next one.
class Program {
 public:
  static Program Launch(std::source_location where = std::source_location::current());
  Program(Program&& other) noexcept;
  Program& operator=(Program&&) = delete;
  ~Program();

  DWORD Id() const { return id_; }
  bool HasExited() const;
  // Waits for the process to end and gives its exit code.
  DWORD WaitForExit(std::source_location where = std::source_location::current()) const;

  // Top-level windows of the process, hidden ones included; an empty class matches every class.
  std::vector<HWND> TopLevelWindows(std::wstring_view className = {}) const;
  HWND VisibleTopLevel(std::wstring_view className) const;
  HWND WaitForVisibleTopLevel(std::wstring_view className,
                              std::source_location where = std::source_location::current()) const;

  // The program's visible message box (dialog class #32770), or nullptr. Found by class and
  // process rather than by title, because the program's boxes may have an empty caption.
  HWND MessageBoxWindow() const { return VisibleTopLevel(L"#32770"); }
  HWND WaitForMessageBox(std::source_location where = std::source_location::current()) const;

  // Waits until no message box of the program is visible and `window` accepts input again: only
  // then would a person be able to give the next command.
  void WaitUntilIdle(HWND window, std::source_location where = std::source_location::current()) const;

 private:
  Program(HANDLE process, DWORD id) : process_(process), id_(id) {}
  HANDLE process_;
  DWORD id_;
};

// --- Reading windows ------------------------------------------------------------------------

std::wstring ClassOf(HWND window);
// The window's text through WM_GETTEXT, so that controls answer as they would to a screen reader.
std::wstring TextOf(HWND window);
LONG_PTR StyleOf(HWND window);
RECT WindowRectOf(HWND window);  // screen coordinates, frame included
SIZE ClientSizeOf(HWND window);
SIZE ScreenSize();
RECT WorkAreaOf(HWND window);  // of the monitor the window is on

// Direct children, or all descendants, of the given class (empty: any class), in z-order.
std::vector<HWND> ChildrenOf(HWND parent, std::wstring_view className = {});
std::vector<HWND> DescendantsOf(HWND parent, std::wstring_view className = {});
// First descendant with that class whose text is `text`; nullptr if none.
HWND FindDescendant(HWND parent, std::wstring_view className, std::wstring_view text);
HWND FindDescendantById(HWND parent, int controlId);
// Sorted as a person reads them: top to bottom, then left to right.
std::vector<HWND> InReadingOrder(std::vector<HWND> windows);

bool IsChecked(HWND button);
// Asks the window what is under a point in screen coordinates (WM_NCHITTEST).
LRESULT HitTest(HWND window, POINT screenPoint);

// Tab item texts live in the tab control, not in any window text, and TCM_GETITEMW needs a
// buffer the control can write to: it is placed in the program's own memory for the call.
int TabCount(HWND tabControl);
std::wstring TabText(HWND tabControl, int index);

// Top-level windows of any process, hidden ones included; an empty class matches every class.
std::vector<HWND> TopLevelWindowsOf(DWORD process, std::wstring_view className = {});
HWND VisibleTopLevelOf(DWORD process, std::wstring_view className);
// Processes of the session whose image has this file name (any case), e.g. L"winhlp32.exe".
std::vector<DWORD> ProcessesNamed(std::wstring_view image);
// Waits for a process with that image that is not among those listed before.
DWORD WaitForNewProcess(std::wstring_view image, const std::vector<DWORD>& before,
                        std::source_location where = std::source_location::current());

// --- Acting on windows ----------------------------------------------------------------------
// Everything that may open a modal window is posted, never sent: a send would not return until
// the modal window closed, and the driver would sit waiting on itself.

void Click(HWND button);
void SetText(HWND edit, std::wstring_view text);
// Types text character by character, as the keyboard would deliver it.
void TypeText(HWND edit, std::wstring_view text);
void PostCommand(HWND window, UINT commandId);
// The close box of the title bar.
void PostCloseBox(HWND window);

// Works the menu bar from the keyboard: Alt with keys[0] opens a menu, then each further key
// picks an item by its underlined letter. Waits for the drop-down menu before going on, as a
// person looks before typing. Letters are given in upper case (virtual-key codes).
void PressMenuKeys(const Program& program, HWND window, std::wstring_view keys,
                   std::source_location where = std::source_location::current());

// --- Message boxes --------------------------------------------------------------------------

std::wstring MessageTextOf(HWND box);
// A message box shows an icon through a static control in icon mode.
bool HasIcon(HWND box);
bool HasButton(HWND box, int buttonId);
// Presses the button with that id (IDOK, IDCANCEL, ...).
void Answer(HWND box, int buttonId, std::source_location where = std::source_location::current());

}  // namespace e2e
