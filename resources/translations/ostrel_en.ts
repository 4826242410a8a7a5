<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Application</name>
    <message>
        <source>Ostrel</source>
        <translation>Ostrel</translation>
    </message>
    <message>
        <source>Ostrel cannot make sure that it runs only once, so it does not start. Check that your home folder can be written to.</source>
        <translation>Ostrel cannot make sure that it runs only once, so it does not start. Check that your home folder can be written to.</translation>
    </message>
    <message>
        <source>Ostrel is already running for this user, perhaps in another session. Close it before you start Ostrel again.</source>
        <translation>Ostrel is already running for this user, perhaps in another session. Close it before you start Ostrel again.</translation>
    </message>
</context>
<context>
    <name>Code</name>
    <message>
        <source>Success</source>
        <translation>Success</translation>
    </message>
    <message>
        <source>Login failed.</source>
        <translation>Sign-in failed.</translation>
    </message>
    <message>
        <source>User authentication failed!Please login again!</source>
        <translation>User authentication failed. Please sign in again.</translation>
    </message>
    <message>
        <source>Session Timeout!Please log in again!</source>
        <translation>The session has timed out. Please sign in again.</translation>
    </message>
    <message>
        <source>Signature verification failed!</source>
        <translation>Signature verification failed.</translation>
    </message>
    <message>
        <source>Internal Server Error!</source>
        <translation>Internal server error.</translation>
    </message>
    <message>
        <source>Server exception!</source>
        <translation>The server reported an error.</translation>
    </message>
    <message>
        <source>Please fill in the key parameters!</source>
        <translation>Required parameters are missing.</translation>
    </message>
    <message>
        <source>Session time out!</source>
        <translation>The session has timed out.</translation>
    </message>
    <message>
        <source>Request error!</source>
        <translation>The request is not valid.</translation>
    </message>
    <message>
        <source>Repetition of key parameters!</source>
        <translation>Key parameters were given twice.</translation>
    </message>
    <message>
        <source>Error in mailbox format!</source>
        <translation>The email address is not valid.</translation>
    </message>
    <message>
        <source>Verification code sending failed!</source>
        <translation>The verification code could not be sent.</translation>
    </message>
    <message>
        <source>Verification code incorrect or timeout, please retrieve!</source>
        <translation>The verification code is incorrect or has expired. Please request a new one.</translation>
    </message>
    <message>
        <source>JSON parameter exception, parsing failure!</source>
        <translation>The request data could not be read.</translation>
    </message>
    <message>
        <source>Registration failure!</source>
        <translation>Registration failed.</translation>
    </message>
    <message>
        <source>User name or password length is less than 6 bits!</source>
        <translation>The user name or password is shorter than 6 characters.</translation>
    </message>
    <message>
        <source>Registration error!The e-mail has been registered.</source>
        <translation>Registration failed: this email address is already registered.</translation>
    </message>
    <message>
        <source>The user name does not exist!</source>
        <translation>The user name does not exist.</translation>
    </message>
    <message>
        <source>Logon password error!</source>
        <translation>The password is incorrect.</translation>
    </message>
    <message>
        <source>Your Kestavo ID is disabled.Please contact Kestavo to get support.</source>
        <translation>Your Kestavo ID is disabled. Please contact Kestavo for support.</translation>
    </message>
    <message>
        <source>Your Kestavo ID is under review.Please contact Kestavo to get support.</source>
        <translation>Your Kestavo ID is under review. Please contact Kestavo for support.</translation>
    </message>
    <message>
        <source>The password reset failed.Please try again.</source>
        <translation>The password reset failed. Please try again.</translation>
    </message>
    <message>
        <source>Password Length Less than 6 Bits!</source>
        <translation>The password must be at least 6 characters long.</translation>
    </message>
    <message>
        <source>Failed to change password!</source>
        <translation>The password could not be changed.</translation>
    </message>
    <message>
        <source>Failed to modify mailbox!</source>
        <translation>The email address could not be changed.</translation>
    </message>
    <message>
        <source>New mailbox cannot be the same to old mailbox!</source>
        <translation>The new email address must differ from the old one.</translation>
    </message>
    <message>
        <source>Failed to modify user information!</source>
        <translation>The user information could not be changed.</translation>
    </message>
    <message>
        <source>Lack of serial number parameters!</source>
        <translation>The serial number is missing.</translation>
    </message>
    <message>
        <source>The serial number does not belong to this user!</source>
        <translation>The serial number does not belong to this user.</translation>
    </message>
    <message>
        <source>The serial number not exists!</source>
        <translation>The serial number does not exist.</translation>
    </message>
    <message>
        <source>The serial number unrelated order!</source>
        <translation>The serial number is not linked to an order.</translation>
    </message>
    <message>
        <source>The serial number configuration information exception!</source>
        <translation>The configuration of this serial number is faulty.</translation>
    </message>
    <message>
        <source>Lack of language parameters!</source>
        <translation>The language is missing.</translation>
    </message>
    <message>
        <source>This language in not available at the moment!</source>
        <translation>This language is not available at the moment.</translation>
    </message>
    <message>
        <source>Product Package Unrelated Software!</source>
        <translation>No software is linked to the product package.</translation>
    </message>
    <message>
        <source>Automatic change configuration package failure!</source>
        <translation>The configuration package could not be changed automatically.</translation>
    </message>
    <message>
        <source>No need to reconfigure vehicle software!</source>
        <translation>The vehicle software does not need to be reconfigured.</translation>
    </message>
    <message>
        <source>Software ID cannot be empty!</source>
        <translation>The software ID is missing.</translation>
    </message>
    <message>
        <source>Inquiry error of software information!</source>
        <translation>The software information could not be queried.</translation>
    </message>
    <message>
        <source>Product deletion failed, please contact the administrator!</source>
        <translation>The product could not be deleted. Please contact the administrator.</translation>
    </message>
    <message>
        <source>Please fill in the complete information.</source>
        <translation>Please fill in the complete information.</translation>
    </message>
    <message>
        <source>Verification code error!</source>
        <translation>The verification code is incorrect.</translation>
    </message>
    <message>
        <source>Incorrect mailbox format input!</source>
        <translation>The email address is not valid.</translation>
    </message>
    <message>
        <source>The mailbox has been used.Please replace it.</source>
        <translation>This email address is already in use. Please use another one.</translation>
    </message>
    <message>
        <source>Failure of application, please try again.</source>
        <translation>The request failed. Please try again.</translation>
    </message>
    <message>
        <source>Mailbox cannot be empty!</source>
        <translation>Please enter an email address.</translation>
    </message>
    <message>
        <source>The mailbox format is incorrect!</source>
        <translation>The email address is not valid.</translation>
    </message>
