#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

// Directory walks straight on the POSIX calls (openat, fdopendir, readdir,
// fstatat). Cards hold tens of thousands of files, and a QDirIterator walk
// costs half as much again as du. Symbolic links are never followed: a link
// is reported as a link and never opened, whatever it points at. Paths
// given as strings are resolved through CardFs, below the card root.
class DirWalker
{
public:
    enum class Kind { File, Dir, Link, Other };

    struct Entry
    {
        QByteArray name;
        Kind kind = Kind::Other;
        quint64 size = 0;            // files only, and only when sizes were asked for
        std::vector<Entry> children; // directories, filled by readTree
    };

    // No scanner card nests folders this deep; a card that does is cut
    // here, so that its walk cannot exhaust memory or descriptors.
    static constexpr int kMaxDepth = 64;

    // One component below an open directory, never through a link.
    static int openDirAt(int parentFd, const char *name);

    // A regular file (not a link to one) at `relative` below `dirFd`.
    static bool isFileAt(int dirFd, const QByteArray &relative);
    // The whole content of a regular file; false for anything else (a pipe
    // or device is never opened for a blocking read, a link never followed)
    // and for a file larger than `limit`, so a broken card cannot exhaust
    // memory.
    static bool readFileAt(int dirFd, const QByteArray &relative, QByteArray &content, qint64 limit = kTextFileLimit);
    // The same for a path, below the card root `root` when one is given.
    static bool readFile(const QString &path, QByteArray &content, qint64 limit = kTextFileLimit,
                         const QString &root = QString());
    // Names.txt, version.txt and sn.txt are a few hundred bytes at most.
    static constexpr qint64 kTextFileLimit = 4 * 1024 * 1024;
    // True when `dirFd` directly holds a regular file whose name ends with
    // `suffix`, letters in any case.
    static bool hasFileWithSuffix(int dirFd, const QByteArray &suffix);

    // The whole tree below `fd`, with the sizes of its files unless the
    // caller knows them already: what a deletion needs, read once. Returns
    // false as soon as `stop` is found set before a file. `cut` tells that a
    // part lay deeper than kMaxDepth and is missing. `fd` stays owned by the
    // caller.
    static bool readTree(int fd, std::vector<Entry> &out, quint64 &bytes, qint64 &count, const std::atomic<bool> *stop,
                         bool *cut, bool withSizes = true, int depth = 0);
    // True when a regular file below `fd`, whose tree readTree gave as
    // `entries`, has content. The files directly in it are looked at first,
    // which almost always settles it with a single stat.
    static bool hasContent(int fd, const std::vector<Entry> &entries);

    // Removes `name` below `dirFd` with everything in it; a link goes as a
    // link. True when nothing of it is left.
    static bool removeTree(int dirFd, const char *name);

    // Entries of the open directory `fd` (not "." and ".."), unsorted.
    // `fd` stays open and owned by the caller.
    static bool list(int fd, std::vector<Entry> &out, bool withSizes);

    // The subdirectories of the open directory `fd` (links excluded), by name.
    static std::vector<Entry> subdirectories(int fd);

    // Files before directories, each by name; with `rank`, computed once per
    // entry, lower ranks before higher ones first.
    static void sortFilesFirst(std::vector<Entry> &entries, const std::function<int(const Entry &)> &rank = {});

    // Sums the sizes of the regular files below `fd`, at any depth up to
    // kMaxDepth. Takes ownership of `fd`. Returns false as soon as `stop` is
    // found set before a file; the sums are then partial. With `suffix`, also
    // tells whether `fd` itself directly holds a regular file named with it
    // (letters in any case): one listing serves both questions.
    static bool sumTree(int fd, quint64 &bytes, qint64 &count, const std::atomic<bool> *stop,
                        const char *suffix = nullptr, bool *hasSuffix = nullptr, int depth = 0);

    // Bytes and number of the regular files of `path`: the file itself, or
    // every file below the directory. `root` is the card root `path` lies
    // below (empty: only the last component is guarded). `missing` when it
    // is neither (a link included); `stopped` when `stop` cut the walk short.
    static quint64 measure(const QString &root, const QString &path, qint64 &count, const std::atomic<bool> *stop,
                           bool *missing, bool *stopped);

    // Every directory below `root` + `start` (itself included), each with a
    // trailing slash, links excluded, at most kMaxDepth deep. A directory
    // that `keep` refuses is left out together with everything below it.
    static QStringList directories(const QString &root, const QString &start,
                                   const std::function<bool(const QString &)> &keep);

    static QByteArray encode(const QString &path);
    static QString decode(const QByteArray &name);
};
