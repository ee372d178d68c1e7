// An installation and an update server for update run tests: the program folder "prog" (the
// client's %CURRENTDIR%) and the server's folder "share", both in a fresh temporary folder.
#pragma once

#include "Platform/ProgramFolder.h"
#include "Platform/VersionInfo.h"
#include "Renovix/RenovixLib/Renovix.h"
#include "Renovix/RenovixLib/TextScrambler.h"
#include "support/TemporaryFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class UpdateListFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_folder.Path("prog"));
        std::filesystem::create_directories(m_folder.Path("share"));
        Platform::SetProgramPathForTesting(m_folder.Path("prog/Zephrin"));
    }
    void TearDown() override { Platform::SetProgramPathForTesting(std::string()); }

    std::string Program(const std::string& name) const { return m_folder.Path("prog/" + name); }
    std::string Share(const std::string& name) const { return m_folder.Path("share/" + name); }

    // A file the server offers.
    static void Place(const std::string& path, const std::string& bytes)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteWholeFile(path, bytes);
    }

    static std::string Escaped(const std::string& text)
    {
        std::string result;
        for (char c : text) {
            switch (c) {
            case '&': result += "&amp;"; break;
            case '<': result += "&lt;"; break;
            case '>': result += "&gt;"; break;
            case '\'': result += "&apos;"; break;
            case '"': result += "&quot;"; break;
            default: result += c;
            }
        }
        return result;
    }

    // An updateentry element; extra holds further attributes as written.
    static std::string Entry(const std::string& source, const std::string& destination, const std::string& flags,
                             const std::string& extra = "")
    {
        return "<updateentry source='" + Escaped(CTextScrambler::Encode(source)) + "' destination='" +
               Escaped(CTextScrambler::Encode(destination)) + "' flags='" + flags + "' " + extra + "/>";
    }

    static std::string List(const std::vector<std::string>& entries)
    {
        std::string text = "<?xml version='1.0'?>\n<renovix>\n";
        for (const std::string& entry : entries)
            text += "  " + entry + "\n";
        return text + "</renovix>\n";
    }

    static SFileVersion Version(unsigned short major, unsigned short minor = 0)
    {
        SFileVersion version;
        version.part[0] = major;
        version.part[1] = minor;
        return version;
    }

    // Settings for a server whose base folder is folder ("share/" unless given).
    CRenovixSettings FolderSettings(const std::string& packages = "all") const
    {
        CRenovixSettings settings;
        CRenovixSettings::SetDefaults(settings);
        settings.protocol = RENOVIX_PROTOCOL_FILE;
        settings.baseDir = Share("");
        settings.packages = packages;
        settings.schedule = "daily|03:00";
        return settings;
    }

    CTemporaryFolder m_folder;
};
