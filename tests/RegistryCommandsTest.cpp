#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/Registry.h"
#include "policy/Password.h"
#include "TestSupport.h"

using testing_support::Program;
using Messages = std::vector<std::string>;

namespace {

const std::string kRegisterQuestion = "現在の設定をパソコンへ登録します。\nよろしいですか？";
const std::string kEraseQuestion = "現在のパソコンに登録されているグループポリシーを消去します。\nよろしいですか？";
const std::string kRegistered = "グループポリシーを登録しました";
const std::string kErased = "グループポリシーを消去しました";
const std::string kWrongPassword = "登録されているパスワードと異なります";

// Registers boxes with password on p, answering OK to the question.
void Register(Program& p, const std::string& boxes, const std::string& password) {
  p.SetBoxes(boxes);
  p.WillEnterPassword(password);
  p.app.ClickMenu("S1");
}

// The policy key as a comparable snapshot: every value's type and bytes.
std::map<std::string, std::pair<platform::ValueType, std::vector<std::uint8_t>>> Snapshot(const Program& p) {
  std::map<std::string, std::pair<platform::ValueType, std::vector<std::uint8_t>>> values;
  if (const auto* key = p.app.registry.FindKey(policy::kPolicyKeyPath))
    for (const auto& [name, value] : key->values) values[name] = {value.type, value.data};
  return values;
}

}  // namespace

TEST(Register, FirstRegistrationSetsPasswordThenStateThenFlags) {
  Program p;
  Register(p, "tftfffffffftt", "secret");
  EXPECT_EQ(p.TakeMessages(), (Messages{kRegisterQuestion, kRegistered}));
  EXPECT_EQ(p.app.modalForms, std::vector<std::string>{"TPasswordDlg"});
  EXPECT_EQ(p.app.registry.writeLog,
            (std::vector<std::string>{"admstr=" + policy::StoredPasswordForm("secret"), "adm=1", "Policy01=tftfffffffftt"}));
  EXPECT_EQ(p.Value("admstr"), policy::StoredPasswordForm("secret"));
  EXPECT_EQ(p.Flags(), "tftfffffffftt") << "the record takes the boxes";
  EXPECT_EQ(p.app.registry.openObjects, 0);
  for (const auto& box : p.app.boxes) EXPECT_EQ(box.caption, "");
}

TEST(Register, LaterRegistrationsNeedTheSamePassword) {
  Program p;
  Register(p, "ttttttttttttt", "Pass");
  p.app.registry.writeLog.clear();
  p.TakeMessages();

  // Wrong, prefix, extension, other case, blank added: refused, nothing written.
  for (const char* wrong : {"pass", "Pas", "Pass1", "PASS", "Pass ", ""}) {
    Register(p, "fffffffffffff", wrong);
    EXPECT_EQ(p.TakeMessages(), (Messages{kRegisterQuestion, kWrongPassword})) << wrong;
  }
  EXPECT_TRUE(p.app.registry.writeLog.empty());
  EXPECT_EQ(p.Value("Policy01"), "ttttttttttttt");

  Register(p, "ffffffffffftf", "Pass");
  EXPECT_EQ(p.TakeMessages(), (Messages{kRegisterQuestion, kRegistered}));
  EXPECT_EQ(p.app.registry.writeLog, (std::vector<std::string>{"adm=1", "Policy01=ffffffffffftf"}))
      << "a registration while registered keeps the password";
}

TEST(Register, EmptyPasswordLetsOnlyAnEmptyEntryPass) {
  Program p;
  Register(p, "ttttttttttttt", "");
  EXPECT_EQ(p.Value("admstr"), "");
  p.TakeMessages();
  Register(p, "fffffffffffff", "a");
  EXPECT_EQ(p.TakeMessages().back(), kWrongPassword);
  Register(p, "fffffffffffff", "");
  EXPECT_EQ(p.TakeMessages().back(), kRegistered);
}

TEST(Register, MissingPasswordValueWhileRegisteredAcceptsOnlyEmpty) {
  Program p;
  p.PutValue("adm", "1");
  Register(p, "ttttttttttttt", "x");
  EXPECT_EQ(p.TakeMessages().back(), kWrongPassword);
  Register(p, "ttttttttttttt", "");
  EXPECT_EQ(p.TakeMessages().back(), kRegistered);
}

TEST(Register, PresetThenRegisterWritesThePreset) {
  Program p;
  p.app.ClickMenu("N41");
  p.WillEnterPassword("pw");
  p.app.ClickMenu("S1");
  EXPECT_EQ(p.Value("Policy01"), "ttffttffftfff");
  EXPECT_EQ(p.Flags(), "ttffttffftfff");
}

