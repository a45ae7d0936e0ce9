#include "ui/help_file.h"

#include <QDesktopServices>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace orbista {

namespace {

constexpr const char* HelpFileName = "orbista.chm";
constexpr const char* HelpViewer = "xchm";

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

bool StartHelpViewer(const QString& path) {
    // The desktop's default for a CHM file is often nothing at all, or a web browser that cannot
    // read it; xchm is what the set-up installs.
    const QString viewer = QStandardPaths::findExecutable(HelpViewer);
    if (!viewer.isEmpty()) {
        return QProcess::startDetached(viewer, {path});
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
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
