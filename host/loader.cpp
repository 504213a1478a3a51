#include "host/host.h"
#include "host/library.h"

namespace zevk::host {

#ifndef ZEVK_DEFAULT_MEX_DIR
#define ZEVK_DEFAULT_MEX_DIR "build/mex"
#endif

const char* Deliverable::suffix() { return library::mexSuffix(); }

std::filesystem::path Deliverable::defaultDirectory() { return ZEVK_DEFAULT_MEX_DIR; }

std::unique_ptr<Deliverable> Deliverable::load(const std::filesystem::path& dir, const std::string& block,
                                               std::string* error) {
    std::filesystem::path path = dir / (block + suffix());
    std::string why;
    void* handle = library::open(path, &why);
    if (!handle) {
        if (error) *error = "cannot load block " + block + " from " + path.string() + (why.empty() ? "" : ": " + why);
        return nullptr;
    }
    auto entry = reinterpret_cast<MexFunction>(library::symbol(handle, "mexFunction"));
    if (!entry) {
        if (error) *error = path.string() + " has no mexFunction";
        library::close(handle);
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
    if (handle_) library::close(handle_);
}

}  // namespace zevk::host
