#include "core/sources/HtmlRows.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/base/Codec.h"
#include "core/base/Errors.h"
#include "core/base/Text.h"
#include "core/sources/AnswerText.h"

namespace tovarin {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// A valid code point of a character reference, U+FFFD for any other.
void AppendReference(unsigned long code, std::string& out) {
    const bool valid = code != 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    AppendUtf8(valid ? static_cast<uint32_t>(code) : 0xFFFD, out);
}

// The character reference at text[pos] == '&' appended to out; pos moves
// past it. What is no reference stays as it is.
void DecodeReference(std::string_view text, size_t& pos, std::string& out) {
    const size_t semicolon = text.find(';', pos);
    if (semicolon == std::string_view::npos || semicolon - pos > 10) {
        out += text[pos++];
        return;
    }
    const std::string_view name = text.substr(pos + 1, semicolon - pos - 1);
    static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
        {"nbsp", " "}, {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
    for (const auto& [entity, character] : kNamed) {
        if (name == entity) {
            out += character;
            pos = semicolon + 1;
            return;
        }
    }
    if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::string_view digits = name.substr(hex ? 2 : 1);
        unsigned long code = 0;
        const bool valid =
            !digits.empty() && std::all_of(digits.begin(), digits.end(), [hex](char c) {
                return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                           : std::isdigit(static_cast<unsigned char>(c)) != 0;
            });
        if (valid) {
            code = std::stoul(std::string(digits), nullptr, hex ? 16 : 10);
            AppendReference(code == 0xA0 ? ' ' : code, out);
            pos = semicolon + 1;
            return;
        }
    }
    out += text[pos++];
}

// A cell's raw text (between its tags, tags already blanks) as it reads.
std::string CellText(std::string_view raw) {
    std::string decoded;
    decoded.reserve(raw.size());
    for (size_t pos = 0; pos < raw.size();) {
        if (raw[pos] == '&') {
            DecodeReference(raw, pos, decoded);
        } else {
            decoded += raw[pos++];
        }
    }
    std::string cell;
    cell.reserve(decoded.size());
    for (const char c : decoded) {
        if (IsSpace(c)) {
            if (!cell.empty() && cell.back() != ' ') {
                cell += ' ';
            }
        } else {
            cell += c;
        }
    }
    if (!cell.empty() && cell.back() == ' ') {
        cell.pop_back();
    }
    const std::string_view date = DateOfCell(cell);
    return date.empty() ? cell : std::string(date);
}

// The rows of one open table.
struct Table {
    std::vector<std::string> cells;  // of the open row
    bool inCell = false;
};

class TableReader {
public:
    explicit TableReader(std::string_view text) : text_(text) {}

    std::string Read() {
        size_t pos = 0;
        while (pos < text_.size()) {
            const size_t open = text_.find('<', pos);
            const size_t stop = open == std::string_view::npos ? text_.size() : open;
            if (!tables_.empty() && tables_.back().inCell) {
                tables_.back().cells.back().append(text_.substr(pos, stop - pos));
            }
            if (stop == text_.size()) {
                break;
            }
            pos = Tag(stop);
        }
        while (!tables_.empty()) {
            EndRow();
            tables_.pop_back();
        }
        return std::move(lines_);
    }

private:
    // Reads the markup at text_[at] == '<'; returns where the text goes on.
    size_t Tag(size_t at) {
        if (StartsWithNoCase(text_.substr(at), "<!--")) {
            return Past(text_.find("-->", at + 4), 3);
        }
        const bool closing = at + 1 < text_.size() && text_[at + 1] == '/';
        size_t nameEnd = at + (closing ? 2 : 1);
        while (nameEnd < text_.size() && std::isalnum(static_cast<unsigned char>(text_[nameEnd]))) {
            ++nameEnd;
        }
        const std::string name =
            AsciiLower(text_.substr(at + (closing ? 2 : 1), nameEnd - at - (closing ? 2 : 1)));
        if (name.empty() && !closing && !StartsWithNoCase(text_.substr(at), "<!") &&
            !StartsWithNoCase(text_.substr(at), "<?")) {
            // A lone "<" in text, such as "1 < 2".
            if (!tables_.empty() && tables_.back().inCell) {
                tables_.back().cells.back() += '<';
            }
            return at + 1;
        }
        const size_t end = TagEnd(nameEnd);
        if (!closing && (name == "script" || name == "style" || name == "textarea")) {
            return SkipRawText(end, name);
        }
        Element(name, closing);
        return end;
    }

    // Past the ">" of a tag, quotes respected.
    size_t TagEnd(size_t pos) const {
        char quote = 0;
        for (; pos < text_.size(); ++pos) {
            const char c = text_[pos];
            if (quote != 0) {
                if (c == quote) {
                    quote = 0;
                }
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                return pos + 1;
            }
        }
        return text_.size();
    }

    size_t SkipRawText(size_t pos, const std::string& name) const {
        const std::string closing = "</" + name;
        for (size_t at = text_.find("</", pos); at != std::string_view::npos;
             at = text_.find("</", at + 2)) {
            if (StartsWithNoCase(text_.substr(at), closing)) {
                return TagEnd(at + closing.size());
            }
        }
        return text_.size();
    }

    size_t Past(size_t found, size_t length) const {
        return found == std::string_view::npos ? text_.size() : found + length;
    }

    void Element(const std::string& name, bool closing) {
        if (name == "table") {
            if (closing && !tables_.empty()) {
                EndRow();
                tables_.pop_back();
            }
            // A table inside a cell parts the cell's words around it.
            if (!tables_.empty() && tables_.back().inCell) {
                tables_.back().cells.back() += ' ';
            }
            if (!closing) {
                tables_.emplace_back();
            }
            return;
        }
        if (tables_.empty()) {
            return;
        }
        Table& table = tables_.back();
        if (name == "tr") {
            EndRow();
        } else if (name == "td" || name == "th") {
            if (closing) {
                table.inCell = false;
            } else {
                table.cells.emplace_back();
                table.inCell = true;
            }
        } else if (table.inCell) {
            // Any other element parts words: <em>1</em><em>4</em> is "1 4".
            table.cells.back() += ' ';
        }
    }

    void EndRow() {
        Table& table = tables_.back();
        std::string line;
        bool hasText = false;
        for (size_t i = 0; i < table.cells.size(); ++i) {
            const std::string cell = CellText(table.cells[i]);
            hasText = hasText || !cell.empty();
            if (i > 0) {
                line += '\t';
            }
            line += cell;
        }
        if (hasText) {
            lines_ += line;
            lines_ += '\n';
        }
        table.cells.clear();
        table.inCell = false;
    }

    std::string_view text_;
    std::vector<Table> tables_;
    std::string lines_;
};

}  // namespace

std::string HtmlTableLines(std::string_view text) {
    std::string lines = TableReader(text).Read();
    if (lines.empty()) {
        throw ENoDrawList("答案不是开奖数据：网页里没有表格");
    }
    return lines;
}

}  // namespace tovarin
