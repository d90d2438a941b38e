#pragma once
// Brightness, contrast, hue and saturation applied to YUY2 pixels on the CPU, for video
// processors that offer no colour adjustment of their own (Wine's software processor among
// them). The values are the video processor's own: raw 16.16 fixed-point numbers over the
// nominal ranges below, so the settings mean the same picture whichever path draws it.
//
//   Y'  = (Y - 16) * c + 16 + b
//   Cb' = ((Cb - 128) cos h + (Cr - 128) sin h) * c * s + 128
//   Cr' = ((Cr - 128) cos h - (Cb - 128) sin h) * c * s + 128      each clamped to 0..255
//
// Pure computation; a value set takes effect at the next Prepare. Not thread-safe: the
// presenter uses it under its frame lock.

#include <cstdint>

// One control's range, in raw 16.16 fixed point like DXVA2_ValueRange.
struct ProcAmpRange {
    int32_t minimum;
    int32_t maximum;
    int32_t defaultValue;
    int32_t step;
};

enum ProcAmpMask : int {
    kProcAmpBrightness = 1,
    kProcAmpContrast = 2,
    kProcAmpHue = 4,
    kProcAmpSaturation = 8,
};

// 0 brightness, 1 contrast, 2 hue, 3 saturation; any other mask counts as brightness.
int ProcAmpIndex(int mask);
// The nominal range of a control: brightness -100..100 (0), contrast 0..10 (1),
// hue -180..180 degrees (0), saturation 0..10 (1).
ProcAmpRange NominalProcAmpRange(int mask);
// The raw value clamped into the nominal range of its control.
int32_t ClampProcAmpValue(int mask, int32_t raw);

class ColourAdjust_CL {
public:
    ColourAdjust_CL();

    // Raw 16.16 values in the order brightness, contrast, hue, saturation.
    void SetValues(const int32_t values[4]);
    bool IsNeutral() const { return m_neutral; }

    // Adjusts `pixels` YUY2 pixels (an even count) from src into dst; src and dst may be the
    // same buffer.
    void AdjustRow(const uint8_t* src, uint8_t* dst, int pixels) const;
    // The same, converted on the way to RGB32 (B, G, R, 0) like ConvertYuy2ToRgb32: one pass
    // for the presenter's CPU path.
    void AdjustRowToRgb32(const uint8_t* src, uint8_t* dst, int pixels) const;

    // What the vector kernels rebuild the same arithmetic from: brightness and contrast in
    // effect (clamped, raw 16.16), from which they compute the luma table's entries, and the
    // chroma gains.
    int32_t BrightnessRaw() const { return m_brightnessRaw; }
    int32_t ContrastRaw() const { return m_contrastRaw; }
    int32_t CosGain() const { return m_cosGain; }
    int32_t SinGain() const { return m_sinGain; }

private:
    void AdjustPair(const uint8_t* src, uint8_t out[4]) const;

    uint8_t m_luma[256];
    int32_t m_cosGain = 0, m_sinGain = 0;  // 16.16: cos h * c * s and sin h * c * s
    int32_t m_brightnessRaw = 0, m_contrastRaw = 0x10000;
    bool m_neutral = true;
};
