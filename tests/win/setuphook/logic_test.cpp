// The window-free decisions: the CreateDir walk, the plug-in path limit, the
// free-space figure, centring, end codes, and setupcall's call lists.
#include "logic.h"

#include <gtest/gtest.h>

#include "callfile.h"

namespace setuphook {
namespace {

using Levels = std::vector<std::string>;

Levels CreateDirLevels(const std::string& path) {
  Levels levels;
  for (std::size_t end = NextDirLevel(path.c_str(), path.size(), 0); end != 0;
       end = NextDirLevel(path.c_str(), path.size(), end)) {
    levels.push_back(path.substr(0, end));
  }
  return levels;
}

TEST(CreateDirLevels, FollowsTheBackslashesAfterTheFirst) {
  EXPECT_EQ(CreateDirLevels("D:\\A\\B"), (Levels{"D:\\A", "D:\\A\\B"}));
  EXPECT_EQ(CreateDirLevels("C:\\"), Levels{});
  EXPECT_EQ(CreateDirLevels("C:"), Levels{});
  EXPECT_EQ(CreateDirLevels("single"), Levels{});
  EXPECT_EQ(CreateDirLevels("first\\second"), Levels{"first\\second"});
  EXPECT_EQ(CreateDirLevels("D:\\A\\B\\"), (Levels{"D:\\A", "D:\\A\\B"}));
  EXPECT_EQ(CreateDirLevels("D:\\A\\\\B"), (Levels{"D:\\A", "D:\\A\\", "D:\\A\\\\B"}));
  EXPECT_EQ(CreateDirLevels("\\\\server\\share\\dir"),
            (Levels{"\\", "\\\\server", "\\\\server\\share", "\\\\server\\share\\dir"}));
}

TEST(CreateDirLevels, LongPathsAreWalkedWhole) {
  std::string path = "C:\\";
  for (int i = 0; i < 40; ++i) path += "level\\";
  path += "last";
  const Levels levels = CreateDirLevels(path);
  ASSERT_EQ(levels.size(), 41u);
  EXPECT_EQ(levels.back(), path);
  EXPECT_GT(path.size(), 200u);
}

TEST(ConfigDllPath, AppendsThePluginUpToTheReadersLimit) {
  ConfigDllPath path;
  ASSERT_TRUE(BuildConfigDllPath("D:\\ZOVORO", &path));
  EXPECT_EQ(path, "D:\\ZOVORO\\VDREDTSA.DLL");
  ASSERT_TRUE(BuildConfigDllPath(std::string(114, 'x').c_str(), &path));
  EXPECT_EQ(path.size(), 127u);
  path = "unchanged";
  EXPECT_FALSE(BuildConfigDllPath(std::string(115, 'x').c_str(), &path));
  EXPECT_EQ(path, "unchanged");
}

TEST(AvailableMegabytes, NeverWraps) {
  EXPECT_EQ(AvailableMegabytes(512, 8, 0), 0u);
  EXPECT_EQ(AvailableMegabytes(512, 8, 255), 0u);  // under 1 MB rounds down
  EXPECT_EQ(AvailableMegabytes(512, 8, 256), 1u);
  // 4 GiB exactly: 2^32 bytes would read as 0 in 32 bits.
  EXPECT_EQ(AvailableMegabytes(512, 8, 1u << 20), 4096u);
  EXPECT_EQ(AvailableMegabytes(4096, 128, 0xFFFFFFFFu), 2147483647u);
  // Beyond what 32 bits of megabytes hold: the largest count.
  EXPECT_EQ(AvailableMegabytes(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu), 0xFFFFFFFFu);
  EXPECT_EQ(AvailableMegabytes(65536, 65536, 0x100000u), 0xFFFFFFFFu);
}

TEST(CenterPosition, TruncatesTowardZero) {
  EXPECT_EQ(CenterPosition(1024, 768, 400, 300).x, 312);
  EXPECT_EQ(CenterPosition(1024, 768, 401, 301).y, 233);
  // Larger than the screen: negative, truncated toward zero.
  EXPECT_EQ(CenterPosition(100, 100, 103, 101).x, -1);
  EXPECT_EQ(CenterPosition(100, 100, 103, 101).y, 0);
}

TEST(MapEndCode, FollowsEachDialogsTable) {
  using K = DialogKind;
  using O = Outcome;
  struct Case {
    K kind;
    std::intptr_t code;
    O outcome;
    bool flag;
  };
  const Case cases[] = {
      {K::kWelcome, 1, O::kSuccess, true},
      {K::kWelcome, 0, O::kCancel, true},
      {K::kWelcome, -1, O::kExit, false},
      {K::kDestination, 1, O::kChosenDirectory, true},
      {K::kDestination, 0, O::kCancel, true},
      {K::kDestination, -1, O::kExit, false},
      {K::kExitSetup, 1, O::kSuccess, true},
      {K::kExitSetup, 0, O::kCancel, true},
      {K::kExitSetup, -1, O::kUnknownError, false},
      {K::kIncompleteInstall, 1, O::kSuccess, true},
      {K::kIncompleteInstall, 0, O::kUnknownError, false},
      {K::kIncompleteInstall, -1, O::kUnknownError, false},
      {K::kWelcome, 2, O::kExit, false},
  };
  for (const Case& c : cases) {
    const DialogResult r = MapEndCode(c.kind, c.code);
    EXPECT_EQ(r.outcome, c.outcome) << static_cast<int>(c.kind) << " " << c.code;
    EXPECT_EQ(r.flag, c.flag) << static_cast<int>(c.kind) << " " << c.code;
  }
}

TEST(IsDriveSelection, OnlyALetterAndAColon) {
  EXPECT_TRUE(IsDriveSelection("z:"));
  EXPECT_FALSE(IsDriveSelection("z:\\"));
  EXPECT_FALSE(IsDriveSelection("windows\\"));
  EXPECT_FALSE(IsDriveSelection(""));
  EXPECT_FALSE(IsDriveSelection("z"));
}

}  // namespace
}  // namespace setuphook

