#include "ui/main/Program_Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "ui/controls/Ui_Text.h"

void Qt_Program_Shell::Open_Document(const std::string& path)
{
    // Qt fails only when it finds no opener at all (no xdg-open); what the opener then does
    // with the file is its own to tell.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(Path_To_QString(path)).absoluteFilePath())) &&
        No_Opener)
        No_Opener(path);
}

void Qt_Program_Shell::Request_Shutdown()
{
    QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
}
