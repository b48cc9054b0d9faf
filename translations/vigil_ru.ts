<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>Location</name>
    <message>
        <source>Адрес сервера должен начинаться с postgresql://</source>
        <translation>Адрес сервера должен начинаться с postgresql://</translation>
    </message>
    <message>
        <source>Адрес содержит пароль, а пароль не хранится в настройках программы. Уберите его из адреса и укажите в файле паролей libpq (~/.pgpass, права 0600).</source>
        <translation>Адрес содержит пароль, а пароль не хранится в настройках программы. Уберите его из адреса и укажите в файле паролей libpq (~/.pgpass, права 0600).</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>Ошибка подключения </source>
        <translation>Ошибка подключения </translation>
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
        <translation>вызов: vigil batch --port COM&lt;n&gt; ШАБЛОН.abt БЛОКИ.csv --log ЖУРНАЛ.csv [--keep-unlisted]
                   [--baud N]

Настраивает блоки из БЛОКИ.csv один за другим. Для каждого блока, ещё не выполненного по
ЖУРНАЛ.csv, просит подключить блок, ждёт, пока терминал ответит на чтение через порт,
записывает ШАБЛОН.abt со значениями этого блока и проверяет их, как &apos;vigil write&apos;, и
добавляет строку в ЖУРНАЛ.csv: время, блок, IDCOD терминала, ok/failed, различающиеся
параметры. Затем ждёт, пока этот терминал отключат, и просит следующий блок.
Терминал узнаётся по коду, с которого начинается его IDCOD (до первого пробела): терминал,
о котором в журнале есть строка, — это блок этой строки; после неудачи он пробуется снова,
выполненный не трогается; следующий блок получает только терминал, которого журнал не видел.
Чтобы продолжить, запустите снова с тем же ЖУРНАЛ.csv. Один пакет на журнал и на порт.

БЛОКИ.csv: строка заголовка &apos;unit,&lt;КЛЮЧ&gt;,&lt;КЛЮЧ&gt;...&apos; (имена параметров или ключи .abt, значения
в том виде, в каком их принимает --set у &apos;vigil write&apos;), затем по строке на блок: его метка и
его значения; пустая ячейка оставляет значение шаблона. Разделитель &apos;,&apos; или &apos;;&apos;, UTF-8.
Ничего не отправляется, если значение вне допустимого для его параметра или если в
ШАБЛОН.abt нет записываемого значения, которое дают не все строки блоков.

параметры:
  --log ЖУРНАЛ.csv  запись о работе (создаётся или дополняется)
  --keep-unlisted  оставить собственные значения каждого терминала для того, чего не дают
                 шаблон и строка блока (они тоже записываются обратно и проверяются)
  --port COM&lt;n&gt;  порт, как его перечисляет &apos;vigil ports&apos;
  --baud N       скорость линии вместо той, что хранят окна

коды выхода: 0 все блоки выполнены; 1 порт или журнал непригодны или заняты другим пакетом;
             2 неверная командная строка или файл; 4 какой-то блок не удался (см. журнал);
             130 Ctrl+C (в журнале только целые строки)
</translation>
    </message>
    <message>
        <source>%1 (trying again)</source>
        <translation>%1 (пробую снова)</translation>
    </message>
    <message>
        <source>Unit %1: the connected terminal gives no identification code (IDCOD=%2); it could not be told from another unit, so it is not written; disconnect it.
</source>
        <translation>Блок %1: подключённый терминал не сообщает идентификационный код (IDCOD=%2); его нельзя отличить от другого блока, поэтому он не записан; отключите его.
</translation>
    </message>
    <message>
        <source>Unit %1: the connected terminal (IDCOD=%2) took part of unit %3&apos;s values in an attempt that failed; unit %3 was done since on another terminal (IDCOD=%4). This one is not written and may hold unit %3&apos;s values; disconnect it.
</source>
        <translation>Блок %1: подключённый терминал (IDCOD=%2) получил часть значений блока %3 в неудавшейся попытке; блок %3 с тех пор выполнен на другом терминале (IDCOD=%4). Этот терминал не записан и может хранить значения блока %3; отключите его.
</translation>
    </message>
    <message>
        <source>Unit %1: the connected terminal (IDCOD=%2) is unit %3, already done; disconnect it.
</source>
        <translation>Блок %1: подключённый терминал (IDCOD=%2) — это блок %3, уже выполненный; отключите его.
</translation>
    </message>
    <message>
        <source>Unit %1: the connected terminal (IDCOD=%2) is unit %3 of the log, which the units file does not list; disconnect it.
</source>
        <translation>Блок %1: подключённый терминал (IDCOD=%2) — это блок %3 из журнала, которого нет в файле блоков; отключите его.
</translation>
    </message>
    <message>
        <source>Unit %1: terminal IDCOD=%2, failed before; trying it again.
