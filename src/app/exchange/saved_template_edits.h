#pragma once
// What the import and export template dialogs do alike with their saved templates:
// "Save As" (a copy of the edited template under a new name, the one edited left as
// it was), Delete (asked first) and Rename from the saved templates' list, and OK,
// which writes the templates' file or says why it could not; and the page and buttons
// that run them.
//
// The template chooser beside the kind of template is filled and followed here too.
//
// `Dlg` is the dialog (a friend of this base): it holds `list_`, `work_` (the copy
// edited), `saved_` (the saved templates' list widget), `filter_` (the kind shown) and
// `current_` (the chooser), `loading_`, `shown_`, `type_` and `path_`, and gives
// Current(), ValidOptions(), ReadOptions(), StoreOptions(), LoadCurrent(), NameAsker
// and, as statics, kWhat ("Import" or "Export"), TypeOf(const Item&),
// SetType(Item&, int) and SaveList(path, list).

#include "app/widgets/message_dialog.h"
#include "core/organise/item_name_check.h"
#include "core/system/file_io.h"
#include "platform/qt_text.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QString>
#include <QTabWidget>
#include <cstdint>
#include <memory>

namespace tessaly {

template <class Dlg, class Item> class TSavedTemplateEdits {
protected:
    // A new kind in the filter shows its templates; a new choice in the chooser keeps
    // the edits of the one left and loads the one chosen.
    void FollowChoosers() {
        Dlg& d = Self();
        QObject::connect(d.filter_, &QComboBox::currentIndexChanged, &d, [this] {
            Dlg& dlg = Self();
            dlg.StoreOptions();
            dlg.shown_ = -1;
            dlg.type_ = dlg.filter_->currentData().toInt();
            FillTemplates();
        });
        QObject::connect(d.current_, &QComboBox::currentIndexChanged, &d, [this] {
            Dlg& dlg = Self();
            if (dlg.loading_)
                return;
            dlg.StoreOptions();
            dlg.LoadCurrent();
        });
    }

    // The chooser and the saved templates' list hold the templates of the kind shown,
    // `select` chosen when given; the one chosen is then loaded.
    void FillTemplates(const QString& select = QString()) {
        Dlg& d = Self();
        d.loading_ = true;
        d.current_->clear();
        d.saved_->clear();
        for (int i = 0; i < d.list_.Count(); ++i) {
            if (Dlg::TypeOf(*d.list_.At(i)) != d.type_)
                continue;
            const QString name = ToQString(d.list_.At(i)->NameText());
            d.current_->addItem(name, i);
            d.saved_->addItem(name);
            if (name == select)
                d.current_->setCurrentIndex(d.current_->count() - 1);
        }
        d.loading_ = false;
        d.LoadCurrent();
    }

    // Copies the template chosen into `work_` for editing (`shown_` -1 when none is).
    void TakeChosen() {
        Dlg& d = Self();
        d.shown_ = d.current_->currentData().isValid() ? d.current_->currentData().toInt() : -1;
        if (const Item* chosen = d.list_.At(d.shown_))
            d.work_ = *chosen;
        else
            d.shown_ = -1;
    }

    // The "Saved Templates" page (the list with Delete and Rename) added to `tabs`,
    // and the row under the tabs ("Save As" and OK / Cancel) added to `layout`.
    void AddSavedTemplateControls(QTabWidget* tabs, QBoxLayout* layout, const QString& pageCaption,
                                  const QString& saveAsCaption) {
        Dlg& d = Self();
        auto* savedPage = new QWidget;
        auto* sv = new QHBoxLayout(savedPage);
        d.saved_ = new QListWidget(savedPage);
        sv->addWidget(d.saved_, 1);
        auto* sb = new QVBoxLayout;
        auto* del = new QPushButton("Delete", savedPage);
        auto* rename = new QPushButton("Rename", savedPage);
        sb->addWidget(del);
        sb->addWidget(rename);
        sb->addStretch(1);
        sv->addLayout(sb);
        tabs->addTab(savedPage, pageCaption);

        auto* bottom = new QHBoxLayout;
        auto* saveAs = new QPushButton(saveAsCaption, &d);
        bottom->addWidget(saveAs);
        bottom->addStretch(1);
        auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
        bottom->addWidget(box);
        layout->addLayout(bottom);

        QObject::connect(box, &QDialogButtonBox::accepted, &d, [this] { Confirm(); });
        QObject::connect(box, &QDialogButtonBox::rejected, &d, &QDialog::reject);
        QObject::connect(saveAs, &QPushButton::clicked, &d, [this] { SaveAs(); });
        QObject::connect(del, &QPushButton::clicked, &d, [this] { DeleteTemplate(); });
        QObject::connect(rename, &QPushButton::clicked, &d, [this] { RenameTemplate(); });
    }

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
        // Two templates of one name would leave the second unreachable by its name.
        std::vector<std::string> names;
        for (int i = 0; i < d.list_.Count(); ++i)
            names.push_back(d.list_.At(i)->NameText());
        if (auto refused = CheckItemName(Dlg::kNameMode, names, FromQString(name), t->NameText())) {
            ShowMessage(*refused);
            return;
        }
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
