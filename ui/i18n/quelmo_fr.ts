<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AboutBox</name>
    <message>
        <source>Your screen looks away when you do.
Not affiliated with Apple Inc. AirPods is a trademark of Apple Inc.</source>
        <translation>Votre écran détourne les yeux en même temps que vous.
Sans lien avec Apple Inc. AirPods est une marque d’Apple Inc.</translation>
    </message>
    <message>
        <source>About Quelmo</source>
        <translation>À propos de Quelmo</translation>
    </message>
    <message>
        <source>Version %1</source>
        <extracomment>%1 is the version number, for example 1.0.0.</extracomment>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>AppStatus</name>
    <message>
        <source>Paused until %1</source>
        <translation>En pause jusqu’à %1</translation>
    </message>
    <message>
        <source>Finish setup to start</source>
        <translation>Terminez la configuration pour commencer</translation>
    </message>
    <message>
        <source>Motion access is turned off</source>
        <translation>L’accès aux mouvements est désactivé</translation>
    </message>
    <message>
        <source>Quelmo is off</source>
        <translation>Quelmo est désactivé</translation>
    </message>
    <message>
        <source>Resting while the screen is locked</source>
        <translation>En veille pendant que l’écran est verrouillé</translation>
    </message>
    <message>
        <source>Waiting for your AirPods</source>
        <translation>En attente de vos AirPods</translation>
    </message>
    <message>
        <source>Getting ready…</source>
        <translation>Préparation…</translation>
    </message>
    <message>
        <source>Watching. Turn away and it frosts.</source>
        <translation>Actif. Détournez-vous et l’écran se givre.</translation>
    </message>
    <message>
        <source>Frosted. You&apos;re turned away.</source>
        <translation>Givré. Vous êtes détourné.</translation>
    </message>
    <message>
        <source>Frosted. You stepped away.</source>
        <translation>Givré. Vous vous êtes éloigné.</translation>
    </message>
</context>
<context>
    <name>DonePage</name>
    <message>
        <source>Look for the eye. Click it to pause, change how far you have to turn, or turn it off.</source>
        <translation>Cherchez l’œil. Cliquez dessus pour mettre en pause, régler jusqu’où vous devez vous tourner ou le désactiver.</translation>
    </message>
    <message>
        <source>Open Quelmo when I log in</source>
        <translation>Ouvrir Quelmo à l’ouverture de session</translation>
    </message>
    <message>
        <source>Frost stuck? Move the mouse for 3 seconds, or press %1.</source>
        <extracomment>%1 is the hot key, for example Ctrl+Alt+Super+R.</extracomment>
        <translation>Givre bloqué&#xa0;? Bougez la souris 3 secondes ou appuyez sur %1.</translation>
    </message>
    <message>
        <source>Gone for longer? Quelmo can lock the screen after a few minutes away: turn it on in Settings, under &quot;When you leave your desk&quot;.</source>
        <translation>Absent plus longtemps ? Quelmo peut verrouiller l’écran après quelques minutes d’absence : activez-le dans les Réglages, sous « Quand vous quittez votre bureau ».</translation>
    </message>
</context>
<context>
    <name>FrostCard</name>
    <message>
        <source>Welcome back</source>
        <translation>Bon retour</translation>
    </message>
    <message>
        <source>Touch the keyboard or mouse to see your screen</source>
        <translation>Touchez le clavier ou la souris pour voir votre écran</translation>
    </message>
    <message>
        <source>Look back to see your screen</source>
        <translation>Regardez l’écran pour le retrouver</translation>
    </message>
    <message>
        <source>Stuck? Move the mouse for 3 seconds, or press %1</source>
        <extracomment>%1 is the hot key, for example Ctrl+Alt+Super+R.</extracomment>
        <translation>Bloqué&#xa0;? Bougez la souris 3 secondes ou appuyez sur %1</translation>
    </message>
</context>
<context>
    <name>GaugeView</name>
    <message>
        <source>not tracking</source>
        <translation>pas de suivi</translation>
    </message>
    <message numerus="yes">
        <source>%n degrees left</source>
        <translation>
            <numerusform>%n degré à gauche</numerusform>
            <numerusform>%n degrés à gauche</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n degrees right</source>
        <translation>
            <numerusform>%n degré à droite</numerusform>
            <numerusform>%n degrés à droite</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n degrees </source>
        <translation>
            <numerusform>%n degré</numerusform>
            <numerusform>%n degrés</numerusform>
        </translation>
    </message>
    <message>
        <source>Head angle</source>
        <translation>Angle de la tête</translation>
    </message>
