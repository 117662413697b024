// The texts of the program's message boxes, as a person reads them on the screen.
#pragma once

namespace e2e::msg {

// The registry commands.
inline constexpr const wchar_t* kRegisterQuestion = L"現在の設定をパソコンへ登録します。\nよろしいですか？";
inline constexpr const wchar_t* kRegistered = L"グループポリシーを登録しました";
inline constexpr const wchar_t* kWrongPassword = L"登録されているパスワードと異なります";
inline constexpr const wchar_t* kRefused = L"このパスワードは設定できません";
inline constexpr const wchar_t* kNotSet = L"グループポリシーは設定されていません。";
inline constexpr const wchar_t* kEraseQuestion =
    L"現在のパソコンに登録されているグループポリシーを消去します。\nよろしいですか？";
inline constexpr const wchar_t* kErased = L"グループポリシーを消去しました";
inline constexpr const wchar_t* kNotRegistered = L"グループポリシーは登録されていません";
inline constexpr const wchar_t* kImported = L"グループポリシーを読込みました";

// The file commands.
inline constexpr const wchar_t* kOverwrite = L"同名ファイルに上書きします";
inline constexpr const wchar_t* kSaveCancelled = L"ファイル保存を中止します";
inline constexpr const wchar_t* kCannotOpen = L"ファイルをオープンできません";
inline constexpr const wchar_t* kSaved = L"ファイルに保存しました";

}  // namespace e2e::msg
