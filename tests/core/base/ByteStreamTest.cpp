#include <gtest/gtest.h>

#include <random>

#include "core/base/ByteStream.h"
#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "support/TempDir.h"

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

// What a reader gives for a run of reads of these sizes (0: ReadU8, 4:
// ReadI32, others ReadBytes), up to the message of the read that failed.
std::string ReadAll(ByteReader& in, const std::vector<size_t>& sizes) {
    std::string seen;
    try {
        for (const size_t size : sizes) {
            seen += std::to_string(in.Offset()) + ":";
            if (size == 0) {
                seen += std::to_string(in.ReadU8());
            } else if (size == 4) {
                seen += std::to_string(in.ReadI32());
            } else {
                seen += std::string(in.ReadBytes(size));
            }
            seen += "/" + std::to_string(in.Remaining()) + " ";
        }
    } catch (const EReadError& error) {
        seen += error.what();
    }
    return seen;
}

// A file read a window at a time gives what its bytes in memory give,
// across the windows' edges, for a read larger than a window, and at the end.
TEST(ByteStream, AFileReadAWindowAtATimeGivesWhatItsBytesGive) {
    test::TempDir dir;
    std::string bytes(700000, '\0');
    std::mt19937 random(7);
    for (char& byte : bytes) {
        byte = static_cast<char>('a' + random() % 26);
    }
    WriteFileAtomically(dir.File("data"), bytes);
    const std::vector<std::vector<size_t>> runs = {
        {4, 262139, 4, 0, 4, 300000, 4, 137839, 4},  // ends two bytes short of a read
        {0, 699995, 4, 0},                           // one read near the whole file
        {4, 200000, 5000000},                        // more than the file holds
    };
    for (const std::vector<size_t>& sizes : runs) {
        TFileReader file(dir.File("data"), true);
        char skipped[3];
        ASSERT_EQ(file.Read(skipped, sizeof skipped), sizeof skipped);
        FileByteReader windows(file);
        ByteReader whole(std::string_view(bytes).substr(3), 3);
        const std::string expected = ReadAll(whole, sizes);
        EXPECT_EQ(ReadAll(windows, sizes), expected);
        EXPECT_NE(expected.find("Unexpected end of data"), std::string::npos);
    }
}

}  // namespace
}  // namespace tovarin