</source>
        <translation>Блок %1: терминал IDCOD=%2, ранее неудачно; пробую снова.
</translation>
    </message>
    <message>
        <source>Unit %1: terminal IDCOD=%2, writing.
</source>
        <translation>Блок %1: терминал IDCOD=%2, запись.
</translation>
    </message>
    <message>
        <source>Unit %1: the connected terminal (IDCOD=%2) is not in the log, and unit %1 has a terminal of its own (IDCOD=%3); disconnect it.
</source>
        <translation>Блок %1: подключённого терминала (IDCOD=%2) нет в журнале, а у блока %1 есть свой терминал (IDCOD=%3); отключите его.
</translation>
    </message>
    <message>
        <source>unit %1 (IDCOD=%2): written and verified, but the log does not record it; the batch stops</source>
        <translation>блок %1 (IDCOD=%2): записан и проверен, но журнал этого не сохранил; пакет остановлен</translation>
    </message>
    <message>
        <source>unit %1 (IDCOD=%2): FAILED, but the log does not record it; the batch stops</source>
        <translation>блок %1 (IDCOD=%2): ОШИБКА, но журнал этого не сохранил; пакет остановлен</translation>
    </message>
    <message>
        <source>Unit %1: ok
</source>
        <translation>Блок %1: готово
</translation>
    </message>
    <message>
        <source>Unit %1: FAILED
</source>
        <translation>Блок %1: ОШИБКА
</translation>
    </message>
    <message>
        <source>Unit %1: failed before; connect its terminal (IDCOD=%2) to %3.
</source>
        <translation>Блок %1: ранее неудачно; подключите его терминал (IDCOD=%2) к %3.
</translation>
    </message>
    <message>
        <source>Unit %1: connect it to %2.
</source>
        <translation>Блок %1: подключите его к %2.
</translation>
    </message>
    <message>
        <source>Unit %1: done; disconnect it.</source>
        <translation>Блок %1: готово; отключите его.</translation>
    </message>
    <message>
        <source>Unit %1: disconnect it.</source>
        <translation>Блок %1: отключите его.</translation>
    </message>
    <message>
        <source>needs TEMPLATE.abt and UNITS.csv</source>
        <translation>нужны ШАБЛОН.abt и БЛОКИ.csv</translation>
    </message>
    <message>
        <source>--log LOG.csv is required</source>
        <translation>нужен --log ЖУРНАЛ.csv</translation>
    </message>
    <message>
        <source>Batch: %1 ok, %2 failed, %3 done before.
</source>
        <translation>Пакет: готово %1, с ошибкой %2, выполнено ранее %3.
