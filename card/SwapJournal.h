#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The moves of one install's swap, written into its staging folder and
// flushed before the first of them is made, so that a swap cut short by a
// crash or a pulled card can be finished or undone from the card alone.
//
// Every move is one rename that never replaces anything, between a place on
// the card and a place in the staging folder (paths relative to the card
// root). So each move is either still to do (its source there, its target
// not) or done (the other way round), and a look at both tells which.
// Undoing goes back through the moves last first; a swap whose placing
// moves are all done only has its leftovers to remove.
class SwapJournal
{
public:
    enum class Kind : char {
        Aside = 'a', // from the card into the staging folder
        Place = 'p'  // from the staging folder onto the card
    };

    struct Move
    {
        Kind kind;
        QByteArray from;
        QByteArray to;
    };

    // Its name in the staging folder.
    static const char kFileName[];

    void add(Kind kind, const QByteArray &from, const QByteArray &to) { mMoves.push_back({kind, from, to}); }
    const std::vector<Move> &moves() const { return mMoves; }
    bool isEmpty() const { return mMoves.empty(); }
    void clear() { mMoves.clear(); }

    // Writes the journal into the folder `dirFd` and flushes it there; it
    // appears under its name only complete.
    bool write(int dirFd) const;
    // False when the folder holds none (or one that is not whole, which
    // was never acted on).
    bool read(int dirFd);

    // Makes the moves in order below the card root `rootFd`, creating the
    // folders a move into the staging folder needs. Stops at the first that
    // fails; `error` tells which.
    bool run(int rootFd, QString *error) const;
    // True when every placing move is done: the new version is whole.
    bool allPlaced(int rootFd) const;
    // Undoes the moves that are done, last first. False when one of them
    // could not be undone (the rest still are).
    bool rollBack(int rootFd) const;
    // After a crash: nothing to move when every placing move was done,
    // otherwise rolled back. True when the card is whole again and the
    // staging folder may go.
    bool recover(int rootFd, bool *rolledForward = nullptr) const;

    // Whether a path below the card root exists (a link counts as itself).
    static bool existsAt(int rootFd, const QByteArray &path);

private:
    enum class State { ToDo, Done, Unclear };
    static State stateOf(int rootFd, const Move &move);
    static bool move(int rootFd, const QByteArray &from, const QByteArray &to, bool makeTargetFolder);

    std::vector<Move> mMoves;
};
