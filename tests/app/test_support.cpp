#include "tests/app/test_support.h"

#include "app/book/book.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "core/diary/diary.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "tests/support/memory_settings_store.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace tessaly {

int TRecordingPresenter::Present(const TMessageRequest& request) {
    Requests.push_back(request);
    const QCursor* c = QGuiApplication::overrideCursor();
    Cursors.push_back(c ? c->shape() : Qt::BlankCursor);
    if (!Answers.empty()) {
        const int a = Answers.front();
        Answers.pop_front();
        return a;
    }
    if (Answer != 0)
        return Answer;
    for (const auto& b : request.Buttons)
        if (b.IsDefault)
            return b.Result;
    return mrOk;
}

TTestRun::TTestRun(MemorySettingsStore& store, const QString& configDir,
                   std::unique_ptr<ISyncNetwork> network) {
    Context.Store = std::make_unique<TSharedStore>(store);
    Context.SyncNetwork = std::move(network);
    auto desktop = std::make_unique<testing::TFakeDesktop>();
    Desktop = desktop.get();
    Context.Desktop = std::move(desktop);
    Context.ConfigDirectory = configDir;
    Context.ProgramDirectory = configDir + "/program";
    Context.ProductVersion = "3.0.0";
    Context.FileVersion = "3.0.0.0";
    Frame = std::make_unique<TMainForm>(Context);
    Frame->Timer()->stop(); // the tests tick it themselves
}

TTestRun::~TTestRun() {
    Frame.reset();
}

QString MakeBook(const QString& path, int entries) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    for (int i = 0; i < entries; ++i)
        book->Entries.Add(std::make_unique<TRecord>());
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

QString MakePeopleBook(const QString& path, int count) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    for (int i = 1; i <= count; ++i) {
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, FromQString(QString("Person%1").arg(i, 2, 10, QChar('0'))));
        book->Entries.Add(std::move(e));
    }
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

QString MakeDiary(const QString& path) {
    auto diary = NewDiary(PathToCore(path));
    if (!SaveDiary(*diary, false, TStoreSettings()).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

TBook* OpenShownBook(TTestRun& run, const QString& path) {
    run.Frame->show();
    if (!QTest::qWaitForWindowExposed(run.Frame.get()))
        return nullptr;
    QApplication::setActiveWindow(run.Frame.get());
    if (!run.Frame->OpenBookFile(path, true, false))
        return nullptr;
    auto* book = qobject_cast<TBook*>(run.Frame->ActiveChild());
    if (book) {
        if (!QTest::qWaitForWindowActive(run.Frame.get()))
            return nullptr;
        book->ListBox()->setFocus();
    }
    return book;
}

QStringList ListedSurnames(TBook& book) {
    QStringList out;
    for (int i = 0; i < book.EntryModel()->rowCount(); ++i)
        out << ToQString(book.EntryModel()->EntryAt(i)->NameField(kFieldSurname));
    return out;
}

QAction* MenuAction(TBook& book, const QString& text) {
    for (QMenu* m : book.WindowMenus())
        for (QAction* a : m->actions())
            if (a->text() == text)
                return a;
    return nullptr;
}

void ClickTab(QDialog* dialog, int page) {
    QTabBar* bar = dialog->findChild<QTabWidget*>()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace tessaly

namespace tessaly {

void OnModalDialog(const QString& caption, std::function<void(QDialog*)> act, int tries) {
    QTimer::singleShot(10, [caption, act, tries] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d || !d->windowTitle().startsWith(caption)) {
            if (tries > 0)
                OnModalDialog(caption, act, tries - 1);
            else
                qWarning("no dialog %s", qPrintable(caption));
            return;
        }
        act(d);
        if (d->isVisible())
            d->reject();
    });
}

bool ClickCalendarDay(QCalendarWidget* calendar, int day) {
    auto* view = calendar->findChild<QTableView*>("qt_calendar_calendarview");
    if (!view)
        return false;
    QAbstractItemModel* m = view->model();
    // Row 0 is the weekday header; the first week may end the month before and the
    // last two may start the month after.
    for (int row = 1; row < m->rowCount(); ++row)
        for (int col = 0; col < m->columnCount(); ++col) {
            const QModelIndex i = m->index(row, col);
            if (m->data(i).toInt() != day || (row == 1 && day > 7) || (row >= 5 && day < 15))
                continue;
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(i).center());
            return true;
        }
    return false;
}

QPushButton* DialogButton(QWidget* window, const QString& caption) {
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text() == caption && b->isVisibleTo(window))
            return b;
    return nullptr;
}

void ClickDialogButton(QWidget* window, const QString& caption) {
    QPushButton* b = DialogButton(window, caption);
    if (!b) {
        qWarning("no button %s", qPrintable(caption));
        return;
    }
    QTest::mouseClick(b, Qt::LeftButton);
}

void ReplaceText(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

QString ClippedCaption(const QWidget* window) {
    for (const QLabel* l : window->findChildren<QLabel*>()) {
        if (!l->isVisible() || l->text().isEmpty() || l->wordWrap() ||
            l->textFormat() == Qt::RichText)
            continue;
        const QString shown = QString(l->text()).remove('&');
        const int needed = l->fontMetrics().horizontalAdvance(shown);
        if (l->contentsRect().width() < needed)
            return QString("%1: %2 < %3").arg(shown).arg(l->contentsRect().width()).arg(needed);
    }
    return {};
}

QString CutColumn(const QTreeView* list, int first, int last) {
    for (int column = first; column <= last; ++column) {
        const int width = list->header()->sectionSize(column);
        const int needed = static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(column);
        if (width < needed)
            return QString("%1: %2 < %3")
                .arg(list->model()->headerData(column, Qt::Horizontal).toString())
                .arg(width)
                .arg(needed);
    }
    return {};
}

} // namespace tessaly
