// Shared pieces of the Win32 side: owning handles and the text border in wchar_t form.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

#include "platform/Text.h"

namespace platform::win32 {

inline std::wstring Wide(std::string_view text) {
  const std::u16string wide = Cp932ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

inline std::string Narrow(std::wstring_view text, bool* exact = nullptr) {
  return Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()), exact);
}

// Owns one handle; Close is the call that releases it.
template <typename Handle, typename Close>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle handle) : handle_(handle) {}
  ~Unique() { Reset(); }
  Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, Handle{});
    }
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  void Reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Close{}(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

struct CloseKey {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyIconHandle {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};

using UniqueKey = Unique<HKEY, CloseKey>;
using UniqueFont = Unique<HFONT, DeleteGdiObject>;

}  // namespace platform::win32
