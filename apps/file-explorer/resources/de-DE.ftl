### Dateimanager Files: deutsche Übersetzung (de-DE) der Meldungen.
### Variablen und Auswahlzweige müssen strukturell mit der en-US-Ressource
### übereinstimmen: dieselben Variablen, dieselben Varianten je Auswahl.

files-time-unknown = unbekannter Zeitpunkt

## Tastenkürzel

files-shortcuts-title = Tastenkürzel
files-shortcuts-summary = Primär ist die Strg-Taste oder, wo Ihr Desktop sie verwendet, die Super-Taste.
files-shortcuts-primary = Primär+A/C/X/V: Alles, Kopieren, Ausschneiden, Einfügen · Primär+Z: Rückgängig
files-shortcuts-navigate = Pfeiltasten, Pos1 und Ende bewegen den Fokus; Umschalt erweitert die Auswahl
files-shortcuts-grid = In der Rasteransicht wechseln Links und Rechts zwischen Elementen
files-shortcuts-open = Eingabetaste öffnet das Element · Rücktaste geht einen Ordner nach oben
files-shortcuts-location = Primär+L bearbeitet den Pfad
files-shortcuts-new-folder = Primär+Umschalt+N erstellt einen neuen Ordner
files-shortcuts-edit = F2 benennt um · Entf verschiebt in den Papierkorb · F5 lädt neu
files-shortcuts-hidden = Primär+H blendet versteckte Dateien ein oder aus
files-shortcuts-size = Primär+Plus und Primär+Minus ändern die Elementgröße · Primär+0 setzt sie zurück
files-shortcuts-context = Die Menütaste öffnet das Kontextmenü der Auswahl
files-shortcuts-close = Esc hebt die Auswahl auf oder schließt diese Übersicht · ? oder F1 zeigt sie

## Verfügbarkeit: Aktionen und Status

files-keep-offline = Offline verfügbar halten
files-use-automatic-storage = Automatische Speicherung verwenden
files-pinned-by-parent = Durch übergeordneten Ordner festgelegt
files-retry-download = Download wiederholen
files-free-local-space = Lokalen Speicher freigeben
files-no-pin-needed = Kein ausgewähltes Element muss offline verfügbar gehalten werden
files-no-direct-pin = Hier lässt sich keine direkte Offline-Festlegung ändern
files-keeping-offline = { $count } { $count ->
        [one] Element wird
       *[other] Elemente werden
    } offline verfügbar gehalten
files-using-automatic = Automatische Speicherung wird für { $count } { $count ->
        [one] Element
       *[other] Elemente
    } verwendet
files-offline-policy-failed = Offline-Richtlinie fehlgeschlagen: { $errors }
files-no-retryable-transfer = Keine ausgewählte Übertragung kann wiederholt werden
files-retrying-transfers = { $count } { $count ->
        [one] Übertragung wird
       *[other] Übertragungen werden
    } wiederholt
files-retry-failed = Wiederholen fehlgeschlagen: { $errors }
files-no-local-space-releasable = Kein ausgewähltes Element kann lokalen Speicher freigeben
files-freeing-local-space = Lokaler Speicher wird für { $count } { $count ->
        [one] Element
       *[other] Elemente
    } freigegeben
files-free-local-space-failed = Freigeben von lokalem Speicher fehlgeschlagen: { $errors }
files-eviction-needs-confirmation = Die Sicherheit konnte nicht geprüft werden; eine Bestätigung ist erforderlich
files-destructive-eviction-title = Ungeprüfte lokale Kopie entfernen?
files-destructive-eviction-summary = Die Sicherheit von { $count } { $count ->
        [one] lokalen Kopie
       *[other] lokalen Kopien
    } konnte nicht geprüft werden.