</translation>
    </message>
    <message>
        <source>commission many units from a template and a units file</source>
        <translation>настроить много блоков по шаблону и файлу блоков</translation>
    </message>
    <message>
        <source>another batch</source>
        <translation>другой пакет</translation>
    </message>
    <message>
        <source>another batch (%1, pid %2)</source>
        <translation>другой пакет (%1, pid %2)</translation>
    </message>
    <message>
        <source>a program</source>
        <translation>программа</translation>
    </message>
    <message>
        <source>%1: not a batch log (its first row must be %2)</source>
        <translation>%1: не журнал пакета (его первая строка должна быть %2)</translation>
    </message>
    <message>
        <source>a row cut short (%1 cells), not taken</source>
        <translation>строка оборвана (ячеек: %1), не принята</translation>
    </message>
    <message>
        <source>%1 cells, the header has %2</source>
        <translation>ячеек: %1, в заголовке: %2</translation>
    </message>
    <message>
        <source>a row without its unit</source>
        <translation>строка без блока</translation>
    </message>
    <message>
        <source>result &quot;%1&quot; is neither %2 nor %3</source>
        <translation>результат &quot;%1&quot; — ни %2, ни %3</translation>
    </message>
    <message>
        <source>%1; mend or remove the row</source>
        <translation>%1; исправьте или удалите строку</translation>
    </message>
    <message>
        <source>%1: larger than %2 MiB, not a batch log</source>
        <translation>%1: больше %2 МиБ, не журнал пакета</translation>
    </message>
    <message>
        <source>%1: in use by %2; one batch per log</source>
        <translation>%1: занят: %2; один пакет на журнал</translation>
    </message>
    <message>
        <source>%1: replaced or removed while the batch ran; the row for unit %2 is not written (put the file back, or start again with a copy)</source>
        <translation>%1: заменён или удалён во время работы пакета; строка блока %2 не записана (верните файл или начните заново с копией)</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>неизвестный параметр %1</translation>
    </message>
    <message>
        <source>unknown option --%1</source>
        <translation>неизвестный параметр --%1</translation>
    </message>
    <message>
        <source>--%1 needs a value</source>
        <translation>--%1 требует значения</translation>
    </message>
    <message>
        <source>--%1 takes no value</source>
        <translation>--%1 не принимает значения</translation>
    </message>
    <message>
        <source>--%1 is given twice</source>
        <translation>--%1 указан дважды</translation>
    </message>
    <message>
        <source>the terminal holds %1; kept as it is it would be written back changed; </source>
        <translation>терминал хранит %1; если оставить как есть, значение будет записано обратно изменённым; </translation>
    </message>
    <message>
        <source>nothing was sent: give these values in the file, or set them with --set</source>
        <translation>ничего не отправлено: укажите эти значения в файле или задайте их через --set</translation>
    </message>
    <message>
        <source>%1: not a configuration file (the name must end in &quot;.abt&quot;)</source>
        <translation>%1: не файл конфигурации (имя должно оканчиваться на &quot;.abt&quot;)</translation>
    </message>
    <message>
        <source>%1: nothing was sent: the file is UTF-8 (it starts with a byte order mark); .abt files are Windows-1251</source>
        <translation>%1: ничего не отправлено: файл в UTF-8 (начинается с метки порядка байтов); файлы .abt — в Windows-1251</translation>
    </message>
    <message>
        <source>%1: nothing was sent</source>
        <translation>%1: ничего не отправлено</translation>
    </message>
    <message>
        <source>%1: nothing was sent: the file lacks %2 of the %3 writable values, which the write would blank in the terminal: %4. Give them in the file (&apos;vigil read --out FILE.abt&apos; writes a whole one), or add --keep-unlisted to keep the terminal&apos;s own values for them.</source>
        <translation>%1: ничего не отправлено: в файле нет %2 из %3 записываемых значений, которые запись стёрла бы в терминале: %4. Укажите их в файле (&apos;vigil read --out ФАЙЛ.abt&apos; пишет полный файл) или добавьте --keep-unlisted, чтобы оставить для них собственные значения терминала.</translation>
    </message>
    <message>
        <source>a quoted field that starts on line %1 is never closed</source>
        <translation>поле в кавычках, начатое в строке %1, не закрыто</translation>
    </message>
    <message>
        <source>usage: vigil history [--unit ID] [--format text|json|csv]

Lists the recorded exchanges with terminals, oldest first: every unit&apos;s, or the one whose
identification code is ID (the part of IDCOD= before the first blank).
  text  a line per event, differences and updates below it (default)
  json  a list of events with every field; values by parameter name as &apos;vigil read
        --format json&apos; gives them
  csv   a row per event, without the values

The records live in $XDG_DATA_HOME/vigil/records.sqlite (see &apos;vigil records status&apos;);
with a team server set (VIGIL_RECORDS), its records are listed with these, each event
once. When it cannot be read, these alone are listed and a line on stderr says why.

exit codes: 0 listed; 1 the records cannot be read; 2 bad command line
</source>
        <translation>вызов: vigil history [--unit ID] [--format text|json|csv]

Перечисляет сохранённые обмены с терминалами, от старых к новым: всех блоков или того, чей
идентификационный код равен ID (часть IDCOD= до первого пробела).
  text  строка на событие, различия и обновления под ней (по умолчанию)
  json  список событий со всеми полями; значения по именам параметров, как их даёт
        &apos;vigil read --format json&apos;
  csv   строка на событие, без значений

Записи хранятся в $XDG_DATA_HOME/vigil/records.sqlite (см. &apos;vigil records status&apos;);
с сервером команды (VIGIL_RECORDS) его записи перечисляются вместе с этими, каждая раз;
если он не читается, только эти, и строка в stderr говорит почему.

коды выхода: 0 перечислено; 1 записи не читаются; 2 неверная командная строка
</translation>
    </message>
    <message>
        <source>takes no file arguments</source>
        <translation>не принимает файлов</translation>
    </message>
    <message>
        <source>--format takes text, json or csv, got &quot;%1&quot;</source>
        <translation>--format принимает text, json или csv, указано &quot;%1&quot;</translation>
    </message>
    <message>
        <source>list the recorded exchanges with terminals</source>
        <translation>список сохранённых обменов с терминалами</translation>
    </message>
    <message>
        <source>registry value &quot;%1&quot; = %2 is out of range; the default is used</source>
        <translation>значение реестра &quot;%1&quot; = %2 вне допустимого; взято значение по умолчанию</translation>
    </message>
    <message>
        <source>registry: %1; the default is used</source>
        <translation>реестр: %1; взято значение по умолчанию</translation>
    </message>
    <message>
        <source>usage: vigil [--lang ru|en] &lt;command&gt; [options]

Commissioning Vigil terminals over a serial link, on the core of the Config_Vigil
windows (same COM port map and line settings).

commands:
</source>
        <translation>вызов: vigil [--lang ru|en] &lt;команда&gt; [параметры]

