<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutBox</name>
    <message>
        <source>Your screen looks away when you do.
Not affiliated with Apple Inc. AirPods is a trademark of Apple Inc.</source>
        <translation>Dein Bildschirm schaut weg, wenn du es tust.
Nicht mit Apple Inc. verbunden. AirPods ist eine Marke von Apple Inc.</translation>
    </message>
    <message>
        <source>About Quelmo</source>
        <translation>Über Quelmo</translation>
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
        <translation>Pausiert bis %1</translation>
    </message>
    <message>
        <source>Finish setup to start</source>
        <translation>Einrichtung abschließen, um zu starten</translation>
    </message>
    <message>
        <source>Motion access is turned off</source>
        <translation>Bewegungszugriff ist ausgeschaltet</translation>
    </message>
    <message>
        <source>Quelmo is off</source>
        <translation>Quelmo ist aus</translation>
    </message>
    <message>
        <source>Resting while the screen is locked</source>
        <translation>Pause, solange der Bildschirm gesperrt ist</translation>
    </message>
    <message>
        <source>Waiting for your AirPods</source>
        <translation>Warte auf deine AirPods</translation>
    </message>
    <message>
        <source>Getting ready…</source>
        <translation>Wird vorbereitet&#xa0;…</translation>
    </message>
    <message>
        <source>Watching. Turn away and it frosts.</source>
        <translation>Aktiv. Schau weg, und er wird verschleiert.</translation>
    </message>
    <message>
        <source>Frosted. You&apos;re turned away.</source>
        <translation>Verschleiert. Du schaust weg.</translation>
    </message>
    <message>
        <source>Frosted. You stepped away.</source>
        <translation>Verschleiert. Du bist weggegangen.</translation>
    </message>
</context>
<context>
    <name>DonePage</name>
    <message>
        <source>Look for the eye. Click it to pause, change how far you have to turn, or turn it off.</source>
        <translation>Such nach dem Auge. Klick darauf, um zu pausieren, einzustellen, wie weit du dich drehen musst, oder um Quelmo auszuschalten.</translation>
    </message>
    <message>
        <source>Open Quelmo when I log in</source>
        <translation>Quelmo beim Anmelden öffnen</translation>
    </message>
    <message>
        <source>Frost stuck? Move the mouse for 3 seconds, or press %1.</source>
        <extracomment>%1 is the hot key, for example Ctrl+Alt+Super+R.</extracomment>
        <translation>Schleier hängt? Bewege 3 Sekunden lang die Maus oder drücke %1.</translation>
    </message>
    <message>
        <source>Gone for longer? Quelmo can lock the screen after a few minutes away: turn it on in Settings, under &quot;When you leave your desk&quot;.</source>
        <translation>Länger weg? Quelmo kann den Bildschirm nach ein paar Minuten Abwesenheit sperren: Schalte es in den Einstellungen unter „Wenn du deinen Platz verlässt“ ein.</translation>
    </message>
</context>
<context>
    <name>FrostCard</name>
    <message>
        <source>Welcome back</source>
        <translation>Willkommen zurück</translation>
    </message>
    <message>
        <source>Touch the keyboard or mouse to see your screen</source>
        <translation>Berühre Tastatur oder Maus, um deinen Bildschirm zu sehen</translation>
    </message>
    <message>
        <source>Look back to see your screen</source>
        <translation>Schau zurück, um deinen Bildschirm zu sehen</translation>
    </message>
    <message>
        <source>Stuck? Move the mouse for 3 seconds, or press %1</source>
        <extracomment>%1 is the hot key, for example Ctrl+Alt+Super+R.</extracomment>
        <translation>Hängt es? Bewege 3 Sekunden lang die Maus oder drücke %1</translation>
    </message>
</context>
<context>
    <name>GaugeView</name>
    <message>
        <source>not tracking</source>
        <translation>keine Verfolgung</translation>
    </message>
    <message numerus="yes">
        <source>%n degrees left</source>
        <translation>
            <numerusform>%n Grad links</numerusform>
            <numerusform>%n Grad links</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n degrees right</source>
        <translation>
            <numerusform>%n Grad rechts</numerusform>
            <numerusform>%n Grad rechts</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n degrees </source>
        <translation>
            <numerusform>%n Grad</numerusform>
            <numerusform>%n Grad</numerusform>
        </translation>
    </message>
    <message>
        <source>Head angle</source>
        <translation>Kopfwinkel</translation>
    </message>
