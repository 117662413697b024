#include <gtest/gtest.h>

#include "TestSupport.h"

using testing_support::Program;
using Messages = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

namespace {

const std::string kOverwrite = "同名ファイルに上書きします";
const std::string kSaveCancelled = "ファイル保存を中止します";
const std::string kCannotOpen = "ファイルをオープンできません";
const std::string kSaved = "ファイルに保存しました";
const std::string kSaveFailed = "ファイルの保存に失敗しました";

Bytes FreshFile() {
  const auto record = policy::PolicyRecord::Fresh();
  return Bytes(record.bytes.begin(), record.bytes.end());
}

Bytes Pattern(std::size_t size, const char* flags) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = i < 13 ? static_cast<std::uint8_t>(flags[i]) : static_cast<std::uint8_t>(i * 31 + 7);
  return bytes;
}

void Read(Program& p, const std::string& chosen) {
  p.app.fileChoices.push_back(chosen);
  p.app.ClickMenu("R1");
}

void Store(Program& p, const std::string& chosen) {
  p.app.fileChoices.push_back(chosen);
  p.app.ClickMenu("W1");
}

}  // namespace

TEST(StoreFile, FreshProgramStoresThirteenOffFlagsAndZeros) {
  Program p;
  Store(p, "C:\\work\\new");
  EXPECT_EQ(p.TakeMessages(), Messages{kSaved});
  EXPECT_EQ(p.app.files.files.at("C:\\work\\new.plq").bytes, FreshFile());
  EXPECT_FALSE(p.app.files.files.at("C:\\work\\new.plq").readOnly);
  EXPECT_EQ(p.form.SaveDialog1.FileName(), "C:\\work\\new.plq");
  EXPECT_EQ(p.form.OpenDialog1.FileName(), "") << "a store never changes the open dialog's name";
  EXPECT_EQ(p.app.files.openFiles, 0);
}

TEST(ReadFile, ReplacesOnlyTheBytesTheFileHolds) {
  struct Case {
    const char* what;
    Bytes file;
    std::string boxes;
  };
  const Case cases[] = {
      {"13 bytes", Bytes{'t', 'f', 't', 'f', 't', 'f', 't', 'f', 't', 'f', 't', 'f', 't'}, "tftftftftftft"},
      {"empty", Bytes{}, "ttfffffffffff"},  // the record as before: the clicks are undone
      {"1088 bytes", Pattern(1088, "ffffffttfffff"), "ffffffttfffff"},
      {"2000 bytes", Pattern(2000, "tttttttttttft"), "tttttttttttft"},
      {"odd flag bytes", Bytes{'T', 'x', 0, 't', 'f', 0xFF, 't'}, "ffftfftffffff"},
  };
  for (const Case& c : cases) {
    Program p;
    // The record before: 'tt' then 'f's, and a tail of 0xAB.
    p.form.PolicyRecord.bytes[0] = p.form.PolicyRecord.bytes[1] = 't';
    for (std::size_t i = 13; i < 1088; ++i) p.form.PolicyRecord.bytes[i] = 0xAB;
    auto expected = p.form.PolicyRecord.bytes;
    std::copy_n(c.file.begin(), std::min<std::size_t>(c.file.size(), 1088), expected.begin());
    p.SetBoxes("fffffffffffft");  // unsaved clicks
    p.app.files.files["C:\\p.plq"].bytes = c.file;

    Read(p, "C:\\p.plq");

    EXPECT_TRUE(p.app.boxes.empty()) << c.what << ": no message on success";
    EXPECT_EQ(p.form.PolicyRecord.bytes, expected) << c.what;
    EXPECT_EQ(p.Boxes(), c.boxes) << c.what;
    EXPECT_EQ(p.form.SaveDialog1.FileName(), "C:\\p.plq") << "the next store proposes the file just read";
    EXPECT_EQ(p.app.files.files.at("C:\\p.plq").bytes, c.file) << "reading leaves the file alone";
    EXPECT_EQ(p.app.files.openFiles, 0);
  }
}

