#include "ui/main/Font_Configuration_Warm_Up.h"

#include <dlfcn.h>

namespace
{
void Initialise_Fontconfig()
{
    // Qt's own copy of the library is already loaded; without it there is nothing to warm.
    void* library = ::dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (library == nullptr) return;
    using Init_Function = int (*)();
    // FcInit is thread-safe: a concurrent first use by Qt loads the same configuration.
    if (auto initialise = reinterpret_cast<Init_Function>(::dlsym(library, "FcInit"))) initialise();
    ::dlclose(library);
}
}  // namespace

Font_Configuration_Warm_Up::Font_Configuration_Warm_Up() : Worker(Initialise_Fontconfig) {}

Font_Configuration_Warm_Up::~Font_Configuration_Warm_Up()
{
    Wait();
}

void Font_Configuration_Warm_Up::Wait()
{
    if (Worker.joinable()) Worker.join();
}
