#include "host/library.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace zevk::host::library {

namespace {

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = n && text ? std::string(text, n) : "error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
    return out;
}

}  // namespace

const char* mexSuffix() {
#if defined(ZEVK_RECORD_32)
    return ".mexw32";
#else
    return ".mexw64";
#endif
}

void* open(const std::filesystem::path& path, std::string* why) {
    // A relative name would send LoadLibrary searching the system's folders.
    std::error_code ignored;
    std::filesystem::path full = std::filesystem::absolute(path, ignored);
    if (full.empty()) full = path;
    // A missing file or DLL is reported to the caller, never in a dialog box.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    HMODULE handle = LoadLibraryW(full.c_str());
    const DWORD code = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    if (!handle && why) *why = systemMessage(code);
    return reinterpret_cast<void*>(handle);
}

void* symbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void close(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }

}  // namespace zevk::host::library
