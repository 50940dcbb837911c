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
  bool Start(const std::string& script, const std::string& args, const std::string& answers = "") {
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
        CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &info_);
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
std::string DefaultDir() { return std::string(std::getenv("SystemDrive")) + "\\ZOVORO"; }
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
  for (const char* f : {"config.exe", "VDREDTSA.DLL", "uninstall.cmd", "docs\\admin-guide.md", "notes.txt"}) {
    DeleteFileA((dir + "\\" + f).c_str());
  }
  RemoveDirectoryA(pictures.c_str());
  RemoveDirectoryA((dir + "\\docs").c_str());
  RemoveDirectoryA(dir.c_str());
}

class InstallScript : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* key : {kServiceKey, "SOFTWARE\\Tervalon", kSystemSource, kCountersSource})
      DeleteTree(key);
    RemoveInstalledTree(kInstallDir);
    RemoveInstalledTree(DefaultDir());
  }
  void TearDown() override { SetUp(); }

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
  ASSERT_EQ(RunScript(&first, Install(), std::string("/quiet \"") + kInstallDir + "\""), 0) << first.output();
  ExpectInstalled(kInstallDir, std::string(kInstallDir) + "\\VDREDTSA.DLL");
  EXPECT_TRUE(Contains(first.LastLine(), "installed the ZOVORO Library into C:\\Program Files\\ZOVORO Test"))
      << first.LastLine();

  // An adapter, a foreign value and a changed value before the second run.
  const std::string adapter = std::string(kServiceKey) + "\\Device3";
  ASSERT_TRUE(SetDword(adapter, "AdapterNumber", 3));
  ASSERT_TRUE(SetString(kServiceKey, "DisplayName", "kept"));
  ASSERT_TRUE(SetDword(kServiceKey, "Start", 4));
  DeleteFileA((std::string(kInstallDir) + "\\config.exe").c_str());
  Script again;
  ASSERT_EQ(RunScript(&again, Install(), std::string("/QUIET \"") + kInstallDir + "\\\""), 0)
      << again.output();
  ExpectInstalled(kInstallDir, std::string(kInstallDir) + "\\VDREDTSA.DLL");
  EXPECT_EQ(Dword(adapter, "AdapterNumber"), 3u);
  std::string kept;
  EXPECT_TRUE(ReadString(kServiceKey, "DisplayName", &kept));
  EXPECT_EQ(kept, "kept");
}

// A drive root chosen as the directory gives a plug-in path with one
// backslash; the uninstaller cleans it up without touching the drive.
TEST_F(InstallScript, DriveRootGivesASingleBackslash) {
  Script install;
  ASSERT_EQ(RunScript(&install, Install(), "/quiet C:\\"), 0) << install.output();
  ExpectInstalled("C:", "C:\\VDREDTSA.DLL");
  Script uninstall;
  EXPECT_EQ(RunScript(&uninstall, Uninstall(), "/quiet /backup \"" + Scratch() + "\\root.reg\""), 0)
      << uninstall.output();
  EXPECT_FALSE(FileExists("C:\\config.exe"));
  EXPECT_FALSE(FileExists("C:\\docs"));
  EXPECT_TRUE(FileExists("C:\\windows"));
}

TEST_F(InstallScript, DirectoryLimitIs114Characters) {
  const std::string base = "C:\\Program Files\\";
  const std::string fits = base + std::string(114 - base.size(), 'l');
  Script tooLong;
  EXPECT_EQ(RunScript(&tooLong, Install(), "/quiet \"" + fits + "m\""), 2);
  EXPECT_TRUE(Contains(tooLong.output(), "at most 114")) << tooLong.output();
  EXPECT_TRUE(Contains(tooLong.LastLine(), "nothing was installed")) << tooLong.LastLine();
  EXPECT_FALSE(FileExists(fits + "m"));
  EXPECT_FALSE(KeyExists(kServiceKey));
  EXPECT_FALSE(KeyExists(kRow));

  Script longest;
  EXPECT_EQ(RunScript(&longest, Install(), "/quiet \"" + fits + "\""), 0) << longest.output();
  EXPECT_EQ(ConfigDll(), fits + "\\VDREDTSA.DLL");
  RemoveInstalledTree(fits);
}

