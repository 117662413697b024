// The password dialog: asks for the administrator password once, without a second entry.
#pragma once

#include <string>

#include "platform/Forms.h"

class TPasswordDlg : public platform::Form {
 public:
  explicit TPasswordDlg(platform::Application& app);
  ~TPasswordDlg() override;

  platform::Label* Label1;
  platform::Edit* Password;
  platform::Label* Label2;
  platform::Label* Label3;
  platform::Label* Label4;
  platform::Button* OKBtn;
  platform::Button* CancelBtn;

  // What OK took from the edit box; empty after Cancel.
  std::string PasswordText;
  // False when the entry held characters that code page 932 cannot represent.
  bool PasswordTextExact = true;

  void OKBtnClick();
  void CancelBtnClick();
};

// The password dialog while it exists.
extern TPasswordDlg* PasswordDlg;
