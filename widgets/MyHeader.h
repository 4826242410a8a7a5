#pragma once

#include "FXHeader.h"

// The plug-in's table header: horizontal, the plug-in's check box pictures,
// and every mouse release reported to the table with its section.
class MyHeader : public FXHeader
{
    Q_OBJECT
public:
    explicit MyHeader(QWidget *parent = nullptr);

signals:
    // Any release over the header, -1 outside every section.
    void released(int logicalIndex);
    // The check box of section 0 changed.
    void toggled(bool checked);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};
