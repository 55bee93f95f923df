#include "core/sources/JsonDraws.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>
#include <vector>

#include "core/base/Errors.h"
#include "core/base/Text.h"
#include "core/sources/AnswerText.h"

namespace tovarin {
namespace {

using Json = nlohmann::json;

enum class Role { Label, Numbers, Date, Other };

struct FieldName {
    std::string_view name;
    Role role;
};

// Lower in the list wins within a role.
constexpr std::array<FieldName, 18> kFieldNames = {{
    {"lotteryDrawNum", Role::Label},
    {"issue", Role::Label},
    {"expect", Role::Label},
    {"code", Role::Label},
    {"period", Role::Label},
    {"期号", Role::Label},
    {"lotteryDrawResult", Role::Numbers},
    {"opencode", Role::Numbers},
    {"openCode", Role::Numbers},
    {"result", Role::Numbers},
    {"numbers", Role::Numbers},
    {"red", Role::Numbers},
    {"开奖号码", Role::Numbers},
    {"lotteryDrawTime", Role::Date},
    {"date", Role::Date},
    {"opentime", Role::Date},
    {"openTime", Role::Date},
    {"开奖日期", Role::Date},
}};

struct Field {
    Role role = Role::Other;
    size_t rank = 0;  // the name's place in kFieldNames
};

Field FieldOf(std::string_view key) {
    for (size_t i = 0; i < kFieldNames.size(); ++i) {
        if (kFieldNames[i].name == key) {
            return {kFieldNames[i].role, i};
        }
    }
    return {};
}

bool IsNumberSeparator(char c) {
    return c == ' ' || c == ',' || c == '+' || c == '|' || static_cast<unsigned char>(c) < 0x20;
}

// Appends the numbers of text to out, one blank between two.
void AppendNumbers(std::string_view text, std::string& out) {
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsNumberSeparator(text[pos])) {
            ++pos;
        }
        const size_t start = pos;
        while (pos < text.size() && !IsNumberSeparator(text[pos])) {
            ++pos;
        }
        if (pos > start) {
            if (!out.empty()) {
                out += ' ';
            }
            out.append(text.substr(start, pos - start));
        }
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsPeriodText(std::string_view text) {
    if (text.starts_with("第") && text.ends_with("期") && text.size() > 6) {
        text = text.substr(3, text.size() - 6);
    }
    return !text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), IsDigit);
}

// One object of a list, while it is read.
struct Record {
    std::optional<std::string> values[3];  // by Role: label, numbers, date
    size_t ranks[3] = {};
    Field pending;  // the field whose value comes next

    void Take(std::string text) {
        const auto role = static_cast<size_t>(pending.role);
        if (pending.role == Role::Other || (values[role] && ranks[role] <= pending.rank)) {
            return;
        }
        values[role] = std::move(text);
        ranks[role] = pending.rank;
    }
    bool HasLabel() const { return values[0].has_value(); }
    bool HasNumbers() const { return values[1].has_value() && !values[1]->empty(); }

    void AppendLine(std::string& lines) const {
        const std::string_view label = values[0] ? Trim(*values[0]) : std::string_view();
        if (!IsPeriodText(label)) {
            lines += "-\n";
            return;
        }
        lines.append(label);
        const std::string_view date = values[2] ? LeadingDate(*values[2]) : std::string_view();
        if (!date.empty()) {
            lines += ' ';
            lines.append(date);
        }
        if (HasNumbers()) {
            lines += ' ';
            lines += *values[1];
        }
        lines += '\n';
    }
};

// What the reader keeps of each open array or object.
struct Frame {
    bool isArray = false;
    // An array: the lines of its records so far, and whether one of them
    // held a label and numbers.
    std::string lines;
    bool holdsDraws = false;
    // An object directly in an array.
    bool isRecord = false;
    Record record;
    // A list that is a record's numbers field.
    bool isNumbers = false;
    std::string numbers;
};