TEST(Register, CancelAnywhereLeavesEveryValueAsItWas) {
  for (bool registered : {false, true}) {
    for (int where = 0; where < 3; ++where) {
      Program p;
      if (registered) Register(p, "tttttttttttff", "pw");
      p.TakeMessages();
      const auto before = Snapshot(p);
      p.SetBoxes("fffffffffffff");
      if (where == 0) {
        p.app.answers.push_back(platform::kIdCancel);  // at the question
      } else if (where == 1) {
        p.WillCancelPassword();
      } else {
        p.WillClosePassword();  // close box or Esc
      }
      p.app.ClickMenu("S1");
      EXPECT_EQ(Snapshot(p), before) << "registered " << registered << ", cancel at " << where;
      EXPECT_EQ(p.TakeMessages(), Messages{kRegisterQuestion}) << "no message after a cancel";
      EXPECT_EQ(p.app.registry.openObjects, 0);
      EXPECT_EQ(p.Flags(), registered ? "tttttttttttff" : "fffffffffffff");
      if (!registered && where == 0) {
        EXPECT_FALSE(p.app.registry.KeyExists("Software")) << "a cancelled question creates nothing";
      }
    }
  }
}

TEST(Register, RefusesAPasswordThatCouldNeverBeEnteredAgain) {
  struct Case {
    const char* what;
    std::string password;
    bool exact;
  };
  const Case cases[] = {
      {"key byte", "ab\x1c", true},
      {"256 bytes", std::string(256, 'p'), true},
      {"characters CP932 lacks", "pass?", false},
      {"stored form does not read back", "\x83\x63", true},
  };
  for (bool erasedBefore : {false, true}) {
    for (const Case& c : cases) {
      Program p;
      if (erasedBefore) {
        p.PutValue("adm", "0");
        p.PutValue("admstr", policy::StoredPasswordForm("old"));
        p.PutValue("Policy01", "fffffffffffff");
      }
      const auto before = Snapshot(p);
      p.SetBoxes("ttttttttttttt");
      p.WillEnterPassword(c.password, c.exact);
      p.app.ClickMenu("S1");
      EXPECT_EQ(p.TakeMessages(), (Messages{kRegisterQuestion, "このパスワードは設定できません"})) << c.what;
      EXPECT_EQ(Snapshot(p), before) << c.what;
      EXPECT_TRUE(p.app.registry.writeLog.empty()) << c.what;
      EXPECT_EQ(p.app.registry.openObjects, 0);
    }
  }
}

TEST(Register, RegisteredPasswordsAreCheckedAsStoredEvenIfLong) {
  // A registration made by an earlier tool with a 300-byte password: checked as stored.
  Program p;
  const std::string longPassword(300, 'k');
  p.PutValue("adm", "1");
  p.PutValue("admstr", policy::StoredPasswordForm(longPassword));
  Register(p, "ttttttttttttt", longPassword);
  EXPECT_EQ(p.TakeMessages().back(), kRegistered);
  Register(p, "ttttttttttttt", std::string(10000, 'k'));
  EXPECT_EQ(p.TakeMessages().back(), kWrongPassword);
}

TEST(Erase, WithTheRightPasswordResetsStateAndFlagsOnly) {
  Program p;
  Register(p, "ttttttttttttt", "pw");
  p.app.registry.writeLog.clear();
  p.TakeMessages();
  p.SetBoxes("tfffffffffftf");  // unsaved clicks
  const auto record = p.form.PolicyRecord.bytes;

  p.WillEnterPassword("pw");
  p.app.ClickMenu("C1");

  EXPECT_EQ(p.TakeMessages(), (Messages{kEraseQuestion, kErased}));
  EXPECT_EQ(p.app.registry.writeLog, (std::vector<std::string>{"adm=0", "Policy01=fffffffffffff"}));
  EXPECT_EQ(p.Value("admstr"), policy::StoredPasswordForm("pw")) << "the old password stays in place";
  EXPECT_EQ(p.Boxes(), "tfffffffffftf") << "the window is unchanged";
  EXPECT_EQ(p.form.PolicyRecord.bytes, record);
  EXPECT_EQ(p.app.registry.openObjects, 0);
}

