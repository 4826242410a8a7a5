#pragma once

#include <QByteArray>
#include <QString>

// The remembered sign-in ("user" in the data folder): account and password
// (or its digest), scrambled so the file does not show them in plain text.
//
// Layout: 32 bytes of a random block R, each byte added to a fixed key;
// then the payload P, each byte added to R[i mod 32]. P is the masked
// password, a fixed separator and the masked account, in the locale's
// 8-bit encoding. R's last byte is always 0, which lets the reader tell a
// file written with another key from a good one.
class RememberFile
{
public:
    struct Content {
        QString password;
        QString account;
    };

    // Files larger than this are not ours; the writer stays far below it.
    static constexpr int MaxFileSize = 64 * 1024;

    // `random` supplies R[0..30]; fewer bytes are padded with zeros.
    static QByteArray encode(const Content &content, const QByteArray &random);
    // Draws R afresh.
    static QByteArray encode(const Content &content);
    // False, and `out` untouched, for anything that is not a complete file
    // of ours: too short, another key, no separator, no account, text that
    // could not have been typed (white space, control characters, broken
    // encoding).
    static bool decode(const QByteArray &bytes, Content *out);

    static bool read(const QString &path, Content *out);
    // The whole file replaced at once, readable by its owner only from its
    // first byte; false (and the old file kept) when that fails.
    static bool write(const QString &path, const Content &content);
};
