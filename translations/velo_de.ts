<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>DocumentMainWindow</name>
    <message>
        <location filename="../src/ui/WindowTitle.cpp" line="11"/>
        <source>adjusting %1%</source>
        <translation>wird angepasst: %1 %</translation>
    </message>
    <message>
        <location filename="../src/ui/WindowTitle.cpp" line="23"/>
        <source>Source of row %1</source>
        <translation>Quellfarbe von Zeile %1</translation>
    </message>
    <message>
        <location filename="../src/ui/WindowTitle.cpp" line="24"/>
        <source>Target of row %1</source>
        <translation>Zielfarbe von Zeile %1</translation>
    </message>
</context>
<context>
    <name>ExportTypes</name>
    <message>
        <location filename="../src/ui/ExportTypes.cpp" line="11"/>
        <source>TIFF image</source>
        <translation>TIFF-Bild</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportTypes.cpp" line="12"/>
        <source>JPEG image</source>
        <translation>JPEG-Bild</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportTypes.cpp" line="13"/>
        <source>BMP image</source>
        <translation>BMP-Bild</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportTypes.cpp" line="14"/>
        <source>GIF image</source>
        <translation>GIF-Bild</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportTypes.cpp" line="15"/>
        <source>PNG image</source>
        <translation>PNG-Bild</translation>
    </message>
</context>
<context>
    <name>HelpDialogs</name>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="57"/>
        <source>About Velo</source>
        <translation>Über Velo</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="58"/>
        <source>Velo %1</source>
        <translation>Velo %1</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="63"/>
        <source>Recolours images: every pixel moves toward the targets of the adjustments whose source colours it is close to, exactly and on every core.

Released under the MIT licence.

Built with %1.</source>
        <translation>Färbt Bilder um: Jedes Pixel wird zu den Zielfarben der Anpassungen verschoben, deren Quellfarben es nahe ist – exakt und auf allen Prozessorkernen.

Veröffentlicht unter der MIT-Lizenz.

Erstellt mit %1.</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="78"/>
        <source>Click in the image</source>
        <translation>Klick ins Bild</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="79"/>
        <source>New adjustment from the colour there</source>
        <translation>Neue Anpassung aus der Farbe dort</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="80"/>
        <source>Shift+Click in the image</source>
        <translation>Umschalt+Klick ins Bild</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="81"/>
        <source>The same from the adjusted image</source>
        <translation>Dasselbe aus dem angepassten Bild</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="82"/>
        <source>Ctrl+Alt+Click in the image</source>
        <translation>Strg+Alt+Klick ins Bild</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="83"/>
        <source>Protect the colour there</source>
        <translation>Die Farbe dort schützen</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="84"/>
        <source>Drag across an object</source>
        <translation>Über ein Objekt ziehen</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="85"/>
        <source>New adjustment taking all its shades</source>
        <translation>Neue Anpassung mit allen seinen Farbtönen</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="86"/>
        <source>Ctrl+Drag across an object</source>
        <translation>Strg+Ziehen über ein Objekt</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="87"/>
        <source>Add its shades to the selected adjustment</source>
        <translation>Seine Farbtöne der gewählten Anpassung hinzufügen</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="88"/>
        <source>Hold \</source>
        <translation>\ gedrückt halten</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="88"/>
        <source>Show the original while held</source>
        <translation>Das Original zeigen, solange gedrückt</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="89"/>
        <source>Drag the line of View ▸ Split</source>
        <translation>Die Linie von Ansicht ▸ Vorher/Nachher ziehen</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="90"/>
        <source>Move where the original gives way to the result</source>
        <translation>Die Grenze zwischen Original und Ergebnis verschieben</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="95"/>
        <source>Keyboard Shortcuts</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="98"/>
        <source>Command</source>
        <translation>Befehl</translation>
    </message>
    <message>
        <location filename="../src/ui/HelpDialogs.cpp" line="98"/>
        <source>Keys</source>
        <translation>Tasten</translation>
    </message>
