#include "grid/widget/gridqtconvert.h"

#include <QFontInfo>
#include <QStringDecoder>

#include <algorithm>

namespace {
// Windows-1252 0x80..0x9F; the rest of the upper half is Latin-1.
const char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};
} // namespace

QString GridToQString(const std::string& text)
{
    bool ascii = true;
    for (unsigned char c : text)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError())
        return decoded;
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (unsigned char c : text)
        out.append(c >= 0x80 && c < 0xA0 ? QChar(kCp1252High[c - 0x80]) : QChar(c));
    return out;
}

std::string GridFromQString(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QColor GridToQColor(uint32_t colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

uint32_t GridFromQColor(const QColor& colour)
{
    return GridRGB(colour.red(), colour.green(), colour.blue());
}

QFont GridToQFont(const CGridFont& font)
{
    QFont qfont;
    if (!font.faceName.empty())
        qfont.setFamily(GridToQString(font.faceName));
    if (font.height < 0)
        qfont.setPixelSize(-font.height);
    else if (font.height > 0)
        qfont.setPixelSize(font.height * 4 / 5); // a cell height includes the leading
    if (font.weight > 0)
        qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    return qfont;
}

CGridFont GridFromQFont(const QFont& qfont)
{
    CGridFont font;
    font.faceName = GridFromQString(qfont.family());
    if (font.faceName.size() > 31)
        font.faceName.resize(31);
    font.height = -QFontInfo(qfont).pixelSize();
    font.weight = static_cast<int>(qfont.weight());
    font.italic = qfont.italic();
    font.underline = qfont.underline();
    font.strikeOut = qfont.strikeOut();
    return font;
}

unsigned GridKeyFromQt(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_PageUp:
        return GridKey::PageUp;
    case Qt::Key_PageDown:
        return GridKey::PageDown;
    case Qt::Key_End:
        return GridKey::End;
    case Qt::Key_Home:
        return GridKey::Home;
    case Qt::Key_Left:
        return GridKey::Left;
    case Qt::Key_Up:
        return GridKey::Up;
    case Qt::Key_Right:
        return GridKey::Right;
    case Qt::Key_Down:
        return GridKey::Down;
    case Qt::Key_Insert:
        return GridKey::Insert;
    case Qt::Key_Delete:
        return GridKey::Delete;
    case Qt::Key_F2:
        return GridKey::F2;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return GridKey::Tab;
    default:
        return 0;
    }
}

unsigned GridModifiersFromQt(Qt::KeyboardModifiers modifiers)
{
    unsigned out = 0;
    if (modifiers & Qt::ShiftModifier)
        out |= GridModifier::Shift;
    if (modifiers & Qt::ControlModifier)
        out |= GridModifier::Ctrl;
    return out;
}
