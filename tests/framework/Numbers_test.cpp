#include <framework/MemoryBlock.h>
#include <framework/Numbers.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

using namespace fw;

TEST(Numbers, RndIsUniformInTheHalfOpenUnitInterval)
{
    RndSeed(7);
    std::set<int> buckets;
    for (int i = 0; i < 20000; ++i) {
        double r = Rnd();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        buckets.insert(static_cast<int>(Floor(r * 230.0)));
    }
    EXPECT_EQ(buckets.size(), 230u) << "every even marker column is reachable";
    RndSeed(7);
    double a = Rnd();
    RndSeed(7);
    EXPECT_EQ(Rnd(), a);
}

TEST(Numbers, MathFunctions)
{
    EXPECT_DOUBLE_EQ(ACos(0.0) * 2, M_PI);
    EXPECT_DOUBLE_EQ(ATan2(1, 0), M_PI / 2) << "y comes first";
    EXPECT_DOUBLE_EQ(ATan2(0, -1), M_PI);
    EXPECT_EQ(Floor(-0.5), -1);
    EXPECT_EQ(Sqrt(1600), 40);
    EXPECT_EQ(Pow(-3, 2), 9);
}

TEST(Numbers, MicrosecondsIsMonotonic)
{
    double a = Microseconds();
    double b = Microseconds();
    EXPECT_GT(a, 0);
    EXPECT_GE(b, a);
}

TEST(Numbers, ToInt32TruncatesAndSaturates)
{
    EXPECT_EQ(ToInt32(2.9), 2);
    EXPECT_EQ(ToInt32(-2.9), -2);
    EXPECT_EQ(ToInt32(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ToInt32(-1e12), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ToInt32(std::nan("")), 0);
}

TEST(MemoryBlock, FieldsAtByteOffsetsInTheProcessorsOrder)
{
    MemoryBlock m(70);
    EXPECT_EQ(m.Size(), 70);
    m.Short(0, -2);
    m.Long(2, 0x01020304);
    m.PString(6, "abc");
    const auto* b = static_cast<const unsigned char*>(m.Ptr());
    EXPECT_EQ(b[0], 0xFE);
    EXPECT_EQ(b[1], 0xFF);
    EXPECT_EQ(b[2], 0x04) << "little-endian on this processor";
    EXPECT_EQ(b[5], 0x01);
    EXPECT_EQ(b[6], 3);
    EXPECT_EQ(b[7], 'a');
    EXPECT_EQ(b[10], 0) << "bytes past the string stay as they were";
    EXPECT_EQ(m.Short(0), -2);
    EXPECT_EQ(m.Long(2), 0x01020304);
    EXPECT_EQ(m.PString(6), "abc");
}

TEST(MemoryBlock, AccessOutsideRaisesInsteadOfCorrupting)
{
    MemoryBlock m(8);
    EXPECT_THROW(m.Long(5, 1), OutOfBoundsException);
    EXPECT_THROW(m.Short(-1), OutOfBoundsException);
    EXPECT_THROW(m.PString(2, "abcdef"), OutOfBoundsException);
    EXPECT_NO_THROW(m.PString(2, "abcde"));
    EXPECT_THROW((void)m.Byte(8), OutOfBoundsException);
    MemoryBlock big(300);
    big.PString(0, std::string(260, 'z'));
    EXPECT_EQ(big.PString(0).size(), 255u) << "one length byte holds at most 255";
}
