// The document of a project file: the root "TAMBEL" with the parts "PhysicalData",
// "DeviceConfiguration", "CustomerData" and "ResultData" in this order, each written and read
// by its own record. Failures come back as the message the user reads (English, for the
// translator), so the commands around this only show them.
#pragma once

#include <string>
#include <vector>

class CProjectData;
class TiXmlDocument;

class CProjectFile {
public:
    struct SReadResult {
        const char* error = nullptr;  // null when the project was taken over
        // A part other than the physical data was missing; the project has it empty.
        std::vector<const char*> warnings;
    };

    // Reads every part into a project of its own and only when all of them could be read
    // replaces target with it, so a file that fails half way leaves target as it was. Only the
    // physical data is required.
    static SReadResult Read(const TiXmlDocument& doc, CProjectData& target);

    // Replaces doc's content with the project's document. The message of the first part that
    // cannot be written, doc then left empty; null on success.
    static const char* Write(const CProjectData& project, TiXmlDocument& doc);

    // Loads the file through the safe XML loader (which takes Windows-1252 files of the Windows
    // programs too) and reads it: "Could not open file!" when it cannot be loaded or parsed,
    // the loader's message then in *detail.
    static SReadResult Open(const std::string& path, CProjectData& target, std::string* detail);
    // Writes the project's document to path, replacing a file there whole or not at all: a
    // crash or a full disk leaves the old file. The message of a part, or "Could not save data
    // to file!" (the reason in *detail, and the system's error number in *errorNumber when it has
    // one, else 0); null on success.
    static const char* Save(const CProjectData& project, const std::string& path, std::string* detail,
                            int* errorNumber = nullptr);
};
