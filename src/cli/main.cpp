// tovarin-cli: the engine without windows, for scripting and tests.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/Output.h"
#include "core/base/Console.h"
#include "core/base/FileIO.h"
#include "core/base/ProcessMemory.h"
#include "core/base/Version.h"

namespace tovarin::cli {
namespace {

// The first word of a command name; "draws" for "draws export".
std::string_view GroupOf(const CommandSpec& spec) {
    return spec.name.substr(0, spec.name.find(' '));
}

bool NamedBy(const CommandSpec& spec, const std::vector<std::string>& words) {
    size_t start = 0;
    for (const std::string& word : words) {
        const size_t end = spec.name.find(' ', start);
        if (spec.name.substr(start, end - start) != word) {
            return false;
        }
        if (end == std::string_view::npos) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

size_t NameWords(const CommandSpec& spec) {
    return static_cast<size_t>(std::count(spec.name.begin(), spec.name.end(), ' ')) + 1;
}

// "--help" before any "--".
bool AsksForHelp(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word == "--") {
            return false;
        }
        if (word == "--help" || word == "-h") {
            return true;
        }
    }
    return false;
}

// The status once everything written has left the program: output that
// could not be written fails the run.
int Finished(const std::string& prefix, int status) {
    try {
        FinishOutput();
    } catch (const EOutputError& error) {
        std::cerr << prefix << "cannot write the output: " << error.what() << '\n';
        return 1;
    }
    return status;
}

int RunCommand(const CommandSpec& spec, const std::vector<std::string>& words) {
    const std::string prefix = "tovarin-cli " + std::string(spec.name) + ": ";
    if (AsksForHelp(words)) {
        std::cout << CommandHelp(spec);
        return Finished(prefix, 0);
    }
    try {
        return Finished(prefix, spec.run(Args::Parse(spec, words)));
    } catch (const EOutputError&) {
        // A command that changes a file checks its report first.
        return Finished(prefix, 1);
    } catch (const RangeError& error) {
        std::cerr << prefix << error.what() << '\n';
        return 2;
    } catch (const UsageError& error) {
        std::cerr << prefix << error.what() << '\n'
                  << "Usage: tovarin-cli " << Synopsis(spec) << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << prefix << error.what() << '\n';
        return 1;
    }
}

// A group name ("draws") without one of its commands after it.
int RunGroup(std::string_view group, const std::vector<std::string>& words) {
    std::string names;
    for (const CommandSpec* spec : Commands()) {
        if (GroupOf(*spec) == group) {
            names += (names.empty() ? "" : ", ") + std::string(spec->name.substr(group.size() + 1));
        }
    }
    if (AsksForHelp(words)) {
        std::cout << GroupHelp(group);
        return Finished("tovarin-cli " + std::string(group) + ": ", 0);
    }
    std::cerr << "tovarin-cli " << group << ": "
              << (words.size() < 2 ? "missing the command" : "unknown command " + words[1])
              << " (one of " << names << ")\n";
    return 2;
}

int Run(const std::vector<std::string>& words) {
    if (words.empty()) {
        std::cerr << ProgramHelp();
        return 2;
    }
    if (words.front() == "--help" || words.front() == "-h") {
        std::cout << ProgramHelp();
        return Finished("tovarin-cli: ", 0);
    }
    if (words.front() == "--version") {
        std::cout << kVersionText << '\n';
        return Finished("tovarin-cli: ", 0);
    }
    for (const CommandSpec* spec : Commands()) {
        if (NamedBy(*spec, words)) {
            const auto rest = words.begin() + static_cast<std::ptrdiff_t>(NameWords(*spec));
            return RunCommand(*spec, std::vector<std::string>(rest, words.end()));
        }
    }
    for (const CommandSpec* spec : Commands()) {
        if (GroupOf(*spec) == words.front() && NameWords(*spec) > 1) {
            return RunGroup(words.front(), words);
        }
    }
    std::cerr << "tovarin-cli: unknown command " << words.front() << " (see --help)\n";
    return 2;
}

}  // namespace
}  // namespace tovarin::cli

int main(int argc, char** argv) {
    tovarin::UseBinaryUtf8Streams();
    tovarin::PrepareProcessForFileWrites();
    tovarin::cli::UseCheckedOutput();
    tovarin::PrepareProcessMemory();
    return tovarin::cli::Run(tovarin::ProgramArguments(argc, argv));
}
