#pragma once

#include <QCoreApplication>
#include <QString>

#include <deque>

// Bytes per second over the last few seconds, from the bytes that arrive.
// Averaged over a sliding window, so that a figure shown once a second
// moves smoothly instead of jumping with every packet.
class TransferRate
{
    Q_DECLARE_TR_FUNCTIONS(TransferRate)
public:
    static constexpr qint64 DefaultWindow = 5000; // ms

    explicit TransferRate(qint64 windowMs = DefaultWindow)
        : mWindow(windowMs)
    {
    }

    // `bytes` more arrived at `nowMs` (any monotonic clock in milliseconds).
    void add(qint64 nowMs, qint64 bytes);
    // The rate at `nowMs`; -1 until a second has passed since the first
    // bytes, too soon for a figure worth showing.
    double bytesPerSecond(qint64 nowMs) const;
    void clear();

    // "1.6MB/s", in the size units of the software list.
    static QString speedText(double bytesPerSecond);
    // What is left at that rate, in steps coarse enough not to flicker:
    // "about 25 s left", "about 4 min left", "about 1 h 5 min left". Empty
    // when it cannot be told (no rate yet, or nothing arriving).
    static QString timeLeftText(qint64 bytesLeft, double bytesPerSecond);
    // The same for a number of seconds; empty when it is below 0.
    static QString timeLeftText(double seconds);

private:
    struct Sample
    {
        qint64 time;
        qint64 total; // bytes so far, this sample included
    };

    qint64 mWindow;
    qint64 mTotal = 0;
    std::deque<Sample> mSamples;
};
