<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl_NL">
<context>
    <name>AboutTexts</name>
    <message>
        <source>Dear %1,</source>
        <translation>Beste %1,</translation>
    </message>
    <message>
        <source>On you Home Page I found the program %1.</source>
        <translation>Ik vond op je Home Page het programma %1.</translation>
    </message>
    <message>
        <source>I want to comment on this program:</source>
        <translation>Ik wil hierover het volgende kwijt:</translation>
    </message>
    <message>
        <source>Kind regards,</source>
        <translation>Met vriendelijke groet,</translation>
    </message>
    <message>
        <source>The program %1 has been written by:</source>
        <translation>Het programma %1 is geschreven door:</translation>
    </message>
    <message>
        <source>%1, The Netherlands</source>
        <comment>the author&apos;s town; readers abroad also get the country</comment>
        <translation>%1</translation>
    </message>
    <message>
        <source>+31 20 123 4567</source>
        <comment>the author&apos;s phone number, for readers abroad with the country code, at home without it</comment>
        <translation>020 123 4567</translation>
    </message>
    <message>
        <source>Mail or write for further information!</source>
        <translation>Mail, bel of schrijf voor nadere informatie!</translation>
    </message>
    <message>
        <source> - Information</source>
        <translation> - Informatie</translation>
    </message>
    <message>
        <source> - Author</source>
        <translation> - Auteur</translation>
    </message>
    <message>
        <source>Back to the main window</source>
        <translation>Terug naar het beginvenster</translation>
    </message>
    <message>
        <source>%1; Create covers fo CD.</source>
        <translation>%1; Maak uw eigen covers voor CD.</translation>
    </message>
    <message>
        <source>Simple to use!</source>
        <translation>Eenvoudig in gebruik.</translation>
    </message>
    <message>
        <source>Send you remarks to the author of %1</source>
        <translation>Stuur uw opmerkingen naar de auteur van %1</translation>
    </message>
    <message>
        <source>Download the newest version of %1</source>
        <translation>Download de nieuwste versie van %1</translation>
    </message>
    <message>
        <source>Something went wrong sending e-mail.</source>
        <translation>Er is iets fout gegaan bij het versturen van de e-mail.</translation>
    </message>
    <message>
        <source>Webmail will be started now:</source>
        <translation>Webmail wordt nu gestart:</translation>
    </message>
    <message>
        <source>Browser not opened.</source>
        <translation>Browser niet geopend.</translation>
    </message>
</context>
<context>
    <name>AudioDisc</name>
    <message>
        <source>No CD drive was found at %1.</source>
        <translation>Er is geen cd-station gevonden op %1.</translation>
    </message>
    <message>
        <source>The CD drive %1 may not be read by this user.</source>
        <translation>Het cd-station %1 mag door deze gebruiker niet gelezen worden.</translation>
    </message>
    <message>
        <source>%1 is not a CD drive.</source>
        <translation>%1 is geen cd-station.</translation>
    </message>
    <message>
        <source>There is no disc in the CD drive %1.</source>
        <translation>Er zit geen schijf in het cd-station %1.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not the table of contents of an audio CD.</source>
        <translation>&quot;%1&quot; is niet de inhoudsopgave van een audio-cd.</translation>
    </message>
    <message>
        <source>The disc in the CD drive %1 is not an audio CD.</source>
        <translation>De schijf in het cd-station %1 is geen audio-cd.</translation>
    </message>
    <message>
        <source>Track %1</source>
        <translation>Nummer %1</translation>
    </message>
</context>
<context>
    <name>BackTextEditor</name>
    <message>
        <source>Enter the contents list in here.
<byte value="xd"/>Next click the OK Button to copy the list
<byte value="xd"/>to the layout in the Main screen.</source>
        <translation>Stel hier de lijst met nummers samen.
<byte value="xd"/>Klik vervolgens op OK om de lijst
<byte value="xd"/>naar de layout in het hoofdscherm te kopiëren.</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Lees</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Bewaar</translation>
    </message>
    <message>
        <source>Copy to Back Cover</source>
        <translation>Kopieer naar Achterkant</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source> - Select the rtf file for the back</source>
        <translation> - Selecteer het rtf-bestand voor de achterkant</translation>
    </message>
    <message>
        <source>RichText files (*.rtf)</source>
        <translation>RichText-bestanden (*.rtf)</translation>
    </message>
    <message>
        <source> - Select the folder of the album&apos;s audio files</source>
        <translation> - Selecteer de map met de muziekbestanden van het album</translation>
    </message>
    <message>
        <source> - Select the cue sheet or the track list</source>
        <translation> - Selecteer het cue-bestand of de lijst met nummers</translation>
    </message>
    <message>
        <source>Track lists (*.cue *.txt *.csv *.tsv)</source>
        <translation>Lijsten met nummers (*.cue *.txt *.csv *.tsv)</translation>
    </message>
    <message>
        <source>Audio files (%1)</source>
        <translation>Muziekbestanden (%1)</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importeer...</translation>
    </message>
    <message>
        <source>Makes the list from the music: a folder of audio files, a cue sheet, a text file or the clipboard. A folder or file dropped on the list is imported too.</source>
        <translation>Maakt de lijst uit de muziek: een map met muziekbestanden, een cue-bestand, een tekstbestand of het klembord. Een map of bestand dat op de lijst wordt neergezet, wordt ook geïmporteerd.</translation>
    </message>
    <message>
        <source>Folder of audio files...</source>
        <translation>Map met muziekbestanden...</translation>
    </message>
    <message>
        <source>Cue sheet or text file...</source>
        <translation>Cue-bestand of tekstbestand...</translation>
    </message>
    <message>
        <source>Paste a track list</source>
        <translation>Lijst met nummers plakken</translation>
    </message>
    <message>
        <source>Reading the track list from %1</source>
        <translation>De lijst met nummers wordt gelezen uit %1</translation>
    </message>
    <message>
        <source>The clipboard holds no track list.</source>
        <translation>Het klembord bevat geen lijst met nummers.</translation>
    </message>
    <message>
        <source>the clipboard</source>
        <translation>het klembord</translation>
    </message>
    <message>
        <source>The list has changes that have not been saved. Replace it with the list of %1 read from %2?</source>
        <translation>De lijst heeft wijzigingen die niet bewaard zijn. Vervangen door de lijst van %1 uit %2?</translation>
    </message>
    <message>
        <source>1 track</source>
        <translation>1 nummer</translation>
    </message>
    <message>
        <source>%1 tracks</source>
        <translation>%1 nummers</translation>
    </message>
    <message>
        <source>Use the album&apos;s picture from %1 as the front picture?</source>
        <translation>De afbeelding van het album uit %1 als voorfoto gebruiken?</translation>
    </message>
    <message>
        <source>Audio CD</source>
        <translation>Audio-cd</translation>
    </message>
    <message>
        <source>the audio CD</source>
        <translation>de audio-cd</translation>
    </message>
