// The texts generated from the command declarations: the synopsis, the
// usage line of a usage error, a command's help and the command list.
#include <algorithm>

#include "cli/Command.h"

namespace tovarin::cli {
namespace {

std::string OptionLabel(const OptionSpec& option) {
    std::string label(option.name);
    if (!option.IsFlag()) {
        label += ' ';
        label += option.valueName;
    }
    return label;
}

// "  LABEL   help" lines with the help texts in one column.
void AppendTable(std::string& text, const std::vector<std::pair<std::string, std::string>>& rows) {
    size_t width = 0;
    for (const auto& [label, help] : rows) {
        width = std::max(width, label.size());
    }
    for (const auto& [label, help] : rows) {
        text += "  " + label + std::string(width - label.size() + 3, ' ') + help + '\n';
    }
}

constexpr std::string_view kHelpOptionHelp = "show this help and exit";

}  // namespace

std::string Synopsis(const CommandSpec& spec) {
    std::string text(spec.name);
    for (const PositionalSpec& positional : spec.positionals) {
        text += ' ';
        text += positional.name;
    }
    for (const OptionSpec& option : spec.options) {
        const std::string label = OptionLabel(option);
        switch (option.occurs) {
            case Occurs::Required:
                text += ' ' + label;
                break;
            case Occurs::Optional:
                text += " [" + label + ']';
                break;
            case Occurs::Repeated:
                text += " [" + label + "]...";
                break;
        }
    }
    return text;
}

std::string CommandHelp(const CommandSpec& spec) {
    std::string text = "Usage: tovarin-cli " + Synopsis(spec) + "\n\n";
    text += spec.summary;
    text += '\n';
    if (!spec.positionals.empty()) {
        text += "\nArguments:\n";
        std::vector<std::pair<std::string, std::string>> rows;
        for (const PositionalSpec& positional : spec.positionals) {
            rows.emplace_back(positional.name, positional.help);
        }
        AppendTable(text, rows);
    }
    text += "\nOptions:\n";
    std::vector<std::pair<std::string, std::string>> rows;
    for (const OptionSpec& option : spec.options) {
        std::string help(option.help);
        if (option.occurs == Occurs::Repeated) {
            help += " (may be repeated)";
        } else if (option.occurs == Occurs::Required) {
            help += " (required)";
        }
        rows.emplace_back(OptionLabel(option), help);
    }
    rows.emplace_back("--help", kHelpOptionHelp);
    AppendTable(text, rows);
    text +=
        "\nOptions may stand before or after the arguments, as --name VALUE or --name=VALUE;\n"
        "every word after -- is an argument.\n";
    return text;
}

std::string ProgramHelp() {
    std::string text =
        "Usage: tovarin-cli COMMAND [ARGUMENT | OPTION]...\n"
        "       tovarin-cli COMMAND --help\n"
        "       tovarin-cli --help | --version\n"
        "\nCommands:\n";
    for (const CommandSpec* spec : Commands()) {
        text += "  " + Synopsis(*spec) + "\n      ";
        text += spec->summary;
        text += '\n';
    }
    return text;
}

}  // namespace tovarin::cli
