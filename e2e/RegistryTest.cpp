// The registry commands as a person uses them: registering the boxes for this PC behind the
// administrator password, taking them back into the window, erasing them, and the password
// dialog in between. Every value is checked from outside as the registry holds it, type and
// bytes, and every window the program shows on the way is read.
#include "MenuCommands.h"
#include "Messages.h"
#include "RegistryHelpers.h"

#include <iterator>

namespace e2e {
namespace {

using namespace reg;
using namespace msg;

const wchar_t* const kAllOff = L"fffffffffffff";

// The whole way through each command when it succeeds or is refused after the password.
std::wstring Registering(std::wstring_view ending) { return Steps({kRegisterQuestion, kPasswordStep, ending}); }
std::wstring Erasing(std::wstring_view ending) { return Steps({kEraseQuestion, kPasswordStep, ending}); }

std::wstring TypeError(std::wstring_view value) {
  return ErrorBox(L"'" + std::wstring(value) + L"' のデータ型が不正です.");
}

// The values after a command: those before with some replaced.
Values With(Values values, std::initializer_list<std::pair<const wchar_t*, RawValue>> changes) {
  for (const auto& [name, value] : changes) values[name] = value;
  return values;
}

}  // namespace

SCENARIO(RegistryFirstRegistrationSetsThePasswordThenOnlyItPasses) {
  Program program = Program::Launch();
  const Editor editor = WaitForEditor(program);

  SetBoxes(editor, L"tftfffffffftt");
  CHECK_EQ(RunCommand(program, editor, menu::kRegisterOnPc, L"abc"), Registering(kRegistered));
  CHECK_EQ(ReadValue(L"admstr"), Sz(L"}~\x7f"));
  CHECK_EQ(ReadValue(L"adm"), Sz(L"1"));
  CHECK_EQ(ReadValue(L"Policy01"), Sz(L"tftfffffffftt"));
  const Values registered = ReadValues();
  CHECK_EQ(registered.size(), size_t{3});

  // Close to the password, but not it: refused, and nothing of the new boxes reaches the PC.
  SetBoxes(editor, L"ttttttttttttt");
  for (const wchar_t* wrong : {L"ab", L"abcd", L"ABC"}) {
    CHECK_EQ_NOTE(RunCommand(program, editor, menu::kRegisterOnPc, wrong), Registering(kWrongPassword), Utf8(wrong));
    CHECK_EQ_NOTE(ReadValues(), registered, Utf8(wrong));
  }
  CHECK_EQ(BoxFlags(editor), L"ttttttttttttt");

  CHECK_EQ(RunCommand(program, editor, menu::kRegisterOnPc, L"abc"), Registering(kRegistered));
  CHECK_EQ(ReadValues(), With(registered, {{L"Policy01", Sz(L"ttttttttttttt")}}));
}

SCENARIO(RegistryImportIntoAFreshlyStartedProgram) {
  {
    Program first = Program::Launch();
    const Editor editor = WaitForEditor(first);
    CHECK_EQ(RunCommand(first, editor, menu::kImportFromPc, L""), Steps({kNotRegistered}));
    CHECK_EQ(BoxFlags(editor), kAllOff);
    SetBoxes(editor, L"fttftfffttfft");
    CHECK_EQ(RunCommand(first, editor, menu::kRegisterOnPc, L"pw"), Registering(kRegistered));
    PostCloseBox(editor.window);
    CHECK_EQ(first.WaitForExit(), DWORD{0});
  }

  Program second = Program::Launch();
  const Editor editor = WaitForEditor(second);
  CHECK_EQ(BoxFlags(editor), kAllOff);
  const Values registered = ReadValues();
  CHECK_EQ(RunCommand(second, editor, menu::kImportFromPc, L""), Steps({kImported}));
  CHECK_EQ(BoxFlags(editor), L"fttftfffttfft");
  CHECK_EQ(ReadValues(), registered);
}

SCENARIO(RegistryEraseNeedsTheRightPasswordAndKeepsIt) {
  Program program = Program::Launch();
  const Editor editor = WaitForEditor(program);
  // Nothing registered: said at once, nothing asked.
  CHECK_EQ(RunCommand(program, editor, menu::kEraseFromPc, L"pw"), Steps({kNotSet}));

  PutRegistration(L"pw", L"ttttttttttttt");
  const Values registered = ReadValues();
  SetBoxes(editor, L"tfffffffffftf");
  CHECK_EQ(RunCommand(program, editor, menu::kEraseFromPc, L"PW"), Erasing(kWrongPassword));
  CHECK_EQ(ReadValues(), registered);

  CHECK_EQ(RunCommand(program, editor, menu::kEraseFromPc, L"pw", Leave::OkButton), Erasing(kErased));
  CHECK_EQ(ReadValues(), With(registered, {{L"adm", Sz(L"0")}, {L"Policy01", Sz(kAllOff)}}));
  CHECK_EQ(BoxFlags(editor), L"tfffffffffftf");
  CHECK_EQ(RunCommand(program, editor, menu::kEraseFromPc, L"pw"), Steps({kNotSet}));
}

SCENARIO(RegistryPasswordDialogAsAPersonSeesIt) {
  Program program = Program::Launch();
  const Editor editor = WaitForEditor(program);
  PostCommand(editor.window, menu::kRegisterOnPc);
  CHECK_EQ(AnswerBox(program.WaitForMessageBox(), IDOK), kRegisterQuestion);
  const PasswordDialog dialog = WaitForPasswordDialog(program);

  CHECK_EQ(TextOf(dialog.window), L"パスワードダイアログ");
  const SIZE client = ClientSizeOf(dialog.window);
  CHECK_EQ(client.cx, LONG{233});
  CHECK_EQ(client.cy, LONG{138});
  CHECK(!(StyleOf(dialog.window) & WS_THICKFRAME));
  CHECK(GetWindow(dialog.window, GW_OWNER) == editor.window);
  CHECK(!IsWindowEnabled(editor.window));

  const std::vector<HWND> labels = InReadingOrder(ChildrenOf(dialog.window, L"Static"));
  const wchar_t* const kLabels[] = {L"パスワードの入力 :", L"ここで設定するパスワードは、起動時や",
                                    L"押印時に入力するものではありません。", L"本機能制限の変更・解除専用のものです。"};
  REQUIRE(labels.size() == std::size(kLabels));
  for (size_t i = 0; i < labels.size(); ++i) CHECK_EQ_NOTE(TextOf(labels[i]), kLabels[i], "label " + std::to_string(i + 1));
  // The three lines under the edit are navy, the prompt above it black, as on the screen.
  const COLORREF navy = RGB(0, 0, 128), black = RGB(0, 0, 0);
  WaitFor("the last line in navy", [&] { return PixelsOfColour(labels[3], navy) > 0; });
  CHECK(PixelsOfColour(labels[0], black) > 0);
  CHECK_EQ(PixelsOfColour(labels[0], navy), size_t{0});
  for (size_t i = 1; i < labels.size(); ++i) {
    CHECK_EQ_NOTE(PixelsOfColour(labels[i], navy) > 0, true, "label " + std::to_string(i + 1));
    CHECK_EQ_NOTE(PixelsOfColour(labels[i], black), size_t{0}, "label " + std::to_string(i + 1));
  }

  CHECK(StyleOf(dialog.edit) & ES_PASSWORD);
  CHECK_EQ(SendMessageW(dialog.edit, EM_GETPASSWORDCHAR, 0, 0), LRESULT{'*'});
  CHECK_EQ(StyleOf(dialog.ok) & BS_TYPEMASK, LONG_PTR{BS_DEFPUSHBUTTON});

  // Esc right after typing: the dialog goes, nothing is registered and nothing more is said.
  AnswerPassword(dialog, L"abc", Leave::EscKey);
  Settle(editor);
  CHECK_EQ(DialogWindowCount(program), size_t{0});
  CHECK(IsWindowEnabled(editor.window));
  CHECK_EQ(ReadValues(), Values{});
}

SCENARIO(RegistryCancellingAQuestionOrThePasswordWritesNothing) {
  Program program = Program::Launch();
  const Editor editor = WaitForEditor(program);
  struct Row {
    const char* what;
    bool registered;
    UINT command;
    int questionButton;  // IDCANCEL: the question is refused and no password is asked
    Leave how;           // how the password dialog is left, after the right password was typed
  };
  const Row rows[] = {
      {"register, question cancelled", false, menu::kRegisterOnPc, IDCANCEL, Leave::EscKey},
      {"register, Esc", false, menu::kRegisterOnPc, IDOK, Leave::EscKey},
      {"register, キャンセル", false, menu::kRegisterOnPc, IDOK, Leave::CancelButton},
      {"register, close box", false, menu::kRegisterOnPc, IDOK, Leave::CloseBox},
      {"registered, register, question cancelled", true, menu::kRegisterOnPc, IDCANCEL, Leave::EscKey},
      {"registered, register, Esc", true, menu::kRegisterOnPc, IDOK, Leave::EscKey},
      {"registered, register, close box", true, menu::kRegisterOnPc, IDOK, Leave::CloseBox},
      {"registered, erase, question cancelled", true, menu::kEraseFromPc, IDCANCEL, Leave::EscKey},
      {"registered, erase, キャンセル", true, menu::kEraseFromPc, IDOK, Leave::CancelButton},
  };
  for (const Row& row : rows) {
    DeleteVendorKey();
    if (row.registered) PutRegistration(L"pw", L"tttttttttttff");
    const Values before = ReadValues();
    SetBoxes(editor, L"ftftftftftftf");

    PostCommand(editor.window, row.command);
    const std::wstring question = AnswerBox(program.WaitForMessageBox(), row.questionButton);
    CHECK_EQ_NOTE(question, row.command == menu::kRegisterOnPc ? kRegisterQuestion : kEraseQuestion, row.what);
    if (row.questionButton == IDOK) AnswerPassword(WaitForPasswordDialog(program), L"pw", row.how);
    Settle(editor);

    CHECK_EQ_NOTE(DialogWindowCount(program), size_t{0}, row.what);
    CHECK_EQ_NOTE(IsWindowEnabled(editor.window) != FALSE, true, row.what);
    CHECK_EQ_NOTE(ReadValues(), before, row.what);
    CHECK_EQ_NOTE(BoxFlags(editor), L"ftftftftftftf", row.what);
    if (!row.registered && row.questionButton == IDCANCEL) {
      CHECK_EQ_NOTE(KeyExists(kVendorKey), false, row.what);
    }
  }
}

SCENARIO(RegistryValueOfAWrongTypeShowsTheErrorAndTheWindowStaysUsable) {
  PutValue(L"adm", Dword(1));
  PutValue(L"Policy01", Sz(L"ttttttttttttt"));
  const Values before = ReadValues();
  Program program = Program::Launch();
  const Editor editor = WaitForEditor(program);
  SetBoxes(editor, L"ftftftftftftf");

  CHECK_EQ(RunCommand(program, editor, menu::kImportFromPc, L""), Steps({TypeError(L"adm")}));
  CHECK_EQ(ReadValues(), before);
  CHECK_EQ(BoxFlags(editor), L"ftftftftftftf");

  // RunCommand came back only once the main window took input again; it also still acts on it.
  PostCommand(editor.window, menu::kPattern1);
  WaitFor("the first pattern in the boxes", [&] { return BoxFlags(editor) == L"ttttttttttfff"; });
  Click(editor.boxes[12]);
  WaitFor("the last box to be ticked", [&] { return BoxFlags(editor) == L"ttttttttttfft"; });
}

SCENARIO(RegistryJapanesePcRegistrationIsImportedAndErased) {
  // The values as a program built for the system code page stores them on a Japanese PC.
  if (GetACP() != 932) Abort("the driver runs with code page " + std::to_string(GetACP()) + ", not 932 (ja_JP)");
  PutAnsiString("adm", "1");
  PutAnsiString("Policy01", "tftftftftftft");
  PutAnsiString("admstr", "}~\x7f");  // "abc"
  CHECK_EQ(ReadValue(L"admstr"), Sz(L"}~\x7f"));

  Program program = Program::Launch();
  const Editor editor = WaitForEditor(program);
  CHECK_EQ(RunCommand(program, editor, menu::kImportFromPc, L""), Steps({kImported}));
  CHECK_EQ(BoxFlags(editor), L"tftftftftftft");

  const Values before = ReadValues();
  CHECK_EQ(RunCommand(program, editor, menu::kEraseFromPc, L"abc"), Erasing(kErased));
  CHECK_EQ(ReadValues(), With(before, {{L"adm", Sz(L"0")}, {L"Policy01", Sz(kAllOff)}}));
}

// Values of a registered policy (password "pw", all thirteen on) replaced from outside by
// something no version of the program writes, each met by a command that reads it or not.
SCENARIO(RegistryHostileValuesInEachCommand) {
  Program program = Program::Launch();
  const Editor editor = WaitForEditor(program);
  const wchar_t* const kBoxes = L"ftftftftftftf";
  using Writes = std::vector<std::pair<const wchar_t*, RawValue>>;
  const Writes registeredNow = {{L"adm", Sz(L"1")}, {L"Policy01", Sz(kBoxes)}};
  const Writes erasedNow = {{L"adm", Sz(L"0")}, {L"Policy01", Sz(kAllOff)}};
  const RawValue empty{REG_SZ, {0, 0}};
  const std::wstring longFlags = L"fttfttfttfttf" + std::wstring(10000 - 13, L't');

  struct Row {
    const char* what;
    const wchar_t* value;
    RawValue replacement;
    UINT command;
    const wchar_t* password;
    std::wstring steps;
    Writes writes;
    std::wstring boxesAfter;
  };
  const Row rows[] = {
      {"adm REG_DWORD, register", L"adm", Dword(1), menu::kRegisterOnPc, L"pw",
       Steps({kRegisterQuestion, kPasswordStep, TypeError(L"adm")}), {}, kBoxes},
      {"admstr REG_BINARY, erase", L"admstr", Typed(REG_BINARY, {'}', 0}), menu::kEraseFromPc, L"pw",
       Steps({kEraseQuestion, kPasswordStep, TypeError(L"admstr")}), {}, kBoxes},
      {"adm REG_MULTI_SZ, erase", L"adm", Typed(REG_MULTI_SZ, {'1', 0, 0, 0, 0, 0}), menu::kEraseFromPc, L"pw",
       Steps({TypeError(L"adm")}), {}, kBoxes},
      {"Policy01 REG_MULTI_SZ, import", L"Policy01", Typed(REG_MULTI_SZ, {'t', 0, 0, 0, 0, 0}), menu::kImportFromPc,
       L"", Steps({TypeError(L"Policy01")}), {}, kBoxes},
      // Values a command does not read do not stop it; one it writes becomes a string again.
      {"Policy01 REG_DWORD, register", L"Policy01", Dword(1), menu::kRegisterOnPc, L"pw", Registering(kRegistered),
       registeredNow, kBoxes},
      {"admstr REG_BINARY, import", L"admstr", Typed(REG_BINARY, {'}', 0}), menu::kImportFromPc, L"",
       Steps({kImported}), {}, L"ttttttttttttt"},
      // An empty string is no registration, no password, no flags.
      {"adm empty, import", L"adm", empty, menu::kImportFromPc, L"", Steps({kNotRegistered}), {}, kBoxes},
      {"adm empty, register sets a new password", L"adm", empty, menu::kRegisterOnPc, L"new",
       Registering(kRegistered),
       {{L"admstr", Sz(Scrambled(L"new"))}, {L"adm", Sz(L"1")}, {L"Policy01", Sz(kBoxes)}}, kBoxes},
      {"admstr empty, erase", L"admstr", empty, menu::kEraseFromPc, L"pw", Erasing(kWrongPassword), {}, kBoxes},
      {"Policy01 empty, import", L"Policy01", empty, menu::kImportFromPc, L"", Steps({kImported}), {}, kAllOff},
      // A string without its terminating zero reads as its characters.
      {"admstr unterminated, erase", L"admstr", Typed(REG_SZ, {'l', 0, 'k', 0}), menu::kEraseFromPc, L"pw",
       Erasing(kErased), erasedNow, kBoxes},
      {"Policy01 unterminated, import", L"Policy01", Typed(REG_SZ, {'t', 0, 't', 0, 't', 0}), menu::kImportFromPc,
       L"", Steps({kImported}), {}, L"tttffffffffff"},
      {"Policy01 of 10,000 characters, import", L"Policy01", Sz(longFlags), menu::kImportFromPc, L"",
       Steps({kImported}), {}, L"fttfttfttfttf"},
  };
  for (const Row& row : rows) {
    DeleteVendorKey();
    PutRegistration(L"pw", L"ttttttttttttt");
    PutValue(row.value, row.replacement);
    const Values before = ReadValues();
    SetBoxes(editor, kBoxes);

    CHECK_EQ_NOTE(RunCommand(program, editor, row.command, row.password), row.steps, row.what);
    Values expected = before;
    for (const auto& [name, value] : row.writes) expected[name] = value;
    CHECK_EQ_NOTE(ReadValues(), expected, row.what);
    CHECK_EQ_NOTE(BoxFlags(editor), row.boxesAfter, row.what);
  }
}

SCENARIO(RegistryTenThousandCharacterPassword) {
  Program program = Program::Launch();
  const Editor editor = WaitForEditor(program);
  const std::wstring password(10000, L'k');
  // A password that long could never be entered again, so it is not set; against a registered
  // one it is simply not the password.
  for (const bool registered : {false, true}) {
    DeleteVendorKey();
    if (registered) PutRegistration(L"pw", L"ttttttttttttt");
    const Values before = ReadValues();
    SetBoxes(editor, registered ? L"fffffffffffff" : L"ttttttttttttt");
    CHECK_EQ_NOTE(RunCommand(program, editor, menu::kRegisterOnPc, password),
                  Registering(registered ? kWrongPassword : kRefused), registered ? "registered" : "first");
    CHECK_EQ_NOTE(ReadValues(), before, registered ? "registered" : "first");
  }
}

}  // namespace e2e
