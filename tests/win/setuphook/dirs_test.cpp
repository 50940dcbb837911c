// DoesDirExist, CreateDir and ChangeDir against the real file system.
#include <gtest/gtest.h>

#include "env.h"

using hooktest::CallResult;
using hooktest::TheEnv;

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string CurrentDir() {
  char buffer[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof buffer, buffer);
  return buffer;
}

class Dirs : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = hooktest::TempDir();
    saved_ = CurrentDir();
  }
  void TearDown() override { SetCurrentDirectoryA(saved_.c_str()); }
  CallResult Call(const char* name, const std::string& arg) { return TheEnv().shipped->Call(name, {arg}); }
  std::string Answer(const char* name, const std::string& arg) { return hooktest::Answer(Call(name, arg)); }

  std::string base_;  // ends in a backslash
  std::string saved_;
};

TEST_F(Dirs, DoesDirExistAnswersForAnyExistingObject) {
  const std::string file = base_ + "plain.txt";
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_EQ(Call("DoesDirExist", base_).text, "Yes");
  EXPECT_EQ(Answer("DoesDirExist", file), "Yes");
  EXPECT_EQ(Answer("DoesDirExist", base_ + "missing"), "No");
}

TEST_F(Dirs, CreateDirOnADriveRootCreatesNothing) { EXPECT_EQ(Answer("CreateDir", "C:\\"), "Yes"); }

TEST_F(Dirs, CreateDirCreatesEveryNewLevel) {
  const std::string path = base_ + "one\\two\\three";
  EXPECT_EQ(Answer("CreateDir", path), "Yes");
  EXPECT_TRUE(Exists(base_ + "one"));
  EXPECT_TRUE(Exists(base_ + "one\\two"));
  EXPECT_TRUE(Exists(path));
  // Again, with every level present: still "Yes".
  EXPECT_EQ(Call("CreateDir", path).text, "Yes");
}

TEST_F(Dirs, CreateDirWithTrailingOrDoubledBackslash) {
  EXPECT_EQ(Call("CreateDir", base_ + "trail\\sub\\").text, "Yes");
  EXPECT_TRUE(Exists(base_ + "trail\\sub"));
  EXPECT_EQ(Call("CreateDir", base_ + "double\\\\sub").text, "Yes");
  EXPECT_TRUE(Exists(base_ + "double\\sub"));
}

TEST_F(Dirs, CreateDirOnRelativePaths) {
  ASSERT_TRUE(SetCurrentDirectoryA(base_.c_str()));
  // A single name has no backslash: nothing is created.
  EXPECT_EQ(Call("CreateDir", "single").text, "No");
  EXPECT_FALSE(Exists(base_ + "single"));
  ASSERT_TRUE(CreateDirectoryA((base_ + "single").c_str(), nullptr));
  EXPECT_EQ(Call("CreateDir", "single").text, "Yes");
  // One backslash: only the whole path is created, never its first level.
  EXPECT_EQ(Call("CreateDir", "first\\second").text, "No");
  EXPECT_FALSE(Exists(base_ + "first"));
  ASSERT_TRUE(CreateDirectoryA((base_ + "first").c_str(), nullptr));
  EXPECT_EQ(Call("CreateDir", "first\\second").text, "Yes");
  EXPECT_TRUE(Exists(base_ + "first\\second"));
}

TEST_F(Dirs, CreateDirOnAMissingDriveAnswersNo) { EXPECT_EQ(Answer("CreateDir", "Q:\\nothing\\here"), "No"); }

TEST_F(Dirs, CreateDirTakesPathsOf128CharactersAndMore) {
  std::string path = base_ + "long";
  int level = 0;
  while (path.size() < 200) path += "\\level" + std::to_string(level++) + "-abcdefghij";
  ASSERT_GE(path.size(), 200u);
  ASSERT_LT(path.size(), 240u);
  EXPECT_EQ(Answer("CreateDir", path), "Yes");
  EXPECT_TRUE(Exists(path));
  // Exactly at the old limit: 128 characters, created as given, not cut.
  std::string edge = base_ + "edge\\";
  edge += std::string(128 - edge.size(), 'e');
  ASSERT_EQ(edge.size(), 128u);
  EXPECT_EQ(Call("CreateDir", edge).text, "Yes");
  EXPECT_TRUE(Exists(edge));
  EXPECT_FALSE(Exists(edge.substr(0, 127)));
}

TEST_F(Dirs, ChangeDirSucceedsOnlyOnAnAccessibleDirectory) {
  const std::string target = base_ + "cd";
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
  EXPECT_EQ(Answer("ChangeDir", target), "Success");
  EXPECT_EQ(CurrentDir(), target);
  EXPECT_EQ(Answer("ChangeDir", base_ + "absent"), "Cancel");
  EXPECT_EQ(CurrentDir(), target);
}

}  // namespace
