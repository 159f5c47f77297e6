// The archive resource: a "ZARC" resource read in place from a mapped module.
#include <windows.h>

#include <memory>
#include <type_traits>

#include "archive/Archiver.h"

namespace kelp {

namespace {

struct LibraryRelease {
    void operator()(HMODULE module) const noexcept { ::FreeLibrary(module); }
};
using LibraryHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryRelease>;

// The stream reads straight from the module's image, so it keeps the library
// it came from loaded for as long as it lives.
class ResourceStream : public ReadOnlyMemoryStream {
public:
    ResourceStream(LibraryHandle library, const void* data, size_t size)
        : ReadOnlyMemoryStream(data, size), library_(std::move(library)) {}

private:
    LibraryHandle library_;
};

}  // namespace

std::unique_ptr<Stream> TArchiver::OpenArchiveResource(const std::string& name, const std::string& library) {
    LibraryHandle owned;
    HMODULE module = ::GetModuleHandleA(nullptr);
    if (!library.empty()) {
        owned.reset(::LoadLibraryA(library.c_str()));
        if (!owned) throw Exception("Could not load " + library + " DLL");
        module = owned.get();
    }
    const auto notFound = [&name] { return EResNotFound("Resource " + name + " not found"); };
    HRSRC info = ::FindResourceA(module, name.c_str(), "ZARC");
    if (!info) throw notFound();
    HGLOBAL loaded = ::LoadResource(module, info);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) throw notFound();
    return std::make_unique<ResourceStream>(std::move(owned), data, ::SizeofResource(module, info));
}

}  // namespace kelp
