<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
        <translation>Annuler</translation>
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
        <translation>Une autre opération est en cours&#xa0;: attendez qu’elle se termine ou annulez-la</translation>
    </message>
    <message>
        <source>%1 is being erased and written. If you stop now, it is left incomplete until you erase it or make it again.</source>
        <extracomment>%1 is the name of the volume the job erases.</extracomment>
        <translation>«&#xa0;%1&#xa0;» est en cours d’effacement et d’écriture. Si vous arrêtez maintenant, il restera incomplet jusqu’à ce que vous l’effaciez ou le recréiez.</translation>
    </message>
    <message>
        <source>Cancel Operation</source>
        <translation>Annuler l’opération</translation>
    </message>
    <message>
        <source>Stop</source>
        <extracomment>The button that stops the job after all.</extracomment>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Continue</source>
        <extracomment>The button that lets the job go on.</extracomment>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>Cancelled. Nothing was erased.</source>
        <translation>Annulé. Rien n’a été effacé.</translation>
    </message>
    <message>
        <source>The bootable USB is ready. It was verified.</source>
        <translation>La clé USB démarrable est prête. Elle a été vérifiée.</translation>
    </message>
    <message>
        <source>The bootable USB is ready.</source>
        <translation>La clé USB démarrable est prête.</translation>
    </message>
    <message>
        <source>The ISO is ready. It was verified.</source>
        <translation>Le fichier ISO est prêt. Il a été vérifié.</translation>
    </message>
    <message>
        <source>The ISO is ready.</source>
        <translation>Le fichier ISO est prêt.</translation>
    </message>
    <message>
        <source>The installer is in Applications.</source>
        <translation>Le programme d’installation se trouve dans Applications.</translation>
    </message>
    <message>
        <source>The media matches the installer.</source>
        <translation>Le support correspond au programme d’installation.</translation>
    </message>
    <message>
        <source>The package is installed.</source>
        <translation>Le paquet est installé.</translation>
    </message>
    <message>
        <source>The bootable USB was not made.</source>
        <translation>La clé USB démarrable n’a pas été créée.</translation>
    </message>
    <message>
        <source>The ISO was not made.</source>
        <translation>Le fichier ISO n’a pas été créé.</translation>
    </message>
    <message>
        <source>The installer was not downloaded.</source>
        <translation>Le programme d’installation n’a pas été téléchargé.</translation>
    </message>
    <message>
        <source>The media was not verified.</source>
        <translation>Le support n’a pas été vérifié.</translation>
    </message>
    <message>
        <source>The package was not installed.</source>
        <translation>Le paquet n’a pas été installé.</translation>
    </message>
    <message>
        <source>The bootable USB was not made. %1</source>
        <extracomment>%1 is why the job failed.</extracomment>
        <translation>La clé USB démarrable n’a pas été créée. %1</translation>
    </message>
    <message>
        <source>The ISO was not made. %1</source>
        <extracomment>%1 is why the job failed.</extracomment>
        <translation>Le fichier ISO n’a pas été créé. %1</translation>
    </message>
    <message>
        <source>The installer was not downloaded. %1</source>
        <extracomment>%1 is why the job failed.</extracomment>
        <translation>Le programme d’installation n’a pas été téléchargé. %1</translation>
    </message>
    <message>
        <source>The media was not verified. %1</source>
        <extracomment>%1 is why the check failed.</extracomment>
        <translation>Le support n’a pas été vérifié. %1</translation>
    </message>
    <message>
        <source>The package was not installed. %1</source>
        <extracomment>%1 is why the job failed.</extracomment>
        <translation>Le paquet n’a pas été installé. %1</translation>
    </message>
    <message>
        <source>Quit and stop checking the media?</source>
        <translation>Quitter et arrêter la vérification du support&#xa0;?</translation>
    </message>
    <message>
        <source>Quit and stop making the bootable USB?</source>
        <translation>Quitter et arrêter la création de la clé USB démarrable&#xa0;?</translation>
    </message>
    <message>
        <source>Quit and stop making the ISO?</source>
        <translation>Quitter et arrêter la création du fichier ISO&#xa0;?</translation>
    </message>
    <message>
        <source>Quit and stop downloading the installer?</source>
        <translation>Quitter et arrêter le téléchargement du programme d’installation&#xa0;?</translation>
    </message>
    <message>
        <source>Quit and stop installing the package?</source>
        <translation>Quitter et arrêter l’installation du paquet&#xa0;?</translation>
    </message>
    <message>
        <source>The media stays as it was written, but unchecked.</source>
        <translation>Le support reste tel qu’il a été écrit, mais non vérifié.</translation>
    </message>
    <message>
        <source>The drive being written is left erased and incomplete.</source>
        <translation>Le disque en cours d’écriture reste effacé et incomplet.</translation>
    </message>
    <message>
        <source>The partial disk image is removed.</source>
        <translation>L’image disque partielle est supprimée.</translation>
    </message>
    <message>
        <source>What was downloaded so far is removed.</source>
        <translation>Ce qui a été téléchargé jusqu’ici est supprimé.</translation>
    </message>
    <message>
        <source>Nothing has been erased yet.</source>
        <translation>Rien n’a encore été effacé.</translation>
    </message>
    <message>
        <source>Quit</source>
        <extracomment>The button that quits the application, stopping the job.</extracomment>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Keep Going</source>
        <extracomment>The button that keeps the application and its job running.</extracomment>
        <translation>Poursuivre</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>No installer selected</source>
        <translation>Aucun programme d’installation sélectionné</translation>
    </message>
    <message>
        <source>File Already Exists</source>
        <translation>Le fichier existe déjà</translation>
    </message>
    <message>
        <source>A DMG or ISO file with the name &apos;%1&apos; already exists on your desktop. Do you want to replace it?</source>
        <extracomment>%1 is the file&apos;s name without its extension.</extracomment>
        <translation>Un fichier DMG ou ISO nommé «&#xa0;%1&#xa0;» existe déjà sur votre bureau. Voulez-vous le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Disk Error</source>
        <translation>Erreur de disque</translation>
    </message>
    <message>
        <source>Failed to get disk list: %1</source>
        <extracomment>%1 is why diskutil gave no list.</extracomment>
        <translation>Impossible d’obtenir la liste des disques&#xa0;: %1</translation>
    </message>
    <message>
        <source>Eject Error</source>
        <translation>Erreur d’éjection</translation>
    </message>
    <message>
        <source>Failed to eject disk: %1</source>
        <extracomment>%1 is what diskutil said.</extracomment>
        <translation>Impossible d’éjecter le disque&#xa0;: %1</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Annulé.</translation>
    </message>
    <message>
        <source>
The incomplete installer it left in Applications was removed.</source>
        <translation>
Le programme d’installation incomplet laissé dans Applications a été supprimé.</translation>
    </message>
    <message>
        <source>
The installer that was in Applications was being replaced and may be incomplete: download it again before using it.</source>
        <translation>
Le programme d’installation qui se trouvait dans Applications était en cours de remplacement et peut être incomplet&#xa0;: téléchargez-le à nouveau avant de l’utiliser.</translation>
    </message>
    <message>
        <source>Download Error</source>
        <translation>Erreur de téléchargement</translation>
    </message>
    <message>
        <source>%1 is deferred by your organisation: this Mac may not download it yet.</source>
        <extracomment>%1 is the installer&apos;s title and version (&quot;macOS Sequoia 15.3&quot;).</extracomment>
        <translation>%1 est différé par votre organisation&#xa0;: ce Mac ne peut pas encore le télécharger.</translation>
    </message>
    <message>
        <source>Not Enough Space</source>
        <translation>Espace insuffisant</translation>
    </message>
    <message>
        <source>Asking Apple for %1...</source>
        <extracomment>%1 is the installer&apos;s title and version (&quot;macOS Sequoia 15.3&quot;).</extracomment>
        <translation>Demande de %1 à Apple...</translation>
    </message>
    <message>
        <source>Downloading %1: %2%</source>
        <extracomment>%1 is the installer&apos;s title and version, %2 the percentage downloaded.</extracomment>
        <translation>Téléchargement de %1&#xa0;: %2&#xa0;%</translation>
    </message>
    <message>
        <source>Adding the installer to the library...</source>
        <translation>Ajout du programme d’installation à la bibliothèque...</translation>
    </message>
    <message>
        <source>The downloaded installer at %1 cannot be read</source>
        <translation>Le programme d’installation téléchargé à l’emplacement %1 est illisible</translation>
    </message>
    <message>
        <source>Examining %1</source>
        <extracomment>%1 is the name of an item in the Applications folder.</extracomment>
        <translation>Examen de %1</translation>
    </message>
    <message>
        <source>Examining Applications folder...</source>
        <translation>Examen du dossier Applications...</translation>
    </message>
    <message>
        <source>Found installer: %1</source>
        <extracomment>%1 is the installer&apos;s name.</extracomment>
        <translation>Programme d’installation trouvé&#xa0;: %1</translation>
    </message>
    <message>
        <source>Failed to scan Applications folder: %1</source>
        <extracomment>%1 is why the folder could not be listed.</extracomment>
        <translation>Impossible d’analyser le dossier Applications&#xa0;: %1</translation>
    </message>
    <message>
        <source>Scan completed</source>
        <translation>Recherche terminée</translation>
    </message>
    <message>
        <source>Found %1 macOS installers</source>
        <extracomment>%1 is how many installers were found.</extracomment>
        <translation>%1 programmes d’installation de macOS trouvés</translation>
    </message>
    <message>
        <source>Invalid Installer</source>
        <translation>Programme d’installation non valide</translation>
    </message>
    <message>
        <source>The selected application doesn&apos;t appear to be a valid macOS installer.</source>
        <translation>L’application sélectionnée ne semble pas être un programme d’installation de macOS valide.</translation>
    </message>
    <message>
        <source>Locating installed macOS Installer...</source>
        <translation>Recherche du programme d’installation de macOS installé...</translation>
    </message>
    <message>
        <source>Searching Applications folder...</source>
        <translation>Recherche dans le dossier Applications...</translation>
    </message>
    <message>
        <source>Found new installer: %1</source>
        <extracomment>%1 is the installer&apos;s name.</extracomment>
        <translation>Nouveau programme d’installation trouvé&#xa0;: %1</translation>
    </message>
    <message>
        <source>Failed to locate installed application: %1</source>
        <extracomment>%1 is why the folder could not be listed.</extracomment>
        <translation>Impossible de trouver l’application installée&#xa0;: %1</translation>
    </message>
    <message>
        <source>The macOS Installer package was installed, but no new installer application was detected</source>
        <translation>Le paquet du programme d’installation de macOS a été installé, mais aucun nouveau programme d’installation n’a été détecté</translation>
    </message>
    <message>
        <source>Found %1 new macOS installer(s)</source>
        <extracomment>%1 is how many new installers were found.</extracomment>
        <translation>%1 nouveau(x) programme(s) d’installation de macOS trouvé(s)</translation>
    </message>
    <message>
        <source>the installer is no longer at %1</source>
        <extracomment>Why an installer&apos;s signature could not be checked; %1 is where it was.</extracomment>
        <translation>le programme d’installation ne se trouve plus à l’emplacement %1</translation>
    </message>
    <message>
        <source>&apos;%1&apos; at %2 is not signed by Apple, so it will not be run with administrator rights.

