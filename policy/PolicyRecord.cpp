#include "policy/PolicyRecord.h"

namespace policy {

PolicyRecord PolicyRecord::Fresh() {
  PolicyRecord record;
  for (std::size_t i = 0; i < kRestrictionCount; ++i) record.bytes[i] = kFlagOff;
  return record;
}

const std::array<const char*, kRestrictionCount> kRestrictionCaptions = {
    "スタンプ台の認印の編集を認めない",      // 1
    "スタンプ台の日付印の編集を認めない",    // 2
    "スタンプ台の画像印の編集を認めない",    // 3
    "角印ツールバーの一切の変更を認めない",  // 4
    "角印ツールバーで認印を使用させない",    // 5
    "角印ツールバーで日付印を使用させない",  // 6
    "角印ツールバーで画像印を使用させない",  // 7
    "グラフィックスクリプトを編集させない",  // 8
    "グラフィックスクリプトを使用させない",  // 9
    "Pelaro印影マネージャを起動させない",    // 10
    "日付印の日付変更を禁止",                // 11
    "ユーザー切替における設定変更を禁止",    // 12
    "印影画像のファイル出力を認めない",      // 13
};

// Every preset forbids starting the seal-impression manager (10); none touches 11 to 13.
const std::array<Preset, 5> kPresets = {{
    {"yuza1", "ユーザーに一切の印編集を認めない (&1)", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0}},
    {"N2", "ユーザーに認印の編集を認めない(&2)", {1, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0}},
    {"N21", "ユーザーに日付印の編集を認めない(&3)", {0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}},
    {"N41", "ユーザーに認印と日付印の編集を認めない(&4)", {1, 1, 0, 0, 1, 1, 0, 0, 0, 1, 0, 0, 0}},
    {"N51", "スタンプ台に登録された印のみ編集を認めない(&5)", {1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
}};

}  // namespace policy
