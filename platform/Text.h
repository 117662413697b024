// The one border between the program's CP932 byte strings and UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Code page 932 is named explicitly on both sides, never the PC's own code page.
std::u16string Cp932ToUtf16(std::string_view text);

// Characters that code page 932 cannot hold become "?"; *exact (if given) tells whether
// every character came through unchanged.
std::string Utf16ToCp932(std::u16string_view text, bool* exact = nullptr);

}  // namespace platform
