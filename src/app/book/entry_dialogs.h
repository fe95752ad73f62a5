#pragma once
// The small dialogs of the book window's editing commands: "Delete Entries",
// "Tag Entries" (in both its captions), "Find Entry with Text" and "Address Book
// Information". Each returns the user's choice; the window acts on it.

#include "core/book_window/delete_walk.h"
#include "core/book_window/entry_templates.h"
#include "core/book_window/tagging.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace tessaly {

class TDeleteEntriesDlg : public QDialog {
    Q_OBJECT
public:
    explicit TDeleteEntriesDlg(QWidget* parent = nullptr);
    TDeleteScope Scope() const;

private:
    QRadioButton* selected_ = nullptr;
    QRadioButton* listed_ = nullptr;
    QRadioButton* tagged_ = nullptr;
};

class TTagEntriesDlg : public QDialog {
    Q_OBJECT
public:
    TTagEntriesDlg(bool removing, bool selectedTagged, bool entrySelected,
                   QWidget* parent = nullptr);
    TTagScope Scope() const;

private:
    QRadioButton* selected_ = nullptr;
    QRadioButton* listed_ = nullptr;
    QRadioButton* all_ = nullptr;
};

class TFindEntryDlg : public QDialog {
    Q_OBJECT
public:
    TFindEntryDlg(const QString& text, bool matchCase, bool wholeWords, bool down,
                  QWidget* parent = nullptr);
    QString Text() const;
    bool MatchCase() const;
    bool WholeWords() const;
    bool Down() const;

private:
    QLineEdit* text_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* wholeWords_ = nullptr;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
};

// "Address Book Information": name, path, entries, dates and access, as given.
struct TBookInfo {
    QString Name;
    QString Path;
    int Entries = 0;
    QString Created;
    QString Updated;
    bool Locked = false;
};
class TBookInfoDlg : public QDialog {
    Q_OBJECT
public:
    TBookInfoDlg(const TBookInfo& info, QWidget* parent = nullptr);
};

// "Select Address Templates for Entry": tick the templates, order them with the two
// buttons; OK with none ticked is refused.
class TEntryTemplatesDlg : public QDialog {
    Q_OBJECT
public:
    TEntryTemplatesDlg(const TTemplateList& templates, const TAddressList& addresses,
                       QWidget* parent = nullptr);
    TAddressList Result() const { return edit_.Result(); }
    QListWidget* List() const { return list_; }

    void accept() override;

private:
    void Fill(int current);

    TEntryTemplates edit_;
    QListWidget* list_ = nullptr;
    bool filling_ = false;
};

} // namespace tessaly
