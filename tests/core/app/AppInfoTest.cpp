#include <gtest/gtest.h>

#include "core/app/AppInfo.h"
#include "core/base/DateTime.h"

namespace tovarin {
namespace {

TEST(AppInfoTest, StartUpRecord) {
    const TAppInfoRec info = MakeAppInfo("/opt/tovarin/");
    EXPECT_EQ(info.VersionText, "1.08");
    EXPECT_EQ(info.ProductName, "Tovarin");
    EXPECT_EQ(info.AppDir, "/opt/tovarin");
    EXPECT_FALSE(info.DocModified);
    EXPECT_TRUE(info.DocFileName.empty());
    EXPECT_EQ(info.DocExt, ".lvrn");
    EXPECT_EQ(info.DocTitle, "Tovarin文档");
    EXPECT_FALSE(info.WebAddress.empty());
    EXPECT_EQ(MakeAppInfo("/").AppDir, "/");
}

TEST(AppInfoTest, CaptionStartsWithProductAndVersion) {
    const TAppInfoRec info = MakeAppInfo("/x");
    const std::string caption = CaptionText(info);
    EXPECT_EQ(caption.rfind("Tovarin v1.08 - ", 0), 0u);
    EXPECT_NE(caption.find(std::string(kSiteName) + " " + info.WebAddress + " - "),
              std::string::npos);
}

TEST(AppInfoTest, PrintJobTitleUsesTheShortDateFormat) {
    SetShortDateFormat("yyyy.MM.dd");
    // 2026-12-07 12:00 UTC: the same date in every time zone from -11 to +11.
    EXPECT_EQ(PrintJobTitle(MakeAppInfo("/x"), 1796644800), "Tovarin成果打印 2026.12.07");
}

TEST(AppInfoTest, Texts) {
    EXPECT_EQ(FilterResultText(37), "筛选结果为37个号码");
    EXPECT_EQ(FilterResultText(0), "筛选结果为0个号码");
    EXPECT_EQ(AutoOpenFailedText("工作文档.lvrn"), "自动打开文档失败：\r\n工作文档.lvrn");
    EXPECT_STREQ(ModifiedStateText(false), "未修改");
    EXPECT_STREQ(ModifiedStateText(true), "已修改");
}

}  // namespace
}  // namespace tovarin
