<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Accessibility</name>
    <message>
        <source>%1%</source>
        <extracomment>A progress bar&apos;s value as read out; %1 is the whole percentage.</extracomment>
        <translation>%1&#xa0;%</translation>
    </message>
</context>
<context>
    <name>AlertButton</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>AppState</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Another job is running: wait for it to end or cancel it</source>
        <translation>Ein anderer Vorgang läuft: Warten Sie, bis er endet, oder brechen Sie ihn ab</translation>
    </message>
    <message>
        <source>%1 is being erased and written. If you stop now, it is left incomplete until you erase it or make it again.</source>
        <extracomment>%1 is the name of the volume the job erases.</extracomment>
        <translation>„%1“ wird gerade gelöscht und beschrieben. Wenn Sie jetzt stoppen, bleibt es unvollständig, bis Sie es löschen oder erneut erstellen.</translation>
    </message>
    <message>
        <source>Cancel Operation</source>
        <translation>Vorgang abbrechen</translation>
    </message>
    <message>
        <source>Stop</source>
        <extracomment>The button that stops the job after all.</extracomment>
        <translation>Stoppen</translation>
    </message>
    <message>
        <source>Continue</source>
        <extracomment>The button that lets the job go on.</extracomment>
        <translation>Fortfahren</translation>
    </message>
    <message>
        <source>Cancelled. Nothing was erased.</source>
        <translation>Abgebrochen. Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>The bootable USB is ready. It was verified.</source>
        <translation>Der bootfähige USB-Stick ist bereit. Er wurde überprüft.</translation>
    </message>
    <message>
        <source>The bootable USB is ready.</source>
        <translation>Der bootfähige USB-Stick ist bereit.</translation>
    </message>
    <message>
        <source>The ISO is ready. It was verified.</source>
        <translation>Die ISO-Datei ist bereit. Sie wurde überprüft.</translation>
    </message>
    <message>
        <source>The ISO is ready.</source>
        <translation>Die ISO-Datei ist bereit.</translation>
    </message>
    <message>
        <source>The installer is in Applications.</source>
        <translation>Das Installationsprogramm befindet sich im Ordner „Programme“.</translation>
    </message>
    <message>
        <source>The media matches the installer.</source>
        <translation>Das Medium stimmt mit dem Installationsprogramm überein.</translation>
    </message>
    <message>
        <source>The package is installed.</source>
        <translation>Das Paket ist installiert.</translation>
    </message>
    <message>
        <source>The bootable USB was not made.</source>
        <translation>Der bootfähige USB-Stick wurde nicht erstellt.</translation>
    </message>
    <message>
        <source>The ISO was not made.</source>
        <translation>Die ISO-Datei wurde nicht erstellt.</translation>
    </message>
    <message>
        <source>The installer was not downloaded.</source>
        <translation>Das Installationsprogramm wurde nicht heruntergeladen.</translation>
    </message>
    <message>
        <source>The media was not verified.</source>
        <translation>Das Medium wurde nicht überprüft.</translation>
    </message>
    <message>
        <source>The package was not installed.</source>
        <translation>Das Paket wurde nicht installiert.</translation>
    </message>
    <message>
        <source>The bootable USB was not made. %1</source>
        <extracomment>%1 is why the job failed.</extracomment>
        <translation>Der bootfähige USB-Stick wurde nicht erstellt. %1</translation>
    </message>
    <message>
        <source>The ISO was not made. %1</source>
        <extracomment>%1 is why the job failed.</extracomment>
        <translation>Die ISO-Datei wurde nicht erstellt. %1</translation>
    </message>
    <message>
        <source>The installer was not downloaded. %1</source>
        <extracomment>%1 is why the job failed.</extracomment>
        <translation>Das Installationsprogramm wurde nicht heruntergeladen. %1</translation>
    </message>
    <message>
        <source>The media was not verified. %1</source>
        <extracomment>%1 is why the check failed.</extracomment>
        <translation>Das Medium wurde nicht überprüft. %1</translation>
    </message>
    <message>
        <source>The package was not installed. %1</source>
        <extracomment>%1 is why the job failed.</extracomment>
        <translation>Das Paket wurde nicht installiert. %1</translation>
    </message>
    <message>
        <source>Quit and stop checking the media?</source>
        <translation>Beenden und die Überprüfung des Mediums stoppen?</translation>
    </message>
    <message>
        <source>Quit and stop making the bootable USB?</source>
        <translation>Beenden und die Erstellung des bootfähigen USB-Sticks stoppen?</translation>
    </message>
    <message>
        <source>Quit and stop making the ISO?</source>
        <translation>Beenden und die Erstellung der ISO-Datei stoppen?</translation>
    </message>
    <message>
        <source>Quit and stop downloading the installer?</source>
        <translation>Beenden und den Download des Installationsprogramms stoppen?</translation>
    </message>
    <message>
        <source>Quit and stop installing the package?</source>
        <translation>Beenden und die Installation des Pakets stoppen?</translation>
    </message>
    <message>
        <source>The media stays as it was written, but unchecked.</source>
        <translation>Das Medium bleibt so, wie es geschrieben wurde, aber ungeprüft.</translation>
    </message>
    <message>
        <source>The drive being written is left erased and incomplete.</source>
        <translation>Der Datenträger, der gerade beschrieben wird, bleibt gelöscht und unvollständig.</translation>
    </message>
    <message>
        <source>The partial disk image is removed.</source>
        <translation>Das unvollständige Disk-Image wird entfernt.</translation>
    </message>
    <message>
        <source>What was downloaded so far is removed.</source>
        <translation>Bereits heruntergeladene Daten werden entfernt.</translation>
    </message>
    <message>
        <source>Nothing has been erased yet.</source>
        <translation>Es wurde noch nichts gelöscht.</translation>
    </message>
    <message>
        <source>Quit</source>
        <extracomment>The button that quits the application, stopping the job.</extracomment>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Keep Going</source>
        <extracomment>The button that keeps the application and its job running.</extracomment>
        <translation>Weitermachen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>No installer selected</source>
        <translation>Kein Installationsprogramm ausgewählt</translation>
    </message>
    <message>
        <source>File Already Exists</source>
        <translation>Datei bereits vorhanden</translation>
    </message>
    <message>
        <source>A DMG or ISO file with the name &apos;%1&apos; already exists on your desktop. Do you want to replace it?</source>
        <extracomment>%1 is the file&apos;s name without its extension.</extracomment>
        <translation>Auf Ihrem Schreibtisch ist bereits eine DMG- oder ISO-Datei mit dem Namen „%1“ vorhanden. Möchten Sie sie ersetzen?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Disk Error</source>
        <translation>Datenträgerfehler</translation>
    </message>
    <message>
        <source>Failed to get disk list: %1</source>
        <extracomment>%1 is why diskutil gave no list.</extracomment>
        <translation>Die Liste der Datenträger konnte nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>Eject Error</source>
        <translation>Fehler beim Auswerfen</translation>
    </message>
    <message>
        <source>Failed to eject disk: %1</source>
        <extracomment>%1 is what diskutil said.</extracomment>
        <translation>Der Datenträger konnte nicht ausgeworfen werden: %1</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Abgebrochen.</translation>
    </message>
    <message>
        <source>
The incomplete installer it left in Applications was removed.</source>
        <translation>
Das unvollständige Installationsprogramm, das im Ordner „Programme“ zurückblieb, wurde entfernt.</translation>
    </message>
    <message>
        <source>
The installer that was in Applications was being replaced and may be incomplete: download it again before using it.</source>
        <translation>
Das Installationsprogramm im Ordner „Programme“ wurde gerade ersetzt und ist möglicherweise unvollständig: Laden Sie es erneut herunter, bevor Sie es verwenden.</translation>
    </message>
    <message>
        <source>Download Error</source>
        <translation>Downloadfehler</translation>
    </message>
    <message>
        <source>%1 is deferred by your organisation: this Mac may not download it yet.</source>
        <extracomment>%1 is the installer&apos;s title and version (&quot;macOS Sequoia 15.3&quot;).</extracomment>
        <translation>%1 wird von Ihrer Organisation zurückgestellt: Dieser Mac darf es noch nicht herunterladen.</translation>
    </message>
    <message>
        <source>Not Enough Space</source>
        <translation>Nicht genügend Speicherplatz</translation>
    </message>
    <message>
        <source>Asking Apple for %1...</source>
        <extracomment>%1 is the installer&apos;s title and version (&quot;macOS Sequoia 15.3&quot;).</extracomment>
        <translation>%1 wird bei Apple angefragt...</translation>
    </message>
    <message>
        <source>Downloading %1: %2%</source>
        <extracomment>%1 is the installer&apos;s title and version, %2 the percentage downloaded.</extracomment>
        <translation>%1 wird geladen: %2&#xa0;%</translation>
    </message>
    <message>
        <source>Adding the installer to the library...</source>
        <translation>Installationsprogramm wird zur Bibliothek hinzugefügt...</translation>
    </message>
    <message>
        <source>The downloaded installer at %1 cannot be read</source>
        <translation>Das geladene Installationsprogramm unter %1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Examining %1</source>
        <extracomment>%1 is the name of an item in the Applications folder.</extracomment>
        <translation>%1 wird untersucht</translation>
    </message>
    <message>
        <source>Examining Applications folder...</source>
        <translation>Ordner „Programme“ wird untersucht...</translation>
    </message>
    <message>
        <source>Found installer: %1</source>
        <extracomment>%1 is the installer&apos;s name.</extracomment>
        <translation>Installationsprogramm gefunden: %1</translation>
    </message>
    <message>
        <source>Failed to scan Applications folder: %1</source>
        <extracomment>%1 is why the folder could not be listed.</extracomment>
        <translation>Der Ordner „Programme“ konnte nicht durchsucht werden: %1</translation>
    </message>
    <message>
        <source>Scan completed</source>
        <translation>Suche abgeschlossen</translation>
    </message>
    <message>
        <source>Found %1 macOS installers</source>
        <extracomment>%1 is how many installers were found.</extracomment>
        <translation>%1 macOS-Installationsprogramme gefunden</translation>
    </message>
    <message>
        <source>Invalid Installer</source>
        <translation>Ungültiges Installationsprogramm</translation>
    </message>
    <message>
        <source>The selected application doesn&apos;t appear to be a valid macOS installer.</source>
        <translation>Das ausgewählte Programm scheint kein gültiges macOS-Installationsprogramm zu sein.</translation>
    </message>
    <message>
        <source>Locating installed macOS Installer...</source>
        <translation>Installiertes macOS-Installationsprogramm wird gesucht...</translation>
    </message>
    <message>
        <source>Searching Applications folder...</source>
        <translation>Ordner „Programme“ wird durchsucht...</translation>
    </message>
    <message>
        <source>Found new installer: %1</source>
        <extracomment>%1 is the installer&apos;s name.</extracomment>
        <translation>Neues Installationsprogramm gefunden: %1</translation>
    </message>
    <message>
        <source>Failed to locate installed application: %1</source>
        <extracomment>%1 is why the folder could not be listed.</extracomment>
        <translation>Das installierte Programm wurde nicht gefunden: %1</translation>
    </message>
    <message>
        <source>The macOS Installer package was installed, but no new installer application was detected</source>
        <translation>Das Paket mit dem macOS-Installationsprogramm wurde installiert, aber es wurde kein neues Installationsprogramm gefunden</translation>
    </message>
    <message>
        <source>Found %1 new macOS installer(s)</source>
        <extracomment>%1 is how many new installers were found.</extracomment>
        <translation>%1 neue(s) macOS-Installationsprogramm(e) gefunden</translation>
    </message>
    <message>
        <source>the installer is no longer at %1</source>
        <extracomment>Why an installer&apos;s signature could not be checked; %1 is where it was.</extracomment>
        <translation>das Installationsprogramm befindet sich nicht mehr unter %1</translation>
    </message>
    <message>
        <source>&apos;%1&apos; at %2 is not signed by Apple, so it will not be run with administrator rights.

