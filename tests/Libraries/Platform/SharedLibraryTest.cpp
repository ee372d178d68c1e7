#include "Platform/SharedLibrary.h"

#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

// Whatever fails, the dynamic linker's own text says which library or symbol and why.
TEST(SharedLibraryTest, ReportsAMissingLibraryOrSymbolInTheLinkersWords)
{
    struct SCase {
        const char* soname;
        const char* symbol;
        bool loaded;
        const char* error;  // part of Error(); empty when the symbol is found
    } const cases[] = {
        {"libzephrin-absent.so.1", "cos", false, "libzephrin-absent.so.1: cannot open shared object file"},
        {"libm.so.6", "zephrin_absent_function", true, "undefined symbol: zephrin_absent_function"},
        {"libm.so.6", "cos", true, ""},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::string(c.soname) + " " + c.symbol);
        CSharedLibrary library(c.soname);
        EXPECT_EQ(library.IsLoaded(), c.loaded);
        double (*function)(double) = nullptr;
        const bool found = library.Resolve(c.symbol, function);
        EXPECT_EQ(found, *c.error == '\0');
        EXPECT_EQ(function != nullptr, found);
        if (found)
            EXPECT_TRUE(library.Error().empty());
        else
            EXPECT_THAT(library.Error(), HasSubstr(c.error));
    }
}

TEST(SharedLibraryTest, ResolvedFunctionIsTheLibrarysOwn)
{
    CSharedLibrary library("libm.so.6");
    double (*cosine)(double) = nullptr;
    ASSERT_TRUE(library.Resolve("cos", cosine)) << library.Error();
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
}

// Loaded for one user only: its symbols stay out of the scope every other lookup searches.
TEST(SharedLibraryTest, LoadedSymbolsStayOutOfTheGlobalScope)
{
    ASSERT_EQ(dlsym(RTLD_DEFAULT, "zlibVersion"), nullptr) << "zlib is already linked into this program";
    CSharedLibrary library("libz.so.1");
    const char* (*version)() = nullptr;
    ASSERT_TRUE(library.Resolve("zlibVersion", version)) << library.Error();
    EXPECT_EQ(version()[0], '1');
    EXPECT_EQ(dlsym(RTLD_DEFAULT, "zlibVersion"), nullptr);
}

}  // namespace
