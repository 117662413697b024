// Errors raised by platform calls. Messages are CP932 byte strings.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class RegistryError : public Error {
 public:
  using Error::Error;
};

// Ends a command without showing anything.
class Abort : public Error {
 public:
  Abort() : Error("") {}
};

// The text of the standard exception box: the message with a period appended, unless it is
// empty or its last byte is 0x00 to 0x2E. The second byte of a double-byte character is
// never below 0x40, so a message ending in one always gets the period.
std::string ExceptionText(const std::string& message);

}  // namespace platform
