#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

// A private install folder and data folder for one test executable, below
// the throw-away folder the test runner made (OSTREL_TEST_TMP), or a fresh
// temporary folder when run by hand. AppPaths points at them.
class TestEnv
{
public:
    TestEnv();
    ~TestEnv();

    QString root() const { return mRoot; }
    QString installDir() const { return mRoot + QStringLiteral("/install"); }
    QString dataDir() const { return mRoot + QStringLiteral("/data"); }
    // A new empty folder below the root.
    QString makeDir(const QString &name) const;

    // Build outputs (the program's bin folder, tools) and sources.
    static QString buildBinDir();
    static QString buildDir();
    static QString sourceDir();

    static bool writeFile(const QString &path, const QByteArray &content);
    static QByteArray readFile(const QString &path);
    // Every entry below `dir` with its content (files), target (links) or
    // "<dir>": equal snapshots mean nothing was added, removed or changed.
    static QMap<QString, QByteArray> snapshot(const QString &dir);
    // Names in `dir` whose mode (or other attributes) changed while `action`
    // ran: what is made with the mode it keeps never shows up, what is made
    // looser and narrowed afterwards does.
    static QStringList attributeChanges(const QString &dir, const std::function<void()> &action);

private:
    QString mRoot;
    bool mOwned = false;
};
