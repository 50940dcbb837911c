// A fault sweep over the adapter list's commands: every store call each
// command makes is failed in turn, with each error the platform gives there,
// and what the command leaves behind is checked. Whatever fails, an adapter
// that was there before is either exactly as it was or the command said it
// succeeded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "registry/adapter_commands.h"
#include "tests/support/counting_store.h"
#include "registry/device_keys.h"
#include "tests/support/memory_store.h"
#include "registry/start_values.h"
#include "tests/unit/commands_kit.h"

namespace veldra {
namespace {

using veldra_test::ListBuilder;

// Names in the counting store's journal of calls of `op`; with `failedOnly`
// only those that failed.
std::vector<std::string> Journal(const CountingRegistryStore& store, StoreOp op, bool failedOnly = false) {
  std::vector<std::string> names;
  for (const auto& c : store.changes) {
    if (c.op == op && (!failedOnly || c.rc != kOk)) names.push_back(c.name);
  }
  return names;
}
bool Changed(const CountingRegistryStore& store) {
  return std::any_of(store.changes.begin(), store.changes.end(),
                     [](const CountingRegistryStore::Change& c) { return c.op != StoreOp::OpenOrCreate; });
}

// A driver with a physical adapter 0 (type VA85 Family, with a plug-in),
// a logical adapter 1, another subkey and one start value already set.
struct World {
  MemoryRegistryStore memory;
  CountingRegistryStore store{memory};
  FakeLoader loader;
  Prompts prompts;

  World() {
    memory.SetEnvironment("PlugDir", "C:\\plug");
    AddType(memory, "VA85 Family", 1, "%PlugDir%\\va85.dll");
    AddType(memory, "Virtual Node", 0);
    Key service = OpenServiceKey(memory);
    Key device = service.Open("Device0", Access::All);
    device.WriteDword("AdapterNumber", 0);
    device.WriteString("DeviceType", "VA85 Family");
    service.Open("LogicalDevice1", Access::All).WriteString("DeviceType", "Virtual Node");
    service.Open("Parameters", Access::All);
    service.WriteDword("Start", 3);
    loader.Add("C:\\plug\\va85.dll",
               veldra_test::FakeLibrary{{{"ReadRegValuesEx", reinterpret_cast<void*>(&ReadEx)}}});
    current = this;
  }
  ~World() { current = nullptr; }
  Key Service() { return OpenServiceKey(store); }
  bool Exists(const std::string& name) {
    const std::vector<std::string> names = Names(OpenServiceKey(memory));
    return std::find(names.begin(), names.end(), name) != names.end();
  }
  // Every device key with its values (names, types, bytes), read from the
  // memory store itself so that no injected fault touches it.
  std::string Adapters() {
    std::string out;
    Key service = OpenServiceKey(memory);
    for (const std::string& name : Names(service)) {
      if (!ScanDeviceKeyName(name.c_str()).isDeviceKey) continue;
      out += "[" + name + "]";
      Key device = service.Open(name.c_str(), Access::Read);
      char value[256];
      unsigned char data[256];
      for (std::uint32_t i = 0;; ++i) {
        std::uint32_t chars = sizeof value, type = 0, size = sizeof data;
        if (device.EnumValue(i, value, &chars, &type, data, &size) != kOk) break;
        out += " " + std::string(value) + ":" + std::to_string(type) + "=" +
               std::string(reinterpret_cast<char*>(data), size);
      }
    }
    return out;
  }
  std::uint32_t Dword(const char* key, const char* name) {
    std::uint32_t value = 0xDEADu;
    const std::string path = std::string(kServicesPath) + kServiceName + (*key != 0 ? "\\" : "") + key;
    Key::Root(memory).Open(path.c_str(), Access::Read).ReadDword(name, &value);
    return value;
  }