files-destructive-eviction-no-replica = Noch kein dauerhaftes Replikat hat diesen Inhalt bestätigt.
files-destructive-eviction-loss = Änderungen, die nur auf diesem Gerät vorhanden sind, können verloren gehen.
files-destructive-eviction-protected = Offline verfügbar gehaltene Elemente und Elemente mit laufender Übertragung bleiben unverändert.
files-destructive-eviction-confirm = Lokale Kopie trotzdem entfernen
files-destructive-eviction-started = Endgültiges lokales Entfernen für { $count } { $count ->
        [one] Element
       *[other] Elemente
    } gestartet
files-permanent-delete-title = { $count } { $count ->
        [one] Element
       *[other] Elemente
    } endgültig löschen?
files-permanent-delete-summary = { $count ->
        [one] Das ausgewählte Element wird
       *[other] Die { $count } ausgewählten Elemente werden
    } endgültig aus dem Papierkorb entfernt.
files-permanent-delete-loss = Dies kann nicht rückgängig gemacht werden.
files-permanent-delete-confirm = Endgültig löschen
files-empty-trash-title = Papierkorb endgültig leeren?
files-empty-trash-summary = { $count ->
        [one] 1 Element wird aus dem Papierkorb entfernt.
       *[other] Alle { $count } Elemente werden aus dem Papierkorb entfernt.
    }
files-empty-trash-confirm = Papierkorb leeren

## Eigenschaften und Verfügbarkeit

files-property-collaborative-record = Gemeinsamer Datensatz: { $record }
files-property-content = Inhalt: { $hash }…
files-residency-metadata-only = nur Metadaten
files-residency-partly-local = teilweise lokal ({ $bytes } Bytes)
files-residency-local = lokal gespeichert ({ $bytes } Bytes)
files-property-on-device = Auf diesem Gerät: { $state }
files-property-sharing = Freigabe: { $count } { $count ->
        [one] aktive Berechtigung
       *[other] aktive Berechtigungen
    }
files-property-history = Verlauf: { $versions } { $versions ->
        [one] Version
       *[other] Versionen
    } · offene Konflikte: { $conflicts }
files-properties-collab-summary = Dateisystem und geprüfte gemeinsame Metadaten
files-availability-title = Verfügbarkeit — { $name }
files-availability-title-short = Verfügbarkeit …
files-not-stored = Nicht auf diesem Gerät gespeichert
files-partly-stored = Teilweise gespeichert ({ $bytes } Bytes)
files-stored = Auf diesem Gerät gespeichert ({ $bytes } Bytes)
files-kept-offline-parent = Durch einen übergeordneten Ordner offline verfügbar
files-kept-offline = Offline verfügbar gehalten
files-automatic-storage = Automatische Speicherung
files-replica-unverified = Replikate noch nicht geprüft
files-replica-counts = { $reachable } erreichbar, { $durable } { $durable ->
        [one] dauerhaftes Replikat
       *[other] dauerhafte Replikate
    }
files-transfer-state = Übertragung: { $state }
files-transfer-idle = inaktiv
files-transfer-queued = in der Warteschlange
files-transfer-downloading = wird heruntergeladen
files-transfer-uploading = wird hochgeladen
files-transfer-verifying = wird geprüft

## Freigabe

