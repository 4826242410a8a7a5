#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

// Paths below a card root. A card is a file system anybody may have
// prepared: a symbolic link on it must never lead a scan, a deletion or an
// unpack somewhere else. So everything on a card is reached from a
// descriptor of its root, one component at a time, never through a link
// (the last component included) and never above the root. Where the kernel
// can do that walk itself (openat2 with RESOLVE_NO_SYMLINKS and
// RESOLVE_BENEATH) it does; otherwise each component is opened with
// O_NOFOLLOW.
class CardFs
{
public:
    // Names on disk are bytes, names in the program are QStrings. Valid UTF-8
    // maps to itself; every other byte to one lone surrogate U+DC80..U+DCFF,
    // so a name that is not UTF-8 survives the way from the walk to its
    // deletion bit for bit.
    static QByteArray encodeName(const QString &name);
    static QString decodeName(const QByteArray &bytes);

    // True for a relative path made of plain names only: not absolute, no
    // empty, "." or ".." component, no NUL. One trailing slash is allowed.
    static bool isPlainRelative(const QByteArray &relative);

    // The card root itself (its mount point is the system's business, so a
    // link above it is followed). -1 on failure.
    static int openRoot(const QString &root);

    // Opens `relative` below the directory `dirFd`, following no link and
    // never leaving `dirFd`. `flags` as for open(2); O_CLOEXEC and O_NOFOLLOW
    // are always added. An empty `relative` opens `dirFd` again. -1 (errno
    // set) on failure, ELOOP when a component is a link.
    static int openAt(int dirFd, const QByteArray &relative, int flags, mode_t mode = 0);
    static int openDirAt(int dirFd, const QByteArray &relative);
    // The same, making the folders that are missing on the way.
    static int makeDirsAt(int dirFd, const QByteArray &relative, mode_t mode = 0777);
    // The status of the last component itself (a link is reported as a link);
    // the components before it are resolved as above.
    static bool statAt(int dirFd, const QByteArray &relative, struct stat *st);

    // `path` below `root` (root with its trailing slash), as bytes; false when
    // `path` does not lie below `root`. The root itself gives an empty path.
    static bool relativePath(const QString &root, const QString &path, QByteArray *relative);

    // Opens the folder `path`, which lies below the card root `root`. Without
    // a root, the folder holding `path` stands in for it, so that only the
    // last component is guarded.
    static int openDir(const QString &root, const QString &path);

    // The folder holding `path` (opened as a root) and the last component's
    // name: the pair the *at() calls take for a path given as a string.
    // With a card root, the parent is resolved below it.
    static int openParent(const QString &root, const QString &path, QByteArray *name);

    // Renames `from` below `fromFd` to `to` below `toFd`, never over
    // anything already there (EEXIST then). Both names are single
    // components.
    static bool moveNoReplace(int fromFd, const char *from, int toFd, const char *to);
    // Writes all `n` bytes, again after an interruption; false on an error
    // or when nothing more can be written.
    static bool writeAll(int fd, const char *data, size_t n);

    // Tests use this to walk component by component where the kernel could
    // do it too.
    static void setKernelResolve(bool enabled);
};
