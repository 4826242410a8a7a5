#include "PluginPageFixture.h"

#include "AppSettings.h"
#include "OpenMessageBox.h"

#include <QLabel>
#include <QPushButton>

bool PluginPageFixture::start()
{
    mEnv.reset(new TestEnv);
    mService.reset(new StandInService);
    if (!mService->start())
        return false;
    mService->exportEnvironment();
    QObject::connect(&mBoxPoll, &QTimer::timeout, [this] {
        MessageBoxDialog *box = openMessageBox();
        if (!box || (answerWhen && !answerWhen()))
            return;
        boxTexts << box->textLabel()->text();
        const auto answer = answers.isEmpty() ? QMessageBox::Ok : answers.takeFirst();
        (answer == QMessageBox::Ok ? box->firstButton() : box->secondButton())->click();
        if (afterAnswer)
            afterAnswer();
    });
    mBoxPoll.start(20);
    return true;
}

bool PluginPageFixture::reset(int language)
{
    mPlatform.reset();
    mPlatform.reset(new FakePlatform);
    boxTexts.clear();
    answers.clear();
    answerWhen = nullptr;
    AppSettings::setSignedInUser(QStringLiteral("token-alice"), 1001);
    AppSettings::setLanguage(language);
    AppSettings::setUninstalling(false);
    return mService->reset();
}
