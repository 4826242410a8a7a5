<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AddressQuery</name>
    <message>
        <source>The service cannot be reached. Please check the network and try again.</source>
        <translation>The service cannot be reached. Please check the network and try again.</translation>
    </message>
    <message>
        <source>The service answered with an error (HTTP %1).</source>
        <translation>The service answered with an error (HTTP %1).</translation>
    </message>
    <message>
        <source>The service&apos;s answer could not be read.</source>
        <translation>The service&apos;s answer could not be read.</translation>
    </message>
    <message>
        <source>The service named no download address.</source>
        <translation>The service named no download address.</translation>
    </message>
</context>
<context>
    <name>ArchiveInstall</name>
    <message>
        <source>There is no SD card to install onto.</source>
        <translation>There is no SD card to install onto.</translation>
    </message>
    <message>
        <source>The update of this program did not come over a secure (https) address. It was not installed.</source>
        <translation>The update of this program did not come over a secure (https) address. It was not installed.</translation>
    </message>
    <message>
        <source>The update of this program is not a Debian package. It was not installed.</source>
        <translation>The update of this program is not a Debian package. It was not installed.</translation>
    </message>
    <message>
        <source>The update of this program does not have the size the service announced. It was not installed.</source>
        <translation>The update of this program does not have the size the service announced. It was not installed.</translation>
    </message>
    <message>
        <source>The update of this program does not have the checksum the service announced. It was not installed.</source>
        <translation>The update of this program does not have the checksum the service announced. It was not installed.</translation>
    </message>
    <message>
        <source>The update of this program could not be kept safe on this computer. It was not installed.</source>
        <translation>The update of this program could not be kept safe on this computer. It was not installed.</translation>
    </message>
    <message>
        <source>The update of this program was not confirmed.</source>
        <translation>The update of this program was not confirmed.</translation>
    </message>
    <message>
        <source>The installer could not be opened.</source>
        <translation>The installer could not be opened.</translation>
    </message>
    <message>
        <source>The install was stopped. The card keeps what it had.</source>
        <translation>The install was stopped. The card keeps what it had.</translation>
    </message>
    <message>
        <source>The install was stopped.</source>
        <translation>The install was stopped.</translation>
    </message>
    <message>
        <source>%1 is on the card without this patch.</source>
        <translation>%1 is on the card without this patch.</translation>
    </message>
    <message>
        <source>Nothing on the card was changed.</source>
        <translation>Nothing on the card was changed.</translation>
    </message>
    <message>
        <source>The archive is damaged. Retry downloads it again.</source>
        <translation>The archive is damaged. Retry downloads it again.</translation>
    </message>
    <message>
        <source>The archive does not hold %1.</source>
        <translation>The archive does not hold %1.</translation>
    </message>
    <message>
        <source>The archive holds another version than %1.</source>
        <translation>The archive holds another version than %1.</translation>
    </message>
    <message>
        <source>The SD card no longer holds what the list showed: is it another card with the same serial number? Return to the list to see what it holds now. Nothing on the card was changed.</source>
        <translation>The SD card no longer holds what the list showed: is it another card with the same serial number? Return to the list to see what it holds now. Nothing on the card was changed.</translation>
    </message>
    <message>
        <source>The SD card gave back different data than was written to it: it may be failing or counterfeit. The installed version was kept.</source>
        <translation>The SD card gave back different data than was written to it: it may be failing or counterfeit. The installed version was kept.</translation>
    </message>
    <message>
        <source>There is not enough space on the SD card.</source>
        <translation>There is not enough space on the SD card.</translation>
    </message>
    <message>
        <source>The SD card could not be written. It keeps what it had.</source>
        <translation>The SD card could not be written. It keeps what it had.</translation>
    </message>
    <message>
        <source>The SD card could not read back what was written to it: it may be failing. The installed version was kept.</source>
        <translation>The SD card could not read back what was written to it: it may be failing. The installed version was kept.</translation>
    </message>
