#include "tests/app/test_support.h"

#include "app/book/book.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "tests/support/memory_settings_store.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

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

TTestRun::TTestRun(MemorySettingsStore& store, const QString& configDir) {
    Context.Store = std::make_unique<TSharedStore>(store);
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

QString MakeDiary(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("could not write %s", qPrintable(path));
    f.write("diary");
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
