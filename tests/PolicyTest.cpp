#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/FileDialog.h"
#include "policy/PolicyFile.h"
#include "policy/PolicyRecord.h"
#include "TestSupport.h"

using testing_support::Program;

// The program's strings are Shift-JIS bytes; a build without the CP932 literal setting would
// pass every test that compares a literal with itself, so pin a few bytes down.
TEST(Text, LiteralsAreShiftJis) {
  EXPECT_EQ(std::string("ポ"), "\x83\x7C");
  EXPECT_EQ(std::string("ソ表"), "\x83\x5C\x95\x5C");
  EXPECT_EQ(std::string(policy::kRestrictionCaptions[10]),
            "\x93\xFA\x95\x74\x88\xF3\x82\xCC\x93\xFA\x95\x74\x95\xCF\x8D\x58\x82\xF0\x8B\xD6\x8E\x7E");
}

TEST(PolicyRecord, FreshRecordIsThirteenOffFlagsThenZeros) {
  const auto record = policy::PolicyRecord::Fresh();
  ASSERT_EQ(record.bytes.size(), 1088u);
  for (std::size_t i = 0; i < record.bytes.size(); ++i) EXPECT_EQ(record.bytes[i], i < 13 ? 'f' : 0) << "byte " << i;
}

TEST(CheckBinding, StartsWithFreshRecordAndEveryBoxUnchecked) {
  Program p;
  EXPECT_EQ(p.Boxes(), "fffffffffffff");
  EXPECT_EQ(p.form.PolicyRecord.bytes, policy::PolicyRecord::Fresh().bytes);
}

TEST(CheckBinding, OnlyLowerCaseTChecksABox) {
  Program p;
  // 't' checks; 'f', zero, 'T', 'x' and anything else do not.
  const std::uint8_t flags[13] = {'t', 'f', 0, 'T', 'x', 't', 0xFF, ' ', 't', '1', 'F', 't', 't'};
  std::copy(std::begin(flags), std::end(flags), p.form.PolicyRecord.bytes.begin());
  p.SetBoxes("ttttttttttttt");
  const auto before = p.form.PolicyRecord.bytes;

  p.form.ApplyPolicyToChecks();

  EXPECT_EQ(p.Boxes(), "tfffftfftfftt");
  EXPECT_EQ(p.form.PolicyRecord.bytes, before) << "applying must not change the record";
}

TEST(CheckBinding, ReadingBoxesRewritesOnlyTheFlags) {
  Program p;
  auto& bytes = p.form.PolicyRecord.bytes;
  bytes[0] = 'T';
  bytes[1] = 0;
  bytes[2] = 'x';
  for (std::size_t i = 13; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  const std::vector<std::uint8_t> tail(bytes.begin() + 13, bytes.end());

  p.form.ApplyPolicyToChecks();
  p.form.Check(12).SetChecked(true);
  p.form.ReadPolicyFromChecks();

  EXPECT_EQ(p.Flags(), "fffffffffffft");
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 13, bytes.end()), tail);
}

TEST(Presets, EachReplacesAllThirteenBoxesAndLeavesTheRecord) {
  struct Row {
    const char* item;
    const char* boxes;
  };
  const Row rows[] = {
      {"yuza1", "ttttttttttfff"}, {"N2", "tffftfffftfff"},  {"N21", "ftffftffftfff"},
      {"N41", "ttffttffftfff"},   {"N51", "tttfffffftfff"},
  };
  for (const Row& row : rows) {
    // Every start state: nothing checked, everything checked, and what the previous row left.
    for (const char* start : {"fffffffffffff", "ttttttttttttt", "ftftftftftftf"}) {
      Program p;
      p.SetBoxes(start);
      p.app.ClickMenu(row.item);
      EXPECT_EQ(p.Boxes(), row.boxes) << row.item << " from " << start;
      EXPECT_EQ(p.form.PolicyRecord.bytes, policy::PolicyRecord::Fresh().bytes) << row.item;
      EXPECT_TRUE(p.app.boxes.empty()) << row.item << " asked or said something";
    }
  }
  Program p;
  p.app.ClickMenu("yuza1");
  p.app.ClickMenu("N2");
  EXPECT_EQ(p.Boxes(), "tffftfffftfff") << "a preset after another replaces it";
}