Настройка терминалов Vigil по последовательной линии, на ядре окон Config_Vigil
(та же карта COM портов и те же настройки линии).

команды:
</translation>
    </message>
    <message>
        <source>
&apos;vigil &lt;command&gt; --help&apos; describes a command, its options and exit codes.
--lang ru|en (anywhere on the line, else VIGIL_LANG, else the locale) chooses
the language of the messages; files, logs and JSON keys are the same in both.
</source>
        <translation>
&apos;vigil &lt;команда&gt; --help&apos; описывает команду, её параметры и коды выхода.
--lang ru|en (в любом месте строки, иначе VIGIL_LANG, иначе локаль) выбирает
язык сообщений; файлы, журналы и ключи JSON на обоих языках одинаковы.
</translation>
    </message>
    <message>
        <source>vigil %1: %2
Try &apos;vigil %1 --help&apos;.
</source>
        <translation>vigil %1: %2
См. &apos;vigil %1 --help&apos;.
</translation>
    </message>
    <message>
        <source>vigil: unknown command &quot;%1&quot;

</source>
        <translation>vigil: неизвестная команда &quot;%1&quot;

</translation>
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
        <translation>вызов: vigil monitor --port COM&lt;n&gt; [--seconds S] [--timestamps] [--baud N]

Отправляет &quot;Monitor=On:&quot; и печатает каждый приём строками до 16 байт: байты в hex,
затем текстом (как их показывает страница монитора в окнах). Ctrl+C или S секунд
завершают его командой &quot;Monitor=Off:&quot;.

параметры:
  --seconds S    остановиться через S секунд
  --timestamps   строка с местным временем перед строками каждого приёма
  --port COM&lt;n&gt;  порт, как его перечисляет &apos;vigil ports&apos;
  --baud N       скорость линии вместо той, что хранят окна

коды выхода: 0 завершено по Ctrl+C или через S секунд; 1 порт не открывается или потерян;
             2 неверная командная строка
</translation>
    </message>
    <message>
        <source>takes no arguments</source>
        <translation>не принимает аргументов</translation>
    </message>
    <message>
        <source>--seconds takes a whole number</source>
        <translation>--seconds принимает целое число</translation>
    </message>
    <message>
        <source>show the terminal&apos;s monitor output as hex and text</source>
        <translation>показать вывод монитора терминала в hex и тексте</translation>
    </message>
    <message>
        <source>cannot write to standard output</source>
        <translation>не могу писать в стандартный вывод</translation>
    </message>
    <message>
        <source>%1 is reported by the terminal and cannot be written</source>
        <translation>%1 сообщает терминал, его нельзя записать</translation>
    </message>
    <message>
        <source>unknown parameter %1 (a parameter name or an .abt key)</source>
        <translation>неизвестный параметр %1 (имя параметра или ключ .abt)</translation>
    </message>
    <message>
        <source>the value for %1 has characters Windows-1251 lacks</source>
        <translation>в значении %1 есть символы, которых нет в Windows-1251</translation>
    </message>
    <message>
        <source>--set needs KEY=VALUE, got &quot;%1&quot;</source>
        <translation>--set требует КЛЮЧ=ЗНАЧЕНИЕ, указано &quot;%1&quot;</translation>
    </message>
    <message>
        <source>usage: vigil ports

Lists the COM port map (VIGIL_COMPORT_MAP, or ~/.config/vigil/comports): each COM&lt;n&gt;
with its device, the adapter&apos;s product name, and whether the device is present now.
Serial adapters seen for the first time get the next free number, as in the windows.

exit codes: 0 listed
</source>
        <translation>вызов: vigil ports

Перечисляет карту COM портов (VIGIL_COMPORT_MAP или ~/.config/vigil/comports): каждый COM&lt;n&gt;
с его устройством, названием адаптера и тем, есть ли устройство сейчас.
Последовательные адаптеры, замеченные впервые, получают следующий свободный номер, как в окнах.

коды выхода: 0 перечислено
</translation>
    </message>
    <message>
        <source>No serial ports are known (map: %1).
</source>
        <translation>Последовательные порты не известны (карта: %1).
</translation>
    </message>
    <message>
        <source>present</source>
        <translation>есть</translation>
    </message>
    <message>
        <source>absent</source>
        <translation>нет</translation>
    </message>
    <message>
        <source>the COM port map: devices, adapters, presence</source>
        <translation>карта COM портов: устройства, адаптеры, наличие</translation>
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
        <translation>вызов: vigil read --port COM&lt;n&gt; [--out ФАЙЛ] [--format abt|json] [--baud N]

