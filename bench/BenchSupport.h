#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>
#include <QStringList>
#include <QTextStream>

#include <vector>

// What the benchmarks share: their output, medians over interleaved rounds
// and this process's memory figures.
namespace BenchSupport {

QTextStream &out();

double median(std::vector<double> values);

// Median of the per-round ratios: each round's pair ran back to back, so a
// load change on a shared machine hits both sides of one ratio alike.
double medianRatio(const std::vector<double> &ours, const std::vector<double> &theirs);

// A field of /proc/self/status ("VmRSS", "VmHWM"), in KiB.
qint64 statusKib(const char *field);

// Starts the high-water mark afresh (Linux 4.0 and later).
void resetPeakRss();

// Runs a program to its end and returns the milliseconds it took; its
// standard output goes to `output` (or nowhere). A program that fails ends
// the benchmark with its error output.
double runTool(const QString &program, const QStringList &args, QByteArray *output = nullptr);

// How late a 10 ms tick of the event loop comes is how long the loop was
// busy: the longest such stall while it lives.
class StallMeter
{
public:
    StallMeter();
    qint64 longestMs() const { return mLongest; }

private:
    QTimer mTick;
    QElapsedTimer mSinceTick;
    qint64 mLongest = 0;
};

} // namespace BenchSupport
