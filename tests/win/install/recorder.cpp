// Stands in for icacls.exe and cacls.exe in the test prefix, where Wine's
// own accept anything and change nothing: appends its command line to the
// file VELDRA_RECORD names and exits with VELDRA_RECORD_STATUS (default 0).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main() {
  const char* file = std::getenv("VELDRA_RECORD");
  if (file != nullptr) {
    if (FILE* out = std::fopen(file, "ab")) {
      std::fprintf(out, "%s\n", GetCommandLineA());
      std::fclose(out);
    }
  }
  const char* status = std::getenv("VELDRA_RECORD_STATUS");
  return status != nullptr ? std::atoi(status) : 0;
}
