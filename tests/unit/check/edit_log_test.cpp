#include <gtest/gtest.h>

#include <string>

#include "edit_log.h"

namespace {

// Edits a text and the log alike; every byte still in the text must be found
// where the log says.
TEST(EditLog, BytesAreFoundWhereEditsMovedThem) {
  const std::string original = "0123456789";
  std::string text = original;
  // Each byte is its own mark: the digits never repeat, inserts use letters.
  check::TEditLog log;
  const struct {
    bool Insert;
    std::size_t Position;
    std::size_t Length;
  } edits[] = {{true, 0, 2}, {false, 5, 3}, {true, 4, 1}, {false, 0, 1},
               {true, 9, 3}, {false, 2, 0}, {true, 3, 0}};
  for (const auto& e : edits) {
    if (e.Insert) {
      text.insert(e.Position, std::string(e.Length, 'x'));
      log.Inserted(e.Position, e.Length);
    } else {
      text.erase(e.Position, e.Length);
      log.Deleted(e.Position, e.Length);
    }
  }
  EXPECT_EQ(log.Size(), 5u);  // empty edits are not kept
  for (std::size_t i = 0; i < original.size(); ++i) {
    const std::size_t at = text.find(original[i]);
    if (at != std::string::npos) {
      EXPECT_EQ(log.Map(i), at) << original[i];
    }
  }
  // A deleted byte stands where its deletion was.
  const std::size_t gone = original.find('3');
  ASSERT_EQ(text.find('3'), std::string::npos);
  EXPECT_EQ(log.Map(gone), text.find('6'));
  log.Clear();
  EXPECT_EQ(log.Map(7), 7u);
}

}  // namespace