</context>
<context>
    <name>Complaint</name>
    <message>
        <source>Complaint</source>
        <translation>Complaint</translation>
    </message>
    <message>
        <source>The complaint form is not available: its address is not secure (https).</source>
        <translation>The complaint form is not available: its address is not secure (https).</translation>
    </message>
    <message>
        <source>Complaint form</source>
        <translation>Complaint form</translation>
    </message>
</context>
<context>
    <name>Login</name>
    <message>
        <source>Registered email or Kestavo ID</source>
        <translation>Registered email or Kestavo ID</translation>
    </message>
    <message>
        <source>Enter your Password</source>
        <translation>Enter your password</translation>
    </message>
    <message>
        <source>Retrieve Password</source>
        <translation>Forgot Password?</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Sign in</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>Please enter your email address or Kestavo ID</source>
        <translation>Please enter your email address or Kestavo ID</translation>
    </message>
    <message>
        <source>Please enter your password</source>
        <translation>Please enter your password</translation>
    </message>
    <message>
        <source>Incorrect account or password</source>
        <translation>Incorrect account or password.</translation>
    </message>
</context>
<context>
    <name>MissingPluginPage</name>
    <message>
        <source>The download component is not installed.</source>
        <translation>The download component is not installed.</translation>
    </message>
    <message>
        <source>Card updates are not available. Reinstall Ostrel to restore them; uninstalling vehicle software and every other page still work.</source>
        <translation>Card updates are not available. Reinstall Ostrel to restore them; uninstalling vehicle software and every other page still work.</translation>
    </message>
