#include "ui/main/Desktop_Bus_Warm_Up.h"

#include <QDBusConnection>

// Qt keeps the session bus connection (or its failure) for the process; a later use on
// the main thread finds it made.
Desktop_Bus_Warm_Up::Desktop_Bus_Warm_Up() : Worker([] { QDBusConnection::sessionBus(); }) {}

Desktop_Bus_Warm_Up::~Desktop_Bus_Warm_Up()
{
    Wait();
}

void Desktop_Bus_Warm_Up::Wait()
{
    if (Worker.joinable()) Worker.join();
}
