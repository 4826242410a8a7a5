#include "RememberFile.h"

#include "PrivateFile.h"
#include "SigninLog.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTextCodec>

namespace {

constexpr int BlockSize = 32;
// Twenty characters and the terminating zero: all 21 bytes take part.
constexpr char Key[] = "Ostrel-remember-key!";
constexpr int KeySize = sizeof(Key);
static_assert(KeySize == 21, "the key is 20 characters and a zero byte");

constexpr char PasswordMask = 0x5A;
constexpr char AccountMask = 0x3C;
// Starts with the password mask, which is what a zero byte masks to; texts
// hold no zero bytes, so a masked password can neither contain the
// separator nor run into it.
constexpr char Separator[] = {PasswordMask, 0x0F, char(0xA5), char(0xF0), 0x69, char(0xC3), 0x3C, char(0x96)};
constexpr int SeparatorSize = sizeof(Separator);

QByteArray masked(const QByteArray &text, char mask)
{
    QByteArray out = text;
    for (char &c : out)
        c ^= mask;
    return out;
}

// Unmasks and cuts at the first zero byte, as a C string would end.
QByteArray unmasked(const QByteArray &bytes, char mask)
{
    QByteArray out = masked(bytes, mask);
    const int zero = out.indexOf('\0');
    if (zero >= 0)
        out.truncate(zero);
    return out;
}

bool toText(const QByteArray &bytes, QString *text)
{
    QTextCodec *codec = QTextCodec::codecForLocale();
    QTextCodec::ConverterState state;
    const QString decoded = codec->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return false;
    for (const QChar c : decoded) {
        if (c.isSpace() || c.category() == QChar::Other_Control)
            return false;
    }
    *text = decoded;
    return true;
}

} // namespace

QByteArray RememberFile::encode(const Content &content, const QByteArray &random)
{
    QByteArray r(BlockSize, '\0');
    for (int i = 0; i < BlockSize - 1 && i < random.size(); ++i)
        r[i] = random.at(i);

    const QByteArray payload = masked(content.password.toLocal8Bit(), PasswordMask)
        + QByteArray(Separator, SeparatorSize) + masked(content.account.toLocal8Bit(), AccountMask);

    QByteArray out(BlockSize + payload.size(), '\0');
    for (int i = 0; i < BlockSize; ++i)
        out[i] = char(quint8(r.at(i)) + quint8(Key[i % KeySize]));
    for (int i = 0; i < payload.size(); ++i)
        out[BlockSize + i] = char(quint8(r.at(i % BlockSize)) + quint8(payload.at(i)));
    return out;
}

QByteArray RememberFile::encode(const Content &content)
{
    QByteArray random(BlockSize - 1, '\0');
    for (char &c : random)
        c = char(QRandomGenerator::system()->bounded(256));
    return encode(content, random);
}

bool RememberFile::decode(const QByteArray &bytes, Content *out)
{
    if (bytes.size() <= BlockSize || bytes.size() > MaxFileSize)
        return false;

    QByteArray r(BlockSize, '\0');
    for (int i = 0; i < BlockSize; ++i)
        r[i] = char(quint8(bytes.at(i)) - quint8(Key[i % KeySize]));
    if (r.at(BlockSize - 1) != '\0')
        return false;

    QByteArray payload(bytes.size() - BlockSize, '\0');
    for (int i = 0; i < payload.size(); ++i)
        payload[i] = char(quint8(bytes.at(BlockSize + i)) - quint8(r.at(i % BlockSize)));

    const int separator = payload.indexOf(QByteArray(Separator, SeparatorSize));
    if (separator < 0)
        return false;
    const QByteArray account = unmasked(payload.mid(separator + SeparatorSize), AccountMask);
    if (account.isEmpty())
        return false;
    const QByteArray password = unmasked(payload.left(separator), PasswordMask);

    Content content;
    if (!toText(password, &content.password) || !toText(account, &content.account))
        return false;
    *out = content;
    return true;
}

bool RememberFile::read(const QString &path, Content *out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // One byte more than allowed tells an oversized file from a full one.
    return decode(file.read(MaxFileSize + 1), out);
}

bool RememberFile::write(const QString &path, const Content &content)
{
    // The digest signs in as well as the password does: for this user's
    // eyes only, from the first byte, and replaced whole or not at all.
    if (!PrivateFile::write(path, encode(content))) {
        qCDebug(lcSignin) << "write remember file failed";
        return false;
    }
    return true;
}