</context>
<context>
    <name>InfluenceCaption</name>
    <message>
        <location filename="../src/ui/InfluenceCaption.cpp" line="28"/>
        <source>Share of row %1 (white: all)</source>
        <translation>Anteil von Zeile %1 (weiß: alles)</translation>
    </message>
    <message>
        <location filename="../src/ui/InfluenceCaption.cpp" line="29"/>
        <source>Share of rows %1 (white: all)</source>
        <translation>Anteil der Zeilen %1 (weiß: alles)</translation>
    </message>
    <message>
        <location filename="../src/ui/InfluenceCaption.cpp" line="44"/>
        <source>Owner of each pixel:</source>
        <translation>Bestimmende Anpassung je Pixel:</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../src/ui/DroppedImage.cpp" line="25"/>
        <source>%1 is not an image Velo can open (%2).</source>
        <translation>%1 ist kein Bild, das Velo öffnen kann (%2).</translation>
    </message>
    <message>
        <location filename="../src/ui/DroppedImage.cpp" line="49"/>
        <source>The dropped data holds no image.</source>
        <translation>Die abgelegten Daten enthalten kein Bild.</translation>
    </message>
    <message>
        <location filename="../src/ui/DroppedImage.cpp" line="53"/>
        <source>The dropped data</source>
        <translation>Die abgelegten Daten</translation>
    </message>
</context>
<context>
    <name>ToolbarItems</name>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="21"/>
        <location filename="../src/ui/ToolbarItems.cpp" line="22"/>
        <source>Color adjustments</source>
        <translation>Farbanpassungen</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="23"/>
        <source>Show original</source>
        <translation>Original anzeigen</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="24"/>
        <source>Toggle Show Original/adjusted image</source>
        <translation>Zwischen Original und angepasstem Bild wechseln</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="25"/>
        <source>set zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="26"/>
        <source>Set zoom</source>
        <translation>Zoom einstellen</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="27"/>
        <source>bg color</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="28"/>
        <source>Background color</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="29"/>
        <source>Influence</source>
        <translation>Einfluss</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="30"/>
        <source>Show influence</source>
        <translation>Einfluss anzeigen</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="31"/>
        <source>Split</source>
        <translation>Vorher/Nachher</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="32"/>
        <source>Split original and result</source>
        <translation>Original und Ergebnis nebeneinander</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="33"/>
        <location filename="../src/ui/ToolbarItems.cpp" line="34"/>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="35"/>
        <location filename="../src/ui/ToolbarItems.cpp" line="36"/>
        <source>Customize</source>
        <translation>Einrichten</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="37"/>
        <location filename="../src/ui/ToolbarItems.cpp" line="38"/>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="39"/>
        <location filename="../src/ui/ToolbarItems.cpp" line="40"/>
        <source>Separator</source>
        <translation>Trennlinie</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="41"/>
        <location filename="../src/ui/ToolbarItems.cpp" line="42"/>
        <source>Space</source>
        <translation>Leerraum</translation>
    </message>
    <message>
        <location filename="../src/ui/ToolbarItems.cpp" line="43"/>
        <location filename="../src/ui/ToolbarItems.cpp" line="44"/>
        <source>Flexible Space</source>
        <translation>Flexibler Leerraum</translation>
    </message>
