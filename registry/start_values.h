// The driver service's start values, brought into line with the adapters.
#pragma once

#include "registry/store.h"

namespace veldra {

// With a physical adapter (a subkey whose prefix is "Device") supplies each
// missing start value; without one deletes all five.
void ApplyServiceStartValues(RegistryStore& store, const char* serviceName = kServiceName);

}  // namespace veldra
