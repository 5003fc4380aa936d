#include "binding/util/sharedlib.hpp"

#include "binding/libraries.hpp"

#include <dlfcn.h>
#include <link.h>

namespace tandrel {

void* systemlib::open(const std::string& name, std::string& error) {
    dlerror();
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (!handle) {
        const char* text = dlerror();
        error = text ? text : "Unknown";
    }
    return handle;
}

void* systemlib::symbol(void* handle, const std::string& name) { return dlsym(handle, name.c_str()); }

void systemlib::close(void* handle) { dlclose(handle); }

void pinLoadedLibraries() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name && *info->dlpi_name) dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

} // namespace tandrel
