<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>AboutBox</name>
    <message>
        <source>Your screen looks away when you do.
Not affiliated with Apple Inc. AirPods is a trademark of Apple Inc.</source>
        <translation>Tu pantalla aparta la vista cuando tú lo haces.
Sin relación con Apple Inc. AirPods es una marca comercial de Apple Inc.</translation>
    </message>
    <message>
        <source>About Quelmo</source>
        <translation>Acerca de Quelmo</translation>
    </message>
    <message>
        <source>Version %1</source>
        <extracomment>%1 is the version number, for example 1.0.0.</extracomment>
        <translation>Versión %1</translation>
    </message>
</context>
<context>
    <name>AppStatus</name>
    <message>
        <source>Paused until %1</source>
        <translation>En pausa hasta las %1</translation>
    </message>
    <message>
        <source>Finish setup to start</source>
        <translation>Termina la configuración para empezar</translation>
    </message>
    <message>
        <source>Motion access is turned off</source>
        <translation>El acceso al movimiento está desactivado</translation>
    </message>
    <message>
        <source>Quelmo is off</source>
        <translation>Quelmo está desactivado</translation>
    </message>
    <message>
        <source>Resting while the screen is locked</source>
        <translation>En reposo mientras la pantalla está bloqueada</translation>
    </message>
    <message>
        <source>Waiting for your AirPods</source>
        <translation>Esperando tus AirPods</translation>
    </message>
    <message>
        <source>Getting ready…</source>
        <translation>Preparando…</translation>
    </message>
    <message>
        <source>Watching. Turn away and it frosts.</source>
        <translation>Vigilando. Gírate y se escarcha.</translation>
    </message>
    <message>
        <source>Frosted. You&apos;re turned away.</source>
        <translation>Escarchada. Has girado la cabeza.</translation>
    </message>
    <message>
        <source>Frosted. You stepped away.</source>
        <translation>Escarchada. Te has alejado.</translation>
    </message>
</context>
<context>
    <name>DonePage</name>
    <message>
        <source>Look for the eye. Click it to pause, change how far you have to turn, or turn it off.</source>
        <translation>Busca el ojo. Haz clic en él para pausar, cambiar cuánto tienes que girarte o desactivarlo.</translation>
    </message>
    <message>
        <source>Open Quelmo when I log in</source>
        <translation>Abrir Quelmo al iniciar sesión</translation>
    </message>
    <message>
        <source>Frost stuck? Move the mouse for 3 seconds, or press %1.</source>
        <extracomment>%1 is the hot key, for example Ctrl+Alt+Super+R.</extracomment>
        <translation>¿La escarcha no se va? Mueve el ratón 3 segundos o pulsa %1.</translation>
    </message>
    <message>
        <source>Gone for longer? Quelmo can lock the screen after a few minutes away: turn it on in Settings, under &quot;When you leave your desk&quot;.</source>
        <translation>¿Te vas por más tiempo? Quelmo puede bloquear la pantalla tras unos minutos de ausencia: actívalo en Ajustes, en «Cuando te alejas de tu mesa».</translation>
    </message>
</context>
<context>
    <name>FrostCard</name>
    <message>
        <source>Welcome back</source>
        <translation>Hola de nuevo</translation>
    </message>
    <message>
        <source>Touch the keyboard or mouse to see your screen</source>
        <translation>Toca el teclado o el ratón para ver tu pantalla</translation>
    </message>
    <message>
        <source>Look back to see your screen</source>
        <translation>Vuelve a mirar para ver tu pantalla</translation>
    </message>
    <message>
        <source>Stuck? Move the mouse for 3 seconds, or press %1</source>
        <extracomment>%1 is the hot key, for example Ctrl+Alt+Super+R.</extracomment>
        <translation>¿Atascado? Mueve el ratón 3 segundos o pulsa %1</translation>
    </message>
