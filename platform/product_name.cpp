#include "product_name.h"

#include <string>

#include "registry_key.h"
#include "text.h"

namespace plat {

bool IsServer2008(Registry& registry) {
    RegistryKey key(registry);
    std::string productName;
    if (!key.Open(RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion") ||
        !key.ReadString("ProductName", 256, &productName)) {
        return false;
    }
    return Contains(productName, "2008");
}

}  // namespace plat