codesign: %3</source>
        <extracomment>%1 is the installer&apos;s name, %2 its path, %3 what codesign said of it.</extracomment>
        <translation>„%1“ unter %2 ist nicht von Apple signiert und wird daher nicht mit Administratorrechten ausgeführt.

codesign: %3</translation>
    </message>
    <message>
        <source>Installer Not Signed by Apple</source>
        <translation>Installationsprogramm nicht von Apple signiert</translation>
    </message>
    <message>
        <source>Verifying the installer&apos;s signature...</source>
        <translation>Signatur des Installationsprogramms wird überprüft...</translation>
    </message>
    <message>
        <source>Create it again.</source>
        <translation>Erstellen Sie die ISO-Datei erneut.</translation>
    </message>
    <message>
        <source>The ISO was removed. Create it again.</source>
        <translation>Die ISO-Datei wurde entfernt. Erstellen Sie sie erneut.</translation>
    </message>
    <message>
        <source>Create it again, or use another USB drive.</source>
        <translation>Erstellen Sie ihn erneut oder verwenden Sie einen anderen USB-Stick.</translation>
    </message>
    <message>
        <source>The USB drive does not match the installer, so it should not be used:
%1
%2</source>
        <extracomment>%1 is what differs, one line each; %2 what to do now.</extracomment>
        <translation>Der USB-Stick stimmt nicht mit dem Installationsprogramm überein und sollte nicht verwendet werden:
%1
%2</translation>
    </message>
    <message>
        <source>The ISO does not match the installer, so it should not be used:
%1
%2</source>
        <extracomment>%1 is what differs, one line each; %2 what to do now.</extracomment>
        <translation>Die ISO-Datei stimmt nicht mit dem Installationsprogramm überein und sollte nicht verwendet werden:
%1
%2</translation>
    </message>
    <message>
        <source>The USB drive could not be checked, so it may not be usable: %1</source>
        <extracomment>%1 is why the media could not be read.</extracomment>
        <translation>Der USB-Stick konnte nicht überprüft werden und ist möglicherweise nicht verwendbar: %1</translation>
    </message>
    <message>
        <source>The ISO could not be checked, so it may not be usable: %1</source>
        <extracomment>%1 is why the media could not be read.</extracomment>
        <translation>Die ISO-Datei konnte nicht überprüft werden und ist möglicherweise nicht verwendbar: %1</translation>
    </message>
    <message>
        <source>Cancelled during the check. The USB drive was written but not checked.%1</source>
        <extracomment>%1 is empty, or a line break and what the check could not finish.</extracomment>
        <translation>Während der Überprüfung abgebrochen. Der USB-Stick wurde geschrieben, aber nicht überprüft.%1</translation>
    </message>
    <message>
        <source>Cancelled during the check. The ISO was written but not checked.%1</source>
        <extracomment>%1 is empty, or a line break and what the check could not finish.</extracomment>
        <translation>Während der Überprüfung abgebrochen. Die ISO-Datei wurde geschrieben, aber nicht überprüft.%1</translation>
    </message>
    <message>
        <source>Verifying</source>
        <extracomment>The title of the step that checks the media written, in a narrow list.</extracomment>
        <translation>Überprüfen</translation>
    </message>
    <message>
        <source>Comparing the USB drive with the installer</source>
        <translation>USB-Stick wird mit dem Installationsprogramm verglichen</translation>
    </message>
    <message>
        <source>Comparing the ISO with the installer</source>
        <translation>ISO-Datei wird mit dem Installationsprogramm verglichen</translation>
    </message>
    <message>
        <source>Verified</source>
        <extracomment>The result of checking media on its own: it matched.</extracomment>
        <translation>Überprüft</translation>
    </message>
    <message>
        <source>
Comparing the USB drive with the installer...
</source>
        <translation>
USB-Stick wird mit dem Installationsprogramm verglichen...
</translation>
    </message>
    <message>
        <source>
Comparing the ISO with the installer...
</source>
        <translation>
ISO-Datei wird mit dem Installationsprogramm verglichen...
</translation>
    </message>
    <message>
        <source>%1 of %2 read</source>
        <extracomment>%1 and %2 are sizes (&quot;1.2 GB of 24.5 GB read&quot;).</extracomment>
        <translation>%1 von %2 gelesen</translation>
    </message>
    <message>
        <source>Verified: the USB drive holds an exact copy of the installer.</source>
        <translation>Überprüft: Der USB-Stick enthält eine exakte Kopie des Installationsprogramms.</translation>
    </message>
    <message>
        <source>Verified: the ISO holds an exact copy of the installer.</source>
        <translation>Überprüft: Die ISO-Datei enthält eine exakte Kopie des Installationsprogramms.</translation>
    </message>
    <message>
        <source>%1 needs %2, but the startup disk has %3 free: free %4 more and try again.</source>
        <extracomment>%1 is the installer&apos;s title and version, %2-%4 sizes (&quot;12.4 GB&quot;).</extracomment>
        <translation>%1 benötigt %2, auf dem Startvolume sind aber nur %3 frei: Geben Sie weitere %4 frei und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Failed to prepare package installation: %1</source>
        <extracomment>%1 is why the package could not be prepared.</extracomment>
        <translation>Die Paketinstallation konnte nicht vorbereitet werden: %1</translation>
    </message>
    <message>
        <source>Install Package</source>
        <translation>Paket installieren</translation>
    </message>
    <message>
        <source>How would you like to install this macOS installer package?</source>
        <translation>Wie möchten Sie dieses Paket mit dem macOS-Installationsprogramm installieren?</translation>
    </message>
    <message>
        <source>Install Automatically</source>
        <translation>Automatisch installieren</translation>
    </message>
    <message>
        <source>Open in Installer</source>
        <extracomment>A button: opens the package in the system&apos;s Installer application.</extracomment>
        <translation>Im Installationsprogramm öffnen</translation>
    </message>
    <message>
        <source>Preparing package installation...</source>
        <translation>Paketinstallation wird vorbereitet...</translation>
    </message>
    <message>
        <source>Package file not found at: %1</source>
        <translation>Paketdatei nicht gefunden unter: %1</translation>
    </message>
    <message>
        <source>Creating temporary directory...</source>
        <translation>Temporärer Ordner wird erstellt...</translation>
    </message>
    <message>
        <source>The temporary folder could not be created: %1</source>
        <translation>Der temporäre Ordner konnte nicht erstellt werden: %1</translation>
    </message>
    <message>
        <source>Temporary directory created</source>
        <translation>Temporärer Ordner erstellt</translation>
    </message>
    <message>
        <source>Copying installer package...</source>
        <translation>Installationspaket wird kopiert...</translation>
    </message>
    <message>
        <source>Package copied successfully</source>
        <translation>Paket erfolgreich kopiert</translation>
    </message>
    <message>
        <source>Installing macOS Installer package...</source>
        <translation>Paket mit dem macOS-Installationsprogramm wird installiert...</translation>
    </message>
    <message>
        <source>Cancelled. If the installer app was begun in Applications, it is incomplete: delete it.</source>
        <translation>Abgebrochen. Falls das Installationsprogramm im Ordner „Programme“ bereits angelegt wurde, ist es unvollständig: Löschen Sie es.</translation>
    </message>
    <message>
        <source>Installation Error</source>
        <translation>Installationsfehler</translation>
    </message>
    <message>
        <source>Failed to install automatically. Would you like to try the manual installation method instead?</source>
        <translation>Die automatische Installation ist fehlgeschlagen. Möchten Sie stattdessen die manuelle Installation versuchen?</translation>
    </message>
    <message>
        <source>Installation completed</source>
        <translation>Installation abgeschlossen</translation>
    </message>
    <message>
        <source>Cleaning up...</source>
        <translation>Aufräumen...</translation>
    </message>
    <message>
        <source>Cleanup completed</source>
        <translation>Aufräumen abgeschlossen</translation>
    </message>
    <message>
        <source>Installing Package</source>
        <translation>Paket wird installiert</translation>
    </message>
    <message>
        <source>The installer has been opened. After installation completes, click &apos;Scan for Installers&apos; to detect the new macOS installer.</source>
        <extracomment>&apos;Scan for Installers&apos; is the button of the window that scans.</extracomment>
        <translation>Das Installationsprogramm wurde geöffnet. Klicken Sie nach Abschluss der Installation auf „Nach Installationsprogrammen suchen“, um das neue macOS-Installationsprogramm zu finden.</translation>
    </message>
    <message>
        <source>Failed to open the installer package: %1</source>
        <extracomment>%1 is why the system could not open it.</extracomment>
        <translation>Das Installationspaket konnte nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>holds the selected installer</source>
        <extracomment>Why a volume cannot be chosen as the target; shown after its name or device.</extracomment>
        <translation>enthält das ausgewählte Installationsprogramm</translation>
    </message>
    <message>
        <source>No target disk selected</source>
        <translation>Kein Zieldatenträger ausgewählt</translation>
    </message>
    <message>
        <source>Cannot Use This Volume</source>
        <translation>Volume nicht verwendbar</translation>
    </message>
    <message>
        <source>&apos;%1&apos; holds the installer &apos;%2&apos;. Choose another volume, or copy the installer to Applications first.</source>
        <extracomment>%1 is the volume&apos;s name, %2 the installer&apos;s.</extracomment>
        <translation>„%1“ enthält das Installationsprogramm „%2“. Wählen Sie ein anderes Volume oder kopieren Sie das Installationsprogramm zuerst in den Ordner „Programme“.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>This will erase all data on &apos;%1&apos; (%2). Are you sure you want to continue?</source>
        <extracomment>%1 is the volume&apos;s name, %2 its device (&quot;disk4s2&quot;).</extracomment>
        <translation>Dadurch werden alle Daten auf „%1“ (%2) gelöscht. Möchten Sie wirklich fortfahren?</translation>
    </message>
    <message>
        <source>

