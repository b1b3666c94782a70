// Reading a dictionary's pages: part before returning, the rest in the background, across files
// of any size (every page once, none past its end), and a warmer asked to stop mid-way stops.
#include "page_warmer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "test_dict.h"

namespace ornav {
namespace {

using testing::TempDir;

std::shared_ptr<const FileBytes> load(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return nullptr;
  const off_t size = ::lseek(fd, 0, SEEK_END);
  auto bytes = FileBytes::load(fd, static_cast<std::uint64_t>(size));
  ::close(fd);
  return bytes;
}

// A file of `size` bytes, made sparse when large so that the test writes little.
std::shared_ptr<const FileBytes> file_of(const TempDir& dir, const std::string& name,
                                         std::size_t size) {
  const std::string path = dir.file(name);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
  EXPECT_GE(fd, 0);
  if (size > 0) {
    EXPECT_EQ(::pwrite(fd, "x", 1, static_cast<off_t>(size - 1)), 1);
  }
  ::close(fd);
  return load(path);
}

TEST(PageWarmer, EveryBudgetEndsWithEveryPageReadOnce) {
  const TempDir dir;
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::vector<std::shared_ptr<const FileBytes>> files = {
      file_of(dir, "one-byte", 1), file_of(dir, "empty", 0), file_of(dir, "page-and-one", page + 1),
      nullptr, file_of(dir, "five-pages-less-one", 5 * page - 1)};
  for (const std::size_t budget : {std::size_t{0}, std::size_t{1}, page, page + 1, 2 * page,
                                   5 * page / 2, 7 * page, 100 * page}) {
    std::size_t pages = 0;
    PageWarmer warmer(files, budget, [&] { ++pages; });
    warmer.wait();
    EXPECT_EQ(pages, 1u + 2u + 5u) << budget;
  }
}

TEST(PageWarmer, StopsWithinAFewPagesOfBeingAskedMidWay) {
  const TempDir dir;
  const auto large = file_of(dir, "large", std::size_t{8} << 20);
  ASSERT_TRUE(large && large->mapped());
  constexpr std::size_t asked_at = 100;
  std::atomic<PageWarmer*> constructed{nullptr};
  std::size_t pages = 0;
  PageWarmer warmer({large}, 0, [&] {
    if (++pages != asked_at) return;
    while (!constructed.load())
      std::this_thread::yield();
    constructed.load()->stop();
  });
  constructed = &warmer;
  warmer.wait();
  EXPECT_GE(pages, asked_at);
  EXPECT_LE(pages, asked_at + PageWarmer::kPagesBetweenStopChecks);
}

}  // namespace
}  // namespace ornav
