#include "Platform/XmlFile.h"

#include "Platform/AsciiText.h"
#include "Platform/AtomicFile.h"
#include "Platform/TextEncoding.h"
#include "Platform/XmlPreScan.h"

#include <tinyxml.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

__attribute__((format(printf, 2, 3))) bool Fail(std::string* error, const char* format, ...)
{
    if (!error)
        return false;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    error->assign(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(error->data(), error->size() + 1, format, again);
    va_end(again);
    return false;
}

std::string ErrnoText(int err)
{
    char buffer[256];
    return strerror_r(err, buffer, sizeof buffer);  // GNU form: returns the text
}

struct Position
{
    int line;
    int column;
};

// Line and column of an offset, counted as TinyXML counts them for its error locations
// (TiXmlParsingData::Stamp): "\r\n" and "\n\r" are one line break, a character is one
// column whatever its length in bytes, tabs go to the next tab stop, byte order marks take
// no room.
Position PositionOf(std::string_view text, size_t offset, int tabSize)
{
    const auto at = [&](size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0; };
    int line = 0;
    int column = 0;
    for (size_t i = 0; i < offset && i < text.size();) {
        const unsigned char c = at(i);
        if (c == '\r' || c == '\n') {
            ++line;
            column = 0;
            ++i;
            if (at(i) == (c == '\r' ? '\n' : '\r'))
                ++i;
        } else if (c == '\t') {
            ++i;
            column = tabSize > 0 ? (column / tabSize + 1) * tabSize : column + 1;
        } else if (c == 0xEF && ((at(i + 1) == 0xBB && at(i + 2) == 0xBF) ||
                                 (at(i + 1) == 0xBF && (at(i + 2) == 0xBE || at(i + 2) == 0xBF)))) {
            i += 3;
        } else {
            i += c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            ++column;
        }
    }
    return {line + 1, column + 1};
}

bool NamesUtf8(const char* encoding)
{
    return Platform::EqualsNoCase(encoding, "UTF-8") || Platform::EqualsNoCase(encoding, "UTF8");
}

// The document is UTF-8 in memory and is saved so; a declaration must not say otherwise.
void DeclareUtf8(TiXmlDocument& doc)
{
    for (TiXmlNode* node = doc.FirstChild(); node; node = node->NextSibling()) {
        const TiXmlDeclaration* declaration = node->ToDeclaration();
        if (declaration && *declaration->Encoding() && !NamesUtf8(declaration->Encoding())) {
            const TiXmlDeclaration utf8(declaration->Version(), "UTF-8", declaration->Standalone());
            node = doc.ReplaceChild(node, utf8);
        }
    }
}

// The name of a UTF-16 or UTF-32 encoding the bytes are in, by their byte order mark or, without
// one, by the zero bytes around the first '<'; null for any other text.
const char* WideEncodingOf(std::string_view bytes)
{
    struct Start {
        std::string_view bytes;
        const char* encoding;
    };
    // The UTF-32 forms first: their marks begin like UTF-16's.
    static const Start starts[] = {
        {std::string_view("\xFF\xFE\0\0", 4), "UTF-32LE"}, {std::string_view("\0\0\xFE\xFF", 4), "UTF-32BE"},
        {std::string_view("<\0\0\0", 4), "UTF-32LE"},       {std::string_view("\0\0\0<", 4), "UTF-32BE"},
        {std::string_view("\xFF\xFE", 2), "UTF-16LE"},        {std::string_view("\xFE\xFF", 2), "UTF-16BE"},
        {std::string_view("<\0", 2), "UTF-16LE"},              {std::string_view("\0<", 2), "UTF-16BE"},
    };
    for (const Start& start : starts) {
        if (bytes.substr(0, start.bytes.size()) == start.bytes)
            return start.encoding;
    }
    return nullptr;
}

// What the loader refuses besides a text that does not parse: too large, too deep, too many
// attributes. Messages name the file, and for a save say that it was not saved.
bool WithinLimits(std::string_view text, TiXmlDocument& doc, const std::string& name, bool saving,
                  std::string* error)
{
    const char* notSaved = saving ? "was not saved: it " : "";
    if (text.size() > CXmlFile::kMaxSize) {
        return Fail(error, "The file '%s' %sis too large (%zu bytes as UTF-8; at most %zu MiB are read).",
                    name.c_str(), notSaved, text.size(), CXmlFile::kMaxSize / (1024 * 1024));
    }
    const CXmlPreScan::Result scan = CXmlPreScan::Scan(text, CXmlFile::kMaxDepth, CXmlFile::kMaxAttributes);
    if (scan.overLimit) {
        const Position at = PositionOf(text, scan.offset, doc.TabSize());
        if (scan.depth > CXmlFile::kMaxDepth) {
            return Fail(error, "The file '%s' %sis nested too deeply (more than %d levels, at line %d).",
                        name.c_str(), notSaved, CXmlFile::kMaxDepth, at.line);
        }
        return Fail(error, "The file '%s' %shas an element with more than %d attributes (at line %d).",
                    name.c_str(), notSaved, CXmlFile::kMaxAttributes, at.line);
    }
    return true;
}

bool ReadFile(const std::string& path, std::string& bytes, std::string* error)
{
    // Non-blocking, so a FIFO put in the file's place cannot hang the program.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return Fail(error, "The file '%s' cannot be opened: %s.", path.c_str(), ErrnoText(errno).c_str());
    struct stat st;
    bool ok = true;
    if (fstat(fd, &st) != 0) {
        ok = Fail(error, "The file '%s' cannot be read: %s.", path.c_str(), ErrnoText(errno).c_str());
    } else if (!S_ISREG(st.st_mode)) {
        ok = Fail(error, "The file '%s' cannot be read: it is not a regular file.", path.c_str());
    } else if (static_cast<unsigned long long>(st.st_size) > CXmlFile::kMaxSize) {
        ok = Fail(error, "The file '%s' is too large (%llu bytes; at most %zu MiB are read).", path.c_str(),
                  static_cast<unsigned long long>(st.st_size), CXmlFile::kMaxSize / (1024 * 1024));
    } else {
        // Room for what fstat gave and one byte more, which shows a file that grew since; the
        // buffer grows with such a file up to one byte over the limit, never to the limit at once
        // (zero-filling that much for every small file cost time and memory).
        bytes.resize(std::min(static_cast<size_t>(st.st_size), CXmlFile::kMaxSize) + 1);
        size_t done = 0;
        for (;;) {
            if (done == bytes.size()) {
                if (bytes.size() > CXmlFile::kMaxSize)
                    break;
                bytes.resize(std::min(bytes.size() * 2, CXmlFile::kMaxSize + 1));
            }
            const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                ok = Fail(error, "The file '%s' cannot be read: %s.", path.c_str(), ErrnoText(errno).c_str());
                break;
            }
            if (got == 0)
                break;
            done += static_cast<size_t>(got);
        }
        bytes.resize(done);
        bytes.shrink_to_fit();
    }
    close(fd);
    return ok;
}