</context>
<context>
    <name>ArchiveTransfer</name>
    <message>
        <source>The download address is not secure (https).</source>
        <translation>The download address is not secure (https).</translation>
    </message>
    <message>
        <source>The download address is not a web address.</source>
        <translation>The download address is not a web address.</translation>
    </message>
    <message>
        <source>The download server answered %1.</source>
        <translation>The download server answered %1.</translation>
    </message>
    <message>
        <source>The download stalled. Retry resumes it.</source>
        <translation>The download stalled. Retry resumes it.</translation>
    </message>
    <message>
        <source>The download server sent more than the archive can be; what arrived was deleted.</source>
        <translation>The download server sent more than the archive can be; what arrived was deleted.</translation>
    </message>
    <message>
        <source>The download ended before the archive was complete.</source>
        <translation>The download ended before the archive was complete.</translation>
    </message>
    <message>
        <source>The archive changed on the server during the download.</source>
        <translation>The archive changed on the server during the download.</translation>
    </message>
    <message>
        <source>The archive could not be written to this computer&apos;s disk.</source>
        <translation>The archive could not be written to this computer&apos;s disk.</translation>
    </message>
    <message>
        <source>There is not enough space on this computer&apos;s disk.</source>
        <translation>There is not enough space on this computer&apos;s disk.</translation>
    </message>
    <message>
        <source>The download server sent it somewhere it may not go.</source>
        <translation>The download server sent it somewhere it may not go.</translation>
    </message>
    <message>
        <source>The download server sent something that is not an archive; it was deleted.</source>
        <translation>The download server sent something that is not an archive; it was deleted.</translation>
    </message>
    <message>
        <source>The connection to the download server failed. Retry resumes it.</source>
        <translation>The connection to the download server failed. Retry resumes it.</translation>
    </message>
</context>
<context>
    <name>CardBox</name>
    <message>
        <source>Serial Number: %1</source>
        <translation>Serial Number: %1</translation>
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
    <name>CardCheckWidget</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Check Card</source>
        <translation>Check Card</translation>
    </message>
    <message>
        <source>SD card %1</source>
        <translation>SD card %1</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Reinstall Damaged</source>
        <translation>Reinstall Damaged</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>Reading back every file Ostrel installed on the SD card...</source>
        <translation>Reading back every file Ostrel installed on the SD card...</translation>
    </message>
    <message>
        <source>Intact</source>
        <translation>Intact</translation>
    </message>
    <message>
        <source>Damaged</source>
        <translation>Damaged</translation>
    </message>
    <message>
        <source>Changed outside Ostrel</source>
        <translation>Changed outside Ostrel</translation>
    </message>
    <message>
        <source>Not recorded</source>
        <translation>Not recorded</translation>
    </message>
    <message>
        <source>Reading back every file Ostrel installed on the SD card... %1%</source>
        <translation>Reading back every file Ostrel installed on the SD card... %1%</translation>
    </message>
    <message>
        <source>The check was stopped.</source>
        <translation>The check was stopped.</translation>
    </message>
    <message>
        <source>The SD card was removed during the check.</source>
        <translation>The SD card was removed during the check.</translation>
    </message>
    <message>
        <source>Ostrel installed %1 here.</source>
        <translation>Ostrel installed %1 here.</translation>
    </message>
    <message>
        <source>%1 intact, %2 damaged, %3 changed outside Ostrel, %4 not recorded.</source>
        <translation>%1 intact, %2 damaged, %3 changed outside Ostrel, %4 not recorded.</translation>
    </message>
</context>
<context>
    <name>DownloadBatch</name>
    <message>
        <source>Download...</source>
        <translation>Downloading...</translation>
    </message>
    <message>
        <source>Download Done</source>
        <translation>Downloaded</translation>
    </message>
    <message>
        <source>Download Failed</source>
        <translation>Download Failed</translation>
    </message>
    <message>
        <source>Decompress...</source>
        <translation>Unpacking...</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Install Failed</source>
        <translation>Install Failed</translation>
    </message>
    <message>
        <source>Card removed</source>
        <translation>Card removed</translation>
    </message>
    <message>
        <source>Verifying...</source>
        <translation>Verifying...</translation>
    </message>
    <message>
        <source>Installer opened</source>
        <translation>Installer opened</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>Not installed</translation>
    </message>
</context>
<context>
    <name>DownloadWidget</name>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Current Version</source>
        <translation>Current Version</translation>
    </message>
    <message>
        <source>Updatable Versions</source>
        <translation>Available Versions</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>State</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>The SD card was removed. Put it back and press Retry.</source>
        <translation>The SD card was removed. Put it back and press Retry.</translation>
    </message>
    <message>
        <source>The SD card is back. Press Retry to finish the update.</source>
        <translation>The SD card is back. Press Retry to finish the update.</translation>
    </message>
    <message>
        <source>This SD card (%1) is not the card of this update. Put back the SD card %2.</source>
        <translation>This SD card (%1) is not the card of this update. Put back the SD card %2.</translation>
    </message>
    <message>
        <source>verifying %1</source>
        <translation>verifying %1</translation>
    </message>
    <message>
        <source>Install version %1 of Ostrel now?
