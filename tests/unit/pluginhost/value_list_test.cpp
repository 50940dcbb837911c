// Value lists: the parser's bounds and what WriteDeviceValues makes of a list.
#include <gtest/gtest.h>

#include <cstring>

#include "fakes.h"
#include "tests/support/counting_store.h"
#include "tests/support/memory_store.h"

namespace veldra::test {
namespace {

// Parses `bytes` from a heap block of exactly that size.
std::vector<ValueRecordView> ParseExact(FakeHeap& heap, const Bytes& bytes) {
  void* block = heap.Alloc(bytes);
  const auto records = ParseValueList(block, bytes.size());
  return {records.begin(), records.end()};
}

TEST(ParseValueList, ReadsPackedRecordsUpToTheTerminator) {
  FakeHeap heap;
  const Bytes bytes = ListBuilder()
                          .Dword("Baud", 19200)
                          .Sz("Port", "COM1")
                          .Record(kRegBinary, "", {})
                          .End()
                          .Raw("junk")
                          .bytes();
  void* block = heap.Alloc(bytes);
  const auto* base = static_cast<const std::uint8_t*>(block);
  auto records = ParseValueList(block, bytes.size());

  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].type, static_cast<std::int32_t>(kRegDword));
  EXPECT_STREQ(records[0].name, "Baud");
  ASSERT_EQ(records[0].size, 4u);
  EXPECT_EQ(Bytes(records[0].data, records[0].data + 4), Le32Bytes(19200));
  // Records are packed: the second starts right after the first one's data.
  EXPECT_EQ(records[0].data - base, 4 + 5 + 4);
  EXPECT_EQ(reinterpret_cast<const std::uint8_t*>(records[1].name) - base, 4 + 5 + 4 + 4 + 4);
  EXPECT_EQ(records[1].type, static_cast<std::int32_t>(kRegSz));
  EXPECT_EQ(records[1].size, 5u);
  EXPECT_STREQ(reinterpret_cast<const char*>(records[1].data), "COM1");
  EXPECT_STREQ(records[2].name, "");
  EXPECT_EQ(records[2].size, 0u);
}

TEST(ParseValueList, EmptyNullAndTerminatorOnlyListsHaveNoRecords) {
  FakeHeap heap;
  EXPECT_TRUE(ParseValueList(nullptr, 0).empty());
  EXPECT_TRUE(ParseValueList(nullptr, 64).empty());
  EXPECT_TRUE(ParseExact(heap, {}).empty());
  EXPECT_TRUE(ParseExact(heap, ListBuilder().End().bytes()).empty());
}

TEST(ParseValueList, OnlyMinusOneEndsTheList) {
  FakeHeap heap;
  auto records = ParseExact(heap, ListBuilder().Record(-2, "Odd", {7}).Dword("After", 1).End().bytes());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].type, -2);
  EXPECT_STREQ(records[1].name, "After");
}

// Every cut of a valid list, at every byte, keeps exactly the records that
// lie wholly inside the cut and reads nothing past it (the block has exactly
// the cut's size, so an overread is a sanitizer error).
TEST(ParseValueList, ListCutAtAnyByteKeepsOnlyWholeRecords) {
  const Bytes full = ListBuilder().Dword("Baud", 9600).Sz("Port", "COM2").End().bytes();
  const std::size_t firstEnd = 4 + 5 + 4 + 4;
  const std::size_t secondEnd = firstEnd + 4 + 5 + 4 + 5;
  for (std::size_t cut = 0; cut <= full.size(); ++cut) {
    FakeHeap heap;
    auto records = ParseExact(heap, Bytes(full.begin(), full.begin() + cut));
    const std::size_t expected = cut >= secondEnd ? 2 : cut >= firstEnd ? 1 : 0;
    EXPECT_EQ(records.size(), expected) << "cut at " << cut;
  }
}

TEST(ParseValueList, SizeFieldPastTheBlockEndsTheList) {
  FakeHeap heap;
  // Data claims one byte more than the block holds.
  Bytes bytes =
      ListBuilder().Dword("Kept", 1).Le32(kRegBinary).Raw(std::string("Long\0", 5)).Le32(3).Raw("ab").bytes();
  auto records = ParseExact(heap, bytes);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_STREQ(records[0].name, "Kept");
  // A size that would wrap a 32-bit or pointer sum.
  bytes =
      ListBuilder().Le32(kRegDword).Raw(std::string("X\0", 2)).Le32(0xFFFFFFFFu).Raw("abcd").End().bytes();
  EXPECT_TRUE(ParseExact(heap, bytes).empty());
}

TEST(ParseValueList, NameWithoutNulInsideTheBlockEndsTheList) {
  FakeHeap heap;
  auto records = ParseExact(heap, ListBuilder().Sz("Kept", "x").Le32(kRegSz).Raw("NoTerminatorHere").bytes());
  ASSERT_EQ(records.size(), 1u);
  EXPECT_STREQ(records[0].name, "Kept");
}

class WriteDeviceValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KeyHandle h = nullptr;
    ASSERT_EQ(memory.OpenOrCreate(memory.Root(), "SYSTEM\\CurrentControlSet\\Services\\VELDRA\\Device4",
                                  Access::All, &h),
              kOk);
    key = Key(memory, h);
  }
  void* List(const ListBuilder& b) { return loader.heap.Alloc(b.bytes()); }
  bool Write(RegistryStore& store, const void* list, const char* type = "VA85 Family") {
    return WriteDeviceValues(loader, Key::Borrow(store, key.get()), list, 4, type);
  }
  // The program's own two values as they must be written.
  static ValueWrite AdapterNumberWrite() { return {"AdapterNumber", kRegDword, Le32Bytes(4)}; }
  static ValueWrite DeviceTypeWrite(const char* type = "VA85 Family") {
    return {"DeviceType", kRegSz, SzBytes(type)};
  }

  MemoryRegistryStore memory;
  CountingRegistryStore recorder{memory};
  FakeLoader loader;
  Key key;
};