</context>
<context>
    <name>Ostrel</name>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Complaint</source>
        <translation>Complaint</translation>
    </message>
    <message>
        <source>Uninstall</source>
        <translation>Uninstall</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>User Information</source>
        <translation>User Information</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>Register</name>
    <message>
        <source>Email</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>Verification Code</source>
        <translation>Verification Code</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Confirm Password</source>
        <translation>Confirm Password</translation>
    </message>
    <message>
        <source>Send Code</source>
        <translation>Send Code</translation>
    </message>
    <message>
        <source>Email format error</source>
        <translation>The email address is not valid.</translation>
    </message>
    <message>
        <source>Verification Code format error</source>
        <translation>The verification code is not valid.</translation>
    </message>
    <message>
        <source>Password format error</source>
        <translation>The password is not valid.</translation>
    </message>
    <message>
        <source>Confirm Password format error</source>
        <translation>The repeated password is not valid.</translation>
    </message>
    <message>
        <source>Free Registration</source>
        <translation>Register for Free</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>By creating an account, you agree to</source>
        <translation>By creating an account, you agree to</translation>
    </message>
    <message>
        <source>Kestavo&apos;s Conditions of Use and Privacy Notice.</source>
        <translation>Kestavo&apos;s Conditions of Use and Privacy Notice.</translation>
    </message>
    <message>
        <source>Please enter your valid email address!</source>
        <translation>Please enter a valid email address.</translation>
    </message>
    <message>
        <source>Something&apos;s wrong with your email address. Please try again!</source>
        <translation>Something is wrong with your email address. Please try again.</translation>
    </message>
    <message>
        <source>An account already exists with the email address </source>
        <translation>An account already exists with the email address </translation>
    </message>
    <message>
        <source>An account already exists with the email address</source>
        <translation>An account already exists with the email address</translation>
    </message>
    <message>
        <source>We have sent the verification code to your email, please use it within 10 minutes!</source>
        <translation>We have sent a verification code to your email address. Please use it within 10 minutes.</translation>
    </message>
    <message>
        <source>Verification code is sent fail!</source>
        <translation>The verification code could not be sent.</translation>
    </message>
    <message>
        <source>Verification code is empty!</source>
        <translation>Please enter the verification code.</translation>
    </message>
    <message>
        <source>Verification code error!</source>
        <translation>The verification code is incorrect.</translation>
    </message>
    <message>
        <source>Password is empty!</source>
        <translation>Please enter a password.</translation>
    </message>
    <message>
        <source>Make sure it contains 6-16 characters or symbols!</source>
        <translation>Use 6 to 16 letters, digits or symbols.</translation>
    </message>
    <message>
        <source>Passwords does not match!</source>
        <translation>The passwords do not match.</translation>
    </message>
    <message>
        <source>The password entered twice is different!</source>
        <translation>The two passwords differ.</translation>
    </message>
    <message>
        <source>Registered account is successful!</source>
        <translation>Your account has been created.</translation>
    </message>
    <message>
        <source>Failed to create the account.</source>
        <translation>Failed to create the account.</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Setting</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Language Setting</source>
        <translation>Vehicle Software Language</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Vehicle is being upgraded, disables language switching!</source>
        <translation>Vehicle software is being updated. The language cannot be changed now.</translation>
    </message>
    <message>
        <source>Vehicle is being unload, disables language switching!</source>
        <translation>Vehicle software is being uninstalled. The language cannot be changed now.</translation>
    </message>
    <message>
        <source>The vehicle software language changes when Ostrel restarts. Restart now?</source>
        <translation>The vehicle software language changes when Ostrel restarts. Restart now?</translation>
    </message>
    <message>
        <source>Interface Language</source>
        <translation>Interface Language</translation>
    </message>
    <message>
        <source>The interface language changes when Ostrel restarts. Restart now?</source>
        <translation>The interface language changes when Ostrel restarts. Restart now?</translation>
    </message>
    <message>
        <source>The interface language and the vehicle software language change when Ostrel restarts. Restart now?</source>
        <translation>The interface language and the vehicle software language change when Ostrel restarts. Restart now?</translation>
    </message>
