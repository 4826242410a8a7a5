#pragma once

#include "Info_List.h"

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QString>

// The parsed "Names.txt" of one vehicle directory.
class NamesTxt
{
public:
    NamesTxt() = default;
    NamesTxt(const NamesTxt &) = default;
    NamesTxt &operator=(const NamesTxt &) = default;
    virtual ~NamesTxt();

    // `cardRoot` locates the shared resource folders; when empty it is taken
    // from the file's path.
    bool ParseNamesTxt(const QString &filePath, const QString &cardRoot = QString());
    // The content of dirPath + "Names.txt", already read by the caller.
    // `dirFd`, open on dirPath (or -1), serves the resource checks.
    bool ParseContent(const QString &dirPath, const QByteArray &bytes, const QString &cardRoot, int dirFd);
    bool ParseJson(const QByteArray &bytes);
    bool ParseInfoList(const QJsonArray &array);

    // The scan reads the interface language once and hands it to every
    // record; without it each parse reads setup.ini afresh.
    void SetLanguageCode(const QString &code) { mLanguageCode = code; }
    void SetCardRoot(const QString &root) { mCardRoot = root; }

    QString mDirPath; // with trailing slash
    QString mLink;
    QString mArea;
    QList<Info_List> mInfoList;
    Info_List mCurrent;

private:
    QString languageCode() const;

    QString mCardRoot;
    QString mLanguageCode;
    int mDirFd = -1; // only during ParseContent
};
