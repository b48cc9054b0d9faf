<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>AddressCheck</name>
    <message>
        <source>Только цифры и точки</source>
        <translation>Digits and dots only</translation>
    </message>
    <message>
        <source>Не более 255</source>
        <translation>No more than 255</translation>
    </message>
    <message>
        <source>Точка не должна быть последней в </source>
        <translation>A dot must not come last in </translation>
    </message>
    <message>
        <source>Две точки подряд в </source>
        <translation>Two dots in a row in </translation>
    </message>
    <message>
        <source>Неверный адрес </source>
        <translation>Invalid address </translation>
    </message>
    <message>
        <source>Только цифры</source>
        <translation>Digits only</translation>
    </message>
    <message>
        <source>Не более 65535</source>
        <translation>No more than 65535</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>Не удалось создать файл</source>
        <translation>Could not create file</translation>
    </message>
    <message>
        <source>Не удалось записать файл</source>
        <translation>Could not write file</translation>
    </message>
    <message>
        <source>Не удалось заменить файл &quot;</source>
        <translation>Could not replace file &quot;</translation>
    </message>
    <message>
        <source>&quot;: пока он записывался, на его месте появилась ссылка</source>
        <translation>&quot;: while it was being written, a link appeared in its place</translation>
    </message>
    <message>
        <source>&quot;: пока он записывался, </source>
        <translation>&quot;: while it was being written, </translation>
    </message>
    <message>
        <source>Не удалось заменить файл</source>
        <translation>Could not replace file</translation>
    </message>
    <message>
        <source>Не удалось сбросить на диск папку файла</source>
        <translation>Could not flush the file&apos;s folder to disk</translation>
    </message>
</context>
<context>
    <name>ComPortMap</name>
    <message>
        <source> (не подключён)</source>
        <translation> (not connected)</translation>
    </message>
</context>
<context>
    <name>Commport</name>
    <message>
        <source>COM port error</source>
        <translation>COM port error</translation>
    </message>
    <message>
        <source>Не могу открыть COM порт</source>
        <translation>Cannot open COM port</translation>
    </message>
</context>
<context>
    <name>CompareDialog</name>
    <message>
        <source> (только чтение)</source>
        <translation> (read only)</translation>
    </message>
    <message>
        <source>Сравнение с терминалом</source>
        <translation>Comparison with the terminal</translation>
    </message>
    <message>
        <source>Параметр</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Вкладка</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>На экране</source>
        <translation>On screen</translation>
    </message>
    <message>
        <source>В терминале</source>
        <translation>In the terminal</translation>
    </message>
    <message>
        <source>Записать в терминал значения с экрана</source>
        <translation>Write the values on screen to the terminal</translation>
    </message>
    <message>
        <source>Взять значения терминала</source>
        <translation>Take the terminal&apos;s values</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Значения на экране и в терминале совпадают.</source>
        <translation>The values on screen and in the terminal are the same.</translation>
    </message>
    <message>
        <source>Различаются значения: %1</source>
        <translation>Values that differ: %1</translation>
    </message>
    <message>
        <source>нет ответа</source>
        <translation>no answer</translation>
    </message>
    <message>
        <source>(пусто)</source>
        <translation>(empty)</translation>
    </message>
    <message>
        <source>да</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>нет</source>
        <translation>no</translation>
    </message>
    <message>
        <source>не выбрано</source>
        <translation>not chosen</translation>
    </message>
</context>
<context>
    <name>FieldCaptions</name>
    <message>
        <source>Телефон модуля</source>
        <translation>Module phone</translation>
    </message>
    <message>
        <source>Пользователь</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Пароль</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Баланс SIM-карты: USSD</source>
        <translation>SIM card balance: USSD</translation>
    </message>
    <message>
        <source>Баланс SIM-карты: Период(мин)</source>
        <translation>SIM card balance: Period (min)</translation>
    </message>
    <message>
        <source>Баланс SIM-карты: Значение</source>
        <translation>SIM card balance: Value</translation>
    </message>
    <message>
        <source>Баланс SIM-карты: Лимит</source>
        <translation>SIM card balance: Limit</translation>
    </message>
    <message>
        <source>Код ид.</source>
        <translation>ID code</translation>
    </message>
    <message>
        <source>Чувствительность микрофона</source>
        <translation>Microphone sensitivity</translation>
    </message>
    <message>
        <source>Нажатий кнопки &quot;Тревога&quot;</source>
        <translation>Presses of the &quot;Alarm&quot; button</translation>
    </message>
    <message>
        <source>Режимы сна модуля GPS</source>
        <translation>GPS module sleep modes</translation>
    </message>
    <message>
        <source>Датчик движения</source>
        <translation>Motion sensor</translation>
    </message>
    <message>
        <source>Время по Гринвичу (ч, м, с)</source>
        <translation>UTC time (h, m, s)</translation>
    </message>
    <message>
        <source>Дата (д, м, г)</source>
        <translation>Date (d, m, y)</translation>
    </message>
    <message>
        <source>Скорость (узлы)</source>
        <translation>Speed (knots)</translation>
    </message>
    <message>
        <source>Курс (град)</source>
        <translation>Course (deg)</translation>
    </message>
    <message>
        <source>Широта (гр, мин)</source>
        <translation>Latitude (deg, min)</translation>
    </message>
    <message>
        <source>Долгота (гр, мин)</source>
        <translation>Longitude (deg, min)</translation>
    </message>
    <message>
        <source>Телефон </source>
        <translation>Phone </translation>
    </message>
    <message>
        <source>: Номер</source>
        <translation>: Number</translation>
    </message>
    <message>
        <source>: sms</source>
        <translation>: sms</translation>
    </message>
    <message>
        <source>: voice</source>
        <translation>: voice</translation>
    </message>
    <message>
        <source>Сервер </source>
        <translation>Server </translation>
    </message>
    <message>
        <source>: IP адрес</source>
        <translation>: IP address</translation>
    </message>
    <message>
        <source>: Порт</source>
        <translation>: Port</translation>
    </message>
    <message>
        <source>: Протокол</source>
        <translation>: Protocol</translation>
    </message>
    <message>
        <source>: Разрешить</source>
        <translation>: Enable</translation>
    </message>
    <message>
        <source>Период связи GPRS: Сервер </source>
        <translation>GPRS session period: Server </translation>
    </message>
