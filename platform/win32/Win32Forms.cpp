#include "platform/win32/Win32Forms.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "platform/Application.h"
#include "platform/win32/Win32Application.h"

namespace platform::win32 {

namespace {

constexpr wchar_t kPanelClass[] = L"TPanel";
constexpr wchar_t kTabSheetClass[] = L"TTabSheet";
// Above IDOK and IDCANCEL, which Enter and Esc send, and above the menu's command numbers.
constexpr int kFirstControlId = 1000;
constexpr COLORREF kNavy = RGB(0, 0, 128);

HINSTANCE gInstance = nullptr;
HICON gIcon = nullptr;

// Panels and tab sheets pass what their children report on to the form, which handles it.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      // The bevel of a panel is kept in its user data, as DrawEdge flags.
      const auto edge = static_cast<UINT>(GetWindowLongPtrW(window, GWLP_USERDATA));
      if (edge) {
        RECT rect;
        GetClientRect(window, &rect);
        DrawEdge(dc, &rect, edge, BF_RECT);
      }
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

UINT EdgeFlags(const Panel& panel) {
  UINT edge = 0;
  if (panel.Outer() == Bevel::Lowered) edge |= BDR_SUNKENOUTER;
  if (panel.Outer() == Bevel::Raised) edge |= BDR_RAISEDOUTER;
  if (panel.Inner() == Bevel::Lowered) edge |= BDR_SUNKENINNER;
  if (panel.Inner() == Bevel::Raised) edge |= BDR_RAISEDINNER;
  return edge;
}

void RegisterClassOnce(const wchar_t* name, WNDPROC proc, HICON icon) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(gInstance, name, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = gInstance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  if (!RegisterClassExW(&windowClass)) throw std::runtime_error("RegisterClassEx failed");
}

HMENU BuildMenu(const MainMenu& mainMenu) {
  HMENU bar = CreateMenu();
  for (const MenuItem& menu : mainMenu.menus) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItem& item : menu.items) {
      if (item.IsSeparator())
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      else
        AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item.commandId), Wide(item.caption).c_str());
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Wide(menu.caption).c_str());
  }
  return bar;
}

}  // namespace

class NativeForm::Peer : public ControlPeer {
 public:
  explicit Peer(HWND window) : window_(window) {}

  std::string GetText(bool* exact) const override {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
    return Narrow(text, exact);
  }
  void SetText(const std::string& text) override { SetWindowTextW(window_, Wide(text).c_str()); }
  bool GetChecked() const override { return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool checked) override {
    SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }

 private:
  HWND window_;
};

void NativeForm::RegisterClasses(HINSTANCE instance, HICON icon) {
  gInstance = instance;
  gIcon = icon;
  RegisterClassOnce(kPanelClass, ContainerProc, nullptr);
  RegisterClassOnce(kTabSheetClass, ContainerProc, nullptr);
}

NativeForm::NativeForm(Win32Application& app, Form& form, HWND owner, bool isMain)
    : app_(app), form_(form), isMain_(isMain) {
  const FormLayout& layout = form.Layout();
  const std::wstring className = Wide(layout.className);
  RegisterClassOnce(className.c_str(), FormProc, layout.showIcon ? gIcon : nullptr);

  DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  DWORD exStyle = 0;
  if (layout.border == BorderStyle::Single) {
    style |= WS_OVERLAPPED | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  } else {
    style |= WS_POPUP;
    exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  }
  if (form.Menu()) menu_ = BuildMenu(*form.Menu());

  RECT rect{0, 0, layout.clientWidth, layout.clientHeight};
  AdjustWindowRectEx(&rect, style, menu_ != nullptr, exStyle);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateWindowExW(exStyle, className.c_str(), Wide(layout.caption).c_str(), style, x, y, width, height, owner, menu_,
                  gInstance, this);
  if (!window_) throw std::runtime_error("CreateWindowEx failed");
  if (layout.showIcon) {
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(gIcon));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(gIcon));
  }
  FitClientArea();

  for (const auto& control : form.Controls()) CreateControl(*control);
  form.AttachPeer(this);
}

