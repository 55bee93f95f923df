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
constexpr auto kGameKind = static_cast<int32_t>(TSectionKind::Game);

void WriteSection(ByteWriter& out, int32_t kind, std::string_view bytes) {
    out.WriteI32(kind);
    out.WriteI32(static_cast<int32_t>(bytes.size()));
    out.WriteBytes(bytes);
}

std::string At(size_t offset) { return " at byte " + std::to_string(offset); }

TGame ReadGame(std::string_view bytes, size_t bytesAt, size_t sectionAt) {
    if (bytes.size() != 4) {
        throw EReadError("Game section" + At(sectionAt) + " has " + std::to_string(bytes.size()) +
                         " bytes instead of 4");
    }
    const int32_t value = ByteReader(bytes, bytesAt).ReadI32();
    for (const TGame game : {TGame::Seven, TGame::Qxc, TGame::Pl5}) {
        if (value == static_cast<int32_t>(game)) {
            return game;
        }
    }
    throw EReadError("Unknown game " + std::to_string(value) + At(bytesAt));
}

}  // namespace

void WriteExtension(const TCodeNet& codeNet, const TPrjMgr& projects, ByteWriter& out) {
    const bool labels = codeNet.HasLabelsOrDates();
    const bool game = codeNet.Game() != TGame::Seven;
    const TDocSections& others = projects.Sections();
    std::vector<TDocSections::TSection> modelSections;
    for (const TSectionModel* model : projects.Models()) {
        if (std::optional<std::string> bytes = model->Encode()) {
            modelSections.push_back({model->Kind(), std::move(*bytes)});
        }
    }
    if (!labels && !game && others.Empty() && modelSections.empty()) {
        return;
    }
    out.WriteBytes(kExtensionMagic);
    out.WriteI32(kExtensionVersion);
    if (labels) {
        ByteWriter section;
        codeNet.WriteLabelSection(section);
        WriteSection(out, kLabelsKind, section.Bytes());
    }
    if (game) {
        ByteWriter section;
        section.WriteI32(static_cast<int32_t>(codeNet.Game()));
        WriteSection(out, kGameKind, section.Bytes());
    }
    for (const TDocSections::TSection& section : modelSections) {
        WriteSection(out, section.Kind, section.Bytes);
    }
    for (const TDocSections::TSection& section : others.All()) {
        WriteSection(out, section.Kind, section.Bytes);
    }
}

namespace {

void ReadSections(ByteReader& in, std::vector<TSeq>& rows,
                  const std::vector<TSectionModel*>& models, TExtensionRead& read) {
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
    bool gameRead = false;
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
                              : kind == kGameKind     ? gameRead
                              : model != models.end() ? read.TakeOvers[modelIndex] != nullptr
                                                      : read.Others.Get(kind) != nullptr;
        if (repeated) {
            throw EReadError("Second section of kind " + std::to_string(kind) + At(sectionAt));
        }
        // The bytes last only until the next read: the model reads them now.
        if (model != models.end()) {
            read.TakeOvers[modelIndex] = (*model)->Decode(bytes, bytesAt);
            continue;
        }
        if (kind == kGameKind) {
            read.Game = ReadGame(bytes, bytesAt, sectionAt);
            gameRead = true;
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
    read.TakeOvers.resize(models.size());
    // Bytes without the magic are ignored, and nothing reads after them.
    if (in.Remaining() >= kExtensionMagic.size() &&
        in.ReadBytes(kExtensionMagic.size()) == kExtensionMagic) {
        ReadSections(in, rows, models, read);
    }
    // A model whose section the document lacks is emptied by the load.
    for (size_t i = 0; i < models.size(); ++i) {
        if (read.TakeOvers[i] == nullptr) {
            read.TakeOvers[i] = models[i]->Decode(std::nullopt, 0);
        }
    }
    return read;
}

}  // namespace tovarin
