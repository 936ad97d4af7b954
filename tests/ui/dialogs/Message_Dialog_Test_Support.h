#pragma once
// Shared by the message dialog and splash tests: a program directory with copies of the
// shipped skins, and answers to modal dialogs given once they are open.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace Dialog_Test
{
inline const bool Offscreen_By_Default = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}();

// A temporary program directory whose Skin folder holds the shipped skins.
inline bool Copy_Shipped_Skins(const QTemporaryDir& directory)
{
    const QDir source(QStringLiteral(ZL_SOURCE_DATA_DIR "/Skin"));
    if (!QDir(directory.path()).mkpath(QStringLiteral("Skin"))) return false;
    const QStringList skins = source.entryList({QStringLiteral("*.bmp")}, QDir::Files);
    if (skins.isEmpty()) return false;
    for (const QString& name : skins)
        if (!QFile::copy(source.filePath(name), directory.filePath(QStringLiteral("Skin/") + name))) return false;
    return true;
}

// Runs the action on the modal dialog once it is the active modal widget. A dialog that
// the action did not close is ended with 99 after two seconds, so a fault fails the test
// instead of hanging it.
inline void When_Modal_Opens(QObject* owner, std::function<void(QDialog*)> action)
{
    auto* poll = new QTimer(owner);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        QPointer<QDialog> guarded(dialog);
        action(dialog);
        QTimer::singleShot(2000, [guarded] {
            if (guarded && guarded->isVisible()) guarded->done(99);
        });
    });
    poll->start();
}

inline void Press_When_Open(QObject* owner, Qt::Key key)
{
    When_Modal_Opens(owner, [key](QDialog* dialog) { QTest::keyClick(dialog, key); });
}
}  // namespace Dialog_Test
