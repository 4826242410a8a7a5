#include "TransferRate.h"

#include "SizeText.h"

#include <QtMath>

namespace {
constexpr qint64 MinimumSpan = 1000; // ms of samples before a rate is told
}

void TransferRate::add(qint64 nowMs, qint64 bytes)
{
    if (bytes <= 0)
        return;
    if (mSamples.empty())
        mSamples.push_back({nowMs, mTotal}); // where counting began
    mTotal += bytes;
    mSamples.push_back({nowMs, mTotal});
    // Keep one sample at or before the window's start as its base.
    while (mSamples.size() > 2 && mSamples[1].time <= nowMs - mWindow)
        mSamples.pop_front();
}

double TransferRate::bytesPerSecond(qint64 nowMs) const
{
    if (mSamples.empty() || nowMs - mSamples.front().time < MinimumSpan)
        return -1;
    // The base: the newest sample at or before the window's start, else the
    // oldest there is.
    Sample base = mSamples.front();
    for (const Sample &sample : mSamples) {
        if (sample.time > nowMs - mWindow)
            break;
        base = sample;
    }
    const qint64 span = nowMs - base.time;
    if (span <= 0)
        return -1;
    return double(mTotal - base.total) * 1000.0 / double(span);
}

void TransferRate::clear()
{
    mTotal = 0;
    mSamples.clear();
}

QString TransferRate::speedText(double bytesPerSecond)
{
    if (bytesPerSecond < 0)
        return QString();
    if (bytesPerSecond < 1)
        return QStringLiteral("0B/s");
    return SizeText::of(qint64(bytesPerSecond)) + QStringLiteral("/s");
}

QString TransferRate::timeLeftText(qint64 bytesLeft, double bytesPerSecond)
{
    if (bytesLeft < 0 || bytesPerSecond < 1)
        return QString();
    return timeLeftText(double(bytesLeft) / bytesPerSecond);
}

QString TransferRate::timeLeftText(double seconds)
{
    if (seconds < 0 || seconds > 99.0 * 3600)
        return QString(); // nothing sensible to wait for
    if (seconds < 60) {
        // Up to the next five seconds, never "0 s" while bytes are left.
        const int s = qMax(5, int(qCeil(seconds / 5.0)) * 5);
        return s >= 60 ? tr("about 1 min left") : tr("about %1 s left").arg(s);
    }
    const int minutes = int(qCeil(seconds / 60.0));
    if (minutes < 60)
        return tr("about %1 min left").arg(minutes);
    return tr("about %1 h %2 min left").arg(minutes / 60).arg(minutes % 60);
}
