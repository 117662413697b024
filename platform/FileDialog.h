// The common open and save dialogs as components: settings plus the file name they keep.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class Application;

// Option flags, numbered as the system dialog numbers them.
enum FileDialogOption : std::uint32_t {
  kOfnHideReadOnly = 0x4,
  kOfnPathMustExist = 0x800,
  kOfnFileMustExist = 0x1000,
  kOfnEnableHook = 0x20,
  kOfnExplorer = 0x80000,
  kOfnEnableSizing = 0x800000,
};

enum class FileDialogKind { Open, Save };

struct FilterEntry {
  std::string description;
  std::string pattern;
};

// Splits "description|pattern|description|pattern" at its "|" separators. The scan steps over
// double-byte characters: the second byte of ポ is 0x7C, the byte of "|".
std::vector<FilterEntry> SplitFilter(const std::string& filter);

class FileDialog {
 public:
  // The longest file name the dialog accepts, in characters.
  static constexpr int kMaxFileName = 260;

  FileDialog(Application& app, FileDialogKind kind, std::string filter, std::uint32_t options)
      : app_(app), kind_(kind), filter_(std::move(filter)), options_(options) {}

  // Shows the dialog on the last file name. True with FileName() set when the user chose a
  // file; false when cancelled or the dialog failed, leaving FileName() as it was.
  bool Execute();

  FileDialogKind Kind() const { return kind_; }
  const std::string& Filter() const { return filter_; }
  std::uint32_t Options() const { return options_; }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }

 private:
  Application& app_;
  FileDialogKind kind_;
  std::string filter_;
  std::uint32_t options_;
  std::string fileName_;
};

}  // namespace platform
