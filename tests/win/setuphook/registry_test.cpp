// ModifyRegistry against the registry. HKEY_LOCAL_MACHINE is redirected to a
// scratch key of this process, so the tests neither need nor disturb the
// prefix's machine keys.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <cstring>

#include "env.h"
#include "tests/support/win_registry.h"

using hooktest::CallResult;
using hooktest::TheEnv;

namespace {

const char kService[] = "SYSTEM\\CurrentControlSet\\Services\\VELDRA";
const char kDriverLog[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VELDRA";
const char kPerformance[] = "SYSTEM\\CurrentControlSet\\Services\\VELDRA\\Performance";
const char kLibraryLog[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\VdrCtrs";
const char kCatalogRow[] = "SOFTWARE\\Tervalon\\Logical Devices\\VELDRA\\VA85 Family";
const char kScratch[] = "Software\\HookTestMachine";

using veldra_test::KeyExists;
using veldra_test::ValueExists;
std::string Dword(DWORD v) { return veldra_test::DwordBytes(v); }
std::string Sz(const char* s) { return veldra_test::SzBytes(s); }
std::string Bytes(const char* key, const char* name) {
  DWORD type = 0;
  std::string bytes;
  return veldra_test::ReadRaw(key, name, &type, &bytes) ? bytes : "";
}

::testing::AssertionResult HasValue(const char* key, const char* name, DWORD type, const std::string& data) {
  DWORD found = 0;
  std::string bytes;
  if (!veldra_test::ReadRaw(key, name, &found, &bytes))
    return ::testing::AssertionFailure() << key << " " << name << " is missing";
  if (found != type) return ::testing::AssertionFailure() << key << " " << name << " has type " << found;
  if (bytes != data) {
    return ::testing::AssertionFailure()
           << key << " " << name << " holds " << bytes.size() << " bytes \"" << bytes << "\"";
  }
  return ::testing::AssertionSuccess();
}

void ExpectDriverKeys() {
  EXPECT_TRUE(HasValue(kService, "Type", REG_DWORD, Dword(1)));
  EXPECT_TRUE(HasValue(kService, "Start", REG_DWORD, Dword(2)));
  EXPECT_TRUE(HasValue(kService, "ErrorControl", REG_DWORD, Dword(1)));
  EXPECT_TRUE(HasValue(kService, "Group", REG_SZ, Sz("Extended Base")));
  EXPECT_TRUE(HasValue(kService, "LogVersion", REG_DWORD, Dword(0)));
  EXPECT_TRUE(
      HasValue(kDriverLog, "EventMessageFile", REG_EXPAND_SZ,
               Sz("%SystemRoot%\\System32\\IoLogMsg.dll;%SystemRoot%\\System32\\Drivers\\VELDRA.SYS")));
  EXPECT_TRUE(HasValue(kDriverLog, "TypesSupported", REG_DWORD, Dword(7)));
  EXPECT_TRUE(HasValue(kPerformance, "Library", REG_SZ, Sz("vdrctrs.dll")));
  EXPECT_TRUE(HasValue(kPerformance, "Open", REG_SZ, Sz("OpenVdrPerformanceData")));
  EXPECT_TRUE(HasValue(kPerformance, "Collect", REG_SZ, Sz("CollectVdrPerformanceData")));
  EXPECT_TRUE(HasValue(kPerformance, "Close", REG_SZ, Sz("CloseVdrPerformanceData")));
  EXPECT_TRUE(
      HasValue(kLibraryLog, "EventMessageFile", REG_EXPAND_SZ, Sz("%SystemRoot%\\System32\\vdrctrs.dll")));
  EXPECT_TRUE(HasValue(kLibraryLog, "TypesSupported", REG_DWORD, Dword(7)));
}

void ExpectCatalogRow(const char* configDll) {
  EXPECT_TRUE(HasValue(kCatalogRow, "ConfigDll", REG_SZ, Sz(configDll)));
  EXPECT_TRUE(HasValue(kCatalogRow, "ExecuteDll", REG_SZ, Sz("None")));
  EXPECT_TRUE(HasValue(kCatalogRow, "Physical", REG_DWORD, Dword(1)));
}

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.redirected()); }
  CallResult Modify(const std::string& dir, const hooktest::HookLibrary* lib = nullptr) {
    return (lib != nullptr ? lib : TheEnv().shipped)->Call("ModifyRegistry", {dir});
  }

  veldra_test::ScratchMachine scratch_{kScratch};
  hooktest::PlatformGuard guard_;
};

