// A stand-in download plug-in for the binding tests. One source, built as
// several plug-in files; OSTREL_TEST_PLUGIN_MODE picks what create() does.
#include <QCoreApplication>
#include <QGenericPlugin>
#include <QLabel>
#include <QTimer>

#ifndef OSTREL_TEST_PLUGIN_MODE
#error "OSTREL_TEST_PLUGIN_MODE must be set"
#endif

// 0: creates nothing; 1: a page; 2: a page, then asks for a restart.
class TestPagePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "TestPagePlugin.json")
public:
    QObject *create(const QString &key, const QString &specification) override
    {
        if (OSTREL_TEST_PLUGIN_MODE == 0 || key != QLatin1String("DOWNLOAD"))
            return nullptr;
        auto *page = new QLabel(QStringLiteral("test download page ") + specification);
        page->setObjectName(QStringLiteral("TestDownloadPage"));
        if (OSTREL_TEST_PLUGIN_MODE == 2) {
            // As the real plug-in does when the service rejects the token.
            QTimer::singleShot(0, [] { QCoreApplication::exit(886); });
        }
        return page;
    }
};

#include "TestPagePlugin.moc"
