// The file layer with paths that the ANSI code page cannot carry. Natively
// the paths are plain bytes; the same tests, built for Windows and run under
// Wine (whose code page is cp1252 here), go through the wide functions.
#include "setup/data/file_io.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include "setup/data/data_file.h"
#include "setup/data/document.h"

namespace odc {
namespace {

namespace fs = std::filesystem;

// "Łukasz 日本": "Ł" is outside cp1252, the Japanese outside every
// Western code page.
const std::string kUnicodeFolder = "\xC5\x81ukasz \xE6\x97\xA5\xE6\x9C\xAC";

// A fresh folder named with kUnicodeFolder, made and inspected through
// std::filesystem (its own UTF-8 handling, not the layer under test).
class UnicodeFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(::testing::TempDir()) /
            ("odc_file_io_" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    folder_ = root_ / fs::u8path(kUnicodeFolder);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  // The UTF-8 path of a file in the folder, as the program holds paths.
  std::string Path(const std::string& utf8Name) const {
    return (folder_ / fs::u8path(utf8Name)).u8string();
  }
  fs::path Native(const std::string& utf8Name) const { return folder_ / fs::u8path(utf8Name); }
  std::vector<uint8_t> Contents(const std::string& utf8Name) const {
    std::ifstream in(Native(utf8Name), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  void Put(const std::string& utf8Name, const std::string& bytes) const {
    std::ofstream(Native(utf8Name), std::ios::binary) << bytes;
  }
  fs::path root_, folder_;
};

TEST_F(UnicodeFolderTest, WritesReplacesAndReadsUnderTheFolder) {
  const std::string name = "site \xE6\x97\xA5.DAT";
  const std::vector<uint8_t> first = {1, 2, 3, 0, 255};
  ASSERT_TRUE(WriteFileAtomically(Path(name), first.data(), first.size()));
  EXPECT_EQ(Contents(name), first) << "the file is where the path says";

  const std::vector<uint8_t> second(70000, 0x5A);
  ASSERT_TRUE(WriteFileAtomically(Path(name), second.data(), second.size()));
  EXPECT_EQ(Contents(name), second) << "replaced";
  EXPECT_FALSE(fs::exists(fs::u8path(TemporaryPathFor(Path(name))))) << "no temporary file left";
  // Nothing else appeared in the folder (no file under a mangled name).
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

  std::vector<uint8_t> read;
  ASSERT_TRUE(ReadFileBytes(Path(name), read));
  EXPECT_EQ(read, second);
}

TEST_F(UnicodeFolderTest, TellsFilesThatCannotBeOpenedFromOthers) {
  Put("good.DAT", "x");
  const struct {
    std::string path;
    bool opens, exists;
  } cases[] = {
      {Path("good.DAT"), true, true},
      {Path("missing.DAT"), false, false},
      {folder_.u8string(), false, false},  // a folder is no file
      {(root_ / fs::u8path("no such folder") / "x.DAT").u8string(), false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileCanBeOpened(c.path), c.opens) << c.path;
    EXPECT_EQ(IsExistingFile(c.path), c.exists) << c.path;
    std::vector<uint8_t> bytes{9};
    EXPECT_EQ(ReadFileBytes(c.path, bytes), c.opens) << c.path;
    if (!c.opens) {
      EXPECT_TRUE(bytes.empty());
    }
  }
}

TEST_F(UnicodeFolderTest, RemovesFilesUnderTheFolder) {
  Put("old.BAK", "x");
  EXPECT_TRUE(RemoveFile(Path("old.BAK")));
  EXPECT_FALSE(fs::exists(Native("old.BAK")));
  EXPECT_FALSE(RemoveFile(Path("old.BAK")));
}

TEST_F(UnicodeFolderTest, AWriteIntoAMissingFolderFailsAndLeavesNothing) {
  const std::string path = (folder_ / fs::u8path("gone \xC5\x81") / "x.DAT").u8string();
  const uint8_t byte = 7;
  EXPECT_FALSE(WriteFileAtomically(path, &byte, 1));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 0);
}

TEST_F(UnicodeFolderTest, DataSetsOpenAndSaveUnderTheFolder) {
  auto set = std::make_unique<DataSet>();
  Document document;
  ASSERT_EQ(NewDataSet(*set, document), 1);
  const std::string path = Path("\xC5\x81\xC3\xB3\x64\xC5\xBA.DAT");  // "Łódź.DAT"
  ASSERT_EQ(SaveDataSet(*set, document, path), 1);
  EXPECT_EQ(document.filePath, path);
  EXPECT_EQ(document.displayName, "\xC5\x81\xC3\xB3\x64\xC5\xBA.DAT");
  EXPECT_EQ(Contents("\xC5\x81\xC3\xB3\x64\xC5\xBA.DAT").size(), 2248u);

  auto reopened = std::make_unique<DataSet>();
  Document other;
  EXPECT_EQ(OpenDataSet(*reopened, other, path), 1);
  EXPECT_EQ(other.filePath, path);
}

TEST_F(UnicodeFolderTest, UnusableFilesAreNamedOrBlamedForTheirFormat) {
  Put("cmc.DAT", "CMC and the rest");
  EXPECT_EQ(UnusableFileMessage(Path("cmc.DAT")), kFileFormatErrorMessage);
  const std::string missing = Path("missing 100%s.DAT");
  EXPECT_EQ(UnusableFileMessage(missing), "The file " + missing + " cannot be opened.");
  EXPECT_EQ(UnusableFileMessage(folder_.u8string()),
            "The file " + folder_.u8string() + " cannot be opened.");
}

TEST(InsertPath, KeepsThePathAsItIs) {
  const struct {
    std::string format, path, expected;
  } cases[] = {
      {"Is Change %s Saved ?", "C:\\a%d%s\\b.DAT", "Is Change C:\\a%d%s\\b.DAT Saved ?"},
      {"no placeholder", "x", "no placeholder"},
      {"%s", std::string(3000, 'p'), std::string(3000, 'p')},
  };
  for (const auto& c : cases) EXPECT_EQ(InsertPath(c.format, c.path), c.expected);
}

void SetEnvironment(const char* name, const std::string& utf8) {
#ifdef _WIN32
  // Set through the wide environment, as Windows passes a variable that
  // holds characters outside the code page.
  SetEnvironmentVariableW(fs::u8path(name).wstring().c_str(), fs::u8path(utf8).wstring().c_str());
#else
  setenv(name, utf8.c_str(), 1);
#endif
}

void UnsetEnvironment(const char* name) {
#ifdef _WIN32
  SetEnvironmentVariableW(fs::u8path(name).wstring().c_str(), nullptr);
#else
  unsetenv(name);
#endif
}

TEST(ReadEnvironmentText, ReadsPathsInFull) {
  const char* name = "ODC_FILE_IO_TEST_VARIABLE";
  std::string value = "stale";
  UnsetEnvironment(name);
  EXPECT_FALSE(ReadEnvironmentText(name, value));
  EXPECT_EQ(value, "");

  const std::string path = "Z:\\tmp\\" + kUnicodeFolder + "\\" + std::string(400, 'm') + ".dat";
  SetEnvironment(name, path);
  ASSERT_TRUE(ReadEnvironmentText(name, value));
  EXPECT_EQ(value, path) << "longer than the first buffer, and every letter kept";
  UnsetEnvironment(name);
}

#ifdef _WIN32
TEST(WidePaths, BytesThatAreNotUtf8NameNoFile) {
  // 0xC5 alone is "Å" in cp1252; read as UTF-8 it is a broken sequence and
  // must not open the cp1252 name or any other.
  const fs::path dir = fs::path(::testing::TempDir()) / "odc_not_utf8";
  fs::create_directories(dir);
  std::ofstream(dir / fs::u8path("\xC3\x85.DAT")) << "x";  // "Å.DAT" in UTF-8
  const std::string broken = dir.u8string() + "\\\xC5.DAT";
  EXPECT_FALSE(FileCanBeOpened(broken));
  const uint8_t byte = 1;
  EXPECT_FALSE(WriteFileAtomically(broken, &byte, 1));
  EXPECT_EQ(WideFromUtf8("\xC5"), L"");
  EXPECT_EQ(Utf8FromWide(WideFromUtf8(kUnicodeFolder)), kUnicodeFolder);
  fs::remove_all(dir);
}

// Another program (a virus scanner, the indexer) holding the target open
// for a moment does not make a save fail; a hold that does not end does, and
// leaves the target as it was and no temporary file.
TEST_F(UnicodeFolderTest, AReplacementWaitsForABriefHoldOnTheTarget) {
  const std::string name = "held.DAT";
  Put(name, "old");
  auto hold = [&]() {
    return CreateFileW(WideFromUtf8(Path(name)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  const std::vector<uint8_t> bytes = {'n', 'e', 'w'};

  HANDLE held = hold();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteFileAtomically(Path(name), bytes.data(), bytes.size()))
      << "a hold that lasts fails the save";
  CloseHandle(held);
  EXPECT_EQ(Contents(name), std::vector<uint8_t>({'o', 'l', 'd'}));
  EXPECT_FALSE(fs::exists(fs::u8path(TemporaryPathFor(Path(name)))));

  held = hold();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  HANDLE release = CreateThread(
      nullptr, 0,
      [](void* handle) -> DWORD {
        Sleep(200);
        CloseHandle(static_cast<HANDLE>(handle));
        return 0;
      },
      held, 0, nullptr);
  ASSERT_NE(release, nullptr);
  EXPECT_TRUE(WriteFileAtomically(Path(name), bytes.data(), bytes.size()))
      << "a hold that ends is waited for";
  WaitForSingleObject(release, INFINITE);
  CloseHandle(release);
  EXPECT_EQ(Contents(name), bytes);
}
#endif

}  // namespace
}  // namespace odc
