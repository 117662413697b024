#include "forms/Main.h"

#include <cstring>

#include "forms/Version.h"
#include "forms/passwod.h"
#include "policy/Password.h"
#include "policy/PolicyFile.h"
#include "policy/PolicyKey.h"

using platform::Bounds;
using platform::CheckBox;
using platform::kMbOk;
using platform::kMbOkCancel;

TMainForm* MainForm = nullptr;

namespace {

// Check boxes: left 28, 16 pixels apart from top 8, 21 high.
struct CheckBoxLayout {
  CheckBox* TMainForm::*member;
  const char* name;
  int width;
};

constexpr CheckBoxLayout kCheckBoxes[policy::kRestrictionCount] = {
    {&TMainForm::CheckBox01, "CheckBox01", 221}, {&TMainForm::CheckBox02, "CheckBox02", 213},
    {&TMainForm::CheckBox03, "CheckBox03", 229}, {&TMainForm::CheckBox04, "CheckBox04", 229},
    {&TMainForm::CheckBox05, "CheckBox05", 229}, {&TMainForm::CheckBox06, "CheckBox06", 229},
    {&TMainForm::CheckBox07, "CheckBox07", 229}, {&TMainForm::CheckBox08, "CheckBox08", 229},
    {&TMainForm::CheckBox09, "CheckBox09", 229}, {&TMainForm::CheckBox10, "CheckBox10", 229},
    {&TMainForm::CheckBox11, "CheckBox11", 229}, {&TMainForm::CheckBox12, "CheckBox12", 229},
    {&TMainForm::CheckBox13, "CheckBox13", 229},
};

struct MenuCommand {
  const char* name;
  const char* caption;
  void (TMainForm::*handler)();
};

struct MenuDefinition {
  const char* name;
  const char* caption;
  std::vector<MenuCommand> items;
};

const MenuDefinition kMenuBar[] = {
    {"File1",
     "ファイル(&F)",
     {
         {"R1", "設定内容をファイルから読込む(&R)", &TMainForm::R1Click},
         {"W1", "設定内容をファイルへ保管する(&W)", &TMainForm::W1Click},
         {"N3", "-", nullptr},
         {"L1", "パソコンの設定内容を取り込む(&L)", &TMainForm::L1Click},
         {"S1", "設定内容をパソコンへ登録する(&S)", &TMainForm::S1Click},
         {"C1", "パソコンの設定を消去する(&C)", &TMainForm::C1Click},
         {"N1", "-", nullptr},
         {"Exit1", "終了(&X)", &TMainForm::Exit1Click},
     }},
    {"P1",
     "パターン(&P)",
     {
         {policy::kPresets[0].itemName, policy::kPresets[0].caption, &TMainForm::yuza1Click},
         {policy::kPresets[1].itemName, policy::kPresets[1].caption, &TMainForm::N2Click},
         {policy::kPresets[2].itemName, policy::kPresets[2].caption, &TMainForm::N21Click},
         {policy::kPresets[3].itemName, policy::kPresets[3].caption, &TMainForm::N41Click},
         {policy::kPresets[4].itemName, policy::kPresets[4].caption, &TMainForm::N51Click},
     }},
    {"Help1",
     "ヘルプ(&H)",
     {
         {"Help2", "ヘルプ(&H)", &TMainForm::Help2Click},
         {"About1", "バージョン情報(&V)", &TMainForm::About1Click},
     }},
};

constexpr std::uint32_t kDialogOptions = platform::kOfnHideReadOnly | platform::kOfnEnableSizing |
                                         platform::kOfnExplorer | platform::kOfnEnableHook;

}  // namespace