</context>
<context>
    <name>FieldMarks</name>
    <message>
        <source>Изменено, в терминал ещё не записано</source>
        <translation>Changed, not yet written to the terminal</translation>
    </message>
</context>
<context>
    <name>FileTarget</name>
    <message>
        <source>Не удалось записать файл</source>
        <translation>Could not write file</translation>
    </message>
    <message>
        <source>устройство</source>
        <translation>a device</translation>
    </message>
    <message>
        <source>именованный канал (FIFO)</source>
        <translation>a named pipe (FIFO)</translation>
    </message>
    <message>
        <source>сокет</source>
        <translation>a socket</translation>
    </message>
    <message>
        <source>папка</source>
        <translation>a folder</translation>
    </message>
    <message>
        <source>файл особого рода</source>
        <translation>a special file</translation>
    </message>
    <message>
        <source>, а не обычный файл</source>
        <translation>, not a regular file</translation>
    </message>
    <message>
        <source>это </source>
        <translation>it is </translation>
    </message>
    <message>
        <source>ссылка ведёт на &quot;</source>
        <translation>the link leads to &quot;</translation>
    </message>
    <message>
        <source>&quot;, а это </source>
        <translation>&quot;, which is </translation>
    </message>
</context>
<context>
    <name>FirmwareUpload</name>
    <message>
        <source>Обновление не завершено (запись </source>
        <translation>The update is not finished (record </translation>
    </message>
    <message>
        <source> из </source>
        <translation> of </translation>
    </message>
    <message>
        <source>): терминал остаётся в загрузчике. Подключите его и </source>
        <translation>): the terminal stays in its bootloader. Connect it and </translation>
    </message>
    <message>
        <source> ещё раз.</source>
        <translation> once more.</translation>
    </message>
    <message>
        <source>Обновление прошло успешно. BL ver 01</source>
        <translation>The update succeeded. BL ver 01</translation>
    </message>
    <message>
        <source>Обновление прошло успешно. BL ver 02</source>
        <translation>The update succeeded. BL ver 02</translation>
    </message>
    <message>
        <source>Ошибка CRC. Файл поврежден.</source>
        <translation>CRC error. The file is damaged.</translation>
    </message>
    <message>
        <source>Адресат не отвечает</source>
        <translation>The terminal does not answer</translation>
    </message>
    <message>
        <source>Адресат должен быть пересброшен</source>
        <translation>The terminal must be reset</translation>
    </message>
    <message>
        <source>Связь с адресатом потеряна</source>
        <translation>The link to the terminal was lost</translation>
    </message>
</context>
<context>
    <name>HelpFile</name>
    <message>
        <source>Help file not found
</source>
        <translation>Help file not found
</translation>
    </message>
</context>
<context>
    <name>InputFile</name>
    <message>
        <source>файл больше </source>
        <translation>the file is larger than </translation>
    </message>
    <message>
        <source> байт</source>
        <translation> bytes</translation>
    </message>
    <message>
        <source>Файл &quot;</source>
        <translation>File &quot;</translation>
    </message>
    <message>
        <source>&quot; не открыт: </source>
        <translation>&quot; was not opened: </translation>
    </message>
</context>
<context>
    <name>ItemComposer</name>
    <message>
        <source>Значение в </source>
        <translation>The value in </translation>
    </message>
    <message>
        <source>поле</source>
        <translation>a field</translation>
    </message>
    <message>
        <source> содержит символ &quot;:&quot;, который разделяет параметры.</source>
        <translation> contains the character &quot;:&quot;, which separates parameters.</translation>
    </message>
    <message>
        <source> содержит символ, которого нет в кодировке Windows-1251.</source>
        <translation> contains a character that Windows-1251 does not have.</translation>
    </message>
    <message>
        <source>Данные не помещаются в буфер передачи (4096 байт).</source>
        <translation>The data do not fit into the transmit buffer (4096 bytes).</translation>
    </message>
