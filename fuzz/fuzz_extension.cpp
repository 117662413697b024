// File names and dialog filters are CP932 byte strings whose double-byte characters may carry
// 0x5C ("\") or 0x7C ("|") as their second byte. Both scans are checked here against simple
// character-by-character versions written independently of the product's helpers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "platform/FileDialog.h"
#include "policy/PolicyFile.h"

namespace {

using fuzzcheck::Escaped;

bool OpensDoubleByte(unsigned char c) { return (0x81 <= c && c <= 0x9F) || (0xE0 <= c && c <= 0xFC); }

// Start offsets of the characters of text; a lead byte at the very end is a character alone.
std::vector<std::size_t> CharacterStarts(const std::string& text) {
  std::vector<std::size_t> starts;
  std::size_t i = 0;
  while (i < text.size()) {
    starts.push_back(i);
    i += OpensDoubleByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  }
  return starts;
}

bool IsSingleByteChar(const std::string& text, std::size_t start) {
  return !OpensDoubleByte(static_cast<unsigned char>(text[start]));
}

struct Extension {
  std::string result;
  bool endsInLoneLeadByte;
};

Extension ReferenceExtension(const std::string& name) {
  std::size_t dot = std::string::npos;
  std::size_t separator = std::string::npos;
  bool loneLead = false;
  for (std::size_t start : CharacterStarts(name)) {
    if (!IsSingleByteChar(name, start)) {
      loneLead = start + 1 == name.size();
      continue;
    }
    if (name[start] == '.') dot = start;
    if (name[start] == '\\' || name[start] == ':') separator = start;
  }
  const bool replace = dot != std::string::npos && (separator == std::string::npos || dot > separator);
  return {replace ? name.substr(0, dot) + ".plq" : name + ".plq", !replace && loneLead};
}

// The "|"-separated fields of a filter, as a reader of the text would cut it.
std::vector<std::string> ReferenceFields(const std::string& filter) {
  std::vector<std::string> fields(1);
  for (std::size_t start : CharacterStarts(filter)) {
    if (IsSingleByteChar(filter, start) && filter[start] == '|') {
      fields.emplace_back();
    } else {
      fields.back() += filter.substr(start, IsSingleByteChar(filter, start) ? 1 : 2);
    }
  }
  return fields;
}

bool HasSingleBytePipe(const std::string& text) {
  for (std::size_t start : CharacterStarts(text))
    if (IsSingleByteChar(text, start) && text[start] == '|') return true;
  return false;
}

void CheckExtension(const std::string& name) {
  const std::string result = policy::WithPolicyExtension(name);
  const Extension expected = ReferenceExtension(name);
  FUZZ_CHECK_MSG(result == expected.result, Escaped(name) + " -> " + Escaped(result));
  FUZZ_CHECK(result.size() >= 4 && result.compare(result.size() - 4, 4, ".plq") == 0);
  // Giving the extension twice changes nothing, except after a lone lead byte: the appended
  // "." becomes its second byte and no longer counts as a dot.
  if (!expected.endsInLoneLeadByte) FUZZ_CHECK(policy::WithPolicyExtension(result) == result);
}

void CheckFilter(const std::string& filter) {
  const std::vector<platform::FilterEntry> entries = platform::SplitFilter(filter);
  const std::vector<std::string> fields = ReferenceFields(filter);

  // Fields pair up as description and pattern; a last description without a pattern is dropped.
  FUZZ_CHECK(entries.size() == fields.size() / 2);
  std::string joined;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    FUZZ_CHECK(entries[i].description == fields[2 * i]);
    FUZZ_CHECK(entries[i].pattern == fields[2 * i + 1]);
    FUZZ_CHECK(!HasSingleBytePipe(entries[i].description));
    FUZZ_CHECK(!HasSingleBytePipe(entries[i].pattern));
    if (i) joined += '|';
    joined += entries[i].description + "|" + entries[i].pattern;
  }
  FUZZ_CHECK_MSG(filter.compare(0, joined.size(), joined) == 0, Escaped(filter));
  if (joined.size() < filter.size()) {
    // What is left is one dropped description, after its "|" when entries came before it.
    const std::size_t rest = entries.empty() ? 0 : joined.size() + 1;
    FUZZ_CHECK(entries.empty() || filter[joined.size()] == '|');
    FUZZ_CHECK(!HasSingleBytePipe(filter.substr(rest)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The program's own filter: the second byte of ポ is 0x7C and must not split it.
  static const bool ownFilterSplits = [] {
    const auto entries = platform::SplitFilter(policy::kPolicyFileFilter);
    FUZZ_CHECK(entries.size() == 1);
    FUZZ_CHECK(entries[0].description == "Pelaroポリシーファイル(*.plq)");
    FUZZ_CHECK(entries[0].pattern == "*.plq");
    return true;
  }();
  (void)ownFilterSplits;

  const std::string input(reinterpret_cast<const char*>(data), size);
  CheckExtension(input);
  CheckFilter(input);
  return 0;
}