</context>
<context>
    <name>BrowseDialog</name>
    <message>
        <source>Create new Folder</source>
        <translation>Maak nieuwe Map aan</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>The drive %1 is not there any more.</source>
        <translation>De schijf %1 is er niet meer.</translation>
    </message>
    <message>
        <source>No files found.</source>
        <translation>Er zijn geen bwestanden gevonden.</translation>
    </message>
    <message>
        <source>Enter Name of new Folder:</source>
        <translation>Geef de naam van de nieuwe map:</translation>
    </message>
    <message>
        <source>Enter a name for the new folder.</source>
        <translation>Geef een naam voor de nieuwe map.</translation>
    </message>
    <message>
        <source>A folder name cannot hold &quot;%1&quot;.</source>
        <translation>Een mapnaam kan geen &quot;%1&quot; bevatten.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be the name of a folder.</source>
        <translation>&quot;%1&quot; kan niet de naam van een map zijn.</translation>
    </message>
    <message>
        <source>The name holds a character that no folder name can hold.</source>
        <translation>De naam bevat een teken dat in geen enkele mapnaam mag staan.</translation>
    </message>
    <message>
        <source>The name is too long for a folder.</source>
        <translation>De naam is te lang voor een map.</translation>
    </message>
    <message>
        <source>Folder already exists.</source>
        <translation>Deze map bestaat reeds.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; could not be made.</source>
        <translation>De map &quot;%1&quot; kon niet worden gemaakt.</translation>
    </message>
</context>
<context>
    <name>CalibrationDialog</name>
    <message>
        <source> - Printer calibration</source>
        <translation> - Printerkalibratie</translation>
    </message>
    <message>
        <source>Printer:</source>
        <translation>Printer:</translation>
    </message>
    <message>
        <source>Print test page</source>
        <translation>Testpagina afdrukken</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>No printer is installed, or the print service is not running: there is no printer to calibrate.</source>
        <translation>Er is geen printer geïnstalleerd, of de afdrukservice draait niet: er is geen printer om te kalibreren.</translation>
    </message>
    <message>
        <source>Standard jewel-case sizes</source>
        <translation>Standaardmaten van een CD-doosje</translation>
    </message>
    <message>
        <source>Prints every cover at the size a jewel case takes: the front 120 × 120 mm, the tray card 150 × 118 mm with 6.5 mm spines. Off: the design&apos;s slightly smaller scale.</source>
        <translation>Drukt elke cover af op de maat die in een CD-doosje past: de voorkant 120 × 120 mm, de achterkant 150 × 118 mm met zijkanten van 6,5 mm. Uit: de iets kleinere schaal van het ontwerp.</translation>
    </message>
