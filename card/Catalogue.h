#pragma once

#include <QList>
#include <QString>

class Card;
class VehicleData;

// Free operations of the on-card catalogue.

// Two-letter code of the interface language ("setup.ini" "language"), read
// afresh at every call.
QString GetLanguageCode();

// Order of a finished scan: display names compared with the collator of the
// interface language for Chinese, Japanese and Korean, by character code
// otherwise.
bool VehicleLessThan(const VehicleData &a, const VehicleData &b);

// Sorts with VehicleLessThan, reading the interface language once for the
// whole list rather than once per comparison.
void SortVehicles(QList<VehicleData> &list);

// Bytes and number of the regular files below `path` (or of the file
// `path`), without following symbolic links. Usable on any thread.
quint64 CalcSize(const QString &path, int &count);
// The same for a path on `card`: no link on the way from the card root is
// followed either.
quint64 CalcSize(const Card &card, const QString &path, int &count);
