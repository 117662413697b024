#include "platform/Forms.h"

#include "platform/Application.h"

namespace platform {

const char* const kFormFontFace = "ＭＳ Ｐゴシック";

Control::Control(ControlKind kind, std::string name, Control* parent, Bounds bounds, std::string text)
    : kind_(kind), name_(std::move(name)), parent_(parent), bounds_(bounds), text_(std::move(text)) {}

std::string Control::Text() const { return peer_ ? peer_->GetText(nullptr) : text_; }

void Control::SetText(const std::string& text) {
  if (peer_) peer_->SetText(text);
  text_ = text;
  textIsExact_ = true;
}

bool Control::TextIsExact() const {
  if (!peer_) return textIsExact_;
  bool exact = true;
  peer_->GetText(&exact);
  return exact;
}

void Control::DetachPeer() {
  if (peer_) text_ = peer_->GetText(&textIsExact_);
  peer_ = nullptr;
}

void CheckBox::DetachPeer() {
  if (peer_) checked_ = peer_->GetChecked();
  Control::DetachPeer();
}

bool CheckBox::Checked() const { return peer_ ? peer_->GetChecked() : checked_; }

void CheckBox::SetChecked(bool checked) {
  if (peer_) peer_->SetChecked(checked);
  checked_ = checked;
}

void Edit::Type(const std::string& text, bool exact) {
  SetText(text);
  textIsExact_ = exact;
}

void Button::Click() {
  if (onClick) onClick();
  if (options_.modalResult != mrNone && form_) form_->SetModalResult(options_.modalResult);
}

Form::Form(Application& app, FormLayout layout) : app_(app), layout_(std::move(layout)) {}

Form::~Form() = default;

Control* Form::FindControl(const std::string& name) const {
  for (const auto& control : controls_)
    if (control->Name() == name) return control.get();
  return nullptr;
}

void Form::Close() {
  if (peer_) {
    peer_->Close();
  } else if (modalResult_ == mrNone) {
    modalResult_ = mrCancel;
  }
}

void MainMenu::NumberItems() {
  for (std::size_t m = 0; m < menus.size(); ++m) {
    int number = 0;
    for (MenuItem& item : menus[m].items)
      if (!item.IsSeparator()) item.commandId = static_cast<int>(m + 1) * 100 + ++number;
  }
}

const MenuItem* MainMenu::FindItem(const std::string& name) const {
  for (const MenuItem& menu : menus) {
    if (menu.name == name) return &menu;
    for (const MenuItem& item : menu.items)
      if (item.name == name) return &item;
  }
  return nullptr;
}

const MenuItem* MainMenu::FindCommand(int commandId) const {
  for (const MenuItem& menu : menus)
    for (const MenuItem& item : menu.items)
      if (commandId != 0 && item.commandId == commandId) return &item;
  return nullptr;
}

}  // namespace platform
