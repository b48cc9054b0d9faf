<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>TForm2</name>
    <message>
        <source>Ошибка подключения </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>vigil</name>
    <message>
        <source>usage: vigil batch --port COM&lt;n&gt; TEMPLATE.abt UNITS.csv --log LOG.csv [--keep-unlisted]
                   [--baud N]

Commissions the units of UNITS.csv one after another. For each unit not yet done in
LOG.csv it asks for the unit, waits until a terminal answers a read on the port, writes
TEMPLATE.abt with the unit&apos;s own values and verifies them as &apos;vigil write&apos; does, and
appends a row to LOG.csv: time, unit, the terminal&apos;s IDCOD, ok/failed, the differing
parameters. Then it waits until that terminal is disconnected and asks for the next unit.
A terminal is known by the code its IDCOD starts with (up to the first blank): one the log
has a row of is that row&apos;s unit, tried again if it failed and left alone if it is done;
only a terminal the log has never seen takes the next unit.
Run it again with the same LOG.csv to resume. One batch per log and per port.

UNITS.csv: a header row &apos;unit,&lt;KEY&gt;,&lt;KEY&gt;...&apos; (parameter names or .abt keys, values as
--set of &apos;vigil write&apos; takes them), then one row per unit: its label and its values; an
empty cell keeps the template&apos;s value. &apos;,&apos; or &apos;;&apos; separates, UTF-8. Nothing is sent
when a value lies outside what its parameter accepts, or when TEMPLATE.abt lacks a
writable value that not every unit row gives.

options:
  --log LOG.csv  the record of the run (created, or appended to)
  --keep-unlisted  keep each terminal&apos;s own values for what the template and the
                 unit&apos;s row do not give (written back and verified too)
  --port COM&lt;n&gt;  the port, as &apos;vigil ports&apos; lists it
  --baud N       line rate instead of the one the windows keep

