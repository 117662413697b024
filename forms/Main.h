// The main window: the thirteen restrictions as check boxes, and every command on its menu bar.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/Application.h"
#include "platform/Forms.h"
#include "policy/PolicyRecord.h"

class TMainForm : public platform::Form {
 public:
  explicit TMainForm(platform::Application& app);
  ~TMainForm() override;

  platform::PageControl* PageControl1;
  platform::TabSheet* TabSheet1;
  platform::Panel* Panel1;
  platform::CheckBox* CheckBox01;
  platform::CheckBox* CheckBox02;
  platform::CheckBox* CheckBox03;
  platform::CheckBox* CheckBox04;
  platform::CheckBox* CheckBox05;
  platform::CheckBox* CheckBox06;
  platform::CheckBox* CheckBox07;
  platform::CheckBox* CheckBox08;
  platform::CheckBox* CheckBox09;
  platform::CheckBox* CheckBox10;
  platform::CheckBox* CheckBox11;
  platform::CheckBox* CheckBox12;
  platform::CheckBox* CheckBox13;
  platform::MainMenu MainMenu1;
  platform::FileDialog OpenDialog1;
  platform::FileDialog SaveDialog1;

  policy::PolicyRecord PolicyRecord = policy::PolicyRecord::Fresh();

  // The check box of restriction index (0 to 12).
  platform::CheckBox& Check(std::size_t index) const;

  void FormCreate() override;
  // Flags to boxes: only 't' checks a box. The record is not changed.
  void ApplyPolicyToChecks();
  // Boxes to flags 't' / 'f'; bytes 13 to 1087 are not touched.
  void ReadPolicyFromChecks();

  // Menu handlers.
  void R1Click();
  void W1Click();
  void L1Click();
  void S1Click();
  void C1Click();
  void Exit1Click();
  void yuza1Click();
  void N2Click();
  void N21Click();
  void N41Click();
  void N51Click();
  void Help2Click();
  void About1Click();

  // Every question and message of the program: empty caption, no icon. Returns the answer.
  int ShowMessageText(const std::string& text, unsigned flags = platform::kMbOk);

 private:
  struct EnteredPassword {
    std::string text;
    bool exact;  // false when it held characters code page 932 cannot represent
  };

  // OK and Cancel; false only for Cancel.
  bool Confirm(const std::string& question);
  // Runs the password dialog; nullopt when it was cancelled. The dialog is gone on return.
  std::optional<EnteredPassword> AskPassword();
  void ApplyPreset(std::size_t index);
};

extern TMainForm* MainForm;