files-search-collaborative-records = Gemeinsame Dateien
files-search-record-provenance = { $path } · Datensatz { $record }
files-copy-one-time-link = Einmal-Freigabelink kopieren
files-share-composer-named = Mit { $person } teilen: { $permission }, { $expiry }
files-share-composer-link = Freigabelink: { $permission }, { $expiry }, { $uses }
files-share-choice-view = Ansehen
files-share-choice-edit = Bearbeiten
files-share-choice-day = 24 Stunden
files-share-choice-week = 7 Tage
files-share-choice-month = 30 Tage
files-share-choice-never = ohne Ablauf
files-share-choice-one-use = einmalige Verwendung
files-share-choice-bounded-uses = bis zu { $count } Verwendungen
files-share-creating = Freigabe wird erstellt …
files-share-invalid-options = Diese Freigabeoptionen lassen sich nicht kombinieren
files-share-link-needs-expiry = Freigabelinks benötigen ein Ablaufdatum
files-share-invalid-uses = Freigabelinks benötigen ein Verwendungslimit von 1 bis 1.000
files-share-recipient-unreachable = Diese Person hat kein zertifiziertes Empfangsgerät
files-sharing-access = Freigabe und Zugriff …
files-share-with = Mit { $person } teilen
files-revoke-subject = { $subject } widerrufen
files-shared-link = Freigabelink
files-share-link-pending = Ein Freigabelink wird bereits erstellt
files-share-change-pending = Eine Freigabeänderung läuft bereits
files-select-collaborative-file = Wählen Sie zuerst eine gemeinsame Datei aus
files-select-shared-file = Wählen Sie zuerst die freigegebene Datei aus
files-sharing-unavailable = Freigabe ist für diesen Arbeitsbereich nicht verfügbar
files-creating-one-use-link = Einmal-Link wird erstellt …
files-share-with-progress = Wird mit { $person } geteilt …
files-revoking-access = Zugriff wird widerrufen …
files-not-shared = Nicht freigegeben
files-anyone-link = Alle mit dem Link
files-can-view = kann ansehen
files-can-edit = kann bearbeiten
files-grant-active = aktiv
files-grant-expired = abgelaufen
files-grant-revoked = widerrufen
files-grant-exhausted = Verwendungslimit erreicht
files-no-expiry = ohne Ablauf
files-expires = läuft ab am { $time }
files-share-grant-line = { $subject } · { $permission } · { $status } · { $expiry }
files-sharing-title = Freigabe — { $name }
files-certified-devices = { $person } ({ $devices })
files-certified-device-detail = { $device } · Schlüssel { $fingerprint } · { $capabilities } · ausgestellt am { $issued } · { $expiry }
files-device-cap-own = besitzt Arbeitsbereiche
files-device-cap-admit = nimmt Geräte auf
files-device-cap-host = dient als Host
files-device-cap-read-all = liest alle Arbeitsbereiche
files-device-cap-member = Mitgliedsgerät
files-sharing-summary = { $count } { $count ->
        [one] aktive Berechtigung
       *[other] aktive Berechtigungen
    }
files-link-copied = Freigabelink in die Zwischenablage kopiert
files-share-created = Freigabe erstellt
files-share-created-pending = Mit { $person } geteilt; Zustellung ausstehend
files-share-created-delivered = Mit { $person } geteilt; Zustellung abgeschlossen
files-access-revoked = Zugriff widerrufen; bereits heruntergeladene Daten können nicht zurückgeholt werden
files-share-inactive = Diese Freigabe war bereits inaktiv

## Verlauf und Konfliktlösung

files-version-history = Versionsverlauf …
files-restore-previous = Vorherige Version wiederherstellen
files-resolve-keep-current = { $conflict } lösen — Aktuelle behalten
files-resolve-use-other = { $conflict } lösen — Andere verwenden (Gerät { $device })
files-history-version-line = { $action } · { $time } · Gerät { $device }
files-history-older = { $count } { $count ->
        [one] ältere Version
       *[other] ältere Versionen
    }
files-conflict-needs-review = Konflikt { $conflict } muss geprüft werden
files-conflict-resolved-strategy = Konflikt { $conflict } gelöst: { $strategy }
files-conflict-resolved = Konflikt gelöst
files-strategy-keep-current = Aktuelle behalten
files-strategy-use-other = Andere verwenden
files-strategy-keep-both = Beide behalten
files-strategy-merge = Zusammenführen
files-conflict-line = Konflikt { $conflict }: { $status }
files-conflict-resolve-hint = Wählen Sie im Kontextmenü der Datei, welche Version erhalten bleibt.
files-conflict-unsupported-hint = Dieser Konflikt kann hier nicht gelöst werden.
files-history-title = Verlauf — { $name }
files-history-summary = { $versions } { $versions ->
        [one] Version
       *[other] Versionen
    } · { $heads } aktuelle Stände