TEST_F(Registry, WritesEveryValueAndLeavesOthersAlone) {
  // What config keeps in an existing service key: an adapter and a value of its own.
  ASSERT_TRUE(veldra_test::SetDword(kService, "Start", 3));
  ASSERT_TRUE(veldra_test::SetString(kService, "Extra", "kept"));
  ASSERT_TRUE(veldra_test::SetDword(std::string(kService) + "\\Device0", "AdapterNumber", 7));
  ASSERT_TRUE(veldra_test::SetString(kCatalogRow, "Note", "row note"));
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(hooktest::Answer(Modify("D:\\ZOVORO")), "Success");
    ExpectDriverKeys();
    ExpectCatalogRow("D:\\ZOVORO\\VDREDTSA.DLL");
    EXPECT_TRUE(HasValue(kService, "Extra", REG_SZ, Sz("kept")));
    EXPECT_TRUE(
        HasValue((std::string(kService) + "\\Device0").c_str(), "AdapterNumber", REG_DWORD, Dword(7)));
    EXPECT_TRUE(HasValue(kCatalogRow, "Note", REG_SZ, Sz("row note")));
  }
}

TEST_F(Registry, DirectoryIsWrittenAsItStands) {
  EXPECT_EQ(Modify("D:\\ZOVORO\\").text, "Success");
  ExpectCatalogRow("D:\\ZOVORO\\\\VDREDTSA.DLL");
}

TEST_F(Registry, DirectoryTooLongForTheCatalogueIsRefused) {
  const std::string longest = "C:\\" + std::string(111, 'd');
  ASSERT_EQ(longest.size(), 114u);
  EXPECT_EQ(Modify(longest).text, "Success");
  ExpectCatalogRow((longest + "\\VDREDTSA.DLL").c_str());
  EXPECT_EQ(Bytes(kCatalogRow, "ConfigDll").size(), 128u);

  SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE");
  EXPECT_EQ(hooktest::Answer(Modify(longest + "x")), "Cancel");
  // No row at all rather than a cut path or one without its plug-in.
  EXPECT_FALSE(KeyExists(kCatalogRow));
  ExpectDriverKeys();
}

TEST_F(Registry, WrongCountWritesNothing) {
  for (DWORD count : {0u, 2u}) {
    const CallResult r = TheEnv().shipped->CallWithCount("ModifyRegistry", count, {"D:\\ZOVORO", "x"});
    EXPECT_EQ(r.flag, FALSE);
    EXPECT_EQ(r.text, "Invalid number of paramters");
  }
  EXPECT_FALSE(KeyExists("SYSTEM"));
  EXPECT_FALSE(KeyExists("SOFTWARE"));
}

// The fault seam: keys whose path is listed here cannot be opened, values
// whose name is listed cannot be written.
struct Faults {
  static std::vector<std::string> keys;
  static std::vector<std::string> values;
  static int opened;
  static int closed;
  static LONG WINAPI Create(HKEY root, LPCSTR path, DWORD reserved, LPSTR cls, DWORD options, REGSAM sam,
                            LPSECURITY_ATTRIBUTES sa, PHKEY key, LPDWORD disposition) {
    for (const std::string& k : keys) {
      if (lstrcmpiA(k.c_str(), path) == 0) return ERROR_ACCESS_DENIED;
    }
    if (lstrcmpA(cls, "REG_NONE") != 0 || options != REG_OPTION_NON_VOLATILE || sam != KEY_ALL_ACCESS ||
        root != HKEY_LOCAL_MACHINE) {
      return ERROR_INVALID_PARAMETER;
    }
    const LONG rc = TheEnv().real.createKey(root, path, reserved, cls, options, sam, sa, key, disposition);
    if (rc == ERROR_SUCCESS) ++opened;
    return rc;
  }
  static LONG WINAPI Set(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    for (const std::string& v : values) {
      if (lstrcmpiA(v.c_str(), name) == 0) return ERROR_ACCESS_DENIED;
    }
    return TheEnv().real.setValue(key, name, reserved, type, data, size);
  }
  static LONG WINAPI Close(HKEY key) {
    ++closed;
    return TheEnv().real.closeKey(key);
  }
  static void Install(std::vector<std::string> failKeys, std::vector<std::string> failValues) {
    keys = std::move(failKeys);
    values = std::move(failValues);
    opened = closed = 0;
    TheEnv().platform->createKey = Create;
    TheEnv().platform->setValue = Set;
    TheEnv().platform->closeKey = Close;
  }
};
std::vector<std::string> Faults::keys;
std::vector<std::string> Faults::values;
int Faults::opened;
int Faults::closed;

