#include "core/history/DrawsUndo.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/draws/LawNet.h"

namespace tovarin {
namespace {

using TKind = TNetEdit::TKind;

// The table's edits within a step, oldest first. Each edit holds what the
// table lacks on the side it is not on: going back, a changed row gets its
// old draw and keeps the new one for going forward, and so on.
class TDrawChange : public TPartChange {
public:
    TDrawChange(const TUndoPart& part, TCodeNet& net) : TPartChange(part), net_(net) {}

    void Add(const TNetEdit& edit) {
        TEdit added{edit.Kind, edit.Row, edit.Before, {}, edit.OldGame};
        if (edit.Kind == TKind::Whole) {
            added.Rows = *edit.Old;
        }
        Add(std::move(added));
    }

    void Undo() override {
        for (size_t i = edits_.size(); i-- > 0;) {
            Apply(edits_[i], true);
        }
    }

    void Redo() override {
        for (TEdit& edit : edits_) {
            Apply(edit, false);
        }
    }

    size_t Bytes() const override {
        size_t bytes = sizeof(*this) + edits_.capacity() * sizeof(TEdit);
        for (const TEdit& edit : edits_) {
            bytes += edit.Rows.capacity() * sizeof(TSeq);
        }
        return bytes;
    }

    bool Absorb(TPartChange& later) override {
        for (TEdit& edit : static_cast<TDrawChange&>(later).edits_) {
            Add(std::move(edit));
        }
        return true;
    }

private:
    struct TEdit {
        TKind Kind;
        int Row;
        TSeq Draw;               // Set, Inserted, Removed
        std::vector<TSeq> Rows;  // Whole
        TGame Game;              // Whole, Game
    };

    void Add(TEdit edit) {
        // A row already changed or added in this run goes back as it is:
        // the later digits of a draw need nothing more.
        if (edit.Kind == TKind::Set && !edits_.empty() && edits_.back().Row == edit.Row &&
            (edits_.back().Kind == TKind::Set || edits_.back().Kind == TKind::Inserted)) {
            return;
        }
        edits_.push_back(std::move(edit));
    }

    void Apply(TEdit& edit, bool back) {
        switch (edit.Kind) {
            case TKind::Set: {
                const TSeq now = net_.GetSeq(edit.Row);
                net_.SetSeq(edit.Row, edit.Draw);
                edit.Draw = now;
                break;
            }
            case TKind::Inserted:
            case TKind::Removed:
                // Back from an insertion, or forward through a removal.
                if ((edit.Kind == TKind::Inserted) == back) {
                    edit.Draw = net_.GetSeq(edit.Row);
                    net_.Delete(edit.Row);
                } else {
                    net_.InsertSeq(edit.Row, edit.Draw);
                }
                break;
            case TKind::Whole:
                net_.SwapRows(edit.Rows, edit.Game);
                break;
            case TKind::Game: {
                const TGame now = net_.Game();
                net_.SetGame(edit.Game);
                edit.Game = now;
                break;
            }
            case TKind::Marks:
                break;
        }
    }

    TCodeNet& net_;
    std::vector<TEdit> edits_;
};

bool SameRows(const std::vector<TSeq>& a, const std::vector<TSeq>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TSeq& x, const TSeq& y) { return x.SameDraw(y); });
}

}  // namespace

TDrawsUndo::TDrawsUndo(TUndoRecorder& recorder, TCodeNet& net)
    : TUndoPart(recorder),
      net_(net),
      token_(net.SubscribeEdits([this](const TNetEdit& edit) { Heard(edit); })) {}

TDrawsUndo::~TDrawsUndo() { net_.Unsubscribe(token_); }

void TDrawsUndo::Heard(const TNetEdit& edit) {
    if (Recorder().Applying() || edit.Kind == TKind::Marks) {
        return;
    }
    // The same digit typed again, or the same table read again, changes
    // nothing the document holds.
    if ((edit.Kind == TKind::Set && net_.GetSeq(edit.Row).SameDraw(edit.Before)) ||
        (edit.Kind == TKind::Whole && edit.OldGame == net_.Game() &&
         SameRows(*edit.Old, net_.Rows()))) {
        return;
    }
    auto* change = static_cast<TDrawChange*>(Recorder().Find(*this));
    if (change == nullptr) {
        auto made = std::make_unique<TDrawChange>(*this, net_);
        change = made.get();
        Recorder().Add(std::move(made));
    }
    change->Add(edit);
}

}  // namespace tovarin
