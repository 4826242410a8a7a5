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
        std::vector<Entry> children; // directories, filled by readTree
    };

    // Opens a directory, by default without following a link in its last
    // component; -1 on failure. The caller owns the descriptor.
    static int openDir(const QString &path, bool followLink = false);
    static int openDirAt(int parentFd, const char *name);

    // Relative to an open directory, so a card of thousands of vehicles is
    // not looked up from "/" again for every file.
    static bool isFileAt(int dirFd, const char *relative); // follows links
    // The whole content of a regular file; false for anything else (a pipe
    // or device is never opened for a blocking read) and for a file larger
    // than `limit`, so a broken card cannot exhaust memory.
    static bool readFileAt(int dirFd, const char *relative, QByteArray &content, qint64 limit = kTextFileLimit);
    static bool readFile(const QString &path, QByteArray &content, qint64 limit = kTextFileLimit);
    // Names.txt, version.txt and sn.txt are a few hundred bytes at most.
    static constexpr qint64 kTextFileLimit = 4 * 1024 * 1024;
    static bool hasFileWithSuffix(int dirFd, const QByteArray &suffix);

    // The whole tree below `fd` with the sizes of its files: what a deletion
    // needs, read once. Returns false as soon as `stop` is found set before
    // a file. `fd` stays owned by the caller.
    static bool readTree(int fd, std::vector<Entry> &out, quint64 &bytes, qint64 &count,
                         const std::atomic<bool> *stop);

    // Entries of the open directory `fd` (not "." and ".."), unsorted.
    // `fd` stays open and owned by the caller.
    static bool list(int fd, std::vector<Entry> &out, bool withSizes);

    // Files before directories, each by name.
    static void sortFilesFirst(std::vector<Entry> &entries);

    // Sums the sizes of the regular files below `fd`, at any depth. Takes
    // ownership of `fd`. Returns false as soon as `stop` is found set before
    // a file; the sums are then partial.
    static bool sumTree(int fd, quint64 &bytes, qint64 &count, const std::atomic<bool> *stop);
    // The same, also telling whether `fd` itself directly holds a file (or a
    // link to one) named with `suffix`, letters in any case: one listing
    // serves both questions.
    static bool sumTree(int fd, quint64 &bytes, qint64 &count, const std::atomic<bool> *stop,
                        const char *suffix, bool *hasSuffix);

    // Bytes and number of the regular files of `path`: the file itself, or
    // every file below the directory. `missing` when it is neither (a link
    // included); `stopped` when `stop` cut the walk short.
    static quint64 measure(const QString &path, qint64 &count, const std::atomic<bool> *stop, bool *missing,
                           bool *stopped);

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
