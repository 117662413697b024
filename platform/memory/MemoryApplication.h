// The application without windows, for tests: forms stay plain objects, and message boxes,
// modal forms and file dialogs are answered from scripts that the test sets up beforehand.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"

namespace platform {

class MemoryApplication : public Application {
 public:
  MemoryApplication();
  ~MemoryApplication() override;

  struct Box {
    std::string text;
    std::string caption;
    unsigned flags;
  };
  struct DialogRun {
    FileDialogKind kind;
    std::string startName;  // the file name the dialog opened on
  };
  struct HelpCall {
    std::string file;
    unsigned command;
    std::uintptr_t data;
  };

  // Scripts, consumed in order. A message box with no answer left gets OK; a modal form with
  // no script left is closed by its close box; a file dialog with no answer left is cancelled.
  std::deque<int> answers;
  std::deque<std::function<void(Form&)>> modalScripts;
  std::deque<std::optional<std::string>> fileChoices;

  // What was shown, in order.
  std::vector<Box> boxes;
  std::vector<std::string> modalForms;  // window class names
  std::vector<DialogRun> dialogRuns;
  std::vector<HelpCall> helpCalls;
  bool mainFormClosed = false;
  // Forms shown modally and not yet destroyed.
  int liveModalForms = 0;

  MemoryRegistryStore registry;
  MemoryFileSystem files;

  void Run() override;
  ModalResult ShowModal(Form& form) override;
  int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
  std::unique_ptr<Registry> NewRegistry() override;
  FileSystem& Files() override { return files; }
  bool RunFileDialog(const FileDialog& dialog, std::string& fileName) override;

  // Runs the handler of a menu item of the main form, as a click of the user does.
  void ClickMenu(const std::string& itemName);

 protected:
  void CreateWindowFor(Form& form) override;
  Form* ActiveForm() override;
  bool CallHelpViewer(const std::string& file, unsigned command, std::uintptr_t data) override;

 private:
  class Peer;
  Form* mainForm_ = nullptr;
  std::vector<Form*> modalStack_;
  std::vector<std::unique_ptr<FormPeer>> peers_;
};

}  // namespace platform
