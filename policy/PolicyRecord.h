// The policy record and the thirteen restrictions it holds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace policy {

constexpr std::size_t kPolicyRecordSize = 1088;
constexpr std::size_t kRestrictionCount = 13;
constexpr std::uint8_t kFlagOn = 't';
constexpr std::uint8_t kFlagOff = 'f';

// Bytes 0 to 12 are the flags of restrictions 1 to 13: 't' on, 'f' off; any other byte counts
// as off. Bytes 13 to 1087 mean nothing to this program and are carried along unchanged.
struct PolicyRecord {
  std::array<std::uint8_t, kPolicyRecordSize> bytes{};

  // Thirteen 'f', then zeros.
  static PolicyRecord Fresh();
  bool IsOn(std::size_t index) const { return bytes[index] == kFlagOn; }
  void Set(std::size_t index, bool on) { bytes[index] = on ? kFlagOn : kFlagOff; }
};

// The captions of the check boxes, restriction 1 first.
extern const std::array<const char*, kRestrictionCount> kRestrictionCaptions;

using PresetRow = std::array<bool, kRestrictionCount>;

struct Preset {
  const char* itemName;
  const char* caption;
  PresetRow row;
};

// The five rows of the Pattern menu, in menu order.
extern const std::array<Preset, 5> kPresets;

}  // namespace policy
