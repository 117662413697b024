// The application object: the program's one door to the platform. It shows forms and message
// boxes, runs the message loop, asks the help viewer, and hands out the registry, the file
// layer and the file dialogs.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/Forms.h"
#include "platform/Registry.h"

namespace platform {

// Message box flags and answers, numbered as Windows numbers them.
enum MessageBoxFlags : unsigned {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbIconStop = 0x10,
};
enum MessageBoxAnswer : int { kIdOk = 1, kIdCancel = 2 };

// Help viewer commands.
enum HelpCommandId : unsigned { kHelpQuit = 2, kHelpFinder = 11 };

class Application {
 public:
  virtual ~Application() = default;
  Application() = default;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  virtual void Initialize() {}
  void SetHelpFile(std::string file) { helpFile_ = std::move(file); }
  const std::string& HelpFile() const { return helpFile_; }
  // The text of the taskbar button and the caption of the exception boxes.
  virtual void SetTitle(std::string title) { title_ = std::move(title); }
  const std::string& Title() const { return title_; }

  // Creates a form owned by the application, its window, and runs its FormCreate. The first
  // form created becomes the main window.
  template <typename T>
  T& CreateForm() {
    auto form = std::make_unique<T>(*this);
    T& created = *form;
    forms_.push_back(std::move(form));
    CreateWindowFor(created);
    created.FormCreate();
    return created;
  }
  // Runs the message loop until the main window has closed, then tells the help viewer
  // (if a help file is set) that it is no longer needed.
  virtual void Run() = 0;
  // Shows form modally, owned by the main window, until it has a modal result; the window is
  // destroyed before this returns.
  virtual ModalResult ShowModal(Form& form) = 0;

  // A message box owned by the application's window; while it shows, the program's other
  // windows are disabled, and the one that was active is activated again afterwards.
  virtual int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;

  // The standard exception box: ExceptionText of the message, the title as caption, OK and
  // the stop icon. Abort shows nothing.
  void ShowException(const std::exception& error);

  // Runs a command handler; an error it raises ends it and is shown in the exception box.
  void Dispatch(const std::function<void()>& handler);

  // Asks the help viewer for command with data, for the help file of the active form, or the
  // application's when the form has none; does nothing when neither is set.
  bool HelpCommand(unsigned command, std::uintptr_t data);

  virtual std::unique_ptr<Registry> NewRegistry() = 0;
  virtual FileSystem& Files() = 0;
  // Runs the system dialog for dialog starting on fileName; on success fileName holds the choice.
  virtual bool RunFileDialog(const FileDialog& dialog, std::string& fileName) = 0;

 protected:
  virtual void CreateWindowFor(Form& form) = 0;
  // The form whose window is active, if any.
  virtual Form* ActiveForm() = 0;
  virtual bool CallHelpViewer(const std::string& file, unsigned command, std::uintptr_t data) = 0;

 private:
  // Destroyed after the derived application, so native windows go before their forms.
  std::vector<std::unique_ptr<Form>> forms_;
  std::string helpFile_;
  std::string title_;
};

}  // namespace platform
