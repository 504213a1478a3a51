#include <dlfcn.h>

#include "host/host.h"

namespace zevk::host {

#ifndef ZEVK_DEFAULT_MEX_DIR
#define ZEVK_DEFAULT_MEX_DIR "build/mex"
#endif

const char* Deliverable::suffix() {
#if defined(ZEVK_RECORD_32)
    return ".mexglx";
#else
    return ".mexa64";
#endif
}

std::filesystem::path Deliverable::defaultDirectory() { return ZEVK_DEFAULT_MEX_DIR; }

std::unique_ptr<Deliverable> Deliverable::load(const std::filesystem::path& dir, const std::string& block,
                                               std::string* error) {
    std::filesystem::path path = dir / (block + suffix());
    // RTLD_LOCAL: deliverables must not see one another's symbols.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* why = dlerror();
            *error = "cannot load block " + block + " from " + path.string() + (why ? std::string(": ") + why : "");
        }
        return nullptr;
    }
    auto entry = reinterpret_cast<MexFunction>(dlsym(handle, "mexFunction"));
    if (!entry) {
        if (error) *error = path.string() + " has no mexFunction";
        dlclose(handle);
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
    if (handle_) dlclose(handle_);
}

}  // namespace zevk::host
