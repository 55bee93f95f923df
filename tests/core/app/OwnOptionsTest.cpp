// The program's own options file beside the settings file.
#include <gtest/gtest.h>

#include "core/app/OwnOptions.h"
#include "core/base/FileIO.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

TEST(OwnOptions, FlagsRoundTripAndUnknownKeysAreKept) {
    test::TempDir dir;
    const std::string path = OwnOptionsFilePath(dir.Path());
    EXPECT_FALSE(TOwnOptions::Load(path).Flag(TOwnOptions::kAutoRecord));
    WriteFileAtomically(path, "Later=x=y\r\nno equals sign\n=empty key\nAutoRecordPrediction=1");
    TOwnOptions options = TOwnOptions::Load(path);
    EXPECT_TRUE(options.Flag(TOwnOptions::kAutoRecord));
    options.SetFlag(TOwnOptions::kAutoRecord, false);
    options.Save(path);
    EXPECT_EQ(ReadWholeFile(path), "AutoRecordPrediction=0\nLater=x=y\n");
    // A file far too long for options is not read.
    WriteFileAtomically(path, "AutoRecordPrediction=1\n" + std::string(70000, '#'));
    EXPECT_FALSE(TOwnOptions::Load(path).Flag(TOwnOptions::kAutoRecord));
}

}  // namespace
}  // namespace tovarin
