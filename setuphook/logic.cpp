#include "logic.h"

namespace setuphook {

bool BuildConfigDllPath(const char* installDir, ConfigDllPath* path) {
  ConfigDllPath built;
  for (std::size_t i = 0; installDir[i] != '\0'; ++i) {
    if (i == kMaxInstallDirLength) return false;
  }
  built.Append(installDir);
  built.Append(kPluginFileName);
  *path = built;
  return true;
}

std::size_t NextDirLevel(const char* path, std::size_t length, std::size_t previous) {
  std::size_t first = 0;
  while (first < length && path[first] != '\\') ++first;
  if (first == length || previous >= length) return 0;
  for (std::size_t i = previous == 0 ? first + 1 : previous + 1; i < length; ++i) {
    if (path[i] == '\\') return i;
  }
  return length > first + 1 && path[length - 1] != '\\' ? length : 0;
}

std::uint32_t AvailableMegabytes(std::uint32_t bytesPerSector, std::uint32_t sectorsPerCluster,
                                 std::uint32_t freeClusters) {
  // Two 32-bit factors fit 64 bits; the third may not, so divide before it can overflow.
  const std::uint64_t clusterBytes = std::uint64_t{bytesPerSector} * sectorsPerCluster;
  const std::uint64_t limit = UINT64_MAX / (freeClusters ? freeClusters : 1);
  std::uint64_t megabytes;
  if (clusterBytes <= limit) {
    megabytes = (clusterBytes * freeClusters) >> 20;
  } else {
    megabytes = UINT64_MAX >> 20;
  }
  return megabytes > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(megabytes);
}

Point CenterPosition(int screenWidth, int screenHeight, int width, int height) {
  return Point{(screenWidth - width) / 2, (screenHeight - height) / 2};
}

DialogResult MapEndCode(DialogKind kind, std::intptr_t endCode) {
  const bool ran = endCode == 0 || endCode == 1;
  switch (kind) {
    case DialogKind::kWelcome:
      if (!ran) return {Outcome::kExit, false};
      return {endCode == 1 ? Outcome::kSuccess : Outcome::kCancel, true};
    case DialogKind::kDestination:
      if (!ran) return {Outcome::kExit, false};
      return {endCode == 1 ? Outcome::kChosenDirectory : Outcome::kCancel, true};
    case DialogKind::kExitSetup:
      if (!ran) return {Outcome::kUnknownError, false};
      return {endCode == 1 ? Outcome::kSuccess : Outcome::kCancel, true};
    case DialogKind::kIncompleteInstall:
      if (endCode == 1) return {Outcome::kSuccess, true};
      return {Outcome::kUnknownError, false};
  }
  return {Outcome::kUnknownError, false};
}

bool IsDriveSelection(const char* selected) {
  return selected[0] != '\0' && selected[1] == ':' && selected[2] == '\0';
}

}  // namespace setuphook
