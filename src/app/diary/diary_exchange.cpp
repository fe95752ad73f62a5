// The diary window's "I&mport..." and "&Export...".

#include "app/diary/diary_dlg.h"
#include "app/exchange/export_wizard.h"
#include "app/exchange/import_wizard.h"
#include "app/widgets/frame.h"
#include "core/exchange/import_template.h"

#include <QFileInfo>

namespace tessaly {

void TDiaryDlg::ImportData() {
    if (!diary_ || locked_)
        return;
    const TStoreSettings store = Frame().Settings().StoreSettings();
    const TImportList templates = LoadImportTemplates(store.ConfigFile(".TPI"));
    TImportWizard wizard(
        this, Frame().Access(), templates, kImportDiaryEvents,
        "Import to Diary " + QFileInfo(FilePath()).completeBaseName().toUpper(),
        [this](const TImport& tpl, const std::string& path,
               const std::function<bool(int)>& progress) {
            TImportOptions options;
            options.Now = clock_.Now();
            options.AdvanceWarning = Frame().Settings().AdvanceWarning;
            options.Progress = progress;
            return ImportIntoDiary(*diary_, path, tpl, options);
        },
        store.ConfigFile(".TPI"));
    wizard.exec();
    if (wizard.Result().Imported > 0)
        RecordChange(0);
}

void TDiaryDlg::ExportData() {
    if (!diary_)
        return;
    const TStoreSettings store = Frame().Settings().StoreSettings();
    const TExportList templates = LoadExportTemplates(store.ConfigFile(".TPE"));
    TExportWizard wizard(
        this, Frame().Access(), templates, true,
        "Export Diary " + QFileInfo(FilePath()).completeBaseName().toUpper(), {},
        [this](const TExport& tpl, const TExportChoice& choice, const TExportOptions& progress) {
            return ExportDiaryEvents(DiaryEventOrder(*diary_, choice.AllDates,
                                                     choice.IncludeCompleted, choice.First,
                                                     choice.Last),
                                     tpl, progress);
        },
        store.ConfigFile(".TPE"));
    wizard.exec();
}

} // namespace tessaly
