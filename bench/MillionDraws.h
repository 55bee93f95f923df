#pragma once

// The document of the backtest benchmarks: a million draws and one project
// of 20 checked conditions, saved once per process to a temporary file.
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

namespace tovarin {

struct MillionDraws {
    TCodeNet net;
    TPrjMgr projects{net};
    std::string path;

    MillionDraws() {
        std::vector<TSeq> rows(1000000);
        for (size_t i = 0; i < rows.size(); ++i) {
            for (int pos = 0; pos < TSeq::DigitCount; ++pos) {
                rows[i].SetNum(pos, static_cast<int>(
                                        (i * 7919 + static_cast<size_t>(pos) * 31 + i / 10) % 10));
            }
        }
        net.Replace(std::move(rows));
        TSeqPrj& project = projects.AddPrj(std::make_unique<TSeqPrj>(net));
        TPrjOptions options = project.Options();
        options.MissMax = 3;
        options.Small = true;
        options.Tiny = true;
        project.SetOptions(options);
        const char* const params[] = {"1,3,5", "2,4", "0,9", "3,7", "5", "1,2,3,4,5"};
        for (int i = 0; i < 20; ++i) {
            const int kind = i % 8 + 1;
            TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
            bind.SetParam(kind >= 7 ? "8,9,10,11" : params[i % 6]);
            bind.Checked = true;
            bind.Assured = i % 7 == 0;
        }
        path = "/tmp/tovarin-backtest-bench-" + std::to_string(getpid()) + ".lvrn";
        SaveDocument(path, net, projects);
    }
    ~MillionDraws() { unlink(path.c_str()); }
};

inline MillionDraws& Million() {
    static MillionDraws document;
    return document;
}

}  // namespace tovarin
