#include "forms/Version.h"

using platform::Bounds;
using platform::Label;

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(platform::Application& app)
    : Form(app, {"TAboutBox", "バージョン情報", 298, 213, platform::BorderStyle::Dialog, true}) {
  AboutBox = this;
  Panel1 = Add<platform::Panel>("Panel1", nullptr, Bounds{8, 8, 281, 161}, platform::Bevel::Lowered,
                                platform::Bevel::Raised);
  ProgramIcon = Add<platform::Image>("ProgramIcon", Panel1, Bounds{28, 16, 32, 32});
  ProductName = Add<Label>("ProductName", Panel1, Bounds{80, 16, 180, 13}, "Pelaro印鑑グループポリシーエディタ");
  Version = Add<Label>("Version", Panel1, Bounds{80, 40, 180, 13}, "Version 1.11");
  Copyright = Add<Label>("Copyright", Panel1, Bounds{8, 80, 265, 13}, "Copyright (C) 2026 Pelaro ツール開発チーム");
  Comments = Add<Label>("Comments", Panel1, Bounds{8, 104, 265, 39},
                        "ご質問は社内のシステム管理担当までお寄せください。", platform::TextColor::WindowText, true);
  OKButton = Add<platform::Button>("OKButton", nullptr, Bounds{111, 180, 75, 25}, "OK",
                                   platform::ButtonOptions{true, false, platform::mrOk});
  OKButton->SetTabOrder(0);
}

TAboutBox::~TAboutBox() {
  if (AboutBox == this) AboutBox = nullptr;
}
