#include "tests/app/test_support.h"

#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "tests/support/memory_settings_store.h"

#include <QFile>
#include <QGuiApplication>
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

} // namespace tessaly
