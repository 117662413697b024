// Reads a policy file of arbitrary bytes through the File menu, then stores it again.
//
// A policy file comes from anywhere (another PC, an old version, a damaged disk), so reading
// must take any length and any bytes: the leading bytes it holds replace the record's, the rest
// of the record stays, and only a 't' flag checks a box. Storing writes the full record, with
// the flags as the boxes show them and everything past them carried through untouched.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "forms/Main.h"
#include "fuzz/FuzzCheck.h"
#include "platform/memory/MemoryApplication.h"
#include "policy/PolicyRecord.h"

namespace {

using policy::kPolicyRecordSize;
using policy::kRestrictionCount;

const std::string kSourceFile = "C:\\p.plq";
const std::string kStoredFile = "C:\\q.plq";

std::string Bytes(const policy::PolicyRecord& record) { return std::string(record.bytes.begin(), record.bytes.end()); }

void CheckBoxesShowFlags(const TMainForm& form) {
  for (std::size_t i = 0; i < kRestrictionCount; ++i)
    FUZZ_CHECK_MSG(form.Check(i).Checked() == (form.PolicyRecord.bytes[i] == 't'), "box " + std::to_string(i + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::MemoryApplication app;
  auto& form = app.CreateForm<TMainForm>();

  // A new window starts from the fresh record: every flag 'f', nothing past them.
  const policy::PolicyRecord before = form.PolicyRecord;
  for (std::size_t i = 0; i < kPolicyRecordSize; ++i) FUZZ_CHECK(before.bytes[i] == (i < kRestrictionCount ? 'f' : 0));

  app.files.files[kSourceFile].bytes.assign(data, data + size);
  app.fileChoices.push_back(kSourceFile);
  app.ClickMenu("R1");

  // Any file that opens is read without a word: no error box, no message.
  FUZZ_CHECK_MSG(app.boxes.empty(), "box shown: " + fuzzcheck::Escaped(app.boxes.empty() ? "" : app.boxes[0].text));
  FUZZ_CHECK(app.files.openFiles == 0);
  FUZZ_CHECK(app.files.files.at(kSourceFile).bytes.size() == size);  // reading leaves the file alone

  const std::size_t read = std::min(size, kPolicyRecordSize);
  const policy::PolicyRecord loaded = form.PolicyRecord;
  FUZZ_CHECK(read == 0 || std::memcmp(loaded.bytes.data(), data, read) == 0);
  FUZZ_CHECK(std::equal(loaded.bytes.begin() + static_cast<std::ptrdiff_t>(read), loaded.bytes.end(),
                        before.bytes.begin() + static_cast<std::ptrdiff_t>(read)));
  CheckBoxesShowFlags(form);

  // Store it under another name; the save dialog starts on the file just read.
  app.fileChoices.push_back(kStoredFile);
  app.ClickMenu("W1");
  FUZZ_CHECK(app.dialogRuns.size() == 2);
  FUZZ_CHECK(app.dialogRuns[1].kind == platform::FileDialogKind::Save);
  FUZZ_CHECK(app.dialogRuns[1].startName == kSourceFile);
  FUZZ_CHECK(app.boxes.size() == 1);
  FUZZ_CHECK_MSG(app.boxes[0].text == "ファイルに保存しました", fuzzcheck::Escaped(app.boxes[0].text));
  FUZZ_CHECK(app.files.openFiles == 0);

  const auto stored = app.files.files.find(kStoredFile);
  FUZZ_CHECK(stored != app.files.files.end());
  const std::string written(stored->second.bytes.begin(), stored->second.bytes.end());
  FUZZ_CHECK(written.size() == kPolicyRecordSize);
  for (std::size_t i = 0; i < kRestrictionCount; ++i)
    FUZZ_CHECK_MSG(written[i] == (form.Check(i).Checked() ? 't' : 'f'), "flag " + std::to_string(i + 1));
  FUZZ_CHECK(written.compare(kRestrictionCount, std::string::npos, Bytes(loaded), kRestrictionCount,
                             std::string::npos) == 0);
  // Storing brings the record in line with the boxes, and it is what was written.
  FUZZ_CHECK(Bytes(form.PolicyRecord) == written);

  // Reading the stored file back changes nothing: the flags are now plain 't' / 'f'.
  app.fileChoices.push_back(kStoredFile);
  app.ClickMenu("R1");
  FUZZ_CHECK(app.boxes.size() == 1);
  FUZZ_CHECK(Bytes(form.PolicyRecord) == written);
  CheckBoxesShowFlags(form);
  return 0;
}
