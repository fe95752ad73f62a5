#include "platform/word_pro_desktop.h"

#include "platform/qt_text.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWindow>
#include <algorithm>
#include <unistd.h>

#ifdef TESSALY_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#endif

namespace tessaly {

#ifdef TESSALY_HAVE_X11

namespace {

// How long a window is given to take the focus before the keys are sent.
constexpr int kFocusWaitMs = 1000;

// Another program's window may go at any moment: while one of these lives the errors
// that brings (a window gone, a window not viewable) are ignored instead of ending
// the program, which is what Xlib does with them by default.
class TErrorTrap {
public:
    explicit TErrorTrap(Display* d) : d_(d) {
        XSync(d_, False);
        old_ = XSetErrorHandler(&Ignore);
    }
    ~TErrorTrap() {
        XSync(d_, False);
        XSetErrorHandler(old_);
    }
    TErrorTrap(const TErrorTrap&) = delete;
    TErrorTrap& operator=(const TErrorTrap&) = delete;

private:
    static int Ignore(Display*, XErrorEvent*) { return 0; }
    Display* d_;
    XErrorHandler old_ = nullptr;
};

} // namespace

struct TDesktopWordPro::TX11 {
    Display* display = nullptr;
    bool xtest = false;

    TX11() {
        display = XOpenDisplay(nullptr);
        if (!display)
            return;
        int event = 0, error = 0, major = 0, minor = 0;
        xtest = XTestQueryExtension(display, &event, &error, &major, &minor) != 0;
    }
    ~TX11() {
        if (display)
            XCloseDisplay(display);
    }

    Atom Intern(const char* name) const { return XInternAtom(display, name, False); }

    // A property of 32-bit items (windows, cardinals); empty when the window lacks it.
    std::vector<unsigned long> Longs(Window w, Atom property, Atom type) const {
        std::vector<unsigned long> out;
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, w, property, 0, 65536, False, type, &actual, &format,
                               &count, &after, &data) == Success &&
            data && format == 32) {
            const auto* items = reinterpret_cast<const unsigned long*>(data);
            out.assign(items, items + count);
        }
        if (data)
            XFree(data);
        return out;
    }

    // The window's title: _NET_WM_NAME (UTF-8), else WM_NAME.
    QString Title(Window w) const {
        Atom actual = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        QString title;
        if (XGetWindowProperty(display, w, Intern("_NET_WM_NAME"), 0, 1024, False,
                               Intern("UTF8_STRING"), &actual, &format, &count, &after,
                               &data) == Success &&
            data && format == 8)
            title = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
        if (data)
            XFree(data);
        if (!title.isEmpty())
            return title;
        XTextProperty text{};
        if (XGetWMName(display, w, &text) && text.value) {
            char** list = nullptr;
            int n = 0;
            if (Xutf8TextPropertyToTextList(display, &text, &list, &n) >= Success && list && n > 0)
                title = QString::fromUtf8(list[0]);
            if (list)
                XFreeStringList(list);
            XFree(text.value);
        }
        return title;
    }

    bool Viewable(Window w) const {
        XWindowAttributes a{};
        return XGetWindowAttributes(display, w, &a) && a.map_state == IsViewable;
    }

    // The window manager's clients bottom to top, or the root's mapped children.
    std::vector<Window> Stacking(bool& managed) const {
        const Window root = DefaultRootWindow(display);
        std::vector<Window> out;
        for (unsigned long w : Longs(root, Intern("_NET_CLIENT_LIST_STACKING"), XA_WINDOW))
            out.push_back(static_cast<Window>(w));
        managed = !out.empty();
        if (managed)
            return out;
        Window rootReturn = 0, parent = 0;
        Window* children = nullptr;
        unsigned int n = 0;
        if (XQueryTree(display, root, &rootReturn, &parent, &children, &n)) {
            for (unsigned int i = 0; i < n; ++i)
                if (Viewable(children[i]))
                    out.push_back(children[i]);
        }
        if (children)
            XFree(children);
        return out;
    }

    bool Managed() const {
        bool managed = false;
        Stacking(managed);
        return managed;
    }

    // Whether the keyboard focus is on the window or inside it.
    bool HasFocus(Window target) const {
        Window w = 0;
        int revert = 0;
        XGetInputFocus(display, &w, &revert);
        const Window root = DefaultRootWindow(display);
        while (w && w != PointerRoot && w != root) {
            if (w == target)
                return true;
            Window rootReturn = 0, parent = 0;
            Window* children = nullptr;
            unsigned int n = 0;
            if (!XQueryTree(display, w, &rootReturn, &parent, &children, &n))
                return false;
            if (children)
                XFree(children);
            w = parent;
        }
        return false;
    }
};

