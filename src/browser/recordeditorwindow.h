// The record editor "Registro <Id>": one QSO of the log in editable fields, saved back with its
// checks, or deleted. Left only through its three buttons.
#pragma once

#include "browser/recordedit.h"
#include "config/languages.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorta {

class Session;

class RecordEditorWindow : public QDialog
{
    Q_OBJECT
public:
    explicit RecordEditorWindow(Session &session, QWidget *parent = nullptr);

    // Loads row id of the current log. fromMain: opened by F1, so the distance is measured
    // from the configured own locator rather than the one stored with the QSO. False (after
    // a message) when the row cannot be read.
    bool load(qint64 id, bool fromMain);
    qint64 id() const { return m_id; }
    QString distanceText() const;

    void save();
    void remove();
    void cancel();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    EditorFields fields() const;
    void fill(const EditorFields &fields);
    QLineEdit *fieldFor(EditorField field) const;
    void retranslate(Language language);

    Session &m_session;
    qint64 m_id = 0;
    QLineEdit *m_myCall, *m_station, *m_date, *m_time, *m_sent, *m_received, *m_satellite, *m_orbit;
    QLineEdit *m_uplink, *m_uplinkMode, *m_downlink, *m_downlinkMode, *m_locator, *m_ownLocator;
    QLineEdit *m_azimuth, *m_elevation, *m_notes;
    QCheckBox *m_qslSent, *m_qslReceived;
    QLabel *m_stationCaption, *m_receivedCaption, *m_uplinkCaption, *m_distance;
    QLabel *m_dateCaption, *m_timeCaption, *m_uplinkModeCaption, *m_downlinkModeCaption;
    QPushButton *m_qrz, *m_save, *m_delete, *m_cancel;
};

} // namespace vorta
