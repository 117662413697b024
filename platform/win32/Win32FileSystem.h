#pragma once

#include "platform/FileSystem.h"

namespace platform::win32 {

class Win32FileSystem : public FileSystem {
 public:
  bool IsFile(const std::string& path) override;
  bool IsReadOnly(const std::string& path) override;
  std::unique_ptr<File> OpenForRead(const std::string& path) override;
  std::unique_ptr<File> CreateForWrite(const std::string& path) override;
};

}  // namespace platform::win32