files-history-change-pending = Eine Verlaufsänderung läuft bereits
files-select-file-with-history = Wählen Sie zuerst eine gemeinsame Datei mit Verlauf aus
files-version-restored = Version wiederhergestellt
files-restoring-version = Version wird wiederhergestellt …
files-keeping-current = Aktuelle Version wird behalten …
files-applying-other = Andere Version wird übernommen …
files-merging-versions = Nicht überlappende Änderungen werden sicher zusammengeführt …
files-merge-review-menu = Zusammenführung prüfen
files-merge-review-title = Zusammenführung prüfen — { $name }
files-merge-review-summary = Prüfung der Zusammenführung: { $summary }
files-merge-review-checking = Die genauen unveränderlichen Versionen werden geprüft …
files-merge-review-checking-detail = Orvo vergleicht die gemeinsame Basis mit beiden Versionen, bevor eine Zusammenführung angeboten wird.
files-merge-review-safe = Sicher zusammenführbar
files-merge-review-needs-review = Manuelle Prüfung erforderlich
files-merge-review-unavailable = Die Prüfung der Zusammenführung ist für diesen Konflikt nicht verfügbar
files-merge-review-no-apply = Nichts kann automatisch zusammengeführt werden.
files-merge-review-incoming = Eingehende Version von Gerät { $device }
files-merge-review-diff = Änderungen: { $summary }
files-merge-review-guard = Orvo prüft die genaue Basis und beide Versionen unmittelbar vor dem Speichern erneut. Überlappen sich die Änderungen oder haben sie sich verändert, wird nichts zusammengeführt.
files-merge-review-undo = Die Zusammenführung wird als neue Version gespeichert; frühere Versionen bleiben im Verlauf.
files-merge-apply-safe = Sichere Zusammenführung anwenden
files-merge-apply-safe-detail = Die Änderungen betreffen verschiedene Teile der Datei und lassen sich kombinieren.
files-conflict-workflow-required = Dieser Konflikt muss geprüft werden, bevor er gelöst werden kann
files-conflict-resolved-signed = Konflikt mit einem signierten Verlaufseintrag gelöst
files-history-change-saved = Verlaufsänderung gespeichert
files-history-action-created = Erstellt
files-history-action-edited = Bearbeitet
files-history-action-renamed = Umbenannt
files-history-action-moved = Verschoben
files-history-action-deleted = Gelöscht
files-history-action-conflict-resolved = Konflikt gelöst
files-history-action-restored = Wiederhergestellt
files-history-action-changed = Geändert
files-history-current-version = Aktuelle Version
files-history-timeline-detail = { $action } von Gerät { $device } · { $time }
files-history-preview-title = Vorschau — { $name }
files-history-compare-title = Mit aktueller Version vergleichen — { $name }
files-history-selected-action = Aktion: { $action }
files-history-selected-by = Von: Gerät { $device }
files-history-selected-at = Am: { $time }
files-history-version-id = Version: { $id }
files-history-content-identity = Inhalt: { $hash }
files-history-metadata-identity = Metadaten: { $hash }
files-history-no-content = Kein aufgezeichneter Inhalt
files-history-compare-content = Inhalt
files-history-compare-metadata = Metadaten
files-history-same = Gleich
files-history-different = Unterschiedlich
files-history-show-activity = Aktivität anzeigen
files-history-compare = Vergleichen
files-history-hide-compare = Vergleich ausblenden
files-history-restore-selected = Diese Version wiederherstellen
files-history-current-version-label = Aktuell
files-history-timeline-a11y = Versionszeitleiste, { $count } { $count ->
        [one] Version
       *[other] Versionen
    }
files-history-timeline-a11y-item = { $action }, { $time }, Gerät { $device }

## Barrierefreier Zusammenarbeitsstatus

