#include <windows.h>

#include "config/config_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return veldra::config::ConfigApp::Instance().Run(); }
