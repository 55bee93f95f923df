#include "core/sources/SourceList.h"

#include <gtest/gtest.h>

#include "core/base/FileIO.h"
#include "support/DownloadServer.h"
#include "support/TempDir.h"

namespace tovarin {
namespace {

using test::WriteTestFile;

std::vector<TDrawSource> TwoSources() {
    return {{"体彩网",
             "https://www.example.com/kj?pageNo=1",
             TSourceFormat::Json,
             true,
             {"User-Agent: Mozilla/5.0", "Referer: https://www.example.com/"}},
            {"备用", "http://127.0.0.1:8080/h.csv", TSourceFormat::Table, false, {}}};
}

TEST(SourceListTest, SavesAndLoadsTheListBesideTheSettings) {
    test::TempDir dir;
    const std::string path = SourcesFilePath(dir.Path());
    EXPECT_EQ(path, dir.Path() + "/ormelux-sources.json");
    EXPECT_TRUE(LoadSources(path).empty());
    SaveSources(path, TwoSources());
    EXPECT_EQ(LoadSources(path), TwoSources());
    EXPECT_EQ(ReadWholeFile(path), SourcesFileText(TwoSources()));
    EXPECT_NE(ReadWholeFile(path).find(R"("format": "table")"), std::string::npos);
    // Members left out take their defaults; unknown ones are passed by.
    WriteTestFile(path, R"({"sources": [{"name": "a", "url": "http://x/", "later": 1}]})");
    EXPECT_EQ(LoadSources(path),
              (std::vector<TDrawSource>{{"a", "http://x/", TSourceFormat::Auto, true, {}}}));
}

TEST(SourceListTest, ABadFileIsRefusedWithWhatAndWhere) {
    test::TempDir dir;
    const std::string path = dir.File("s.json");
    struct Case {
        std::string text;
        std::string detail;
    };
    const Case cases[] = {
        {"{\"sources\": [", "JSON有误（第14字节）"},
        {"[]", "没有数据源列表（sources）"},
        {R"({"sources": {}})", "没有数据源列表（sources）"},
        {R"({"sources": [3]})", "第1个数据源不是对象"},
        {R"({"sources": [{"name": "a", "url": "http://x/", "enabled": "yes"}]})",
         "第1个数据源的“enabled”类型不对"},
        {R"({"sources": [{"name": "a", "url": "http://x/", "format": "csv"}]})",
         "第1个数据源的格式“csv”不是auto、table、json或html"},
        {R"({"sources": [{"name": " ", "url": "http://x/"}]})", "第1个数据源：名称不能为空"},
        {R"({"sources": [{"name": "a", "url": "http://x/"}, {"name": "a", "url": "http://y/"}]})",
         "第2个数据源：名称“a”与第1个数据源重复"},
        {R"({"sources": [{"name": "a", "url": "file:///etc/passwd"}]})",
         "第1个数据源：地址有误（应以 http:// 或 https:// 开头）：file:///etc/passwd"},
        {R"({"sources": [{"name": "a", "url": "http://x/", "headers": ["A: 1\r\nB: 2"]}]})",
         "第1个数据源：请求头有误（应为“名称: 值”）：A: 1\r\nB: 2"},
        {std::string(kMaxSourcesFileBytes + 1, ' '), "文件超过1 MB"},
    };
    for (const Case& c : cases) {
        WriteTestFile(path, c.text);
        try {
            LoadSources(path);
            ADD_FAILURE() << "no error for " << c.text.substr(0, 80);
        } catch (const EReadError& error) {
            EXPECT_EQ(error.what(), "数据源文件有误（" + path + "）：" + c.detail);
        }
    }
}

TEST(SourceListTest, AListWithAProblemIsNotSaved) {
    test::TempDir dir;
    const std::string path = dir.File("s.json");
    SaveSources(path, TwoSources());
    std::vector<TDrawSource> sources = TwoSources();
    sources[1].Name = sources[0].Name;
    try {
        SaveSources(path, sources);
        ADD_FAILURE() << "saved";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "第2个数据源：名称“体彩网”与第1个数据源重复");
    }
    EXPECT_EQ(LoadSources(path), TwoSources());
}

}  // namespace
}  // namespace tovarin