TEST(Erase, WrongPasswordOrCancelWritesNothing) {
  for (int how = 0; how < 4; ++how) {
    Program p;
    Register(p, "ttttttttttttt", "pw");
    p.TakeMessages();
    const auto before = Snapshot(p);
    Messages expected{kEraseQuestion};
    if (how == 0) {
      p.WillEnterPassword("PW");
      expected.push_back(kWrongPassword);
    } else if (how == 1) {
      p.app.answers.push_back(platform::kIdCancel);
    } else if (how == 2) {
      p.WillCancelPassword();
    } else {
      p.WillClosePassword();
    }
    p.app.ClickMenu("C1");
    EXPECT_EQ(p.TakeMessages(), expected) << how;
    EXPECT_EQ(Snapshot(p), before) << how;
    EXPECT_EQ(p.app.registry.openObjects, 0);
  }
}

TEST(Erase, NothingRegisteredSaysSoAndAsksNothing) {
  for (const char* adm : {static_cast<const char*>(nullptr), "0", "", "2", "1 "}) {
    Program p;
    if (adm) p.PutValue("adm", adm);
    p.app.ClickMenu("C1");
    EXPECT_EQ(p.TakeMessages(), Messages{"グループポリシーは設定されていません。"}) << (adm ? adm : "missing");
    EXPECT_TRUE(p.app.modalForms.empty());
    EXPECT_TRUE(p.app.registry.KeyExists(policy::kPolicyKeyPath)) << "erase opens the key before its question";
  }
}

TEST(Erase, ThenRegisterSetsANewPassword) {
  Program p;
  Register(p, "ttttttttttttt", "old");
  p.WillEnterPassword("old");
  p.app.ClickMenu("C1");
  p.TakeMessages();

  Register(p, "tffffffffffff", "new");
  EXPECT_EQ(p.TakeMessages(), (Messages{kRegisterQuestion, kRegistered})) << "the old password is not asked for";
  EXPECT_EQ(p.Value("admstr"), policy::StoredPasswordForm("new"));
  Register(p, "ttfffffffffff", "old");
  EXPECT_EQ(p.TakeMessages().back(), kWrongPassword);
}

TEST(Import, CopiesRegisteredFlagsIntoRecordAndBoxes) {
  struct Case {
    const char* what;
    std::optional<std::string> policy;
    std::string boxes;
    std::string flags;  // bytes 0 to 12 of the record afterwards
  };
  const Case cases[] = {
      {"thirteen", "tftftftftftft", "tftftftftftft", "tftftftftftft"},
      {"sixteen", "tttttttttttttxyz", "ttttttttttttt", "ttttttttttttt"},
      {"three", "tft", "tftffffffffff", std::string("tft") + std::string(10, '\0')},
      {"missing", std::nullopt, "fffffffffffff", std::string(13, '\0')},
      {"odd bytes", "TxtFf0tttttt", "fftfffttttttf", std::string("TxtFf0tttttt") + '\0'},
      {"ten thousand", std::string(10000, 't'), "ttttttttttttt", "ttttttttttttt"},
  };
  for (const Case& c : cases) {
    Program p;
    p.PutValue("adm", "1");
    if (c.policy) p.PutValue("Policy01", *c.policy);
    for (std::size_t i = 13; i < 1088; ++i) p.form.PolicyRecord.bytes[i] = 0xAB;
    p.SetBoxes("ftftftftftftf");
    p.app.ClickMenu("L1");
    EXPECT_EQ(p.TakeMessages(), Messages{"グループポリシーを読込みました"}) << c.what;
    EXPECT_EQ(p.Boxes(), c.boxes) << c.what;
    EXPECT_EQ(p.Flags(), c.flags) << c.what;
    EXPECT_EQ(p.form.PolicyRecord.bytes[13], 0xAB) << "the tail is not touched";
    EXPECT_EQ(p.form.PolicyRecord.bytes[1087], 0xAB);
    EXPECT_EQ(p.app.registry.openObjects, 0);
    EXPECT_TRUE(p.app.registry.writeLog.empty()) << "import writes nothing";
  }
}

TEST(Import, NotRegisteredLeavesTheWindowAndCreatesTheKeyOnly) {
  for (const char* adm : {static_cast<const char*>(nullptr), "0", "11", ""}) {
    Program p;
    if (adm) p.PutValue("adm", adm);
    p.PutValue("Policy01", "ttttttttttttt");
    if (!adm) p.app.registry.root.keys.clear();
    p.SetBoxes("tffffffffffff");
    p.app.ClickMenu("L1");
    EXPECT_EQ(p.TakeMessages(), Messages{"グループポリシーは登録されていません"});
    EXPECT_EQ(p.Boxes(), "tffffffffffff");
    EXPECT_EQ(p.Flags(), "fffffffffffff");
    const auto* key = p.app.registry.FindKey(policy::kPolicyKeyPath);
    ASSERT_NE(key, nullptr) << "the key chain exists afterwards";
    if (!adm) {
      EXPECT_TRUE(key->values.empty());
    }
  }
}

