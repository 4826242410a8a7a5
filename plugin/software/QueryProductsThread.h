#pragma once

#include <Sornet/ProductAction.h>
#include <Sornet/QueryProductParam.h>
#include <Sornet/QueryProductResponse.h>

#include <QThread>
#include <QVariant>

// Asks the service, off the GUI thread, for the products of the user.
class QueryProductsThread : public QThread
{
    Q_OBJECT
public:
    explicit QueryProductsThread(QObject *parent = nullptr);
    ~QueryProductsThread() override;

    // Set before start(), not while running.
    void setParam(const QString &token, long userId);

signals:
    void begin();
    // `response` holds a QueryProductResponse.
    void finish(int code, QVariant response);

protected:
    void run() override;

private:
    QueryProductParam mParam;
    QueryProductResponse mResponse;
};
