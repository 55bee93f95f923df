#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovarin {

// The kinds of section in the document's extension (DocExtension.h).
enum class TSectionKind : int32_t {
    Labels = 1,  // every draw's label and date (the draw table's)
    Game = 2,    // the game the draw table plays (the draw table's)
    Ledger = 3,  // the prediction ledger
};

// The document's other sections: those of its extension that neither the
// draw table nor the project list reads, as bytes in file order, so that a
// section this version does not know is written back as it came. At most
// one section of each kind.
class TDocSections {
public:
    struct TSection {
        int32_t Kind = 0;
        std::string Bytes;

        bool operator==(const TSection&) const = default;
    };

    // The bytes of the section of this kind; nullptr when there is none.
    const std::string* Get(int32_t kind) const;
    // Puts the bytes in place of the section of this kind, or adds it last.
    void Set(int32_t kind, std::string bytes);
    // Whether a section was there to remove.
    bool Remove(int32_t kind);

    const std::vector<TSection>& All() const { return sections_; }
    bool Empty() const { return sections_.empty(); }

    bool operator==(const TDocSections&) const = default;

private:
    std::vector<TSection> sections_;
};

// A model the document keeps in a section of its own (the prediction
// ledger), attached to the project list, which keeps the document's
// sections. The document writes the model's section when it has one and
// reads it with the rest of the document: into a new object first, taken
// over only once the whole document has been read.
class TSectionModel {
public:
    // Puts what was read in the model's place.
    using TTakeOver = std::function<void()>;

    virtual ~TSectionModel() = default;
    virtual int32_t Kind() const = 0;
    // The section's bytes; none when the model holds nothing, and then the
    // document has no such section.
    virtual std::optional<std::string> Encode() const = 0;
    // Reads a section (none: the document has none) into a new object;
    // EReadError naming the byte for spoiled bytes, with nothing changed.
    // offsetInFile is where the bytes lie in the document.
    virtual TTakeOver Decode(std::optional<std::string_view> bytes, size_t offsetInFile) const = 0;
};

}  // namespace tovarin