// The installed copy asks, saves, removes everything including itself and
// its directory; reg import of the backup brings the adapter back.
TEST_F(InstallScript, UninstallSavesABackupThatRestoresTheAdapters) {
  Script install;
  ASSERT_EQ(RunScript(&install, Install(), std::string("/quiet \"") + kInstallDir + "\""), 0)
      << install.output();
  const std::string adapter = std::string(kServiceKey) + "\\Device5";
  ASSERT_TRUE(SetDword(adapter, "AdapterNumber", 5));
  ASSERT_TRUE(SetString(adapter, "DeviceType", "VA85 Family"));
  const std::string backup = Scratch() + "\\backup with blanks.reg";
  DeleteFileA(backup.c_str());
  const std::string installed = std::string(kInstallDir) + "\\uninstall.cmd";

  Script declined;
  EXPECT_EQ(RunScript(&declined, installed, "/backup \"" + backup + "\"", "n\r\n"), 1) << declined.output();
  EXPECT_TRUE(Contains(declined.LastLine(), "nothing was removed")) << declined.LastLine();
  EXPECT_TRUE(KeyExists(adapter));
  EXPECT_TRUE(FileExists(installed));

  Script confirmed;
  EXPECT_EQ(RunScript(&confirmed, installed, "/backup \"" + backup + "\"", "Y\r\n"), 0) << confirmed.output();
  EXPECT_TRUE(Contains(confirmed.LastLine(), "reg import \"" + backup + "\"")) << confirmed.LastLine();
  for (const char* key : {kServiceKey, kSystemSource, kCountersSource, "SOFTWARE\\Tervalon"}) {
    EXPECT_FALSE(KeyExists(key)) << key;
  }
  // The copy removes its directory once its cmd has let go of the file.
  bool gone = false;
  for (int i = 0; i < 100 && !gone; ++i) {
    gone = !FileExists(kInstallDir);
    if (!gone) Sleep(100);
  }
  EXPECT_TRUE(gone);

  Script restore;
  ASSERT_EQ(RunScript(&restore, "reg", "import \"" + backup + "\""), 0) << restore.output();
  EXPECT_EQ(Dword(adapter, "AdapterNumber"), 5u);
  EXPECT_EQ(ConfigDll(), std::string(kInstallDir) + "\\VDREDTSA.DLL");
}

TEST_F(InstallScript, UninstallRemovesNothingWhenTheBackupCannotBeWritten) {
  Script install;
  ASSERT_EQ(RunScript(&install, Install(), std::string("/quiet \"") + kInstallDir + "\""), 0)
      << install.output();
  Script uninstall;
  EXPECT_EQ(RunScript(&uninstall, Uninstall(), "/quiet /backup \"C:\\no such folder\\b.reg\""), 2)
      << uninstall.output();
  EXPECT_TRUE(Contains(uninstall.LastLine(), "nothing was removed")) << uninstall.LastLine();
  ExpectInstalled(kInstallDir, std::string(kInstallDir) + "\\VDREDTSA.DLL");
}

TEST_F(InstallScript, UninstallLeavesForeignRowsKeysAndFiles) {
  Script install;
  ASSERT_EQ(RunScript(&install, Install(), std::string("/quiet \"") + kInstallDir + "\""), 0)
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
  EXPECT_EQ(RunScript(&uninstall, Uninstall(), "/quiet /backup \"" + Scratch() + "\\foreign.reg\""), 0)
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
  EXPECT_EQ(script.Finish(), 1) << script.output();
  EXPECT_TRUE(Contains(script.LastLine(), "cancelled")) << script.LastLine();
  EXPECT_FALSE(KeyExists(kServiceKey));
  EXPECT_FALSE(FileExists(DefaultDir()));
}

TEST_F(InteractiveInstall, ContinueDestinationAndExitInstall) {
  Script script;
  ASSERT_TRUE(script.Start(Install(), ""));
  EXPECT_TRUE(Press("Welcome", IDOK));
  EXPECT_TRUE(Press("Destination Directory", IDOK, kInstallDir));
  EXPECT_TRUE(Press("Exit Setup", IDCANCEL));  // Exit: a shutdown would end the prefix's session
  EXPECT_EQ(script.Finish(), 0) << script.output();
  ExpectInstalled(kInstallDir, std::string(kInstallDir) + "\\VDREDTSA.DLL");
}

}  // namespace
