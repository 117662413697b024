#include "RegistryHelpers.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>

namespace e2e::reg {
namespace {

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

UniqueKey OpenKey(const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
  return UniqueKey(key);
}

UniqueKey CreatePolicyKey(std::source_location where) {
  HKEY key = nullptr;
  const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kPolicyKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) Abort("cannot create the policy key (error " + std::to_string(status) + ")", where);
  return UniqueKey(key);
}

const char* TypeName(DWORD type) {
  switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    default: return "type ?";
  }
}

void Input(WORD key, bool release, bool unicode = false) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  if (unicode) {
    input.ki.wScan = key;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
  } else {
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  }
  if (release) input.ki.dwFlags |= KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

// A 32-bit top-down bitmap selected into a memory DC, to draw or copy into and read back.
class Canvas {
 public:
  explicit Canvas(SIZE size) : size_(size), screen_(GetDC(nullptr)), memory_(CreateCompatibleDC(screen_)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(memory_, bitmap_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() {
    SelectObject(memory_, old_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
    ReleaseDC(nullptr, screen_);
  }

  HDC Screen() const { return screen_; }
  HDC Dc() const { return memory_; }
  // Every pixel, row by row, as COLORREF values.
  std::vector<COLORREF> Pixels() const {
    GdiFlush();
    std::vector<COLORREF> pixels(static_cast<size_t>(size_.cx) * size_.cy);
    const auto* bgrx = static_cast<const BYTE*>(bits_);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = RGB(bgrx[4 * i + 2], bgrx[4 * i + 1], bgrx[4 * i]);
    return pixels;
  }

 private:
  SIZE size_;
  HDC screen_;
  HDC memory_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

// The pixels of a rectangle of the screen, row by row, as COLORREF values.
std::vector<COLORREF> CaptureScreen(const RECT& rect) {
  const SIZE size{rect.right - rect.left, rect.bottom - rect.top};
  if (size.cx <= 0 || size.cy <= 0) return {};
  // A virtual display may draw the pointer into the pixels read back, and it starts at the
  // centre, over the dialogs: out of the way first.
  const SIZE screenSize = ScreenSize();
  SetCursorPos(screenSize.cx - 1, screenSize.cy - 1);
  const Canvas canvas(size);
  BitBlt(canvas.Dc(), 0, 0, size.cx, size.cy, canvas.Screen(), rect.left, rect.top, SRCCOPY);
  return canvas.Pixels();
}

// The icon drawn the way a static control in icon mode draws it: stretched over its client
// area, on a background of the given colour.
std::vector<COLORREF> RenderIcon(HICON icon, SIZE size, COLORREF background) {
  const Canvas canvas(size);
  HBRUSH brush = CreateSolidBrush(background);
  const RECT all{0, 0, size.cx, size.cy};
  FillRect(canvas.Dc(), &all, brush);
  DeleteObject(brush);
  DrawIconEx(canvas.Dc(), 0, 0, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
  return canvas.Pixels();
}

RECT ClientRectOnScreen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Through the message, which the edit answers itself: GetWindowTextLength gives only what the
// system keeps for a window of another process, which an edit's typed text never reaches.
size_t TextLength(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kTimeoutMs, &length)) {
    Abort("a window of class " + Utf8(ClassOf(window)) + " did not tell its text length");
  }
  return length;
}

HWND IconControlOf(HWND box) {
  for (HWND child : ChildrenOf(box, L"Static")) {
    if ((StyleOf(child) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0)) return child;
  }
  return nullptr;
}

}  // namespace

// --- The policy key ---------------------------------------------------------------------------

std::string Show(const RawValue& value) {
  std::string text = std::string(TypeName(value.type)) + " [";
  const size_t shown = std::min<size_t>(value.bytes.size(), 48);
  for (size_t i = 0; i < shown; ++i) {
    char hex[4];
    snprintf(hex, sizeof hex, i ? " %02X" : "%02X", value.bytes[i]);
    text += hex;
  }
  if (shown < value.bytes.size()) text += " ...";
  text += "] (" + std::to_string(value.bytes.size()) + " bytes)";
  if (value.type == REG_SZ) {
    std::wstring chars(value.bytes.size() / 2, L'\0');
    std::memcpy(chars.data(), value.bytes.data(), chars.size() * 2);
    chars.resize(std::wcslen(chars.c_str()));
    if (chars.size() > 40) chars = chars.substr(0, 40) + L"...";
    text += " \"" + Utf8(chars) + "\"";
  }
  return text;
}

std::string Show(const std::optional<RawValue>& value) { return value ? Show(*value) : "missing"; }

std::string Show(const Values& values) {
  if (values.empty()) return "{no values}";
  std::string text = "{";
  for (const auto& [name, value] : values) text += " " + Utf8(name) + " = " + Show(value) + ";";
  return text + " }";
}

RawValue Sz(std::wstring_view text) {
  RawValue value{REG_SZ, {}};
  for (wchar_t c : text) {
    value.bytes.push_back(static_cast<BYTE>(c & 0xFF));
    value.bytes.push_back(static_cast<BYTE>(c >> 8));
  }
  value.bytes.insert(value.bytes.end(), {0, 0});
  return value;
}

RawValue Dword(DWORD number) {
  RawValue value{REG_DWORD, std::vector<BYTE>(4)};
  std::memcpy(value.bytes.data(), &number, 4);
  return value;
}

RawValue Typed(DWORD type, std::vector<BYTE> bytes) { return RawValue{type, std::move(bytes)}; }

std::wstring Scrambled(std::wstring_view password) {
  std::wstring stored(password);
  for (wchar_t& c : stored) c = static_cast<wchar_t>(c ^ 0x1C);
  return stored;
}

bool KeyExists(const wchar_t* path) { return OpenKey(path) != nullptr; }

std::optional<RawValue> ReadValue(const wchar_t* name) {
  const UniqueKey key = OpenKey(kPolicyKey);
  if (!key) return std::nullopt;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  RawValue value{type, std::vector<BYTE>(size)};
  if (RegQueryValueExW(key.get(), name, nullptr, &type, value.bytes.data(), &size) != ERROR_SUCCESS) {
    Abort("cannot read the value " + Utf8(name));
  }
  value.bytes.resize(size);
  return value;
}

Values ReadValues() {
  Values values;
  const UniqueKey key = OpenKey(kPolicyKey);
  if (!key) return values;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD length = 256;
    const LSTATUS status = RegEnumValueW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) Abort("cannot list the policy key's values (error " + std::to_string(status) + ")");
    values[name] = *ReadValue(name);
  }
  return values;
}

