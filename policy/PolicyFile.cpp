#include "policy/PolicyFile.h"

#include "platform/Sjis.h"

namespace policy {

const char* const kPolicyFileFilter = "Pelaroポリシーファイル(*.plq)|*.plq";

std::string WithPolicyExtension(const std::string& fileName) {
  std::size_t lastDelimiter = std::string::npos;
  platform::ForEachSingleByte(fileName, [&](std::size_t i, unsigned char c) {
    if (c == '.' || c == '\\' || c == ':') lastDelimiter = i;
  });
  if (lastDelimiter != std::string::npos && fileName[lastDelimiter] == '.')
    return fileName.substr(0, lastDelimiter) + ".plq";
  return fileName + ".plq";
}

}  // namespace policy
