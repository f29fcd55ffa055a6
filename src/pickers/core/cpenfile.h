#pragma once
// The host GIS's pen file: numbered line styles, each a list of strokes, each
// stroke a string of drawing instructions (see clinestylerenderer.h).

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

enum class EPenFileStatus { Ok, CannotOpen, Invalid };

class CPenFile {
public:
    // Offsets in the file are 16-bit, so every record starts in the first
    // 64 KiB; the longest record (255 strokes of 255 bytes) ends this far in.
    // Nothing past it can belong to a style, so nothing past it is read.
    static constexpr size_t MaxUsefulBytes = 0xFFFF + 3 + 255 * 256;

    static CPenFile Read(const std::string& path);
    static CPenFile Parse(const std::vector<uint8_t>& bytes);
    // Parsed files shared by path, read again only when the file's
    // modification time, size or identity changed.
    static std::shared_ptr<const CPenFile> Cached(const std::string& path);

    CPenFile() = default;
    CPenFile(CPenFile&& other) noexcept;
    CPenFile& operator=(CPenFile&& other) noexcept;

    EPenFileStatus Status() const { return m_Status; }
    // Why the file cannot be used: the read's reason, or what is wrong with
    // its header; empty when it is Ok.
    const std::string& Why() const { return m_Why; }
    // The usable style count: the header's count, but no more than the offset
    // entries that lie whole in the file, min(count, (file size - 8) / 2); 0
    // unless the file is valid. All 65535 styles a header can declare are
    // offered when their entries are there: the table is as large as the
    // count, not a fixed size.
    int StyleCount() const { return static_cast<int>(m_Records.size()); }
    // The strokes of a style; empty for a style out of range, for one whose
    // offset entry or record lies past the end of the file, and for any style
    // of a file that is not valid. A stroke cut short by the end of the file
    // keeps the bytes that are there.
    const std::vector<std::vector<uint8_t>>& Strokes(int style) const;

private:
    using StrokeList = std::vector<std::vector<uint8_t>>;

    EPenFileStatus m_Status = EPenFileStatus::CannotOpen;
    std::string m_Why;
    std::vector<uint8_t> m_Bytes;
    // Styles are parsed when first asked for: a hostile header could point
    // 65535 styles at long records that overlap, which parsed all at once
    // would fill memory many times over the file's size.
    mutable std::vector<std::unique_ptr<StrokeList>> m_Records;
    mutable std::mutex m_Mutex;
};