  static void* VELDRA_PLUGIN_CALL ReadEx(KeyHandle, std::uint32_t number) {
    return current->loader.heap.Alloc(
        ListBuilder().Dword("NodeAddress", 10 + number).Sz("Label", "x").End().bytes());
  }
  static World* current;
};
World* World::current = nullptr;

// One command as the dialog runs it, with what must hold afterwards however
// the failed call went. It returns whether it reported success, the only
// case in which it may have changed an adapter.
struct Command {
  const char* name;
  bool (*run)(World&);
  void (*prepare)(World&) = nullptr;  // changes the world before it is looked at
};

// After a failed write, nothing else of that write sequence may follow.
void ExpectNothingWrittenAfterAFailedWrite(const CountingRegistryStore& store) {
  bool failed = false;
  for (const CountingRegistryStore::Change& e : store.changes) {
    if (e.op != StoreOp::SetValue) continue;
    EXPECT_FALSE(failed) << "wrote " << e.name << " after a failed write";
    failed = failed || e.rc != kOk;
  }
}

// The save as the dialog runs it after OK. A dialog shown again has changed
// nothing; Saved means the key is written in full, the only key of its
// number, and the restart notice came after it for a physical type.
SaveResult Save(World& w, const char* type, AdapterNumber number, const void* list = nullptr) {
  const DeviceTypeCatalog catalog = LoadCatalog(w.store);
  const SaveResult result = SaveEditedAdapter(w.loader, w.Service(), catalog, type, number, list, w.prompts);
  if (result == SaveResult::ShowAgain) {
    EXPECT_FALSE(Changed(w.store));
  }
  // A Physical flag that could not be read is 0.
  const DeviceTypeRecord* row = FindDeviceType(catalog, type);
  const bool physical = row != nullptr && row->physical != 0;
  EXPECT_EQ(result == SaveResult::Saved && physical ? 1 : 0, w.prompts.notices);
  if (result != SaveResult::Saved) return result;
  const auto sets = Journal(w.store, StoreOp::SetValue);
  EXPECT_FALSE(sets.empty()) << "saved without writing";
  if (!sets.empty()) {
    EXPECT_EQ("DeviceType", sets.back());
  }
  EXPECT_EQ(number, w.Dword(DeviceKeyName(number, physical).c_str(), "AdapterNumber"));
  // A clash that was seen is resolved (one missed by an enumeration that
  // ended early, as only its end looks, is written like a free number).
  if (!w.prompts.asked.empty()) {
    EXPECT_FALSE(w.Exists(DeviceKeyName(number, !physical).c_str()));
  }
  return result;
}
bool Saves(World& w, const char* type, AdapterNumber number, const void* list = nullptr) {
  return Save(w, type, number, list) == SaveResult::Saved;
}

const Command kCommands[] = {
    {"New",
     [](World& w) {
       Key service = w.Service();
       const AdapterNumber number = NewAdapter(w.store, service);
       EXPECT_FALSE(Changed(w.store));
       // Without a catalogue or a placeholder nothing is created; else the
       // placeholder is there (its number may be taken when an enumeration
       // failed: then the save asks before it replaces anything).
       if (number == kNoAdapterNumber) {
         EXPECT_FALSE(w.Exists("LogicalDevice2"));
       } else {
         EXPECT_LE(number, 2u);
         EXPECT_TRUE(w.Exists(DeviceKeyName(number, false).c_str()));
       }
       return number != kNoAdapterNumber;
     }},
    {"Edit (open)",
     [](World& w) {
       Key service = w.Service();
       Key device;
       const Listed listed = OpenListedAdapter(service, 0, 0, &device);
       EXPECT_EQ(listed == Listed::Done, static_cast<bool>(device));
       if (!device) return false;
       veldra::NameText type = "Unknown";
       AdapterNumber number = 0;
       ReadDeviceValues(device, &type, &number);
       EXPECT_TRUE(type == "Unknown" || type == "VA85 Family") << type;
       EXPECT_EQ(0u, number);
       const DeviceTypeCatalog catalog = LoadCatalog(w.store);
       EXPECT_LE(catalog.count, 2u);
       if (!catalog.empty()) {
         EXPECT_EQ(catalog.count + 1, catalog.rows.size());
       }
       void* list = ReadSettings(w.store, w.loader, catalog, 0, number, nullptr);
       EXPECT_EQ(0, w.loader.loaded);
       EXPECT_FALSE(Changed(w.store));
       ReleaseList(w.loader, list);
       EXPECT_EQ(0u, w.loader.heap.Live());
       return false;
     }},
    {"Edit (save, free number)",
     [](World& w) {
       void* list = w.loader.heap.Alloc(ListBuilder().Dword("NodeAddress", 17).End().bytes());
       const bool saved = Saves(w, "Virtual Node", 5, list);
       // A failed save leaves no half-written key behind.
       EXPECT_EQ(saved, w.Exists("LogicalDevice5"));
       ReleaseList(w.loader, list);
       return saved;
     }},
    {"Edit (save, other kind with Yes)",
     [](World& w) {
       // LogicalDevice1 goes only after the question and after Device1 is complete.
       const bool saved = Saves(w, "VA85 Family", 1);
       if (!Journal(w.store, StoreOp::DeleteKey).empty()) {
         EXPECT_EQ(1u, w.prompts.asked.size());
       }
       return saved;
     }},
    {"Edit (save, same key with Yes)",
     [](World& w) {
       void* list = w.loader.heap.Alloc(ListBuilder().Dword("NodeAddress", 12).End().bytes());
       const bool saved = Saves(w, "VA85 Family", 0, list);
       // (A Physical flag that could not be read makes it LogicalDevice0.)
       if (saved && w.Exists("Device0")) {
         EXPECT_EQ(12u, w.Dword("Device0", "NodeAddress"));
       }
       ReleaseList(w.loader, list);
       return saved;
     }},
    {"Edit (save, update with No)",
     [](World& w) {
       w.prompts.answer = false;
       // A No changes nothing; a clash missed by an enumeration that ended
       // early, as only its end looks, is written like a free number.
       const SaveResult result = Save(w, "Virtual Node", 0);
       if (!w.prompts.asked.empty()) {
         EXPECT_EQ(SaveResult::ShowAgain, result);
       }
       EXPECT_TRUE(Journal(w.store, StoreOp::DeleteKey).empty());
       return result == SaveResult::Saved;
     }},
    {"Delete",
     [](World& w) {
       Key service = w.Service();
       const Listed listed = DeleteListedAdapter(service, 1, 1);
       EXPECT_TRUE(Journal(w.store, StoreOp::SetValue).empty());
       const auto deleted = Journal(w.store, StoreOp::DeleteKey);
       EXPECT_LE(deleted.size(), 1u);
       if (!deleted.empty()) {
         EXPECT_EQ("LogicalDevice1", deleted[0]);
       }
       EXPECT_EQ(listed == Listed::Done, !w.Exists("LogicalDevice1"));
       EXPECT_TRUE(w.Exists("Device0"));
       return listed == Listed::Done;
     }},
    {"Close (physical adapter)",
     [](World& w) {
       ApplyServiceStartValues(w.store);
       EXPECT_TRUE(Journal(w.store, StoreOp::DeleteKey).empty());
       // Every missing value is attempted whatever became of the others;
       // the one already there is kept unless asking for it failed.
       const auto sets = Journal(w.store, StoreOp::SetValue);
       if (!sets.empty() && Journal(w.store, StoreOp::DeleteValue).empty()) {
         EXPECT_GE(sets.size(), 4u);
         if (std::find(sets.begin(), sets.end(), "Start") == sets.end()) {
           EXPECT_EQ(3u, w.Dword("", "Start"));
         }
       }
       return false;
     }},
    {"Close (no physical adapter)",
     [](World& w) {
       ApplyServiceStartValues(w.store);
       EXPECT_TRUE(Journal(w.store, StoreOp::SetValue).empty());
       const auto deletes = Journal(w.store, StoreOp::DeleteValue);
       EXPECT_TRUE(deletes.empty() || deletes.size() == 5u) << deletes.size();
       return false;
     },
     [](World& w) { OpenServiceKey(w.memory).DeleteSubkey("Device0"); }},
    {"Catalogue load",
     [](World& w) {
       const DeviceTypeCatalog catalog = LoadCatalog(w.store);
       EXPECT_FALSE(Changed(w.store));
       if (catalog.empty()) return false;
       const DeviceTypeRecord* va85 = FindDeviceType(catalog, "VA85 Family");
       // A path that could not be read or expanded is no plug-in at all.
       if (va85 != nullptr) {
         EXPECT_TRUE(std::string(va85->configDll) == "C:\\plug\\va85.dll" ||
                     std::string(va85->configDll) == "None")
             << va85->configDll;
       }
       EXPECT_EQ(1, std::count_if(catalog.rows.begin(), catalog.rows.end(), [](const DeviceTypeRecord& row) {
                   return std::string(row.name) == "Unknown";
                 }));
       return false;
     }},
    {"Plug-in settings (read, write)",
     [](World& w) {
       const DeviceTypeCatalog catalog = LoadCatalog(w.memory);
       void* list = ReadSettings(w.store, w.loader, catalog, 0, 0, nullptr);
       Key device = OpenServiceKey(w.store).Open("Device0", Access::All);
       const bool written = WriteDeviceValues(w.loader, device, list, 0, "VA85 Family");
       ExpectNothingWrittenAfterAFailedWrite(w.store);
       EXPECT_EQ(written, device && Journal(w.store, StoreOp::SetValue, true).empty());
       if (list != nullptr && written) {
         EXPECT_EQ(10u, w.Dword("Device0", "NodeAddress"));
       }
       ReleaseList(w.loader, list);
       EXPECT_EQ(0u, w.loader.heap.Live());
       // On its own it stops at the failed write; putting back is the save's part.
       return true;
     }},
};

// The errors the platform gives for each call, in the order of StoreOp (a
// failed expansion is 0; nobody looks at a close's result).
const std::vector<long> kErrors[kStoreOpCount] = {
    {kErrAccessDenied, kErrFileNotFound},                // OpenOrCreate
    {kErrAccessDenied, kErrMoreData, kErrNoMoreItems},   // EnumKey
    {kErrAccessDenied, kErrFileNotFound, kErrMoreData},  // QueryValue
    {kErrAccessDenied},                                  // SetValue
    {kErrAccessDenied, kErrFileNotFound},                // DeleteValue
    {kErrAccessDenied, kErrFileNotFound},                // DeleteKey
    {},                                                  // Close
    {0},                                                 // Expand
    {kErrAccessDenied, kErrMoreData, kErrNoMoreItems},   // EnumValue
};

TEST(FaultSweep, EveryCommandSurvivesEachFailedStoreCall) {
  std::size_t pairs = 0;
  std::size_t runs = 0;
  for (const Command& command : kCommands) {
    std::uint64_t calls[kStoreOpCount] = {};
    {
      World clean;
      if (command.prepare != nullptr) command.prepare(clean);
      command.run(clean);
      for (std::size_t op = 0; op < kStoreOpCount; ++op)
        calls[op] = clean.store.Count(static_cast<StoreOp>(op));
      EXPECT_EQ(0u, clean.memory.OpenHandleCount()) << command.name;
    }
    for (std::size_t op = 0; op < kStoreOpCount; ++op) {
      const std::vector<long>& errors = kErrors[op];
      for (std::uint64_t nth = 1; nth <= calls[op] && !errors.empty(); ++nth) {
        ++pairs;
        for (long error : errors) {
          SCOPED_TRACE(std::string(command.name) + ", call " + std::to_string(nth) + " of op " +
                       std::to_string(op) + " fails with " + std::to_string(error));
          World w;
          if (command.prepare != nullptr) command.prepare(w);
          const std::string before = w.Adapters();
          w.store.FailCall(static_cast<StoreOp>(op), nth, error);
          if (!command.run(w)) {
            EXPECT_EQ(before, w.Adapters()) << "an adapter changed, yet the command reported no success";
          }
          EXPECT_EQ(0u, w.memory.OpenHandleCount()) << "handles left open";
          ++runs;
        }
      }
    }
  }
  std::printf("fault sweep: %zu (command, failed call) pairs, %zu runs with each error\n", pairs, runs);
  EXPECT_GT(pairs, 0u);
}

}  // namespace
}  // namespace veldra