Читает все значения терминала (запрос кнопок чтения) и записывает их:
  abt   53 пункта в точности так, как их пишет File -&gt; Save (по умолчанию)
  json  каждый параметр по имени (Phone1, ServerIp1, MicSensitivity, IdCode, ...) со
        значением в том виде, в каком его несёт запрос или ответ, включая только читаемые
в ФАЙЛ (заменяется целиком) или в стандартный вывод.

параметры:
  --port COM&lt;n&gt;  порт, как его перечисляет &apos;vigil ports&apos;
  --baud N       скорость линии вместо той, что хранят окна

коды выхода: 0 прочитано; 1 порт не открывается или вывод не записан; 2 неверная командная
             строка; 3 терминал не отвечает или в его ответе нет ключа (назван)
</translation>
    </message>
    <message>
        <source>takes no file arguments; use --out</source>
        <translation>не принимает файлов; используйте --out</translation>
    </message>
    <message>
        <source>--format takes abt or json, got &quot;%1&quot;</source>
        <translation>--format принимает abt или json, указано &quot;%1&quot;</translation>
    </message>
    <message>
        <source>warning: the terminal holds %1; the output holds the value as read into range</source>
        <translation>предупреждение: терминал хранит %1; в выводе значение, приведённое при чтении к допустимому</translation>
    </message>
    <message>
        <source>read the terminal&apos;s values to an .abt file or JSON</source>
        <translation>прочитать значения терминала в файл .abt или JSON</translation>
    </message>
    <message>
        <source>records are not being kept: %1</source>
        <translation>записи не сохраняются: %1</translation>
    </message>
    <message>
        <source>the team&apos;s records could not be read, this PC&apos;s only are shown: %1</source>
        <translation>записи команды не прочитаны, показаны только записи этого ПК: %1</translation>
    </message>
    <message>
        <source>records kept on this PC, %1 waiting for the team server: %2</source>
        <translation>записи сохранены на этом ПК, %1 ждут сервера команды: %2</translation>
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
        <translation>вызов: vigil records status | vigil records sync

  status  где хранятся записи, сколько в них блоков и событий, сервер команды
          (VIGIL_RECORDS=postgresql://...) и сколько событий его ждут
  sync    отправляет ждущие события на сервер команды сейчас

Пароль сервера команды берётся из файла паролей libpq (~/.pgpass или PGPASSFILE);
эта программа его никогда не показывает и не хранит.

коды выхода: 0 выполнено; 1 записи или сервер недоступны, или события ещё ждут;
             2 неверная командная строка
</translation>
    </message>
    <message>
        <source>records: %1
</source>
        <translation>записи: %1
</translation>
    </message>
    <message>
        <source>units: %1
</source>
        <translation>блоков: %1
</translation>
    </message>
    <message>
        <source>team server: none (VIGIL_RECORDS is not set)
</source>
        <translation>сервер команды: нет (VIGIL_RECORDS не задана)
</translation>
    </message>
    <message>
        <source>team server: %1
</source>
        <translation>сервер команды: %1
</translation>
    </message>
    <message>
        <source>waiting to be sent: %1
</source>
        <translation>ждут отправки: %1
</translation>
    </message>
    <message>
        <source>sent: %1, waiting: %2
</source>
        <translation>отправлено: %1, ждут: %2
</translation>
    </message>
    <message>
        <source>takes status or sync</source>
        <translation>принимает status или sync</translation>
    </message>
    <message>
        <source>--at takes a UTC time such as 2026-11-12T10:30, got &quot;%1&quot;</source>
        <translation>--at принимает время UTC, например 2026-11-12T10:30, указано &quot;%1&quot;</translation>
    </message>
    <message>
        <source>takes status or sync, got &quot;%1&quot;</source>
        <translation>принимает status или sync, указано &quot;%1&quot;</translation>
    </message>
    <message>
        <source>where the records are kept; send them to the team server</source>
        <translation>где хранятся записи; отправить их на сервер команды</translation>
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
        <translation>вызов: vigil restore --port COM&lt;n&gt; --unit ID [--at ВРЕМЯ | --before-erase] [--baud N]

Записывает в блок ID значения, которые для него хранят записи, как &apos;vigil write&apos;, и
проверяет их. Сначала терминал читается: в терминал другого блока ничего не пишется.
  (по умолчанию)  самые новые сохранённые значения блока
  --at ВРЕМЯ      самые новые, сохранённые к ВРЕМЕНИ (UTC, 2026-11-12 или 2026-11-12T10:30)
  --before-erase  значения, прочитанные прямо перед последним стиранием блока
  --port COM&lt;n&gt;   порт, как его перечисляет &apos;vigil ports&apos;
  --baud N        скорость линии вместо той, что хранят окна

коды выхода: 0 записано и проверено; 1 порт не открывается или потерян, или записи не
             читаются; 2 неверная командная строка, таких значений нет или подключён
             другой блок; 3 терминал не отвечает; 4 значения различаются (каждое названо)
</translation>
    </message>
    <message>
        <source>--unit ID is required</source>
        <translation>нужен --unit ID</translation>
    </message>
    <message>
        <source>--at and --before-erase exclude each other</source>
        <translation>--at и --before-erase исключают друг друга</translation>
    </message>
    <message>
        <source>unit %1: %2</source>
        <translation>блок %1: %2</translation>
    </message>
    <message>
        <source>Unit %1: values kept at %2 (%3).
</source>
        <translation>Блок %1: значения, сохранённые %2 (%3).
</translation>
    </message>
    <message>
        <source>%1: another terminal answers since the write (IDCOD=%2, before it IDCOD=%3): which one took the values is not confirmed</source>
        <translation>%1: после записи отвечает другой терминал (IDCOD=%2, до неё IDCOD=%3): какой из них принял значения, не подтверждено</translation>
    </message>
    <message>
        <source>%1: the connected terminal is unit &quot;%2&quot;, not %3; nothing was written</source>
        <translation>%1: подключён терминал блока &quot;%2&quot;, а не %3; ничего не записано</translation>
    </message>
    <message>
        <source>write a unit&apos;s recorded values back, verified</source>
        <translation>записать обратно сохранённые значения блока, с проверкой</translation>
    </message>
    <message>
        <source>--port COM&lt;n&gt; is required (vigil ports lists them)</source>
        <translation>нужен --port COM&lt;n&gt; (их перечисляет vigil ports)</translation>
    </message>
    <message>
        <source>--port takes COM&lt;n&gt;, got &quot;%1&quot;</source>
        <translation>--port принимает COM&lt;n&gt;, указано &quot;%1&quot;</translation>
    </message>
    <message>
        <source>--baud takes one of %1; got &quot;%2&quot;</source>
        <translation>--baud принимает одно из %1; указано &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1: the terminal&apos;s answer lacks %2</source>
        <translation>%1: в ответе терминала нет %2</translation>
    </message>
    <message>
        <source>%1: the link was lost</source>
        <translation>%1: связь потеряна</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>прервано</translation>
    </message>
    <message>
        <source>%1: the file is empty</source>
        <translation>%1: файл пуст</translation>
    </message>
    <message>
        <source>the first column must be &quot;unit&quot;</source>
        <translation>первый столбец должен быть &quot;unit&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; names the same parameter as &quot;%2&quot;</source>
        <translation>&quot;%1&quot; называет тот же параметр, что и &quot;%2&quot;</translation>
    </message>
    <message>
        <source>the unit has no label</source>
        <translation>у блока нет метки</translation>
    </message>
    <message>
        <source>unit &quot;%1&quot; is listed twice</source>
        <translation>блок &quot;%1&quot; указан дважды</translation>
    </message>
    <message>
        <source>%1: cannot be read: %2</source>
        <translation>%1: не удаётся прочитать: %2</translation>
    </message>
    <message>
        <source>%1: byte %2 is not a hexadecimal digit and hexadecimal text follows it: the image would end there and lose the rest; nothing was sent</source>
        <translation>%1: байт %2 — не шестнадцатеричная цифра, а за ним идёт шестнадцатеричный текст: образ оборвался бы там и потерял остальное; ничего не отправлено</translation>
    </message>
    <message>
        <source>%1: the update file holds no records</source>
        <translation>%1: в файле обновления нет записей</translation>
    </message>
    <message>
        <source>needs exactly one FILE.enc</source>
        <translation>нужен ровно один ФАЙЛ.enc</translation>
    </message>
    <message>
        <source>Waiting 5 s for the bootloader of %1...
</source>
        <translation>Жду 5 с загрузчик на %1...
</translation>
    </message>
    <message>
        <source>upload an .enc firmware file to the bootloader</source>
        <translation>загрузить файл прошивки .enc в загрузчик</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>осталось %1</translation>
    </message>
    <message>
        <source>%1/%2 records  %3/%4 bytes  %5 kB/s  %6</source>
        <translation>записей %1/%2  байт %3/%4  %5 кБ/с  %6</translation>
    </message>
    <message>
        <source>upload: %1
</source>
        <translation>загрузка: %1
</translation>
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
        <translation>вызов: vigil write --port COM&lt;n&gt; ФАЙЛ.abt [--set КЛЮЧ=ЗНАЧЕНИЕ ...] [--keep-unlisted]
                   [--baud N]

Берёт значения ФАЙЛ.abt, затем каждый --set, затем записывает все четыре группы, как
кнопка окон &apos;записать все страницы&apos;, и проверяет, что каждое отправленное значение
вернулось равным (в ответе на запись или в следующем чтении для значений, которых в нём нет).
Ничего не отправляется, если значение вне допустимого для его параметра или если в ФАЙЛ.abt
нет записываемого значения (записываются все 53, так что недостающее было бы стёрто).

  --set КЛЮЧ=ЗНАЧЕНИЕ  КЛЮЧ — имя параметра (ModulePhone, ServerIp1, AlarmPressCount ...)
                       со значением, как его показывает &apos;vigil read --format json&apos;, или ключ .abt
                       (TL9, Ip1, NmbPress ...) со значением, как его хранит файл; повторяемый
  --keep-unlisted  сначала прочитать терминал и оставить его собственные значения для того,
                   чего не дают ФАЙЛ.abt и --set (они тоже записываются обратно и проверяются)
  --port COM&lt;n&gt;    порт, как его перечисляет &apos;vigil ports&apos;
  --baud N         скорость линии вместо той, что хранят окна

коды выхода: 0 записано и проверено; 1 порт не открывается или потерян; 2 неверная командная
             строка или файл, значение вне допустимого или недостающие значения; 3 терминал
             не отвечает; 4 значения различаются (каждое названо с отправленным и полученным)
</translation>
    </message>
    <message>
        <source>needs exactly one FILE.abt</source>
        <translation>нужен ровно один ФАЙЛ.abt</translation>
    </message>
    <message>
        <source>write an .abt file (and overrides), then verify</source>
        <translation>записать файл .abt (и замены), затем проверить</translation>
    </message>
    <message>
        <source>%1: written and verified
</source>
        <translation>%1: записано и проверено
</translation>
    </message>
    <message>
        <source>%1: values differ:
</source>
        <translation>%1: значения различаются:
</translation>
    </message>
    <message>
        <source>run vigil upload --no-wait</source>
        <translation>запустите vigil upload --no-wait</translation>
    </message>
    <message>
        <source>usage: vigil upload --port COM&lt;n&gt; FILE.enc [--no-wait] [--baud N]

Loads and checks the update file, reads the terminal&apos;s settings into the records, closes
the link, waits 5000 ms for the terminal&apos;s bootloader (reset the terminal now), opens the
link and sends the image record by record, repeating rejected or unanswered records up to
the tenth failed answer. Shows a progress bar on a terminal, progress lines otherwise.
A terminal that does not answer the read is updated all the same; its settings are not
in the records then.

options:
  --no-wait      the terminal already waits in its bootloader: send at once, and send
                 it nothing but the records (no read for the records)
  --port COM&lt;n&gt;  the port, as &apos;vigil ports&apos; lists it
  --baud N       line rate instead of the one the windows keep

exit codes: 0 the bootloader took the image; 1 port cannot be opened, or lost during the
            read; 2 bad command line, or the update file is missing or fails its check;
            5 the upload failed
</source>
        <translation>вызов: vigil upload --port COM&lt;n&gt; ФАЙЛ.enc [--no-wait] [--baud N]

Загружает и проверяет файл обновления, читает настройки терминала в журнал, закрывает
связь, ждёт 5000 мс загрузчик терминала (сбросьте терминал сейчас), открывает связь и
отправляет образ запись за записью, повторяя отвергнутые и оставшиеся без ответа записи
до десятого неудачного ответа. На терминале показывает полосу хода, иначе строки хода.
Терминал, не ответивший на чтение, всё равно обновляется; его настроек тогда нет
в журнале.

параметры:
  --no-wait      терминал уже ждёт в загрузчике: отправлять сразу и не посылать
                 ему ничего, кроме записей (без чтения для журнала)
  --port COM&lt;n&gt;  порт, как его перечисляет &apos;vigil ports&apos;
  --baud N       скорость линии вместо той, что хранят окна

коды выхода: 0 загрузчик принял образ; 1 порт не открывается или потерян во время
             чтения; 2 неверная командная строка, или файла обновления нет, или он
             не прошёл проверку; 5 загрузка не удалась
</translation>
    </message>
    <message>
        <source>%1: the terminal gave no settings to the read, so they are not in the records before this update (one already in its bootloader wants --no-wait)</source>
        <translation>%1: терминал не дал настроек на чтение, поэтому их нет в журнале перед этим обновлением (терминалу, уже ждущему в загрузчике, нужен --no-wait)</translation>
    </message>
    <message>
        <source>%1: the terminal&apos;s answer lacks %2; its settings are in the records without them</source>
        <translation>%1: в ответе терминала нет %2; его настройки записаны в журнал без них</translation>
    </message>
    <message>
        <source>--no-wait: the bootloader listens, so the terminal&apos;s settings are not read into the records before this update</source>
        <translation>--no-wait: загрузчик уже слушает, поэтому настройки терминала не читаются в журнал перед этим обновлением</translation>
    </message>
    <message>
        <source>, unit %1</source>
        <translation>, блок %1</translation>
    </message>
    <message>
        <source>a text without &quot;:&quot; or control characters (line breaks, tabs), in Windows-1251</source>
        <translation>текст без &quot;:&quot; и управляющих символов (переводов строк, табуляций), в Windows-1251</translation>
    </message>
    <message>
        <source>0 or 1</source>
        <translation>0 или 1</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>от %1 до %2</translation>
    </message>
    <message>
        <source>one hex digit 0 to F</source>
        <translation>одна шестнадцатеричная цифра от 0 до F</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected %3</source>
        <translation>неверное значение &quot;%1&quot; для %2: ожидается %3</translation>
    </message>
    <message>
        <source>the unit has no erase in its records</source>
        <translation>в записях блока нет стирания</translation>
    </message>
    <message>
        <source>no values were kept before the unit&apos;s latest erase</source>
        <translation>перед последним стиранием блока значения не сохранены</translation>
    </message>
    <message>
        <source>no values of the unit are kept</source>
        <translation>значения блока не сохранены</translation>
    </message>
    <message>
        <source>no values of the unit were kept by %1</source>
        <translation>к %1 значения блока не сохранены</translation>
    </message>
    <message>
        <source>the kept values lack %1</source>
        <translation>в сохранённых значениях нет %1</translation>
    </message>
    <message>
        <source>the kept value of %1 cannot be sent</source>
        <translation>сохранённое значение %1 нельзя отправить</translation>
    </message>
    <message>
        <source>no team server is set (VIGIL_RECORDS)</source>
        <translation>сервер команды не задан (VIGIL_RECORDS)</translation>
    </message>
    <message>
        <source>the team server setting must be a postgresql:// address; records are kept on this PC only</source>
        <translation>адрес сервера команды в настройках должен быть адресом postgresql://; записи хранятся только на этом ПК</translation>
    </message>
    <message>
        <source>VIGIL_RECORDS must be a postgresql:// address; records are kept on this PC only</source>
        <translation>VIGIL_RECORDS должна быть адресом postgresql://; записи хранятся только на этом ПК</translation>
    </message>
    <message>
        <source>--lang needs a value: ru or en</source>
        <translation>--lang требует значения: ru или en</translation>
    </message>
    <message>
        <source>--lang is given twice</source>
        <translation>--lang указан дважды</translation>
    </message>
    <message>
        <source>--lang takes ru or en, got &quot;%1&quot;</source>
        <translation>--lang принимает ru или en, указано &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the records file %1 is read-only</source>
        <translation>файл записей %1 только для чтения</translation>
    </message>
    <message>
        <source>the records file %1 is locked by another program</source>
        <translation>файл записей %1 занят другой программой</translation>
    </message>
    <message>
        <source>the records file %1 cannot be written: the disk is full or failing</source>
        <translation>файл записей %1 не записывается: диск полон или неисправен</translation>
    </message>
    <message>
        <source>the records file %1 is damaged (not a records database); move it aside to start new records</source>
        <translation>файл записей %1 повреждён (не база записей); переместите его, чтобы начать новые записи</translation>
    </message>
    <message>
        <source>the records file %1 cannot be used: %2</source>
        <translation>файл записей %1 не используется: %2</translation>
    </message>
    <message>
        <source>the records folder %1 cannot be made: %2</source>
        <translation>папку записей %1 не удаётся создать: %2</translation>
    </message>
    <message>
        <source>the records file %1 cannot be opened: %2</source>
        <translation>файл записей %1 не открывается: %2</translation>
    </message>
    <message>
        <source>the records file %1 is not a regular file</source>
        <translation>файл записей %1 не обычный файл</translation>
    </message>
    <message>
        <source>the team records server %1 cannot be used: %2</source>
        <translation>сервер записей команды %1 недоступен: %2</translation>
    </message>
    <message>
        <source>the records in %1 were written by a newer version of the program (schema %2)</source>
        <translation>записи в %1 сделаны более новой версией программы (схема %2)</translation>
    </message>
    <message>
        <source>the team records server %1: %2</source>
        <translation>сервер записей команды %1: %2</translation>
    </message>
    <message>
        <source>VIGIL_RECORDS holds a password: put it in libpq&apos;s password file (~/.pgpass, mode 0600) and take it out of the address; records are kept on this PC only</source>
        <translation>в VIGIL_RECORDS указан пароль: перенесите его в файл паролей libpq (~/.pgpass, права 0600) и уберите из адреса; записи хранятся только на этом ПК</translation>
    </message>
    <message>
        <source>the team server setting holds a password: put it in libpq&apos;s password file (~/.pgpass, mode 0600) and take it out of the address; records are kept on this PC only</source>
        <translation>в настройке сервера команды указан пароль: перенесите его в файл паролей libpq (~/.pgpass, права 0600) и уберите из адреса; записи хранятся только на этом ПК</translation>
    </message>
</context>
</TS>