TEST_F(Registry, CatalogueRowIsWrittenWhenTheServiceKeyCannotBeOpened) {
  Faults::Install({kService}, {});
  EXPECT_EQ(hooktest::Answer(Modify("D:\\ZOVORO", TheEnv().seam)), "Success");
  EXPECT_FALSE(KeyExists(kDriverLog));
  EXPECT_FALSE(KeyExists(kPerformance));
  EXPECT_FALSE(KeyExists(kLibraryLog));
  ExpectCatalogRow("D:\\ZOVORO\\VDREDTSA.DLL");
  EXPECT_EQ(Faults::opened, 1);
  EXPECT_EQ(Faults::closed, Faults::opened);
}

TEST_F(Registry, AFailedWriteStopsTheChainButNotTheStep) {
  // TypesSupported fails in step 2 (and step 4, which must not even run).
  Faults::Install({}, {"TypesSupported"});
  EXPECT_EQ(Modify("D:\\ZOVORO", TheEnv().seam).text, "Success");
  EXPECT_TRUE(HasValue(kService, "LogVersion", REG_DWORD, Dword(0)));
  // The other value of the step was still written.
  EXPECT_TRUE(ValueExists(kDriverLog, "EventMessageFile"));
  EXPECT_FALSE(KeyExists(kPerformance));
  EXPECT_FALSE(KeyExists(kLibraryLog));
  ExpectCatalogRow("D:\\ZOVORO\\VDREDTSA.DLL");
  EXPECT_EQ(Faults::closed, Faults::opened);
}

TEST_F(Registry, EveryWriteOfAStepIsAttemptedAfterAnEarlierOneFailed) {
  // The first value of step 1 fails: the step's other four are still written.
  Faults::Install({}, {"Type"});
  EXPECT_EQ(Modify("D:\\ZOVORO", TheEnv().seam).text, "Success");
  EXPECT_FALSE(ValueExists(kService, "Type"));
  EXPECT_TRUE(HasValue(kService, "Start", REG_DWORD, Dword(2)));
  EXPECT_TRUE(HasValue(kService, "ErrorControl", REG_DWORD, Dword(1)));
  EXPECT_TRUE(HasValue(kService, "Group", REG_SZ, Sz("Extended Base")));
  EXPECT_TRUE(HasValue(kService, "LogVersion", REG_DWORD, Dword(0)));
  EXPECT_FALSE(KeyExists(kDriverLog));

  // The first value of step 3 fails: the entry points are still written, step 4 is skipped.
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SYSTEM");
  Faults::Install({}, {"Library"});
  EXPECT_EQ(Modify("D:\\ZOVORO", TheEnv().seam).text, "Success");
  EXPECT_FALSE(ValueExists(kPerformance, "Library"));
  EXPECT_TRUE(HasValue(kPerformance, "Open", REG_SZ, Sz("OpenVdrPerformanceData")));
  EXPECT_TRUE(HasValue(kPerformance, "Collect", REG_SZ, Sz("CollectVdrPerformanceData")));
  EXPECT_TRUE(HasValue(kPerformance, "Close", REG_SZ, Sz("CloseVdrPerformanceData")));
  EXPECT_FALSE(KeyExists(kLibraryLog));
  EXPECT_EQ(Faults::closed, Faults::opened);
}

TEST_F(Registry, Step4OutcomeDoesNotMatterButStep5Does) {
  Faults::Install({kLibraryLog}, {});
  EXPECT_EQ(Modify("D:\\ZOVORO", TheEnv().seam).text, "Success");
  EXPECT_TRUE(ValueExists(kPerformance, "Close"));

  Faults::Install({}, {"ConfigDll"});
  EXPECT_EQ(hooktest::Answer(Modify("D:\\ZOVORO", TheEnv().seam)), "Cancel");
  // The row's other values were still attempted.
  EXPECT_TRUE(HasValue(kCatalogRow, "Physical", REG_DWORD, Dword(1)));

  Faults::Install({kCatalogRow}, {});
  EXPECT_EQ(hooktest::Answer(Modify("D:\\ZOVORO", TheEnv().seam)), "Cancel");
  // Nothing already written is rolled back.
  ExpectDriverKeys();
  EXPECT_EQ(Faults::closed, Faults::opened);
}

}  // namespace
