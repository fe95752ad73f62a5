#pragma once
// "Search Address Book": edits the book's saved searches and chooses the active one.
// Pages "&Basic" (the basic options), "&Advanced" (the rule editor) and "&Saved
// Searches" (rename, delete), the "Active Search" list, "Sa&ve As". Every check and the
// copy that Cancel puts back live in TSearchEditor; the dialog shows and forwards.

#include "core/organise/search_editor.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;
class QTreeWidget;

namespace tessaly {

class TFilterForm : public QDialog {
    Q_OBJECT
public:
    TFilterForm(TFilterList& searches, const TTemplateList& templates,
                const TCategoryList& categories, const TFormatSettings& fs, bool readOnly,
                const QString& bookName, QWidget* parent = nullptr,
                const IClock& clock = SystemClock::Instance());

    void accept() override;
    void reject() override;

private:
    QWidget* BasicPage();
    QWidget* AdvancedPage();
    QWidget* SavedPage();
    QLineEdit* DateBox(QWidget* parent, const char* name);
    void PopUpCalendar(QLineEdit* box);

    TSearchOptions Controls() const;
    void LoadControls();
    void FillNames();
    void FillRules(int select);
    void ShowFault(const TSearchFault& fault);
    void EnableControls();
    void FieldChosen(int choice);
    void RuleSelected();
    TRuleInput EditorInput() const;
    void AddRule();
    void UpdateRule();
    void DeleteRule();
    void ActiveChosen(int i);
    void PageChanged(int page);
    void SaveAs();
    void SavedSelected();
    void DeleteSaved();
    void RenameSaved();
    void StoreHeaderWidths();

    TFilterList& searches_;
    const TFormatSettings fs_;
    const IClock& clock_;
    TSearchEditor editor_;
    bool readOnly_ = false;
    bool loading_ = false;
    int shownPage_ = 0;

    QComboBox* active_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QCheckBox* startsWithOn_ = nullptr;
    QLineEdit* startsWith_ = nullptr;
    QCheckBox* categoriesOn_ = nullptr;
    QRadioButton* and_ = nullptr;
    QRadioButton* or_ = nullptr;
    QListWidget* categories_ = nullptr;
    QCheckBox* excludeTagged_ = nullptr;
    QCheckBox* excludeUntagged_ = nullptr;
    QCheckBox* excludeNoReminders_ = nullptr;
    QCheckBox* excludeNoAttachments_ = nullptr;

    QLabel* basicNote_ = nullptr;
    QTreeWidget* rules_ = nullptr;
    QComboBox* field_ = nullptr;
    QStackedWidget* editorPages_ = nullptr;
    QLineEdit* text_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* wholeWords_ = nullptr;
    QLineEdit* fromDate_ = nullptr;
    QLineEdit* toDate_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* update_ = nullptr;
    QPushButton* deleteRule_ = nullptr;

    QListWidget* saved_ = nullptr;
    QPushButton* deleteSaved_ = nullptr;
    QPushButton* renameSaved_ = nullptr;
    QPushButton* saveAs_ = nullptr;
};

} // namespace tessaly
