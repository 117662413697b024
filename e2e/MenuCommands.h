// Command ids of the main window's menu items. They mirror the program's menu table and must be
// changed together with it; tests post them when the way an item is reached is not the point.
#pragma once

namespace e2e::menu {

// ファイル(&F)
constexpr unsigned kReadFile = 101;        // R1: 設定内容をファイルから読込む(&R)
constexpr unsigned kStoreFile = 102;       // W1: 設定内容をファイルへ保管する(&W)
constexpr unsigned kImportFromPc = 103;    // L1: パソコンの設定内容を取り込む(&L)
constexpr unsigned kRegisterOnPc = 104;    // S1: 設定内容をパソコンへ登録する(&S)
constexpr unsigned kEraseFromPc = 105;     // C1: パソコンの設定を消去する(&C)
constexpr unsigned kExit = 106;            // Exit1: 終了(&X)

// パターン(&P): the five presets, (&1) to (&5).
constexpr unsigned kPattern1 = 201;
constexpr unsigned kPatternCount = 5;

// ヘルプ(&H)
constexpr unsigned kHelp = 301;            // Help2: ヘルプ(&H)
constexpr unsigned kAbout = 302;           // About1: バージョン情報(&V)

}  // namespace e2e::menu