</context>
<context>
    <name>GaugeView</name>
    <message>
        <source>not tracking</source>
        <translation>sin seguimiento</translation>
    </message>
    <message numerus="yes">
        <source>%n degrees left</source>
        <translation>
            <numerusform>%n grado a la izquierda</numerusform>
            <numerusform>%n grados a la izquierda</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n degrees right</source>
        <translation>
            <numerusform>%n grado a la derecha</numerusform>
            <numerusform>%n grados a la derecha</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n degrees </source>
        <translation>
            <numerusform>%n grado</numerusform>
            <numerusform>%n grados</numerusform>
        </translation>
    </message>
    <message>
        <source>Head angle</source>
        <translation>Ángulo de la cabeza</translation>
    </message>
</context>
<context>
    <name>LoginItem</name>
    <message>
        <source>Could not remove %1: %2</source>
        <translation>No se pudo eliminar %1: %2</translation>
    </message>
    <message>
        <source>Could not create the folder %1.</source>
        <translation>No se pudo crear la carpeta %1.</translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation>No se pudo escribir %1: %2</translation>
    </message>
</context>
<context>
    <name>MotionAccess</name>
    <message>
        <source>Motion access is on. Quelmo can use head motion from your headphones.</source>
        <translation>El acceso al movimiento está activado. Quelmo puede usar el movimiento de la cabeza de tus auriculares.</translation>
    </message>
    <message>
        <source>Motion access is off. Quelmo cannot tell when you look away.</source>
        <translation>El acceso al movimiento está desactivado. Quelmo no puede saber cuándo apartas la vista.</translation>
    </message>
    <message>
        <source>Motion access is restricted on this computer and cannot be changed here.</source>
        <translation>El acceso al movimiento está restringido en este ordenador y no se puede cambiar aquí.</translation>
    </message>
    <message>
        <source>You have not decided yet.</source>
        <translation>Aún no has decidido.</translation>
    </message>
    <message>
        <source>Motion Access</source>
        <translation>Acceso al movimiento</translation>
    </message>
    <message>
        <source>Quelmo uses head motion from your headphones to hide the screen when you look away. Nothing is recorded and nothing leaves this computer.</source>
        <translation>Quelmo usa el movimiento de la cabeza de tus auriculares para ocultar la pantalla cuando apartas la vista. No se graba nada y nada sale de este ordenador.</translation>
    </message>
    <message>
        <source>Allow Quelmo to use head motion</source>
        <translation>Permitir que Quelmo use el movimiento de la cabeza</translation>
    </message>
    <message>
        <source>Could not save your choice: %1</source>
        <translation>No se pudo guardar tu elección: %1</translation>
    </message>
    <message>
        <source>Allow Quelmo to use head motion from your headphones?</source>
        <translation>¿Permitir que Quelmo use el movimiento de la cabeza de tus auriculares?</translation>
    </message>
    <message>
        <source>Quelmo follows which way your head points so it can hide the screen when you look away. Nothing is recorded and nothing leaves this computer.</source>
        <translation>Quelmo sigue hacia dónde apunta tu cabeza para ocultar la pantalla cuando apartas la vista. No se graba nada y nada sale de este ordenador.</translation>
    </message>
    <message>
        <source>Don&apos;t Allow</source>
        <translation>No permitir</translation>
    </message>
    <message>
        <source>Allow</source>
        <translation>Permitir</translation>
    </message>
</context>
<context>
    <name>MoveOffer</name>
    <message>
        <source>The old copy at %1 could not be moved to the trash: %2</source>
        <translation>La copia antigua de %1 no se pudo mover a la papelera: %2</translation>
    </message>
    <message>
        <source>The old copy at %1 could not be moved to the trash.</source>
        <translation>La copia antigua de %1 no se pudo mover a la papelera.</translation>
    </message>
    <message>
        <source>The folder %1 could not be made.</source>
        <translation>No se pudo crear la carpeta %1.</translation>
    </message>
    <message>
        <source>%1 could not be copied to %2: %3</source>
        <translation>%1 no se pudo copiar en %2: %3</translation>
    </message>
    <message>
        <source>Not Now</source>
        <translation>Ahora no</translation>
    </message>
