#include "ui/main/Program_Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "ui/controls/Ui_Text.h"

void Qt_Program_Shell::Open_Document(const std::string& path)
{
    // The result is not examined: a missing association is not reported.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(Path_To_QString(path)).absoluteFilePath()));
}

void Qt_Program_Shell::Request_Shutdown()
{
    QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
}
