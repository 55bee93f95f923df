#include "cli/Cli.h"

#include <algorithm>

#include "core/base/Text.h"

namespace tovarin::cli {

bool Args::Flag(const std::string& name) {
    const auto it = std::find(words_.begin(), words_.end(), name);
    if (it == words_.end()) {
        return false;
    }
    words_.erase(it);
    return true;
}

std::optional<std::string> Args::Value(const std::string& name) {
    std::vector<std::string> all = Values(name);
    if (all.size() > 1) {
        throw UsageError(name + " given more than once");
    }
    if (all.empty()) {
        return std::nullopt;
    }
    return all.front();
}

std::vector<std::string> Args::Values(const std::string& name) {
    std::vector<std::string> values;
    for (size_t i = 0; i < words_.size();) {
        if (words_[i] != name) {
            ++i;
            continue;
        }
        if (i + 1 >= words_.size()) {
            throw UsageError(name + " needs a value");
        }
        values.push_back(words_[i + 1]);
        words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i),
                     words_.begin() + static_cast<std::ptrdiff_t>(i + 2));
    }
    return values;
}

std::optional<int> Args::IntValue(const std::string& name) {
    const std::optional<std::string> text = Value(name);
    if (!text) {
        return std::nullopt;
    }
    return ParseIntArg(*text, name);
}

std::string Args::Positional(const char* what) {
    const auto it = std::find_if(words_.begin(), words_.end(), [](const std::string& word) {
        return word.size() < 2 || word.compare(0, 2, "--") != 0;
    });
    if (it == words_.end()) {
        throw UsageError(std::string("missing ") + what);
    }
    std::string value = *it;
    words_.erase(it);
    return value;
}

void Args::ExpectEnd() const {
    if (!words_.empty()) {
        throw UsageError("unexpected argument " + words_.front());
    }
}

int ParseIntArg(const std::string& text, const std::string& what) {
    int value = 0;
    if (!TryStrToInt(text, value)) {
        throw UsageError(what + " needs a number, not " + text);
    }
    return value;
}

}  // namespace tovarin::cli
