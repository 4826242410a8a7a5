#pragma once

#include <QWidget>

// Stands in for the download page when the download component could not be
// loaded, so the "Download" entry still shows something that explains it.
class MissingPluginPage : public QWidget
{
    Q_OBJECT
public:
    explicit MissingPluginPage(QWidget *parent = nullptr);
};
