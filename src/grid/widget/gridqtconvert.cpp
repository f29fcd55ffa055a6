#include "grid/widget/gridqtconvert.h"

#include "platform/ctextcodec.h"

#include <QFontInfo>

#include <algorithm>

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
    // One decoding rule for the whole program: UTF-8 when valid, else Windows-1252.
    const std::string utf8 = CTextCodec::ToUtf8(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
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
