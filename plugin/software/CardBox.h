#pragma once

#include <QColor>
#include <QFrame>
#include <QString>

class QCircularProgressBar;
class QLabel;

// The card panel of the plug-in's pages: the card's serial number, its
// name, used and total space, and a gauge of the used share whose colour
// warns as the card fills up.
class CardBox : public QFrame
{
    Q_OBJECT
public:
    explicit CardBox(QWidget *parent = nullptr);

    void setSerialNumber(const QString &serial);
    // Reads the space of the card at `root` through the platform layer; an
    // empty root or an unreadable card clears the texts and the gauge.
    void showCard(const QString &root);

    QString serialText() const;
    QString nameText() const;
    QString spaceText() const;
    qreal usedPercent() const;
    QColor gaugeColor() const;

    // Up to 80 % blue, up to 90 % yellow, red above.
    static QColor usageColor(qreal percent);

private:
    QLabel *mSerial = nullptr;
    QLabel *mName = nullptr;
    QLabel *mSpace = nullptr;
    QCircularProgressBar *mGauge = nullptr;
};
