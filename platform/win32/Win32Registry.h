// The registry of the current user through the W functions.
#pragma once

#include "platform/Registry.h"
#include "platform/win32/Win32.h"

namespace platform::win32 {

class Win32Registry : public Registry {
 public:
  bool OpenKey(const std::string& name) override;

 protected:
  bool QueryValueInfo(const std::string& name, ValueInfo& info) override;
  bool QueryValueData(const std::string& name, std::vector<std::uint8_t>& data) override;
  bool SetValue(const std::string& name, ValueType type, const std::vector<std::uint8_t>& data) override;

 private:
  HKEY Current() const { return key_ ? key_.Get() : HKEY_CURRENT_USER; }
  UniqueKey key_;
};

}  // namespace platform::win32
