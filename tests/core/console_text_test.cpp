// The console writer converts only whole UTF-8 characters: a character cut
// at the end of a write waits for its remaining bytes instead of turning
// into two replacement marks.
#include "tools/odctool/console_text.h"

#include <gtest/gtest.h>

#include <string>

namespace odc {
namespace tool {
namespace {

TEST(WholeUtf8Prefix, HoldsBackOnlyACutOffCharacter) {
  const struct {
    std::string bytes;
    size_t whole;
  } cases[] = {
      {"", 0},
      {"abc\n", 4},
      {"x\xC5", 1},              // "Ł" cut after its first byte
      {"x\xC5\x81", 3},          // "Ł" whole
      {"\xE6\x97", 0},           // "日" cut after two of three
      {"a\xE6\x97\xA5", 4},      // "日" whole
      {"\xF0\x9F\x98", 0},       // a four-byte character cut after three
      {"\xF0\x9F\x98\x80!", 5},  // whole, then ASCII
      {"\x81\x81\x81\x81", 4},   // no lead byte at all: nothing to wait for
      {"a\x81", 2},              // a stray continuation byte is not held
      {"\xC5\xC5", 1},           // a broken lead byte, then a cut one
      {"\xFF", 1},               // never UTF-8: passed on for marking
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WholeUtf8Prefix(c.bytes.data(), c.bytes.size()), c.whole)
        << ::testing::PrintToString(c.bytes);
  }
}

}  // namespace
}  // namespace tool
}  // namespace odc
