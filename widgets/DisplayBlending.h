#pragma once

// Whether the display blends translucent windows with what lies beneath.
// An X server without a compositing manager does not: there a translucent
// window shows black wherever it is not painted opaque.
class DisplayBlending
{
public:
    // Asked afresh each time: a compositor may start or stop at any moment.
    static bool available();
};
