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

TEST(AppInfoTest, CaptionNamesTheDocument) {
    TAppInfoRec info = MakeAppInfo("/x");
    const std::string rest =
        " - " + std::string(kSiteName) + " " + info.WebAddress + " - 头尾码筛选工具";
    EXPECT_EQ(CaptionText(info, false), "Tovarin v1.08 - 未命名" + rest);
    EXPECT_EQ(CaptionText(info, true), "Tovarin v1.08 - 未命名*" + rest);
    info.DocFileName = "/home/wang/彩票/二〇二六.lvrn";
    EXPECT_EQ(CaptionText(info, false), "Tovarin v1.08 - 二〇二六.lvrn" + rest);
    EXPECT_EQ(CaptionText(info, true), "Tovarin v1.08 - 二〇二六.lvrn*" + rest);
    // The start-up document is a bare name.
    info.DocFileName = "工作文档.lvrn";
    EXPECT_EQ(CaptionText(info, true), "Tovarin v1.08 - 工作文档.lvrn*" + rest);
    // A game other than the seven digits is named after the document.
    EXPECT_EQ(CaptionText(info, false, " [七星彩]"),
              "Tovarin v1.08 - 工作文档.lvrn [七星彩]" + rest);
}

TEST(AppInfoTest, DisplayNameIsTheLastPartOfThePath) {
    EXPECT_EQ(DocDisplayName(""), "未命名");
    EXPECT_EQ(DocDisplayName("a.lvrn"), "a.lvrn");
    EXPECT_EQ(DocDisplayName("/a.lvrn"), "a.lvrn");
    EXPECT_EQ(DocDisplayName("/x/y/z"), "z");
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
