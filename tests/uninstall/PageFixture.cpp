#include "PageFixture.h"

#include "OpenMessageBox.h"

#include "AppSettings.h"
#include "FXHeader.h"
#include "FXTableView.h"
#include "GlobalMutex.h"
#include "MessageBoxDialog.h"
#include "Toast.h"
#include "UninstallModel.h"
#include "UninstallView.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

PageFixture::PageFixture() = default;

PageFixture::~PageFixture()
{
    reset();
}

QString PageFixture::makeCard(const SampleCardGenerator::Options &options)
{
    // Its folder looks like markup: a card's volume label is the card's to choose.
    const QString root =
        mEnv.makeDir(QStringLiteral("home/alice/Public/Res/Names/<u>CARD%1").arg(++mCards)) + QLatin1Char('/');
    SampleCardGenerator generator(options);
    if (!generator.generate(root))
        qWarning("card not written: %s", qPrintable(generator.errorString()));
    return root;
}

QString PageFixture::makeCard(int vehicles, int filesPerVehicle)
{
    SampleCardGenerator::Options options;
    options.vehicles = vehicles;
    options.filesPerVehicle = filesPerVehicle;
    return makeCard(options);
}

void PageFixture::insert(const QString &root, qint64 freeBytes, qint64 totalBytes)
{
    mRoots << root;
    mPlatform.fakeVolumes().add(root, true, freeBytes, totalBytes);
}

UninstallView *PageFixture::open()
{
    mPage = new UninstallView;
    mPage->setFixedSize(930, 760);
    mPage->show();
    QApplication::setActiveWindow(mPage);
    if (!QTest::qWaitForWindowActive(mPage))
        qWarning("page not active");
    mPage->OnUpdateView(QStringLiteral("UNISTALL"));
    return mPage;
}

bool PageFixture::waitScanned()
{
    return QTest::qWaitFor([this] { return mPage && !mPage->isScanning() && !mPage->isBusy(); }, 20000);
}

void PageFixture::reset()
{
    delete mPage.data();
    delete mBoxPoll.data();
    for (const QString &root : qAsConst(mRoots))
        mPlatform.fakeVolumes().remove(root);
    mRoots.clear();
    mPlatform.heldMutexes.clear();
    GlobalMutex::close();
    AppSettings::setDownloading(false);
    AppSettings::setUninstalling(false);
}

FXTableView *PageFixture::table() const
{
    return mPage->findChild<FXTableView *>(QStringLiteral("vehicleTable"));
}

FXHeader *PageFixture::header() const
{
    return qobject_cast<FXHeader *>(table()->horizontalHeader());
}

UninstallModel *PageFixture::model() const
{
    return qobject_cast<UninstallModel *>(table()->model());
}

QPushButton *PageFixture::button() const
{
    return mPage->findChild<QPushButton *>(QStringLiteral("btnUninstall"));
}

QLabel *PageFixture::label(const char *name) const
{
    return mPage->findChild<QLabel *>(QLatin1String(name));
}

QString PageFixture::counterText() const
{
    QTextDocument document;
    document.setHtml(label("counterLabel")->text());
    return document.toPlainText();
}

QString PageFixture::toastText() const
{
    return Toast::instance(mPage)->text();
}

QString PageFixture::state(int row) const
{
    return model()->Datas().value(row).mState.value(0);
}

void PageFixture::clickCell(int row, int column)
{
    FXTableView *view = table();
    const QRect cell = view->visualRect(model()->index(row, column));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

void PageFixture::clickHeaderBox()
{
    QTest::mouseClick(header()->viewport(), Qt::LeftButton, Qt::NoModifier, header()->checkBoxRect().center());
}

void PageFixture::answerNextBox(QMessageBox::StandardButton answer,
                                std::function<void(MessageBoxDialog *)> inspect)
{
    // Gone with the fixture, so a box that never came cannot outlive the test.
    delete mBoxPoll.data();
    auto *poll = new QTimer;
    mBoxPoll = poll;
    poll->setInterval(10);
    QPointer<UninstallView> page = mPage;
    QObject::connect(poll, &QTimer::timeout, [poll, answer, inspect, page] {
        MessageBoxDialog *box = openMessageBox();
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        if (inspect)
            inspect(box);
        const bool second = answer == QMessageBox::No || answer == QMessageBox::Cancel;
        (second ? box->secondButton() : box->firstButton())->click();
        // As a window manager does once a dialog has gone.
        QTimer::singleShot(0, [page] {
            if (page)
                QApplication::setActiveWindow(page);
        });
    });
    poll->start();
}