codesign: %3</source>
        <extracomment>%1 is the installer&apos;s name, %2 its path, %3 what codesign said of it.</extracomment>
        <translation>«&#xa0;%1&#xa0;» (%2) n’est pas signé par Apple et ne sera donc pas exécuté avec les droits d’administrateur.

codesign&#xa0;: %3</translation>
    </message>
    <message>
        <source>Installer Not Signed by Apple</source>
        <translation>Programme d’installation non signé par Apple</translation>
    </message>
    <message>
        <source>Verifying the installer&apos;s signature...</source>
        <translation>Vérification de la signature du programme d’installation...</translation>
    </message>
    <message>
        <source>Create it again.</source>
        <translation>Créez-le à nouveau.</translation>
    </message>
    <message>
        <source>The ISO was removed. Create it again.</source>
        <translation>Le fichier ISO a été supprimé. Créez-le à nouveau.</translation>
    </message>
    <message>
        <source>Create it again, or use another USB drive.</source>
        <translation>Créez-la à nouveau ou utilisez une autre clé USB.</translation>
    </message>
    <message>
        <source>The USB drive does not match the installer, so it should not be used:
%1
%2</source>
        <extracomment>%1 is what differs, one line each; %2 what to do now.</extracomment>
        <translation>La clé USB ne correspond pas au programme d’installation et ne doit pas être utilisée&#xa0;:
%1
%2</translation>
    </message>
    <message>
        <source>The ISO does not match the installer, so it should not be used:
%1
%2</source>
        <extracomment>%1 is what differs, one line each; %2 what to do now.</extracomment>
        <translation>Le fichier ISO ne correspond pas au programme d’installation et ne doit pas être utilisé&#xa0;:
%1
%2</translation>
    </message>
    <message>
        <source>The USB drive could not be checked, so it may not be usable: %1</source>
        <extracomment>%1 is why the media could not be read.</extracomment>
        <translation>La clé USB n’a pas pu être vérifiée et n’est peut-être pas utilisable&#xa0;: %1</translation>
    </message>
    <message>
        <source>The ISO could not be checked, so it may not be usable: %1</source>
        <extracomment>%1 is why the media could not be read.</extracomment>
        <translation>Le fichier ISO n’a pas pu être vérifié et n’est peut-être pas utilisable&#xa0;: %1</translation>
    </message>
    <message>
        <source>Cancelled during the check. The USB drive was written but not checked.%1</source>
        <extracomment>%1 is empty, or a line break and what the check could not finish.</extracomment>
        <translation>Annulé pendant la vérification. La clé USB a été écrite mais pas vérifiée.%1</translation>
    </message>
    <message>
        <source>Cancelled during the check. The ISO was written but not checked.%1</source>
        <extracomment>%1 is empty, or a line break and what the check could not finish.</extracomment>
        <translation>Annulé pendant la vérification. Le fichier ISO a été écrit mais pas vérifié.%1</translation>
    </message>
    <message>
        <source>Verifying</source>
        <extracomment>The title of the step that checks the media written, in a narrow list.</extracomment>
        <translation>Vérification</translation>
    </message>
    <message>
        <source>Comparing the USB drive with the installer</source>
        <translation>Comparaison de la clé USB avec le programme d’installation</translation>
    </message>
    <message>
        <source>Comparing the ISO with the installer</source>
        <translation>Comparaison du fichier ISO avec le programme d’installation</translation>
    </message>
    <message>
        <source>Verified</source>
        <extracomment>The result of checking media on its own: it matched.</extracomment>
        <translation>Vérifié</translation>
    </message>
    <message>
        <source>
Comparing the USB drive with the installer...
</source>
        <translation>
Comparaison de la clé USB avec le programme d’installation...
</translation>
    </message>
    <message>
        <source>
Comparing the ISO with the installer...
</source>
        <translation>
Comparaison du fichier ISO avec le programme d’installation...
</translation>
    </message>
    <message>
        <source>%1 of %2 read</source>
        <extracomment>%1 and %2 are sizes (&quot;1.2 GB of 24.5 GB read&quot;).</extracomment>
        <translation>%1 sur %2 lus</translation>
    </message>
    <message>
        <source>Verified: the USB drive holds an exact copy of the installer.</source>
        <translation>Vérifié&#xa0;: la clé USB contient une copie exacte du programme d’installation.</translation>
    </message>
    <message>
        <source>Verified: the ISO holds an exact copy of the installer.</source>
        <translation>Vérifié&#xa0;: le fichier ISO contient une copie exacte du programme d’installation.</translation>
    </message>
    <message>
        <source>%1 needs %2, but the startup disk has %3 free: free %4 more and try again.</source>
        <extracomment>%1 is the installer&apos;s title and version, %2-%4 sizes (&quot;12.4 GB&quot;).</extracomment>
        <translation>%1 nécessite %2, mais le disque de démarrage n’a que %3 de libre&#xa0;: libérez %4 de plus et réessayez.</translation>
    </message>
    <message>
        <source>Failed to prepare package installation: %1</source>
        <extracomment>%1 is why the package could not be prepared.</extracomment>
        <translation>Impossible de préparer l’installation du paquet&#xa0;: %1</translation>
    </message>
    <message>
        <source>Install Package</source>
        <translation>Installer le paquet</translation>
    </message>
    <message>
        <source>How would you like to install this macOS installer package?</source>
        <translation>Comment voulez-vous installer ce paquet du programme d’installation de macOS&#xa0;?</translation>
    </message>
    <message>
        <source>Install Automatically</source>
        <translation>Installer automatiquement</translation>
    </message>
    <message>
        <source>Open in Installer</source>
        <extracomment>A button: opens the package in the system&apos;s Installer application.</extracomment>
        <translation>Ouvrir dans Programme d’installation</translation>
    </message>
    <message>
        <source>Preparing package installation...</source>
        <translation>Préparation de l’installation du paquet...</translation>
    </message>
    <message>
        <source>Package file not found at: %1</source>
        <translation>Fichier du paquet introuvable à l’emplacement&#xa0;: %1</translation>
    </message>
    <message>
        <source>Creating temporary directory...</source>
        <translation>Création du dossier temporaire...</translation>
    </message>
    <message>
        <source>The temporary folder could not be created: %1</source>
        <translation>Impossible de créer le dossier temporaire&#xa0;: %1</translation>
    </message>
    <message>
        <source>Temporary directory created</source>
        <translation>Dossier temporaire créé</translation>
    </message>
    <message>
        <source>Copying installer package...</source>
        <translation>Copie du paquet d’installation...</translation>
    </message>
    <message>
        <source>Package copied successfully</source>
        <translation>Paquet copié</translation>
    </message>
    <message>
        <source>Installing macOS Installer package...</source>
        <translation>Installation du paquet du programme d’installation de macOS...</translation>
    </message>
    <message>
        <source>Cancelled. If the installer app was begun in Applications, it is incomplete: delete it.</source>
        <translation>Annulé. Si le programme d’installation a commencé à être créé dans Applications, il est incomplet&#xa0;: supprimez-le.</translation>
    </message>
    <message>
        <source>Installation Error</source>
        <translation>Erreur d’installation</translation>
    </message>
    <message>
        <source>Failed to install automatically. Would you like to try the manual installation method instead?</source>
        <translation>L’installation automatique a échoué. Voulez-vous plutôt essayer l’installation manuelle&#xa0;?</translation>
    </message>
    <message>
        <source>Installation completed</source>
        <translation>Installation terminée</translation>
    </message>
    <message>
        <source>Cleaning up...</source>
        <translation>Nettoyage...</translation>
    </message>
    <message>
        <source>Cleanup completed</source>
        <translation>Nettoyage terminé</translation>
    </message>
    <message>
        <source>Installing Package</source>
        <translation>Installation du paquet</translation>
    </message>
    <message>
        <source>The installer has been opened. After installation completes, click &apos;Scan for Installers&apos; to detect the new macOS installer.</source>
        <extracomment>&apos;Scan for Installers&apos; is the button of the window that scans.</extracomment>
        <translation>Le programme d’installation a été ouvert. Une fois l’installation terminée, cliquez sur «&#xa0;Rechercher des programmes d’installation&#xa0;» pour détecter le nouveau programme d’installation de macOS.</translation>
    </message>
    <message>
        <source>Failed to open the installer package: %1</source>
        <extracomment>%1 is why the system could not open it.</extracomment>
        <translation>Impossible d’ouvrir le paquet d’installation&#xa0;: %1</translation>
    </message>
    <message>
        <source>holds the selected installer</source>
        <extracomment>Why a volume cannot be chosen as the target; shown after its name or device.</extracomment>
        <translation>contient le programme d’installation sélectionné</translation>
    </message>
    <message>
        <source>No target disk selected</source>
        <translation>Aucun disque cible sélectionné</translation>
    </message>
    <message>
        <source>Cannot Use This Volume</source>
        <translation>Impossible d’utiliser ce volume</translation>
    </message>
    <message>
        <source>&apos;%1&apos; holds the installer &apos;%2&apos;. Choose another volume, or copy the installer to Applications first.</source>
        <extracomment>%1 is the volume&apos;s name, %2 the installer&apos;s.</extracomment>
        <translation>«&#xa0;%1&#xa0;» contient le programme d’installation «&#xa0;%2&#xa0;». Choisissez un autre volume ou copiez d’abord le programme d’installation dans Applications.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Attention</translation>
    </message>
    <message>
        <source>This will erase all data on &apos;%1&apos; (%2). Are you sure you want to continue?</source>
        <extracomment>%1 is the volume&apos;s name, %2 its device (&quot;disk4s2&quot;).</extracomment>
        <translation>Toutes les données de «&#xa0;%1&#xa0;» (%2) seront effacées. Voulez-vous vraiment continuer&#xa0;?</translation>
    </message>
    <message>
        <source>

