#pragma once
// The export wizard: what to export (entries, reminders, call logs, diary events),
// which records, the template and the text encoding, and the file, then the export
// with a progress bar.

#include "app/exchange/wizard_frame.h"
#include "core/exchange/export.h"
#include "core/exchange/record_order.h"
#include "core/settings/settings_access.h"

#include <QStringList>
#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QListWidget;
class QProgressBar;

namespace tessaly {

class TBookData;

// What the wizard asks the window to export.
struct TExportChoice {
    int Type = kExportEntries;
    TEntrySelection Selection = TEntrySelection::All;
    TAddressChoice Addresses = TAddressChoice::First;
    int AddressTemplateId = 0;
    bool AllDates = true;
    TDateTime First = 0;
    TDateTime Last = 0;
    bool IncludeCompleted = true;
};

class TExportWizard : public TWizardFrame {
    Q_OBJECT
public:
    // Runs the export; `progress` carries the wizard's progress bar and Cancel.
    using TRunner = std::function<TExportText(const TExport& tpl, const TExportChoice& choice,
                                              const TExportOptions& progress)>;
    // A book's wizard (`diary` false) offers entries, reminders and call logs, with
    // the book's address templates (name, id) for the address choice; a diary's, its
    // events.
    // "&Templates" edits the templates of `templatesPath` (fields named after `book`).
    TExportWizard(QWidget* parent, TSettingsAccess& access, const TExportList& templates,
                  bool diary, const QString& title,
                  const std::vector<std::pair<QString, int>>& addressTemplates, TRunner runner,
                  std::string templatesPath = std::string(), const TBookData* book = nullptr);

    QButtonGroup* Types() const { return types_; }
    QButtonGroup* Selections() const { return selections_; }
    QComboBox* AddressBox() const { return addresses_; }
    QListWidget* TemplateList() const { return templates_; }
    QComboBox* EncodingBox() const { return encoding_; }
    QComboBox* FileBox() const { return file_; }
    QCheckBox* AllDatesBox() const { return allDates_; }
    QCheckBox* CompletedBox() const { return completed_; }
    QProgressBar* Progress() const { return progress_; }
    int Written() const { return written_; }

    static std::function<QString(QWidget* parent, const QString& current)> FileChooser;

protected:
    bool Accept(int page) override;
    bool Run() override;
    void Entered(int page) override;

private:
    int Type() const;
    const TExport* Chosen() const;
    void FillTemplates();
    TExportChoice Choice() const;

    TSettingsAccess& access_;
    TExportList list_;
    std::string templatesPath_;
    const TBookData* book_;
    bool diary_;
    TRunner runner_;
    QButtonGroup* types_ = nullptr;
    QButtonGroup* selections_ = nullptr;
    QComboBox* addresses_ = nullptr;
    QCheckBox* allDates_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QCheckBox* completed_ = nullptr;
    QListWidget* templates_ = nullptr;
    QComboBox* encoding_ = nullptr;
    QComboBox* file_ = nullptr;
    QProgressBar* progress_ = nullptr;
    bool stop_ = false;
    int written_ = -1;
};

} // namespace tessaly
