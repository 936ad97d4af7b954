#include "ui/main/Start_Up_Warm_Up.h"

#include <QDBusConnection>
#include <dlfcn.h>

void Warm_Up_Font_Configuration()
{
    // Qt's own copy of the library is already loaded; without it there is nothing to warm.
    void* library = ::dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (library == nullptr) return;
    using Init_Function = int (*)();
    // FcInit is thread-safe: a concurrent first use by Qt loads the same configuration.
    if (auto initialise = reinterpret_cast<Init_Function>(::dlsym(library, "FcInit"))) initialise();
    ::dlclose(library);
}

void Warm_Up_Desktop_Bus()
{
    // Qt keeps the session bus connection (or its failure) for the process; a later use on
    // the main thread finds it made.
    QDBusConnection::sessionBus();
}
