// The CP932 <-> UTF-16 border on Windows. Code page 932 is named explicitly: CP_ACP would
// follow the PC's (or, under Wine, the Unix locale's) code page.
#include <windows.h>

#include "platform/Text.h"

namespace platform {

namespace {
constexpr UINT kCodePage = 932;
}

std::u16string Cp932ToUtf16(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(kCodePage, 0, text.data(), size, nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  if (length > 0) MultiByteToWideChar(kCodePage, 0, text.data(), size, reinterpret_cast<wchar_t*>(wide.data()), length);
  return wide;
}

std::string Utf16ToCp932(std::u16string_view text, bool* exact) {
  if (exact) *exact = true;
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int size = static_cast<int>(text.size());
  // No best fit: a character that has no exact CP932 form must show as lost, not as a look-alike.
  const int length = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, "?", nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  BOOL usedDefault = FALSE;
  if (length > 0)
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, size, bytes.data(), length, "?", &usedDefault);
  if (exact) *exact = !usedDefault && length > 0;
  return bytes;
}

}  // namespace platform
