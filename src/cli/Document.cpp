#include "cli/Document.h"

#include <iostream>

#include "cli/Command.h"
#include "cli/Output.h"
#include "core/base/FileIO.h"

namespace tovarin::cli {

void Open(const std::string& path, Document& doc) {
    try {
        LoadDocument(path, doc.codeNet, doc.projects);
    } catch (const std::exception& error) {
        throw DocumentOpenError("cannot read " + path + ": " + error.what());
    }
}

void SaveAfterReport(const std::string& path, const Document& doc, const std::string& report) {
    const std::string image = BuildDocumentImage(doc.codeNet, doc.projects);
    CheckWritableSize(image.size());
    std::cout << report;
    FinishOutput();
    RemoveLeftTemporariesBeside(path);
    WriteFileAtomically(path, image);
}

TSeqPrj& ProjectArg(const Document& doc, int number) {
    // Compared before the subtraction, which would overflow for INT_MIN.
    if (number < 1 || number > doc.projects.PrjCount()) {
        throw RangeError("project " + std::to_string(number) + ": the document has " +
                         std::to_string(doc.projects.PrjCount()));
    }
    return doc.projects.GetSeqPrj(number - 1);
}

int BindIndexArg(const TSeqPrj& project, int projectNumber, int number) {
    if (number < 1 || number > project.BindCount()) {
        throw RangeError("condition " + std::to_string(number) + ": project " +
                         std::to_string(projectNumber) + " has " +
                         std::to_string(project.BindCount()));
    }
    return number - 1;
}

// Standard output takes LF line ends.
std::string ShownLine(const std::string& line) {
    std::string text;
    text.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n') {
            continue;
        }
        text += line[i];
    }
    return text;
}

void PrintLine(const std::string& line) { std::cout << ShownLine(line) << '\n'; }

void StdoutPane::ReplaceLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        PrintLine(line);
    }
}

}  // namespace tovarin::cli
