// Policy files: the 1088 bytes of the record, raw, in a file named *.plq.
#pragma once

#include <string>

namespace policy {

// The file dialogs' filter: one entry, policy files (*.plq).
extern const char* const kPolicyFileFilter;

// The name with its extension replaced by ".plq": everything from the last "." on, when no
// "\" or ":" follows that dot; otherwise ".plq" is appended. The scan steps over double-byte
// characters, whose second byte may be 0x5C ("\"), as in ソ and 表.
std::string WithPolicyExtension(const std::string& fileName);

}  // namespace policy
