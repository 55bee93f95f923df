#include "core/draws/TableExport.h"

#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"

namespace tovarin {

std::string ExportTableText(const TCodeNet& net) {
    std::string text = "\xEF\xBB\xBF期号,开奖日期,开奖号码\r\n";
    // A label, a date and seven digits: some thirty bytes a line.
    text.reserve(text.size() + net.Rows().size() * 32);
    for (const TSeq& draw : net.Rows()) {
        text += draw.GetLabel().Text();
        text += ',';
        text += draw.GetDate().Text();
        text += ',';
        text += NumbersText(draw, net.Game());
        text += "\r\n";
    }
    return text;
}

void ExportTableFile(const TCodeNet& net, const std::string& path) {
    WriteFileAtomically(path, ExportTableText(net));
}

}  // namespace tovarin
