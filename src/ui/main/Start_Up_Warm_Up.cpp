#include "ui/main/Start_Up_Warm_Up.h"

#include <QDBusConnection>

void Warm_Up_Desktop_Bus()
{
    // Qt keeps the session bus connection (or its failure) for the process; a later use on
    // the main thread finds it made.
    QDBusConnection::sessionBus();
}
