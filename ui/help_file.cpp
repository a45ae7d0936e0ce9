#include "ui/help_file.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <utility>

#include "ui/window_to_front.h"

namespace orbista {

namespace {

constexpr const char* HelpFileName = "orbista.chm";
constexpr const char* HelpViewerProgram = "xchm";

QString FromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace

std::filesystem::path FindHelpFile(const std::filesystem::path& executableFolder) {
    const std::filesystem::path beside = executableFolder / HelpFileName;
    const std::filesystem::path installed =
        executableFolder.parent_path() / "share" / "orbista" / HelpFileName;
    std::error_code unreadable;
    if (!std::filesystem::exists(beside, unreadable) &&
        std::filesystem::exists(installed, unreadable)) {
        return installed;
    }
    return beside;
}

namespace {

std::optional<int64_t> LaunchHelpViewer(const QString& path) {
    // The desktop's default for a CHM file is often nothing at all, or a web browser that cannot
    // read it; xchm is what the set-up installs.
    const QString viewer = QStandardPaths::findExecutable(HelpViewerProgram);
    if (!viewer.isEmpty()) {
        qint64 pid = 0;
        if (!QProcess::startDetached(viewer, {path}, QString(), &pid)) {
            return std::nullopt;
        }
        return pid;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        return std::nullopt;
    }
    return 0;
}

// The process is still there and is the one that was started on the file: a process id may have
// been given to another program since.
bool ProcessStillShows(int64_t pid, const QString& path) {
    QFile commandLine(QString("/proc/%1/cmdline").arg(pid));
    if (!commandLine.open(QIODevice::ReadOnly)) {
        return false;
    }
    return commandLine.readAll().split('\0').contains(QFile::encodeName(path));
}

}  // namespace

bool StartHelpViewer(const QString& path) {
    return LaunchHelpViewer(path).has_value();
}

HelpViewer::HelpViewer()
    : HelpViewer(LaunchHelpViewer, ProcessStillShows, BringProcessWindowToFront) {}

HelpViewer::HelpViewer(Launch launch, StillShows stillShows, BringToFront bringToFront)
    : launch_(std::move(launch)),
      stillShows_(std::move(stillShows)),
      bringToFront_(std::move(bringToFront)) {}

bool HelpViewer::Show(const QString& path) {
    if (pid_ > 0 && stillShows_(pid_, path)) {
        bringToFront_(pid_);
        return true;
    }
    const std::optional<int64_t> started = launch_(path);
    pid_ = started.value_or(0);
    return started.has_value();
}

void OpenHelpFile(const std::filesystem::path& executableFolder, QWidget* parent,
                  const MessagePresenter& present, const HelpViewerStarter& startViewer) {
    const std::filesystem::path help = FindHelpFile(executableFolder);
    const QString path = FromPath(help);
    std::error_code unreadable;
    if (!std::filesystem::exists(help, unreadable)) {
        present(parent, QString("Не найден файл справки %1.").arg(path));
        return;
    }
    if (!startViewer(path)) {
        present(parent, QString("Не удалось открыть файл справки %1: нет программы для его "
                                "просмотра (установите пакет xchm).")
                            .arg(path));
    }
}

}  // namespace orbista
