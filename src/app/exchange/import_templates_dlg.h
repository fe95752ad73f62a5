#pragma once
// "Import Templates": edits copies of the import templates. The "&Mapping" tab maps
// the fields of a sample file's first line onto the target slots (with "&Add", or by
// dragging a field onto a slot), the "&Options" tab the separator, quote character and
// header line, the "&Saved Templates" tab deletes and renames; "Save &As" stores a
// copy under a new name. OK writes the templates' file; Cancel changes nothing.

#include "app/exchange/delimiter_choice.h"
#include "app/exchange/saved_template_edits.h"
#include "core/exchange/import_template.h"
#include "core/organise/item_name_check.h"

#include <QDialog>
#include <QListWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace tessaly {

class TBookData;

// The slot list: takes fields dropped from the field list.
class TSlotList : public QListWidget {
    Q_OBJECT
public:
    explicit TSlotList(QWidget* parent) : QListWidget(parent) { setAcceptDrops(true); }
    QListWidget* Source = nullptr;
    // A drop below the last item counts as a drop after it (the row is Count()).
    bool DropsAtEnd = false;
signals:
    // The field at `fieldRow` of the source was dropped on the slot at `slotRow`.
    void FieldDropped(int fieldRow, int slotRow);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

class TImportTemplatesDlg : public QDialog,
                            private TSavedTemplateEdits<TImportTemplatesDlg, TImport> {
    Q_OBJECT
    friend class TSavedTemplateEdits<TImportTemplatesDlg, TImport>;

public:
    // `book` names the slots of an entry import (null: the default captions); `type`
    // is the kind shown first (5 or 6); `path` the templates' file.
    TImportTemplatesDlg(QWidget* parent, const TImportList& templates, const TBookData* book,
                        int type, std::string path);

    const TImportList& Templates() const { return list_; }
    QComboBox* TemplateBox() const { return current_; }
    QListWidget* FieldList() const { return fields_; }
    TSlotList* SlotList() const { return slots_; }
    QLineEdit* SampleFile() const { return sample_; }
    QTabWidget* Tabs() const { return tabs_; }

    // The file whose first line the mapping tab lists.
    void SetSampleFile(const QString& path);

    // Maps the field at a row of the field list onto a slot.
    void MapField(int fieldRow, int slot);

    // Asks the name for "Save &As" and "Rename"; tests replace it.
    static std::function<QString(QWidget* parent, const QString& title, const QString& current)>
        NameAsker;

private:
    static constexpr const char* kWhat = "Import";
    static constexpr TNameMode kNameMode = TNameMode::Import;
    static int TypeOf(const TImport& t) { return t.ImportType; }
    static void SetType(TImport& t, int type) { t.ImportType = static_cast<std::int16_t>(type); }
    static TIoResult SaveList(const std::string& path, const TImportList& list) {
        return SaveImportTemplates(path, list);
    }
    TImport* Current();
    void LoadCurrent();
    // The tabs' options into the working copy, and the copy back into its template.
    void ReadOptions();
    void StoreOptions();
    void FillSlots();
    void RefreshFields();
    bool ValidOptions();

    TImportList list_;
    const TBookData* book_;
    std::string path_;
    int type_;
    QComboBox* filter_ = nullptr;
    QComboBox* current_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* sample_ = nullptr;
    QListWidget* fields_ = nullptr;
    TSlotList* slots_ = nullptr;
    TDelimiterChoice separator_;
    TDelimiterChoice quote_;
    QCheckBox* header_ = nullptr;
    QCheckBox* descriptions_ = nullptr;
    QListWidget* saved_ = nullptr;
    bool loading_ = false;
    int shown_ = -1; // the list index of the template the tabs show
    TImport work_;   // its working copy, which the tabs edit
};

} // namespace tessaly