</context>
<context>
    <name>LoginItem</name>
    <message>
        <source>Could not remove %1: %2</source>
        <translation>Impossible de supprimer %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Could not create the folder %1.</source>
        <translation>Impossible de créer le dossier %1.</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>Impossible d’écrire %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>MotionAccess</name>
    <message>
        <source>Motion access is on. Quelmo can use head motion from your headphones.</source>
        <translation>L’accès aux mouvements est activé. Quelmo peut utiliser les mouvements de tête captés par vos écouteurs.</translation>
    </message>
    <message>
        <source>Motion access is off. Quelmo cannot tell when you look away.</source>
        <translation>L’accès aux mouvements est désactivé. Quelmo ne peut pas savoir quand vous détournez le regard.</translation>
    </message>
    <message>
        <source>Motion access is restricted on this computer and cannot be changed here.</source>
        <translation>L’accès aux mouvements est restreint sur cet ordinateur et ne peut pas être modifié ici.</translation>
    </message>
    <message>
        <source>You have not decided yet.</source>
        <translation>Vous n’avez pas encore choisi.</translation>
    </message>
    <message>
        <source>Motion Access</source>
        <translation>Accès aux mouvements</translation>
    </message>
    <message>
        <source>Quelmo uses head motion from your headphones to hide the screen when you look away. Nothing is recorded and nothing leaves this computer.</source>
        <translation>Quelmo utilise les mouvements de tête captés par vos écouteurs pour masquer l’écran quand vous détournez le regard. Rien n’est enregistré et rien ne quitte cet ordinateur.</translation>
    </message>
    <message>
        <source>Allow Quelmo to use head motion</source>
        <translation>Autoriser Quelmo à utiliser les mouvements de tête</translation>
    </message>
    <message>
        <source>Could not save your choice: %1</source>
        <translation>Impossible d’enregistrer votre choix&#xa0;: %1</translation>
    </message>
    <message>
        <source>Allow Quelmo to use head motion from your headphones?</source>
        <translation>Autoriser Quelmo à utiliser les mouvements de tête captés par vos écouteurs&#xa0;?</translation>
    </message>
    <message>
        <source>Quelmo follows which way your head points so it can hide the screen when you look away. Nothing is recorded and nothing leaves this computer.</source>
        <translation>Quelmo suit l’orientation de votre tête pour masquer l’écran quand vous détournez le regard. Rien n’est enregistré et rien ne quitte cet ordinateur.</translation>
    </message>
    <message>
        <source>Don&apos;t Allow</source>
        <translation>Ne pas autoriser</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>Autoriser</translation>
    </message>
</context>
<context>
    <name>MoveOffer</name>
    <message>
        <source>The old copy at %1 could not be moved to the trash: %2</source>
        <translation>L’ancienne copie située dans %1 n’a pas pu être mise à la corbeille&#xa0;: %2</translation>
    </message>
    <message>
        <source>The old copy at %1 could not be moved to the trash.</source>
        <translation>L’ancienne copie située dans %1 n’a pas pu être mise à la corbeille.</translation>
    </message>
    <message>
        <source>The folder %1 could not be made.</source>
        <translation>Le dossier %1 n’a pas pu être créé.</translation>
    </message>
    <message>
        <source>%1 could not be copied to %2: %3</source>
        <translation>%1 n’a pas pu être copié dans %2&#xa0;: %3</translation>
    </message>
    <message>
        <source>Not Now</source>
        <translation>Pas maintenant</translation>
    </message>
</context>
<context>
    <name>OnboardingView</name>
    <message>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <source>Step %1 of %2</source>
        <translation>Étape %1 sur %2</translation>
    </message>
    <message>
        <source>Get Started</source>
        <translation>Commencer</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuer</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Passer</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Terminer</translation>
    </message>
    <message>
        <source>Getting ready…</source>
        <translation>Préparation…</translation>
    </message>
</context>
<context>
    <name>PermissionPage</name>
    <message>
        <source>One permission</source>
        <translation>Une seule autorisation</translation>
    </message>
    <message>
        <source>Allow Motion Access</source>
        <translation>Autoriser l’accès aux mouvements</translation>
    </message>
    <message>
        <source>Motion access allowed</source>
        <translation>Accès aux mouvements autorisé</translation>
    </message>
    <message>
        <source>Motion access is turned off</source>
        <translation>L’accès aux mouvements est désactivé</translation>
    </message>