</context>
<context>
    <name>LoginItem</name>
    <message>
        <source>Could not remove %1: %2</source>
        <translation>%1 konnte nicht entfernt werden: %2</translation>
    </message>
    <message>
        <source>Could not create the folder %1.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>MotionAccess</name>
    <message>
        <source>Motion access is on. Quelmo can use head motion from your headphones.</source>
        <translation>Bewegungszugriff ist eingeschaltet. Quelmo kann die Kopfbewegung deiner Kopfhörer nutzen.</translation>
    </message>
    <message>
        <source>Motion access is off. Quelmo cannot tell when you look away.</source>
        <translation>Bewegungszugriff ist ausgeschaltet. Quelmo kann nicht erkennen, wann du wegschaust.</translation>
    </message>
    <message>
        <source>Motion access is restricted on this computer and cannot be changed here.</source>
        <translation>Bewegungszugriff ist auf diesem Computer eingeschränkt und kann hier nicht geändert werden.</translation>
    </message>
    <message>
        <source>You have not decided yet.</source>
        <translation>Du hast dich noch nicht entschieden.</translation>
    </message>
    <message>
        <source>Motion Access</source>
        <translation>Bewegungszugriff</translation>
    </message>
    <message>
        <source>Quelmo uses head motion from your headphones to hide the screen when you look away. Nothing is recorded and nothing leaves this computer.</source>
        <translation>Quelmo nutzt die Kopfbewegung deiner Kopfhörer, um den Bildschirm zu verbergen, wenn du wegschaust. Nichts wird aufgezeichnet und nichts verlässt diesen Computer.</translation>
    </message>
    <message>
        <source>Allow Quelmo to use head motion</source>
        <translation>Quelmo die Kopfbewegung nutzen lassen</translation>
    </message>
    <message>
        <source>Could not save your choice: %1</source>
        <translation>Deine Auswahl konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Allow Quelmo to use head motion from your headphones?</source>
        <translation>Darf Quelmo die Kopfbewegung deiner Kopfhörer nutzen?</translation>
    </message>
    <message>
        <source>Quelmo follows which way your head points so it can hide the screen when you look away. Nothing is recorded and nothing leaves this computer.</source>
        <translation>Quelmo verfolgt, wohin dein Kopf zeigt, damit es den Bildschirm verbergen kann, wenn du wegschaust. Nichts wird aufgezeichnet und nichts verlässt diesen Computer.</translation>
    </message>
    <message>
        <source>Don&apos;t Allow</source>
        <translation>Nicht erlauben</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>Erlauben</translation>
    </message>
</context>
<context>
    <name>MoveOffer</name>
    <message>
        <source>The old copy at %1 could not be moved to the trash: %2</source>
        <translation>Die alte Kopie unter %1 konnte nicht in den Papierkorb verschoben werden: %2</translation>
    </message>
    <message>
        <source>The old copy at %1 could not be moved to the trash.</source>
        <translation>Die alte Kopie unter %1 konnte nicht in den Papierkorb verschoben werden.</translation>
    </message>
    <message>
        <source>The folder %1 could not be made.</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>%1 could not be copied to %2: %3</source>
        <translation>%1 konnte nicht nach %2 kopiert werden: %3</translation>
    </message>
    <message>
        <source>Not Now</source>
        <translation>Nicht jetzt</translation>
    </message>
</context>
<context>
    <name>OnboardingView</name>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Step %1 of %2</source>
        <translation>Schritt %1 von %2</translation>
    </message>
    <message>
        <source>Get Started</source>
        <translation>Los geht’s</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Getting ready…</source>
        <translation>Wird vorbereitet&#xa0;…</translation>
    </message>
