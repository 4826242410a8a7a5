#include "SwapJournal.h"

#include "CardFs.h"
#include "CardLog.h"
#include "DirWalker.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char SwapJournal::kFileName[] = "journal";

namespace {
const QByteArray kHeader("dravik swap 1\n");
constexpr char kEnd = 'e';
constexpr char kPart[] = "journal.part";
// A journal of the largest archive the extractor takes is far below this.
constexpr qint64 kLimit = qint64(1) << 30;

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The folder holding `path` below `rootFd`, and the last component.
int openParent(int rootFd, const QByteArray &path, QByteArray *leaf, bool make)
{
    const int slash = path.lastIndexOf('/');
    *leaf = path.mid(slash + 1);
    if (slash < 0)
        return ::fcntl(rootFd, F_DUPFD_CLOEXEC, 0);
    return make ? CardFs::makeDirsAt(rootFd, path.left(slash)) : CardFs::openDirAt(rootFd, path.left(slash));
}
} // namespace

bool SwapJournal::write(int dirFd) const
{
    QByteArray text = kHeader;
    for (const Move &m : mMoves)
        text += char(m.kind) + m.from + '\0' + m.to + '\0';
    text += kEnd;
    const int fd = ::openat(dirFd, kPart, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        return false;
    bool ok = CardFs::writeAll(fd, text.constData(), size_t(text.size())) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok && ::renameat(dirFd, kPart, dirFd, kFileName) == 0 && ::fsync(dirFd) == 0;
}

bool SwapJournal::read(int dirFd)
{
    mMoves.clear();
    QByteArray text;
    if (!DirWalker::readFileAt(dirFd, kFileName, text, kLimit) || !text.startsWith(kHeader) || !text.endsWith(kEnd))
        return false;
    int at = kHeader.size();
    const int end = text.size() - 1;
    while (at < end) {
        const char kind = text.at(at);
        const int fromEnd = text.indexOf('\0', at + 1);
        const int toEnd = fromEnd < 0 ? -1 : text.indexOf('\0', fromEnd + 1);
        if ((kind != char(Kind::Aside) && kind != char(Kind::Place)) || toEnd < 0 || toEnd >= end) {
            mMoves.clear();
            return false;
        }
        Move m{Kind(kind), text.mid(at + 1, fromEnd - at - 1), text.mid(fromEnd + 1, toEnd - fromEnd - 1)};
        if (!CardFs::isPlainRelative(m.from) || !CardFs::isPlainRelative(m.to)) {
            mMoves.clear();
            return false;
        }
        mMoves.push_back(std::move(m));
        at = toEnd + 1;
    }
    return true;
}

bool SwapJournal::existsAt(int rootFd, const QByteArray &path)
{
    struct stat st;
    return CardFs::statAt(rootFd, path, &st);
}

SwapJournal::State SwapJournal::stateOf(int rootFd, const Move &m)
{
    const bool source = existsAt(rootFd, m.from);
    const bool target = existsAt(rootFd, m.to);
    if (source == target)
        return State::Unclear;
    return target ? State::Done : State::ToDo;
}

bool SwapJournal::move(int rootFd, const QByteArray &from, const QByteArray &to, bool makeTargetFolder)
{
    QByteArray fromLeaf;
    QByteArray toLeaf;
    const int fromFd = openParent(rootFd, from, &fromLeaf, false);
    const int toFd = fromFd < 0 ? -1 : openParent(rootFd, to, &toLeaf, makeTargetFolder);
    const bool ok = toFd >= 0 && CardFs::moveNoReplace(fromFd, fromLeaf.constData(), toFd, toLeaf.constData());
    const int saved = errno;
    if (fromFd >= 0)
        ::close(fromFd);
    if (toFd >= 0)
        ::close(toFd);
    errno = saved;
    return ok;
}

bool SwapJournal::run(int rootFd, QString *error) const
{
    for (const Move &m : mMoves) {
        if (!move(rootFd, m.from, m.to, m.kind == Kind::Aside)) {
            const QByteArray onCard = m.kind == Kind::Aside ? m.from : m.to;
            *error = QStringLiteral("cannot move \"%1\": ").arg(CardFs::decodeName(onCard)) + errnoText();
            return false;
        }
    }
    return true;
}

bool SwapJournal::allPlaced(int rootFd) const
{
    for (const Move &m : mMoves) {
        if (m.kind == Kind::Place && stateOf(rootFd, m) != State::Done)
            return false;
    }
    return true;
}

bool SwapJournal::rollBack(int rootFd) const
{
    bool ok = true;
    for (auto it = mMoves.rbegin(); it != mMoves.rend(); ++it) {
        const State state = stateOf(rootFd, *it);
        if (state == State::ToDo)
            continue;
        // Both places taken, or neither: something else changed them, and
        // nothing is moved over it.
        if (state == State::Unclear) {
            qCDebug(lcCard).noquote() << "swap: cannot tell whether it was moved:" << CardFs::decodeName(it->from);
            continue;
        }
        if (!move(rootFd, it->to, it->from, true)) {
            qCDebug(lcCard).noquote() << "swap: cannot move back:" << CardFs::decodeName(it->from) << errnoText();
            ok = false;
        }
    }
    return ok;
}

bool SwapJournal::recover(int rootFd, bool *rolledForward) const
{
    const bool forward = allPlaced(rootFd);
    if (rolledForward)
        *rolledForward = forward;
    return forward || rollBack(rootFd);
}