</context>
<context>
    <name>CalibrationPage</name>
    <message>
        <source>Corners of the front&apos;s frame</source>
        <translation>Hoeken van het kader van de voorkant</translation>
    </message>
    <message>
        <source>Sleevix calibration test page for the printer %1</source>
        <translation>Sleevix-kalibratietestpagina voor de printer %1</translation>
    </message>
    <message>
        <source>Printed with the offsets %1&#xa0;mm across and %2&#xa0;mm down and the scales %3&#xa0;% across and %4&#xa0;% down.</source>
        <translation>Afgedrukt met de verschuivingen %1&#xa0;mm horizontaal en %2&#xa0;mm verticaal en de schalen %3&#xa0;% horizontaal en %4&#xa0;% verticaal.</translation>
    </message>
    <message>
        <source>Both lines should be 100&#xa0;mm long. The 0 mark of the horizontal line should lie %1&#xa0;mm from the left edge of the paper, that of the vertical line %2&#xa0;mm from the top edge.</source>
        <translation>Beide lijnen horen 100&#xa0;mm lang te zijn. Het 0-streepje van de horizontale lijn hoort %1&#xa0;mm van de linkerrand van het papier te liggen, dat van de verticale lijn %2&#xa0;mm van de bovenrand.</translation>
    </message>
    <message>
        <source>A line L mm long: new scale = scale in use × 100 / L. Correct the scales first and print this page again. Then a 0 mark that lies d mm too far right or down: new offset = offset in use − d.</source>
        <translation>Een lijn van L mm lang: nieuwe schaal = huidige schaal × 100 / L. Verbeter eerst de schalen en druk deze pagina opnieuw af. Ligt daarna een 0-streepje d mm te ver naar rechts of naar beneden: nieuwe verschuiving = huidige verschuiving − d.</translation>
    </message>
    <message>
        <source>Covers print at the standard jewel-case sizes: front 120.0 × 120.0 mm (solid corners). Dashed: the design&apos;s scale, front 119.1 × 118.7 mm.</source>
        <translation>Covers worden afgedrukt op de standaardmaten van een CD-doosje: voorkant 120,0 × 120,0 mm (doorgetrokken hoeken). Gestreept: de schaal van het ontwerp, voorkant 119,1 × 118,7 mm.</translation>
    </message>
    <message>
        <source>Covers print at the design&apos;s scale: front 119.1 × 118.7 mm (solid corners). Dashed: the standard jewel-case sizes, front 120.0 × 120.0 mm.</source>
        <translation>Covers worden afgedrukt op de schaal van het ontwerp: voorkant 119,1 × 118,7 mm (doorgetrokken hoeken). Gestreept: de standaardmaten van een CD-doosje, voorkant 120,0 × 120,0 mm.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Lays out and prints the paper insert of a CD jewel case. With --export-pdf or --export-png it writes the page of a project as printing makes it, without a window.</source>
        <translation>Maakt het papieren inlegvel van een CD-doosje op en drukt het af. Met --export-pdf of --export-png schrijft het de pagina van een project zoals afdrukken die maakt, zonder venster.</translation>
    </message>
    <message>
        <source>Writes the page of the project as a PDF file &lt;file&gt;.</source>
        <translation>Schrijft de pagina van het project als PDF-bestand &lt;bestand&gt;.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>bestand</translation>
    </message>
    <message>
        <source>Writes the page of the project as a PNG picture &lt;file&gt;; needs --dpi.</source>
        <translation>Schrijft de pagina van het project als PNG-afbeelding &lt;bestand&gt;; vraagt om --dpi.</translation>
    </message>
    <message>
        <source>The PNG picture&apos;s resolution in dots per inch, %1 to %2.</source>
        <translation>De resolutie van de PNG-afbeelding in punten per inch, %1 tot %2.</translation>
    </message>
    <message>
        <source>n</source>
        <translation>getal</translation>
    </message>
    <message>
        <source>project-folder</source>
        <translation>projectmap</translation>
    </message>
    <message>
        <source>With an export: the project folder to print; without one, the current project. Otherwise: pictures to open for the front.</source>
        <translation>Bij een export: de projectmap om af te drukken; zonder map het huidige project. Anders: afbeeldingen om voor de voorkant te openen.</translation>
    </message>
    <message>
        <source>[project-folder | pictures...]</source>
        <translation>[projectmap | afbeeldingen...]</translation>
    </message>
    <message>
        <source>--dpi goes with --export-png only.</source>
        <translation>--dpi hoort alleen bij --export-png.</translation>
    </message>
    <message>
        <source>There is no display to show the window on; --export-pdf and --export-png work without one (see --help).</source>
        <translation>Er is geen beeldscherm om het venster op te tonen; --export-pdf en --export-png werken zonder (zie --help).</translation>
    </message>
    <message>
        <source>--export-pdf and --export-png cannot be given together.</source>
        <translation>--export-pdf en --export-png kunnen niet samen worden gegeven.</translation>
    </message>
    <message>
        <source>%1 needs the name of the file to write.</source>
        <translation>%1 vraagt om de naam van het bestand dat geschreven wordt.</translation>
    </message>
    <message>
        <source>%1 can be given once only.</source>
        <translation>%1 kan maar één keer worden gegeven.</translation>
    </message>
    <message>
        <source>Only one project folder can be exported; also given: %1</source>
        <translation>Er kan maar één projectmap worden geëxporteerd; ook gegeven: %1</translation>
    </message>
    <message>
        <source>--export-png needs --dpi, the picture&apos;s resolution in dots per inch.</source>
        <translation>--export-png vraagt om --dpi, de resolutie van de afbeelding in punten per inch.</translation>
    </message>
    <message>
        <source>--dpi must be a whole number from %1 to %2, not &quot;%3&quot;.</source>
        <translation>--dpi moet een geheel getal van %1 tot %2 zijn, niet &quot;%3&quot;.</translation>
    </message>
    <message>
        <source>The paper of the exported page: a4 or letter (US Letter). Without it, the paper of your country.</source>
        <translation>Het papier van de geëxporteerde pagina: a4 of letter (US Letter). Zonder deze optie het papier van uw land.</translation>
    </message>
    <message>
        <source>paper</source>
        <translation>papier</translation>
    </message>
    <message>
        <source>Prints the covers at the standard jewel-case sizes (front 120 x 120 mm) instead of the design&apos;s scale.</source>
        <translation>Drukt de covers af op de standaardmaten van een CD-doosje (voorkant 120 x 120 mm) in plaats van op de schaal van het ontwerp.</translation>
    </message>
    <message>
        <source>Exports the project&apos;s disc label instead of the insert.</source>
        <translation>Exporteert het CD-label van het project in plaats van het inlegvel.</translation>
    </message>
    <message>
        <source>%1 goes with --export-pdf or --export-png only.</source>
        <translation>%1 hoort alleen bij --export-pdf of --export-png.</translation>
    </message>
    <message>
        <source>--paper must be a4 or letter, not &quot;%1&quot;.</source>
        <translation>--paper moet a4 of letter zijn, niet &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>With an export: the track list read from &lt;folder-or-cue&gt; (a folder of audio files or a cue sheet) goes on the back, the album on the spines, and the album&apos;s picture on the front when the project has none.</source>
        <translation>Bij een export: de lijst met nummers uit &lt;map-of-cue&gt; (een map met muziekbestanden of een cue-bestand) komt op de achterkant, het album op de ruggen, en de afbeelding van het album op de voorkant als het project er geen heeft.</translation>
    </message>
    <message>
        <source>folder-or-cue</source>
        <translation>map-of-cue</translation>
    </message>
    <message>
        <source>--tracks goes with --export-pdf or --export-png only.</source>
        <translation>--tracks hoort alleen bij --export-pdf of --export-png.</translation>
    </message>
    <message>
        <source>--tracks needs a folder of audio files or a cue sheet.</source>
        <translation>--tracks heeft een map met muziekbestanden of een cue-bestand nodig.</translation>
    </message>
</context>
<context>
    <name>CueSheet</name>
    <message>
        <source>%1 is not a cue sheet that can be read.</source>
        <translation>%1 is geen cue-bestand dat gelezen kan worden.</translation>
    </message>
