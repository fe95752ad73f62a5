#pragma once
// Page 1 of the book window: the entry's notes in `F_Notes` under a header captioned
// with a space and the book's Notes label.

#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace tessaly {

class TBookData;
class TRecord;
struct TSettings;

class TNotesPage : public QWidget {
    Q_OBJECT
public:
    explicit TNotesPage(QWidget* parent = nullptr);
    void Fill(const TRecord& entry, const TBookData& book, const TSettings& settings);
    // Copies the notes into the entry when the user changed them. The notes are never
    // cut: the whole text goes back, however long.
    void Store(TRecord& entry) const;
    void SetReadOnly(bool readOnly);
    QPlainTextEdit* Editor() const { return notes_; }
    bool NotesVisible() const;

signals:
    // The user changed the notes (not the filling of the page).
    void Typed(QWidget* field);

private:
    bool filling_ = false;
    QLabel* header_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
};

} // namespace tessaly
