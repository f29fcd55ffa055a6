#include "pickers/core/cpatterntable.h"

#include "platform/cbmpfile.h"
#include "platform/cfilefacts.h"
#include "platform/cnumberformat.h"

#include <vector>

int CPatternTable::SlotOf(const std::string& fileName)
{
    std::string stem =
        fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
    if (const size_t cut = stem.rfind('_'); cut != std::string::npos)
        stem.erase(0, cut + 1);
    const int32_t n = CNumberFormat::ParseInt32(stem);
    return n >= 0 && n < Slots ? n : -1;
}

const CGridBitmap& CPatternTable::Bitmap(int n) const
{
    static const CGridBitmap none;
    return n >= 0 && n < Slots ? m_Bitmaps[static_cast<size_t>(n)] : none;
}

void CPatternTable::Set(int n, const CGridBitmap& bitmap)
{
    if (n < 0 || n >= Slots)
        return;
    m_Bitmaps[static_cast<size_t>(n)] = bitmap;
    m_Loaded[static_cast<size_t>(n)] = true;
}

int CPatternTable::Load(const std::string& folder)
{
    m_Loaded.fill(false);
    std::vector<std::string> names;
    // The pattern folder comes from a Windows installation, where "*.bmp" matches any case.
    if (!CFileFacts::FilesWithExtension(folder, ".bmp", CFileFacts::Case::Ignored, names))
        return 0;
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    int loaded = 0;
    for (const std::string& name : names) {
        const int n = SlotOf(name);
        if (n < 0)
            continue;
        std::string reason;
        const std::optional<CBmpImage> image = CBmpFile::Read(prefix + name, reason);
        if (!image)
            continue;
        CGridBitmap bitmap(image->width, image->height);
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x)
                bitmap.Set(x, y, image->Ink(x, y));
        Set(n, bitmap);
        ++loaded;
    }
    return loaded;
}
