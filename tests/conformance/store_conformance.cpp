// What the model relies on from the registry, checked against whichever
// store test_registry.h provides. Where the memory store and the real
// registry disagree, the real registry is right and the memory store is fixed.
// Names stay clear of [ \ ] ^ _ and backquote, which Wine and Windows NT sort
// differently.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "test_registry.h"

namespace veldra_test {
namespace {

using veldra::Access;
using veldra::Key;
using veldra::KeyHandle;

using veldra::kErrBadPathname;
using veldra::kErrKeyDeleted;

class StoreConformance : public RegistryTest {};

TEST_F(StoreConformance, OpenOrCreateCreatesMissingKeysAlsoForReadOnlyUse) {
  {
    Key leaf = Make("Alpha\\Beta\\Gamma", nullptr, Access::Read);
    ASSERT_TRUE(leaf);
    EXPECT_TRUE(Subkeys(leaf.get()).empty());
  }
  Key alpha = Make("Alpha");
  EXPECT_EQ(Subkeys(alpha.get()), std::vector<std::string>{"Beta"});
  Key beta = Make("Beta", alpha.get());
  EXPECT_EQ(Subkeys(beta.get()), std::vector<std::string>{"Gamma"});

  // Opening again reaches the same key: a value written through one handle
  // is seen through another, and no second key appears.
  Key again = Make("alpha\\BETA\\gamma");
  SetDword(again.get(), "Marker", 7);
  Key gamma = Make("Gamma", beta.get(), Access::Read);
  std::uint32_t value = 0;
  EXPECT_TRUE(gamma.ReadDword("Marker", &value));
  EXPECT_EQ(value, 7u);
  EXPECT_EQ(Subkeys(beta.get()).size(), 1u);
}

TEST_F(StoreConformance, PathsAndHandles) {
  KeyHandle out = reinterpret_cast<KeyHandle>(1);
  EXPECT_EQ(store().OpenOrCreate(store().Root(), "\\Leading", Access::All, &out), kErrBadPathname);
  // A trailing backslash is harmless; an empty path opens the parent again.
  Key trailing = Make("Trailing\\");
  EXPECT_EQ(Subkeys(store().Root()), std::vector<std::string>{"Trailing"});
  Key self = Make("", trailing.get());
  SetDword(self.get(), "Seen", 1);
  EXPECT_TRUE(Exists(trailing.get(), "Seen"));

  char name[veldra::kNameBufferChars];
  std::uint32_t chars = sizeof name;
  EXPECT_EQ(store().EnumKey(nullptr, 0, name, &chars), veldra::kErrInvalidHandle);
  EXPECT_EQ(store().QueryValue(nullptr, "x", nullptr, nullptr, nullptr), veldra::kErrInvalidHandle);
}

TEST_F(StoreConformance, ReadOnlyHandleRefusesChanges) {
  Make("Catalog\\Type");
  Key readOnly = Make("Catalog", nullptr, Access::Read);
  const std::uint32_t one = 1;
  EXPECT_EQ(store().SetValue(readOnly.get(), "Physical", veldra::kRegDword, &one, 4),
            veldra::kErrAccessDenied);
  EXPECT_EQ(store().DeleteValue(readOnly.get(), "Physical"), veldra::kErrAccessDenied);
  EXPECT_FALSE(Exists(readOnly.get(), "Physical"));
  EXPECT_EQ(Subkeys(readOnly.get()), std::vector<std::string>{"Type"});
}

TEST_F(StoreConformance, NamesOf128CharactersOrMoreEndAnEnumeration) {
  const std::string n127(127, 'A');
  const std::string n128 = "B" + std::string(127, 'b');
  const std::string n200 = "D" + std::string(199, 'd');
  Key parent = Make("Parent");
  MakeMany(parent.get(), {n127, n128, "C", n200, "E"});

  char name[veldra::kNameBufferChars + 8];
  std::uint32_t chars = veldra::kNameBufferChars;
  ASSERT_EQ(store().EnumKey(parent.get(), 0, name, &chars), veldra::kOk);
  EXPECT_EQ(chars, 127u);
  EXPECT_EQ(std::string(name), n127);

  std::memset(name, '#', sizeof name);
  chars = veldra::kNameBufferChars;
  EXPECT_EQ(store().EnumKey(parent.get(), 1, name, &chars), veldra::kErrMoreData);
  EXPECT_EQ(name[veldra::kNameBufferChars], '#') << "wrote past the buffer";

  // The model stops at the first failure, so C, D... and E are never seen.
  EXPECT_EQ(Subkeys(parent.get()), std::vector<std::string>{n127});

  // Later indexes still answer when asked directly; past the end is the end.
  chars = veldra::kNameBufferChars;
  ASSERT_EQ(store().EnumKey(parent.get(), 2, name, &chars), veldra::kOk);
  EXPECT_STREQ(name, "C");
  chars = veldra::kNameBufferChars;
  EXPECT_EQ(store().EnumKey(parent.get(), 3, name, &chars), veldra::kErrMoreData);
  chars = veldra::kNameBufferChars;
  EXPECT_EQ(store().EnumKey(parent.get(), 5, name, &chars), veldra::kErrNoMoreItems);
  // A buffer large enough takes the long name.
  char large[256];
  chars = sizeof large;
  ASSERT_EQ(store().EnumKey(parent.get(), 1, large, &chars), veldra::kOk);
  EXPECT_EQ(std::string(large), n128);
}

TEST_F(StoreConformance, EnumerationIsSortedWithoutRegardToCaseAndPreservesCase) {
  Key parent = Make("Parent");
  MakeMany(parent.get(), {"beta", "Alpha", "GAMMA", "Delta10", "delta2", "alpha2", "A B", "a-c", "a1"});
  const std::vector<std::string> expected = {"A B",  "a-c",     "a1",     "Alpha", "alpha2",
                                             "beta", "Delta10", "delta2", "GAMMA"};
  EXPECT_EQ(Subkeys(parent.get()), expected);

  // Another spelling opens the same key and keeps the first spelling.
  Make("ALPHA", parent.get());
  Make("gamma\\Child", parent.get());
  EXPECT_EQ(Subkeys(parent.get()), expected);
  Key gamma = Make("GaMmA", parent.get());
  EXPECT_EQ(Subkeys(gamma.get()), std::vector<std::string>{"Child"});

  // Value names too are case-insensitive.
  SetDword(parent.get(), "AdapterNumber", 3);
  std::uint32_t value = 0;
  EXPECT_TRUE(parent.ReadDword("ADAPTERNUMBER", &value));
  EXPECT_EQ(value, 3u);
  SetDword(parent.get(), "adapternumber", 4);
  EXPECT_TRUE(parent.ReadDword("AdapterNumber", &value));
  EXPECT_EQ(value, 4u);

  // Deleting shifts the later indexes down.
  ASSERT_EQ(store().DeleteKey(parent.get(), "ALPHA"), veldra::kOk);
  EXPECT_EQ(Subkeys(parent.get())[3], "alpha2");
}

TEST_F(StoreConformance, ValueLargerThanTheBufferReadsAsAbsent) {
  Key key = Make("Values");
  SetRaw(key.get(), "Big", veldra::kRegBinary, std::string(129, 'x'));
  char buffer[veldra::kStringBufferBytes];
  std::uint32_t size = sizeof buffer;
  std::uint32_t type = 0;
  EXPECT_EQ(store().QueryValue(key.get(), "Big", &type, buffer, &size), veldra::kErrMoreData);
  EXPECT_EQ(size, 129u);
  EXPECT_EQ(type, veldra::kRegBinary);

  // Without a data buffer the size is reported; data without a size is refused.
  size = 0;
  EXPECT_EQ(store().QueryValue(key.get(), "Big", nullptr, nullptr, &size), veldra::kOk);
  EXPECT_EQ(size, 129u);
  EXPECT_EQ(store().QueryValue(key.get(), "Big", nullptr, buffer, nullptr), veldra::kErrInvalidParameter);

  SetRaw(key.get(), "Fits", veldra::kRegBinary, std::string(128, 'y'));
  size = sizeof buffer;
  EXPECT_EQ(store().QueryValue(key.get(), "Fits", nullptr, buffer, &size), veldra::kOk);
  EXPECT_EQ(size, 128u);
  EXPECT_EQ(store().QueryValue(key.get(), "Missing", nullptr, buffer, &size), veldra::kErrFileNotFound);
}

TEST_F(StoreConformance, ValueEnumerationGivesEveryValueOnceAndRefusesShortBuffers) {
  Key key = Make("Listed");
  SetRaw(key.get(), "Beta", veldra::kRegBinary, "xyz");
  SetDword(key.get(), "alpha", 7);
  std::vector<std::string> seen;
  char name[16];
  char data[8];
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t chars = sizeof name, type = 0, size = sizeof data;
    const long rc = store().EnumValue(key.get(), index, name, &chars, &type, data, &size);
    if (rc == veldra::kErrNoMoreItems) break;
    ASSERT_EQ(rc, veldra::kOk);
    EXPECT_EQ(chars, std::strlen(name));
    seen.push_back(std::string(name) + ":" + std::to_string(type) + ":" + std::string(data, size));
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"Beta:3:xyz", std::string("alpha:4:\x07\0\0\0", 12)}));

  // Without a data buffer only the size comes back; short buffers fail.
  std::uint32_t chars = sizeof name, size = 0;
  EXPECT_EQ(store().EnumValue(key.get(), 0, name, &chars, nullptr, nullptr, &size), veldra::kOk);
  EXPECT_TRUE(size == 3u || size == 4u) << size;
  chars = 2;
  size = sizeof data;
  EXPECT_EQ(store().EnumValue(key.get(), 0, name, &chars, nullptr, data, &size), veldra::kErrMoreData);
  chars = sizeof name;
  size = 1;
  EXPECT_EQ(store().EnumValue(key.get(), 0, name, &chars, nullptr, data, &size), veldra::kErrMoreData);
}

