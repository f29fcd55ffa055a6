#pragma once
// Draws a numbered line style of a pen file as a horizontal sample.
//
// Each stroke of the style is a motif of instructions that repeats along the
// line from x to R = x + width - 10, the next repetition starting where the
// last one ended, less its repeat mark. Base-colour strokes of a style that
// names colours of its own are drawn red, so that the sample shows which
// parts follow the legend's line colour.

#include "grid/cgridpainter.h"

#include <cstdint>
#include <string>
#include <vector>

class CPenFile;

void DrawLineStyle(CGridPainter& surface, int32_t style, const CPenFile& pen, int x, int y,
                   int width, int height, uint32_t colour);
// Through CPenFile::Cached, so a file is read again only when it changed.
void DrawLineStyle(CGridPainter& surface, int32_t style, const std::string& penFile, int x, int y,
                   int width, int height, uint32_t colour);

// Whether a style's strokes name a pen or fill colour of their own (opcode 7
// or 20, found walking the instructions with their operand counts).
bool LineStyleHasOwnColours(const std::vector<std::vector<uint8_t>>& strokes);
