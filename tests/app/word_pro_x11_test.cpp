// The word processor link on a real X11 session (run under Xvfb with the xcb
// platform): a plain X window of the test, titled like a word processor and with no
// window manager about, is found among the root window's children, given the focus
// and sent Shift+Insert; as a real editor would, it then asks for the clipboard and
// keeps what it gets as its text. The program's own window with a matching title is
// passed over, and the clipboard and the primary selection hold the same text.

#include "app/book/book.h"
#include "core/exchange/word_pro.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "platform/word_pro_desktop.h"
#include "tests/app/test_support.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTest>
#include <QToolButton>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

using namespace tessaly;

namespace {

// A window that behaves as an editor does on Shift+Insert: it converts the CLIPBOARD
// selection to UTF-8 text and keeps the result.
class TPlainEditor {
public:
    explicit TPlainEditor(const char* title) {
        display_ = XOpenDisplay(nullptr);
        if (!display_)
            return;
        const int screen = DefaultScreen(display_);
        window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 40, 40, 400, 200, 1,
                                      BlackPixel(display_, screen), WhitePixel(display_, screen));
        XSelectInput(display_, window_, KeyPressMask | PropertyChangeMask | FocusChangeMask);
        XStoreName(display_, window_, title);
        const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
        XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_NAME", False), utf8, 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(title),
                        int(strlen(title)));
        XMapWindow(display_, window_);
        XSync(display_, False);
    }
    ~TPlainEditor() {
        if (display_) {
            XDestroyWindow(display_, window_);
            XCloseDisplay(display_);
        }
    }
    bool Ok() const { return display_ != nullptr; }
    Window Id() const { return window_; }

    // Handles the window's events while the program's own run, until the text came or
    // the time is up.
    bool WaitForText(int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            while (XPending(display_)) {
                XEvent e;
                XNextEvent(display_, &e);
                Handle(e);
            }
            if (received_)
                return true;
            QTest::qWait(5);
        }
        return false;
    }
    const QString& Text() const { return text_; }
    int Pastes() const { return pastes_; }

private:
    void Handle(XEvent& e) {
        if (e.type == KeyPress) {
            const KeySym key = XLookupKeysym(&e.xkey, 0);
            if (key == XK_Insert && (e.xkey.state & ShiftMask)) {
                ++pastes_;
                XConvertSelection(display_, XInternAtom(display_, "CLIPBOARD", False),
                                  XInternAtom(display_, "UTF8_STRING", False),
                                  XInternAtom(display_, "PASTED", False), window_, e.xkey.time);
                XFlush(display_);
            }
        } else if (e.type == SelectionNotify && e.xselection.property != 0) {
            Atom type = 0;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            XGetWindowProperty(display_, window_, e.xselection.property, 0, 1 << 20, True,
                               AnyPropertyType, &type, &format, &count, &after, &data);
            if (data) {
                text_ = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
                XFree(data);
            }
            received_ = true;
        }
    }

    Display* display_ = nullptr;
    Window window_ = 0;
    QString text_;
    bool received_ = false;
    int pastes_ = 0;
};

QString MakeMullerBook(const QString& path) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    auto e = std::make_unique<TRecord>();
    e->SetNameField(kFieldFirstName, "J\xfcrgen"); // Windows-1252
    e->SetNameField(kFieldSurname, "M\xfcller");
    const int a = e->Addresses.AddAddress(book->Templates.TemplateId(1));
    e->Addresses.SetFieldOf(a, kFieldCompany, "Gr\xfcn & Co");
    book->Entries.Add(std::move(e));
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

} // namespace

class TWordProX11Test : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init() { Begin(); }
    void cleanup() { End(); }
    void ShiftInsertReachesTheWordProcessorWindow();
    void AWindowThatIsGoneIsNeitherFocusedNorTypedInto();
};

void TWordProX11Test::ShiftInsertReachesTheWordProcessorWindow() {
    if (QGuiApplication::platformName() != "xcb")
        QSKIP("needs an X11 session (the xcb platform)");
    QDir().mkpath(Path("cfg"));
    TTestRun run(*store_, Path("cfg"));
    // Without a window manager no window becomes active by itself.
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    QVERIFY(run.Frame->OpenBookFile(MakeMullerBook(Path("Muller.ADR")), true, false));
    auto* book = qobject_cast<TBook*>(run.Frame->ActiveChild());
    QVERIFY(book);
    // One of the program's own windows, in front, whose title would match.
    QWidget own;
    own.setWindowTitle("notes - LibreOffice Writer");
    own.resize(200, 100);

    TPlainEditor editor("letter.odt - LibreOffice Writer");
    QVERIFY(editor.Ok());
    own.show();
    QVERIFY(QTest::qWaitForWindowExposed(&own));
    QApplication::setActiveWindow(run.Frame.get());

    run.Frame->WordProcessors().SelectWordProcessor("LibreOffice Writer");
    book->ShowCurrentEntry();
    run.Frame->TimerTick();
    QToolButton* tool = run.Frame->ToolButton(1, "Insert to Word Processor");
    QVERIFY(tool->isEnabled());
    QTest::mouseClick(tool, Qt::LeftButton);
    QVERIFY(messages_->Requests.empty());

    QVERIFY(editor.WaitForText(5000));
    const QString expected = QString::fromUtf8("J\u00fcrgen M\u00fcller\r\nGr\u00fcn & Co\r\n");
    QCOMPARE(editor.Pastes(), 1);
    QCOMPARE(editor.Text(), expected);
    QCOMPARE(QGuiApplication::clipboard()->text(QClipboard::Clipboard), expected);
    QCOMPARE(QGuiApplication::clipboard()->text(QClipboard::Selection), expected);
}

void TWordProX11Test::AWindowThatIsGoneIsNeitherFocusedNorTypedInto() {
    if (QGuiApplication::platformName() != "xcb")
        QSKIP("needs an X11 session (the xcb platform)");
    TDesktopWordPro desktop;
    QVERIFY(desktop.CanType());
    auto editor = std::make_unique<TPlainEditor>("gone.txt - Mousepad");
    QVERIFY(editor->Ok());
    const std::vector<TTopWindow> windows = desktop.TopLevelWindows();
    const auto found = FindWordProWindow(windows, "Mousepad");
    QVERIFY(found);
    QCOMPARE(windows[*found].Id, std::uint64_t(editor->Id()));
    QCOMPARE(windows[*found].Title, std::string("gone.txt - Mousepad"));
    editor.reset(); // the user closed it meanwhile
    // The errors of a window that is gone do not end the program.
    QVERIFY(!desktop.BringForward(windows[*found].Id));
    QVERIFY(!FindWordProWindow(desktop.TopLevelWindows(), "Mousepad"));
}

QTEST_MAIN(TWordProX11Test)
#include "word_pro_x11_test.moc"