Your system&apos;s software installer opens the downloaded file %2 and asks for your password.</source>
        <translation>Install version %1 of Ostrel now?
Your system&apos;s software installer opens the downloaded file %2 and asks for your password.</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>The SD card can now be removed.</source>
        <translation>The SD card can now be removed.</translation>
    </message>
    <message>
        <source>All software downloads are successfully installed!</source>
        <translation>All software was downloaded and installed.</translation>
    </message>
    <message>
        <source>Failed to download/install some software. Please try again.</source>
        <translation>Some software could not be downloaded or installed. Please try again.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Some software is downloading or installing. Are you sure you want to quit?</source>
        <translation>Some software is still being downloaded or installed. Are you sure you want to quit?</translation>
    </message>
    <message>
        <source>Uninstalling softwares, please wait a moment!</source>
        <translation>Vehicle software is being uninstalled. Please wait a moment.</translation>
    </message>
    <message>
        <source>No U disk was found. Please check and try again.</source>
        <translation>No SD card was found. Please check and try again.</translation>
    </message>
    <message>
        <source>U Disk Inserted!</source>
        <translation>SD card inserted.</translation>
    </message>
    <message>
        <source>U disk has been pulled out!</source>
        <translation>The SD card was removed.</translation>
    </message>
    <message>
        <source>The update has ended.</source>
        <translation>The update has ended.</translation>
    </message>
</context>
<context>
    <name>HistoryWidget</name>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>From</source>
        <translation>From</translation>
    </message>
    <message>
        <source>To</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>Verified</source>
        <translation>Verified</translation>
    </message>
    <message>
        <source>Update History</source>
        <translation>Update History</translation>
    </message>
    <message>
        <source>SD card %1</source>
        <translation>SD card %1</translation>
    </message>
    <message>
        <source>No updates of this SD card are recorded yet.</source>
        <translation>No updates of this SD card are recorded yet.</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>Return</translation>
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
        <source>Stopped</source>
        <translation>Stopped</translation>
    </message>
</context>
<context>
    <name>LanguageTable</name>
    <message>
        <source>Chinese Simplified</source>
        <translation>Chinese Simplified</translation>
    </message>
    <message>
        <source>Chinese Traditional(TW)</source>
        <translation>Chinese Traditional (Taiwan)</translation>
    </message>
    <message>
        <source>Chinese Traditional(HK)</source>
        <translation>Chinese Traditional (Hong Kong)</translation>
    </message>
    <message>
        <source>German</source>
        <translation>German</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>Spanish</translation>
    </message>
    <message>
        <source>French</source>
        <translation>French</translation>
    </message>
    <message>
        <source>Hungarian</source>
        <translation>Hungarian</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>Italian</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>Korean</source>
        <translation>Korean</translation>
    </message>
    <message>
        <source>Dutch</source>
        <translation>Dutch</translation>
    </message>
    <message>
        <source>Polish</source>
        <translation>Polish</translation>
    </message>
    <message>
        <source>Portuguese</source>
        <translation>Portuguese</translation>
    </message>
    <message>
        <source>Russian</source>
        <translation>Russian</translation>
    </message>
    <message>
        <source>Swedish</source>
        <translation>Swedish</translation>
    </message>
    <message>
        <source>Thai</source>
        <translation>Thai</translation>
    </message>
    <message>
        <source>Slovak</source>
        <translation>Slovak</translation>
    </message>
    <message>
        <source>Czech</source>
        <translation>Czech</translation>
    </message>
</context>
<context>
    <name>MyTableModel</name>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
</context>
<context>
    <name>SelectVehicleWidget</name>
    <message>
        <source>Select One Vehicle Software</source>
        <translation>Choose the Vehicle Software</translation>
    </message>
    <message>
        <source>Serial Number:</source>
        <translation>Serial Number:</translation>
    </message>
    <message>
        <source>Software Language:</source>
        <translation>Software Language:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>Submit</source>
        <translation>Submit</translation>
    </message>
    <message>
        <source>Configurate Successfully！</source>
        <translation>Vehicle software configured.</translation>
    </message>
    <message>
        <source>The product does not need to be reconfigured！</source>
        <translation>The product does not need to be reconfigured.</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