</context>
<context>
    <name>DiscImport</name>
    <message>
        <source>Reading the audio CD and looking it up on MusicBrainz</source>
        <translation>De audio-cd wordt gelezen en opgezocht op MusicBrainz</translation>
    </message>
    <message>
        <source>%1 The titles come from the disc&apos;s CD-Text.</source>
        <translation>%1 De titels komen uit de CD-Text van de schijf.</translation>
    </message>
    <message>
        <source>%1 The disc has no CD-Text either. Lay out its tracks with their times only, titled &quot;Track 1&quot;, &quot;Track 2&quot; and so on?</source>
        <translation>%1 De schijf heeft ook geen CD-Text. De nummers alleen met hun tijden opnemen, als &quot;Nummer 1&quot;, &quot;Nummer 2&quot; enzovoort?</translation>
    </message>
</context>
<context>
    <name>DiscLabel</name>
    <message>
        <source>Line %1 is not a label sheet (name | A4, Letter or any | x,y ... or middle | cut or nothing): %2</source>
        <translation>Regel %1 is geen labelvel (naam | A4, Letter of any | x,y ... of middle | cut of niets): %2</translation>
    </message>
    <message>
        <source>Own page</source>
        <translation>Eigen pagina</translation>
    </message>
    <message>
        <source>Plain paper with a cut circle</source>
        <translation>Gewoon papier met een snijcirkel</translation>
    </message>
    <message>
        <source>A4 sheet of two labels</source>
        <translation>A4-vel met twee labels</translation>
    </message>
</context>
<context>
    <name>DiscLabelDialog</name>
    <message>
        <source> - Disc label</source>
        <translation> - CD-label</translation>
    </message>
    <message>
        <source>Centre hole:</source>
        <translation>Middengat:</translation>
    </message>
    <message>
        <source>15 mm (full-face label)</source>
        <translation>15 mm (label over het hele vlak)</translation>
    </message>
    <message>
        <source>Track list:</source>
        <translation>Lijst met nummers:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Geen</translation>
    </message>
    <message>
        <source>In a ring along the edge</source>
        <translation>In een ring langs de rand</translation>
    </message>
    <message>
        <source>In a block below the hole</source>
        <translation>In een blok onder het gat</translation>
    </message>
    <message>
        <source>Print on:</source>
        <translation>Afdrukken op:</translation>
    </message>
    <message>
        <source>Print…</source>
        <translation>Afdrukken…</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>Your own sheets: %1</source>
        <translation>Uw eigen vellen: %1</translation>
    </message>
</context>
<context>
    <name>DroppedFiles</name>
    <message>
        <source>%1 cannot be read:
%2</source>
        <translation>%1 kan niet gelezen worden:
%2</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>There is no project folder %1.</source>
        <translation>Er is geen projectmap %1.</translation>
    </message>
    <message>
        <source>The disc label is exported as a PDF file only (--export-pdf).</source>
        <translation>Het CD-label wordt alleen als PDF-bestand geëxporteerd (--export-pdf).</translation>
    </message>
    <message>
        <source>Out of memory.</source>
        <translation>Onvoldoende geheugen.</translation>
    </message>
</context>
<context>
    <name>FileBytes</name>
    <message>
        <source>The copy of the file that was read could not be read back.</source>
        <translation>De kopie van het gelezen bestand kon niet worden teruggelezen.</translation>
    </message>
</context>
<context>
    <name>FrontFillDialog</name>
    <message>
        <source> - Front picture</source>
        <translation> - Voorfoto</translation>
    </message>
    <message>
        <source>Stretch to the square</source>
        <translation>Uitrekken tot het vierkant</translation>
    </message>
    <message>
        <source>Crop to a square</source>
        <translation>Bijsnijden tot een vierkant</translation>
    </message>
    <message>
        <source>Fit whole on a colour</source>
        <translation>Helemaal passen op een kleur</translation>
    </message>
    <message>
        <source>Background colour…</source>
        <translation>Achtergrondkleur…</translation>
    </message>
    <message>
        <source>Drag the square over the picture; the mouse wheel makes it larger or smaller.</source>
        <translation>Sleep het vierkant over de foto; met het muiswiel wordt het groter of kleiner.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>Background colour</source>
        <translation>Achtergrondkleur</translation>
    </message>
</context>
<context>
    <name>FrontResolution</name>
    <message>
        <source>Front picture: %1 pixels per inch at print size — may print soft.</source>
        <translation>Voorfoto: %1 pixels per inch op afdrukformaat — kan onscherp afdrukken.</translation>
    </message>
</context>
<context>
    <name>LabelPrint</name>
    <message>
        <source>The label sheet &quot;%1&quot; is made for %2 paper; the printer has %3. Nothing was printed.</source>
        <translation>Het labelvel &quot;%1&quot; is gemaakt voor %2-papier; de printer heeft %3. Er is niets afgedrukt.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>version %1</source>
        <translation>versie %1</translation>
    </message>
    <message>
        <source>Copyright © 2002–2026 the makers of Sleevix</source>
        <translation>Copyright © 2002–2026 de makers van Sleevix</translation>
    </message>
    <message>
        <source>You didn&apos;t read the Back Text</source>
        <translation>U heeft de Achtertekst niet geladen</translation>
    </message>
    <message>
        <source>First create the list of contents for the back of the CD.</source>
        <translation>Maak eerst de inhoudsopgave voor de achterzijde aan.</translation>
    </message>
    <message>
        <source>&amp;New Project</source>
        <translation>&amp;Nieuw Project</translation>
    </message>
    <message>
        <source>&amp;Save Project</source>
        <translation>&amp;Bewaar Project</translation>
    </message>
    <message>
        <source>&amp;Read Project</source>
        <translation>&amp;Lees Project</translation>
    </message>
    <message>
        <source>Read &amp;Front Picture</source>
        <translation>Lees &amp;Voorfoto</translation>
    </message>
    <message>
        <source>&amp;Back Text</source>
        <translation>&amp;Achtertekst</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Druk Af</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>&amp;Over Sleevix</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Sluit af</translation>
    </message>
    <message>
        <source>&amp;Enter the Text for the Splines:</source>
        <translation>&amp;Geef de tekst voor de zijkanten:</translation>
    </message>
    <message>
        <source>App&amp;ly</source>
        <translation>&amp;Pas Toe</translation>
    </message>
    <message>
        <source>Fron&amp;t Fill...</source>
        <translation>Voor&amp;kant vullen...</translation>
    </message>
    <message>
        <source>&amp;Disc Label...</source>
        <translation>&amp;CD-label...</translation>
    </message>
