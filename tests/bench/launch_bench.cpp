// Start-up time of config.exe against bare_dialog, seen from outside: each
// program is started with CreateProcess and watched until its dialog is
// visible with the adapter list filled; then the bench presses Cancel (which
// leaves the registry alone) and waits for the process to end. Runs
// alternate between the two programs so that a slow moment of the machine
// hits both alike; the figures are medians. Not a pass/fail test.
//
//   launch_bench [--runs N] [--adapters K] [--seed] CONFIG_EXE BARE_EXE
//     --runs N      starts of each program (default 20)
//     --adapters K  lines both lists must show (default 1)
//     --seed        first replaces HKLM's VELDRA service key by one with K
//                   adapter keys and adds the "VA85 Family" catalogue row:
//                   only in a prefix of its own (scripts/figures uses one)
//     --config-title T  the first program's dialog title (smoke test: the
//                   bare dialog twice)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/bench/bench_util.h"
#include "tests/support/win_registry.h"

namespace {

constexpr int kListId = 103;  // the adapter list in both programs
constexpr DWORD kShowTimeoutMs = 20000;
constexpr char kConfigTitle[] = "Modbus Plus Driver Configuration";
constexpr char kBareTitle[] = "Bare Dialog";
constexpr char kServices[] = "SYSTEM\\CurrentControlSet\\Services";
constexpr char kCatalogRow[] = "SOFTWARE\\Tervalon\\Logical Devices\\VELDRA\\VA85 Family";

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool Seed(unsigned adapters) {
  const std::string service = std::string(kServices) + "\\VELDRA";
  bool ok = veldra_test::DeleteTree(service);
  for (unsigned i = 0; i < adapters && ok; ++i)
    ok = veldra_test::SetDword(service + "\\Device" + std::to_string(i), "AdapterNumber", i);
  return ok && veldra_test::SetDword(kCatalogRow, "Physical", 1);
}

struct Finder {
  DWORD pid;
  const char* title;
  HWND found;
};

BOOL CALLBACK FindOwnWindow(HWND window, LPARAM param) {
  Finder* f = reinterpret_cast<Finder*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != f->pid) return TRUE;
  char text[128] = "";
  GetWindowTextA(window, text, sizeof text);
  if (std::strcmp(text, f->title) != 0) return TRUE;
  f->found = window;
  return FALSE;
}

// Milliseconds from CreateProcess to the visible dialog with at least `lines`
// lines in its list; negative when that never happened.
double StartToList(const std::string& exe, const std::string& args, const char* title, unsigned lines) {
  std::string commandLine = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  const double start = Now();
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start %s (%lu)\n", exe.c_str(), GetLastError());
    return -1;
  }
  double shown = -1;
  HWND dialog = nullptr;
  while (Now() - start < kShowTimeoutMs) {
    Finder f{pi.dwProcessId, title, nullptr};
    EnumWindows(FindOwnWindow, reinterpret_cast<LPARAM>(&f));
    if (f.found != nullptr && IsWindowVisible(f.found)) {
      DWORD_PTR count = 0;
      HWND list = GetDlgItem(f.found, kListId);
      if (list != nullptr && SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count) &&
          count != static_cast<DWORD_PTR>(LB_ERR) && count >= lines) {
        shown = Now() - start;
        dialog = f.found;
        break;
      }
    }
    if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;  // ended before showing its list
  }
  if (dialog != nullptr) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "%s did not end; terminated\n", exe.c_str());
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
    shown = -1;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return shown;
}

void Print(const char* label, const std::vector<double>& v) {
  std::printf("%-12s median %8.1f ms   min %8.1f   max %8.1f   (%u runs)\n", label, veldra_bench::Median(v),
              *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()),
              static_cast<unsigned>(v.size()));
}

}  // namespace

int main(int argc, char** argv) {
  unsigned runs = 20;
  unsigned adapters = 1;
  bool seed = false;
  const char* configTitle = kConfigTitle;
  std::vector<std::string> programs;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "--adapters") == 0 && i + 1 < argc) {
      adapters = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "--config-title") == 0 && i + 1 < argc) {
      configTitle = argv[++i];
    } else if (std::strcmp(argv[i], "--seed") == 0) {
      seed = true;
    } else {
      programs.push_back(argv[i]);
    }
  }
  if (programs.size() != 2 || runs == 0 || adapters == 0) {
    std::fprintf(stderr, "usage: launch_bench [--runs N] [--adapters K] [--seed] CONFIG_EXE BARE_EXE\n");
    return 2;
  }
  if (seed && !Seed(adapters)) {
    std::fprintf(stderr, "cannot seed the registry\n");
    return 1;
  }
  const std::string bareArgs = std::to_string(adapters);
  std::vector<double> config;
  std::vector<double> bare;
  for (unsigned r = 0; r < runs; ++r) {
    // Alternate which program goes first.
    for (int k = 0; k < 2; ++k) {
      const bool configTurn = (k == 0) == (r % 2 == 0);
      const double ms = configTurn ? StartToList(programs[0], "", configTitle, adapters)
                                   : StartToList(programs[1], bareArgs, kBareTitle, adapters);
      if (ms < 0) {
        std::fprintf(stderr, "%s never showed its list\n", configTurn ? "config.exe" : "bare_dialog.exe");
        return 1;
      }
      (configTurn ? config : bare).push_back(ms);
    }
  }
  std::printf("Process start to adapter list shown, %u adapters:\n", adapters);
  Print("config.exe", config);
  Print("bare_dialog", bare);
  std::printf("ratio config/bare (medians): %.2f\n",
              veldra_bench::Median(config) / veldra_bench::Median(bare));
  // Each run starts both programs back to back, so a pair shares whatever
  // else the machine was doing; the median of the pairs' ratios shrugs off
  // load that comes and goes during the run.
  std::vector<double> pairs;
  for (std::size_t r = 0; r < config.size(); ++r) pairs.push_back(config[r] / bare[r]);
  std::printf("ratio config/bare (median of back-to-back pairs): %.2f\n", veldra_bench::Median(pairs));
  return 0;
}