</context>
<context>
    <name>Velo</name>
    <message>
        <location filename="../src/adjust/ColorAdjustment.cpp" line="45"/>
        <source>Change color space</source>
        <translation>Farbmodell ändern</translation>
    </message>
    <message>
        <location filename="../src/adjust/ColorAdjustment.cpp" line="58"/>
        <source>Change reach</source>
        <translation>Radius ändern</translation>
    </message>
    <message>
        <location filename="../src/adjust/ColorAdjustment.cpp" line="108"/>
        <source>Component on/off</source>
        <translation>Komponente ein/aus</translation>
    </message>
    <message>
        <location filename="../src/adjust/ColorAdjustment.cpp" line="121"/>
        <source>Change color</source>
        <translation>Farbe ändern</translation>
    </message>
    <message>
        <location filename="../src/document/CommandValidation.cpp" line="28"/>
        <source>Remove alpha channel</source>
        <translation>Alphakanal entfernen</translation>
    </message>
    <message>
        <location filename="../src/document/CommandValidation.cpp" line="29"/>
        <source>Add alpha channel</source>
        <translation>Alphakanal hinzufügen</translation>
    </message>
    <message>
        <location filename="../src/document/CommandValidation.cpp" line="33"/>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location filename="../src/document/CommandValidation.cpp" line="35"/>
        <source>Undo %@</source>
        <extracomment>%@ is the undo action&apos;s name, as in &quot;Undo Change reach&quot;</extracomment>
        <translation>Rückgängig: %@</translation>
    </message>
    <message>
        <location filename="../src/document/CommandValidation.cpp" line="38"/>
        <source>Redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <location filename="../src/document/CommandValidation.cpp" line="40"/>
        <source>Redo %@</source>
        <extracomment>%@ is the redo action&apos;s name, as in &quot;Redo Change reach&quot;</extracomment>
        <translation>Wiederherstellen: %@</translation>
    </message>
    <message>
        <location filename="../src/document/CommandValidation.cpp" line="44"/>
        <source>Show Original</source>
        <translation>Original anzeigen</translation>
    </message>
    <message>
        <location filename="../src/document/CommandValidation.cpp" line="45"/>
        <source>Show Adjusted</source>
        <translation>Angepasstes Bild anzeigen</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="22"/>
        <location filename="../src/document/DocumentStroke.cpp" line="92"/>
        <source>New</source>
        <extracomment>Undo action name: a new adjustment (a row of the table)</extracomment>
        <translation>Neue Anpassung</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="41"/>
        <source>Delete</source>
        <extracomment>Undo action name: deleting adjustments</extracomment>
        <translation>Löschen</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="124"/>
        <source>Protect color</source>
        <translation>Farbe schützen</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="175"/>
        <source>Change Background Color</source>
        <translation>Hintergrundfarbe ändern</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="194"/>
        <source>Change transparency</source>
        <translation>Transparenz ändern</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentFile.cpp" line="317"/>
        <source>Unknown file type:%@</source>
        <translation>Unbekannter Dateityp: %@</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentFile.cpp" line="340"/>
        <source>Could not save the image to %@. Try saving it in another format.</source>
        <translation>Das Bild konnte nicht als %@ gespeichert werden. Versuchen Sie es in einem anderen Format.</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentFile.cpp" line="344"/>
        <source>Could not save the image to %@. Try saving it in another format. The cryptic internal error is &apos;%@&apos;</source>
        <translation>Das Bild konnte nicht als %@ gespeichert werden. Versuchen Sie es in einem anderen Format. Der interne Fehler lautet „%@“</translation>
    </message>
    <message>
        <location filename="../src/document/VeloDocument.cpp" line="164"/>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <location filename="../src/document/VeloDocument.cpp" line="178"/>
        <source>Change image</source>
        <translation>Bild ändern</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentStroke.cpp" line="90"/>
        <source>Add shades</source>
        <extracomment>Undo action name: a stroke across the image widened a row to take its shades</extracomment>
        <translation>Farbtöne hinzufügen</translation>
    </message>
</context>
<context>
    <name>velo::AdjustmentsDrawer</name>
    <message>
        <location filename="../src/ui/AdjustmentsDrawer.cpp" line="68"/>
        <source>Adjustments</source>
        <translation>Anpassungen</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsDrawer.cpp" line="70"/>
        <source>Arrows move, Space switches, Enter or F2 opens the colour panel on a swatch or the choices of a model, Delete deletes</source>
        <translation>Pfeiltasten bewegen, die Leertaste schaltet um, Eingabe oder F2 öffnet auf einem Farbfeld die Farbpalette oder die Auswahl eines Modells, Entf löscht</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsDrawer.cpp" line="117"/>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsDrawer.cpp" line="118"/>
        <source>Delete the selected adjustments</source>
        <translation>Die ausgewählten Anpassungen löschen</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsDrawer.cpp" line="121"/>
        <source>New Adjustment</source>
        <translation>Neue Anpassung</translation>
    </message>
