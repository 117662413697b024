// A registry object rooted at HKEY_CURRENT_USER, holding one current key at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Registry value types, numbered as Windows numbers them.
enum class ValueType : std::uint32_t {
  None = 0,
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  Dword = 4,         // REG_DWORD
  MultiString = 7,   // REG_MULTI_SZ
};

// The contract of the string values, for every implementation:
// - ReadString: a missing value, a value of size zero or one whose size and type cannot be
//   queried reads as "", without error. REG_SZ and REG_EXPAND_SZ (not expanded) give their
//   text up to the first zero character, whether or not a terminating zero is stored. A value
//   of any other type raises "'name' のデータ型が不正です"; a failure while reading the data
//   raises "'name' の取得に失敗しました".
// - WriteString: stores the text and its terminating zero as REG_SZ, creating or replacing
//   the value; a failure raises "'name' の設定に失敗しました".
// Text is held as UTF-16, the way Windows keeps text written through its ANSI functions on a
// Japanese PC, so a value written by any earlier tool reads back byte for byte.
// Errors are RegistryError. The current key is closed when the object is destroyed.
class Registry {
 public:
  virtual ~Registry() = default;
  Registry() = default;
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  // Opens (and, if missing, creates) the subkey relative to the current key with full access;
  // on success it becomes the current key and the previous one is closed.
  [[nodiscard]] virtual bool OpenKey(const std::string& name) = 0;

  std::string ReadString(const std::string& name);
  void WriteString(const std::string& name, const std::string& value);

 protected:
  struct ValueInfo {
    ValueType type = ValueType::None;
    std::uint32_t size = 0;
  };
  // False when the value is missing or cannot be queried.
  virtual bool QueryValueInfo(const std::string& name, ValueInfo& info) = 0;
  // Raw data as stored; false when reading them fails.
  virtual bool QueryValueData(const std::string& name, std::vector<std::uint8_t>& data) = 0;
  virtual bool SetValue(const std::string& name, ValueType type, const std::vector<std::uint8_t>& data) = 0;
};

// The bytes of a REG_SZ value holding text, with its terminating zero.
std::vector<std::uint8_t> EncodeStringValue(const std::string& text);
// The text of REG_SZ data up to the first zero character (the zero itself may be missing).
std::string DecodeStringValue(const std::vector<std::uint8_t>& data);
// What a string value reads back as after it was written.
std::string StringAsStored(const std::string& text);

}  // namespace platform
