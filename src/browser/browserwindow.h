// The log browser: the log grid with its filters. Created once, then hidden and shown; it
// keeps its grid, filters and boxes while hidden.
#pragma once

#include "browser/adifexport.h"
#include "browser/logmodel.h"
#include "config/languages.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vorta {

class RecordEditorWindow;
class Session;

class BrowserWindow : public QDialog
{
    Q_OBJECT
public:
    explicit BrowserWindow(Session &session, QWidget *parent = nullptr);

    // Resets the filter lists, lists the whole log and shows the browser modally.
    void open();
    // "Buscar ..." and every change of "Orden inverso".
    void search();
    // Double click on a row: the record editor for its QSO.
    void editRow(int row);

    LogModel &model() { return m_model; }
    QString frameCaption() const;
    QTableView &grid() { return *m_grid; }
    RecordEditorWindow &editor() { return *m_editor; }

    // The export buttons: the listed rows to a file.
    void exportAdif(AdifTarget target);
    void exportCsv();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void retranslate(Language language);
    void resetFilters();
    void listAll();
    void showCaption(const QString &error);
    void fillLists();
    void fromDateLeft();
    LogFilter filterFromFields() const;
    void qsoStored(qint64 id);
    void logChanged();
    ExportContext exportContext();

    Session &m_session;
    LogModel m_model;
    RecordEditorWindow *m_editor;
    QTableView *m_grid;
    QGroupBox *m_gridBox, *m_filtersBox;
    QLabel *m_stationCaption, *m_satelliteCaption, *m_locatorCaption, *m_orbitCaption;
    QLabel *m_myStationCaption, *m_fromDateCaption;
    QLineEdit *m_station, *m_fromDate;
    QComboBox *m_satellite, *m_locator, *m_orbit, *m_myStation, *m_qslSentList, *m_qslReceivedList;
    QCheckBox *m_qslSent, *m_qslReceived, *m_reverse;
    QPushButton *m_search;
    QGroupBox *m_exportBox;
    QPushButton *m_exportLotw, *m_exportEqsl, *m_exportComplete, *m_exportCsv;
    bool m_correcting = false;
};

} // namespace vorta