&apos;%1&apos; is unusually large for an installer (%2): make sure it is the drive you mean to erase.</source>
        <extracomment>A second paragraph of the question; %1 is the volume&apos;s name, %2 its size (&quot;256 GB&quot;).</extracomment>
        <translation>

„%1“ ist für ein Installationsprogramm ungewöhnlich groß (%2): Vergewissern Sie sich, dass Sie diesen Datenträger löschen möchten.</translation>
    </message>
    <message>
        <source>Erase and Create</source>
        <translation>Löschen und erstellen</translation>
    </message>
    <message>
        <source>Preparing to create bootable USB with Terminal...
</source>
        <translation>Erstellung des bootfähigen USB-Sticks mit Terminal wird vorbereitet...
</translation>
    </message>
    <message>
        <source>System Integrity Protection (SIP) is fully enabled on this Mac.
</source>
        <translation>Der Systemintegritätsschutz (SIP) ist auf diesem Mac vollständig aktiviert.
</translation>
    </message>
    <message>
        <source>Using terminal approach for bootable USB creation for %1.

</source>
        <extracomment>%1 is the macOS name (&quot;macOS Sequoia&quot;).</extracomment>
        <translation>Der bootfähige USB-Stick für %1 wird mit Terminal erstellt.

</translation>
    </message>
    <message>
        <source>Command: %1

</source>
        <extracomment>%1 is the command line run through sudo, as it would be typed.</extracomment>
        <translation>Befehl: %1

</translation>
    </message>
    <message>
        <source>Please enter your administrator password when prompted.
</source>
        <translation>Geben Sie Ihr Administratorpasswort ein, wenn Sie dazu aufgefordert werden.
</translation>
    </message>
    <message>
        <source>Starting USB creation process...</source>
        <translation>Erstellung des USB-Sticks wird gestartet...</translation>
    </message>
    <message>
        <source>
Executing command. This may take several minutes...
</source>
        <translation>
Befehl wird ausgeführt. Dies kann einige Minuten dauern...
</translation>
    </message>
    <message>
        <source>No target disk selected. Nothing was erased.</source>
        <translation>Kein Zieldatenträger ausgewählt. Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>
Password incorrect. Please try again.
</source>
        <translation>
Falsches Passwort. Bitte versuchen Sie es erneut.
</translation>
    </message>
    <message>
        <source>The command ended with status %1</source>
        <extracomment>%1 is the command&apos;s exit status, a number.</extracomment>
        <translation>Der Befehl wurde mit Status %1 beendet</translation>
    </message>
    <message>
        <source>Process exited with code %1</source>
        <extracomment>%1 is the command&apos;s exit status, a number.</extracomment>
        <translation>Prozess mit Code %1 beendet</translation>
    </message>
    <message>
        <source>
Checking the new installer volume...
</source>
        <translation>
Neues Installationsvolume wird überprüft...
</translation>
    </message>
    <message>
        <source>USB creation completed successfully</source>
        <translation>USB-Stick erfolgreich erstellt</translation>
    </message>
</context>
<context>
    <name>AppleScriptHelper</name>
    <message>
        <source>Timeout while waiting for admin privileges. Please try again.</source>
        <translation>Zeitüberschreitung beim Warten auf Administratorrechte. Bitte versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Operation timed out after 3 hours. Terminating process.</source>
        <translation>Zeitüberschreitung nach 3 Stunden. Der Prozess wird beendet.</translation>
    </message>
    <message>
        <source>Failed to launch command: %1</source>
        <extracomment>%1 is the system&apos;s reason</extracomment>
        <translation>Befehl konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>Admin privileges required but not granted</source>
        <translation>Administratorrechte erforderlich, aber nicht erteilt</translation>
    </message>
    <message>
        <source>Failed to run command: %1</source>
        <extracomment>%1 is the system&apos;s reason</extracomment>
        <translation>Befehl konnte nicht ausgeführt werden: %1</translation>
    </message>
    <message>
        <source>Admin authorization denied: %1</source>
        <extracomment>%1 is what the system said when the administrator prompt was refused</extracomment>
        <translation>Administratorberechtigung verweigert: %1</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>AppleScript Error %1: %2</source>
        <extracomment>%1 is the script engine&apos;s error number, %2 its message</extracomment>
        <translation>AppleScript-Fehler %1: %2</translation>
    </message>
    <message>
        <source>Operation timed out after 5 minutes</source>
        <translation>Zeitüberschreitung nach 5 Minuten</translation>
    </message>
    <message>
        <source>Operation timed out after 30 minutes</source>
        <translation>Zeitüberschreitung nach 30 Minuten</translation>
    </message>
</context>
<context>
    <name>ChildProcess</name>
    <message>
        <source>Cancelled</source>
        <extracomment>Why a tool was not started: the job it belongs to was stopped</extracomment>
        <translation>Abgebrochen</translation>
    </message>
</context>
<context>
    <name>CircularProgressView</name>
    <message>
        <source>Step progress</source>
        <translation>Fortschritt des Schritts</translation>
    </message>
</context>
<context>
    <name>CliRun</name>
    <message>
        <source>this Mac&apos;s softwareupdate cannot list the installers Apple offers (that takes macOS 11 or later); download an InstallAssistant package and use install-package</source>
        <translation>softwareupdate auf diesem Mac kann die Installationsprogramme, die Apple anbietet, nicht auflisten (dafür ist macOS 11 oder neuer nötig); laden Sie ein InstallAssistant-Paket und verwenden Sie install-package</translation>
    </message>
    <message>
        <source>Apple&apos;s list of installers could not be read: %1</source>
        <translation>Apples Liste der Installationsprogramme konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>no installer &quot;%1&quot;. Installers found:
%2</source>
        <translation>Kein Installationsprogramm „%1“. Gefundene Installationsprogramme:
%2</translation>
    </message>
    <message>
        <source>  (none)</source>
        <translation>  (keine)</translation>
    </message>
    <message>
        <source>no volume &quot;%1&quot;. Volumes that can be used:
%2</source>
        <translation>Kein Volume „%1“. Verwendbare Volumes:
%2</translation>
    </message>
    <message>
        <source>pass --yes to erase without asking</source>
        <translation>Geben Sie --yes an, um ohne Rückfrage zu löschen</translation>
    </message>
    <message>
        <source>Erase &quot;%1&quot; (%2)? All data on it will be lost. [y/N] </source>
        <translation>„%1“ (%2) löschen? Alle Daten darauf gehen verloren. [j/N] </translation>
    </message>
    <message>
        <source>y</source>
        <extracomment>The letter that answers yes to the erase question; keep it to one letter, as in [y/N].</extracomment>
        <translation>j</translation>
    </message>
    <message>
        <source>nothing was erased</source>
        <translation>Es wurde nichts gelöscht</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>VERSION</source>
        <translation>VERSION</translation>
    </message>
    <message>
        <source>BUILD</source>
        <translation>BUILD</translation>
    </message>
    <message>
        <source>SIZE</source>
        <translation>GRÖSSE</translation>
    </message>
    <message>
        <source>PATH</source>
        <translation>PFAD</translation>
    </message>
    <message>
        <source>No installers found.
</source>
        <translation>Keine Installationsprogramme gefunden.
</translation>
    </message>
    <message>
        <source>DEVICE</source>
        <translation>GERÄT</translation>
    </message>
    <message>
        <source>FREE</source>
        <translation>FREI</translation>
    </message>
    <message>
        <source>MOUNT POINT</source>
        <translation>MOUNTPOINT</translation>
    </message>
    <message>
        <source>NOTE</source>
        <translation>HINWEIS</translation>
    </message>
    <message>
        <source>not offered: %1</source>
        <translation>nicht angeboten: %1</translation>
    </message>
    <message>
        <source>external disk (not a USB stick)</source>
        <translation>externer Datenträger (kein USB-Stick)</translation>
    </message>
    <message>
        <source>No removable volumes found.
</source>
        <translation>Keine Wechselmedien gefunden.
</translation>
    </message>
    <message>
        <source>&quot;%1&quot; %2</source>
        <extracomment>%1 is a volume&apos;s name, %2 why it cannot be used (e.g. &quot;is too small: ...&quot;).</extracomment>
        <translation>„%1“ %2</translation>
    </message>
    <message>
        <source>no folder &quot;%1&quot;</source>
        <translation>Kein Ordner „%1“</translation>
    </message>
    <message>
        <source>&quot;%1&quot; exists: pass --yes to replace it</source>
        <translation>„%1“ existiert bereits: Geben Sie --yes an, um die Datei zu ersetzen</translation>
    </message>
    <message>
        <source>the ISO could not be moved to &quot;%1&quot;; it is at &quot;%2&quot;</source>
        <translation>Die ISO-Datei konnte nicht nach „%1“ bewegt werden; sie liegt unter „%2“</translation>
    </message>
    <message>
        <source>no package &quot;%1&quot;</source>
        <translation>Kein Paket „%1“</translation>
    </message>
    <message>
        <source>Ejected %1.
</source>
        <translation>%1 wurde ausgeworfen.
</translation>
    </message>
    <message>
        <source>TITLE</source>
        <translation>TITEL</translation>
    </message>
    <message>
        <source>deferred by your organisation</source>
        <translation>von Ihrer Organisation zurückgestellt</translation>
    </message>
    <message>
        <source>in Applications</source>
        <translation>in „Programme“</translation>
    </message>
    <message>
        <source>Apple offers no full installers to this Mac.
</source>
        <translation>Apple bietet diesem Mac keine vollständigen Installationsprogramme an.
</translation>
    </message>
    <message>
        <source>%1 %2 is deferred by your organisation: this Mac may not download it yet</source>
        <translation>%1 %2 wurde von Ihrer Organisation zurückgestellt: Dieser Mac darf es noch nicht laden</translation>
    </message>
    <message>
        <source>Apple offers no installer of version &quot;%1&quot;. Versions offered:
%2</source>
        <translation>Apple bietet kein Installationsprogramm der Version „%1“ an. Angebotene Versionen:
%2</translation>
    </message>
    <message>
        <source>no image &quot;%1&quot;</source>
        <translation>Kein Image „%1“</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>An alert&apos;s title and its message.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>pass --yes to replace it</source>
        <translation>Geben Sie --yes an, um sie zu ersetzen</translation>
    </message>
    <message>
        <source>The administrator password was not accepted.</source>
        <translation>Das Administratorpasswort wurde nicht akzeptiert.</translation>
    </message>
    <message>
        <source>Nothing was erased.</source>
        <translation>Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>the administrator password was not accepted; nothing was erased</source>
        <translation>Das Administratorpasswort wurde nicht akzeptiert; es wurde nichts gelöscht</translation>
    </message>
    <message>
        <source>Administrator password: </source>
        <translation>Administratorpasswort: </translation>
    </message>
    <message>
        <source>an administrator password is needed: pass --password-stdin and give it on the first line of standard input</source>
        <translation>Ein Administratorpasswort wird benötigt: Geben Sie --password-stdin an und das Passwort in der ersten Zeile der Standardeingabe</translation>
    </message>
    <message>
        <source>still stopping the job; it ends within a few seconds</source>
        <translation>Der Auftrag wird noch beendet; das dauert nur wenige Sekunden</translation>
    </message>
    <message>
        <source>The job did not stop in time.</source>
        <translation>Der Auftrag wurde nicht rechtzeitig beendet.</translation>
    </message>
    <message>
        <source>Its tools are ended as tessaline-cli quits; check the volume or image before using it.</source>
        <translation>Seine Programme werden mit tessaline-cli beendet; prüfen Sie das Volume oder Image, bevor Sie es verwenden.</translation>
    </message>