TEST(ReadFile, ThenStoreCarriesTheTailAndRewritesOddFlags) {
  Program p;
  Bytes original = Pattern(1088, "tTx\0ffffffftt");
  p.app.files.files["C:\\a.plq"].bytes = original;
  Read(p, "C:\\a.plq");
  Store(p, "C:\\b.plq");
  const Bytes& copy = p.app.files.files.at("C:\\b.plq").bytes;
  ASSERT_EQ(copy.size(), 1088u);
  EXPECT_EQ(std::string(copy.begin(), copy.begin() + 13), "tfffffffffftt");
  EXPECT_TRUE(std::equal(copy.begin() + 13, copy.end(), original.begin() + 13));
}

TEST(ReadFile, ChosenNameGetsThePolicyExtension) {
  Program p;
  p.app.files.files["C:\\x.txt"].bytes = Bytes(13, 't');
  Read(p, "C:\\x.txt");
  EXPECT_EQ(p.TakeMessages(), Messages{kCannotOpen}) << "x.txt opens x.plq, which is missing";
  EXPECT_EQ(p.form.OpenDialog1.FileName(), "C:\\x.plq") << "the dialog keeps the corrected name";
  EXPECT_EQ(p.form.SaveDialog1.FileName(), "");
  EXPECT_EQ(p.Boxes(), "fffffffffffff");

  p.app.files.files["C:\\x.plq"].bytes = Bytes(13, 't');
  Read(p, "C:\\x.txt");
  EXPECT_EQ(p.Boxes(), "ttttttttttttt");
  EXPECT_EQ(p.app.dialogRuns.back().startName, "C:\\x.plq") << "the dialog opens on its last name";
}

TEST(ReadFile, FailuresToOpenChangeNothing) {
  for (int how = 0; how < 3; ++how) {
    Program p;
    p.SetBoxes("tffffffffffff");
    p.app.files.files["C:\\p.plq"].bytes = Bytes(13, 't');
    if (how == 0) p.app.files.files.clear();
    if (how == 1) p.app.files.lockedPaths.insert("C:\\p.plq");  // held exclusively by another program
    if (how == 2) {
      p.app.files.files.clear();
      p.app.files.directories.insert("C:\\p.plq");
    }
    Read(p, "C:\\p.plq");
    EXPECT_EQ(p.TakeMessages(), Messages{kCannotOpen}) << how;
    EXPECT_EQ(p.Boxes(), "tffffffffffff") << how;
    EXPECT_EQ(p.Flags(), "fffffffffffff") << how;
  }
}

TEST(FileDialogs, CancelIsSilentAndKeepsTheName) {
  Program p;
  p.form.OpenDialog1.SetFileName("C:\\kept.plq");
  p.form.SaveDialog1.SetFileName("C:\\kept2.plq");
  p.app.fileChoices.push_back(std::nullopt);
  p.app.ClickMenu("R1");
  p.app.fileChoices.push_back(std::nullopt);
  p.app.ClickMenu("W1");
  EXPECT_TRUE(p.app.boxes.empty());
  EXPECT_TRUE(p.app.files.files.empty());
  EXPECT_EQ(p.form.OpenDialog1.FileName(), "C:\\kept.plq");
  EXPECT_EQ(p.form.SaveDialog1.FileName(), "C:\\kept2.plq");
}

TEST(FileDialogs, SettingsOfTheOpenAndSaveDialogs) {
  Program p;
  EXPECT_EQ(p.form.OpenDialog1.Filter(), "Pelaroポリシーファイル(*.plq)|*.plq");
  EXPECT_EQ(p.form.SaveDialog1.Filter(), p.form.OpenDialog1.Filter());
  // OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING | OFN_EXPLORER | OFN_ENABLEHOOK
  EXPECT_EQ(p.form.OpenDialog1.Options(), 0x4u | 0x800u | 0x1000u | 0x800000u | 0x80000u | 0x20u);
  EXPECT_EQ(p.form.SaveDialog1.Options(), 0x4u | 0x800000u | 0x80000u | 0x20u);
  EXPECT_EQ(platform::FileDialog::kMaxFileName, 260);
}

