// Test plug-in without any of the configuration entry points.
#include <windows.h>

extern "C" DWORD WINAPI PluginVersion() { return 1; }