bool Parse(TiXmlDocument& doc, std::string_view bytes, const std::string& name, std::string* error)
{
    doc = TiXmlDocument(name);  // no nodes, no error, no byte order mark left from before
    if (bytes.size() > CXmlFile::kMaxSize) {
        return Fail(error, "The file '%s' is too large (%zu bytes; at most %zu MiB are read).", name.c_str(),
                    bytes.size(), CXmlFile::kMaxSize / (1024 * 1024));
    }

    if (const char* encoding = WideEncodingOf(bytes)) {
        return Fail(error, "The file '%s' is in %s, which is not read: it must be saved as UTF-8.", name.c_str(),
                    encoding);
    }

    // TinyXML reads only UTF-8 safely; it gets nothing else. Windows-1252 text can take up to
    // three times its size as UTF-8, so the limits apply to what TinyXML gets.
    const std::string text = CTextEncoding::FileTextToUtf8(bytes);
    const bool byteOrderMark = text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0;

    // TinyXML would silently stop reading at a zero byte.
    const size_t zero = text.find('\0');
    if (zero != std::string::npos) {
        const Position at = PositionOf(text, zero, doc.TabSize());
        return Fail(error, "The file '%s' is not a text file: it holds a zero byte at line %d, column %d.",
                    name.c_str(), at.line, at.column);
    }

    if (!WithinLimits(text, doc, name, false, error))
        return false;

    // With a byte order mark TinyXML notes it (and writes it back on saving) when left to
    // detect the encoding itself; it finds UTF-8 from the mark alone.
    doc.Parse(text.c_str(), nullptr, byteOrderMark ? TIXML_ENCODING_UNKNOWN : TIXML_ENCODING_UTF8);
    if (doc.Error()) {
        if (doc.ErrorId() == TiXmlBase::TIXML_ERROR_DOCUMENT_EMPTY) {
            Fail(error, "The file '%s' holds no XML document.", name.c_str());
        } else {
            // TinyXML gives no location when the text ended too early.
            Position at{doc.ErrorRow(), doc.ErrorCol()};
            if (at.line <= 0)
                at = PositionOf(text, text.size(), doc.TabSize());
            Fail(error, "The file '%s' is not well-formed XML. Line %d, column %d: %s", name.c_str(), at.line,
                 at.column, doc.ErrorDesc());
        }
        doc.Clear();
        return false;
    }
    DeclareUtf8(doc);
    return true;
}

}  // namespace

bool CXmlFile::Load(TiXmlDocument& doc, const std::string& path, std::string* error)
{
    std::string bytes;
    if (!ReadFile(path, bytes, error)) {
        doc = TiXmlDocument(path);
        return false;
    }
    return Parse(doc, bytes, path, error);
}

bool CXmlFile::LoadText(TiXmlDocument& doc, std::string_view text, const std::string& sourceName,
                        std::string* error)
{
    return Parse(doc, text, sourceName, error);
}

std::string CXmlFile::ToText(const TiXmlDocument& doc)
{
    char* buffer = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&buffer, &size);
    if (!stream)
        throw std::bad_alloc();
    doc.SaveFile(stream);
    std::fclose(stream);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

bool CXmlFile::Save(const TiXmlDocument& doc, const std::string& path, std::string* error, int* errorNumber)
{
    if (errorNumber)
        *errorNumber = 0;
    const std::string text = ToText(doc);
    if (!CTextEncoding::IsValidUtf8(text)) {
        return Fail(error, "The file '%s' was not saved: the document holds text that is not valid UTF-8.",
                    path.c_str());
    }
    // A file the loader would refuse could never be opened again.
    TiXmlDocument positions;
    if (!WithinLimits(text, positions, path, true, error))
        return false;
    return CAtomicFile::Write(path, text, error, 0644, errorNumber);
}