NativeForm::~NativeForm() {
  for (const auto& control : form_.Controls()) control->DetachPeer();
  form_.AttachPeer(nullptr);
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

// A menu bar that wraps onto a second line takes its height from the client area: grow the
// window until the client area has its designed size, keeping it centred.
void NativeForm::FitClientArea() {
  RECT client;
  GetClientRect(window_, &client);
  const int dx = form_.Layout().clientWidth - client.right;
  const int dy = form_.Layout().clientHeight - client.bottom;
  if (dx == 0 && dy == 0) return;
  RECT frame;
  GetWindowRect(window_, &frame);
  SetWindowPos(window_, nullptr, frame.left - dx / 2, frame.top - dy / 2, frame.right - frame.left + dx,
               frame.bottom - frame.top + dy, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND NativeForm::ParentWindow(const Control& control) const {
  if (!control.Parent()) return window_;
  auto it = windows_.find(control.Parent());
  return it == windows_.end() ? window_ : it->second;
}

void NativeForm::CreateControl(Control& control) {
  const int id = kFirstControlId + static_cast<int>(controlsById_.size());
  const HWND parent = ParentWindow(control);
  Bounds bounds = control.GetBounds();
  const wchar_t* className = L"Static";
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD exStyle = 0;
  std::wstring text = Wide(control.Text());

  switch (control.Kind()) {
    case ControlKind::PageControl: {
      RECT client;
      GetClientRect(parent, &client);
      bounds = {0, 0, client.right, client.bottom};
      className = WC_TABCONTROLW;
      style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
      exStyle |= WS_EX_CONTROLPARENT;
      break;
    }
    case ControlKind::TabSheet: {
      // The sheet fills the page control's display area; its text is the tab's caption.
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      const auto index = SendMessageW(parent, TCM_GETITEMCOUNT, 0, 0);
      SendMessageW(parent, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
      RECT area;
      GetClientRect(parent, &area);
      SendMessageW(parent, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
      bounds = {area.left, area.top, area.right - area.left, area.bottom - area.top};
      className = kTabSheetClass;
      exStyle |= WS_EX_CONTROLPARENT;
      break;
    }
    case ControlKind::Panel:
      className = kPanelClass;
      exStyle |= WS_EX_CONTROLPARENT;
      break;
    case ControlKind::CheckBox:
      className = L"Button";
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::Label:
      style |= static_cast<const Label&>(control).WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP;
      break;
    case ControlKind::Edit:
      className = L"Edit";
      style |= ES_AUTOHSCROLL | WS_TABSTOP;
      if (static_cast<const Edit&>(control).PasswordChar()) style |= ES_PASSWORD;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Button: {
      auto& button = static_cast<Button&>(control);
      className = L"Button";
      style |= WS_TABSTOP | (button.Options().isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      if (button.Options().isDefault) defaultButton_ = &button;
      if (button.Options().isCancel) cancelButton_ = &button;
      break;
    }
    case ControlKind::Image:
      style |= SS_ICON;
      text.clear();
      break;
  }

  HWND window = CreateWindowExW(exStyle, className, text.c_str(), style, bounds.left, bounds.top, bounds.width,
                                bounds.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), gInstance,
                                nullptr);
  if (!window) throw std::runtime_error("CreateWindowEx failed for a control");
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(app_.FormFont()), FALSE);

  switch (control.Kind()) {
    case ControlKind::Panel:
      SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(EdgeFlags(static_cast<const Panel&>(control))));
      break;
    case ControlKind::Edit:
      if (const char passwordChar = static_cast<const Edit&>(control).PasswordChar())
        SendMessageW(window, EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(passwordChar)), 0);
      break;
    case ControlKind::Image:
      SendMessageW(window, STM_SETICON, reinterpret_cast<WPARAM>(gIcon), 0);
      SetWindowPos(window, nullptr, bounds.left, bounds.top, bounds.width, bounds.height, SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    default:
      break;
  }

  const bool checked = control.Kind() == ControlKind::CheckBox && static_cast<const CheckBox&>(control).Checked();
  peers_.push_back(std::make_unique<Peer>(window));
  control.AttachPeer(peers_.back().get());
  if (checked) peers_.back()->SetChecked(true);
  controlsById_[id] = &control;
  windows_[&control] = window;
}

void NativeForm::FocusFirstControl() {
  const Control* first = nullptr;
  for (const auto& control : form_.Controls())
    if (control->TabOrder() >= 0 && (!first || control->TabOrder() < first->TabOrder())) first = control.get();
  if (first) SetFocus(windows_.at(first));
}

void NativeForm::Close() {
  if (isMain_) {
    DestroyWindow(window_);
  } else if (form_.GetModalResult() == mrNone) {
    form_.SetModalResult(mrCancel);
  }
}

LRESULT CALLBACK NativeForm::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<NativeForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<NativeForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT NativeForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case DM_GETDEFID:
      for (const auto& [id, control] : controlsById_)
        if (control == defaultButton_) return MAKELRESULT(id, DC_HASDEFID);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto dc = reinterpret_cast<HDC>(wParam);
      const auto child = reinterpret_cast<HWND>(lParam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      for (const auto& [control, window] : windows_) {
        if (window == child && control->Kind() == ControlKind::Label &&
            static_cast<const Label*>(control)->Color() == TextColor::Navy)
          SetTextColor(dc, kNavy);
      }
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
      app_.DispatchFromWindow([this] { form_.Close(); });
      return 0;
    case WM_SYSCOMMAND:
      // The application window holds the taskbar button: minimising it hides the main window too.
      if (isMain_ && (wParam & 0xFFF0) == SC_MINIMIZE) {
        ShowWindow(app_.AppWindow(), SW_MINIMIZE);
        return 0;
      }
      break;
    case WM_DESTROY:
      if (isMain_) PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void NativeForm::OnCommand(int id, int code) {
  Button* button = nullptr;
  if (id == IDOK) {
    button = defaultButton_;
  } else if (id == IDCANCEL) {
    // Esc: the cancel button, or for a dialog without one, the close box.
    if (cancelButton_) {
      button = cancelButton_;
    } else if (!isMain_) {
      form_.Close();
      return;
    }
  } else if (auto it = controlsById_.find(id); it != controlsById_.end()) {
    if (it->second->Kind() == ControlKind::Button && code == BN_CLICKED) button = static_cast<Button*>(it->second);
  } else if (form_.Menu() && code == 0) {
    if (const MenuItem* item = form_.Menu()->FindCommand(id); item && item->onClick)
      app_.DispatchFromWindow(item->onClick);
    return;
  }
  if (button) app_.DispatchFromWindow([button] { button->Click(); });
}

}  // namespace platform::win32
