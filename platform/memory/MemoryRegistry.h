// The registry kept in memory, for tests: the same contract as the real one, with values
// stored as raw typed bytes, and faults that can be switched on.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace platform {

struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct StoredValue {
  ValueType type = ValueType::None;
  std::vector<std::uint8_t> data;
};

struct RegistryNode {
  std::map<std::string, StoredValue, NoCaseLess> values;
  std::map<std::string, std::unique_ptr<RegistryNode>, NoCaseLess> keys;
};

// HKEY_CURRENT_USER. Paths are relative to it, with "\" between the key names.
class MemoryRegistryStore {
 public:
  RegistryNode root;

  // Faults: a missing key of this name cannot be created (nor opened); a value of this name
  // cannot be written; reading the data of a value of this name fails.
  std::set<std::string, NoCaseLess> uncreatableKeys;
  std::set<std::string, NoCaseLess> unwritableValues;
  std::set<std::string, NoCaseLess> unreadableValues;

  // Registry objects not yet released.
  int openObjects = 0;
  // Every value write, in order, as "name=text".
  std::vector<std::string> writeLog;

  const RegistryNode* FindKey(const std::string& path) const;
  bool KeyExists(const std::string& path) const { return FindKey(path) != nullptr; }
  std::optional<StoredValue> Value(const std::string& path, const std::string& name) const;
  // The value's text as a string read would give it; nullopt when it is missing.
  std::optional<std::string> StringValue(const std::string& path, const std::string& name) const;
  void Put(const std::string& path, const std::string& name, StoredValue value);
  void PutString(const std::string& path, const std::string& name, const std::string& text);
  RegistryNode& CreateKey(const std::string& path);
};

class MemoryRegistry : public Registry {
 public:
  explicit MemoryRegistry(MemoryRegistryStore& store);
  ~MemoryRegistry() override;
  bool OpenKey(const std::string& name) override;

 protected:
  bool QueryValueInfo(const std::string& name, ValueInfo& info) override;
  bool QueryValueData(const std::string& name, std::vector<std::uint8_t>& data) override;
  bool SetValue(const std::string& name, ValueType type, const std::vector<std::uint8_t>& data) override;

 private:
  MemoryRegistryStore& store_;
  RegistryNode* current_;
};

}  // namespace platform
