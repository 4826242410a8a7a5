#pragma once

#include <QGenericPlugin>

class QStackedWidget;
class SoftwareInfoWidget;

// The download-and-install plug-in. The host asks it once for the page
// container under the key "DOWNLOAD"; everything after that goes through
// the shared settings files.
class Dravik : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QGenericPluginFactoryInterface" FILE "Dravik.json")
public:
    explicit Dravik(QObject *parent = nullptr);
    ~Dravik() override;

    // The container (built on the first call, whatever the key) holding the
    // software list page, for the first "DOWNLOAD" only; null otherwise.
    // The caller owns what it gets.
    QObject *create(const QString &key, const QString &specification) override;

private:
    SoftwareInfoWidget *mSoftwareInfoWidget = nullptr;
    QStackedWidget *mContainer = nullptr;
};
