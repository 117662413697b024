// Storing the restrictions in a policy file and reading them back, through the real open and save
// dialogs, and the About box: what a person sees, and what ends up on disk, byte for byte.
#include "Driver.h"
#include "FileDialogHelpers.h"
#include "MenuCommands.h"
#include "Messages.h"

#include <cstdio>
#include <cstdlib>

namespace e2e {
namespace {

using namespace msg;

constexpr size_t kRecordSize = 1088;

// A file whose flags are given and whose further bytes follow a pattern no fresh record holds.
Bytes Patterned(size_t size, std::string_view flags) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) {
    bytes[i] = i < flags.size() ? static_cast<unsigned char>(flags[i]) : static_cast<unsigned char>(i * 31 + 7);
  }
  return bytes;
}

// Holds a file open the way a program that shares nothing does, until the scenario lets go.
class ExclusiveHold {
 public:
  explicit ExclusiveHold(const std::wstring& path, std::source_location where = std::source_location::current())
      : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) Abort("cannot hold " + Utf8(path) + " open", where);
  }
  ExclusiveHold(const ExclusiveHold&) = delete;
  ExclusiveHold& operator=(const ExclusiveHold&) = delete;
  ~ExclusiveHold() { CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

}  // namespace

SCENARIO(FileStoreThenReadGivesTheBoxesBack) {
  const std::wstring path = FreshFolder(L"StoreThenRead") + L"policy.plq";
  Program program = Program::Launch();
  const PolicyWindow main = FindPolicyWindow(program);
  const std::string stored = "tfttfffttftft";

  SetFlags(main, stored);
  ChooseFile(program, main, menu::kStoreFile, path);
  ExpectMessages(program, main, {{kSaved}});
  CheckBytes(ReadFileBytes(path), FreshRecord(stored), "the stored file");

  SetFlags(main, "ftfftttfftftf");  // every box the other way
  ChooseFile(program, main, menu::kReadFile, path);
  WaitForFlags(main, stored);
  ExpectMessages(program, main, {});
  CheckBytes(ReadFileBytes(path), FreshRecord(stored), "the file after reading it");
}

SCENARIO(FileExtensionRuleThroughTheDialogs) {
  const std::wstring folder = FreshFolder(L"ExtensionRule");
  CreateDirectoryW((folder + L"set.d").c_str(), nullptr);
  Program program = Program::Launch();
  const PolicyWindow main = FindPolicyWindow(program);
  const std::string flags = "ttfftfftttfft";
  SetFlags(main, flags);

  // What is typed into the save dialog, and the file the program writes.
  const struct {
    const wchar_t* typed;
    const wchar_t* stored;
  } stores[] = {
      {L"x.txt", L"x.plq"},
      {L"plain", L"plain.plq"},
      {L"two.dots.txt", L"two.dots.plq"},
      {L"set.d\\inner", L"set.d\\inner.plq"},
  };
  for (const auto& c : stores) {
    const std::string note = "typed " + Utf8(c.typed);
    ChooseFile(program, main, menu::kStoreFile, folder + c.typed);
    ExpectMessages(program, main, {{kSaved}});
    CheckBytes(ReadFileBytes(folder + c.stored), FreshRecord(flags), note);
    CHECK_EQ_NOTE(FileExists(folder + c.typed), false, note);
  }

  // Choosing x.txt in the open dialog reads x.plq; x.txt itself holds other flags.
  WriteFileBytes(folder + L"x.txt", Patterned(kRecordSize, "fffffffffffff"));
  WriteFileBytes(folder + L"x.plq", Patterned(kRecordSize, "tffffffffffft"));
  SetFlags(main, "fttttttttttff");
  ChooseFile(program, main, menu::kReadFile, folder + L"x.txt");
  WaitForFlags(main, "tffffffffffft");
  ExpectMessages(program, main, {});

  // Without x.plq the same choice cannot be read, and the boxes stay as they are.
  REQUIRE(DeleteFileW((folder + L"x.plq").c_str()));
  ChooseFile(program, main, menu::kReadFile, folder + L"x.txt");
  ExpectMessages(program, main, {{kCannotOpen}});
  CHECK_EQ(Flags(main), "tffffffffffft");
}