</context>
<context>
    <name>PermissionPage</name>
    <message>
        <source>One permission</source>
        <translation>Eine einzige Erlaubnis</translation>
    </message>
    <message>
        <source>Allow Motion Access</source>
        <translation>Bewegungszugriff erlauben</translation>
    </message>
    <message>
        <source>Motion access allowed</source>
        <translation>Bewegungszugriff erlaubt</translation>
    </message>
    <message>
        <source>Motion access is turned off</source>
        <translation>Bewegungszugriff ist ausgeschaltet</translation>
    </message>
</context>
<context>
    <name>PlatformWording</name>
    <message>
        <source>Ctrl</source>
        <translation>Strg</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>Umschalt</translation>
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
        <translation>Kopfverfolgung ist auf diesem Computer nicht verfügbar</translation>
    </message>
    <message>
        <source>Put them in your ears and connect them to this computer.</source>
        <translation>Setz sie ein und verbinde sie mit diesem Computer.</translation>
    </message>
    <message>
        <source>Open Motion Access Settings…</source>
        <translation>Bewegungszugriff einstellen&#xa0;…</translation>
    </message>
    <message>
        <source>Frost when my AirPods are far from this computer</source>
        <translation>Verschleiern, wenn meine AirPods weit weg vom Computer sind</translation>
    </message>
    <message>
        <source>Stricter. Taking them out at your desk frosts the screen too, until you touch the keyboard or mouse.</source>
        <translation>Strenger. Auch wenn du sie am Schreibtisch herausnimmst, wird der Bildschirm verschleiert, bis du Tastatur oder Maus berührst.</translation>
    </message>
    <message>
        <source>Show my head angle in the tray</source>
        <translation>Meinen Kopfwinkel in der Systemleiste zeigen</translation>
    </message>
    <message>
        <source>Head angles and frost events, saved on this computer only. Capped at 2 MB.</source>
        <translation>Kopfwinkel und Schleier-Ereignisse, nur auf diesem Computer gespeichert. Höchstens 2&#xa0;MB.</translation>
    </message>
    <message>
        <source>Show Log Folder</source>
        <translation>Protokollordner zeigen</translation>
    </message>
    <message>
        <source>Runs entirely on this computer. No camera, no account, no network.</source>
        <translation>Läuft ganz auf diesem Computer. Keine Kamera, kein Konto, kein Netzwerk.</translation>
    </message>
    <message>
        <source>Quelmo reads the head tracking in your AirPods. Turn to talk to someone and your screen frosts over. Look back and it clears.</source>
        <translation>Quelmo liest die Kopfverfolgung deiner AirPods. Dreh dich zu jemandem um, und dein Bildschirm wird verschleiert. Schau zurück, und er wird wieder klar.</translation>
    </message>
    <message>
        <source>Quelmo will ask before it reads motion from your AirPods. That&apos;s the only thing it needs. Nothing is recorded and nothing leaves this computer.</source>
        <translation>Quelmo fragt, bevor es die Bewegung deiner AirPods liest. Mehr braucht es nicht. Nichts wird aufgezeichnet und nichts verlässt diesen Computer.</translation>
    </message>
    <message>
        <source>Turn it on again in Quelmo&apos;s Motion Access settings.</source>
        <translation>Schalte ihn in Quelmo unter „Bewegungszugriff“ wieder ein.</translation>
    </message>
    <message>
        <source>Connect them to this computer and put them in your ears. Quelmo starts as soon as it hears from them.</source>
        <translation>Verbinde sie mit diesem Computer und setz sie ein. Quelmo startet, sobald es von ihnen hört.</translation>
    </message>
    <message>
        <source>Quelmo lives in your tray</source>
        <translation>Quelmo wohnt in der Systemleiste</translation>
    </message>
    <message>
        <source>Install Quelmo in your home folder?</source>
        <translation>Quelmo in deinem persönlichen Ordner installieren?</translation>
    </message>
    <message>
        <source>Quelmo works best installed, so it can start at login and keep its settings in one place.</source>
        <translation>Quelmo funktioniert installiert am besten: So kann es beim Anmelden starten und seine Einstellungen an einem Ort behalten.</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installieren</translation>
    </message>
    <message>
        <source>Couldn&apos;t install Quelmo</source>
        <translation>Quelmo konnte nicht installiert werden</translation>
    </message>
    <message>
        <source>%1

