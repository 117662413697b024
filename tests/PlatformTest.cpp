#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/memory/MemoryRegistry.h"

using platform::StoredValue;
using platform::ValueType;

namespace {

std::vector<std::uint8_t> Utf16(const std::u16string& text) {
  std::vector<std::uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

std::string ReadOrError(platform::MemoryRegistryStore& store, const std::string& name) {
  platform::MemoryRegistry registry(store);
  EXPECT_TRUE(registry.OpenKey("K"));
  try {
    return registry.ReadString(name);
  } catch (const platform::RegistryError& error) {
    return std::string("error: ") + error.what();
  }
}

}  // namespace

TEST(Registry, ReadStringFollowsTheValueContract) {
  struct Case {
    const char* what;
    std::optional<StoredValue> value;  // nullopt: missing
    std::string read;
  };
  const Case cases[] = {
      {"missing", std::nullopt, ""},
      {"size zero", StoredValue{ValueType::String, {}}, ""},
      {"size zero of a wrong type", StoredValue{ValueType::Dword, {}}, ""},
      {"REG_SZ", StoredValue{ValueType::String, Utf16(u"tft\0")}, "tft"},
      {"REG_SZ without its zero", StoredValue{ValueType::String, Utf16(u"tft")}, "tft"},
      {"REG_SZ, text after a zero", StoredValue{ValueType::String, Utf16(std::u16string(u"ab\0cd\0", 6))}, "ab"},
      {"REG_SZ of one zero", StoredValue{ValueType::String, Utf16(std::u16string(u"\0", 1))}, ""},
      {"REG_SZ, odd size", StoredValue{ValueType::String, {'1', 0, 'x'}}, "1"},
      {"REG_EXPAND_SZ, not expanded", StoredValue{ValueType::ExpandString, Utf16(u"%TEMP%\0")}, "%TEMP%"},
      {"Japanese text", StoredValue{ValueType::String, Utf16(u"印編集\0")}, "印編集"},
      {"REG_DWORD", StoredValue{ValueType::Dword, {1, 0, 0, 0}}, "error: 'v' のデータ型が不正です"},
      {"REG_BINARY", StoredValue{ValueType::Binary, {'1', 0}}, "error: 'v' のデータ型が不正です"},
      {"REG_MULTI_SZ", StoredValue{ValueType::MultiString, Utf16(std::u16string(u"1\0\0", 3))},
       "error: 'v' のデータ型が不正です"},
  };
  for (const Case& c : cases) {
    platform::MemoryRegistryStore store;
    store.CreateKey("K");
    if (c.value) store.Put("K", "v", *c.value);
    EXPECT_EQ(ReadOrError(store, "v"), c.read) << c.what;
  }
}

TEST(Registry, FailuresRaiseTheirMessagesWithTheValueName) {
  platform::MemoryRegistryStore store;
  store.PutString("K", "adm", "1");
  store.unreadableValues.insert("adm");
  store.unwritableValues.insert("Policy01");
  EXPECT_EQ(ReadOrError(store, "adm"), "error: 'adm' の取得に失敗しました");

  platform::MemoryRegistry registry(store);
  ASSERT_TRUE(registry.OpenKey("K"));
  try {
    registry.WriteString("Policy01", "t");
    FAIL() << "the write should have failed";
  } catch (const platform::RegistryError& error) {
    EXPECT_STREQ(error.what(), "'Policy01' の設定に失敗しました");
  }
}

TEST(Registry, WriteStoresTextAndTerminatingZeroAsRegSz) {
  platform::MemoryRegistryStore store;
  {
    platform::MemoryRegistry registry(store);
    ASSERT_TRUE(registry.OpenKey("K"));
    registry.WriteString("a", "1");
    registry.WriteString("e", "");
    registry.WriteString("j", "印");
  }
  EXPECT_EQ(store.Value("K", "a")->type, ValueType::String);
  EXPECT_EQ(store.Value("K", "a")->data, (std::vector<std::uint8_t>{'1', 0, 0, 0}));
  EXPECT_EQ(store.Value("K", "e")->data, (std::vector<std::uint8_t>{0, 0}));
  EXPECT_EQ(store.Value("K", "j")->data, Utf16(std::u16string(u"印\0", 2)));
  EXPECT_EQ(store.openObjects, 0);
}

TEST(Registry, KeysOpenRelativeToTheCurrentOneAndAreCreated) {
  platform::MemoryRegistryStore store;
  platform::MemoryRegistry registry(store);
  ASSERT_TRUE(registry.OpenKey("Software"));
  ASSERT_TRUE(registry.OpenKey("Qrw"));
  EXPECT_TRUE(store.KeyExists("Software\\Qrw"));
  EXPECT_FALSE(store.KeyExists("Qrw"));
  registry.WriteString("x", "y");
  EXPECT_EQ(store.StringValue("SOFTWARE\\qrw", "X"), "y") << "names are not case-sensitive";
}
