#include "base/installed.h"

#include <gtest/gtest.h>

namespace ornav {
namespace {

struct Part {
  int id = 0;
};

TEST(Installed, NestsAndRestoresThePreviousInstance) {
  EXPECT_EQ(Installed<Part>::current(), nullptr);
  Part outer{1};
  {
    const Installed<Part> first(outer);
    EXPECT_EQ(Installed<Part>::current(), &outer);
    Part inner{2};
    {
      const Installed<Part> second(inner);
      EXPECT_EQ(Installed<Part>::current()->id, 2);
    }
    EXPECT_EQ(Installed<Part>::current(), &outer);
  }
  EXPECT_EQ(Installed<Part>::current(), nullptr);
}

}  // namespace
}  // namespace ornav
