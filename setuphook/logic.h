// Decisions of setuphook.dll that need no window and no registry: kept apart
// so that they can be tested on their own.
#pragma once

#include <cstdint>

#include "base/fixed_text.h"

namespace setuphook {

// Longest installation directory whose plug-in path still fits the 128-byte
// buffers in which the catalogue's ConfigDll value is read back.
constexpr std::size_t kMaxInstallDirLength = 114;
constexpr char kPluginFileName[] = "\\VDREDTSA.DLL";

// The catalogue's ConfigDll path for an installation directory, or false when
// the directory is too long for readers of the catalogue to take it back.
using ConfigDllPath = veldra::FixedText<kMaxInstallDirLength + sizeof kPluginFileName>;
bool BuildConfigDllPath(const char* installDir, ConfigDllPath* path);

// The directories CreateDir asks for, outermost first: every prefix that ends
// just before a backslash following the first one, then the whole path
// unless it ends in a backslash. Nothing before the first backslash, and
// nothing at all for a path without one. Each level is a prefix of the path,
// given by its length: the one after the level `previous` long (0 for the
// first), or 0 when there is none left.
std::size_t NextDirLevel(const char* path, std::size_t length, std::size_t previous);

// Whole megabytes free, computed in 64 bits so that 4 GiB or more never wraps;
// saturates at the largest 32-bit count the dialog shows.
std::uint32_t AvailableMegabytes(std::uint32_t bytesPerSector, std::uint32_t sectorsPerCluster,
                                 std::uint32_t freeClusters);

// Top-left corner that centres a window of the given size on the screen;
// truncates toward zero, so a window larger than the screen goes negative.
struct Point {
  int x;
  int y;
};
Point CenterPosition(int screenWidth, int screenHeight, int width, int height);

// What a dialog export reports for a dialog's end code.
// dialogs.cpp maps the first four to their result texts by position.
enum class Outcome { kSuccess, kCancel, kExit, kUnknownError, kChosenDirectory };
struct DialogResult {
  Outcome outcome;
  bool flag;
};
enum class DialogKind { kWelcome, kDestination, kExitSetup, kIncompleteInstall };
DialogResult MapEndCode(DialogKind kind, std::intptr_t endCode);

// A list entry selected in path form names a drive when it reads "X:".
bool IsDriveSelection(const char* selected);

}  // namespace setuphook