TDesktopWordPro::TDesktopWordPro() : x11_(std::make_unique<TX11>()) {}

TDesktopWordPro::~TDesktopWordPro() = default;

bool TDesktopWordPro::CanType() {
    return x11_->display && x11_->xtest;
}

std::vector<TTopWindow> TDesktopWordPro::TopLevelWindows() {
    std::vector<TTopWindow> out;
    if (!CanType())
        return out;
    std::vector<std::uint64_t> own;
    if (QGuiApplication::platformName() == "xcb")
        for (QWindow* w : QGuiApplication::allWindows())
            if (w->handle())
                own.push_back(w->winId());
    const unsigned long pid = static_cast<unsigned long>(getpid());
    TErrorTrap trap(x11_->display);
    bool managed = false;
    const std::vector<Window> stacking = x11_->Stacking(managed);
    // The window in front first.
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        const Window w = *it;
        TTopWindow t;
        t.Id = w;
        t.Title = FromQString(x11_->Title(w));
        const auto pids = x11_->Longs(w, x11_->Intern("_NET_WM_PID"), XA_CARDINAL);
        t.Own = std::find(own.begin(), own.end(), std::uint64_t(w)) != own.end() ||
                (!pids.empty() && pids[0] == pid);
        out.push_back(std::move(t));
    }
    return out;
}

bool TDesktopWordPro::BringForward(std::uint64_t window) {
    if (!CanType())
        return false;
    Display* d = x11_->display;
    const auto w = static_cast<Window>(window);
    TErrorTrap trap(d);
    if (x11_->Managed()) {
        // The window manager restores a minimised window and gives it the focus.
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = x11_->Intern("_NET_ACTIVE_WINDOW");
        e.xclient.format = 32;
        e.xclient.data.l[0] = 2; // asked for by the user's tool
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, DefaultRootWindow(d), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &e);
    } else {
        XMapRaised(d, w);
        XSync(d, False);
        XSetInputFocus(d, w, RevertToParent, CurrentTime);
    }
    XSync(d, False);
    QElapsedTimer waited;
    waited.start();
    while (!x11_->HasFocus(w) && waited.elapsed() < kFocusWaitMs)
        QThread::msleep(10);
    // Keys are never sent to a window that did not take the focus.
    return x11_->HasFocus(w);
}

bool TDesktopWordPro::TypePaste(std::uint64_t) {
    if (!CanType())
        return false;
    Display* d = x11_->display;
    TErrorTrap trap(d);
    const KeyCode shift = XKeysymToKeycode(d, XK_Shift_L);
    const KeyCode insert = XKeysymToKeycode(d, XK_Insert);
    if (!shift || !insert)
        return false;
    XTestFakeKeyEvent(d, shift, True, CurrentTime);
    XTestFakeKeyEvent(d, insert, True, CurrentTime);
    XTestFakeKeyEvent(d, insert, False, CurrentTime);
    XTestFakeKeyEvent(d, shift, False, CurrentTime);
    XSync(d, False);
    return true;
}

#else

struct TDesktopWordPro::TX11 {};

TDesktopWordPro::TDesktopWordPro() = default;
TDesktopWordPro::~TDesktopWordPro() = default;
bool TDesktopWordPro::CanType() {
    return false;
}
std::vector<TTopWindow> TDesktopWordPro::TopLevelWindows() {
    return {};
}
bool TDesktopWordPro::BringForward(std::uint64_t) {
    return false;
}
bool TDesktopWordPro::TypePaste(std::uint64_t) {
    return false;
}

#endif

bool TDesktopWordPro::SetClipboardText(std::string_view text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    const QString s = ToQString(text);
    clipboard->setText(s, QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->setText(s, QClipboard::Selection);
    return clipboard->text(QClipboard::Clipboard) == s;
}

} // namespace tessaly