</context>
<context>
    <name>LanguageMenu</name>
    <message>
        <source>Выбор языка не сохранён: хранилище настроек недоступно.</source>
        <translation>The language was not kept: the settings store cannot be written.</translation>
    </message>
    <message>
        <source>Язык сменится при следующем запуске программы.</source>
        <translation>The language changes the next time the program starts.</translation>
    </message>
    <message>
        <source>Language / Язык</source>
        <translation>Language / Язык</translation>
    </message>
    <message>
        <source>Выбор сохранён, но язык при запуске задаёт переменная окружения VIGIL_LANG=%1, пока она установлена.</source>
        <translation>The choice is kept, but while the environment variable VIGIL_LANG=%1 is set, it chooses the language at start.</translation>
    </message>
</context>
<context>
    <name>Location</name>
    <message>
        <source>Адрес сервера должен начинаться с postgresql://</source>
        <translation>The server address must begin with postgresql://</translation>
    </message>
    <message>
        <source>Адрес содержит пароль, а пароль не хранится в настройках программы. Уберите его из адреса и укажите в файле паролей libpq (~/.pgpass, права 0600).</source>
        <translation>The address holds a password, and passwords are not kept in the program&apos;s settings. Remove it from the address and put it in the libpq password file (~/.pgpass, mode 0600).</translation>
    </message>
</context>
<context>
    <name>ParameterTable</name>
    <message>
        <source>поле &quot;</source>
        <translation>the field &quot;</translation>
    </message>
    <message>
        <source>) на вкладке &quot;</source>
        <translation>) on the page &quot;</translation>
    </message>
</context>
<context>
    <name>PortDiagnostics</name>
    <message>
        <source>подключите адаптер или выберите другой порт</source>
        <translation>connect the adapter or choose another port</translation>
    </message>
    <message>
        <source>его держит </source>
        <translation>it is held by </translation>
    </message>
    <message>
        <source> (файл блокировки </source>
        <translation> (lock file </translation>
    </message>
    <message>
        <source>): закройте эту программу или выберите другой порт</source>
        <translation>): close that program or choose another port</translation>
    </message>
    <message>
        <source>Порт </source>
        <translation>Port </translation>
    </message>
    <message>
        <source> занят: </source>
        <translation> is busy: </translation>
    </message>
    <message>
        <source>его опрашивает </source>
        <translation>it is being probed by </translation>
    </message>
    <message>
        <source>: подождите полминуты и повторите или запретите ModemManager трогать адаптер (правила udev пакета)</source>
        <translation>: wait half a minute and try again, or keep ModemManager off the adapter (the package&apos;s udev rules)</translation>
    </message>
    <message>
        <source>его захватил </source>
        <translation>it was taken by </translation>
    </message>
    <message>
        <source>: удалите пакет brltty (sudo apt remove brltty), если нет брайлевского дисплея</source>
        <translation>: remove the brltty package (sudo apt remove brltty) if there is no braille display</translation>
    </message>
    <message>
        <source>: закройте эту программу или выберите другой порт</source>
        <translation>: close that program or choose another port</translation>
    </message>
    <message>
        <source>запущен </source>
        <translation>running: </translation>
    </message>
    <message>
        <source>, он может опрашивать адаптер: подождите полминуты и повторите</source>
        <translation>, it may be probing the adapter: wait half a minute and try again</translation>
    </message>
    <message>
        <source>его держит другая программа: закройте её или выберите другой порт</source>
        <translation>another program holds it: close it or choose another port</translation>
    </message>
    <message>
        <source>Этому порту не назначено устройство: </source>
        <translation>No device is assigned to this port: </translation>
    </message>
    <message>
        <source>Устройство </source>
        <translation>Device </translation>
    </message>
    <message>
        <source> отсутствует: </source>
        <translation> is missing: </translation>
    </message>
    <message>
        <source>; запущен </source>
        <translation>; running: </translation>
    </message>
    <message>
        <source>, он мог забрать адаптер себе: удалите пакет brltty, если нет брайлевского дисплея</source>
        <translation>, it may have taken the adapter: remove the brltty package if there is no braille display</translation>
    </message>
    <message>
        <source>Нет доступа к </source>
        <translation>No access to </translation>
    </message>
    <message>
        <source>проверьте права на устройство</source>
        <translation>check the device&apos;s permissions</translation>
    </message>
    <message>
        <source>устройство доступно только администратору: установите правила udev пакета vigil или попросите администратора дать доступ</source>
        <translation>only the administrator may use the device: install the vigil package&apos;s udev rules or ask the administrator for access</translation>
    </message>
    <message>
        <source>права устройства не дают группе </source>
        <translation>the device&apos;s permissions do not let the group </translation>
    </message>
    <message>
        <source> читать и писать (sudo chmod g+rw </source>
        <translation> read and write (sudo chmod g+rw </translation>
    </message>
    <message>
        <source>пользователь </source>
        <translation>user </translation>
    </message>
    <message>
        <source> уже в группе </source>
        <translation> is in the group </translation>
    </message>
    <message>
        <source>, но вошёл в систему до этого: выйдите из системы и войдите снова</source>
        <translation> already, but logged in before that: log out and log in again</translation>
    </message>
    <message>
        <source>добавьте пользователя </source>
        <translation>add the user </translation>
    </message>
    <message>
        <source> в группу </source>
        <translation> to the group </translation>
    </message>
    <message>
        <source>) и войдите в систему снова</source>
        <translation>) and log in again</translation>
    </message>
    <message>
        <source> не последовательный порт: выберите другой порт</source>
        <translation> is not a serial port: choose another port</translation>
    </message>
    <message>
        <source> не отвечает: за ним нет порта, выберите другой</source>
        <translation> does not respond: there is no port behind it, choose another</translation>
    </message>
    <message>
        <source>Ошибка </source>
        <translation>Error </translation>
    </message>
    <message>
        <source> при открытии </source>
        <translation> opening </translation>
    </message>
    <message>
        <source>Терминал не ответил на </source>
        <translation>The terminal did not answer on </translation>
    </message>
    <message>
        <source>. Проверьте, что адаптер подключён к терминалу, что выбран порт этого адаптера и что порт не читает другая программа.</source>
        <translation>. Check that the adapter is connected to the terminal, that this adapter&apos;s port is chosen and that no other program reads the port.</translation>
    </message>
