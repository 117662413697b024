// The administrator password on arbitrary byte strings: the scrambling, the comparison with
// the stored form, the rule that decides whether a password may be set, and, through the real
// menu commands, that a password the program accepted is one that clears the policy again.
//
// The input is cut into two strings with libFuzzer's data provider: a first one ended by a
// backslash and any other byte ("\\" stands for one backslash), and the rest.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "forms/Main.h"
#include "forms/passwod.h"
#include "fuzz/FuzzCheck.h"
#include "platform/Registry.h"
#include "platform/memory/MemoryApplication.h"
#include "policy/Password.h"
#include "policy/PolicyKey.h"

namespace {

using fuzzcheck::Escaped;

constexpr char kKey = 0x1C;

// The text up to its first zero byte, the way the C strings of the registry code see it.
std::string UpToZero(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string ReferenceScramble(const std::string& text) {
  std::string scrambled = UpToZero(text);
  for (char& c : scrambled) c = static_cast<char>(c ^ kKey);
  return scrambled;
}

// Every byte of the entry counts, a key byte too: it scrambles to zero, where the stored
// string has ended, so an entry holding one never matches.
int ReferenceDiffers(const std::string& entered, const std::string& stored) {
  return ReferenceScramble(entered) == UpToZero(stored) ? 0 : 1;
}

void CheckFunctions(const std::string& p, const std::string& other) {
  const std::string scrambled = policy::ScramblePassword(p);
  FUZZ_CHECK(scrambled == ReferenceScramble(p));
  const std::string stored = policy::StoredPasswordForm(p);
  FUZZ_CHECK(stored == UpToZero(scrambled));
  FUZZ_CHECK(stored.find('\0') == std::string::npos);

  // Scrambling twice gives the password back, as far as the stored form reaches.
  FUZZ_CHECK(policy::ScramblePassword(stored) == UpToZero(p).substr(0, stored.size()));

  // A password without the key byte matches its own stored form.
  if (UpToZero(p).find(kKey) == std::string::npos) FUZZ_CHECK(policy::PasswordDiffers(p, stored) == 0);

  for (const auto& [entered, against] : {std::pair{p, other}, std::pair{other, p}, std::pair{p, stored}}) {
    const int differs = policy::PasswordDiffers(entered, against);
    FUZZ_CHECK(differs == 0 || differs == 1);
    FUZZ_CHECK_MSG(differs == ReferenceDiffers(entered, against), Escaped(entered) + " vs " + Escaped(against));
  }

  // Only an exactly typed password can be set, and only one that matches what the registry
  // will give back.
  FUZZ_CHECK(!policy::PasswordCanBeSet(p, false, platform::StringAsStored));
  const bool canBeSet = policy::PasswordCanBeSet(p, true, platform::StringAsStored);
  if (canBeSet) {
    FUZZ_CHECK(p.size() <= policy::kMaxPasswordBytes);
    FUZZ_CHECK(p.find(kKey) == std::string::npos && p.find('\0') == std::string::npos);
    FUZZ_CHECK(policy::PasswordDiffers(p, platform::StringAsStored(stored)) == 0);
  }
  // Conversely, nothing that fits and survives the registry unchanged is refused.
  if (p.size() <= policy::kMaxPasswordBytes && p.find(kKey) == std::string::npos &&
      p.find('\0') == std::string::npos && platform::StringAsStored(stored) == stored)
    FUZZ_CHECK_MSG(canBeSet, Escaped(p));
}

// Runs a command that asks for the password, typing entered into the dialog.
void ClickWithPassword(platform::MemoryApplication& app, const std::string& item, const std::string& entered) {
  app.modalScripts.push_back([entered](platform::Form& form) {
    auto& dialog = static_cast<TPasswordDlg&>(form);
    dialog.Password->Type(entered);
    dialog.OKBtn->Click();
  });
  app.ClickMenu(item);
}

std::string LastMessage(const platform::MemoryApplication& app) { return app.boxes.empty() ? "" : app.boxes.back().text; }

void CheckCommands(const std::string& p, const std::string& other) {
  platform::MemoryApplication app;
  app.CreateForm<TMainForm>();

  ClickWithPassword(app, "S1", p);
  const auto adm = app.registry.StringValue(policy::kPolicyKeyPath, policy::kAdmValue);
  if (!policy::PasswordCanBeSet(p, true, platform::StringAsStored)) {
    FUZZ_CHECK_MSG(LastMessage(app) == "このパスワードは設定できません", Escaped(p));
    FUZZ_CHECK(app.registry.writeLog.empty());
    return;
  }
  FUZZ_CHECK_MSG(LastMessage(app) == "グループポリシーを登録しました", Escaped(p));
  FUZZ_CHECK(adm == std::string("1"));
  const auto admstr = app.registry.StringValue(policy::kPolicyKeyPath, policy::kAdmStrValue);
  FUZZ_CHECK(admstr && *admstr == platform::StringAsStored(policy::StoredPasswordForm(p)));

  // Another entry clears the policy exactly when it matches what was stored.
  ClickWithPassword(app, "C1", other);
  const bool otherMatches = ReferenceDiffers(other, *admstr) == 0;
  FUZZ_CHECK_MSG(LastMessage(app) == (otherMatches ? "グループポリシーを消去しました" : "登録されているパスワードと異なります"),
                 Escaped(p) + " then " + Escaped(other));
  if (otherMatches) return;

  // The password that was set always clears it.
  ClickWithPassword(app, "C1", p);
  FUZZ_CHECK_MSG(LastMessage(app) == "グループポリシーを消去しました", Escaped(p));
  FUZZ_CHECK(app.registry.StringValue(policy::kPolicyKeyPath, policy::kAdmValue) == std::string("0"));
  FUZZ_CHECK(app.registry.openObjects == 0);
  FUZZ_CHECK(app.liveModalForms == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string first = provider.ConsumeRandomLengthString();
  const std::string second = provider.ConsumeRemainingBytesAsString();
  CheckFunctions(first, second);
  CheckFunctions(second, first);
  CheckCommands(first, second);
  return 0;
}
