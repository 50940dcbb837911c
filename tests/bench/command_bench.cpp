// Registry calls and wall time of config.exe's commands on a large service
// key: 101 adapters among 10,000 other subkeys, with the "VA85 Family"
// catalogue row. Each command runs the functions config.exe's adapter list
// calls for it (registry/adapter_commands.h):
//   New         NewAdapter, ListAdapters (the refill); the Edit dialog that
//               follows is "Edit (open)" below
//   Edit (open) OpenListedAdapter, ReadDeviceValues, LoadCatalog, ReadSettings
//   Edit (save) SaveEditedAdapter (same number: confirmed update, so the old
//               key is deleted and written anew), ListAdapters (the refill)
//   Close       ApplyServiceStartValues
// over the real registry (Win32RegistryStore on a scratch key) and the memory
// store, both behind a CountingRegistryStore. The plug-in is an in-process
// fake that hands out a three-value list: only the model's own calls count.
// Prints figures; not a pass/fail test.
//
//   command_bench [--quick] [--runs N]
//     --quick  10 adapters among 100 other subkeys, 3 runs (smoke run)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "registry/adapter_commands.h"
#include "registry/catalog.h"
#include "tests/support/counting_store.h"
#include "registry/device_keys.h"
#include "tests/support/memory_store.h"
#include "registry/plugins.h"
#include "registry/start_values.h"
#include "registry/win32_store.h"
#include "tests/bench/bench_util.h"
#include "tests/support/fake_plugins.h"
#include "tests/support/win_registry.h"

