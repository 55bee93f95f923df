#include "cli/Document.h"

#include <iostream>

namespace tovarin::cli {

void Open(const std::string& path, Document& doc) {
    try {
        LoadDocument(path, doc.codeNet, doc.projects);
    } catch (const std::exception& error) {
        throw DocumentOpenError(std::string("打开文件时出现错误！\n") + error.what());
    }
}

TSeqPrj& ProjectArg(const Document& doc, int number) {
    // The project list's own range check gives the message.
    return doc.projects.GetSeqPrj(number - 1);
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
