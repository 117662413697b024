// The common open and save dialogs.
#include "platform/win32/Win32Application.h"

#include <commdlg.h>
#include <dlgs.h>

#include <vector>

namespace platform::win32 {

namespace {

// A name typed or pasted into the dialog stops where the program's buffer ends: comdlg32 takes an
// over-long path apart in buffers of its own size (Wine's overruns them), and such a name could
// not be returned anyway.
BOOL CALLBACK LimitEdit(HWND window, LPARAM) {
  wchar_t className[8];
  if (GetClassNameW(window, className, 8) && lstrcmpiW(className, L"Edit") == 0) {
    SendMessageW(window, EM_LIMITTEXT, FileDialog::kMaxFileName - 1, 0);
  }
  return TRUE;
}

void LimitFileName(HWND dialog) {
  HWND name = GetDlgItem(dialog, cmb13);
  if (!name) name = GetDlgItem(dialog, edt1);
  if (!name) return;
  // The name box is an edit, a combo box or (Wine) an extended combo box around one: the limit
  // goes to whichever edit takes the keys.
  LimitEdit(name, 0);
  EnumChildWindows(name, LimitEdit, 0);
}

// Centres the dialog horizontally on the main window's monitor, its top at a third of the
// free height, and limits the name to the buffer.
UINT_PTR CALLBACK DialogHook(HWND hook, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hook, GWLP_USERDATA, reinterpret_cast<const OPENFILENAMEW*>(lParam)->lCustData);
  } else if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE) {
    const HWND dialog = GetParent(hook);
    const auto mainWindow = reinterpret_cast<HWND>(GetWindowLongPtrW(hook, GWLP_USERDATA));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT frame;
    GetWindowRect(dialog, &frame);
    const RECT& area = monitor.rcWork;
    const int x = area.left + ((area.right - area.left) - (frame.right - frame.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (frame.bottom - frame.top)) / 3;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LimitFileName(dialog);
  }
  return 0;
}

using DialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);

// comdlg32 brings the shell and the printing DLLs with it, a third of the program's memory under
// Wine: it is loaded when a file dialog is first wanted, not at start-up.
DialogFunction LoadDialogFunction(FileDialogKind kind) {
  static const HMODULE module = LoadLibraryW(L"comdlg32.dll");
  if (!module) return nullptr;
  const FARPROC function = GetProcAddress(module, kind == FileDialogKind::Open ? "GetOpenFileNameW" : "GetSaveFileNameW");
  return reinterpret_cast<DialogFunction>(reinterpret_cast<void*>(function));
}

}  // namespace

bool Win32Application::RunFileDialog(const FileDialog& dialog, std::string& fileName) {
  std::wstring filter;
  for (const FilterEntry& entry : SplitFilter(dialog.Filter())) {
    filter += Wide(entry.description) + L'\0' + Wide(entry.pattern) + L'\0';
  }
  filter += L'\0';

  // The buffer holds at most kMaxFileName characters with the terminating zero.
  std::vector<wchar_t> buffer(FileDialog::kMaxFileName + 1, L'\0');
  const std::wstring start = Wide(fileName);
  if (start.size() < static_cast<std::size_t>(FileDialog::kMaxFileName)) std::copy(start.begin(), start.end(), buffer.begin());

  OPENFILENAMEW settings{};
  settings.lStructSize = sizeof settings;
  settings.hwndOwner = AppWindow();
  settings.hInstance = Instance();
  settings.lpstrFilter = filter.c_str();
  settings.nFilterIndex = 1;
  settings.lpstrFile = buffer.data();
  settings.nMaxFile = FileDialog::kMaxFileName;
  settings.Flags = dialog.Options();
  settings.lpfnHook = DialogHook;
  settings.lCustData = reinterpret_cast<LPARAM>(MainWindow());

  const DialogFunction run = LoadDialogFunction(dialog.Kind());
  if (!run) return false;
  BOOL chosen;
  {
    TaskModalScope scope;
    chosen = run(&settings);
  }
  if (!chosen) return false;
  fileName = Narrow(buffer.data());
  return true;
}

}  // namespace platform::win32
