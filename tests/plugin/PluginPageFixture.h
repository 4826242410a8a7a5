#pragma once

#include "FakePlatform.h"
#include "StandInService.h"
#include "TestEnv.h"

#include <QList>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

// What the tests of the plug-in's pages share: a test folder, the stand-in
// service the program is pointed at, the fake platform, and a poll that
// reads every message box and answers it.
class PluginPageFixture
{
public:
    // From initTestCase: the folder and the service, and the box poll.
    bool start();
    // From init: a fresh service log and platform, no boxes seen, Alice
    // signed in, interface language `language`, no uninstall running.
    bool reset(int language);
    // From cleanup, once the pages are gone.
    void release() { mPlatform.reset(); }

    TestEnv &env() const { return *mEnv; }
    StandInService &service() const { return *mService; }
    FakePlatform &platform() const { return *mPlatform; }

    // Texts of the boxes answered so far.
    QStringList boxTexts;
    // Answers for the next boxes, in order; then the first button.
    QList<QMessageBox::StandardButton> answers;
    // When set, a box is left open until it returns true.
    std::function<bool()> answerWhen;
    // Runs after each answer.
    std::function<void()> afterAnswer;

private:
    std::unique_ptr<TestEnv> mEnv;
    std::unique_ptr<StandInService> mService;
    std::unique_ptr<FakePlatform> mPlatform;
    QTimer mBoxPoll;
};
