// The one way every XML document of the system is read and written. Documents come from places
// we do not control (project files of colleagues, the update list of a server, templates), so
// loading refuses what would harm the program before TinyXML sees it, and saving never leaves a
// half-written file behind.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class TiXmlDocument;

class CXmlFile
{
public:
    // Larger documents are refused: the biggest project file is far below this, and TinyXML
    // needs many times the text size in memory.
    static constexpr std::size_t kMaxSize = 16 * 1024 * 1024;
    // Deeper documents are refused before TinyXML, whose parser recurses once per level, sees
    // them. Our documents are a few levels deep; this many levels take a few hundred KiB of
    // stack, well within any thread's stack.
    static constexpr int kMaxDepth = 2000;
    // Elements with more attributes are refused: TinyXML checks each attribute against all
    // earlier ones, so a few million on one element would take hours. Ours carry a dozen.
    static constexpr int kMaxAttributes = 1000;

    // Reads the file into doc (whose value becomes the path, as TinyXML's LoadFile does).
    // The text may be UTF-8, with or without a byte order mark; anything that is not valid
    // UTF-8 is taken as Windows-1252, in which the Windows programs wrote their files, and
    // converted. A declaration naming another encoding is changed to UTF-8, which the document
    // now is. False with a message naming the file in *error (when not null) for a file that
    // cannot be read, is in UTF-16 or UTF-32 (named), is too large (as a file or as the UTF-8
    // text it becomes), holds a zero byte, is nested too deeply, has an element with too many
    // attributes or does not parse (with line and column); doc is then empty.
    static bool Load(TiXmlDocument& doc, const std::string& path, std::string* error);

    // The same for a document held in memory; sourceName stands for the file name in doc's
    // value and in the messages.
    static bool LoadText(TiXmlDocument& doc, std::string_view text, const std::string& sourceName,
                         std::string* error);

    // The text TinyXML prints for doc: indented, with the byte order mark when the document was
    // read with one.
    static std::string ToText(const TiXmlDocument& doc);

    // Writes ToText(doc) to path through CAtomicFile: the old file is either replaced whole or
    // left untouched. A document holding text that is not valid UTF-8 is refused, since it
    // would read back wrongly, and so is one that Load would refuse (too large, too deep, too
    // many attributes), since it could never be opened again. *errorNumber (when not null) becomes
    // the system's error number when the file could not be written, else 0.
    static bool Save(const TiXmlDocument& doc, const std::string& path, std::string* error,
                     int* errorNumber = nullptr);
};
