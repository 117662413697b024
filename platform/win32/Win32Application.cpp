#include "platform/win32/Win32Application.h"

#include <commctrl.h>

#include <stdexcept>

#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Registry.h"

namespace platform::win32 {

namespace {

constexpr wchar_t kApplicationClass[] = L"TApplication";
// The program icon in the resources.
constexpr int kIconResource = 1;

bool IsSystemKey(UINT message) {
  return message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR;
}

BOOL CALLBACK DisableWindow(HWND window, LPARAM disabled) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    reinterpret_cast<std::vector<HWND>*>(disabled)->push_back(window);
  }
  return TRUE;
}

}  // namespace

TaskModalScope::TaskModalScope() : active_(GetActiveWindow()) {
  EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&disabled_));
}

TaskModalScope::~TaskModalScope() {
  for (HWND window : disabled_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  if (active_ && IsWindow(active_)) SetActiveWindow(active_);
}

Win32Application::Win32Application(HINSTANCE instance) : instance_(instance) {}

Win32Application::~Win32Application() {
  mainForm_.reset();
  if (appWindow_) DestroyWindow(appWindow_);
}

void Win32Application::Initialize() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  icon_ = LoadIconW(instance_, MAKEINTRESOURCEW(kIconResource));
  font_.Reset(CreateFontW(-kFormFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          Wide(kFormFontFace).c_str()));
  NativeForm::RegisterClasses(instance_, icon_);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = AppWindowProc;
  windowClass.hInstance = instance_;
  windowClass.hIcon = icon_;
  windowClass.lpszClassName = kApplicationClass;
  RegisterClassExW(&windowClass);
  // A window of no size at the screen centre: it carries the taskbar button (with the title)
  // and owns the main window and every message box.
  appWindow_ = CreateWindowExW(0, kApplicationClass, Wide(Title()).c_str(),
                               WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                               GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                               nullptr, instance_, this);
  if (!appWindow_) throw std::runtime_error("the application window cannot be created");
}

void Win32Application::SetTitle(std::string title) {
  Application::SetTitle(std::move(title));
  if (appWindow_) SetWindowTextW(appWindow_, Wide(Title()).c_str());
}

LRESULT CALLBACK Win32Application::AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Application*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_ACTIVATE:
      // Activated through its taskbar button: hand the activation on to the form in front.
      if (LOWORD(wParam) != WA_INACTIVE && self) {
        const HWND front = self->modalForms_.empty() ? self->MainWindow() : self->modalForms_.back()->Window();
        if (front && IsWindowEnabled(front)) SetActiveWindow(front);
      }
      return 0;
    case WM_CLOSE:
      if (self && self->MainWindow()) PostMessageW(self->MainWindow(), WM_CLOSE, 0, 0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND Win32Application::MainWindow() const { return mainForm_ ? mainForm_->Window() : nullptr; }

void Win32Application::CreateWindowFor(Form& form) {
  if (mainForm_) throw std::logic_error("only the main window is created at start-up");
  mainForm_ = std::make_unique<NativeForm>(*this, form, appWindow_, true);
}

void Win32Application::Run() {
  if (mainForm_) {
    ShowWindow(MainWindow(), SW_SHOW);
    SetForegroundWindow(MainWindow());
    mainForm_->FocusFirstControl();
    // Then the taskbar button: the window the user waits for comes first.
    ShowWindow(appWindow_, SW_SHOWNOACTIVATE);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      // Tab, Enter and Esc move between and press controls; the Alt keys stay with the menu.
      const HWND root = GetAncestor(message.hwnd, GA_ROOT);
      if (root && root != appWindow_ && !IsSystemKey(message.message) && IsDialogMessageW(root, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (!HelpFile().empty()) CallHelpViewer(HelpFile(), kHelpQuit, 0);
  mainForm_.reset();
}

ModalResult Win32Application::ShowModal(Form& form) {
  form.SetModalResult(mrNone);
  auto scope = std::make_unique<TaskModalScope>();
  NativeForm native(*this, form, MainWindow(), false);
  modalForms_.push_back(&native);
  ShowWindow(native.Window(), SW_SHOW);
  native.FocusFirstControl();

  MSG message;
  while (form.GetModalResult() == mrNone) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: leave the quit message for the main loop.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      form.SetModalResult(mrCancel);
      break;
    }
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (root == native.Window() && !IsSystemKey(message.message) && IsDialogMessageW(root, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  modalForms_.pop_back();
  // The owner is enabled and activated again before the dialog goes, so the activation
  // returns to it and not to another program.
  scope.reset();
  return form.GetModalResult();
}

int Win32Application::ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  TaskModalScope scope;
  return MessageBoxW(appWindow_, Wide(text).c_str(), Wide(caption).c_str(), flags);
}

std::unique_ptr<Registry> Win32Application::NewRegistry() { return std::make_unique<Win32Registry>(); }

void Win32Application::DispatchFromWindow(const std::function<void()>& handler) noexcept {
  try {
    Dispatch(handler);
  } catch (...) {
    // Showing the error failed too (out of memory); the window stays usable.
  }
}

Form* Win32Application::ActiveForm() {
  if (!modalForms_.empty()) return &modalForms_.back()->GetForm();
  return mainForm_ ? &mainForm_->GetForm() : nullptr;
}

bool Win32Application::CallHelpViewer(const std::string& file, unsigned command, std::uintptr_t data) {
  HWND window = nullptr;
  if (!modalForms_.empty()) window = modalForms_.back()->Window();
  if (!window && MainWindow() && IsWindow(MainWindow())) window = MainWindow();
  if (!window) window = appWindow_;
  return WinHelpW(window, Wide(file).c_str(), command, data) != FALSE;
}

}  // namespace platform::win32
