#include "platform/memory/MemoryApplication.h"

#include <stdexcept>

namespace platform {

class MemoryApplication::Peer : public FormPeer {
 public:
  Peer(MemoryApplication& app, Form& form) : app_(app), form_(form) {}
  void Close() override {
    if (&form_ == app_.mainForm_) {
      app_.mainFormClosed = true;
    } else if (form_.GetModalResult() == mrNone) {
      form_.SetModalResult(mrCancel);
    }
  }

 private:
  MemoryApplication& app_;
  Form& form_;
};

MemoryApplication::MemoryApplication() = default;
MemoryApplication::~MemoryApplication() = default;

void MemoryApplication::CreateWindowFor(Form& form) {
  if (!mainForm_) mainForm_ = &form;
  peers_.push_back(std::make_unique<Peer>(*this, form));
  form.AttachPeer(peers_.back().get());
}

void MemoryApplication::Run() {
  if (!HelpFile().empty()) CallHelpViewer(HelpFile(), kHelpQuit, 0);
}

ModalResult MemoryApplication::ShowModal(Form& form) {
  Peer peer(*this, form);
  form.AttachPeer(&peer);
  form.SetModalResult(mrNone);
  modalForms.push_back(form.Layout().className);
  modalStack_.push_back(&form);
  ++liveModalForms;
  if (!modalScripts.empty()) {
    auto script = std::move(modalScripts.front());
    modalScripts.pop_front();
    script(form);
  }
  if (form.GetModalResult() == mrNone) form.Close();
  --liveModalForms;
  modalStack_.pop_back();
  form.AttachPeer(nullptr);
  return form.GetModalResult();
}

int MemoryApplication::ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  boxes.push_back({text, caption, flags});
  if (answers.empty()) return kIdOk;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

std::unique_ptr<Registry> MemoryApplication::NewRegistry() { return std::make_unique<MemoryRegistry>(registry); }

bool MemoryApplication::RunFileDialog(const FileDialog& dialog, std::string& fileName) {
  dialogRuns.push_back({dialog.Kind(), fileName});
  if (fileChoices.empty()) return false;
  auto choice = std::move(fileChoices.front());
  fileChoices.pop_front();
  if (!choice) return false;
  fileName = *choice;
  return true;
}

void MemoryApplication::ClickMenu(const std::string& itemName) {
  const MenuItem* item = mainForm_ && mainForm_->Menu() ? mainForm_->Menu()->FindItem(itemName) : nullptr;
  if (!item || !item->onClick) throw std::logic_error("no menu item " + itemName);
  Dispatch(item->onClick);
}

Form* MemoryApplication::ActiveForm() { return modalStack_.empty() ? mainForm_ : modalStack_.back(); }

bool MemoryApplication::CallHelpViewer(const std::string& file, unsigned command, std::uintptr_t data) {
  helpCalls.push_back({file, command, data});
  return true;
}

}  // namespace platform
