// What happens to the registry after the Edit Device dialog was confirmed:
// the decisions of the save procedure, over a RegistryStore and without
// windows, so that they can be tested on their own.
#pragma once

#include <string>

#include "registry/catalog.h"
#include "registry/plugins.h"
#include "registry/store.h"

namespace veldra::config {

// The two questions and notices the save procedure puts to the user.
class SavePrompts {
 public:
  virtual ~SavePrompts() = default;
  // "Update Adapter %lu?"; true for Yes.
  virtual bool ConfirmUpdate(AdapterNumber number) = 0;
  // "Changes made will not take effect until ..." for a physical type.
  virtual void RestartNotice() = 0;
};

enum class SaveResult {
  ShowAgain,  // type not in the catalogue, or the update was declined
  Saved,      // the key was written (or its creation failed); refill the list
};

// One confirmed showing of the dialog: finds the type's row, resolves a clash
// with an existing key of the same number (asking first, then deleting it),
// names the key after the row's physical flag and writes the settings list,
// AdapterNumber and DeviceType into it.
SaveResult SaveEditedAdapter(RegistryStore& store, PluginLoader& loader, KeyHandle serviceKey,
                             const DeviceTypeCatalog& catalog, const std::string& typeName,
                             AdapterNumber number, const void* settings, SavePrompts& prompts);

// True when the subkey at `index` below the service key is still a device key
// of `number`: the list's item data is an enumeration index, and a key added
// or removed behind the program's back since the last refill shifts it.
bool ListedKeyStillMatches(RegistryStore& store, KeyHandle serviceKey, std::uint32_t index,
                           AdapterNumber number, std::string* name);

}  // namespace veldra::config
