#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace tovarin {

// The program's UTF-8 text as Qt's and back.
inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string S(const QString& text) { return text.toStdString(); }

}  // namespace tovarin
