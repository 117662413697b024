// A form realised as native windows: the form window, one child window per control, the menu.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/Forms.h"
#include "platform/win32/Win32.h"

namespace platform::win32 {

class Win32Application;

class NativeForm : public FormPeer {
 public:
  // isMain: the main window, whose closing ends the program; other forms are modal.
  NativeForm(Win32Application& app, Form& form, HWND owner, bool isMain);
  ~NativeForm() override;
  NativeForm(const NativeForm&) = delete;
  NativeForm& operator=(const NativeForm&) = delete;

  HWND Window() const { return window_; }
  Form& GetForm() const { return form_; }
  void Close() override;
  // Gives the focus to the first control in tab order.
  void FocusFirstControl();

  // Registers the window classes; once per process.
  static void RegisterClasses(HINSTANCE instance, HICON icon);

 private:
  class Peer;
  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  void CreateControl(Control& control);
  HWND ParentWindow(const Control& control) const;
  void FitClientArea();

  Win32Application& app_;
  Form& form_;
  bool isMain_;
  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  std::vector<std::unique_ptr<Peer>> peers_;
  std::map<const Control*, HWND> windows_;
  std::map<int, Control*> controlsById_;
  Button* defaultButton_ = nullptr;
  Button* cancelButton_ = nullptr;
};

}  // namespace platform::win32