TEST(RegistryErrors, WrongTypesEndTheCommandInTheExceptionBox) {
  struct Case {
    const char* menu;
    const char* value;
    platform::ValueType type;
    std::vector<std::uint8_t> data;
    std::string message;
  };
  const std::vector<std::uint8_t> dword{1, 0, 0, 0};
  const Case cases[] = {
      {"L1", "adm", platform::ValueType::Dword, dword, "'adm' のデータ型が不正です."},
      {"L1", "Policy01", platform::ValueType::Binary, {'t', 't'}, "'Policy01' のデータ型が不正です."},
      {"L1", "Policy01", platform::ValueType::MultiString, {'t', 0, 0, 0, 0, 0}, "'Policy01' のデータ型が不正です."},
      {"S1", "adm", platform::ValueType::Binary, {'1', 0}, "'adm' のデータ型が不正です."},
      {"S1", "admstr", platform::ValueType::Dword, dword, "'admstr' のデータ型が不正です."},
      {"C1", "adm", platform::ValueType::MultiString, {'1', 0, 0, 0, 0, 0}, "'adm' のデータ型が不正です."},
      {"C1", "admstr", platform::ValueType::Binary, {'}', 0}, "'admstr' のデータ型が不正です."},
  };
  for (const Case& c : cases) {
    Program p;
    p.app.SetTitle("Pelaroグループポリシー");
    p.PutValue("adm", "1");
    p.PutValue("admstr", policy::StoredPasswordForm("pw"));
    p.PutValue("Policy01", "ttttttttttttt");
    p.app.registry.Put(policy::kPolicyKeyPath, c.value, {c.type, c.data});
    const auto before = Snapshot(p);
    p.SetBoxes("tffffffffffff");
    p.WillEnterPassword("pw");
    p.app.ClickMenu(c.menu);
    ASSERT_FALSE(p.app.boxes.empty());
    const auto& box = p.app.boxes.back();
    EXPECT_EQ(box.text, c.message) << c.menu << " " << c.value;
    EXPECT_EQ(box.caption, "Pelaroグループポリシー");
    EXPECT_EQ(box.flags, 0x10u);
    EXPECT_EQ(Snapshot(p), before) << "nothing written before the failing read";
    EXPECT_EQ(p.Boxes(), "tffffffffffff") << "the window is unchanged";
    EXPECT_EQ(p.app.registry.openObjects, 0);
  }
}

TEST(RegistryErrors, FailedWriteStopsTheCommandKeepingEarlierWrites) {
  Program p;
  p.app.SetTitle("Pelaroグループポリシー");
  p.app.registry.unwritableValues.insert("adm");
  Register(p, "ttttttttttttt", "pw");
  EXPECT_EQ(p.TakeMessages(), (Messages{kRegisterQuestion, "'adm' の設定に失敗しました."}));
  EXPECT_EQ(p.app.registry.writeLog, std::vector<std::string>{"admstr=" + policy::StoredPasswordForm("pw")});
  EXPECT_FALSE(p.Value("Policy01"));
  EXPECT_EQ(p.app.registry.openObjects, 0);
}

TEST(RegistryErrors, AKeyThatCannotBeOpenedStopsBeforeAnyWrite) {
  for (const char* key : {"Software", "Qrw", "Pelaro"}) {
    for (const char* menu : {"L1", "S1", "C1"}) {
      Program p;
      p.app.SetTitle("Pelaroグループポリシー");
      p.app.registry.uncreatableKeys.insert(key);
      p.WillEnterPassword("pw");
      p.app.ClickMenu(menu);
      ASSERT_FALSE(p.app.boxes.empty());
      EXPECT_EQ(p.app.boxes.back().text, "レジストリキーを開けません.") << key << " " << menu;
      EXPECT_EQ(p.app.boxes.back().flags, 0x10u);
      EXPECT_TRUE(p.app.registry.writeLog.empty()) << key << " " << menu;
      EXPECT_TRUE(p.app.modalForms.empty()) << "no password asked";
      EXPECT_EQ(p.app.registry.openObjects, 0);
    }
  }
}