TMainForm::TMainForm(platform::Application& app)
    : Form(app, {"TMainForm", "Pelaro印鑑グループポリシーエディタ", 334, 293, platform::BorderStyle::Single, true}),
      OpenDialog1(app, platform::FileDialogKind::Open, policy::kPolicyFileFilter,
                  kDialogOptions | platform::kOfnPathMustExist | platform::kOfnFileMustExist),
      SaveDialog1(app, platform::FileDialogKind::Save, policy::kPolicyFileFilter, kDialogOptions) {
  MainForm = this;
  SetHelpFile("stampctl.hlp");

  PageControl1 = Add<platform::PageControl>("PageControl1", nullptr);
  TabSheet1 = Add<platform::TabSheet>("TabSheet1", PageControl1, "印編集");
  Panel1 = Add<platform::Panel>("Panel1", TabSheet1, Bounds{16, 16, 293, 233}, platform::Bevel::Lowered);
  for (std::size_t i = 0; i < policy::kRestrictionCount; ++i) {
    const CheckBoxLayout& layout = kCheckBoxes[i];
    CheckBox* box = Add<CheckBox>(layout.name, Panel1, Bounds{28, 8 + 16 * static_cast<int>(i), layout.width, 21},
                                  policy::kRestrictionCaptions[i]);
    box->SetTabOrder(static_cast<int>(i));
    this->*layout.member = box;
  }

  for (const MenuDefinition& definition : kMenuBar) {
    platform::MenuItem menu{definition.name, definition.caption, {}, 0, {}};
    for (const MenuCommand& command : definition.items) {
      platform::MenuItem item{command.name, command.caption, {}, 0, {}};
      if (command.handler) item.onClick = [this, handler = command.handler] { (this->*handler)(); };
      menu.items.push_back(std::move(item));
    }
    MainMenu1.menus.push_back(std::move(menu));
  }
  MainMenu1.NumberItems();
  SetMenu(&MainMenu1);
}

TMainForm::~TMainForm() {
  if (MainForm == this) MainForm = nullptr;
}

CheckBox& TMainForm::Check(std::size_t index) const { return *(this->*kCheckBoxes[index].member); }

void TMainForm::FormCreate() { ApplyPolicyToChecks(); }

void TMainForm::ApplyPolicyToChecks() {
  for (std::size_t i = 0; i < policy::kRestrictionCount; ++i) Check(i).SetChecked(PolicyRecord.IsOn(i));
}

void TMainForm::ReadPolicyFromChecks() {
  for (std::size_t i = 0; i < policy::kRestrictionCount; ++i) PolicyRecord.Set(i, Check(i).Checked());
}

int TMainForm::ShowMessageText(const std::string& text, unsigned flags) { return App().ShowMessageBox(text, "", flags); }

bool TMainForm::Confirm(const std::string& question) {
  return ShowMessageText(question, kMbOkCancel) != platform::kIdCancel;
}

void TMainForm::R1Click() {
  if (!OpenDialog1.Execute()) return;
  OpenDialog1.SetFileName(policy::WithPolicyExtension(OpenDialog1.FileName()));

  auto file = App().Files().OpenForRead(OpenDialog1.FileName());
  if (!file) {
    ShowMessageText("ファイルをオープンできません");
    return;
  }
  // One read: a shorter file replaces only the leading bytes it holds, and a read error
  // leaves the record as far as it came.
  file->Read(PolicyRecord.bytes.data(), PolicyRecord.bytes.size());
  (void)file->Close();

  SaveDialog1.SetFileName(OpenDialog1.FileName());
  ApplyPolicyToChecks();
}

void TMainForm::W1Click() {
  if (!SaveDialog1.Execute()) return;
  SaveDialog1.SetFileName(policy::WithPolicyExtension(SaveDialog1.FileName()));
  const std::string& fileName = SaveDialog1.FileName();
  platform::FileSystem& files = App().Files();

  if (files.IsFile(fileName) && !Confirm("同名ファイルに上書きします")) {
    ShowMessageText("ファイル保存を中止します");
    return;
  }
  // Windows refuses to open a read-only file for writing, whoever asks; refuse it here too, so
  // that no platform (Wine running as root, say) empties it.
  auto file = files.IsReadOnly(fileName) ? nullptr : files.CreateForWrite(fileName);
  if (!file) {
    ShowMessageText("ファイルをオープンできません");
    return;
  }
  ReadPolicyFromChecks();
  const bool written = file->Write(PolicyRecord.bytes.data(), PolicyRecord.bytes.size()) == PolicyRecord.bytes.size();
  const bool closed = file->Close();
  // The open has emptied the file: a short write must not be reported as a saved policy.
  ShowMessageText(written && closed ? "ファイルに保存しました" : "ファイルの保存に失敗しました");
}

