#include <gtest/gtest.h>

#include "update/Version.h"

using namespace mirelon;

namespace {

TVersionNumber V(int major, int minor) { return {major, minor, 0, 0}; }

TEST(Version, ParseReadsTheFirstTwoPartsAsIntegers) {
  EXPECT_EQ(TVersionNumber::Parse("2.8"), V(2, 8));
  EXPECT_EQ(TVersionNumber::Parse("2.10"), V(2, 10));
  EXPECT_EQ(TVersionNumber::Parse("3"), V(3, 0));
  EXPECT_EQ(TVersionNumber::Parse("2.7.5"), V(2, 7));  // later parts ignored, never stored
  EXPECT_EQ(TVersionNumber::Parse("1.0.0.4"), V(1, 0));
  EXPECT_EQ(TVersionNumber::Parse("02.08"), V(2, 8));
}

TEST(Version, PartsThatAreNotNumbersReadAsZero) {
  EXPECT_EQ(TVersionNumber::Parse(""), V(0, 0));
  EXPECT_EQ(TVersionNumber::Parse("abc"), V(0, 0));
  EXPECT_EQ(TVersionNumber::Parse("<html>2.8</html>"), V(0, 0));
  EXPECT_EQ(TVersionNumber::Parse("2.8beta"), V(2, 0));
  EXPECT_EQ(TVersionNumber::Parse("2."), V(2, 0));
  EXPECT_EQ(TVersionNumber::Parse(".5"), V(0, 5));
  EXPECT_EQ(TVersionNumber::Parse("2. 8"), V(2, 0));
  EXPECT_EQ(TVersionNumber::Parse("99999999999.1"), V(0, 1));  // beyond 32 bits
  EXPECT_EQ(TVersionNumber::Parse("-1.+2"), V(-1, 2));
}

TEST(Version, ToStringWritesMajorAndMinor) {
  EXPECT_EQ(V(3, 0).ToString(), u"3.0");
  EXPECT_EQ(V(2, 10).ToString(), u"2.10");
  EXPECT_EQ(TVersionNumber({2, 7, 5, 1}).ToString(), u"2.7");
}

TEST(Version, IsNewerComparesMinorsOnlyWhenMajorsAreEqual) {
  EXPECT_TRUE(IsNewer(V(2, 8), V(2, 7)));
  EXPECT_TRUE(IsNewer(V(2, 10), V(2, 9)));  // as numbers, not as texts
  EXPECT_TRUE(IsNewer(V(3, 0), V(2, 9)));
  EXPECT_FALSE(IsNewer(V(2, 7), V(2, 7)));
  EXPECT_FALSE(IsNewer(V(2, 6), V(2, 7)));
  EXPECT_FALSE(IsNewer(V(1, 9), V(2, 0)));  // an older major whatever its minor
  EXPECT_FALSE(IsNewer(V(0, 0), V(2, 7)));
}

TEST(Version, TheBuildNamesAVersion) { EXPECT_FALSE(BuildVersion() == V(0, 0)); }

}  // namespace
