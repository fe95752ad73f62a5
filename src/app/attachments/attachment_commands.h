#pragma once
// The "Attac&hments" commands of a book window: the menu and the page's pop-up menu,
// adding, editing, removing, opening and inspecting the work record's attachments,
// and the list's sort key and view style. The window tells it what it needs through
// a host of callbacks.

#include <QObject>
#include <functional>
#include <string>

class QAction;
class QMenu;
class QWidget;

namespace tessaly {

class IDesktop;
class TAttachmentsPage;
class TBookData;
class TDocument;
class TSettingsAccess;
struct TFormatSettings;

struct TAttachmentHost {
    std::function<TBookData*()> Book;           // WorkRecord is the entry shown
    std::function<bool()> AttachmentsPageShown; // the fifth page is the one shown
    std::function<bool()> ReadOnly;             // the book is locked
    std::function<bool()> Editing;              // an entry is being added or updated
    std::function<bool()> HasEntry;             // an entry is selected or being edited
    std::function<void()> StartNewEntry;        // as "Add Entry"
    std::function<void()> ApplyAtOnce;          // stores the work record in the book
    std::function<void(const std::string& path)> OpenInProgram; // one of our files
    std::function<std::string()> BrowserPath;
    std::function<const TFormatSettings&()> Formats;
};

class TAttachmentCommands : public QObject {
    Q_OBJECT
public:
    TAttachmentCommands(QWidget* window, TAttachmentsPage* page, TSettingsAccess& settings,
                        IDesktop& desktop, TAttachmentHost host);

    QMenu* Menu() const { return menu_; }
    // Enables and checks the items as the window stands now.
    void Refresh();

    void Add();
    void Edit();
    void Remove();
    void Open();
    void Properties();
    // Adds an attachment to the work record, asking first when its file is attached
    // already; true when it was added. The caller stores the change.
    bool AppendToWorkRecord(const TDocument& attachment);

private:
    void SetByDescription(bool byDescription);
    void SetViewStyle(int style);
    void Changed(int select);

    QWidget* window_;
    TAttachmentsPage* page_;
    TSettingsAccess& settings_;
    IDesktop& desktop_;
    TAttachmentHost host_;
    QMenu* menu_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* add_ = nullptr;
    QAction* edit_ = nullptr;
    QAction* remove_ = nullptr;
    QAction* open_ = nullptr;
    QAction* properties_ = nullptr;
    QAction* byDescription_ = nullptr;
    QAction* byFileName_ = nullptr;
    QAction* views_[4] = {};
};

} // namespace tessaly
