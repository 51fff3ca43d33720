// The running program's path and module loading, per system; see Platform.h.
#include "lumcore/Platform.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>

#include <vector>
#else
#include <dlfcn.h>
#endif
#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

namespace lumcore {

std::filesystem::path runningProgram() {
#if defined(_WIN32)
    // The path may be longer than MAX_PATH: grow the buffer until it fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), n));
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
#elif defined(__APPLE__)
    std::uint32_t size = 0;
    ::_NSGetExecutablePath(nullptr, &size);
    std::string buffer(size, '\0');
    if (::_NSGetExecutablePath(buffer.data(), &size) != 0) return {};
    buffer.resize(buffer.find('\0'));
    std::error_code error;
    const auto resolved = std::filesystem::canonical(buffer, error);
    return error ? std::filesystem::path(buffer) : resolved;
#else
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program;
#endif
}

void* loadModuleEntry(const std::filesystem::path& module, const char* entry, std::string& error) {
#ifdef _WIN32
    HMODULE handle = ::LoadLibraryW(module.c_str());
    if (!handle) {
        error =
            module.string() + ": cannot be loaded (error " + std::to_string(::GetLastError()) + ")";
        return nullptr;
    }
    void* address = reinterpret_cast<void*>(::GetProcAddress(handle, entry));
    if (!address) error = module.string() + ": no entry " + entry;
    return address;
#else
    void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        error = why ? why : module.string() + ": cannot be loaded";
        return nullptr;
    }
    void* address = ::dlsym(handle, entry);
    if (!address) error = module.string() + ": no entry " + entry;
    return address;
#endif
}

}  // namespace lumcore
