#pragma once
// Colour interpolation over a run of legend rows in one colour column. RGB and
// HSL are computed in single precision step by step so that every row gets
// exactly the bytes the editor has always produced. OKLab blends in a
// perceptual space, so a ramp steps evenly to the eye.

class CLLLegend;

enum class CColourColumn { Fill, Back, Line };
enum class CInterpolationMode { RGB, HSL, OKLab };

// Recomputes rows first + 1 .. last from the colours of rows first and last; a
// fill or background row that gets a colour loses its transparency. Rows must
// lie inside the legend. Returns the number of rows recomputed.
int InterpolateColourColumn(CLLLegend& legend, int first, int last, CColourColumn column,
                            CInterpolationMode mode);