</context>
<context>
    <name>CodeSignature</name>
    <message>
        <source>codesign exited with status %1</source>
        <translation>codesign wurde mit Status %1 beendet</translation>
    </message>
    <message>
        <source>signed with an expired certificate that is not Apple&apos;s (%1)</source>
        <extracomment>%1 lists the certificates&apos; names, or says that none were shown</extracomment>
        <translation>mit einem abgelaufenen Zertifikat signiert, das nicht von Apple stammt (%1)</translation>
    </message>
    <message>
        <source>no certificate chain shown</source>
        <translation>keine Zertifikatskette angezeigt</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>no command given</source>
        <translation>Kein Befehl angegeben</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>Unbekannter Befehl „%1“</translation>
    </message>
    <message>
        <source>%1 does not take %2</source>
        <extracomment>%1 is a command, %2 an option it does not take.</extracomment>
        <translation>%1 kennt die Option %2 nicht</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>Unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>%1 takes one volume</source>
        <translation>%1 erwartet ein Volume</translation>
    </message>
    <message>
        <source>%1 takes one package</source>
        <translation>%1 erwartet ein Paket</translation>
    </message>
    <message>
        <source>%1 needs --installer</source>
        <translation>%1 braucht --installer</translation>
    </message>
    <message>
        <source>%1 needs --volume</source>
        <translation>%1 braucht --volume</translation>
    </message>
    <message>
        <source>%1 needs --version</source>
        <translation>%1 braucht --version</translation>
    </message>
    <message>
        <source>verify needs either --volume or --image</source>
        <translation>verify braucht entweder --volume oder --image</translation>
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
        <translation>Aufruf: tessaline-cli BEFEHL [OPTIONEN]
  list-installers [--json]
  list-disks [--json]
  create-usb --installer I --volume V [--yes] [--password-stdin] [--no-verify] [--json]
  create-iso --installer I [--output PATH] [--yes] [--no-verify] [--json]
  verify --installer I (--volume V | --image ISO) [--json]
  install-package PKG [--json]
  eject V
  available-installers [--json]
  download-installer --version VERSION [--password-stdin] [--json]
I ist der Name eines Installationsprogramms, wie er aufgelistet wird, oder der Pfad seines Bundles; V ist der Name, Mountpoint oder die Gerätekennung eines Volumes; VERSION eine macOS-Version, wie available-installers sie auflistet. Was create-usb und create-iso schreiben, wird zurückgelesen und mit dem Installationsprogramm verglichen, außer --no-verify wird angegeben.
</translation>
    </message>
    <message>
        <source>this is not a Mac: set TESSALINE_HOST_ROOT to a stand-in Mac, made with &quot;tessaline-standin make-world FOLDER&quot;</source>
        <translation>Dies ist kein Mac: Setzen Sie TESSALINE_HOST_ROOT auf einen Ersatz-Mac, erstellt mit „tessaline-standin make-world ORDNER“</translation>
    </message>
</context>
<context>
    <name>CompletionView</name>
    <message>
        <source>Close</source>
        <extracomment>Puts away the result of an operation.</extracomment>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Succeeded</source>
        <translation>Erfolgreich</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Operation Complete</source>
        <translation>Vorgang abgeschlossen</translation>
    </message>
    <message>
        <source>Operation Cancelled</source>
        <translation>Vorgang abgebrochen</translation>
    </message>
    <message>
        <source>Operation Failed</source>
        <translation>Vorgang fehlgeschlagen</translation>
    </message>
    <message>
        <source>Took %1.</source>
        <extracomment>How long the operation ran; %1 is the time, such as &quot;4 min 12 s&quot;.</extracomment>
        <translation>Dauer: %1.</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Toolbar</source>
        <translation>Symbolleiste</translation>
    </message>
    <message>
        <source>Show or Hide the Sidebar</source>
        <translation>Seitenleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Scan</source>
        <extracomment>A toolbar button; scans for installers.</extracomment>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Scan for Installers (%1)</source>
        <extracomment>%1 is the keyboard shortcut.</extracomment>
        <translation>Nach Installationsprogrammen suchen (%1)</translation>
    </message>
    <message>
        <source>Refresh</source>
        <extracomment>A toolbar button; lists the disks again.</extracomment>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>Refresh Disk List (%1)</source>
        <extracomment>%1 is the keyboard shortcut.</extracomment>
        <translation>Liste der Datenträger aktualisieren (%1)</translation>
    </message>
    <message>
        <source>Add</source>
        <extracomment>A toolbar button; adds an installer chosen in a file dialog.</extracomment>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Add macOS Installer</source>
        <translation>macOS-Installationsprogramm hinzufügen</translation>
    </message>
    <message>
        <source>Info</source>
        <extracomment>A toolbar button; opens the maker&apos;s page about the program.</extracomment>
        <translation>Info</translation>
    </message>
    <message>
        <source>About Tessaline</source>
        <translation>Über Tessaline</translation>
    </message>
    <message>
        <source>Donate</source>
        <extracomment>A toolbar button; opens the page for donations.</extracomment>
        <translation>Spenden</translation>
    </message>
    <message>
        <source>Support Development</source>
        <translation>Entwicklung unterstützen</translation>
    </message>
</context>
<context>
    <name>DMGCreator</name>
    <message>
        <source>Starting DMG creation...</source>
        <translation>DMG-Erstellung wird gestartet...</translation>
    </message>
    <message>
        <source>No desktop folder to save the ISO to</source>
        <translation>Kein Schreibtischordner zum Sichern der ISO-Datei</translation>
    </message>
    <message>
        <source>Removed existing DMG file</source>
        <translation>Vorhandene DMG-Datei entfernt</translation>
    </message>
    <message>
        <source>Warning: Could not delete existing DMG file - %1</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>Warnung: Vorhandene DMG-Datei konnte nicht gelöscht werden - %1</translation>
    </message>
    <message>
        <source>Removed existing ISO file</source>
        <translation>Vorhandene ISO-Datei entfernt</translation>
    </message>
    <message>
        <source>Warning: Could not delete existing ISO file - %1</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>Warnung: Vorhandene ISO-Datei konnte nicht gelöscht werden - %1</translation>
    </message>
    <message>
        <source>Cancelled. The partial disk image was removed.</source>
        <translation>Abgebrochen. Das unvollständige Disk-Image wurde entfernt.</translation>
    </message>
    <message>
        <source>Cancelled. %1.</source>
        <extracomment>%1 says which image files are left, where and why.</extracomment>
        <translation>Abgebrochen. %1.</translation>
    </message>
    <message>
        <source>Creating DMG file...</source>
        <translation>DMG-Datei wird erstellt...</translation>
    </message>
    <message>
        <source>Allocating space for DMG file (%1)</source>
        <extracomment>%1 is a size (&quot;14.2 GB&quot;).</extracomment>
        <translation>Speicherplatz für DMG-Datei wird reserviert (%1)</translation>
    </message>
    <message>
        <source>DMG file created successfully</source>
        <translation>DMG-Datei erfolgreich erstellt</translation>
    </message>
    <message>
        <source>Preparing to make DMG bootable</source>
        <translation>DMG wird zum Bootfähigmachen vorbereitet</translation>
    </message>
    <message>
        <source>DMG is now bootable</source>
        <translation>DMG ist jetzt bootfähig</translation>
    </message>
    <message>
        <source>Preparing to convert DMG to ISO</source>
        <translation>Umwandlung von DMG in ISO wird vorbereitet</translation>
    </message>
    <message>
        <source>Converted to ISO successfully</source>
        <translation>Erfolgreich in ISO umgewandelt</translation>
    </message>
    <message>
        <source>Cleaning up temporary files</source>
        <translation>Temporäre Dateien werden entfernt</translation>
    </message>
    <message>
        <source>Cleanup completed</source>
        <translation>Aufräumen abgeschlossen</translation>
    </message>
    <message>
        <source>ISO creation complete!</source>
        <translation>ISO-Datei erstellt!</translation>
    </message>
    <message>
        <source>the disk image&apos;s volume could not be looked up: %1</source>
        <extracomment>%1 is why diskutil could not say.</extracomment>
        <translation>das Volume des Disk-Images konnte nicht abgefragt werden: %1</translation>
    </message>
    <message>
        <source>createinstallmedia reported success, but the disk image holds no installer</source>
        <translation>createinstallmedia meldete Erfolg, aber das Disk-Image enthält kein Installationsprogramm</translation>
    </message>
    <message>
        <source>Creating temporary folder</source>
        <translation>Temporärer Ordner wird erstellt</translation>
    </message>
    <message>
        <source>Creating source files</source>
        <translation>Quelldateien werden erstellt</translation>
    </message>
    <message>
        <source>Creating DMG file (%1 MB)</source>
        <extracomment>%1 is the image&apos;s size in megabytes.</extracomment>
        <translation>DMG-Datei wird erstellt (%1 MB)</translation>
    </message>
    <message>
        <source>Creating DMG: %1</source>
        <extracomment>%1 is what hdiutil printed.</extracomment>
        <translation>DMG wird erstellt: %1</translation>
    </message>
    <message>
        <source>Creating DMG file - please wait...</source>
        <translation>DMG-Datei wird erstellt - bitte warten...</translation>
    </message>
    <message>
        <source>Failed to create DMG: %1</source>
        <extracomment>%1 is what hdiutil said.</extracomment>
        <translation>DMG konnte nicht erstellt werden: %1</translation>
    </message>
    <message>
        <source>DMG file created at %1</source>
        <translation>DMG-Datei erstellt unter %1</translation>
    </message>
    <message>
        <source>Mounting DMG file</source>
        <translation>DMG-Datei wird aktiviert</translation>
    </message>
    <message>
        <source>Failed to mount DMG: %1</source>
        <extracomment>%1 is what hdiutil said.</extracomment>
        <translation>DMG konnte nicht aktiviert werden: %1</translation>
    </message>
    <message>
        <source>DMG mounted but volume not found at %1</source>
        <translation>DMG aktiviert, aber kein Volume unter %1 gefunden</translation>
    </message>
    <message>
        <source>DMG mounted successfully at %1</source>
        <translation>DMG erfolgreich aktiviert unter %1</translation>
    </message>
    <message>
        <source>Copying the installer files to the DMG</source>
        <translation>Dateien des Installationsprogramms werden in das DMG kopiert</translation>
    </message>
    <message>
        <source>Failed to make DMG bootable: %1</source>
        <extracomment>%1 is why, often in createinstallmedia&apos;s words.</extracomment>
        <translation>DMG konnte nicht bootfähig gemacht werden: %1</translation>
    </message>
    <message>
        <source>Successfully made DMG bootable</source>
        <translation>DMG erfolgreich bootfähig gemacht</translation>
    </message>
    <message>
        <source>Unmounted DMG</source>
        <translation>DMG deaktiviert</translation>
    </message>
    <message>
        <source>Failed to unmount DMG: %1</source>
        <extracomment>%1 is what hdiutil said.</extracomment>
        <translation>DMG konnte nicht deaktiviert werden: %1</translation>
    </message>
    <message>
        <source>Converting DMG to ISO format</source>
        <translation>DMG wird in ISO-Format umgewandelt</translation>
    </message>
    <message>
        <source>Converting: %1</source>
        <extracomment>%1 is what hdiutil printed.</extracomment>
        <translation>Umwandlung: %1</translation>
    </message>
    <message>
        <source>Converting DMG to ISO - please wait...</source>
        <translation>DMG wird in ISO umgewandelt - bitte warten...</translation>
    </message>
    <message>
        <source>Failed to convert DMG to ISO: %1</source>
        <extracomment>%1 is what hdiutil said.</extracomment>
        <translation>DMG konnte nicht in ISO umgewandelt werden: %1</translation>
    </message>
    <message>
        <source>Conversion completed</source>
        <translation>Umwandlung abgeschlossen</translation>
    </message>
    <message>
        <source>Failed to convert DMG to ISO: hdiutil reported success, but wrote nothing at %1</source>
        <translation>DMG konnte nicht in ISO umgewandelt werden: hdiutil meldete Erfolg, hat aber nichts unter %1 geschrieben</translation>
    </message>
    <message>
        <source>Failed to convert DMG to ISO: hdiutil reported success, but wrote %1 bytes of an image of %2</source>
        <extracomment>%1 and %2 are numbers of bytes.</extracomment>
        <translation>DMG konnte nicht in ISO umgewandelt werden: hdiutil meldete Erfolg, hat aber nur %1 Byte eines Images von %2 Byte geschrieben</translation>
    </message>
    <message>
        <source>Renaming CDR file to ISO</source>
        <translation>CDR-Datei wird in ISO umbenannt</translation>
    </message>
