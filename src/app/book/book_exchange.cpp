// The book window's "I&mport..." and "&Export...": the wizards run on this book, its
// entry list and its selected entry.

#include "app/book/book.h"
#include "app/book/entry_list_model.h"
#include "app/exchange/export_wizard.h"
#include "app/exchange/import_wizard.h"
#include "app/widgets/frame.h"
#include "core/exchange/import_template.h"
#include "platform/qt_text.h"

#include <QFileInfo>

namespace tessaly {

void TBook::ImportData() {
    if (!book_ || readOnly_ || !edit_.Viewing())
        return;
    const TStoreSettings store = Frame().Settings().StoreSettings();
    const TImportList templates = LoadImportTemplates(store.ConfigFile(".TPI"));
    const QString name = QFileInfo(FilePath()).completeBaseName().toUpper();
    TImportWizard wizard(
        this, Frame().Access(), templates, kImportEntries,
        QString("Import to Address Book %1").arg(name),
        [this](const TImport& tpl, const std::string& path,
               const std::function<bool(int)>& progress) {
            TImportOptions options;
            options.Now = clock_.Now();
            options.AdvanceWarning = Frame().Settings().AdvanceWarning;
            options.Progress = progress;
            return ImportIntoBook(*book_, path, tpl, options);
        },
        store.ConfigFile(".TPI"), book_.get());
    wizard.exec();
    if (wizard.Result().Imported > 0) {
        BuildEntryList();
        ShowCurrentEntry();
        RecordChange();
    }
}

void TBook::ExportData() {
    if (!book_)
        return;
    const TStoreSettings store = Frame().Settings().StoreSettings();
    const TExportList templates = LoadExportTemplates(store.ConfigFile(".TPE"));
    std::vector<std::pair<QString, int>> addressTemplates;
    for (int i = 1; i < book_->Templates.Count(); ++i)
        if (!book_->Templates.TemplateDeleted(i))
            addressTemplates.emplace_back(ToQString(book_->Templates.TemplateName(i)),
                                          book_->Templates.TemplateId(i));
    const QString name = QFileInfo(FilePath()).completeBaseName().toUpper();
    TExportWizard wizard(
        this, Frame().Access(), templates, false, QString("Export Address Book %1").arg(name),
        addressTemplates,
        [this](const TExport& tpl, const TExportChoice& choice, const TExportOptions& progress) {
            std::vector<const TRecord*> listed;
            for (int row = 0; row < model_->rowCount(); ++row)
                listed.push_back(model_->EntryAt(row));
            const auto order = EntryOrder(*book_, choice.Selection, listed, SelectedEntry());
            if (tpl.ExportType == kExportReminders)
                return ExportReminders(*book_, order, tpl, progress);
            if (tpl.ExportType == kExportCallLogs)
                return ExportCallLogs(*book_, order, tpl, progress);
            return ExportEntries(*book_, order, tpl, choice.Addresses, choice.AddressTemplateId,
                                 progress);
        },
        store.ConfigFile(".TPE"), book_.get());
    wizard.exec();
}

} // namespace tessaly
