#include <gtest/gtest.h>

#include "core/base/ByteStream.h"
#include "core/base/Errors.h"

namespace tovarin {
namespace {

TEST(ByteStream, WritesLittleEndian) {
    ByteWriter out;
    out.WriteI32(-2);
    out.WriteI32(0x01020304);
    out.WriteU8(7);
    EXPECT_EQ(out.Bytes(), std::string("\xFE\xFF\xFF\xFF\x04\x03\x02\x01\x07", 9));
}

TEST(ByteStream, ReadsBackWhatWasWritten) {
    ByteWriter out;
    out.WriteI32(INT32_MIN);
    out.WriteBytes("abc");
    out.WriteU8(255);
    ByteReader in(out.Bytes());
    EXPECT_EQ(in.ReadI32(), INT32_MIN);
    EXPECT_EQ(in.ReadBytes(3), "abc");
    EXPECT_EQ(in.ReadU8(), 255);
    EXPECT_EQ(in.Remaining(), 0U);
}

TEST(ByteStream, RefusesToReadPastTheEndAndStaysPut) {
    ByteReader in(std::string_view("\x01\x02\x03", 3));
    try {
        in.ReadI32();
        FAIL() << "a short read must throw";
    } catch (const EReadError& error) {
        EXPECT_STREQ(error.what(), "Unexpected end of data at byte 0: 4 bytes needed, 3 left");
    }
    EXPECT_EQ(in.Offset(), 0U);
    EXPECT_THROW(in.ReadBytes(4), EReadError);
    EXPECT_EQ(in.ReadU8(), 1);
}

// Data that starts further into a file names offsets in the file.
TEST(ByteStream, OffsetsCountFromWhereTheDataLiesInTheFile) {
    ByteReader in(std::string_view("\x07\x00\x00\x00\x01", 5), 1000);
    EXPECT_EQ(in.Offset(), 1000U);
    EXPECT_EQ(in.ReadI32(), 7);
    EXPECT_EQ(in.Offset(), 1004U);
    EXPECT_EQ(in.Remaining(), 1U);
    try {
        in.ReadI32();
        FAIL() << "a short read must throw";
    } catch (const EReadError& error) {
        EXPECT_STREQ(error.what(), "Unexpected end of data at byte 1004: 4 bytes needed, 1 left");
    }
}

TEST(ByteStream, EdgesOfTheRange) {
    ByteReader in(std::string_view("\x05\x06", 2));
    EXPECT_EQ(in.ReadBytes(0), "");
    EXPECT_EQ(in.ReadU8(), 5);
    EXPECT_EQ(in.ReadU8(), 6);
    EXPECT_EQ(in.ReadBytes(0), "") << "nothing can always be read";
    try {
        in.ReadU8();
        FAIL() << "a read at the end must throw";
    } catch (const EReadError& error) {
        EXPECT_STREQ(error.what(), "Unexpected end of data at byte 2: 1 bytes needed, 0 left");
    }
    EXPECT_THROW(in.ReadBytes(SIZE_MAX), EReadError) << "a huge count cannot wrap the check";
    EXPECT_EQ(in.Offset(), 2U);
    ByteReader empty(std::string_view{});
    EXPECT_THROW(empty.ReadI32(), EReadError);
    EXPECT_EQ(empty.Remaining(), 0U);
}

}  // namespace
}  // namespace tovarin
