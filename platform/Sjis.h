// Shift-JIS (code page 932) byte-string helpers.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// 0x81-0x9F and 0xE0-0xFC open a double-byte character; the byte after one may be anything
// from 0x40 to 0xFC, including 0x5C ("\") and 0x7C ("|").
constexpr bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Calls visit(position, byte) for each single-byte character of text, stepping over
// double-byte characters so that their second byte is never seen as a character of its own.
// A lead byte at the very end stands alone and is not visited.
template <typename Visit>
void ForEachSingleByte(std::string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c)) {
      ++i;
      continue;
    }
    visit(i, c);
  }
}

}  // namespace platform