&apos;%1&apos; is unusually large for an installer (%2): make sure it is the drive you mean to erase.</source>
        <extracomment>A second paragraph of the question; %1 is the volume&apos;s name, %2 its size (&quot;256 GB&quot;).</extracomment>
        <translation>

«&#xa0;%1&#xa0;» est inhabituellement grand pour un programme d’installation (%2)&#xa0;: assurez-vous que c’est bien le disque que vous voulez effacer.</translation>
    </message>
    <message>
        <source>Erase and Create</source>
        <translation>Effacer et créer</translation>
    </message>
    <message>
        <source>Preparing to create bootable USB with Terminal...
</source>
        <translation>Préparation de la création de la clé USB démarrable avec Terminal...
</translation>
    </message>
    <message>
        <source>System Integrity Protection (SIP) is fully enabled on this Mac.
</source>
        <translation>La protection de l’intégrité du système (SIP) est entièrement activée sur ce Mac.
</translation>
    </message>
    <message>
        <source>Using terminal approach for bootable USB creation for %1.

</source>
        <extracomment>%1 is the macOS name (&quot;macOS Sequoia&quot;).</extracomment>
        <translation>La clé USB démarrable pour %1 sera créée avec Terminal.

</translation>
    </message>
    <message>
        <source>Command: %1

</source>
        <extracomment>%1 is the command line run through sudo, as it would be typed.</extracomment>
        <translation>Commande&#xa0;: %1

</translation>
    </message>
    <message>
        <source>Please enter your administrator password when prompted.
</source>
        <translation>Saisissez votre mot de passe d’administrateur lorsqu’il vous est demandé.
</translation>
    </message>
    <message>
        <source>Starting USB creation process...</source>
        <translation>Démarrage de la création de la clé USB...</translation>
    </message>
    <message>
        <source>
Executing command. This may take several minutes...
</source>
        <translation>
Exécution de la commande. Cela peut prendre plusieurs minutes...
</translation>
    </message>
    <message>
        <source>No target disk selected. Nothing was erased.</source>
        <translation>Aucun disque cible sélectionné. Rien n’a été effacé.</translation>
    </message>
    <message>
        <source>
Password incorrect. Please try again.
</source>
        <translation>
Mot de passe incorrect. Veuillez réessayer.
</translation>
    </message>
    <message>
        <source>The command ended with status %1</source>
        <extracomment>%1 is the command&apos;s exit status, a number.</extracomment>
        <translation>La commande s’est terminée avec le code %1</translation>
    </message>
    <message>
        <source>Process exited with code %1</source>
        <extracomment>%1 is the command&apos;s exit status, a number.</extracomment>
        <translation>Le processus s’est terminé avec le code %1</translation>
    </message>
    <message>
        <source>
Checking the new installer volume...
</source>
        <translation>
Vérification du nouveau volume d’installation...
</translation>
    </message>
    <message>
        <source>USB creation completed successfully</source>
        <translation>La clé USB a été créée</translation>
    </message>
</context>
<context>
    <name>AppleScriptHelper</name>
    <message>
        <source>Timeout while waiting for admin privileges. Please try again.</source>
        <translation>Délai dépassé en attendant les privilèges d’administrateur. Veuillez réessayer.</translation>
    </message>
    <message>
        <source>Operation timed out after 3 hours. Terminating process.</source>
        <translation>Délai de l’opération dépassé après 3 heures. Arrêt du processus.</translation>
    </message>
    <message>
        <source>Failed to launch command: %1</source>
        <extracomment>%1 is the system&apos;s reason</extracomment>
        <translation>Impossible de lancer la commande&#xa0;: %1</translation>
    </message>
    <message>
        <source>Admin privileges required but not granted</source>
        <translation>Privilèges d’administrateur requis mais non accordés</translation>
    </message>
    <message>
        <source>Failed to run command: %1</source>
        <extracomment>%1 is the system&apos;s reason</extracomment>
        <translation>Impossible d’exécuter la commande&#xa0;: %1</translation>
    </message>
    <message>
        <source>Admin authorization denied: %1</source>
        <extracomment>%1 is what the system said when the administrator prompt was refused</extracomment>
        <translation>Autorisation d’administrateur refusée&#xa0;: %1</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Erreur inconnue</translation>
    </message>
    <message>
        <source>AppleScript Error %1: %2</source>
        <extracomment>%1 is the script engine&apos;s error number, %2 its message</extracomment>
        <translation>Erreur AppleScript %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Operation timed out after 5 minutes</source>
        <translation>Délai de l’opération dépassé après 5 minutes</translation>
    </message>
    <message>
        <source>Operation timed out after 30 minutes</source>
        <translation>Délai de l’opération dépassé après 30 minutes</translation>
    </message>
</context>
<context>
    <name>ChildProcess</name>
    <message>
        <source>Cancelled</source>
        <extracomment>Why a tool was not started: the job it belongs to was stopped</extracomment>
        <translation>Annulé</translation>
    </message>
</context>
<context>
    <name>CircularProgressView</name>
    <message>
        <source>Step progress</source>
        <translation>Progression de l’étape</translation>
    </message>
</context>
<context>
    <name>CliRun</name>
    <message>
        <source>this Mac&apos;s softwareupdate cannot list the installers Apple offers (that takes macOS 11 or later); download an InstallAssistant package and use install-package</source>
        <translation>softwareupdate ne peut pas lister sur ce Mac les programmes d’installation proposés par Apple (il faut macOS 11 ou ultérieur)&#xa0;; téléchargez un paquet InstallAssistant et utilisez install-package</translation>
    </message>
    <message>
        <source>Apple&apos;s list of installers could not be read: %1</source>
        <translation>La liste des programmes d’installation d’Apple n’a pas pu être lue&#xa0;: %1</translation>
    </message>
    <message>
        <source>no installer &quot;%1&quot;. Installers found:
%2</source>
        <translation>Aucun programme d’installation «&#xa0;%1&#xa0;». Programmes d’installation trouvés&#xa0;:
%2</translation>
    </message>
    <message>
        <source>  (none)</source>
        <translation>  (aucun)</translation>
    </message>
    <message>
        <source>no volume &quot;%1&quot;. Volumes that can be used:
%2</source>
        <translation>Aucun volume «&#xa0;%1&#xa0;». Volumes utilisables&#xa0;:
%2</translation>
    </message>
    <message>
        <source>pass --yes to erase without asking</source>
        <translation>Indiquez --yes pour effacer sans confirmation</translation>
    </message>
    <message>
        <source>Erase &quot;%1&quot; (%2)? All data on it will be lost. [y/N] </source>
        <translation>Effacer «&#xa0;%1&#xa0;» (%2)&#xa0;? Toutes ses données seront perdues. [o/N] </translation>
    </message>
    <message>
        <source>y</source>
        <extracomment>The letter that answers yes to the erase question; keep it to one letter, as in [y/N].</extracomment>
        <translation>o</translation>
    </message>
    <message>
        <source>nothing was erased</source>
        <translation>Rien n’a été effacé</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NOM</translation>
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
        <translation>TAILLE</translation>
    </message>
    <message>
        <source>PATH</source>
        <translation>CHEMIN</translation>
    </message>
    <message>
        <source>No installers found.
</source>
        <translation>Aucun programme d’installation trouvé.
</translation>
    </message>
    <message>
        <source>DEVICE</source>
        <translation>APPAREIL</translation>
    </message>
    <message>
        <source>FREE</source>
        <translation>LIBRE</translation>
    </message>
    <message>
        <source>MOUNT POINT</source>
        <translation>POINT DE MONTAGE</translation>
    </message>
    <message>
        <source>NOTE</source>
        <translation>REMARQUE</translation>
    </message>
    <message>
        <source>not offered: %1</source>
        <translation>non proposé&#xa0;: %1</translation>
    </message>
    <message>
        <source>external disk (not a USB stick)</source>
        <translation>disque externe (pas une clé USB)</translation>
    </message>
    <message>
        <source>No removable volumes found.
</source>
        <translation>Aucun volume amovible trouvé.
</translation>
    </message>
    <message>
        <source>&quot;%1&quot; %2</source>
        <extracomment>%1 is a volume&apos;s name, %2 why it cannot be used (e.g. &quot;is too small: ...&quot;).</extracomment>
        <translation>«&#xa0;%1&#xa0;» %2</translation>
    </message>
    <message>
        <source>no folder &quot;%1&quot;</source>
        <translation>Aucun dossier «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>&quot;%1&quot; exists: pass --yes to replace it</source>
        <translation>«&#xa0;%1&#xa0;» existe déjà&#xa0;: indiquez --yes pour le remplacer</translation>
    </message>
    <message>
        <source>the ISO could not be moved to &quot;%1&quot;; it is at &quot;%2&quot;</source>
        <translation>Le fichier ISO n’a pas pu être déplacé vers «&#xa0;%1&#xa0;»&#xa0;; il se trouve dans «&#xa0;%2&#xa0;»</translation>
    </message>
    <message>
        <source>no package &quot;%1&quot;</source>
        <translation>Aucun paquet «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Ejected %1.
</source>
        <translation>%1 a été éjecté.
</translation>
    </message>
    <message>
        <source>TITLE</source>
        <translation>TITRE</translation>
    </message>
    <message>
        <source>deferred by your organisation</source>
        <translation>différé par votre organisation</translation>
    </message>
    <message>
        <source>in Applications</source>
        <translation>dans Applications</translation>
    </message>
    <message>
        <source>Apple offers no full installers to this Mac.
</source>
        <translation>Apple ne propose aucun programme d’installation complet pour ce Mac.
</translation>
    </message>
    <message>
        <source>%1 %2 is deferred by your organisation: this Mac may not download it yet</source>
        <translation>%1 %2 est différé par votre organisation&#xa0;: ce Mac ne peut pas encore le télécharger</translation>
    </message>
    <message>
        <source>Apple offers no installer of version &quot;%1&quot;. Versions offered:
%2</source>
        <translation>Apple ne propose aucun programme d’installation de la version «&#xa0;%1&#xa0;». Versions proposées&#xa0;:
