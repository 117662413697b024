// Working the registry commands from outside: the policy key read and written by the driver
// itself as raw value types and bytes, the check boxes of the main window, the password dialog,
// the keyboard, and the message boxes a command answers with.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Driver.h"

namespace e2e::reg {

// --- The policy key, seen from the driver -----------------------------------------------------

// HKEY_CURRENT_USER relative.
constexpr const wchar_t* kVendorKey = L"Software\\Qrw";
constexpr const wchar_t* kPolicyKey = L"Software\\Qrw\\Pelaro";

// One registry value exactly as stored: its type and its bytes.
struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
  bool operator==(const RawValue&) const = default;
};
// Every value of the policy key by name; empty when the key does not exist.
using Values = std::map<std::wstring, RawValue>;

// For failure messages: the type, the bytes in hex and, for text, what they spell.
std::string Show(const RawValue& value);
std::string Show(const std::optional<RawValue>& value);
std::string Show(const Values& values);

// What a REG_SZ holding text is: UTF-16LE with its terminating zero.
RawValue Sz(std::wstring_view text);
RawValue Dword(DWORD number);
RawValue Typed(DWORD type, std::vector<BYTE> bytes);
// The stored form of an ASCII password: each character XOR 0x1C.
std::wstring Scrambled(std::wstring_view password);

bool KeyExists(const wchar_t* path);
std::optional<RawValue> ReadValue(const wchar_t* name);
Values ReadValues();
// Stores exactly these bytes (no terminating zero is added to a string that lacks one) and
// reads them back; ends the scenario if the registry holds anything else.
void PutValue(const wchar_t* name, const RawValue& value,
              std::source_location where = std::source_location::current());
// Stores text through the ANSI function, as a program built for the system code page does.
void PutAnsiString(const char* name, const std::string& text,
                   std::source_location where = std::source_location::current());
// A registered policy: adm "1", admstr the scrambled password, Policy01 the flags.
void PutRegistration(std::wstring_view password, std::wstring_view flags,
                     std::source_location where = std::source_location::current());
// Deletes HKCU\Software\Qrw with everything under it.
void DeleteVendorKey(std::source_location where = std::source_location::current());

// --- The main window --------------------------------------------------------------------------

struct Editor {
  HWND window;
  std::vector<HWND> boxes;  // the thirteen restrictions, top to bottom
};
Editor WaitForEditor(const Program& program, std::source_location where = std::source_location::current());
// The boxes as 't' (checked) and 'f', top to bottom: the form Policy01 holds them in.
std::wstring BoxFlags(const Editor& editor);
// Clicks the boxes that differ from flags and waits until all of them show flags.
void SetBoxes(const Editor& editor, std::wstring_view flags,
              std::source_location where = std::source_location::current());

// Waits until the program has finished what it was doing and come back for its next message:
// a reply to a sent message proves it. A message box that the handler was about to show exists
// by then, hidden or not.
void Settle(const Editor& editor, std::source_location where = std::source_location::current());
// The program's dialog-class windows, hidden ones included.
size_t DialogWindowCount(const Program& program);

// --- Keyboard ---------------------------------------------------------------------------------
// Keys go through the system's input queue to the focused window of the foreground window.

void PressKey(WORD virtualKey);
void PressKeys(std::initializer_list<WORD> chord);  // held down together, in order
void TypeKeys(std::wstring_view text);               // one key per character, any character
// Puts text on the clipboard, as copied from somewhere else.
void CopyToClipboard(std::wstring_view text, std::source_location where = std::source_location::current());
// Waits until window is the foreground window holding the keyboard focus in focus.
void WaitForKeyboardFocus(HWND window, HWND focus, std::source_location where = std::source_location::current());

// --- The password dialog ----------------------------------------------------------------------

struct PasswordDialog {
  HWND window;
  HWND edit;
  HWND ok;
  HWND cancel;
};
PasswordDialog WaitForPasswordDialog(const Program& program,
                                     std::source_location where = std::source_location::current());

enum class Leave { EnterKey, OkButton, EscKey, CancelButton, CloseBox };
const char* Name(Leave how);
// Types the password in the focused edit, checks that it all arrived, and leaves the dialog.
// Ends once the dialog is gone.
// A long password is pasted from the clipboard with Ctrl+V, as nobody types thousands of keys.
void AnswerPassword(const PasswordDialog& dialog, std::wstring_view password, Leave how,
                    std::source_location where = std::source_location::current());

// --- Message boxes ----------------------------------------------------------------------------

constexpr const wchar_t* kApplicationTitle = L"Pelaroグループポリシー";

// The icon a message box shows, found on the screen: "stop", "question", "warning",
// "information", or "none" (with the closest one, for the failure message).
std::string IconShownBy(HWND box);
// Pixels of the window's client area that have exactly this colour on the screen.
size_t PixelsOfColour(HWND window, COLORREF colour);

// A message box as one line: its text, then its caption and icon when it has them, e.g.
// "text [caption Pelaroグループポリシー] [icon stop]". Plain boxes are their text alone.
std::wstring Described(HWND box);
// What an error of the program looks like in that form: the exception box.
std::wstring ErrorBox(std::wstring_view text);
// Reads the box as Described, answers it with button and returns once the box is gone.
std::wstring AnswerBox(HWND box, int button, std::source_location where = std::source_location::current());

// Stands for the password dialog in a list of steps.
constexpr const wchar_t* kPasswordStep = L"[password]";
// Steps joined for comparing: "first | second | ...".
std::wstring Steps(std::initializer_list<std::wstring_view> steps);

// Gives a command and goes through it as a person who wants it done: OK to each question (a box
// with Cancel), the password typed and left with `accept` when the dialog comes, OK to the box
// that ends it. Returns every window met on the way, as Steps, once the main window takes input
// again.
std::wstring RunCommand(const Program& program, const Editor& editor, UINT command, std::wstring_view password,
                        Leave accept = Leave::EnterKey,
                        std::source_location where = std::source_location::current());
// The same, the command given from the keyboard through the menu bar: Alt with the first key,
// then the item's letter, e.g. L"FS".
std::wstring RunMenuCommand(const Program& program, const Editor& editor, std::wstring_view menuKeys,
                            std::wstring_view password, Leave accept = Leave::EnterKey,
                            std::source_location where = std::source_location::current());

}  // namespace e2e::reg
