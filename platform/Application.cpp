#include "platform/Application.h"

#include "platform/Error.h"

namespace platform {

void Application::ShowException(const std::exception& error) {
  if (dynamic_cast<const Abort*>(&error)) return;
  ShowMessageBox(ExceptionText(error.what()), title_, kMbOk | kMbIconStop);
}

void Application::Dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

bool Application::HelpCommand(unsigned command, std::uintptr_t data) {
  const Form* form = ActiveForm();
  const std::string& file = (form && !form->HelpFile().empty()) ? form->HelpFile() : helpFile_;
  if (file.empty()) return false;
  return CallHelpViewer(file, command, data);
}

}  // namespace platform