</context>
<context>
    <name>velo::AdjustmentsTableModel</name>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="22"/>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="24"/>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="23"/>
        <source>Adjustment on or off</source>
        <translation>Anpassung ein oder aus</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="26"/>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="27"/>
        <source>Colors like this one are adjusted</source>
        <translation>Farben wie diese werden angepasst</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="28"/>
        <source>Source colour</source>
        <translation>Quellfarbe</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="29"/>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="30"/>
        <source>They move toward this color</source>
        <translation>Sie werden zu dieser Farbe hin verschoben</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="31"/>
        <source>Target colour</source>
        <translation>Zielfarbe</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="32"/>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="35"/>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="33"/>
        <source>Match in RGB, in HSB, or in OKLab as the eye sees colours</source>
        <translation>Abgleich in RGB, in HSB oder in OKLab, wie das Auge Farben sieht</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="37"/>
        <source>H</source>
        <translation>H</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="38"/>
        <source>Hue counts when matching (HSB, OKLab)</source>
        <translation>Der Farbton zählt beim Abgleich (HSB, OKLab)</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="39"/>
        <source>Hue</source>
        <translation>Farbton</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="40"/>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="41"/>
        <source>Saturation (HSB) or chroma (OKLab) counts when matching</source>
        <translation>Die Sättigung (HSB) oder Buntheit (OKLab) zählt beim Abgleich</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="43"/>
        <source>Saturation or chroma</source>
        <translation>Sättigung oder Buntheit</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="44"/>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="45"/>
        <source>Brightness (HSB) or lightness (OKLab) counts when matching</source>
        <translation>Die Helligkeit (HSB) oder Luminanz (OKLab) zählt beim Abgleich</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="47"/>
        <source>Brightness or lightness</source>
        <translation>Helligkeit oder Luminanz</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="49"/>
        <source>A</source>
        <translation>A</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="50"/>
        <source>Alpha counts when matching (HSB, OKLab)</source>
        <translation>Alpha zählt beim Abgleich (HSB, OKLab)</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="51"/>
        <source>Alpha</source>
        <translation>Alpha</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="52"/>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="56"/>
        <source>Reach</source>
        <translation>Radius</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="53"/>
        <source>Colours further than this from the source (in OKLab) stay as they are; empty: every colour moves</source>
        <translation>Farben, die weiter als dies von der Quelle entfernt sind (in OKLab), bleiben unverändert; leer: Jede Farbe wird verschoben</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="60"/>
        <source>rgb</source>
        <translation>rgb</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="61"/>
        <source>hsb</source>
        <translation>hsb</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="62"/>
        <source>oklab</source>
        <translation>oklab</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="165"/>
        <source>Colours further than %1 from the source stay as they are</source>
        <translation>Farben, die weiter als %1 von der Quelle entfernt sind, bleiben unverändert</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="167"/>
        <source>Unlimited: every colour moves</source>
        <translation>Unbegrenzt: Jede Farbe wird verschoben</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="179"/>
        <source>%1 of row %2</source>
        <translation>%1 in Zeile %2</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="188"/>
        <source>unlimited</source>
        <translation>unbegrenzt</translation>
    </message>
    <message>
        <location filename="../src/ui/AdjustmentsTableModel.cpp" line="203"/>
        <source>Matches on alpha alone, which this opaque image does not show: every pixel takes its target. Switch on H, S or B.</source>
        <translation>Gleicht nur Alpha ab, das dieses deckende Bild nicht zeigt: Jedes Pixel nimmt die Zielfarbe an. Schalten Sie H, S oder B ein.</translation>
    </message>
</context>
<context>
    <name>velo::ColorPanel</name>
    <message>
        <location filename="../src/ui/ColorPanel.cpp" line="22"/>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <location filename="../src/ui/ColorPanel.cpp" line="69"/>
        <source>Colors — no colour selected</source>
        <translation>Farben — keine Farbe ausgewählt</translation>
    </message>
    <message>
        <location filename="../src/ui/ColorPanel.cpp" line="70"/>
        <source>Colors — %1</source>
        <translation>Farben — %1</translation>
    </message>
