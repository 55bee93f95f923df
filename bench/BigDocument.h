#pragma once

// The large document the document benchmarks share: a million draws and
// 1,000 projects of 20 conditions with their usual parameters, saved once
// per process to a temporary file.
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

namespace tovarin {

inline const char* const kParams[] = {
    "",  "1,3,5",     "2,4",    "0,9",      "3,7",
    "5", "1,2,3,4,5", "0,9,18", "10,11,12", "12与34相配,5与67相配"};

inline void AddConditions(TSeqPrj& project, int count) {
    for (int i = 0; i < count; ++i) {
        const int kind = i % 9 + 1;
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(kind == 9 ? kParams[9] : kind >= 7 ? kParams[7 + i % 2] : kParams[1 + i % 6]);
        bind.Checked = true;
        bind.Assured = i % 10 == 0;
    }
}

struct BigDocument {
    TCodeNet net;
    TPrjMgr projects{net};
    std::string path;

    BigDocument() {
        std::vector<TSeq> rows(1000000);
        for (size_t i = 0; i < rows.size(); ++i) {
            for (int pos = 0; pos < 7; ++pos) {
                rows[i].SetNum(pos, static_cast<int>((i * 7 + static_cast<size_t>(pos) * 3) % 10));
            }
        }
        net.Replace(std::move(rows));
        for (int p = 0; p < 1000; ++p) {
            AddConditions(projects.AddPrj(std::make_unique<TSeqPrj>(net)), 20);
        }
        path = "/tmp/tovarin-bench-" + std::to_string(getpid()) + ".lvrn";
        SaveDocument(path, net, projects);
    }
    ~BigDocument() { unlink(path.c_str()); }
};

inline BigDocument& Big() {
    static BigDocument document;
    return document;
}

}  // namespace tovarin
