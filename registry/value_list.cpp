// Parsing of the value lists that configuration plug-ins hand over.
//
// A list carries no length of its own: the terminator is its only end mark,
// and a faulty plug-in may omit it or get a size field wrong. The block's
// size is the only trustworthy bound; the plug-in interface's record walker
// checks every field against it, and whatever does not fit ends the list
// exactly where the terminator would have.
#include "registry/value_list.h"

#include "base/veldra_plugin.h"

namespace veldra {

Array<ValueRecordView> ParseValueList(const void* block, std::size_t blockSize) {
  Array<ValueRecordView> records;
  VeldraRecord record;
  for (std::size_t offset = 0; VeldraNextRecord(block, blockSize, &offset, &record);) {
    // Short of memory, the list ends where the records could not be kept.
    if (!records.push_back(ValueRecordView{static_cast<std::int32_t>(record.type), record.name, record.data,
                                           static_cast<std::uint32_t>(record.size)}))
      break;
  }
  return records;
}

}  // namespace veldra
