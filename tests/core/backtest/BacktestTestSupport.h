#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"
#include "support/Draws.h"

namespace tovarin::test {

// A draw whose winner is the code: head, two zeros, tail, three zeros.
inline std::string DrawOf(TCode code) {
    const char head = static_cast<char>('0' + code / 10);
    const char tail = static_cast<char>('0' + code % 10);
    return {head, '0', '0', tail, '0', '0', '0'};
}

// A project on its own draw table, built condition by condition.
struct BacktestBench {
    TCodeNet net;
    TSeqPrj project{net};

    TBaseBind& Add(int kind, const char* param, bool assured, bool checked = true) {
        TBaseBind& bind = project.AddBind(CreateBind(kind, project.Options()));
        bind.SetParam(param);
        bind.Assured = assured;
        bind.Checked = checked;
        return bind;
    }

    void Configure(const std::function<void(TPrjOptions&)>& change) {
        TPrjOptions options = project.Options();
        change(options);
        project.SetOptions(options);
    }

    void AddWinners(const std::vector<TCode>& codes) {
        std::vector<std::string> draws;
        draws.reserve(codes.size());
        for (const TCode code : codes) {
            draws.push_back(DrawOf(code));
        }
        AddDraws(net, draws);
    }
};

}  // namespace tovarin::test
