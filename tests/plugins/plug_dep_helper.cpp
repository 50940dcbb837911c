// The DLL plug_dep.dll imports.
#include <windows.h>

extern "C" __declspec(dllexport) const char* WINAPI PlugDepHelperName() { return "plug_dep_helper"; }