Copy Quelmo into ~/.local/bin yourself, then open it from there.</source>
        <translation>%1

Kopiere Quelmo selbst nach ~/.local/bin und öffne es dann von dort.</translation>
    </message>
</context>
<context>
    <name>SettingsHeader</name>
    <message>
        <source>Finish Setup…</source>
        <translation>Einrichtung abschließen&#xa0;…</translation>
    </message>
    <message>
        <source>Head motion from %1</source>
        <extracomment>%1 names where head motion comes from, for example &quot;AirPods Pro 2 (Bluetooth)&quot;.</extracomment>
        <translation>Kopfbewegung von %1</translation>
    </message>
    <message numerus="yes">
        <source>Head motion from %1 · %n samples a second</source>
        <extracomment>%1 names where head motion comes from, for example &quot;AirPods Pro 2 (Bluetooth)&quot;; %n is how many samples arrive a second.</extracomment>
        <translation>
            <numerusform>Kopfbewegung von %1 · %n Messwert pro Sekunde</numerusform>
            <numerusform>Kopfbewegung von %1 · %n Messwerte pro Sekunde</numerusform>
        </translation>
    </message>
    <message>
        <source>Bluetooth is off or missing, so Quelmo cannot reach your earbuds</source>
        <translation>Bluetooth ist aus oder fehlt, daher erreicht Quelmo deine Ohrhörer nicht</translation>
    </message>
    <message>
        <source>No earbuds are connected</source>
        <translation>Keine Ohrhörer verbunden</translation>
    </message>
    <message>
        <source>%1 are connected but share no head motion</source>
        <extracomment>%1 names the earbuds, for example &quot;AirPods Pro (Bluetooth)&quot;.</extracomment>
        <translation>%1 sind verbunden, teilen aber keine Kopfbewegung</translation>
    </message>
    <message>
        <source>Your earbuds are in their case</source>
        <translation>Deine Ohrhörer liegen im Etui</translation>
    </message>
    <message>
        <source>A head tracker is there but Quelmo may not read it (%1). Run once in a terminal: %2</source>
        <extracomment>%1 names the headset, for example &quot;WH-1000XM5 (Bluetooth)&quot;; %2 is a command to run in a terminal.</extracomment>
        <translation>Ein Head-Tracker ist da, aber Quelmo darf ihn nicht lesen (%1). Führe einmal in einem Terminal aus: %2</translation>
    </message>
    <message>
        <source>A head tracker is there but Quelmo may not read it (%1). Connect the headset again.</source>
        <extracomment>%1 names the headset, for example &quot;WH-1000XM5 (Bluetooth)&quot;.</extracomment>
        <translation>Ein Head-Tracker ist da, aber Quelmo darf ihn nicht lesen (%1). Verbinde das Headset neu.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>When to frost</source>
        <translation>Wann verschleiern</translation>
    </message>
    <message>
        <source>Frost when I turn past</source>
        <translation>Verschleiern ab einer Drehung um</translation>
    </message>
    <message>
        <source>Frost angle</source>
        <translation>Schleierwinkel</translation>
    </message>
    <message>
        <source>Use typing and mouse movement to stay accurate</source>
        <translation>Tippen und Mausbewegungen für mehr Genauigkeit nutzen</translation>
    </message>
    <message>
        <source>Quelmo only sees when you last touched a key, never what you typed.</source>
        <translation>Quelmo sieht nur, wann du zuletzt eine Taste berührt hast, nie, was du getippt hast.</translation>
    </message>
    <message>
        <source>When you leave your desk</source>
        <translation>Wenn du deinen Platz verlässt</translation>
    </message>
    <message>
        <source>Frost when I walk away</source>
        <translation>Verschleiern, wenn ich weggehe</translation>
    </message>
    <message>
        <source>Your AirPods feel your footsteps. The screen stays frosted until you touch the keyboard or mouse again.</source>
        <translation>Deine AirPods spüren deine Schritte. Der Bildschirm bleibt verschleiert, bis du wieder Tastatur oder Maus berührst.</translation>
    </message>
    <message>
        <source>Uses Bluetooth signal strength, so it works in another room or behind a closed door even on quiet feet.</source>
        <translation>Nutzt die Bluetooth-Signalstärke und wirkt so auch im Nebenraum oder hinter geschlossener Tür, selbst auf leisen Sohlen.</translation>
    </message>
    <message>
        <source>Also frost whenever my AirPods disconnect</source>
        <translation>Auch verschleiern, wenn sich meine AirPods trennen</translation>
    </message>
    <message>
        <source>The frost</source>
        <translation>Der Schleier</translation>
    </message>
    <message>
        <source>Strength</source>
        <translation>Stärke</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Leicht</translation>
    </message>
    <message>
        <source>Solid</source>
        <translation>Dicht</translation>
    </message>
    <message>
        <source>See how it looks</source>
        <translation>So sieht es aus</translation>
    </message>
    <message>
        <source>Preview for 2 Seconds</source>
        <translation>2 Sekunden Vorschau</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Turn Quelmo on</source>
        <translation>Quelmo einschalten</translation>
    </message>
    <message>
        <source>Open Quelmo when I log in</source>
        <translation>Quelmo beim Anmelden öffnen</translation>
    </message>
    <message>
        <source>Clear the frost from anywhere</source>
        <translation>Schleier von überall aus entfernen</translation>
    </message>
    <message>
        <source>Troubleshooting</source>
        <translation>Fehlerbehebung</translation>
    </message>
    <message>
        <source>Keep a diagnostics log</source>
        <translation>Diagnoseprotokoll führen</translation>
    </message>
    <message>
        <source>Sensitive. Frosts on smaller turns.</source>
        <translation>Empfindlich. Verschleiert schon bei kleineren Drehungen.</translation>
    </message>
    <message>
        <source>Balanced. Ignores glances at a second screen.</source>
        <translation>Ausgewogen. Ignoriert Blicke auf einen zweiten Bildschirm.</translation>
    </message>
    <message>
        <source>Relaxed. Only frosts on a full turn.</source>
        <translation>Gelassen. Verschleiert nur bei einer ganzen Drehung.</translation>
    </message>
    <message>
        <source>Lock the screen when I&apos;m gone</source>
        <translation>Bildschirm sperren, wenn ich weg bin</translation>
    </message>
    <message>
        <source>When a frost for being away has lasted this long, Quelmo asks your desktop to lock the session. Turning away never locks.</source>
        <translation>Bleibt der Bildschirm so lange verschleiert, weil du weg bist, bittet Quelmo deinen Desktop, die Sitzung zu sperren. Wegdrehen sperrt nie.</translation>
    </message>
    <message>
        <source>Lock after</source>
        <translation>Sperren nach</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 Minute</translation>
    </message>
    <message>
        <source>2 minutes</source>
        <translation>2 Minuten</translation>
    </message>
    <message>
        <source>5 minutes</source>
        <translation>5 Minuten</translation>
    </message>
    <message>
        <source>10 minutes</source>
        <translation>10 Minuten</translation>
    </message>
    <message>
        <source>Your headset reports turns but not steps: Quelmo notices you leaving by its signal strength</source>
        <translation>Dein Headset meldet Drehungen, aber keine Schritte: Quelmo bemerkt dein Weggehen an seiner Signalstärke</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Frosts when you turn past %1°.</source>
        <extracomment>%1 is a whole number of degrees.</extracomment>
        <translation>Verschleiert, wenn du dich weiter als %1° drehst.</translation>
    </message>
    <message>
        <source>Look back, or move the mouse for 3 seconds.</source>
        <translation>Schau zurück oder bewege 3 Sekunden lang die Maus.</translation>
    </message>
    <message>
        <source>Touch the keyboard or mouse to see your screen.</source>
        <translation>Berühre Tastatur oder Maus, um deinen Bildschirm zu sehen.</translation>
    </message>
    <message>
        <source>Quelmo: %1</source>
        <extracomment>The tray icon&apos;s tool tip; %1 is the status, for example &quot;Quelmo is off&quot;.</extracomment>
        <translation>Quelmo: %1</translation>
    </message>
    <message>
        <source>Finish Setup…</source>
        <translation>Einrichtung abschließen&#xa0;…</translation>
    </message>
    <message>
        <source>Turn Quelmo Off</source>
        <translation>Quelmo ausschalten</translation>
    </message>
    <message>
        <source>Turn Quelmo On</source>
        <translation>Quelmo einschalten</translation>
    </message>
    <message>
        <source>Pause for 30 Minutes</source>
        <translation>30 Minuten pausieren</translation>
    </message>
    <message>
        <source>Resume Now</source>
        <translation>Jetzt fortsetzen</translation>
    </message>
    <message>
        <source>I&apos;m Facing the Screen</source>
        <translation>Ich schaue auf den Bildschirm</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen&#xa0;…</translation>
    </message>
    <message>
        <source>Welcome Guide…</source>
        <translation>Einführung&#xa0;…</translation>
    </message>
    <message>
        <source>About Quelmo</source>
        <translation>Über Quelmo</translation>
    </message>
    <message>
        <source>Quit Quelmo</source>
        <translation>Quelmo beenden</translation>
    </message>