%2</translation>
    </message>
    <message>
        <source>no image &quot;%1&quot;</source>
        <translation>Aucune image «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>An alert&apos;s title and its message.</extracomment>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>pass --yes to replace it</source>
        <translation>Indiquez --yes pour le remplacer</translation>
    </message>
    <message>
        <source>The administrator password was not accepted.</source>
        <translation>Le mot de passe administrateur n’a pas été accepté.</translation>
    </message>
    <message>
        <source>Nothing was erased.</source>
        <translation>Rien n’a été effacé.</translation>
    </message>
    <message>
        <source>the administrator password was not accepted; nothing was erased</source>
        <translation>Le mot de passe administrateur n’a pas été accepté&#xa0;; rien n’a été effacé</translation>
    </message>
    <message>
        <source>Administrator password: </source>
        <translation>Mot de passe administrateur&#xa0;: </translation>
    </message>
    <message>
        <source>an administrator password is needed: pass --password-stdin and give it on the first line of standard input</source>
        <translation>Un mot de passe administrateur est nécessaire&#xa0;: indiquez --password-stdin et donnez-le sur la première ligne de l’entrée standard</translation>
    </message>
    <message>
        <source>still stopping the job; it ends within a few seconds</source>
        <translation>La tâche est en cours d’arrêt&#xa0;; elle se termine dans quelques secondes</translation>
    </message>
    <message>
        <source>The job did not stop in time.</source>
        <translation>La tâche ne s’est pas arrêtée à temps.</translation>
    </message>
    <message>
        <source>Its tools are ended as tessaline-cli quits; check the volume or image before using it.</source>
        <translation>Ses outils sont arrêtés à la fermeture de tessaline-cli&#xa0;; vérifiez le volume ou l’image avant de l’utiliser.</translation>
    </message>
</context>
<context>
    <name>CodeSignature</name>
    <message>
        <source>codesign exited with status %1</source>
        <translation>codesign s’est terminé avec le statut %1</translation>
    </message>
    <message>
        <source>signed with an expired certificate that is not Apple&apos;s (%1)</source>
        <extracomment>%1 lists the certificates&apos; names, or says that none were shown</extracomment>
        <translation>signé avec un certificat expiré qui n’est pas celui d’Apple (%1)</translation>
    </message>
    <message>
        <source>no certificate chain shown</source>
        <translation>aucune chaîne de certificats affichée</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>no command given</source>
        <translation>Aucune commande indiquée</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>Commande inconnue «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>%1 does not take %2</source>
        <extracomment>%1 is a command, %2 an option it does not take.</extracomment>
        <translation>%1 n’accepte pas %2</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 demande une valeur</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>Argument inattendu «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>%1 takes one volume</source>
        <translation>%1 attend un volume</translation>
    </message>
    <message>
        <source>%1 takes one package</source>
        <translation>%1 attend un paquet</translation>
    </message>
    <message>
        <source>%1 needs --installer</source>
        <translation>%1 demande --installer</translation>
    </message>
    <message>
        <source>%1 needs --volume</source>
        <translation>%1 demande --volume</translation>
    </message>
    <message>
        <source>%1 needs --version</source>
        <translation>%1 demande --version</translation>
    </message>
    <message>
        <source>verify needs either --volume or --image</source>
        <translation>verify demande --volume ou --image</translation>
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
        <translation>utilisation&#xa0;: tessaline-cli COMMANDE [OPTIONS]
  list-installers [--json]
  list-disks [--json]
  create-usb --installer I --volume V [--yes] [--password-stdin] [--no-verify] [--json]
  create-iso --installer I [--output PATH] [--yes] [--no-verify] [--json]
  verify --installer I (--volume V | --image ISO) [--json]
  install-package PKG [--json]
  eject V
  available-installers [--json]
  download-installer --version VERSION [--password-stdin] [--json]
I est le nom d’un programme d’installation tel qu’il est listé, ou le chemin de son paquet d’app&#xa0;; V est le nom, le point de montage ou l’identifiant d’appareil d’un volume&#xa0;; VERSION une version de macOS telle que available-installers la liste. Ce qu’écrivent create-usb et create-iso est relu et comparé au programme d’installation, sauf si --no-verify est indiqué.
</translation>
    </message>
    <message>
        <source>this is not a Mac: set TESSALINE_HOST_ROOT to a stand-in Mac, made with &quot;tessaline-standin make-world FOLDER&quot;</source>
        <translation>Ceci n’est pas un Mac&#xa0;: définissez TESSALINE_HOST_ROOT sur un Mac de substitution, créé avec «&#xa0;tessaline-standin make-world DOSSIER&#xa0;»</translation>
    </message>
</context>
<context>
    <name>CompletionView</name>
    <message>
        <source>Close</source>
        <extracomment>Puts away the result of an operation.</extracomment>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Succeeded</source>
        <translation>Réussi</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Annulé</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Échec</translation>
    </message>
    <message>
        <source>Operation Complete</source>
        <translation>Opération terminée</translation>
    </message>
    <message>
        <source>Operation Cancelled</source>
        <translation>Opération annulée</translation>
    </message>
    <message>
        <source>Operation Failed</source>
        <translation>Échec de l’opération</translation>
    </message>
    <message>
        <source>Took %1.</source>
        <extracomment>How long the operation ran; %1 is the time, such as &quot;4 min 12 s&quot;.</extracomment>
        <translation>Durée&#xa0;: %1.</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Toolbar</source>
        <translation>Barre d’outils</translation>
    </message>
    <message>
        <source>Show or Hide the Sidebar</source>
        <translation>Afficher ou masquer la barre latérale</translation>
    </message>
    <message>
        <source>Scan</source>
        <extracomment>A toolbar button; scans for installers.</extracomment>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Scan for Installers (%1)</source>
        <extracomment>%1 is the keyboard shortcut.</extracomment>
        <translation>Rechercher des programmes d’installation (%1)</translation>
    </message>
    <message>
        <source>Refresh</source>
        <extracomment>A toolbar button; lists the disks again.</extracomment>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Refresh Disk List (%1)</source>
        <extracomment>%1 is the keyboard shortcut.</extracomment>
        <translation>Actualiser la liste des disques (%1)</translation>
    </message>
    <message>
        <source>Add</source>
        <extracomment>A toolbar button; adds an installer chosen in a file dialog.</extracomment>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Add macOS Installer</source>
        <translation>Ajouter un programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Info</source>
        <extracomment>A toolbar button; opens the maker&apos;s page about the program.</extracomment>
        <translation>Infos</translation>
    </message>
    <message>
        <source>About Tessaline</source>
        <translation>À propos de Tessaline</translation>
    </message>
    <message>
        <source>Donate</source>
        <extracomment>A toolbar button; opens the page for donations.</extracomment>
        <translation>Don</translation>
    </message>
    <message>
        <source>Support Development</source>
        <translation>Soutenir le développement</translation>
    </message>
</context>
<context>
    <name>DMGCreator</name>
    <message>
        <source>Starting DMG creation...</source>
        <translation>Démarrage de la création du DMG...</translation>
    </message>
    <message>
        <source>No desktop folder to save the ISO to</source>
        <translation>Aucun dossier Bureau où enregistrer le fichier ISO</translation>
    </message>
    <message>
        <source>Removed existing DMG file</source>
        <translation>Fichier DMG existant supprimé</translation>
    </message>
    <message>
        <source>Warning: Could not delete existing DMG file - %1</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>Attention&#xa0;: impossible de supprimer le fichier DMG existant - %1</translation>
    </message>
    <message>
        <source>Removed existing ISO file</source>
        <translation>Fichier ISO existant supprimé</translation>
    </message>
    <message>
        <source>Warning: Could not delete existing ISO file - %1</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>Attention&#xa0;: impossible de supprimer le fichier ISO existant - %1</translation>
    </message>
    <message>
        <source>Cancelled. The partial disk image was removed.</source>
        <translation>Annulé. L’image disque partielle a été supprimée.</translation>
    </message>
    <message>
        <source>Cancelled. %1.</source>
        <extracomment>%1 says which image files are left, where and why.</extracomment>
        <translation>Annulé. %1.</translation>
    </message>
    <message>
        <source>Creating DMG file...</source>
        <translation>Création du fichier DMG...</translation>
    </message>
    <message>
        <source>Allocating space for DMG file (%1)</source>
        <extracomment>%1 is a size (&quot;14.2 GB&quot;).</extracomment>
        <translation>Allocation de l’espace pour le fichier DMG (%1)</translation>
    </message>
    <message>
        <source>DMG file created successfully</source>
        <translation>Fichier DMG créé</translation>
    </message>
    <message>
        <source>Preparing to make DMG bootable</source>
        <translation>Préparation du DMG pour le rendre démarrable</translation>
    </message>
    <message>
        <source>DMG is now bootable</source>
        <translation>Le DMG est maintenant démarrable</translation>
    </message>
    <message>
        <source>Preparing to convert DMG to ISO</source>
        <translation>Préparation de la conversion du DMG en ISO</translation>
    </message>
    <message>
        <source>Converted to ISO successfully</source>
        <translation>Conversion en ISO réussie</translation>
    </message>
    <message>
        <source>Cleaning up temporary files</source>
        <translation>Nettoyage des fichiers temporaires</translation>
    </message>
    <message>
        <source>Cleanup completed</source>
        <translation>Nettoyage terminé</translation>
    </message>
    <message>
        <source>ISO creation complete!</source>
        <translation>Création du fichier ISO terminée&#xa0;!</translation>
    </message>
    <message>
        <source>the disk image&apos;s volume could not be looked up: %1</source>
        <extracomment>%1 is why diskutil could not say.</extracomment>
        <translation>le volume de l’image disque est introuvable&#xa0;: %1</translation>
    </message>
    <message>
        <source>createinstallmedia reported success, but the disk image holds no installer</source>
        <translation>createinstallmedia a signalé une réussite, mais l’image disque ne contient aucun programme d’installation</translation>
    </message>
    <message>
        <source>Creating temporary folder</source>
        <translation>Création du dossier temporaire</translation>
    </message>
    <message>
        <source>Creating source files</source>
        <translation>Création des fichiers source</translation>
    </message>
    <message>
        <source>Creating DMG file (%1 MB)</source>
        <extracomment>%1 is the image&apos;s size in megabytes.</extracomment>
        <translation>Création du fichier DMG (%1 Mo)</translation>
    </message>
    <message>
        <source>Creating DMG: %1</source>
        <extracomment>%1 is what hdiutil printed.</extracomment>
        <translation>Création du DMG&#xa0;: %1</translation>
    </message>
    <message>
        <source>Creating DMG file - please wait...</source>
        <translation>Création du fichier DMG - veuillez patienter...</translation>
    </message>
    <message>
        <source>Failed to create DMG: %1</source>
        <extracomment>%1 is what hdiutil said.</extracomment>
        <translation>Impossible de créer le DMG&#xa0;: %1</translation>
    </message>
    <message>
        <source>DMG file created at %1</source>
        <translation>Fichier DMG créé à l’emplacement %1</translation>
    </message>
    <message>
        <source>Mounting DMG file</source>
        <translation>Montage du fichier DMG</translation>
    </message>
    <message>
        <source>Failed to mount DMG: %1</source>
        <extracomment>%1 is what hdiutil said.</extracomment>
        <translation>Impossible de monter le DMG&#xa0;: %1</translation>
    </message>
    <message>
        <source>DMG mounted but volume not found at %1</source>
        <translation>DMG monté, mais volume introuvable à l’emplacement %1</translation>
    </message>
    <message>
        <source>DMG mounted successfully at %1</source>
        <translation>DMG monté à l’emplacement %1</translation>
    </message>
    <message>
        <source>Copying the installer files to the DMG</source>
        <translation>Copie des fichiers du programme d’installation dans le DMG</translation>
    </message>
    <message>
        <source>Failed to make DMG bootable: %1</source>
        <extracomment>%1 is why, often in createinstallmedia&apos;s words.</extracomment>
        <translation>Impossible de rendre le DMG démarrable&#xa0;: %1</translation>
    </message>
    <message>
        <source>Successfully made DMG bootable</source>
        <translation>Le DMG a été rendu démarrable</translation>
    </message>
    <message>
        <source>Unmounted DMG</source>
        <translation>DMG démonté</translation>
    </message>
    <message>
        <source>Failed to unmount DMG: %1</source>
        <extracomment>%1 is what hdiutil said.</extracomment>
        <translation>Impossible de démonter le DMG&#xa0;: %1</translation>
    </message>
    <message>
        <source>Converting DMG to ISO format</source>
        <translation>Conversion du DMG au format ISO</translation>
    </message>
    <message>
        <source>Converting: %1</source>
        <extracomment>%1 is what hdiutil printed.</extracomment>
        <translation>Conversion&#xa0;: %1</translation>
    </message>
    <message>
        <source>Converting DMG to ISO - please wait...</source>
        <translation>Conversion du DMG en ISO - veuillez patienter...</translation>
    </message>
    <message>
        <source>Failed to convert DMG to ISO: %1</source>
        <extracomment>%1 is what hdiutil said.</extracomment>
        <translation>Impossible de convertir le DMG en ISO&#xa0;: %1</translation>
    </message>
    <message>
        <source>Conversion completed</source>
        <translation>Conversion terminée</translation>
    </message>
    <message>
        <source>Failed to convert DMG to ISO: hdiutil reported success, but wrote nothing at %1</source>
        <translation>Impossible de convertir le DMG en ISO&#xa0;: hdiutil a signalé une réussite, mais n’a rien écrit à l’emplacement %1</translation>
    </message>
    <message>
        <source>Failed to convert DMG to ISO: hdiutil reported success, but wrote %1 bytes of an image of %2</source>
        <extracomment>%1 and %2 are numbers of bytes.</extracomment>
        <translation>Impossible de convertir le DMG en ISO&#xa0;: hdiutil a signalé une réussite, mais n’a écrit que %1 octets d’une image de %2</translation>
    </message>
    <message>
        <source>Renaming CDR file to ISO</source>
        <translation>Renommage du fichier CDR en ISO</translation>
    </message>