TEST_F(StoreConformance, StringsWithoutTerminatorGetOneOnlyWhenThereIsRoom) {
  Key key = Make("Values");
  // Written from a buffer that goes on past the given size: the real registry
  // counts a NUL right after a string's data as its terminator, which no
  // well-behaved caller relies on.
  const std::string data(200, 's');
  char buffer[veldra::kStringBufferBytes + 1];
  // 127 characters stored without NUL: a NUL is appended, the size stays.
  ASSERT_EQ(store().SetValue(key.get(), "Sz127", veldra::kRegSz, data.data(), 127), veldra::kOk);
  std::memset(buffer, '#', sizeof buffer);
  std::uint32_t size = veldra::kStringBufferBytes;
  ASSERT_EQ(store().QueryValue(key.get(), "Sz127", nullptr, buffer, &size), veldra::kOk);
  EXPECT_EQ(size, 127u);
  EXPECT_EQ(buffer[127], '\0');
  // 128 without NUL: exactly fills the buffer, nothing appended.
  ASSERT_EQ(store().SetValue(key.get(), "Sz128", veldra::kRegSz, data.data(), 128), veldra::kOk);
  std::memset(buffer, '#', sizeof buffer);
  size = veldra::kStringBufferBytes;
  ASSERT_EQ(store().QueryValue(key.get(), "Sz128", nullptr, buffer, &size), veldra::kOk);
  EXPECT_EQ(size, 128u);
  EXPECT_EQ(buffer[128], '#');
  // Binary data never gets one.
  ASSERT_EQ(store().SetValue(key.get(), "Bin", veldra::kRegBinary, data.data(), 2), veldra::kOk);
  std::memset(buffer, '#', sizeof buffer);
  size = veldra::kStringBufferBytes;
  ASSERT_EQ(store().QueryValue(key.get(), "Bin", nullptr, buffer, &size), veldra::kOk);
  EXPECT_EQ(buffer[2], '#');
}

