#include <QtTest>

class TestRegister : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(TestRegister)
#include "tst_register.moc"
