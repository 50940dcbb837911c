// Registry calls and wall time of the device-key operations for a service key
// with 0, 10 and 101 adapters among 0, 1,000 and 10,000 other subkeys, next
// to what the naive definition of LowestFreeNumber (one FindDeviceKey pass
// per candidate number) costs. Prints figures; the exit code only says
// whether both ways of finding the lowest free number agreed.
//
//   registry_bench [--quick] [--memory]
//     --quick   tiny sizes (smoke run)
//     --memory  Windows build: also measure the memory store
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/counting_store.h"
#include "registry/device_keys.h"
#include "tests/support/memory_store.h"
#include "tests/bench/bench_util.h"
#ifdef _WIN32
#include "registry/win32_store.h"
#include "tests/support/win_registry.h"
#endif

namespace {

using veldra::AdapterNumber;
using veldra::CountingRegistryStore;
using veldra::Key;
using veldra::RegistryStore;
using veldra::StoreOp;

struct Measure {
  std::uint64_t calls = 0;
  std::uint64_t enumCalls = 0;
  double ms = 0;
};

Measure Run(CountingRegistryStore& counting, const std::function<void()>& op) {
  counting.ResetCounts();
  Measure m;
  m.ms = veldra_bench::TimeMs(op);
  m.calls = counting.Total();
  m.enumCalls = counting.Count(StoreOp::EnumKey);
  return m;
}

std::string OtherName(std::uint32_t i) {
  // Half sort before the device keys, half after them.
  char name[32];
  std::snprintf(name, sizeof name, "%s%05u", i % 2 == 0 ? "Aux" : "Zed", static_cast<unsigned>(i));
  return name;
}

// Brings the service key to `adapters` device keys (numbers 0.. alternating
// Device and LogicalDevice) and `others` other subkeys.
void Populate(const Key& service, std::uint32_t* adapters, std::uint32_t wantAdapters, std::uint32_t* others,
              std::uint32_t wantOthers) {
  while (*others < wantOthers) {
    Key k = service.Open(OtherName((*others)++).c_str(), veldra::Access::All);
  }
  while (*adapters > wantAdapters) {
    --*adapters;
    service.DeleteSubkey(veldra::DeviceKeyName(*adapters, *adapters % 2 == 0).c_str());
  }
  while (*adapters < wantAdapters) {
    Key k = service.Open(veldra::DeviceKeyName(*adapters, *adapters % 2 == 0).c_str(), veldra::Access::All);
    ++*adapters;
  }
}

bool Bench(const char* label, RegistryStore& store, bool quick) {
  const std::vector<std::uint32_t> adapterCounts =
      quick ? std::vector<std::uint32_t>{0, 3} : std::vector<std::uint32_t>{0, 10, 101};
  const std::vector<std::uint32_t> otherCounts =
      quick ? std::vector<std::uint32_t>{0, 20} : std::vector<std::uint32_t>{0, 1000, 10000};
  CountingRegistryStore counting(store);
  Key service = veldra::OpenServiceKey(store);
  const Key counted = Key::Borrow(counting, service.get());
  if (!service) {
    std::printf("%s: cannot open the service key\n", label);
    return false;
  }
  std::printf("\n%s store\n\n", label);
  std::printf(
      "| adapters | other subkeys | LowestFreeNumber calls | ms | naive definition calls | ms | ListAdapters "
      "calls | ms | FindDeviceKey calls | ms |\n");
  std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  bool agreed = true;
  std::uint32_t adapters = 0;
  std::uint32_t others = 0;
  for (std::uint32_t wantOthers : otherCounts) {
    for (std::uint32_t wantAdapters : adapterCounts) {
      Populate(service, &adapters, wantAdapters, &others, wantOthers);
      AdapterNumber fast = 0;
      AdapterNumber naive = 0;
      const Measure lowest = Run(counting, [&] { fast = veldra::LowestFreeNumber(counted); });
      const Measure definition = Run(counting, [&] {
        while (veldra::FindDeviceKey(counted, naive, nullptr)) ++naive;
      });
      std::size_t listed = 0;
      const Measure list = Run(counting, [&] { listed = veldra::ListAdapters(counted).size(); });
      const Measure find = Run(counting, [&] { veldra::FindDeviceKey(counted, wantAdapters / 2, nullptr); });
      std::printf("| %u | %u | %llu | %.3f | %llu | %.3f | %llu | %.3f | %llu | %.3f |\n",
                  static_cast<unsigned>(wantAdapters), static_cast<unsigned>(wantOthers),
                  static_cast<unsigned long long>(lowest.calls), lowest.ms,
                  static_cast<unsigned long long>(definition.calls), definition.ms,
                  static_cast<unsigned long long>(list.calls), list.ms,
                  static_cast<unsigned long long>(find.calls), find.ms);
      if (fast != naive || fast != wantAdapters || listed != wantAdapters) {
        std::printf("MISMATCH: one pass %u, definition %u, listed %u, expected %u\n",
                    static_cast<unsigned>(fast), static_cast<unsigned>(naive), static_cast<unsigned>(listed),
                    static_cast<unsigned>(wantAdapters));
        agreed = false;
      }
    }
  }
  std::fflush(stdout);
  return agreed;
}

#ifdef _WIN32
constexpr char kScratch[] = "SOFTWARE\\VeldraRegistryBench";

bool BenchRealRegistry(bool quick) {
  veldra_test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kScratch);
  HKEY scratch = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch,
                      nullptr) != ERROR_SUCCESS) {
    std::printf("cannot create the scratch key\n");
    return false;
  }
  bool ok;
  {
    veldra::Win32RegistryStore store(scratch);
    ok = Bench("real registry (Win32RegistryStore)", store, quick);
  }
  RegCloseKey(scratch);
  veldra_test::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kScratch);
  return ok;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  bool quick = false;
  bool memory = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--quick") == 0) quick = true;
    if (std::strcmp(argv[i], "--memory") == 0) memory = true;
  }
  std::printf("Store calls (all operations) and wall time per call of each operation.\n");
  bool ok = true;
#ifdef _WIN32
  ok = BenchRealRegistry(quick) && ok;
#else
  memory = true;
#endif
  if (memory) {
    veldra::MemoryRegistryStore store;
    ok = Bench("memory (MemoryRegistryStore)", store, quick) && ok;
  }
  return ok ? 0 : 1;
}
