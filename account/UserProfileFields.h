#pragma once

#include <QString>

class GetUserInfoResponse;
class UserInfoData;

// The eleven profile fields both user-information pages show, in their
// fixed row order, with the label texts and the profile value of each row.
class UserProfileFields
{
public:
    enum Row {
        FirstName = 0,
        MiddleName,
        LastName,
        Company,
        Telephone,
        Fax,
        Address,
        City,
        Province,
        Country,
        Zip,
        Count
    };

    // The untranslated label of a row; nullptr outside 0..Count-1.
    static const char *sourceLabel(int row);
    // The label translated in `context` (the read-only table and the form
    // use different contexts for the same texts).
    static QString label(int row, const char *context);
    // The profile value a row shows; the country row shows the country's name.
    static QString value(const UserInfoData &data, int row);

    // Asks the service for the signed-in user's profile; returns the call's
    // status (200, another HTTP status or -1).
    static int fetch(const QString &token, long userId, GetUserInfoResponse &response);

    // A page text of the user-information pages (context "UserInfo").
    static QString text(const char *source);
};
