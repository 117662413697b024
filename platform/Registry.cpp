#include "platform/Registry.h"

#include "platform/Error.h"
#include "platform/Text.h"

namespace platform {

namespace {

std::string Quoted(const char* format, const std::string& name) {
  // format holds one "%s"; the name is CP932 and may hold "%" itself, so no printf.
  std::string text = format;
  text.replace(text.find("%s"), 2, name);
  return text;
}

}  // namespace

std::vector<std::uint8_t> EncodeStringValue(const std::string& text) {
  std::u16string wide = Cp932ToUtf16(text);
  wide.push_back(u'\0');
  std::vector<std::uint8_t> data;
  data.reserve(wide.size() * 2);
  for (char16_t c : wide) {
    data.push_back(static_cast<std::uint8_t>(c & 0xFF));
    data.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return data;
}

std::string DecodeStringValue(const std::vector<std::uint8_t>& data) {
  std::u16string wide;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == u'\0') break;
    wide.push_back(c);
  }
  return Utf16ToCp932(wide);
}

std::string StringAsStored(const std::string& text) { return DecodeStringValue(EncodeStringValue(text)); }

std::string Registry::ReadString(const std::string& name) {
  ValueInfo info;
  if (!QueryValueInfo(name, info) || info.size == 0) return {};
  std::vector<std::uint8_t> data;
  if (!QueryValueData(name, data)) throw RegistryError(Quoted("'%s' の取得に失敗しました", name));
  if (info.type != ValueType::String && info.type != ValueType::ExpandString)
    throw RegistryError(Quoted("'%s' のデータ型が不正です", name));
  return DecodeStringValue(data);
}

void Registry::WriteString(const std::string& name, const std::string& value) {
  if (!SetValue(name, ValueType::String, EncodeStringValue(value)))
    throw RegistryError(Quoted("'%s' の設定に失敗しました", name));
}

}  // namespace platform