exit codes: 0 every unit done; 1 port or log unusable, or held by another batch;
            2 bad command line or file; 4 some unit failed (see the log);
            130 Ctrl+C (the log keeps whole rows)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (trying again)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: the connected terminal gives no identification code (IDCOD=%2); it could not be told from another unit, so it is not written; disconnect it.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: the connected terminal (IDCOD=%2) took part of unit %3&apos;s values in an attempt that failed; unit %3 was done since on another terminal (IDCOD=%4). This one is not written and may hold unit %3&apos;s values; disconnect it.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: the connected terminal (IDCOD=%2) is unit %3, already done; disconnect it.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: the connected terminal (IDCOD=%2) is unit %3 of the log, which the units file does not list; disconnect it.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: terminal IDCOD=%2, failed before; trying it again.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: terminal IDCOD=%2, writing.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: the connected terminal (IDCOD=%2) is not in the log, and unit %1 has a terminal of its own (IDCOD=%3); disconnect it.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unit %1 (IDCOD=%2): written and verified, but the log does not record it; the batch stops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unit %1 (IDCOD=%2): FAILED, but the log does not record it; the batch stops</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: ok
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: FAILED
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: failed before; connect its terminal (IDCOD=%2) to %3.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: connect it to %2.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: done; disconnect it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: disconnect it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>needs TEMPLATE.abt and UNITS.csv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--log LOG.csv is required</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Batch: %1 ok, %2 failed, %3 done before.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>commission many units from a template and a units file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another batch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>another batch (%1, pid %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: not a batch log (its first row must be %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a row cut short (%1 cells), not taken</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cells, the header has %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a row without its unit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>result &quot;%1&quot; is neither %2 nor %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1; mend or remove the row</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: larger than %2 MiB, not a batch log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: in use by %2; one batch per log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: replaced or removed while the batch ran; the row for unit %2 is not written (put the file back, or start again with a copy)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option --%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1 needs a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1 takes no value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1 is given twice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the terminal holds %1; kept as it is it would be written back changed; </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing was sent: give these values in the file, or set them with --set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: not a configuration file (the name must end in &quot;.abt&quot;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: nothing was sent: the file is UTF-8 (it starts with a byte order mark); .abt files are Windows-1251</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: nothing was sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: nothing was sent: the file lacks %2 of the %3 writable values, which the write would blank in the terminal: %4. Give them in the file (&apos;vigil read --out FILE.abt&apos; writes a whole one), or add --keep-unlisted to keep the terminal&apos;s own values for them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a quoted field that starts on line %1 is never closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: vigil history [--unit ID] [--format text|json|csv]

Lists the recorded exchanges with terminals, oldest first: every unit&apos;s, or the one whose
identification code is ID (the part of IDCOD= before the first blank).
  text  a line per event, differences and updates below it (default)
  json  a list of events with every field; values by parameter name as &apos;vigil read
        --format json&apos; gives them
  csv   a row per event, without the values

The records live in $XDG_DATA_HOME/vigil/records.sqlite (see &apos;vigil records status&apos;).

exit codes: 0 listed; 1 the records cannot be read; 2 bad command line
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>takes no file arguments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--format takes text, json or csv, got &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>list the recorded exchanges with terminals</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>registry value &quot;%1&quot; = %2 is out of range; the default is used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>registry: %1; the default is used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: vigil [--lang ru|en] &lt;command&gt; [options]

Commissioning Vigil terminals over a serial link, on the core of the Config_Vigil
windows (same COM port map and line settings).

commands:
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
&apos;vigil &lt;command&gt; --help&apos; describes a command, its options and exit codes.
--lang ru|en (anywhere on the line, else VIGIL_LANG, else the locale) chooses
the language of the messages; files, logs and JSON keys are the same in both.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>vigil %1: %2
Try &apos;vigil %1 --help&apos;.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>vigil: unknown command &quot;%1&quot;

</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: vigil monitor --port COM&lt;n&gt; [--seconds S] [--timestamps] [--baud N]

Sends &quot;Monitor=On:&quot; and prints every reception as lines of up to 16 bytes: the bytes
in hex, then as text (as the windows&apos; monitor page shows them). Ctrl+C, or S seconds,
ends it with &quot;Monitor=Off:&quot;.

options:
  --seconds S    stop after S seconds
  --timestamps   a line with the local time before each reception&apos;s lines
  --port COM&lt;n&gt;  the port, as &apos;vigil ports&apos; lists it
  --baud N       line rate instead of the one the windows keep

exit codes: 0 ended by Ctrl+C or after S seconds; 1 port cannot be opened or was lost;
            2 bad command line
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>takes no arguments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--seconds takes a whole number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>show the terminal&apos;s monitor output as hex and text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write to standard output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is reported by the terminal and cannot be written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown parameter %1 (a parameter name or an .abt key)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the value for %1 has characters Windows-1251 lacks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--set needs KEY=VALUE, got &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: vigil ports

Lists the COM port map (VIGIL_COMPORT_MAP, or ~/.config/vigil/comports): each COM&lt;n&gt;
with its device, the adapter&apos;s product name, and whether the device is present now.
Serial adapters seen for the first time get the next free number, as in the windows.

exit codes: 0 listed
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No serial ports are known (map: %1).
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>present</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>absent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the COM port map: devices, adapters, presence</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>run vigil upload</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: vigil read --port COM&lt;n&gt; [--out FILE] [--format abt|json] [--baud N]

Reads every value of the terminal (the Read buttons&apos; request) and writes them:
  abt   the 53 items exactly as File -&gt; Save writes them (default)
  json  every parameter by name (Phone1, ServerIp1, MicSensitivity, IdCode, ...), with its
        value as a request or an answer carries it, read-only ones included
to FILE (replaced whole) or to standard output.

options:
  --port COM&lt;n&gt;  the port, as &apos;vigil ports&apos; lists it
  --baud N       line rate instead of the one the windows keep

exit codes: 0 read; 1 port cannot be opened or output not written; 2 bad command line;
            3 the terminal does not answer, or its answer lacks a key (named)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>takes no file arguments; use --out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--format takes abt or json, got &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>warning: the terminal holds %1; the output holds the value as read into range</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>read the terminal&apos;s values to an .abt file or JSON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>records are not being kept: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>records kept on this PC, %1 waiting for the team server: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: vigil records status | vigil records sync

  status  where the records are kept, how many units and events they hold, the team
          server (VIGIL_RECORDS=postgresql://...) and how many events wait for it
  sync    sends the waiting events to the team server now

The password of the team server comes from libpq&apos;s password file (~/.pgpass or
PGPASSFILE); it is never shown or stored by this program.

exit codes: 0 done; 1 the records or the server cannot be used, or events still wait;
            2 bad command line
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>records: %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>units: %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>team server: none (VIGIL_RECORDS is not set)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>team server: %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>waiting to be sent: %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sent: %1, waiting: %2
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>takes status or sync</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>takes status or sync, got &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>where the records are kept; send them to the team server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: vigil restore --port COM&lt;n&gt; --unit ID [--at TIME | --before-erase] [--baud N]

Writes the values the records hold for unit ID back to it, as &apos;vigil write&apos; does, and
verifies them. The terminal is read first: one that is not unit ID is not written to.
  (default)       the newest values kept of the unit
  --at TIME       the newest kept by TIME (UTC, 2026-11-12 or 2026-11-12T10:30)
  --before-erase  the values read just before the unit&apos;s latest erase
  --port COM&lt;n&gt;   the port, as &apos;vigil ports&apos; lists it
  --baud N        line rate instead of the one the windows keep

exit codes: 0 written and verified; 1 port cannot be opened or was lost, or the records
            cannot be read; 2 bad command line, no such values kept, or another unit is
            connected; 3 the terminal does not answer; 4 values differ (each listed)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--unit ID is required</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--at and --before-erase exclude each other</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unit %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit %1: values kept at %2 (%3).
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the connected terminal is unit &quot;%2&quot;, not %3; nothing was written</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write a unit&apos;s recorded values back, verified</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--port COM&lt;n&gt; is required (vigil ports lists them)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--port takes COM&lt;n&gt;, got &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--baud takes one of %1; got &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the terminal&apos;s answer lacks %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the link was lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the file is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the first column must be &quot;unit&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; names the same parameter as &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the unit has no label</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unit &quot;%1&quot; is listed twice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: vigil upload --port COM&lt;n&gt; FILE.enc [--no-wait] [--baud N]

Loads and checks the update file, closes the link, waits 5000 ms for the terminal&apos;s
bootloader (reset the terminal now), opens the link and sends the image record by record,
repeating rejected or unanswered records up to the tenth failed answer. Shows a progress
bar on a terminal, progress lines otherwise.

options:
  --no-wait      open the link and send at once
  --port COM&lt;n&gt;  the port, as &apos;vigil ports&apos; lists it
  --baud N       line rate instead of the one the windows keep

exit codes: 0 the bootloader took the image; 1 port cannot be opened; 2 bad command line,
            or the update file is missing or fails its check; 5 the upload failed
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: cannot be read: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: byte %2 is not a hexadecimal digit and hexadecimal text follows it: the image would end there and lose the rest; nothing was sent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the update file holds no records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>needs exactly one FILE.enc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting 5 s for the bootloader of %1...
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>upload an .enc firmware file to the bootloader</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1/%2 records  %3/%4 bytes  %5 kB/s  %6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>upload: %1
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>usage: vigil write --port COM&lt;n&gt; FILE.abt [--set KEY=VALUE ...] [--keep-unlisted]
                   [--baud N]

Takes the values of FILE.abt, then each --set, then writes all four groups as the
windows&apos; &apos;write all pages&apos; button does and checks that every value sent comes back
equal (in the write&apos;s answer, or in a read that follows for values it lacks).
Nothing is sent when a value lies outside what its parameter accepts, or when FILE.abt
lacks a writable value (all 53 are written, so a missing one would be blanked).

  --set KEY=VALUE  KEY is a parameter name (ModulePhone, ServerIp1, AlarmPressCount ...)
                   with the value as &apos;vigil read --format json&apos; shows it, or an .abt key
                   (TL9, Ip1, NmbPress ...) with the value as the file holds it; repeatable
  --keep-unlisted  read the terminal first and keep its own values for what FILE.abt
                   and --set do not give (they are written back and verified too)
  --port COM&lt;n&gt;    the port, as &apos;vigil ports&apos; lists it
  --baud N         line rate instead of the one the windows keep

exit codes: 0 written and verified; 1 port cannot be opened or was lost; 2 bad command
            line or file, a value outside its domain, or values missing; 3 the terminal
            does not answer; 4 values differ (each listed with what was sent and received)
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>needs exactly one FILE.abt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>write an .abt file (and overrides), then verify</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: written and verified
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: values differ:
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