</context>
<context>
    <name>QtMessageService</name>
    <message>
        <source>Записать</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Не записывать</source>
        <translation>Don&apos;t write</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>RegistryStore</name>
    <message>
        <source>; сохранить их туда нельзя.</source>
        <translation>; they cannot be saved there.</translation>
    </message>
    <message>
        <source>; при сохранении прежний файл останется рядом как </source>
        <translation>; on saving, the old file is kept beside it as </translation>
    </message>
    <message>
        <source>Файл настроек </source>
        <translation>The settings file </translation>
    </message>
    <message>
        <source> не читается (</source>
        <translation> cannot be read (</translation>
    </message>
    <message>
        <source>). Используются настройки по умолчанию</source>
        <translation>). The default settings are used</translation>
    </message>
</context>
<context>
    <name>RequestBuilder</name>
    <message>
        <source>Запрос не отправлен.</source>
        <translation>The request was not sent.</translation>
    </message>
</context>
<context>
    <name>SaveFiles</name>
    <message>
        <source>Не удалось прочитать файл &quot;</source>
        <translation>Could not read file &quot;</translation>
    </message>
    <message>
        <source>Файл &quot;</source>
        <translation>File &quot;</translation>
    </message>
    <message>
        <source>&quot; длиннее 4096 байт и не может быть открыт как файл конфигурации.</source>
        <translation>&quot; is longer than 4096 bytes and cannot be opened as a configuration file.</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл</source>
        <translation>Could not read file</translation>
    </message>
    <message>
        <source>Конфигурация не сохранена.</source>
        <translation>The configuration was not saved.</translation>
    </message>
</context>
<context>
    <name>ServerExport</name>
    <message>
        <source>Значение в </source>
        <translation>The value in </translation>
    </message>
    <message>
        <source> содержит управляющий символ, который нельзя записать в XML. </source>
        <translation> contains a control character that cannot be written to XML. </translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>About Vigil</source>
        <translation>About Vigil</translation>
    </message>
    <message>
        <source>Программа Config_Vigil</source>
        <translation>Config_Vigil program</translation>
    </message>
    <message>
        <source>Версия 20.07.15</source>
        <translation>Version 20.07.15</translation>
    </message>
    <message>
        <source>Предназначена для конфигурирования  тревожных кнопок Vigil,  работающих в РСПИ &quot; ORVANA-5&quot;, а также для обновления их программного обеспечения.</source>
        <translation>Configures Vigil panic buttons working in the &quot; ORVANA-5&quot; alarm transmission system and updates their firmware.</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Сравнить не с чем.</source>
        <translation>There is nothing to compare with.</translation>
    </message>
    <message>
        <source>Файл конфигурации(*.abt)|*.abt</source>
        <translation>Configuration file(*.abt)|*.abt</translation>
    </message>
    <message>
        <source>Файл обновления(*.enc)|*.enc|Файл конфигурации(*.abt)|*.abt</source>
        <translation>Update file(*.enc)|*.enc|Configuration file(*.abt)|*.abt</translation>
    </message>
    <message>
        <source>Can&apos;t perform one of the following file operations: Open, Seek, Read, Close.</source>
        <translation>Can&apos;t perform one of the following file operations: Open, Seek, Read, Close.</translation>
    </message>
    <message>
        <source>File Error</source>
        <translation>File Error</translation>
    </message>
    <message>
        <source>Читать</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Записать</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Save file</source>
        <translation>Save file</translation>
    </message>
    <message>
        <source>Сравнить с терминалом</source>
        <translation>Compare with terminal</translation>
    </message>
    <message>
        <source>Журнал терминалов…</source>
        <translation>Terminal journal…</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Exit</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Подключить Comm</source>
        <translation>Connect Comm</translation>
    </message>
    <message>
        <source>Отключить Comm</source>
        <translation>Disconnect Comm</translation>
    </message>
    <message>
        <source>Свойства Comm</source>
        <translation>Comm properties</translation>
    </message>
    <message>
        <source>Записать данные всех закладок</source>
        <translation>Write the data of every page</translation>
    </message>
    <message>
        <source>Настройки интернета</source>
        <translation>Internet settings</translation>
    </message>
    <message>
        <source>IP адрес</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Протокол</source>
        <translation>Protocol</translation>
    </message>
    <message>
        <source>Разрешить</source>
        <translation>Enable</translation>
    </message>
    <message>
        <source>Сервер %1</source>
        <translation>Server %1</translation>
    </message>
    <message>
        <source>Период связи GPRS</source>
        <translation>GPRS session period</translation>
    </message>
    <message>
        <source>мин</source>
        <translation>min</translation>
    </message>
    <message>
        <source>Принято байт:</source>
        <translation>Bytes received:</translation>
    </message>
    <message>
        <source>Щелчок сбрасывает счётчик</source>
        <translation>A click resets the counter</translation>
    </message>
    <message>
        <source>Пользователь</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Пароль</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Точка доступа GPRS</source>
        <translation>GPRS access point</translation>
    </message>
    <message>
        <source>Баланс SIM-карты</source>
        <translation>SIM card balance</translation>
    </message>
    <message>
        <source>Период(мин)</source>
        <translation>Period(min)</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Лимит</source>
        <translation>Limit</translation>
    </message>
    <message>
        <source>Код ид.          Версия.        Eeprom</source>
        <translation>ID code          Version.       Eeprom</translation>
    </message>
    <message>
        <source>Телефоны для связи </source>
        <translation>Phones to call </translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Телефон модуля</source>
        <translation>Module phone</translation>
    </message>
    <message>
        <source>Время по 
