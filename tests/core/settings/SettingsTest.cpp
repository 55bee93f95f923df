#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/base/Codec.h"
#include "core/base/Errors.h"
#include "core/base/FileIO.h"
#include "core/base/ProgramDir.h"
#include "core/settings/IniFile.h"
#include "core/settings/Settings.h"
#include "support/PosixOnly.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include "support/FileSizeLimit.h"
#endif

namespace tovarin {
namespace {

using test::TempDir;

const std::string kSamples = std::string(TOVARIN_TEST_DATA) + "/settings/";
const std::string kSection = "[\xBB\xF9\xB1\xBE\xC9\xE8\xD6\xC3]";  // 基本设置 in GBK

TAppOptions Load(const std::string& fileName, std::vector<std::string>* problems = nullptr) {
    std::vector<std::string> found;
    TAppOptions options = LoadAppOptions(fileName, found);
    if (problems) {
        *problems = found;
    } else {
        EXPECT_TRUE(found.empty()) << found.front();
    }
    return options;
}

// A settings file holding only these lines in its section.
std::string WriteSection(const TempDir& dir, const std::string& lines) {
    const std::string path = SettingsFilePath(dir.Path());
    WriteFileAtomically(path, kSection + "\r\n" + lines);
    return path;
}

void ExpectSameRecord(const TAppOptions& a, const TAppOptions& b) {
    for (const std::string_view key : AppOptionKeys()) {
        EXPECT_EQ(GetAppOption(a, key), GetAppOption(b, key)) << key;
    }
}

TEST(Settings, FileBesideTheProgram) {
    EXPECT_EQ(SettingsFilePath("/opt/tovarin"), "/opt/tovarin/ormelux.ini");
    const std::string dir = ProgramDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '/');
#ifdef _WIN32
    EXPECT_TRUE(FileExists(dir + "/core_settings_tests.exe"));
#else
    EXPECT_TRUE(FileExists(dir + "/core_settings_tests"));
#endif
}

TEST(Settings, NoFileGivesTheDefaults) {
    TempDir dir;
    const TAppOptions options = Load(SettingsFilePath(dir.Path()));
    EXPECT_EQ(options.userName, "");
    EXPECT_EQ(options.userPW, "");
    EXPECT_FALSE(options.OpenLastChk);
    EXPECT_EQ(options.LastDoc, "工作文档.lvrn");
    EXPECT_FALSE(options.AutoSaveChk);
    EXPECT_EQ(options.AutoSaveEd, 5);
    EXPECT_FALSE(options.DetailEveryChk);
    EXPECT_TRUE(options.DetailLastChk);
    EXPECT_FALSE(options.SplitByLineChk);
    EXPECT_EQ(options.ViewStyle, 0);
    EXPECT_FALSE(options.AutoCalcChk);
    EXPECT_TRUE(options.AutoVerifyChk);
    EXPECT_FALSE(options.OutPutPrjOptChk);
    EXPECT_FALSE(options.OutPutAppOptChk);
    EXPECT_EQ(options.ColsOfLineEd, 10);
    EXPECT_TRUE(dir.Names().empty());
}

TEST(Settings, HandEditedGbkFileWithCrLf) {
    std::vector<std::string> problems;
    const TAppOptions options = Load(kSamples + "gbk-crlf.ini", &problems);
    EXPECT_EQ(options.userName, "张三");
    EXPECT_EQ(options.userPW, "pw 1");
    EXPECT_EQ(options.LastDoc, "工作文档.lvrn");
    EXPECT_TRUE(options.DetailEveryChk);  // "detaileverychk = 1"
    EXPECT_FALSE(options.DetailLastChk);  // 0x0
    EXPECT_TRUE(options.AutoCalcChk);     // 7
    EXPECT_TRUE(options.AutoVerifyChk);   // only in a comment
    EXPECT_EQ(options.ColsOfLineEd, 30);  // 50
    EXPECT_EQ(problems, std::vector<std::string>{kSamples + "gbk-crlf.ini: ColsOfLineEd 50 is "
                                                            "outside 4 to 30; it reads as 30"});
}

TEST(Settings, ValuesThatAreNoNumbersReadAsDefaults) {
    std::vector<std::string> problems;
    const TAppOptions options = Load(kSamples + "garbage.ini", &problems);
    TAppOptions expected;
    expected.ColsOfLineEd = 4;  // 2, clamped
    ExpectSameRecord(options, expected);
    EXPECT_EQ(problems.size(), 2U) << "ViewStyle 9 and ColsOfLineEd 2, not the texts";
}

TEST(Settings, HexadecimalValues) {
    std::vector<std::string> problems;
    const TAppOptions options = Load(kSamples + "hex.ini", &problems);
    EXPECT_EQ(options.AutoSaveEd, 5);  // 0XFFFFFFFF is -1 as 32 bits
    EXPECT_EQ(problems, std::vector<std::string>{kSamples + "hex.ini: AutoSaveEd 0XFFFFFFFF is "
                                                            "outside 1 to 100; it reads as 5"});
    EXPECT_EQ(options.ColsOfLineEd, 26);  // 0x1A
    EXPECT_TRUE(options.DetailEveryChk);  // 0x10
    EXPECT_FALSE(options.DetailLastChk);  // 0x0
    EXPECT_EQ(options.ViewStyle, 2);
    EXPECT_FALSE(options.OpenLastChk);  // 0x100000000 does not fit
}

TEST(Settings, FirstSectionAndFirstKeyWin) {
    const TAppOptions options = Load(kSamples + "duplicates.ini");
    EXPECT_EQ(options.ColsOfLineEd, 12);
    EXPECT_TRUE(options.AutoCalcChk);       // "1" in quotes
    EXPECT_FALSE(options.OutPutAppOptChk);  // in the second section of that name
}

TEST(Settings, BrokenMemberDataReadsAsEmptyAndIsReported) {
    std::vector<std::string> problems;
    const std::string path = kSamples + "broken-member.ini";
    const TAppOptions options = Load(path, &problems);
    EXPECT_EQ(options.userName, "");
    EXPECT_EQ(options.userPW, "");
    EXPECT_TRUE(options.AutoCalcChk);
    ASSERT_EQ(problems.size(), 2U);
    EXPECT_EQ(problems[0], path + ": userName has a broken % escape; it reads as empty");
    EXPECT_EQ(problems[1].rfind(path + ": userPW is not GBK text (", 0), 0U) << problems[1];
    const std::string end = "); it reads as empty";
    ASSERT_GT(problems[1].size(), end.size());
    EXPECT_EQ(problems[1].substr(problems[1].size() - end.size()), end);
}

TEST(Settings, BooleansReadAsIntegers) {
    const std::pair<const char*, bool> rows[] = {
        {"0", false},  {"1", true},   {"7", true},    {"-1", true},  {"0x0", false},
        {"0x1", true}, {"+0", false}, {"00", false},  {"abc", true}, {"", true},
        {"0x", true},  {"1e3", true}, {"0x1G", true}, {"--1", true}, {"2147483648", true},
    };
    // DetailLastChk defaults to on, so a value that is no number leaves it on.
    for (const auto& [value, on] : rows) {
        TempDir dir;
        const TAppOptions options =
            Load(WriteSection(dir, std::string("DetailLastChk=") + value + "\r\n"));
        EXPECT_EQ(options.DetailLastChk, on) << value;
    }
}

TEST(Settings, ColsOfLineEdIsClamped) {
    const std::pair<const char*, int> rows[] = {
        {"2", 4},   {"3", 4},   {"4", 4},           {"5", 5},  {"29", 29},
        {"30", 30}, {"31", 30}, {"50", 30},         {"-5", 4}, {"0x7FFFFFFF", 30},
        {"0", 4},   {"x", 10},  {"-2147483648", 4},
    };
    for (const auto& [value, cols] : rows) {
        TempDir dir;
        std::vector<std::string> problems;
        const TAppOptions options =
            Load(WriteSection(dir, std::string("ColsOfLineEd=") + value + "\r\n"), &problems);
        EXPECT_EQ(options.ColsOfLineEd, cols) << value;
    }
}

// A number outside its range would reach the program as it is: 71,583
// minutes times 60,000 overflow the auto-save timer.
TEST(Settings, NumbersOutsideTheirRangeKeepTheDefaultAndSaySoOnce) {
    struct Row {
        const char* line;
        const char* key;
        const char* reads;
        const char* problem;  // after the file's name and ": "
    };
    const Row rows[] = {
        {"AutoSaveEd=1", "AutoSaveEd", "1", nullptr},
        {"AutoSaveEd=100", "AutoSaveEd", "100", nullptr},
        {"AutoSaveEd=71583", "AutoSaveEd", "5",
         "AutoSaveEd 71583 is outside 1 to 100; it reads as 5"},
        {"AutoSaveEd=0", "AutoSaveEd", "5", "AutoSaveEd 0 is outside 1 to 100; it reads as 5"},
        {"AutoSaveEd=-2147483648", "AutoSaveEd", "5",
         "AutoSaveEd -2147483648 is outside 1 to 100; it reads as 5"},
        {"AutoSaveEd=abc", "AutoSaveEd", "5", nullptr},
        {"ViewStyle=2", "ViewStyle", "2", nullptr},
        {"ViewStyle=0x102", "ViewStyle", "0", "ViewStyle 0x102 is outside 0 to 2; it reads as 0"},
        {"ViewStyle=-1", "ViewStyle", "0", "ViewStyle -1 is outside 0 to 2; it reads as 0"},
        {"ColsOfLineEd=31", "ColsOfLineEd", "30",
         "ColsOfLineEd 31 is outside 4 to 30; it reads as 30"},
    };
    for (const Row& row : rows) {
        TempDir dir;
        const std::string path = WriteSection(dir, std::string(row.line) + "\r\n" + row.line);
        std::vector<std::string> problems;
        EXPECT_EQ(GetAppOption(Load(path, &problems), row.key), row.reads) << row.line;
        const std::vector<std::string> expected =
            row.problem == nullptr ? std::vector<std::string>{}
                                   : std::vector<std::string>{path + ": " + row.problem};
        EXPECT_EQ(problems, expected) << "the key twice, the warning once";
    }
}

TEST(Settings, StoredLastDocIsNeverUsed) {
    TempDir dir;
    const TAppOptions options = Load(WriteSection(dir, "LastDoc=D:\\x\\y.lvrn\r\n"));
    EXPECT_EQ(options.LastDoc, "工作文档.lvrn");
}

TEST(Settings, FreshFileInWriteOrder) {
    TempDir dir;
    const std::string path = SettingsFilePath(dir.Path());
    TAppOptions options;
    options.userName = "张三";
    SaveAppOptions(options, "", path);
    EXPECT_EQ(ReadWholeFile(path), kSection +
                                       "\r\n"
                                       "userName=@U}\xD7\r\n"
                                       "userPW=\r\n"
                                       "OpenLastChk=0\r\n"
                                       "LastDoc=\xB9\xA4\xD7\xF7\xCE\xC4\xB5\xB5.lvrn\r\n"
                                       "AutoSaveChk=0\r\n"
                                       "AutoSaveEd=5\r\n"
                                       "DetailEveryChk=0\r\n"
                                       "DetailLastChk=1\r\n"
                                       "SplitByLineChk=0\r\n"
                                       "ViewStyle=0\r\n"
                                       "AutoCalcChk=0\r\n"
                                       "AutoVerifyChk=1\r\n"
                                       "OutPutPrjOptChk=0\r\n"
                                       "OutPutAppOptChk=0\r\n"
                                       "ColsOfLineEd=10\r\n");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ormelux.ini"});
}

TEST(Settings, SaveKeepsOtherSectionsAndKeys) {
    TempDir dir;
    const std::string path = SettingsFilePath(dir.Path());
    const std::string before = ReadWholeFile(kSamples + "gbk-crlf.ini");
    WriteFileAtomically(path, before);
    std::vector<std::string> clamped;  // its ColsOfLineEd of 50
    TAppOptions options = Load(path, &clamped);
    options.AutoVerifyChk = false;
    SaveAppOptions(options, "", path);

    // Known keys are replaced where they stand and missing ones added at the
    // end of the section; comments, unknown keys and other sections stay.
    const std::string expected = "; Tovarin settings\r\n" +
                                 Utf8ToGbk("[其他设置]\r\nuserName=不是这个\r\n") +
                                 "Extra=keep me\r\n\r\n" + kSection +
                                 "\r\n"
                                 "userName=@U}\xD7\r\n"
                                 "userPW=\xDB%07\xD5%0B\r\n"
                                 "LastDoc=" +
                                 Utf8ToGbk("工作文档.lvrn") +
                                 "\r\n"
                                 "DetailEveryChk=1\r\n"
                                 "DetailLastChk=0\r\n"
                                 "AutoCalcChk=1\r\n"
                                 ";AutoVerifyChk=0\r\n"
                                 "ColsOfLineEd=30\r\n"
                                 "UnknownKey=stays\r\n"
                                 "OpenLastChk=0\r\n"
                                 "AutoSaveChk=0\r\n"
                                 "AutoSaveEd=5\r\n"
                                 "SplitByLineChk=0\r\n"
                                 "ViewStyle=0\r\n"
                                 "AutoVerifyChk=0\r\n"
                                 "OutPutPrjOptChk=0\r\n"
                                 "OutPutAppOptChk=0\r\n"
                                 "\r\n" +
                                 Utf8ToGbk("[最后]") + "\r\nTail=1\r\n";
    EXPECT_EQ(ReadWholeFile(path), expected);
    ExpectSameRecord(Load(path), options);
}

TEST(Settings, EveryFieldRoundTrips) {
    TempDir dir;
    const std::string path = SettingsFilePath(dir.Path());
    TAppOptions options;
    options.userName = " 会员 \"甲\" % ";
    options.userPW = "\t'密\r\n码'\x7F";
    options.OpenLastChk = true;
    options.AutoSaveChk = true;
    options.AutoSaveEd = 77;
    options.DetailEveryChk = true;
    options.DetailLastChk = false;
    options.SplitByLineChk = true;
    options.ViewStyle = 2;
    options.AutoCalcChk = true;
    options.AutoVerifyChk = false;
    options.OutPutPrjOptChk = true;
    options.OutPutAppOptChk = true;
    options.ColsOfLineEd = 17;
    SaveAppOptions(options, "", path);
    ExpectSameRecord(Load(path), options);
    // Saving again without a change leaves the same bytes.
    const std::string first = ReadWholeFile(path);
    TAppOptions again = Load(path);
    SaveAppOptions(again, "", path);
    EXPECT_EQ(ReadWholeFile(path), first);
}

TEST(Settings, StoredLastDocReadsAsStoredForReopening) {
    TempDir dir;
    EXPECT_EQ(StoredLastDoc(SettingsFilePath(dir.Path())), "");
    EXPECT_EQ(StoredLastDoc(WriteSection(dir, "OpenLastChk=1\r\n")), "");
    EXPECT_EQ(
        StoredLastDoc(WriteSection(dir, "LastDoc=" + Utf8ToGbk("/data/别处/甲.lvrn") + "\r\n")),
        "/data/别处/甲.lvrn");
    // A lone lead byte is no GBK text.
    EXPECT_EQ(StoredLastDoc(WriteSection(dir, "LastDoc=/x\x81\r\n")), "");
    // What SaveAppOptions writes, StoredLastDoc reads back.
    TAppOptions options;
    const std::string path = SettingsFilePath(dir.Path());
    SaveAppOptions(options, "/home/王/乙.lvrn", path);
    EXPECT_EQ(StoredLastDoc(path), "/home/王/乙.lvrn");
}

TEST(Settings, OpenDocumentNameGoesToLastDoc) {
    TempDir dir;
    const std::string path = SettingsFilePath(dir.Path());
    TAppOptions options;
    SaveAppOptions(options, "/data/别处/甲.lvrn", path);
    EXPECT_EQ(options.LastDoc, "/data/别处/甲.lvrn");
    EXPECT_NE(ReadWholeFile(path).find("\r\nLastDoc=" + Utf8ToGbk("/data/别处/甲.lvrn") + "\r\n"),
              std::string::npos);
    // Without an open document the start-up name stays.
    TAppOptions fresh = Load(path);
    SaveAppOptions(fresh, "", path);
    EXPECT_EQ(fresh.LastDoc, "工作文档.lvrn");
    EXPECT_NE(ReadWholeFile(path).find("\r\nLastDoc=" + Utf8ToGbk("工作文档.lvrn") + "\r\n"),
              std::string::npos);
}

TEST(Settings, ADocumentNameTheFileCannotHoldCostsOnlyLastDoc) {
    TempDir dir;
    const std::string path = SettingsFilePath(dir.Path());
    TAppOptions first;
    SaveAppOptions(first, "/data/甲.lvrn", path);
    const std::string previous = "\r\nLastDoc=" + Utf8ToGbk("/data/甲.lvrn") + "\r\n";
    for (const char* lastDoc :
         {"/data/\xC3\x84rger.lvrn", " x.lvrn", "x.lvrn ", "a\r\nb.lvrn", "\"q.lvrn\""}) {
        TAppOptions changed = first;
        changed.AutoCalcChk = !first.AutoCalcChk;
        changed.ColsOfLineEd = 17;
        const std::string warning = SaveAppOptions(changed, lastDoc, path);
        EXPECT_NE(warning.find("LastDoc cannot be written"), std::string::npos) << warning;
        EXPECT_NE(warning.find("; LastDoc keeps its previous value"), std::string::npos);
        EXPECT_EQ(warning.find_first_of("\r\n"), std::string::npos) << "one line";
        EXPECT_EQ(changed.LastDoc, "/data/甲.lvrn");
        const std::string bytes = ReadWholeFile(path);
        EXPECT_NE(bytes.find(previous), std::string::npos) << lastDoc;
        EXPECT_NE(bytes.find("\r\nColsOfLineEd=17\r\n"), std::string::npos);
        std::vector<std::string> problems;
        const TAppOptions back = LoadAppOptions(path, problems);
        EXPECT_EQ(back.AutoCalcChk, changed.AutoCalcChk);
        EXPECT_EQ(back.ColsOfLineEd, 17);
        EXPECT_TRUE(problems.empty());
    }
}

TEST(Settings, AnUnwritableNameInANewFileLeavesTheDefaultLastDoc) {
    TempDir dir;
    const std::string path = SettingsFilePath(dir.Path());
    TAppOptions options;
    options.OpenLastChk = !options.OpenLastChk;
    EXPECT_FALSE(SaveAppOptions(options, "/data/\xC3\x84rger.lvrn", path).empty());
    const std::string bytes = ReadWholeFile(path);
    EXPECT_NE(bytes.find("\r\nLastDoc=" + Utf8ToGbk("工作文档.lvrn") + "\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nOpenLastChk=" + std::string(options.OpenLastChk ? "1" : "0")),
              std::string::npos);
    EXPECT_EQ(SaveAppOptions(options, "/data/乙.lvrn", path), "") << "an ordinary name: no warning";
}

TEST(Settings, ValuesTheFileCannotHoldAreRefused) {
    TempDir dir;
    const std::string path = SettingsFilePath(dir.Path());
    TAppOptions options;
    SaveAppOptions(options, "", path);
    const std::string before = ReadWholeFile(path);

    TAppOptions emoji;
    emoji.userName = "\xF0\x9F\x98\x80";
    EXPECT_THROW(SaveAppOptions(emoji, "", path), ECodecError);
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ormelux.ini"});
}

TEST(Settings, WriteIntoAMissingFolderFails) {
    TempDir dir;
    const std::string path = dir.File("missing") + "/ormelux.ini";
    TAppOptions options;
    try {
        SaveAppOptions(options, "/data/甲.lvrn", path);
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(options.LastDoc, "工作文档.lvrn");
    EXPECT_TRUE(dir.Names().empty());
}

TEST(Settings, FolderInThePlaceOfTheFile) {
    TempDir dir;
    const std::string path = SettingsFilePath(dir.Path());
    ASSERT_TRUE(std::filesystem::create_directory(test::FsPath(path)));
    ExpectSameRecord(Load(path), TAppOptions{});
    TAppOptions options;
    try {
        SaveAppOptions(options, "", path);
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ormelux.ini"});
}

// The file-size limit makes the write itself fail; permission bits would not
// stop a test that runs as root. The save runs in a child so that the limit
// does not reach the test program.
TEST(Settings, FailedWriteLeavesTheOldFileWhole) {
#ifdef _WIN32
    GTEST_SKIP() << test::kNoFileSizeLimitOnWindows;
#else
    TempDir dir;
    const std::string path = SettingsFilePath(dir.Path());
    const std::string before = ReadWholeFile(kSamples + "gbk-crlf.ini");
    WriteFileAtomically(path, before);

    const int status = test::RunWithFileSizeLimit(64, [&] {
        TAppOptions options;
        options.userName = "李四";
        try {
            SaveAppOptions(options, "/data/甲.lvrn", path);
        } catch (const EInOutError& error) {
            const bool exact = std::string(error.what()) == "Unable to write to " + path;
            const bool unchanged = options.LastDoc == "工作文档.lvrn";
            return exact && unchanged ? 0 : 3;
        } catch (...) {
            return 4;
        }
        return 5;  // the write went through
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile(path), before);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"ormelux.ini"});
#endif
}

// Whatever a settings file holds, loading gives a record within its ranges,
// and saving that record and loading again gives the same record.
TEST(Settings, AnyFileLoadsSavesAndLoadsTheSame) {
    std::vector<std::string> fragments = {kSection, "[T]", "\r\n", "\n",   "=",        " ",   ";",
                                          "0x",     "1",   "0",    "7",    "-",        "abc", "%",
                                          "%4",     "%0D", "\"",   "\x81", "\xD5\xC5", "\xFF"};
    for (const std::string_view key : AppOptionKeys()) {
        fragments.emplace_back("\r\n" + std::string(key) + "=");
    }
    std::mt19937 random(7);
    auto pick = [&random](size_t count) {
        return std::uniform_int_distribution<size_t>(0, count - 1)(random);
    };
    TempDir dir;
    const std::string path = SettingsFilePath(dir.Path());
    // Few rounds: every save is flushed to disk.
    for (int round = 0; round < 50; ++round) {
        std::string file;
        const size_t length = pick(60);
        for (size_t i = 0; i < length; ++i) {
            file += fragments[pick(fragments.size())];
        }
        WriteFileAtomically(path, file);
        std::vector<std::string> problems;
        TAppOptions first = LoadAppOptions(path, problems);
        EXPECT_GE(first.ColsOfLineEd, 4);
        EXPECT_LE(first.ColsOfLineEd, 30);
        EXPECT_LE(first.ViewStyle, 2);
        EXPECT_EQ(first.LastDoc, "工作文档.lvrn");
        SaveAppOptions(first, "", path);
        ExpectSameRecord(Load(path), first);
    }
}

TEST(Scrambling, ParametersComeFromTheVersionText) {
    const TScrambleParams params = SettingsScrambleParams();
    EXPECT_EQ(params.start, 107);
    EXPECT_EQ(params.step, 37);
    const TScrambleParams other = ScrambleParamsFor("v2.3.9");
    EXPECT_EQ(other.start, 90 + 17 * 2);
    EXPECT_EQ(other.step, 37 + 2 * 9);
    EXPECT_THROW(ScrambleParamsFor("beta"), Exception);
}

TEST(Scrambling, AdditiveProgression) {
    const TScrambleParams params{250, 3};
    // 0 + 250, 1 + 253, 2 + 256 and 3 + 259, modulo 256.
    EXPECT_EQ(Scramble(std::string("\x00\x01\x02\x03", 4), params),
              std::string("\xFA\xFE\x02\x06", 4));
    EXPECT_EQ(Unscramble(std::string("\xFA\xFE\x02\x06", 4), params),
              std::string("\x00\x01\x02\x03", 4));
    EXPECT_EQ(Scramble("", params), "");
    // The offset of byte i repeats after 256 bytes.
    const std::string zeros(257, '\0');
    const std::string stored = Scramble(zeros, SettingsScrambleParams());
    EXPECT_EQ(stored.size(), 257U);
    EXPECT_EQ(stored[256], stored[0]);
    EXPECT_EQ(static_cast<uint8_t>(stored[1]), (107 + 37) % 256);
}

// Every byte value at every position survives scrambling, escaping, the INI
// file and the way back.
TEST(Scrambling, EveryByteRoundTripsThroughTheIniFile) {
    const TScrambleParams params = SettingsScrambleParams();
    for (int shift = 0; shift < 256; ++shift) {
        std::string plain(256, '\0');
        for (int i = 0; i < 256; ++i) {
            plain[static_cast<size_t>(i)] = static_cast<char>((i + shift) % 256);
        }
        const std::string value = EscapeIniValue(Scramble(plain, params));
        ASSERT_TRUE(TIniFile::CanHoldValue(value)) << shift;
        TIniFile ini;
        ini.WriteString("S", "userPW", value);
        const std::optional<std::string> read = TIniFile(ini.Bytes()).ReadString("S", "userPW");
        ASSERT_TRUE(read.has_value());
        const std::optional<std::string> bytes = UnescapeIniValue(*read);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(Unscramble(*bytes, params), plain) << shift;
    }
}

// Every stored byte value, alone, first, in the middle and last.
TEST(Scrambling, EveryStoredByteEscapesToAHoldableValue) {
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        for (const std::string& stored :
             {std::string(1, c), std::string(1, c) + "ab", "a" + std::string(1, c) + "b",
              "ab" + std::string(1, c)}) {
            const std::string value = EscapeIniValue(stored);
            EXPECT_TRUE(TIniFile::CanHoldValue(value)) << byte;
            EXPECT_EQ(UnescapeIniValue(value), stored) << byte;
        }
    }
}

TEST(Scrambling, EscapesOnlyWhatNeedsIt) {
    EXPECT_EQ(EscapeIniValue("a b"), "a b");
    EXPECT_EQ(EscapeIniValue(" a b "), "%20a b%20");
    EXPECT_EQ(EscapeIniValue(std::string("\0%\"'\r\n\t\x7F\x80\xFF", 10)),
              "%00%25%22%27%0D%0A%09%7F\x80\xFF");
    EXPECT_EQ(UnescapeIniValue("%41%6a"), "Aj");
    EXPECT_EQ(UnescapeIniValue("%"), std::nullopt);
    EXPECT_EQ(UnescapeIniValue("%4"), std::nullopt);
    EXPECT_EQ(UnescapeIniValue("ab%4"), std::nullopt);
    EXPECT_EQ(UnescapeIniValue("%G0"), std::nullopt);
    EXPECT_EQ(UnescapeIniValue("% 1"), std::nullopt);
}

TEST(Scrambling, MissingMemberKeysMeanEmpty) {
    TempDir dir;
    const TAppOptions options = Load(WriteSection(dir, "AutoCalcChk=1\r\n"));
    EXPECT_EQ(options.userName, "");
    EXPECT_EQ(options.userPW, "");
    EXPECT_TRUE(options.AutoCalcChk);
}

}  // namespace
}  // namespace tovarin
