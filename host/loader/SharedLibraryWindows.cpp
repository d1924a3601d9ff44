#include <windows.h>

#include "loader/SharedLibrary.h"

namespace quiltor::host {

void* OpenSharedLibrary(const std::string& path, std::string* error) {
    // Paths are UTF-8 inside the host; Windows takes file names in UTF-16.
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), int(path.size()), wide.data(), n);
    HMODULE library = n > 0 ? LoadLibraryW(wide.c_str()) : nullptr;
    if (!library && error) *error = "cannot be loaded (Windows error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(library);
}

void* FindExport(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseSharedLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace quiltor::host
