#include "platform/win32/Win32Registry.h"

namespace platform::win32 {

bool Win32Registry::OpenKey(const std::string& name) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(Current(), Wide(name).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return false;
  key_.Reset(key);
  return true;
}

bool Win32Registry::QueryValueInfo(const std::string& name, ValueInfo& info) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(Current(), Wide(name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  info.type = static_cast<ValueType>(type);
  info.size = size;
  return true;
}

bool Win32Registry::QueryValueData(const std::string& name, std::vector<std::uint8_t>& data) {
  const std::wstring wideName = Wide(name);
  DWORD size = 0;
  if (RegQueryValueExW(Current(), wideName.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
  data.resize(size);
  if (RegQueryValueExW(Current(), wideName.c_str(), nullptr, nullptr, data.data(), &size) != ERROR_SUCCESS) return false;
  data.resize(size);
  return true;
}

bool Win32Registry::SetValue(const std::string& name, ValueType type, const std::vector<std::uint8_t>& data) {
  return RegSetValueExW(Current(), Wide(name).c_str(), 0, static_cast<DWORD>(type), data.data(),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

}  // namespace platform::win32