</context>
<context>
    <name>DMGCreatorError</name>
    <message>
        <source>Command failed: %1</source>
        <extracomment>%1 is what went wrong.</extracomment>
        <translation>Échec de la commande&#xa0;: %1</translation>
    </message>
    <message>
        <source>Process terminated with status: %1</source>
        <extracomment>%1 is the tool&apos;s exit status, a number.</extracomment>
        <translation>Processus terminé avec le code&#xa0;: %1</translation>
    </message>
    <message>
        <source>Insufficient disk space</source>
        <translation>Espace disque insuffisant</translation>
    </message>
    <message>
        <source>File already exists</source>
        <translation>Le fichier existe déjà</translation>
    </message>
</context>
<context>
    <name>DiskRow</name>
    <message>
        <source>%1 · external disk (not a USB stick)</source>
        <translation>%1 · disque externe (pas une clé USB)</translation>
    </message>
    <message>
        <source>Eject</source>
        <translation>Éjecter</translation>
    </message>
    <message>
        <source>Eject %1</source>
        <extracomment>%1 is the volume&apos;s name.</extracomment>
        <translation>Éjecter «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>not available: %1</source>
        <extracomment>Read out for a disk that cannot be the target; %1 says why.</extracomment>
        <translation>indisponible&#xa0;: %1</translation>
    </message>
    <message>
        <source>selected</source>
        <extracomment>Read out at the end of a selected disk&apos;s row.</extracomment>
        <translation>sélectionné</translation>
    </message>
    <message>
        <source>not selected</source>
        <extracomment>Read out at the end of a disk&apos;s row that is not selected.</extracomment>
        <translation>non sélectionné</translation>
    </message>
    <message>
        <source>%1 external disk (not a USB stick), %2 free, %3, %4</source>
        <extracomment>Read out for a row of the disk table: %1 the size, %2 the free space, %3 the device, %4 whether it is selected.</extracomment>
        <translation>Disque externe (pas une clé USB) de %1, %2 libres, %3, %4</translation>
    </message>
    <message>
        <source>%1 USB volume, %2 free, %3, %4</source>
        <extracomment>Read out for a row of the disk table: %1 the size, %2 the free space, %3 the device, %4 whether it is selected.</extracomment>
        <translation>Volume USB de %1, %2 libres, %3, %4</translation>
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
        <translation>Créer un support démarrable</translation>
    </message>
    <message>
        <source>Select a target USB drive to create a bootable installer. Warning: This will erase all data on the selected drive.</source>
        <translation>Sélectionnez une clé USB cible pour créer un programme d’installation démarrable. Attention&#xa0;: toutes les données du disque sélectionné seront effacées.</translation>
    </message>
    <message>
        <source>Disk</source>
        <translation>Disque</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Free Space</source>
        <translation>Espace libre</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Sélection</translation>
    </message>
    <message>
        <source>Eject</source>
        <translation>Éjecter</translation>
    </message>
    <message>
        <source>Loading available disks...</source>
        <translation>Chargement des disques disponibles...</translation>
    </message>
    <message>
        <source>No removable disks detected</source>
        <translation>Aucun disque amovible détecté</translation>
    </message>
    <message>
        <source>Disks</source>
        <extracomment>What assistive tools call the table of disks.</extracomment>
        <translation>Disques</translation>
    </message>
</context>
<context>
    <name>DiskUtility</name>
    <message>
        <source>diskutil does not name its device</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>diskutil n’indique pas son appareil</translation>
    </message>
    <message>
        <source>it is not mounted</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>il n’est pas monté</translation>
    </message>
    <message>
        <source>it is a disk image</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>c’est une image disque</translation>
    </message>
    <message>
        <source>it is not a physical device</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>ce n’est pas un appareil physique</translation>
    </message>
    <message>
        <source>it is read-only</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>il est en lecture seule</translation>
    </message>
    <message>
        <source>it is a disk inside this Mac</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>c’est un disque interne de ce Mac</translation>
    </message>
    <message>
        <source>it is on the disk this Mac started up from</source>
        <extracomment>Why a volume may not be erased, after “… cannot be erased: ”</extracomment>
        <translation>il se trouve sur le disque à partir duquel ce Mac a démarré</translation>
    </message>
    <message>
        <source>createinstallmedia reported success, but %1 could not be checked: %2. The USB drive may not be bootable.</source>
        <extracomment>%1 is a disk such as disk4, %2 why it could not be checked</extracomment>
        <translation>createinstallmedia a signalé une réussite, mais %1 n’a pas pu être vérifié&#xa0;: %2. La clé USB n’est peut-être pas démarrable.</translation>
    </message>
    <message>
        <source>it names no disk</source>
        <extracomment>Why the disk could not be checked: the target&apos;s device names no disk</extracomment>
        <translation>il ne désigne aucun disque</translation>
    </message>
    <message>
        <source>diskutil did not list it; it may have been removed</source>
        <translation>diskutil ne l’a pas listé&#xa0;; il a peut-être été retiré</translation>
    </message>
    <message>
        <source>createinstallmedia reported success, but no installer volume was found on %1. The USB drive is not bootable.</source>
        <extracomment>%1 is a disk such as disk4</extracomment>
        <translation>createinstallmedia a signalé une réussite, mais aucun volume contenant le programme d’installation n’a été trouvé sur %1. La clé USB n’est pas démarrable.</translation>
    </message>
    <message>
        <source>Could not check %1 again before erasing: %2. Nothing was erased.</source>
        <extracomment>%1 is a device such as disk4s2, %2 why diskutil could not be asked</extracomment>
        <translation>Impossible de vérifier à nouveau %1 avant l’effacement&#xa0;: %2. Rien n’a été effacé.</translation>
    </message>
    <message>
        <source>The selected volume has no device or mount point. Nothing was erased.</source>
        <translation>Le volume sélectionné n’a ni appareil ni point de montage. Rien n’a été effacé.</translation>
    </message>
    <message>
        <source>No volume is mounted at %1 any more. Nothing was erased.</source>
        <extracomment>%1 is a folder such as /Volumes/USB</extracomment>
        <translation>Plus aucun volume n’est monté sur %1. Rien n’a été effacé.</translation>
    </message>
    <message>
        <source>The volume at %1 is now %2, not the selected %3. Nothing was erased.</source>
        <extracomment>%1 is a folder such as /Volumes/USB, %2 and %3 are devices such as disk4s2</extracomment>
        <translation>Le volume situé sur %1 est désormais %2 et non %3, qui avait été sélectionné. Rien n’a été effacé.</translation>
    </message>
    <message>
        <source>%1 is no longer the volume at %2. Nothing was erased.</source>
        <extracomment>%1 is a device such as disk4s2, %2 a folder such as /Volumes/USB</extracomment>
        <translation>%1 n’est plus le volume situé sur %2. Rien n’a été effacé.</translation>
    </message>
    <message>
        <source>%1 at %2 is another volume than the one selected. Nothing was erased.</source>
        <extracomment>%1 is a device such as disk4s2, %2 a folder such as /Volumes/USB</extracomment>
        <translation>%1 sur %2 est un autre volume que celui sélectionné. Rien n’a été effacé.</translation>
    </message>
    <message>
        <source>%1 at %2 cannot be erased: %3. Nothing was erased.</source>
        <extracomment>%1 is a device such as disk4s2, %2 a folder such as /Volumes/USB, %3 why (“it is read-only”)</extracomment>
        <translation>%1 sur %2 ne peut pas être effacé&#xa0;: %3. Rien n’a été effacé.</translation>
    </message>
