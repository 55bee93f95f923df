#include "core/engine/DocExtension.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/base/ByteStream.h"
#include "core/base/Errors.h"
#include "core/draws/LawNet.h"
#include "core/engine/Prj.h"

namespace tovarin {
namespace {

constexpr auto kLabelsKind = static_cast<int32_t>(TSectionKind::Labels);

void WriteSection(ByteWriter& out, int32_t kind, std::string_view bytes) {
    out.WriteI32(kind);
    out.WriteI32(static_cast<int32_t>(bytes.size()));
    out.WriteBytes(bytes);
}

std::string At(size_t offset) { return " at byte " + std::to_string(offset); }

}  // namespace

void WriteExtension(const TCodeNet& codeNet, const TPrjMgr& projects, ByteWriter& out) {
    const bool labels = codeNet.HasLabelsOrDates();
    const TDocSections& others = projects.Sections();
    std::vector<TDocSections::TSection> modelSections;
    for (const TSectionModel* model : projects.Models()) {
        if (std::optional<std::string> bytes = model->Encode()) {
            modelSections.push_back({model->Kind(), std::move(*bytes)});
        }
    }
    if (!labels && others.Empty() && modelSections.empty()) {
        return;
    }
    out.WriteBytes(kExtensionMagic);
    out.WriteI32(kExtensionVersion);
    if (labels) {
        ByteWriter section;
        codeNet.WriteLabelSection(section);
        WriteSection(out, kLabelsKind, section.Bytes());
    }
    for (const TDocSections::TSection& section : modelSections) {
        WriteSection(out, section.Kind, section.Bytes);
    }
    for (const TDocSections::TSection& section : others.All()) {
        WriteSection(out, section.Kind, section.Bytes);
    }
}

namespace {

// The sections of the models, kept apart while the extension is read.
struct TModelSections {
    std::vector<std::optional<std::string_view>> Bytes;
    std::vector<size_t> Offsets;
};

void ReadSections(ByteReader& in, std::vector<TSeq>& rows,
                  const std::vector<TSectionModel*>& models, TExtensionRead& read,
                  TModelSections& modelSections) {
    const size_t versionAt = in.Offset();
    const int32_t version = in.ReadI32();
    if (version > kExtensionVersion) {
        throw EReadError("Document extension version " + std::to_string(version) + At(versionAt) +
                         " is newer than this program reads (" + std::to_string(kExtensionVersion) +
                         ")");
    }
    if (version < 1) {
        throw EReadError("Bad document extension version " + std::to_string(version) +
                         At(versionAt));
    }
    bool labelsRead = false;
    while (in.Remaining() > 0) {
        const size_t sectionAt = in.Offset();
        const int32_t kind = in.ReadI32();
        const int32_t length = in.ReadI32();
        if (length < 0 || static_cast<size_t>(length) > in.Remaining()) {
            throw EReadError("Section of kind " + std::to_string(kind) + At(sectionAt) +
                             " announces " + std::to_string(length) + " bytes, but only " +
                             std::to_string(in.Remaining()) + " follow");
        }
        const size_t bytesAt = in.Offset();
        const std::string_view bytes = in.ReadBytes(static_cast<size_t>(length));
        const auto model = std::find_if(models.begin(), models.end(),
                                        [kind](const auto* m) { return m->Kind() == kind; });
        const auto modelIndex = static_cast<size_t>(model - models.begin());
        const bool repeated = kind == kLabelsKind     ? labelsRead
                              : model != models.end() ? modelSections.Bytes[modelIndex].has_value()
                                                      : read.Others.Get(kind) != nullptr;
        if (repeated) {
            throw EReadError("Second section of kind " + std::to_string(kind) + At(sectionAt));
        }
        if (model != models.end()) {
            modelSections.Bytes[modelIndex] = bytes;
            modelSections.Offsets[modelIndex] = bytesAt;
            continue;
        }
        if (kind != kLabelsKind) {
            read.Others.Set(kind, std::string(bytes));
            continue;
        }
        ByteReader section(bytes, bytesAt);
        TCodeNet::ReadLabelSection(section, rows);
        if (section.Remaining() != 0) {
            throw EReadError("Section of kind " + std::to_string(kind) + At(sectionAt) + " has " +
                             std::to_string(section.Remaining()) + " bytes after its labels" +
                             At(section.Offset()));
        }
        labelsRead = true;
    }
}

}  // namespace

TExtensionRead ReadExtension(ByteReader& in, std::vector<TSeq>& rows,
                             const std::vector<TSectionModel*>& models) {
    TExtensionRead read;
    TModelSections modelSections{std::vector<std::optional<std::string_view>>(models.size()),
                                 std::vector<size_t>(models.size(), 0)};
    ByteReader peek = in;
    if (in.Remaining() >= kExtensionMagic.size() &&
        peek.ReadBytes(kExtensionMagic.size()) == kExtensionMagic) {
        in = peek;
        ReadSections(in, rows, models, read, modelSections);
    }
    for (size_t i = 0; i < models.size(); ++i) {
        read.TakeOvers.push_back(
            models[i]->Decode(modelSections.Bytes[i], modelSections.Offsets[i]));
    }
    return read;
}

}  // namespace tovarin
