#pragma once

#include <QString>

class Package;

// The downloaded installer of this program, before anyone is asked to run
// it. The service names the file; nothing of it is trusted: it must have
// come over https, be a Debian package (the kind this platform installs
// and the program ships as), have exactly the size the service announced
// and, once the service sends one, the checksum it announced. It is kept
// readable by its owner only and never executable.
class ProgramInstaller
{
public:
    enum class Verdict {
        Ok,
        NotHttps,         // fetched from a plain http address
        NotDebianPackage, // any other kind of file
        SizeUnknown,      // the service announced no size
        WrongSize,        // not the size the service announced
        WrongChecksum,    // not the checksum the service announced
        NotPrivate        // not a plain file of this user that can be kept owner-only
    };

    static Verdict check(const Package &package, const QString &path);

    // A Debian binary package: an "ar" archive whose members are
    // "debian-binary" (format 2.x), then the control and the data archive.
    static bool isDebianPackage(const QString &path);
};
