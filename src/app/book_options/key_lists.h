#pragma once
// The two lists of an index-key editor side by side: the available fields, the buttons
// "&Add", "&Delete", "M&ove" (up), "Mo&ve" (down) and, for keys with a sort flag,
// "&Sort By", and the chosen keys. Fields are dragged between the lists and keys
// within theirs with the mouse (press, move, release; no platform drag session), a
// double click on a field adds it and one on a key toggles its sort flag. Every
// decision is the editor's; this only shows and forwards.

#include "core/organise/key_list_editor.h"

#include <QWidget>

class QListWidget;
class QPushButton;

namespace tessaly {

// Object names of the lists and buttons, so that two editors can share a dialog.
struct TKeyListNames {
    const char* Available;
    const char* Keys;
    const char* Add;
    const char* Delete;
    const char* Up;
    const char* Down;
    const char* SortBy; // unused without sort flags
};

class TKeyLists : public QWidget {
    Q_OBJECT
public:
    TKeyLists(TKeyListEditor& editor, const QString& availableCaption, const QString& keysCaption,
              const TKeyListNames& names, QWidget* parent = nullptr);

    // Lists filled again from the editor, key `selectKey` selected, buttons enabled.
    void Fill(int selectKey);
    QListWidget* AvailableList() const { return available_; }
    QListWidget* KeyList() const { return keys_; }

signals:
    // After every change made here.
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EnableControls();
    void AddField();
    void Done(int select);
    // A drag ended at global position `at`.
    void Drop(const QPoint& at);
    void EndDrag();

    TKeyListEditor& editor_;
    QListWidget* available_ = nullptr;
    QListWidget* keys_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* sortBy_ = nullptr;
    // The drag in progress: the list and row pressed, where, and whether the mouse
    // has moved far enough to be dragging.
    QListWidget* dragFrom_ = nullptr;
    int dragRow_ = -1;
    QPoint pressedAt_;
    bool dragging_ = false;
};

} // namespace tessaly