Гринвичу (ч, м, с)</source>
        <translation>Time 
UTC (h, m, s)</translation>
    </message>
    <message>
        <source>Дата  (д, м, г)</source>
        <translation>Date (d, m, y)</translation>
    </message>
    <message>
        <source>Скорость (узлы)</source>
        <translation>Speed (knots)</translation>
    </message>
    <message>
        <source>Курс (град)</source>
        <translation>Course (deg)</translation>
    </message>
    <message>
        <source>Широта (гр, мин)</source>
        <translation>Latitude (deg, min)</translation>
    </message>
    <message>
        <source>Долгота (гр, мин)</source>
        <translation>Longitude (deg, min)</translation>
    </message>
    <message>
        <source>Последние координаты</source>
        <translation>Last position</translation>
    </message>
    <message>
        <source>Чувствительность микрофона</source>
        <translation>Microphone sensitivity</translation>
    </message>
    <message>
        <source>ниже</source>
        <translation>lower</translation>
    </message>
    <message>
        <source>выше</source>
        <translation>higher</translation>
    </message>
    <message>
        <source>Датчик движения</source>
        <translation>Motion sensor</translation>
    </message>
    <message>
        <source>Нажатий кнопки &quot;Тревога&quot;</source>
        <translation>Presses of the &quot;Alarm&quot; button</translation>
    </message>
    <message>
        <source>Режимы сна модуля GPS</source>
        <translation>GPS module sleep modes</translation>
    </message>
    <message>
        <source>(во время сна координаты не передаются)</source>
        <translation>(no position is sent while asleep)</translation>
    </message>
    <message>
        <source>Р1-Сон 1 мин. и более (до движения)</source>
        <translation>M1-Sleep 1 min. or more (until motion)</translation>
    </message>
    <message>
        <source>Р2-Сон 1 мин. и более (до движения или до сеанса связи)</source>
        <translation>M2-Sleep 1 min. or more (until motion or a session)</translation>
    </message>
    <message>
        <source>Р3-Сон до  движения</source>
        <translation>M3-Sleep until motion</translation>
    </message>
    <message>
        <source>Р4-Сон до движения или до сеанса связи</source>
        <translation>M4-Sleep until motion or a session</translation>
    </message>
    <message>
        <source>Р5-Трекер (пуск копкой &quot;Тревога&quot;, стоп кнопкой &quot;Питание&quot;)</source>
        <translation>M5-Tracker (start with the &quot;Alarm&quot; button, stop with the &quot;Power&quot; button)</translation>
    </message>
    <message>
        <source>Обновить</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Обновлено</source>
        <translation>Updated</translation>
    </message>
    <message>
        <source>Програм.</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Интернет</source>
        <translation>Internet</translation>
    </message>
    <message>
        <source>Доступ</source>
        <translation>Access</translation>
    </message>
    <message>
        <source>Телефоны</source>
        <translation>Phones</translation>
    </message>
    <message>
        <source>Настройки</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Монитор</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>нажмите &quot;Програм.&quot;</source>
        <translation>press &quot;Program&quot;</translation>
    </message>
    <message>
        <source> на вкладке </source>
        <translation> on the page </translation>
    </message>
    <message>
        <source> на вкладках </source>
        <translation> on the pages </translation>
    </message>
    <message>
        <source>. Запрос не отправлен.</source>
        <translation>. The request was not sent.</translation>
    </message>
    <message>
        <source>Записать их в терминал перед выходом?</source>
        <translation>Write them to the terminal before leaving?</translation>
    </message>
    <message>
        <source>Открыть файл, не записывая их?</source>
        <translation>Open the file without writing them?</translation>
    </message>
    <message>
        <source>Взять значения терминала, не записывая их?</source>
        <translation>Take the terminal&apos;s values without writing them?</translation>
    </message>
    <message>
        <source>Терминал не ответил</source>
        <translation>The terminal did not answer</translation>
    </message>
    <message>
        <source>Терминал прислал не все значения.</source>
        <translation>The terminal did not send every value.</translation>
    </message>
    <message>
        <source>Прежние значения восстановлены</source>
        <translation>The previous values were restored</translation>
    </message>
    <message>
        <source>Терминал записал не всё, что было отправлено:</source>
        <translation>The terminal did not write everything that was sent:</translation>
    </message>
    <message>
        <source>Запись подтверждена: </source>
        <translation>Write confirmed: </translation>
    </message>
    <message>
        <source>Запись не подтверждена</source>
        <translation>Write not confirmed</translation>
    </message>
    <message>
        <source>Терминал ещё не прислал значения</source>
        <translation>The terminal has not sent the values yet</translation>
    </message>
    <message>
        <source>Все настройки терминала будут стёрты. Продолжить?</source>
        <translation>Every setting of the terminal will be erased. Continue?</translation>
    </message>
    <message>
        <source>Изменения не записаны в терминал: вкладки </source>
        <translation>Changes not written to the terminal: pages </translation>
    </message>
    <message>
        <source>Терминал не ответил: его настройки не сохранены в журнале перед стиранием. Стереть всё равно?</source>
        <translation>The terminal did not answer: its settings were not kept in the journal before erasing. Erase anyway?</translation>
    </message>
    <message>
        <source>Терминал не ответил: его настройки не сохранены в журнале перед обновлением. Обновить всё равно?</source>
        <translation>The terminal did not answer: its settings were not kept in the journal before the update. Update anyway?</translation>
    </message>
    <message>
        <source>Терминал не ответил: его настройки не сохранены в журнале перед записью. Записать всё равно?</source>
        <translation>The terminal did not answer: its settings were not kept in the journal before writing. Write anyway?</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>Отключить </source>
        <translation>Disconnect </translation>
    </message>
    <message>
        <source>Подключить</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Разрыв соединения</source>
        <translation>Connection lost</translation>
    </message>
    <message>
        <source>COM port error</source>
        <translation>COM port error</translation>
    </message>
    <message>
        <source>Подключено на скорости </source>
        <translation>Connected at </translation>
    </message>
    <message>
        <source>Ошибка подключения </source>
        <translation>Connection error </translation>
    </message>
    <message>
        <source>Отключено</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>Не отвечает COM</source>
        <translation>No answer on COM</translation>
    </message>
    <message>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Скорость</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Стоп биты</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>Управление</source>
        <translation>Flow</translation>
    </message>
    <message>
        <source>потоком</source>
        <translation>control</translation>
    </message>
    <message>
        <source>Нет</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Аппаратное</source>
        <translation>Hardware</translation>
    </message>
    <message>
        <source>Биты данных</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>Четность</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>Нечет</source>
        <translation>Odd</translation>
    </message>
    <message>
        <source>Чет</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>Маркер</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>Пробел</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Не подключено</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>Тайм-ауты чтения</source>
        <translation>Read time-outs</translation>
    </message>
    <message>
        <source>Тайм-ауты записи</source>
        <translation>Write time-outs</translation>
    </message>
    <message>
        <source>Новые</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Старые</source>
        <translation>Old</translation>
    </message>
