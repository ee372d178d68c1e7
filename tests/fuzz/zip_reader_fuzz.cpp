// libFuzzer target over the zip reader: archives from memory, every item queried, found by name
// and read to memory in small pieces. A crash, a sanitizer report or a hang is a finding.
#include "Renovix/RenovixLib/ZipArchive.h"
#include "Renovix/RenovixLib/ZipReader.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Enough to reach every code path; more only makes each run slower (a small archive may
// inflate to gigabytes).
constexpr int kMaxItems = 32;
constexpr size_t kMaxBytes = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HZIP zip = ZipOpenArchive(data, size, ZIP_KIND_MEMORY);
    if (zip == nullptr)
        return 0;
    ZipItemInfo count;
    if (ZipGetItem(zip, -1, count) == ZIP_RESULT_OK) {
        std::vector<char> buffer(777);
        for (int i = 0; i < count.index && i < kMaxItems; ++i) {
            ZipItemInfo item;
            if (ZipGetItem(zip, i, item) != ZIP_RESULT_OK)
                continue;
            ZipReader::IsSafeRelativePath(item.name);
            int index = -1;
            ZipFindItem(zip, item.name.c_str(), i % 2 == 0, index, &item);
            size_t total = 0;
            size_t written = 0;
            while (ZipUnzipItem(zip, i, buffer.data(), buffer.size(), ZIP_KIND_MEMORY, &written) == ZIP_RESULT_MORE) {
                if (written == 0 || written > buffer.size())
                    std::abort();
                total += written;
                if (total > kMaxBytes)
                    break;
            }
        }
        // Backwards again, after reading forwards.
        ZipItemInfo first;
        ZipGetItem(zip, 0, first);
    }
    if (ZipCloseArchive(zip) != ZIP_RESULT_OK)
        std::abort();
    return 0;
}
