// The one place where the operating system shows: opening a deliverable,
// finding its entry and closing it again.
#pragma once

#include <filesystem>
#include <string>

namespace zevk::host::library {

const char* mexSuffix();
// Null on failure, with the system's reason in *why.
void* open(const std::filesystem::path& path, std::string* why);
void* symbol(void* handle, const char* name);
void close(void* handle);

}  // namespace zevk::host::library
