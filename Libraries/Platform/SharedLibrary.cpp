#include "Platform/SharedLibrary.h"

#include <dlfcn.h>

CSharedLibrary::CSharedLibrary(const std::string& soname)
{
    m_handle = dlopen(soname.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr)
        m_error = dlerror();  // always set after a failed dlopen
}

void* CSharedLibrary::Symbol(const char* name)
{
    if (m_handle == nullptr)
        return nullptr;
    dlerror();  // clears an older failure, so that one of this lookup is told apart
    void* address = dlsym(m_handle, name);
    if (address == nullptr) {
        const char* failure = dlerror();
        m_error = failure != nullptr ? failure : std::string(name) + ": the symbol is null";
    }
    return address;
}
