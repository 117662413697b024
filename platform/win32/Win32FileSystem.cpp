#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/Win32.h"

namespace platform::win32 {

namespace {

class Win32File : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  std::size_t Read(void* buffer, std::size_t size) override {
    DWORD read = 0;
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(size), &read, nullptr)) return 0;
    return read;
  }

  std::size_t Write(const void* buffer, std::size_t size) override {
    DWORD written = 0;
    if (!WriteFile(handle_, buffer, static_cast<DWORD>(size), &written, nullptr)) return 0;
    return written;
  }

  bool Close() override {
    const bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

std::unique_ptr<File> Open(const std::string& path, DWORD access, DWORD disposition) {
  HANDLE handle = CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32File>(handle);
}

}  // namespace

bool Win32FileSystem::IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::IsReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

std::unique_ptr<File> Win32FileSystem::OpenForRead(const std::string& path) {
  return Open(path, GENERIC_READ, OPEN_EXISTING);
}

std::unique_ptr<File> Win32FileSystem::CreateForWrite(const std::string& path) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
}

}  // namespace platform::win32
