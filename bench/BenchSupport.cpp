#include "BenchSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdlib>

namespace BenchSupport {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double medianRatio(const std::vector<double> &ours, const std::vector<double> &theirs)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < ours.size() && i < theirs.size(); ++i)
        ratios.push_back(ours[i] / theirs[i]);
    return median(ratios);
}

qint64 statusKib(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray key = QByteArray(field) + ':';
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

void resetPeakRss()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

double runTool(const QString &program, const QStringList &args, QByteArray *output)
{
    QElapsedTimer timer;
    timer.start();
    QProcess p;
    if (!output)
        p.setStandardOutputFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        QTextStream(stderr) << program << " failed: " << p.readAllStandardError() << Qt::endl;
        ::exit(1);
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (output)
        *output = p.readAllStandardOutput();
    return ms;
}

StallMeter::StallMeter()
{
    mTick.setTimerType(Qt::PreciseTimer);
    mTick.setInterval(10);
    QObject::connect(&mTick, &QTimer::timeout, [this] { mLongest = qMax(mLongest, mSinceTick.restart() - 10); });
    mSinceTick.start();
    mTick.start();
}

} // namespace BenchSupport