</context>
<context>
    <name>DiskUtilityError</name>
    <message>
        <source>Command failed: %1</source>
        <extracomment>%1 is what the failing diskutil command said</extracomment>
        <translation>Échec de la commande&#xa0;: %1</translation>
    </message>
    <message>
        <source>Failed to parse disk information</source>
        <translation>Impossible de lire les informations du disque</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 seconds</source>
        <extracomment>%1 is a tool such as diskutil, %2 a number of seconds</extracomment>
        <translation>%1 n’a pas répondu dans un délai de %2 secondes</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 second</source>
        <extracomment>%1 is a tool such as diskutil, %2 the number 1</extracomment>
        <translation>%1 n’a pas répondu dans un délai de %2 seconde</translation>
    </message>
    <message>
        <source>diskutil did not say which disk this Mac started from, so no disk can be offered safely</source>
        <translation>diskutil n’a pas indiqué à partir de quel disque ce Mac a démarré, aucun disque ne peut donc être proposé sans risque</translation>
    </message>
</context>
<context>
    <name>DownloadSheet</name>
    <message>
        <source>Download an Installer</source>
        <translation>Télécharger un programme d’installation</translation>
    </message>
    <message>
        <source>Download a macOS installer from Apple</source>
        <translation>Télécharger un programme d’installation de macOS depuis Apple</translation>
    </message>
    <message>
        <source>The installer is put in Applications, where Tessaline lists it. The download is large and takes a while.</source>
        <translation>Le programme d’installation est placé dans Applications, où Tessaline le répertorie. Le téléchargement est volumineux et prend du temps.</translation>
    </message>
    <message>
        <source>Asking Apple which installers it offers this Mac...</source>
        <translation>Demande à Apple des programmes d’installation proposés pour ce Mac...</translation>
    </message>
    <message>
        <source>Installers offered by Apple</source>
        <translation>Programmes d’installation proposés par Apple</translation>
    </message>
    <message>
        <source>Installer</source>
        <translation>Programme d’installation</translation>
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
        <translation>Taille</translation>
    </message>
    <message>
        <source>Retry</source>
        <extracomment>Asks Apple for the list of installers again.</extracomment>
        <translation>Réessayer</translation>
    </message>
    <message>
        <source>Choose a Package…</source>
        <translation>Choisir un paquet…</translation>
    </message>
    <message>
        <source>Download</source>
        <extracomment>Starts downloading the chosen installer.</extracomment>
        <translation>Télécharger</translation>
    </message>
    <message>
        <source>This Mac cannot list the installers Apple offers: that takes macOS 11 Big Sur or later. Download an InstallAssistant package from Apple with a browser, then choose it here to install the installer from it.</source>
        <translation>Ce Mac ne peut pas répertorier les programmes d’installation proposés par Apple&#xa0;: il faut macOS 11 Big Sur ou ultérieur. Téléchargez un paquet InstallAssistant depuis Apple avec un navigateur, puis choisissez-le ici pour en installer le programme d’installation.</translation>
    </message>
    <message>
        <source>Apple&apos;s list of installers could not be read.
%1</source>
        <extracomment>%1 is what Software Update said.</extracomment>
        <translation>La liste des programmes d’installation d’Apple n’a pas pu être lue.
%1</translation>
    </message>
    <message>
        <source>Apple offers no full installers to this Mac right now.</source>
        <translation>Apple ne propose actuellement aucun programme d’installation complet pour ce Mac.</translation>
    </message>
    <message>
        <source>Deferred by your organisation</source>
        <translation>Reporté par votre organisation</translation>
    </message>
    <message>
        <source>The Mac&apos;s management holds this version back for now.</source>
        <translation>La gestion de ce Mac retient cette version pour l’instant.</translation>
    </message>
    <message>
        <source>In Applications</source>
        <translation>Dans Applications</translation>
    </message>
    <message>
        <source>%1 is in Applications; a download replaces it.</source>
        <extracomment>%1 is the installer&apos;s application name.</extracomment>
        <translation>«&#xa0;%1&#xa0;» se trouve dans Applications&#xa0;; un téléchargement le remplace.</translation>
    </message>
    <message>
        <source>Select macOS Installer Package</source>
        <translation>Sélectionner le paquet d’installation de macOS</translation>
    </message>
    <message>
        <source>Please select an InstallAssistant.pkg file</source>
        <translation>Veuillez sélectionner un fichier InstallAssistant.pkg</translation>
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
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <extracomment>A time taken: %1 hours and %2 minutes, the minutes always in two digits</extracomment>
        <translation>%1 h %2 min</translation>
    </message>
</context>
<context>
    <name>FileDialogPicker</name>
    <message>
        <source>macOS Installers</source>
        <extracomment>The kind of file the dialog offers, before the patterns &quot;(*.app *.pkg)&quot;.</extracomment>
        <translation>Programmes d’installation de macOS</translation>
    </message>
    <message>
        <source>Select macOS Installer</source>
        <translation>Sélectionner le programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Please select a macOS Installer application or package</source>
        <translation>Veuillez sélectionner un programme d’installation de macOS ou un paquet</translation>
    </message>
</context>
<context>
    <name>FolderListing</name>
    <message>
        <source>The folder “%1” can’t be opened: %2</source>
        <extracomment>%1 is a folder&apos;s path, %2 the system&apos;s reason</extracomment>
        <translation>Le dossier «&#xa0;%1&#xa0;» ne peut pas être ouvert&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>FullInstallerTool</name>
    <message>
        <source>softwareupdate could not be started: %1</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>Impossible de lancer softwareupdate&#xa0;: %1</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Annulé</translation>
    </message>
    <message>
        <source>Apple&apos;s servers did not answer within %1. Check the network connection and try again.</source>
        <extracomment>%1 is a length of time (&quot;2 minutes&quot;).</extracomment>
        <translation>Les serveurs d’Apple n’ont pas répondu dans un délai de %1. Vérifiez la connexion réseau et réessayez.</translation>
    </message>
    <message>
        <source>softwareupdate ended with status %1 without a listing</source>
        <extracomment>%1 is the tool&apos;s exit status, a number.</extracomment>
        <translation>softwareupdate s’est terminé avec le code %1 sans fournir de liste</translation>
    </message>
    <message>
        <source>The download did not finish within %1</source>
        <extracomment>%1 is a length of time (&quot;2 hours&quot;).</extracomment>
        <translation>Le téléchargement ne s’est pas terminé dans un délai de %1</translation>
    </message>
    <message>
        <source>Install failed with error: %1</source>
        <extracomment>%1 is the reason softwareupdate gave, in its own words.</extracomment>
        <translation>L’installation a échoué avec l’erreur&#xa0;: %1</translation>
    </message>
    <message>
        <source>softwareupdate ended with status %1</source>
        <extracomment>%1 is the tool&apos;s exit status, a number.</extracomment>
        <translation>softwareupdate s’est terminé avec le code %1</translation>
    </message>
    <message>
        <source>softwareupdate ended with status %1: %2</source>
        <extracomment>%1 is the tool&apos;s exit status, a number; %2 the last thing it said.</extracomment>
        <translation>softwareupdate s’est terminé avec le code %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>softwareupdate reported success, but no installer appeared at %1</source>
        <translation>softwareupdate a signalé une réussite, mais aucun programme d’installation n’est apparu à l’emplacement %1</translation>
    </message>
</context>
<context>
    <name>ImageTool</name>
    <message>
        <source>hdiutil did not finish within %1</source>
        <extracomment>%1 is a length of time (&quot;10 minutes&quot;).</extracomment>
        <translation>hdiutil ne s’est pas terminé dans un délai de %1</translation>
    </message>
</context>
<context>
    <name>InstallMediaFailure</name>
    <message>
        <source>Cancelled. Nothing was erased.</source>
        <translation>Annulé. Rien n’a été effacé.</translation>
    </message>
    <message>
        <source>%1 was erased and is incomplete: erase it or make it again</source>
        <extracomment>%1 is the name of the volume the cancelled run was writing.</extracomment>
        <translation>«&#xa0;%1&#xa0;» a été effacé et est incomplet&#xa0;: effacez-le ou recréez-le</translation>
    </message>
</context>
<context>
    <name>InstallMediaOutput</name>
    <message>
        <source>Erasing target disk for installation</source>
        <translation>Effacement du disque cible pour l’installation</translation>
    </message>
    <message>
        <source>Copying essential installer files</source>
        <translation>Copie des fichiers essentiels du programme d’installation</translation>
    </message>
    <message>
        <source>Copying macOS installer: %1% complete</source>
        <extracomment>%1 is a whole number of percent</extracomment>
        <translation>Copie du programme d’installation de macOS&#xa0;: %1&#xa0;% effectués</translation>
    </message>
    <message>
        <source>Copying macOS installer files</source>
        <translation>Copie des fichiers du programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Creating bootable configuration</source>
        <translation>Création de la configuration de démarrage</translation>
    </message>
    <message>
        <source>Copying boot files</source>
        <translation>Copie des fichiers de démarrage</translation>
    </message>
    <message>
        <source>Finalizing bootable media</source>
        <translation>Finalisation du support démarrable</translation>
    </message>
</context>
<context>
    <name>InstallerApp</name>
    <message>
        <source>Unknown</source>
        <translation>Inconnu</translation>
    </message>