</context>
<context>
    <name>MusicBrainzLookup</name>
    <message>
        <source>%1 (disc %2 of %3)</source>
        <translation>%1 (schijf %2 van %3)</translation>
    </message>
    <message>
        <source>MusicBrainz&apos;s answer about this disc cannot be read.</source>
        <translation>Het antwoord van MusicBrainz over deze schijf is niet te lezen.</translation>
    </message>
    <message>
        <source>MusicBrainz&apos;s answer about this disc is larger than %1 MB and was not read.</source>
        <translation>Het antwoord van MusicBrainz over deze schijf is groter dan %1 MB en is niet gelezen.</translation>
    </message>
    <message>
        <source>MusicBrainz does not know this disc.</source>
        <translation>MusicBrainz kent deze schijf niet.</translation>
    </message>
    <message>
        <source>MusicBrainz (%1) did not answer within %2 seconds.</source>
        <translation>MusicBrainz (%1) heeft niet binnen %2 seconden geantwoord.</translation>
    </message>
    <message>
        <source>MusicBrainz (%1) cannot be reached; check the internet connection.</source>
        <translation>MusicBrainz (%1) is niet bereikbaar; controleer de internetverbinding.</translation>
    </message>
    <message>
        <source>MusicBrainz (%1) answered with error %2; try again later.</source>
        <translation>MusicBrainz (%1) antwoordde met fout %2; probeer het later opnieuw.</translation>
    </message>
</context>
<context>
    <name>MusicFolder</name>
    <message>
        <source>The folder %1 cannot be read.</source>
        <translation>De map %1 kan niet gelezen worden.</translation>
    </message>
    <message>
        <source>There are no audio files in %1.</source>
        <translation>Er staan geen muziekbestanden in %1.</translation>
    </message>
    <message>
        <source>Various Artists</source>
        <translation>Diverse artiesten</translation>
    </message>
</context>
<context>
    <name>MusicModule</name>
    <message>
        <source>it belongs to another version</source>
        <translation>hij hoort bij een andere versie</translation>
    </message>
    <message>
        <source>it is not installed</source>
        <translation>hij is niet geïnstalleerd</translation>
    </message>
    <message>
        <source>Sleevix cannot read music files or discs: its module %1 cannot be loaded (%2).</source>
        <translation>Sleevix kan geen muziekbestanden of cd's lezen: de module %1 kan niet worden geladen (%2).</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source> - Options</source>
        <translation> - Instellingen</translation>
    </message>
    <message>
        <source> Location for Data Files </source>
        <translation> Plaats voor de bestanden </translation>
    </message>
    <message>
        <source>Enter new Location for Data Files:</source>
        <translation>Geef het nieuwe pad voor de bestanden:</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Bladeren</translation>
    </message>
    <message>
        <source>Copy Files to new Directory</source>
        <translation>Kopieer bestanden naar nieuwe map</translation>
    </message>
    <message>
        <source>&quot;Check for Updates&quot; On</source>
        <translation> &quot;Check voor Updates&quot; Aan </translation>
    </message>
    <message>
        <source>Check Now</source>
        <translation>Check Nu</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source> - Path for files</source>
        <translation> - Pad voor bestanden</translation>
    </message>
    <message>
        <source>Select the Path for the Files<byte value="xd"/>
en klik op OK.</source>
        <translation>Selecteer het pad voor de bestanden<byte value="xd"/>
en klik op OK.</translation>
    </message>
</context>
<context>
    <name>PageExport</name>
    <message>
        <source>Cannot create file %1</source>
        <translation>Kan het bestand %1 niet maken.</translation>
    </message>
    <message>
        <source>Not enough memory for a page at %1 dpi.</source>
        <translation>Niet genoeg geheugen voor een pagina op %1 dpi.</translation>
    </message>
    <message>
        <source>No PNG page at %1 dpi: from %2 to %3.</source>
        <translation>Geen PNG-pagina op %1 dpi: van %2 tot %3.</translation>
    </message>
</context>
<context>
    <name>PaperFit</name>
    <message>
        <source>The covers do not fit on the paper %1: its printable area is %2 × %3 mm. Choose a larger paper (A4 or US Letter) or smaller margins; nothing was printed.</source>
        <translation>De covers passen niet op het papier %1: het bedrukbare deel is %2 × %3 mm. Kies groter papier (A4 of US Letter) of kleinere marges; er is niets afgedrukt.</translation>
    </message>
</context>
<context>
    <name>Picture</name>
    <message>
        <source>The picture is too large (%1 × %2 pixels).</source>
        <translation>De afbeelding is te groot (%1 × %2 pixels).</translation>
    </message>
    <message>
        <source>the file ends early</source>
        <translation>het bestand houdt te vroeg op</translation>
    </message>
    <message>
        <source>the picture&apos;s data ends early</source>
        <translation>de gegevens van de afbeelding houden te vroeg op</translation>
    </message>
    <message>
        <source>not a JPEG file</source>
        <translation>geen JPEG-bestand</translation>
    </message>
    <message>
        <source>too large to decode in memory</source>
        <translation>te groot om in het geheugen te decoderen</translation>
    </message>
    <message>
        <source>a kind of JPEG that cannot be read</source>
        <translation>een soort JPEG die niet gelezen kan worden</translation>
    </message>
    <message>
        <source>more scans than any real picture has</source>
        <translation>meer scans dan een echte afbeelding heeft</translation>
    </message>
    <message>
        <source>the file is damaged</source>
        <translation>het bestand is beschadigd</translation>
    </message>
    <message>
        <source>JPEG error (%1)</source>
        <translation>JPEG-fout (%1)</translation>
    </message>
    <message>
        <source>The picture file is damaged (%1).</source>
        <translation>Het afbeeldingsbestand is beschadigd (%1).</translation>
    </message>
    <message>
        <source>%1 is too large for a picture (%2 MB; at most %3 MB).</source>
        <translation>%1 is te groot voor een afbeelding (%2 MB; hoogstens %3 MB).</translation>
    </message>