</context>
<context>
    <name>velo::ColorWell</name>
    <message>
        <location filename="../src/ui/ColorWell.cpp" line="13"/>
        <source>Background color</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <location filename="../src/ui/ColorWell.cpp" line="40"/>
        <source>Background Color</source>
        <translation>Hintergrundfarbe</translation>
    </message>
</context>
<context>
    <name>velo::CustomizeToolbarDialog</name>
    <message>
        <location filename="../src/ui/CustomizeToolbarDialog.cpp" line="61"/>
        <source>Customize Toolbar</source>
        <translation>Werkzeugleiste einrichten</translation>
    </message>
    <message>
        <location filename="../src/ui/CustomizeToolbarDialog.cpp" line="64"/>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <location filename="../src/ui/CustomizeToolbarDialog.cpp" line="65"/>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <location filename="../src/ui/CustomizeToolbarDialog.cpp" line="66"/>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <location filename="../src/ui/CustomizeToolbarDialog.cpp" line="67"/>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <location filename="../src/ui/CustomizeToolbarDialog.cpp" line="72"/>
        <source>Use Default Set</source>
        <translation>Standardauswahl verwenden</translation>
    </message>
    <message>
        <location filename="../src/ui/CustomizeToolbarDialog.cpp" line="78"/>
        <source>Available items</source>
        <translation>Verfügbare Elemente</translation>
    </message>
    <message>
        <location filename="../src/ui/CustomizeToolbarDialog.cpp" line="79"/>
        <source>Toolbar items</source>
        <translation>Elemente der Werkzeugleiste</translation>
    </message>
</context>
<context>
    <name>velo::DamageBar</name>
    <message>
        <location filename="../src/ui/DamageBar.cpp" line="37"/>
        <source>Damaged file</source>
        <translation>Beschädigte Datei</translation>
    </message>
    <message>
        <location filename="../src/ui/DamageBar.cpp" line="55"/>
        <source>Dismiss</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <location filename="../src/ui/DamageBar.cpp" line="56"/>
        <source>Dismiss the damage warning</source>
        <translation>Die Warnung über die Beschädigung ausblenden</translation>
    </message>
    <message>
        <location filename="../src/ui/DamageBar.cpp" line="63"/>
        <source>Damaged file: %1.</source>
        <translation>Beschädigte Datei: %1.</translation>
    </message>
