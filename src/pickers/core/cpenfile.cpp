#include "pickers/core/cpenfile.h"

#include "platform/cfileio.h"

#include <algorithm>
#include <map>
#include <optional>

namespace {

constexpr size_t kHeaderSize = 8;

bool HasSignature(const std::vector<uint8_t>& bytes)
{
    static const char kSignature[] = "PEN2";
    for (size_t i = 0; i < 4; ++i) {
        uint8_t c = bytes[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<uint8_t>(c - 'a' + 'A');
        if (c != static_cast<uint8_t>(kSignature[i]))
            return false;
    }
    return true;
}

unsigned Word(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | (unsigned(bytes[at + 1]) << 8);
}

} // namespace

CPenFile::CPenFile(CPenFile&& other) noexcept
    : m_Status(other.m_Status), m_Why(std::move(other.m_Why)), m_Bytes(std::move(other.m_Bytes)),
      m_Records(std::move(other.m_Records))
{
}

CPenFile& CPenFile::operator=(CPenFile&& other) noexcept
{
    m_Status = other.m_Status;
    m_Why = std::move(other.m_Why);
    m_Bytes = std::move(other.m_Bytes);
    m_Records = std::move(other.m_Records);
    return *this;
}

CPenFile CPenFile::Parse(const std::vector<uint8_t>& bytes)
{
    CPenFile file;
    file.m_Status = EPenFileStatus::Invalid;
    if (bytes.size() < kHeaderSize || !HasSignature(bytes)) {
        file.m_Why = bytes.size() < kHeaderSize ? "header shorter than 8 bytes" : "no PEN2 signature";
        return file;
    }
    file.m_Status = EPenFileStatus::Ok;
    file.m_Bytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(
                                                           std::min(bytes.size(), MaxUsefulBytes)));
    // A count beyond the offset table would read record bytes as offsets and
    // offer styles drawn from garbage: only entries that lie whole in the file count.
    file.m_Records.resize(std::min<size_t>(Word(bytes, 6), (bytes.size() - kHeaderSize) / 2));
    return file;
}

CPenFile CPenFile::Read(const std::string& path)
{
    std::string data;
    if (const CFileResult read = CFileIO::ReadStart(path, data, MaxUsefulBytes); !read.Ok()) {
        CPenFile file;
        file.m_Why = read.Reason();
        return file;
    }
    return Parse(std::vector<uint8_t>(data.begin(), data.end()));
}

const std::vector<std::vector<uint8_t>>& CPenFile::Strokes(int style) const
{
    static const StrokeList kNone;
    if (style < 0 || static_cast<size_t>(style) >= m_Records.size())
        return kNone;
    std::lock_guard lock(m_Mutex);
    std::unique_ptr<StrokeList>& record = m_Records[static_cast<size_t>(style)];
    if (record)
        return *record;
    record = std::make_unique<StrokeList>();
    const size_t entry = kHeaderSize + 2 * static_cast<size_t>(style);
    if (entry + 2 > m_Bytes.size())
        return *record;
    size_t at = Word(m_Bytes, entry);
    if (at + 3 > m_Bytes.size())
        return *record;
    const unsigned strokes = m_Bytes[at];
    at += 3;
    for (unsigned i = 0; i < strokes && at < m_Bytes.size(); ++i) {
        const size_t length = m_Bytes[at++];
        const size_t end = std::min(at + length, m_Bytes.size());
        record->emplace_back(m_Bytes.begin() + static_cast<std::ptrdiff_t>(at),
                             m_Bytes.begin() + static_cast<std::ptrdiff_t>(end));
        at = end;
    }
    return *record;
}

std::shared_ptr<const CPenFile> CPenFile::Cached(const std::string& path)
{
    struct Entry {
        CFileStamp stamp;
        std::shared_ptr<const CPenFile> file;
    };
    static std::mutex mutex;
    static std::map<std::string, Entry> cache;

    const std::optional<CFileStamp> stamp = CFileIO::Stamp(path);
    std::lock_guard lock(mutex);
    if (!stamp) {
        // Nothing to tell a later version apart by: read it as it is now.
        cache.erase(path);
        return std::make_shared<const CPenFile>(Read(path));
    }
    auto found = cache.find(path);
    if (found != cache.end() && found->second.stamp == *stamp)
        return found->second.file;
    auto file = std::make_shared<const CPenFile>(Read(path));
    cache[path] = {*stamp, file};
    return file;
}
