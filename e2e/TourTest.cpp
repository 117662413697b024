// One administrator's day with the tool, every item of the menu bar given from the keyboard in the
// order the work calls for it: a policy prepared, stored in a file and registered on this PC; the
// program started again to take it back from the PC and from the file; the registration erased
// behind its password; the About box and help; and the close box at the end. After each step the
// window, the registry values and the file bytes are read from outside.
#include "FileDialogHelpers.h"
#include "Messages.h"
#include "RegistryHelpers.h"

#include <algorithm>

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

size_t HelpViewers() { return ProcessesNamed(L"winhlp32.exe").size(); }

}  // namespace

SCENARIO(TourOfEveryCommand) {
  const std::wstring policyFile = FreshFolder(L"Tour") + L"本社ポリシー.plq";
  const std::wstring prepared = L"ttfftfffftfft";  // the second pattern, then two boxes by hand
  const Values registered = {{L"admstr", Sz(Scrambled(kPassword))}, {L"adm", Sz(L"1")}, {L"Policy01", Sz(prepared)}};

  // --- First start: prepare, store, register, leave. ---
  {
    Program program = Program::Launch();
    const Editor editor = WaitForEditor(program);
    CHECK_EQ(BoxFlags(editor), kAllOff);

    PressMenuKeys(program, editor.window, L"P2");
    WaitFor("the second pattern", [&] { return BoxFlags(editor) == L"tffftfffftfff"; });
    PressMenuKeys(program, editor.window, L"P1");
    WaitFor("the first pattern in place of the second", [&] { return BoxFlags(editor) == L"ttttttttttfff"; });
    PressMenuKeys(program, editor.window, L"P3");
    WaitFor("the third pattern", [&] { return BoxFlags(editor) == L"ftffftffftfff"; });
    PressMenuKeys(program, editor.window, L"P4");
    WaitFor("the fourth pattern", [&] { return BoxFlags(editor) == L"ttffttffftfff"; });
    PressMenuKeys(program, editor.window, L"P5");
    WaitFor("the fifth pattern", [&] { return BoxFlags(editor) == L"tttfffffftfff"; });
    PressMenuKeys(program, editor.window, L"P2");
    WaitFor("the second pattern again", [&] { return BoxFlags(editor) == L"tffftfffftfff"; });
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
  const size_t viewersBefore = HelpViewers();
  Program program = Program::Launch();
  const Editor editor = WaitForEditor(program);
  FileCommand(program, editor, L"FR", policyFile);
  WaitFor("the boxes read from the file", [&] { return BoxFlags(editor) == prepared; });
  ExpectMessages(program, editor, {});
  CheckBytes(ReadFileBytes(policyFile), FreshRecord(Narrow(prepared)), "the file after reading it");

  CHECK_EQ(RunMenuCommand(program, editor, L"FC", L"tour-2026"), Steps({kEraseQuestion, kPasswordStep, kWrongPassword}));
  CHECK_EQ(ReadValues(), registered);
  CHECK_EQ(RunMenuCommand(program, editor, L"FC", kPassword), Steps({kEraseQuestion, kPasswordStep, kErased}));
  CHECK_EQ(ReadValues(), (Values{{L"admstr", Sz(Scrambled(kPassword))}, {L"adm", Sz(L"0")}, {L"Policy01", Sz(kAllOff)}}));
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
  const HWND viewerBox = WaitFor("the help viewer's message", [&]() -> HWND {
    if (HelpViewers() == viewersBefore) return nullptr;
    const HWND box = FindWindowW(L"#32770", nullptr);
    return box && MessageTextOf(box).find(L"'stampctl.hlp'") != std::wstring::npos ? box : nullptr;
  }, 30000);
  Answer(viewerBox, IDNO);
  program.WaitUntilIdle(editor.window);
  CHECK_EQ(BoxFlags(editor), prepared);

  PostCloseBox(editor.window);
  CHECK_EQ(program.WaitForExit(), DWORD{0});
  WaitFor("the help viewer to be let go", [&] { return HelpViewers() == viewersBefore; });
  CHECK_EQ(ReadValues(), (Values{{L"admstr", Sz(Scrambled(kPassword))}, {L"adm", Sz(L"0")}, {L"Policy01", Sz(kAllOff)}}));
  CheckBytes(ReadFileBytes(policyFile), FreshRecord(Narrow(prepared)), "the file at the end");
}

}  // namespace e2e
