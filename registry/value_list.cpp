// Parsing of the value lists that configuration plug-ins hand over.
//
// A list carries no length of its own: the terminator is its only end mark,
// and a faulty plug-in may omit it or get a size field wrong. The block's
// size is the only trustworthy bound, so every field is checked against it
// before it is read; whatever does not fit ends the list exactly where the
// terminator would have. Integers are copied out byte-wise because records
// are packed without alignment.
#include "registry/value_list.h"

#include <cstring>

namespace veldra {
namespace {

// Reads a little-endian 32-bit field. Done byte by byte so that the result
// does not depend on the host's byte order or on alignment.
std::uint32_t ReadLe32(const std::uint8_t* p) {
  std::uint8_t b[4];
  std::memcpy(b, p, sizeof b);
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

}  // namespace

Array<ValueRecordView> ParseValueList(const void* block, std::size_t blockSize) {
  Array<ValueRecordView> records;
  if (block == nullptr) return records;
  const auto* p = static_cast<const std::uint8_t*>(block);
  std::size_t left = blockSize;

  for (;;) {
    ValueRecordView record{};
    if (left < 4) break;
    record.type = static_cast<std::int32_t>(ReadLe32(p));
    if (record.type == kValueListEnd) break;
    p += 4;
    left -= 4;

    const void* nul = std::memchr(p, 0, left);
    if (nul == nullptr) break;
    const std::size_t nameBytes = static_cast<const std::uint8_t*>(nul) - p + 1;
    record.name = reinterpret_cast<const char*>(p);
    p += nameBytes;
    left -= nameBytes;

    if (left < 4) break;
    record.size = ReadLe32(p);
    p += 4;
    left -= 4;

    if (record.size > left) break;
    record.data = p;
    p += record.size;
    left -= record.size;
    // Short of memory, the list ends where the records could not be kept.
    if (!records.push_back(record)) break;
  }
  return records;
}

}  // namespace veldra
