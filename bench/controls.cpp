// The same window as stampctl.exe's, written out by hand in plain Win32: the common controls 6
// manifest, a hidden-owner taskbar window, a menu bar, a tab control and thirteen check boxes in
// the program's Japanese font. Set beside the empty window, it shows what the window itself costs
// to start under Wine, and so how much of stampctl.exe's start-up is the program's own.
#include <windows.h>
#include <commctrl.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"BenchControlsWindow";
  if (!RegisterClassExW(&windowClass)) return 1;

  const HWND taskbar = CreateWindowExW(0, windowClass.lpszClassName, L"Pelaroグループポリシー",
                                       WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                                       nullptr, instance, nullptr);
  const HWND window =
      CreateWindowExW(0, windowClass.lpszClassName, L"Pelaro印鑑グループポリシーエディタ",
                      WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 340,
                      340, taskbar, nullptr, instance, nullptr);
  if (!taskbar || !window) return 1;

  const HMENU bar = CreateMenu();
  const HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 1, L"終了(&X)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"ファイル(&F)");
  SetMenu(window, bar);

  const HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"ＭＳ Ｐゴシック");
  const HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 334, 293,
                                    window, nullptr, instance, nullptr);
  SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  TCITEMW tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = const_cast<wchar_t*>(L"印編集");
  SendMessageW(tabs, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tab));
  for (int i = 0; i < 13; ++i) {
    const HWND box = CreateWindowExW(0, L"BUTTON", L"スタンプ台の認印の編集を認めない",
                                     WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 16, 32 + i * 19, 280, 17,
                                     window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), instance, nullptr);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }

  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  ShowWindow(taskbar, SW_SHOWNOACTIVATE);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(font);
  return static_cast<int>(message.wParam);
}
