#pragma once

#include <Sornet/ReplaceEmptyCarConfigurationParam.h>
#include <Sornet/ReplaceEmptyCarConfigurationResponse.h>

#include <QThread>
#include <QVariant>

// Submits, off the GUI thread, the vehicle and languages chosen for a
// single-vehicle product.
class ReplaceEmptyCarConfigurationThread : public QThread
{
    Q_OBJECT
public:
    explicit ReplaceEmptyCarConfigurationThread(QObject *parent = nullptr);
    ~ReplaceEmptyCarConfigurationThread() override;

    // Set before start(), not while running.
    void setParam(const ReplaceEmptyCarConfigurationParam &param) { mParam = param; }
    const ReplaceEmptyCarConfigurationParam &param() const { return mParam; }

signals:
    void begin();
    // `response` holds a ReplaceEmptyCarConfigurationResponse.
    void finish(int code, QVariant response);

protected:
    void run() override;

private:
    ReplaceEmptyCarConfigurationParam mParam;
    ReplaceEmptyCarConfigurationResponse mResponse;
};