</context>
<context>
    <name>velo::DocumentMainWindow</name>
    <message>
        <location filename="../src/ui/DocumentMainWindow.cpp" line="82"/>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindow.cpp" line="84"/>
        <source>The adjusted image; click a colour to adjust it, Space shows the original</source>
        <translation>Das angepasste Bild; ein Klick auf eine Farbe passt sie an, die Leertaste zeigt das Original</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindow.cpp" line="122"/>
        <source>The image could not be dropped</source>
        <translation>Das Bild konnte nicht abgelegt werden</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindow.cpp" line="127"/>
        <source>Color Adjustments</source>
        <translation>Farbanpassungen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindow.cpp" line="248"/>
        <source>Show original</source>
        <translation>Original anzeigen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindow.cpp" line="248"/>
        <source>Show adjusted</source>
        <translation>Angepasst anzeigen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowCommands.cpp" line="50"/>
        <source>The defaults could not be stored</source>
        <translation>Die Vorgaben konnten nicht gespeichert werden</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="105"/>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="105"/>
        <source>Velo document (*.velo)</source>
        <translation>Velo-Dokument (*.velo)</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="138"/>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="419"/>
        <source>Save changes?</source>
        <translation>Änderungen speichern?</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="139"/>
        <source>“%1” was changed by another program since it was opened.</source>
        <translation>„%1“ wurde seit dem Öffnen von einem anderen Programm geändert.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="142"/>
        <source>Saving replaces what the other program wrote.</source>
        <translation>Beim Speichern wird ersetzt, was das andere Programm geschrieben hat.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="143"/>
        <source>Save Anyway</source>
        <translation>Trotzdem speichern</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="153"/>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="190"/>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="154"/>
        <source>%1 (recovered)</source>
        <translation>%1 (wiederhergestellt)</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="171"/>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="322"/>
        <source>Revert?</source>
        <translation>Neu laden?</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="172"/>
        <source>“%1” was changed by another program.</source>
        <translation>„%1“ wurde von einem anderen Programm geändert.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="176"/>
        <source>Revert to show its new content; your unsaved changes will be lost.</source>
        <translation>Laden Sie die Datei neu, um ihren neuen Inhalt zu sehen; Ihre ungespeicherten Änderungen gehen dabei verloren.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="177"/>
        <source>Revert to show its new content.</source>
        <translation>Laden Sie die Datei neu, um ihren neuen Inhalt zu sehen.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="178"/>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="326"/>
        <source>Revert</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="179"/>
        <source>Keep This Version</source>
        <translation>Diese Version behalten</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="200"/>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="217"/>
        <source>The adjusted image</source>
        <translation>Das angepasste Bild</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="226"/>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="271"/>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="299"/>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="310"/>
        <source>Saving failed</source>
        <translation>Speichern fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="227"/>
        <source>%1 cannot replace the file the document was opened from. Choose another name.</source>
        <translation>%1 kann die Datei, aus der das Dokument geöffnet wurde, nicht ersetzen. Wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="247"/>
        <source>Export LUT</source>
        <translation>LUT exportieren</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="248"/>
        <source>Cube LUT (*.cube)</source>
        <translation>Cube-LUT (*.cube)</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="248"/>
        <source>Hald CLUT image (*.png)</source>
        <translation>Hald-CLUT-Bild (*.png)</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="262"/>
        <source>The lookup table</source>
        <translation>Die Lookup-Tabelle</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="278"/>
        <source>Export Influence</source>
        <translation>Einfluss exportieren</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="279"/>
        <source>PNG image (*.png)</source>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="292"/>
        <source>The influence map</source>
        <translation>Die Einflusskarte</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="323"/>
        <source>Revert to the saved version of “%1”?</source>
        <translation>Auf die gespeicherte Version von „%1“ zurücksetzen?</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="325"/>
        <source>Your unsaved changes will be lost; this cannot be undone.</source>
        <translation>Ihre ungespeicherten Änderungen gehen verloren; dies kann nicht rückgängig gemacht werden.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="336"/>
        <source>Reverting failed</source>
        <translation>Zurücksetzen fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="385"/>
        <source>Printing failed</source>
        <translation>Drucken fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="386"/>
        <source>The printer could not be started.</source>
        <translation>Der Drucker konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="420"/>
        <source>Do you want to save the changes you made to “%1”?</source>
        <translation>Möchten Sie die Änderungen an „%1“ speichern?</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="423"/>
        <source>Your changes will be lost if you don’t save them.</source>
        <translation>Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowFiles.cpp" line="424"/>
        <source>&amp;Don’t Save</source>
        <translation>&amp;Nicht speichern</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="73"/>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="75"/>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="78"/>
        <source>&amp;Open…</source>
        <translation>Ö&amp;ffnen …</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="81"/>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="85"/>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="87"/>
        <source>Save &amp;As…</source>
        <translation>Speichern &amp;unter …</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="89"/>
        <source>&amp;Export…</source>
        <translation>&amp;Exportieren …</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="91"/>
        <source>Export &amp;LUT…</source>
        <translation>&amp;LUT exportieren …</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="92"/>
        <source>Export &amp;Influence…</source>
        <translation>E&amp;influss exportieren …</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="94"/>
        <source>Re&amp;vert to Saved</source>
        <translation>Auf gespeicherte &amp;Version zurücksetzen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="97"/>
        <source>&amp;Print…</source>
        <translation>&amp;Drucken …</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="101"/>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="104"/>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="111"/>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="112"/>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="114"/>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="119"/>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="123"/>
        <source>&amp;Protect Color	Ctrl+Alt+Click</source>
        <translation>Farbe &amp;schützen	Strg+Alt+Klick</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="130"/>
        <source>Select &amp;All</source>
        <translation>&amp;Alles auswählen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="134"/>
        <source>&amp;New Adjustment</source>
        <translation>&amp;Neue Anpassung</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="137"/>
        <source>Sa&amp;ve Adjustments as Default</source>
        <translation>Anpassungen als &amp;Vorgabe speichern</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="139"/>
        <source>Revert to &amp;Built-in Defaults</source>
        <translation>Auf &amp;mitgelieferte Vorgaben zurücksetzen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="144"/>
        <source>&amp;Image</source>
        <translation>B&amp;ild</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="145"/>
        <source>Add alpha channel</source>
        <translation>Alphakanal hinzufügen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="147"/>
        <source>Show Original</source>
        <translation>Original anzeigen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="154"/>
        <source>&amp;Background Color…</source>
        <translation>&amp;Hintergrundfarbe …</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="159"/>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="160"/>
        <source>I&amp;nfluence</source>
        <translation>&amp;Einfluss</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="164"/>
        <source>S&amp;plit</source>
        <translation>Vorher/&amp;Nachher</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="167"/>
        <source>&amp;Match Colors to Display</source>
        <translation>Farben an den &amp;Monitor anpassen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="180"/>
        <source>&amp;Actual Size</source>
        <translation>&amp;Originalgröße</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="182"/>
        <source>Zoom &amp;In</source>
        <translation>Ver&amp;größern</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="185"/>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="189"/>
        <source>&amp;Color Adjustments</source>
        <translation>&amp;Farbanpassungen</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="196"/>
        <source>&amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="200"/>
        <source>Customi&amp;ze Toolbar…</source>
        <translation>Werkzeugleiste ein&amp;richten …</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="203"/>
        <source>&amp;Sample Size</source>
        <translation>Aufnahme&amp;bereich</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="206"/>
        <source>&amp;Full Screen</source>
        <translation>&amp;Vollbildmodus</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="212"/>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="213"/>
        <source>Velo &amp;Handbook</source>
        <translation>Velo-&amp;Handbuch</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="217"/>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>&amp;Tastenkürzel</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="222"/>
        <source>&amp;About Velo</source>
        <translation>Ü&amp;ber Velo</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="232"/>
        <source>The handbook was not found</source>
        <translation>Das Handbuch wurde nicht gefunden</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="233"/>
        <source>Velo looks for its handbook in share/doc/velo/handbook beside the program, and this installation has none there. Velo’s package, or cmake --install, puts it there.</source>
        <translation>Velo sucht sein Handbuch in share/doc/velo/handbook neben dem Programm, und diese Installation hat dort keines. Das Velo-Paket oder cmake --install legt es dort ab.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="240"/>
        <source>The handbook could not be shown</source>
        <translation>Das Handbuch konnte nicht angezeigt werden</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="241"/>
        <source>No web browser opened %1.</source>
        <translation>Kein Webbrowser hat %1 geöffnet.</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="250"/>
        <source>&amp;Point Sample</source>
        <translation>&amp;Einzelner Punkt</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="250"/>
        <source>%1 by %1 Average</source>
        <translation>Durchschnitt aus %1 × %1</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowMenus.cpp" line="308"/>
        <source>Clear Menu</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentMainWindowToolbar.cpp" line="57"/>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
