// Feeds arbitrary bytes to the document loader. Oracle: whatever loads must
// save to an image that loads again to the same image, and a refused image
// must leave the document as it was.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/base/Errors.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

using namespace tovarin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view image(reinterpret_cast<const char*>(data), size);
    TCodeNet net;
    TPrjMgr projects(net);
    net.Add();
    projects.AddPrj(std::make_unique<TSeqPrj>(net));
    const std::string before = BuildDocumentImage(net, projects);
    try {
        LoadDocumentImage(image, net, projects);
    } catch (const Exception&) {
        if (BuildDocumentImage(net, projects) != before) {
            abort();
        }
        return 0;
    }
    const std::string saved = BuildDocumentImage(net, projects);
    TCodeNet net2;
    TPrjMgr projects2(net2);
    LoadDocumentImage(saved, net2, projects2);
    if (BuildDocumentImage(net2, projects2) != saved) {
        abort();
    }
    return 0;
}
