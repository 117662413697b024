// The application object on Windows.
#pragma once

#include <memory>
#include <vector>

#include "platform/Application.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32FileSystem.h"

namespace platform::win32 {

class NativeForm;

class Win32Application : public Application {
 public:
  explicit Win32Application(HINSTANCE instance);
  ~Win32Application() override;

  void Initialize() override;
  void SetTitle(std::string title) override;
  void Run() override;
  ModalResult ShowModal(Form& form) override;
  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  std::unique_ptr<Registry> NewRegistry() override;
  FileSystem& Files() override { return files_; }
  bool RunFileDialog(const FileDialog& dialog, std::string& fileName) override;

  HINSTANCE Instance() const { return instance_; }
  HFONT FormFont() const { return font_.Get(); }
  HICON ProgramIcon() const { return icon_; }
  HWND AppWindow() const { return appWindow_; }
  HWND MainWindow() const;
  // Runs a command handler from inside a window procedure; nothing may unwind through user32.
  void DispatchFromWindow(const std::function<void()>& handler) noexcept;

 protected:
  void CreateWindowFor(Form& form) override;
  Form* ActiveForm() override;
  bool CallHelpViewer(const std::string& file, unsigned command, std::uintptr_t data) override;

 private:
  static LRESULT CALLBACK AppWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  HWND appWindow_ = nullptr;
  HICON icon_ = nullptr;
  UniqueFont font_;
  Win32FileSystem files_;
  std::unique_ptr<NativeForm> mainForm_;
  std::vector<NativeForm*> modalForms_;
};

// While alive, every enabled top-level window of the program is disabled; afterwards they are
// enabled again and the window that was active is activated. Surrounds every system modal
// window (message boxes, file dialogs) so that nothing else of the program can be clicked.
class TaskModalScope {
 public:
  TaskModalScope();
  ~TaskModalScope();
  TaskModalScope(const TaskModalScope&) = delete;
  TaskModalScope& operator=(const TaskModalScope&) = delete;

 private:
  HWND active_;
  std::vector<HWND> disabled_;
};

}  // namespace platform::win32
