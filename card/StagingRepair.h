#pragma once

#include <QByteArray>

class Card;

// Puts a card back in order after installs that were cut short (a crash, a
// kill, a pulled card). Installs work in staging folders of their own inside
// a hidden folder at the card root; each holds a shared lock (flock) on its
// staging folder while it runs. Any staging folder whose lock can be had
// belongs to no running install, in this process or another, and is a
// leftover: a swap its journal shows unfinished is rolled back (or only
// tidied when everything new was already in place), then the folder goes.
// A staging folder of an older program (no journal, the old version's
// folder and replaced files kept aside) has what was moved aside put back
// wherever its place is still empty.
//
// Runs wherever a card is seen before it is listed (the program's scan, the
// plug-in's software list) and before every install. Cheap when there is
// nothing to do: one failed lookup at the card root.
class StagingRepair
{
public:
    static const char kStagingFolder[];

    // False when a leftover could not be put right; it stays for the next
    // time. A folder in use by a running install is no failure.
    static bool repairCard(const Card &card);
    // The same below an open card root.
    static bool repairAt(int rootFd);

    // The lock an install holds on its own staging folder while it runs;
    // blocks only while a repair is looking at a folder of that name.
    static bool lockShared(int jobFd);
};
