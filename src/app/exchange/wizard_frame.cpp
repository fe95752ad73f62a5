#include "app/exchange/wizard_frame.h"

#include "core/exchange/export_mru.h"
#include "platform/qt_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tessaly {

TWizardFrame::TWizardFrame(QWidget* parent) : QDialog(parent) {
    auto* layout = new QVBoxLayout(this);
    pages_ = new QStackedWidget(this);
    layout->addWidget(pages_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    back_ = new QPushButton("< &Back", this);
    next_ = new QPushButton("&Next >", this);
    cancel_ = new QPushButton("Cancel", this);
    next_->setDefault(true);
    for (QPushButton* b : {back_, next_, cancel_})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(back_, &QPushButton::clicked, this, [this] { Step(-1); });
    connect(next_, &QPushButton::clicked, this, [this] { Step(1); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    Refresh();
}

int TWizardFrame::Page() const {
    return pages_->currentIndex();
}

QComboBox* TWizardFrame::AddFileRow(QVBoxLayout* page, const TExportMru& mru,
                                    const TFileChooser* chooser) {
    auto* row = new QHBoxLayout;
    auto* file = new QComboBox(this);
    file->setEditable(true);
    for (const std::string& f : mru.Files)
        file->addItem(ToQString(f));
    file->setEditText(ToQString(mru.Last));
    auto* browse = new QPushButton("&Browse", this);
    row->addWidget(file, 1);
    row->addWidget(browse);
    page->addLayout(row);
    connect(browse, &QPushButton::clicked, this, [this, file, chooser] {
        const QString chosen = (*chooser)(this, file->currentText());
        if (!chosen.isEmpty())
            file->setEditText(chosen);
    });
    return file;
}

QVBoxLayout* TWizardFrame::AddPage() {
    auto* page = new QWidget(pages_);
    auto* layout = new QVBoxLayout(page);
    pages_->addWidget(page);
    Refresh();
    return layout;
}

void TWizardFrame::Step(int delta) {
    const int page = Page();
    if (delta > 0 && !Accept(page))
        return;
    if (delta > 0 && page == pages_->count() - 1) {
        if (Run())
            accept();
        return;
    }
    pages_->setCurrentIndex(std::clamp(page + delta, 0, pages_->count() - 1));
    Refresh();
    Entered(Page());
}

void TWizardFrame::Refresh() {
    back_->setEnabled(Page() > 0);
    next_->setText(Page() == pages_->count() - 1 ? "&Finish" : "&Next >");
}

} // namespace tessaly
