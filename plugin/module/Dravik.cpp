#include "Dravik.h"

#include "AppPaths.h"
#include "DownloadWidget.h"
#include "PageContainer.h"
#include "SelectVehicleWidget.h"
#include "SoftwareInfoWidget.h"

#include <QCoreApplication>
#include <QStackedWidget>
#include <QTranslator>

Dravik::Dravik(QObject *parent)
    : QGenericPlugin(parent)
{
    // Shipped beside the program; a missing file leaves the texts in English.
    auto *translator = new QTranslator(this);
    if (translator->load(AppPaths::installFile(QStringLiteral("./translations/dravik_zh.qm"))))
        QCoreApplication::installTranslator(translator);
}

// The container and its pages belong to the host.
Dravik::~Dravik() = default;

QObject *Dravik::create(const QString &key, const QString &specification)
{
    Q_UNUSED(specification)
    if (!mContainer) {
        mContainer = new PageContainer;
        mContainer->setObjectName(QStringLiteral("Container"));
        mContainer->setGeometry(0, 0, 912, 766);
    }
    if (mSoftwareInfoWidget || key != QLatin1String("DOWNLOAD"))
        return nullptr;
    mSoftwareInfoWidget = new SoftwareInfoWidget(mContainer);
    mSoftwareInfoWidget->setVehiclePageFactory(&SelectVehicleWidget::create);
    mSoftwareInfoWidget->setDownloadPageOpener(&DownloadWidget::startIn);
    mContainer->addWidget(mSoftwareInfoWidget);
    mContainer->setCurrentWidget(mSoftwareInfoWidget);
    return mContainer;
}
