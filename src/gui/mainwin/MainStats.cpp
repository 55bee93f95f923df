// The statistics window as the main window opens it: on the draw table,
// making its conditions through the condition menu's path and asking for
// export files through the window's dialogs.
#include "core/draws/LawNet.h"
#include "gui/mainwin/Main.h"
#include "gui/mainwin/UserDialogs.h"
#include "gui/stats/StatsForm.h"

namespace tovarin {

void TMainForm::FileMenuStatsClick() {
    if (!statsForm_) {
        statsForm_ =
            std::make_unique<TStatsForm>(*codeNet_, [this](int kind, const std::string& param) {
                RunGuarded([this, kind, &param] { BindKindItemClick(kind, param); });
            });
        statsForm_->SetAskSavePath([this](const QString& caption, const QString& filter) {
            TFileDialogSpec spec;
            spec.Title = caption;
            spec.Filter = filter;
            spec.DefaultSuffix = filter.section(QStringLiteral("*."), 1).chopped(1);
            return dialogs_->SaveFileName(statsForm_.get(), spec);
        });
    }
    if (statsForm_->isMinimized()) {
        statsForm_->showNormal();
    }
    statsForm_->show();
    statsForm_->raise();
    statsForm_->activateWindow();
}

}  // namespace tovarin
