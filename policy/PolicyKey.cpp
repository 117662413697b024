#include "policy/PolicyKey.h"

#include "platform/Error.h"

namespace policy {

std::unique_ptr<platform::Registry> OpenPolicyKey(platform::Application& app) {
  auto registry = app.NewRegistry();
  for (const char* name : {"Software", "Qrw", "Pelaro"})
    if (!registry->OpenKey(name)) throw platform::RegistryError("レジストリキーを開けません");
  return registry;
}

}  // namespace policy
