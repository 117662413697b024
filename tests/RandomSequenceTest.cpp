// Random sequences of commands and answers, checked after every step against a small model of
// what the program must do. The model keeps its own plain picture of the registry values, the
// files, the record and the boxes; it borrows only the password and file-name rules, which
// have tests of their own. A failing sequence is cut down before it is reported.
//
// Longer runs: STAMPCTL_SEED_FIRST and STAMPCTL_SEED_COUNT choose the seeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "policy/Password.h"
#include "policy/PolicyFile.h"

using testing_support::Program;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kRecordSize = 1088;
constexpr std::size_t kBoxCount = 13;
constexpr std::size_t kActionsPerSequence = 40;
constexpr unsigned long kDefaultSeedCount = 2000;

const std::string kRegisterQuestion = "現在の設定をパソコンへ登録します。\nよろしいですか？";
const std::string kEraseQuestion = "現在のパソコンに登録されているグループポリシーを消去します。\nよろしいですか？";
const std::string kRegistered = "グループポリシーを登録しました";
const std::string kErased = "グループポリシーを消去しました";
const std::string kImported = "グループポリシーを読込みました";
const std::string kWrongPassword = "登録されているパスワードと異なります";
const std::string kCannotSetPassword = "このパスワードは設定できません";
const std::string kNothingToErase = "グループポリシーは設定されていません。";
const std::string kNothingToImport = "グループポリシーは登録されていません";
const std::string kOverwrite = "同名ファイルに上書きします";
const std::string kSaveCancelled = "ファイル保存を中止します";
const std::string kCannotOpen = "ファイルをオープンできません";
const std::string kSaved = "ファイルに保存しました";

const char* const kPresetItems[] = {"yuza1", "N2", "N21", "N41", "N51"};
// The model's own copy of the Pattern menu, so that a changed row shows up here too.
const char* const kPresetBoxes[] = {"ttttttttttfff", "tffftfffftfff", "ftffftffftfff", "ttffttffftfff",
                                    "tttfffffftfff"};

// What the file dialogs are answered with: a .plq name, names that become .plq ones, and a
// folder with a dot in it, where the extension is appended rather than replaced.
const char* const kChosenNames[] = {"C:\\pol\\a.plq", "C:\\pol\\a.txt", "C:\\pol\\b.plq", "C:\\pol\\c", "C:\\pol.d\\d"};
// Where files appear from outside; a.txt is never what a dialog choice opens.
const char* const kOutsideFiles[] = {"C:\\pol\\a.plq", "C:\\pol\\b.plq", "C:\\pol\\c.plq", "C:\\pol.d\\d.plq",
                                     "C:\\pol\\a.txt"};
const char* const kValueNames[] = {"adm", "admstr", "Policy01"};

struct Candidate {
  std::string text;
  bool exact;
};
// Passwords typed into the dialog: ordinary ones, the empty one, the longest that fits, and
// some that a first registration has to refuse.
const Candidate kCandidates[] = {
    {"pw", true},       {"secret", true},
    {"", true},         {std::string(255, 'q'), true},
    {"ab\x1c", true},   {std::string(256, 'p'), true},
    {"\x83\x63", true}, {"pass?", false},
};

// ---- Actions -------------------------------------------------------------------------------

struct PasswordEntry {
  // Right: whatever matches the stored password at that moment, so that a shortened sequence
  // still enters the password its own registrations set.
  enum How { Right, Typed, CancelButton, CloseBox } how = Right;
  Candidate typed{"", true};
};

struct Action {
  enum Kind { Preset, ClickBox, Register, Erase, Import, Store, Read, PutValue, PutFile } kind = Preset;
  int index = 0;   // preset, box, chosen name (-1: dialog cancelled), value or outside file
  bool ok = true;  // the answer to the command's question
  PasswordEntry password;
  std::optional<std::string> value;  // PutValue; nullopt removes the value
  Bytes bytes;                       // PutFile
  bool readOnly = false;             // PutFile
};

std::size_t Pick(std::mt19937& rng, std::size_t n) { return rng() % n; }
bool Chance(std::mt19937& rng, unsigned percent) { return rng() % 100 < percent; }

