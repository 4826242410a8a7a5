#pragma once

class QUrl;

// Opens a web page in the user's browser.
class UrlOpener
{
public:
    static bool open(const QUrl &url);
};