files-a11y-transfer-failed = Übertragung fehlgeschlagen
files-a11y-transfer-queued = Übertragung in der Warteschlange
files-a11y-downloading = Wird heruntergeladen
files-a11y-uploading = Wird hochgeladen
files-a11y-verifying = Wird geprüft
files-a11y-online-only = Nur online
files-a11y-partly-offline = Teilweise offline verfügbar
files-a11y-available-offline = Offline verfügbar
files-a11y-kept-offline-parent = Durch übergeordneten Ordner offline verfügbar
files-a11y-kept-offline = Offline verfügbar gehalten
files-a11y-replica-unknown = Replikatstatus unbekannt
files-a11y-durably-replicated = Dauerhaft repliziert
files-a11y-not-durably-replicated = Nicht dauerhaft repliziert
files-a11y-shared-recipients = Mit { $count } { $count ->
        [one] Person
       *[other] Personen
    } geteilt
files-a11y-version-conflict = Versionskonflikt muss geprüft werden

## Dienst- und Empfangsfehler, Status

files-history-encode-failed = Die Verlaufsanfrage konnte nicht codiert werden
files-history-request-too-large = Die Verlaufsanfrage überschreitet ihre Übertragungsgrenze
files-history-restore-failed = Diese Version konnte nicht wiederhergestellt werden: { $error }
files-conflict-strategy-unsupported = Diese Konfliktstrategie wird nicht unterstützt
files-conflict-encode-failed = Die Konfliktanfrage konnte nicht codiert werden
files-conflict-request-too-large = Die Konfliktanfrage überschreitet ihre Übertragungsgrenze
files-conflict-resolve-failed = Dieser Konflikt konnte nicht gelöst werden: { $error }
files-share-wrong-response = Der Freigabedienst hat eine falsche Antwort gesendet
files-share-runtime-failed = Der Freigabe-Client konnte nicht gestartet werden: { $error }
files-share-unavailable-error = Freigabedienst nicht verfügbar: { $error }
files-share-encode-failed = Die Freigabeanfrage konnte nicht codiert werden: { $error }
files-share-request-too-large = Die Freigabeanfrage überschreitet ihre Übertragungsgrenze
files-share-request-failed = Der Link konnte nicht angefordert werden: { $error }
files-share-flush-failed = Die Freigabeanfrage konnte nicht gesendet werden: { $error }
files-share-no-response = Der Freigabedienst hat nicht geantwortet: { $error }
files-share-response-too-large = Der Freigabedienst hat eine zu große Antwort gesendet
files-share-response-truncated = Die Antwort des Freigabedienstes war unvollständig: { $error }
files-share-response-invalid = Ungültige Antwort des Freigabedienstes: { $error }
files-share-refused = Der Freigabedienst hat die Anfrage abgelehnt ({ $code })
files-received-refused = Der Empfangsdienst hat den Link abgelehnt ({ $code })
files-received-retry-refused = Der Empfangsdienst hat die Wiederholung abgelehnt ({ $code })
files-received-wrong-response = Der Empfangsdienst hat eine falsche Antwort gesendet
files-received-runtime-failed = Der Empfangs-Client konnte nicht gestartet werden: { $error }
files-received-encode-failed = Die Empfangsanfrage konnte nicht codiert werden
files-received-request-too-large = Die Empfangsanfrage überschreitet ihre Grenze
files-received-unavailable = Der Empfangsdienst ist nicht erreichbar
files-received-no-response = Der Empfangsdienst hat nicht geantwortet
files-received-response-too-large = Der Empfangsdienst hat eine zu große Antwort gesendet
files-received-response-truncated = Die Antwort des Empfangsdienstes war unvollständig
files-received-response-invalid = Der Empfangsdienst hat eine ungültige Antwort gesendet
files-received-not-available = Der Empfangsdienst ist nicht verfügbar
files-received-fd-clone-failed = Der Deskriptor des Empfangsdienstes konnte nicht dupliziert werden
files-received-fd-invalid = Der Deskriptor des Empfangsdienstes ist ungültig
files-received-file = Freigegebene Datei empfangen
files-received-mount-starting = Freigegebene Datei angenommen; die Einbindung wird gestartet
files-received-admitted = Freigegebene Datei angenommen
files-received-link-read-failed = Der Link zur freigegebenen Datei konnte nicht gelesen werden
files-received-link-too-large = Der Link zur freigegebenen Datei überschreitet seine Grenze
files-received-link-invalid-text = Der Link zur freigegebenen Datei ist kein gültiger Text
files-received-link-empty = Der Link zur freigegebenen Datei ist leer

