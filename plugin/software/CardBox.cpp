#include "CardBox.h"

#include "CardHelpers.h"
#include "Pictures.h"
#include "Platform.h"
#include "QCircularProgressBar.h"
#include "RemovableDisk.h"
#include "Volumes.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {
QString labelStyle(const char *color, int pixelSize, bool bold = false)
{
    return QStringLiteral("QLabel{background:transparent;font-family:Helvetica;font-size:%1px;color:%2;%3}")
        .arg(pixelSize)
        .arg(QLatin1String(color))
        .arg(bold ? QStringLiteral("font-weight:bold;") : QString());
}

// The volume's label, else the last folder of its mount point.
QString displayNameOf(const QString &root)
{
    const QString label = CardHelpers::VolumeLabel(root);
    if (!label.isEmpty())
        return label;
    QString name = root;
    while (name.endsWith(QLatin1Char('/')))
        name.chop(1);
    return name.section(QLatin1Char('/'), -1);
}
} // namespace

CardBox::CardBox(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("cardBox"));
    setStyleSheet(QStringLiteral("#cardBox{background-color:#F7F8FA;border:1px solid #E6E6E6;border-radius:4px;}"));
    setFixedHeight(120);

    auto *picture = new QLabel(this);
    picture->setPixmap(Pictures::load(QStringLiteral(":/Dravik/Resources/sd_card.png")));
    picture->setFixedSize(56, 72);
    picture->setScaledContents(true);
    picture->setStyleSheet(QStringLiteral("background:transparent;"));

    mSerial = new QLabel(this);
    mSerial->setObjectName(QStringLiteral("serialNumber"));
    mSerial->setStyleSheet(labelStyle("#000000", 20, true));
    mName = new QLabel(this);
    mName->setObjectName(QStringLiteral("cardName"));
    mName->setStyleSheet(labelStyle("#666666", 15));
    mSpace = new QLabel(this);
    mSpace->setObjectName(QStringLiteral("cardSpace"));
    mSpace->setStyleSheet(labelStyle("#666666", 15));
    // The card's serial and volume label are whatever the card says.
    for (QLabel *label : {mSerial, mName, mSpace})
        label->setTextFormat(Qt::PlainText);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addStretch();
    texts->addWidget(mSerial);
    texts->addWidget(mName);
    texts->addWidget(mSpace);
    texts->addStretch();

    mGauge = new QCircularProgressBar(QCircularProgressBar::Ring, 0, this);
    mGauge->setObjectName(QStringLiteral("cardGauge"));
    mGauge->setFixedSize(90, 90);
    mGauge->setInnerColor(QColor(0xF7, 0xF8, 0xFA));
    mGauge->setTextColor(Qt::black);
    mGauge->setProgressColor(usageColor(0));
    mGauge->setAccessibleName(tr("No SD card"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 10, 24, 10);
    layout->setSpacing(20);
    layout->addWidget(picture);
    layout->addLayout(texts, 1);
    layout->addWidget(mGauge);
}

QColor CardBox::usageColor(qreal percent)
{
    if (percent > 90)
        return QColor(QStringLiteral("#FF0000"));
    if (percent > 80)
        return QColor(QStringLiteral("#FFC90E"));
    return QColor(QStringLiteral("#2256cf"));
}

void CardBox::setSerialNumber(const QString &serial)
{
    mSerial->setText(serial.isEmpty() ? QString() : tr("Serial Number: %1").arg(serial));
}

void CardBox::showCard(const QString &root)
{
    qint64 freeBytes = 0;
    qint64 totalBytes = 0;
    Platform *platform = Platform::instance();
    Volumes *volumes = platform ? platform->volumes() : nullptr;
    if (root.isEmpty() || !volumes || !volumes->space(root, &freeBytes, &totalBytes)) {
        mName->clear();
        mSpace->clear();
        mGauge->setProgressColor(usageColor(0));
        mGauge->setValue(0);
        mGauge->setAccessibleName(tr("No SD card"));
        return;
    }
    const qint64 used = qMax<qint64>(0, totalBytes - freeBytes);
    const qreal percent = totalBytes > 0 ? qreal(used) * 100 / qreal(totalBytes) : 0;
    mName->setText(displayNameOf(root));
    // Written as the uninstall page writes the same card's space.
    const QString usedText = RemovableDisk::SizeText(quint64(used), 2);
    const QString totalText = RemovableDisk::SizeText(quint64(totalBytes), 2);
    mSpace->setText(usedText + QLatin1Char('/') + totalText);
    // The gauge is a picture; this is what it says.
    mGauge->setAccessibleName(tr("Used %1 of %2").arg(usedText, totalText));
    mGauge->setProgressColor(usageColor(percent));
    mGauge->setValue(percent);
}

QString CardBox::serialText() const { return mSerial->text(); }
QString CardBox::nameText() const { return mName->text(); }
QString CardBox::spaceText() const { return mSpace->text(); }
qreal CardBox::usedPercent() const { return mGauge->value(); }
QColor CardBox::gaugeColor() const { return mGauge->progressColor(); }
