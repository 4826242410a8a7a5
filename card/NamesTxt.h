#pragma once

#include "Card.h"
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

    // `card` locates the resource folder of a linked vehicle; without one
    // only the file's own folder is looked at.
    bool ParseNamesTxt(const QString &filePath, const Card &card = Card());
    // The content of dirPath + "Names.txt", already read by the caller.
    // `dirFd`, open on dirPath (or -1), serves the resource checks.
    bool ParseContent(const QString &dirPath, const QByteArray &bytes, const Card &card, int dirFd);
    bool ParseJson(const QByteArray &bytes);
    bool ParseInfoList(const QJsonArray &array);

    // The scan reads the interface language once and hands it to every
    // record; without it each parse reads setup.ini afresh.
    void SetLanguageCode(const QString &code) { mLanguageCode = code; }
    void SetCard(const Card &card) { mCard = card; }

    QString mDirPath; // with trailing slash
    QString mLink;
    QString mArea;
    QList<Info_List> mInfoList;
    Info_List mCurrent;

private:
    QString languageCode() const;

    Card mCard;
    QString mLanguageCode;
    int mDirFd = -1; // only during ParseContent
};
