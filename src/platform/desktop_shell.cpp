#include "platform/desktop_shell.h"

#include "core/common/date_time.h"
#include "platform/qt_text.h"
#include "platform/watched_launch.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tessaly {

namespace {

constexpr int kToolTimeoutMs = 3000;

// What a desktop tool prints on its first line; empty when it is missing or fails.
QString ToolAnswer(const QString& tool, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(tool).isEmpty())
        return {};
    QProcess process;
    process.start(tool, arguments, QIODevice::ReadOnly);
    if (!process.waitForFinished(kToolTimeoutMs) || process.exitCode() != 0) {
        process.kill();
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).section('\n', 0, 0).trimmed();
}

// A value of the "[Desktop Entry]" group of an application's desktop file.
QString DesktopEntryValue(const QString& desktopId, const QString& key) {
    const QString file = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
    QFile f(file);
    if (file.isEmpty() || !f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&f);
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith('['))
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return {};
}

// The program a desktop entry starts, as a full path.
QString ProgramOfDesktopEntry(const QString& desktopId) {
    const QString exec = DesktopEntryValue(desktopId, "Exec");
    const QStringList words = QProcess::splitCommand(exec);
    return words.isEmpty() ? QString() : QStandardPaths::findExecutable(words.first());
}

TDateTime ToDateTime(const QDateTime& t) {
    const QDate d = t.date();
    const QTime time = t.time();
    return EncodeDate(d.year(), d.month(), d.day()) + time.msecsSinceStartOfDay() / 86400000.0;
}

} // namespace

TFileFacts TDesktopShell::Facts(const std::string& path) const {
    TFileFacts facts;
    const QFileInfo info(PathFromCore(path));
    if (!info.exists())
        return facts;
    facts.Kind = info.isFile() ? TPathKind::Regular : TPathKind::Other;
    facts.Size = static_cast<std::uint64_t>(info.size());
    facts.Modified = ToDateTime(info.lastModified());
    facts.ReadOnly = !info.isWritable();
    facts.Hidden = info.isHidden();
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info);
    facts.MimeType = FromQString(mime.name());
    facts.TypeName = FromQString(mime.comment());
    return facts;
}

std::string TDesktopShell::AssociatedApplication(const std::string& path) const {
    const QFileInfo info(PathFromCore(path));
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info);
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
        return "the desktop's default application"; // no database to ask: let the opener try
    const QString desktopId = ToolAnswer("xdg-mime", {"query", "default", mime.name()});
    if (desktopId.isEmpty())
        return {};
    const QString name = DesktopEntryValue(desktopId, "Name");
    return FromQString(name.isEmpty() ? desktopId : name);
}

bool TDesktopShell::IsRunnable(const std::string& path) const {
    const QFileInfo info(PathFromCore(path));
    if (info.isFile() && info.isExecutable())
        return true;
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info);
    for (const char* runs :
         {"application/x-executable", "application/x-sharedlib", "application/x-shellscript",
          "application/x-desktop", "application/x-ms-dos-executable", "application/vnd.appimage"})
        if (mime.inherits(runs))
            return true;
    return false;
}

bool TDesktopShell::CreateEmptyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    return ::close(fd) == 0;
}

bool TDesktopShell::RemoveFile(const std::string& path, std::string& error) {
    if (::unlink(path.c_str()) == 0)
        return true;
    error = std::strerror(errno);
    return false;
}

bool TDesktopShell::OpenDocument(const std::string& path) {
    // A local file URL: nothing in the name can be taken as an option.
    const QUrl url = QUrl::fromLocalFile(QFileInfo(PathFromCore(path)).absoluteFilePath());
    // The desktop's opener is watched, so that one finding no application is heard of.
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url);
    return StartWatched(PathToCore(opener), {url.toEncoded().toStdString()}, {});
}

bool TDesktopShell::StartProgram(const std::string& program, const std::string& argument) {
    const QString arg = ToQString(argument);
    // The argument is a URL checked by the core; Qt must read it as one too.
    if (!QUrl(arg, QUrl::StrictMode).isValid() || arg.startsWith('-'))
        return false;
    const QString exe = PathFromCore(program);
    const QFileInfo info(exe);
    // A bare name is looked up in PATH and started in the current folder.
    const QString folder = exe.contains('/') ? info.absolutePath() : QString();
    return StartWatched(program, {arg.toLocal8Bit().toStdString()}, PathToCore(folder));
}

std::string FindDefaultBrowser() {
    QString program;
    const QString setting = ToolAnswer("xdg-settings", {"get", "default-web-browser"});
    if (!setting.isEmpty())
        program = ProgramOfDesktopEntry(setting);
    if (program.isEmpty()) {
        const QString handler =
            ToolAnswer("xdg-mime", {"query", "default", "x-scheme-handler/http"});
        if (!handler.isEmpty())
            program = ProgramOfDesktopEntry(handler);
    }
    // Only names that stand for an installed browser: the generic launcher that merely
    // looks for one would hide that none is there.
    for (const char* fallback : {"x-www-browser", "gnome-www-browser"})
        if (program.isEmpty())
            program = QStandardPaths::findExecutable(fallback);
    return PathToCore(program);
}

} // namespace tessaly
