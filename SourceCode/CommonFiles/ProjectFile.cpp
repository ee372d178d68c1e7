#include "CommonFiles/ProjectFile.h"

#include "CommonFiles/ProjectData.h"
#include "Platform/XmlFile.h"

#include <tinyxml.h>

#include <memory>

namespace {

const char kRoot[] = "TAMBEL";

// The optional parts in file order: how each reads and writes itself and what the user hears.
struct SOptionalPart {
    const char* element;
    BOOL (*read)(CProjectData&, const TiXmlElement*);
    BOOL (*write)(const CProjectData&, TiXmlElement*);
    const char* missing;
    const char* unreadable;
    const char* unwritable;
};

const SOptionalPart kOptionalParts[] = {
    {"DeviceConfiguration", [](CProjectData& p, const TiXmlElement* e) { return p.features.ReadXml(e); },
     [](const CProjectData& p, TiXmlElement* e) { return p.features.WriteXml(e); }, "File is missing device data!",
     "Could not read device data from file!", "Could not save device data!"},
    {"CustomerData", [](CProjectData& p, const TiXmlElement* e) { return p.customer.ReadXml(e); },
     [](const CProjectData& p, TiXmlElement* e) { return p.customer.WriteXml(e); }, "File is missing customer data!",
     "Could not read customer data from file!", "Could not save customer data!"},
    {"ResultData", [](CProjectData& p, const TiXmlElement* e) { return p.results.ReadXml(e); },
     [](const CProjectData& p, TiXmlElement* e) { return p.results.WriteXml(e); }, "File is missing result data!",
     "Could not read result data from file!", "Could not save result data!"},
};

}  // namespace

CProjectFile::SReadResult CProjectFile::Read(const TiXmlDocument& doc, CProjectData& target)
{
    SReadResult result;
    const TiXmlElement* root = doc.RootElement();
    if (root == nullptr || root->ValueStr() != kRoot) {
        result.error = "File has unknown structure!";
        return result;
    }
    // On the heap: the result list of a large project is no stack object.
    auto loaded = std::make_unique<CProjectData>();
    const TiXmlElement* physical = root->FirstChildElement("PhysicalData");
    if (physical == nullptr) {
        result.error = "File is missing physical data!";
        return result;
    }
    if (!loaded->physical.ReadXml(physical)) {
        result.error = "Could not read physical data from file!";
        return result;
    }
    for (const SOptionalPart& part : kOptionalParts) {
        const TiXmlElement* element = root->FirstChildElement(part.element);
        if (element == nullptr) {
            result.warnings.push_back(part.missing);
        } else if (!part.read(*loaded, element)) {
            result.error = part.unreadable;
            result.warnings.clear();
            return result;
        }
    }
    target.TakeFrom(*loaded);
    return result;
}

const char* CProjectFile::Write(const CProjectData& project, TiXmlDocument& doc)
{
    doc.Clear();
    // Parts are built apart and linked, not copied, into the root: a result list is large.
    auto root = std::make_unique<TiXmlElement>(kRoot);
    auto physical = std::make_unique<TiXmlElement>("PhysicalData");
    if (!project.physical.WriteXml(physical.get()))
        return "Could not save physical data!";
    root->LinkEndChild(physical.release());
    for (const SOptionalPart& part : kOptionalParts) {
        auto element = std::make_unique<TiXmlElement>(part.element);
        if (!part.write(project, element.get()))
            return part.unwritable;
        root->LinkEndChild(element.release());
    }
    doc.LinkEndChild(root.release());
    return nullptr;
}

CProjectFile::SReadResult CProjectFile::Open(const std::string& path, CProjectData& target, std::string* detail)
{
    TiXmlDocument doc;
    if (!CXmlFile::Load(doc, path, detail)) {
        SReadResult result;
        result.error = "Could not open file!";
        return result;
    }
    return Read(doc, target);
}

const char* CProjectFile::Save(const CProjectData& project, const std::string& path, std::string* detail,
                               int* errorNumber)
{
    if (errorNumber)
        *errorNumber = 0;
    TiXmlDocument doc;
    if (const char* message = Write(project, doc))
        return message;
    if (!CXmlFile::Save(doc, path, detail, errorNumber))
        return "Could not save data to file!";
    return nullptr;
}