TEST(PolicyFileName, ExtensionBecomesLowerCasePlq) {
  struct Case {
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\work\\a.txt", "C:\\work\\a.plq"},
      {"C:\\work\\a", "C:\\work\\a.plq"},
      {"policy.old", "policy.plq"},
      {"a.b.c", "a.b.plq"},  // only the last dot counts
      {"x.PLQ", "x.plq"},
      {"x.plq", "x.plq"},
      {"", ".plq"},
      {"C:\\dir.d\\file", "C:\\dir.d\\file.plq"},  // a dot in a folder name is no extension
      {"C:\\dir.d\\", "C:\\dir.d\\.plq"},          // trailing "\": append
      {"C:a.txt", "C:a.plq"},
      {"C:", "C:.plq"},
      {"a.", "a.plq"},
      // The second byte of ソ and 表 is 0x5C, "\": it must not hide the dot before it.
      {"C:\\work\\ソ.txt", "C:\\work\\ソ.plq"},
      {"C:\\work\\a.表", "C:\\work\\a.plq"},
      {"C:\\作業\\設定表", "C:\\作業\\設定表.plq"},
      {"C:\\work.d\\ソ", "C:\\work.d\\ソ.plq"},
      // A lone lead byte at the end stands alone.
      {"a.txt\x83", "a.plq"},
  };
  for (const Case& c : cases) EXPECT_EQ(policy::WithPolicyExtension(c.name), c.expected) << c.name;
}

TEST(FileDialogFilter, SplitsAtSeparatorsStepOverDoubleByteCharacters) {
  const auto entries = platform::SplitFilter(policy::kPolicyFileFilter);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].description, "Pelaroポリシーファイル(*.plq)");
  EXPECT_EQ(entries[0].pattern, "*.plq");

  const auto two = platform::SplitFilter("ポ|*.a|表|*.b");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1].description, "表");
  EXPECT_EQ(two[1].pattern, "*.b");
}

TEST(ExceptionBox, PeriodRuleOnTheLastByte) {
  struct Case {
    std::string message;
    std::string shown;
  };
  const Case cases[] = {
      {"", ""},
      {"abc", "abc."},
      {"abc.", "abc."},
      {"abc-", "abc-"},        // 0x2D
      {"a ", "a "},            // 0x20
      {"a!", "a!"},            // 0x21
      {"a,", "a,"},            // 0x2C
      {"a/", "a/."},           // 0x2F
      {"'adm' の設定に失敗しました", "'adm' の設定に失敗しました."},
      {"ソ", "ソ."},            // ends in 0x5C, a double-byte character's second byte
      {"x\x83", "x\x83."},     // a lone lead byte at the end
      {std::string("x\0", 2), std::string("x\0", 2)},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::ExceptionText(c.message), c.shown) << c.message;
}

TEST(ExceptionBox, ShowsWithTitleStopIconAndOk) {
  Program p;
  p.app.SetTitle("Pelaroグループポリシー");
  const std::string longText(8000, 'a');
  for (const std::string& message : {std::string("x"), std::string(), std::string("\x83"), longText}) {
    p.app.boxes.clear();
    p.app.ShowException(platform::RegistryError(message));
    ASSERT_EQ(p.app.boxes.size(), 1u);
    EXPECT_EQ(p.app.boxes[0].text, platform::ExceptionText(message));
    EXPECT_EQ(p.app.boxes[0].caption, "Pelaroグループポリシー");
    EXPECT_EQ(p.app.boxes[0].flags, 0x10u);  // MB_OK | MB_ICONSTOP
  }
  p.app.boxes.clear();
  p.app.ShowException(platform::Abort());
  EXPECT_TRUE(p.app.boxes.empty()) << "a silent abort shows nothing";
}