TEST_F(StoreConformance, ExistenceTestReadsNoDataAndHasNoSizeLimit) {
  Key key = Make("Values");
  SetRaw(key.get(), "Huge", veldra::kRegBinary, std::string(64 * 1024, 'h'));
  SetRaw(key.get(), "Empty", veldra::kRegSz, "");
  EXPECT_EQ(store().QueryValue(key.get(), "Huge", nullptr, nullptr, nullptr), veldra::kOk);
  EXPECT_EQ(store().QueryValue(key.get(), "Empty", nullptr, nullptr, nullptr), veldra::kOk);
  EXPECT_EQ(store().QueryValue(key.get(), "Missing", nullptr, nullptr, nullptr), veldra::kErrFileNotFound);
  std::uint32_t type = 0;
  EXPECT_EQ(store().QueryValue(key.get(), "HUGE", &type, nullptr, nullptr), veldra::kOk);
  EXPECT_EQ(type, veldra::kRegBinary);

  EXPECT_EQ(store().DeleteValue(key.get(), "huge"), veldra::kOk);
  EXPECT_EQ(store().QueryValue(key.get(), "Huge", nullptr, nullptr, nullptr), veldra::kErrFileNotFound);
  EXPECT_EQ(store().DeleteValue(key.get(), "Huge"), veldra::kErrFileNotFound);
}