</context>
<context>
    <name>DMGCreatorError</name>
    <message>
        <source>Command failed: %1</source>
        <extracomment>%1 is what went wrong.</extracomment>
        <translation>Befehl fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Process terminated with status: %1</source>
        <extracomment>%1 is the tool&apos;s exit status, a number.</extracomment>
        <translation>Prozess beendet mit Status: %1</translation>
    </message>
    <message>
        <source>Insufficient disk space</source>
        <translation>Nicht genügend Speicherplatz</translation>
    </message>
    <message>
        <source>File already exists</source>
        <translation>Datei ist bereits vorhanden</translation>
    </message>
</context>
<context>
    <name>DiskRow</name>
    <message>
        <source>%1 · external disk (not a USB stick)</source>
        <translation>%1 · externer Datenträger (kein USB-Stick)</translation>
    </message>
    <message>
        <source>Eject</source>
        <translation>Auswerfen</translation>
    </message>
    <message>
        <source>Eject %1</source>
        <extracomment>%1 is the volume&apos;s name.</extracomment>
        <translation>„%1“ auswerfen</translation>
    </message>
    <message>
        <source>not available: %1</source>
        <extracomment>Read out for a disk that cannot be the target; %1 says why.</extracomment>
        <translation>nicht verfügbar: %1</translation>
    </message>
    <message>
        <source>selected</source>
        <extracomment>Read out at the end of a selected disk&apos;s row.</extracomment>
        <translation>ausgewählt</translation>
    </message>
    <message>
        <source>not selected</source>
        <extracomment>Read out at the end of a disk&apos;s row that is not selected.</extracomment>
        <translation>nicht ausgewählt</translation>
    </message>
    <message>
        <source>%1 external disk (not a USB stick), %2 free, %3, %4</source>
        <extracomment>Read out for a row of the disk table: %1 the size, %2 the free space, %3 the device, %4 whether it is selected.</extracomment>
        <translation>Externer Datenträger (kein USB-Stick) mit %1, %2 frei, %3, %4</translation>
    </message>
    <message>
        <source>%1 USB volume, %2 free, %3, %4</source>
        <extracomment>Read out for a row of the disk table: %1 the size, %2 the free space, %3 the device, %4 whether it is selected.</extracomment>
        <translation>USB-Volume mit %1, %2 frei, %3, %4</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <extracomment>The line under a volume&apos;s name when it cannot be the target: %1 its device, %2 why.</extracomment>
        <translation>%1 · %2</translation>
    </message>
</context>
<context>
    <name>DiskSelectionView</name>
    <message>
        <source>Create Bootable Media</source>
        <translation>Bootfähiges Medium erstellen</translation>
    </message>
    <message>
        <source>Select a target USB drive to create a bootable installer. Warning: This will erase all data on the selected drive.</source>
        <translation>Wählen Sie einen USB-Stick als Ziel, um ein bootfähiges Installationsprogramm zu erstellen. Achtung: Dabei werden alle Daten auf dem ausgewählten Datenträger gelöscht.</translation>
    </message>
    <message>
        <source>Disk</source>
        <translation>Datenträger</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Free Space</source>
        <translation>Verfügbar</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswahl</translation>
    </message>
    <message>
        <source>Eject</source>
        <translation>Auswurf</translation>
    </message>
    <message>
        <source>Loading available disks...</source>
        <translation>Verfügbare Datenträger werden geladen...</translation>
    </message>
    <message>
        <source>No removable disks detected</source>
        <translation>Keine Wechseldatenträger gefunden</translation>
    </message>
    <message>
        <source>Disks</source>
        <extracomment>What assistive tools call the table of disks.</extracomment>
        <translation>Datenträger</translation>
    </message>
</context>
<context>
    <name>DiskUtility</name>
    <message>
        <source>diskutil does not name its device</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>diskutil nennt sein Gerät nicht</translation>
    </message>
    <message>
        <source>it is not mounted</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>es ist nicht aktiviert</translation>
    </message>
    <message>
        <source>it is a disk image</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>es ist ein Disk-Image</translation>
    </message>
    <message>
        <source>it is not a physical device</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>es ist kein physisches Gerät</translation>
    </message>
    <message>
        <source>it is read-only</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>es ist schreibgeschützt</translation>
    </message>
    <message>
        <source>it is a disk inside this Mac</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>es ist ein interner Datenträger dieses Mac</translation>
    </message>
    <message>
        <source>it is on the disk this Mac started up from</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>es liegt auf dem Datenträger, von dem dieser Mac gestartet wurde</translation>
    </message>
    <message>
        <source>createinstallmedia reported success, but %1 could not be checked: %2. The USB drive may not be bootable.</source>
        <extracomment>%1 is a disk such as disk4, %2 why it could not be checked</extracomment>
        <translation>createinstallmedia hat Erfolg gemeldet, aber %1 konnte nicht geprüft werden: %2. Der USB-Stick ist möglicherweise nicht bootfähig.</translation>
    </message>
    <message>
        <source>it names no disk</source>
        <extracomment>Why the disk could not be checked: the target&apos;s device names no disk</extracomment>
        <translation>es bezeichnet keinen Datenträger</translation>
    </message>
    <message>
        <source>diskutil did not list it; it may have been removed</source>
        <translation>diskutil hat ihn nicht aufgeführt; er wurde möglicherweise entfernt</translation>
    </message>
    <message>
        <source>createinstallmedia reported success, but no installer volume was found on %1. The USB drive is not bootable.</source>
        <extracomment>%1 is a disk such as disk4</extracomment>
        <translation>createinstallmedia hat Erfolg gemeldet, aber auf %1 wurde kein Volume mit dem Installationsprogramm gefunden. Der USB-Stick ist nicht bootfähig.</translation>
    </message>
    <message>
        <source>Could not check %1 again before erasing: %2. Nothing was erased.</source>
        <extracomment>%1 is a device such as disk4s2, %2 why diskutil could not be asked</extracomment>
        <translation>%1 konnte vor dem Löschen nicht erneut geprüft werden: %2. Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>The selected volume has no device or mount point. Nothing was erased.</source>
        <translation>Das ausgewählte Volume hat kein Gerät oder keinen Aktivierungspunkt. Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>No volume is mounted at %1 any more. Nothing was erased.</source>
        <extracomment>%1 is a folder such as /Volumes/USB</extracomment>
        <translation>Unter %1 ist kein Volume mehr aktiviert. Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>The volume at %1 is now %2, not the selected %3. Nothing was erased.</source>
        <extracomment>%1 is a folder such as /Volumes/USB, %2 and %3 are devices such as disk4s2</extracomment>
        <translation>Das Volume unter %1 ist jetzt %2, nicht das ausgewählte %3. Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>%1 is no longer the volume at %2. Nothing was erased.</source>
        <extracomment>%1 is a device such as disk4s2, %2 a folder such as /Volumes/USB</extracomment>
        <translation>%1 ist nicht mehr das Volume unter %2. Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>%1 at %2 is another volume than the one selected. Nothing was erased.</source>
        <extracomment>%1 is a device such as disk4s2, %2 a folder such as /Volumes/USB</extracomment>
        <translation>%1 unter %2 ist ein anderes Volume als das ausgewählte. Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>%1 at %2 cannot be erased: %3. Nothing was erased.</source>
        <extracomment>%1 is a device such as disk4s2, %2 a folder such as /Volumes/USB, %3 why (“it is read-only”)</extracomment>
        <translation>%1 unter %2 kann nicht gelöscht werden: %3. Es wurde nichts gelöscht.</translation>
    </message>
</context>
<context>
    <name>DiskUtilityError</name>
    <message>
        <source>Command failed: %1</source>
        <extracomment>%1 is what the failing diskutil command said</extracomment>
        <translation>Befehl fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Failed to parse disk information</source>
        <translation>Die Datenträgerinformationen konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 seconds</source>
        <extracomment>%1 is a tool such as diskutil, %2 a number of seconds</extracomment>
        <translation>%1 hat nicht innerhalb von %2 Sekunden geantwortet</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 second</source>
        <extracomment>%1 is a tool such as diskutil, %2 the number 1</extracomment>
        <translation>%1 hat nicht innerhalb von %2 Sekunde geantwortet</translation>
    </message>
    <message>
        <source>diskutil did not say which disk this Mac started from, so no disk can be offered safely</source>
        <translation>diskutil hat nicht angegeben, von welchem Datenträger dieser Mac gestartet wurde, daher kann kein Datenträger sicher angeboten werden</translation>
    </message>