</context>
<context>
    <name>SoftwareInfoWidget</name>
    <message>
        <source>Software Update</source>
        <translation>Software Update</translation>
    </message>
    <message>
        <source>Software Language:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation>Upgrade</translation>
    </message>
    <message>
        <source>Check Card</source>
        <translation>Check Card</translation>
    </message>
    <message>
        <source>History</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Current Version</source>
        <translation>Current Version</translation>
    </message>
    <message>
        <source>Updatable Versions</source>
        <translation>Available Versions</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>State</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Insert the scanner&apos;s SD card</source>
        <translation>Insert the scanner&apos;s SD card</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>This product is a single-vehicle software product, and there is no vehicle software yet. It is necessary to reconfigure a vehicle software. </source>
        <translation>This product covers one vehicle, and none has been chosen for it yet. Please choose its vehicle software.</translation>
    </message>
    <message>
        <source>Always kept up to date: the scanner needs this software.</source>
        <translation>Always kept up to date: the scanner needs this software.</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>Not installed</translation>
    </message>
    <message>
        <source>Update available</source>
        <translation>Update available</translation>
    </message>
    <message>
        <source>Up to date</source>
        <translation>Up to date</translation>
    </message>
    <message numerus="yes">
        <source>%n selected · %1</source>
        <translation>
            <numerusform>%n selected · %1</numerusform>
            <numerusform>%n selected · %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Nothing selected</source>
        <translation>Nothing selected</translation>
    </message>
    <message>
        <source>Your card is up to date</source>
        <translation>Your card is up to date</translation>
    </message>
    <message>
        <source>U Disk Inserted!</source>
        <translation>SD card inserted.</translation>
    </message>
    <message>
        <source>U disk has been pulled out!</source>
        <translation>The SD card was removed.</translation>
    </message>
    <message numerus="yes">
        <source>%n ticked package(s) left out: the service lists their number twice.</source>
        <translation>
            <numerusform>%n ticked package left out: the service lists its number twice.</numerusform>
            <numerusform>%n ticked packages left out: the service lists their numbers twice.</numerusform>
        </translation>
    </message>
    <message>
        <source>The update service did not answer. Check this computer&apos;s connection to the internet, then try again.</source>
        <translation>The update service did not answer. Check this computer&apos;s connection to the internet, then try again.</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Try again</translation>
    </message>
</context>
<context>
    <name>TransferRate</name>
    <message>
        <source>about 1 min left</source>
        <translation>about 1 min left</translation>
    </message>
    <message>
        <source>about %1 s left</source>
        <translation>about %1 s left</translation>
    </message>
    <message>
        <source>about %1 min left</source>
        <translation>about %1 min left</translation>
    </message>
    <message>
        <source>about %1 h %2 min left</source>
        <translation>about %1 h %2 min left</translation>
    </message>
</context>
<context>
    <name>UpgradeCheck</name>
    <message>
        <source>Uninstalling softwares, please wait a moment!</source>
        <translation>Vehicle software is being uninstalled. Please wait a moment.</translation>
    </message>
    <message>
        <source>Please select a software to download!</source>
        <translation>Please select the software to download.</translation>
    </message>
    <message>
        <source>Local disk space is insufficient, please clean up first and try again.</source>
        <translation>There is not enough space on this computer&apos;s disk. Please free some space and try again.</translation>
    </message>
    <message>
        <source>No U disk was found. Please check and try again.</source>
        <translation>No SD card was found. Please check and try again.</translation>
    </message>
    <message>
        <source>U disk space is insufficient, please clean up first and try again.</source>
        <translation>There is not enough space on the SD card. Please free some space and try again.</translation>
    </message>
</context>
<context>
    <name>UpgradeController</name>
    <message>
        <source>The service lists this package&apos;s number for another package as well; it was left out.</source>
        <translation>The service lists this package&apos;s number for another package as well; it was left out.</translation>
    </message>
    <message>
        <source>Updating vehicle software</source>
        <translation>Updating vehicle software</translation>
    </message>
    <message>
        <source>The SD card was removed before this package was finished.</source>
        <translation>The SD card was removed before this package was finished.</translation>
    </message>
</context>
</TS>