</context>
<context>
    <name>PlatformWording</name>
    <message>
        <source>Ctrl</source>
        <translation>Ctrl</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Maj</translation>
    </message>
    <message>
        <source>Alt</source>
        <translation>Alt</translation>
    </message>
    <message>
        <source>Super</source>
        <translation>Super</translation>
    </message>
    <message>
        <source>Head tracking isn&apos;t available on this computer</source>
        <translation>Le suivi de la tête n’est pas disponible sur cet ordinateur</translation>
    </message>
    <message>
        <source>Put them in your ears and connect them to this computer.</source>
        <translation>Mettez-les dans vos oreilles et connectez-les à cet ordinateur.</translation>
    </message>
    <message>
        <source>Open Motion Access Settings…</source>
        <translation>Réglages de l’accès aux mouvements…</translation>
    </message>
    <message>
        <source>Frost when my AirPods are far from this computer</source>
        <translation>Givrer quand mes AirPods sont loin de cet ordinateur</translation>
    </message>
    <message>
        <source>Stricter. Taking them out at your desk frosts the screen too, until you touch the keyboard or mouse.</source>
        <translation>Plus strict. Les retirer à votre bureau givre aussi l’écran, jusqu’à ce que vous touchiez le clavier ou la souris.</translation>
    </message>
    <message>
        <source>Show my head angle in the tray</source>
        <translation>Afficher l’angle de ma tête dans la zone de notification</translation>
    </message>
    <message>
        <source>Head angles and frost events, saved on this computer only. Capped at 2 MB.</source>
        <translation>Angles de la tête et épisodes de givre, enregistrés uniquement sur cet ordinateur. 2&#xa0;Mo au maximum.</translation>
    </message>
    <message>
        <source>Show Log Folder</source>
        <translation>Afficher le dossier du journal</translation>
    </message>
    <message>
        <source>Runs entirely on this computer. No camera, no account, no network.</source>
        <translation>Fonctionne entièrement sur cet ordinateur. Ni caméra, ni compte, ni réseau.</translation>
    </message>
    <message>
        <source>Quelmo reads the head tracking in your AirPods. Turn to talk to someone and your screen frosts over. Look back and it clears.</source>
        <translation>Quelmo lit le suivi de la tête de vos AirPods. Tournez-vous pour parler à quelqu’un et votre écran se givre. Regardez-le à nouveau et il redevient net.</translation>
    </message>
    <message>
        <source>Quelmo will ask before it reads motion from your AirPods. That&apos;s the only thing it needs. Nothing is recorded and nothing leaves this computer.</source>
        <translation>Quelmo vous demandera l’autorisation avant de lire les mouvements de vos AirPods. C’est tout ce dont il a besoin. Rien n’est enregistré et rien ne quitte cet ordinateur.</translation>
    </message>
    <message>
        <source>Turn it on again in Quelmo&apos;s Motion Access settings.</source>
        <translation>Réactivez-le dans les réglages d’accès aux mouvements de Quelmo.</translation>
    </message>
    <message>
        <source>Connect them to this computer and put them in your ears. Quelmo starts as soon as it hears from them.</source>
        <translation>Connectez-les à cet ordinateur et mettez-les dans vos oreilles. Quelmo démarre dès qu’il les entend.</translation>
    </message>
    <message>
        <source>Quelmo lives in your tray</source>
        <translation>Quelmo vit dans la zone de notification</translation>
    </message>
    <message>
        <source>Install Quelmo in your home folder?</source>
        <translation>Installer Quelmo dans votre dossier personnel&#xa0;?</translation>
    </message>
    <message>
        <source>Quelmo works best installed, so it can start at login and keep its settings in one place.</source>
        <translation>Quelmo fonctionne mieux une fois installé&#xa0;: il peut démarrer à l’ouverture de session et garder ses réglages au même endroit.</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installer</translation>
    </message>
    <message>
        <source>Couldn&apos;t install Quelmo</source>
        <translation>Impossible d’installer Quelmo</translation>
    </message>
    <message>
        <source>%1

Copy Quelmo into ~/.local/bin yourself, then open it from there.</source>
        <translation>%1