</context>
<context>
    <name>TitleBar</name>
    <message>
        <source>Minimize</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>Uninstall</name>
    <message>
        <source>Tips</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>The model is upgrading. Closing may result in the car not working properly. Is it turned off?</source>
        <translation>Vehicle software is being updated. Closing Ostrel now may leave it unusable. Close anyway?</translation>
    </message>
    <message>
        <source>Uninstalling vehicle software</source>
        <translation>Uninstalling vehicle software</translation>
    </message>
    <message>
        <source>Current Version</source>
        <translation>Current Version</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Uninstalling...</source>
        <translation>Uninstalling...</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>No serial number</source>
        <translation>No serial number</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Uninstall</source>
        <translation>Uninstall</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Insert the scanner&apos;s SD card</source>
        <translation>Insert the scanner&apos;s SD card</translation>
    </message>
    <message>
        <source>Please insert the SD card!</source>
        <translation>Please insert the SD card.</translation>
    </message>
    <message>
        <source>No vehicles!</source>
        <translation>No vehicle software was found on the SD card.</translation>
    </message>
    <message>
        <source>Updating, Please waitting...</source>
        <translation>An update is running. Please wait...</translation>
    </message>
    <message>
        <source>Vehicle is being upgraded, do not unload!</source>
        <translation>Vehicle software is being updated. It cannot be uninstalled now.</translation>
    </message>
    <message>
        <source>Uninstall vehicle successfully</source>
        <translation>Vehicle software uninstalled.</translation>
    </message>
    <message>
        <source>Uninstall vehicle failed!</source>
        <translation>The vehicle software could not be uninstalled.</translation>
    </message>
    <message>
        <source>Stopped. %1 of %2 vehicle software packages were uninstalled; the others stay on the SD card.</source>
        <translation>Stopped. %1 of %2 vehicle software packages were uninstalled; the others stay on the SD card.</translation>
    </message>
    <message numerus="yes">
        <source>Uninstall %n vehicle software package(s) from the SD card? This frees %1.</source>
        <translation>
            <numerusform>Uninstall %n vehicle software package from the SD card? This frees %1.</numerusform>
            <numerusform>Uninstall %n vehicle software packages from the SD card? This frees %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>The model is being unloaded. Closing may result in the car not working properly. Is it turned off?</source>
        <translation>Vehicle software is being uninstalled. Closing Ostrel now may leave it unusable. Close anyway?</translation>
    </message>
    <message>
        <source>Internal Storage:</source>
        <translation>Internal Storage:</translation>
    </message>
    <message>
        <source>Internal Storage: </source>
        <translation>Internal Storage: </translation>
    </message>
    <message>
        <source>No version</source>
        <translation>No version</translation>
    </message>
    <message>
        <source>No SD card</source>
        <translation>No SD card</translation>
    </message>
    <message>
        <source>Used %1 of %2</source>
        <translation>Used %1 of %2</translation>
    </message>
</context>
<context>
    <name>UserInfo</name>
    <message>
        <source>Failed to get user information</source>
        <translation>The user information could not be loaded.</translation>
    </message>
    <message>
        <source>User information obtained successfully</source>
        <translation>User information loaded.</translation>
    </message>
    <message>
        <source>Failed to modify user information</source>
        <translation>The user information could not be saved.</translation>
    </message>
    <message>
        <source>Modify user information successfully</source>
        <translation>User information saved.</translation>
    </message>
    <message>
        <source>User Information</source>
        <translation>User Information</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>First Name</translation>
    </message>
    <message>
        <source>Middle Name</source>
        <translation>Middle Name</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>Last Name</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>Telephone</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>City</source>
        <translation>City</translation>
    </message>
    <message>
        <source>State/Province</source>
        <translation>State/Province</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>Zip Code</source>
        <translation>Zip Code</translation>
    </message>
    <message>
        <source>Not given</source>
        <translation>Not given</translation>
    </message>
</context>
<context>
    <name>login</name>
    <message>
        <source>Stay signed in</source>
        <translation>Stay signed in</translation>
    </message>
</context>
<context>
    <name>userInfo</name>
    <message>
        <source>First Name</source>
        <translation>First Name</translation>
    </message>
    <message>
        <source>Middle Name</source>
        <translation>Middle Name</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>Last Name</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>Company</translation>
    </message>
    <message>
        <source>Telephone</source>
        <translation>Telephone</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>City</source>
        <translation>City</translation>
    </message>
    <message>
        <source>State/Province</source>
        <translation>State/Province</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Country</translation>
    </message>
    <message>
        <source>Zip Code</source>
        <translation>Zip Code</translation>
    </message>
</context>
</TS>
