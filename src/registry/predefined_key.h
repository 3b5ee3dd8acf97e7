// The Win32 key behind a root of a registry path.
#pragma once

#include "registry/registry_path.h"

#include <windows.h>

namespace quarnel {

// nullptr for RegistryRoot::None.
HKEY PredefinedKey(RegistryRoot root);

} // namespace quarnel
