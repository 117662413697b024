// Low-level binary file input and output. Paths are CP932 byte strings.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace platform {

// An open file; closed on destruction if Close was not called.
// Read returns the number of bytes read: fewer than asked at the end of the file, 0 on an
// error. Write returns the number of bytes written: fewer than asked when the write fails.
// Close returns false when the file could not be closed cleanly (data may be lost).
class File {
 public:
  virtual ~File() = default;
  virtual std::size_t Read(void* buffer, std::size_t size) = 0;
  virtual std::size_t Write(const void* buffer, std::size_t size) = 0;
  [[nodiscard]] virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True for an existing file; a directory does not count.
  virtual bool IsFile(const std::string& path) = 0;
  virtual bool IsReadOnly(const std::string& path) = 0;
  // Binary, read access, others may read and write meanwhile; the file must exist.
  // Null when it cannot be opened.
  virtual std::unique_ptr<File> OpenForRead(const std::string& path) = 0;
  // Binary, read and write access, others may read and write meanwhile; created as an
  // ordinary file if missing, emptied if present. Null when it cannot be opened.
  virtual std::unique_ptr<File> CreateForWrite(const std::string& path) = 0;
};

}  // namespace platform
