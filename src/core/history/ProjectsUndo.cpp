#include "core/history/ProjectsUndo.h"

#include <utility>

#include "core/base/ByteStream.h"
#include "core/engine/Prj.h"

namespace tovarin {
namespace {

// One project's record (Index >= 0) or every project's (Index < 0), as it
// was on the side of the step the projects are not on.
class TProjectsChange : public TPartChange {
public:
    TProjectsChange(TProjectsUndo& part, int index, std::string record)
        : TPartChange(part), part_(part), index_(index), record_(std::move(record)) {}
    TProjectsChange(TProjectsUndo& part, std::vector<std::string> records)
        : TPartChange(part), part_(part), records_(std::move(records)) {}

    int Index() const { return index_; }
    const std::string& Record() const { return record_; }
    const std::vector<std::string>& Records() const { return records_; }
    // The whole list, as it was at the last boundary.
    void Widen(std::vector<std::string> records) {
        index_ = -1;
        record_.clear();
        records_ = std::move(records);
    }
    void SetEmpty(bool empty) { empty_ = empty; }

    void Undo() override { Exchange(); }
    void Redo() override { Exchange(); }
    bool Empty() const override { return empty_; }

    size_t Bytes() const override {
        size_t bytes =
            sizeof(*this) + record_.capacity() + records_.capacity() * sizeof(std::string);
        for (const std::string& record : records_) {
            bytes += record.capacity();
        }
        return bytes;
    }

private:
    void Exchange() {
        if (index_ >= 0) {
            part_.Exchange(index_, record_);
        } else {
            part_.Exchange(records_);
        }
    }

    TProjectsUndo& part_;
    int index_ = -1;
    std::string record_;
    std::vector<std::string> records_;
    bool empty_ = false;
};

}  // namespace

TProjectsUndo::TProjectsUndo(TUndoRecorder& recorder, TPrjMgr& projects)
    : TUndoPart(recorder),
      projects_(projects),
      records_(AllRecords()),
      token_(projects.Subscribe(
          [this](TPrjChange change, const TSeqPrj* project) { Heard(change, project); })) {}

TProjectsUndo::~TProjectsUndo() { projects_.Unsubscribe(token_); }

std::string TProjectsUndo::RecordOf(int index) const {
    ByteWriter out;
    projects_.GetSeqPrj(index).SaveToStream(out);
    return out.Bytes();
}

std::vector<std::string> TProjectsUndo::AllRecords() const {
    std::vector<std::string> records;
    records.reserve(static_cast<size_t>(projects_.PrjCount()));
    for (int index = 0; index < projects_.PrjCount(); ++index) {
        records.push_back(RecordOf(index));
    }
    return records;
}

void TProjectsUndo::Heard(TPrjChange change, const TSeqPrj* project) {
    // The records are the projects' alone: the ledger's section is a part
    // of its own, and no command changes the other sections.
    if (Recorder().Applying() || change == TPrjChange::Verdict || change == TPrjChange::Sections) {
        return;
    }
    // Until the step ends the records are those of the last boundary; a
    // project's index is the same there as long as the list itself has not
    // changed, and then the change is the whole list's already.
    int index = -1;
    if (change == TPrjChange::Settings || change == TPrjChange::Conditions) {
        index = projects_.IndexOfPrj(project);
    }
    if (index >= static_cast<int>(records_.size())) {
        index = -1;
    }
    auto* open = static_cast<TProjectsChange*>(Recorder().Find(*this));
    if (open == nullptr) {
        Recorder().Add(index >= 0 ? std::make_unique<TProjectsChange>(
                                        *this, index, records_[static_cast<size_t>(index)])
                                  : std::make_unique<TProjectsChange>(*this, records_));
    } else if (open->Index() >= 0 && open->Index() != index) {
        open->Widen(records_);
    }
}

void TProjectsUndo::Settle() {
    auto* open = static_cast<TProjectsChange*>(Recorder().Find(*this));
    if (open == nullptr) {
        return;
    }
    if (open->Index() >= 0) {
        std::string now = RecordOf(open->Index());
        open->SetEmpty(now == open->Record());
        records_[static_cast<size_t>(open->Index())] = std::move(now);
    } else {
        std::vector<std::string> now = AllRecords();
        open->SetEmpty(now == open->Records());
        records_ = std::move(now);
    }
}

// The records are read before they are taken, so that a project list that
// failed to take them still matches the records held.
void TProjectsUndo::Exchange(int index, std::string& record) {
    ByteReader in(record);
    projects_.GetSeqPrj(index).LoadFromStream(in);
    std::swap(records_[static_cast<size_t>(index)], record);
}

void TProjectsUndo::Exchange(std::vector<std::string>& records) {
    ByteWriter block;
    block.WriteI32(static_cast<int32_t>(records.size()));
    for (const std::string& record : records) {
        block.WriteBytes(record);
    }
    ByteReader in(block.Bytes());
    projects_.ReplacePrjs(projects_.ReadBlock(in));
    records_.swap(records);
}

}  // namespace tovarin
