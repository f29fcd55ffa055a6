#pragma once
// Pen files made from tables: each style a list of strokes, each stroke its instruction bytes.

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

using PenStyle = std::vector<std::vector<uint8_t>>;

// A valid file with the signature given, records laid out after the offset table.
inline std::vector<uint8_t> PenBytes(const std::vector<PenStyle>& styles, const std::string& signature = "PEN2")
{
    std::vector<uint8_t> bytes(signature.begin(), signature.end()), records;
    bytes.insert(bytes.end(), {0, 0, uint8_t(styles.size() & 0xFF), uint8_t(styles.size() >> 8)});
    for (const PenStyle& style : styles) {
        const size_t at = 8 + 2 * styles.size() + records.size();
        bytes.insert(bytes.end(), {uint8_t(at & 0xFF), uint8_t(at >> 8)});
        records.insert(records.end(), {uint8_t(style.size()), 0, 0});
        for (const auto& stroke : style) {
            records.push_back(uint8_t(stroke.size()));
            records.insert(records.end(), stroke.begin(), stroke.end());
        }
    }
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::ssize(bytes));
}
