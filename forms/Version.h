// The About box: product name, version and the maker's lines.
#pragma once

#include "platform/Forms.h"

class TAboutBox : public platform::Form {
 public:
  explicit TAboutBox(platform::Application& app);
  ~TAboutBox() override;

  platform::Panel* Panel1;
  platform::Image* ProgramIcon;
  platform::Label* ProductName;
  platform::Label* Version;
  platform::Label* Copyright;
  platform::Label* Comments;
  platform::Button* OKButton;
};

// The About box while it exists.
extern TAboutBox* AboutBox;
