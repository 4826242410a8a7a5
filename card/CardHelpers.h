#pragma once

#include "Card.h"

#include <QString>

// Helpers the plug-in's pages use to find the card, plus the path rules that
// every part of the card engine shares.
namespace CardHelpers {

// The first removable volume that carries a usable serial number, with its
// serial as ReadSerialNumber reads it; a null card when there is none.
Card FindCard();
// Its root (mount point with a trailing slash), or an empty string.
QString FindCardRoot();

// Plug-in form: the first line of the serial file, cut to 13 characters when
// it is longer than 12; empty otherwise.
QString ReadSerialNumber(const QString &rootPath);

// The label of the volume mounted at `root`, as the mechanic named the
// card; empty when it has none or is not mounted.
QString VolumeLabel(const QString &root);

// The serial file at `rootPath` ("sn.txt" in any letter case), or an empty
// string when there is none.
QString SerialFilePath(const QString &rootPath);

} // namespace CardHelpers
