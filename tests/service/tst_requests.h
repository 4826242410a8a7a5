#pragma once

#include <StandInService.h>

#include <QObject>

// What each action puts on the wire, read back from the stand-in's log.
class TestRequests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void endpoints_data();
    void endpoints();
    void loginPasswordRule_data();
    void loginPasswordRule();
    void valuesArePercentEncoded_data();
    void valuesArePercentEncoded();
    void answersFillResponses();

private:
    StandInService mService;
};
