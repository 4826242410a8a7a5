#pragma once

#include <QString>

// Helpers the plug-in's pages use to find the card, plus the path rules that
// every part of the card engine shares.
namespace CardHelpers {

// Root (mount point with a trailing slash) of the first removable volume that
// carries a usable serial number, or an empty string.
QString FindCardRoot();

// Plug-in form: the first line of the serial file, cut to 13 characters when
// it is longer than 12; empty otherwise.
QString ReadSerialNumber(const QString &rootPath);

// The serial file at `rootPath` ("sn.txt" in any letter case), or an empty
// string when there is none.
QString SerialFilePath(const QString &rootPath);

// The card root of an on-card path: everything before its last "Vehicles"
// component, e.g. "/media/u/CARD/" for "/media/u/CARD/Vehicles/EU/X/".
// Empty when the path has no such component or the root would be "/".
QString CardRootOf(const QString &path);

// The part of `path` below `cardRoot`; the whole path when it does not lie
// below it. Folder-name tests ("home", "public") look only at this part, so
// a card mounted below /home/... is not taken for the HOME software.
QString PathBelowRoot(const QString &path, const QString &cardRoot);

// True for a name that can be used as one path component on the card
// (not empty, not "." or "..", no slash or backslash).
bool IsPlainName(const QString &name);

} // namespace CardHelpers