</context>
<context>
    <name>DownloadSheet</name>
    <message>
        <source>Download an Installer</source>
        <translation>Installationsprogramm herunterladen</translation>
    </message>
    <message>
        <source>Download a macOS installer from Apple</source>
        <translation>Ein macOS-Installationsprogramm von Apple herunterladen</translation>
    </message>
    <message>
        <source>The installer is put in Applications, where Tessaline lists it. The download is large and takes a while.</source>
        <translation>Das Installationsprogramm wird im Ordner „Programme“ abgelegt, wo Tessaline es anzeigt. Der Download ist groß und dauert eine Weile.</translation>
    </message>
    <message>
        <source>Asking Apple which installers it offers this Mac...</source>
        <translation>Apple wird nach den Installationsprogrammen für diesen Mac gefragt...</translation>
    </message>
    <message>
        <source>Installers offered by Apple</source>
        <translation>Von Apple angebotene Installationsprogramme</translation>
    </message>
    <message>
        <source>Installer</source>
        <translation>Installationsprogramm</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Build</source>
        <translation>Build</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Retry</source>
        <extracomment>Asks Apple for the list of installers again.</extracomment>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Choose a Package…</source>
        <translation>Paket auswählen …</translation>
    </message>
    <message>
        <source>Download</source>
        <extracomment>Starts downloading the chosen installer.</extracomment>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>This Mac cannot list the installers Apple offers: that takes macOS 11 Big Sur or later. Download an InstallAssistant package from Apple with a browser, then choose it here to install the installer from it.</source>
        <translation>Dieser Mac kann die von Apple angebotenen Installationsprogramme nicht auflisten: Dazu ist macOS 11 Big Sur oder neuer nötig. Laden Sie mit einem Browser ein InstallAssistant-Paket von Apple und wählen Sie es hier aus, um das Installationsprogramm daraus zu installieren.</translation>
    </message>
    <message>
        <source>Apple&apos;s list of installers could not be read.
%1</source>
        <extracomment>%1 is what Software Update said.</extracomment>
        <translation>Die Liste der Installationsprogramme von Apple konnte nicht gelesen werden.
%1</translation>
    </message>
    <message>
        <source>Apple offers no full installers to this Mac right now.</source>
        <translation>Apple bietet diesem Mac zurzeit keine vollständigen Installationsprogramme an.</translation>
    </message>
    <message>
        <source>Deferred by your organisation</source>
        <translation>Von Ihrer Organisation zurückgestellt</translation>
    </message>
    <message>
        <source>The Mac&apos;s management holds this version back for now.</source>
        <translation>Die Verwaltung dieses Macs hält diese Version vorerst zurück.</translation>
    </message>
    <message>
        <source>In Applications</source>
        <translation>In „Programme“</translation>
    </message>
    <message>
        <source>%1 is in Applications; a download replaces it.</source>
        <extracomment>%1 is the installer&apos;s application name.</extracomment>
        <translation>„%1“ befindet sich im Ordner „Programme“; ein Download ersetzt es.</translation>
    </message>
    <message>
        <source>Select macOS Installer Package</source>
        <translation>macOS-Installationspaket auswählen</translation>
    </message>
    <message>
        <source>Please select an InstallAssistant.pkg file</source>
        <translation>Wählen Sie eine Datei „InstallAssistant.pkg“ aus</translation>
    </message>
</context>
<context>
    <name>ElapsedTime</name>
    <message>
        <source>%1 s</source>
        <extracomment>A time taken: %1 seconds</extracomment>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <extracomment>A time taken: %1 minutes and %2 seconds</extracomment>
        <translation>%1 Min. %2 s</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <extracomment>A time taken: %1 hours and %2 minutes, the minutes always in two digits</extracomment>
        <translation>%1 Std. %2 Min.</translation>
    </message>
</context>
<context>
    <name>FileDialogPicker</name>
    <message>
        <source>macOS Installers</source>
        <extracomment>The kind of file the dialog offers, before the patterns &quot;(*.app *.pkg)&quot;.</extracomment>
        <translation>macOS-Installationsprogramme</translation>
    </message>
    <message>
        <source>Select macOS Installer</source>
        <translation>macOS-Installationsprogramm auswählen</translation>
    </message>
    <message>
        <source>Please select a macOS Installer application or package</source>
        <translation>Wählen Sie ein macOS-Installationsprogramm oder -Paket aus</translation>
    </message>
</context>
<context>
    <name>FolderListing</name>
    <message>
        <source>The folder “%1” can’t be opened: %2</source>
        <extracomment>%1 is a folder&apos;s path, %2 the system&apos;s reason</extracomment>
        <translation>Der Ordner „%1“ kann nicht geöffnet werden: %2</translation>
    </message>
</context>
<context>
    <name>FullInstallerTool</name>
    <message>
        <source>softwareupdate could not be started: %1</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>softwareupdate konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
    <message>
        <source>Apple&apos;s servers did not answer within %1. Check the network connection and try again.</source>
        <extracomment>%1 is a length of time (&quot;2 minutes&quot;).</extracomment>
        <translation>Die Server von Apple haben nicht innerhalb von %1 geantwortet. Überprüfen Sie die Netzwerkverbindung und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>softwareupdate ended with status %1 without a listing</source>
        <extracomment>%1 is the tool&apos;s exit status, a number.</extracomment>
        <translation>softwareupdate wurde mit Status %1 ohne Liste beendet</translation>
    </message>
    <message>
        <source>The download did not finish within %1</source>
        <extracomment>%1 is a length of time (&quot;2 hours&quot;).</extracomment>
        <translation>Der Download wurde nicht innerhalb von %1 abgeschlossen</translation>
    </message>
    <message>
        <source>Install failed with error: %1</source>
        <extracomment>%1 is the reason softwareupdate gave, in its own words.</extracomment>
        <translation>Installation mit Fehler fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>softwareupdate ended with status %1</source>
        <extracomment>%1 is the tool&apos;s exit status, a number.</extracomment>
        <translation>softwareupdate wurde mit Status %1 beendet</translation>
    </message>
    <message>
        <source>softwareupdate ended with status %1: %2</source>
        <extracomment>%1 is the tool&apos;s exit status, a number; %2 the last thing it said.</extracomment>
        <translation>softwareupdate wurde mit Status %1 beendet: %2</translation>
    </message>
    <message>
        <source>softwareupdate reported success, but no installer appeared at %1</source>
        <translation>softwareupdate meldete Erfolg, aber unter %1 ist kein Installationsprogramm erschienen</translation>
    </message>
</context>
<context>
    <name>ImageTool</name>
    <message>
        <source>hdiutil did not finish within %1</source>
        <extracomment>%1 is a length of time (&quot;10 minutes&quot;).</extracomment>
        <translation>hdiutil wurde nicht innerhalb von %1 beendet</translation>
    </message>
</context>
<context>
    <name>InstallMediaFailure</name>
    <message>
        <source>Cancelled. Nothing was erased.</source>
        <translation>Abgebrochen. Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>%1 was erased and is incomplete: erase it or make it again</source>
        <extracomment>%1 is the name of the volume the cancelled run was writing.</extracomment>
        <translation>„%1“ wurde gelöscht und ist unvollständig: Löschen Sie es oder erstellen Sie es erneut</translation>
    </message>
</context>
<context>
    <name>InstallMediaOutput</name>
    <message>
        <source>Erasing target disk for installation</source>
        <translation>Zieldatenträger wird für die Installation gelöscht</translation>
    </message>
    <message>
        <source>Copying essential installer files</source>
        <translation>Wichtige Dateien des Installationsprogramms werden kopiert</translation>
    </message>
    <message>
        <source>Copying macOS installer: %1% complete</source>
        <extracomment>%1 is a whole number of percent</extracomment>
        <translation>macOS-Installationsprogramm wird kopiert: %1 % abgeschlossen</translation>
    </message>
    <message>
        <source>Copying macOS installer files</source>
        <translation>Dateien des macOS-Installationsprogramms werden kopiert</translation>
    </message>
    <message>
        <source>Creating bootable configuration</source>
        <translation>Bootfähige Konfiguration wird erstellt</translation>
    </message>
    <message>
        <source>Copying boot files</source>
        <translation>Startdateien werden kopiert</translation>
    </message>
    <message>
        <source>Finalizing bootable media</source>
        <translation>Bootfähiges Medium wird fertiggestellt</translation>
    </message>
</context>
<context>
    <name>InstallerApp</name>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
</context>
<context>
    <name>InstallerDetailView</name>
    <message>
        <source>Click to copy icon to clipboard</source>
        <translation>Klicken, um das Symbol in die Zwischenablage zu kopieren</translation>
    </message>
    <message>
        <source>Installer icon</source>
        <translation>Symbol des Installationsprogramms</translation>
    </message>
    <message>
        <source>Create ISO</source>
        <translation>ISO erstellen</translation>
    </message>
    <message>
        <source>Create Bootable USB</source>
        <translation>USB-Stick erstellen</translation>
    </message>
    <message>
        <source>Verify after writing</source>
        <translation>Nach dem Schreiben prüfen</translation>
    </message>
    <message>
        <source>Read the USB drive or ISO back once it is written and compare it with the installer</source>
        <translation>Den USB-Stick oder die ISO-Datei nach dem Schreiben erneut lesen und mit dem Installationsprogramm vergleichen</translation>
    </message>
    <message>
        <source>macOS Version: %1 (%2)</source>
        <translation>macOS-Version: %1 (%2)</translation>
    </message>
    <message>
        <source>Installer Version: %1</source>
        <translation>Version des Installationsprogramms: %1</translation>
    </message>
    <message>
        <source>Installer Size: %1</source>
        <translation>Größe des Installationsprogramms: %1</translation>
    </message>
    <message>
        <source>%1 (codesign: %2)</source>
        <extracomment>%1 is the warning about the signature, %2 what the codesign tool said.</extracomment>
        <translation>%1 (codesign: %2)</translation>
    </message>
</context>
<context>
    <name>InstallerRow</name>
    <message>
        <source>macOS %1</source>
        <extracomment>The version line of an installer&apos;s row; %1 is the macOS version, such as &quot;14.6&quot;.</extracomment>
        <translation>macOS %1</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <extracomment>Joins the lines of an installer&apos;s row as they are read out: what was read so far, then the next line.</extracomment>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>InstallerToolAnswer</name>
    <message>
        <source>Installation failed: %1</source>
        <extracomment>%1 is what the package installer or the administrator prompt said</extracomment>
        <translation>Installation fehlgeschlagen: %1</translation>
    </message>
