#pragma once
// "Import Wizard": the file, the template (of the kind the window takes, validated
// against the file) and the confirmation, then the import with a progress bar.

#include "app/exchange/wizard_frame.h"
#include "core/exchange/import.h"
#include "core/settings/settings_access.h"

#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;

namespace tessaly {

class TImportWizard : public TWizardFrame {
    Q_OBJECT
public:
    // Runs the import of a file through a template, reporting progress.
    using TRunner = std::function<TImportResult(const TImport& tpl, const std::string& path,
                                                const std::function<bool(int)>& progress)>;
    // `type` is 5 for a book, 6 for a diary; `title` the window's title.
    // "&Templates" edits the templates of `templatesPath` (slots named after `book`).
    TImportWizard(QWidget* parent, TSettingsAccess& access, const TImportList& templates, int type,
                  const QString& title, TRunner runner, std::string templatesPath = std::string(),
                  const TBookData* book = nullptr);

    QComboBox* FileBox() const { return file_; }
    QListWidget* TemplateList() const { return templates_; }
    QProgressBar* Progress() const { return progress_; }
    const TImportResult& Result() const { return result_; }

    // Picks a file for "&Browse"; tests replace it.
    static std::function<QString(QWidget* parent, const QString& current)> FileChooser;

protected:
    bool Accept(int page) override;
    bool Run() override;
    void Entered(int page) override;

private:
    const TImport* Chosen() const;
    void FillTemplates();

    TSettingsAccess& access_;
    TImportList list_;
    std::string templatesPath_;
    const TBookData* book_;
    int type_;
    TRunner runner_;
    QComboBox* file_ = nullptr;
    QListWidget* templates_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* validating_ = nullptr;
    QProgressBar* progress_ = nullptr;
    int count_ = 0;
    bool stop_ = false;
    TImportResult result_;
};

} // namespace tessaly