SCENARIO(FileStoreOverAnExistingFile) {
  const std::wstring folder = FreshFolder(L"StoreOverExisting");
  Program program = Program::Launch();
  const PolicyWindow main = FindPolicyWindow(program);
  const std::string flags = "tttttttttfttt";
  SetFlags(main, flags);
  const Bytes old = Patterned(20, "kkkkkkkkkkkkk");

  enum class Target { Plain, ReadOnly, HeldExclusively };
  const struct {
    const char* what;
    Target target;
    int answer;
    const wchar_t* outcome;
    bool overwritten;
  } cases[] = {
      {"cancelled", Target::Plain, IDCANCEL, kSaveCancelled, false},
      {"confirmed", Target::Plain, IDOK, kSaved, true},
      // Wine running as root would empty a read-only file if asked to: the program must not ask.
      {"read-only", Target::ReadOnly, IDOK, kCannotOpen, false},
      {"held open by another program", Target::HeldExclusively, IDOK, kCannotOpen, false},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::wstring path = folder + L"old" + std::to_wstring(++n) + L".plq";
    WriteFileBytes(path, old);
    if (c.target == Target::ReadOnly) REQUIRE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    {
      std::optional<ExclusiveHold> hold;
      if (c.target == Target::HeldExclusively) hold.emplace(path);
      ChooseFile(program, main, menu::kStoreFile, path);
      ExpectMessages(program, main, {{kOverwrite, c.answer, true}, {c.outcome}});
    }
    CheckBytes(ReadFileBytes(path), c.overwritten ? FreshRecord(flags) : old, c.what);
    if (c.target == Target::ReadOnly) {
      CHECK_EQ_NOTE((GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0, true, c.what);
    }
  }
}

SCENARIO(FileReadShortAndLongFiles) {
  const std::wstring folder = FreshFolder(L"ShortAndLong");
  Program program = Program::Launch();
  const PolicyWindow main = FindPolicyWindow(program);

  // A file of just the thirteen flags.
  const std::wstring shortFile = folder + L"preset.plq";
  WriteFileBytes(shortFile, Patterned(13, "tftftftftftft"));
  ChooseFile(program, main, menu::kReadFile, shortFile);
  WaitForFlags(main, "tftftftftftft");
  ExpectMessages(program, main, {});

  // A longer file: the record takes its first 1088 bytes, and a store carries bytes 13 on as read.
  const std::wstring longFile = folder + L"long.plq";
  const Bytes longBytes = Patterned(2000, "ttfftfftttfft");
  WriteFileBytes(longFile, longBytes);
  ChooseFile(program, main, menu::kReadFile, longFile);
  WaitForFlags(main, "ttfftfftttfft");
  ExpectMessages(program, main, {});

  // The next store proposes the file just read, in its folder: taken as it is, it is the file
  // the overwrite question is about.
  PostCommand(main.window, menu::kStoreFile);
  const HWND dialog = WaitForFileDialog(program);
  CHECK_EQ(TextOf(FileNameEdit(dialog)), std::wstring(L"long.plq"));
  Click(GetDlgItem(dialog, IDOK));
  ExpectMessages(program, main, {{kOverwrite, IDCANCEL, true}, {kSaveCancelled}});

  SetFlags(main, "fffffffffffft");
  const std::wstring copy = folder + L"copy.plq";
  ChooseFile(program, main, menu::kStoreFile, copy);
  ExpectMessages(program, main, {{kSaved}});
  Bytes expected(longBytes.begin(), longBytes.begin() + kRecordSize);
  std::copy_n("fffffffffffft", 13, expected.begin());
  CheckBytes(ReadFileBytes(copy), expected, "the copy");
  CheckBytes(ReadFileBytes(longFile), longBytes, "the file read");
}

SCENARIO(FileReadRefusals) {
  const std::wstring folder = FreshFolder(L"ReadRefusals");
  const std::wstring path = folder + L"held.plq";
  WriteFileBytes(path, Patterned(kRecordSize, "ttttttttttttt"));
  Program program = Program::Launch();
  const PolicyWindow main = FindPolicyWindow(program);
  SetFlags(main, "ftfffffffffff");
  {
    ExclusiveHold hold(path);
    ChooseFile(program, main, menu::kReadFile, path);
    ExpectMessages(program, main, {{kCannotOpen}});
  }
  CHECK_EQ(Flags(main), "ftfffffffffff");
  CheckBytes(ReadFileBytes(path), Patterned(kRecordSize, "ttttttttttttt"), "the held file");
}

// ソ (0x83 0x5C) and 表 (0x95 0x5C) end in the byte of "\" in Shift-JIS, and so does 予 (0x97 0x5C):
// a name taken apart byte by byte would be cut at them.
SCENARIO(FileDoubleBytePath) {
  const std::wstring folder = FreshFolder(L"設定表ソ");
  Program program = Program::Launch();
  const PolicyWindow main = FindPolicyWindow(program);
  const std::string flags = "fttffttffttff";
  SetFlags(main, flags);

  ChooseFile(program, main, menu::kStoreFile, folder + L"予定.表ソ");
  ExpectMessages(program, main, {{kSaved}});
  CHECK_EQ(FolderListing(folder), std::wstring(L"予定.plq"));
  CheckBytes(ReadFileBytes(folder + L"予定.plq"), FreshRecord(flags), "the stored file");

  SetFlags(main, "fffffffffffff");
  ChooseFile(program, main, menu::kReadFile, folder + L"予定.plq");
  WaitForFlags(main, flags);
  ExpectMessages(program, main, {});
}

SCENARIO(FileOverlongPathIsCutAtTheDialogsLimit) {
  // The folder exists and is short enough to use; the name typed after it takes the whole path
  // past the 260 characters the program's dialog holds with its terminating zero.
  const std::wstring folder = FreshFolder(L"Overlong");
  const std::wstring deep = folder + std::wstring(200 - folder.size() % 10, L'd');
  REQUIRE(CreateDirectoryW(deep.c_str(), nullptr));
  const std::wstring typed = deep + L"\\" + std::wstring(80, L'n') + L".plq";
  REQUIRE(typed.size() > 260);
  const std::wstring kept = typed.substr(0, 259);

  Program program = Program::Launch();
  const PolicyWindow main = FindPolicyWindow(program);
  const std::string flags = "tffffffffffft";
  SetFlags(main, flags);
  PostCommand(main.window, menu::kStoreFile);
  const HWND dialog = WaitForFileDialog(program);
  const HWND edit = FileNameEdit(dialog);
  TypeText(edit, typed);
  // The keys are posted; a selection posted after them shows when the edit has taken them all.
  PostMessageW(edit, EM_SETSEL, 0, 1);
  WaitFor("the edit to take every key", [&] {
    DWORD from = 9, to = 9;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return from == 0 && to == 1;
  });
  CHECK_EQ(TextOf(edit), kept);
  Click(GetDlgItem(dialog, IDOK));

  // What is kept names a file without an extension in the deep folder; the program adds it.
  // Whether the system opens a path that long decides the answer, and either answer is whole.
  const HWND box = WaitFor("the store to answer", [&] { return ProgramMessageBox(program); });
  const std::wstring answer = MessageTextOf(box);
  ExpectMessages(program, main, {{answer == kSaved ? kSaved : kCannotOpen}});
  if (answer == kSaved) {
    CheckBytes(ReadFileBytes(kept + L".plq"), FreshRecord(flags), "the file stored under the kept name");
    CHECK_EQ(FolderListing(deep), kept.substr(deep.size() + 1) + L".plq");
  } else {
    CHECK_EQ(FolderListing(deep), std::wstring());
  }
  CHECK_EQ(Flags(main), flags);
}

SCENARIO(FileOpenDialogPlacement) {
  Program program = Program::Launch();
  const PolicyWindow main = FindPolicyWindow(program);
  PostCommand(main.window, menu::kReadFile);
  const HWND dialog = WaitForFileDialog(program);
  const RECT frame = WindowRectOf(dialog);
  const RECT area = WorkAreaOf(main.window);
  const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
  const LONG left = area.left + ((area.right - area.left) - width) / 2;
  const LONG top = area.top + ((area.bottom - area.top) - height) / 3;
  CHECK(std::abs(frame.left - left) <= 2);
  CHECK(std::abs(frame.top - top) <= 2);
  CHECK_EQ(frame.left, left);
  CHECK_EQ(frame.top, top);
  Click(GetDlgItem(dialog, IDCANCEL));
  ExpectMessages(program, main, {});
}

}  // namespace e2e
