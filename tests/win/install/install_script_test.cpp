// install.cmd and uninstall.cmd of the unpacked zip, run by the prefix's own
// cmd the way an administrator runs them, checked through the registry and
// the files they leave.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/resource.h"
#include "driver.h"
#include "tests/support/win_registry.h"

using namespace cfgtest;
using namespace veldra_test;

namespace {

constexpr char kServiceKey[] = "SYSTEM\\CurrentControlSet\\Services\\VELDRA";

const char kRow[] = "SOFTWARE\\Tervalon\\Logical Devices\\VELDRA\\VA85 Family";
const char kSystemSource[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VELDRA";
const char kCountersSource[] = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\VdrCtrs";
const char kInstallDir[] = "C:\\Program Files\\ZOVORO Test";

std::string Package() { return WinPath(PACKAGE_DIR); }
std::string Scratch() { return WinPath(SCRATCH_DIR); }

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// One run of a script through cmd, its standard input read from a file.
class Script {
 public:
  bool Start(const std::string& script, const std::string& args, const std::string& answers = "",
             const char* workDir = nullptr) {
    const std::string in = Scratch() + "\\stdin.txt";
    out_ = Scratch() + "\\stdout.txt";
    std::ofstream(in, std::ios::binary) << answers;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE input =
        CreateFileA(in.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    HANDLE output = CreateFileA(out_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = input;
    si.hStdOutput = output;
    si.hStdError = output;
    std::string commandLine = "cmd.exe /c \"\"" + script + "\" " + args + "\"";
    const BOOL started =
        CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, workDir, &si, &info_);
    CloseHandle(input);
    CloseHandle(output);
    if (!started) return false;
    CloseHandle(info_.hThread);
    return true;
  }
  // The exit status, or -1 when the script did not end in time.
  int Finish() {
    if (WaitForSingleObject(info_.hProcess, 120000) != WAIT_OBJECT_0) {
      TerminateProcess(info_.hProcess, 99);
      CloseHandle(info_.hProcess);
      return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    CloseHandle(info_.hProcess);
    output_ = ReadFile(out_);
    return static_cast<int>(code);
  }
  const std::string& output() const { return output_; }
  std::string LastLine() const {
    std::string text = output_;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const std::size_t at = text.find_last_of('\n');
    return at == std::string::npos ? text : text.substr(at + 1);
  }

 private:
  PROCESS_INFORMATION info_ = {};
  std::string out_, output_;
};

// The exit status of a whole run; the run itself in *script for its output.
int RunScript(Script* script, const std::string& name, const std::string& args,
              const std::string& input = "") {
  if (!script->Start(name, args, input)) return -2;
  return script->Finish();
}
// Programs of the package's own width: a 64-bit prefix's cmd is 64-bit.
std::string DefaultDir() { return std::string(std::getenv("ProgramFiles")) + "\\ZOVORO"; }
std::string System32(const char* file) {
  char dir[MAX_PATH];
  GetSystemDirectoryA(dir, sizeof dir);
  return std::string(dir) + "\\" + file;
}
std::string BackupDir() { return std::string(std::getenv("ProgramData")) + "\\ZOVORO\\backups"; }

// Puts a file of the prefix's system directory out of the way while it lives.
class Hidden {
 public:
  explicit Hidden(const char* file) : path_(System32(file)) {
    MoveFileA(path_.c_str(), (path_ + ".hidden").c_str());
  }
  ~Hidden() { MoveFileA((path_ + ".hidden").c_str(), path_.c_str()); }

 private:
  std::string path_;
};

// The files of a directory, to see that a run left it as it was. Wine's cmd
// carries pipes and FOR /F output through files CMDxxxx.tmp of its own (and
// leaves some behind), where Windows' cmd uses anonymous pipes: those are
// not the scripts' and are left out.
std::vector<std::string> Listing(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    const bool wineCmd =
        name.size() > 7 && name.compare(0, 3, "CMD") == 0 && name.compare(name.size() - 4, 4, ".tmp") == 0;
    if (!wineCmd && name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}
std::string Install() { return Package() + "\\install.cmd"; }
std::string Uninstall() { return Package() + "\\uninstall.cmd"; }

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string ConfigDll() {
  std::string value;
  ReadString(kRow, "ConfigDll", &value);
  return value;
}

std::uint32_t Dword(const std::string& key, const char* name) {
  std::uint32_t value = 0xFFFFFFFF;
  ReadDword(key, name, &value);
  return value;
}

void RemoveInstalledTree(const std::string& dir) {
  const std::string pictures = dir + "\\docs\\screenshots";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((pictures + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      DeleteFileA((pictures + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  for (const char* f :
       {"config.exe", "VDREDTSA.DLL", "uninstall.cmd", "docs\\admin-guide.md", "notes.txt", "helper.dll"}) {
    DeleteFileA((dir + "\\" + f).c_str());
  }
  RemoveDirectoryA(pictures.c_str());
  RemoveDirectoryA((dir + "\\docs").c_str());
  RemoveDirectoryA(dir.c_str());
}

// Wine's icacls and cacls change nothing; the stand-ins record what the
// scripts ask of them, and fail when told to.
class InstallScript : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const char* tool : {"icacls.exe", "cacls.exe"}) {
      if (!FileExists(System32(tool) + ".wine"))
        MoveFileA(System32(tool).c_str(), (System32(tool) + ".wine").c_str());
      CopyFileA(WinPath(RECORDER_EXE).c_str(), System32(tool).c_str(), FALSE);
    }
    // Wine takes its own programs over a native copy unless told otherwise.
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
      for (const char* tool : {"icacls.exe", "cacls.exe"})
        RegSetValueExA(key, tool, 0, REG_SZ, reinterpret_cast<const BYTE*>("native"), 7);
      RegCloseKey(key);
    }
  }
  static void TearDownTestSuite() {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, KEY_ALL_ACCESS, &key);
    for (const char* tool : {"icacls.exe", "cacls.exe"}) {
      DeleteFileA(System32(tool).c_str());
      MoveFileA((System32(tool) + ".wine").c_str(), System32(tool).c_str());
      if (key != nullptr) RegDeleteValueA(key, tool);
    }
    if (key != nullptr) RegCloseKey(key);
  }
  void SetUp() override {
    for (const char* key : {kServiceKey, "SOFTWARE\\Tervalon", kSystemSource, kCountersSource})
      DeleteTree(key);
    RemoveInstalledTree(kInstallDir);
    RemoveInstalledTree(DefaultDir());
    for (const std::string& name : Listing(BackupDir())) DeleteFileA((BackupDir() + "\\" + name).c_str());
    record_ = Scratch() + "\\acl-record.txt";
    DeleteFileA(record_.c_str());
    SetEnvironmentVariableA("VELDRA_RECORD", record_.c_str());
    SetEnvironmentVariableA("VELDRA_RECORD_STATUS", nullptr);
  }
  void TearDown() override { SetUp(); }

  // The stand-ins' command lines so far, one a line.
  std::string Recorded() const { return ReadFile(record_); }

  std::string record_;

  // What a successful installation into `dir` leaves.
  void ExpectInstalled(const std::string& dir, const std::string& configDll) {
    for (const char* f : {"config.exe", "VDREDTSA.DLL", "uninstall.cmd", "docs\\admin-guide.md",
                          "docs\\screenshots\\setup-destination.png"}) {
      EXPECT_TRUE(FileExists(dir + "\\" + f)) << f;
    }
    EXPECT_EQ(ConfigDll(), configDll);
    EXPECT_EQ(Dword(kServiceKey, "Start"), 2u);
    EXPECT_TRUE(KeyExists(kSystemSource));
    EXPECT_TRUE(KeyExists(kCountersSource));
  }
};

TEST_F(InstallScript, QuietInstallIntoAPathWithBlanksRepairsAndKeepsAdapters) {
  Script first;
  ASSERT_EQ(RunScript(&first, Install(), std::string("/quiet \"") + kInstallDir + "\""), 3010)
      << first.output();
  ExpectInstalled(kInstallDir, std::string(kInstallDir) + "\\VDREDTSA.DLL");
  EXPECT_TRUE(Contains(first.LastLine(), "installed the ZOVORO Library into C:\\Program Files\\ZOVORO Test"))
      << first.LastLine();
  // The directory is locked down before anything is copied into it.
  const std::string record = Recorded();
  for (const char* part : {"icacls.exe\" \"C:\\Program Files\\ZOVORO Test\" /reset /t /c /q",
                           "/inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F "
                           "*S-1-5-32-545:(OI)(CI)RX",
                           "/setowner *S-1-5-32-544 /t /c /q"})
    EXPECT_TRUE(Contains(record, part)) << part << "\n" << record;

  // An adapter, a foreign value and a changed value before the second run.
  const std::string adapter = std::string(kServiceKey) + "\\Device3";
  ASSERT_TRUE(SetDword(adapter, "AdapterNumber", 3));
  ASSERT_TRUE(SetString(kServiceKey, "DisplayName", "kept"));
  ASSERT_TRUE(SetDword(kServiceKey, "Start", 4));
  DeleteFileA((std::string(kInstallDir) + "\\config.exe").c_str());
  Script again;
  ASSERT_EQ(RunScript(&again, Install(), std::string("/QUIET \"") + kInstallDir + "\\\""), 3010)
      << again.output();
  ExpectInstalled(kInstallDir, std::string(kInstallDir) + "\\VDREDTSA.DLL");
  EXPECT_EQ(Dword(adapter, "AdapterNumber"), 3u);
  std::string kept;
  EXPECT_TRUE(ReadString(kServiceKey, "DisplayName", &kept));
  EXPECT_EQ(kept, "kept");
}

// Without a directory the first installation goes to Program Files; later
// ones default to where it is. Moving removes the earlier copy only once
// the new one works. %TEMP% stays as it was throughout.
TEST_F(InstallScript, DefaultDirectoryInstallingAgainAndMoving) {
  const std::string temp = std::getenv("TEMP");
  const std::vector<std::string> tempBefore = Listing(temp);
  Script first;
  ASSERT_EQ(RunScript(&first, Install(), "/quiet"), 3010) << first.output();
  ExpectInstalled(DefaultDir(), DefaultDir() + "\\VDREDTSA.DLL");

  const std::string moved = "C:\\Program Files\\ZOVORO a&b (2)";
  Script move;
  ASSERT_EQ(RunScript(&move, Install(), "/quiet \"" + moved + "\""), 3010) << move.output();
  ExpectInstalled(moved, moved + "\\VDREDTSA.DLL");
  EXPECT_FALSE(FileExists(DefaultDir())) << move.output();
  EXPECT_TRUE(Contains(move.LastLine(), "into " + moved + "; removed the earlier copy from " + DefaultDir()))
      << move.LastLine();
  EXPECT_TRUE(Contains(move.LastLine(), "add adapters with \"" + moved + "\\config.exe\""))
      << move.LastLine();

  Script again;
  ASSERT_EQ(RunScript(&again, Install(), "/quiet"), 3010) << again.output();
  ExpectInstalled(moved, moved + "\\VDREDTSA.DLL");
  EXPECT_FALSE(FileExists(DefaultDir()));
  Script uninstall;
  EXPECT_EQ(RunScript(&uninstall, Uninstall(), "/quiet"), 3010) << uninstall.output();
  EXPECT_EQ(Listing(temp), tempBefore);
  RemoveInstalledTree(moved);
}

// Every refusal ends with 1603 before anything is written, and says why.
TEST_F(InstallScript, RefusedDirectoriesAndCommandLines) {
  const std::string planted = std::string(kInstallDir) + "\\helper.dll";
  CreateDirectoryA(kInstallDir, nullptr);
  std::ofstream(planted) << "not ours\n";
  const struct {
    std::string args;
    const char* says;
  } refused[] = {
      {"/quiet \"" + std::string(kInstallDir) + "\"", "holds helper.dll, which this package does not ship"},
      {"/quiet ZOVORO", "is not a full path on a drive"},
      {"/quiet C:\\", "is a drive root"},
      {"/quiet C:\\windows", "which this package does not ship"},
  };
  for (const auto& r : refused) {
    Script script;
    EXPECT_EQ(RunScript(&script, Install(), r.args), 1603) << r.args << script.output();
    EXPECT_TRUE(Contains(script.output(), r.says)) << r.args << script.output();
    EXPECT_TRUE(Contains(script.LastLine(), "nothing was installed")) << script.LastLine();
  }
  EXPECT_TRUE(FileExists(planted));
  EXPECT_FALSE(FileExists(std::string(kInstallDir) + "\\config.exe"));
  EXPECT_FALSE(KeyExists(kServiceKey));
  EXPECT_FALSE(KeyExists(kRow));
  EXPECT_EQ(Recorded(), "");  // no ACL was touched

  for (const char* bad : {"/bogus", "/quiet a b"}) {
    Script install, uninstall;
    EXPECT_EQ(RunScript(&install, Install(), bad), 1639) << bad << install.output();
    EXPECT_EQ(RunScript(&uninstall, Uninstall(), bad), 1639) << bad << uninstall.output();
  }
  Script nothing;
  EXPECT_EQ(RunScript(&nothing, Uninstall(), "/quiet"), 0) << nothing.output();
  EXPECT_TRUE(Contains(nothing.LastLine(), "not installed")) << nothing.LastLine();
}

// The lock falls back to cacls, and an installation whose lock cannot be
// applied fails; without reg.exe the script changes nothing.
TEST_F(InstallScript, LockFallbacksAndMissingTools) {
  {
    Hidden icacls("icacls.exe");
    Script viaCacls;
    EXPECT_EQ(RunScript(&viaCacls, Install(), std::string("/quiet \"") + kInstallDir + "\""), 3010)
        << viaCacls.output();
    EXPECT_TRUE(Contains(Recorded(),
                         "cacls.exe\" \"C:\\Program Files\\ZOVORO Test\" /t /g Administrators:F "
                         "SYSTEM:F Users:R"))
        << Recorded();
    Hidden cacls("cacls.exe");
    Script neither;
    EXPECT_EQ(RunScript(&neither, Install(), std::string("/quiet \"") + kInstallDir + "\""), 1603)
        << neither.output();
    EXPECT_TRUE(Contains(neither.output(), "could not restrict the folder")) << neither.output();
  }
  SetUp();
  SetEnvironmentVariableA("VELDRA_RECORD_STATUS", "5");
  Script refused;
  EXPECT_EQ(RunScript(&refused, Install(), std::string("/quiet \"") + kInstallDir + "\""), 1603)
      << refused.output();
  EXPECT_FALSE(FileExists(std::string(kInstallDir) + "\\config.exe"));
  EXPECT_FALSE(KeyExists(kRow));
  SetEnvironmentVariableA("VELDRA_RECORD_STATUS", nullptr);

  Hidden reg("reg.exe");
  for (const std::string& script : {Install(), Uninstall()}) {
    Script run;
    EXPECT_EQ(RunScript(&run, script, "/quiet"), 1603) << run.output();
    EXPECT_TRUE(Contains(run.output(), "needs reg.exe, which is built into Windows XP")) << run.output();
  }
  EXPECT_FALSE(FileExists(DefaultDir()));
  EXPECT_FALSE(KeyExists(kServiceKey));
}

TEST_F(InstallScript, DirectoryLimitIs114Characters) {
  const std::string base = "C:\\Program Files\\";
  const std::string fits = base + std::string(114 - base.size(), 'l');
  Script tooLong;
  EXPECT_EQ(RunScript(&tooLong, Install(), "/quiet \"" + fits + "m\""), 1603);
  EXPECT_TRUE(Contains(tooLong.output(), "longer than the 114 characters")) << tooLong.output();
  EXPECT_TRUE(Contains(tooLong.LastLine(), "nothing was installed")) << tooLong.LastLine();
  EXPECT_FALSE(FileExists(fits + "m"));
  EXPECT_FALSE(KeyExists(kServiceKey));
  EXPECT_FALSE(KeyExists(kRow));

  Script longest;
  EXPECT_EQ(RunScript(&longest, Install(), "/quiet \"" + fits + "\""), 3010) << longest.output();
  EXPECT_EQ(ConfigDll(), fits + "\\VDREDTSA.DLL");
  RemoveInstalledTree(fits);
}

// The installed copy asks before it saves anything, saves only the service
// key into the locked backup folder, removes everything including itself;
// after installing again elsewhere, reg import brings the adapter back.
TEST_F(InstallScript, UninstallAsksThenBacksUpAndAReinstallRestores) {
  Script install;
  ASSERT_EQ(RunScript(&install, Install(), std::string("/quiet \"") + kInstallDir + "\""), 3010)
      << install.output();
  const std::string adapter = std::string(kServiceKey) + "\\Device5";
  ASSERT_TRUE(SetDword(adapter, "AdapterNumber", 5));
  ASSERT_TRUE(SetString(adapter, "DeviceType", "VA85 Family"));
  const std::string installed = std::string(kInstallDir) + "\\uninstall.cmd";

  Script declined;
  EXPECT_EQ(RunScript(&declined, installed, "", "n\r\n"), 1602) << declined.output();
  EXPECT_TRUE(Contains(declined.LastLine(), "nothing was removed")) << declined.LastLine();
  EXPECT_TRUE(Listing(BackupDir()).empty());
  EXPECT_TRUE(KeyExists(adapter));

  // Started as an administrator would from its folder, by a quoted relative
  // name; a same-named file elsewhere stays.
  const std::string decoy = std::string(std::getenv("TEMP")) + "\\uninstall.cmd";
  std::ofstream(decoy) << "rem not the installed copy\r\n";
  Script confirmed;
  ASSERT_TRUE(confirmed.Start("uninstall.cmd", "", "Y\r\n", kInstallDir));
  EXPECT_EQ(confirmed.Finish(), 3010) << confirmed.output();
  const std::string backup = BackupDir() + "\\VELDRA-backup.reg";
  EXPECT_TRUE(Contains(confirmed.LastLine(), "reg import \"" + backup + "\"")) << confirmed.LastLine();
  EXPECT_TRUE(Contains(Recorded(), "\"" + std::string(std::getenv("ProgramData")) + "\\ZOVORO\" /reset"))
      << Recorded();
  for (const char* key : {kServiceKey, kSystemSource, kCountersSource, "SOFTWARE\\Tervalon"}) {
    EXPECT_FALSE(KeyExists(key)) << key;
  }
  bool gone = false;
  for (int i = 0; i < 100 && !gone; ++i) {
    gone = !FileExists(kInstallDir);
    if (!gone) Sleep(100);
  }
  EXPECT_TRUE(gone);
  EXPECT_TRUE(FileExists(decoy));
  DeleteFileA(decoy.c_str());

  // One export of the service key, nothing of the catalogue.
  std::string text;
  for (char c : ReadFile(backup))
    if (c != '\0') text += c;
  EXPECT_TRUE(Contains(text, "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\VELDRA\\Device5]"))
      << text;
  EXPECT_FALSE(Contains(text, "Tervalon")) << text;

  const std::string elsewhere = "C:\\Program Files\\ZOVORO Elsewhere";
  Script reinstall, restore;
  ASSERT_EQ(RunScript(&reinstall, Install(), "/quiet \"" + elsewhere + "\""), 3010) << reinstall.output();
  ASSERT_EQ(RunScript(&restore, "reg", "import \"" + backup + "\""), 0) << restore.output();
  EXPECT_EQ(Dword(adapter, "AdapterNumber"), 5u);
  EXPECT_EQ(ConfigDll(), elsewhere + "\\VDREDTSA.DLL");
  // The installed program lists the restored adapter.
  Process config;
  ASSERT_TRUE(config.Start(elsewhere + "\\config.exe"));
  HWND list = WaitWindow("Modbus Plus Driver Configuration", config.pid());
  ASSERT_NE(list, nullptr);
  const std::vector<std::string> lines = ListLines(GetDlgItem(list, IDC_ADAPTER_LIST));
  EXPECT_EQ(lines.size(), 1u);
  EXPECT_TRUE(!lines.empty() && Contains(lines[0], "5")) << (lines.empty() ? "" : lines[0]);
  config.Kill();
  RemoveInstalledTree(elsewhere);
}

TEST_F(InstallScript, UninstallRemovesNothingWhenTheBackupCannotBeWritten) {
  Script install;
  ASSERT_EQ(RunScript(&install, Install(), std::string("/quiet \"") + kInstallDir + "\""), 3010)
      << install.output();
  Script uninstall;
  EXPECT_EQ(RunScript(&uninstall, Uninstall(), "/quiet /backup \"C:\\no such folder\\b.reg\""), 1603)
      << uninstall.output();
  EXPECT_TRUE(Contains(uninstall.LastLine(), "nothing was removed")) << uninstall.LastLine();
  ExpectInstalled(kInstallDir, std::string(kInstallDir) + "\\VDREDTSA.DLL");
  // Default backups take the next free name.
  Script first, second;
  std::ofstream(BackupDir() + "\\VELDRA-backup.reg") << "an earlier backup\n";
  EXPECT_EQ(RunScript(&first, Uninstall(), "/quiet"), 3010) << first.output();
  EXPECT_TRUE(FileExists(BackupDir() + "\\VELDRA-backup-2.reg")) << first.output();
}

TEST_F(InstallScript, UninstallLeavesForeignRowsKeysAndFiles) {
  Script install;
  ASSERT_EQ(RunScript(&install, Install(), std::string("/quiet \"") + kInstallDir + "\""), 3010)
      << install.output();
  const std::string otherRow = "SOFTWARE\\Tervalon\\Logical Devices\\VELDRA\\Other Family";
  const std::string lookAlike = "SYSTEM\\CurrentControlSet\\Services\\VELDRAX";
  const std::string lookAlikeSource = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\System\\VELDRAX";
  ASSERT_TRUE(SetString(otherRow, "ConfigDll", "C:\\Other\\OTHER.DLL"));
  ASSERT_TRUE(SetDword(lookAlike, "Start", 3));
  ASSERT_TRUE(SetDword(lookAlikeSource, "TypesSupported", 7));
  const std::string notes = std::string(kInstallDir) + "\\notes.txt";
  std::ofstream(notes) << "the administrator's own file\n";

  Script uninstall;
  EXPECT_EQ(RunScript(&uninstall, Uninstall(), "/quiet /backup \"" + Scratch() + "\\foreign.reg\""), 3010)
      << uninstall.output();
  EXPECT_FALSE(KeyExists(kRow));
  EXPECT_FALSE(KeyExists(kServiceKey));
  EXPECT_TRUE(KeyExists(otherRow));
  EXPECT_TRUE(KeyExists(lookAlike));
  EXPECT_TRUE(KeyExists(lookAlikeSource));
  EXPECT_TRUE(FileExists(notes));
  EXPECT_FALSE(FileExists(std::string(kInstallDir) + "\\config.exe"));
  EXPECT_FALSE(FileExists(std::string(kInstallDir) + "\\docs"));
  DeleteTree(lookAlike);
  DeleteTree(lookAlikeSource);
}

// The interactive run, driven through its dialogs as a user would.
class InteractiveInstall : public InstallScript {
 protected:
  // Waits for the dialog and presses a button; false when it did not come.
  static bool Press(const char* title, int button, const char* path = nullptr) {
    HWND dialog = WaitWindow(title, 0, 30000);
    if (dialog == nullptr) return false;
    if (path != nullptr) SetItemText(dialog, 1005, path);
    PostCommand(dialog, button);
    return WaitGone(dialog);
  }
};

TEST_F(InteractiveInstall, ExitAtWelcomeWritesNothing) {
  Script script;
  ASSERT_TRUE(script.Start(Install(), ""));
  EXPECT_TRUE(Press("Welcome", IDCANCEL));
  EXPECT_EQ(script.Finish(), 1602) << script.output();
  EXPECT_TRUE(Contains(script.LastLine(), "cancelled")) << script.LastLine();
  EXPECT_FALSE(KeyExists(kServiceKey));
  EXPECT_FALSE(FileExists(DefaultDir()));
}

// A typed directory that cannot be used ends with Incomplete Installation.
TEST_F(InteractiveInstall, RefusedDirectoryShowsIncompleteInstallation) {
  for (const char* typed : {"ZOVORO", "C:\\Program Files\\100%"}) {
    Script script;
    ASSERT_TRUE(script.Start(Install(), ""));
    EXPECT_TRUE(Press("Welcome", IDOK));
    EXPECT_TRUE(Press("Destination Directory", IDOK, typed));
    EXPECT_TRUE(Press("Incomplete Installation", IDOK)) << typed;
    EXPECT_EQ(script.Finish(), 1603) << script.output();
    EXPECT_FALSE(KeyExists(kRow));
  }
}

TEST_F(InteractiveInstall, ContinueDestinationAndExitInstall) {
  Script script;
  ASSERT_TRUE(script.Start(Install(), ""));
  EXPECT_TRUE(Press("Welcome", IDOK));
  EXPECT_TRUE(Press("Destination Directory", IDOK, kInstallDir));
  EXPECT_TRUE(Press("Exit Setup", IDCANCEL));  // Exit: a shutdown would end the prefix's session
  EXPECT_EQ(script.Finish(), 3010) << script.output();
  ExpectInstalled(kInstallDir, std::string(kInstallDir) + "\\VDREDTSA.DLL");
}

}  // namespace