</context>
<context>
    <name>TeamServerEntry</name>
    <message>
        <source>postgresql://сервер/vigil</source>
        <translation>postgresql://server/vigil</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Задана переменная VIGIL_RECORDS: используется она.</source>
        <translation>The variable VIGIL_RECORDS is set: it is used.</translation>
    </message>
    <message>
        <source>Сервер журнала:</source>
        <translation>Journal server:</translation>
    </message>
    <message>
        <source>Сохранено; действует со следующего запуска программы.</source>
        <translation>Saved; takes effect the next time the program starts.</translation>
    </message>
    <message>
        <source>Настройка не сохранена: хранилище настроек недоступно.</source>
        <translation>The setting was not saved: the settings store cannot be written.</translation>
    </message>
    <message>
        <source>Настройка не сохранена: </source>
        <translation>The setting was not saved: </translation>
    </message>
</context>
<context>
    <name>UnitJournalWindow</name>
    <message>
        <source>Чтение записей команды…</source>
        <translation>Reading the team&apos;s records…</translation>
    </message>
    <message>
        <source>Записи команды не прочитаны, показаны записи этого компьютера: %1</source>
        <translation>The team&apos;s records could not be read; this PC&apos;s are shown: %1</translation>
    </message>
    <message>
        <source>Журнал терминалов</source>
        <translation>Terminal journal</translation>
    </message>
    <message>
        <source>Код ид.</source>
        <translation>ID code</translation>
    </message>
    <message>
        <source>Телефон модуля</source>
        <translation>Module phone</translation>
    </message>
    <message>
        <source>Версия</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Последняя запись (UTC)</source>
        <translation>Last event (UTC)</translation>
    </message>
    <message>
        <source>Результат</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Записей</source>
        <translation>Events</translation>
    </message>
    <message>
        <source>Время (UTC)</source>
        <translation>Time (UTC)</translation>
    </message>
    <message>
        <source>Действие</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Оператор</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Компьютер</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>Программа</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Параметр</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Было</source>
        <translation>Before</translation>
    </message>
    <message>
        <source>Стало</source>
        <translation>After</translation>
    </message>
    <message>
        <source>Значения на экран</source>
        <translation>Values to screen</translation>
    </message>
    <message>
        <source>Сохранить как .abt…</source>
        <translation>Save as .abt…</translation>
    </message>
    <message>
        <source>История в CSV…</source>
        <translation>History to CSV…</translation>
    </message>
    <message>
        <source>Файлы конфигурации(*.abt)|*.abt</source>
        <translation>Configuration files(*.abt)|*.abt</translation>
    </message>
    <message>
        <source>Файлы CSV(*.csv)|*.csv</source>
        <translation>CSV files(*.csv)|*.csv</translation>
    </message>
