#include "platform/FileDialog.h"

#include "platform/Application.h"
#include "platform/Sjis.h"

namespace platform {

std::vector<FilterEntry> SplitFilter(const std::string& filter) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  ForEachSingleByte(filter, [&](std::size_t i, unsigned char c) {
    if (c != '|') return;
    parts.push_back(filter.substr(start, i - start));
    start = i + 1;
  });
  parts.push_back(filter.substr(start));

  std::vector<FilterEntry> entries;
  for (std::size_t i = 0; i < parts.size(); i += 2) {
    // A description without a pattern is dropped, as the system dialog would ignore it.
    if (i + 1 < parts.size()) entries.push_back({parts[i], parts[i + 1]});
  }
  return entries;
}

bool FileDialog::Execute() {
  std::string chosen = fileName_;
  if (!app_.RunFileDialog(*this, chosen)) return false;
  fileName_ = std::move(chosen);
  return true;
}

}  // namespace platform
