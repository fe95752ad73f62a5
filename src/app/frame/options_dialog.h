#pragma once
// The general options dialog ("General Options"): six pages editing the global
// settings. OK moves the configuration files when their folder changed, takes every
// setting from its control and saves the settings; a failed move keeps the dialog open.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace tessaly {

class TMainForm;
class TWordProPage;

class TOptionsDlg : public QDialog {
    Q_OBJECT
public:
    TOptionsDlg(TMainForm& frame, int page, QWidget* parent = nullptr);

    // The OK button's work; true when the dialog may close.
    bool Apply();
    void accept() override;
    // Cancel puts the word processor list back as it was.
    void reject() override;

    QTabWidget* Pages() const { return pages_; }
    // The configuration folder panel (editable through "Select").
    QLineEdit* FolderPanel() const { return folder_; }
    TWordProPage* WordProcessors() const { return wordPros_; }

private:
    QWidget* GeneralPage();
    QWidget* FilePage();
    QWidget* RemindersPage();
    QWidget* NotesPage();
    QWidget* WordProcessorPage();
    QWidget* NetworkPage();
    void SelectFolder();
    void ChangeBrowser();
    void UpdateEnabling();

    TMainForm& frame_;
    QString oldDirectory_;
    QTabWidget* pages_ = nullptr;
    QCheckBox* forceCategories_ = nullptr;
    QCheckBox* fastEdit_ = nullptr;
    QCheckBox* lockTab_ = nullptr;
    QCheckBox* confirmDrops_ = nullptr;
    QSpinBox* undoLevel_ = nullptr;
    QCheckBox* tooltips_ = nullptr;
    QCheckBox* boldLabels_ = nullptr;
    QCheckBox* highlightIndex_ = nullptr;
    QCheckBox* saveSelection_ = nullptr;
    QComboBox* tagColour_ = nullptr;
    QCheckBox* confirmDeletes_ = nullptr;
    QCheckBox* backup_ = nullptr;
    QCheckBox* autoSave_ = nullptr;
    QLabel* autoSaveLabel_ = nullptr;
    QSpinBox* autoSaveInterval_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QLabel* browser_ = nullptr;
    QCheckBox* indicateReminders_ = nullptr;
    QCheckBox* scanActive_ = nullptr;
    QLabel* scanLabel_ = nullptr;
    QSpinBox* scanReminders_ = nullptr;
    QSpinBox* advanceWarning_ = nullptr;
    QCheckBox* confirmReminders_ = nullptr;
    QCheckBox* confirmDeleteReminders_ = nullptr;
    QLineEdit* eventFormat_ = nullptr;
    QLineEdit* timeStamp_ = nullptr;
    QRadioButton* stampFirst_ = nullptr;
    QRadioButton* stampLast_ = nullptr;
    QCheckBox* networkScan_ = nullptr;
    QLabel* networkLabel_ = nullptr;
    QSpinBox* networkInterval_ = nullptr;
    QSpinBox* serverSyncInterval_ = nullptr;
    TWordProPage* wordPros_ = nullptr;
};

} // namespace tessaly
