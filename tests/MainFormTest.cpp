#include <gtest/gtest.h>

#include "forms/Version.h"
#include "TestSupport.h"

using platform::Bounds;
using testing_support::Program;

namespace {

bool SameBounds(const Bounds& a, const Bounds& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

}  // namespace

TEST(MainForm, LayoutAsDesigned) {
  Program p;
  const auto& layout = p.form.Layout();
  EXPECT_EQ(layout.caption, "Pelaro印鑑グループポリシーエディタ");
  EXPECT_EQ(layout.clientWidth, 334);
  EXPECT_EQ(layout.clientHeight, 293);
  EXPECT_EQ(layout.border, platform::BorderStyle::Single);
  EXPECT_TRUE(layout.showIcon);
  EXPECT_EQ(p.form.HelpFile(), "stampctl.hlp");
  EXPECT_EQ(std::string(platform::kFormFontFace), "ＭＳ Ｐゴシック");

  EXPECT_EQ(p.form.TabSheet1->Parent(), p.form.PageControl1);
  EXPECT_EQ(p.form.TabSheet1->Text(), "印編集");
  EXPECT_EQ(p.form.Panel1->Parent(), p.form.TabSheet1);
  EXPECT_TRUE(SameBounds(p.form.Panel1->GetBounds(), {16, 16, 293, 233}));
  EXPECT_EQ(p.form.Panel1->Outer(), platform::Bevel::Lowered);
  EXPECT_EQ(p.form.Panel1->Inner(), platform::Bevel::None);

  const platform::CheckBox* named[] = {p.form.CheckBox01, p.form.CheckBox02, p.form.CheckBox03, p.form.CheckBox04,
                                       p.form.CheckBox05, p.form.CheckBox06, p.form.CheckBox07, p.form.CheckBox08,
                                       p.form.CheckBox09, p.form.CheckBox10, p.form.CheckBox11, p.form.CheckBox12,
                                       p.form.CheckBox13};
  for (int i = 0; i < 13; ++i) {
    const platform::CheckBox& box = p.form.Check(static_cast<std::size_t>(i));
    EXPECT_EQ(&box, named[i]);
    const int width = i == 0 ? 221 : i == 1 ? 213 : 229;
    EXPECT_TRUE(SameBounds(box.GetBounds(), {28, 8 + 16 * i, width, 21})) << box.Name();
    EXPECT_EQ(box.TabOrder(), i);
    EXPECT_EQ(box.Parent(), p.form.Panel1);
    EXPECT_EQ(box.Text(), policy::kRestrictionCaptions[static_cast<std::size_t>(i)]);
    EXPECT_EQ(box.Name(), (i < 9 ? "CheckBox0" : "CheckBox") + std::to_string(i + 1));
  }
}

TEST(MainForm, MenuBarAsDesigned) {
  Program p;
  struct Row {
    const char* name;
    const char* caption;
    int commandId;
  };
  // Menus, then their items, in order; note the blank before "(&1)".
  const std::vector<std::pair<Row, std::vector<Row>>> expected = {
      {{"File1", "ファイル(&F)", 0},
       {{"R1", "設定内容をファイルから読込む(&R)", 101},
        {"W1", "設定内容をファイルへ保管する(&W)", 102},
        {"N3", "-", 0},
        {"L1", "パソコンの設定内容を取り込む(&L)", 103},
        {"S1", "設定内容をパソコンへ登録する(&S)", 104},
        {"C1", "パソコンの設定を消去する(&C)", 105},
        {"N1", "-", 0},
        {"Exit1", "終了(&X)", 106}}},
      {{"P1", "パターン(&P)", 0},
       {{"yuza1", "ユーザーに一切の印編集を認めない (&1)", 201},
        {"N2", "ユーザーに認印の編集を認めない(&2)", 202},
        {"N21", "ユーザーに日付印の編集を認めない(&3)", 203},
        {"N41", "ユーザーに認印と日付印の編集を認めない(&4)", 204},
        {"N51", "スタンプ台に登録された印のみ編集を認めない(&5)", 205}}},
      {{"Help1", "ヘルプ(&H)", 0},
       {{"Help2", "ヘルプ(&H)", 301}, {"About1", "バージョン情報(&V)", 302}}},
  };
  const auto& menus = p.form.MainMenu1.menus;
  ASSERT_EQ(p.form.Menu(), &p.form.MainMenu1);
  ASSERT_EQ(menus.size(), expected.size());
  for (std::size_t m = 0; m < menus.size(); ++m) {
    EXPECT_EQ(menus[m].name, expected[m].first.name);
    EXPECT_EQ(menus[m].caption, expected[m].first.caption);
    ASSERT_EQ(menus[m].items.size(), expected[m].second.size()) << menus[m].name;
    for (std::size_t i = 0; i < menus[m].items.size(); ++i) {
      const auto& item = menus[m].items[i];
      const Row& row = expected[m].second[i];
      EXPECT_EQ(item.name, row.name);
      EXPECT_EQ(item.caption, row.caption) << row.name;
      EXPECT_EQ(item.commandId, row.commandId) << row.name;
      EXPECT_EQ(static_cast<bool>(item.onClick), !item.IsSeparator()) << row.name;
    }
  }
}

TEST(MainForm, ExitClosesTheWindowAskingNothing) {
  Program p;
  p.form.Check(3).SetChecked(true);  // unsaved changes
  p.app.ClickMenu("Exit1");
  EXPECT_TRUE(p.app.mainFormClosed);
  EXPECT_TRUE(p.app.boxes.empty());
  EXPECT_EQ(p.app.registry.root.keys.size(), 0u) << "nothing is saved on the way out";
  EXPECT_TRUE(p.app.files.files.empty());
}

TEST(MainForm, EndOfProgramReleasesTheHelpViewer) {
  Program p;
  p.app.SetHelpFile("stampctl.hlp");
  p.app.Run();
  ASSERT_EQ(p.app.helpCalls.size(), 1u);
  EXPECT_EQ(p.app.helpCalls[0].file, "stampctl.hlp");
  EXPECT_EQ(p.app.helpCalls[0].command, 2u);  // HELP_QUIT
}

TEST(HelpMenu, HelpAsksTheViewerForItsContents) {
  Program p;
  p.app.ClickMenu("Help2");
  ASSERT_EQ(p.app.helpCalls.size(), 1u);
  EXPECT_EQ(p.app.helpCalls[0].file, "stampctl.hlp");
  EXPECT_EQ(p.app.helpCalls[0].command, 11u);  // HELP_FINDER
  EXPECT_EQ(p.app.helpCalls[0].data, 0u);
}

TEST(HelpMenu, AboutBoxShowsOnceAndIsDestroyed) {
  Program p;
  const TAboutBox* seen = nullptr;
  p.app.modalScripts.push_back([&](platform::Form& form) {
    auto& about = static_cast<TAboutBox&>(form);
    seen = AboutBox;
    EXPECT_EQ(about.Layout().caption, "バージョン情報");
    EXPECT_EQ(about.Layout().clientWidth, 298);
    EXPECT_EQ(about.Layout().clientHeight, 213);
    EXPECT_EQ(about.Layout().border, platform::BorderStyle::Dialog);
    EXPECT_EQ(about.ProductName->Text(), "Pelaro印鑑グループポリシーエディタ");
    EXPECT_EQ(about.Version->Text(), "Version 1.11");
    EXPECT_TRUE(SameBounds(about.Panel1->GetBounds(), {8, 8, 281, 161}));
    EXPECT_EQ(about.Panel1->Outer(), platform::Bevel::Lowered);
    EXPECT_EQ(about.Panel1->Inner(), platform::Bevel::Raised);
    EXPECT_TRUE(SameBounds(about.ProgramIcon->GetBounds(), {28, 16, 32, 32}));
    EXPECT_TRUE(SameBounds(about.OKButton->GetBounds(), {111, 180, 75, 25}));
    EXPECT_TRUE(about.OKButton->Options().isDefault);
    EXPECT_TRUE(about.Comments->WordWrap());
    about.OKButton->Click();
  });
  p.app.ClickMenu("About1");
  EXPECT_NE(seen, nullptr) << "AboutBox points to the box while it exists";
  EXPECT_EQ(AboutBox, nullptr);
  EXPECT_EQ(p.app.modalForms, std::vector<std::string>{"TAboutBox"});
  EXPECT_EQ(p.app.liveModalForms, 0);
  EXPECT_TRUE(p.app.boxes.empty());
}

TEST(PasswordDialog, LayoutAndButtons) {
  platform::MemoryApplication app;
  TPasswordDlg dialog(app);
  EXPECT_EQ(PasswordDlg, &dialog);
  EXPECT_EQ(dialog.Layout().caption, "パスワードダイアログ");
  EXPECT_EQ(dialog.Layout().clientWidth, 233);
  EXPECT_EQ(dialog.Layout().clientHeight, 138);
  EXPECT_EQ(dialog.Layout().border, platform::BorderStyle::Dialog);
  struct Row {
    const platform::Control* control;
    Bounds bounds;
    const char* text;
  };
  const Row rows[] = {
      {dialog.Label1, {8, 9, 0, 0}, "パスワードの入力 :"},
      {dialog.Password, {8, 27, 217, 20}, ""},
      {dialog.Label2, {12, 52, 0, 0}, "ここで設定するパスワードは、起動時や"},
      {dialog.Label3, {12, 68, 0, 0}, "押印時に入力するものではありません。"},
      {dialog.Label4, {12, 84, 0, 0}, "本機能制限の変更・解除専用のものです。"},
      {dialog.OKBtn, {70, 107, 75, 25}, "OK"},
      {dialog.CancelBtn, {150, 107, 75, 25}, "キャンセル"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.control->GetBounds().left, row.bounds.left) << row.text;
    EXPECT_EQ(row.control->GetBounds().top, row.bounds.top) << row.text;
    if (row.bounds.width) {
      EXPECT_TRUE(SameBounds(row.control->GetBounds(), row.bounds)) << row.text;
    }
    EXPECT_EQ(row.control->Text(), row.text);
  }
  for (const platform::Label* navy : {dialog.Label2, dialog.Label3, dialog.Label4})
    EXPECT_EQ(navy->Color(), platform::TextColor::Navy);
  EXPECT_EQ(dialog.Label1->Color(), platform::TextColor::WindowText);
  EXPECT_EQ(dialog.Password->PasswordChar(), '*');
  EXPECT_EQ(dialog.Password->TabOrder(), 0);
  EXPECT_EQ(dialog.OKBtn->TabOrder(), 1);
  EXPECT_EQ(dialog.CancelBtn->TabOrder(), 2);
  EXPECT_TRUE(dialog.OKBtn->Options().isDefault);
  EXPECT_TRUE(dialog.CancelBtn->Options().isCancel);

  dialog.Password->Type("abc");
  dialog.OKBtn->Click();
  EXPECT_EQ(dialog.PasswordText, "abc");
  EXPECT_EQ(dialog.GetModalResult(), platform::mrOk);
  dialog.CancelBtn->Click();
  EXPECT_EQ(dialog.PasswordText, "");
  EXPECT_EQ(dialog.GetModalResult(), platform::mrCancel);
}