void PutValue(const wchar_t* name, const RawValue& value, std::source_location where) {
  const UniqueKey key = CreatePolicyKey(where);
  // The registry adds a missing terminating zero to a string when the character after the
  // given size is zero; a non-zero byte there keeps the value exactly as given.
  std::vector<BYTE> buffer = value.bytes;
  buffer.insert(buffer.end(), {0xFF, 0xFF});
  const LSTATUS status = RegSetValueExW(key.get(), name, 0, value.type, buffer.data(),
                                        static_cast<DWORD>(value.bytes.size()));
  if (status != ERROR_SUCCESS) Abort("cannot write " + Utf8(name) + " (error " + std::to_string(status) + ")", where);
  const auto stored = ReadValue(name);
  if (stored != value) Abort("the prepared " + Utf8(name) + " reads back as " + Show(stored), where);
}

void PutAnsiString(const char* name, const std::string& text, std::source_location where) {
  const UniqueKey key = CreatePolicyKey(where);
  const LSTATUS status = RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                        static_cast<DWORD>(text.size() + 1));
  if (status != ERROR_SUCCESS) Abort(std::string("cannot write ") + name + " (error " + std::to_string(status) + ")", where);
}

void PutRegistration(std::wstring_view password, std::wstring_view flags, std::source_location where) {
  PutValue(L"adm", Sz(L"1"), where);
  PutValue(L"admstr", Sz(Scrambled(password)), where);
  PutValue(L"Policy01", Sz(flags), where);
}

void DeleteVendorKey(std::source_location where) {
  LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
  if (status == ERROR_SUCCESS) status = RegDeleteKeyW(HKEY_CURRENT_USER, kVendorKey);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    Abort("cannot delete HKCU\\Software\\Qrw (error " + std::to_string(status) + ")", where);
  }
}

// --- The main window --------------------------------------------------------------------------

Editor WaitForEditor(const Program& program, std::source_location where) {
  Editor editor{program.WaitForVisibleTopLevel(L"TMainForm", where), {}};
  // The thirteen boxes are the only buttons of the main window, on a panel in the tab sheet.
  editor.boxes = InReadingOrder(DescendantsOf(editor.window, L"Button"));
  if (editor.boxes.size() != 13) Abort("the main window has " + std::to_string(editor.boxes.size()) + " boxes", where);
  return editor;
}

std::wstring BoxFlags(const Editor& editor) {
  std::wstring flags;
  for (HWND box : editor.boxes) flags += IsChecked(box) ? L't' : L'f';
  return flags;
}

