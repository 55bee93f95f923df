#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/base/Errors.h"
#include "core/settings/IniFile.h"

namespace tovarin {
namespace {

// "基本设置" in GBK, as the settings file holds it.
const std::string kSection = "\xBB\xF9\xB1\xBE\xC9\xE8\xD6\xC3";

std::optional<std::string> Read(const std::string& bytes, const std::string& section,
                                const std::string& key) {
    return TIniFile(bytes).ReadString(section, key);
}

TEST(IniFile, ReadsRulesOfTheIniService) {
    struct Row {
        const char* what;
        std::string file;
        std::string section;
        std::string key;
        std::optional<std::string> value;
    };
    const Row rows[] = {
        {"plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
        {"LF only", "[S]\nk=v\n", "S", "k", "v"},
        {"CR only", "[S]\rk=v\r", "S", "k", "v"},
        {"no final line break", "[S]\r\nk=v", "S", "k", "v"},
        {"section case", "[Abc]\r\nk=v\r\n", "aBC", "k", "v"},
        {"key case", "[S]\r\nKey=v\r\n", "S", "KEY", "v"},
        {"blanks around key and value", "[S]\r\n \t k \t=  v w \t\r\n", "S", "k", "v w"},
        {"blanks around the section name", "[  S\t]\r\nk=v\r\n", "S", "k", "v"},
        {"indented section", "   [S]\r\nk=v\r\n", "S", "k", "v"},
        {"text after the bracket", "[S] ; note\r\nk=v\r\n", "S", "k", "v"},
        {"comment", "[S]\r\n;k=v\r\n", "S", "k", std::nullopt},
        {"indented comment", "[S]\r\n  ;k=v\r\nk=w\r\n", "S", "k", "w"},
        {"first duplicate wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
        {"first section only", "[S]\r\na=1\r\n[s]\r\nk=2\r\n", "S", "k", std::nullopt},
        {"other section", "[T]\r\nk=v\r\n", "S", "k", std::nullopt},
        {"key before any section", "k=v\r\n[S]\r\n", "S", "k", std::nullopt},
        {"missing section", "", "S", "k", std::nullopt},
        {"empty value", "[S]\r\nk=\r\n", "S", "k", ""},
        {"equals in the value", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
        {"double quotes", "[S]\r\nk=\" a \"\r\n", "S", "k", " a "},
        {"single quotes", "[S]\r\nk='a'\r\n", "S", "k", "a"},
        {"unmatched quotes stay", "[S]\r\nk=\"a'\r\n", "S", "k", "\"a'"},
        {"one quote stays", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        {"line without equals", "[S]\r\nk\r\nk=v\r\n", "S", "k", "v"},
        {"unclosed bracket is no section", "[S]\r\n[T\r\nk=v\r\n", "S", "k", "v"},
        {"GBK section", "[" + kSection + "]\r\nk=v\r\n", kSection, "k", "v"},
        {"high bytes in the value", "[S]\r\nk=\x80\xFF\xD5\r\n", "S", "k", "\x80\xFF\xD5"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Read(row.file, row.section, row.key), row.value) << row.what;
    }
}

// The second byte of a GBK character may look like an ASCII letter; it is
// never folded, so two different characters never match.
TEST(IniFile, CaseFoldingSkipsGbkTrailBytes) {
    const std::string upper = "\x81\x41";  // trail byte 'A'
    const std::string lower = "\x81\x61";  // trail byte 'a'
    EXPECT_EQ(Read("[" + upper + "]\r\nk=v\r\n", upper, "k"), "v");
    EXPECT_EQ(Read("[" + upper + "]\r\nk=v\r\n", lower, "k"), std::nullopt);
    EXPECT_EQ(Read("[S]\r\n" + upper + "=v\r\n", "S", lower), std::nullopt);
    // A trail byte "]" does not close the section name.
    const std::string bracket = "\x81\x5D";
    EXPECT_EQ(Read("[" + bracket + "]\r\nk=v\r\n", bracket, "k"), "v");
}

TEST(IniFile, WriteReplacesOnlyTheKeyLine) {
    const std::string before =
        "; head\r\n[T]\nk=other\n\r\n[S]\r\n a = 1 \r\n;k=c\r\nK = old\r\nz=9\r\n\r\n[U]\rk=u";
    TIniFile ini(before);
    ini.WriteString("S", "k", "new");
    EXPECT_EQ(ini.Bytes(),
              "; head\r\n[T]\nk=other\n\r\n[S]\r\n a = 1 \r\n;k=c\r\nk=new\r\nz=9\r\n\r\n[U]\rk=u");
}

TEST(IniFile, NewKeyGoesAfterTheSectionsLastLine) {
    TIniFile ini("[S]\r\na=1\r\n\r\n\r\n[T]\r\nb=2");
    ini.WriteString("S", "c", "3");
    ini.WriteString("T", "d", "4");
    EXPECT_EQ(ini.Bytes(), "[S]\r\na=1\r\nc=3\r\n\r\n\r\n[T]\r\nb=2\r\nd=4\r\n");
}

TEST(IniFile, NewSectionGoesAtTheEnd) {
    TIniFile ini("[T]\nb=2");
    ini.WriteString(kSection, "userName", "x");
    ini.WriteString(kSection, "userPW", "y");
    EXPECT_EQ(ini.Bytes(), "[T]\nb=2\r\n[" + kSection + "]\r\nuserName=x\r\nuserPW=y\r\n");
}

TEST(IniFile, EmptyFileWritesCrLfLines) {
    TIniFile ini;
    EXPECT_EQ(ini.Bytes(), "");
    ini.WriteString("S", "a", "1");
    ini.WriteString("S", "a", "2");
    EXPECT_EQ(ini.Bytes(), "[S]\r\na=2\r\n");
}

TEST(IniFile, UntouchedFileKeepsItsBytes) {
    const std::string files[] = {
        "", "\r\n", "x", "[S]\r\nk=v", "[S]\n\n\r\r\n k = v \r\n;c\n", "\x81\x5D=\xFF\r\n"};
    for (const std::string& file : files) {
        EXPECT_EQ(TIniFile(file).Bytes(), file);
    }
}

TEST(IniFile, WhatAValueCanHold) {
    EXPECT_TRUE(TIniFile::CanHoldValue(""));
    EXPECT_TRUE(TIniFile::CanHoldValue("a b"));
    EXPECT_TRUE(TIniFile::CanHoldValue("\"a"));
    EXPECT_TRUE(TIniFile::CanHoldValue("'a\""));
    EXPECT_TRUE(TIniFile::CanHoldValue("\x80\xFF;=[]"));
    EXPECT_FALSE(TIniFile::CanHoldValue(std::string("a\0b", 3)));
    EXPECT_FALSE(TIniFile::CanHoldValue("a\rb"));
    EXPECT_FALSE(TIniFile::CanHoldValue("a\nb"));
    EXPECT_FALSE(TIniFile::CanHoldValue(" a"));
    EXPECT_FALSE(TIniFile::CanHoldValue("a\t"));
    EXPECT_FALSE(TIniFile::CanHoldValue("\"a\""));
    EXPECT_FALSE(TIniFile::CanHoldValue("''"));
}

// Whatever CanHoldValue accepts reads back exactly.
TEST(IniFile, HeldValuesReadBack) {
    const std::string values[] = {"",    "a",  "a b", "\"a",      "a'",
                                  "=x=", ";x", "[x]", "\x81\x5D", "\xFF\xFE"};
    for (const std::string& value : values) {
        ASSERT_TRUE(TIniFile::CanHoldValue(value)) << value;
        TIniFile ini("[S]\r\nk=old\r\n");
        ini.WriteString("S", "k", value);
        EXPECT_EQ(TIniFile(ini.Bytes()).ReadString("S", "k"), value);
    }
}

TEST(IniFile, RefusesWhatItCannotWrite) {
    TIniFile ini("[S]\r\nk=v\r\n");
    EXPECT_THROW(ini.WriteString("S", "k", "a\r\nb=c"), Exception);
    EXPECT_THROW(ini.WriteString("S", "k", " v"), Exception);
    EXPECT_THROW(ini.WriteString("S", "a=b", "v"), Exception);
    EXPECT_THROW(ini.WriteString("S", ";k", "v"), Exception);
    EXPECT_THROW(ini.WriteString("S", "", "v"), Exception);
    EXPECT_THROW(ini.WriteString("S]", "k", "v"), Exception);
    EXPECT_THROW(ini.WriteString(" S", "k", "v"), Exception);
    EXPECT_EQ(ini.Bytes(), "[S]\r\nk=v\r\n");
}

// Files put together from fragments that stress the rules: whatever the
// file, an untouched file keeps its bytes, a written key reads back, and no
// other section's or key's value changes.
TEST(IniFile, WritingOneKeyChangesNothingElse) {
    const std::vector<std::string> fragments = {
        "[S]",  "[s]",  "[T]", " [ T ] ", "[S",       "k",        "K",  "j",
        "=",    " ",    "\t",  "v",       "w",        ";",        "\"", "'",
        "\r\n", "\r\n", "\n",  "\r",      "\x81\x5D", "\xD5\xC5", "]"};
    const std::vector<std::string> names = {"S", "T", "U"};
    const std::vector<std::string> keys = {"k", "j", "K"};
    std::mt19937 random(20261208);
    auto pick = [&random](size_t count) {
        return std::uniform_int_distribution<size_t>(0, count - 1)(random);
    };
    for (int round = 0; round < 3000; ++round) {
        std::string file;
        const size_t length = pick(40);
        for (size_t i = 0; i < length; ++i) {
            file += fragments[pick(fragments.size())];
        }
        TIniFile ini(file);
        ASSERT_EQ(ini.Bytes(), file);
        const std::string& section = names[pick(names.size())];
        const std::string& key = keys[pick(keys.size())];
        const std::string value = round % 3 == 0 ? "" : "x" + std::to_string(round) + " y";
        ini.WriteString(section, key, value);
        const TIniFile after(ini.Bytes());
        ASSERT_EQ(after.ReadString(section, key), value) << file;
        for (const std::string& otherSection : names) {
            for (const std::string otherKey : {"k", "j"}) {
                // "K" is the key "k" in another case.
                const bool same =
                    otherSection == section && (otherKey == key || (otherKey == "k" && key == "K"));
                if (!same) {
                    EXPECT_EQ(after.ReadString(otherSection, otherKey),
                              TIniFile(file).ReadString(otherSection, otherKey))
                        << file << " after writing " << section << "." << key;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tovarin