namespace {

using veldra::AdapterNumber;
using veldra::CountingRegistryStore;
using veldra::Key;
using veldra::RegistryStore;
using veldra::StoreOp;

constexpr char kTypeName[] = "VA85 Family";

// --- the fake plug-in -------------------------------------------------------

veldra_test::FakeLoader* g_loader = nullptr;

void* VELDRA_PLUGIN_CALL FakeReadRegValuesEx(veldra::KeyHandle, std::uint32_t adapterNumber) {
  return g_loader->heap.Alloc(veldra_test::ListBuilder()
                                  .Dword("NodeAddress", 10 + adapterNumber)
                                  .Dword("DataRate", 2)
                                  .Sz("Label", "bench")
                                  .End()
                                  .bytes());
}

class YesPrompts : public veldra::SavePrompts {
 public:
  bool ConfirmUpdate(AdapterNumber) override { return true; }
  void RestartNotice() override {}
};

// --- the service key ----------------------------------------------------------

void Populate(RegistryStore& store, std::uint32_t adapters, std::uint32_t others) {
  Key service = veldra::OpenServiceKey(store);
  for (std::uint32_t i = 0; i < others; ++i) {
    // Half sort before the device keys, half after them.
    char name[32];
    std::snprintf(name, sizeof name, "%s%05u", i % 2 == 0 ? "Aux" : "Zed", static_cast<unsigned>(i));
    Key k = service.Open(name, veldra::Access::All);
  }
  for (AdapterNumber n = 0; n < adapters; ++n) {
    Key k = service.Open(veldra::DeviceKeyName(n, n % 2 == 0).c_str(), veldra::Access::All);
    k.WriteDword("AdapterNumber", n);
    k.WriteString("DeviceType", kTypeName);
  }
  Key row = Key::Root(store).Open(
      (std::string(veldra::kCatalogPath) + veldra::kServiceName + "\\" + kTypeName).c_str(),
      veldra::Access::All);
  row.WriteString("ConfigDll", "C:\\bench\\FAKE.DLL");
  row.WriteString("ExecuteDll", "None");
  row.WriteDword("Physical", 1);
}

// --- measuring ----------------------------------------------------------------

struct Figure {
  std::uint64_t calls = 0;
  std::uint64_t counts[veldra::kStoreOpCount] = {};
  std::vector<double> ms;
};

// Runs `op` `runs` times (with `undo` uncounted and untimed after each);
// the call counts are those of the last run.
Figure Measure(CountingRegistryStore& counting, unsigned runs, const std::function<void()>& op,
               const std::function<void()>& undo) {
  Figure f;
  for (unsigned r = 0; r < runs; ++r) {
    counting.ResetCounts();
    f.ms.push_back(veldra_bench::TimeMs(op));
    f.calls = counting.Total();
    for (std::size_t i = 0; i < veldra::kStoreOpCount; ++i)
      f.counts[i] = counting.Count(static_cast<StoreOp>(i));
    if (undo) undo();
  }
  return f;
}

void Print(const char* command, const Figure& f) {
  static const char* const kOps[] = {"open",   "enum",  "query",  "set",    "delval",
                                     "delkey", "close", "expand", "enumval"};
  std::printf("  %-12s %7llu calls  median %9.3f ms   (", command, static_cast<unsigned long long>(f.calls),
              veldra_bench::Median(f.ms));
  bool first = true;
  for (std::size_t i = 0; i < veldra::kStoreOpCount; ++i) {
    if (f.counts[i] == 0) continue;
    std::printf("%s%s %llu", first ? "" : ", ", kOps[i], static_cast<unsigned long long>(f.counts[i]));
    first = false;
  }
  std::printf(")\n");
}

bool Bench(const char* label, RegistryStore& inner, std::uint32_t adapters, std::uint32_t others,
           unsigned runs) {
  Populate(inner, adapters, others);
  CountingRegistryStore store(inner);
  veldra_test::FakeLoader loader;
  loader.Add("C:\\bench\\FAKE.DLL", {{{"ReadRegValuesEx", reinterpret_cast<void*>(&FakeReadRegValuesEx)}}});
  g_loader = &loader;
  YesPrompts prompts;
  Key service = veldra::OpenServiceKey(store);
  // An even number in the middle: a physical key, as the save writes it anew.
  const AdapterNumber kEdited = (adapters / 2) & ~1u;
  std::printf("%s, %u adapters, %u other subkeys, %u runs:\n", label, static_cast<unsigned>(adapters),
              static_cast<unsigned>(others), runs);

  AdapterNumber created = veldra::kNoAdapterNumber;
  const Figure newFigure = Measure(
      store, runs,
      [&] {
        created = veldra::NewAdapter(store, service);
        if (created != veldra::kNoAdapterNumber) veldra::ListAdapters(service);
      },
      [&] {
        if (created != veldra::kNoAdapterNumber)
          service.DeleteSubkey(veldra::DeviceKeyName(created, false).c_str());
      });
  Print("New", newFigure);

  // Where the edited adapter's line points: its enumeration index.
  std::uint32_t index = 0;
  bool listed = false;
  for (const veldra::AdapterEntry& e : veldra::ListAdapters(service)) {
    if (e.number == kEdited) {
      index = e.index;
      listed = true;
    }
  }
  if (!listed) {
    std::printf("  adapter %u is not listed\n", static_cast<unsigned>(kEdited));
    return false;
  }

  bool ok = true;
  veldra::DeviceTypeCatalog catalog;
  void* settings = nullptr;
  Key deviceKey;
  const Figure openFigure = Measure(
      store, runs,
      [&] {
        if (veldra::OpenListedAdapter(service, index, kEdited, &deviceKey) != veldra::Listed::Done) {
          ok = false;
          return;
        }
        veldra::NameText typeName;
        AdapterNumber number = kEdited;
        veldra::ReadDeviceValues(deviceKey, &typeName, &number);
        catalog = veldra::LoadCatalog(store);
        settings = veldra::ReadSettings(store, loader, catalog, 0, number, settings);
      },
      [&] { deviceKey = Key(); });
  Print("Edit (open)", openFigure);
  if (!ok || settings == nullptr) {
    std::printf("  the edit dialog's reads failed\n");
    return false;
  }

  const Figure saveFigure = Measure(
      store, runs,
      [&] {
        if (veldra::SaveEditedAdapter(loader, service, catalog, kTypeName, kEdited, settings, prompts) !=
            veldra::SaveResult::Saved) {
          ok = false;
          return;
        }
        veldra::ListAdapters(service);
      },
      nullptr);
  Print("Edit (save)", saveFigure);
  veldra::ReleaseList(loader, settings);

  const Figure closeFigure = Measure(
      store, runs, [&] { veldra::ApplyServiceStartValues(store); }, nullptr);
  Print("Close", closeFigure);
  std::fflush(stdout);
  return ok;
}

constexpr char kScratch[] = "SOFTWARE\\VeldraCommandBench";

}  // namespace

int main(int argc, char** argv) {
  bool quick = false;
  unsigned runs = 20;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) quick = true;
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) runs = std::strtoul(argv[++i], nullptr, 10);
  }
  const std::uint32_t adapters = quick ? 10 : 101;
  const std::uint32_t others = quick ? 100 : 10000;
  if (quick) runs = 3;
  if (runs == 0) runs = 1;

  bool ok = true;
  veldra_test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kScratch);
  HKEY scratch = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch,
                      nullptr) != ERROR_SUCCESS) {
    std::printf("cannot create the scratch key\n");
    return 1;
  }
  {
    veldra::Win32RegistryStore real(scratch);
    ok = Bench("real registry (Win32RegistryStore)", real, adapters, others, runs) && ok;
  }
  RegCloseKey(scratch);
  veldra_test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kScratch);
  {
    veldra::MemoryRegistryStore memory;
    ok = Bench("memory (MemoryRegistryStore)", memory, adapters, others, runs) && ok;
  }
  return ok ? 0 : 1;
}