// Reads the whole text once, without building it: each record becomes its
// line as soon as it closes, and the first list that holds draws ends the
// reading.
class DrawListReader : public Json::json_sax_t {
public:
    bool null() override { return Skip(); }
    bool boolean(bool) override { return Skip(); }
    bool number_integer(number_integer_t value) override { return Value(std::to_string(value)); }
    bool number_unsigned(number_unsigned_t value) override { return Value(std::to_string(value)); }
    bool number_float(number_float_t, const string_t& text) override { return Value(text); }
    bool string(string_t& value) override { return Value(std::move(value)); }
    bool binary(binary_t&) override { return Skip(); }

    bool start_object(std::size_t) override {
        if (!stack_.empty() && stack_.back().isNumbers) {
            // A list of objects in a numbers field is a list like any other.
            stack_.back().isNumbers = false;
        }
        Frame frame;
        frame.isRecord = !stack_.empty() && stack_.back().isArray && !stack_.back().isNumbers;
        stack_.push_back(std::move(frame));
        return true;
    }
    bool key(string_t& key) override {
        Frame& frame = stack_.back();
        if (frame.isRecord) {
            frame.record.pending = FieldOf(key);
        }
        return true;
    }
    bool end_object() override {
        Frame frame = std::move(stack_.back());
        stack_.pop_back();
        if (frame.isRecord) {
            const Record& record = frame.record;
            Frame& list = stack_.back();
            if (record.HasLabel() || record.HasNumbers()) {
                record.AppendLine(list.lines);
            }
            list.holdsDraws = list.holdsDraws || (record.HasLabel() && record.HasNumbers());
            return true;
        }
        return Skip();
    }
    bool start_array(std::size_t) override {
        Frame frame;
        frame.isArray = true;
        frame.isNumbers = !stack_.empty() && stack_.back().isRecord &&
                          stack_.back().record.pending.role == Role::Numbers;
        stack_.push_back(std::move(frame));
        return true;
    }
    bool end_array() override {
        Frame frame = std::move(stack_.back());
        stack_.pop_back();
        if (frame.isNumbers) {
            return Value(std::move(frame.numbers));
        }
        if (frame.holdsDraws) {
            lines_ = std::move(frame.lines);
            found_ = true;
            return false;  // the rest of the answer is not needed
        }
        return Skip();
    }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::json::exception&) override {
        errorAt_ = position;
        return false;
    }

    bool Found() const { return found_; }
    std::optional<size_t> ErrorAt() const { return errorAt_; }
    std::string TakeLines() { return std::move(lines_); }

private:
    // A value no field takes; a record's field waiting for it takes none.
    bool Skip() {
        if (!stack_.empty() && stack_.back().isRecord) {
            stack_.back().record.pending = {};
        }
        return true;
    }

    // A scalar value, or a list that closed: a record's field takes it, a
    // numbers list gathers it.
    bool Value(std::string text) {
        if (stack_.empty()) {
            return true;
        }
        Frame& frame = stack_.back();
        if (frame.isNumbers) {
            AppendNumbers(text, frame.numbers);
        } else if (frame.isRecord) {
            if (frame.record.pending.role == Role::Numbers) {
                std::string numbers;
                AppendNumbers(text, numbers);
                text = std::move(numbers);
            }
            frame.record.Take(std::move(text));
            frame.record.pending = {};
        }
        return true;
    }

    std::vector<Frame> stack_;
    std::string lines_;
    bool found_ = false;
    std::optional<size_t> errorAt_;
};

}  // namespace

std::string JsonDrawLines(std::string_view text) {
    DrawListReader reader;
    Json::sax_parse(text, &reader);
    if (reader.Found()) {
        return reader.TakeLines();
    }
    if (reader.ErrorAt()) {
        throw EReadError("答案不是开奖数据：JSON有误（第" + std::to_string(*reader.ErrorAt()) +
                         "字节）");
    }
    throw ENoDrawList("答案不是开奖数据：JSON里没有含期号和开奖号码的记录列表");
}

}  // namespace tovarin
