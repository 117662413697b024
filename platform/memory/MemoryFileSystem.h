// Files kept in memory, for tests, with the faults a real disk can show.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace platform {

struct MemoryFileEntry {
  std::vector<std::uint8_t> bytes;
  bool readOnly = false;
};

class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, MemoryFileEntry> files;
  std::set<std::string> directories;
  // Paths another program holds open exclusively: every open fails.
  std::set<std::string> lockedPaths;
  // Writes stop after this many bytes in all (a full disk); SIZE_MAX writes everything.
  std::size_t writeCapacity = SIZE_MAX;
  bool failClose = false;
  // Files not yet closed.
  int openFiles = 0;

  bool IsFile(const std::string& path) override;
  bool IsReadOnly(const std::string& path) override;
  std::unique_ptr<File> OpenForRead(const std::string& path) override;
  std::unique_ptr<File> CreateForWrite(const std::string& path) override;
};

}  // namespace platform
