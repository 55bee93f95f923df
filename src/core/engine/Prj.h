#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/base/Listeners.h"
#include "core/base/Persistent.h"
#include "core/engine/Bind.h"
#include "core/engine/Code.h"
#include "core/engine/DocSections.h"
#include "core/engine/PrjOptions.h"

namespace tovarin {

class ByteReader;
class ByteWriter;
class TCodeNet;
class TReportPane;
struct TAppOptions;

// What a project or the project list tells its listeners.
enum class TPrjChange {
    Added,       // a project joined the list
    Removed,     // a project left the list and is freed
    Reset,       // the whole list changed: cleared, replaced or reordered
    Settings,    // a project's settings record changed
    Conditions,  // a project's conditions or their check marks changed
    Verdict,     // a run gave a project a new result; the document is the same
    Sections,    // the document's other sections changed (no project concerned)
};

// A recommendation group as a run showed it.
struct TShownGroup {
    int Size = 0;              // what the group was to hold: 40, 30, 20 or 10
    std::vector<TCode> Codes;  // ascending; fewer than Size when the levels ran short
};

// A project: an ordered list of conditions, its settings, the set every run
// starts from, the result of the last run and its verdict on the target draw.
class TSeqPrj : public TPersistent {
public:
    // VerifyState values.
    static constexpr uint8_t kNoVerdict = 0;
    static constexpr uint8_t kMiss = 1;
    static constexpr uint8_t kHit = 2;

    using Listener = std::function<void(TPrjChange)>;

    explicit TSeqPrj(TCodeNet& codeNet);

    TBaseBind& AddBind(std::unique_ptr<TBaseBind> bind);
    void ClearBinds();
    void Del(int index);
    void ExChange(int i, int j);
    TBaseBind& GetBind(int index) const;
    // Puts a new condition in place of the one at index (which is freed).
    void SetBind(int index, std::unique_ptr<TBaseBind> bind);
    // Gives the condition at index the kind, text and flags of an edited
    // copy; its check mark stays.
    void AssignBind(int index, const TBaseBind& edited);
    void SetChecked(int index, bool checked);
    void CheckAll();
    void InvertChecks();
    int BindCount() const { return static_cast<int>(binds_.size()); }
    int CheckedCount() const;

    const TPrjOptions& Options() const { return options_; }
    void SetOptions(const TPrjOptions& options);

    const TCodes& BaseCodes() const { return Base(); }
    const TCodes& ResultCodes() const { return Result(); }
    uint8_t VerifyState() const { return verifyState_; }
    TCodeNet& CodeNet() const { return *codeNet_; }

    // The first four digits of the target draw, or empty text when the
    // table does not hold it yet.
    std::string TargetDigits() const;
    void Verify();

    // The filtering run over the checked conditions; the report goes to the
    // pane when one is given. A run that fails hands the pane nothing and
    // keeps the previous verdict.
    void CalcAll(const TAppOptions& settings, TReportPane* output);
    // The recommendation groups of the last CalcAll, in the order shown
    // (40 first), exactly as its report listed them; none when the last run
    // was CalcOne, or the conditions or settings changed after it.
    const std::optional<std::vector<TShownGroup>>& ShownGroups() const { return shownGroups_; }
    // One condition alone, as an assured condition, checked or not.
    void CalcOne(int index, const TAppOptions& settings, TReportPane* output);
    // The error of every code after the checked conditions, exactly as
    // CalcAll computes it, into errors (a set made for this project); no
    // report, and the last run's result and verdict stay as they were. A
    // condition that cannot be evaluated or a tolerance outside 0..10
    // raises the run's own error.
    void Evaluate(TCodes& errors);

    // One project record: the 56 option bytes, the condition count and the
    // conditions. Loading reads into new objects first, so a bad record
    // leaves the project as it was.
    void SaveToStream(ByteWriter& out) const;
    void LoadFromStream(ByteReader& in);

    // One level's contribution to a recommendation group.
    static void PickCodes(TCodes& picked, const TCodes& level, int size, int floatCount);
    // How many codes of a level of offered codes a group holding have codes
    // takes: none once it holds size - floatCount, the whole level when it
    // fits, else exactly the codes still needed (drawn at random).
    static int PickCount(int have, int offered, int size, int floatCount);

    // Listeners hear of every change after it is made; the token removes
    // the listener again.
    int Subscribe(Listener listener) { return listeners_.Add(std::move(listener)); }
    void Unsubscribe(int token) { listeners_.Remove(token); }

private:
    TCodes& Base() const;
    TCodes& Result() const;
    // What Verify would set, without setting it.
    uint8_t Verdict() const;
    // Hands the report over and sets the verdict, or neither.
    void Finish(const std::vector<std::string>& lines, TReportPane* output);
    // The project description when asked for, then every code of the base set.
    void BeginRun(const TAppOptions& settings, std::vector<std::string>& lines);
    // The final count and, when asked for, the final listing.
    void EndRun(const TAppOptions& settings, std::vector<std::string>& lines) const;
    std::vector<TShownGroup> Recommend(const TAppOptions& settings,
                                       std::vector<std::string>& lines) const;
    // A change of the conditions or settings: the last run no longer is
    // this project's.
    void Edited(TPrjChange change);

