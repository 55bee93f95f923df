#include <gtest/gtest.h>

#include "core/base/PathCheck.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

TEST(PathCheck, AbsolutePathsAsTheSystemSpellsThem) {
#ifdef _WIN32
    for (const char* path : {"C:\\工作\\文档.lvrn", "d:/x.lvrn", "\\\\server\\share\\a.lvrn",
                             "//server/share/a.lvrn"}) {
        EXPECT_TRUE(IsAbsolutePath(path)) << path;
    }
    // A drive's current folder, the current drive's root and plain names
    // all depend on where the program stands.
    for (const char* path :
         {"C:文档.lvrn", "\\文档.lvrn", "/home/文档.lvrn", "文档.lvrn", "C:", ""}) {
        EXPECT_FALSE(IsAbsolutePath(path)) << path;
    }
#else
    for (const char* path : {"/home/王/文档.lvrn", "/", "//net/x"}) {
        EXPECT_TRUE(IsAbsolutePath(path)) << path;
    }
    for (const char* path : {"文档.lvrn", "./x.lvrn", "C:\\x.lvrn", "~/x.lvrn", ""}) {
        EXPECT_FALSE(IsAbsolutePath(path)) << path;
    }
#endif
}

TEST(PathCheck, TemporaryFoldersAreAbsolute) {
    const test::TempDir dir;
    EXPECT_TRUE(IsAbsolutePath(dir.Path())) << dir.Path();
    EXPECT_TRUE(IsAbsolutePath(dir.File("文档.lvrn")));
}

}  // namespace
}  // namespace tovarin
