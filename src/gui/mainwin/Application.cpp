#include "gui/mainwin/Application.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <exception>

#include "gui/common/ErrorText.h"
#include "gui/common/FrontWindow.h"

namespace tovarin {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    ShowError = [](const QString& message) {
        RunMessageBox(QMessageBox::Critical, nullptr, applicationDisplayName(), message,
                      QMessageBox::Ok, QMessageBox::Ok);
    };
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(ErrorText(error));
    }
    return false;
}

void TApplication::LoadChineseTranslations(QCoreApplication& app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

void TApplication::ProvideSongFont() {
    const QStringList families = QFontDatabase::families();
    for (const QString& song : {QStringLiteral("SimSun"), QStringLiteral("宋体")}) {
        if (families.contains(song)) {
            return;
        }
    }
    QStringList cjk = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    // The one font every installation of the program brings comes first.
    cjk.sort();
    const qsizetype zenhei = cjk.indexOf(QStringLiteral("WenQuanYi Zen Hei"));
    if (zenhei > 0) {
        cjk.move(zenhei, 0);
    }
    if (!cjk.isEmpty()) {
        QFont::insertSubstitutions(QStringLiteral("SimSun"), cjk);
        QFont::insertSubstitutions(QStringLiteral("宋体"), cjk);
    }
}

QString DocumentArgument(const QStringList& arguments, const QString& startFolder) {
    if (arguments.size() < 2 || arguments[1].isEmpty()) {
        return {};
    }
    return QDir::cleanPath(QDir(startFolder).absoluteFilePath(arguments[1]));
}

}  // namespace tovarin