</context>
<context>
    <name>velo::DocumentStatusBar</name>
    <message>
        <location filename="../src/ui/DocumentStatusBar.cpp" line="21"/>
        <source>Zoom: 100% is one image pixel per screen pixel</source>
        <translation>Zoom: 100 % ist ein Bildpixel pro Bildschirmpixel</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentStatusBar.cpp" line="68"/>
        <source>Drop an image here, or choose File ▸ Open…</source>
        <translation>Legen Sie hier ein Bild ab oder wählen Sie Datei ▸ Öffnen …</translation>
    </message>
    <message>
        <location filename="../src/ui/DocumentStatusBar.cpp" line="94"/>
        <source>⚠ Row %1 matches on nothing this image shows</source>
        <translation>⚠ Zeile %1 gleicht nichts ab, was dieses Bild zeigt</translation>
    </message>
</context>
<context>
    <name>velo::ExportLutDialog</name>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="25"/>
        <source>Export LUT</source>
        <translation>LUT exportieren</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="28"/>
        <source>Cube LUT (.cube)</source>
        <translation>Cube-LUT (.cube)</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="29"/>
        <source>Hald CLUT image (PNG)</source>
        <translation>Hald-CLUT-Bild (PNG)</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="31"/>
        <source>Points per axis; 17, 33 and 65 are the common sizes.</source>
        <translation>Punkte pro Achse; 17, 33 und 65 sind die üblichen Größen.</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="33"/>
        <source>Level 16 holds every 8-bit colour: applying it gives Velo&apos;s result exactly.</source>
        <translation>Stufe 16 enthält jede 8-Bit-Farbe: Angewendet ergibt sie genau das Ergebnis von Velo.</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="38"/>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="39"/>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="40"/>
        <source>Level:</source>
        <translation>Stufe:</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="43"/>
        <source>These adjustments match on or change alpha, which a lookup table cannot hold: it gets their effect on opaque pixels only.</source>
        <translation>Diese Anpassungen gleichen Alpha ab oder ändern es, was eine Lookup-Tabelle nicht fassen kann: Sie erhält nur ihre Wirkung auf deckende Pixel.</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="52"/>
        <source>Export…</source>
        <translation>Exportieren …</translation>
    </message>
    <message>
        <location filename="../src/ui/ExportLutDialog.cpp" line="73"/>
        <source>%1 × %1 pixels</source>
        <translation>%1 × %1 Pixel</translation>
    </message>