## Fensterelemente und Navigation

files-app-title = Dateien
files-back = Zurück
files-forward = Vorwärts
files-up = Übergeordneter Ordner
files-view-list = Liste
files-view-grid = Raster
files-sort-by = Sortieren nach
files-view-options = Ansichtsoptionen
files-path-placeholder = Geben Sie einen Pfad ein, z. B. ~/Dokumente
files-place-home = Persönlicher Ordner
files-place-favourites = Favoriten
files-place-favorites = Favoriten
files-place-system = System
files-place-root = Wurzelverzeichnis
files-place-trash = Papierkorb
files-place-workspace = Arbeitsbereich
files-place-documents = Dokumente
files-place-downloads = Downloads
files-place-pictures = Bilder
files-place-music = Musik
files-place-videos = Videos

## Liste, Leer- und Fehlerzustand, Barrierefreiheit

files-column-name = Name
files-column-size = Größe
files-column-modified = Geändert
files-try-again = Erneut versuchen
files-loading = Wird geladen …
files-loading-folder = { $path } wird geladen
files-loading-title = Ordner wird geöffnet
files-loading-detail = { $path } wird geladen
files-directory-read-failed = Dieser Ordner konnte nicht geöffnet werden: { $error }
files-load-error-title = Dieser Ordner konnte nicht geöffnet werden
files-load-error-detail = { $error } · { $path }
files-a11y-load-error = Ordner konnte nicht geladen werden: { $error }. „Erneut versuchen“ ist verfügbar
files-a11y-panel-details = { $title }. { $summary }. { $details }. Drücken Sie zum Schließen Escape
files-a11y-dialog-close = { $summary }. Drücken Sie zum Schließen Escape
files-a11y-activity = Dateien-Aktivität
files-a11y-current-folder = Aktueller Ordner: { $path }
files-a11y-places = Orte
files-a11y-favourite = Favorit
files-a11y-system-location = Systemort
files-a11y-place-description = { $section }, { $path }
files-a11y-breadcrumbs = Pfadleiste
files-a11y-current-breadcrumb = Aktueller Ordner, { $path }. Drücken Sie die Eingabetaste, um den Pfad zu bearbeiten
files-a11y-open-folder = { $path } öffnen
files-empty-trash = Der Papierkorb ist leer
files-empty-folder = Dieser Ordner ist leer
files-item-count = { $count } { $count ->
        [one] Element
       *[other] Elemente
    }
files-selected-count = { $base }  ·  { $count } ausgewählt
files-a11y-list = Dateien
files-a11y-folder = Ordner
files-a11y-file = Datei, { $size }
files-new-name-placeholder = Neuer Name

## Eigenschaften

files-property-type = Typ: { $type }
files-property-location = Ort: { $location }
files-property-size = Größe: { $size }
files-property-modified = Geändert: { $time }
files-property-dimensions = Abmessungen: { $width } × { $height }
files-property-duration = Dauer: { $duration }
files-property-pages = Umfang: { $count } { $count ->
        [one] Seite
       *[other] Seiten
    }
files-property-codec = Codec: { $codec }
files-property-container = Container: { $container }
files-property-unknown = Unbekannt
files-properties-title = Eigenschaften — { $name }
files-properties-summary = Dateisystem-Metadaten