TEST(StoreFile, OverwriteQuestionOnlyForAnExistingFile) {
  Program p;
  p.app.files.files["C:\\old.plq"].bytes = Bytes(5, 'z');
  p.app.files.directories.insert("C:\\dir.plq");
  p.SetBoxes("ttttttttttttt");

  p.app.answers.push_back(platform::kIdCancel);
  Store(p, "C:\\old.txt");
  EXPECT_EQ(p.TakeMessages(), (Messages{kOverwrite, kSaveCancelled}));
  EXPECT_EQ(p.app.files.files.at("C:\\old.plq").bytes, Bytes(5, 'z')) << "cancel leaves the file untouched";

  Store(p, "C:\\old.plq");
  EXPECT_EQ(p.TakeMessages(), (Messages{kOverwrite, kSaved}));
  EXPECT_EQ(p.app.files.files.at("C:\\old.plq").bytes.size(), 1088u);
  EXPECT_EQ(p.app.files.files.at("C:\\old.plq").bytes[0], 't');

  // A directory of that name does not count as a file: no question, and it cannot be opened.
  Store(p, "C:\\dir");
  EXPECT_EQ(p.TakeMessages(), Messages{kCannotOpen});
}

TEST(StoreFile, ReadOnlyOrLockedTargetIsNeverEmptied) {
  for (bool readOnly : {true, false}) {
    Program p;
    auto& entry = p.app.files.files["C:\\ro.plq"];
    entry.bytes = Bytes(20, 'k');
    entry.readOnly = readOnly;
    if (!readOnly) p.app.files.lockedPaths.insert("C:\\ro.plq");
    p.SetBoxes("ttttttttttttt");
    Store(p, "C:\\ro.plq");
    EXPECT_EQ(p.TakeMessages(), (Messages{kOverwrite, kCannotOpen}));
    EXPECT_EQ(p.app.files.files.at("C:\\ro.plq").bytes, Bytes(20, 'k'));
    EXPECT_EQ(p.Flags(), "fffffffffffff") << "the record is untouched when the open fails";
  }
}

TEST(StoreFile, FailedWriteOrCloseIsNotReportedAsSaved) {
  struct Case {
    const char* what;
    std::size_t capacity;
    bool failClose;
    std::size_t sizeAfter;
  };
  const Case cases[] = {
      {"disk full at once", 0, false, 0},
      {"short write", 500, false, 500},
      {"close fails", SIZE_MAX, true, 1088},
  };
  for (const Case& c : cases) {
    Program p;
    p.app.files.writeCapacity = c.capacity;
    p.app.files.failClose = c.failClose;
    Store(p, "C:\\f.plq");
    ASSERT_EQ(p.app.boxes.size(), 1u) << c.what;
    EXPECT_EQ(p.app.boxes[0].text, kSaveFailed) << c.what;
    EXPECT_EQ(p.app.boxes[0].flags, 0u) << "OK only";
    EXPECT_EQ(p.app.files.files.at("C:\\f.plq").bytes.size(), c.sizeAfter) << c.what;
  }
}

TEST(StoreFile, MessagesUseTheMessageBoxConvention) {
  Program p;
  p.app.files.files["C:\\e.plq"].bytes = Bytes(1, 'e');
  Store(p, "C:\\e.plq");
  ASSERT_EQ(p.app.boxes.size(), 2u);
  EXPECT_EQ(p.app.boxes[0].flags, 1u);  // MB_OKCANCEL, no icon
  EXPECT_EQ(p.app.boxes[1].flags, 0u);  // MB_OK
  EXPECT_EQ(p.app.boxes[0].caption, "");
  EXPECT_EQ(p.app.boxes[1].caption, "");
}
