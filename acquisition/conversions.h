// Unit conversions with the fixed factors the readings are shown and stored with.
#pragma once

// Exactly these factors; the reverse conversions divide by the same ones, so a value
// converted and converted back is the value the console sent.
inline double celsiusToFahrenheit(double c)
{
    return c * 9.0 / 5.0 + 32.0;
}
inline double fahrenheitToCelsius(double f)
{
    return (f - 32.0) / 1.8;
}
inline double millibarsToInchesHg(double mb)
{
    return mb * 0.02953;
}
inline double millimetresToInches(double mm)
{
    return mm * 0.03937;
}
inline double inchesToMillimetres(double in)
{
    return in / 0.03937;
}
inline double metresPerSecondToMph(double v)
{
    return v * 2.237;
}
inline double mphToMetresPerSecond(double v)
{
    return v / 2.237;
}
