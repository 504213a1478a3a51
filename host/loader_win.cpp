#include "host/host.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace zevk::host {

#ifndef ZEVK_DEFAULT_MEX_DIR
#define ZEVK_DEFAULT_MEX_DIR "build/mex"
#endif

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

const char* Deliverable::suffix() {
#if defined(ZEVK_RECORD_32)
    return ".mexw32";
#else
    return ".mexw64";
#endif
}

std::filesystem::path Deliverable::defaultDirectory() { return ZEVK_DEFAULT_MEX_DIR; }

std::unique_ptr<Deliverable> Deliverable::load(const std::filesystem::path& dir, const std::string& block,
                                               std::string* error) {
    std::filesystem::path path = dir / (block + suffix());
    // A relative name would send LoadLibrary searching the system's folders.
    std::error_code ignored;
    std::filesystem::path full = std::filesystem::absolute(path, ignored);
    if (full.empty()) full = path;
    // A missing file or DLL is reported to the caller, never in a dialog box.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    HMODULE handle = LoadLibraryW(full.c_str());
    const DWORD why = GetLastError();
    SetThreadErrorMode(previousMode, nullptr);
    if (!handle) {
        if (error) *error = "cannot load block " + block + " from " + path.string() + ": " + systemMessage(why);
        return nullptr;
    }
    auto entry = reinterpret_cast<MexFunction>(reinterpret_cast<void*>(GetProcAddress(handle, "mexFunction")));
    if (!entry) {
        if (error) *error = path.string() + " has no mexFunction";
        FreeLibrary(handle);
        return nullptr;
    }
    std::unique_ptr<Deliverable> d(new Deliverable);
    d->name_ = block;
    d->path_ = path;
    d->handle_ = handle;
    d->entry_ = entry;
    return d;
}

Deliverable::~Deliverable() {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

}  // namespace zevk::host
