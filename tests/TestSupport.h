// A main window on the in-memory platform, with helpers that read and set its boxes and
// script the password dialog.
#pragma once

#include <string>

#include "forms/Main.h"
#include "forms/passwod.h"
#include "platform/memory/MemoryApplication.h"
#include "policy/PolicyKey.h"

namespace testing_support {

struct Program {
  platform::MemoryApplication app;
  TMainForm& form = app.CreateForm<TMainForm>();

  // The boxes as thirteen 't' (checked) / 'f' characters.
  std::string Boxes() const {
    std::string boxes;
    for (std::size_t i = 0; i < policy::kRestrictionCount; ++i) boxes += form.Check(i).Checked() ? 't' : 'f';
    return boxes;
  }
  void SetBoxes(const std::string& boxes) {
    for (std::size_t i = 0; i < policy::kRestrictionCount; ++i) form.Check(i).SetChecked(boxes[i] == 't');
  }
  std::string Flags() const { return std::string(form.PolicyRecord.bytes.begin(), form.PolicyRecord.bytes.begin() + 13); }

  // Types text into the next password dialog and presses OK (or Enter: the same button).
  void WillEnterPassword(const std::string& text, bool exact = true) {
    app.modalScripts.push_back([text, exact](platform::Form& dialog) {
      auto& password = static_cast<TPasswordDlg&>(dialog);
      password.Password->Type(text, exact);
      password.OKBtn->Click();
    });
  }
  void WillCancelPassword() {
    app.modalScripts.push_back([](platform::Form& dialog) { static_cast<TPasswordDlg&>(dialog).CancelBtn->Click(); });
  }
  void WillClosePassword() {
    app.modalScripts.push_back([](platform::Form& dialog) { dialog.Close(); });
  }

  std::optional<std::string> Value(const std::string& name) const {
    return app.registry.StringValue(policy::kPolicyKeyPath, name);
  }
  void PutValue(const std::string& name, const std::string& text) {
    app.registry.PutString(policy::kPolicyKeyPath, name, text);
  }

  // The texts of the message boxes shown so far, then forgets them.
  std::vector<std::string> TakeMessages() {
    std::vector<std::string> texts;
    for (const auto& box : app.boxes) texts.push_back(box.text);
    app.boxes.clear();
    return texts;
  }
};

}  // namespace testing_support
