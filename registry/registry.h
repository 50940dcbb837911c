// Shared types of the driver registry model. Everything else in registry/
// includes this header; config.exe includes the headers it needs directly.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/fixed_text.h"

namespace veldra {

// Adapter numbers are unsigned 32-bit; all bits set marks "no number" while
// key names are scanned and list lines are read.
using AdapterNumber = std::uint32_t;
constexpr AdapterNumber kNoAdapterNumber = 0xFFFFFFFFu;

// The driver's service name and the two key paths built from it.
constexpr const char kServiceName[] = "VELDRA";
constexpr const char kServicesPath[] = "SYSTEM\\CurrentControlSet\\Services\\";
constexpr const char kCatalogPath[] = "SOFTWARE\\Tervalon\\Logical Devices\\";

// Fixed buffer sizes the model reads into. Key names are at most 127
// characters; string values are read into 128 bytes.
constexpr std::uint32_t kNameBufferChars = 128;
constexpr std::uint32_t kStringBufferBytes = 128;

// Registry value types (the numbers the platform and the plug-ins use).
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

// Result codes of store operations: the platform's own numbers, 0 is success.
constexpr long kOk = 0;
constexpr long kErrFileNotFound = 2;
constexpr long kErrAccessDenied = 5;
constexpr long kErrInvalidHandle = 6;
constexpr long kErrInvalidParameter = 87;
constexpr long kErrBadPathname = 161;
constexpr long kErrMoreData = 234;
constexpr long kErrNoMoreItems = 259;
constexpr long kErrKeyDeleted = 1018;

// An open registry key as the store hands it out. For the Win32 store this is
// the HKEY itself, so it can be passed to a configuration plug-in unchanged.
using KeyHandle = void*;

// Access wanted when a key is opened: the service key and the device keys are
// opened with full access, the catalogue and its type subkeys read-only.
enum class Access { All, Read };

// A registry name or string value: both are read into kNameBufferChars.
using NameText = FixedText<kNameBufferChars>;

}  // namespace veldra
