// The ヘルプ menu as a person meets it: the About box, opened and closed each way a person closes
// it, and the help viewer the program asks for.
#include "Driver.h"
#include "MenuCommands.h"
#include "RegistryHelpers.h"

#include <iterator>

namespace e2e {
namespace {

// Ends the viewer at the end of the scenario, whatever it shows then: it is the viewer's own.
struct ViewerGuard {
  DWORD process;
  ~ViewerGuard() {
    if (const HANDLE handle = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process)) {
      TerminateProcess(handle, 0);
      WaitForSingleObject(handle, kTimeoutMs);
      CloseHandle(handle);
    }
  }
};

enum class Close { OkButton, EnterKey, CloseBox };
const char* Name(Close how) {
  switch (how) {
    case Close::OkButton: return "OK";
    case Close::EnterKey: return "Enter";
    case Close::CloseBox: return "close box";
  }
  return "?";
}

}  // namespace

SCENARIO(AboutBoxShowsTheVersionAndClosesEachWay) {
  Program program = Program::Launch();
  const HWND main = program.WaitForVisibleTopLevel(L"TMainForm");

  for (const Close how : {Close::OkButton, Close::EnterKey, Close::CloseBox}) {
    const std::string note = Name(how);
    PostCommand(main, menu::kAbout);
    const HWND box = program.WaitForVisibleTopLevel(L"TAboutBox");
    CHECK_EQ_NOTE(TextOf(box), L"バージョン情報", note);
    const SIZE client = ClientSizeOf(box);
    CHECK_EQ_NOTE(client.cx, LONG{298}, note);
    CHECK_EQ_NOTE(client.cy, LONG{213}, note);
    CHECK_EQ_NOTE((StyleOf(box) & WS_THICKFRAME) != 0, false, note);
    CHECK_EQ_NOTE(IsWindowEnabled(main) != FALSE, false, note);

    std::vector<HWND> texts, icons;
    for (HWND control : InReadingOrder(DescendantsOf(box, L"Static"))) {
      ((StyleOf(control) & SS_TYPEMASK) == SS_ICON ? icons : texts).push_back(control);
    }
    const wchar_t* const kTexts[] = {L"Pelaro印鑑グループポリシーエディタ", L"Version 1.11",
                                     L"Copyright (C) 2026 Pelaro ツール開発チーム",
                                     L"ご質問は社内のシステム管理担当までお寄せください。"};
    REQUIRE(texts.size() == std::size(kTexts));
    for (size_t i = 0; i < texts.size(); ++i) CHECK_EQ_NOTE(TextOf(texts[i]), kTexts[i], note);
    REQUIRE(icons.size() == 1);
    CHECK_EQ_NOTE(SendMessageW(icons[0], STM_GETICON, 0, 0) != 0, true, note);

    const std::vector<HWND> buttons = DescendantsOf(box, L"Button");
    REQUIRE(buttons.size() == 1);
    CHECK_EQ_NOTE(TextOf(buttons[0]), L"OK", note);
    CHECK_EQ_NOTE(StyleOf(buttons[0]) & BS_TYPEMASK, LONG_PTR{BS_DEFPUSHBUTTON}, note);

    switch (how) {
      case Close::OkButton: Click(buttons[0]); break;
      case Close::EnterKey:
        reg::WaitForKeyboardFocus(box, buttons[0]);
        reg::PressKey(VK_RETURN);
        break;
      case Close::CloseBox: PostCloseBox(box); break;
    }
    // Made for one showing: the window is destroyed, not hidden.
    WaitFor("the About box to be destroyed after " + note, [&] { return !IsWindow(box); });
    program.WaitUntilIdle(main);
    CHECK_EQ_NOTE(program.TopLevelWindows(L"TAboutBox").size(), size_t{0}, note);
  }
}

// There is no help file beside the program here, so the viewer that starts can only say so; what
// matters is that the program asked for it and goes on, and that it lets the viewer go at the end.
SCENARIO(HelpStartsTheHelpViewer) {
  const std::vector<DWORD> before = ProcessesNamed(L"winhlp32.exe");
  Program program = Program::Launch();
  const HWND main = program.WaitForVisibleTopLevel(L"TMainForm");
  PostCommand(main, menu::kHelp);
  const DWORD viewer = WaitForNewProcess(L"winhlp32.exe", before);
  const ViewerGuard guard{viewer};
  // Without the file the viewer says so in a box of its own, naming it, and the program waits for
  // the answer as it waits for any help request to be taken.
  const HWND error = WaitFor("the help viewer's message", [&] { return VisibleTopLevelOf(viewer, L"#32770"); }, 30000);
  // Wine's viewer offers to look for the file; the program named it.
  CHECK(MessageTextOf(error).find(L"'stampctl.hlp'") != std::wstring::npos);
  Answer(error, IDNO);
  program.WaitUntilIdle(main);
  const HWND firstBox = reg::WaitForEditor(program).boxes[0];
  Click(firstBox);
  WaitFor("the first box to be ticked after help", [&] { return IsChecked(firstBox); });

  CHECK(ProcessesNamed(L"winhlp32.exe") != before);  // the viewer stays for the next request
  PostCloseBox(main);
  CHECK_EQ(program.WaitForExit(), DWORD{0});
  // At its end the program tells the viewer it is no longer needed.
  WaitFor("the help viewer to end", [&] { return ProcessesNamed(L"winhlp32.exe") == before; });
}

}  // namespace e2e
