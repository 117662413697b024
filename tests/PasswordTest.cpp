#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "policy/Password.h"

using policy::PasswordDiffers;
using policy::ScramblePassword;
using policy::StoredPasswordForm;

TEST(Password, ScrambleXorsEachByteWithTheKey) {
  EXPECT_EQ(ScramblePassword("abc"), "}~\x7f");
  EXPECT_EQ(ScramblePassword(""), "");
  EXPECT_EQ(ScramblePassword("\x82\xa0"), "\x9e\xbc");  // あ, byte by byte
  // The key byte scrambles to zero, which ends the stored string there.
  EXPECT_EQ(StoredPasswordForm("ab\x1c" "cd"), "}~");
  // Input ends at its first zero byte.
  EXPECT_EQ(ScramblePassword(std::string("ab\0cd", 5)), "}~");
}

TEST(Password, DiffersComparesWholeStrings) {
  struct Case {
    const char* entered;
    std::string stored;
    int differs;
  };
  const Case cases[] = {
      {"abc", StoredPasswordForm("abc"), 0},
      {"", "", 0},                          // empty password, empty stored form
      {"", StoredPasswordForm("abc"), 1},
      {"abc", "", 1},                       // admstr missing reads as empty
      {"ab", StoredPasswordForm("abc"), 1},  // a prefix
      {"abcd", StoredPasswordForm("abc"), 1},  // an extension
      {"ABC", StoredPasswordForm("abc"), 1},   // case matters
      {"abc ", StoredPasswordForm("abc"), 1},  // no trimming
      {" abc", StoredPasswordForm("abc"), 1},
      {"abc", "abc", 1},                    // the stored form is scrambled, not plain
      {"パス", StoredPasswordForm("パス"), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(PasswordDiffers(c.entered, c.stored), c.differs) << c.entered;
}

TEST(Password, OnlyPasswordsThatCanBeEnteredAgainCanBeSet) {
  struct Case {
    std::string password;
    bool typedExactly;
    bool canBeSet;
  };
  const Case cases[] = {
      {"abc", true, true},
      {"", true, true},  // the empty password is allowed: only an empty entry passes later
      {"パスワード", true, true},
      {std::string(255, 'a'), true, true},
      {std::string(256, 'a'), true, false},  // longer than the 255-byte buffer
      {"ab\x1c", true, false},                // holds the key byte: stored cut short
      {"pass", false, false},                 // typed with characters CP932 cannot hold
      // Scrambles to an invalid double-byte sequence (lead 0x9F, then 0x7F), which does not
      // survive the registry's text form.
      {std::string("\x83\x63"), true, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(policy::PasswordCanBeSet(c.password, c.typedExactly, platform::StringAsStored), c.canBeSet)
        << c.password.size() << " bytes: " << c.password;
}

TEST(Password, EveryPrintableAsciiPasswordSurvivesTheRegistry) {
  std::string all;
  for (char c = ' '; c <= '~'; ++c) all += c;
  EXPECT_TRUE(policy::PasswordCanBeSet(all, true, platform::StringAsStored));
  EXPECT_EQ(PasswordDiffers(all, platform::StringAsStored(StoredPasswordForm(all))), 0);
}
