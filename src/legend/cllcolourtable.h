#pragma once
// An ordered list of colours with the sampling numbers used to pick a colour
// for a fraction of a data range. The default is 32 colours ramped in HSL from
// blue to red.

#include "platform/cgcolor.h"
#include "platform/cnumberformat.h"

#include <cstdint>
#include <string>
#include <vector>

class CLLColourTable {
public:
    enum Kind : int32_t { KindNone = -1, KindRamp = 0, KindLUT = 2, KindLegend = 3 };

    CLLColourTable();
    CLLColourTable(const CLLColourTable&) = default;
    CLLColourTable& operator=(const CLLColourTable&) = default;
    virtual ~CLLColourTable() = default;

    virtual void SetDefault();
    virtual void Clear();
    // Reads a colour look-up table file; an unreadable file leaves the table empty.
    virtual void ReadLUT(const std::string& path);
    // The same for the file's content already in memory; path names it.
    void ReadLUTText(const std::string& data, const std::string& path);
    // The end colours are taken by value: they are often colours of this very
    // table, which the ramp replaces.
    virtual int RampRGB(CGColor from, CGColor to, int n);
    virtual int RampHSL(CGColor from, CGColor to, int n);
    virtual int SetLevels(int32_t levels);
    virtual int32_t GetLevels() const { return m_Levels; }
    // Any fraction gives an index from 0 to the last: beyond the range it is
    // clamped, and NaN gives 0.
    virtual int32_t IndexOf(double fraction) const;
    virtual CGColor GetColour(double fraction) const;
    // The colour at IndexOf(fraction), to change in place; null when the table
    // has no colour there (an empty table).
    virtual CGColor* GetColourRef(double fraction);
    virtual bool IsValid() const { return m_Count > 1; }

    void RemoveAt(int i);
    void InsertAt(int i, uint32_t packedColour);

    std::vector<CGColor> m_Colours;
    int32_t m_Kind = KindNone;
    std::string m_FileName;
    int32_t m_Count = 0;
    int32_t m_LastIndex = -1;
    int32_t m_Levels = 0;
    int32_t m_LastLevel = -1;
    int32_t m_Resampled = 0;
    double m_Ratio = 1.0;

private:
    template <typename Mix> int Ramp(int n, Mix mix);
};
