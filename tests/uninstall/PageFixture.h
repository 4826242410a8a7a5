#pragma once

#include "FakePlatform.h"
#include "SampleCardGenerator.h"
#include "TestEnv.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class FXHeader;
class FXTableView;
class MessageBoxDialog;
class QLabel;
class QPushButton;
class QTimer;
class UninstallModel;
class UninstallView;

// One uninstall page on a generated card behind the fake volume layer.
class PageFixture
{
public:
    PageFixture();
    ~PageFixture();

    // Writes a card below a folder whose path holds "home", "Public", "Res/"
    // and "Names/", so the page must look only below the card root.
    // Returns the root.
    QString makeCard(const SampleCardGenerator::Options &options);
    QString makeCard(int vehicles = 3, int filesPerVehicle = 8);
    void insert(const QString &root, qint64 freeBytes = 1 << 20, qint64 totalBytes = 1 << 22);
    void pull(const QString &root) { mPlatform.fakeVolumes().remove(root); }

    // A shown, active page that has been told it is visible.
    UninstallView *open();
    // Waits until a scan has come and gone.
    bool waitScanned();
    // Closes the page and forgets the cards, volumes and busy flags.
    void reset();

    UninstallView *page() const { return mPage.data(); }
    FXTableView *table() const;
    FXHeader *header() const;
    UninstallModel *model() const;
    QPushButton *button() const;
    QLabel *label(const char *name) const;
    QString counterText() const;
    QString toastText() const;
    QString state(int row) const;

    // A press and release on a cell, as the user ticks a row.
    void clickCell(int row, int column);
    void clickHeaderBox();

    // Answers the next message box with `answer` after `inspect` looked at it.
    void answerNextBox(QMessageBox::StandardButton answer,
                              std::function<void(MessageBoxDialog *)> inspect = {});

    TestEnv &env() { return mEnv; }
    FakePlatform &platform() { return mPlatform; }

private:
    TestEnv mEnv;
    FakePlatform mPlatform;
    QPointer<UninstallView> mPage;
    QPointer<QTimer> mBoxPoll;
    QStringList mRoots;
    int mCards = 0;
};
