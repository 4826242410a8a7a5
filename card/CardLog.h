#pragma once

#include <QLoggingCategory>

// Debug output of the card engine; off unless enabled with
// QT_LOGGING_RULES="ostrel.card.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcCard)
