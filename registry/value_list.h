// The packed value lists that configuration plug-ins hand over.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/array.h"
#include "base/veldra_plugin.h"

namespace veldra {

constexpr std::int32_t kValueListEnd = VELDRA_LIST_END;

// One record of a value list, pointing into the list's block.
struct ValueRecordView {
  std::int32_t type;
  const char* name;  // NUL-terminated inside the block
  const std::uint8_t* data;
  std::uint32_t size;
};

// Parses a value list of `blockSize` readable bytes. Stops at the terminator,
// or where the block ends before a whole record (type, name with its NUL,
// size and data) could be read: never reads outside the block.
Array<ValueRecordView> ParseValueList(const void* block, std::size_t blockSize);

}  // namespace veldra