</context>
<context>
    <name>PrintPreview</name>
    <message>
        <source>Cannot create file %1</source>
        <translation>Kan het bestand %1 niet maken.</translation>
    </message>
    <message>
        <source>No printer is installed, or the print service is not running. Install a printer, or print to a PDF file.</source>
        <translation>Er is geen printer geïnstalleerd, of de afdrukservice draait niet. Installeer een printer of druk af naar een PDF-bestand.</translation>
    </message>
    <message>
        <source>The printer %1 cannot start a print job.</source>
        <translation>De printer %1 kan geen afdruk beginnen.</translation>
    </message>
    <message>
        <source>The print service did not take the print job: %1</source>
        <translation>De afdrukservice heeft de afdruk niet aangenomen: %1</translation>
    </message>
    <message>
        <source>The printer reported an error; the print may be incomplete.</source>
        <translation>De printer meldt een fout; de afdruk is mogelijk niet compleet.</translation>
    </message>
    <message>
        <source>The file %1 could not be written completely.</source>
        <translation>Het bestand %1 kon niet helemaal worden geschreven.</translation>
    </message>
    <message>
        <source> - Printing Example</source>
        <translation> - Afdrukvoorbeeld</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Afdrukken</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source>Calibrate…</source>
        <translation>Kalibreren…</translation>
    </message>
    <message>
        <source>Covers print too small or too large?</source>
        <translation>Worden covers te klein of te groot afgedrukt?</translation>
    </message>
</context>
<context>
    <name>PrinterCalibration</name>
    <message>
        <source>%1 must be a number from 95.0 to 105.0 %, in tenths of a percent; &quot;%2&quot; is not.</source>
        <translation>%1 moet een getal van 95,0 tot 105,0 % zijn, in tienden van een procent; &quot;%2&quot; is dat niet.</translation>
    </message>
    <message>
        <source>%1 must be a number from -10.0 to +10.0 mm, in tenths of a millimetre; &quot;%2&quot; is not.</source>
        <translation>%1 moet een getal van -10,0 tot +10,0 mm zijn, in tienden van een millimeter; &quot;%2&quot; is dat niet.</translation>
    </message>
    <message>
        <source>Horizontal offset</source>
        <translation>Horizontale verschuiving</translation>
    </message>
    <message>
        <source>Vertical offset</source>
        <translation>Verticale verschuiving</translation>
    </message>
    <message>
        <source>Horizontal scale</source>
        <translation>Horizontale schaal</translation>
    </message>
    <message>
        <source>Vertical scale</source>
        <translation>Verticale schaal</translation>
    </message>
</context>
<context>
    <name>Project</name>
    <message>
        <source>&quot;.&quot; and &quot;..&quot; stand for the folder itself and the one above it</source>
        <translation>&quot;.&quot; en &quot;..&quot; staan voor de map zelf en de map erboven</translation>
    </message>
    <message>
        <source>it contains &quot;%1&quot;, which cannot stand in a folder name</source>
        <translation>er staat &quot;%1&quot; in, dat niet in een mapnaam mag staan</translation>
    </message>
    <message>
        <source>it is too long for the file system</source>
        <translation>de naam is te lang voor het bestandssysteem</translation>
    </message>
    <message>
        <source>the path of its files would be too long for the file system</source>
        <translation>het pad van de bestanden zou te lang worden voor het bestandssysteem</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be the name of a project folder: %2.</source>
        <translation>&quot;%1&quot; kan niet de naam van een projectmap zijn: %2.</translation>
    </message>
    <message>
        <source>there is not enough memory to read it</source>
        <translation>er is onvoldoende geheugen om het te lezen</translation>
    </message>
    <message>
        <source>it contains a zero character</source>
        <translation>er staat een nulteken in</translation>
    </message>
    <message>
        <source>Note: a Windows drive (FAT or NTFS, most USB sticks) takes no &quot;%1&quot; in a folder name.</source>
        <translation>Let op: een Windows-schijf (FAT of NTFS, de meeste USB-sticks) neemt geen &quot;%1&quot; in een mapnaam.</translation>
    </message>
    <message>
        <source>Note: a Windows drive (FAT or NTFS, most USB sticks) takes no tab or line break in a folder name.</source>
        <translation>Let op: een Windows-schijf (FAT of NTFS, de meeste USB-sticks) neemt geen tab of regeleinde in een mapnaam.</translation>
    </message>
    <message>
        <source>Note: a Windows drive (FAT or NTFS, most USB sticks) drops a space or full stop at the end of a folder name.</source>
        <translation>Let op: een Windows-schijf (FAT of NTFS, de meeste USB-sticks) laat een spatie of punt aan het eind van een mapnaam weg.</translation>
    </message>
    <message>
        <source>Note: Windows keeps the name &quot;%1&quot; for a device; a folder of that name cannot be copied there.</source>
        <translation>Let op: Windows houdt de naam &quot;%1&quot; vrij voor een apparaat; een map met die naam kan daar niet heen worden gekopieerd.</translation>
    </message>
</context>
<context>
    <name>ProjectCommands</name>
    <message>
        <source>The project %1</source>
        <translation>Het project %1</translation>
    </message>
    <message>
        <source> - Path for files</source>
        <translation> - Pad voor bestanden</translation>
    </message>
    <message>
        <source>Select the Path for the Files<byte value="xd"/>
