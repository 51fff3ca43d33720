// The few things the command-line tools need from the operating system beyond the standard
// library: where the running program lies, and loading a module beside it.
#pragma once

#include <filesystem>
#include <string>

namespace lumcore {

// The full path of the running program's executable; empty when the system does not say.
std::filesystem::path runningProgram();

// Loads the shared module at `module` (a full path: a bare name would be searched along
// paths that differ between systems and callers) and returns the address of its exported
// function `entry`. Null on failure, with the system's reason in `error`. A loaded module
// stays loaded.
void* loadModuleEntry(const std::filesystem::path& module, const char* entry, std::string& error);

}  // namespace lumcore