</context>
<context>
    <name>UnitRecords</name>
    <message>
        <source>Терминал </source>
        <translation>Terminal </translation>
    </message>
    <message>
        <source>, записей ещё нет</source>
        <translation>, no events yet</translation>
    </message>
    <message>
        <source>, последняя запись </source>
        <translation>, last event </translation>
    </message>
    <message>
        <source>Журнал не ведётся: </source>
        <translation>No journal is kept: </translation>
    </message>
    <message>
        <source>Ждут отправки на сервер: </source>
        <translation>Waiting to be sent to the server: </translation>
    </message>
</context>
<context>
    <name>UpdateFile</name>
    <message>
        <source>Ошибка формата файла обновления<byte value="xd"/>
 (код </source>
        <translation>Update file format error<byte value="xd"/>
 (code </translation>
    </message>
    <message>
        <source>).<byte value="xd"/>
Обновление прервано !!!</source>
        <translation>).<byte value="xd"/>
Update aborted !!!</translation>
    </message>
    <message>
        <source>В файле обновления ошибка CRC <byte value="xd"/>
 (код </source>
        <translation>CRC error in the update file <byte value="xd"/>
 (code </translation>
    </message>
    <message>
        <source>Файл обновления больше 262144 байт.<byte value="xd"/>
Обновление прервано !!!</source>
        <translation>The update file is larger than 262144 bytes.<byte value="xd"/>
Update aborted !!!</translation>
    </message>
</context>
<context>
    <name>UpdateFileRead</name>
    <message>
        <source>Не удалось прочитать файл</source>
        <translation>Could not read file</translation>
    </message>
</context>
<context>
    <name>WriteCheck</name>
    <message>
        <source>нет ответа</source>
        <translation>no answer</translation>
    </message>
</context>
<context>
    <name>vigil</name>
    <message>
        <source>another batch</source>
        <translation>another batch</translation>
    </message>
    <message>
        <source>another batch (%1, pid %2)</source>
        <translation>another batch (%1, pid %2)</translation>
    </message>
    <message>
        <source>a program</source>
        <translation>a program</translation>
    </message>
    <message>
        <source>%1: not a batch log (its first row must be %2)</source>
        <translation>%1: not a batch log (its first row must be %2)</translation>
    </message>
    <message>
        <source>a row cut short (%1 cells), not taken</source>
        <translation>a row cut short (%1 cells), not taken</translation>
    </message>
    <message>
        <source>%1 cells, the header has %2</source>
        <translation>%1 cells, the header has %2</translation>
    </message>
    <message>
        <source>a row without its unit</source>
        <translation>a row without its unit</translation>
    </message>
    <message>
        <source>result &quot;%1&quot; is neither %2 nor %3</source>
        <translation>result &quot;%1&quot; is neither %2 nor %3</translation>
    </message>
    <message>
        <source>%1; mend or remove the row</source>
        <translation>%1; mend or remove the row</translation>
    </message>
    <message>
        <source>%1: larger than %2 MiB, not a batch log</source>
        <translation>%1: larger than %2 MiB, not a batch log</translation>
    </message>
    <message>
        <source>%1: in use by %2; one batch per log</source>
        <translation>%1: in use by %2; one batch per log</translation>
    </message>
    <message>
        <source>%1: replaced or removed while the batch ran; the row for unit %2 is not written (put the file back, or start again with a copy)</source>
        <translation>%1: replaced or removed while the batch ran; the row for unit %2 is not written (put the file back, or start again with a copy)</translation>
    </message>
    <message>
        <source>%1: the file is empty</source>
        <translation>%1: the file is empty</translation>
    </message>
    <message>
        <source>the first column must be &quot;unit&quot;</source>
        <translation>the first column must be &quot;unit&quot;</translation>
    </message>
    <message>
        <source>&quot;%1&quot; names the same parameter as &quot;%2&quot;</source>
        <translation>&quot;%1&quot; names the same parameter as &quot;%2&quot;</translation>
    </message>
    <message>
        <source>the unit has no label</source>
        <translation>the unit has no label</translation>
    </message>
    <message>
        <source>unit &quot;%1&quot; is listed twice</source>
        <translation>unit &quot;%1&quot; is listed twice</translation>
    </message>
    <message>
        <source>%1 is reported by the terminal and cannot be written</source>
        <translation>%1 is reported by the terminal and cannot be written</translation>
    </message>
    <message>
        <source>unknown parameter %1 (a parameter name or an .abt key)</source>
        <translation>unknown parameter %1 (a parameter name or an .abt key)</translation>
    </message>
    <message>
        <source>the value for %1 has characters Windows-1251 lacks</source>
        <translation>the value for %1 has characters Windows-1251 lacks</translation>
    </message>
    <message>
        <source>a quoted field that starts on line %1 is never closed</source>
        <translation>a quoted field that starts on line %1 is never closed</translation>
    </message>
    <message>
        <source>a text without &quot;:&quot; or control characters (line breaks, tabs), in Windows-1251</source>
        <translation>a text without &quot;:&quot; or control characters (line breaks, tabs), in Windows-1251</translation>
    </message>
    <message>
        <source>0 or 1</source>
        <translation>0 or 1</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>one hex digit 0 to F</source>
        <translation>one hex digit 0 to F</translation>
    </message>
    <message>
        <source>invalid value &quot;%1&quot; for %2: expected %3</source>
        <translation>invalid value &quot;%1&quot; for %2: expected %3</translation>
    </message>
    <message>
        <source>the team server setting must be a postgresql:// address; records are kept on this PC only</source>
        <translation>the team server setting must be a postgresql:// address; records are kept on this PC only</translation>
    </message>
    <message>
        <source>VIGIL_RECORDS must be a postgresql:// address; records are kept on this PC only</source>
        <translation>VIGIL_RECORDS must be a postgresql:// address; records are kept on this PC only</translation>
    </message>
    <message>
        <source>no team server is set (VIGIL_RECORDS)</source>
        <translation>no team server is set (VIGIL_RECORDS)</translation>
    </message>
    <message>
        <source>the unit has no erase in its records</source>
        <translation>the unit has no erase in its records</translation>
    </message>
    <message>
        <source>no values were kept before the unit&apos;s latest erase</source>
        <translation>no values were kept before the unit&apos;s latest erase</translation>
    </message>
    <message>
        <source>no values of the unit are kept</source>
        <translation>no values of the unit are kept</translation>
    </message>
    <message>
        <source>no values of the unit were kept by %1</source>
        <translation>no values of the unit were kept by %1</translation>
    </message>
    <message>
        <source>the kept values lack %1</source>
        <translation>the kept values lack %1</translation>
    </message>
    <message>
        <source>the kept value of %1 cannot be sent</source>
        <translation>the kept value of %1 cannot be sent</translation>
    </message>
    <message>
        <source>the records file %1 is read-only</source>
        <translation>the records file %1 is read-only</translation>
    </message>
    <message>
        <source>the records file %1 is locked by another program</source>
        <translation>the records file %1 is locked by another program</translation>
    </message>
    <message>
        <source>the records file %1 cannot be written: the disk is full or failing</source>
        <translation>the records file %1 cannot be written: the disk is full or failing</translation>
    </message>
    <message>
        <source>the records file %1 is damaged (not a records database); move it aside to start new records</source>
        <translation>the records file %1 is damaged (not a records database); move it aside to start new records</translation>
    </message>
    <message>
        <source>the records file %1 cannot be used: %2</source>
        <translation>the records file %1 cannot be used: %2</translation>
    </message>
    <message>
        <source>the records folder %1 cannot be made: %2</source>
        <translation>the records folder %1 cannot be made: %2</translation>
    </message>
    <message>
        <source>the records file %1 cannot be opened: %2</source>
        <translation>the records file %1 cannot be opened: %2</translation>
    </message>
    <message>
        <source>the records file %1 is not a regular file</source>
        <translation>the records file %1 is not a regular file</translation>
    </message>
    <message>
        <source>the team records server %1 cannot be used: %2</source>
        <translation>the team records server %1 cannot be used: %2</translation>
    </message>
    <message>
        <source>the records in %1 were written by a newer version of the program (schema %2)</source>
        <translation>the records in %1 were written by a newer version of the program (schema %2)</translation>
    </message>
    <message>
        <source>the team records server %1: %2</source>
        <translation>the team records server %1: %2</translation>
    </message>
    <message>
        <source>VIGIL_RECORDS holds a password: put it in libpq&apos;s password file (~/.pgpass, mode 0600) and take it out of the address; records are kept on this PC only</source>
        <translation>VIGIL_RECORDS holds a password: put it in libpq&apos;s password file (~/.pgpass, mode 0600) and take it out of the address; records are kept on this PC only</translation>
    </message>
    <message>
        <source>the team server setting holds a password: put it in libpq&apos;s password file (~/.pgpass, mode 0600) and take it out of the address; records are kept on this PC only</source>
        <translation>the team server setting holds a password: put it in libpq&apos;s password file (~/.pgpass, mode 0600) and take it out of the address; records are kept on this PC only</translation>
    </message>
</context>
</TS>