</context>
<context>
    <name>OnboardingView</name>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Step %1 of %2</source>
        <translation>Paso %1 de %2</translation>
    </message>
    <message>
        <source>Get Started</source>
        <translation>Empezar</translation>
    </message>
    <message>
        <source>Continue</source>
        <translation>Continuar</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Omitir</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Terminar</translation>
    </message>
    <message>
        <source>Getting ready…</source>
        <translation>Preparando…</translation>
    </message>
</context>
<context>
    <name>PermissionPage</name>
    <message>
        <source>One permission</source>
        <translation>Un solo permiso</translation>
    </message>
    <message>
        <source>Allow Motion Access</source>
        <translation>Permitir el acceso al movimiento</translation>
    </message>
    <message>
        <source>Motion access allowed</source>
        <translation>Acceso al movimiento permitido</translation>
    </message>
    <message>
        <source>Motion access is turned off</source>
        <translation>El acceso al movimiento está desactivado</translation>
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
        <translation>Mayús</translation>
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
        <translation>El seguimiento de la cabeza no está disponible en este ordenador</translation>
    </message>
    <message>
        <source>Put them in your ears and connect them to this computer.</source>
        <translation>Póntelos y conéctalos a este ordenador.</translation>
    </message>
    <message>
        <source>Open Motion Access Settings…</source>
        <translation>Ajustes de acceso al movimiento…</translation>
    </message>
    <message>
        <source>Frost when my AirPods are far from this computer</source>
        <translation>Escarchar cuando mis AirPods estén lejos de este ordenador</translation>
    </message>
    <message>
        <source>Stricter. Taking them out at your desk frosts the screen too, until you touch the keyboard or mouse.</source>
        <translation>Más estricto. Quitártelos en tu mesa también escarcha la pantalla hasta que toques el teclado o el ratón.</translation>
    </message>
    <message>
        <source>Show my head angle in the tray</source>
        <translation>Mostrar el ángulo de mi cabeza en la bandeja del sistema</translation>
    </message>
    <message>
        <source>Head angles and frost events, saved on this computer only. Capped at 2 MB.</source>
        <translation>Ángulos de la cabeza y eventos de escarcha, guardados solo en este ordenador. Máximo 2&#xa0;MB.</translation>
    </message>
    <message>
        <source>Show Log Folder</source>
        <translation>Mostrar la carpeta del registro</translation>
    </message>
    <message>
        <source>Runs entirely on this computer. No camera, no account, no network.</source>
        <translation>Funciona por completo en este ordenador. Sin cámara, sin cuenta, sin red.</translation>
    </message>
    <message>
        <source>Quelmo reads the head tracking in your AirPods. Turn to talk to someone and your screen frosts over. Look back and it clears.</source>
        <translation>Quelmo lee el seguimiento de la cabeza de tus AirPods. Gírate para hablar con alguien y tu pantalla se escarcha. Vuelve a mirar y se aclara.</translation>
    </message>
    <message>
        <source>Quelmo will ask before it reads motion from your AirPods. That&apos;s the only thing it needs. Nothing is recorded and nothing leaves this computer.</source>
        <translation>Quelmo te pedirá permiso antes de leer el movimiento de tus AirPods. Es lo único que necesita. No se graba nada y nada sale de este ordenador.</translation>
    </message>
    <message>
        <source>Turn it on again in Quelmo&apos;s Motion Access settings.</source>
        <translation>Vuelve a activarlo en los ajustes de acceso al movimiento de Quelmo.</translation>
    </message>
    <message>
        <source>Connect them to this computer and put them in your ears. Quelmo starts as soon as it hears from them.</source>
        <translation>Conéctalos a este ordenador y póntelos. Quelmo empieza en cuanto recibe señal de ellos.</translation>
    </message>
    <message>
        <source>Quelmo lives in your tray</source>
        <translation>Quelmo vive en la bandeja del sistema</translation>
    </message>
    <message>
        <source>Install Quelmo in your home folder?</source>
        <translation>¿Instalar Quelmo en tu carpeta personal?</translation>
    </message>
    <message>
        <source>Quelmo works best installed, so it can start at login and keep its settings in one place.</source>
        <translation>Quelmo funciona mejor instalado: así puede abrirse al iniciar sesión y guardar sus ajustes en un solo lugar.</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Instalar</translation>
    </message>
    <message>
        <source>Couldn&apos;t install Quelmo</source>
        <translation>No se pudo instalar Quelmo</translation>
    </message>
    <message>
        <source>%1

