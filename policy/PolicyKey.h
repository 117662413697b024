// Where the policy lives in the registry: HKEY_CURRENT_USER\Software\Qrw\Pelaro.
#pragma once

#include <memory>

#include "platform/Application.h"
#include "platform/Registry.h"

namespace policy {

constexpr const char* kPolicyKeyPath = "Software\\Qrw\\Pelaro";

// Value names: the registration state ("1" registered), the scrambled password, the flags.
constexpr const char* kAdmValue = "adm";
constexpr const char* kAdmStrValue = "admstr";
constexpr const char* kPolicyValue = "Policy01";

constexpr const char* kRegistered = "1";
constexpr const char* kErased = "0";
constexpr const char* kErasedPolicy = "fffffffffffff";

// A registry object on the policy key, each key of the chain opened or created in turn. When a
// key can be neither opened nor created, raises "レジストリキーを開けません" rather than let
// the command go on in whatever key did open.
std::unique_ptr<platform::Registry> OpenPolicyKey(platform::Application& app);

}  // namespace policy
