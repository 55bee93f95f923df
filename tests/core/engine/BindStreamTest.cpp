#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/base/ByteStream.h"
#include "core/base/Errors.h"
#include "core/engine/Bind.h"
#include "core/engine/PrjOptions.h"
#include "support/Hex.h"

namespace tovarin {
namespace {

using test::Bytes;

std::string Saved(const TBaseBind& bind) {
    ByteWriter out;
    bind.SaveToStream(out);
    return out.Bytes();
}

// Everything a load could change, to show that a refused load changed nothing.
struct Snapshot {
    int kind;
    std::string param;
    bool allMatch, multiClause, assured, checked, dirty;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const TBaseBind& bind) {
    return {bind.Kind(),  bind.Param(), bind.AllMatch, bind.MultiClause,
            bind.Assured, bind.Checked, bind.Dirty()};
}

std::unique_ptr<TBaseBind> Known(const TPrjOptions& options) {
    auto bind = CreateBind(3, options);
    bind->SetParam("4,6");
    bind->Checked = true;
    bind->GetCodes();
    return bind;
}

TEST(BindStream, GoldenBytesOfADigitList) {
    TPrjOptions options;
    auto bind = CreateBind(1, options);
    bind->SetParam("3,7");
    bind->Assured = true;
    bind->Checked = true;
    EXPECT_EQ(Saved(*bind), Bytes({1, 0, 0, 0, 3, 0, 0, 0, '3', ',', '7', 0, 0, 1, 1}));
}

TEST(BindStream, ChineseTextIsStoredAsGbkAndCountedInGbkBytes) {
    TPrjOptions options;
    auto bind = CreateBind(9, options);
    bind->SetParam("12与34相配");
    bind->AllMatch = true;
    // 与 D3EB, 相 CFE0, 配 C5E4: ten bytes, where UTF-8 needs thirteen.
    EXPECT_EQ(Saved(*bind), Bytes({
                                9,    0,    0,    0,               // Kind
                                10,   0,    0,    0,               // L
                                '1',  '2',  0xD3, 0xEB, '3', '4',  // 12与34
                                0xCF, 0xE0, 0xC5, 0xE4,            // 相配
                                1,    1,    0,    0,  // AllMatch, MultiClause, Assured, Checked
                            }));
}

TEST(BindStream, AnEmptyParameterWritesLengthZeroAndNoText) {
    TPrjOptions options;
    auto bind = CreateBind(4, options);
    EXPECT_EQ(Saved(*bind), Bytes({4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    const TCodes& before = bind->GetCodes();
    const int validBefore = before.ValidCount();

    auto loaded = CreateBind(4, options);
    const std::string bytes = Saved(*bind);
    ByteReader in(bytes);
    loaded->GetCodes();
    loaded->LoadFromStream(in);
    EXPECT_EQ(in.Remaining(), 0U);
    EXPECT_TRUE(loaded->Dirty());
    EXPECT_EQ(loaded->Param(), "");
    EXPECT_EQ(loaded->GetCodes().ValidCount(), validBefore);
    EXPECT_EQ(validBefore, 100);
}

TEST(BindStream, RoundTripOfEveryKind) {
    TPrjOptions options;
    const char* const params[] = {
        "", "1,3,5", "0,9", "2", "4,5,6", "5", "0,9,18", "8", "12与34相配,5与67相配"};
    for (int kind = 1; kind <= kBindKindCount; ++kind) {
        auto bind = CreateBind(kind, options);
        bind->SetParam(params[kind - 1]);
        bind->Assured = kind % 2 == 0;
        bind->AllMatch = kind % 3 == 0;
        bind->Checked = kind % 4 != 0;
        const std::string bytes = Saved(*bind);

        auto loaded = CreateBind(kind, options);
        ByteReader in(bytes);
        loaded->LoadFromStream(in);
        EXPECT_EQ(in.Remaining(), 0U);
        Snapshot expected = Take(*bind);
        EXPECT_EQ(Take(*loaded), expected) << "kind " << kind;
        EXPECT_EQ(Saved(*loaded), bytes);
        for (TCode code = 0; code < 100; ++code) {
            ASSERT_EQ(loaded->GetCodes().GetMiss(code), bind->GetCodes().GetMiss(code));
        }
    }
}

TEST(BindStream, LoadTakesTheStoredKindAndFlagBytes) {
    TPrjOptions options;
    auto bind = CreateBind(1, options);
    const std::string bytes = Bytes({5, 0, 0, 0, 1, 0, 0, 0, '7', 2, 0, 7, 0, 'z'});
    ByteReader in(bytes);
    bind->LoadFromStream(in);
    EXPECT_EQ(bind->Kind(), 5);
    EXPECT_EQ(bind->Param(), "7");
    EXPECT_TRUE(bind->AllMatch);
    EXPECT_FALSE(bind->MultiClause);
    EXPECT_TRUE(bind->Assured);
    EXPECT_FALSE(bind->Checked);
    EXPECT_EQ(in.Offset(), 13U) << "the record ends after the four flags";
    EXPECT_EQ(bind->GetText(), "头尾数:[铁]7");
}

TEST(BindStream, EveryTruncatedPrefixIsRefusedAndChangesNothing) {
    TPrjOptions options;
    auto source = CreateBind(9, options);
    source->SetParam("12与34相配");
    const std::string bytes = Saved(*source);
    for (size_t length = 0; length < bytes.size(); ++length) {
        auto bind = Known(options);
        const Snapshot before = Take(*bind);
        ByteReader in(std::string_view(bytes).substr(0, length));
        EXPECT_THROW(bind->LoadFromStream(in), EReadError) << "prefix " << length;
        EXPECT_EQ(Take(*bind), before) << "prefix " << length;
    }
}

struct BadRecord {
    const char* what;
    std::string bytes;
    const char* message;
};

TEST(BindStream, BadRecordsAreRefusedBeforeTheConditionChanges) {
    const BadRecord records[] = {
        {"kind 0", Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "Bad condition kind 0 at byte 0"},
        {"kind 10", Bytes({10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
         "Bad condition kind 10 at byte 0"},
        {"kind -1", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}),
         "Bad condition kind -1 at byte 0"},
        {"negative length", Bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}),
         "Bad condition text length -1 at byte 4"},
        {"length beyond the end", Bytes({1, 0, 0, 0, 9, 0, 0, 0, '1', 0, 0, 0, 0}),
         "Bad condition text length 9 at byte 4"},
        {"huge length", Bytes({1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0}),
         "Bad condition text length 2147483647 at byte 4"},
        {"not GBK", Bytes({1, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0}),
         "Condition text is not GBK at byte 8"},
        {"cut GBK character", Bytes({1, 0, 0, 0, 1, 0, 0, 0, 0xD3, 0, 0, 0, 0}),
         "Condition text is not GBK at byte 8"},
    };
    TPrjOptions options;
    for (const BadRecord& record : records) {
        auto bind = Known(options);
        const Snapshot before = Take(*bind);
        ByteReader in(record.bytes);
        try {
            bind->LoadFromStream(in);
            ADD_FAILURE() << record.what << " must be refused";
        } catch (const EReadError& error) {
            EXPECT_STREQ(error.what(), record.message) << record.what;
        }
        EXPECT_EQ(Take(*bind), before) << record.what;
        EXPECT_EQ(bind->GetCodes().ValidCount(), 20) << "the cache is untouched";
    }
}

TEST(BindStream, ARecordAfterOthersNamesItsOwnOffset) {
    TPrjOptions options;
    const std::string bytes = Bytes({'x', 'y', 0x0B, 0, 0, 0, 0, 0, 0, 0});
    ByteReader in(bytes);
    in.ReadBytes(2);
    auto bind = Known(options);
    try {
        bind->LoadFromStream(in);
        ADD_FAILURE();
    } catch (const EReadError& error) {
        EXPECT_STREQ(error.what(), "Bad condition kind 11 at byte 2");
    }
}

TEST(BindStream, AParameterWithoutAGbkFormIsNotWritten) {
    TPrjOptions options;
    auto bind = CreateBind(1, options);
    bind->SetParam("1,\xF0\x9F\x98\x80");  // an emoji: no GBK form
    ByteWriter out;
    EXPECT_THROW(bind->SaveToStream(out), ECodecError);
    EXPECT_EQ(out.Size(), 0U);
}

TEST(BindRecord, ReadsEveryFieldAndLeavesTheReaderAfterTheRecord) {
    const std::string bytes = Bytes({9,   0,   0,    0,    10,   0,    0, 0, '1', '2', 0xD3, 0xEB,
                                     '3', '4', 0xCF, 0xE0, 0xC5, 0xE4, 1, 0, 7,   0,   'z'});
    ByteReader in(bytes);
    const TBindRecord record = ReadBindRecord(in);
    EXPECT_EQ(record.Kind, 9);
    EXPECT_EQ(record.Param, "12与34相配");
    EXPECT_TRUE(record.AllMatch);
    EXPECT_FALSE(record.MultiClause);
    EXPECT_TRUE(record.Assured);
    EXPECT_FALSE(record.Checked);
    EXPECT_EQ(in.Offset(), bytes.size() - 1);
}

TEST(BindRecord, EveryKindIsMadeWithTheRecordsTextAndFlags) {
    TPrjOptions options;
    for (int kind = 1; kind <= kBindKindCount; ++kind) {
        for (const char* text : {"", "3", "1,3,5,7,9", "12与34相配,5与67相配,8与9相配"}) {
            const std::unique_ptr<TBaseBind> bind =
                CreateBind(TBindRecord{kind, text, true, false, true, false}, options);
            ASSERT_NE(bind, nullptr);
            EXPECT_EQ(Take(*bind), (Snapshot{kind, text, true, false, true, false, true}))
                << kind << " " << text;
            // The same condition made the usual way saves the same bytes.
            const std::unique_ptr<TBaseBind> usual = CreateBind(kind, options);
            usual->SetParam(text);
            usual->AllMatch = true;
            usual->MultiClause = false;
            usual->Assured = true;
            EXPECT_EQ(Saved(*bind), Saved(*usual)) << kind << " " << text;
        }
    }
    EXPECT_EQ(CreateBind(TBindRecord{0, "1"}, options), nullptr);
    EXPECT_EQ(CreateBind(TBindRecord{10, ""}, options), nullptr);
}

// A condition that holds its text in its own object takes every later text,
// short or long, gives it to copies, and keeps a copy apart from itself.
TEST(BindRecord, AConditionMadeWithItsTextChangesItAsAnyOther) {
    TPrjOptions options;
    const std::string longText = "0,1,2,3,4,5,6,7,8,9 与 9,8,7,6,5,4,3,2,1,0";
    std::unique_ptr<TBaseBind> bind = CreateBind(TBindRecord{1, "1,3"}, options);
    EXPECT_EQ(bind->GetCodes().ValidCount(), 20);
    bind->SetParam(longText);
    EXPECT_EQ(bind->Param(), longText);
    bind->SetParam(bind->Param());
    EXPECT_EQ(bind->Param(), longText) << "a text given as a view of itself";
    bind->SetParam("7");
    EXPECT_TRUE(bind->Dirty());
    EXPECT_EQ(bind->GetCodes().ValidCount(), 10);
    bind->SetParam("");
    EXPECT_EQ(bind->Param(), "");
    bind->SetParam("2,4");

    const std::unique_ptr<TBaseBind> copy = CreateBind(1, options);
    bind->AssignTo(*copy);
    EXPECT_EQ(copy->Param(), "2,4");
    bind->SetParam("5");
    EXPECT_EQ(copy->Param(), "2,4") << "the copy has its own text";

    const std::unique_ptr<TBaseBind> loaded = CreateBind(TBindRecord{1, "9"}, options);
    copy->AssignTo(*loaded);
    EXPECT_EQ(loaded->Param(), "2,4");
    copy->SetParam(copy->Param());
    EXPECT_EQ(copy->Param(), "2,4") << "a text given as a view of itself";
    EXPECT_EQ(loaded->GetCodes().ValidCount(), 20);
}

}  // namespace
}  // namespace tovarin
