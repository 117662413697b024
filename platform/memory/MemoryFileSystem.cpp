#include "platform/memory/MemoryFileSystem.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

class MemoryFile : public File {
 public:
  MemoryFile(MemoryFileSystem& fs, MemoryFileEntry& entry) : fs_(fs), entry_(entry) { ++fs_.openFiles; }
  ~MemoryFile() override {
    if (open_) --fs_.openFiles;
  }

  std::size_t Read(void* buffer, std::size_t size) override {
    const std::size_t count = std::min(size, entry_.bytes.size() - std::min(position_, entry_.bytes.size()));
    if (count) std::memcpy(buffer, entry_.bytes.data() + position_, count);
    position_ += count;
    return count;
  }

  std::size_t Write(const void* buffer, std::size_t size) override {
    const std::size_t count = std::min(size, fs_.writeCapacity);
    if (fs_.writeCapacity != SIZE_MAX) fs_.writeCapacity -= count;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    if (entry_.bytes.size() < position_ + count) entry_.bytes.resize(position_ + count);
    std::copy(bytes, bytes + count, entry_.bytes.begin() + static_cast<std::ptrdiff_t>(position_));
    position_ += count;
    return count;
  }

  bool Close() override {
    if (open_) --fs_.openFiles;
    open_ = false;
    return !fs_.failClose;
  }

 private:
  MemoryFileSystem& fs_;
  MemoryFileEntry& entry_;
  std::size_t position_ = 0;
  bool open_ = true;
};

}  // namespace

bool MemoryFileSystem::IsFile(const std::string& path) { return files.count(path) > 0; }

bool MemoryFileSystem::IsReadOnly(const std::string& path) {
  auto it = files.find(path);
  return it != files.end() && it->second.readOnly;
}

std::unique_ptr<File> MemoryFileSystem::OpenForRead(const std::string& path) {
  auto it = files.find(path);
  if (it == files.end() || lockedPaths.count(path)) return nullptr;
  return std::make_unique<MemoryFile>(*this, it->second);
}

std::unique_ptr<File> MemoryFileSystem::CreateForWrite(const std::string& path) {
  if (directories.count(path) || lockedPaths.count(path)) return nullptr;
  auto it = files.find(path);
  if (it != files.end() && it->second.readOnly) return nullptr;
  MemoryFileEntry& entry = files[path];
  entry.bytes.clear();
  return std::make_unique<MemoryFile>(*this, entry);
}

}  // namespace platform