namespace setupcall {
namespace {

using Words = std::vector<std::string>;

// Splits a copy of `line` with room for `maxWords`; the words in *w.
int Split(const std::string& line, Words* w, int maxWords = kMaxWords) {
  std::vector<char> text(line.begin(), line.end());
  text.push_back('\0');
  std::vector<char*> words(static_cast<std::size_t>(maxWords));
  const int count = SplitCallLine(text.data(), words.data(), maxWords);
  w->assign(words.begin(), words.begin() + (count > 0 ? count : 0));
  return count;
}

TEST(CallLines, SplitsOnBlanksWithQuotesAndLiteralBackslashes) {
  Words w;
  ASSERT_EQ(2, Split("CreateDir C:\\ZOVORO\\demo", &w));
  EXPECT_EQ(w, (Words{"CreateDir", "C:\\ZOVORO\\demo"}));
  ASSERT_EQ(2, Split("  DlgWelcome\t\"Hello  there\"  ", &w));
  EXPECT_EQ(w, (Words{"DlgWelcome", "Hello  there"}));
  ASSERT_EQ(3, Split("DlgDestination \"C:\\Program Files\\\" 12", &w));
  EXPECT_EQ(w, (Words{"DlgDestination", "C:\\Program Files\\", "12"}));
  ASSERT_EQ(4, Split("X \"\" \"say \"\"hi\"\"\" a\"b c\"d", &w));
  EXPECT_EQ(w, (Words{"X", "", "say \"hi\"", "ab cd"}));
  ASSERT_EQ(1, Split("Shutdown\r", &w));
  EXPECT_EQ(w, Words{"Shutdown"});
  EXPECT_EQ(kOpenQuote, Split("DlgWelcome \"open", &w));
}

TEST(CallLines, NoMoreWordsThanTheCallerHasRoomFor) {
  Words w;
  ASSERT_EQ(2, Split("DlgWelcome \"a b\"  ", &w, 2));
  EXPECT_EQ(w, (Words{"DlgWelcome", "a b"}));
  EXPECT_EQ(kTooManyWords, Split("DlgWelcome a b", &w, 2));
  std::string line = "X";
  for (int i = 1; i < kMaxWords; ++i) line += " a";
  EXPECT_EQ(kMaxWords, Split(line, &w));
  EXPECT_EQ(kTooManyWords, Split(line + " a", &w));
}

TEST(CallLines, BlankAndCommentLinesHoldNoCall) {
  EXPECT_TRUE(IsBlankOrComment(""));
  EXPECT_TRUE(IsBlankOrComment("  \t\r"));
  EXPECT_TRUE(IsBlankOrComment("  # note"));
  EXPECT_FALSE(IsBlankOrComment("DoesDirExist #1"));
}

}  // namespace
}  // namespace setupcall