Copy Quelmo into ~/.local/bin yourself, then open it from there.</source>
        <translation>%1

Copia Quelmo tú mismo en ~/.local/bin y ábrelo desde allí.</translation>
    </message>
</context>
<context>
    <name>SettingsHeader</name>
    <message>
        <source>Finish Setup…</source>
        <translation>Terminar la configuración…</translation>
    </message>
    <message>
        <source>Head motion from %1</source>
        <extracomment>%1 names where head motion comes from, for example &quot;AirPods Pro 2 (Bluetooth)&quot;.</extracomment>
        <translation>Movimiento de la cabeza de %1</translation>
    </message>
    <message numerus="yes">
        <source>Head motion from %1 · %n samples a second</source>
        <extracomment>%1 names where head motion comes from, for example &quot;AirPods Pro 2 (Bluetooth)&quot;; %n is how many samples arrive a second.</extracomment>
        <translation>
            <numerusform>Movimiento de la cabeza de %1 · %n muestra por segundo</numerusform>
            <numerusform>Movimiento de la cabeza de %1 · %n muestras por segundo</numerusform>
        </translation>
    </message>
    <message>
        <source>Bluetooth is off or missing, so Quelmo cannot reach your earbuds</source>
        <translation>El Bluetooth está apagado o no existe, así que Quelmo no puede llegar a tus auriculares</translation>
    </message>
    <message>
        <source>No earbuds are connected</source>
        <translation>No hay auriculares conectados</translation>
    </message>
    <message>
        <source>%1 are connected but share no head motion</source>
        <extracomment>%1 names the earbuds, for example &quot;AirPods Pro (Bluetooth)&quot;.</extracomment>
        <translation>%1 están conectados pero no comparten el movimiento de la cabeza</translation>
    </message>
    <message>
        <source>Your earbuds are in their case</source>
        <translation>Tus auriculares están en su estuche</translation>
    </message>
    <message>
        <source>A head tracker is there but Quelmo may not read it (%1). Run once in a terminal: %2</source>
        <extracomment>%1 names the headset, for example &quot;WH-1000XM5 (Bluetooth)&quot;; %2 is a command to run in a terminal.</extracomment>
        <translation>Hay un seguidor de cabeza, pero Quelmo no puede leerlo (%1). Ejecuta una vez en un terminal: %2</translation>
    </message>
    <message>
        <source>A head tracker is there but Quelmo may not read it (%1). Connect the headset again.</source>
        <extracomment>%1 names the headset, for example &quot;WH-1000XM5 (Bluetooth)&quot;.</extracomment>
        <translation>Hay un seguidor de cabeza, pero Quelmo no puede leerlo (%1). Vuelve a conectar los auriculares.</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>When to frost</source>
        <translation>Cuándo escarchar</translation>
    </message>
    <message>
        <source>Frost when I turn past</source>
        <translation>Escarchar al girar más de</translation>
    </message>
    <message>
        <source>Frost angle</source>
        <translation>Ángulo de escarcha</translation>
    </message>
    <message>
        <source>Use typing and mouse movement to stay accurate</source>
        <translation>Usar el teclado y el ratón para mantener la precisión</translation>
    </message>
    <message>
        <source>Quelmo only sees when you last touched a key, never what you typed.</source>
        <translation>Quelmo solo ve cuándo tocaste una tecla por última vez, nunca lo que escribiste.</translation>
    </message>
    <message>
        <source>When you leave your desk</source>
        <translation>Cuando te alejas de tu mesa</translation>
    </message>
    <message>
        <source>Frost when I walk away</source>
        <translation>Escarchar cuando me alejo</translation>
    </message>
    <message>
        <source>Your AirPods feel your footsteps. The screen stays frosted until you touch the keyboard or mouse again.</source>
        <translation>Tus AirPods notan tus pasos. La pantalla sigue escarchada hasta que vuelvas a tocar el teclado o el ratón.</translation>
    </message>
    <message>
        <source>Uses Bluetooth signal strength, so it works in another room or behind a closed door even on quiet feet.</source>
        <translation>Usa la intensidad de la señal Bluetooth, así que funciona en otra habitación o tras una puerta cerrada aunque camines sin hacer ruido.</translation>
    </message>
    <message>
        <source>Also frost whenever my AirPods disconnect</source>
        <translation>Escarchar también cuando mis AirPods se desconecten</translation>
    </message>
    <message>
        <source>The frost</source>
        <translation>La escarcha</translation>
    </message>
    <message>
        <source>Strength</source>
        <translation>Intensidad</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Ligera</translation>
    </message>
    <message>
        <source>Solid</source>
        <translation>Opaca</translation>
    </message>
    <message>
        <source>See how it looks</source>
        <translation>Ver cómo queda</translation>
    </message>
    <message>
        <source>Preview for 2 Seconds</source>
        <translation>Vista previa de 2 segundos</translation>
    </message>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Turn Quelmo on</source>
        <translation>Activar Quelmo</translation>
    </message>
    <message>
        <source>Open Quelmo when I log in</source>
        <translation>Abrir Quelmo al iniciar sesión</translation>
    </message>
    <message>
        <source>Clear the frost from anywhere</source>
        <translation>Quitar la escarcha desde cualquier lugar</translation>
    </message>
    <message>
        <source>Troubleshooting</source>
        <translation>Solución de problemas</translation>
    </message>
    <message>
        <source>Keep a diagnostics log</source>
        <translation>Guardar un registro de diagnóstico</translation>
    </message>
    <message>
        <source>Sensitive. Frosts on smaller turns.</source>
        <translation>Sensible. Escarcha con giros pequeños.</translation>
    </message>
    <message>
        <source>Balanced. Ignores glances at a second screen.</source>
        <translation>Equilibrado. Ignora las miradas a una segunda pantalla.</translation>
    </message>
    <message>
        <source>Relaxed. Only frosts on a full turn.</source>
        <translation>Relajado. Solo escarcha con un giro completo.</translation>
    </message>
    <message>
        <source>Lock the screen when I&apos;m gone</source>
        <translation>Bloquear la pantalla cuando no esté</translation>
    </message>
    <message>
        <source>When a frost for being away has lasted this long, Quelmo asks your desktop to lock the session. Turning away never locks.</source>
        <translation>Cuando la escarcha por ausencia dura este tiempo, Quelmo pide a tu escritorio que bloquee la sesión. Girar la cabeza nunca bloquea.</translation>
    </message>
    <message>
        <source>Lock after</source>
        <translation>Bloquear tras</translation>
    </message>
    <message>
        <source>1 minute</source>
        <translation>1 minuto</translation>
    </message>
    <message>
        <source>2 minutes</source>
        <translation>2 minutos</translation>
    </message>
    <message>
        <source>5 minutes</source>
        <translation>5 minutos</translation>
    </message>
    <message>
        <source>10 minutes</source>
        <translation>10 minutos</translation>
    </message>
    <message>
        <source>Your headset reports turns but not steps: Quelmo notices you leaving by its signal strength</source>
        <translation>Tus auriculares informan de los giros pero no de los pasos: Quelmo nota que te vas por la intensidad de su señal</translation>
    </message>
