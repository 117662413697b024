// One administrator's day with the tool, every item of the menu bar given from the keyboard in the
// order the work calls for it: a policy prepared, stored in a file and registered on this PC; the
// program started again to take it back from the PC and from the file; the registration erased
// behind its password; the About box and help; and the close box at the end. After each step the
// window, the registry values and the file bytes are read from outside.
#include "FileDialogHelpers.h"
#include "Messages.h"
#include "RegistryHelpers.h"

namespace e2e {
namespace {

using namespace reg;
using namespace msg;

const wchar_t* const kPassword = L"Tour-2026";
const std::wstring kAllOff(13, L'f');

std::string Narrow(std::wstring_view flags) { return std::string(flags.begin(), flags.end()); }

// A file command from the menu bar: the dialog it opens gets the path typed and OK.
void FileCommand(const Program& program, const Editor& editor, std::wstring_view keys, const std::wstring& path) {
  PressMenuKeys(program, editor.window, keys);
  TypePathAndAccept(WaitForFileDialog(program), path);
}

}  // namespace

SCENARIO(TourOfEveryCommand) {
  const std::wstring policyFile = FreshFolder(L"Tour") + L"本社ポリシー.plq";
  const std::wstring prepared = L"ttfftfffftfft";  // the second pattern, then two boxes by hand
  const Values registered = {{L"admstr", Sz(Scrambled(kPassword))}, {L"adm", Sz(L"1")}, {L"Policy01", Sz(prepared)}};
  const Values erased = {{L"admstr", Sz(Scrambled(kPassword))}, {L"adm", Sz(L"0")}, {L"Policy01", Sz(kAllOff)}};

  // --- First start: prepare, store, register, leave. ---
  {
    Program program = Program::Launch();
    const Editor editor = WaitForEditor(program);
    CHECK_EQ(BoxFlags(editor), kAllOff);

    // Every pattern in turn, each replacing the one before, then the second again to start from.
    const struct {
      const wchar_t* keys;
      const wchar_t* flags;
    } patterns[] = {{L"P2", L"tffftfffftfff"}, {L"P1", L"ttttttttttfff"}, {L"P3", L"ftffftffftfff"},
                    {L"P4", L"ttffttffftfff"}, {L"P5", L"tttfffffftfff"}, {L"P2", L"tffftfffftfff"}};
    for (const auto& pattern : patterns) {
      PressMenuKeys(program, editor.window, pattern.keys);
      WaitFor("the boxes of pattern " + Utf8(pattern.keys), [&] { return BoxFlags(editor) == pattern.flags; });
    }
    SetBoxes(editor, prepared);
    CHECK_EQ(ReadValues(), Values{});

    FileCommand(program, editor, L"FW", policyFile);
    ExpectMessages(program, editor, {{kSaved}});
    CheckBytes(ReadFileBytes(policyFile), FreshRecord(Narrow(prepared)), "the stored file");

    CHECK_EQ(RunMenuCommand(program, editor, L"FS", kPassword),
             Steps({kRegisterQuestion, kPasswordStep, kRegistered}));
    CHECK_EQ(ReadValues(), registered);
    CHECK_EQ(BoxFlags(editor), prepared);

    PressMenuKeys(program, editor.window, L"FX");
    CHECK_EQ(program.WaitForExit(), DWORD{0});
    CHECK_EQ(ReadValues(), registered);
  }

  // --- A new start takes the policy back from the PC. ---
  {
    Program program = Program::Launch();
    const Editor editor = WaitForEditor(program);
    CHECK_EQ(BoxFlags(editor), kAllOff);
    CHECK_EQ(RunMenuCommand(program, editor, L"FL", L""), Steps({kImported}));
    CHECK_EQ(BoxFlags(editor), prepared);
    CHECK_EQ(ReadValues(), registered);
    PostCloseBox(editor.window);
    CHECK_EQ(program.WaitForExit(), DWORD{0});
  }

  // --- Another takes it from the file, erases the registration, shows About and help. ---
  const std::vector<DWORD> viewersBefore = ProcessesNamed(L"winhlp32.exe");
  Program program = Program::Launch();
  const Editor editor = WaitForEditor(program);
  FileCommand(program, editor, L"FR", policyFile);
  WaitFor("the boxes read from the file", [&] { return BoxFlags(editor) == prepared; });
  ExpectMessages(program, editor, {});
  CheckBytes(ReadFileBytes(policyFile), FreshRecord(Narrow(prepared)), "the file after reading it");

  CHECK_EQ(RunMenuCommand(program, editor, L"FC", L"tour-2026"), Steps({kEraseQuestion, kPasswordStep, kWrongPassword}));
  CHECK_EQ(ReadValues(), registered);
  CHECK_EQ(RunMenuCommand(program, editor, L"FC", kPassword), Steps({kEraseQuestion, kPasswordStep, kErased}));
  CHECK_EQ(ReadValues(), erased);
  CHECK_EQ(BoxFlags(editor), prepared);

  PressMenuKeys(program, editor.window, L"HV");
  const HWND about = program.WaitForVisibleTopLevel(L"TAboutBox");
  CHECK_EQ(TextOf(about), L"バージョン情報");
  CHECK(FindDescendant(about, L"Static", L"Version 1.11") != nullptr);
  const std::vector<HWND> okButton = DescendantsOf(about, L"Button");
  REQUIRE(okButton.size() == 1);
  WaitForKeyboardFocus(about, okButton[0]);
  PressKey(VK_RETURN);
  WaitFor("the About box to go", [&] { return !IsWindow(about); });
  program.WaitUntilIdle(editor.window);

  PressMenuKeys(program, editor.window, L"HH");
  // No help file lies beside the program here: the viewer that starts names the one asked for.
  const DWORD viewer = WaitForNewProcess(L"winhlp32.exe", viewersBefore);
  const HWND viewerBox = WaitFor("the help viewer's message", [&] { return VisibleTopLevelOf(viewer, L"#32770"); }, 30000);
  CHECK(MessageTextOf(viewerBox).find(L"'stampctl.hlp'") != std::wstring::npos);
  Answer(viewerBox, IDNO);
  program.WaitUntilIdle(editor.window);
  CHECK_EQ(BoxFlags(editor), prepared);

  PostCloseBox(editor.window);
  CHECK_EQ(program.WaitForExit(), DWORD{0});
  WaitFor("the help viewer to be let go", [&] { return ProcessesNamed(L"winhlp32.exe") == viewersBefore; });
  CHECK_EQ(ReadValues(), erased);
  CheckBytes(ReadFileBytes(policyFile), FreshRecord(Narrow(prepared)), "the file at the end");
}

}  // namespace e2e
