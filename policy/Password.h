// The administrator password and its stored, scrambled form.
#pragma once

#include <cstddef>
#include <string>

namespace policy {

constexpr unsigned char kPasswordKey = 0x1C;
// The stored form is built in 256-byte buffers: 255 bytes and the terminating zero.
constexpr std::size_t kMaxPasswordBytes = 255;

// Each byte of the zero-terminated input XOR the key. A byte equal to the key becomes zero,
// which ends the string where it is stored.
std::string ScramblePassword(const std::string& input);

// The text written to admstr for a password: the scrambled form up to its first zero byte.
std::string StoredPasswordForm(const std::string& password);

// 0 when the entered plain password matches the stored scrambled one, 1 otherwise. Both are
// taken as zero-terminated strings and must end at the same position.
int PasswordDiffers(const std::string& entered, const std::string& stored);

// A password can be set only if the administrator can enter it again later: it holds no key
// byte, fits the 255-byte buffer, consists of characters code page 932 can hold (typedExactly),
// and its stored form reads back (through readBack, the registry's store-and-read) as
// something the same entry passes.
template <typename ReadBack>
bool PasswordCanBeSet(const std::string& password, bool typedExactly, ReadBack readBack) {
  if (!typedExactly || password.size() > kMaxPasswordBytes) return false;
  if (password.find(static_cast<char>(kPasswordKey)) != std::string::npos) return false;
  if (password.find('\0') != std::string::npos) return false;
  return PasswordDiffers(password, readBack(StoredPasswordForm(password))) == 0;
}

}  // namespace policy