</context>
<context>
    <name>TrayMenu</name>
    <message>
        <source>Frosts when you turn past %1°.</source>
        <extracomment>%1 is a whole number of degrees.</extracomment>
        <translation>Se escarcha si te giras más de %1°.</translation>
    </message>
    <message>
        <source>Look back, or move the mouse for 3 seconds.</source>
        <translation>Vuelve a mirar o mueve el ratón 3 segundos.</translation>
    </message>
    <message>
        <source>Touch the keyboard or mouse to see your screen.</source>
        <translation>Toca el teclado o el ratón para ver tu pantalla.</translation>
    </message>
    <message>
        <source>Quelmo: %1</source>
        <extracomment>The tray icon&apos;s tool tip; %1 is the status, for example &quot;Quelmo is off&quot;.</extracomment>
        <translation>Quelmo: %1</translation>
    </message>
    <message>
        <source>Finish Setup…</source>
        <translation>Terminar la configuración…</translation>
    </message>
    <message>
        <source>Turn Quelmo Off</source>
        <translation>Desactivar Quelmo</translation>
    </message>
    <message>
        <source>Turn Quelmo On</source>
        <translation>Activar Quelmo</translation>
    </message>
    <message>
        <source>Pause for 30 Minutes</source>
        <translation>Pausar 30 minutos</translation>
    </message>
    <message>
        <source>Resume Now</source>
        <translation>Reanudar ahora</translation>
    </message>
    <message>
        <source>I&apos;m Facing the Screen</source>
        <translation>Estoy mirando la pantalla</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Ajustes…</translation>
    </message>
    <message>
        <source>Welcome Guide…</source>
        <translation>Guía de bienvenida…</translation>
    </message>
    <message>
        <source>About Quelmo</source>
        <translation>Acerca de Quelmo</translation>
    </message>
    <message>
        <source>Quit Quelmo</source>
        <translation>Salir de Quelmo</translation>
    </message>