void TMainForm::L1Click() {
  auto registry = policy::OpenPolicyKey(App());
  if (registry->ReadString(policy::kAdmValue) != policy::kRegistered) {
    ShowMessageText("グループポリシーは登録されていません");
    return;
  }
  // A shorter value leaves the remaining flags zero, shown unchecked; more is ignored.
  const std::string flags = registry->ReadString(policy::kPolicyValue);
  for (std::size_t i = 0; i < policy::kRestrictionCount; ++i)
    PolicyRecord.bytes[i] = i < flags.size() ? static_cast<std::uint8_t>(flags[i]) : 0;
  ApplyPolicyToChecks();
  registry.reset();
  ShowMessageText("グループポリシーを読込みました");
}

void TMainForm::S1Click() {
  if (!Confirm("現在の設定をパソコンへ登録します。\nよろしいですか？")) return;
  auto registry = policy::OpenPolicyKey(App());
  const auto password = AskPassword();
  if (!password) return;

  if (registry->ReadString(policy::kAdmValue) != policy::kRegistered) {
    // This registration sets the password. One the administrator could never enter again
    // would lock the policy in place, so it is refused before anything is written.
    if (!policy::PasswordCanBeSet(password->text, password->exact, platform::StringAsStored)) {
      ShowMessageText("このパスワードは設定できません");
      return;
    }
    registry->WriteString(policy::kAdmStrValue, policy::StoredPasswordForm(password->text));
  } else if (policy::PasswordDiffers(password->text, registry->ReadString(policy::kAdmStrValue))) {
    ShowMessageText("登録されているパスワードと異なります");
    return;
  }
  registry->WriteString(policy::kAdmValue, policy::kRegistered);
  ReadPolicyFromChecks();
  registry->WriteString(policy::kPolicyValue,
                        std::string(PolicyRecord.bytes.begin(), PolicyRecord.bytes.begin() + policy::kRestrictionCount));
  ShowMessageText("グループポリシーを登録しました");
}

void TMainForm::C1Click() {
  auto registry = policy::OpenPolicyKey(App());
  if (registry->ReadString(policy::kAdmValue) != policy::kRegistered) {
    ShowMessageText("グループポリシーは設定されていません。");
    return;
  }
  if (!Confirm("現在のパソコンに登録されているグループポリシーを消去します。\nよろしいですか？")) return;
  const auto password = AskPassword();
  if (!password) return;

  // Registered meanwhile by someone else or not, the password is asked only of a registered policy.
  if (registry->ReadString(policy::kAdmValue) == policy::kRegistered &&
      policy::PasswordDiffers(password->text, registry->ReadString(policy::kAdmStrValue))) {
    ShowMessageText("登録されているパスワードと異なります");
    return;
  }
  registry->WriteString(policy::kAdmValue, policy::kErased);
  registry->WriteString(policy::kPolicyValue, policy::kErasedPolicy);
  registry.reset();
  ShowMessageText("グループポリシーを消去しました");
}

void TMainForm::Exit1Click() { Close(); }

void TMainForm::ApplyPreset(std::size_t index) {
  const policy::PresetRow& row = policy::kPresets[index].row;
  for (std::size_t i = 0; i < policy::kRestrictionCount; ++i) Check(i).SetChecked(row[i]);
}

void TMainForm::yuza1Click() { ApplyPreset(0); }
void TMainForm::N2Click() { ApplyPreset(1); }
void TMainForm::N21Click() { ApplyPreset(2); }
void TMainForm::N41Click() { ApplyPreset(3); }
void TMainForm::N51Click() { ApplyPreset(4); }

void TMainForm::Help2Click() { App().HelpCommand(platform::kHelpFinder, 0); }

void TMainForm::About1Click() {
  TAboutBox box(App());
  App().ShowModal(box);
}

std::optional<TMainForm::EnteredPassword> TMainForm::AskPassword() {
  TPasswordDlg dialog(App());
  if (App().ShowModal(dialog) == platform::mrCancel) return std::nullopt;
  return EnteredPassword{dialog.PasswordText, dialog.PasswordTextExact};
}