Copiez vous-même Quelmo dans ~/.local/bin, puis ouvrez-le depuis cet emplacement.</translation>
    </message>
</context>
<context>
    <name>SettingsHeader</name>
    <message>
        <source>Finish Setup…</source>
        <translation>Terminer la configuration…</translation>
    </message>
    <message>
        <source>Head motion from %1</source>
        <extracomment>%1 names where head motion comes from, for example &quot;AirPods Pro 2 (Bluetooth)&quot;.</extracomment>
        <translation>Mouvements de tête&#xa0;: %1</translation>
    </message>
    <message numerus="yes">
        <source>Head motion from %1 · %n samples a second</source>
        <extracomment>%1 names where head motion comes from, for example &quot;AirPods Pro 2 (Bluetooth)&quot;; %n is how many samples arrive a second.</extracomment>
        <translation>
            <numerusform>Mouvements de tête&#xa0;: %1 · %n mesure par seconde</numerusform>
            <numerusform>Mouvements de tête&#xa0;: %1 · %n mesures par seconde</numerusform>
        </translation>
    </message>
    <message>
        <source>Bluetooth is off or missing, so Quelmo cannot reach your earbuds</source>
        <translation>Le Bluetooth est désactivé ou absent&#xa0;: Quelmo ne peut pas joindre vos écouteurs</translation>
    </message>
    <message>
        <source>No earbuds are connected</source>
        <translation>Aucun écouteur n’est connecté</translation>
    </message>
    <message>
        <source>%1 are connected but share no head motion</source>
        <extracomment>%1 names the earbuds, for example &quot;AirPods Pro (Bluetooth)&quot;.</extracomment>
        <translation>%1 sont connectés mais ne partagent aucun mouvement de tête</translation>
    </message>
    <message>
        <source>Your earbuds are in their case</source>
        <translation>Vos écouteurs sont dans leur boîtier</translation>
    </message>
    <message>
        <source>A head tracker is there but Quelmo may not read it (%1). Run once in a terminal: %2</source>
        <extracomment>%1 names the headset, for example &quot;WH-1000XM5 (Bluetooth)&quot;; %2 is a command to run in a terminal.</extracomment>
        <translation>Un suivi de tête est là, mais Quelmo ne peut pas le lire (%1). Exécutez une fois dans un terminal&#xa0;: %2</translation>
    </message>
    <message>
        <source>A head tracker is there but Quelmo may not read it (%1). Connect the headset again.</source>
        <extracomment>%1 names the headset, for example &quot;WH-1000XM5 (Bluetooth)&quot;.</extracomment>
        <translation>Un suivi de tête est là, mais Quelmo ne peut pas le lire (%1). Reconnectez le casque.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>When to frost</source>
        <translation>Quand givrer</translation>
    </message>
    <message>
        <source>Frost when I turn past</source>
        <translation>Givrer au-delà de</translation>
    </message>
    <message>
        <source>Frost angle</source>
        <translation>Angle de givrage</translation>
    </message>
    <message>
        <source>Use typing and mouse movement to stay accurate</source>
        <translation>Utiliser la frappe et la souris pour rester précis</translation>
    </message>
    <message>
        <source>Quelmo only sees when you last touched a key, never what you typed.</source>
        <translation>Quelmo voit seulement quand vous avez touché une touche pour la dernière fois, jamais ce que vous avez tapé.</translation>
    </message>
    <message>
        <source>When you leave your desk</source>
        <translation>Quand vous quittez votre bureau</translation>
    </message>
    <message>
        <source>Frost when I walk away</source>
        <translation>Givrer quand je m’éloigne</translation>
    </message>
    <message>
        <source>Your AirPods feel your footsteps. The screen stays frosted until you touch the keyboard or mouse again.</source>
        <translation>Vos AirPods sentent vos pas. L’écran reste givré jusqu’à ce que vous touchiez à nouveau le clavier ou la souris.</translation>
    </message>
    <message>
        <source>Uses Bluetooth signal strength, so it works in another room or behind a closed door even on quiet feet.</source>
        <translation>Utilise la force du signal Bluetooth&#xa0;: fonctionne dans une autre pièce ou derrière une porte fermée, même à pas feutrés.</translation>
    </message>
    <message>
        <source>Also frost whenever my AirPods disconnect</source>
        <translation>Givrer aussi dès que mes AirPods se déconnectent</translation>
    </message>
    <message>
        <source>The frost</source>
        <translation>Le givre</translation>
    </message>
    <message>
        <source>Strength</source>
        <translation>Intensité</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Léger</translation>
    </message>
    <message>
        <source>Solid</source>
        <translation>Opaque</translation>
    </message>
    <message>
        <source>See how it looks</source>
        <translation>Voir le rendu</translation>
    </message>
    <message>
        <source>Preview for 2 Seconds</source>
        <translation>Aperçu de 2 secondes</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message>
        <source>Turn Quelmo on</source>
        <translation>Activer Quelmo</translation>
    </message>
    <message>
        <source>Open Quelmo when I log in</source>
        <translation>Ouvrir Quelmo à l’ouverture de session</translation>
    </message>
    <message>
        <source>Clear the frost from anywhere</source>
        <translation>Retirer le givre depuis n’importe où</translation>
    </message>
    <message>
        <source>Troubleshooting</source>
        <translation>Dépannage</translation>
    </message>
    <message>
        <source>Keep a diagnostics log</source>
        <translation>Tenir un journal de diagnostic</translation>
    </message>
    <message>
        <source>Sensitive. Frosts on smaller turns.</source>
        <translation>Sensible. Givre dès les petites rotations.</translation>
    </message>
    <message>
        <source>Balanced. Ignores glances at a second screen.</source>
        <translation>Équilibré. Ignore les coups d’œil vers un second écran.</translation>
    </message>
    <message>
        <source>Relaxed. Only frosts on a full turn.</source>
        <translation>Détendu. Ne givre que si vous vous retournez complètement.</translation>
    </message>
    <message>
        <source>Lock the screen when I&apos;m gone</source>
        <translation>Verrouiller l’écran quand je suis parti</translation>
    </message>
    <message>
        <source>When a frost for being away has lasted this long, Quelmo asks your desktop to lock the session. Turning away never locks.</source>
        <translation>Quand le givre dû à votre absence dure depuis ce temps, Quelmo demande à votre bureau de verrouiller la session. Détourner la tête ne verrouille jamais.</translation>
    </message>
    <message>
        <source>Lock after</source>
        <translation>Verrouiller après</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 minute</translation>
    </message>
    <message>
        <source>2 minutes</source>
        <translation>2 minutes</translation>
    </message>
    <message>
        <source>5 minutes</source>
        <translation>5 minutes</translation>
    </message>
    <message>
        <source>10 minutes</source>
        <translation>10 minutes</translation>
    </message>
    <message>
        <source>Your headset reports turns but not steps: Quelmo notices you leaving by its signal strength</source>
        <translation>Votre casque signale les rotations mais pas les pas&#xa0;: Quelmo remarque votre départ à la force de son signal</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Frosts when you turn past %1°.</source>
        <extracomment>%1 is a whole number of degrees.</extracomment>
        <translation>Givre si vous vous tournez de plus de %1°.</translation>
    </message>
    <message>
        <source>Look back, or move the mouse for 3 seconds.</source>
        <translation>Regardez l’écran ou bougez la souris 3 secondes.</translation>
    </message>
    <message>
        <source>Touch the keyboard or mouse to see your screen.</source>
        <translation>Touchez le clavier ou la souris pour voir votre écran.</translation>
    </message>
    <message>
        <source>Quelmo: %1</source>
        <extracomment>The tray icon&apos;s tool tip; %1 is the status, for example &quot;Quelmo is off&quot;.</extracomment>
        <translation>Quelmo&#xa0;: %1</translation>
    </message>
    <message>
        <source>Finish Setup…</source>
        <translation>Terminer la configuration…</translation>
    </message>
    <message>
        <source>Turn Quelmo Off</source>
        <translation>Désactiver Quelmo</translation>
    </message>
    <message>
        <source>Turn Quelmo On</source>
        <translation>Activer Quelmo</translation>
    </message>
    <message>
        <source>Pause for 30 Minutes</source>
        <translation>Pause de 30 minutes</translation>
    </message>
    <message>
        <source>Resume Now</source>
        <translation>Reprendre maintenant</translation>
    </message>
    <message>
        <source>I&apos;m Facing the Screen</source>
        <translation>Je suis face à l’écran</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Réglages…</translation>
    </message>
    <message>
        <source>Welcome Guide…</source>
        <translation>Guide de bienvenue…</translation>
    </message>
    <message>
        <source>About Quelmo</source>
        <translation>À propos de Quelmo</translation>
    </message>
    <message>
        <source>Quit Quelmo</source>
        <translation>Quitter Quelmo</translation>
    </message>
