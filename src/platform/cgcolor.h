#pragma once
// Colour value of the graphics layer: four float components in 0..1 and the
// same colour packed as 0x00BBGGRR (red in the low byte), always kept in step.
// Red, green and blue are held at the 8-bit steps of the packed value.

#include <cstdint>

class CGColor {
public:
    enum Mode { ModeRGB = 0, ModeHSL = 1 };

    CGColor() = default;
    CGColor(const CGColor&) = default;
    CGColor& operator=(const CGColor&) = default;

    // Packed 0x00BBGGRR; bits above the low 24 are not part of a colour and are dropped.
    explicit CGColor(uint32_t packed);
    // Components 0..255.
    CGColor(int red, int green, int blue);
    // Components as fractions; anything above 1 counts as full intensity so that
    // callers passing 255.0 for "full" get the same colour as those passing 1.0.
    CGColor(float red, float green, float blue, float alpha);
    // As above, but the three values are hue, saturation, lightness when mode is ModeHSL.
    CGColor(float c1, float c2, float c3, float alpha, int mode);

    bool operator==(const CGColor& other) const { return m_Packed == other.m_Packed; }
    bool operator!=(const CGColor& other) const { return !(*this == other); }

    void SetRGB(float red, float green, float blue);
    void SetRGBA(float red, float green, float blue, float alpha);
    void SetHSL(float hue, float saturation, float lightness);
    void SetHSLA(float hue, float saturation, float lightness, float alpha);
    void SetPacked(uint32_t packed);

    // Hue, saturation and lightness all in 0..1 (hue 1 is a full turn).
    static void RGB2HSL(float red, float green, float blue, float& hue, float& saturation,
                        float& lightness);

    float GetRed() const { return m_Red; }
    float GetGreen() const { return m_Green; }
    float GetBlue() const { return m_Blue; }
    float GetAlpha() const { return m_Alpha; }
    uint32_t GetPacked() const { return m_Packed; }

    int Red255() const { return static_cast<int>(m_Packed & 0xFF); }
    int Green255() const { return static_cast<int>((m_Packed >> 8) & 0xFF); }
    int Blue255() const { return static_cast<int>((m_Packed >> 16) & 0xFF); }

private:
    void Pack();

    float m_Red = 0.0f;
    float m_Green = 0.0f;
    float m_Blue = 0.0f;
    float m_Alpha = 1.0f;
    uint32_t m_Packed = 0;
};
