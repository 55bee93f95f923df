#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/draws/Game.h"
#include "core/engine/DocSections.h"

namespace tovarin {

class ByteReader;
class ByteWriter;
class TCodeNet;
class TPrjMgr;
class TSeq;

// What the document holds beyond its two blocks goes into one extension
// after them: the four bytes "TVRX", a 32-bit version, then sections to the
// end of the file, each a 32-bit kind (TSectionKind), a 32-bit length and
// that many bytes, little-endian like the blocks. A reader that stops after
// the second block never sees it; bytes there that do not start with the
// magic are ignored, as such a reader ignores them.
inline constexpr std::string_view kExtensionMagic = "TVRX";
inline constexpr int32_t kExtensionVersion = 1;

// Appends the extension when the document needs one: a draw with a label
// or a date, a game other than the seven digits (a section of the game's
// 32-bit TGame value), an attached model that holds something, or another
// section. A document that needs none is
// written as its two blocks alone.
void WriteExtension(const TCodeNet& codeNet, const TPrjMgr& projects, ByteWriter& out);

// What the extension held besides the rows' labels and dates: the game,
// the sections nothing here reads, and what puts each attached model's
// section in its place (one per model, in the models' order).
struct TExtensionRead {
    TDocSections Others;
    TGame Game = TGame::Seven;
    std::vector<TSectionModel::TTakeOver> TakeOvers;
};

// Reads the extension from in to its end, if there is one, giving rows
// (the document's draws, read before) their labels and dates; a section of
// a model's kind is the model's to read, and a model whose section the
// document lacks reads none. A spoiled extension, a newer version or a
// section that does not fit raises EReadError naming the byte.
TExtensionRead ReadExtension(ByteReader& in, std::vector<TSeq>& rows,
                             const std::vector<TSectionModel*>& models);

}  // namespace tovarin
