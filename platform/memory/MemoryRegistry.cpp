#include "platform/memory/MemoryRegistry.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

const RegistryNode* MemoryRegistryStore::FindKey(const std::string& path) const {
  const RegistryNode* node = &root;
  for (const std::string& name : SplitPath(path)) {
    auto it = node->keys.find(name);
    if (it == node->keys.end()) return nullptr;
    node = it->second.get();
  }
  return node;
}

std::optional<StoredValue> MemoryRegistryStore::Value(const std::string& path, const std::string& name) const {
  const RegistryNode* key = FindKey(path);
  if (!key) return std::nullopt;
  auto it = key->values.find(name);
  if (it == key->values.end()) return std::nullopt;
  return it->second;
}

std::optional<std::string> MemoryRegistryStore::StringValue(const std::string& path, const std::string& name) const {
  auto value = Value(path, name);
  if (!value) return std::nullopt;
  return DecodeStringValue(value->data);
}

RegistryNode& MemoryRegistryStore::CreateKey(const std::string& path) {
  RegistryNode* node = &root;
  for (const std::string& name : SplitPath(path)) {
    auto& child = node->keys[name];
    if (!child) child = std::make_unique<RegistryNode>();
    node = child.get();
  }
  return *node;
}

void MemoryRegistryStore::Put(const std::string& path, const std::string& name, StoredValue value) {
  CreateKey(path).values[name] = std::move(value);
}

void MemoryRegistryStore::PutString(const std::string& path, const std::string& name, const std::string& text) {
  Put(path, name, {ValueType::String, EncodeStringValue(text)});
}

MemoryRegistry::MemoryRegistry(MemoryRegistryStore& store) : store_(store), current_(&store.root) {
  ++store_.openObjects;
}

MemoryRegistry::~MemoryRegistry() { --store_.openObjects; }

bool MemoryRegistry::OpenKey(const std::string& name) {
  auto it = current_->keys.find(name);
  if (it == current_->keys.end()) {
    if (store_.uncreatableKeys.count(name)) return false;
    it = current_->keys.emplace(name, std::make_unique<RegistryNode>()).first;
  }
  current_ = it->second.get();
  return true;
}

bool MemoryRegistry::QueryValueInfo(const std::string& name, ValueInfo& info) {
  auto it = current_->values.find(name);
  if (it == current_->values.end()) return false;
  info.type = it->second.type;
  info.size = static_cast<std::uint32_t>(it->second.data.size());
  return true;
}

bool MemoryRegistry::QueryValueData(const std::string& name, std::vector<std::uint8_t>& data) {
  auto it = current_->values.find(name);
  if (it == current_->values.end() || store_.unreadableValues.count(name)) return false;
  data = it->second.data;
  return true;
}

bool MemoryRegistry::SetValue(const std::string& name, ValueType type, const std::vector<std::uint8_t>& data) {
  if (store_.unwritableValues.count(name)) return false;
  current_->values[name] = {type, data};
  store_.writeLog.push_back(name + "=" + DecodeStringValue(data));
  return true;
}

}  // namespace platform
