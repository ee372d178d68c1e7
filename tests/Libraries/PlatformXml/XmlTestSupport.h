// Helpers shared by the XML and file tests: a throw-away folder and whole-file reads.
#pragma once

#include <tinyxml.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <stdlib.h>

class CTempFolder
{
public:
    CTempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zephrin-xml-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~CTempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

    // Names in the folder, to see that no temporary file was left behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    std::string m_path;
};

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Deepest element nesting of a parsed tree, without recursion.
inline int TreeDepth(const TiXmlNode& root)
{
    int deepest = 0;
    std::vector<std::pair<const TiXmlNode*, int>> open{{&root, 0}};
    while (!open.empty()) {
        const auto [node, depth] = open.back();
        open.pop_back();
        deepest = std::max(deepest, depth);
        for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) {
            if (child->ToElement())
                open.emplace_back(child, depth + 1);
        }
    }
    return deepest;
}

inline std::string Nested(int levels, const std::string& name = "a")
{
    std::string text;
    for (int i = 0; i < levels; ++i)
        text += "<" + name + ">";
    for (int i = 0; i < levels; ++i)
        text += "</" + name + ">";
    return text;
}
