#include "ResultCodes.h"

#include <QHash>

QString ResultCodes::message(int code)
{
    static const QHash<int, const char *> texts = {
        {1, "Success"},
        {-1, "Login failed."},
        {-100, "User authentication failed!Please login again!"},
        {-101, "Session Timeout!Please log in again!"},
        {-102, "Signature verification failed!"},
        {-500, "Internal Server Error!"},
        {-1000, "Server exception!"},
        {-1001, "Please fill in the key parameters!"},
        {-1002, "Session time out!"},
        {-1003, "Request error!"},
        {-1010, "Repetition of key parameters!"},
        {-1200, "Error in mailbox format!"},
        {-1210, "Verification code sending failed!"},
        {-1220, "Verification code incorrect or timeout, please retrieve!"},
        {-1230, "JSON parameter exception, parsing failure!"},
        {-1300, "Registration failure!"},
        {-1301, "User name or password length is less than 6 bits!"},
        {-1302, "Registration error!The e-mail has been registered."},
        {-1310, "The user name does not exist!"},
        {-1311, "Logon password error!"},
        {-1312, "Your Kestavo ID is disabled.Please contact Kestavo to get support."},
        {-1313, "Your Kestavo ID is under review.Please contact Kestavo to get support."},
        {-1320, "The password reset failed.Please try again."},
        {-1321, "Password Length Less than 6 Bits!"},
        {-1330, "Failed to change password!"},
        {-1340, "Failed to modify mailbox!"},
        {-1341, "New mailbox cannot be the same to old mailbox!"},
        {-1350, "Failed to modify user information!"},
        {-1400, "Lack of serial number parameters!"},
        {-1401, "The serial number does not belong to this user!"},
        {-1402, "The serial number not exists!"},
        {-1403, "The serial number unrelated order!"},
        {-1404, "The serial number configuration information exception!"},
        {-1406, "Lack of language parameters!"},
        {-1407, "This language in not available at the moment!"},
        {-1414, "Product Package Unrelated Software!"},
        {-1415, "Automatic change configuration package failure!"},
        {-1418, "No need to reconfigure vehicle software!"},
        {-1420, "Software ID cannot be empty!"},
        {-1421, "Inquiry error of software information!"},
        {-1424, "Product deletion failed, please contact the administrator!"},
        {-1800, "Please fill in the complete information."},
        {-1801, "Verification code error!"},
        {-1802, "Incorrect mailbox format input!"},
        {-1803, "The mailbox has been used.Please replace it."},
        {-1804, "Failure of application, please try again."},
        {-1900, "Mailbox cannot be empty!"},
        {-1901, "The mailbox format is incorrect!"},
    };
    const auto it = texts.constFind(code);
    return QString::fromUtf8(it != texts.constEnd() ? it.value() : "Request error!");
}
