#pragma once

#include <Sornet/GetAllCarListAndLanguageListParam.h>
#include <Sornet/GetAllCarListAndLanguageListResponse.h>

#include <QThread>
#include <QVariant>

// Asks the service, off the GUI thread, which vehicles and languages a
// single-vehicle product may be configured with.
class GetAllCarListAndLanguageListThread : public QThread
{
    Q_OBJECT
public:
    explicit GetAllCarListAndLanguageListThread(QObject *parent = nullptr);
    ~GetAllCarListAndLanguageListThread() override;

    // Set before start(), not while running.
    void setParam(const GetAllCarListAndLanguageListParam &param) { mParam = param; }
    const GetAllCarListAndLanguageListParam &param() const { return mParam; }

signals:
    void begin();
    // `response` holds a GetAllCarListAndLanguageListResponse.
    void finish(int code, QVariant response);

protected:
    void run() override;

private:
    GetAllCarListAndLanguageListParam mParam;
    GetAllCarListAndLanguageListResponse mResponse;
};