TEST_F(StoreConformance, KeyWithSubkeysCannotBeDeleted) {
  Key parent = Make("Parent");
  Make("Child\\Grandchild", parent.get());
  EXPECT_EQ(store().DeleteKey(parent.get(), "Child"), veldra::kErrAccessDenied);
  EXPECT_EQ(Subkeys(parent.get()), std::vector<std::string>{"Child"});
  EXPECT_EQ(store().DeleteKey(parent.get(), "Child\\Grandchild"), veldra::kOk);
  EXPECT_EQ(store().DeleteKey(parent.get(), "child"), veldra::kOk);
  EXPECT_TRUE(Subkeys(parent.get()).empty());
  EXPECT_EQ(store().DeleteKey(parent.get(), "Child"), veldra::kErrFileNotFound);
  EXPECT_EQ(store().DeleteKey(parent.get(), nullptr), veldra::kErrInvalidParameter);
}

TEST_F(StoreConformance, HandleOfADeletedKeyFails) {
  Key parent = Make("Parent");
  Key doomed = Make("Doomed", parent.get());
  SetDword(doomed.get(), "Value", 1);
  ASSERT_EQ(store().DeleteKey(parent.get(), "Doomed"), veldra::kOk);

  char name[veldra::kNameBufferChars];
  std::uint32_t chars = sizeof name;
  EXPECT_EQ(store().EnumKey(doomed.get(), 0, name, &chars), kErrKeyDeleted);
  EXPECT_EQ(store().QueryValue(doomed.get(), "Value", nullptr, nullptr, nullptr), kErrKeyDeleted);
  EXPECT_EQ(doomed.WriteDword("Value", 2), kErrKeyDeleted);
  KeyHandle out = nullptr;
  EXPECT_EQ(store().OpenOrCreate(doomed.get(), "Sub", Access::All, &out), kErrKeyDeleted);
  // Creating it again gives a new, empty key.
  Key reborn = Make("Doomed", parent.get());
  EXPECT_FALSE(Exists(reborn.get(), "Value"));
}

