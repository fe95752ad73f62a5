#pragma once
// "Address Book Options": pages "Fields", "Pages", "Index Keys", "Categories",
// "Addresses" and "Word Processor" over a TBookOptions working copy; "&Save as
// Default". OK leaves the copy for the book window to apply; Cancel drops it.

#include "core/book_options/book_options.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class QGroupBox;

namespace tessaly {

class TKeyLists;

class TBookOptionsDlg : public QDialog {
    Q_OBJECT
public:
    enum { kFieldsPage, kPagesPage, kIndexKeysPage, kCategoriesPage, kAddressesPage, kWordPage };

    TBookOptionsDlg(const TBookData& book, const TStoreSettings& settings, bool readOnly,
                    QWidget* parent = nullptr);

    const TBookOptions& Options() const { return options_; }
    bool SaveAsDefault() const;
    QTabWidget* Pages() const { return pages_; }

    // Whether a book file is open in another window with changes not yet saved.
    void SetUnsavedElsewhere(std::function<bool(const QString& path)> test) {
        unsavedElsewhere_ = std::move(test);
    }

    // Where "Inherit" gets its file; tests put their own chooser here.
    static std::function<QString(QWidget* parent)> InheritChooser;

    void accept() override;

private:
    QWidget* FieldsPage();
    QWidget* PagesPage();
    QWidget* IndexKeysPage();
    QWidget* CategoriesPage();
    QWidget* AddressesPage();
    QWidget* WordPage();
    void FillCategories(int select);
    void FillTemplates(int select);
    void CategoryChosen();
    void TemplateChosen();
    void NewCategory();
    void EditCategory();
    // Marks the selected item deleted (after the question); Restore takes the mark away.
    void DeleteCategory();
    void RestoreCategory();
    void ToggleCategoryDefault();
    void Inherit();
    // The template dialog on template `i` (a list index), -1 for a new one.
    void EditTemplate(int i);
    void DeleteTemplate();
    void RestoreTemplate();
    void ToggleTemplateDefault();
    void RefreshGroupCaptions();
    void StoreLabels();

    const TStoreSettings& settings_;
    TBookOptions options_;
    QTabWidget* pages_ = nullptr;
    std::array<QLineEdit*, TBookOptions::kFields> labels_{};
    std::array<QToolButton*, TBookOptions::kFields> shown_{};
    std::array<QLineEdit*, kPageCaptions> pageLabels_{};
    std::array<QGroupBox*, 3> groups_{};
    std::function<bool(const QString&)> unsavedElsewhere_;
    TKeyLists* indexKeys_ = nullptr;
    TKeyLists* insertFields_ = nullptr;
    QListWidget* categories_ = nullptr;
    QPushButton* editCategory_ = nullptr;
    QPushButton* deleteCategory_ = nullptr;
    QPushButton* restoreCategory_ = nullptr;
    QPushButton* defaultCategory_ = nullptr;
    QListWidget* templates_ = nullptr;
    QPushButton* editTemplate_ = nullptr;
    QPushButton* deleteTemplate_ = nullptr;
    QPushButton* restoreTemplate_ = nullptr;
    QPushButton* defaultTemplate_ = nullptr;
    QCheckBox* blankFields_ = nullptr;
    QCheckBox* labelPhones_ = nullptr;
    QCheckBox* saveDefault_ = nullptr;
};

} // namespace tessaly
