#include <dlfcn.h>

#include "loader/SharedLibrary.h"

namespace quiltor::host {

void* OpenSharedLibrary(const std::string& path, std::string* error) {
    dlerror();
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library && error) {
        const char* why = dlerror();
        *error = why ? why : "cannot be loaded";
    }
    return library;
}

void* FindExport(void* library, const char* name) { return dlsym(library, name); }

void CloseSharedLibrary(void* library) { dlclose(library); }

}  // namespace quiltor::host