std::string RandomBytes(std::mt19937& rng, std::size_t size) {
  std::string text(size, '\0');
  for (char& c : text) c = static_cast<char>(1 + Pick(rng, 255));
  return text;
}

std::string RandomFlags(std::mt19937& rng, std::size_t size) {
  std::string text(size, 'f');
  for (char& c : text) c = Chance(rng, 50) ? 't' : 'f';
  return text;
}

// Odd registry contents, as another tool or a hand with regedit could leave them.
std::optional<std::string> RandomValue(std::mt19937& rng, int name) {
  if (Chance(rng, 15)) return std::nullopt;
  if (name == 0) {
    const char* const adm[] = {"1", "1", "0", "", "2", " 1"};
    return adm[Pick(rng, std::size(adm))];
  }
  if (name == 1) {
    if (Chance(rng, 60)) return policy::StoredPasswordForm(kCandidates[Pick(rng, 4)].text);
    return RandomBytes(rng, Pick(rng, 9));
  }
  switch (Pick(rng, 4)) {
    case 0:
      return RandomFlags(rng, kBoxCount);
    case 1:
      return RandomFlags(rng, Pick(rng, kBoxCount));
    case 2:
      return RandomFlags(rng, kBoxCount + 1 + Pick(rng, 30));
    default:
      return RandomBytes(rng, 1 + Pick(rng, 20));
  }
}

Bytes RandomFile(std::mt19937& rng) {
  const std::size_t sizes[] = {0, 5, 13, 100, kRecordSize, kRecordSize + 300};
  Bytes bytes(sizes[Pick(rng, std::size(sizes))]);
  const bool flagLike = Chance(rng, 50);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(flagLike && i < kBoxCount ? (Chance(rng, 50) ? 't' : 'f') : Pick(rng, 256));
  return bytes;
}

PasswordEntry RandomPassword(std::mt19937& rng) {
  PasswordEntry entry;
  const std::size_t roll = Pick(rng, 100);
  if (roll < 45) {
    entry.how = PasswordEntry::Right;
  } else if (roll < 80) {
    entry.how = PasswordEntry::Typed;
    entry.typed = kCandidates[Pick(rng, std::size(kCandidates))];
  } else {
    entry.how = roll < 90 ? PasswordEntry::CancelButton : PasswordEntry::CloseBox;
  }
  return entry;
}

int RandomChoice(std::mt19937& rng) {
  return Chance(rng, 8) ? -1 : static_cast<int>(Pick(rng, std::size(kChosenNames)));
}

Action RandomAction(std::mt19937& rng) {
  Action a;
  const std::size_t roll = Pick(rng, 100);
  if (roll < 8) {
    a.kind = Action::Preset;
    a.index = static_cast<int>(Pick(rng, std::size(kPresetItems)));
  } else if (roll < 22) {
    a.kind = Action::ClickBox;
    a.index = static_cast<int>(Pick(rng, kBoxCount));
  } else if (roll < 42) {
    a.kind = Action::Register;
    a.ok = Chance(rng, 85);
    a.password = RandomPassword(rng);
  } else if (roll < 54) {
    a.kind = Action::Erase;
    a.ok = Chance(rng, 85);
    a.password = RandomPassword(rng);
  } else if (roll < 62) {
    a.kind = Action::Import;
  } else if (roll < 74) {
    a.kind = Action::Store;
    a.index = RandomChoice(rng);
    a.ok = Chance(rng, 70);
  } else if (roll < 84) {
    a.kind = Action::Read;
    a.index = RandomChoice(rng);
  } else if (roll < 92) {
    a.kind = Action::PutValue;
    a.index = static_cast<int>(Pick(rng, std::size(kValueNames)));
    a.value = RandomValue(rng, a.index);
  } else {
    a.kind = Action::PutFile;
    a.index = static_cast<int>(Pick(rng, std::size(kOutsideFiles)));
    a.bytes = RandomFile(rng);
    a.readOnly = Chance(rng, 35);
  }
  return a;
}

std::vector<Action> RandomSequence(unsigned long seed) {
  std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
  std::vector<Action> actions;
  for (std::size_t i = 0; i < kActionsPerSequence; ++i) actions.push_back(RandomAction(rng));
  return actions;
}