TEST(RegistryImport, JapanesePcRegistrationMadeByAnotherTool) {
  // What an earlier ANSI tool leaves on a Japanese PC: UTF-16 REG_SZ values.
  Program p;
  p.PutValue("adm", "1");
  p.PutValue("Policy01", "tftftftftftft");
  p.PutValue("admstr", "}~\x7f");  // "abc" scrambled
  p.app.ClickMenu("L1");
  EXPECT_EQ(p.Boxes(), "tftftftftftft");
  p.WillEnterPassword("abc");
  p.app.ClickMenu("C1");
  EXPECT_EQ(p.app.boxes.back().text, kErased);
  EXPECT_EQ(p.Value("adm"), "0");
}

// Values of a registered policy replaced from outside by something no tool of ours writes.
TEST(RegistryErrors, HostileValueKindsInEveryCommand) {
  using platform::ValueType;
  struct Kind {
    const char* what;
    ValueType type;
    std::vector<std::uint8_t> data;  // empty: filled with the value's own text, no terminating zero
  };
  const Kind wrongTypes[] = {
      {"REG_DWORD", ValueType::Dword, {1, 0, 0, 0}},
      {"REG_BINARY", ValueType::Binary, {'1', 0}},
      {"REG_MULTI_SZ", ValueType::MultiString, {'1', 0, 0, 0, 0, 0}},
  };
  // Which values each command reads (a value only written is simply replaced).
  const std::map<std::string, std::set<std::string>> reads = {
      {"L1", {"adm", "Policy01"}}, {"S1", {"adm", "admstr"}}, {"C1", {"adm", "admstr"}}};
  const std::map<std::string, std::string> success = {
      {"L1", "グループポリシーを読込みました"}, {"S1", kRegistered}, {"C1", kErased}};

  for (const char* value : {"adm", "admstr", "Policy01"}) {
    for (const Kind& kind : wrongTypes) {
      for (const auto& [menu, read] : reads) {
        Program p;
        p.PutValue("adm", "1");
        p.PutValue("admstr", policy::StoredPasswordForm("pw"));
        p.PutValue("Policy01", "ttttttttttttt");
        p.app.registry.Put(policy::kPolicyKeyPath, value, {kind.type, kind.data});
        const auto before = Snapshot(p);
        p.WillEnterPassword("pw");
        p.app.ClickMenu(menu);
        const std::string context = std::string(value) + " as " + kind.what + " in " + menu;
        ASSERT_FALSE(p.app.boxes.empty()) << context;
        if (read.count(value)) {
          EXPECT_EQ(p.app.boxes.back().text, "'" + std::string(value) + "' のデータ型が不正です.") << context;
          EXPECT_EQ(Snapshot(p), before) << context;
        } else {
          EXPECT_EQ(p.app.boxes.back().text, success.at(menu)) << context;
          if (menu != "L1") {
            EXPECT_EQ(p.app.registry.Value(policy::kPolicyKeyPath, value)->type, ValueType::String) << context;
          }
        }
      }
    }
  }

  // An empty REG_SZ reads as empty; one without its terminating zero reads as its text.
  struct Case {
    const char* value;
    std::vector<std::uint8_t> data;
    const char* menu;
    std::string message;
  };
  const std::vector<std::uint8_t> empty{0, 0};
  const Case cases[] = {
      {"adm", empty, "L1", "グループポリシーは登録されていません"},
      {"adm", empty, "C1", "グループポリシーは設定されていません。"},
      {"adm", empty, "S1", kRegistered},  // not registered: the entry sets a new password
      {"admstr", empty, "S1", kWrongPassword},
      {"admstr", empty, "C1", kWrongPassword},
      {"Policy01", empty, "L1", "グループポリシーを読込みました"},
      {"adm", {'1', 0}, "C1", kErased},
      {"admstr", {'l', 0, 'k', 0}, "C1", kErased},  // "pw" scrambled, no zero
      {"Policy01", {'t', 0, 't', 0, 't', 0}, "L1", "グループポリシーを読込みました"},
  };
  for (const Case& c : cases) {
    Program p;
    p.PutValue("adm", "1");
    p.PutValue("admstr", policy::StoredPasswordForm("pw"));
    p.PutValue("Policy01", "ttttttttttttt");
    p.app.registry.Put(policy::kPolicyKeyPath, c.value, {ValueType::String, c.data});
    p.WillEnterPassword("pw");
    p.app.ClickMenu(c.menu);
    ASSERT_FALSE(p.app.boxes.empty());
    EXPECT_EQ(p.app.boxes.back().text, c.message) << c.value << " in " << c.menu;
    if (std::string(c.value) == "Policy01") {
      EXPECT_EQ(p.Boxes(), c.data.size() == 2 ? "fffffffffffff" : "tttffffffffff");
    }
  }
}
