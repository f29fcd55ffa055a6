#pragma once
// The one place where grid values meet Qt types: colours, fonts, keys, text.

#include "grid/gridtypes.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <string>

// Cell text is bytes: valid UTF-8 reads as UTF-8, anything else as Windows-1252.
QString GridToQString(const std::string& text);
std::string GridFromQString(const QString& text);

QColor GridToQColor(uint32_t colour);
uint32_t GridFromQColor(const QColor& colour);

QFont GridToQFont(const CGridFont& font);
CGridFont GridFromQFont(const QFont& font);

// GridKey code of a key that types nothing (arrows, Delete, F2, ...), or 0.
unsigned GridKeyFromQt(int qtKey);
unsigned GridModifiersFromQt(Qt::KeyboardModifiers modifiers);
