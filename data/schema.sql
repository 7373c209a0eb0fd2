-- The empty log: every new log file is a byte copy of the database built from this text.
-- Tabla1 holds the logged QSOs; Tabla2 has the same columns and stages ADIF imports.
-- Fecha holds the UTC instant as 'yyyy-MM-dd HH:mm:ss', so ordering by it is chronological.
-- Every other column except Id is text; NULL stays distinct from the empty text.
CREATE TABLE Tabla1 (
  Id INTEGER PRIMARY KEY AUTOINCREMENT,
  ModoU TEXT, FrecU TEXT, MyCall TEXT, Estacion TEXT, Fecha TEXT, Hora TEXT, RSTe TEXT,
  FrecD TEXT, RSTr TEXT, ModoD TEXT, Obs TEXT, QSLe TEXT, QSLr TEXT, Modalidad TEXT,
  [Nombre Log] TEXT, Operador TEXT, Satelite TEXT, Orbita TEXT, M2 TEXT, M3 TEXT
);
CREATE TABLE Tabla2 (
  Id INTEGER PRIMARY KEY AUTOINCREMENT,
  ModoU TEXT, FrecU TEXT, MyCall TEXT, Estacion TEXT, Fecha TEXT, Hora TEXT, RSTe TEXT,
  FrecD TEXT, RSTr TEXT, ModoD TEXT, Obs TEXT, QSLe TEXT, QSLr TEXT, Modalidad TEXT,
  [Nombre Log] TEXT, Operador TEXT, Satelite TEXT, Orbita TEXT, M2 TEXT, M3 TEXT
);
CREATE INDEX Tabla1_FechaHora ON Tabla1 (Fecha, Hora);
CREATE INDEX Tabla1_EstacionMyCall ON Tabla1 (Estacion, MyCall);
PRAGMA user_version = 1;
