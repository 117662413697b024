#include "forms/passwod.h"

using platform::Bounds;
using platform::Label;
using platform::TextColor;

TPasswordDlg* PasswordDlg = nullptr;

TPasswordDlg::TPasswordDlg(platform::Application& app)
    : Form(app, {"TPasswordDlg", "パスワードダイアログ", 233, 138, platform::BorderStyle::Dialog, false}) {
  PasswordDlg = this;
  Label1 = Add<Label>("Label1", nullptr, Bounds{8, 9, 120, 13}, "パスワードの入力 :");
  Password = Add<platform::Edit>("Password", nullptr, Bounds{8, 27, 217, 20}, '*');
  Password->SetTabOrder(0);
  Label2 = Add<Label>("Label2", nullptr, Bounds{12, 52, 213, 13}, "ここで設定するパスワードは、起動時や", TextColor::Navy);
  Label3 = Add<Label>("Label3", nullptr, Bounds{12, 68, 213, 13}, "押印時に入力するものではありません。", TextColor::Navy);
  Label4 = Add<Label>("Label4", nullptr, Bounds{12, 84, 213, 13}, "本機能制限の変更・解除専用のものです。", TextColor::Navy);
  OKBtn = Add<platform::Button>("OKBtn", nullptr, Bounds{70, 107, 75, 25}, "OK",
                                platform::ButtonOptions{true, false, platform::mrOk});
  OKBtn->SetTabOrder(1);
  OKBtn->onClick = [this] { OKBtnClick(); };
  CancelBtn = Add<platform::Button>("CancelBtn", nullptr, Bounds{150, 107, 75, 25}, "キャンセル",
                                    platform::ButtonOptions{false, true, platform::mrCancel});
  CancelBtn->SetTabOrder(2);
  CancelBtn->onClick = [this] { CancelBtnClick(); };
}

TPasswordDlg::~TPasswordDlg() {
  if (PasswordDlg == this) PasswordDlg = nullptr;
}

void TPasswordDlg::OKBtnClick() {
  PasswordText = Password->Text();
  PasswordTextExact = Password->TextIsExact();
}

void TPasswordDlg::CancelBtnClick() {
  PasswordText.clear();
  PasswordTextExact = true;
}
