#pragma once

#include <QString>

class UpgradeController;

// What the download page says about a batch in words, told from the
// controller's state: the summary at its end and the notice about the card.
class BatchTexts
{
public:
    static QString summary(const UpgradeController &controller);
    static QString cardNotice(const UpgradeController &controller);
    // The batch's speed, the reading back's and the time left; empty when
    // nothing moves.
    static QString rate(const UpgradeController &controller);
};