</context>
<context>
    <name>velo::ReachDelegate</name>
    <message>
        <location filename="../src/ui/ReachDelegate.cpp" line="17"/>
        <source>unlimited</source>
        <translation>unbegrenzt</translation>
    </message>
    <message>
        <location filename="../src/ui/ReachDelegate.cpp" line="47"/>
        <source>Reach of row %1</source>
        <translation>Radius von Zeile %1</translation>
    </message>
    <message>
        <location filename="../src/ui/ReachDelegate.cpp" line="52"/>
        <source>Reach %1</source>
        <translation>Radius %1</translation>
    </message>
</context>
<context>
    <name>velo::VeloApplication</name>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="68"/>
        <location filename="../src/ui/VeloApplication.cpp" line="167"/>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="83"/>
        <source>Could not open</source>
        <translation>Öffnen nicht möglich</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="84"/>
        <source>“%1” could not be opened.</source>
        <translation>„%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="103"/>
        <source>Velo documents and images (*.velo %1)</source>
        <translation>Velo-Dokumente und Bilder (*.velo %1)</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="104"/>
        <source>Velo document (*.velo)</source>
        <translation>Velo-Dokument (*.velo)</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="104"/>
        <source>Images (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="105"/>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="109"/>
        <source>Open image</source>
        <translation>Bild öffnen</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="170"/>
        <source>Recover unsaved work?</source>
        <translation>Ungespeicherte Arbeit wiederherstellen?</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="171"/>
        <source>Velo ended before a document could be saved.</source>
        <translation>Velo wurde beendet, bevor ein Dokument gespeichert werden konnte.</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="172"/>
        <source>Velo ended before %1 documents could be saved.</source>
        <translation>Velo wurde beendet, bevor %1 Dokumente gespeichert werden konnten.</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="174"/>
        <source>Reopen it to save it, or discard it: %1.</source>
        <translation>Öffnen Sie es erneut, um es zu speichern, oder verwerfen Sie es: %1.</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="175"/>
        <source>Reopen them to save them, or discard them: %1.</source>
        <translation>Öffnen Sie sie erneut, um sie zu speichern, oder verwerfen Sie sie: %1.</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="177"/>
        <source>&amp;Reopen</source>
        <translation>&amp;Erneut öffnen</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="178"/>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <location filename="../src/ui/VeloApplication.cpp" line="179"/>
        <source>Decide &amp;Later</source>
        <translation>&amp;Später entscheiden</translation>
    </message>
</context>
</TS>