TEST_F(WriteDeviceValuesTest, TerminatorOnlyOrNullListWritesJustTheProgramsValues) {
  for (void* list : {List(ListBuilder().End()), static_cast<void*>(nullptr)}) {
    recorder.changes.clear();
    EXPECT_TRUE(Write(recorder, list));
    EXPECT_EQ(Writes(recorder), (std::vector<ValueWrite>{AdapterNumberWrite(), DeviceTypeWrite()}));
  }
  std::uint32_t type = 0, number = 0, size = 4;
  ASSERT_EQ(memory.QueryValue(key.get(), "AdapterNumber", &type, &number, &size), kOk);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(number, 4u);
}

TEST_F(WriteDeviceValuesTest, RecordsAreWrittenExactlyAndInOrderBeforeTheProgramsValues) {
  void* list = List(ListBuilder().Dword("Baud", 19200).Sz("Port", "COM1").End());
  EXPECT_TRUE(Write(recorder, list));
  const std::vector<ValueWrite> expected{{"Baud", kRegDword, Le32Bytes(19200)},
                                         {"Port", kRegSz, SzBytes("COM1")},
                                         AdapterNumberWrite(),
                                         DeviceTypeWrite()};
  EXPECT_EQ(Writes(recorder), expected);
  EXPECT_EQ(Writes(recorder)[1].data.size(), 5u);
  EXPECT_EQ(Deletes(recorder), 0);
}

TEST_F(WriteDeviceValuesTest, SizeZeroRecordWritesAnEmptyValueOfItsType) {
  ASSERT_TRUE(Write(memory, List(ListBuilder().Record(kRegBinary, "Blob", {}).End())));
  std::uint8_t buffer[8];
  std::uint32_t type = 0, size = sizeof buffer;
  ASSERT_EQ(memory.QueryValue(key.get(), "Blob", &type, buffer, &size), kOk);
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(size, 0u);
}

TEST_F(WriteDeviceValuesTest, ProgramsOwnValuesReplaceRecordsOfTheSameName) {
  void* list = List(ListBuilder().Sz("DeviceType", "Plug-in's idea").Dword("AdapterNumber", 99).End());
  ASSERT_TRUE(Write(memory, list, "VA85 Family"));
  char text[kStringBufferBytes];
  ASSERT_TRUE(key.ReadString("DeviceType", text));
  EXPECT_STREQ(text, "VA85 Family");
  std::uint32_t number = 0;
  ASSERT_TRUE(key.ReadDword("AdapterNumber", &number));
  EXPECT_EQ(number, 4u);
}

// A broken list ends where its block ends: the records before the break
// stay written and the program's own values still follow.
TEST_F(WriteDeviceValuesTest, UnterminatedListStillGetsTheProgramsValues) {
  void* list = List(ListBuilder().Dword("Baud", 1).Le32(kRegSz).Raw("Trunc"));
  EXPECT_TRUE(Write(recorder, list));
  EXPECT_EQ(
      Writes(recorder),
      (std::vector<ValueWrite>{{"Baud", kRegDword, Le32Bytes(1)}, AdapterNumberWrite(), DeviceTypeWrite()}));
}

// Memory of unknown extent (not from the global heap) cannot be bounded, so
// none of it is read.
TEST_F(WriteDeviceValuesTest, ListOfUnknownSizeContributesNoValues) {
  const Bytes bytes = ListBuilder().Dword("Baud", 1).End().bytes();
  EXPECT_TRUE(Write(recorder, bytes.data()));
  EXPECT_EQ(Writes(recorder), (std::vector<ValueWrite>{AdapterNumberWrite(), DeviceTypeWrite()}));
}

TEST_F(WriteDeviceValuesTest, FirstFailedWriteStopsEverything) {
  CountingRegistryStore counting(static_cast<RegistryStore&>(recorder));
  void* list = List(ListBuilder().Dword("A", 1).Dword("B", 2).Dword("C", 3).End());
  // The recorder sits below the fault injection, so it sees only the writes
  // that reached the registry.
  counting.FailCall(StoreOp::SetValue, 2);
  EXPECT_FALSE(Write(counting, list));
  EXPECT_EQ(counting.Count(StoreOp::SetValue), 2u);
  EXPECT_EQ(Writes(recorder), (std::vector<ValueWrite>{{"A", kRegDword, Le32Bytes(1)}}));
  std::uint32_t number = 0;
  EXPECT_FALSE(key.ReadDword("AdapterNumber", &number));
}

TEST_F(WriteDeviceValuesTest, FailedAdapterNumberSkipsDeviceTypeAndFailedDeviceTypeFails) {
  CountingRegistryStore counting(static_cast<RegistryStore&>(recorder));
  counting.FailCall(StoreOp::SetValue, 1);
  EXPECT_FALSE(Write(counting, nullptr));
  EXPECT_TRUE(Writes(recorder).empty());
  EXPECT_EQ(counting.Count(StoreOp::SetValue), 1u);

  counting.ResetCounts();
  counting.FailCall(StoreOp::SetValue, 2);
  EXPECT_FALSE(Write(counting, nullptr));
  EXPECT_EQ(Writes(recorder), (std::vector<ValueWrite>{AdapterNumberWrite()}));
}

}  // namespace
}  // namespace veldra::test