TEST_F(StoreConformance, EnvironmentExpandsInto128Characters) {
  registry().SetEnvironment("VeldraTestDir", std::string(120, 'p').c_str());
  char out[veldra::kStringBufferBytes];
  // 7 + 120 characters and the NUL fill the buffer exactly.
  ASSERT_EQ(store().ExpandEnvironment("abcdefg%VeldraTestDir%", out, sizeof out), 128u);
  EXPECT_EQ(std::string(out), "abcdefg" + std::string(120, 'p'));
  // One more does not fit: the result tells how much it needs.
  EXPECT_EQ(store().ExpandEnvironment("abcdefgh%VeldraTestDir%", out, sizeof out), 129u);

  registry().SetEnvironment("VeldraTestRoot", "C:\\WINDOWS");
  const std::string expanded = "C:\\WINDOWS\\system32\\x.dll";
  ASSERT_EQ(store().ExpandEnvironment("%veldratestroot%\\system32\\x.dll", out, sizeof out),
            expanded.size() + 1);
  EXPECT_EQ(std::string(out), expanded);
  // Unknown names and stray percent signs stay as written.
  ASSERT_GT(store().ExpandEnvironment("a%VeldraNoSuchVar%b%%c%", out, sizeof out), 0u);
  EXPECT_STREQ(out, "a%VeldraNoSuchVar%b%%c%");
  ASSERT_GT(store().ExpandEnvironment("None", out, sizeof out), 0u);
  EXPECT_STREQ(out, "None");
}

TEST_F(StoreConformance, HelpersReadWithinTheirBuffers) {
  Key key = Make("Values");
  char text[veldra::kStringBufferBytes];
  std::strcpy(text, "default");
  // 127 characters and the NUL: 128 bytes, fits.
  SetString(key.get(), "S128", std::string(127, 'a'));
  ASSERT_TRUE(key.ReadString("S128", text));
  EXPECT_EQ(std::strlen(text), 127u);
  // 129 bytes: absent, buffer untouched.
  std::strcpy(text, "default");
  SetString(key.get(), "S129", std::string(128, 'a'));
  EXPECT_FALSE(key.ReadString("S129", text));
  EXPECT_STREQ(text, "default");
  // 128 bytes without a NUL cannot hold its terminator: absent.
  const std::string r200(200, 'r');
  ASSERT_EQ(store().SetValue(key.get(), "Raw128", veldra::kRegSz, r200.data(), 128), veldra::kOk);
  EXPECT_FALSE(key.ReadString("Raw128", text));
  EXPECT_STREQ(text, "default");
  // Shorter data without a NUL is terminated where it ends, binary included.
  SetRaw(key.get(), "Raw127", veldra::kRegBinary, std::string(127, 'r'));
  ASSERT_TRUE(key.ReadString("Raw127", text));
  EXPECT_EQ(std::string(text), std::string(127, 'r'));
  SetRaw(key.get(), "Empty", veldra::kRegSz, "");
  ASSERT_TRUE(key.ReadString("Empty", text));
  EXPECT_STREQ(text, "");

  std::uint32_t number = 99;
  SetRaw(key.get(), "Wide", veldra::kRegBinary, std::string(8, '\1'));
  EXPECT_FALSE(key.ReadDword("Wide", &number));
  SetRaw(key.get(), "None", veldra::kRegNone, "");
  EXPECT_FALSE(key.ReadDword("None", &number));
  EXPECT_EQ(number, 99u);
  SetRaw(key.get(), "Short", veldra::kRegBinary, std::string("\x05\x01", 2));
  ASSERT_TRUE(key.ReadDword("Short", &number));
  EXPECT_EQ(number, 0x105u);
  SetDword(key.get(), "Dword", 0xA1B2C3D4u);
  std::string raw;
  std::uint32_t type = 0;
  ASSERT_TRUE(GetRaw(key.get(), "Dword", &type, &raw));
  EXPECT_EQ(type, veldra::kRegDword);
  EXPECT_EQ(raw, std::string("\xD4\xC3\xB2\xA1", 4));
  SetString(key.get(), "Group", "Extended Base");
  ASSERT_TRUE(GetRaw(key.get(), "Group", &type, &raw));
  EXPECT_EQ(type, veldra::kRegSz);
  EXPECT_EQ(raw, std::string("Extended Base", 14));
}

}  // namespace
}  // namespace veldra_test
