// The book window's vCard commands: "Export vCards..." writes the listed entries to a
// file, "Import vCards..." (and a .vcf file dropped on the entry list) adds a file's
// cards as new entries.

#include "app/book/book.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/exchange/vcard_version_dlg.h"
#include "app/widgets/frame.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/save_as_file.h"
#include "core/access/book_header.h"
#include "core/common/file_paths.h"
#include "core/exchange/vcard_book.h"
#include "core/exchange/vcard_format.h"
#include "core/organise/entry_list.h"
#include "core/store/book_file.h"
#include "core/system/file_io.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>

namespace tessaly {

namespace {

const QString kVCardFilter = "vCard Files (*.vcf);;All Files (*)";

bool IsVCardFile(const QString& path) {
    return path.endsWith(".vcf", Qt::CaseInsensitive) ||
           path.endsWith(".vcard", Qt::CaseInsensitive);
}

} // namespace

std::function<QString(QWidget*, const QString&, const QString&)> TBook::VCardExportChooser =
    [](QWidget* parent, const QString& directory, const QString& suggested) {
        return ChooseSaveAsFile(parent, "Export vCards", directory, kVCardFilter, "vcf", suggested);
    };

std::function<QString(QWidget*, const QString&)> TBook::VCardImportChooser =
    [](QWidget* parent, const QString& directory) {
        QFileDialog dlg(parent, "Import vCards", directory);
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        dlg.setNameFilter(kVCardFilter);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
            return QString();
        return dlg.selectedFiles().first();
    };

void TBook::ExportVCards() {
    if (!book_ || !edit_.Viewing())
        return;
    TVCardVersionDlg versionDlg(Frame().Settings().VCardVersion, this);
    if (versionDlg.exec() != QDialog::Accepted)
        return;
    const int version = versionDlg.Version();
    if (version != Frame().Settings().VCardVersion) {
        Frame().Settings().VCardVersion = version;
        try {
            Frame().Access().WriteInteger("Export", "vCard Version", version);
        } catch (const TSettingsWriteError&) {
            QApplication::beep(); // kept for this run, and written with the rest at exit
        }
    }
    QFileInfo info(FilePath());
    const QString suggested = info.dir().filePath(info.completeBaseName() + ".vcf");
    const QString chosen = VCardExportChooser(this, Frame().FileDialogDirectory(), suggested);
    if (chosen.isEmpty())
        return;
    THourGlass busy;
    Frame().RememberFileDialogDirectory(chosen);
    // The entries as the list shows them: in its order, under the active search.
    std::vector<const TRecord*> entries;
    const TEntryList& listed = model_->List();
    for (int i = 0; i < listed.Count(); ++i)
        entries.push_back(listed.EntryAt(i));
    const std::string cards = VCardsOfEntries(*book_, entries, version == 4 ? kVCard40 : kVCard30);
    const std::string path = PathToCore(chosen);
    const TIoResult written = WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(cards.data()), cards.size()));
    if (!written.Ok) {
        Show(VCardsNotWrittenMessage(FileNameOf(FromQString(chosen)), written.Error));
        return;
    }
    Frame().InfoLabel()->setText(QString("%1 vCards exported").arg(entries.size()));
}

void TBook::ImportVCards() {
    if (!book_ || readOnly_ || !edit_.Viewing())
        return;
    const QString chosen = VCardImportChooser(this, Frame().FileDialogDirectory());
    if (chosen.isEmpty())
        return;
    Frame().RememberFileDialogDirectory(chosen);
    ImportVCardFile(chosen);
}

int TBook::ImportVCardFile(const QString& file) {
    if (!book_ || readOnly_ || !edit_.Viewing()) {
        QApplication::beep();
        return 0;
    }
    THourGlass busy;
    const std::string name = FileNameOf(FromQString(file));
    TVCardReadResult read;
    std::string why;
    if (!ReadVCardFile(PathToCore(file), read, why)) {
        Show(VCardFileUnreadMessage(name, why));
        return 0;
    }
    if (read.Cards.empty()) {
        Show(VCardFileEmptyMessage(name));
        return 0;
    }
    StorePage(shownPage_);
    TVCardImportOptions options;
    options.Today = clock_.Now();
    std::vector<std::string> problems = read.Problems;
    const int before = book_->Entries.Count();
    const int added =
        AddVCardEntries(*book_, read.Cards, options, UndoLimit(Frame().Settings().StoreSettings()),
                        true, &problems, clock_);
    // Each entry counts as a change, as when it is added by hand.
    for (int i = 0; i < added; ++i)
        MarkChanged(*book_, clock_);
    model_->Rebuild();
    int row = -1;
    if (added > 0)
        for (int i = 0; i < model_->rowCount() && row < 0; ++i)
            if (model_->EntryAt(i) == book_->Entries.At(before))
                row = i;
    AfterEntriesChanged(row < 0 ? list_->SelectedRow() : row);
    Show(VCardsImportedMessage(added, name, static_cast<int>(problems.size())));
    return added;
}

bool TBook::HoldsVCards(const QMimeData* data) {
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && IsVCardFile(url.toLocalFile()))
            return true;
    return false;
}

bool TBook::DropVCards(QDropEvent* event) {
    const QPoint at = list_->viewport()->mapFrom(this, event->position().toPoint());
    if (!list_->viewport()->rect().contains(at))
        return false;
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile() && IsVCardFile(url.toLocalFile()))
            files << url.toLocalFile();
    if (files.isEmpty())
        return false;
    event->acceptProposedAction();
    for (const QString& file : files)
        ImportVCardFile(file);
    return true;
}

} // namespace tessaly
