// The chart's enumerations; every number is the one the chart window's menus pass.
#pragma once

#include <QString>

enum class ChartAxis { X, Y, Y2 };

// "X", "Y" or "Y2"; false for any other name.
bool chartAxisFromName(const QString &name, ChartAxis *axis);

enum class ChartType : int {
    Plot = 1,
    Bar = 2,
    Pie = 3,
    StackingBar = 4,
    Area = 5,
    HiLo = 6,
    HiLoOpenClose = 7,
    Candle = 8,
    Polar = 9,
    Radar = 10,
    FilledRadar = 11,
};

enum class FillPattern : int {
    None = 1,
    Solid = 2,
    Percent25 = 3,
    Percent50 = 4,
    Percent75 = 5,
    HorizontalStripe = 6,
    VerticalStripe = 7,
    Stripe45 = 8,
    Stripe135 = 9,
    DiagHatched = 10,
    CrossHatched = 11,
};

enum class SymbolShape : int {
    None = 1,
    Dot = 2,
    Box = 3,
    Triangle = 4,
    Diamond = 5,
    Star = 6,
    VerticalLine = 7,
    HorizontalLine = 8,
    Cross = 9,
    Circle = 10,
    Square = 11,
};

// Axis annotation: 0 writes the axis values, 2 writes exactly the added value labels.
// The first setting picks the texts, the second where tick marks and grid lines stand.
enum class AxisAnnotation : int { Values = 0, ValueLabels = 2 };

// Drawing order of a chart group: 1 in front of the other group, 2 behind it.
enum class DrawingOrder : int { Front = 1, Back = 2 };

// Mouse actions. 1 and 2 bracket a drag whose kind is 3, 4 or 5 (and 8); 6, 7, 12
// start, extend and end a zoom box, 9 abandons it; 10 restores the unzoomed view.
enum class ChartAction : int {
    StartDrag = 1,
    EndDrag = 2,
    Rotate = 3, // drag turns the 3D view: rotation with x, elevation with y
    Scale = 4,  // drag stretches the axes about the drag's start point
    Move = 5,   // drag pans the axes
    ZoomStart = 6,
    ZoomExtend = 7,
    Depth = 8, // drag changes the 3D depth
    ZoomCancel = 9,
    Reset = 10, // axes back to their set or automatic ranges; the 3D view stays
    Pick = 11,  // reports the point nearest the pointer (pointPicked)
    ZoomEnd = 12,
};

// Standard Windows message numbers that mouse bindings are keyed by.
namespace ChartMessage {
constexpr int KeyDown = 256;
constexpr int MouseMove = 512;
constexpr int LeftButtonDown = 513;
constexpr int LeftButtonUp = 514;
constexpr int RightButtonDown = 516;
constexpr int RightButtonUp = 517;
} // namespace ChartMessage

// Printing: format 3 draws a picture rendered at the device's resolution, 4 draws
// vectors; scaling 2 fits the width, 3 the height, 4 keeps the on-screen size,
// 5 fills the whole given rectangle.
enum class PrintFormat : int { Picture = 3, Vector = 4 };
enum class PrintScaling : int { FitWidth = 2, FitHeight = 3, Standard = 4, FitPage = 5 };

// Clipboard formats: 2 a bitmap, 3 a PDF vector picture, 4 both.
enum class ClipboardFormat : int { Bitmap = 2, Vector = 3, BitmapAndVector = 4 };

constexpr int TwipsPerPixel = 15;
