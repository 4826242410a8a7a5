#pragma once

// Library-wide type plumbing: meta-type registration of the value types
// (queued signals, QVariant round trips, serialisation) and safe number
// conversion for the hand-written parsers.
class SornetTypes
{
public:
    static void registerAll();

    // JSON numbers arrive as double; values that do not fit (or are not
    // finite) are refused so that the field keeps its initial value.
    static bool toInt(double value, int &out);
    static bool toLong(double value, long &out);
};
