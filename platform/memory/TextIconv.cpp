// The CP932 <-> UTF-16 border for native builds, through iconv's CP932 tables.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/Text.h"

namespace platform {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no CP932");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one unit at a time where the input is bad, calling onBad to skip it.
  template <typename OnBad>
  std::string Run(const char* in, std::size_t inSize, OnBad onBad) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out(inSize * 4 + 16, '\0');
    char* src = const_cast<char*>(in);
    char* dst = out.data();
    std::size_t srcLeft = inSize;
    std::size_t dstLeft = out.size();
    while (srcLeft > 0) {
      if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) throw std::runtime_error("iconv output overflow");
      onBad(src, srcLeft, dst, dstLeft);
    }
    out.resize(out.size() - dstLeft);
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::u16string Cp932ToUtf16(std::string_view text) {
  static Converter converter("UTF-16LE", "CP932");
  // A byte that does not decode becomes U+30FB, as Windows decodes it, and is skipped.
  std::string bytes = converter.Run(text.data(), text.size(), [](char*& src, std::size_t& left, char*& dst, std::size_t& dstLeft) {
    const bool pair = left >= 2 && (static_cast<unsigned char>(*src) >= 0x81);
    const std::size_t skip = pair && left >= 2 && static_cast<unsigned char>(src[1]) >= 0x40 ? 2 : 1;
    src += skip;
    left -= skip;
    *dst++ = static_cast<char>(0xFB);
    *dst++ = static_cast<char>(0x30);
    dstLeft -= 2;
  });
  std::u16string wide(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < wide.size(); ++i)
    wide[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return wide;
}

std::string Utf16ToCp932(std::u16string_view text, bool* exact) {
  static Converter converter("CP932", "UTF-16LE");
  std::string bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  bool clean = true;
  std::string out = converter.Run(bytes.data(), bytes.size(), [&](char*& src, std::size_t& left, char*& dst, std::size_t& dstLeft) {
    const std::size_t skip = left >= 2 ? 2 : left;
    src += skip;
    left -= skip;
    *dst++ = '?';
    --dstLeft;
    clean = false;
  });
  if (exact) *exact = clean;
  return out;
}

}  // namespace platform
