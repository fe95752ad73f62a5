// The book window's commands that open the dialogs editing what the book owns: the
// search dialog and the book options.

#include "app/book/address_page.h"
#include "app/book/book.h"
#include "app/book/categories_page.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/book/index_key_dlg.h"
#include "app/book/reminders_page.h"
#include "app/book_options/book_options_dlg.h"
#include "app/book_options/template_dlg.h"
#include "app/search/filter_form.h"
#include "app/widgets/frame.h"
#include "app/widgets/message_dialog.h"
#include "core/access/work_record.h"
#include "core/common/file_paths.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"

#include <QMenu>
#include <QTabBar>
#include <QTabWidget>

namespace tessaly {

void TBook::SearchAddressBook() {
    if (!book_ || !edit_.Viewing())
        return;
    const TFilterList before = book_->Searches;
    TFilterForm dialog(book_->Searches, book_->Templates, book_->Categories,
                       Frame().Settings().FormatSettings, readOnly_, ShortName(), this, clock_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!(book_->Searches == before))
        RecordChange();
    BuildEntryList();
    UpdateStatus();
    AutoSaveCheck();
}

} // namespace tessaly

namespace tessaly {

bool TBook::ConfigureBook(int page) {
    if (!RunBookOptions(page))
        return false;
    AfterBookOptions();
    return true;
}

bool TBook::RunBookOptions(int page) {
    if (!book_)
        return false;
    StorePage(shownPage_);
    const TStoreSettings settings = Frame().Settings().StoreSettings();
    TBookOptionsDlg dialog(*book_, settings, readOnly_, this);
    dialog.SetUnsavedElsewhere([this](const QString& path) {
        const std::string wanted = PathToCore(path);
        for (TChildWindow* c : Frame().Children()) {
            auto* other = qobject_cast<TBook*>(c);
            if (other && other != this && other->Book() && other->Book()->Modified &&
                SamePath(PathToCore(other->FilePath()), wanted))
                return true;
        }
        return false;
    });
    dialog.Pages()->setCurrentIndex(page);
    if (dialog.exec() != QDialog::Accepted || readOnly_)
        return false;
    const bool changed = dialog.Options().Apply(*book_);
    if (dialog.SaveAsDefault()) {
        const TSaveResult saved = SaveDefaults(*book_, settings);
        if (!saved.Ok)
            ShowMessage(mtAccessError, ToQString(saved.Error), mkError, mbOk);
    }
    if (changed)
        RecordChange();
    return true;
}

void TBook::AfterBookOptions() {
    NamePages();
    if (edit_.Viewing()) {
        // New keys may move the entry shown: it stays the selected one.
        TRecord* shown = current_;
        BuildEntryList();
        const int row = shown ? model_->RowOf(shown) : -1;
        if (row >= 0 && row != list_->SelectedRow()) {
            list_->SelectRow(row);
            ShowCurrentEntry();
        }
    }
    shownPage_ = -1;
    LayoutFields();
    if (edit_.Viewing())
        ShowCurrentEntry();
    else
        ShowWorkRecord();
    UpdateCommandState();
}

} // namespace tessaly

namespace tessaly {

void TBook::SelectEntryKeys() {
    if (!ToolCommandEnabled("Define Index Keys for Entry"))
        return;
    StorePage(shownPage_);
    // The book's options opened from the dialog are applied to the book at once; the
    // window follows them once the dialog has closed, since until then the dialog
    // works on the working entry.
    bool bookChanged = false;
    TIndexKeyDlg dialog(
        WorkRecordOf(*book_), *book_,
        [this, &bookChanged] {
            if (readOnly_ || !RunBookOptions(TBookOptionsDlg::kIndexKeysPage))
                return false;
            bookChanged = true;
            return true;
        },
        this);
    const bool ok = dialog.exec() == QDialog::Accepted;
    // Whichever button closed it: the entry's keys are applied when they changed.
    if (dialog.KeysChanged() && edit_.Viewing() && current_) {
        ApplyShownEntry();
    } else if (ok && !edit_.Viewing()) {
        shownPage_ = -1;
        LayoutFields();
    }
    if (bookChanged)
        AfterBookOptions();
}

void TBook::ApplyShownEntry() {
    if (!edit_.Viewing() || !current_ || readOnly_)
        return;
    edit_.StartUpdating(true);
    shownPage_ = -1;
    ApplyEdit();
}

void TBook::CreateDialogMenus() {
    connect(reminders_, &TRemindersPage::SearchRequested, this, &TBook::SearchAddressBook);
    connect(reminders_, &TRemindersPage::RemoveSearchRequested, this, &TBook::RemoveActiveSearch);
    connect(categories_, &TCategoriesPage::Maintenance, this, [this] {
        if (readOnly_)
            return;
        if (ConfigureBook(TBookOptionsDlg::kCategoriesPage))
            ApplyShownEntry();
    });
    // The template tabs of the Address page.
    auto* tabs = address_->findChild<QTabBar*>("TabSet");
    if (!tabs)
        return;
    auto* menu = new QMenu(this);
    menu->setObjectName("TemplateTabMenu");
    QAction* select = menu->addAction("Select Address Templates for Entry...", this,
                                      &TBook::SelectEntryTemplates);
    QAction* edit = menu->addAction("Edit Address Template...", this, [this, tabs] {
        const TRecord& w = WorkRecordOf(*book_);
        const int id = w.Addresses.AddressTemplateId(tabs->currentIndex());
        const int i = book_->Templates.FindTemplateById(id);
        if (i < 1 || readOnly_)
            return;
        TBookOptions options(*book_);
        TTemplateDlg dialog(
            true, book_->Templates.ValuesOf(i), book_->Templates.NewTemplateValues(),
            [&options, i](const TTemplateValues& values, bool base) {
                return options.StoreTemplate(i, values, base);
            },
            this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        StorePage(shownPage_);
        if (options.Apply(*book_))
            RecordChange();
        shownPage_ = -1;
        LayoutFields();
        if (edit_.Viewing() && model_->rowCount() > 0)
            ApplyShownEntry();
        else
            ShowWorkRecord();
    });
    QAction* maintenance = menu->addAction("Template Maintenance...", this, [this] {
        if (ConfigureBook(TBookOptionsDlg::kAddressesPage) && model_->rowCount() > 0)
            ApplyShownEntry();
    });
    tabs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabs, &QWidget::customContextMenuRequested, this, [=, this](const QPoint& p) {
        select->setEnabled(ToolCommandEnabled("Select Address Templates for Entry"));
        edit->setEnabled(!readOnly_ && tabs->count() > 0);
        maintenance->setEnabled(!readOnly_);
        menu->popup(tabs->mapToGlobal(p));
    });
}

} // namespace tessaly