</context>
<context>
    <name>TryItPage</name>
    <message>
        <source>That&apos;s it</source>
        <translation>C’est tout</translation>
    </message>
    <message>
        <source>You turned away, the screen frosted, and it cleared when you looked back.</source>
        <translation>Vous vous êtes détourné, l’écran s’est givré, puis il est redevenu net quand vous l’avez regardé.</translation>
    </message>
    <message>
        <source>Now turn your head</source>
        <translation>Maintenant, tournez la tête</translation>
    </message>
    <message>
        <source>Look at the screen, then turn to the side as if someone walked up to talk to you.</source>
        <translation>Regardez l’écran, puis tournez-vous sur le côté comme si quelqu’un venait vous parler.</translation>
    </message>
    <message>
        <source>Put your AirPods in</source>
        <translation>Mettez vos AirPods</translation>
    </message>
</context>
<context>
    <name>Usage</name>
    <message>
        <source>Usage: quelmo [OPTION]

Quelmo frosts your screen when you turn away from it or walk off, using the
head-tracking motion of your earbuds. Without options it starts in the tray
(or brings the running Quelmo&apos;s window forward).

Options:
  --add-login-item      open Quelmo when you log in, then exit
  --remove-login-item   stop opening Quelmo at login, then exit
  --send WORD           send a command word to the running Quelmo, then exit
                        (honoured only while its diagnostics log is on)
  --recenter            make the running Quelmo re-centre and clear the frost,
                        as its hot key does, then exit (status 1 when no
                        Quelmo runs); bind it to a key where the desktop
                        offers no global hot key
  --probe-headphones    show what Quelmo sees of your headphones and why it
                        uses them or not, talking to the earbuds for 10 s
                        (--seconds N), every frame written to a file with
                        --capture FILE; send its output with a report
  --help                show this help
  --version             show the version

