// A shared library loaded by its soname at run time, for libraries a program needs only now and
// then: linked, they and everything they depend on would load, and lengthen the symbol search,
// at every start.
#pragma once

#include <string>

class CSharedLibrary {
public:
    // Loads the library with all its symbols bound at once, kept out of the global symbol scope.
    explicit CSharedLibrary(const std::string& soname);
    // The library is never unloaded: the function pointers taken from it go into process-wide
    // tables that other threads and objects destroyed at exit may still call, and libraries
    // such as the TLS ones it may pull in are not made to be unloaded.
    ~CSharedLibrary() = default;
    CSharedLibrary(const CSharedLibrary&) = delete;
    CSharedLibrary& operator=(const CSharedLibrary&) = delete;

    bool IsLoaded() const { return m_handle != nullptr; }
    // The dynamic linker's text for the last failure (it names the library or symbol and why);
    // empty while nothing failed.
    const std::string& Error() const { return m_error; }

    // The address of the symbol of this name; nullptr when the library or the symbol is missing.
    void* Symbol(const char* name);

    // Sets function to the library's function of this name; false when it cannot be had.
    template <class F>
    bool Resolve(const char* name, F*& function)
    {
        function = reinterpret_cast<F*>(Symbol(name));
        return function != nullptr;
    }

private:
    void* m_handle = nullptr;
    std::string m_error;
};

// Resolves into table.name the library's function of that same name, so that no pointer can be
// looked up under another function's name: SHARED_LIBRARY_RESOLVE(library, table, PQexec).
#define SHARED_LIBRARY_RESOLVE(library, table, name) (library).Resolve(#name, (table).name)
