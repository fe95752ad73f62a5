#pragma once
// What the program's suites share: a message presenter that records and answers, a
// frame on a settings store of its own, and books made on disk.

#include "app/frame/main_form.h"
#include "app/widgets/app_context.h"
#include "app/widgets/message_dialog.h"
#include "core/system/settings_store.h"
#include "tests/support/fake_desktop.h"
#include "tests/support/memory_settings_store.h"

#include <QCursor>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCalendarWidget;
class QDialog;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace tessaly {

class TBook;

class TRecordingPresenter final : public IMessagePresenter {
public:
    TRecordingPresenter() { SetMessagePresenter(this); }
    ~TRecordingPresenter() override { SetMessagePresenter(nullptr); }
    int Present(const TMessageRequest& request) override;

    std::vector<TMessageRequest> Requests;
    // The cursor shape in force while each message was shown.
    std::vector<Qt::CursorShape> Cursors;
    // The answer given; 0 answers the default button. Answers queued in `Answers` are
    // given first, one per message.
    int Answer = 0;
    std::deque<int> Answers;
};

// A settings store shared by frames one after another (the runs of the program).
class TSharedStore final : public ISettingsStore {
public:
    explicit TSharedStore(MemorySettingsStore& store) : store_(store) {}
    std::optional<std::string> Read(const std::string& s, const std::string& n) const override {
        return store_.Read(s, n);
    }
    bool Write(const std::string& s, const std::string& n, const std::string& v) override {
        return store_.Write(s, n, v);
    }
    bool EraseSection(const std::string& s) override { return store_.EraseSection(s); }
    std::vector<std::string> ValueNames(const std::string& s) const override {
        return store_.ValueNames(s);
    }

private:
    MemorySettingsStore& store_;
};

// One run of the program on a store and a configuration folder; `network` (none: the
// desktop's) is what its sync rounds reach.
struct TTestRun {
    TTestRun(MemorySettingsStore& store, const QString& configDir,
             std::unique_ptr<ISyncNetwork> network = nullptr);
    ~TTestRun();
    TAppContext Context;
    // Records what would have been opened; nothing real is ever started by a test.
    testing::TFakeDesktop* Desktop = nullptr;
    std::unique_ptr<TMainForm> Frame;
};

// What each test of a program suite starts with fresh: a scratch folder, settings in
// memory and a message presenter that records instead of showing. A suite's init()
// calls Begin() and its cleanup() End().
class TProgramFixture {
protected:
    void Begin() {
        dir_ = std::make_unique<QTemporaryDir>();
        store_ = std::make_unique<MemorySettingsStore>();
        messages_ = std::make_unique<TRecordingPresenter>();
    }
    void End() {
        messages_.reset();
        store_.reset();
        dir_.reset();
    }
    QString Path(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<MemorySettingsStore> store_;
    std::unique_ptr<TRecordingPresenter> messages_;
};

// Opens a book in a frame that is shown and active, so that keys reach it; the list
// has the focus. Null when the book did not open.
TBook* OpenShownBook(TTestRun& run, const QString& path);
// The surnames of the listed entries, in list order.
QStringList ListedSurnames(TBook& book);
// The book window's menu item with this caption, null when none.
QAction* MenuAction(TBook& book, const QString& text);
// A click on tab `page` of the dialog's page control.
void ClickTab(QDialog* dialog, int page);
// The whole file, empty when it cannot be read.
QByteArray FileBytes(const QString& path);

// Runs `act` on the next modal dialog whose caption starts with `caption` once it is
// the active one; a dialog still open afterwards is rejected, so a failed check never
// hangs the run.
void OnModalDialog(const QString& caption, std::function<void(QDialog*)> act, int tries = 300);
// The visible push button of a window with this caption, null when none.
QPushButton* DialogButton(QWidget* window, const QString& caption);
// Clicks that button with the mouse (a warning when there is none).
void ClickDialogButton(QWidget* window, const QString& caption);
// Replaces a line edit's text as a user does: click, select all, type.
void ReplaceText(QLineEdit* field, const QString& text);

// Clicks day `day` of the month a calendar shows, where a user would click; false
// when the calendar shows no such day.
bool ClickCalendarDay(QCalendarWidget* calendar, int day);

// The first of the columns `first` to `last` of `list` narrower than its texts, as
// "caption: width < needed"; empty when every one shows its texts whole.
QString CutColumn(const QTreeView* list, int first, int last);

// The first shown caption (a label's text) of `window` drawn narrower than its text,
// as "text: width < needed"; empty when every one shows whole.
QString ClippedCaption(const QWidget* window);

// Writes an empty book with `entries` blank entries; returns its path.
QString MakeBook(const QString& path, int entries = 0);
// Writes a book of `count` entries with the surnames "Person01", "Person02", ...
QString MakePeopleBook(const QString& path, int count);
// Writes a new, empty diary; returns its path.
QString MakeDiary(const QString& path);

} // namespace tessaly
