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

using HelpRows = std::vector<std::pair<std::string, std::string>>;

size_t LabelWidth(const HelpRows& rows) {
    size_t width = 0;
    for (const auto& [label, help] : rows) {
        width = std::max(width, label.size());
    }
    return width;
}

// "  LABEL   help" lines with the help texts from the column after width.
void AppendTable(std::string& text, const HelpRows& rows, size_t width) {
    for (const auto& [label, help] : rows) {
        text += "  ";
        text += label;
        text.append(width - label.size() + 3, ' ');
        text += help;
        text += '\n';
    }
}

// Each command's synopsis and, indented below it, its summary.
void AppendCommandList(std::string& text, std::string_view group) {
    for (const CommandSpec* spec : Commands()) {
        if (group.empty() || spec->name.starts_with(std::string(group) + ' ')) {
            text += "  " + Synopsis(*spec) + "\n      ";
            text += spec->summary;
            text += '\n';
        }
    }
}

constexpr std::string_view kHelpOptionHelp = "show this help and exit";

}  // namespace

std::string Synopsis(const CommandSpec& spec) {
    std::string text(spec.name);
    for (const PositionalSpec& positional : spec.positionals) {
        text += positional.optional ? " [" + std::string(positional.name) + ']'
                                    : ' ' + std::string(positional.name);
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
    HelpRows arguments;
    for (const PositionalSpec& positional : spec.positionals) {
        arguments.emplace_back(positional.name, positional.help);
    }
    HelpRows options;
    for (const OptionSpec& option : spec.options) {
        std::string help(option.help);
        if (option.occurs == Occurs::Repeated) {
            help += " (may be repeated)";
        } else if (option.occurs == Occurs::Required) {
            help += " (required)";
        }
        options.emplace_back(OptionLabel(option), help);
    }
    options.emplace_back("--help", kHelpOptionHelp);
    const size_t width = std::max(LabelWidth(arguments), LabelWidth(options));

    std::string text = "Usage: tovarin-cli " + Synopsis(spec) + "\n\n";
    text += spec.summary;
    text += '\n';
    if (!arguments.empty()) {
        text += "\nArguments:\n";
        AppendTable(text, arguments, width);
    }
    text += "\nOptions:\n";
    AppendTable(text, options, width);
    text +=
        "\nOptions may stand before or after the arguments, as --name VALUE or --name=VALUE;\n"
        "every word after -- is an argument.\n";
    return text;
}

std::string GroupHelp(std::string_view group) {
    std::string text = "Usage: tovarin-cli " + std::string(group) + " COMMAND ...\n\nCommands:\n";
    AppendCommandList(text, group);
    return text;
}

std::string ProgramHelp() {
    std::string text =
        "Usage: tovarin-cli COMMAND [ARGUMENT | OPTION]...\n"
        "       tovarin-cli COMMAND --help\n"
        "       tovarin-cli --help | --version\n"
        "\nCommands:\n";
    AppendCommandList(text, "");
    return text;
}

}  // namespace tovarin::cli