Command words: recenter, pause, resume, on, off, preview, settings,
onboarding, and for testing (only when Quelmo was started with
QUELMO_TEST_HOOKS=1) fake:on, fake:off, turn:DEGREES, far:DB, walk:on,
walk:off, input:ignore, input:real, drop.
</source>
        <translation>Utilisation : quelmo [OPTION]

Quelmo givre votre écran quand vous vous en détournez ou vous éloignez, grâce
aux mouvements de tête captés par vos écouteurs. Sans option, il démarre dans
la zone de notification (ou fait passer au premier plan la fenêtre du Quelmo
déjà lancé).

Options :
  --add-login-item      ouvrir Quelmo à l’ouverture de session, puis quitter
  --remove-login-item   ne plus ouvrir Quelmo à l’ouverture de session, puis quitter
  --send WORD           envoyer un mot de commande au Quelmo lancé, puis quitter
                        (pris en compte seulement si son journal de diagnostic est actif)
  --recenter            faire recentrer le Quelmo lancé et retirer le givre, comme
                        son raccourci clavier, puis quitter (état 1 si aucun Quelmo
                        ne tourne); associez-le à une touche là où le bureau
                        n’offre pas de raccourci global
  --probe-headphones    montrer ce que Quelmo voit de vos écouteurs et pourquoi
                        il les utilise ou non, en leur parlant 10 s
                        (--seconds N), chaque trame écrite dans un fichier avec
                        --capture FILE&#xa0;; joignez sa sortie à un signalement
  --help                afficher cette aide
  --version             afficher la version

Mots de commande : recenter, pause, resume, on, off, preview, settings,
onboarding, et pour les tests (seulement si Quelmo a été lancé avec
QUELMO_TEST_HOOKS=1) fake:on, fake:off, turn:DEGREES, far:DB, walk:on,
walk:off, input:ignore, input:real, drop.
</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Your screen looks away when you do</source>
        <translation>Votre écran détourne les yeux avec vous</translation>
    </message>
</context>
<context>
    <name>Windows</name>
    <message>
        <source>Quelmo Settings</source>
        <translation>Réglages de Quelmo</translation>
    </message>
    <message>
        <source>Welcome to Quelmo</source>
        <translation>Bienvenue dans Quelmo</translation>
    </message>
</context>
</TS>