</context>
<context>
    <name>InstallerTree</name>
    <message>
        <source>a folder</source>
        <extracomment>What an entry of the installer is, in “%2 in the installer, %3 on the media”</extracomment>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a file</source>
        <extracomment>What an entry of the installer is, in “%2 in the installer, %3 on the media”</extracomment>
        <translation>eine Datei</translation>
    </message>
    <message>
        <source>a link</source>
        <extracomment>What an entry of the installer is, in “%2 in the installer, %3 on the media”</extracomment>
        <translation>ein Link</translation>
    </message>
    <message>
        <source>a special file</source>
        <extracomment>What an entry of the installer is, in “%2 in the installer, %3 on the media”</extracomment>
        <translation>eine Spezialdatei</translation>
    </message>
    <message>
        <source>%1 byte</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>%1: missing on the media</source>
        <extracomment>%1 is a path inside the installer, such as Contents/Info.plist</extracomment>
        <translation>%1: fehlt auf dem Medium</translation>
    </message>
    <message>
        <source>%1: on the media only</source>
        <extracomment>%1 is a path inside the installer, such as Contents/Info.plist</extracomment>
        <translation>%1: nur auf dem Medium</translation>
    </message>
    <message>
        <source>%1: %2 in the installer, %3 on the media</source>
        <extracomment>%1 is a path inside the installer; %2 and %3 are what it is on each side (“a file”, “12 bytes”)</extracomment>
        <translation>%1: %2 im Installationsprogramm, %3 auf dem Medium</translation>
    </message>
    <message>
        <source>%1: a link to “%2” in the installer, to “%3” on the media</source>
        <extracomment>%1 is a path inside the installer; %2 and %3 are where the link points on each side</extracomment>
        <translation>%1: ein Link auf „%2“ im Installationsprogramm, auf „%3“ auf dem Medium</translation>
    </message>
    <message>
        <source>%1: its content differs (SHA-256 %2 in the installer, %3 on the media)</source>
        <extracomment>%1 is a path inside the installer; %2 and %3 are the checksums of each side</extracomment>
        <translation>%1: Inhalt weicht ab (SHA-256 %2 im Installationsprogramm, %3 auf dem Medium)</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <extracomment>After a list of differences: %1 is how many more there are</extracomment>
        <translation>und %1 weitere</translation>
    </message>
</context>
<context>
    <name>LinearProgressBar</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Creating Bootable USB</source>
        <translation>Bootfähiger USB-Stick wird erstellt</translation>
    </message>
    <message>
        <source>Creating Bootable ISO</source>
        <translation>Bootfähige ISO-Datei wird erstellt</translation>
    </message>
    <message>
        <source>Downloading a macOS Installer</source>
        <translation>macOS-Installationsprogramm wird geladen</translation>
    </message>
    <message>
        <source>Verifying Media</source>
        <translation>Medium wird geprüft</translation>
    </message>
    <message>
        <source>Installing macOS Package</source>
        <translation>macOS-Paket wird installiert</translation>
    </message>
    <message>
        <source>%1 % — %2</source>
        <extracomment>The window&apos;s title while a job runs: %1 is the whole percentage done, %2 the job.</extracomment>
        <translation>%1&#xa0;% — %2</translation>
    </message>
</context>
<context>
    <name>MediaVerifier</name>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A file that could not be read: %1 is its path, %2 the system&apos;s reason.</extracomment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 was removed while it was read</source>
        <translation>%1 wurde während des Lesens entfernt</translation>
    </message>
    <message>
        <source>The installer could not be read: %1</source>
        <translation>Das Installationsprogramm konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The media could not be read: %1</source>
        <translation>Das Medium konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>No installer application was found on %1.</source>
        <translation>Auf %1 wurde kein Installationsprogramm gefunden.</translation>
    </message>
    <message>
        <source>The image could not be attached: %1</source>
        <extracomment>%1 is what hdiutil said.</extracomment>
        <translation>Das Image konnte nicht verbunden werden: %1</translation>
    </message>
    <message>
        <source>The image was attached, but no volume of it was mounted on %1.</source>
        <translation>Das Image wurde verbunden, aber keines seiner Volumes wurde unter %1 aktiviert.</translation>
    </message>
    <message>
        <source>The image is still attached as %1: eject it in the Finder. (%2)</source>
        <extracomment>%1 is the image&apos;s device (&quot;/dev/disk7&quot;), %2 what hdiutil said.</extracomment>
        <translation>Das Image ist noch als %1 verbunden: Werfen Sie es im Finder aus. (%2)</translation>
    </message>
</context>
<context>
    <name>Menus</name>
    <message>
        <source>File</source>
        <extracomment>The menu&apos;s title.</extracomment>
        <translation>Ablage</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>Neues Fenster</translation>
    </message>
    <message>
        <source>Scan for Installers</source>
        <translation>Nach Installationsprogrammen suchen</translation>
    </message>
    <message>
        <source>Refresh Disk List</source>
        <translation>Datenträgerliste aktualisieren</translation>
    </message>
    <message>
        <source>Add macOS Installer</source>
        <translation>macOS-Installationsprogramm hinzufügen</translation>
    </message>
    <message>
        <source>Download an Installer…</source>
        <translation>Installationsprogramm herunterladen …</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Help</source>
        <extracomment>The menu&apos;s title.</extracomment>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>About Corvenna</source>
        <extracomment>Opens the maker&apos;s page; Corvenna is a name.</extracomment>
        <translation>Über Corvenna</translation>
    </message>
    <message>
        <source>Support Development</source>
        <translation>Entwicklung unterstützen</translation>
    </message>
</context>
<context>
    <name>NoInstallerSelectedView</name>
    <message>
        <source>No Installer Selected</source>
        <translation>Kein Installationsprogramm ausgewählt</translation>
    </message>
    <message>
        <source>Select a macOS installer from the sidebar or add a new one.</source>
        <translation>Wählen Sie ein macOS-Installationsprogramm in der Seitenleiste aus oder fügen Sie ein neues hinzu.</translation>
    </message>
    <message>
        <source>Add Application Installer</source>
        <translation>Programm hinzufügen</translation>
    </message>
    <message>
        <source>Add InstallAssistant.pkg</source>
        <translation>Paket hinzufügen</translation>
    </message>
    <message>
        <source>Download from Apple…</source>
        <translation>Von Apple laden …</translation>
    </message>
    <message>
        <source>Select macOS Installer</source>
        <translation>macOS-Installationsprogramm auswählen</translation>
    </message>
    <message>
        <source>Please select a macOS Installer application</source>
        <translation>Wählen Sie ein macOS-Installationsprogramm aus</translation>
    </message>
    <message>
        <source>Invalid Installer</source>
        <translation>Ungültiges Installationsprogramm</translation>
    </message>
    <message>
        <source>The selected application doesn&apos;t appear to be a valid macOS installer.</source>
        <translation>Das ausgewählte Programm scheint kein gültiges macOS-Installationsprogramm zu sein.</translation>
    </message>
    <message>
        <source>Select macOS Installer Package</source>
        <translation>macOS-Installationspaket auswählen</translation>
    </message>
    <message>
        <source>Please select an InstallAssistant.pkg file</source>
        <translation>Wählen Sie eine Datei „InstallAssistant.pkg“ aus</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Programme</translation>
    </message>
    <message>
        <source>Installer packages</source>
        <translation>Installationspakete</translation>
    </message>
</context>
<context>
    <name>OverlayTitleBar</name>
    <message>
        <source>Close</source>
        <extracomment>The red window control of the progress window.</extracomment>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Minimize</source>
        <extracomment>The yellow window control, shown unavailable.</extracomment>
        <translation>Im Dock ablegen</translation>
    </message>
    <message>
        <source>Zoom</source>
        <extracomment>The green window control, shown unavailable.</extracomment>
        <translation>Zoomen</translation>
    </message>
</context>
<context>
    <name>PartialImages</name>
    <message>
        <source>The unfinished disk image is still attached as %1 and was left at %2</source>
        <extracomment>%1 is the image&apos;s device (&quot;/dev/disk7&quot;), %2 the image file&apos;s path.</extracomment>
        <translation>Das unfertige Disk-Image ist noch als %1 verbunden und wurde unter %2 belassen</translation>
    </message>
    <message>
        <source>The unfinished disk image could not be removed from %1: %2</source>
        <extracomment>%1 is the image file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>Das unfertige Disk-Image konnte nicht von %1 entfernt werden: %2</translation>
    </message>
    <message>
        <source>The partial conversion could not be removed from %1: %2</source>
        <extracomment>%1 is the converted file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>Die unvollständige Umwandlung konnte nicht von %1 entfernt werden: %2</translation>
    </message>
</context>
<context>
    <name>ProgressInfo</name>
    <message>
        <source>Operation completed successfully</source>
        <translation>Vorgang erfolgreich abgeschlossen</translation>
    </message>
    <message>
        <source>Erasing Disk</source>
        <translation>Datenträger löschen</translation>
    </message>
    <message>
        <source>Preparing the disk by erasing target volume</source>
        <translation>Datenträger wird vorbereitet, das Zielvolume wird gelöscht</translation>
    </message>
    <message>
        <source>Preaparing the Disk</source>
        <extracomment>A step title, misspelt in English on purpose: translate “Preparing the Disk”</extracomment>
        <translation>Datenträger vorbereiten</translation>
    </message>
    <message>
        <source>Transferring macOS Installer files, this could take a while...</source>
        <translation>Dateien des macOS-Installationsprogramms werden übertragen, dies kann eine Weile dauern...</translation>
    </message>
    <message>
        <source>Copying Files</source>
        <translation>Dateien kopieren</translation>
    </message>
    <message>
        <source>Copying macOS installer files</source>
        <translation>Dateien des macOS-Installationsprogramms werden kopiert</translation>
    </message>
    <message>
        <source>Making Bootable</source>
        <translation>Bootfähig machen</translation>
    </message>
    <message>
        <source>Making disk bootable</source>
        <translation>Datenträger wird bootfähig gemacht</translation>
    </message>
    <message>
        <source>Finishing</source>
        <translation>Abschließen</translation>
    </message>
    <message>
        <source>Finalizing bootable USB</source>
        <translation>Bootfähiger USB-Stick wird fertiggestellt</translation>
    </message>
    <message>
        <source>Creating DMG</source>
        <translation>DMG erstellen</translation>
    </message>
    <message>
        <source>Creating empty DMG file</source>
        <translation>Leere DMG-Datei wird erstellt</translation>
    </message>
    <message>
        <source>Making DMG bootable</source>
        <translation>DMG wird bootfähig gemacht</translation>
    </message>
    <message>
        <source>Converting</source>
        <translation>Konvertieren</translation>
    </message>
    <message>
        <source>Converting DMG to ISO</source>
        <translation>DMG wird in ISO konvertiert</translation>
    </message>
    <message>
        <source>Cleaning up temporary files</source>
        <translation>Temporäre Dateien werden entfernt</translation>
    </message>
    <message>
        <source>Preparing</source>
        <translation>Vorbereiten</translation>
    </message>
    <message>
        <source>Preparing package installation</source>
        <translation>Paketinstallation wird vorbereitet</translation>
    </message>
    <message>
        <source>Extracting</source>
        <translation>Entpacken</translation>
    </message>
    <message>
        <source>Extracting package contents</source>
        <translation>Paketinhalt wird entpackt</translation>
    </message>
    <message>
        <source>Installing</source>
        <translation>Installieren</translation>
    </message>
    <message>
        <source>Installing macOS Installer</source>
        <translation>macOS-Installationsprogramm wird installiert</translation>
    </message>
    <message>
        <source>Finalizing installation</source>
        <translation>Installation wird abgeschlossen</translation>
    </message>
    <message>
        <source>Asking Apple for the installer</source>
        <translation>Installationsprogramm wird bei Apple angefragt</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Downloading and installing the installer from Apple</source>
        <translation>Installationsprogramm wird von Apple geladen und installiert</translation>
    </message>
    <message>
        <source>Adding the installer to the library</source>
        <translation>Installationsprogramm wird zur Bibliothek hinzugefügt</translation>
    </message>
    <message>
        <source>Verifying</source>
        <translation>Überprüfen</translation>
    </message>
    <message>
        <source>Comparing the media with the installer</source>
        <translation>Medium wird mit dem Installationsprogramm verglichen</translation>
    </message>
    <message>
        <source>Operation failed: %1</source>
        <extracomment>%1 is why the operation failed</extracomment>
        <translation>Vorgang fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
    <message>
        <source>Scanning for macOS installers...</source>
        <translation>Nach macOS-Installationsprogrammen wird gesucht...</translation>
    </message>