// ---- Readable output -----------------------------------------------------------------------

// Byte strings as C escapes, cut short when long.
std::string Escaped(const std::string& text) {
  static const char hex[] = "0123456789abcdef";
  const std::size_t shown = std::min<std::size_t>(text.size(), 40);
  std::string out = "\"";
  for (std::size_t i = 0; i < shown; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 0xF];
    }
  }
  out += shown < text.size() ? "...\" (" + std::to_string(text.size()) + " bytes)" : "\"";
  return out;
}

std::string Escaped(const Bytes& bytes) { return Escaped(std::string(bytes.begin(), bytes.end())); }

std::string Escaped(const std::optional<std::string>& value) { return value ? Escaped(*value) : "(missing)"; }

// The program's texts are CP932; the report is read on a UTF-8 terminal.
std::string Readable(const std::string& cp932) {
  std::string out;
  for (char16_t c : platform::Cp932ToUtf16(cp932)) {
    if (c == u'\n') {
      out += "\\n";
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Message texts in Japanese, registry writes (which hold raw bytes) escaped.
std::string Listed(const std::vector<std::string>& texts, bool messages) {
  std::string out = "[";
  for (std::size_t i = 0; i < texts.size(); ++i)
    out += (i ? ", " : "") + (messages ? "\"" + Readable(texts[i]) + "\"" : Escaped(texts[i]));
  return out + "]";
}

std::string Describe(const PasswordEntry& entry, const std::optional<Candidate>& entered) {
  if (!entered)
    return entry.how == PasswordEntry::CancelButton ? "password dialog cancelled" : "password dialog closed";
  std::string text =
      (entry.how == PasswordEntry::Right ? "the stored password " : "password ") + Escaped(entered->text);
  return entered->exact ? text : text + " (not CP932)";
}

std::string Choice(int index) { return index < 0 ? "dialog cancelled" : kChosenNames[index]; }

std::string Describe(const Action& a, const std::optional<Candidate>& entered) {
  const std::string answer = a.ok ? "OK" : "Cancel";
  switch (a.kind) {
    case Action::Preset:
      return std::string("preset ") + kPresetItems[a.index];
    case Action::ClickBox:
      return "click box " + std::to_string(a.index + 1);
    case Action::Register:
      return "register: question " + answer + ", " + Describe(a.password, entered);
    case Action::Erase:
      return "erase: question " + answer + ", " + Describe(a.password, entered);
    case Action::Import:
      return "import from registry";
    case Action::Store:
      return "store to " + Choice(a.index) + ", overwrite " + answer;
    case Action::Read:
      return "read " + Choice(a.index);
    case Action::PutValue:
      return std::string("outside: ") + kValueNames[a.index] + " = " + Escaped(a.value);
    case Action::PutFile:
      return std::string("outside: file ") + kOutsideFiles[a.index] + " = " + Escaped(a.bytes) +
             (a.readOnly ? ", read-only" : "");
  }
  return {};
}

// ---- The model -----------------------------------------------------------------------------

struct FileState {
  Bytes bytes;
  bool readOnly = false;
  bool operator==(const FileState& other) const { return bytes == other.bytes && readOnly == other.readOnly; }
};

struct Model {
  std::string boxes = std::string(kBoxCount, 'f');
  Bytes record = FreshRecord();
  bool keyExists = false;
  std::optional<std::string> adm, admstr, flags;
  std::map<std::string, FileState> files;
  // Of the current step: the message texts, and the registry writes as "name=text".
  std::vector<std::string> messages;
  std::vector<std::string> writes;

  static Bytes FreshRecord() {
    Bytes bytes(kRecordSize, 0);
    std::fill_n(bytes.begin(), kBoxCount, 'f');
    return bytes;
  }
  std::optional<std::string>& Value(int name) { return name == 0 ? adm : name == 1 ? admstr : flags; }
  const std::optional<std::string>& Value(int name) const { return name == 0 ? adm : name == 1 ? admstr : flags; }
  // Only the exact text "1" means registered; a missing value reads as "".
  bool Registered() const { return adm.value_or("") == "1"; }
  void Say(const std::string& text) { messages.push_back(text); }
  void Write(int name, const std::string& text) {
    Value(name) = platform::StringAsStored(text);
    writes.push_back(std::string(kValueNames[name]) + "=" + *Value(name));
  }
  void BoxesToRecord() {
    for (std::size_t i = 0; i < kBoxCount; ++i) record[i] = static_cast<std::uint8_t>(boxes[i]);
  }
  void RecordToBoxes() {
    for (std::size_t i = 0; i < kBoxCount; ++i) boxes[i] = record[i] == 't' ? 't' : 'f';
  }
};

// What the password dialog of a register or erase hands back; nullopt when it is cancelled or
// closed, and for the other commands.
std::optional<Candidate> Entered(const Model& m, const Action& a) {
  if (a.kind != Action::Register && a.kind != Action::Erase) return std::nullopt;
  const PasswordEntry& entry = a.password;
  switch (entry.how) {
    case PasswordEntry::Right: {
      std::string plain = m.admstr.value_or("");
      for (char& c : plain) c = static_cast<char>(c ^ policy::kPasswordKey);
      return Candidate{plain, true};
    }
    case PasswordEntry::Typed:
      return entry.typed;
    default:
      return std::nullopt;
  }
}

void ModelRegister(Model& m, const Action& a, const std::optional<Candidate>& entered) {
  m.Say(kRegisterQuestion);
  if (!a.ok) return;  // nothing opened yet
  m.keyExists = true;
  if (!entered) return;
  if (!m.Registered()) {
    if (!policy::PasswordCanBeSet(entered->text, entered->exact, platform::StringAsStored)) {
      m.Say(kCannotSetPassword);
      return;
    }
    m.Write(1, policy::StoredPasswordForm(entered->text));
  } else if (policy::PasswordDiffers(entered->text, m.admstr.value_or(""))) {
    m.Say(kWrongPassword);
    return;
  }
  m.Write(0, "1");
  m.BoxesToRecord();
  m.Write(2, std::string(m.record.begin(), m.record.begin() + kBoxCount));
  m.Say(kRegistered);
}

void ModelErase(Model& m, const Action& a, const std::optional<Candidate>& entered) {
  m.keyExists = true;
  if (!m.Registered()) {
    m.Say(kNothingToErase);
    return;
  }
  m.Say(kEraseQuestion);
  if (!a.ok || !entered) return;
  if (policy::PasswordDiffers(entered->text, m.admstr.value_or(""))) {
    m.Say(kWrongPassword);
    return;
  }
  // The password stays: a later registration replaces it.
  m.Write(0, "0");
  m.Write(2, std::string(kBoxCount, 'f'));
  m.Say(kErased);
}

void ModelImport(Model& m) {
  m.keyExists = true;
  if (!m.Registered()) {
    m.Say(kNothingToImport);
    return;
  }
  const std::string flags = m.flags.value_or("");
  for (std::size_t i = 0; i < kBoxCount; ++i) m.record[i] = i < flags.size() ? static_cast<std::uint8_t>(flags[i]) : 0;
  m.RecordToBoxes();
  m.Say(kImported);
}

void ModelStore(Model& m, const Action& a) {
  if (a.index < 0) return;
  const std::string name = policy::WithPolicyExtension(kChosenNames[a.index]);
  const auto existing = m.files.find(name);
  if (existing != m.files.end()) {
    m.Say(kOverwrite);
    if (!a.ok) {
      m.Say(kSaveCancelled);
      return;
    }
    if (existing->second.readOnly) {
      m.Say(kCannotOpen);
      return;
    }
  }
  m.BoxesToRecord();
  m.files[name] = FileState{m.record, false};
  m.Say(kSaved);
}

void ModelRead(Model& m, const Action& a) {
  if (a.index < 0) return;
  const auto file = m.files.find(policy::WithPolicyExtension(kChosenNames[a.index]));
  if (file == m.files.end()) {
    m.Say(kCannotOpen);
    return;
  }
  const Bytes& bytes = file->second.bytes;
  std::copy_n(bytes.begin(), std::min(bytes.size(), kRecordSize), m.record.begin());
  m.RecordToBoxes();
}

void ModelStep(Model& m, const Action& a, const std::optional<Candidate>& entered) {
  m.messages.clear();
  m.writes.clear();
  switch (a.kind) {
    case Action::Preset:
      m.boxes = kPresetBoxes[a.index];
      break;
    case Action::ClickBox:
      m.boxes[a.index] = m.boxes[a.index] == 't' ? 'f' : 't';
      break;
    case Action::Register:
      ModelRegister(m, a, entered);
      break;
    case Action::Erase:
      ModelErase(m, a, entered);
      break;
    case Action::Import:
      ModelImport(m);
      break;
    case Action::Store:
      ModelStore(m, a);
      break;
    case Action::Read:
      ModelRead(m, a);
      break;
    case Action::PutValue:
      if (a.value) {
        m.keyExists = true;
        m.Value(a.index) = platform::StringAsStored(*a.value);
      } else {
        m.Value(a.index).reset();
      }
      break;
    case Action::PutFile:
      m.files[kOutsideFiles[a.index]] = FileState{a.bytes, a.readOnly};
      break;
  }
}

// ---- The program -----------------------------------------------------------------------------

void ScriptPassword(Program& p, const PasswordEntry& entry, const std::optional<Candidate>& entered) {
  if (entered) {
    p.WillEnterPassword(entered->text, entered->exact);
  } else if (entry.how == PasswordEntry::CancelButton) {
    p.WillCancelPassword();
  } else {
    p.WillClosePassword();
  }
}

std::optional<std::string> ChosenName(int index) {
  if (index < 0) return std::nullopt;
  return kChosenNames[index];
}

// Every answer the action could need is queued; whatever the program did not ask for is
// dropped afterwards, so that it cannot answer a later step.
void ProgramStep(Program& p, const Action& a, const std::optional<Candidate>& entered) {
  auto& app = p.app;
  const int answer = a.ok ? platform::kIdOk : platform::kIdCancel;
  switch (a.kind) {
    case Action::Preset:
      app.ClickMenu(kPresetItems[a.index]);
      break;
    case Action::ClickBox:
      p.form.Check(static_cast<std::size_t>(a.index)).Click();
      break;
    case Action::Register:
    case Action::Erase:
      app.answers.push_back(answer);
      ScriptPassword(p, a.password, entered);
      app.ClickMenu(a.kind == Action::Register ? "S1" : "C1");
      break;
    case Action::Import:
      app.ClickMenu("L1");
      break;
    case Action::Store:
      app.fileChoices.push_back(ChosenName(a.index));
      app.answers.push_back(answer);
      app.ClickMenu("W1");
      break;
    case Action::Read:
      app.fileChoices.push_back(ChosenName(a.index));
      app.ClickMenu("R1");
      break;
    case Action::PutValue:
      if (a.value) {
        app.registry.PutString(policy::kPolicyKeyPath, kValueNames[a.index], *a.value);
      } else if (app.registry.KeyExists(policy::kPolicyKeyPath)) {
        app.registry.CreateKey(policy::kPolicyKeyPath).values.erase(kValueNames[a.index]);
      }
      break;
    case Action::PutFile:
      app.files.files[kOutsideFiles[a.index]] = {a.bytes, a.readOnly};
      break;
  }
  app.answers.clear();
  app.modalScripts.clear();
  app.fileChoices.clear();
}

// The first way in which the program differs from the model, if any.
std::optional<std::string> Difference(Program& p, const Model& m) {
  const std::vector<std::string> shown = p.TakeMessages();
  if (shown != m.messages) return "messages " + Listed(shown, true) + ", expected " + Listed(m.messages, true);
  std::vector<std::string> writes;
  writes.swap(p.app.registry.writeLog);
  if (writes != m.writes) return "registry writes " + Listed(writes, false) + ", expected " + Listed(m.writes, false);
  if (p.Boxes() != m.boxes) return "boxes " + p.Boxes() + ", expected " + m.boxes;
  const auto& record = p.form.PolicyRecord.bytes;
  const auto mismatch = std::mismatch(record.begin(), record.end(), m.record.begin());
  if (mismatch.first != record.end()) {
    const auto at = static_cast<std::size_t>(mismatch.first - record.begin());
    return "record byte " + std::to_string(at) + " is " + Escaped(std::string(1, static_cast<char>(*mismatch.first))) +
           ", expected " + Escaped(std::string(1, static_cast<char>(*mismatch.second)));
  }
  if (p.app.registry.KeyExists(policy::kPolicyKeyPath) != m.keyExists)
    return std::string("policy key ") + (m.keyExists ? "missing" : "exists") + ", expected " +
           (m.keyExists ? "to exist" : "none");
  for (int name = 0; name < 3; ++name) {
    const auto value = p.app.registry.StringValue(policy::kPolicyKeyPath, kValueNames[name]);
    const auto& expected = m.Value(name);
    if (value != expected)
      return std::string(kValueNames[name]) + " is " + Escaped(value) + ", expected " + Escaped(expected);
  }
  std::map<std::string, FileState> files;
  for (const auto& [name, entry] : p.app.files.files) files[name] = FileState{entry.bytes, entry.readOnly};
  if (files != m.files) {
    for (const auto& [name, expected] : m.files) {
      const auto actual = files.find(name);
      if (actual == files.end()) return "file " + name + " missing";
      if (!(actual->second == expected))
        return "file " + name + " is " + Escaped(actual->second.bytes) + (actual->second.readOnly ? " read-only" : "") +
               ", expected " + Escaped(expected.bytes) + (expected.readOnly ? " read-only" : "");
    }
    return "unexpected file " +
           std::find_if(files.begin(), files.end(), [&](const auto& f) { return m.files.count(f.first) == 0; })->first;
  }
  return std::nullopt;
}

struct Failure {
  std::size_t step;  // index of the action after which the difference showed
  std::string difference;
  std::vector<std::string> steps;  // the actions up to it, described
};

std::optional<Failure> Replay(const std::vector<Action>& actions) {
  Program p;
  Model m;
  std::vector<std::string> steps;
  for (std::size_t i = 0; i < actions.size(); ++i) {
    const auto entered = Entered(m, actions[i]);
    steps.push_back(Describe(actions[i], entered));
    ModelStep(m, actions[i], entered);
    ProgramStep(p, actions[i], entered);
    if (auto difference = Difference(p, m)) return Failure{i, *difference, steps};
  }
  return std::nullopt;
}

// Drops everything after the failing step, then single actions for as long as one can go
// while the sequence still fails.
Failure Shrink(std::vector<Action> actions, Failure failure) {
  bool shorter = true;
  while (shorter) {
    shorter = false;
    actions.resize(failure.step + 1);
    for (std::size_t i = 0; i < actions.size(); ++i) {
      auto candidate = actions;
      candidate.erase(candidate.begin() + static_cast<std::ptrdiff_t>(i));
      if (auto f = Replay(candidate)) {
        actions = std::move(candidate);
        failure = std::move(*f);
        shorter = true;
        break;
      }
    }
  }
  return failure;
}

unsigned long FromEnvironment(const char* name, unsigned long fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoul(text, nullptr, 10) : fallback;
}

}  // namespace

TEST(RandomSequence, ProgramFollowsTheModelStepByStep) {
  const unsigned long first = FromEnvironment("STAMPCTL_SEED_FIRST", 1);
  const unsigned long count = FromEnvironment("STAMPCTL_SEED_COUNT", kDefaultSeedCount);
  for (unsigned long seed = first; seed < first + count; ++seed) {
    const auto actions = RandomSequence(seed);
    auto failure = Replay(actions);
    if (!failure) continue;
    const std::size_t originalLength = failure->step + 1;
    failure = Shrink(actions, *failure);
    std::string report = "seed " + std::to_string(seed) + ": " + std::to_string(failure->steps.size()) +
                         " of the first " + std::to_string(originalLength) + " actions still fail\n";
    for (std::size_t i = 0; i < failure->steps.size(); ++i)
      report += "  " + std::to_string(i + 1) + ". " + failure->steps[i] + "\n";
    report += "after the last step: " + failure->difference;
    FAIL() << report;
  }
}
