// The language texts of the download-and-install popup's tests. Texts are read once per
// process, so every test of the program writes these same ones beside it.
#pragma once

namespace zx::test {

inline constexpr char kNagTexts[] =
    "[QVX]\r\n"
    "IDS_OK=OK\r\nIDS_CANCEL=Cancel\r\nIDS_YES=Yes\r\nIDS_NO=No\r\n"
    "DOWNLOADNAGDESC1=Downloading the selected drivers\r\n"
    "DOWNLOADNAGTOOLTIP1=Close this window\r\n"
    "IDS_DATE_TIME=Date and time\r\nIDS_STATUS=Status\r\n"
    "IDS_STOP=Stop\r\nIDS_CLOSE=Close\r\nIDS_SKIP_BACKUP=Skip backup\r\n"
    "IDS_DOWNSTART_MOMENT=Starting the download...\r\n"
    "IDS_DRIVER_INSSATRT2=Starting the installation...\r\n"
    "SCANDLG4=Installing drivers\r\n"
    "IDS_WAIT_STOP_MOMENT=Please wait while the run stops...\r\n"
    "IDS_NOITEM_DOWNLOAD=No driver chosen\r\nIDS_DOWN_COMPLETE=Download complete\r\n"
    "IDS_WAIT_INTALL_MOMENT=Waiting to install...\r\nIDS_DOWN_ERROR=Nothing to download\r\n"
    "IDS_DRIVER_INSSATRT=Installing \r\nIDS_DRIVER_INSCOMPL=Installed \r\nIDS_DRIVER_INSFAILED=Not installed: \r\n"
    "IDS_INSTALL_COMP=Installation complete\r\nIDS_DRIVER_NOTINSTALLED=No driver was installed\r\n"
    "IDS_INSTALL_COMP_ERROR=The driver was not installed\r\n"
    "IDS_ABORT_INSTALL=Installation stopped\r\nIDS_RESTART2=Restart the computer now?\r\n"
    "INSTALLNAGDESC1=Install the downloaded drivers with %s?\r\nINSTALLNAGDESC2=%s installs the drivers\r\n"
    "IDS_INSTALL=Install\r\nIDS_DONTINSTALL=Not now\r\n"
    "IDS_CURRDRIVER_BCKUP=Backing up the current drivers with \r\nIDS_CREATE_RESTORPOINT=Creating a restore point\r\n"
    "IDS_BCK_START=Backup started\r\nIDS_BAK_COPMLETED=Backup complete\r\nIDS_BAK_COMP_SUCESS=The drivers are backed up\r\n"
    "IDS_BCK_COMPRESS=Packing the backup\r\n"
    "IDS_BAK_ABORTED=Backup stopped\r\nBACKUPDLG4_1=The backup was stopped\r\n"
    "IDS_UNABLESAVE_BACKUP=The backup could not be written\r\n"
    "IDS_DOWN_ABORT=The download was stopped\r\nIDS_DOWNABORT_NETCONNERROR=The download failed: check the connection\r\n"
    "IDS_START_DOWNLOADING=Downloading \r\nIDS_DOWN_COMP_DRIVER=Downloaded \r\n"
    "IDS_DOWN_STOPEED=The download was stopped.\r\nIDS_DOWN_STOPEED2=Download stopped: \r\n"
    "IDS_DOWNABORT_DUEINTERNET=Download failed: \r\n"
    "IDS_DOWLOADED_OF=%s of %s\r\nIDS_FILESIE_KB=%.1f KB\r\nIDS_FILESIE_MB=%.2f MB\r\nIDS_FILESIE_GB=%.2f GB\r\n"
    "IDS_BYTE_PERSEC=%.0f\r\nIDS_BYTE_PERSEC2=%.1f\r\n"
    "IDS_HTTPDOWNLOAD_BYTESPERSECOND=%s bytes/s\r\nIDS_HTTPDOWNLOAD_KILOBYTESPERSECOND=%s KB/s\r\n"
    "[IDD_DLGNAGFRAME]\r\nIDOK=Go on\r\nIDCANCEL=Hold\r\n";

}  // namespace zx::test
