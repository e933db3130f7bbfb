<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>CliRun</name>
    <message>
        <source>this Mac&apos;s softwareupdate cannot list the installers Apple offers (that takes macOS 11 or later); download an InstallAssistant package and use install-package</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apple&apos;s list of installers could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no installer &quot;%1&quot;. Installers found:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  (none)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no volume &quot;%1&quot;. Volumes that can be used:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pass --yes to erase without asking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erase &quot;%1&quot; (%2)? All data on it will be lost. [y/N] </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>y</source>
        <extracomment>The letter that answers yes to the erase question; keep it to one letter, as in [y/N].</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing was erased</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NAME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VERSION</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BUILD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PATH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No installers found.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DEVICE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FREE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOUNT POINT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NOTE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not offered: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>external disk (not a USB stick)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No removable volumes found.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; %2</source>
        <extracomment>%1 is a volume&apos;s name, %2 why it cannot be used (e.g. &quot;is too small: ...&quot;).</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no folder &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; exists: pass --yes to replace it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the ISO could not be moved to &quot;%1&quot;; it is at &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no package &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ejected %1.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TITLE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>deferred by your organisation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in Applications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apple offers no full installers to this Mac.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 is deferred by your organisation: this Mac may not download it yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apple offers no installer of version &quot;%1&quot;. Versions offered:
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no image &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>An alert&apos;s title and its message.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pass --yes to replace it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The administrator password was not accepted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing was erased.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the administrator password was not accepted; nothing was erased</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Administrator password: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an administrator password is needed: pass --password-stdin and give it on the first line of standard input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>still stopping the job; it ends within a few seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The job did not stop in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its tools are ended as tessaline-cli quits; check the volume or image before using it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>no command given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 does not take %2</source>
        <extracomment>%1 is a command, %2 an option it does not take.</extracomment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes one volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes one package</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs --installer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs --volume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs --version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>verify needs either --volume or --image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: tessaline-cli COMMAND [OPTIONS]
  list-installers [--json]
  list-disks [--json]
  create-usb --installer I --volume V [--yes] [--password-stdin] [--no-verify] [--json]
  create-iso --installer I [--output PATH] [--yes] [--no-verify] [--json]
  verify --installer I (--volume V | --image ISO) [--json]
  install-package PKG [--json]
  eject V
  available-installers [--json]
  download-installer --version VERSION [--password-stdin] [--json]
I is an installer&apos;s name as listed or its bundle path; V is a volume&apos;s name, mount point or device identifier; VERSION a macOS version as available-installers lists. What create-usb and create-iso write is read back and compared with the installer unless --no-verify is given.
</source>
        <extracomment>The command line&apos;s help. Translate the words and the explanation; the commands, the options and the letters I, V, PKG, ISO and VERSION stay as they are.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CompletionView</name>
    <message>
        <source>Succeeded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DiskRow</name>
    <message>
        <source>%1 · external disk (not a USB stick)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eject</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eject %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DiskSelectionView</name>
    <message>
        <source>Create Bootable Media</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a target USB drive to create a bootable installer. Warning: This will erase all data on the selected drive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Free Space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eject</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loading available disks...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No removable disks detected</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DownloadSheet</name>
    <message>
        <source>Download an Installer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download a macOS installer from Apple</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The installer is put in Applications, where Tessaline lists it. The download is large and takes a while.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Asking Apple which installers it offers this Mac...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Build</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Retry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a Package…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Mac cannot list the installers Apple offers: that takes macOS 11 Big Sur or later. Download an InstallAssistant package from Apple with a browser, then choose it here to install the installer from it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apple&apos;s list of installers could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apple offers no full installers to this Mac right now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deferred by your organisation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Mac&apos;s management holds this version back for now.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In Applications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is in Applications; a download replaces it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select macOS Installer Package</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select an InstallAssistant.pkg file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InstallerDetailView</name>
    <message>
        <source>Click to copy icon to clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installer icon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create ISO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Create Bootable USB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Verify after writing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Read the USB drive or ISO back once it is written and compare it with the installer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>macOS Version: %1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installer Version: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installer Size: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LinearProgressBar</name>
    <message>
        <source>Progress</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NoInstallerSelectedView</name>
    <message>
        <source>No Installer Selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a macOS installer from the sidebar or add a new one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Application Installer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add InstallAssistant.pkg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download from Apple…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select macOS Installer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select a macOS Installer application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid Installer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selected application doesn&apos;t appear to be a valid macOS installer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select macOS Installer Package</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please select an InstallAssistant.pkg file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installer packages</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressSpinner</name>
    <message>
        <source>In progress</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressWindow</name>
    <message>
        <source>Scanning</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StepRowView</name>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>In progress</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TerminalOutputView</name>
    <message>
        <source>Command output</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TerminalWindow</name>
    <message>
        <source>Administrator password</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
