#include "policy/Password.h"

#include <cstring>

namespace policy {

std::string ScramblePassword(const std::string& input) {
  std::string output(std::strlen(input.c_str()), '\0');
  for (std::size_t i = 0; i < output.size(); ++i) output[i] = static_cast<char>(input[i] ^ kPasswordKey);
  return output;
}

std::string StoredPasswordForm(const std::string& password) {
  const std::string scrambled = ScramblePassword(password);
  return scrambled.substr(0, std::strlen(scrambled.c_str()));
}

int PasswordDiffers(const std::string& entered, const std::string& stored) {
  const char* e = entered.c_str();
  const char* s = stored.c_str();
  for (; *e != '\0' && *s != '\0'; ++e, ++s)
    if (static_cast<char>(*e ^ kPasswordKey) != *s) return 1;
  return (*e == '\0' && *s == '\0') ? 0 : 1;
}

}  // namespace policy
