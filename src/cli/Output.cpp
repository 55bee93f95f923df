#include "cli/Output.h"

#include <array>
#include <iostream>
#include <optional>
#include <streambuf>
#include <string_view>

#include "core/base/Console.h"

namespace tovarin::cli {
namespace {

class TCheckedOutput final : public std::streambuf {
public:
    TCheckedOutput() { Empty(); }

    const std::optional<std::string>& Failure() const { return failure_; }

protected:
    int_type overflow(int_type c) override {
        if (!Drain()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override { return Drain() ? 0 : -1; }

private:
    void Empty() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

    bool Drain() {
        if (!failure_) {
            failure_ = WriteStandardOutput(
                std::string_view(pbase(), static_cast<size_t>(pptr() - pbase())));
        }
        Empty();
        return !failure_;
    }

    std::array<char, size_t{1} << 16> buffer_{};
    std::optional<std::string> failure_;
};

// Never destroyed: std::cout is flushed once more after every static
// object is gone.
TCheckedOutput& Output() {
    static auto* output = new TCheckedOutput;
    return *output;
}

}  // namespace

void UseCheckedOutput() { std::cout.rdbuf(&Output()); }

void FinishOutput() {
    std::cout.flush();
    if (const std::optional<std::string>& failure = Output().Failure()) {
        throw EOutputError(*failure);
    }
}

std::string JsonText(const nlohmann::ordered_json& json, int indent) {
    return json.dump(indent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace tovarin::cli