void SetBoxes(const Editor& editor, std::wstring_view flags, std::source_location where) {
  const std::wstring now = BoxFlags(editor);
  for (size_t i = 0; i < editor.boxes.size(); ++i) {
    if (now[i] != flags[i]) Click(editor.boxes[i]);
  }
  WaitFor("the boxes to show " + Utf8(flags), [&] { return BoxFlags(editor) == flags; }, kTimeoutMs, where);
}

void Settle(const Editor& editor, std::source_location where) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(editor.window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &result)) {
    Abort("the main window did not answer", where);
  }
}

size_t DialogWindowCount(const Program& program) {
  return program.TopLevelWindows(L"#32770").size() + program.TopLevelWindows(L"TPasswordDlg").size();
}

// --- Keyboard ---------------------------------------------------------------------------------

void PressKey(WORD virtualKey) { PressKeys({virtualKey}); }

void PressKeys(std::initializer_list<WORD> chord) {
  for (WORD key : chord) Input(key, false);
  for (auto key = std::rbegin(chord); key != std::rend(chord); ++key) Input(*key, true);
}

void TypeKeys(std::wstring_view text) {
  for (wchar_t c : text) {
    Input(c, false, true);
    Input(c, true, true);
  }
}

void CopyToClipboard(std::wstring_view text, std::source_location where) {
  if (!OpenClipboard(nullptr)) Abort("cannot open the clipboard", where);
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  auto* chars = static_cast<wchar_t*>(GlobalLock(memory));
  std::copy(text.begin(), text.end(), chars);
  chars[text.size()] = L'\0';
  GlobalUnlock(memory);
  const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!placed) Abort("cannot place text on the clipboard", where);
}

void WaitForKeyboardFocus(HWND window, HWND focus, std::source_location where) {
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  WaitFor(
      "the " + Utf8(ClassOf(window)) + " window to take the keyboard",
      [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetForegroundWindow() == window && GetGUIThreadInfo(thread, &info) && info.hwndFocus == focus;
      },
      kTimeoutMs, where);
}

// --- The password dialog ----------------------------------------------------------------------

PasswordDialog WaitForPasswordDialog(const Program& program, std::source_location where) {
  PasswordDialog dialog{program.WaitForVisibleTopLevel(L"TPasswordDlg", where), nullptr, nullptr, nullptr};
  const std::vector<HWND> edits = ChildrenOf(dialog.window, L"Edit");
  if (edits.size() != 1) Abort("the password dialog has " + std::to_string(edits.size()) + " edits", where);
  dialog.edit = edits[0];
  dialog.ok = FindDescendant(dialog.window, L"Button", L"OK");
  dialog.cancel = FindDescendant(dialog.window, L"Button", L"キャンセル");
  if (!dialog.ok || !dialog.cancel) Abort("the password dialog lacks OK or キャンセル", where);
  return dialog;
}

const char* Name(Leave how) {
  switch (how) {
    case Leave::EnterKey: return "Enter";
    case Leave::OkButton: return "OK button";
    case Leave::EscKey: return "Esc";
    case Leave::CancelButton: return "キャンセル button";
    case Leave::CloseBox: return "close box";
  }
  return "?";
}

void AnswerPassword(const PasswordDialog& dialog, std::wstring_view password, Leave how, std::source_location where) {
  // A person types where the caret already is: the dialog comes up in front with the edit focused.
  WaitForKeyboardFocus(dialog.window, dialog.edit, where);
  // Nobody types thousands of characters: a long password comes from the clipboard.
  if (password.size() > 64) {
    CopyToClipboard(password, where);
    PressKeys({VK_CONTROL, 'V'});
  } else {
    TypeKeys(password);
  }
  WaitFor(
      "the password edit to hold " + std::to_string(password.size()) + " characters",
      [&] { return TextLength(dialog.edit) == password.size(); }, kTimeoutMs, where);
  switch (how) {
    case Leave::EnterKey: PressKey(VK_RETURN); break;
    case Leave::OkButton: Click(dialog.ok); break;
    case Leave::EscKey: PressKey(VK_ESCAPE); break;
    case Leave::CancelButton: Click(dialog.cancel); break;
    case Leave::CloseBox: PostCloseBox(dialog.window); break;
  }
  WaitFor(std::string("the password dialog to close after ") + Name(how), [&] { return !IsWindow(dialog.window); },
          kTimeoutMs, where);
}

// --- Message boxes ----------------------------------------------------------------------------

