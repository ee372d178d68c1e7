// Helpers shared by the XML tests and the XML loader fuzz target: nesting built and measured.
#pragma once

#include <tinyxml.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

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
