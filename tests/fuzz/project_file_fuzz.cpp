// libFuzzer target over the project file reader. Every input is loaded as a project file into
// a project that already holds data; a refused file must leave that project exactly as it was,
// and a read one must write a file that reads back to the same document. A crash, a sanitizer
// report, a hang or either of those differences is a finding.
#include "CommonFiles/Fluids/FluidGasMix.h"
#include "CommonFiles/ProjectData.h"
#include "CommonFiles/ProjectFile.h"
#include "Platform/XmlFile.h"

#include <tinyxml.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

std::string DocumentText(const CProjectData& project)
{
    TiXmlDocument doc;
    if (CProjectFile::Write(project, doc) != nullptr)
        return "<not written>";
    return CXmlFile::ToText(doc);
}

void Fail(const char* what, const std::string& text)
{
    std::fprintf(stderr, "%s:\n%s\n", what, text.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    TiXmlDocument doc;
    std::string error;
    if (!CXmlFile::LoadText(doc, text, "fuzz.xml", &error))
        return 0;

    CProjectData project;
    project.customer.customer = "Before";
    project.features.SetAt(1, 2);
    auto mix = std::make_unique<CFluidGasMix>();
    mix->Elements = {{1, 50.0}, {2, 50.0}};
    project.physical.Fluid = std::move(mix);
    const std::string before = DocumentText(project);

    const CProjectFile::SReadResult result = CProjectFile::Read(doc, project);
    const std::string after = DocumentText(project);
    if (result.error != nullptr) {
        if (after != before)
            Fail("A refused file changed the project", after);
        return 0;
    }

    TiXmlDocument written;
    if (CProjectFile::Write(project, written) != nullptr)
        return 0;
    TiXmlDocument reread;
    if (!CXmlFile::LoadText(reread, CXmlFile::ToText(written), "written.xml", &error))
        Fail("The written project does not load", error);
    CProjectData again;
    if (CProjectFile::Read(reread, again).error != nullptr || DocumentText(again) != after)
        Fail("The written project does not read back alike", after);
    return 0;
}