en klik op OK.</source>
        <translation>Selecteer het pad voor de bestanden<byte value="xd"/>
en klik op OK.</translation>
    </message>
    <message>
        <source> - Select the picture for the front</source>
        <translation> - Selecteer de afbeelding voor de voorkant</translation>
    </message>
    <message>
        <source>Select the Path for the Files.<byte value="xd"/>
and Click OK.</source>
        <translation>Selecteer het pad voor de bestanden.<byte value="xd"/>
en klik op OK.</translation>
    </message>
    <message>
        <source>has been saved in %1.</source>
        <translation>is bewaard in %1.</translation>
    </message>
</context>
<context>
    <name>ReleaseChoiceDialog</name>
    <message>
        <source> - Choose the release</source>
        <translation> - Kies de uitgave</translation>
    </message>
    <message>
        <source>MusicBrainz knows several releases of this disc. Choose the one you have:</source>
        <translation>MusicBrainz kent meerdere uitgaven van deze schijf. Kies de uitgave die u hebt:</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Artiest</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jaar</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formaat</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Nummers</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
</context>
<context>
    <name>RichTextEdit</name>
    <message>
        <source>%1 is too large for a list of contents (%2 MB; at most %3 MB).</source>
        <translation>%1 is te groot voor een inhoudsopgave (%2 MB; hoogstens %3 MB).</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings file %1 cannot be read: the settings take their defaults and will not be saved.</source>
        <translation>Het instellingenbestand %1 kan niet worden gelezen: de instellingen krijgen hun standaardwaarden en worden niet bewaard.</translation>
    </message>
    <message>
        <source>The settings file %1 is damaged; the settings that could not be read take their defaults. A copy of the file is kept as %2 when the settings are next saved.</source>
        <translation>Het instellingenbestand %1 is beschadigd; de instellingen die niet gelezen konden worden krijgen hun standaardwaarden. Een kopie van het bestand wordt bewaard als %2 wanneer de instellingen de volgende keer worden bewaard.</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>Do you want to save the current project?</source>
        <translation>Wilt u het huidige project bewaren?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nee</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
    <message>
        <source> - Calibration test page</source>
        <translation> - Kalibratietestpagina</translation>
    </message>
    <message>
        <source>The folder %1 holds another project. Replace it with this one?</source>
        <translation>De map %1 bevat een ander project. Wilt u het door dit project vervangen?</translation>
    </message>
</context>
<context>
    <name>Support</name>
    <message>
        <source>I/O error: cannot return to %1</source>
        <translation>I/O-fout: kan niet terug naar %1</translation>
    </message>
    <message>
        <source>I/O error: cannot enter %1</source>
        <translation>I/O-fout: kan %1 niet openen</translation>
    </message>
</context>
<context>
    <name>SystemReason</name>
    <message>
        <source>The disk is full.</source>
        <translation>De schijf is vol.</translation>
    </message>
    <message>
        <source>The disk is read-only.</source>
        <translation>De schijf is alleen-lezen.</translation>
    </message>
    <message>
        <source>You have no permission for this file or folder.</source>
        <translation>U hebt geen toestemming voor dit bestand of deze map.</translation>
    </message>
    <message>
        <source>The file or folder does not exist.</source>
        <translation>Het bestand of de map bestaat niet.</translation>
    </message>
    <message>
        <source>A part of the path is not a folder.</source>
        <translation>Een deel van het pad is geen map.</translation>
    </message>
    <message>
        <source>It is a folder, not a file.</source>
        <translation>Het is een map, geen bestand.</translation>
    </message>
    <message>
        <source>The file is too large for this disk.</source>
        <translation>Het bestand is te groot voor deze schijf.</translation>
    </message>
    <message>
        <source>The name is too long.</source>
        <translation>De naam is te lang.</translation>
    </message>
    <message>
        <source>The disk reported a read or write error.</source>
        <translation>De schijf meldde een lees- of schrijffout.</translation>
    </message>
    <message>
        <source>Too many files are open.</source>
        <translation>Er zijn te veel bestanden open.</translation>
    </message>
    <message>
        <source>There is not enough memory.</source>
        <translation>Er is niet genoeg geheugen.</translation>
    </message>
    <message>
        <source>The file is in use.</source>
        <translation>Het bestand is in gebruik.</translation>
    </message>
    <message>
        <source>The path has too many links.</source>
        <translation>Het pad heeft te veel koppelingen.</translation>
    </message>
    <message>
        <source>The file already exists.</source>
        <translation>Het bestand bestaat al.</translation>
    </message>
    <message>
        <source>The file cannot be moved to another disk.</source>
        <translation>Het bestand kan niet naar een andere schijf worden verplaatst.</translation>
    </message>
    <message>
        <source>The folder is not empty.</source>
        <translation>De map is niet leeg.</translation>
    </message>
    <message>
        <source>The system reported error %1.</source>
        <translation>Het systeem meldde fout %1.</translation>
    </message>
</context>
<context>
    <name>TabRuler</name>
    <message>
        <source>Tab stops of the paragraph: click to add a stop of the kind chosen in the toolbar, drag a stop to move it, drag it off the ruler to remove it, right-click a stop to change its kind. The scale is in millimetres on the printed back.</source>
        <translation>Tabstops van de alinea: klik om een tabstop toe te voegen van de soort die in de werkbalk is gekozen, sleep een tabstop om hem te verplaatsen, sleep hem van de liniaal om hem te verwijderen, klik met de rechtermuisknop op een tabstop om de soort te wijzigen. De schaal is in millimeters op de afgedrukte achterkant.</translation>
    </message>
    <message>
        <source>Left tab stop</source>
        <translation>Linkse tabstop</translation>
    </message>
    <message>
        <source>Centre tab stop</source>
        <translation>Gecentreerde tabstop</translation>
    </message>
    <message>
        <source>Right tab stop</source>
        <translation>Rechtse tabstop</translation>
    </message>
    <message>
        <source>Dot leader</source>
        <translation>Opvulling met puntjes</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Verwijderen</translation>
    </message>
