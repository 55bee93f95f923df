#include <algorithm>

#include "cli/Command.h"
#include "core/base/Text.h"

namespace tovarin::cli {
namespace {

const OptionSpec* FindOption(const CommandSpec& spec, std::string_view name) {
    const auto it = std::find_if(spec.options.begin(), spec.options.end(),
                                 [name](const OptionSpec& option) { return option.name == name; });
    return it == spec.options.end() ? nullptr : &*it;
}

bool IsOptionWord(const std::string& word) { return word.size() > 2 && word.starts_with("--"); }

}  // namespace

Args Args::Parse(const CommandSpec& spec, const std::vector<std::string>& words) {
    Args args(spec);
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && IsOptionWord(word)) {
            i = args.TakeOption(words, i);
        } else if (args.positionals_.size() < spec.positionals.size()) {
            args.positionals_.push_back(word);
        } else {
            throw UsageError("unexpected argument " + word);
        }
    }
    if (args.positionals_.size() < spec.positionals.size() &&
        !spec.positionals[args.positionals_.size()].optional) {
        throw UsageError("missing " + std::string(spec.positionals[args.positionals_.size()].name));
    }
    for (const OptionSpec& option : spec.options) {
        if (option.occurs == Occurs::Required && !args.values_.contains(option.name)) {
            throw UsageError(std::string(option.name) + " is missing");
        }
    }
    return args;
}

size_t Args::TakeOption(const std::vector<std::string>& words, size_t at) {
    const std::string& word = words[at];
    const size_t equals = word.find('=');
    const std::string name = word.substr(0, equals);
    const OptionSpec* option = FindOption(*spec_, name);
    if (option == nullptr) {
        throw UsageError("unknown option " + name);
    }
    std::vector<std::string>& values = values_[name];
    if (option->occurs != Occurs::Repeated && !values.empty()) {
        throw UsageError(name + " given more than once");
    }
    if (option->IsFlag()) {
        if (equals != std::string::npos) {
            throw UsageError(name + " takes no value");
        }
        values.emplace_back();
        return at;
    }
    if (equals == std::string::npos && at + 1 == words.size()) {
        throw UsageError(name + " needs a value");
    }
    const std::string value = equals == std::string::npos ? words[at + 1] : word.substr(equals + 1);
    if (option->takesPath && value.empty()) {
        throw UsageError(name + " needs a path, not an empty value");
    }
    values.push_back(value);
    return equals == std::string::npos ? at + 1 : at;
}

void Args::CheckDeclared(std::string_view name, bool flag) const {
    const OptionSpec* option = FindOption(*spec_, name);
    if (option == nullptr || option->IsFlag() != flag) {
        throw std::logic_error("tovarin-cli " + std::string(spec_->name) + " declares no " +
                               (flag ? "flag " : "option with a value ") + std::string(name));
    }
}

bool Args::Flag(std::string_view name) const {
    CheckDeclared(name, true);
    return values_.contains(name);
}

std::optional<std::string> Args::Value(std::string_view name) const {
    const std::vector<std::string>& values = Values(name);
    if (values.empty()) {
        return std::nullopt;
    }
    return values.front();
}

const std::vector<std::string>& Args::Values(std::string_view name) const {
    static const std::vector<std::string> none;
    CheckDeclared(name, false);
    const auto it = values_.find(name);
    return it == values_.end() ? none : it->second;
}

std::optional<int> Args::IntValue(std::string_view name) const {
    const std::optional<std::string> text = Value(name);
    if (!text) {
        return std::nullopt;
    }
    return ParseIntArg(*text, name);
}

size_t Args::PositionalIndex(std::string_view name) const {
    const auto it =
        std::find_if(spec_->positionals.begin(), spec_->positionals.end(),
                     [name](const PositionalSpec& positional) { return positional.name == name; });
    if (it == spec_->positionals.end()) {
        throw std::logic_error("tovarin-cli " + std::string(spec_->name) +
                               " declares no positional word " + std::string(name));
    }
    return static_cast<size_t>(it - spec_->positionals.begin());
}

const std::string& Args::Positional(std::string_view name) const {
    return positionals_.at(PositionalIndex(name));
}

std::optional<std::string> Args::OptionalPositional(std::string_view name) const {
    const size_t index = PositionalIndex(name);
    if (index >= positionals_.size()) {
        return std::nullopt;
    }
    return positionals_[index];
}

int ParseIntArg(const std::string& text, std::string_view what) {
    int value = 0;
    if (!TryStrToInt(text, value)) {
        throw UsageError(std::string(what) + " needs a number, not " + text);
    }
    return value;
}

}  // namespace tovarin::cli