    mutable std::unique_ptr<TCodes> baseCodes_;
    mutable std::unique_ptr<TCodes> resultCodes_;
    uint8_t verifyState_ = kNoVerdict;
    std::optional<std::vector<TShownGroup>> shownGroups_;
    TPrjOptions options_;
    std::vector<std::unique_ptr<TBaseBind>> binds_;
    TCodeNet* codeNet_;
    TListeners<TPrjChange> listeners_;
};

// A recommendation group: its switch in the project settings, its report
// title and its fixed size.
struct TRecommendGroup {
    bool TPrjOptions::*Flag;
    const char* Title;
    int Size;
};

// The groups in the order the run builds them: 40, 30, 20, 10.
extern const std::array<TRecommendGroup, 4> RecommendGroups;

// The rule line between report sections: 48 "=".
inline const std::string kSeparatorLine(48, '=');

// The text the project list shows for a VerifyState.
extern const std::array<const char*, 3> VerifyStateTexts;

// Appends the valid codes of a set as lines of ColsOfLineEd codes, each
// code followed by a blank, then an empty line; nothing for an empty set.
void ListCodes(std::vector<std::string>& lines, const TCodes& codes, const TAppOptions& settings);

// The project list of the document. Every change of the list or of one of
// its projects marks the list modified (a run's verdict does not) and is
// told to the listeners with the project it concerns: null for Reset, and
// for Removed a project already freed, good only to be told apart.
class TPrjMgr {
public:
    using Listener = std::function<void(TPrjChange, const TSeqPrj*)>;

    explicit TPrjMgr(TCodeNet& codeNet) : codeNet_(&codeNet) {}
    TPrjMgr(const TPrjMgr&) = delete;
    TPrjMgr& operator=(const TPrjMgr&) = delete;

    TSeqPrj& AddPrj(std::unique_ptr<TSeqPrj> project);
    void ClearPrjs();
    void Del(int index);
    int PrjCount() const { return static_cast<int>(projects_.size()); }
    TSeqPrj& GetSeqPrj(int index) const;
    int IndexOfPrj(const TSeqPrj* project) const;
    // Moves the project at index to another place (the list's up and down).
    void Move(int from, int to);

    bool Modified() const { return modified_; }
    void ClearModified() { modified_ = false; }
    // A document put back into a state that is not the one on disk (an
    // undo, a recovered copy) is modified without any change being made.
    void MarkModified() { modified_ = true; }

    void SaveToStream(ByteWriter& out);
    void LoadFromStream(ByteReader& in);

    // The block without side effects, for building a document image.
    void WriteBlock(ByteWriter& out) const;
    // Reads a project-list block into new projects on this list's table.
    std::vector<std::unique_ptr<TSeqPrj>> ReadBlock(ByteReader& in) const;
    // Takes over projects read by ReadBlock; Modified is cleared.
    void ReplacePrjs(std::vector<std::unique_ptr<TSeqPrj>> projects);

    TCodeNet& CodeNet() const { return *codeNet_; }

    // The document's other sections (the prediction ledger, and those a
    // newer program wrote), which the document keeps with its projects.
    // A change is announced as Sections and marks the list modified.
    const TDocSections& Sections() const { return sections_; }
    void SetSection(int32_t kind, std::string bytes);
    void RemoveSection(int32_t kind);
    // Sections read with a document, taken over before ReplacePrjs; nothing
    // is announced, as ReplacePrjs announces the whole list.
    void ReplaceSections(TDocSections sections) { sections_ = std::move(sections); }

    // The models the document keeps in sections of their own; a model is
    // detached before it goes. A change of one (ModelChanged, told by the
    // model) is announced as Sections and marks the list modified, like a
    // change of any other section.
    void AttachModel(TSectionModel& model) { models_.push_back(&model); }
    void DetachModel(const TSectionModel& model) { std::erase(models_, &model); }
    const std::vector<TSectionModel*>& Models() const { return models_; }
    void ModelChanged() { Changed(TPrjChange::Sections, nullptr); }

    int Subscribe(Listener listener) { return listeners_.Add(std::move(listener)); }
    void Unsubscribe(int token) { listeners_.Remove(token); }

private:
    // Hears the project's own changes and passes them on.
    void Watch(TSeqPrj& project);
    void Changed(TPrjChange change, const TSeqPrj* project);

    std::vector<std::unique_ptr<TSeqPrj>> projects_;
    TCodeNet* codeNet_;
    bool modified_ = false;
    TDocSections sections_;
    std::vector<TSectionModel*> models_;
    TListeners<TPrjChange, const TSeqPrj*> listeners_;
};

// The document file: the draw-table block, the project-list block, then
// the extension when the document needs one (DocExtension.h). Loading
// parses the whole image into new objects and changes nothing when it
// fails (EReadError naming what and where); an empty file changes nothing.
// Saving builds the image and replaces the file atomically; the Modified
// flags are cleared only when the file is written.
void LoadDocument(const std::string& path, TCodeNet& codeNet, TPrjMgr& projects);
void SaveDocument(const std::string& path, TCodeNet& codeNet, TPrjMgr& projects);
// The same over an image in memory.
void LoadDocumentImage(std::string_view image, TCodeNet& codeNet, TPrjMgr& projects);
std::string BuildDocumentImage(const TCodeNet& codeNet, const TPrjMgr& projects);

}  // namespace tovarin