## Ergebnisse gewöhnlicher Vorgänge

files-new-folder-default-name = Neuer Ordner
files-created-folder = Ordner erstellt
files-new-folder-failed = Neuer Ordner fehlgeschlagen: { $error }
files-permanently-deleted = { $count } { $count ->
        [one] Element
       *[other] Elemente
    } endgültig gelöscht
files-delete-failed = Löschen fehlgeschlagen: { $error }
files-moved-to-trash = { $count } { $count ->
        [one] Element
       *[other] Elemente
    } in den Papierkorb verschoben
files-restored = { $count } { $count ->
        [one] Element
       *[other] Elemente
    } wiederhergestellt
files-restore-failed = Wiederherstellen fehlgeschlagen: { $error }
files-trash-already-empty = Der Papierkorb ist bereits leer
files-emptied-trash = Papierkorb geleert ({ $count })
files-empty-trash-failed = Leeren des Papierkorbs fehlgeschlagen: { $error }
files-copied = { $count } { $count ->
        [one] Element
       *[other] Elemente
    } kopiert
files-cut = { $count } { $count ->
        [one] Element
       *[other] Elemente
    } ausgeschnitten
files-created-file = Datei erstellt
files-new-file-failed = Neue Datei fehlgeschlagen: { $error }
files-added-favourite = Zu Favoriten hinzugefügt
files-removed-favourite = Aus Favoriten entfernt
files-moved-with-failures = { $moved } nach „{ $destination }“ verschoben ({ $failed } fehlgeschlagen)
files-moved-to-folder = { $count } { $count ->
        [one] Element
       *[other] Elemente
    } verschoben
files-nothing-to-move = Nichts zu verschieben
files-pasted = { $count } { $count ->
        [one] Element
       *[other] Elemente
    } eingefügt
files-pasted-with-failures = { $count } eingefügt ({ $failed } fehlgeschlagen)
files-renamed = Umbenannt
files-rename-failed = Umbenennen fehlgeschlagen: { $error }

## Kontext-, Ansichts- und Sortiermenüs

files-menu-open = Öffnen
files-action-reveal = In Dateien anzeigen
files-menu-restore = Wiederherstellen
files-menu-delete-permanently = Endgültig löschen
files-menu-empty-trash = Papierkorb leeren
files-menu-rename = Umbenennen
files-action-rename-prompt = Neuer Name
files-menu-cut = Ausschneiden
files-menu-copy = Kopieren
files-menu-properties = Eigenschaften
files-menu-paste = Einfügen
files-menu-new-folder = Neuer Ordner
files-menu-new-file = Neue Datei  ›
files-menu-move-trash = In den Papierkorb verschieben
files-menu-add-favourite = Zu Favoriten hinzufügen
files-menu-remove-favourite = Aus Favoriten entfernen
files-menu-hide-hidden = Versteckte Dateien ausblenden
files-menu-show-hidden = Versteckte Dateien anzeigen
files-menu-sort-name = Nach Name sortieren
files-menu-sort-size = Nach Größe sortieren
files-menu-sort-type = Nach Typ sortieren
files-menu-sort-date = Nach Datum sortieren
files-menu-open-terminal = Terminal hier öffnen
files-sort-name = Name
files-sort-size = Größe
files-sort-type = Typ
files-sort-date = Datum
files-sort-ascending = Aufsteigend
files-sort-descending = Absteigend
files-new-from-template = { $name } erstellen
files-drag-items = { $count } Elemente

## Archive

files-archive-extract = Archiv entpacken …
files-archive-extract-here = Hier entpacken
files-archive-compress = Als ZIP komprimieren
files-archive-select-compress = Wählen Sie Dateien oder Ordner zum Komprimieren aus
files-archive-read-only = Archive sind schreibgeschützt, bis sie entpackt sind
files-archive-open-after-extract = Entpacken Sie dieses Archiv, um Dateien darin zu öffnen oder zu bearbeiten
files-archive-select = Wählen Sie ein ZIP-, TAR- oder TAR.GZ-Archiv zum Entpacken aus
files-archive-extracted = { $count ->
        [one] 1 Datei entpackt
       *[other] { $count } Dateien entpackt
    }
