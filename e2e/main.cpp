// e2e-driver PROGRAM [NAME...]
//     Runs the scenarios (those whose names contain one of the NAMEs, or all) against PROGRAM.
// e2e-driver --hold PROGRAM READY_FILE DONE_FILE
//     Starts PROGRAM, waits for its main window, writes the window's place on the screen to
//     READY_FILE as WxH+X+Y (for a screenshot taken from outside), waits for DONE_FILE to appear,
//     then closes the window the way a person would and passes the program's exit code on.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <fstream>

#include "Driver.h"

namespace {

constexpr DWORD kHoldTimeoutMs = 60000;

int Hold(const std::wstring& readyFile, const std::wstring& doneFile) {
  using namespace e2e;
  try {
    Program program = Program::Launch();
    HWND main = program.WaitForVisibleTopLevel(L"TMainForm");
    // The virtual screen's pointer starts at its centre, over the window, where it would highlight
    // a control: move it to a corner as a person moves the mouse away before a screenshot.
    SetCursorPos(ScreenSize().cx - 1, ScreenSize().cy - 1);
    // Have everything painted before the picture is taken.
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    const RECT r = WindowRectOf(main);
    {
      std::ofstream ready(readyFile.c_str(), std::ios::binary);
      ready << (r.right - r.left) << 'x' << (r.bottom - r.top) << '+' << r.left << '+' << r.top << '\n';
    }
    WaitFor("the screenshot to be taken", [&] { return GetFileAttributesW(doneFile.c_str()) != INVALID_FILE_ATTRIBUTES; },
            kHoldTimeoutMs);
    PostCloseBox(main);
    return static_cast<int>(program.WaitForExit());
  } catch (const ScenarioAborted&) {
    return 1;
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Binary mode: the closing count line must reach Linux without a carriage return.
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc >= 5 && std::wstring(argv[1]) == L"--hold") {
    e2e::SetProgramPath(argv[2]);
    return Hold(argv[3], argv[4]);
  }
  if (argc < 2) {
    fprintf(stderr, "usage: e2e-driver PROGRAM [NAME...] | e2e-driver --hold PROGRAM READY_FILE DONE_FILE\n");
    return 2;
  }
  e2e::SetProgramPath(argv[1]);
  return e2e::RunScenarios(std::vector<std::wstring>(argv + 2, argv + argc));
}
