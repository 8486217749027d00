// GzipBytes gives one complete gzip member that inflates to its input
// (inflate checks the CRC-32 and the length of the trailer).
#include <gtest/gtest.h>

#include <random>

#include "GzipTestUtil.h"
#include "server/StaticAssets.h"

namespace mirelon::test {
namespace {

TEST(GzipBytes, RoundTripsSmallLargeAndEmptyInputs) {
  std::mt19937 random(5);
  std::string noise(3 << 20, '\0');  // incompressible, larger than any internal buffer
  for (char& c : noise) c = static_cast<char>(random());
  const std::string repeated(2 << 20, 'a');
  for (const std::string& input : {std::string(), std::string("x"), std::string("\0\xFF\0", 3), noise, repeated}) {
    const std::string member = GzipBytes(input);
    ASSERT_GE(member.size(), 18u);  // header, deflate data, CRC-32 and length
    EXPECT_EQ(member.substr(0, 3), "\x1F\x8B\x08");
    EXPECT_TRUE(Gunzip(member) == input) << input.size();
  }
  EXPECT_LT(GzipBytes(repeated).size(), 10000u);
}

}  // namespace
}  // namespace mirelon::test
