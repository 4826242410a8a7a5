#include "Dravik.h"

#include "AppSettings.h"
#include "DownloadWidget.h"
#include "InterfaceLanguage.h"
#include "PageContainer.h"
#include "SelectVehicleWidget.h"
#include "SoftwareInfoWidget.h"

#include <QStackedWidget>

Dravik::Dravik(QObject *parent)
    : QGenericPlugin(parent)
{
    // In the interface language the program runs in; a missing file leaves
    // the texts in English.
    InterfaceLanguage::install(QStringLiteral("dravik"), AppSettings::interfaceLanguage(), this);
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
