#include "platform/Error.h"

namespace platform {

std::string ExceptionText(const std::string& message) {
  if (message.empty() || static_cast<unsigned char>(message.back()) <= '.') return message;
  return message + ".";
}

}  // namespace platform
