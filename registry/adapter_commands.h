// The registry side of the adapter list's commands: New, opening a listed
// key for Edit, the save procedure after the Edit Device dialog was
// confirmed, and Delete (Close is ApplyServiceStartValues). No window code:
// the dialog keeps the list box and the message boxes, and asks the user
// through SavePrompts.
#pragma once

#include "registry/catalog.h"
#include "registry/plugins.h"
#include "registry/store.h"

namespace veldra {

// New: the lowest free number, when the catalogue has a type, gets an empty
// LogicalDevice key. The number, or kNoAdapterNumber when nothing was created.
AdapterNumber NewAdapter(RegistryStore& store, const Key& service);

// What became of a listed line's key. The list's item data is an enumeration
// index, and a key added or removed behind the program's back since the last
// refill shifts it: a line whose index no longer names a device key of the
// line's number is Stale, and the list is refilled instead of acting on
// some other key.
enum class Listed { Done, Failed, Stale };

// Edit: opens the key at `index` with full access into *device.
Listed OpenListedAdapter(const Key& service, std::uint32_t index, AdapterNumber number, Key* device);
// Delete: deletes the key at `index`.
Listed DeleteListedAdapter(const Key& service, std::uint32_t index, AdapterNumber number);

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
  Saved,      // the key was written in full; refill the list
  Failed,     // nothing was saved and the adapter's keys are as they were
};

// One confirmed showing of the dialog: finds the type's row, asks before it
// replaces an existing key of the same number, names the key after the row's
// physical flag and writes the settings list, AdapterNumber and DeviceType
// into it. The replaced key goes only once the new one is complete; a save
// that fails anywhere puts every key back as it was and says Failed.
SaveResult SaveEditedAdapter(PluginLoader& loader, const Key& service, const DeviceTypeCatalog& catalog,
                             const char* typeName, AdapterNumber number, const void* settings,
                             SavePrompts& prompts);

}  // namespace veldra
