#include <dlfcn.h>

#include "host/library.h"

namespace zevk::host::library {

const char* mexSuffix() {
#if defined(ZEVK_RECORD_32)
    return ".mexglx";
#else
    return ".mexa64";
#endif
}

void* open(const std::filesystem::path& path, std::string* why) {
    // RTLD_LOCAL: deliverables must not see one another's symbols.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        if (why && reason) *why = reason;
    }
    return handle;
}

void* symbol(void* handle, const char* name) { return dlsym(handle, name); }

void close(void* handle) { dlclose(handle); }

}  // namespace zevk::host::library
