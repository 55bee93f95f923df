#include "core/engine/Prj.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/base/ByteStream.h"
#include "core/base/DateTime.h"
#include "core/base/FileIO.h"
#include "core/base/Random.h"
#include "core/base/Version.h"
#include "core/draws/LawNet.h"
#include "core/engine/DocExtension.h"
#include "core/engine/ReportPane.h"
#include "core/settings/AppOptions.h"

namespace tovarin {

const std::array<const char*, 3> VerifyStateTexts = {"  ", "失误", "准确"};

namespace {

// Both run modes put the process-wide date format in force before anything
// else, so that even a run that fails leaves it set.
constexpr const char* kRunDateFormat = "yyyy.MM.dd";

void Publish(const std::vector<std::string>& lines, TReportPane* output) {
    if (output != nullptr) {
        output->ReplaceLines(lines);
    }
}

// A project's sets are made when first used, as a new project's would have
// been: a document of a thousand projects then costs little until it is run.
TCodes& MadeOnFirstUse(std::unique_ptr<TCodes>& set) {
    if (!set) {
        set = std::make_unique<TCodes>(TPrjOptions{});
    }
    return *set;
}

// A checked condition's step: a failure costs a tolerance condition one
// error and an assured one the code.
void ApplyStep(TCodes& result, TBaseBind& bind) { result.ApplyBy(bind.GetCodes(), !bind.Assured); }

}  // namespace

// The sizes are fixed; the stored size fields are not read.
const std::array<TRecommendGroup, 4> RecommendGroups = {{
    {&TPrjOptions::Large, "大范围定位推荐40组(共", 40},
    {&TPrjOptions::Middle, "中范围定位推荐30组(共", 30},
    {&TPrjOptions::Small, "小范围定位推荐20组(共", 20},
    {&TPrjOptions::Tiny, "细范围定位推荐10组(共", 10},
}};

void ListCodes(std::vector<std::string>& lines, const TCodes& codes, const TAppOptions& settings) {
    const int total = codes.ValidCount();
    if (total == 0) {
        return;
    }
    std::string line;
    int listed = 0;
    int onLine = 0;
    for (TCode code = 0; code < codes.Count() && listed < total; ++code) {
        if (!codes.GetValid(code)) {
            continue;
        }
        line += CodeToStr(code);
        line += ' ';
        ++listed;
        ++onLine;
        if (onLine == settings.ColsOfLineEd || listed == total) {
            lines.push_back(std::move(line));
            line.clear();
            onLine = 0;
        }
    }
    lines.emplace_back();
}

TSeqPrj::TSeqPrj(TCodeNet& codeNet) : codeNet_(&codeNet) {
    options_.CodeNet = &codeNet;
    options_.TargetSeq = codeNet.Count() + codeNet.FirstPeriod();
}

TCodes& TSeqPrj::Base() const { return MadeOnFirstUse(baseCodes_); }

TCodes& TSeqPrj::Result() const { return MadeOnFirstUse(resultCodes_); }

TBaseBind& TSeqPrj::AddBind(std::unique_ptr<TBaseBind> bind) {
    binds_.push_back(std::move(bind));
    Edited(TPrjChange::Conditions);
    return *binds_.back();
}

void TSeqPrj::ClearBinds() {
    while (!binds_.empty()) {
        binds_.pop_back();
    }
    Edited(TPrjChange::Conditions);
}

void TSeqPrj::Del(int index) {
    if (index < 0 || index >= BindCount()) {
        throw Exception("TSeqPrj.Del Error!");
    }
    binds_.erase(binds_.begin() + index);
    Edited(TPrjChange::Conditions);
}

void TSeqPrj::ExChange(int i, int j) {
    if (i < 0 || i >= BindCount() || j < 0 || j >= BindCount()) {
        throw Exception("TSeqPrj.ExChange Error!");
    }
    std::swap(binds_[static_cast<size_t>(i)], binds_[static_cast<size_t>(j)]);
    Edited(TPrjChange::Conditions);
}

TBaseBind& TSeqPrj::GetBind(int index) const {
    if (index < 0 || index >= BindCount()) {
        throw Exception("TSeqPrj.GetBind Error!");
    }
    return *binds_[static_cast<size_t>(index)];
}

void TSeqPrj::SetBind(int index, std::unique_ptr<TBaseBind> bind) {
    if (index < 0 || index >= BindCount() || !bind) {
        throw Exception("TSeqPrj.SetBind Error!");
    }
    binds_[static_cast<size_t>(index)] = std::move(bind);
    Edited(TPrjChange::Conditions);
}

void TSeqPrj::AssignBind(int index, const TBaseBind& edited) {
    const bool checked = GetBind(index).Checked;
    std::unique_ptr<TBaseBind> bind = CreateBind(edited.Kind(), options_);
    if (!bind) {
        throw Exception("TSeqPrj.AssignBind Error!");
    }
    bind->Assign(edited);
    bind->Checked = checked;
    binds_[static_cast<size_t>(index)] = std::move(bind);
    Edited(TPrjChange::Conditions);
}

void TSeqPrj::SetChecked(int index, bool checked) {
    GetBind(index).Checked = checked;
    Edited(TPrjChange::Conditions);
}

void TSeqPrj::CheckAll() {
    for (const auto& bind : binds_) {
        bind->Checked = true;
    }
    Edited(TPrjChange::Conditions);
}

void TSeqPrj::InvertChecks() {
    for (const auto& bind : binds_) {
        bind->Checked = !bind->Checked;
    }
    Edited(TPrjChange::Conditions);
}

int TSeqPrj::CheckedCount() const {
    return static_cast<int>(std::count_if(binds_.begin(), binds_.end(),
                                          [](const auto& bind) { return bind->Checked; }));
}

void TSeqPrj::SetOptions(const TPrjOptions& options) {
    if (options.HeadLimit != options_.HeadLimit) {
        resultCodes_ = std::make_unique<TCodes>(options);
    }
    // The record keeps pointing at this project's own draw table.
    TCodeNet* const codeNet = options_.CodeNet;
    options_ = options;
    options_.CodeNet = codeNet;
    Edited(TPrjChange::Settings);
}

void TSeqPrj::Edited(TPrjChange change) {
    shownGroups_.reset();
    listeners_.Notify(change);
}

std::string TSeqPrj::TargetDigits() const {
    const TCodeNet& net = *codeNet_;
    if (net.Count() == 0 || options_.TargetSeq >= net.Count() + net.FirstPeriod()) {
        return {};
    }
    // A stored target can be any 32-bit value: subtract in 64 bits, and let a
    // target below the first period reach the table as a row it refuses.
    const int64_t offset = int64_t{options_.TargetSeq} - net.FirstPeriod();
    const int row = static_cast<int>(std::max<int64_t>(offset, -1));
    std::string digits;
    for (int pos = 0; pos < 4; ++pos) {
        digits += std::to_string(net.GetNum(row, pos));
    }
    return digits;
}

uint8_t TSeqPrj::Verdict() const {
    const std::string digits = TargetDigits();
    if (digits.empty()) {
        return kNoVerdict;
    }
    const TCode code = (digits[0] - '0') * 10 + (digits[3] - '0');
    return Result().GetValid(code) ? kHit : kMiss;
}

void TSeqPrj::Verify() {
    // A target the table cannot answer leaves no verdict behind.
    verifyState_ = kNoVerdict;
    verifyState_ = Verdict();
    listeners_.Notify(TPrjChange::Verdict);
}

// The verdict is reached before the report is handed over: a draw table that
// cannot answer fails the run with the pane as it was and the previous
// verdict in place.
void TSeqPrj::Finish(const std::vector<std::string>& lines, TReportPane* output) {
    const uint8_t verdict = Verdict();
    Publish(lines, output);
    verifyState_ = verdict;
    listeners_.Notify(TPrjChange::Verdict);
}

void TSeqPrj::CalcAll(const TAppOptions& settings, TReportPane* output) {
    SetShortDateFormat(kRunDateFormat);
    Base().SetMissCount(options_.MissMax);
    Result().SetMissCount(options_.MissMax);

    std::vector<std::string> lines;
    lines.push_back(std::string(kProductName) + " 筛选计算，时间:" + DateTimeText(Now()));
    if (settings.OutPutAppOptChk) {
        lines.push_back(DescribeAppOptions(settings));
        lines.emplace_back();
    }
    BeginRun(settings, lines);

    int step = 0;
    for (const auto& bind : binds_) {
        if (!bind->Checked) {
            continue;
        }
        ++step;
        lines.push_back(settings.SplitByLineChk ? kSeparatorLine : std::string());
        lines.push_back("第" + std::to_string(step) + "步:" + bind->GetText());
        ApplyStep(Result(), *bind);
        lines.push_back("筛选结果为总共" + std::to_string(Result().ValidCount()) + "个号码");
        if (settings.DetailEveryChk) {
            ListCodes(lines, Result(), settings);
        }
    }

    EndRun(settings, lines);
    std::vector<TShownGroup> shown = Recommend(settings, lines);
    Finish(lines, output);
    shownGroups_ = std::move(shown);
}

void TSeqPrj::Evaluate(TCodes& errors) {
    errors.Assign(Base());
    errors.SetMissCount(options_.MissMax);
    for (const auto& bind : binds_) {
        if (bind->Checked) {
            ApplyStep(errors, *bind);
        }
    }
}

void TSeqPrj::BeginRun(const TAppOptions& settings, std::vector<std::string>& lines) {
    if (settings.OutPutPrjOptChk) {
        lines.push_back(DescribePrjOptions(options_));
        lines.emplace_back();
    }
    Result().Assign(Base());
    lines.push_back("筛选对象的号码数据总共" + std::to_string(Result().ValidCount()) + "个号码");
    lines.emplace_back();
}

void TSeqPrj::EndRun(const TAppOptions& settings, std::vector<std::string>& lines) const {
    lines.emplace_back();
    lines.push_back("第" + std::to_string(options_.TargetSeq) + "期最终的筛选结果为总共" +
                    std::to_string(Result().ValidCount()) + "个号码");
    if (settings.DetailLastChk) {
        ListCodes(lines, Result(), settings);
    }
}

std::vector<TShownGroup> TSeqPrj::Recommend(const TAppOptions& settings,
                                            std::vector<std::string>& lines) const {
    const int levels = CheckedCount();
    // Level s holds exactly the codes whose error is s. An empty level adds
    // nothing to a group, so only the others are built and visited.
    std::vector<std::unique_ptr<TCodes>> level(static_cast<size_t>(levels) + 1);
    for (TCode code = 0; code < Result().Count(); ++code) {
        const int error = Result().GetMiss(code);
        if (error < 0 || error > levels) {
            continue;
        }
        auto& set = level[static_cast<size_t>(error)];
        if (!set) {
            set = std::make_unique<TCodes>(options_);
            set->FailAll();
        }
        set->ResetCode(code);
    }

    std::vector<TShownGroup> shown;
    TCodes picked(options_);
    picked.FailAll();
    for (const TRecommendGroup& group : RecommendGroups) {
        if (options_.*group.Flag) {
            for (int s = std::max(options_.RcMissBase, 0);
                 s <= levels && picked.ValidCount() < group.Size; ++s) {
                if (level[static_cast<size_t>(s)]) {
                    PickCodes(picked, *level[static_cast<size_t>(s)], group.Size,
                              options_.FloatCount);
                }
            }
            lines.push_back(group.Title + std::to_string(picked.ValidCount()) + "组)：");
            ListCodes(lines, picked, settings);
            TShownGroup& show = shown.emplace_back(TShownGroup{group.Size, {}});
            for (TCode code = 0; code < picked.Count(); ++code) {
                if (picked.GetValid(code)) {
                    show.Codes.push_back(code);
                }
            }
        }
        picked.FailAll();
    }
    return shown;
}

int TSeqPrj::PickCount(int have, int offered, int size, int floatCount) {
    // A stored float count can be any 32-bit value, so the bound is 64-bit.
    if (have >= int64_t{size} - floatCount) {
        return 0;
    }
    return have + offered <= size ? offered : size - have;
}

void TSeqPrj::PickCodes(TCodes& picked, const TCodes& level, int size, int floatCount) {
    const int have = picked.ValidCount();
    const int offered = level.ValidCount();
    const int taken = PickCount(have, offered, size, floatCount);
    if (taken == offered) {
        for (TCode code = 0; code < level.Count(); ++code) {
            if (level.GetValid(code)) {
                picked.ResetCode(code);
            }
        }
        return;
    }
    // The level holds more codes outside the group than are still needed
    // (levels are disjoint), so the drawing ends.
    for (int need = taken; need > 0;) {
        const TCode code = Random(TCodes::kCount);
        if (level.GetValid(code) && !picked.GetValid(code)) {
            picked.ResetCode(code);
            --need;
        }
    }
}

void TSeqPrj::CalcOne(int index, const TAppOptions& settings, TReportPane* output) {
    SetShortDateFormat(kRunDateFormat);
    TBaseBind& bind = GetBind(index);
    std::vector<std::string> lines;
    lines.push_back("单独铁定条件 筛选计算，时间:" + DateTimeText(Now()));
    lines.push_back(DescribeAppOptions(settings));
    lines.emplace_back();
    BeginRun(settings, lines);
    lines.emplace_back();
    lines.push_back(kSeparatorLine);
    lines.push_back("筛选条件:" + bind.GetText());
    Result().FailBy(bind.GetCodes());
    if (settings.DetailEveryChk) {
        ListCodes(lines, Result(), settings);
    }
    EndRun(settings, lines);
    Finish(lines, output);
    shownGroups_.reset();
}

void TSeqPrj::SaveToStream(ByteWriter& out) const {
    options_.SaveToStream(out);
    out.WriteI32(BindCount());
    for (const auto& bind : binds_) {
        out.WriteI32(bind->Kind());
        bind->SaveToStream(out);
    }
}

namespace {

// A condition entry is at least its kind code and a record with an empty
// text: 4 + 12 bytes.
constexpr size_t kMinBindEntry = 16;
// A project record is at least its options and its condition count.
constexpr size_t kMinPrjRecord = TPrjOptions::StoredSize + 4;

int32_t ReadCount(ByteReader& in, size_t minItemSize, const char* what) {
    const size_t at = in.Offset();
    const int32_t count = in.ReadI32();
    if (count < 0 || static_cast<uint64_t>(count) * minItemSize > in.Remaining()) {
        throw EReadError(std::string("Bad ") + what + " count " + std::to_string(count) +
                         " at byte " + std::to_string(at));
    }
    return count;
}

}  // namespace

void TSeqPrj::LoadFromStream(ByteReader& in) {
    TPrjOptions options = options_;
    options.LoadFromStream(in);
    options.CodeNet = codeNet_;
    const int32_t count = ReadCount(in, kMinBindEntry, "condition");

    // The conditions are built on the record they will live with, so that
    // nothing needs re-pointing when they are taken over.
    std::vector<std::unique_ptr<TBaseBind>> binds;
    binds.reserve(static_cast<size_t>(count));
    const TPrjOptions& home = options_;
    for (int32_t i = 0; i < count; ++i) {
        const size_t at = in.Offset();
        const int32_t kind = in.ReadI32();
        if (kind < 1 || kind > kBindKindCount) {
            throw EReadError("Bad condition kind " + std::to_string(kind) + " at byte " +
                             std::to_string(at));
        }
        TBindRecord record = ReadBindRecord(in);
        // The writer puts the same code in both places; a record that
        // disagrees would change its class on the next save and load.
        if (record.Kind != kind) {
            throw EReadError("Condition kind " + std::to_string(record.Kind) + " at byte " +
                             std::to_string(at + 4) + " differs from its entry's kind " +
                             std::to_string(kind));
        }
        binds.push_back(CreateBind(std::move(record), home));
    }

    const bool headLimitChanged = options.HeadLimit != options_.HeadLimit;
    options_ = options;
    if (headLimitChanged) {
        resultCodes_ = std::make_unique<TCodes>(options_);
    }
    binds_ = std::move(binds);
    Edited(TPrjChange::Conditions);
}

void TPrjMgr::Watch(TSeqPrj& project) {
    project.Subscribe([this, &project](TPrjChange change) { Changed(change, &project); });
}

void TPrjMgr::Changed(TPrjChange change, const TSeqPrj* project) {
    if (change != TPrjChange::Verdict) {
        modified_ = true;
    }
    listeners_.Notify(change, project);
}

TSeqPrj& TPrjMgr::AddPrj(std::unique_ptr<TSeqPrj> project) {
    if (!project) {
        throw Exception("TPrjMgr.AddPrj Error!");
    }
    projects_.push_back(std::move(project));
    TSeqPrj& added = *projects_.back();
    Watch(added);
    Changed(TPrjChange::Added, &added);
    return added;
}

void TPrjMgr::ClearPrjs() {
    while (!projects_.empty()) {
        projects_.pop_back();
    }
    Changed(TPrjChange::Reset, nullptr);
}

void TPrjMgr::Del(int index) {
    if (index < 0 || index >= PrjCount()) {
        throw Exception("TPrjMgr.Del Error!");
    }
    const TSeqPrj* removed = projects_[static_cast<size_t>(index)].get();
    projects_.erase(projects_.begin() + index);
    Changed(TPrjChange::Removed, removed);
}

TSeqPrj& TPrjMgr::GetSeqPrj(int index) const {
    if (index < 0 || index >= PrjCount()) {
        throw Exception("TPrjMgr.GetSeqPrj Error!");
    }
    return *projects_[static_cast<size_t>(index)];
}

int TPrjMgr::IndexOfPrj(const TSeqPrj* project) const {
    for (size_t i = 0; i < projects_.size(); ++i) {
        if (projects_[i].get() == project) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TPrjMgr::Move(int from, int to) {
    if (from < 0 || from >= PrjCount() || to < 0 || to >= PrjCount()) {
        throw Exception("TPrjMgr.Move Error!");
    }
    auto project = std::move(projects_[static_cast<size_t>(from)]);
    projects_.erase(projects_.begin() + from);
    projects_.insert(projects_.begin() + to, std::move(project));
    Changed(TPrjChange::Reset, nullptr);
}

void TPrjMgr::WriteBlock(ByteWriter& out) const {
    out.WriteI32(PrjCount());
    for (const auto& project : projects_) {
        project->SaveToStream(out);
    }
}

void TPrjMgr::SaveToStream(ByteWriter& out) {
    WriteBlock(out);
    modified_ = false;
}

std::vector<std::unique_ptr<TSeqPrj>> TPrjMgr::ReadBlock(ByteReader& in) const {
    const int32_t count = ReadCount(in, kMinPrjRecord, "project");
    std::vector<std::unique_ptr<TSeqPrj>> projects;
    projects.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        auto project = std::make_unique<TSeqPrj>(*codeNet_);
        project->LoadFromStream(in);
        projects.push_back(std::move(project));
    }
    return projects;
}

void TPrjMgr::ReplacePrjs(std::vector<std::unique_ptr<TSeqPrj>> projects) {
    projects_ = std::move(projects);
    for (const auto& project : projects_) {
        Watch(*project);
    }
    modified_ = false;
    listeners_.Notify(TPrjChange::Reset, nullptr);
}

void TPrjMgr::LoadFromStream(ByteReader& in) { ReplacePrjs(ReadBlock(in)); }

void TPrjMgr::SetSection(int32_t kind, std::string bytes) {
    sections_.Set(kind, std::move(bytes));
    Changed(TPrjChange::Sections, nullptr);
}

void TPrjMgr::RemoveSection(int32_t kind) {
    if (sections_.Remove(kind)) {
        Changed(TPrjChange::Sections, nullptr);
    }
}

std::string BuildDocumentImage(const TCodeNet& codeNet, const TPrjMgr& projects) {
    ByteWriter out;
    codeNet.WriteBlock(out);
    projects.WriteBlock(out);
    WriteExtension(codeNet, projects, out);
    return out.TakeBytes();
}

namespace {

// Both blocks and the extension are read into new objects before any is
// taken over.
void TakeOver(std::vector<TSeq> rows, std::vector<std::unique_ptr<TSeqPrj>> read,
              TExtensionRead extension, TCodeNet& codeNet, TPrjMgr& projects) {
    // The models go first: a listener of the table that reads a model
    // then finds the model that goes with the new table.
    for (const TSectionModel::TTakeOver& takeOver : extension.TakeOvers) {
        takeOver();
    }
    codeNet.Replace(std::move(rows), extension.Game);
    codeNet.ClearModified();
    projects.ReplaceSections(std::move(extension.Others));
    projects.ReplacePrjs(std::move(read));
}

}  // namespace

void LoadDocumentImage(std::string_view image, TCodeNet& codeNet, TPrjMgr& projects) {
    if (image.empty()) {
        return;
    }
    ByteReader in(image);
    // The block is read as the game with the widest numbers; the game,
    // stored after it, says which numbers the draws may really have.
    TCodeNet draws;
    draws.SetGame(TGame::Qxc);
    draws.LoadFromStream(in);
    std::vector<std::unique_ptr<TSeqPrj>> read = projects.ReadBlock(in);
    std::vector<TSeq> rows = draws.TakeRows();
    TExtensionRead extension = ReadExtension(in, rows, projects.Models());
    TCodeNet::CheckBlockGame(rows, extension.Game, 0);
    TakeOver(std::move(rows), std::move(read), std::move(extension), codeNet, projects);
}

// The draw block, most of a large document, is decoded as it is read; a
// file that does not hold the block it announces (or is empty) is read
// whole, so that the image's reader says what is wrong as always.
void LoadDocument(const std::string& path, TCodeNet& codeNet, TPrjMgr& projects) {
    TFileReader file(path, true);
    std::optional<std::vector<TSeq>> rows = TCodeNet::ReadBlockFromFile(file);
    if (!rows) {
        LoadDocumentImage(ReadWholeFile(path), codeNet, projects);
        return;
    }
    // A window at a time: a document of millions of conditions never holds
    // their bytes beside the conditions made of them.
    FileByteReader in(file);
    std::vector<std::unique_ptr<TSeqPrj>> read = projects.ReadBlock(in);
    TExtensionRead extension = ReadExtension(in, *rows, projects.Models());
    TCodeNet::CheckBlockGame(*rows, extension.Game, 0);
    TakeOver(std::move(*rows), std::move(read), std::move(extension), codeNet, projects);
}

void SaveDocument(const std::string& path, TCodeNet& codeNet, TPrjMgr& projects) {
    WriteFileAtomically(path, BuildDocumentImage(codeNet, projects));
    codeNet.ClearModified();
    projects.ClearModified();
}

}  // namespace tovarin