std::string IconShownBy(HWND box) {
  const HWND control = IconControlOf(box);
  if (!control) return "none";
  const RECT rect = ClientRectOnScreen(control);
  const SIZE size{rect.right - rect.left, rect.bottom - rect.top};
  const std::vector<COLORREF> shown = CaptureScreen(rect);
  if (shown.empty()) return "none";
  // The corners of every system icon are transparent: the top-left pixel is the background.
  const COLORREF background = shown[0];
  const struct {
    const char* name;
    const wchar_t* id;
  } icons[] = {{"stop", IDI_HAND}, {"question", IDI_QUESTION}, {"warning", IDI_EXCLAMATION}, {"information", IDI_ASTERISK}};
  std::string closest;
  size_t fewest = shown.size() + 1;
  for (const auto& icon : icons) {
    const std::vector<COLORREF> drawn = RenderIcon(LoadIconW(nullptr, icon.id), size, background);
    size_t differing = 0;
    for (size_t i = 0; i < shown.size(); ++i) differing += shown[i] != drawn[i];
    if (differing == 0) return icon.name;
    if (differing < fewest) fewest = differing, closest = icon.name;
  }
  return "none (closest: " + closest + ", " + std::to_string(fewest) + " of " + std::to_string(shown.size()) +
         " pixels differ)";
}

size_t PixelsOfColour(HWND window, COLORREF colour) {
  const std::vector<COLORREF> pixels = CaptureScreen(ClientRectOnScreen(window));
  return static_cast<size_t>(std::count(pixels.begin(), pixels.end(), colour));
}

std::wstring Described(HWND box) {
  std::wstring line = MessageTextOf(box);
  const std::wstring caption = TextOf(box);
  if (!caption.empty()) line += L" [caption " + caption + L"]";
  if (IconControlOf(box)) {
    // The icon is compared on the screen, so give the box the time to paint it.
    std::string icon;
    const auto deadline = GetTickCount64() + kTimeoutMs;
    do {
      icon = IconShownBy(box);
      if (icon.find(' ') == std::string::npos) break;
      Sleep(kPollMs);
    } while (GetTickCount64() < deadline);
    line += L" [icon " + std::wstring(icon.begin(), icon.end()) + L"]";
  }
  return line;
}

std::wstring ErrorBox(std::wstring_view text) {
  return std::wstring(text) + L" [caption " + kApplicationTitle + L"] [icon stop]";
}

std::wstring AnswerBox(HWND box, int button, std::source_location where) {
  const std::wstring described = Described(box);
  Answer(box, button, where);
  WaitFor("the message box " + e2e::Show(described) + " to close", [&] { return !IsWindow(box); }, kTimeoutMs, where);
  return described;
}

std::wstring Steps(std::initializer_list<std::wstring_view> steps) {
  std::wstring joined;
  for (std::wstring_view step : steps) joined += (joined.empty() ? L"" : L" | ") + std::wstring(step);
  return joined;
}

namespace {

std::wstring GoThroughCommand(const Program& program, const Editor& editor, const std::function<void()>& give,
                              std::wstring_view password, Leave accept, std::source_location where) {
  program.WaitUntilIdle(editor.window, where);
  give();
  std::wstring steps;
  auto add = [&](const std::wstring& step) { steps += (steps.empty() ? L"" : L" | ") + step; };
  for (;;) {
    const HWND window = WaitFor(
        "a message box or the password dialog after " + Utf8(steps.empty() ? L"the command" : steps),
        [&] {
          if (program.HasExited()) Abort("the program ended during a command", where);
          if (HWND box = program.MessageBoxWindow()) return box;
          return program.VisibleTopLevel(L"TPasswordDlg");
        },
        kTimeoutMs, where);
    if (ClassOf(window) == L"TPasswordDlg") {
      add(kPasswordStep);
      AnswerPassword(WaitForPasswordDialog(program, where), password, accept, where);
    } else if (HasButton(window, IDCANCEL)) {
      add(AnswerBox(window, IDOK, where));
    } else {
      add(AnswerBox(window, IDOK, where));
      break;
    }
  }
  program.WaitUntilIdle(editor.window, where);
  return steps;
}

}  // namespace

std::wstring RunCommand(const Program& program, const Editor& editor, UINT command, std::wstring_view password,
                        Leave accept, std::source_location where) {
  return GoThroughCommand(program, editor, [&] { PostCommand(editor.window, command); }, password, accept, where);
}

std::wstring RunMenuCommand(const Program& program, const Editor& editor, std::wstring_view menuKeys,
                            std::wstring_view password, Leave accept, std::source_location where) {
  return GoThroughCommand(
      program, editor, [&] { PressMenuKeys(program, editor.window, menuKeys, where); }, password, accept, where);
}

}  // namespace e2e::reg
