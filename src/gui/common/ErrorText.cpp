#include "gui/common/ErrorText.h"

#include "core/base/FileIO.h"
#include "core/draws/LawNet.h"

namespace tovarin {

QString ErrorText(const std::exception& error) {
    if (const auto* tooMany = dynamic_cast<const ETooManyDraws*>(&error)) {
        return TooManyDrawsText(tooMany->Draws());
    }
    if (dynamic_cast<const EFileTooLarge*>(&error) != nullptr) {
        return QStringLiteral(
            "文档将超过1 GB，保存后再也无法打开，因此没有保存；原来的文件没有改动。");
    }
    return QString::fromUtf8(error.what());
}

QString TooManyDrawsText(size_t draws) {
    return QStringLiteral("码表最多只能有%1期开奖号码，这样会有%2期，码表没有改动。")
        .arg(kMaxDraws)
        .arg(draws);
}

}  // namespace tovarin