</context>
<context>
    <name>InstallerDetailView</name>
    <message>
        <source>Click to copy icon to clipboard</source>
        <translation>Cliquer pour copier l’icône dans le presse-papiers</translation>
    </message>
    <message>
        <source>Installer icon</source>
        <translation>Icône du programme d’installation</translation>
    </message>
    <message>
        <source>Create ISO</source>
        <translation>Créer un ISO</translation>
    </message>
    <message>
        <source>Create Bootable USB</source>
        <translation>Créer une clé USB</translation>
    </message>
    <message>
        <source>Verify after writing</source>
        <translation>Vérifier après l’écriture</translation>
    </message>
    <message>
        <source>Read the USB drive or ISO back once it is written and compare it with the installer</source>
        <translation>Relire la clé USB ou le fichier ISO une fois écrit et le comparer au programme d’installation</translation>
    </message>
    <message>
        <source>macOS Version: %1 (%2)</source>
        <translation>Version de macOS&#xa0;: %1 (%2)</translation>
    </message>
    <message>
        <source>Installer Version: %1</source>
        <translation>Version du programme d’installation&#xa0;: %1</translation>
    </message>
    <message>
        <source>Installer Size: %1</source>
        <translation>Taille du programme d’installation&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 (codesign: %2)</source>
        <extracomment>%1 is the warning about the signature, %2 what the codesign tool said.</extracomment>
        <translation>%1 (codesign&#xa0;: %2)</translation>
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
        <translation>Échec de l’installation&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>InstallerTree</name>
    <message>
        <source>a folder</source>
        <extracomment>What an entry of the installer is, in “%2 in the installer, %3 on the media”</extracomment>
        <translation>un dossier</translation>
    </message>
    <message>
        <source>a file</source>
        <extracomment>What an entry of the installer is, in “%2 in the installer, %3 on the media”</extracomment>
        <translation>un fichier</translation>
    </message>
    <message>
        <source>a link</source>
        <extracomment>What an entry of the installer is, in “%2 in the installer, %3 on the media”</extracomment>
        <translation>un lien</translation>
    </message>
    <message>
        <source>a special file</source>
        <extracomment>What an entry of the installer is, in “%2 in the installer, %3 on the media”</extracomment>
        <translation>un fichier spécial</translation>
    </message>
    <message>
        <source>%1 byte</source>
        <translation>%1 octet</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 octets</translation>
    </message>
    <message>
        <source>%1: missing on the media</source>
        <extracomment>%1 is a path inside the installer, such as Contents/Info.plist</extracomment>
        <translation>%1&#xa0;: absent du support</translation>
    </message>
    <message>
        <source>%1: on the media only</source>
        <extracomment>%1 is a path inside the installer, such as Contents/Info.plist</extracomment>
        <translation>%1&#xa0;: uniquement sur le support</translation>
    </message>
    <message>
        <source>%1: %2 in the installer, %3 on the media</source>
        <extracomment>%1 is a path inside the installer; %2 and %3 are what it is on each side (“a file”, “12 bytes”)</extracomment>
        <translation>%1&#xa0;: %2 dans le programme d’installation, %3 sur le support</translation>
    </message>
    <message>
        <source>%1: a link to “%2” in the installer, to “%3” on the media</source>
        <extracomment>%1 is a path inside the installer; %2 and %3 are where the link points on each side</extracomment>
        <translation>%1&#xa0;: un lien vers «&#xa0;%2&#xa0;» dans le programme d’installation, vers «&#xa0;%3&#xa0;» sur le support</translation>
    </message>
    <message>
        <source>%1: its content differs (SHA-256 %2 in the installer, %3 on the media)</source>
        <extracomment>%1 is a path inside the installer; %2 and %3 are the checksums of each side</extracomment>
        <translation>%1&#xa0;: son contenu diffère (SHA-256 %2 dans le programme d’installation, %3 sur le support)</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <extracomment>After a list of differences: %1 is how many more there are</extracomment>
        <translation>et %1 autres</translation>
    </message>
</context>
<context>
    <name>LinearProgressBar</name>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Creating Bootable USB</source>
        <translation>Création d’une clé USB démarrable</translation>
    </message>
    <message>
        <source>Creating Bootable ISO</source>
        <translation>Création d’un fichier ISO démarrable</translation>
    </message>
    <message>
        <source>Downloading a macOS Installer</source>
        <translation>Téléchargement d’un programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Verifying Media</source>
        <translation>Vérification du support</translation>
    </message>
    <message>
        <source>Installing macOS Package</source>
        <translation>Installation du paquet macOS</translation>
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
        <translation>%1 n’est pas un dossier</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A file that could not be read: %1 is its path, %2 the system&apos;s reason.</extracomment>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 was removed while it was read</source>
        <translation>%1 a été supprimé pendant sa lecture</translation>
    </message>
    <message>
        <source>The installer could not be read: %1</source>
        <translation>Impossible de lire le programme d’installation&#xa0;: %1</translation>
    </message>
    <message>
        <source>The media could not be read: %1</source>
        <translation>Impossible de lire le support&#xa0;: %1</translation>
    </message>
    <message>
        <source>No installer application was found on %1.</source>
        <translation>Aucun programme d’installation n’a été trouvé sur %1.</translation>
    </message>
    <message>
        <source>The image could not be attached: %1</source>
        <extracomment>%1 is what hdiutil said.</extracomment>
        <translation>Impossible d’associer l’image&#xa0;: %1</translation>
    </message>
    <message>
        <source>The image was attached, but no volume of it was mounted on %1.</source>
        <translation>L’image a été associée, mais aucun de ses volumes n’a été monté sur %1.</translation>
    </message>
    <message>
        <source>The image is still attached as %1: eject it in the Finder. (%2)</source>
        <extracomment>%1 is the image&apos;s device (&quot;/dev/disk7&quot;), %2 what hdiutil said.</extracomment>
        <translation>L’image est toujours associée en tant que %1&#xa0;: éjectez-la dans le Finder. (%2)</translation>
    </message>
</context>
<context>
    <name>Menus</name>
    <message>
        <source>File</source>
        <extracomment>The menu&apos;s title.</extracomment>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>Nouvelle fenêtre</translation>
    </message>
    <message>
        <source>Scan for Installers</source>
        <translation>Rechercher des programmes d’installation</translation>
    </message>
    <message>
        <source>Refresh Disk List</source>
        <translation>Actualiser la liste des disques</translation>
    </message>
    <message>
        <source>Add macOS Installer</source>
        <translation>Ajouter un programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Download an Installer…</source>
        <translation>Télécharger un programme d’installation…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Help</source>
        <extracomment>The menu&apos;s title.</extracomment>
        <translation>Aide</translation>
    </message>
    <message>
        <source>About Corvenna</source>
        <extracomment>Opens the maker&apos;s page; Corvenna is a name.</extracomment>
        <translation>À propos de Corvenna</translation>
    </message>
    <message>
        <source>Support Development</source>
        <translation>Soutenir le développement</translation>
    </message>
</context>
<context>
    <name>NoInstallerSelectedView</name>
    <message>
        <source>No Installer Selected</source>
        <translation>Aucun programme d’installation sélectionné</translation>
    </message>
    <message>
        <source>Select a macOS installer from the sidebar or add a new one.</source>
        <translation>Sélectionnez un programme d’installation de macOS dans la barre latérale ou ajoutez-en un.</translation>
    </message>
    <message>
        <source>Add Application Installer</source>
        <translation>Ajouter un programme</translation>
    </message>
    <message>
        <source>Add InstallAssistant.pkg</source>
        <translation>Ajouter un paquet</translation>
    </message>
    <message>
        <source>Download from Apple…</source>
        <translation>Télécharger d’Apple…</translation>
    </message>
    <message>
        <source>Select macOS Installer</source>
        <translation>Sélectionner le programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Please select a macOS Installer application</source>
        <translation>Veuillez sélectionner un programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Invalid Installer</source>
        <translation>Programme d’installation non valide</translation>
    </message>
    <message>
        <source>The selected application doesn&apos;t appear to be a valid macOS installer.</source>
        <translation>L’application sélectionnée ne semble pas être un programme d’installation de macOS valide.</translation>
    </message>
    <message>
        <source>Select macOS Installer Package</source>
        <translation>Sélectionner le paquet d’installation de macOS</translation>
    </message>
    <message>
        <source>Please select an InstallAssistant.pkg file</source>
        <translation>Veuillez sélectionner un fichier InstallAssistant.pkg</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>Installer packages</source>
        <translation>Paquets d’installation</translation>
    </message>
</context>
<context>
    <name>OverlayTitleBar</name>
    <message>
        <source>Close</source>
        <extracomment>The red window control of the progress window.</extracomment>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Minimize</source>
        <extracomment>The yellow window control, shown unavailable.</extracomment>
        <translation>Placer dans le Dock</translation>
    </message>
    <message>
        <source>Zoom</source>
        <extracomment>The green window control, shown unavailable.</extracomment>
        <translation>Zoom</translation>
    </message>
</context>
<context>
    <name>PartialImages</name>
    <message>
        <source>The unfinished disk image is still attached as %1 and was left at %2</source>
        <extracomment>%1 is the image&apos;s device (&quot;/dev/disk7&quot;), %2 the image file&apos;s path.</extracomment>
        <translation>L’image disque inachevée est toujours associée en tant que %1 et a été laissée à l’emplacement %2</translation>
    </message>
    <message>
        <source>The unfinished disk image could not be removed from %1: %2</source>
        <extracomment>%1 is the image file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>Impossible de supprimer l’image disque inachevée de %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>The partial conversion could not be removed from %1: %2</source>
        <extracomment>%1 is the converted file&apos;s path, %2 the system&apos;s reason.</extracomment>
        <translation>Impossible de supprimer la conversion partielle de %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>ProgressInfo</name>
    <message>
        <source>Operation completed successfully</source>
        <translation>Opération terminée avec succès</translation>
    </message>
    <message>
        <source>Erasing Disk</source>
        <translation>Effacer le disque</translation>
    </message>
    <message>
        <source>Preparing the disk by erasing target volume</source>
        <translation>Préparation du disque par l’effacement du volume cible</translation>
    </message>
    <message>
        <source>Preaparing the Disk</source>
        <extracomment>A step title, misspelt in English on purpose: translate “Preparing the Disk”</extracomment>
        <translation>Préparer le disque</translation>
    </message>
    <message>
        <source>Transferring macOS Installer files, this could take a while...</source>
        <translation>Transfert des fichiers du programme d’installation de macOS, cela peut prendre un moment...</translation>
    </message>
    <message>
        <source>Copying Files</source>
        <translation>Copier les fichiers</translation>
    </message>
    <message>
        <source>Copying macOS installer files</source>
        <translation>Copie des fichiers du programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Making Bootable</source>
        <translation>Rendre démarrable</translation>
    </message>
    <message>
        <source>Making disk bootable</source>
        <translation>Le disque est rendu démarrable</translation>
    </message>
    <message>
        <source>Finishing</source>
        <translation>Finaliser</translation>
    </message>
    <message>
        <source>Finalizing bootable USB</source>
        <translation>Finalisation de la clé USB démarrable</translation>
    </message>
    <message>
        <source>Creating DMG</source>
        <translation>Créer le DMG</translation>
    </message>
    <message>
        <source>Creating empty DMG file</source>
        <translation>Création d’un fichier DMG vide</translation>
    </message>
    <message>
        <source>Making DMG bootable</source>
        <translation>Le DMG est rendu démarrable</translation>
    </message>
    <message>
        <source>Converting</source>
        <translation>Convertir</translation>
    </message>
    <message>
        <source>Converting DMG to ISO</source>
        <translation>Conversion du DMG en ISO</translation>
    </message>
    <message>
        <source>Cleaning up temporary files</source>
        <translation>Suppression des fichiers temporaires</translation>
    </message>
    <message>
        <source>Preparing</source>
        <translation>Préparer</translation>
    </message>
    <message>
        <source>Preparing package installation</source>
        <translation>Préparation de l’installation du paquet</translation>
    </message>
    <message>
        <source>Extracting</source>
        <translation>Extraire</translation>
    </message>
    <message>
        <source>Extracting package contents</source>
        <translation>Extraction du contenu du paquet</translation>
    </message>
    <message>
        <source>Installing</source>
        <translation>Installer</translation>
    </message>
    <message>
        <source>Installing macOS Installer</source>
        <translation>Installation du programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Finalizing installation</source>
        <translation>Finalisation de l’installation</translation>
    </message>
    <message>
        <source>Asking Apple for the installer</source>
        <translation>Demande du programme d’installation à Apple</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Télécharger</translation>
    </message>
    <message>
        <source>Downloading and installing the installer from Apple</source>
        <translation>Téléchargement et installation du programme d’installation depuis Apple</translation>
    </message>
    <message>
        <source>Adding the installer to the library</source>
        <translation>Ajout du programme d’installation à la bibliothèque</translation>
    </message>
    <message>
        <source>Verifying</source>
        <translation>Vérifier</translation>
    </message>
    <message>
        <source>Comparing the media with the installer</source>
        <translation>Comparaison du support avec le programme d’installation</translation>
    </message>
    <message>
        <source>Operation failed: %1</source>
        <extracomment>%1 is why the operation failed</extracomment>
        <translation>Échec de l’opération&#xa0;: %1</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Erreur inconnue</translation>
    </message>
    <message>
        <source>Scanning for macOS installers...</source>
        <translation>Recherche des programmes d’installation de macOS...</translation>
    </message>
</context>
<context>
    <name>ProgressSpinner</name>
    <message>
        <source>In progress</source>
        <translation>En cours</translation>
    </message>
</context>
<context>
    <name>ProgressWindow</name>
    <message>
        <source>Installing macOS package...</source>
        <translation>Installation du paquet macOS...</translation>
    </message>
    <message>
        <source>Downloading the installer...</source>
        <translation>Téléchargement du programme d’installation...</translation>
    </message>
    <message>
        <source>Creating bootable USB...</source>
        <translation>Création de la clé USB démarrable...</translation>
    </message>
    <message>
        <source>Creating bootable disk image...</source>
        <translation>Création de l’image disque démarrable...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>Stops the running operation.</extracomment>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Scanning</source>
        <translation>Recherche en cours</translation>
    </message>
    <message>
        <source>System Integrity Protection is enabled - Using Terminal approach</source>
        <translation>La protection de l’intégrité du système est activée – passage par le Terminal</translation>
    </message>
    <message>
        <source>SIP Enabled</source>
        <extracomment>A small badge: System Integrity Protection is on.</extracomment>
        <translation>SIP activée</translation>
    </message>
    <message>
        <source>Steps</source>
        <extracomment>What assistive tools call the row of dots, one for each step.</extracomment>
        <translation>Étapes</translation>
    </message>
    <message>
        <source>%1% Complete</source>
        <extracomment>%1 is the whole percentage done.</extracomment>
        <translation>%1&#xa0;% terminé</translation>
    </message>
    <message>
        <source>Progress: %1%</source>
        <extracomment>%1 is the whole percentage done.</extracomment>
        <translation>Progression&#xa0;: %1&#xa0;%</translation>
    </message>
    <message>
        <source>Step %1 of %2, done</source>
        <extracomment>Read out for a step&apos;s dot; %1 is its number, %2 how many steps there are.</extracomment>
        <translation>Étape %1 sur %2, terminée</translation>
    </message>
    <message>
        <source>Step %1 of %2, current</source>
        <extracomment>Read out for the dot of the step under way; %1 is its number, %2 how many steps there are.</extracomment>
        <translation>Étape %1 sur %2, en cours</translation>
    </message>
    <message>
        <source>Step %1 of %2, to come</source>
        <extracomment>Read out for a step&apos;s dot; %1 is its number, %2 how many steps there are.</extracomment>
        <translation>Étape %1 sur %2, à venir</translation>
    </message>
    <message>
        <source>Step %1 of %2, not done</source>
        <extracomment>Read out for a step&apos;s dot that was passed without being done; %1 is its number, %2 how many steps there are.</extracomment>
        <translation>Étape %1 sur %2, non effectuée</translation>
    </message>
</context>
<context>
    <name>ScriptEngine</name>
    <message>
        <source>The script did not finish within %1</source>
        <extracomment>%1 is a time limit such as “2 minutes”</extracomment>
        <translation>Le script ne s’est pas terminé dans un délai de %1</translation>
    </message>
</context>
<context>
    <name>SidebarView</name>
    <message>
        <source>Available Installers</source>
        <translation>Programmes d’installation</translation>
    </message>
</context>
<context>
    <name>SignatureCheck</name>
    <message>
        <source>codesign could not be run: %1</source>
        <extracomment>%1 is the system&apos;s reason</extracomment>
        <translation>Impossible d’exécuter codesign&#xa0;: %1</translation>
    </message>
    <message>
        <source>codesign did not finish within %1</source>
        <extracomment>%1 is a time limit such as “15 minutes”</extracomment>
        <translation>codesign ne s’est pas terminé dans un délai de %1</translation>
    </message>
</context>
<context>
    <name>SignatureWarning</name>
    <message>
        <source>⚠ Not signed by Apple: cannot be used</source>
        <translation>⚠ Non signé par Apple&#xa0;: inutilisable</translation>
    </message>
    <message>
        <source>⚠ Apple&apos;s signing certificate has expired</source>
        <translation>⚠ Le certificat de signature d’Apple a expiré</translation>
    </message>
</context>
<context>
    <name>StepRowView</name>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>In progress</source>
        <translation>En cours</translation>
    </message>
</context>
<context>
    <name>TerminalOutputView</name>
    <message>
        <source>Command output</source>
        <translation>Sortie de la commande</translation>
    </message>
</context>
<context>
    <name>TerminalWindow</name>
    <message>
        <source>Enter administrator password:</source>
        <translation>Saisissez le mot de passe administrateur&#xa0;:</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Administrator password</source>
        <translation>Mot de passe administrateur</translation>
    </message>
    <message>
        <source>Cancel</source>
        <extracomment>Cancels making the USB stick instead of giving the password.</extracomment>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Authorize</source>
        <extracomment>Gives the typed password to the command.</extracomment>
        <translation>Autoriser</translation>
    </message>
    <message>
        <source>Close</source>
        <extracomment>Puts away the terminal window once the command has ended.</extracomment>
        <translation>Fermer</translation>
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
        <translation>%1 heure</translation>
    </message>
    <message>
        <source>%1 hours</source>
        <translation>%1 heures</translation>
    </message>
    <message>
        <source>%1 minute</source>
        <translation>%1 minute</translation>
    </message>
    <message>
        <source>%1 minutes</source>
        <translation>%1 minutes</translation>
    </message>
    <message>
        <source>%1 second</source>
        <translation>%1 seconde</translation>
    </message>
    <message>
        <source>%1 seconds</source>
        <translation>%1 secondes</translation>
    </message>
    <message>
        <source>%1 millisecond</source>
        <translation>%1 milliseconde</translation>
    </message>
    <message>
        <source>%1 milliseconds</source>
        <translation>%1 millisecondes</translation>
    </message>
</context>
<context>
    <name>USBCreator</name>
    <message>
        <source>Process timeout exceeded (2 hours)</source>
        <translation>Délai du processus dépassé (2 heures)</translation>
    </message>
    <message>
        <source>Failed to execute command: %1</source>
        <extracomment>%1 is the system&apos;s reason.</extracomment>
        <translation>Impossible d’exécuter la commande&#xa0;: %1</translation>
    </message>
    <message>
        <source>USB creation failed</source>
        <translation>Échec de la création de la clé USB</translation>
    </message>
    <message>
        <source>Bootable USB creation completed</source>
        <translation>Création de la clé USB démarrable terminée</translation>
    </message>
    <message>
        <source>Bootable USB creation successful!</source>
        <translation>Clé USB démarrable créée&#xa0;!</translation>
    </message>
    <message>
        <source>Your USB drive is ready to boot macOS installer</source>
        <translation>Votre clé USB est prête à démarrer le programme d’installation de macOS</translation>
    </message>
    <message>
        <source>USB creation cancelled</source>
        <translation>Création de la clé USB annulée</translation>
    </message>
    <message>
        <source>The command ended with status %1</source>
        <extracomment>%1 is the command&apos;s exit status, a number.</extracomment>
        <translation>La commande s’est terminée avec le code %1</translation>
    </message>
    <message>
        <source>Process terminated with status: %1</source>
        <extracomment>%1 is the command&apos;s exit status, a number.</extracomment>
        <translation>Processus terminé avec le code&#xa0;: %1</translation>
    </message>
    <message>
        <source>Checking the new installer volume</source>
        <translation>Vérification du nouveau volume d’installation</translation>
    </message>
    <message>
        <source>Starting bootable USB creation</source>
        <translation>Démarrage de la création de la clé USB démarrable</translation>
    </message>
    <message>
        <source>Validating disk and installer</source>
        <translation>Validation du disque et du programme d’installation</translation>
    </message>
    <message>
        <source>The selected disk doesn&apos;t have enough space for this installer</source>
        <translation>Le disque sélectionné n’a pas assez d’espace pour ce programme d’installation</translation>
    </message>
    <message>
        <source>Operation failed: %1</source>
        <extracomment>%1 is why.</extracomment>
        <translation>Échec de l’opération&#xa0;: %1</translation>
    </message>
    <message>
        <source>Preparing disk for bootable media</source>
        <translation>Préparation du disque pour le support démarrable</translation>
    </message>
</context>
<context>
    <name>UnifiedProgressOverlay</name>
    <message>
        <source>Scanning for Installers</source>
        <translation>Recherche de programmes d’installation</translation>
    </message>
    <message>
        <source>Installing macOS Package</source>
        <translation>Installation du paquet macOS</translation>
    </message>
    <message>
        <source>Downloading a macOS Installer</source>
        <translation>Téléchargement d’un programme d’installation de macOS</translation>
    </message>
    <message>
        <source>Creating Bootable USB for %1</source>
        <extracomment>%1 is the macOS name, such as &quot;macOS Sonoma&quot;.</extracomment>
        <translation>Création d’une clé USB démarrable pour %1</translation>
    </message>
    <message>
        <source>Creating Bootable USB</source>
        <translation>Création d’une clé USB démarrable</translation>
    </message>
    <message>
        <source>Creating Bootable ISO for %1</source>
        <extracomment>%1 is the macOS name, such as &quot;macOS Sonoma&quot;.</extracomment>
        <translation>Création d’un fichier ISO démarrable pour %1</translation>
    </message>
    <message>
        <source>Creating Bootable Disk Image</source>
        <translation>Création d’une image disque démarrable</translation>
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
