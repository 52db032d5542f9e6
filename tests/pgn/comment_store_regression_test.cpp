// The comment memory at its largest size (cmem 10000000: 800 buffers of 10 MB).
#include "pgn/comment_store.hpp"

#include <gtest/gtest.h>

#include <string>

namespace kestrova {
namespace {

TEST(CommentMemory, TheLargestSizeKeepsAndStoresCommentsWithoutTouchingTheUnusedBuffers) {
  CommentStore store(800);
  store.set(1, "+0.35/12 5s");
  store.set(799, std::string(600, 'a'));
  EXPECT_EQ(store.text(799).size(), 511u) << "cut to the default size - 1";

  EXPECT_EQ(store.resize(CommentStore::kMaxSize), 8000000000L);
  EXPECT_EQ(store.text(1), "+0.35/12 5s");
  EXPECT_EQ(store.text(799), std::string(511, 'a'));
  EXPECT_EQ(store.text(0), "");
  const std::string large(CommentStore::kMaxSize + 5, 'b');
  store.set(400, large);
  EXPECT_EQ(store.text(400).size(), static_cast<std::size_t>(CommentStore::kMaxSize - 1));

  EXPECT_EQ(store.resize(4), 3200);
  EXPECT_EQ(store.text(1), "+0.");
  EXPECT_EQ(store.text(400), "bbb");
  store.clearAll();
  EXPECT_EQ(store.text(1), "");
}

}  // namespace
}  // namespace kestrova
