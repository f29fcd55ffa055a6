#pragma once
// Pen files made from tables: each style a list of strokes, each stroke its
// instruction bytes.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

using PenStyle = std::vector<std::vector<uint8_t>>;

// A valid file with the signature given, records laid out after the offset table.
inline std::vector<uint8_t> PenBytes(const std::vector<PenStyle>& styles,
                                     const std::string& signature = "PEN2")
{
    std::vector<uint8_t> bytes(signature.begin(), signature.end());
    bytes.insert(bytes.end(), {0, 0, uint8_t(styles.size() & 0xFF), uint8_t(styles.size() >> 8)});
    size_t at = bytes.size() + 2 * styles.size();
    std::vector<uint8_t> records;
    for (const PenStyle& style : styles) {
        bytes.push_back(uint8_t(at & 0xFF));
        bytes.push_back(uint8_t(at >> 8));
        std::vector<uint8_t> record{uint8_t(style.size()), 0, 0};
        for (const auto& stroke : style) {
            record.push_back(uint8_t(stroke.size()));
            record.insert(record.end(), stroke.begin(), stroke.end());
        }
        records.insert(records.end(), record.begin(), record.end());
        at += record.size();
    }
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

inline std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, size_t at,
                                    const std::vector<uint8_t>& with)
{
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}
