#pragma once
// What the import and export template dialogs do alike with their saved templates:
// "Save As" (a copy of the edited template under a new name, the one edited left as
// it was), Delete (asked first) and Rename from the saved templates' list, and OK,
// which writes the templates' file or says why it could not.
//
// `Dlg` is the dialog (a friend of this base): it holds `list_`, `saved_` (the saved
// templates' list widget), `shown_`, `type_` and `path_`, and gives Current(),
// ValidOptions(), ReadOptions(), StoreOptions(), FillTemplates(), NameAsker and, as
// statics, kWhat ("Import" or "Export"), SetType(Item&, int) and SaveList(path, list).

#include "app/widgets/message_dialog.h"
#include "core/system/file_io.h"
#include "platform/qt_text.h"

#include <QListWidget>
#include <QString>
#include <cstdint>
#include <memory>

namespace tessaly {

template <class Dlg, class Item> class TSavedTemplateEdits {
protected:
    void SaveAs() {
        Dlg& d = Self();
        if (!d.ValidOptions())
            return;
        // The copy takes the edits; the template they were made on stays as it was.
        d.ReadOptions();
        const Item* t = d.Current();
        const QString name = Dlg::NameAsker(&d, QString("Save %1 Template As").arg(Dlg::kWhat),
                                            t ? ToQString(t->NameText()) : QString())
                                 .trimmed();
        if (name.isEmpty())
            return;
        auto copy = t ? std::make_unique<Item>(*t) : std::make_unique<Item>();
        d.shown_ = -1;
        Dlg::SetType(*copy, d.type_);
        copy->SetName(FromQString(name));
        const int existing = d.list_.Find(copy->NameText());
        if (existing >= 0)
            d.list_.Delete(existing);
        d.list_.Add(std::move(copy));
        d.FillTemplates(name);
    }

    void DeleteTemplate() {
        Dlg& d = Self();
        const int row = d.saved_->currentRow();
        if (row < 0)
            return;
        const QString name = d.saved_->item(row)->text();
        if (ShowMessage(mtDeletionRequested,
                        QString("Template: %1 \n\nAre you sure you wish to delete this Template ?")
                            .arg(name),
                        mkConfirmation, mbYesNo) != mrYes)
            return;
        d.StoreOptions();
        d.shown_ = -1;
        d.list_.Delete(d.list_.Find(FromQString(name)));
        d.FillTemplates();
    }

    void RenameTemplate() {
        Dlg& d = Self();
        const int row = d.saved_->currentRow();
        if (row < 0)
            return;
        Item* t = d.list_.At(d.list_.Find(FromQString(d.saved_->item(row)->text())));
        const QString name = Dlg::NameAsker(&d, QString("Rename %1 Template").arg(Dlg::kWhat),
                                            ToQString(t->NameText()));
        if (name.trimmed().isEmpty())
            return;
        d.StoreOptions();
        d.shown_ = -1;
        t->SetName(FromQString(name));
        d.FillTemplates(ToQString(t->NameText()));
    }

    void Confirm() {
        Dlg& d = Self();
        if (!d.ValidOptions())
            return;
        d.StoreOptions();
        const TIoResult saved = Dlg::SaveList(d.path_, d.list_);
        if (!saved.Ok) {
            ShowMessage(mtAccessError, SystemTextToQString(saved.Error), mkError, mbOk);
            return;
        }
        d.accept();
    }

private:
    Dlg& Self() { return static_cast<Dlg&>(*this); }
};

} // namespace tessaly
