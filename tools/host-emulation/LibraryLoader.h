// Loads a shared library the way the platform does and finds its exports.
#pragma once

#include <string>

namespace host_emulation {

class LoadedLibrary {
public:
    // Raises std::runtime_error with the system's reason when loading fails.
    explicit LoadedLibrary(const std::string& path);
    ~LoadedLibrary();
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    // Null when the library does not export the name.
    void* Symbol(const char* name) const;

private:
    void* handle_ = nullptr;
};

// The folder of the running executable, with a trailing separator.
std::string ExecutableFolder();

}  // namespace host_emulation