files-undo-move-trash = Verschieben in den Papierkorb rückgängig machen
files-undo-trash-restored = { $count ->
        [one] 1 Element wiederhergestellt
       *[other] { $count } Elemente wiederhergestellt
    }
files-undo-trash-unavailable = Rückgängig ist nicht mehr möglich, weil sich der Papierkorb geändert hat
files-undo-trash-failed = Die Elemente im Papierkorb konnten nicht wiederhergestellt werden: { $error }
files-archive-extracted-partial = { $count } Dateien entpackt; { $failures }
files-archive-extract-failed = Archiv konnte nicht entpackt werden: { $error }
files-archive-created = { $name } erstellt
files-archive-create-failed = Archiv konnte nicht erstellt werden: { $error }

## Prüfung von Dateivorgängen

files-folder-name-empty = Der Ordnername darf nicht leer sein
files-folder-name-slash = Der Ordnername darf kein „/“ enthalten
files-name-empty = Der Name darf nicht leer sein
files-name-slash = Der Name darf kein „/“ enthalten
files-no-parent = Kein übergeordneter Ordner
files-name-exists = „{ $name }“ ist bereits vorhanden
files-destination-inspect-failed = „{ $path }“ kann nicht geprüft werden: { $error }
files-destination-names-exhausted = Zu viele Dateien mit dem Namen „{ $name }“ in „{ $path }“. Wählen Sie einen anderen Namen oder Ordner.
files-source-no-name = Die Quelle hat keinen Dateinamen
files-menu-send-nearby = An Gerät in der Nähe senden …
files-action-send-nearby-device = An { $device } senden
files-nearby-send-to-device = An { $device } senden
files-nearby-select-one = Wählen Sie eine Datei oder einen Ordner zum Senden aus.
files-nearby-loading-devices = Ihre zertifizierten Geräte werden gesucht …
files-nearby-no-devices = Keine zertifizierten Geräte sind online.
files-nearby-choose-device = Wählen Sie ein zertifiziertes Gerät aus.
files-nearby-queueing = Sicheres Senden in der Nähe wird vorbereitet …
files-nearby-accepted = Senden in der Nähe angenommen.
files-nearby-declined = Senden in der Nähe abgelehnt.
files-nearby-cancelled = Senden in der Nähe abgebrochen.
files-nearby-retrying = Senden in der Nähe wird wiederholt …
files-nearby-accept = Annehmen
files-nearby-retry = Wiederholen
files-nearby-consent-detail = Nichts wird gespeichert, bevor Sie genau diese Übertragung annehmen.
files-nearby-retry-detail = Die Quelle ist weiterhin verfügbar, daher kann diese fortsetzbare Übertragung sicher wiederholt werden.
files-nearby-offer-title = Senden in der Nähe von { $device }
files-nearby-offer-summary = { $name } empfangen?
files-nearby-offer-size = Übertragungsgröße: { $bytes } Bytes
files-nearby-failed-title = Senden in der Nähe fehlgeschlagen
files-nearby-failed-device = Zertifiziertes Gerät: { $device }
files-nearby-choose-destination = Speicherort auswählen
files-nearby-no-destinations = Kein freigegebener beschreibbarer Arbeitsbereichsordner ist verfügbar.
files-nearby-destination-count = Wählen Sie aus { $count } freigegebenen Zielen.
files-nearby-save-to-destination = In { $destination } speichern
files-nearby-save-and-remember = In { $destination } speichern und für diese Sitzung verwenden

files-share-not-available = Freigabe ist für dieses Element nicht verfügbar
files-name-invalid = Der Name ist ungültig
