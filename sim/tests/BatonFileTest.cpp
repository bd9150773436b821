#include "sim/BatonFile.h"

#include <gtest/gtest.h>

namespace kestrova::sim {
namespace {

TEST(BatonFile, Placeholder) {
    EXPECT_EQ(1, 1);
}

} // namespace
} // namespace kestrova::sim
