#pragma once
// "Export Templates": edits copies of the export templates. "Mapping" chooses the
// fields written and their order ("Available &Fields" into "E&xport Fields" by the
// buttons or by dragging; "&Label " writes a column's caption before its value),
// "Options" the separator, quote, header line, mail merge and address split, "Saved
// Templates" deletes and renames; "Save As" stores a copy under a new name. OK writes
// the templates' file; Cancel changes nothing.

#include "app/exchange/delimiter_choice.h"
#include "app/exchange/saved_template_edits.h"
#include "core/exchange/export_template.h"
#include "core/organise/item_name_check.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QListWidget;
class QSpinBox;

namespace tessaly {

class TBookData;
class TSlotList;

class TExportTemplatesDlg : public QDialog,
                            private TSavedTemplateEdits<TExportTemplatesDlg, TExport> {
    Q_OBJECT
    friend class TSavedTemplateEdits<TExportTemplatesDlg, TExport>;

public:
    TExportTemplatesDlg(QWidget* parent, const TExportList& templates, const TBookData* book,
                        int type, std::string path);

    const TExportList& Templates() const { return list_; }
    QComboBox* TemplateBox() const { return current_; }
    QListWidget* Available() const { return available_; }
    TSlotList* Columns() const { return columns_; }

    static std::function<QString(QWidget* parent, const QString& title, const QString& current)>
        NameAsker;

private:
    static constexpr const char* kWhat = "Export";
    static constexpr TNameMode kNameMode = TNameMode::Export;
    static int TypeOf(const TExport& t) { return t.ExportType; }
    static void SetType(TExport& t, int type) { t.ExportType = static_cast<std::int16_t>(type); }
    static TIoResult SaveList(const std::string& path, const TExportList& list) {
        return SaveExportTemplates(path, list);
    }
    TExport* Current() { return shown_ >= 0 ? &work_ : nullptr; }
    void LoadCurrent();
    void FillColumns();
    void ReadOptions();
    void StoreOptions();
    bool ValidOptions();
    // Puts field `field` into the next free column at position `at` (the end when
    // past it); false when every column is used.
    bool AddColumn(int field, int at);

    TExportList list_;
    const TBookData* book_;
    std::string path_;
    int type_;
    int shown_ = -1;
    TExport work_;
    bool loading_ = false;
    QComboBox* filter_ = nullptr;
    QComboBox* current_ = nullptr;
    QListWidget* available_ = nullptr;
    TSlotList* columns_ = nullptr;
    TDelimiterChoice separator_;
    TDelimiterChoice quote_;
    QCheckBox* header_ = nullptr;
    QCheckBox* mailMerge_ = nullptr;
    QCheckBox* split_ = nullptr;
    QSpinBox* splitCount_ = nullptr;
    QListWidget* saved_ = nullptr;
};

} // namespace tessaly