</context>
<context>
    <name>TextFormatBar</name>
    <message>
        <source> - Text colour</source>
        <translation> - Tekstkleur</translation>
    </message>
    <message>
        <source>Font of the selected text</source>
        <translation>Lettertype van de geselecteerde tekst</translation>
    </message>
    <message>
        <source>Size of the selected text, in points</source>
        <translation>Grootte van de geselecteerde tekst, in punten</translation>
    </message>
    <message>
        <source>Bold (Ctrl+B)</source>
        <translation>Vet (Ctrl+B)</translation>
    </message>
    <message>
        <source>Italic (Ctrl+I)</source>
        <translation>Cursief (Ctrl+I)</translation>
    </message>
    <message>
        <source>Underline (Ctrl+U)</source>
        <translation>Onderstrepen (Ctrl+U)</translation>
    </message>
    <message>
        <source>Colour of the selected text</source>
        <translation>Kleur van de geselecteerde tekst</translation>
    </message>
    <message>
        <source>Align the paragraph left</source>
        <translation>Alinea links uitlijnen</translation>
    </message>
    <message>
        <source>Centre the paragraph</source>
        <translation>Alinea centreren</translation>
    </message>
    <message>
        <source>Align the paragraph right</source>
        <translation>Alinea rechts uitlijnen</translation>
    </message>
    <message>
        <source>Justify the paragraph</source>
        <translation>Alinea uitvullen</translation>
    </message>
    <message>
        <source>The kind of tab stop a click on the ruler adds</source>
        <translation>De soort tabstop die een klik op de liniaal toevoegt</translation>
    </message>
    <message>
        <source>Left tab stop</source>
        <translation>Linkse tabstop</translation>
    </message>
    <message>
        <source>Centre tab stop</source>
        <translation>Gecentreerde tabstop</translation>
    </message>
    <message>
        <source>Right tab stop</source>
        <translation>Rechtse tabstop</translation>
    </message>
    <message>
        <source>Dot leader</source>
        <translation>Opvulling met puntjes</translation>
    </message>
    <message>
        <source>B</source>
        <comment>bold</comment>
        <translation>V</translation>
    </message>
    <message>
        <source>I</source>
        <comment>italic</comment>
        <translation>C</translation>
    </message>
    <message>
        <source>U</source>
        <comment>underline</comment>
        <translation>O</translation>
    </message>
</context>
<context>
    <name>TextInputDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Annuleren</translation>
    </message>
</context>
<context>
    <name>TrackImport</name>
    <message>
        <source>%1 holds no track list.</source>
        <translation>%1 bevat geen lijst met nummers.</translation>
    </message>
</context>
<context>
    <name>TrackLayout</name>
    <message>
        <source>Disc %1</source>
        <translation>Schijf %1</translation>
    </message>
    <message>
        <source>Total time</source>
        <translation>Totale speelduur</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <source>Update is advised</source>
        <translation>Een Update wordt aanbevolen</translation>
    </message>
    <message>
        <source>Your current version is %1</source>
        <translation>Uw huidige versie is %1</translation>
    </message>
    <message>
        <source>The latest version is %1</source>
        <translation>De nieuwste versie is %1</translation>
    </message>
    <message>
        <source>The Download Name is %1</source>
        <translation>De Downloadnaam is %1</translation>
    </message>
    <message>
        <source>Start Downloading</source>
        <translation>Start Downloaden</translation>
    </message>
    <message>
        <source>No Update is needed,</source>
        <translation>Een Update is niet nodig,</translation>
    </message>
    <message>
        <source>you are using the latest version.</source>
        <translation>u heeft de nieuwste versie.</translation>
    </message>
    <message>
        <source>Your current version is %1.</source>
        <translation>Uw huidige versie is %1.</translation>
    </message>
    <message>
        <source>No reaction from Server</source>
        <translation>De server reageert niet</translation>
    </message>
    <message>
        <source>File not downloaded correctly</source>
        <translation>Het bestand is te klein</translation>
    </message>
    <message>
        <source>Program Name not found</source>
        <translation>Programma-naam niet gevonden</translation>
    </message>
    <message>
        <source>Ping to %1 gives Time-out</source>
        <translation>Ping naar %1 geeft Time-out</translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation>Sluit Venster</translation>
    </message>
    <message>
        <source>%1 has been succesfully downloaded</source>
        <translation>%1 is met succes gedownload</translation>
    </message>
    <message>
        <source>Click &quot;Install&quot; to install the progam</source>
        <translation>Klik &quot;Installeer&quot; om het progamma te installeren</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installeer</translation>
    </message>
    <message>
        <source>The download of %1 has failed.</source>
        <translation>Het downloaden van %1 is mislukt.</translation>
    </message>
    <message>
        <source>%1 arrived damaged and has been deleted.</source>
        <translation>%1 is beschadigd aangekomen en is verwijderd.</translation>
    </message>
    <message>
        <source>The installation of %1 is started.</source>
        <translation>De installatie van %1 wordt gestart.</translation>
    </message>
    <message>
        <source>Installation failed.</source>
        <translation>Installatie is mislukt.</translation>
    </message>
    <message>
        <source>The installation of %1 has started.</source>
        <translation>De installatie van %1 is gestart.</translation>
    </message>
    <message>
        <source>The version list on the server is too large (over 1 MB)</source>
        <translation>De versielijst op de server is te groot (meer dan 1 MB)</translation>
    </message>
    <message>
        <source>%1 has changed since it was downloaded and has been deleted.</source>
        <translation>%1 is na het downloaden veranderd en is verwijderd.</translation>
    </message>
</context>
<context>
    <name>VersionList</name>
    <message>
        <source>The version list on the update server is not valid: the name of its download is not a plain file name. Nothing has been downloaded or changed.</source>
        <translation>De versielijst op de updateserver is ongeldig: de naam van de download is geen gewone bestandsnaam. Er is niets gedownload of veranderd.</translation>
    </message>
</context>
</TS>