</context>
<context>
    <name>TryItPage</name>
    <message>
        <source>That&apos;s it</source>
        <translation>Das war’s</translation>
    </message>
    <message>
        <source>You turned away, the screen frosted, and it cleared when you looked back.</source>
        <translation>Du hast dich abgewendet, der Bildschirm wurde verschleiert und wieder klar, als du zurückgeschaut hast.</translation>
    </message>
    <message>
        <source>Now turn your head</source>
        <translation>Jetzt dreh den Kopf</translation>
    </message>
    <message>
        <source>Look at the screen, then turn to the side as if someone walked up to talk to you.</source>
        <translation>Schau auf den Bildschirm und dreh dich dann zur Seite, als käme jemand, um mit dir zu reden.</translation>
    </message>
    <message>
        <source>Put your AirPods in</source>
        <translation>Setz deine AirPods ein</translation>
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
        <translation>Aufruf: quelmo [OPTION]

Quelmo verschleiert deinen Bildschirm, wenn du dich abwendest oder weggehst,
anhand der Kopfbewegung deiner Ohrhörer. Ohne Optionen startet es in der
Systemleiste (oder holt das Fenster des laufenden Quelmo nach vorn).

Optionen:
  --add-login-item      Quelmo beim Anmelden öffnen, dann beenden
  --remove-login-item   Quelmo nicht mehr beim Anmelden öffnen, dann beenden
  --send WORD           ein Befehlswort an das laufende Quelmo senden, dann beenden
                        (wird nur beachtet, solange sein Diagnoseprotokoll an ist)
  --recenter            das laufende Quelmo neu ausrichten und den Schleier
                        entfernen lassen, wie sein Tastenkürzel, dann beenden
                        (Status 1, wenn kein Quelmo läuft); lege es auf eine Taste,
                        wo der Desktop kein globales Tastenkürzel bietet
  --probe-headphones    zeigen, was Quelmo von deinen Kopfhörern sieht und warum
                        es sie nutzt oder nicht, 10 s im Gespräch mit den
                        Ohrhörern (--seconds N), jeder Rahmen mit --capture FILE
                        in eine Datei geschrieben; schick die Ausgabe mit einem Bericht
  --help                diese Hilfe zeigen
  --version             die Version zeigen

Befehlswörter: recenter, pause, resume, on, off, preview, settings,
onboarding, und zum Testen (nur wenn Quelmo mit QUELMO_TEST_HOOKS=1
gestartet wurde) fake:on, fake:off, turn:DEGREES, far:DB, walk:on,
walk:off, input:ignore, input:real, drop.
</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Your screen looks away when you do</source>
        <translation>Dein Bildschirm schaut weg, wenn du es tust</translation>
    </message>
</context>
<context>
    <name>Windows</name>
    <message>
        <source>Quelmo Settings</source>
        <translation>Quelmo-Einstellungen</translation>
    </message>
    <message>
        <source>Welcome to Quelmo</source>
        <translation>Willkommen bei Quelmo</translation>
    </message>
</context>
</TS>
