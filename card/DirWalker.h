#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

// Directory walks straight on the POSIX calls (openat, fdopendir, readdir,
// fstatat). Cards hold tens of thousands of files, and a QDirIterator walk
// costs half as much again as du. Symbolic links are never followed: a link
// is reported as a link and never opened as a directory.
class DirWalker
{
public:
    enum class Kind { File, Dir, Link, Other };

    struct Entry
    {
        QByteArray name;
        Kind kind = Kind::Other;
        quint64 size = 0; // files only, and only when sizes were asked for
    };

    // Opens a directory without following a link in its last component;
    // -1 on failure. The caller owns the descriptor.
    static int openDir(const QString &path);
    static int openDirAt(int parentFd, const char *name);

    // Entries of the open directory `fd` (not "." and ".."), unsorted.
    // `fd` stays open and owned by the caller.
    static bool list(int fd, std::vector<Entry> &out, bool withSizes);

    // Files before directories, each by name.
    static void sortFilesFirst(std::vector<Entry> &entries);

    // Sums the sizes of the regular files below `fd`, at any depth. Takes
    // ownership of `fd`. Returns false as soon as `stop` is found set before
    // a file; the sums are then partial.
    static bool sumTree(int fd, quint64 &bytes, qint64 &count, const std::atomic<bool> *stop);

    // Names of the subdirectories of `path` (links excluded), by name.
    static QStringList subdirectories(const QString &path);

    // True when `path` directly holds a file (or a link to one) whose name
    // ends with `suffix`, letters in any case.
    static bool hasFileWithSuffix(const QString &path, const QByteArray &suffix);

    // lstat-style kind of `path` (a trailing slash is ignored, so a link is
    // not followed); `exists` false when nothing is there.
    static Kind kindOf(const QString &path, bool *exists, quint64 *size = nullptr);

    static QByteArray encode(const QString &path);
};