</context>
<context>
    <name>TryItPage</name>
    <message>
        <source>That&apos;s it</source>
        <translation>Eso es todo</translation>
    </message>
    <message>
        <source>You turned away, the screen frosted, and it cleared when you looked back.</source>
        <translation>Te giraste, la pantalla se escarchó y se aclaró cuando volviste a mirar.</translation>
    </message>
    <message>
        <source>Now turn your head</source>
        <translation>Ahora gira la cabeza</translation>
    </message>
    <message>
        <source>Look at the screen, then turn to the side as if someone walked up to talk to you.</source>
        <translation>Mira la pantalla y luego gírate hacia un lado, como si alguien se acercara a hablarte.</translation>
    </message>
    <message>
        <source>Put your AirPods in</source>
        <translation>Ponte los AirPods</translation>
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
        <translation>Uso: quelmo [OPCIÓN]

Quelmo escarcha tu pantalla cuando te giras o te alejas de ella, con el
movimiento de la cabeza que registran tus auriculares. Sin opciones, se inicia
en la bandeja del sistema (o trae al frente la ventana del Quelmo en marcha).

Opciones:
  --add-login-item      abrir Quelmo al iniciar sesión y salir
  --remove-login-item   dejar de abrir Quelmo al iniciar sesión y salir
  --send WORD           enviar una palabra de orden al Quelmo en marcha y salir
                        (solo se atiende mientras su registro de diagnóstico está activo)
  --recenter            hacer que el Quelmo en marcha se recentre y quite la
                        escarcha, como su atajo de teclado, y salir (estado 1 si
                        no hay ningún Quelmo en marcha); asígnalo a una tecla donde
                        el escritorio no ofrezca atajos globales
  --probe-headphones    mostrar lo que Quelmo ve de tus auriculares y por qué
                        los usa o no, hablando con ellos 10 s (--seconds N),
                        cada trama escrita en un archivo con --capture FILE;
                        envía su salida con un informe
  --help                mostrar esta ayuda
  --version             mostrar la versión

Palabras de orden: recenter, pause, resume, on, off, preview, settings,
onboarding, y para pruebas (solo si Quelmo se inició con
QUELMO_TEST_HOOKS=1) fake:on, fake:off, turn:DEGREES, far:DB, walk:on,
walk:off, input:ignore, input:real, drop.
</translation>
    </message>
</context>
<context>
    <name>WelcomePage</name>
    <message>
        <source>Your screen looks away when you do</source>
        <translation>Tu pantalla aparta la vista contigo</translation>
    </message>
</context>
<context>
    <name>Windows</name>
    <message>
        <source>Quelmo Settings</source>
        <translation>Ajustes de Quelmo</translation>
    </message>
    <message>
        <source>Welcome to Quelmo</source>
        <translation>Te damos la bienvenida a Quelmo</translation>
    </message>
</context>
</TS>
