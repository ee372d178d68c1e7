// The pictures a report document's elements name, each file or program resource read once for
// the whole document, and the budget for what they all hold: elements naming the same picture
// share it, and the file bytes of all the distinct pictures together stay within kMaxBytes. Each
// is decoded only when drawn.
#pragma once

#include <map>
#include <memory>
#include <string>

class CReportImage;

class CReportPictureFiles {
public:
    // Files larger than this are no pictures of a report.
    static constexpr std::size_t kMaxFileSize = 64 * 1024 * 1024;
    // The file bytes of all pictures of one document; the pictures within it are the first ones
    // in the order the template names them. Two files at the file bound fit.
    static constexpr std::size_t kMaxBytes = 128 * 1024 * 1024;

    // The picture a filename attribute names: a file against folder (which ends in '/' or is
    // empty) or, starting with '$', a program resource. Null, and later asks for it null as
    // well, when it cannot be read, is no picture (CReportImage::FromBytes) or would pass the
    // budget; passing the budget is logged.
    std::shared_ptr<const CReportImage> Find(const std::string& filename, const std::string& folder);

    // The bytes the pictures read so far hold.
    std::size_t GetBytes() const { return m_bytes; }

private:
    // Read by its key (the file's device and inode, or the resource's name) so that every name
    // of one file finds the one copy.
    std::map<std::string, std::shared_ptr<const CReportImage>> m_pictures;
    std::size_t m_bytes = 0;
};
