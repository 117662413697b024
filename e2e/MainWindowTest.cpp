// The main window as a person meets it: what it shows on start, and the ways to leave it.
#include "Driver.h"
#include "MenuCommands.h"

#include <commctrl.h>

#include <cstdlib>
#include <iterator>

namespace e2e {
namespace {

const wchar_t* const kCaption = L"Pelaro印鑑グループポリシーエディタ";
const wchar_t* const kApplicationTitle = L"Pelaroグループポリシー";
const wchar_t* const kTabCaption = L"印編集";
constexpr SIZE kClientSize{334, 293};

// The thirteen restrictions, top to bottom.
const wchar_t* const kRestrictions[] = {
    L"スタンプ台の認印の編集を認めない",
    L"スタンプ台の日付印の編集を認めない",
    L"スタンプ台の画像印の編集を認めない",
    L"角印ツールバーの一切の変更を認めない",
    L"角印ツールバーで認印を使用させない",
    L"角印ツールバーで日付印を使用させない",
    L"角印ツールバーで画像印を使用させない",
    L"グラフィックスクリプトを編集させない",
    L"グラフィックスクリプトを使用させない",
    L"Pelaro印影マネージャを起動させない",
    L"日付印の日付変更を禁止",
    L"ユーザー切替における設定変更を禁止",
    L"印影画像のファイル出力を認めない",
};
constexpr size_t kRestrictionCount = std::size(kRestrictions);

struct MainWindow {
  HWND window;
  HWND tabControl;
  std::vector<HWND> boxes;  // top to bottom
};

// Finds the main window and walks down to the check boxes: tab control, tab sheet, panel. The
// boxes are put in the order a person sees them, whatever their ids or z-order.
MainWindow OpenMainWindow(const Program& program) {
  MainWindow found{program.WaitForVisibleTopLevel(L"TMainForm"), nullptr, {}};
  const std::vector<HWND> tabs = DescendantsOf(found.window, L"SysTabControl32");
  REQUIRE(tabs.size() == 1);
  found.tabControl = tabs[0];
  const std::vector<HWND> sheets = ChildrenOf(found.tabControl, L"TTabSheet");
  REQUIRE(sheets.size() == 1);
  const std::vector<HWND> panels = ChildrenOf(sheets[0], L"TPanel");
  REQUIRE(panels.size() == 1);
  found.boxes = InReadingOrder(ChildrenOf(panels[0], L"Button"));
  REQUIRE(found.boxes.size() == kRestrictionCount);
  return found;
}

std::string Row(const char* what, size_t index) { return std::string(what) + " " + std::to_string(index + 1); }

// Waits for the program to end by itself and gives its exit code. A message box showing up on the
// way out is a question nobody should have been asked, so it ends the scenario with its text.
DWORD ExitCodeWithoutQuestions(const Program& program) {
  WaitFor("the program to end", [&] {
    if (HWND box = program.MessageBoxWindow()) Abort("a message box appeared: " + Show(MessageTextOf(box)));
    return program.HasExited();
  });
  return program.WaitForExit();
}

// Ticks the first box, so that leaving is tried with a change nobody stored.
void LeaveUnsavedChange(const MainWindow& main) {
  Click(main.boxes[0]);
  WaitFor("the first box to be ticked", [&] { return IsChecked(main.boxes[0]); });
}

}  // namespace

SCENARIO(MainWindowShowsCaptionSizeAndPlace) {
  Program program = Program::Launch();
  const MainWindow main = OpenMainWindow(program);

  CHECK_EQ(TextOf(main.window), kCaption);
  const SIZE client = ClientSizeOf(main.window);
  CHECK_EQ(client.cx, kClientSize.cx);
  CHECK_EQ(client.cy, kClientSize.cy);

  // Centred on the screen: the frame's centre within two pixels of the screen's (integer halving
  // on either side accounts for one).
  const RECT frame = WindowRectOf(main.window);
  const SIZE screen = ScreenSize();
  CHECK(std::abs((frame.left + frame.right) - screen.cx) <= 4);
  CHECK(std::abs((frame.top + frame.bottom) - screen.cy) <= 4);

  // The taskbar's title belongs to the hidden application window that owns the main window.
  const std::vector<HWND> applications = program.TopLevelWindows(L"TApplication");
  REQUIRE(applications.size() == 1);
  CHECK_EQ(TextOf(applications[0]), kApplicationTitle);
  CHECK(GetWindow(main.window, GW_OWNER) == applications[0]);
  const RECT appRect = WindowRectOf(applications[0]);
  CHECK(!IsWindowVisible(applications[0]) || IsRectEmpty(&appRect));
}

SCENARIO(MainWindowBorderCannotBeDragged) {
  Program program = Program::Launch();
  const MainWindow main = OpenMainWindow(program);

  const LONG_PTR style = StyleOf(main.window);
  CHECK(!(style & WS_THICKFRAME));
  CHECK(style & WS_SYSMENU);
  CHECK(style & WS_MINIMIZEBOX);
  CHECK(style & WS_MAXIMIZEBOX);

  const RECT r = WindowRectOf(main.window);
  const LONG midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
  // One pixel inside each edge and corner of the frame: where a person would grab to resize.
  const struct {
    const char* where;
    POINT point;
  } edges[] = {
      {"left edge", {r.left, midY}},
      {"right edge", {r.right - 1, midY}},
      {"top edge", {midX, r.top}},
      {"bottom edge", {midX, r.bottom - 1}},
      {"top-left corner", {r.left, r.top}},
      {"top-right corner", {r.right - 1, r.top}},
      {"bottom-left corner", {r.left, r.bottom - 1}},
      {"bottom-right corner", {r.right - 1, r.bottom - 1}},
  };
  for (const auto& edge : edges) {
    const LRESULT hit = HitTest(main.window, edge.point);
    const bool sizing = (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) || hit == HTSIZE;
    CHECK_EQ_NOTE(sizing, false, std::string(edge.where) + " answers hit-test code " + std::to_string(hit));
  }
  // The title bar still answers, so the answers above are real hit tests and not a default.
  const POINT title{midX, r.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  CHECK_EQ(HitTest(main.window, title), static_cast<LRESULT>(HTCAPTION));
}

SCENARIO(MainWindowShowsThirteenUncheckedRestrictions) {
  Program program = Program::Launch();
  const MainWindow main = OpenMainWindow(program);

  REQUIRE(TabCount(main.tabControl) == 1);
  CHECK_EQ(TabText(main.tabControl, 0), kTabCaption);
  const HWND sheet = ChildrenOf(main.tabControl, L"TTabSheet")[0];
  CHECK_EQ(TextOf(sheet), kTabCaption);
  CHECK(IsWindowVisible(sheet));

  for (size_t i = 0; i < kRestrictionCount; ++i) {
    const HWND box = main.boxes[i];
    CHECK_EQ_NOTE(TextOf(box), kRestrictions[i], Row("box", i));
    CHECK_EQ_NOTE(StyleOf(box) & BS_TYPEMASK, static_cast<LONG_PTR>(BS_AUTOCHECKBOX), Row("box", i));
    CHECK_EQ_NOTE(IsChecked(box), false, Row("box", i));
    CHECK_EQ_NOTE(IsWindowVisible(box) && IsWindowEnabled(box), true, Row("box", i));
  }
}

SCENARIO(ClickingABoxTogglesOnlyThatBox) {
  Program program = Program::Launch();
  const MainWindow main = OpenMainWindow(program);

  for (size_t i = 0; i < kRestrictionCount; ++i) {
    Click(main.boxes[i]);
    WaitFor(Row("box", i) + " to be ticked", [&] { return IsChecked(main.boxes[i]); });
    size_t ticked = 0;
    for (HWND box : main.boxes) ticked += IsChecked(box);
    CHECK_EQ_NOTE(ticked, size_t{1}, Row("after clicking box", i));
    Click(main.boxes[i]);
    WaitFor(Row("box", i) + " to be cleared", [&] { return !IsChecked(main.boxes[i]); });
  }
}

SCENARIO(ExitFromFileMenuByKeyboardEndsQuietly) {
  Program program = Program::Launch();
  const MainWindow main = OpenMainWindow(program);
  LeaveUnsavedChange(main);

  PressMenuKeys(program, main.window, L"FX");  // ファイル(&F), then 終了(&X)
  CHECK_EQ(ExitCodeWithoutQuestions(program), DWORD{0});
}

SCENARIO(ExitCommandEndsQuietly) {
  Program program = Program::Launch();
  const MainWindow main = OpenMainWindow(program);
  LeaveUnsavedChange(main);

  PostCommand(main.window, menu::kExit);
  CHECK_EQ(ExitCodeWithoutQuestions(program), DWORD{0});
}

SCENARIO(CloseBoxEndsQuietly) {
  Program program = Program::Launch();
  const MainWindow main = OpenMainWindow(program);
  LeaveUnsavedChange(main);

  PostCloseBox(main.window);
  CHECK_EQ(ExitCodeWithoutQuestions(program), DWORD{0});
}

}  // namespace e2e
