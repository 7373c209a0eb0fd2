#include "config/languages.h"

#include <array>

namespace vorta {

namespace {

struct Row
{
    Txt purpose;
    const char16_t *es;
    const char16_t *pt;
    const char16_t *en;
};

#define CRLF u"\r\n"
// A text that is shown in Spanish whatever the interface language.
#define ES_ONLY(id, s) {Txt::id, s, s, s}

constexpr Row kRows[] = {
    {Txt::MenuFile, u"Archivo", u"Arquivo", u"File"},
    {Txt::MenuNewLog, u"Nueva Base de datos", u"Novo Banco de Dados", u"New Data Base"},
    {Txt::MenuOpenLog, u"Abrir Base de datos", u"Abrir Banco de dados", u"Open Data Base"},
    {Txt::MenuLog, u"Log", u"Log", u"Log"},
    {Txt::MenuImportAdif, u"Importar ADIF", u"Importar ADIF", u"Import ADIF"},
    {Txt::MenuSettings, u"Configuración", u"Configuração", u"Settings"},
    {Txt::MenuExit, u"Salir", u"Saír", u"Saida"},
    {Txt::MenuCheckVersion, u"Verificar Versión", u"Verificar versão", u"Check Version"},
    {Txt::MenuHelp, u"Ayuda", u"Ajuda", u"Help"},
    {Txt::MenuAbout, u"Acerca de ...", u"sobre ...", u"About ..."},
    {Txt::MenuHelpEntry, u"Ayuda", u"Ajuda", u"Help"},

    {Txt::LabelSatellite, u"Satélite:", u"Satéllite:", u"Satellite:"},
    {Txt::LabelDownlink, u"Bajada", u"Descida", u"Downlink"},
    {Txt::LabelUplink, u"Subida", u"Subida", u"Uplink"},
    {Txt::LabelStation, u"Estación:", u"Estação:", u"Station:"},
    {Txt::BoxListen, u"Escucha", u"Escuta", u"Listen"},
    {Txt::BoxManualTime, u"Ingreso QTR Manual", u"Inserir QTR Manualmente", u"Manual QTR"},
    {Txt::LabelOrbit, u"Orbita:", u"Orbita:", u"Orbit:"},
    {Txt::LabelMode, u"Modo:", u"Modo:", u"Mode:"},
    {Txt::LabelReportSent, u"Env:", u"Snd:", u"Snd:"},
    {Txt::LabelReportReceived, u"Rec:", u"Rec:", u"Rec:"},
    {Txt::LabelNotes, u"Notas", u"Notas", u"Notes"},
    {Txt::LabelDate, u"Fecha", u"Data", u"Date"},
    {Txt::LabelTime, u"Hora", u"Hora", u"Time"},
    {Txt::FrameLastRecord, u"Ultimo Registro (F1 para Editar)", u"Último QSO (F1 para Editar)",
     u"Last input (F1 to Edit)"},
    {Txt::LastStation, u"Estación", u"Estação", u"Station"},
    {Txt::LastDate, u"Fecha", u"Data", u"Date"},
    {Txt::LastTime, u"Hora", u"Hora", u"Time"},
    {Txt::LastUplink, u"Subida", u"Subida", u"Uplink"},
    {Txt::LastSatellite, u"Sat", u"Sat", u"Sat"},
    {Txt::LastOrbit, u"Orbita #", u"Orbita #", u"Orbit #"},
    {Txt::BoxUseOrbitron, u"Usar Orbitron", u"Usar Orbitron", u"Use Orbitron"},
    {Txt::ButtonSave, u"Guardar", u"Salvar", u"Save"},
    {Txt::ButtonClear, u"Limpiar", u"Apagar", u"Clear"},
    {Txt::LabelOwnCall, u"Mi Estación:", u"Minha Estação:", u"My Station:"},
    {Txt::LabelOwnLocator, u"Mi Grid:", u"Meu Grid:", u"My Grid:"},
    ES_ONLY(LabelUtcClock, u"UTC"),
    ES_ONLY(LabelLocator, u"GridLoc"),
    ES_ONLY(FrameReports, u"RS(T)"),
    ES_ONLY(BoxKeepNotes, u"Notas (No borrar)"),
    {Txt::SatelliteChoicePlaceholder, u"Lista ...", u"Lista ...", u"List ..."},
    {Txt::SatListTitle, u"Editar Satélites", u"Editar Satelites", u"Satellites Edit"},
    {Txt::SatAdd, u"&Agregar", u"&Adicionar", u"&Add"},
    {Txt::SatEdit, u"&Editar", u"&Editar", u"&Edit"},
    {Txt::SatDelete, u"Elimina&r", u"Elimina&r", u"&Delete"},
    {Txt::SatAddTitle, u"Agregar ...", u"Adicionar ...", u"Add ..."},
    {Txt::SatEditTitle, u"Editar ...", u"Editar ...", u"Edit ..."},
    {Txt::SatAccept, u"&Aceptar", u"&Aceptar", u"&Acept"},
    ES_ONLY(SatName, u"Satelite:"),
    ES_ONLY(SatUplink, u"Uplink:"),
    ES_ONLY(SatDownlink, u"Downlink:"),
    ES_ONLY(SatDownlinkMode, u"Mode Dwn"),
    ES_ONLY(SatUplinkMode, u"Mode Up"),

    {Txt::ConfigTitle, u"Configuración", u"configurações", u"Settings"},
    {Txt::ConfigUtcFrame, u"Diferencia UTC", u"diferença UTC", u"UTC diff"},
    {Txt::ConfigStation, u"Estación", u"Estação", u"Station"},
    {Txt::ConfigSerialFrame, u"Puerto Serie", u"Porta Serial", u"Serial Port"},
    {Txt::ConfigTextsFrame, u"Textos", u"Textos", u"Texts"},
    {Txt::ConfigAccept, u"&Aceptar", u"&Aceitar", u"&Acept"},
    {Txt::ConfigCancel, u"&Cancelar", u"&Cancelar", u"&Cancel"},
    ES_ONLY(ConfigLocatorFrame, u"Grid Locator"),
    ES_ONLY(ConfigLanguageFrame, u"Idioma/Language"),
    {Txt::ConfigTestKey, u"Probar", u"Testar", u"Test"},
    {Txt::ConfigUtcHint, u"horas (local - UTC)", u"horas (local - UTC)", u"hours (local - UTC)"},

    {Txt::BrowserReverse, u"Orden inverso", u"Ordem inversa", u"Reverse order"},
    {Txt::BrowserExportFrame, u"Exportar", u"Exportar", u"Export"},
    {Txt::BrowserFiltersFrame, u"Filtros", u"Filtros", u"Filters"},
    {Txt::BrowserFilterStation, u"Estación", u"Estação", u"Station"},
    {Txt::BrowserFilterSatellite, u"Satélite", u"Satélite", u"Satellite"},
    {Txt::BrowserFilterLocator, u"Grid Locator", u"Grid Locator", u"Grid Locator"},
    {Txt::BrowserFilterOrbit, u"Orbita", u"Orbita", u"Orbit"},
    {Txt::BrowserFilterMyStation, u"Mi Estación", u"Minha Estação", u"My Station"},
    {Txt::BrowserFilterFromDate, u"Desde dd/mm/yyyy", u"De dd/mm/yyyy", u"From dd/mm/yyyy"},
    {Txt::BrowserCompleteAdif, u"ADIF Completo", u"ADIF Completo", u"Complete ADIF"},
    {Txt::BrowserSearch, u"Buscar ...", u"Buscar ...", u"Search ..."},
    ES_ONLY(BrowserQslSent, u"QSL Env"),
    ES_ONLY(BrowserQslReceived, u"QSL Rec"),
    ES_ONLY(BrowserStationHint, u"Puede usar comodines: ?, #, *"),
    ES_ONLY(BrowserTitle, u"Log"),
    ES_ONLY(EditorTitle, u"Registro $nombre$"),
    ES_ONLY(EditorMyCall, u"Mi Estación"),
    ES_ONLY(EditorStation, u"Estación Trabajada"),
    ES_ONLY(EditorUtcFrame, u"UTC"),
    ES_ONLY(EditorQslFrame, u"QSL"),
    ES_ONLY(EditorSent, u"Env."),
    ES_ONLY(EditorReceived, u"Rec."),
    ES_ONLY(EditorReportFrame, u"RS(T)"),
    ES_ONLY(EditorSatellite, u"Sat"),
    ES_ONLY(EditorOrbit, u"Orbita"),
    ES_ONLY(EditorUplink, u"Subida"),
    ES_ONLY(EditorDownlink, u"Bajada"),
    ES_ONLY(EditorLocator, u"GridLoc"),
    ES_ONLY(EditorOwnLocator, u"Mi GridLoc"),
    ES_ONLY(EditorAzimuth, u"Azimuth"),
    ES_ONLY(EditorElevation, u"Elev:"),
    ES_ONLY(EditorNotesFrame, u"Observaciones ..."),
    ES_ONLY(EditorQrz, u"QRZ.com"),
    ES_ONLY(EditorSave, u"&Guardar"),
    ES_ONLY(EditorDelete, u"&Eliminar"),
    ES_ONLY(EditorCancel, u"&Cancelar"),
    {Txt::EditorDate, u"Fecha", u"Data", u"Date"},
    {Txt::EditorTime, u"Hora", u"Hora", u"Time"},
    {Txt::EditorMode, u"Modo", u"Modo", u"Mode"},

    {Txt::MsgExit, u"Sale de Vorta?", u"Saia Vorta?", u"Exit Vorta?"},
    {Txt::MsgOpenLogTitle, u"Abrir Base de datos", u"Abrir Banco de dados", u"Open Data Base"},
    {Txt::MsgNewLogTitle, u"Nueva Base de datos", u"Novo Banco de Dados", u"New Data Base"},
    {Txt::MsgLogExists, u"La Base de datos $nombre$ ya existe!", u"Banco de dados $nombre$ já existe!",
     u"Data Base $nombre$ already exists!"},
    {Txt::MsgCallMissing, u"Conigure su Señal Distintiva!", u"Informe seu Indicativo!",
     u"You must configure your CallSign!"},
    {Txt::MsgBadLocator, u"Error en Grid Locator!" CRLF u"Formato es LLNNLL o LLNN",
     u"Grid Locator Inválido!" CRLF u"Formato correto é ??##?? ou ??##",
     u"Grid Locator Error!" CRLF u"Format is ??##?? or ??##"},
    {Txt::MsgSatelliteMissing, u"Falta Nombre de Satelite!", u"Falta nome do satélite!",
     u"Satellite Name is missing!"},
    {Txt::MsgSatelliteOrBalloonMissing, u"Falta Nombre de Satelite o Globo!",
     u"Falta nome do satélite o Globo!", u"Satellite or Baloon Name is missing!"},
    {Txt::MsgDownlinkMissing, u"Falta Frecuencia de Bajada!", u"Falta Frequência de descida!",
     u"Downlink Frequency is missing!"},
    {Txt::MsgDownlinkDoubtful, u"Falta Frecuencia de Bajada $nombre$MHz?",
     u"Falta Frequência de descida $nombre$MHz?", u"Downlink Frequency is missing $nombre$MHz?"},
    {Txt::MsgUplinkMissing, u"Falta Frecuencia de Subida!", u"Falta Frequência de subida!",
     u"Uplink Frequency is missing!"},
    {Txt::MsgUplinkDoubtful, u"Falta Frecuencia de Subida $nombre$MHz?",
     u"Falta Frequência de subida $nombre$MHz?", u"Uplink Frequency is missing $nombre$MHz?"},
    {Txt::MsgNotSatelliteMode,
     u"Subida: $Texto14$ MHz" CRLF u"Bajada: $Texto15$ MHz" CRLF u"No es modo de Satélite! Loggea igual?",
     u"Subida: $Texto14$ MHz" CRLF u"Descida: $Texto15$ MHz" CRLF
     u"Não é modo satélite! Registrá-lo de qualquer maneira?",
     u"Uplink: $Texto14$ MHz" CRLF u"Downlink: $Texto15$ MHz" CRLF u"Is not Satellite mode! Log it anyway?"},
    {Txt::MsgOrbitronNotRunning, u"No se está ejecutando Orbitrón!" CRLF u"ejecútelo y vuelva a habilitar!",
     u"Orbitron não está em execução!" CRLF u"execute-o e volte habilitar ...",
     u"Orbitron is not running!" CRLF u"please run it and try again ..."},
    {Txt::MsgOrbitronWaiting,
     u"Ejecute MyDDE de Orbitrón (desde la solapa Rotor/Radio)" CRLF u"para recibir los datos!",
     u"Execute o Driver MyDDE no Orbitron (na aba Rotor/Radio)" CRLF u"para permitir a recepção de dados!",
     u"Execute Orbitron DDE (from Rotor/Radio)" CRLF u"to enable data receiving!"},
    {Txt::MsgOrbitronLost, u"Se perdió contacto con Orbitron!", u"Perda de conexão com Orbitron!",
     u"Orbitron is not running!"},
    // "$micall$" stands for the own call sign at the moment the message is shown.
    {Txt::MsgAdifNoStationCall, u"El ADIF no tiene el campo <STATION_CALLSIGN:" CRLF u"se asume $micall$",
     u"ADIF não tem o campo <STATION_CALLSIGN:" CRLF u"se forume $micall$",
     u"ADIF has not <STATION_CALLSIGN: field" CRLF u"$micall$ will be assumed"},
    {Txt::MsgAdifCallDiffers, u"El ADIF es de $mio y Vorta está configurado para $conf",
     u"El ADIF es de $mio e Vorta está definido para$conf", u"ADIF callsign is $mio and Vorta has $conf set"},
    {Txt::MsgLotwSavedWithSwl,
     u"El archivo ADIF para LoTW: $arch$" CRLF u"fue guardado con $qsoss$ QSO(s)" CRLF CRLF
     u"También se encontraron $Q_SWL$ linea(s) que es/son SWL y no fueron exportadas",
     u"El arquivo ADIF para LoTW: $arch$" CRLF u"foi guardado con $qsoss$ QSO(s)" CRLF CRLF
     u"Também se encontrou $Q_SWL$ linha(s) SWL e não foram exportados",
     u"LoTW ADIF File: $arch$" CRLF u"has been saved with $qsoss$ QSO(s)" CRLF CRLF
     u"Also found $Q_SWL$ SWL line(s) and they wasn't exported"},
    {Txt::MsgLotwSaved, u"El archivo ADIF para LoTW: $arch$ fue guardado con $qsoss$ QSO(s)",
     u"El arquivo ADIF para LoTW: $arch$ foi guardado con $qsoss$ QSO(s)",
     u"LoTW ADIF File: $arch$ has been saved with $qsoss$ QSO(s)"},
    {Txt::MsgEqslSavedWithSwl,
     u"El archivo ADIF para eQSL: $arch$" CRLF u"fue guardado con $qsoss$ QSO(s)" CRLF CRLF
     u"También se encontraron $Q_SWL$ linea(s) que es/son SWL y no fueron exportadas",
     u"El arquivo ADIF para eQSL: $arch$" CRLF u"foi guardado con $qsoss$ QSO(s)" CRLF CRLF
     u"También se encontraron $Q_SWL$ linha(s) SWL e não foram exportados",
     u"eQSL ADIF File: $arch$" CRLF u"has been saved with $qsoss$ QSO(s)" CRLF CRLF
     u"Also found $Q_SWL$ SWL line(s) and they wasn't exported"},
    {Txt::MsgEqslSaved, u"El archivo ADIF para eQSL: $arch$fue guardado con $qsoss$ QSO(s)",
     u"El arquivo ADIF para eQSL: $arch$foi guardado con $qsoss$ QSO(s)",
     u"eQSL ADIF File: $arch$has been saved with $qsoss$ QSO(s)"},
    {Txt::MsgNotSatelliteQso,
     u"El QSO #$qsoss$ no es en modo Satélite!" CRLF u"será ignorado ... Continúa?",
     u"El QSO #$qsoss$ não está no modo de satélite!" CRLF u"será ignorado ... Continue?",
     u"QSO #$qsoss$ is not Satellite mode!" CRLF u"will be ignored ... Continue?"},
    {Txt::MsgCsvSaved,
     u"El archivo Excel (csv): $arch$" CRLF u"fue guardado con $qsoss$ QSO(s)" CRLF CRLF u"Desea verlo?",
     u"El arquivo Excel (csv): $arch$" CRLF u"foi guardado con $qsoss$ QSO(s)" CRLF CRLF u"Você quer vê-lo?",
     u"Excel (csv) File: $arch$" CRLF u"has been saved with $qsoss$ QSO(s)" CRLF CRLF
     u"Do you want to open it?"},
    {Txt::MsgFileInUse,
     u"El archivo $arch$ está abierto por el usuario!" CRLF u"cierrelo e intente de nuevo ...",
     u"El arquivo $arch$ está aberto por usuário!" CRLF u"fechá-lo e tente novamente ...",
     u"File $arch$ is open!" CRLF u"close it and try again ..."},
    {Txt::MsgCompleteAdifSaved, u"Archivo ADIF: $arch$ guardado con $qsoss$ QSO(s)",
     u"arquivo ADIF: $arch$ guardado con $qsoss$ QSO(s)",
     u"ADIF File: $arch$ has been saved with $qsoss$ QSO(s)"},

    ES_ONLY(MsgMustGiveCall, u"Debe indicar su Indicativo!"),
    ES_ONLY(MsgTemplateMissing, u"Falta $nombre$/base0.mdb !" CRLF u"No se pueden crear bases nuevas..." CRLF CRLF
            u" Vuelva a instalar el programa."),
    ES_ONLY(MsgLogEmpty, u"Log vacío!"),
    {Txt::MsgNotALog, u"El archivo $arch$ no es una Base de datos de Vorta!" CRLF u"Se sigue usando la Base de datos actual.",
     u"O arquivo $arch$ não é um Banco de dados do Vorta!" CRLF u"Continua em uso o Banco de dados atual.",
     u"File $arch$ is not a Vorta Data Base!" CRLF u"The current Data Base stays in use."},
    {Txt::MsgLogUnreadable, u"No se puede leer la Base de datos $arch$:" CRLF u"$nombre$",
     u"Não é possível ler o Banco de dados $arch$:" CRLF u"$nombre$", u"Data Base $arch$ cannot be read:" CRLF u"$nombre$"},
    {Txt::MsgBadUtcOffset,
     u"Diferencia UTC inválida!" CRLF u"Indique las horas de diferencia (hora local - UTC), de -12 a 14.",
     u"Diferença UTC inválida!" CRLF u"Indique as horas de diferença (hora local - UTC), de -12 a 14.",
     u"Invalid UTC difference!" CRLF u"Enter the hours of difference (local time - UTC), from -12 to 14."},
    {Txt::MsgConfigNotSaved, u"No se pudo guardar la configuración $arch$:" CRLF u"$nombre$",
     u"Não foi possível salvar a configuração $arch$:" CRLF u"$nombre$",
     u"The settings file $arch$ could not be saved:" CRLF u"$nombre$"},
    ES_ONLY(MsgPortFailed, u"$nombre$: $arch$"),
    {Txt::MsgConfigNotRead,
     u"No se puede leer la configuración $arch$!" CRLF
     u"Vorta sigue con los valores de fábrica y no modificará ese archivo al salir.",
     u"Não é possível ler a configuração $arch$!" CRLF
     u"O Vorta continua com os valores de fábrica e não modificará esse arquivo ao sair.",
     u"The settings file $arch$ cannot be read!" CRLF
     u"Vorta goes on with its default settings and will not change that file on exit."},
    {Txt::MsgTemplateNotALog,
     u"$arch$ es la plantilla de las Bases de datos nuevas:" CRLF u"no se puede usar como Base de datos.",
     u"$arch$ é o modelo dos Bancos de dados novos:" CRLF u"não pode ser usado como Banco de dados.",
     u"$arch$ is the template of new Data Bases:" CRLF u"it cannot be used as a Data Base."},
    ES_ONLY(MsgDateFormat, u"El formato de fecha es dd/mm/yyyy"),
    ES_ONLY(MsgTimeFormat, u"El formato de hora es hhmm"),
    ES_ONLY(MsgSatelliteExists, u"El Satélite $nombre$ ya está en la lista!"),
    ES_ONLY(MsgSatelliteDeleteAsk, u"Elimina Satélite $nombre$ de la lista?"),
    {Txt::MsgSatelliteComma, u"El nombre y los modos del Satélite no pueden contener comas!",
     u"O nome e os modos do satélite não podem conter vírgulas!",
     u"Satellite name and modes cannot contain commas!"},
    {Txt::MsgSatelliteListNotSaved, u"No se pudo guardar la lista de satélites $arch$:" CRLF u"$nombre$",
     u"Não foi possível salvar a lista de satélites $arch$:" CRLF u"$nombre$",
     u"The satellite list $arch$ could not be saved:" CRLF u"$nombre$"},
    ES_ONLY(MsgEditorMyCallEmpty, u"My Call vacío!"),
    ES_ONLY(MsgEditorStationEmpty, u"Estación vacío!"),
    ES_ONLY(MsgEditorBadDate, u"Error Fecha!" CRLF u"Formato: DD/MM/AAAA"),
    ES_ONLY(MsgEditorBadTime, u"Error Hora!" CRLF u"Formato: HH:MM:SS"),
    ES_ONLY(MsgEditorAzimuth, u"Azimuth > 359 !!!"),
    ES_ONLY(MsgEditorElevation, u"Elev > 90 !!!"),
    ES_ONLY(MsgEditorDeleteAsk, u"Elimina QSO con $nombre$ vía $arch$?"),
    ES_ONLY(LabelSameGrid, u"La misma grilla!"),
    ES_ONLY(BadgeVisible, u"VISIBLE"),
    {Txt::BadgeHidden, u"OCULTO", u"OCULTO", u"HIDE"},
    ES_ONLY(MsgOrbitronNotInstalled, u"No está instalado Orbitron!"),
    ES_ONLY(MsgOrbitronNotRunningAtStart, u"No se está ejecutando Orbitrón!"),
    ES_ONLY(TrackingFrame, u"Orbitron"),
    {Txt::TrackingAzimuth, u"Azimut:", u"Azimute:", u"Azimuth:"},
    ES_ONLY(TrackingElevation, u"Elev:"),
    {Txt::ElementAge, u"Edad TLE: $nombre$ días", u"Idade TLE: $nombre$ dias", u"TLE age: $nombre$ days"},
    {Txt::CatalogueNumber, u"Nº Cat: $nombre$", u"Nº Cat: $nombre$", u"Cat. No: $nombre$"},
    {Txt::MsgQsoNotSaved, u"No se pudo guardar el QSO en $arch$:" CRLF u"$nombre$" CRLF CRLF u"Los datos siguen en pantalla.",
     u"Não foi possível gravar o QSO em $arch$:" CRLF u"$nombre$" CRLF CRLF u"Os dados continuam na tela.",
     u"The QSO could not be saved in $arch$:" CRLF u"$nombre$" CRLF CRLF u"The entry is still on screen."},
    // Exports of the log browser
    ES_ONLY(ExportLotwButton, u"ADIF LoTW"),
    ES_ONLY(ExportEqslButton, u"ADIF eQSL"),
    ES_ONLY(ExportCsvButton, u"Excel.csv"),
    ES_ONLY(ExportLotwTitle, u"ADIF para LoTW"),
    ES_ONLY(ExportEqslTitle, u"ADIF para eQSL"),
    ES_ONLY(ExportCompleteTitle, u"ADIF Completo"),
    ES_ONLY(ExportCsvTitle, u"Excel csv"),
    {Txt::MsgExportOverwrite, u"El archivo ADIF $arch$ ya existe!" CRLF u"Sobregraba?",
     u"o arquivo ADIF $arch$ já existe!" CRLF u"ele substitui?", u"ADIF File $arch$ already exists!" CRLF u"Overwrite?"},
    ES_ONLY(MsgExportNoSatellite, u"QSO con $nombre$ falta el nombre del satélite" CRLF u"Exporta igual?"),
    ES_ONLY(MsgExportNoFrequency, u"QSO con $nombre$ falta frec. de subida o bajada" CRLF u"Exporta igual?"),
    ES_ONLY(MsgExportOnlySwl, u"El Log no se puede exportar, tiene solo $Q_SWL$ linea(s) y es/son SWL"),
    // The frequencies and the call in front of the language's non-satellite question.
    ES_ONLY(MsgExportNotSatellitePrefix, u"Uplink: $Texto14$" CRLF u"Downlink: $Texto15$" CRLF u"$nombre$" CRLF),
    {Txt::MsgExportNotSaved, u"No se pudo guardar el archivo $arch$:" CRLF u"$nombre$" CRLF CRLF
     u"Si el archivo ya existía, quedó como estaba.",
     u"Não foi possível salvar o arquivo $arch$:" CRLF u"$nombre$" CRLF CRLF
     u"Se o arquivo já existia, ficou como estava.",
     u"The file $arch$ could not be saved:" CRLF u"$nombre$" CRLF CRLF
     u"If the file existed before, it was left as it was."},
    {Txt::MsgLotwUnknownSatellites,
     u"Estos satélites no están en la lista de LoTW ($arch$):" CRLF u"$nombre$" CRLF
     u"LoTW rechaza esos QSO al firmar el archivo. Exporta igual?",
     u"Estes satélites não estão na lista do LoTW ($arch$):" CRLF u"$nombre$" CRLF
     u"O LoTW recusa esses QSO ao assinar o arquivo. Exportar mesmo assim?",
     u"These satellites are not on the LoTW list ($arch$):" CRLF u"$nombre$" CRLF
     u"LoTW refuses those QSOs when the file is signed. Export anyway?"},
    {Txt::MsgExportOverLog, u"$arch$ es la Base de datos en uso!" CRLF u"Elija otro archivo para exportar.",
     u"$arch$ é o banco de dados em uso!" CRLF u"Escolha outro arquivo para exportar.",
     u"$arch$ is the Data Base in use!" CRLF u"Choose another file for the export."},
    // Web and help. "$instalada$" and "$web$" are the installed and the published version,
    // "$numero$" and "$texto$" a failure's number and text, "$arch$" a file or address.
    ES_ONLY(MenuInternet, u"Internet"),
    ES_ONLY(LinkAmsatUsa, u"Amsat USA"),
    ES_ONLY(LinkAmsatStatus, u"Status"),
    ES_ONLY(LinkAmsatPasses, u"Pasos"),
    ES_ONLY(LinkAriss, u"ARISS"),
    ES_ONLY(LinkAmsatArgentina, u"Amsat Argentina"),
    ES_ONLY(LinkNeaa, u"NEAA"),
    ES_ONLY(MsgVersionLatest, u"La versión $instalada$ instalada es la última. No necesita actualizar!"),
    ES_ONLY(MsgVersionUpdate, u"Deberá actualizar su versión $instalada$ a la versión $web$"),
    ES_ONLY(MsgVersionNewer, u"Su versión $instalada$ es mas actual que la versión $web$" CRLF u"que está en la Web!!!"),
    ES_ONLY(MsgWebError, u"Error con la web de consulta!"),
    ES_ONLY(MsgNoInternet, u"... no parece haber conexión con internet ..."),
    ES_ONLY(MsgWebFailure, u"Error: $numero$" CRLF u"$texto$"),
    {Txt::MsgNoVersionAddress,
     u"No hay una dirección configurada para verificar la versión." CRLF
     u"Agregue la línea DireccionVersion= en $arch$",
     u"Não há um endereço configurado para verificar a versão." CRLF
     u"Adicione a linha DireccionVersion= em $arch$",
     u"No address is configured for the version check." CRLF u"Add the line DireccionVersion= to $arch$"},
    {Txt::MsgHelpMissing, u"No se encuentra el manual $arch$", u"O manual $arch$ não foi encontrado",
     u"The manual $arch$ was not found"},
    {Txt::MsgCannotOpen, u"No se pudo abrir $arch$", u"Não foi possível abrir $arch$", u"Could not open $arch$"},
    {Txt::AboutCaption, u"Acerca de ", u"Sobre ", u"About "},
    {Txt::AboutDescription, u"Programa logger para qsos de satélite", u"Programa logger para qsos de satélite",
     u"Logger program for satellite QSOs"},
    // ADIF import
    {Txt::ImportFileTitle, u"Importar ADIF ...", u"Importar ADIF ...", u"Import ADIF ..."},
    {Txt::ImportLoading, u" Cargando: ", u" Cargando: ", u"  Loading: "},
    {Txt::ImportProcessing, u"Procesando: ", u"Procesando: ", u"Processing: "},
    ES_ONLY(ImportDuplicatesReplaced, u" (serán reemplazados)"),
    {Txt::ImportWillLoad, u"Se cargarán $qsoss$ QSOs", u"Se cargarán $qsoss$ QSOs", u"Will be loaded $qsoss$ QSOs"},
    {Txt::ImportUndated, u"  Sin fecha u hora válida: $qsoss$ (no se cargarán)",
     u"  Sem data ou hora válida: $qsoss$ (não serão carregados)",
     u"  Without a valid date or time: $qsoss$ (will not be loaded)"},
    ES_ONLY(ImportLoadInitial, u"Cargar en la base"),
    {Txt::ImportLoadInLog, u"Cargar en base $nombre$", u"Cargar en base $nombre$", u"Load in base $nombre$"},
    {Txt::ImportLoaded, u"Se cargaron: $qsoss$ QSO(s)!", u"Se cargaron: $qsoss$ QSO(s)!", u"$qsoss$ QSO(s) was loaded!"},
    {Txt::ImportLogText, u"Registro de la importación", u"Registro da importação", u"Import log"},
    {Txt::ImportProgress, u"Progreso", u"Progresso", u"Progress"},
    {Txt::MsgImportFileUnreadable, u"No se pudo leer el archivo $arch$:" CRLF u"$nombre$",
     u"Não foi possível ler o arquivo $arch$:" CRLF u"$nombre$", u"The file $arch$ could not be read:" CRLF u"$nombre$"},
    {Txt::MsgImportFailed, u"La importación se detuvo en $arch$; no se cargó ningún QSO:" CRLF u"$nombre$",
     u"A importação parou em $arch$; nenhum QSO foi carregado:" CRLF u"$nombre$",
     u"The import into $arch$ stopped; no QSO was loaded:" CRLF u"$nombre$"},
    // CW keyer
    ES_ONLY(MenuMacrosCw, u"Macros CW"),
    ES_ONLY(KeyerTestLabel, u"F9-Test"),
    ES_ONLY(KeyerSpeed, u"Vel $nombre$ ppm"),
    {Txt::KeyerManualKey, u"Manipular", u"Manipular", u"Key"},
    {Txt::KeyerLampDown, u"Manipulador: transmitiendo", u"Manipulador: transmitindo", u"Key: down"},
    {Txt::KeyerLampUp, u"Manipulador: en reposo", u"Manipulador: em repouso", u"Key: up"},
    {Txt::KeyerSending, u"Enviando", u"Enviando", u"Sending"},
    {Txt::MsgKeyerNoRealtime,
     u"El manipulador CW no obtuvo prioridad de tiempo real: el CW se envía igual, pero su "
     u"temporización puede variar cuando el equipo está ocupado." CRLF CRLF
     u"Para concederla, cree el archivo /etc/security/limits.d/vorta.conf con la línea" CRLF CRLF
     u"$nombre$" CRLF CRLF u"y vuelva a iniciar la sesión.",
     u"O manipulador CW não obteve prioridade de tempo real: o CW é enviado mesmo assim, mas o "
     u"seu tempo pode variar quando o computador está ocupado." CRLF CRLF
     u"Para concedê-la, crie o arquivo /etc/security/limits.d/vorta.conf com a linha" CRLF CRLF
     u"$nombre$" CRLF CRLF u"e inicie a sessão novamente.",
     u"The CW keyer was not given real-time priority: CW is sent anyway, but its timing may "
     u"waver while the computer is busy." CRLF CRLF
     u"To grant it, create the file /etc/security/limits.d/vorta.conf with the line" CRLF CRLF
     u"$nombre$" CRLF CRLF u"and log in again."},
    {Txt::MsgKeyerLineFailed,
     u"No se pudo manipular la línea del puerto $arch$ ($nombre$): el envío se detuvo." CRLF
     u"Si el adaptador se desconectó, vuelva a conectarlo; el próximo envío abre el puerto de nuevo.",
     u"Não foi possível manipular a linha da porta $arch$ ($nombre$): o envio parou." CRLF
     u"Se o adaptador foi desconectado, reconecte-o; o próximo envio abre a porta de novo.",
     u"The line of port $arch$ could not be keyed ($nombre$): sending stopped." CRLF
     u"If the adapter was unplugged, plug it in again; the next send opens the port again."},
    {Txt::LabelCurrentLog, u"Base de datos:", u"Banco de dados:", u"Data Base:"},
    {Txt::MsgStartLogMissing,
     u"No se encuentra la Base de datos $arch$!" CRLF u"Los QSOs se guardarán en $nombre$ mientras no vuelva a "
     u"estar disponible; Vorta la buscará de nuevo en el próximo inicio.",
     u"Não se encontra o Banco de dados $arch$!" CRLF u"Os QSOs serão gravados em $nombre$ enquanto ele não "
     u"estiver disponível; o Vorta vai procurá-lo de novo no próximo início.",
     u"Data Base $arch$ not found!" CRLF u"QSOs will be saved in $nombre$ until it is available again; Vorta "
     u"will look for it again at the next start."},
    {Txt::MsgStartNotALog, u"El archivo $arch$ no es una Base de datos de Vorta!" CRLF u"Los QSOs se guardarán en $nombre$.",
     u"O arquivo $arch$ não é um Banco de dados do Vorta!" CRLF u"Os QSOs serão gravados em $nombre$.",
     u"File $arch$ is not a Vorta Data Base!" CRLF u"QSOs will be saved in $nombre$."},
    {Txt::MsgStartTemplate,
     u"$arch$ es la plantilla de las Bases de datos nuevas: no se puede usar como Base de datos." CRLF
     u"Los QSOs se guardarán en $nombre$.",
     u"$arch$ é o modelo dos Bancos de dados novos: não pode ser usado como Banco de dados." CRLF
     u"Os QSOs serão gravados em $nombre$.",
     u"$arch$ is the template of new Data Bases: it cannot be used as a Data Base." CRLF
     u"QSOs will be saved in $nombre$."},
    {Txt::MsgStartLogLocked,
     u"La Base de datos $arch$ está bloqueada por otro programa!" CRLF u"Sigue siendo la Base de datos actual; "
     u"si un QSO no se puede guardar, intente de nuevo cuando la libere.",
     u"O Banco de dados $arch$ está bloqueado por outro programa!" CRLF u"Continua sendo o Banco de dados atual; "
     u"se um QSO não puder ser gravado, tente de novo quando ele for liberado.",
     u"Data Base $arch$ is locked by another program!" CRLF u"It stays the current Data Base; if a QSO cannot "
     u"be saved, try again once it is released."},
    {Txt::MsgOpenLogLocked,
     u"La Base de datos $arch$ está bloqueada por otro programa!" CRLF u"Intente abrirla de nuevo cuando la libere.",
     u"O Banco de dados $arch$ está bloqueado por outro programa!" CRLF
     u"Tente abri-lo de novo quando ele for liberado.",
     u"Data Base $arch$ is locked by another program!" CRLF u"Try to open it again once it is released."},
    {Txt::MsgLogDamaged,
     u"La Base de datos $arch$ está dañada:" CRLF u"$nombre$" CRLF CRLF u"Puede verla y exportarla, pero no se "
     u"guardará ningún QSO en ella hasta que abra o cree otra Base de datos.",
     u"O Banco de dados $arch$ está danificado:" CRLF u"$nombre$" CRLF CRLF u"Pode vê-lo e exportá-lo, mas nenhum "
     u"QSO será gravado nele até que abra ou crie outro Banco de dados.",
     u"Data Base $arch$ is damaged:" CRLF u"$nombre$" CRLF CRLF u"You can view and export it, but no QSO will be "
     u"saved in it until you open or create another Data Base."},
    {Txt::MsgConfigKeptAside,
     u"El archivo de configuración $arch$ no contiene ningún valor de Vorta." CRLF
     u"Se guardó aparte como $nombre$; indique de nuevo su configuración.",
     u"O arquivo de configuração $arch$ não contém nenhum valor do Vorta." CRLF
     u"Foi guardado à parte como $nombre$; indique de novo a sua configuração.",
     u"Settings file $arch$ holds no Vorta setting." CRLF
     u"It was kept aside as $nombre$; please enter your settings again."},
    {Txt::MsgEditorQsoGone,
     u"El QSO $nombre$ ya no está en la Base de datos $arch$: fue eliminado mientras se editaba." CRLF
     u"No se guardó nada.",
     u"O QSO $nombre$ já não está no Banco de dados $arch$: foi eliminado enquanto era editado." CRLF
     u"Nada foi gravado.",
     u"QSO $nombre$ is no longer in Data Base $arch$: it was deleted while being edited." CRLF
     u"Nothing was saved."},
    {Txt::MsgSatelliteGone,
     u"El Satélite $nombre$ ya no está en $arch$: el archivo cambió mientras se editaba." CRLF u"No se guardó nada.",
     u"O satélite $nombre$ já não está em $arch$: o arquivo mudou enquanto era editado." CRLF u"Nada foi gravado.",
     u"Satellite $nombre$ is no longer in $arch$: the file changed while it was being edited." CRLF
     u"Nothing was saved."},
    // Operator flow. "$qsoss$" is the QSO's number, "$nombre$" its station, satellite and time.
    {Txt::MsgQsoSaved, u"QSO $qsoss$ guardado: $nombre$", u"QSO $qsoss$ gravado: $nombre$",
     u"QSO $qsoss$ saved: $nombre$"},
    {Txt::LabelWorkedInPass, u"Ya trabajado en este pase!", u"Já trabalhado nesta passagem!",
     u"Worked before in this pass!"},
    {Txt::AccUtcDate, u"Fecha UTC", u"Data UTC", u"UTC date"},
    {Txt::AccUtcTime, u"Hora UTC", u"Hora UTC", u"UTC time"},
    {Txt::AccSatMode, u"Modo satélite", u"Modo satélite", u"Satellite mode"},
    {Txt::AccCompass, u"Brújula", u"Bússola", u"Compass"},
    {Txt::AccDistance, u"Distancia", u"Distância", u"Distance"},
    {Txt::AccUplinkMode, u"Modo de subida", u"Modo de subida", u"Uplink mode"},
    {Txt::AccDownlinkMode, u"Modo de bajada", u"Modo de descida", u"Downlink mode"},
    {Txt::AccMacroCaption, u"Título $nombre$", u"Legenda $nombre$", u"$nombre$ caption"},
    {Txt::AccMacroText, u"Texto $nombre$", u"Texto $nombre$", u"$nombre$ text"},
    {Txt::AccPort, u"Puerto", u"Porta", u"Port"},
    {Txt::AccLine, u"Línea", u"Linha", u"Line"},
    {Txt::MsgFontScaleNotSaved, u"No se pudo guardar el tamaño de letra en $arch$: $nombre$",
     u"Não foi possível salvar o tamanho da letra em $arch$: $nombre$",
     u"The font size could not be saved in $arch$: $nombre$"},
    // Built-in tracker: the tracking choice, the sky panel, the passes window, element downloads
    {Txt::ConfigTracking, u"Seguimiento", u"Rastreamento", u"Tracking"},
    {Txt::TrackingChoiceLink, u"Enlace con el programa de seguimiento", u"Ligação com o programa de rastreamento",
     u"Link to the tracking program"},
    {Txt::TrackingChoiceBuiltIn, u"Seguimiento integrado de Vorta", u"Rastreamento integrado do Vorta",
     u"Vorta's built-in tracker"},
    {Txt::MenuTracking, u"&Seguimiento", u"&Rastreamento", u"&Tracking"},
    {Txt::MenuPasses, u"&Próximos pasos ...", u"&Próximas passagens ...", u"Upcoming &passes ..."},
    {Txt::MenuUpdateElements, u"&Actualizar elementos orbitales", u"&Atualizar elementos orbitais",
     u"&Update orbital elements"},
    {Txt::SkyPlotName, u"Cielo", u"Céu", u"Sky"},
    {Txt::SkyCardinals, u"N E S O", u"N L S O", u"N E S W"},
    {Txt::SkyPlotNow, u"$nombre$: azimut $az$°, elevación $el$°", u"$nombre$: azimute $az$°, elevação $el$°",
     u"$nombre$: azimuth $az$°, elevation $el$°"},
    {Txt::SkyAosIn, u"AOS en $nombre$", u"AOS em $nombre$", u"AOS in $nombre$"},
    {Txt::SkyLosIn, u"LOS en $nombre$", u"LOS em $nombre$", u"LOS in $nombre$"},
    {Txt::SkyAlwaysUp, u"Siempre visible", u"Sempre visível", u"Always in view"},
    {Txt::SkyNoPass, u"Sin pasos en 24 h", u"Sem passagens em 24 h", u"No pass within 24 h"},
    {Txt::SkyPassTimes, u"AOS $aos$  máx. $elev$°  LOS $los$ UTC", u"AOS $aos$  máx. $elev$°  LOS $los$ UTC",
     u"AOS $aos$  max. $elev$°  LOS $los$ UTC"},
    {Txt::TrackerNoStation, u"Indique su Grid Locator en la configuración para calcular los pasos.",
     u"Informe o seu Grid Locator na configuração para calcular as passagens.",
     u"Enter your grid locator in the settings to compute passes."},
    {Txt::TrackerNoElements, u"No hay elementos orbitales: use Seguimiento > Actualizar elementos orbitales.",
     u"Não há elementos orbitais: use Rastreamento > Atualizar elementos orbitais.",
     u"No orbital elements: use Tracking > Update orbital elements."},
    {Txt::TrackerNoElementsFor, u"No hay elementos orbitales para $nombre$.",
     u"Não há elementos orbitais para $nombre$.", u"No orbital elements for $nombre$."},
    {Txt::TrackerNoOrbit, u"La órbita de $nombre$ ya no se puede calcular (¿reingresó?).",
     u"A órbita de $nombre$ já não pode ser calculada (reentrou?).",
     u"The orbit of $nombre$ can no longer be computed (decayed?)."},
    {Txt::TrackerNothingRises, u"Ningún satélite de la lista sale en las próximas 24 h.",
     u"Nenhum satélite da lista passa nas próximas 24 h.", u"No satellite of the list rises within 24 h."},
    {Txt::ElementsStale, u"(desactualizados)", u"(desatualizados)", u"(out of date)"},
    {Txt::PassesTitle, u"Próximos pasos", u"Próximas passagens", u"Upcoming passes"},
    {Txt::PassesSatellite, u"Satélite", u"Satélite", u"Satellite"},
    {Txt::PassesAosUtc, u"AOS (UTC)", u"AOS (UTC)", u"AOS (UTC)"},
    {Txt::PassesMaxElevation, u"Elev. máx.", u"Elev. máx.", u"Max. elev."},
    {Txt::PassesLosUtc, u"LOS (UTC)", u"LOS (UTC)", u"LOS (UTC)"},
    {Txt::PassesAosLocal, u"AOS (hora local)", u"AOS (hora local)", u"AOS (local time)"},
    {Txt::PassesLosLocal, u"LOS (hora local)", u"LOS (hora local)", u"LOS (local time)"},
    {Txt::PassesSortBy, u"&Ordenar por:", u"&Ordenar por:", u"&Sort by:"},
    {Txt::PassesChoose, u"&Elegir", u"&Escolher", u"&Choose"},
    {Txt::PassesRefresh, u"&Actualizar", u"A&tualizar", u"&Refresh"},
    {Txt::PassesClose, u"&Cerrar", u"&Fechar", u"C&lose"},
    {Txt::PassesSummary, u"$qsoss$ pasos en las próximas 24 h, vistos desde $nombre$:",
     u"$qsoss$ passagens nas próximas 24 h, vistas de $nombre$:", u"$qsoss$ passes over the next 24 h, seen from $nombre$:"},
    {Txt::PassesNoSatellites, u"Ningún satélite de la lista tiene elementos orbitales.",
     u"Nenhum satélite da lista tem elementos orbitais.", u"No satellite of the list has orbital elements."},
    {Txt::MsgElementsUpdated, u"Elementos orbitales actualizados: $qsoss$ satélites en $arch$",
     u"Elementos orbitais atualizados: $qsoss$ satélites em $arch$",
     u"Orbital elements updated: $qsoss$ satellites in $arch$"},
    {Txt::MsgElementsOtherFile, u"Mientras exista $arch$, Vorta sigue usando ese archivo.",
     u"Enquanto existir $arch$, o Vorta continua usando esse arquivo.",
     u"As long as $arch$ exists, Vorta keeps using that file."},
    {Txt::MsgElementsNotUpdated,
     u"No se pudieron actualizar los elementos orbitales desde $web$:" CRLF u"$nombre$" CRLF
     u"El archivo anterior no se modificó.",
     u"Não foi possível atualizar os elementos orbitais de $web$:" CRLF u"$nombre$" CRLF
     u"O arquivo anterior não foi modificado.",
     u"The orbital elements could not be updated from $web$:" CRLF u"$nombre$" CRLF
     u"The previous file was left as it was."},
    {Txt::ElementsReasonNoSets, u"lo recibido no contiene elementos orbitales.",
     u"o que foi recebido não contém elementos orbitais.", u"what arrived holds no orbital elements."},
    {Txt::ElementsReasonTooLarge, u"lo recibido es demasiado grande para ser un archivo de elementos.",
     u"o que foi recebido é grande demais para ser um arquivo de elementos.",
     u"what arrived is too large to be an elements file."},
    {Txt::ElementsReasonTimeout, u"no hubo respuesta a tiempo.", u"não houve resposta a tempo.",
     u"no answer in time."},
    // Logs the system will not open. "$texto$" is the system's reason.
    {Txt::MsgStartLogUnreadable,
     u"No se puede abrir la Base de datos $arch$:" CRLF u"$texto$" CRLF CRLF u"Los QSOs se guardarán en $nombre$ "
     u"mientras tanto; Vorta la buscará de nuevo en el próximo inicio.",
     u"Não é possível abrir o Banco de dados $arch$:" CRLF u"$texto$" CRLF CRLF u"Os QSOs serão gravados em "
     u"$nombre$ enquanto isso; o Vorta vai procurá-lo de novo no próximo início.",
     u"Data Base $arch$ cannot be opened:" CRLF u"$texto$" CRLF CRLF u"QSOs will be saved in $nombre$ meanwhile; "
     u"Vorta will look for it again at the next start."},
    {Txt::MsgOpenLogUnreadable,
     u"No se puede abrir la Base de datos $arch$:" CRLF u"$texto$" CRLF CRLF u"Se sigue usando la Base de datos actual.",
     u"Não é possível abrir o Banco de dados $arch$:" CRLF u"$texto$" CRLF CRLF
     u"Continua em uso o Banco de dados atual.",
     u"Data Base $arch$ cannot be opened:" CRLF u"$texto$" CRLF CRLF u"The current Data Base stays in use."},
    // ADIF import: a load stopped by closing the import window
    {Txt::MsgImportLoadCancelled,
     u"Carga cancelada: la Base de datos $nombre$ quedó como estaba, no se cargó ningún QSO.",
     u"Carga cancelada: o Banco de dados $nombre$ ficou como estava, nenhum QSO foi carregado.",
     u"Load cancelled: Data Base $nombre$ is as it was, no QSO was loaded."},
    // Built-in tracker mends: the search for the next to rise, a short element download, the
    // two UTC clocks
    {Txt::TrackerSearching, u"Buscando el próximo satélite en pasar ...", u"Procurando o próximo satélite a passar ...",
     u"Looking for the next satellite to pass ..."},
    {Txt::MsgElementsFewer,
     u"Lo recibido de $web$ contiene solo $nuevos$ satélites, y $arch$ tiene $actuales$: la descarga pudo "
     u"quedar incompleta." CRLF u"¿Reemplazar el archivo de todos modos?",
     u"O que foi recebido de $web$ contém só $nuevos$ satélites, e $arch$ tem $actuales$: o download pode ter "
     u"ficado incompleto." CRLF u"Substituir o arquivo mesmo assim?",
     u"What arrived from $web$ holds only $nuevos$ satellites, and $arch$ holds $actuales$: the download may "
     u"have been cut short." CRLF u"Replace the file all the same?"},
    {Txt::ClockDisagrees, u"¡Hora UTC dudosa: difiere $nombre$ del reloj del sistema!",
     u"Hora UTC duvidosa: difere $nombre$ do relógio do sistema!", u"UTC time in doubt: $nombre$ off the system clock!"},
    {Txt::ClockDisagreesTip,
     u"La hora UTC de Vorta es la hora local menos la diferencia UTC de la configuración ($dif$ h), y difiere "
     u"$nombre$ de la hora UTC del sistema. Los QSOs se guardan con la hora de Vorta; el seguimiento integrado "
     u"y los pasos usan la del sistema. Revise la diferencia UTC en Archivo > Configuración (¿cambió el "
     u"horario de verano?).",
     u"A hora UTC do Vorta é a hora local menos a diferença UTC da configuração ($dif$ h), e difere $nombre$ "
     u"da hora UTC do sistema. Os QSOs são gravados com a hora do Vorta; o rastreamento integrado e as "
     u"passagens usam a do sistema. Verifique a diferença UTC em Arquivo > Configuração (mudou o horário de "
     u"verão?).",
     u"Vorta's UTC time is the local time minus the UTC difference of the settings ($dif$ h), and it is "
     u"$nombre$ off the system's UTC time. QSOs are saved with Vorta's time; the built-in tracker and the "
     u"passes use the system's. Check the UTC difference in File > Settings (did summer time begin or end?)."},
    // Screen readers: what the satellite drop-down is for
    {Txt::AccSatelliteChoice, u"Elegir un satélite de la lista, con sus frecuencias y modos",
     u"Escolher um satélite da lista, com suas frequências e modos",
     u"Choose a satellite from the list, with its frequencies and modes"},
    // Logs that cannot be made, a default log that is no log
    {Txt::MsgLogNotCreated, u"No se pudo crear la Base de datos $arch$:" CRLF u"$nombre$",
     u"Não foi possível criar o Banco de dados $arch$:" CRLF u"$nombre$",
     u"Data Base $arch$ could not be created:" CRLF u"$nombre$"},
    {Txt::MsgNewLogFailed,
     u"No se pudo crear la Base de datos $arch$:" CRLF u"$nombre$" CRLF CRLF u"Se sigue usando la Base de datos actual.",
     u"Não foi possível criar o Banco de dados $arch$:" CRLF u"$nombre$" CRLF CRLF
     u"Continua em uso o Banco de dados atual.",
     u"Data Base $arch$ could not be created:" CRLF u"$nombre$" CRLF CRLF u"The current Data Base stays in use."},
    {Txt::MsgDefaultNotALog,
     u"El archivo $arch$ no es una Base de datos de Vorta!" CRLF
     u"No se guardará ningún QSO hasta que abra o cree una Base de datos (menú Archivo).",
     u"O arquivo $arch$ não é um Banco de dados do Vorta!" CRLF
     u"Nenhum QSO será gravado até que abra ou crie um Banco de dados (menu Arquivo).",
     u"File $arch$ is not a Vorta Data Base!" CRLF
     u"No QSO will be saved until you open or create a Data Base (File menu)."},
};

#undef ES_ONLY
#undef CRLF

constexpr auto kCount = std::size_t(Txt::Count_);

// The table indexed by purpose, checked when the program is built: every purpose has exactly
// one row, so a purpose added without its texts does not compile.
constexpr std::array<const Row *, kCount> indexRows()
{
    std::array<const Row *, kCount> index{};
    for (const Row &row : kRows) {
        if (index[std::size_t(row.purpose)] != nullptr)
            throw "two rows for one purpose";
        index[std::size_t(row.purpose)] = &row;
    }
    for (const Row *row : index)
        if (row == nullptr)
            throw "a purpose without texts";
    return index;
}

constexpr auto kIndex = indexRows();

} // namespace

QString languageName(Language language)
{
    switch (language) {
    case Language::English:
        return QStringLiteral("English");
    case Language::Portuguese:
        return QStringLiteral("Portugues");
    case Language::Spanish:
        break;
    }
    return QStringLiteral("Español");
}

std::optional<Language> languageFromName(QStringView name)
{
    for (Language l : {Language::Spanish, Language::English, Language::Portuguese})
        if (name == languageName(l))
            return l;
    return std::nullopt;
}

QString text(Txt purpose, Language language)
{
    const Row *row = kIndex[std::size_t(purpose)];
    const char16_t *t = language == Language::English      ? row->en
                        : language == Language::Portuguese ? row->pt
                                                           : row->es;
    return QString::fromUtf16(t);
}

QString text(Txt purpose, Language language,
             std::initializer_list<std::pair<const char *, QString>> fills)
{
    QString filled = text(purpose, language);
    for (const auto &[placeholder, value] : fills)
        filled.replace(QLatin1String(placeholder), value);
    return filled;
}

} // namespace vorta
