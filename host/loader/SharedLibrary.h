// A plug-in file's code mapped into the host: dlopen where there is one, LoadLibraryW on Windows.
#pragma once

#include <string>

namespace quiltor::host {

// Null when the file cannot be loaded; *error then says why. path is UTF-8.
void* OpenSharedLibrary(const std::string& path, std::string* error);
// Null when the library has no such export.
void* FindExport(void* library, const char* name);
void CloseSharedLibrary(void* library);

}  // namespace quiltor::host