</context>
<context>
    <name>ProgressSpinner</name>
    <message>
        <source>In progress</source>
        <translation>In Bearbeitung</translation>
    </message>
</context>
<context>
    <name>ProgressWindow</name>
    <message>
        <source>Installing macOS package...</source>
        <translation>macOS-Paket wird installiert...</translation>
    </message>
    <message>
        <source>Downloading the installer...</source>
        <translation>Installationsprogramm wird geladen...</translation>
    </message>
    <message>
        <source>Creating bootable USB...</source>
        <translation>Bootfähiger USB-Stick wird erstellt...</translation>
    </message>
    <message>
        <source>Creating bootable disk image...</source>
        <translation>Bootfähiges Disk-Image wird erstellt...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>Stops the running operation.</extracomment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Suche läuft</translation>
    </message>
    <message>
        <source>System Integrity Protection is enabled - Using Terminal approach</source>
        <translation>Systemintegritätsschutz ist aktiviert – Terminal wird verwendet</translation>
    </message>
    <message>
        <source>SIP Enabled</source>
        <extracomment>A small badge: System Integrity Protection is on.</extracomment>
        <translation>SIP aktiviert</translation>
    </message>
    <message>
        <source>Steps</source>
        <extracomment>What assistive tools call the row of dots, one for each step.</extracomment>
        <translation>Schritte</translation>
    </message>
    <message>
        <source>%1% Complete</source>
        <extracomment>%1 is the whole percentage done.</extracomment>
        <translation>%1&#xa0;% abgeschlossen</translation>
    </message>
    <message>
        <source>Progress: %1%</source>
        <extracomment>%1 is the whole percentage done.</extracomment>
        <translation>Fortschritt: %1&#xa0;%</translation>
    </message>
    <message>
        <source>Step %1 of %2, done</source>
        <extracomment>Read out for a step&apos;s dot; %1 is its number, %2 how many steps there are.</extracomment>
        <translation>Schritt %1 von %2, erledigt</translation>
    </message>
    <message>
        <source>Step %1 of %2, current</source>
        <extracomment>Read out for the dot of the step under way; %1 is its number, %2 how many steps there are.</extracomment>
        <translation>Schritt %1 von %2, aktuell</translation>
    </message>
    <message>
        <source>Step %1 of %2, to come</source>
        <extracomment>Read out for a step&apos;s dot; %1 is its number, %2 how many steps there are.</extracomment>
        <translation>Schritt %1 von %2, folgt noch</translation>
    </message>
    <message>
        <source>Step %1 of %2, not done</source>
        <extracomment>Read out for a step&apos;s dot that was passed without being done; %1 is its number, %2 how many steps there are.</extracomment>
        <translation>Schritt %1 von %2, nicht erledigt</translation>
    </message>
</context>
<context>
    <name>ScriptEngine</name>
    <message>
        <source>The script did not finish within %1</source>
        <extracomment>%1 is a time limit such as “2 minutes”</extracomment>
        <translation>Das Skript wurde nicht innerhalb von %1 beendet</translation>
    </message>
</context>
<context>
    <name>SidebarView</name>
    <message>
        <source>Available Installers</source>
        <translation>Verfügbare Installationsprogramme</translation>
    </message>
</context>
<context>
    <name>SignatureCheck</name>
    <message>
        <source>codesign could not be run: %1</source>
        <extracomment>%1 is the system&apos;s reason</extracomment>
        <translation>codesign konnte nicht ausgeführt werden: %1</translation>
    </message>
    <message>
        <source>codesign did not finish within %1</source>
        <extracomment>%1 is a time limit such as “15 minutes”</extracomment>
        <translation>codesign wurde nicht innerhalb von %1 beendet</translation>
    </message>
</context>
<context>
    <name>SignatureWarning</name>
    <message>
        <source>⚠ Not signed by Apple: cannot be used</source>
        <translation>⚠ Nicht von Apple signiert: nicht verwendbar</translation>
    </message>
    <message>
        <source>⚠ Apple&apos;s signing certificate has expired</source>
        <translation>⚠ Das Signaturzertifikat von Apple ist abgelaufen</translation>
    </message>
</context>
<context>
    <name>StepRowView</name>
    <message>
        <source>Done</source>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>In progress</source>
        <translation>In Bearbeitung</translation>
    </message>
</context>
<context>
    <name>TerminalOutputView</name>
    <message>
        <source>Command output</source>
        <translation>Ausgabe des Befehls</translation>
    </message>
</context>
<context>
    <name>TerminalWindow</name>
    <message>
        <source>Enter administrator password:</source>
        <translation>Administratorpasswort eingeben:</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Administrator password</source>
        <translation>Administratorpasswort</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>Cancels making the USB stick instead of giving the password.</extracomment>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Authorize</source>
        <extracomment>Gives the typed password to the command.</extracomment>
        <translation>Autorisieren</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>Puts away the terminal window once the command has ended.</extracomment>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1% — %2</source>
        <extracomment>The terminal&apos;s status line: %1 is the whole percentage done, %2 what is being done.</extracomment>
        <translation>%1&#xa0;% — %2</translation>
    </message>
</context>
<context>
    <name>Timing</name>
    <message>
        <source>%1 hour</source>
        <translation>%1 Stunde</translation>
    </message>
    <message>
        <source>%1 hours</source>
        <translation>%1 Stunden</translation>
    </message>
    <message>
        <source>%1 minute</source>
        <translation>%1 Minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 Minuten</translation>
    </message>
    <message>
        <source>%1 second</source>
        <translation>%1 Sekunde</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 Sekunden</translation>
    </message>
    <message>
        <source>%1 millisecond</source>
        <translation>%1 Millisekunde</translation>
    </message>
    <message>
        <source>%1 milliseconds</source>
        <translation>%1 Millisekunden</translation>
    </message>
</context>
<context>
    <name>USBCreator</name>
    <message>
        <source>Process timeout exceeded (2 hours)</source>
        <translation>Zeitlimit des Prozesses überschritten (2 Stunden)</translation>
    </message>
    <message>
        <source>Failed to execute command: %1</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>Befehl konnte nicht ausgeführt werden: %1</translation>
    </message>
    <message>
        <source>USB creation failed</source>
        <translation>USB-Stick konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>Bootable USB creation completed</source>
        <translation>Bootfähiger USB-Stick erstellt</translation>
    </message>
    <message>
        <source>Bootable USB creation successful!</source>
        <translation>Bootfähiger USB-Stick erfolgreich erstellt!</translation>
    </message>
    <message>
        <source>Your USB drive is ready to boot macOS installer</source>
        <translation>Ihr USB-Stick ist bereit, das macOS-Installationsprogramm zu starten</translation>
    </message>
    <message>
        <source>USB creation cancelled</source>
        <translation>Erstellung des USB-Sticks abgebrochen</translation>
    </message>
    <message>
        <source>The command ended with status %1</source>
        <extracomment>%1 is the command&apos;s exit status, a number.</extracomment>
        <translation>Der Befehl wurde mit Status %1 beendet</translation>
    </message>
    <message>
        <source>Process terminated with status: %1</source>
        <extracomment>%1 is the command&apos;s exit status, a number.</extracomment>
        <translation>Prozess beendet mit Status: %1</translation>
    </message>
    <message>
        <source>Checking the new installer volume</source>
        <translation>Neues Installationsvolume wird überprüft</translation>
    </message>
    <message>
        <source>Starting bootable USB creation</source>
        <translation>Erstellung des bootfähigen USB-Sticks wird gestartet</translation>
    </message>
    <message>
        <source>Validating disk and installer</source>
        <translation>Datenträger und Installationsprogramm werden geprüft</translation>
    </message>
    <message>
        <source>The selected disk doesn&apos;t have enough space for this installer</source>
        <translation>Der ausgewählte Datenträger hat nicht genügend Platz für dieses Installationsprogramm</translation>
    </message>
    <message>
        <source>Operation failed: %1</source>
        <extracomment>%1 is why.</extracomment>
        <translation>Vorgang fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Preparing disk for bootable media</source>
        <translation>Datenträger wird für bootfähiges Medium vorbereitet</translation>
    </message>
</context>
<context>
    <name>UnifiedProgressOverlay</name>
    <message>
        <source>Scanning for Installers</source>
        <translation>Suche nach Installationsprogrammen</translation>
    </message>
    <message>
        <source>Installing macOS Package</source>
        <translation>macOS-Paket wird installiert</translation>
    </message>
    <message>
        <source>Downloading a macOS Installer</source>
        <translation>macOS-Installationsprogramm wird geladen</translation>
    </message>
    <message>
        <source>Creating Bootable USB for %1</source>
        <extracomment>%1 is the macOS name, such as &quot;macOS Sonoma&quot;.</extracomment>
        <translation>Bootfähiger USB-Stick für %1 wird erstellt</translation>
    </message>
    <message>
        <source>Creating Bootable USB</source>
        <translation>Bootfähiger USB-Stick wird erstellt</translation>
    </message>
    <message>
        <source>Creating Bootable ISO for %1</source>
        <extracomment>%1 is the macOS name, such as &quot;macOS Sonoma&quot;.</extracomment>
        <translation>Bootfähige ISO-Datei für %1 wird erstellt</translation>
    </message>
    <message>
        <source>Creating Bootable Disk Image</source>
        <translation>Bootfähiges Disk-Image wird erstellt</translation>
    </message>
    <message>
        <source>Terminal — %1</source>
        <extracomment>The terminal window&apos;s title; %1 is the macOS name, such as &quot;macOS Sonoma&quot;.</extracomment>
        <translation>Terminal — %1</translation>
    </message>
    <message>
        <source>Terminal</source>
        <translation>Terminal</translation>
    </message>
</context>
</TS>
